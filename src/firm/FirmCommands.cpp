#include "firm/FirmCommands.h"

#include "firm/FirmFile.h"
#include "firm/FirmRecords.h"
#include "firm/ValueText.h"
#include "text/StringTable.h"

#include <optional>

namespace firmcommands {

namespace {

constexpr int kInvalidNameEntry = 554;

using firmmessages::Message;

// The normal form of every entered value; the index of the first that has none.
std::optional<int> normalise(FirmStatement& firm, bool& changed) {
    changed = false;
    for (int i = 0; i < lineitems::kCount; ++i) {
        if (lineitems::all()[i].kind != lineitems::Kind::Entered) continue;
        const auto normal = valuetext::normalForm(firm.values[i]);
        if (!normal) return i;
        if (*normal != firm.values[i]) {
            firm.values[i] = *normal;
            changed = true;
        }
    }
    return std::nullopt;
}

} // namespace

SaveResult save(Connection& cn, FirmStatement& firm, bool skipWarningMessages, Language language) {
    firmrules::fillEmpty(firm.values);
    bool changed = false;
    if (const auto bad = normalise(firm, changed)) {
        MsgBox(firmmessages::text(Message::PleaseEnterNumber, language), MsgButtons::OK);
        return {SaveOutcome::InvalidNumber, *bad};
    }
    // A normalised box counts as left: its subtotals follow it, as they do on the screen.
    if (changed) firmrules::calculateSubTotals(firm.values);

    if (!firmrecords::isUsableName(firm.firmName, language)) {
        MsgBox(strings::text(kInvalidNameEntry, language), MsgButtons::OK);
        return {SaveOutcome::InvalidName};
    }
    if (const std::optional<QString> problem = firmrecords::nameProblem(firm.firmName, language)) {
        MsgBox(*problem, MsgButtons::OK, MsgIcon::Exclamation);
        return {SaveOutcome::InvalidName};
    }
    // A subtotal beyond what a record keeps would be stored as a number that does not read
    // back: the firm could be saved but not exported and imported again.
    if (const std::optional<int> item = firmfile::unstorableValue(firm)) {
        MsgBox(firmfile::unstorableText(firm, *item, language), MsgButtons::OK);
        return {SaveOutcome::InvalidNumber, *item};
    }
    if (!skipWarningMessages && firmrecords::exists(cn, firm.firmName, firm.year)) {
        const MsgResult answer =
            MsgBox(firmmessages::replaceQuestion(firm.firmName, firm.year, language), MsgButtons::OKCancel);
        if (answer != MsgResult::OK) return {SaveOutcome::Declined};
    }
    firmrecords::store(cn, firm);
    MsgBox(firmmessages::text(Message::DataSaved, language), MsgButtons::OK);
    return {SaveOutcome::Saved};
}

MsgResult askToSaveChanges(Connection& cn, FirmStatement& firm, firmmessages::SaveAsker asker,
                           Language language, SaveResult* saved) {
    return askToSaveChanges([&cn]() -> Connection& { return cn; }, firm, asker, language, saved);
}

MsgResult askToSaveChanges(const std::function<Connection&()>& records, FirmStatement& firm,
                           firmmessages::SaveAsker asker, Language language, SaveResult* saved) {
    const MsgResult answer =
        MsgBox(firmmessages::saveQuestion(firm.firmName, asker, language), MsgButtons::YesNoCancel);
    if (answer == MsgResult::Yes) {
        const SaveResult result = save(records(), firm, true, language);
        if (saved) *saved = result;
    }
    return answer;
}

bool deleteWithQuestion(Connection& cn, const QString& firmName, const QString& year, Language language) {
    if (MsgBox(firmmessages::text(Message::DeleteQuestion, language), MsgButtons::YesNo) != MsgResult::Yes)
        return false;
    firmrecords::remove(cn, firmName, year);
    return true;
}

bool confirmClearAll(Language language) {
    return MsgBox(firmmessages::text(Message::ClearAllQuestion, language), MsgButtons::YesNo,
                  MsgIcon::Question, firmmessages::clearAllTitle()) == MsgResult::Yes;
}

} // namespace firmcommands
