// ventrolux-cli firms: the client records kept from the command line, read back from the
// user database directly.

#include "cli/CliSandbox.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kNaics = QStringLiteral("448140");

QString storedCash(const CliSandbox& s, const QString& name, int year) {
    const auto rows = s.rows(QStringLiteral("select Cash from MyValues where FirmName = '%1' and Year = %2")
                                 .arg(QString(name).replace(u'\'', QStringLiteral("''")))
                                 .arg(year));
    return rows.isEmpty() ? QString() : rows.first().value(QStringLiteral("Cash")).toString();
}

int storedCount(const CliSandbox& s) {
    return s.rows(QStringLiteral("select count(*) as n from MyValues"))
        .first()
        .value(QStringLiteral("n"))
        .toInt();
}

// Every stored firm as one text per row, all columns, for comparing two databases.
QStringList storedRecords(const CliSandbox& s) {
    QStringList out;
    for (const QVariantMap& row : s.rows(QStringLiteral("select * from MyValues order by FirmName, Year"))) {
        QStringList fields;
        for (auto it = row.begin(); it != row.end(); ++it)
            fields << it.key() + u'=' + it.value().toString();
        out << fields.join(u'|');
    }
    return out;
}

} // namespace

class TestFirmsCommands : public QObject {
    Q_OBJECT

private slots:
    // --- save ---

    void saveWithoutAndWithReplace_data() {
        QTest::addColumn<bool>("storedBefore");
        QTest::addColumn<bool>("replace");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("cashAfter");
        QTest::newRow("new firm") << false << false << 0 << "50000";
        QTest::newRow("new firm with --replace") << false << true << 0 << "50000";
        QTest::newRow("stored firm refused") << true << false << 1 << "7";
        QTest::newRow("stored firm replaced") << true << true << 0 << "50000";
    }
    void saveWithoutAndWithReplace() {
        QFETCH(bool, storedBefore);
        QFETCH(bool, replace);
        QFETCH(int, status);
        QFETCH(QString, cashAfter);
        CliSandbox s;
        const QStringList one{QStringLiteral("FirmName"), QStringLiteral("Year"), QStringLiteral("Cash"),
                              QStringLiteral("ShareC")};
        if (storedBefore) {
            const QString first = s.write(
                QStringLiteral("first.csv"),
                csvList({{{"FirmName", "O'Neil"}, {"Year", "2010"}, {"Cash", "7"}, {"ShareC", "7"}}}, one));
            QCOMPARE(s.run({QStringLiteral("firms"), QStringLiteral("save"), first}).status, 0);
        }
        const QString file =
            s.write(QStringLiteral("firm.csv"),
                    csvList({balancedFirm(QStringLiteral("O'Neil"), QStringLiteral("2010"), kNaics)}));
        QStringList args{QStringLiteral("firms"), QStringLiteral("save"), file};
        if (replace) args << QStringLiteral("--replace");
        const CliResult r = s.run(args);
        QCOMPARE(r.status, status);
        QCOMPARE(storedCash(s, QStringLiteral("O'Neil"), 2010), cashAfter);
        QCOMPARE(storedCount(s), 1);
        if (status == 1) {
            QVERIFY2(r.err.contains(QStringLiteral("O'Neil")) && r.err.contains(QStringLiteral("--replace")),
                     qPrintable(r.err));
            QVERIFY(r.out.isEmpty());
        }
    }

    void savedFirmIsTheTypedFirm() {
        // Stored as the screen stores it: values in their normal form, subtotals computed
        // again (the file's are wrong), empty values 0, the year without blanks.
        CliSandbox s;
        const QString file =
            s.write(QStringLiteral("firm.json"),
                    "{\"FirmName\": \"Acme\", \"Year\": \" 2009 \", \"Cash\": \"100.12345\", "
                    "\"Ar\": 50, \"Toa\": 1, \"ShareC\": \"\"}");
        QCOMPARE(s.run({QStringLiteral("firms"), QStringLiteral("save"), file}).status, 0);
        const auto rows = s.rows(QStringLiteral("select * from MyValues"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].value(QStringLiteral("Year")).toInt(), 2009);
        QCOMPARE(rows[0].value(QStringLiteral("Cash")).toDouble(), 100.1234);
        QCOMPARE(rows[0].value(QStringLiteral("Toa")).toDouble(), 150.1234);
        QCOMPARE(rows[0].value(QStringLiteral("ShareC")).toDouble(), 0.0);
    }

    void saveRefusals_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("words");
        QTest::newRow("blank name") << QByteArray("{\"FirmName\": \"  \", \"Year\": 2011}") << "E" << 1
                                    << "Invalid enterprise name.";
        QTest::newRow("prompt as name")
            << QByteArray("{\"FirmName\": \"Enter an Enterprise Name Here\", \"Year\": 2011}") << "E" << 1
            << "Invalid enterprise name.";
        QTest::newRow("name missing, in French")
            << QByteArray("{\"Year\": 2011}") << "F" << 1 << "Nom d'entreprise invalide.";
        QTest::newRow("year of no reference") << QByteArray("{\"FirmName\": \"A\", \"Year\": 2012}") << "E"
                                              << 1 << "the year must be 2009, 2010 or 2011, not \"2012\"";
        QTest::newRow("year in French") << QByteArray("{\"FirmName\": \"A\", \"Year\": \"2011e0\"}") << "F"
                                        << 1 << "l'année doit être 2009, 2010 ou 2011";
        QTest::newRow("value beyond the boxes")
            << QByteArray("{\"FirmName\": \"A\", \"Year\": 2011, \"Cash\": 1E+20}") << "E" << 1
            << "Please enter a number";
        QTest::newRow("thousands separators") << QByteArray("{\"FirmName\": \"A\", \"Cash\": \"1,500\"}")
                                              << "E" << 1 << "not a plain decimal number";
        QTest::newRow("not a firm file") << QByteArray("[1]") << "E" << 1 << "a JSON array";
    }
    void saveRefusals() {
        QFETCH(QByteArray, json);
        QFETCH(QString, lang);
        QFETCH(int, status);
        QFETCH(QString, words);
        CliSandbox s;
        const CliResult r =
            s.run({QStringLiteral("firms"), QStringLiteral("save"),
                   s.write(QStringLiteral("firm.json"), json), QStringLiteral("--lang"), lang});
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.contains(words), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        // Nothing stored, and a file at fault is refused before the user database is made.
        QVERIFY(!QFile::exists(s.file(QStringLiteral("myData.db"))) || storedCount(s) == 0);
    }

    // --- import ---

    void importOfTheClientList() {
        CliSandbox s;
        const CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("import"),
                                   QStringLiteral(VENTROLUX_SOURCE_DIR "/examples/clients.csv")});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.contains(QStringLiteral("20")), qPrintable(r.out));
        QCOMPARE(storedCount(s), 20);
        QCOMPARE(storedCash(s, QStringLiteral("Tremblay, Gagnon CPA inc."), 2011), QStringLiteral("144500"));
        QCOMPARE(
            s.rows(QStringLiteral("select NAICS from MyValues where FirmName = 'Salon Chez Nathalie enr.'"))
                .first()
                .value(QStringLiteral("NAICS"))
                .toString(),
            QStringLiteral("812116"));
    }

    void importWithOneBadRowWritesNothing_data() {
        QTest::addColumn<QByteArray>("badLine"); // the fourth line of the file; a line break counts
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("words");
        const QByteArray header = firmColumns().join(u',').toUtf8();
        const auto line = [](const QMap<QString, QString>& firm) { return csvLine(firmColumns(), firm); };
        QTest::newRow("thousands separators")
            << line(balancedFirm("Gamma", "2011", "448140", {{"Cash", "50,000"}})) << 4
            << "Cash is not a plain decimal number: \"50,000\"";
        QTest::newRow("year of no reference")
            << line(balancedFirm("Gamma", "2008", "448140")) << 4 << "the year must be 2009, 2010 or 2011";
        QTest::newRow("no name") << line(balancedFirm("", "2011", "448140")) << 4
                                 << "Invalid enterprise name.";
        QTest::newRow("a firm twice")
            << line(balancedFirm("Alpha", "2011", "448140")) << 4 << "Alpha for 2011 is already on line 2";
        QTest::newRow("too many fields")
            << QByteArray(line(balancedFirm("Gamma", "2011", "448140")).trimmed() + ",\"extra\"\r\n") << 4
            << "the row has 36 fields";
        QTest::newRow("stored already")
            << line(balancedFirm("Stored", "2010", "448140")) << 4 << "Stored is stored for 2010 already";
        QTest::newRow("stray quote") << QByteArray("Gam\"ma,2011\r\n") << 4 << "is not valid CSV at line 4";
    }
    void importWithOneBadRowWritesNothing() {
        QFETCH(QByteArray, badLine);
        QFETCH(int, line);
        QFETCH(QString, words);
        CliSandbox s;
        const QString stored =
            s.write(QStringLiteral("stored.json"),
                    "{\"FirmName\": \"Stored\", \"Year\": 2010, \"Cash\": 3, \"ShareC\": 3}");
        QCOMPARE(s.run({QStringLiteral("firms"), QStringLiteral("save"), stored}).status, 0);
        QByteArray csv = firmColumns().join(u',').toUtf8() + "\r\n";
        csv += csvLine(firmColumns(), balancedFirm("Alpha", "2011", "448140"));
        csv += csvLine(firmColumns(), balancedFirm("Beta", "2010", "448140"));
        csv += badLine;
        csv += csvLine(firmColumns(), balancedFirm("Omega", "2009", "448140"));
        const QString file = s.write(QStringLiteral("clients.csv"), csv);
        const CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("import"), file});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(words), qPrintable(r.err));
        if (!words.contains(QStringLiteral("CSV")))
            QVERIFY2(r.err.contains(QStringLiteral(", line %1:").arg(line)), qPrintable(r.err));
        QVERIFY2(r.err.contains(QStringLiteral("nothing was imported")) ||
                     words.contains(QStringLiteral("CSV")),
                 qPrintable(r.err));
        // Only the firm stored before: not Alpha nor Beta, which came before the bad row.
        QCOMPARE(storedCount(s), 1);
        QCOMPARE(storedCash(s, QStringLiteral("Stored"), 2010), QStringLiteral("3"));
    }

    void importReplacesWithReplace() {
        CliSandbox s;
        const QString stored =
            s.write(QStringLiteral("stored.json"),
                    "{\"FirmName\": \"Alpha\", \"Year\": 2011, \"Cash\": 3, \"ShareC\": 3}");
        QCOMPARE(s.run({QStringLiteral("firms"), QStringLiteral("save"), stored}).status, 0);
        const QString file = s.write(
            QStringLiteral("clients.csv"),
            csvList({balancedFirm("Alpha", "2011", "448140"), balancedFirm("Beta", "2011", "448140")}));
        const CliResult r =
            s.run({QStringLiteral("firms"), QStringLiteral("import"), file, QStringLiteral("--replace")});
        QCOMPARE(r.status, 0);
        QCOMPARE(storedCount(s), 2);
        QCOMPARE(storedCash(s, QStringLiteral("Alpha"), 2011), QStringLiteral("50000"));
    }

    // --- list, show, delete, export ---

    void exportThenImportGivesTheSameRecords() {
        CliSandbox a;
        QCOMPARE(a.run({QStringLiteral("firms"), QStringLiteral("import"),
                        QStringLiteral(VENTROLUX_SOURCE_DIR "/examples/clients.csv")})
                     .status,
                 0);
        // A name that needs quoting in every way a name may, fractions and a negative value.
        const QString odd =
            a.write(QStringLiteral("odd.json"),
                    QStringLiteral("{\"FirmName\": \"\\\"Chez Léa\\\", café; bar \", "
                                   "\"Year\": 2010, \"NAICS\": \"722110\", \"Cash\": 1234.5678, "
                                   "\"RetEarn\": -250.25, \"ShareC\": 1484.8178}")
                        .toUtf8());
        QCOMPARE(a.run({QStringLiteral("firms"), QStringLiteral("save"), odd}).status, 0);
        const QString csv = a.file(QStringLiteral("export.csv"));
        const CliResult exported = a.run({QStringLiteral("firms"), QStringLiteral("export"), csv});
        QCOMPARE(exported.status, 0);
        QVERIFY(exported.out.contains(QStringLiteral("21")));

        CliSandbox b;
        QCOMPARE(b.run({QStringLiteral("firms"), QStringLiteral("import"), csv}).status, 0);
        const QStringList before = storedRecords(a);
        QCOMPARE(before.size(), 21);
        QCOMPARE(storedRecords(b), before);
        QCOMPARE(b.run({QStringLiteral("firms"), QStringLiteral("list")}).out,
                 a.run({QStringLiteral("firms"), QStringLiteral("list")}).out);
    }

    // An exported value imports back as the same stored number: the largest amount a box
    // holds (which has no double of its own, the nearest lying beyond it) and amounts of 16
    // digits included.
    void extremeValuesRoundTrip_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("largest") << "922337203685477.5807";
        QTest::newRow("largest below zero") << "-922337203685477.5807";
        QTest::newRow("16 digits") << "123456789012.3456";
        QTest::newRow("a ten-thousandth") << "0.0001";
    }
    void extremeValuesRoundTrip() {
        QFETCH(QString, value);
        CliSandbox a;
        const QString file = a.write(QStringLiteral("edge.json"),
                                     QStringLiteral("{\"FirmName\": \"Edge\", \"Year\": 2011, \"OA\": 1, "
                                                    "\"Invest\": \"%1\"}")
                                         .arg(value)
                                         .toUtf8());
        const CliResult saved = a.run({QStringLiteral("firms"), QStringLiteral("save"), file});
        QVERIFY2(saved.status == 0, qPrintable(saved.err));
        const QString csv = a.file(QStringLiteral("export.csv"));
        QCOMPARE(a.run({QStringLiteral("firms"), QStringLiteral("export"), csv}).status, 0);
        CliSandbox b;
        const CliResult imported = b.run({QStringLiteral("firms"), QStringLiteral("import"), csv});
        QVERIFY2(imported.status == 0, qPrintable(imported.err));
        QCOMPARE(storedRecords(b), storedRecords(a));
        QCOMPARE(b.rows(QStringLiteral("select Invest from MyValues")).first().value("Invest").toDouble(),
                 value.toDouble());
    }

    // A subtotal beyond what a record keeps would be stored as a number that does not read
    // back: the save is refused, naming it.
    void subtotalBeyondTheRangeIsNotSaved() {
        CliSandbox s;
        const QString file = s.write(QStringLiteral("big.json"),
                                     QByteArray("{\"FirmName\": \"Big\", \"Year\": 2011, "
                                                "\"Cash\": 922337203685477, \"Ar\": 922337203685477}"));
        const CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("save"), file});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("Toa cannot be stored")), qPrintable(r.err));
        QCOMPARE(storedCount(s), 0);
    }

    void listShowAndDelete() {
        CliSandbox s;
        for (const auto& [name, year] : {std::pair{"Beta", "2011"}, {"alpha", "2010"}, {"Beta", "2009"}}) {
            const QString file = s.write(QStringLiteral("f.csv"),
                                         csvList({balancedFirm(name, year, QStringLiteral("722110"))}));
            QCOMPARE(s.run({QStringLiteral("firms"), QStringLiteral("save"), file}).status, 0);
        }
        const CliResult list = s.run({QStringLiteral("firms"), QStringLiteral("list")});
        QCOMPARE(list.status, 0);
        QCOMPARE(list.out, QStringLiteral("alpha\t2010\t722110\nBeta\t2009\t722110\nBeta\t2011\t722110\n"));

        const CliResult shown = s.run({QStringLiteral("firms"), QStringLiteral("show"),
                                       QStringLiteral("Beta"), QStringLiteral("2009")});
        QCOMPARE(shown.status, 0);
        QJsonParseError error;
        const QJsonObject json = QJsonDocument::fromJson(shown.out.toUtf8(), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(json.value(QStringLiteral("FirmName")).toString(), QStringLiteral("Beta"));
        QCOMPARE(json.value(QStringLiteral("Year")).toInt(), 2009);
        QCOMPARE(json.value(QStringLiteral("NAICS")).toString(), QStringLiteral("722110"));
        QCOMPARE(json.value(QStringLiteral("Inv")).toDouble(), 120000.0);
        QCOMPARE(json.value(QStringLiteral("Ta")).toDouble(), 500000.0);
        QCOMPARE(json.size(), 35);

        // What show prints is a firm file: saved back, it is the same record.
        const QStringList before = storedRecords(s);
        const QString again = s.write(QStringLiteral("shown.json"), shown.out.toUtf8());
        QCOMPARE(s.run({QStringLiteral("firms"), QStringLiteral("save"), again, QStringLiteral("--replace")})
                     .status,
                 0);
        QCOMPARE(storedRecords(s), before);

        QCOMPARE(s.run({QStringLiteral("firms"), QStringLiteral("delete"), QStringLiteral("Beta"),
                        QStringLiteral("2009")})
                     .status,
                 0);
        QCOMPARE(storedCount(s), 2);
        const CliResult gone = s.run({QStringLiteral("firms"), QStringLiteral("show"), QStringLiteral("Beta"),
                                      QStringLiteral("2009"), QStringLiteral("--lang"), QStringLiteral("F")});
        QCOMPARE(gone.status, 1);
        QCOMPARE(gone.err.trimmed(), QStringLiteral("aucune entreprise Beta n'est enregistrée pour 2009"));
        QCOMPARE(s.run({QStringLiteral("firms"), QStringLiteral("delete"), QStringLiteral("Beta"),
                        QStringLiteral("2009")})
                     .status,
                 1);
        // The name is matched as stored, letter case included.
        QCOMPARE(s.run({QStringLiteral("firms"), QStringLiteral("delete"), QStringLiteral("ALPHA"),
                        QStringLiteral("2010")})
                     .status,
                 1);
        QCOMPARE(storedCount(s), 2);
    }

    void exportOfNoFirmsIsAHeader() {
        CliSandbox s;
        const QString csv = s.file(QStringLiteral("none.csv"));
        QCOMPARE(s.run({QStringLiteral("firms"), QStringLiteral("export"), csv}).status, 0);
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), firmColumns().join(u',').toUtf8() + "\r\n");
        // A folder that does not exist cannot take the file.
        const CliResult r = s.run({QStringLiteral("firms"), QStringLiteral("export"),
                                   s.file(QStringLiteral("no/such/folder/x.csv"))});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("could not be written")), qPrintable(r.err));
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown firms command")
            << QStringList{QStringLiteral("firms"), QStringLiteral("frob")} << "unknown firms command 'frob'";
        QTest::newRow("no firms command") << QStringList{QStringLiteral("firms")} << "no command given";
        QTest::newRow("year missing")
            << QStringList{QStringLiteral("firms"), QStringLiteral("show"), QStringLiteral("Acme")}
            << "YEAR is required";
        QTest::newRow("year missing, in French")
            << QStringList{QStringLiteral("firms"), QStringLiteral("delete"), QStringLiteral("Acme"),
                           QStringLiteral("--lang"), QStringLiteral("F")}
            << "il manque l'argument YEAR";
        QTest::newRow("one word too many")
            << QStringList{QStringLiteral("firms"), QStringLiteral("list"), QStringLiteral("more")}
            << "unexpected argument: more";
        QTest::newRow("unreadable file") << QStringList{QStringLiteral("firms"), QStringLiteral("import"),
                                                        QStringLiteral("/no/such/clients.csv")}
                                         << "cannot read the firm file /no/such/clients.csv";
    }
    void usageErrors() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        CliSandbox s;
        const CliResult r = s.run(args);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.section(u'\n', 0, 0).contains(message), qPrintable(r.err));
        QVERIFY(r.err.contains(QStringLiteral("firms import FIRMS.csv")));
    }
};

QTEST_MAIN(TestFirmsCommands)
#include "test_firms_commands.moc"
