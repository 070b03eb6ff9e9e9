// The firm values screen's commands on its values: the subtotals and resets, numeric
// entry, the record commands and the report request. Each copies the boxes into the
// firm core's statement, runs the core's rule and writes the texts back.

#include "firm/FirmCommands.h"
#include "firm/FirmRecords.h"
#include "firm/NumericEntry.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/firm/frmMyValues.h"
#include "screens/firm/frmOpenExisting.h"
#include "screens/industry/frmSearch.h"
#include "screens/report/frmReportViewer.h"
#include "state/RecordsPlace.h"
#include "state/modMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace modMain;

namespace {

void tellNoRecordsFound() {
    MsgBox(firmmessages::text(firmmessages::Message::NoRecordsFound, modMain::language()), MsgButtons::OK);
}

} // namespace

QLineEdit* frmMyValues::valueBox(const QString& name) const {
    for (QLineEdit* box : txtValues)
        if (box->objectName() == name) return box;
    return nullptr;
}

int frmMyValues::indexOfBox(const QLineEdit* box) const {
    for (int i = 0; i < lineitems::kCount; ++i)
        if (txtValues[static_cast<size_t>(i)] == box) return i;
    return -1;
}

std::array<QString, lineitems::kCount> frmMyValues::valuesOnScreen() const {
    std::array<QString, lineitems::kCount> values;
    for (int i = 0; i < lineitems::kCount; ++i)
        values[static_cast<size_t>(i)] = valueBox(i)->text();
    return values;
}

FirmStatement frmMyValues::firmOnScreen() const {
    FirmStatement firm;
    firm.firmName = txtFirmName->text();
    firm.year = cboYear->currentText();
    firm.naics = lblNAICS->text();
    firm.values = valuesOnScreen();
    return firm;
}

void frmMyValues::setBoxText(QLineEdit* box, const QString& text) {
    if (box->text() != text) box->setText(text);
}

void frmMyValues::writeValues(const std::array<QString, lineitems::kCount>& values) {
    for (int i = 0; i < lineitems::kCount; ++i)
        setBoxText(valueBox(i), values[static_cast<size_t>(i)]);
}

void frmMyValues::focusWholeText(QLineEdit* box) {
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

void frmMyValues::subCalculateSubTotals() {
    std::array<QString, lineitems::kCount> values = valuesOnScreen();
    firmrules::calculateSubTotals(values);
    writeValues(values);
}

void frmMyValues::subInitializeValues() {
    txtFirmName->setText(Txt(544));
    std::array<QString, lineitems::kCount> values;
    firmrules::resetValues(values);
    writeValues(values);
    // The zeros of a reset are no change of the firm.
    blnDataChanged = false;
}

void frmMyValues::subSetAllValuesToZero() {
    if (!firmcommands::confirmClearAll(modMain::language())) return;
    subInitializeValues();
    focusWholeText(valueBox(QStringLiteral("txtCash")));
}

void frmMyValues::subRemoveBlanksCommas() {
    std::array<QString, lineitems::kCount> values = valuesOnScreen();
    firmrules::fillEmpty(values);
    writeValues(values);
}

void frmMyValues::subHandleKeyPress(int16_t& intKeyPressed, QLineEdit* txtNumericalTextBox,
                                    QLineEdit* txtNextTextbox) {
    QLineEdit* box = txtNumericalTextBox;
    numericentry::BoxState state;
    state.text = box->text();
    if (box->hasSelectedText()) {
        state.selectionStart = box->selectionStart();
        state.selectionLength = box->selectionLength();
    } else {
        state.selectionStart = box->cursorPosition();
    }
    const numericentry::KeyResult result =
        numericentry::handleKey(state, static_cast<char16_t>(intKeyPressed));
    switch (result.action) {
    case numericentry::KeyAction::Typed:
    case numericentry::KeyAction::Ignored:
        // The box edits its own text as the key asks.
        return;
    case numericentry::KeyAction::Negated:
        intKeyPressed = 0;
        setBoxText(box, result.after.text);
        box->setFocus(Qt::OtherFocusReason);
        box->deselect();
        box->setCursorPosition(static_cast<int>(result.after.text.size()));
        return;
    case numericentry::KeyAction::MoveOn:
        setBoxText(box, result.after.text);
        subCalculateSubTotals();
        // Moving on runs this box's leave check.
        if (txtNextTextbox) txtNextTextbox->setFocus(Qt::OtherFocusReason);
        return;
    case numericentry::KeyAction::Refused:
        intKeyPressed = 0;
        MsgBox(numericentry::refusalMessage(modMain::language()), MsgButtons::OK);
        focusWholeText(box);
        return;
    }
}

bool frmMyValues::fncIsValidNumber(QLineEdit* txtBox) {
    const numericentry::LeaveResult result = numericentry::leaveCheck(txtBox->text());
    if (result.valid) {
        setBoxText(txtBox, result.text);
        return true;
    }
    MsgBox(numericentry::refusalMessage(modMain::language()), MsgButtons::OK);
    focusWholeText(txtBox);
    return false;
}

bool frmMyValues::checkFocusedBox() {
    auto* box = qobject_cast<QLineEdit*>(focusWidget());
    const int index = indexOfBox(box);
    if (index < 0 || lineitems::all()[index].kind != lineitems::Kind::Entered) return true;
    return fncIsValidNumber(box);
}

bool frmMyValues::fncVerifyFirmName() const {
    return firmrecords::isUsableName(txtFirmName->text(), modMain::language());
}

void frmMyValues::subSave_Firm_Record(bool& blnSkipWarningMessages) {
    FirmStatement firm = firmOnScreen();
    const firmcommands::SaveResult result =
        firmcommands::save(RecordsConnection(), firm, blnSkipWarningMessages, modMain::language());
    // The boxes show what was (or would have been) stored: filled and in normal form.
    writeValues(firm.values);
    if (result.outcome == firmcommands::SaveOutcome::Saved)
        blnDataChanged = false;
    else if (result.outcome == firmcommands::SaveOutcome::InvalidNumber)
        focusWholeText(valueBox(result.invalidValue));
}

bool frmMyValues::fncMayDropFirm(firmmessages::SaveAsker asker) {
    if (!blnDataChanged) return true;
    FirmStatement firm = firmOnScreen();
    firmcommands::SaveResult saved{firmcommands::SaveOutcome::Declined};
    const MsgResult answer =
        firmcommands::askToSaveChanges(&RecordsConnection, firm, asker, modMain::language(), &saved);
    if (answer == MsgResult::No) return true;
    if (answer != MsgResult::Yes) return false;
    writeValues(firm.values);
    if (saved.outcome != firmcommands::SaveOutcome::Saved) return false;
    blnDataChanged = false;
    return true;
}

void frmMyValues::subStart_New_Firm_Record() {
    if (!fncMayDropFirm(firmmessages::SaveAsker::New)) return;
    subInitializeValues();
    focusWholeText(txtFirmName);
}

void frmMyValues::subOpen_Existing_Firm_Record() {
    // The firm on the screen stays until one is picked in the list.
    if (!fncMayDropFirm(firmmessages::SaveAsker::Open)) return;
    ScreenRegistry& registry = ScreenRegistry::instance();
    frmOpenExisting& dialog = registry.get<frmOpenExisting>();
    registry.hide(dialog);
    if (!dialog.fncLoadFirms()) {
        tellNoRecordsFound();
        return;
    }
    registry.show(dialog, navigation::Move::CoverOpened);
}

void frmMyValues::subDelete_Firm_Record() {
    if (firmcommands::deleteWithQuestion(RecordsConnection(), txtFirmName->text(), cboYear->currentText(),
                                         modMain::language()))
        subInitializeValues();
}

void frmMyValues::subFillYears(QComboBox* mycomboBox) {
    mycomboBox->clear();
    mycomboBox->addItems(firmrecords::referenceYears());
    mycomboBox->setCurrentText(firmrecords::preselectedYear());
}

void frmMyValues::subShowStoredFirm(const FirmStatement& firm) {
    if (cboYear->count() == 0) subFillYears(cboYear);
    int year = cboYear->findText(firm.year);
    if (year < 0) {
        // A year outside the list (a row written by another tool) is shown as stored.
        cboYear->addItem(firm.year);
        year = cboYear->count() - 1;
    }
    cboYear->setCurrentIndex(year);
    frmSearch& search = industrySelection();
    lblNAICS->setText(search.lblHiddenNaics->text());
    lblIndustry->setText(search.txtIndName->toPlainText());
    // The stored subtotals are shown as stored, not recomputed.
    writeValues(firm.values);
    subLoadCaptions();
    txtFirmName->setText(firm.firmName);
    // A firm just loaded is what is stored: nothing to save yet.
    blnDataChanged = false;
    // The user reads it from the top.
    focusWholeText(txtFirmName);
}

QStringList frmMyValues::fncComparisonValues() const {
    FirmStatement firm = firmOnScreen();
    // The industry is the one chosen now on the industry selection screen.
    firm.naics = industrySelection().lblHiddenNaics->text();
    return firmrules::comparisonValues(firm, lblIndustry->text());
}

void frmMyValues::subView_Comparison_Report() {
    // The box being left first gets its leave check, as the click that left it would give.
    if (!checkFocusedBox()) return;
    subCalculateSubTotals();
    subRemoveBlanksCommas();

    frmSearch& search = industrySelection();
    FirmStatement firm = firmOnScreen();
    firm.naics = search.lblHiddenNaics->text();
    if (const std::optional<QString> problem = firmrules::reportRequestProblem(firm, modMain::language())) {
        MsgBox(*problem, MsgButtons::OK);
        return;
    }
    const QStringList values = fncComparisonValues();
    const auto year = static_cast<int16_t>(values[1].toShort());
    ScreenRegistry::instance().get<frmReportViewer>().DisplayCrystalReport(
        gcnData, gcnMyData, QStringLiteral("com"), gintVolume, gstrRegion, year, firm.naics,
        language::letter(modMain::language()), values);
}

void frmMyValues::subView_Trend_Report() {
    ScreenRegistry::instance().get<frmReportViewer>().DisplayTrendReport(
        gcnData, gcnMyData, RecordsConnection(), gintVolume, gstrRegion,
        industrySelection().lblHiddenNaics->text(), language::letter(modMain::language()),
        txtFirmName->text());
}
