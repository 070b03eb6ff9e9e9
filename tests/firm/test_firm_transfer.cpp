// One firm to and from a firm file for the firm values screen: what a good file puts in
// the boxes, what a file at fault is refused with, and export files that read back.

#include "firm/FirmFile.h"
#include "firm/FirmTransfer.h"
#include "support/FullDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <unistd.h>

namespace {

const QString kChosenNaics = QStringLiteral("448140");

FirmStatement screenFirm() {
    FirmStatement f;
    f.firmName = QStringLiteral("On the screen");
    f.year = QStringLiteral("2011");
    f.naics = kChosenNaics;
    f.values.fill(QStringLiteral("0"));
    return f;
}

QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& content) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QString();
    f.write(content);
    return path;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestFirmTransfer : public QObject {
    Q_OBJECT

private slots:
    // A good file: its name, year and values, in normal form, the subtotals computed from
    // them, the empty items 0; whatever the file says of them, the subtotals are the sums.
    void goodFilesFillTheFirm_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("JSON") << "acme.json"
                              << QByteArray(
                                     "{\"FirmName\": \"Acme d'Été\", \"Year\": 2010, \"NAICS\": \"448140\", "
                                     "\"Cash\": 1500.25, \"Ar\": \"2000\", \"Inv\": 499.99999, "
                                     "\"Invest\": 1000, \"Toa\": 1}");
        QTest::newRow("CSV") << "acme.csv"
                             << QByteArray("FirmName,Year,NAICS,Cash,Ar,Inv,Invest,Toa\r\n"
                                           "Acme d'Été,2010,448140,1500.25,2000,499.99999,1000,1\r\n");
        QTest::newRow("CSV with semicolons and a byte-order mark")
            << "acme.csv"
            << QByteArray("\xef\xbb\xbf"
                          "FirmName;Year;NAICS;Cash;Ar;Inv;Invest;Toa\n"
                          "Acme d'Été;2010;448140;1500.25;2000;499.99999;1000;1\n");
        QTest::newRow("a CSV list: its first row")
            << "list.csv"
            << QByteArray("FirmName,Year,Cash,Ar,Inv,Invest\n"
                          "Acme d'Été,2010,1500.25,2000,499.99999,1000\n"
                          "Other,2009,1,1,1,1\n");
    }
    void goodFilesFillTheFirm() {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = write(dir, fileName, content);

        const firmtransfer::Imported r = firmtransfer::importFirm(path, screenFirm(), Language::E);
        QVERIFY2(r.firm.has_value(), qPrintable(r.problem));
        QVERIFY(r.problem.isEmpty());
        QVERIFY(r.note.isEmpty());
        const FirmStatement& f = *r.firm;
        QCOMPARE(f.firmName, QString::fromUtf8("Acme d'Été"));
        QCOMPARE(f.year, QStringLiteral("2010"));
        QCOMPARE(f.naics, kChosenNaics);
        QCOMPARE(f.value("Cash"), QStringLiteral("1500.25"));
        QCOMPARE(f.value("Inv"), QStringLiteral("500")); // four decimals kept, rounded
        // 1500.25 + 2000 + 500, then the investments on top.
        QCOMPARE(f.value("Toa"), QStringLiteral("4000.25"));
        QCOMPARE(f.value("Ta"), QStringLiteral("5000.25"));
        QCOMPARE(f.value("Mtg"), QStringLiteral("0"));
        QCOMPARE(f.value("TotLiabShareEq"), QStringLiteral("0"));
    }

    // What the file leaves out is the screen's; another industry is noted, not taken.
    void screenKeepsWhatTheFileLeavesOut() {
        QTemporaryDir dir;
        const QString path = write(dir, "f.json", "{\"Cash\": 5, \"NAICS\": \"111110\"}");
        const firmtransfer::Imported r = firmtransfer::importFirm(path, screenFirm(), Language::F);
        QVERIFY(r.firm.has_value());
        QCOMPARE(r.firm->firmName, QStringLiteral("On the screen"));
        QCOMPARE(r.firm->year, QStringLiteral("2011"));
        QCOMPARE(r.firm->naics, kChosenNaics);
        QVERIFY2(r.note.contains(QLatin1String("111110")) && r.note.contains(kChosenNaics),
                 qPrintable(r.note));
        QVERIFY2(r.note.contains(QStringLiteral("industrie")), qPrintable(r.note)); // in French
    }

    // A file at fault is refused with words that name the file and what is wrong.
    void faultyFilesAreRefused_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("named");
        QTest::newRow("thousands separator") << "f.csv" << QByteArray("Cash\n\"1,500\"\n") << 0 << "Cash";
        QTest::newRow("broken JSON") << "f.json" << QByteArray("{\"Cash\": 1") << 0 << "JSON";
        QTest::newRow("a JSON array") << "f.json" << QByteArray("[{\"Cash\": 1}]") << 0 << "JSON array";
        QTest::newRow("unknown key") << "f.json" << QByteArray("{\"Cashh\": 1}") << 0 << "Cashh";
        QTest::newRow("boolean") << "f.json" << QByteArray("{\"Sales\": true}") << 1 << "Sales";
        QTest::newRow("header only") << "f.csv" << QByteArray("FirmName,Cash\n") << 0 << "header row";
        QTest::newRow("stray quote") << "f.csv" << QByteArray("Cash\n\"12\"3\n") << 0 << "line";
        QTest::newRow("too many fields") << "f.csv" << QByteArray("Cash\n1,2\n") << 0 << "fields";
        QTest::newRow("beyond the boxes") << "f.json" << QByteArray("{\"Mtg\": 1e300}") << 0 << "Mtg";
        QTest::newRow("beyond the boxes, as text")
            << "f.csv" << QByteArray("Bonds\n123456789012345678901234567890\n") << 1 << "Bonds";
        QTest::newRow("a year outside the three")
            << "f.json" << QByteArray("{\"Year\": 2012}") << 0 << "2012";
        QTest::newRow("a year with a fraction") << "f.csv" << QByteArray("Year\n2010.5\n") << 0 << "2010.5";
    }
    void faultyFilesAreRefused() {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(int, language);
        QFETCH(QString, named);
        QTemporaryDir dir;
        const QString path = write(dir, fileName, content);
        const firmtransfer::Imported r =
            firmtransfer::importFirm(path, screenFirm(), language::fromFlag(language));
        QVERIFY(!r.firm.has_value());
        QVERIFY2(r.problem.contains(path), qPrintable(r.problem));
        QVERIFY2(r.problem.contains(named), qPrintable(r.problem));
        const bool french = r.problem.contains(QStringLiteral("fichier"));
        QCOMPARE(french, language == 1);
    }

    void missingFileIsRefused() {
        QTemporaryDir dir;
        const QString path = dir.filePath("none.json");
        const firmtransfer::Imported r = firmtransfer::importFirm(path, screenFirm(), Language::E);
        QVERIFY(!r.firm.has_value());
        QVERIFY2(r.problem.contains(path), qPrintable(r.problem));
    }

    // An export is read back as the same firm, whichever format its name asks for.
    void exportReadsBack_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("starts");
        QTest::newRow("JSON") << "acme.json" << QByteArray("{");
        QTest::newRow("CSV") << "acme.CSV" << QByteArray("FirmName,Year,NAICS,");
        QTest::newRow("another ending is JSON") << "acme.txt" << QByteArray("{");
    }
    void exportReadsBack() {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, starts);
        QTemporaryDir dir;
        FirmStatement firm = screenFirm();
        firm.firmName = QString::fromUtf8("Chez \"Zoé\", Ltée");
        firm.value("Cash") = QStringLiteral("1234.5");
        firm.value("Ar") = QStringLiteral("-20");
        firm.value("AccountsPayable") = QStringLiteral("99.125");
        const QString path = dir.filePath(fileName);
        QCOMPARE(firmtransfer::exportFirm(path, firm, Language::E), QString());
        QVERIFY(readAll(path).startsWith(starts));

        const firmtransfer::Imported back = firmtransfer::importFirm(path, screenFirm(), Language::E);
        QVERIFY2(back.firm.has_value(), qPrintable(back.problem));
        QCOMPARE(back.firm->firmName, firm.firmName);
        QCOMPARE(back.firm->year, QStringLiteral("2011"));
        QCOMPARE(back.firm->value("Cash"), QStringLiteral("1234.5"));
        QCOMPARE(back.firm->value("Ar"), QStringLiteral("-20"));
        QCOMPARE(back.firm->value("AccountsPayable"), QStringLiteral("99.125"));
        QCOMPARE(back.firm->value("Toa"), QStringLiteral("1214.5"));
        QCOMPARE(back.firm->value("Tliab"), QStringLiteral("99.125"));
    }

    // A file that cannot be written is named; an existing file there is left whole.
    void exportThatCannotBeWrittenLeavesTheOldFile() {
        QTemporaryDir dir;
        const QString inMissingFolder = dir.filePath("no/such/folder/acme.json");
        const QString problem = firmtransfer::exportFirm(inMissingFolder, screenFirm(), Language::E);
        QVERIFY2(problem.contains(inMissingFolder), qPrintable(problem));
        QVERIFY(!QFileInfo::exists(inMissingFolder));

        if (geteuid() == 0) {
            // Root writes into a read-only folder: a full disk refuses it instead.
            const FullDisk disk;
            if (!disk.usable()) QSKIP(qPrintable(disk.reason()));
            const QString old = disk.file(QStringLiteral("old.json"));
            {
                QFile f(old);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("{\"Cash\": 7}");
            }
            disk.fill();
            const QString full = firmtransfer::exportFirm(old, screenFirm(), Language::F);
            QVERIFY2(full.contains(old) && full.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
                     qPrintable(full));
            QCOMPARE(readAll(old), QByteArray("{\"Cash\": 7}"));
            QCOMPARE(disk.names(), QStringList{QStringLiteral("old.json")});
            return;
        }
        const QString path = write(dir, "old.json", "{\"Cash\": 7}");
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const QString refused = firmtransfer::exportFirm(path, screenFirm(), Language::F);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(refused.contains(path), qPrintable(refused));
        QCOMPARE(readAll(path), QByteArray("{\"Cash\": 7}"));
    }

    // A value no box holds is not written.
    void exportRefusesValuesBeyondTheBoxes() {
        QTemporaryDir dir;
        FirmStatement firm = screenFirm();
        firm.value("Bonds") = QStringLiteral("1e30");
        const QString path = dir.filePath("acme.json");
        const QString problem = firmtransfer::exportFirm(path, firm, Language::E);
        QVERIFY2(problem.contains(QLatin1String("Bonds")), qPrintable(problem));
        QVERIFY(!QFileInfo::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestFirmTransfer)
#include "test_firm_transfer.moc"
