#pragma once
// A firm's statement read from a file for batch use: one JSON object, or a CSV file
// whose header row names the columns and whose first data row is the firm. Keys are
// FirmName, Year, NAICS and the MyValues column names of the 32 line items; a missing
// item, a JSON null and an empty or blank text are an empty box.
//
// A file is not typed text: a value must be a JSON number or a text that is wholly a
// plain decimal number, so that "1,500,000" is refused instead of being read as 1 the
// way the value boxes read pasted text.

#include "firm/FirmStatement.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace firmfile {

enum class Problem {
    None,
    Unreadable,      // the file cannot be opened (detail: the system's reason)
    BrokenJson,      // starts like JSON but does not parse (detail: the parser's words)
    NotAnObject,     // JSON, but an array or another value instead of one object
    NoDataRow,       // a CSV file without a header row and a data row
    UnknownKey,      // a key or column that names nothing (key)
    NotNumberOrText, // a JSON value that is an object, an array or a boolean (key)
    NotPlainNumber,  // a value text that is not wholly a plain decimal number (key, text)
};

struct ReadResult {
    FirmStatement firm;
    Problem problem = Problem::None;
    QString key;          // the field concerned, as the file spells it
    QString text;         // the refused text, or the detail of the problem
    bool isArray = false; // NotAnObject: the document is a JSON array
    bool ok() const { return problem == Problem::None; }
};

ReadResult read(const QString& path);
ReadResult parseJson(const QByteArray& data);
ReadResult parseCsv(const QString& text);

// The fields of one CSV record; quotes as in RFC 4180.
QList<QStringList> csvRecords(const QString& text);

// A value text of a file: blanks around it allowed, then an optional leading '-',
// digits and optionally a '.' followed by digits. The number's text without the
// blanks, or nothing when the text is anything else.
std::optional<QString> plainNumber(const QString& text);

// The reference year a text names: exactly "2009", "2010" or "2011" (blanks around
// allowed). Compared as text, so that no length or exponent can overflow a conversion.
std::optional<int16_t> referenceYear(const QString& text);

} // namespace firmfile
