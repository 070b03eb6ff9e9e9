// Firm files for batch use: JSON objects and CSV files, read strictly, and the example
// files that come with the program.

#include "firm/FirmFile.h"
#include "firm/FirmStatement.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(firmfile::Problem)

namespace {

QString examplePath(const char* name) {
    return QStringLiteral(VENTROLUX_SOURCE_DIR "/examples/") + QLatin1String(name);
}

// The five subtotals a statement's file states, in the order they are computed.
const char* const kSubtotals[] = {"Toa", "Ta", "Tliab", "Equity1", "TotLiabShareEq"};

} // namespace

class TestFirmFile : public QObject {
    Q_OBJECT

    QString writeTemp(QTemporaryDir& dir, const QByteArray& content) {
        const QString path = dir.path() + QStringLiteral("/firm");
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QString();
        f.write(content);
        return path;
    }

private slots:
    // --- JSON ---

    void jsonNumbersAndTexts() {
        const auto r =
            firmfile::parseJson("{\"FirmName\": \"O'Brien Ltd.\", \"Year\": 2010, \"NAICS\": \"448140\", "
                                "\"Cash\": 1500.25, \"Ar\": \" 2000 \", \"Sales\": 1e7, \"Inv\": null, "
                                "\"OA\": \"\"}");
        QVERIFY(r.ok());
        QCOMPARE(r.firm.firmName, QStringLiteral("O'Brien Ltd."));
        QCOMPARE(r.firm.year, QStringLiteral("2010"));
        QCOMPARE(r.firm.naics, QStringLiteral("448140"));
        QCOMPARE(r.firm.value("Cash"), QStringLiteral("1500.25"));
        QCOMPARE(r.firm.value("Ar"), QStringLiteral("2000"));
        QCOMPARE(r.firm.value("Sales"), QStringLiteral("10000000"));
        QVERIFY(r.firm.value("Inv").isEmpty());
        QVERIFY(r.firm.value("OA").isEmpty());
        QVERIFY(r.firm.value("Mtg").isEmpty()); // a missing item is an empty box
    }

    void jsonProblems_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<firmfile::Problem>("problem");
        QTest::addColumn<QString>("key");
        QTest::newRow("array") << QByteArray("[{\"Cash\": 1}]") << firmfile::Problem::NotAnObject
                               << QString();
        QTest::newRow("broken") << QByteArray("{\"Cash\": ") << firmfile::Problem::BrokenJson << QString();
        QTest::newRow("unknown key") << QByteArray("{\"Cashh\": 1}") << firmfile::Problem::UnknownKey
                                     << "Cashh";
        QTest::newRow("nested value")
            << QByteArray("{\"Cash\": {\"a\": 1}}") << firmfile::Problem::NotNumberOrText << "Cash";
        QTest::newRow("boolean") << QByteArray("{\"Ar\": true}") << firmfile::Problem::NotNumberOrText
                                 << "Ar";
        QTest::newRow("pasted text") << QByteArray("{\"Inv\": \"1,500,000\"}")
                                     << firmfile::Problem::NotPlainNumber << "Inv";
        // The JSON reader would keep the second value alone.
        QTest::newRow("key twice") << QByteArray("{\"Cash\": 1, \"Ar\": [2, {\"Cash\": 3}], \"Cash\": 2}")
                                   << firmfile::Problem::DuplicateKey << "Cash";
        QTest::newRow("key twice, letter case aside")
            << QByteArray("{\"FirmName\": \"A\", \"firmname\": \"B\"}") << firmfile::Problem::DuplicateKey
            << "firmname";
        QTest::newRow("key twice, once escaped")
            << QByteArray("{\"Cash\": 1, \"C\\u0061sh\": 2}") << firmfile::Problem::DuplicateKey << "Cash";
    }
    void jsonProblems() {
        QFETCH(QByteArray, json);
        QFETCH(firmfile::Problem, problem);
        QFETCH(QString, key);
        const auto r = firmfile::parseJson(json);
        QCOMPARE(r.problem, problem);
        QCOMPARE(r.key, key);
        QVERIFY(!r.ok());
    }

    void jsonArrayIsSaidToBeOne() {
        QVERIFY(firmfile::parseJson("[1, 2]").isArray);
        QVERIFY(!firmfile::parseJson("{\"Cash\": {\"a\": 1}}").isArray);
    }

    // --- Strict value texts, the same in JSON texts and CSV cells ---

    void plainNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("number"); // empty: refused
        QTest::newRow("digits") << "1500000"
                                << "1500000";
        QTest::newRow("blanks around") << "  1500000 "
                                       << "1500000";
        QTest::newRow("tab around") << "\t250\t"
                                    << "250";
        QTest::newRow("negative") << "-42.5"
                                  << "-42.5";
        QTest::newRow("fraction") << "0.0001"
                                  << "0.0001";
        QTest::newRow("leading zeros") << "007"
                                       << "007";
        QTest::newRow("thousands commas") << "1,500,000"
                                          << "";
        QTest::newRow("decimal comma") << "1,5"
                                       << "";
        QTest::newRow("plus sign") << "+1500000"
                                   << "";
        QTest::newRow("inner blanks") << "1 500 000"
                                      << "";
        QTest::newRow("exponent") << "1e5"
                                  << "";
        QTest::newRow("two points") << "1.5.2"
                                    << "";
        QTest::newRow("point without fraction") << "5."
                                                << "";
        QTest::newRow("fraction without digits before") << ".5"
                                                        << "";
        QTest::newRow("two minus signs") << "--5"
                                         << "";
        QTest::newRow("minus after blank") << "- 5"
                                           << "";
        QTest::newRow("trailing letters") << "12abc"
                                          << "";
        QTest::newRow("currency") << "$100"
                                  << "";
        QTest::newRow("other digits") << QString::fromUtf8("\u0661\u0662") << "";
        QTest::newRow("letters") << "n/a"
                                 << "";
    }
    void plainNumbers() {
        QFETCH(QString, text);
        QFETCH(QString, number);
        const auto parsed = firmfile::plainNumber(text);
        QCOMPARE(parsed.has_value(), !number.isEmpty());
        if (parsed) QCOMPARE(*parsed, number);

        // A JSON text and a CSV cell are read the same way, and a refusal names the field and the text.
        QJsonObject obj{{QStringLiteral("Cash"), text}};
        const auto json = firmfile::parseJson(QJsonDocument(obj).toJson());
        QString cell = text;
        cell.replace(u'"', QStringLiteral("\"\""));
        const auto csv =
            firmfile::parseCsv(QStringLiteral("FirmName,cash\nA,\"") + cell + QStringLiteral("\"\n"));
        for (const auto& r : {json, csv}) {
            if (number.isEmpty()) {
                QCOMPARE(r.problem, firmfile::Problem::NotPlainNumber);
                QCOMPARE(r.key.compare(QLatin1String("Cash"), Qt::CaseInsensitive), 0);
                QCOMPARE(r.text, text);
            } else {
                QVERIFY(r.ok());
                QCOMPARE(r.firm.value("Cash"), number);
            }
        }
    }

    // --- CSV ---

    void csvHeaderAndFirstRow() {
        const auto r =
            firmfile::parseCsv(QStringLiteral("\xFEFF"
                                              "FirmName,Year,cash,OperatingRevenue,Inv\r\n"
                                              "\"Smith, Jones \"\"& Sons\"\"\",2009,100,\"2500\",\r\n"
                                              "Second,2011,1,1,1\n"));
        QVERIFY(r.ok());
        QCOMPARE(r.firm.firmName, QStringLiteral("Smith, Jones \"& Sons\""));
        QCOMPARE(r.firm.year, QStringLiteral("2009"));
        QCOMPARE(r.firm.value("Cash"), QStringLiteral("100"));
        QCOMPARE(r.firm.value("OperatingRevenue"), QStringLiteral("2500"));
        QVERIFY(r.firm.value("Inv").isEmpty());
    }

    void csvProblems_data() {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<firmfile::Problem>("problem");
        QTest::addColumn<QString>("key");
        QTest::newRow("header only") << "FirmName,Year\n" << firmfile::Problem::NoDataRow << QString();
        QTest::newRow("unknown column") << "FirmName,Bogus\nA,1\n"
                                        << firmfile::Problem::UnknownKey << "Bogus";
        QTest::newRow("quoted thousands") << "FirmName,Ta\nA,\"1,500,000\"\n"
                                          << firmfile::Problem::NotPlainNumber << "Ta";
    }
    void csvProblems() {
        QFETCH(QString, csv);
        QFETCH(firmfile::Problem, problem);
        QFETCH(QString, key);
        const auto r = firmfile::parseCsv(csv);
        QCOMPARE(r.problem, problem);
        QCOMPARE(r.key, key);
    }

    void csvRecordsKeepEmptyFields() {
        const auto records = firmfile::csvRecords(QStringLiteral("a,,c\n,\n"));
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[0], (QStringList{QStringLiteral("a"), QString(), QStringLiteral("c")}));
        QCOMPARE(records[1], (QStringList{QString(), QString()}));
    }

    // --- Lists of firms ---

    void listRowsWithTheirLines() {
        // A quoted name over two lines moves the next row's line on by one.
        const auto list = firmfile::parseCsvList("FirmName,Year,NAICS,Cash\r\n"
                                                 "Alpha,2011,448140,10\r\n"
                                                 "\r\n"
                                                 "\"Beta\nand sons\",2010,,20\r\n"
                                                 "Gamma,2009,722110,1;5\r\n");
        QVERIFY(list.ok());
        QCOMPARE(int(list.rows.size()), 3);
        QCOMPARE(list.rows[0].line, 2);
        QCOMPARE(list.rows[1].line, 4);
        QCOMPARE(list.rows[2].line, 6);
        QCOMPARE(list.rows[1].firm.firmName, QStringLiteral("Beta\nand sons"));
        QVERIFY(list.rows[1].firm.naics.isEmpty());
        QCOMPARE(list.rows[1].firm.value("Cash"), QStringLiteral("20"));
        // A bad row has its own fault; the others are read.
        QVERIFY(list.rows[0].ok() && list.rows[1].ok());
        QCOMPARE(list.rows[2].problem, firmfile::Problem::NotPlainNumber);
        QCOMPARE(list.rows[2].key, QStringLiteral("Cash"));
        QCOMPARE(list.rows[2].text, QStringLiteral("1;5"));
    }

    void listFaults_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<firmfile::Problem>("problem"); // of the file, or else of its second row
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("key");
        QTest::newRow("unknown column")
            << QByteArray("\nFirmName,Casj\nA,1\n") << firmfile::Problem::UnknownKey << 2 << "Casj";
        QTest::newRow("quote left open")
            << QByteArray("FirmName,Cash\nA,1\n\"B,2\n") << firmfile::Problem::MalformedCsv << 3 << QString();
        QTest::newRow("stray quote") << QByteArray("FirmName,Cash\nA,1\nB\"x,2\n")
                                     << firmfile::Problem::MalformedCsv << 3 << QString();
        QTest::newRow("header only") << QByteArray("FirmName,Cash\n") << firmfile::Problem::NoDataRow << 0
                                     << QString();
        QTest::newRow("empty file") << QByteArray() << firmfile::Problem::NoDataRow << 0 << QString();
        QTest::newRow("too many fields") << QByteArray("FirmName,Cash\nA,1\nTremblay, Gagnon inc.,2\n")
                                         << firmfile::Problem::TooManyFields << 3 << QString();
        QTest::newRow("column named twice") << QByteArray("FirmName,Cash,Ar,cash\nA,1,2,3\n")
                                            << firmfile::Problem::DuplicateKey << 1 << "cash";
        QTest::newRow("name named twice") << QByteArray("FirmName,Cash,FirmName\nA,1,B\n")
                                          << firmfile::Problem::DuplicateKey << 1 << "FirmName";
        QTest::newRow("UTF-8, then Windows-1252") << QByteArray("FirmName,Cash\nC\xC3\xB4te,1\nGa\xEBl,2\n")
                                                  << firmfile::Problem::MixedEncoding << 3 << QString();
    }
    void listFaults() {
        QFETCH(QByteArray, csv);
        QFETCH(firmfile::Problem, problem);
        QFETCH(int, line);
        QFETCH(QString, key);
        const auto list = firmfile::parseCsvList(csv);
        if (problem == firmfile::Problem::TooManyFields) {
            QVERIFY(list.ok());
            QCOMPARE(int(list.rows.size()), 2);
            QVERIFY(list.rows[0].ok());
            QCOMPARE(list.rows[1].problem, problem);
            QCOMPARE(list.rows[1].line, line);
            QCOMPARE(list.rows[1].text, QStringLiteral("3"));
            return;
        }
        QCOMPARE(list.problem, problem);
        QCOMPARE(list.line, line);
        QCOMPARE(list.key, key);
        QVERIFY(list.rows.empty());
    }

    void listEncodingsAndSeparators_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::newRow("UTF-8") << QByteArray("FirmName,Year,Cash\nC\xC3\xB4te-Nord inc.,2011,5\n");
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF"
                                                      "FirmName,Year,Cash\nC\xC3\xB4te-Nord inc.,2011,5\n");
        QTest::newRow("Windows-1252") << QByteArray("FirmName,Year,Cash\nC\xF4te-Nord inc.,2011,5\n");
        QTest::newRow("semicolons") << QByteArray("FirmName;Year;Cash\r\nC\xC3\xB4te-Nord inc.;2011;5\r\n");
    }
    void listEncodingsAndSeparators() {
        QFETCH(QByteArray, csv);
        const auto list = firmfile::parseCsvList(csv);
        QVERIFY(list.ok());
        QCOMPARE(int(list.rows.size()), 1);
        QVERIFY(list.rows[0].ok());
        QCOMPARE(list.rows[0].firm.firmName, QString::fromUtf8("C\xC3\xB4te-Nord inc."));
        QCOMPARE(list.rows[0].firm.value("Cash"), QStringLiteral("5"));
    }

    void writtenListReadsBack() {
        // Names that need quoting, a line break and an accent; values of every sign.
        QList<FirmStatement> firms;
        for (const char* name : {"Tremblay, Gagnon CPA inc.", "\"Quoted\" Ltd.", " Blank edges ",
                                 "Two\nlines", "Garage L\xC3\xA9vesque"}) {
            FirmStatement f;
            f.firmName = QString::fromUtf8(name);
            f.year = QStringLiteral("2010");
            f.naics = QStringLiteral("811111");
            firmrules::resetValues(f.values);
            f.value("Cash") = QStringLiteral("-12.5");
            f.value("Inv") = QStringLiteral("922337203685478");
            firms << f;
        }
        QByteArray csv = firmfile::csvHeaderLine();
        for (const FirmStatement& f : firms)
            csv += firmfile::csvLine(f);
        QVERIFY(csv.startsWith("FirmName,Year,NAICS,Cash,Ar,"));
        const auto list = firmfile::parseCsvList(csv);
        QVERIFY(list.ok());
        QCOMPARE(int(list.rows.size()), firms.size());
        for (qsizetype i = 0; i < firms.size(); ++i) {
            QVERIFY(list.rows[i].ok());
            QCOMPARE(list.rows[i].firm.firmName, firms[i].firmName);
            QCOMPARE(list.rows[i].firm.year, firms[i].year);
            QCOMPARE(list.rows[i].firm.naics, firms[i].naics);
            QCOMPARE(list.rows[i].firm.values, firms[i].values);
        }
    }

    void jsonOfAFirmReadsBack() {
        FirmStatement f;
        f.firmName = QString::fromUtf8("O'Brien \"&\" Fr\xC3\xA8res\n");
        f.year = QStringLiteral("2009");
        f.naics = QStringLiteral("448140");
        firmrules::resetValues(f.values);
        f.value("Cash") = QStringLiteral("1500.25");
        f.value("RetEarn") = QStringLiteral("-80");
        const QByteArray json = firmfile::toJson(f);
        // The statement's order, not the alphabet's.
        QVERIFY(json.indexOf("\"FirmName\"") < json.indexOf("\"Year\""));
        QVERIFY(json.indexOf("\"Cash\"") < json.indexOf("\"Ar\""));
        QVERIFY(json.contains("\"Year\": 2009"));
        QVERIFY(json.contains("\"Cash\": 1500.25"));
        QJsonParseError error;
        QVERIFY(QJsonDocument::fromJson(json, &error).isObject());
        const auto back = firmfile::parseJson(json);
        QVERIFY(back.ok());
        QCOMPARE(back.firm.firmName, f.firmName);
        QCOMPARE(back.firm.year, f.year);
        QCOMPARE(back.firm.naics, f.naics);
        QCOMPARE(back.firm.values, f.values);
    }

    void asTypedNormalisesAndComputes() {
        FirmStatement f;
        f.value("Cash") = QStringLiteral("100.12345");
        f.value("Ar") = QStringLiteral("50");
        f.value("Toa") = QStringLiteral("1"); // a stated subtotal is computed again
        QVERIFY(firmfile::asTyped(f));
        QCOMPARE(f.value("Cash"), QStringLiteral("100.1234"));
        QCOMPARE(f.value("Toa"), QStringLiteral("150.1234"));
        QCOMPARE(f.value("Ta"), QStringLiteral("150.1234"));
        QCOMPARE(f.value("Mtg"), QStringLiteral("0"));
        f.value("Cash") = QStringLiteral("1000000000000000000000");
        QVERIFY(!firmfile::asTyped(f));
    }

    // --- Files ---

    void readTellsJsonFromCsv_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<firmfile::Problem>("problem");
        QTest::addColumn<bool>("isArray");
        QTest::newRow("object") << QByteArray("  {\"Cash\": 5}") << firmfile::Problem::None << false;
        QTest::newRow("array") << QByteArray("\n[{\"Cash\": 5}]\n") << firmfile::Problem::NotAnObject << true;
        QTest::newRow("csv") << QByteArray("Cash\n5\n") << firmfile::Problem::None << false;
    }
    void readTellsJsonFromCsv() {
        QFETCH(QByteArray, content);
        QFETCH(firmfile::Problem, problem);
        QFETCH(bool, isArray);
        QTemporaryDir dir;
        const auto r = firmfile::read(writeTemp(dir, content));
        QCOMPARE(r.problem, problem);
        QCOMPARE(r.isArray, isArray);
        if (r.ok()) QCOMPARE(r.firm.value("Cash"), QStringLiteral("5"));
    }

    void readMissingFile() {
        QTemporaryDir dir;
        const auto r = firmfile::read(dir.path() + QStringLiteral("/none.json"));
        QCOMPARE(r.problem, firmfile::Problem::Unreadable);
        QVERIFY(!r.text.isEmpty());
    }

    // --- Years ---

    void referenceYears_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("year"); // 0: not one of the three
        QTest::newRow("2009") << "2009" << 2009;
        QTest::newRow("2010") << "2010" << 2010;
        QTest::newRow("2011") << "2011" << 2011;
        QTest::newRow("blanks around") << " 2010 " << 2010;
        QTest::newRow("three digits") << "201" << 0;
        QTest::newRow("five digits") << "20100" << 0;
        QTest::newRow("negative exponent") << "2010E-1" << 0;
        QTest::newRow("large exponent") << "2010e5" << 0;
        QTest::newRow("fraction") << "2010.0" << 0;
        QTest::newRow("plus sign") << "+2010" << 0;
        QTest::newRow("after the three") << "2012" << 0;
        QTest::newRow("before the three") << "2008" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("huge") << "99999999999999999999" << 0;
    }
    void referenceYears() {
        QFETCH(QString, text);
        QFETCH(int, year);
        const auto parsed = firmfile::referenceYear(text);
        QCOMPARE(parsed.has_value(), year != 0);
        if (parsed) QCOMPARE(int(*parsed), year);
    }

    // --- The example files ---

    void examplesAreReadAndBalanced_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("firm.json") << examplePath("firm.json");
        QTest::newRow("firm.csv") << examplePath("firm.csv");
    }
    void examplesAreReadAndBalanced() {
        QFETCH(QString, path);
        const auto r = firmfile::read(path);
        QVERIFY(r.ok());
        QVERIFY(!r.firm.firmName.isEmpty());
        QVERIFY(firmfile::referenceYear(r.firm.year).has_value());
        QVERIFY(!r.firm.naics.isEmpty());
        std::array<QString, lineitems::kCount> computed = r.firm.values;
        firmrules::calculateSubTotals(computed);
        for (const char* s : kSubtotals)
            QCOMPARE(computed[*lineitems::indexOf(QLatin1String(s))], r.firm.value(s));
        QVERIFY(firmrules::isBalanced(computed));
    }

    void jsonAndCsvExamplesHoldTheSameFirm() {
        const auto json = firmfile::read(examplePath("firm.json"));
        const auto csv = firmfile::read(examplePath("firm.csv"));
        QVERIFY(json.ok() && csv.ok());
        QCOMPARE(csv.firm.firmName, json.firm.firmName);
        QCOMPARE(csv.firm.year, json.firm.year);
        QCOMPARE(csv.firm.naics, json.firm.naics);
        for (int i = 0; i < lineitems::kCount; ++i)
            QCOMPARE(csv.firm.values[i], json.firm.values[i]);
    }

    void clientListHasTwentyConsistentFirms() {
        QFile f(examplePath("clients.csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QStringList> records = firmfile::csvRecords(QString::fromUtf8(f.readAll()));
        QCOMPARE(records.size(), 21);
        const QStringList& header = records[0];
        QSet<QString> names, industries;
        QStringList unbalanced;
        for (qsizetype row = 1; row < records.size(); ++row) {
            // Each client read on its own, as a one-firm file.
            QString one;
            for (const QStringList& record : {header, records[row]}) {
                QStringList quoted;
                for (QString field : record)
                    quoted << u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"';
                one += quoted.join(u',') + u'\n';
            }
            const auto r = firmfile::parseCsv(one);
            QVERIFY2(r.ok(), qPrintable(records[row].value(0)));
            for (int i = 0; i < lineitems::kCount; ++i)
                QVERIFY(!r.firm.values[i].isEmpty());
            QVERIFY(firmfile::referenceYear(r.firm.year).has_value());
            names.insert(r.firm.firmName);
            industries.insert(r.firm.naics);
            std::array<QString, lineitems::kCount> computed = r.firm.values;
            firmrules::calculateSubTotals(computed);
            for (const char* s : kSubtotals)
                QVERIFY2(computed[*lineitems::indexOf(QLatin1String(s))] == r.firm.value(s),
                         qPrintable(r.firm.firmName + u' ' + QLatin1String(s)));
            if (!firmrules::isBalanced(computed)) unbalanced << r.firm.firmName;
            QVERIFY(r.firm.value("Ta").toDouble() > 0);
        }
        QCOMPARE(names.size(), 20);
        QVERIFY(industries.size() >= 4);
        QCOMPARE(unbalanced, QStringList{QStringLiteral("Atlantic Plumbing & Heating Ltd.")});
    }
};

QTEST_GUILESS_MAIN(TestFirmFile)
#include "test_firm_file.moc"
