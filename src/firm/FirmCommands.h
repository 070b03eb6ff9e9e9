#pragma once
// The firm values screen's record commands with their questions and messages, asked
// through the platform seam: save (with the replace question), the save question of
// New, Open and the returns, delete and Clear all. The screen copies its boxes into a
// FirmStatement, runs the command and writes the statement back.

#include "data/DBTools.h"
#include "firm/FirmMessages.h"
#include "firm/FirmStatement.h"
#include "platform/Platform.h"
#include "text/Language.h"

#include <functional>

namespace firmcommands {

enum class SaveOutcome {
    Saved,         // the record was written and "Data has been saved." shown
    InvalidName,   // "Invalid enterprise name." shown, nothing written
    InvalidNumber, // a value has no normal form ("Please enter a number" shown) or would not read
                   // back as stored (a subtotal beyond the range, said so); nothing written
    Declined,      // the replace question was not answered OK, nothing written
};

struct SaveResult {
    SaveOutcome outcome;
    int invalidValue = -1; // with InvalidNumber: the index (in lineitems::all()) of the box at fault
};

// Saves the firm. Empty values become "0" and entered values take their normal form
// first, as leaving their boxes would (the subtotals are then recomputed when that
// changed a text); the firm is updated in place either way. Without
// skipWarningMessages an existing record of the name and year is replaced only when
// the replace question is answered OK.
SaveResult save(Connection& cn, FirmStatement& firm, bool skipWarningMessages, Language language);

// Asks whether to save the changed firm (Yes, No, Cancel). Yes saves it without the
// replace question before the answer is returned; the caller goes on for Yes and No.
// With saved, the outcome of that save is kept there (a refused name is not saved).
MsgResult askToSaveChanges(Connection& cn, FirmStatement& firm, firmmessages::SaveAsker asker,
                           Language language, SaveResult* saved = nullptr);
// The same with the records' connection asked for only when the answer is Yes, so that
// a records server out of reach does not keep the question (and No) from the user.
MsgResult askToSaveChanges(const std::function<Connection&()>& records, FirmStatement& firm,
                           firmmessages::SaveAsker asker, Language language, SaveResult* saved = nullptr);

// Asks whether to delete the record of the firm's name and year; on Yes deletes it
// (whether or not one was stored, without any further message) and returns true, so
// that the caller resets the screen.
bool deleteWithQuestion(Connection& cn, const QString& firmName, const QString& year, Language language);

// Asks whether to clear all of the data; true on Yes.
bool confirmClearAll(Language language);

} // namespace firmcommands
