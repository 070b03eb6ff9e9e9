#pragma once
// The main menu: the user chooses one of the 19 reference datasets.

#include "screens/common/Screen.h"

#include <QHash>

class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
struct DatasetOption;

class frmMenu : public Screen {
    Q_OBJECT
public:
    frmMenu();

    void Form_Load() override;
    void Form_Activate(navigation::Arrival arrival) override;
    bool Form_QueryUnload() override;
    bool discardOnClose() const override { return false; }
    QWidget* firstFocus() const override;

    void subLoadCaptions() override;
    void subVerifyDataAvailable();
    void subConnectToTable(const QString& strDataTableName, QRadioButton* optDataOption);
    QString fncGetDescription(const QString& strChoice);
    bool fncDetermineDataset();

    void cmdSearch_Click();

    // The option button of a dataset by its control name ("optYukon").
    QRadioButton* option(const QString& controlName) const;

    QLabel* lblInstructions;
    QLabel* lblCanada;
    QLabel* lblRegProvTerr;
    QLabel* lblOR;
    QLabel* lblVol3;
    QLabel* lblDescription;
    QPlainTextEdit* txtDescription;
    QPushButton* cmdSearch;
    QMenu* mnuFile;

private:
    void optionClicked(const DatasetOption& option);
    // The description of the option that is on, in the current language; empty when none is.
    void showCheckedDescription();
    QHash<QString, QRadioButton*> options_;
};
