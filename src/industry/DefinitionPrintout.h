#pragma once
// What the printed definition page holds, line by line: four blank lines, the heading
// in bold 12 point behind a margin of 15 blanks, three blank lines, then the definition
// in 10 point with the same margin, broken after the first blank met once 79 characters
// stand on a line (a word is never cut, so a line may run longer).

#include <QList>
#include <QString>

namespace definitionprintout {

inline constexpr int kMarginBlanks = 15;
inline constexpr int kBreakColumn = 80;
inline constexpr int kHeadingPointSize = 12;
inline constexpr int kBodyPointSize = 10;

struct PrintedLine {
    QString text;
    bool bold;
    int pointSize;

    bool operator==(const PrintedLine&) const = default;
};

// The body as one printed item: the margin, then the text character by character with
// a carriage return, the margin and a fresh count after a blank at column 80 or later;
// the text's own line breaks keep their line feed and the margin follows it. Every line
// break of the text counts as a carriage return and line feed, however it is stored.
QString bodyItem(const QString& definition);

// The lines of the page: the printer starts a new line at every carriage return and at
// every line feed of the body item.
QList<PrintedLine> pageLines(const QString& heading, const QString& definition);

} // namespace definitionprintout
