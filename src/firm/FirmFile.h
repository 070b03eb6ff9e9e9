#pragma once
// A firm's statement read from a file for batch use: one JSON object, or a CSV file
// whose header row names the columns and whose first data row is the firm. Keys are
// FirmName, Year, NAICS and the MyValues column names of the 32 line items; a missing
// item, a JSON null and an empty or blank text are an empty box. A CSV file of several
// rows is a list of firms (a client list), one per row. The same columns are written
// back, so that a list exported is a list that can be read again.
//
// A file is not typed text: a value must be a JSON number or a text that is wholly a
// plain decimal number, so that "1,500,000" is refused instead of being read as 1 the
// way the value boxes read pasted text.

#include "firm/FirmStatement.h"
#include "text/Language.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

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
    MalformedCsv,    // quoting that does not close or a stray quote (line; detail: the reader's words)
    TooManyFields,   // a CSV row with more fields than the header has columns (line; text: the count)
    DuplicateKey,    // a key or column named a second time, letter case aside (key: the second)
    MixedEncoding,   // a CSV line not in the file's encoding (line; text: the file's encoding)
    RecordTooLong,   // a CSV record longer than the reader holds (line: where it starts)
};

struct ReadResult {
    FirmStatement firm;
    Problem problem = Problem::None;
    QString key;          // the field concerned, as the file spells it
    QString text;         // the refused text, or the detail of the problem
    bool isArray = false; // NotAnObject: the document is a JSON array
    int line = 0;         // CSV: the line of the file on which the firm's row (or the fault) is
    bool ok() const { return problem == Problem::None; }
};

ReadResult read(const QString& path);
ReadResult parseJson(const QByteArray& data);
ReadResult parseCsv(const QString& text);

// A CSV list of firms. A fault of the file as a whole (unreadable, malformed, no data
// row, an unknown column in the header) is in problem; otherwise each row has its
// firm or its own fault, with its line, so that a caller can refuse the whole list
// or go on with the other rows.
struct ListResult {
    Problem problem = Problem::None;
    QString key;  // UnknownKey: the column
    QString text; // the detail, as in ReadResult
    int line = 0; // the line of the fault
    std::vector<ReadResult> rows;
    bool ok() const { return problem == Problem::None; }
};

ListResult readList(const QString& path);
// The bytes of a whole file: UTF-8 (with or without a byte-order mark) or Windows-1252,
// comma or semicolon as the separator, quoting as in RFC 4180.
ListResult parseCsvList(const QByteArray& bytes);

// The records of a CSV text, its header first; quotes as in RFC 4180. An empty field
// written without quotes is a null text. Nothing when the quoting is broken.
QList<QStringList> csvRecords(const QString& text);

// The columns a firm file has, in the order they are written: FirmName, Year, NAICS and
// the 32 line items in the order of the statement.
QStringList columnNames();
// The header line and a firm's line of a CSV list (UTF-8, CR LF at the end).
QByteArray csvHeaderLine();
QByteArray csvLine(const FirmStatement& firm);
// The firm as one JSON object with the keys in the order of columnNames(): the year and
// the values as numbers when they are plain numbers, texts otherwise.
QByteArray toJson(const FirmStatement& firm);

// The firm as the firm values screen holds it once its values are typed: entered values
// in their normal form, the subtotals computed again, empty values "0". False when an
// entered value has no normal form (beyond the range the boxes accept); the firm is
// then left with what could be normalised.
bool asTyped(FirmStatement& firm);

// The first value of a firm made ready to be stored (asTyped) that would not read back as
// stored (valuetext::storable): a subtotal beyond the range a record keeps. Its index in
// the line items; nothing when every value can be stored.
std::optional<int> unstorableValue(const FirmStatement& firm);

// The refusal of that value, naming its column and text.
QString unstorableText(const FirmStatement& firm, int item, Language language);

// A value text of a file: blanks around it allowed, then an optional leading '-',
// digits and optionally a '.' followed by digits. The number's text without the
// blanks, or nothing when the text is anything else.
std::optional<QString> plainNumber(const QString& text);

// The reference year a text names: exactly "2009", "2010" or "2011" (blanks around
// allowed). Compared as text, so that no length or exponent can overflow a conversion.
std::optional<int16_t> referenceYear(const QString& text);

} // namespace firmfile
