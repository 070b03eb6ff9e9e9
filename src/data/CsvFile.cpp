#include "data/CsvFile.h"

#include <QBuffer>
#include <QFile>
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

// The separator of the file: whichever of semicolon and comma occurs more often outside
// quotes on the first line that has either; a comma when none does. Lines are added until
// it is known.
class SeparatorSniffer {
public:
    void add(const QByteArray& bytes) {
        for (const char c : bytes) {
            if (known_) return;
            if (c == '"')
                quoted_ = !quoted_;
            else if (!quoted_ && (c == '\n' || c == '\r'))
                known_ = commas_ + semicolons_ > 0; // blank lines before the header are skipped
            else if (!quoted_ && c == ',')
                ++commas_;
            else if (!quoted_ && c == ';')
                ++semicolons_;
        }
    }
    bool known() const { return known_; }
    char separator() const { return semicolons_ > commas_ ? ';' : ','; }

private:
    int commas_ = 0;
    int semicolons_ = 0;
    bool quoted_ = false;
    bool known_ = false;
};

// What a line's bytes say of the encoding: nothing (plain ASCII), UTF-8 (valid and with a
// character beyond ASCII) or not UTF-8 (read as Windows-1252).
enum class LineKind { Ascii, Utf8, NotUtf8 };

LineKind kindOf(const char* data, qsizetype size) {
    bool wide = false;
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b < 0x80) continue;
        wide = true;
        // A lead byte, how many bytes follow it, and the range of the first of them (which
        // rules out overlong forms, surrogates and code points beyond U+10FFFF).
        int follow = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            follow = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            follow = 2;
            if (b == 0xE0) low = 0xA0;
            if (b == 0xED) high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            follow = 3;
            if (b == 0xF0) low = 0x90;
            if (b == 0xF4) high = 0x8F;
        } else {
            return LineKind::NotUtf8;
        }
        for (int k = 1; k <= follow; ++k) {
            if (i + k >= size) return LineKind::NotUtf8;
            const auto c = static_cast<unsigned char>(data[i + k]);
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return LineKind::NotUtf8;
        }
        i += follow;
    }
    return wide ? LineKind::Utf8 : LineKind::Ascii;
}

// The physical lines of a device, each with its line break (LF, CR LF or CR alone), read in
// pieces; a line longer than a limit is cut there, for the caller to refuse.
class LineReader {
public:
    explicit LineReader(QIODevice& in) : in_(in) {}

    // The next line, or false at the end (or on a read error: error() says).
    bool next(QByteArray& line, qsizetype limit) {
        for (;;) {
            const char* data = buffer_.constData();
            qsizetype end = pos_;
            while (end < buffer_.size() && data[end] != '\n' && data[end] != '\r')
                ++end;
            if (end < buffer_.size()) {
                // A CR at the end of what was read may be the first half of CR LF.
                if (data[end] == '\r' && end + 1 == buffer_.size() && !atEnd_ && fill()) continue;
                ++end;
                if (data[end - 1] == '\r' && end < buffer_.size() && data[end] == '\n') ++end;
                return take(line, end);
            }
            if (buffer_.size() - pos_ > limit) return take(line, pos_ + limit + 1);
            if (atEnd_ || !fill()) {
                if (pos_ >= buffer_.size()) return false;
                return take(line, buffer_.size());
            }
        }
    }

    const QString& error() const { return error_; }

private:
    bool take(QByteArray& line, qsizetype end) {
        line = buffer_.mid(pos_, end - pos_);
        pos_ = end;
        return true;
    }

    // Reads the next piece; false when there is none.
    bool fill() {
        if (pos_ > 0) {
            buffer_.remove(0, pos_);
            pos_ = 0;
        }
        const QByteArray piece = in_.read(kPiece);
        if (piece.isEmpty()) {
            atEnd_ = true;
            if (in_.isOpen() && in_.openMode().testFlag(QIODevice::ReadOnly) && !in_.atEnd())
                error_ = in_.errorString();
            return false;
        }
        buffer_ += piece;
        return true;
    }

    static constexpr qsizetype kPiece = 64 * 1024;
    QIODevice& in_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool atEnd_ = false;
    QString error_;
};

struct Collector {
    Encoding encoding = Encoding::Utf8;
    bool inRecord = false;
    int recordLine = 0;
    QStringList current;
    std::vector<Record> finished; // records complete but not yet handed over
};

void onField(void* data, size_t size, void* context) {
    auto* c = static_cast<Collector*>(context);
    // libcsv passes no data for an empty field written without quotes.
    c->current << (data ? decode(static_cast<const char*>(data), static_cast<qsizetype>(size), c->encoding)
                        : QString());
}

void onRecordEnd(int, void* context) {
    auto* c = static_cast<Collector*>(context);
    c->finished.push_back(Record{c->recordLine, c->current});
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

StreamResult stream(QIODevice& input, const RecordSink& sink) {
    StreamResult result;
    LineReader reader(input);
    const auto stop = [&result](Failure failure, int line, const QString& detail) {
        result.failure = failure;
        result.line = line;
        result.detail = detail;
        return result;
    };

    // The lines up to the end of the header are read first: they say the separator.
    std::vector<QByteArray> ahead;
    SeparatorSniffer sniffer;
    qsizetype aheadBytes = 0;
    QByteArray line;
    while (!sniffer.known() && aheadBytes <= kMaxRecordBytes && reader.next(line, kMaxRecordBytes)) {
        if (ahead.empty() && line.startsWith("\xEF\xBB\xBF")) {
            line.remove(0, 3);
            result.encoding = Encoding::Utf8WithBom;
        }
        sniffer.add(line);
        aheadBytes += line.size();
        ahead.push_back(line);
    }
    const bool bom = result.encoding == Encoding::Utf8WithBom;
    result.separator = sniffer.separator();

    Parser parser;
    if (!parser.ok()) return stop(Failure::Malformed, 0, QString::fromLatin1(csv_strerror(CSV_ENOMEM)));
    csv_set_delim(parser.get(), static_cast<unsigned char>(result.separator));

    // The parser is fed one physical line at a time (a line break included) so that
    // each record's first line is known: libcsv itself counts no lines.
    Collector collector;
    collector.encoding = bom ? Encoding::Utf8WithBom : Encoding::Utf8;
    bool decided = bom;
    qsizetype recordBytes = 0;
    int number = 0;
    const auto feed = [&](const QByteArray& text) -> bool {
        ++number;
        const char* data = text.constData();
        const qsizetype length = text.size();
        if (!collector.inRecord && !isBlank(data, length)) {
            collector.inRecord = true;
            collector.recordLine = number;
            recordBytes = 0;
        }
        recordBytes += length;
        if (recordBytes > kMaxRecordBytes) {
            stop(Failure::RecordTooLong, collector.inRecord ? collector.recordLine : number, QString());
            return false;
        }
        const LineKind kind = kindOf(data, length);
        if (kind != LineKind::Ascii) {
            const Encoding of = kind == LineKind::Utf8 ? Encoding::Utf8 : Encoding::Windows1252;
            const bool utf8File = collector.encoding != Encoding::Windows1252;
            if (!decided) {
                collector.encoding = of;
                decided = true;
            } else if ((of == Encoding::Windows1252) == utf8File) {
                stop(Failure::MixedEncoding, number, encodingName(collector.encoding));
                return false;
            }
        }
        if (csv_parse(parser.get(), data, static_cast<size_t>(length), onField, onRecordEnd, &collector) !=
            static_cast<size_t>(length)) {
            stop(Failure::Malformed, number, QString::fromLatin1(csv_strerror(csv_error(parser.get()))));
            return false;
        }
        for (Record& r : collector.finished)
            if (!sink(std::move(r))) {
                collector.finished.clear();
                return false;
            }
        collector.finished.clear();
        return true;
    };

    bool going = true;
    for (const QByteArray& l : ahead)
        if (going) going = feed(l);
    ahead.clear();
    while (going && reader.next(line, kMaxRecordBytes))
        going = feed(line);
    result.encoding = collector.encoding;
    if (!result.ok()) return result;
    if (!reader.error().isEmpty()) return stop(Failure::Unreadable, 0, reader.error());
    if (!going) return result; // the sink stopped the reading
    if (csv_fini(parser.get(), onField, onRecordEnd, &collector) != 0)
        // Only a quoted field left open at the end of the file gets here.
        return stop(Failure::Malformed, collector.recordLine,
                    QString::fromLatin1(csv_strerror(csv_error(parser.get()))));
    for (Record& r : collector.finished)
        if (!sink(std::move(r))) break;
    return result;
}

StreamResult streamFile(const QString& path, const RecordSink& sink) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        StreamResult result;
        result.failure = Failure::Unreadable;
        result.detail = file.errorString();
        return result;
    }
    return stream(file, sink);
}

namespace {

// A whole file's records gathered into a table.
ReadResult collect(const std::function<StreamResult(const RecordSink&)>& read) {
    ReadResult result;
    Table& table = result.table;
    const StreamResult streamed = read([&table](Record&& r) {
        if (table.headerLine == 0) {
            table.headerLine = r.line;
            table.header = std::move(r.fields);
        } else {
            table.records.push_back(std::move(r));
        }
        return true;
    });
    table.encoding = streamed.encoding;
    table.separator = streamed.separator;
    result.failure = streamed.failure;
    result.line = streamed.line;
    result.detail = streamed.detail;
    return result;
}

} // namespace

ReadResult parse(const QByteArray& input) {
    QByteArray bytes = input;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return collect([&buffer](const RecordSink& sink) { return stream(buffer, sink); });
}

ReadResult readFile(const QString& path) {
    return collect([&path](const RecordSink& sink) { return streamFile(path, sink); });
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
