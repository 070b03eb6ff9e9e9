#pragma once
// The list of saved firms: every firm name and reference year stored, by name then
// year; the one the user opens is loaded into the firm values screen, against the
// industry chosen now on the industry selection screen.

#include "firm/FirmStatement.h"
#include "screens/common/Screen.h"

#include <optional>

class QLabel;
class QPushButton;
class QTableView;
class RecordsetTableModel;

class frmOpenExisting : public Screen {
    Q_OBJECT
public:
    frmOpenExisting();

    void Form_Activate(navigation::Arrival arrival) override;

    // Lists the saved firms; true when there is at least one (the list is then shown).
    bool fncLoadFirms();
    void subLoadCaptions() override;
    // The captions, and a list shown again with the headings of the language.
    void followLanguage() override;
    QWidget* firstFocus() const override;
    // Loads the firm of the list's current row into the firm values screen.
    void subOpenRecord();

    void cmdOpen_Click();
    void dbgFirms_DblClick();

    QLabel* lblQuestion;
    RecordsetTableModel* AdodcFirms;
    QTableView* dbgFirms;
    QPushButton* cmdOpen;

private:
    // The stored firm of the current row; nothing when no row is current or the row has
    // gone from the table since it was listed.
    std::optional<FirmStatement> currentRowFirm() const;

    // The list was just filled by the screen that opens this one: its arrival shows it
    // as it is rather than reading every stored firm a second time.
    bool listJustLoaded_ = false;
};
