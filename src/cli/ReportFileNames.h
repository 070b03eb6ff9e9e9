#pragma once
// The file names of the reports a batch writes: the firm's name and year, made safe for
// every common file system, and never the same name twice in one folder.

#include <QSet>
#include <QString>

namespace cli {

// A text as the start of a file name that every common file system accepts: no path
// separators or other characters a system reserves (/ \ : * ? " < > |), no control or
// invisible formatting characters (each becomes "_"), no blanks at the ends and no dot
// at the start, at most kMaxStemBytes bytes of UTF-8; "firm" when nothing is left. The
// names given out end in ".pdf", so no name ends in a dot or a blank.
QString safeStem(const QString& text);
inline constexpr int kMaxStemBytes = 150;

// True when a file name is one that Windows keeps for a device (CON, NUL, COM1, ...),
// with any extension, letter case aside.
bool isReservedName(const QString& fileName);

// Gives out "<name>_<year>.pdf", then "<name>_<year>-2.pdf", "-3", ... for the same
// firm and year: names are compared without regard to letter case, as some file
// systems compare them.
class ReportFileNames {
public:
    QString next(const QString& firmName, const QString& year);

private:
    QSet<QString> used_; // case-folded
};

} // namespace cli
