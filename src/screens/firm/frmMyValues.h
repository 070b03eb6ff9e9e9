#pragma once
// The firm values screen: the user types a firm's name, reference year and 32 statement
// values for the industry chosen on the industry selection screen, saves, opens and
// deletes firms, and asks for the comparison report. What is done to the values lives
// in the firm core (firm/); this screen only moves texts between its boxes and there.

#include "firm/FirmMessages.h"
#include "firm/FirmStatement.h"
#include "firm/LineItems.h"
#include "platform/Platform.h"
#include "screens/common/Screen.h"

#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

class CaptionLinks;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolBar;
class frmSearch;
class ValueBoxFilter;

class frmMyValues : public Screen {
    Q_OBJECT
public:
    frmMyValues();
    ~frmMyValues() override;

    void Form_Load() override;
    void Form_Activate(navigation::Arrival arrival) override;
    bool Form_QueryUnload() override;
    bool discardOnClose() const override { return false; }
    // The save question of a changed firm, before the program would drop it.
    bool fncMayDropWork() override;

    // Captions, tool tips and the language.
    void subLoadCaptions() override;
    void subLoadToolbarToolTip();
    void followLanguage() override;
    QWidget* firstFocus() const override;

    // The model's procedures on the boxes.
    void subCalculateSubTotals();
    void subInitializeValues();
    void subSetAllValuesToZero();
    void subRemoveBlanksCommas();

    // Numeric entry, shared by the 27 entered boxes: the key filter (intKeyPressed is
    // set to 0 when the key is swallowed) and the leave check (true: the box holds a number).
    void subHandleKeyPress(int16_t& intKeyPressed, QLineEdit* txtNumericalTextBox, QLineEdit* txtNextTextbox);
    bool fncIsValidNumber(QLineEdit* txtBox);

    // The stored records.
    bool fncVerifyFirmName() const;
    void subSave_Firm_Record(bool& blnSkipWarningMessages);
    void subStart_New_Firm_Record();
    void subOpen_Existing_Firm_Record();
    void subDelete_Firm_Record();
    void subFillYears(QComboBox* mycomboBox);
    // File > Import: one firm from a firm file into the boxes (after the save question of
    // a changed firm); a file at fault leaves the boxes as they were. File > Export: the
    // firm on the screen to a firm file.
    void subImport_Firm();
    void subExport_Firm();

    // Shows a stored firm against the industry chosen now: its year, its values as
    // stored (subtotals included, not recomputed), the captions and its name. The firm
    // counts as unchanged afterwards.
    void subShowStoredFirm(const FirmStatement& firm);

    // The 37 texts the comparison report is given: name, year, industry code and title,
    // then the values with entry 21 left empty.
    QStringList fncComparisonValues() const;
    // Checks the firm and hands it to the report screen.
    void subView_Comparison_Report();
    // The trend report of the saved years of the firm named in the name box, against the
    // industry chosen now.
    void subView_Trend_Report();

    // Menu entries and buttons.
    void mnuReturn_Click();
    void mnuReturnSearch_Click();
    void btnBack_Click() override;
    void mnuDefinition_Click();
    void mnuOfficeDatabase_Click();

    // The value box and the caption label of a line item, by its index in lineitems::all().
    QLineEdit* valueBox(int index) const { return txtValues[static_cast<size_t>(index)]; }
    QLabel* captionLabel(int index) const { return lblCaptions[static_cast<size_t>(index)]; }
    // A value box by its program name ("txtCash"); nullptr when there is none.
    QLineEdit* valueBox(const QString& name) const;
    int indexOfBox(const QLineEdit* box) const;

    // The firm as the screen holds it: name, year, the industry code of lblNAICS and the
    // 32 texts.
    FirmStatement firmOnScreen() const;

    // True when the firm's data differ from what was last saved, loaded or reset.
    bool blnDataChanged = false;

    QLineEdit* txtFirmName;
    QLabel* lblFirmName;
    QComboBox* cboYear;
    QLabel* lblYear;
    QLabel* lblIndustry;
    QLabel* lblNAICS;
    QLabel* lblDataTableToCompare;
    QLabel* lblAsset;
    QLabel* lblIncome;
    QLabel* lblLiabEq;
    std::array<QLineEdit*, lineitems::kCount> txtValues{};
    std::array<QLabel*, lineitems::kCount> lblCaptions{};
    QToolBar* tbToolbar;

    QMenu* mnuFile;
    QAction* mnuNew;
    QAction* mnuSave;
    QAction* mnuOpen;
    QAction* mnuDelete;   // the toolbar's Delete
    QAction* mnuClearAll; // the toolbar's Clear all data
    QAction* mnuImport;
    QAction* mnuExport;
    QAction* mnuOfficeDatabase; // File > Office database…: where the firm records live
    QAction* mnuReturn;
    QAction* mnuReturnSearch;
    QMenu* mnuView;
    QAction* mnuDefinition;
    QAction* mnuReport;
    QAction* mnuTrend;

private:
    // Save, asking before a stored record is replaced (the toolbar and File > Save).
    void saveWithQuestion();
    void buildValueBoxes();
    void buildToolbar();
    void buildMenus();
    void buildLayout();
    // The heading over a group of lines; the current totals have none.
    QLabel* groupHeading(lineitems::Section section) const;
    // The industry selection screen, where the chosen industry is read.
    frmSearch& industrySelection() const;
    // Leaves for the main menu or the industry selection, after the save question.
    void returnTo(Screen& target, navigation::Move move);
    // Writes a text into a box only when it differs, so that an unchanged box raises no change.
    void setBoxText(QLineEdit* box, const QString& text);
    void writeValues(const std::array<QString, lineitems::kCount>& values);
    std::array<QString, lineitems::kCount> valuesOnScreen() const;
    // The leave check of the entered box that holds the focus, as leaving it would run;
    // false when its text has no number (the check has then said so).
    bool checkFocusedBox();
    void focusWholeText(QLineEdit* box);
    // Before the firm on the screen would be dropped: when it has changed, asks whether to
    // save it. True when the move may go on: No, or Yes and the firm was saved; Cancel, or
    // a save refused (an unusable name), keeps the firm on the screen.
    bool fncMayDropFirm(firmmessages::SaveAsker asker);

    // The file name Export offers: the firm's name made safe, in the folder last used.
    QString suggestedExportPath() const;

    QString transferFolder_; // the folder of the last import or export
    ValueBoxFilter* boxFilter_ = nullptr;
    CaptionLinks* captionLinks_ = nullptr;
};
