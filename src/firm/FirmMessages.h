#pragma once
// The messages and questions of the firm values screen that have no numbered entry
// in the string table: one bilingual table, so that the screen, the command-line
// tool and the tests show the same words.

#include "text/Language.h"

#include <QString>

namespace firmmessages {

enum class Message {
    PleaseEnterNumber, // a refused key, or a number with no normal form
    DataSaved,         // after a save that wrote the record
    NoRecordsFound,    // Open with no stored firm
    DeleteQuestion,    // before a delete
    ClearAllQuestion,  // before Clear all data
};

// The text of a message, in the language.
QString text(Message message, Language language);

// The title of the Clear all question.
QString clearAllTitle();

// The replace question of a save, with the firm name as typed and the year text.
QString replaceQuestion(const QString& firmName, const QString& year, Language language);

// Who asks whether to save changes: Open's French wording differs from New's.
enum class SaveAsker { New, Open };

// "Do you want to save the changes?" with the current firm name.
QString saveQuestion(const QString& firmName, SaveAsker asker, Language language);

} // namespace firmmessages
