#pragma once
// A CSV file read into its header and records, and CSV rows written back, on libcsv
// (RFC 4180: quoted fields may hold separators, doubled quotes and line breaks).
// Reading detects the text encoding (UTF-8 with or without a byte-order mark, else
// Windows-1252; a file that mixes the two is refused, naming the first line that is not in
// the file's encoding) and the separator (comma or semicolon, from the header line), and
// keeps the line on which each record starts, so that messages can name it.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace csv {

enum class Encoding { Utf8, Utf8WithBom, Windows1252 };

struct Record {
    int line = 0;       // the line of the file on which the record starts (1 = first)
    QStringList fields; // an empty field written without quotes is a null QString;
                        // a quoted empty field ("") is an empty, non-null one
};

struct Table {
    Encoding encoding = Encoding::Utf8;
    char separator = ',';
    int headerLine = 0; // 0 when the file holds no record at all
    QStringList header;
    std::vector<Record> records; // the records after the header
};

// A record (its lines together) may take at most this many bytes: a reader holds one
// record at a time, so that its memory does not grow with the file.
inline constexpr qsizetype kMaxRecordBytes = 1024 * 1024;

enum class Failure {
    None,
    Unreadable,    // detail: the system's message
    Malformed,     // line: where the quoting goes wrong; detail: the parser's words
    MixedEncoding, // line: the first line not in the file's encoding; detail: that encoding's name
    RecordTooLong, // line: where the record starts
};

struct ReadResult {
    using Failure = csv::Failure;
    Failure failure = Failure::None;
    int line = 0;   // the line the failure is about
    QString detail; // the reader's own words (the system's message for Unreadable)
    Table table;

    bool ok() const { return failure == Failure::None; }
};

// Parses the bytes of a whole file.
ReadResult parse(const QByteArray& bytes);

// Reads and parses a file.
ReadResult readFile(const QString& path);

// What a streamed reading found: the file's format, or why it stopped.
struct StreamResult {
    Failure failure = Failure::None;
    int line = 0;
    QString detail;
    Encoding encoding = Encoding::Utf8;
    char separator = ',';
    bool ok() const { return failure == Failure::None; }
};

// Reads a file one record at a time, the header first, and hands each to sink, which
// returns false to stop the reading there. The encoding is the one of the first line that
// is not plain ASCII (UTF-8 with a byte-order mark from the start); a later line in the
// other encoding stops the reading as MixedEncoding.
using RecordSink = std::function<bool(Record&& record)>;
StreamResult streamFile(const QString& path, const RecordSink& sink);
StreamResult stream(QIODevice& input, const RecordSink& sink);

// The encoding's usual name, e.g. "UTF-8", "Windows-1252".
QString encodingName(Encoding encoding);

// Windows-1252 bytes as text (the bytes 0x80-0x9F carry the code page's letters and
// signs; the five it leaves undefined keep their control-character values).
QString fromWindows1252(const QByteArray& bytes);

// One record as a line of UTF-8 CSV ending in CR LF. A null field is written empty and
// unquoted; a field is quoted when it is empty but not null, holds the separator, a
// quote or a line break, or begins or ends with a blank (which a reader would trim).
QByteArray formatRecord(const QStringList& fields, char separator = ',');

} // namespace csv
