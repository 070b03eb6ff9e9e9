#include "data/CsvFile.h"

#include <QFile>
#include <QStringDecoder>
#include <array>
#include <csv.h>

namespace csv {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; 0 marks the five undefined bytes,
// which keep their Latin-1 (control character) values.
constexpr std::array<char16_t, 32> kWindows1252High{{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
}};

QString decode(const char* data, qsizetype size, Encoding encoding) {
    if (size == 0) return QStringLiteral(""); // present but empty: not null
    if (encoding == Encoding::Windows1252) return fromWindows1252(QByteArray::fromRawData(data, size));
    return QString::fromUtf8(data, size);
}

bool isBlank(const char* data, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i)
        if (data[i] != ' ' && data[i] != '\t' && data[i] != '\r' && data[i] != '\n') return false;
    return true;
}

// The separator of the file: whichever of semicolon and comma occurs more often
// outside quotes on the first line; a comma when neither does.
char detectSeparator(const QByteArray& bytes) {
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (const char c : bytes) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r')) {
            if (commas + semicolons > 0) break; // blank lines before the header are skipped
        } else if (!quoted && c == ',')
            ++commas;
        else if (!quoted && c == ';')
            ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

Encoding detectEncoding(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return Encoding::Utf8WithBom;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? Encoding::Windows1252 : Encoding::Utf8;
}

struct Collector {
    Encoding encoding;
    bool inRecord = false;
    int recordLine = 0;
    QStringList current;
    std::vector<Record> records;
};

void onField(void* data, size_t size, void* context) {
    auto* c = static_cast<Collector*>(context);
    // libcsv passes no data for an empty field written without quotes.
    c->current << (data ? decode(static_cast<const char*>(data), static_cast<qsizetype>(size), c->encoding)
                        : QString());
}

void onRecordEnd(int, void* context) {
    auto* c = static_cast<Collector*>(context);
    c->records.push_back(Record{c->recordLine, c->current});
    c->current.clear();
    c->inRecord = false;
}

// Frees the parser however parsing ends.
class Parser {
public:
    Parser() { ok_ = csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI | CSV_EMPTY_IS_NULL) == 0; }
    ~Parser() {
        if (ok_) csv_free(&parser_);
    }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;
    bool ok() const { return ok_; }
    csv_parser* get() { return &parser_; }

private:
    csv_parser parser_{};
    bool ok_ = false;
};

} // namespace

QString fromWindows1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const char16_t mapped = (b >= 0x80 && b <= 0x9F) ? kWindows1252High[b - 0x80] : 0;
        out[i] = QChar(mapped != 0 ? mapped : char16_t(b));
    }
    return text;
}

QString encodingName(Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf8:
        return QStringLiteral("UTF-8");
    case Encoding::Utf8WithBom:
        return QStringLiteral("UTF-8 (BOM)");
    case Encoding::Windows1252:
        return QStringLiteral("Windows-1252");
    }
    return QString();
}

ReadResult parse(const QByteArray& input) {
    ReadResult result;
    Table& table = result.table;
    table.encoding = detectEncoding(input);
    const QByteArray bytes = table.encoding == Encoding::Utf8WithBom ? input.mid(3) : input;
    table.separator = detectSeparator(bytes);

    Parser parser;
    if (!parser.ok()) {
        result.failure = ReadResult::Failure::Malformed;
        result.detail = QString::fromLatin1(csv_strerror(CSV_ENOMEM));
        return result;
    }
    csv_set_delim(parser.get(), static_cast<unsigned char>(table.separator));

    // The parser is fed one physical line at a time (a line break included) so that
    // each record's first line is known: libcsv itself counts no lines.
    Collector collector{table.encoding, false, 0, {}, {}};
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype pos = 0;
    int line = 1;
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        if (end < size) end += (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ? 2 : 1;
        const qsizetype length = end - pos;
        if (!collector.inRecord && !isBlank(data + pos, length)) {
            collector.inRecord = true;
            collector.recordLine = line;
        }
        if (csv_parse(parser.get(), data + pos, static_cast<size_t>(length), onField, onRecordEnd,
                      &collector) != static_cast<size_t>(length)) {
            result.failure = ReadResult::Failure::Malformed;
            result.line = line;
            result.detail = QString::fromLatin1(csv_strerror(csv_error(parser.get())));
            return result;
        }
        ++line;
        pos = end;
    }
    if (csv_fini(parser.get(), onField, onRecordEnd, &collector) != 0) {
        // Only a quoted field left open at the end of the file gets here.
        result.failure = ReadResult::Failure::Malformed;
        result.line = collector.recordLine;
        result.detail = QString::fromLatin1(csv_strerror(csv_error(parser.get())));
        return result;
    }

    if (!collector.records.empty()) {
        table.headerLine = collector.records.front().line;
        table.header = collector.records.front().fields;
        table.records.assign(std::make_move_iterator(collector.records.begin() + 1),
                             std::make_move_iterator(collector.records.end()));
    }
    return result;
}

ReadResult readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReadResult result;
        result.failure = ReadResult::Failure::Unreadable;
        result.detail = file.errorString();
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ReadResult result;
        result.failure = ReadResult::Failure::Unreadable;
        result.detail = file.errorString();
        return result;
    }
    return parse(bytes);
}

QByteArray formatRecord(const QStringList& fields, char separator) {
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) line += separator;
        const QString& field = fields[i];
        if (field.isNull()) continue;
        const QByteArray utf8 = field.toUtf8();
        const bool blankAtEdge = !field.isEmpty() && (field.front() == u' ' || field.front() == u'\t' ||
                                                      field.back() == u' ' || field.back() == u'\t');
        const bool needsQuotes = field.isEmpty() || blankAtEdge || utf8.contains(separator) ||
                                 utf8.contains('"') || utf8.contains('\n') || utf8.contains('\r');
        if (!needsQuotes) {
            line += utf8;
            continue;
        }
        QByteArray quoted(static_cast<qsizetype>(csv_write(nullptr, 0, utf8.constData(), utf8.size())),
                          Qt::Uninitialized);
        csv_write(quoted.data(), quoted.size(), utf8.constData(), utf8.size());
        line += quoted;
    }
    line += "\r\n";
    return line;
}

} // namespace csv
