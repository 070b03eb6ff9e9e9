// Reading CSV files into header and records: encodings, separators, RFC 4180 quoting,
// the line on which each record starts, broken quoting; and writing records back.

#include "data/CsvFile.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(csv::Encoding)

namespace {

using Rows = QList<QStringList>;

Rows fieldsOf(const csv::Table& t) {
    Rows rows;
    for (const csv::Record& r : t.records)
        rows << r.fields;
    return rows;
}

QList<int> linesOf(const csv::Table& t) {
    QList<int> lines;
    for (const csv::Record& r : t.records)
        lines << r.line;
    return lines;
}

} // namespace

class TestCsvFile : public QObject {
    Q_OBJECT

private slots:
    void reads_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<csv::Encoding>("encoding");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QStringList>("header");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QList<int>>("lines");

        QTest::newRow("comma, LF") << QByteArray("a,b\n1,2\n3,4\n") << csv::Encoding::Utf8 << ','
                                   << QStringList{"a", "b"} << Rows{{"1", "2"}, {"3", "4"}}
                                   << QList<int>{2, 3};
        QTest::newRow("CR LF, no final line break")
            << QByteArray("a,b\r\n1,2\r\n3,4") << csv::Encoding::Utf8 << ',' << QStringList{"a", "b"}
            << Rows{{"1", "2"}, {"3", "4"}} << QList<int>{2, 3};
        QTest::newRow("CR only") << QByteArray("a,b\r1,2\r3,4\r") << csv::Encoding::Utf8 << ','
                                 << QStringList{"a", "b"} << Rows{{"1", "2"}, {"3", "4"}} << QList<int>{2, 3};
        QTest::newRow("semicolon, decimal comma kept as text")
            << QByteArray("a;b\n1,5;\"x;y\"\n") << csv::Encoding::Utf8 << ';' << QStringList{"a", "b"}
            << Rows{{"1,5", "x;y"}} << QList<int>{2};
        QTest::newRow("quoted comma, doubled quote, line break")
            << QByteArray("name,text\n1,\"a, \"\"b\"\"\r\nc\"\n2,d\n") << csv::Encoding::Utf8 << ','
            << QStringList{"name", "text"} << Rows{{"1", "a, \"b\"\r\nc"}, {"2", "d"}} << QList<int>{2, 4};
        QTest::newRow("blank lines skipped, lines still counted")
            << QByteArray("\n a , b \n\n1,2\n   \n3,4\n") << csv::Encoding::Utf8 << ','
            << QStringList{"a", "b"} << Rows{{"1", "2"}, {"3", "4"}} << QList<int>{4, 6};
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                       "Cl\xC3\xA9,b\n\xC3\xA9t\xC3\xA9,2\n")
                                         << csv::Encoding::Utf8WithBom << ',' << QStringList{"Clé", "b"}
                                         << Rows{{"été", "2"}} << QList<int>{2};
        QTest::newRow("Windows-1252")
            << QByteArray("a;b\nd\x92"
                          "entreprises;\x80\x9c\xe9\x9d\n")
            << csv::Encoding::Windows1252 << ';' << QStringList{"a", "b"}
            << Rows{{QString::fromUtf8("d’entreprises"), QString::fromUtf8("€œé\u009d")}} << QList<int>{2};
        QTest::newRow("header only") << QByteArray("a,b\n") << csv::Encoding::Utf8 << ','
                                     << QStringList{"a", "b"} << Rows{} << QList<int>{};
    }
    void reads() {
        QFETCH(QByteArray, bytes);
        QFETCH(csv::Encoding, encoding);
        QFETCH(char, separator);
        QFETCH(QStringList, header);
        QFETCH(Rows, rows);
        QFETCH(QList<int>, lines);
        const csv::ReadResult r = csv::parse(bytes);
        QVERIFY2(r.ok(), qPrintable(r.detail));
        QCOMPARE(r.table.encoding, encoding);
        QCOMPARE(r.table.separator, separator);
        QCOMPARE(r.table.header, header);
        QCOMPARE(fieldsOf(r.table), rows);
        QCOMPARE(linesOf(r.table), lines);
    }

    void emptyFieldsKeepNullApartFromQuotedEmpty() {
        const csv::ReadResult r = csv::parse("a,b,c\n,\"\",x\n");
        QVERIFY(r.ok());
        QCOMPARE(r.table.records.size(), std::size_t(1));
        const QStringList& f = r.table.records[0].fields;
        QCOMPARE(f.size(), 3);
        QVERIFY(f[0].isNull());
        QVERIFY(!f[1].isNull());
        QVERIFY(f[1].isEmpty());
        QCOMPARE(f[2], QStringLiteral("x"));
    }

    void emptyFileHasNoHeader() {
        const csv::ReadResult r = csv::parse(QByteArray("\n\n"));
        QVERIFY(r.ok());
        QCOMPARE(r.table.headerLine, 0);
        QVERIFY(r.table.header.isEmpty());
    }

    void brokenQuoting_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::newRow("quote inside a bare field") << QByteArray("a,b\n1,2\n3,x\"y\n") << 3;
        QTest::newRow("text after a closing quote") << QByteArray("a,b\n\"1\"2,3\n") << 2;
        QTest::newRow("quote never closed") << QByteArray("a,b\n1,2\n3,\"open\nstill open\n") << 3;
    }
    void brokenQuoting() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        const csv::ReadResult r = csv::parse(bytes);
        QCOMPARE(r.failure, csv::ReadResult::Failure::Malformed);
        QCOMPARE(r.line, line);
        QVERIFY(!r.detail.isEmpty());
    }

    // A file is in one encoding: the first line beyond ASCII says which, and the first line
    // in the other is named.
    void mixedEncodings_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("encoding");
        QTest::newRow("UTF-8, then Windows-1252")
            << QByteArray("a,b\nC\xC3\xB4te,1\nx,2\nGa\xEBl,3\n") << 4 << "UTF-8";
        QTest::newRow("Windows-1252, then UTF-8")
            << QByteArray("a,b\nGa\xEBl,1\nC\xC3\xB4te,2\n") << 3 << "Windows-1252";
        QTest::newRow("byte-order mark, then Windows-1252") << QByteArray("\xEF\xBB\xBF"
                                                                          "a,b\nGa\xEB"
                                                                          "l,1\n")
                                                            << 2 << "UTF-8 (BOM)";
        QTest::newRow("cut UTF-8 sequence") << QByteArray("a,b\nC\xC3\xB4te,1\nx\xC3,2\n") << 3 << "UTF-8";
    }
    void mixedEncodings() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, encoding);
        const csv::ReadResult r = csv::parse(bytes);
        QCOMPARE(r.failure, csv::Failure::MixedEncoding);
        QCOMPARE(r.line, line);
        QCOMPARE(r.detail, encoding);
    }

    // The reader holds a record at a time: one beyond the bound is refused where it starts,
    // and a file of many records is streamed to the end.
    void recordsAreStreamedWithinABound() {
        const QByteArray longField = '"' + QByteArray(csv::kMaxRecordBytes / 2, 'x') + "\n" +
                                     QByteArray(csv::kMaxRecordBytes / 2, 'y') + '"';
        csv::ReadResult r = csv::parse("a,b\n1,2\n3," + longField + "\n");
        QCOMPARE(r.failure, csv::Failure::RecordTooLong);
        QCOMPARE(r.line, 3);
        QByteArray many("a,b\n");
        for (int i = 0; i < 50000; ++i)
            many += QByteArray::number(i) + ",x\n";
        qint64 seen = 0;
        QBuffer buffer(&many);
        buffer.open(QIODevice::ReadOnly);
        const csv::StreamResult s = csv::stream(buffer, [&seen](csv::Record&& record) {
            if (record.line != seen + 1) return false;
            ++seen;
            return true;
        });
        QVERIFY(s.ok());
        QCOMPARE(seen, 50001);
    }

    void unreadableFile() {
        const csv::ReadResult r = csv::readFile(QStringLiteral("/no/such/folder/file.csv"));
        QCOMPARE(r.failure, csv::ReadResult::Failure::Unreadable);
    }

    void readsAFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.csv"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x;y\n1;2\n");
        f.close();
        const csv::ReadResult r = csv::readFile(path);
        QVERIFY(r.ok());
        QCOMPARE(r.table.separator, ';');
        QCOMPARE(fieldsOf(r.table), (Rows{{"1", "2"}}));
    }

    void formats_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("plain") << QStringList{"a", "1.5"} << QByteArray("a,1.5\r\n");
        QTest::newRow("null and empty")
            << QStringList{QString(), QStringLiteral(""), "x"} << QByteArray(",\"\",x\r\n");
        QTest::newRow("separator and quote")
            << QStringList{"a,b", "say \"hi\""} << QByteArray("\"a,b\",\"say \"\"hi\"\"\"\r\n");
        QTest::newRow("line break") << QStringList{"one\r\ntwo"} << QByteArray("\"one\r\ntwo\"\r\n");
        QTest::newRow("blank at the edge")
            << QStringList{" lead", "trail "} << QByteArray("\" lead\",\"trail \"\r\n");
        QTest::newRow("accents in UTF-8") << QStringList{QString::fromUtf8("Québec")}
                                          << QByteArray("Qu\xC3\xA9"
                                                        "bec\r\n");
    }
    void formats() {
        QFETCH(QStringList, fields);
        QFETCH(QByteArray, line);
        QCOMPARE(csv::formatRecord(fields), line);
    }

    // Whatever is written reads back as the same fields, nulls included.
    void writtenRecordsReadBack() {
        const QStringList header{"k", "v"};
        const Rows rows{
            {"1", "a,b"}, {"2", QString()}, {"3", QStringLiteral("")}, {"4", "x\"y\nz"}, {"5", "  pad  "}};
        QByteArray bytes = csv::formatRecord(header);
        for (const QStringList& r : rows)
            bytes += csv::formatRecord(r);
        const csv::ReadResult back = csv::parse(bytes);
        QVERIFY(back.ok());
        QCOMPARE(back.table.header, header);
        QCOMPARE(fieldsOf(back.table), rows);
        QVERIFY(back.table.records[1].fields[1].isNull());
        QVERIFY(!back.table.records[2].fields[1].isNull());
        QCOMPARE(linesOf(back.table), (QList<int>{2, 3, 4, 5, 7}));
    }
};

QTEST_GUILESS_MAIN(TestCsvFile)
#include "test_csv_file.moc"
