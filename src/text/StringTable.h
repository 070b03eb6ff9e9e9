#pragma once
// Every text the user sees, in two tables looked up the same way, by an entry and a Language:
// - the numbered table (resources/strings.tsv): English at an even entry N, French at N + 1;
// - the keyed table of the program's own texts (resources/texts.tsv): one line a text,
//   "key<TAB>English<TAB>French", keys of dotted lower-case words ("firms.export.written"),
//   "\n" for a line break. A line starting with '#' is a comment.
// A lookup of an entry that neither table holds gives "[entry]" so that the gap shows; with
// VENTROLUX_STRICT_TEXTS set in the environment (the test suite sets it) it ends the program.

#include "text/Language.h"

#include <QString>
#include <string_view>

namespace strings {

// Entry N of the numbered table in a language (N + 1 for French).
QString text(int number, Language language);
// The program's own text under key, in a language.
QString text(std::string_view key, Language language);

// Raw access for checks: the text of one numbered entry (empty when absent), and whether an
// entry or key is in its table.
QString entry(int number);
bool contains(int number);
bool containsKey(std::string_view key);

} // namespace strings
