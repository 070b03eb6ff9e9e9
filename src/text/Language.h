#pragma once
// The language of every text the program shows, in one type. The other forms it takes at
// the program's edges are views of it, converted here and nowhere else: the state's 16-bit
// flag (0 English, any other value French), the letter "E"/"F" of report requests, report
// tables and the command line, and the offset of a numbered string-table entry.

#include <QLocale>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

enum class Language { E, F };

namespace language {

// The state's flag: any non-zero value is French, as every test of the flag reads it.
Language fromFlag(int flag);
// 0 for English, 1 for French: the flag the state keeps, and the offset of a numbered entry.
int16_t flag(Language language);

// "E" or "F".
QString letter(Language language);
// "E" or "F" (either case); nothing for any other text.
std::optional<Language> fromLetter(QStringView letter);
// The Language text of a report request ("E" or "F", as the report screen passes it on):
// English when its first letter is E in either case, French for any other text.
Language ofRequest(QStringView text);

// The locale of a language (Canadian English or French): number formats, and the language a
// screen reader speaks a window in.
QLocale locale(Language language);

// The other language.
Language other(Language language);

} // namespace language
