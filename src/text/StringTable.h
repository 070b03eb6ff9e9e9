#pragma once
// The numbered bilingual string table: English at an even entry N, French at N + 1.

#include <QString>

namespace strings {

// The text of one entry; empty when the table has no such entry.
QString entry(int number);

// Entry N for a language flag: N + 1 when the flag is non-zero (French), N otherwise.
QString text(int number, int language);

// One of two UTF-8 texts written in the code, for a language flag: the French when the flag
// is non-zero. For the messages of the core that have no numbered entry.
QString inLanguage(int language, const char* english, const char* french);

bool contains(int number);

} // namespace strings
