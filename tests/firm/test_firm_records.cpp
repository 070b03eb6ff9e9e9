// The stored firm records: the name check, save as one replacement, load, the list
// and delete, on a fresh user database.

#include "firm/FirmRecords.h"
#include "platform/Platform.h"

#include "firm/FirmTestDatabase.h"

#include <QtTest>

class TestFirmRecords : public QObject {
    Q_OBJECT
private slots:
    void nameCheck_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("usable");
        const QString english = QStringLiteral("Enter an Enterprise Name Here");
        const QString french = QString::fromUtf8("Entrer un nom d’entreprise ici");
        QTest::newRow("a name") << "O'Neil" << 0 << true;
        QTest::newRow("empty") << "" << 0 << false;
        QTest::newRow("blanks only") << "   " << 0 << false;
        QTest::newRow("blanks only, French") << "  " << 1 << false;
        QTest::newRow("English prompt in English") << english << 0 << false;
        QTest::newRow("French prompt in French") << french << 1 << false;
        QTest::newRow("French prompt in English") << french << 0 << true;
        QTest::newRow("English prompt in French") << english << 1 << true;
        // Only the untrimmed text is compared with the prompt.
        QTest::newRow("prompt with a leading blank") << (QStringLiteral(" ") + english) << 0 << true;
        QTest::newRow("blanks around a name") << "  Acme  " << 0 << true;
    }
    void nameCheck() {
        QFETCH(QString, name);
        QFETCH(int, language);
        QFETCH(bool, usable);
        QCOMPARE(firmrecords::isUsableName(name, language::fromFlag(language)), usable);
    }

    void referenceYears() {
        QCOMPARE(firmrecords::referenceYears(), (QStringList{"2009", "2010", "2011"}));
        QCOMPARE(firmrecords::preselectedYear(), QStringLiteral("2011"));
    }

    void quotedNameStoredIntactAndFound() {
        FirmTestDatabase db;
        const FirmStatement firm =
            firmWith(QStringLiteral("O'Neil"), QStringLiteral("2010"),
                     {{"Cash", "1500"}, {"Toa", "1500"}, {"Ta", "1500"}, {"Sales", "-25.5"}});
        QVERIFY(!firmrecords::exists(db.cn, firm.firmName, firm.year));
        firmrecords::store(db.cn, firm);
        QCOMPARE(db.rowCount(), 1);
        QCOMPARE(db.stored(QStringLiteral("O'Neil"), 2010, QStringLiteral("FirmName")).toString(),
                 QStringLiteral("O'Neil"));
        QCOMPARE(db.stored(QStringLiteral("O'Neil"), 2010, QStringLiteral("NAICS")).toString(),
                 QStringLiteral("448140"));
        QCOMPARE(db.stored(QStringLiteral("O'Neil"), 2010, QStringLiteral("Sales")).toDouble(), -25.5);
        QVERIFY(firmrecords::exists(db.cn, QStringLiteral("O'Neil"), QStringLiteral("2010")));
        QVERIFY(!firmrecords::exists(db.cn, QStringLiteral("O'Neil"), QStringLiteral("2011")));
        QVERIFY(!firmrecords::exists(db.cn, QStringLiteral("O''Neil"), QStringLiteral("2010")));

        const auto loaded = firmrecords::load(db.cn, QStringLiteral("O'Neil"), QStringLiteral("2010"));
        QVERIFY(loaded.has_value());
        QCOMPARE(loaded->firmName, QStringLiteral("O'Neil"));
        QCOMPARE(loaded->year, QStringLiteral("2010"));
        QCOMPARE(loaded->value("Cash"), QStringLiteral("1500"));
        QCOMPARE(loaded->value("Sales"), QStringLiteral("-25.5"));
        QCOMPARE(loaded->value("Mtg"), QStringLiteral("0"));

        const QList<firmrecords::StoredKey> keys = firmrecords::list(db.cn);
        QCOMPARE(keys.size(), 1);
        QCOMPARE(keys[0].firmName, QStringLiteral("O'Neil"));
        QCOMPARE(keys[0].year, QStringLiteral("2010"));
    }

    void loadedTexts_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("fraction of four decimals") << "Cash"
                                                   << "1234567.8912"
                                                   << "1234567.8912";
        // Its nearest double lies beyond the range; fifteen digits would read back beyond it.
        QTest::newRow("the largest amount, as itself") << "Inv"
                                                       << "922337203685477.5807"
                                                       << "922337203685477.5807";
        QTest::newRow("sixteen significant digits") << "Ar"
                                                    << "123456789012.3456"
                                                    << "123456789012.3456";
        QTest::newRow("negative") << "RetEarn"
                                  << "-80"
                                  << "-80";
        QTest::newRow("subtotal in exponent form") << "Ta"
                                                   << "1.677722E+07"
                                                   << "16777220";
        QTest::newRow("subtotal that no longer matches its parts") << "Toa"
                                                                   << "999"
                                                                   << "999";
    }
    void loadedTexts() {
        QFETCH(QString, column);
        QFETCH(QString, saved);
        QFETCH(QString, loaded);
        FirmTestDatabase db;
        FirmStatement firm = firmWith(QStringLiteral("Acme"), QStringLiteral("2011"), {{"Cash", "1"}});
        firm.value(column.toLatin1().constData()) = saved;
        firmrecords::store(db.cn, firm);
        const auto back = firmrecords::load(db.cn, QStringLiteral("Acme"), QStringLiteral("2011"));
        QVERIFY(back.has_value());
        QCOMPARE(back->value(column.toLatin1().constData()), loaded);
    }

    void loadOfUnknownRecord() {
        FirmTestDatabase db;
        firmrecords::store(db.cn, firmWith(QStringLiteral("Acme"), QStringLiteral("2011")));
        QVERIFY(!firmrecords::load(db.cn, QStringLiteral("Acme"), QStringLiteral("2010")).has_value());
        QVERIFY(!firmrecords::load(db.cn, QStringLiteral("acme"), QStringLiteral("2011")).has_value());
        QVERIFY(!firmrecords::load(db.cn, QStringLiteral("Acme"), QStringLiteral("not a year")).has_value());
    }

    void saveReplacesTheStoredRow() {
        FirmTestDatabase db;
        firmrecords::store(db.cn, firmWith(QStringLiteral("Acme"), QStringLiteral("2010"), {{"Cash", "1"}}));
        firmrecords::store(db.cn, firmWith(QStringLiteral("Acme"), QStringLiteral("2011"), {{"Cash", "5"}}));
        firmrecords::store(db.cn, firmWith(QStringLiteral("Acme"), QStringLiteral("2010"), {{"Cash", "2"}}));
        QCOMPARE(db.rowCount(), 2);
        QCOMPARE(db.stored(QStringLiteral("Acme"), 2010, QStringLiteral("Cash")).toDouble(), 2.0);
        QCOMPARE(db.stored(QStringLiteral("Acme"), 2011, QStringLiteral("Cash")).toDouble(), 5.0);
    }

    void failedInsertKeepsTheStoredRow_data() {
        QTest::addColumn<QString>("sabotage");
        QTest::newRow("a trigger refuses the insert")
            << "create trigger refuse before insert on MyValues begin select raise(abort, 'refused'); end";
        QTest::newRow("a column is missing") << "alter table MyValues drop column CurrentLiabilities";
    }
    void failedInsertKeepsTheStoredRow() {
        QFETCH(QString, sabotage);
        FirmTestDatabase db;
        firmrecords::store(db.cn,
                           firmWith(QStringLiteral("O'Neil"), QStringLiteral("2010"), {{"Cash", "111"}}));
        ExecCmdInDB(db.cn, sabotage);
        QVERIFY_THROWS_EXCEPTION(
            FatalError, firmrecords::store(db.cn, firmWith(QStringLiteral("O'Neil"), QStringLiteral("2010"),
                                                           {{"Cash", "222"}})));
        QCOMPARE(db.rowCount(), 1);
        QCOMPARE(db.stored(QStringLiteral("O'Neil"), 2010, QStringLiteral("Cash")).toDouble(), 111.0);
        // The connection is usable afterwards: no transaction was left open.
        ExecCmdInDB(db.cn, QStringLiteral("update MyValues set Cash = 112"));
        QCOMPARE(db.stored(QStringLiteral("O'Neil"), 2010, QStringLiteral("Cash")).toDouble(), 112.0);
    }

    void valueThatIsNoNumberIsNotStored() {
        FirmTestDatabase db;
        firmrecords::store(db.cn, firmWith(QStringLiteral("Acme"), QStringLiteral("2010"), {{"Cash", "7"}}));
        QVERIFY_THROWS_EXCEPTION(
            FatalError, firmrecords::store(db.cn, firmWith(QStringLiteral("Acme"), QStringLiteral("2010"),
                                                           {{"Cash", "abc"}})));
        QCOMPARE(db.stored(QStringLiteral("Acme"), 2010, QStringLiteral("Cash")).toDouble(), 7.0);
    }

    void listByNameThenYear() {
        FirmTestDatabase db;
        for (const auto& [name, year] : {std::pair{"B", "2011"}, {"A", "2011"}, {"B", "2009"}, {"A", "2009"}})
            firmrecords::store(db.cn, firmWith(QString::fromLatin1(name), QString::fromLatin1(year)));
        QStringList shown;
        for (const firmrecords::StoredKey& k : firmrecords::list(db.cn))
            shown << k.firmName + u' ' + k.year;
        QCOMPARE(shown, (QStringList{"A 2009", "A 2011", "B 2009", "B 2011"}));
    }

    // --- Many firms at once ---

    void storeAllWritesEveryFirmOrNone_data() {
        QTest::addColumn<bool>("replace");
        QTest::addColumn<int>("refusedIndex");  // -1: all stored
        QTest::addColumn<double>("storedCash"); // Acme 2010 afterwards
        QTest::addColumn<int>("rows");
        // Acme 2010 is stored already with Cash 1; the list brings Zed 2011 and Acme 2010 (Cash 9).
        QTest::newRow("existing firm refused") << false << 1 << 1.0 << 1;
        QTest::newRow("existing firm replaced") << true << -1 << 9.0 << 2;
    }
    void storeAllWritesEveryFirmOrNone() {
        QFETCH(bool, replace);
        QFETCH(int, refusedIndex);
        QFETCH(double, storedCash);
        QFETCH(int, rows);
        FirmTestDatabase db;
        firmrecords::store(db.cn, firmWith(QStringLiteral("Acme"), QStringLiteral("2010"), {{"Cash", "1"}}));
        const QList<FirmStatement> firms{
            firmWith(QStringLiteral("Zed"), QStringLiteral("2011"), {{"Cash", "3"}}),
            firmWith(QStringLiteral("Acme"), QStringLiteral("2010"), {{"Cash", "9"}})};
        const auto refused = firmrecords::storeAll(
            db.cn, firms, replace ? firmrecords::Existing::Replace : firmrecords::Existing::Refuse);
        QCOMPARE(refused.has_value(), refusedIndex >= 0);
        if (refused) QCOMPARE(int(*refused), refusedIndex);
        QCOMPARE(db.rowCount(), rows);
        QCOMPARE(db.stored(QStringLiteral("Acme"), 2010, QStringLiteral("Cash")).toDouble(), storedCash);
        // Zed, written before Acme was found, is gone again when the list is refused.
        QCOMPARE(db.stored(QStringLiteral("Zed"), 2011, QStringLiteral("Cash")).isValid(), refusedIndex < 0);
    }

    void storeAllFailureLateInTheListWritesNothing() {
        FirmTestDatabase db;
        QList<FirmStatement> firms;
        for (int i = 0; i < 5; ++i)
            firms << firmWith(QStringLiteral("Firm %1").arg(i), QStringLiteral("2011"), {{"Cash", "1"}});
        firms.last().value("Cash") = QStringLiteral("abc"); // no number: the insert cannot be made
        QVERIFY_THROWS_EXCEPTION(FatalError,
                                 firmrecords::storeAll(db.cn, firms, firmrecords::Existing::Replace));
        QCOMPARE(db.rowCount(), 0);
        // A year that is no number is refused before anything is written.
        firms.last().value("Cash") = QStringLiteral("1");
        firms[2].year = QStringLiteral("next");
        QVERIFY_THROWS_EXCEPTION(FatalError,
                                 firmrecords::storeAll(db.cn, firms, firmrecords::Existing::Replace));
        QCOMPARE(db.rowCount(), 0);
    }

    // The list's order: the name with the letters A to Z folded (other characters by
    // their code), then the name as stored, then the year.
    void listOrder() {
        FirmTestDatabase db;
        const QList<std::pair<QString, QString>> stored{{QStringLiteral("zed"), QStringLiteral("2011")},
                                                        {QStringLiteral("beta"), QStringLiteral("2010")},
                                                        {QStringLiteral("Beta"), QStringLiteral("2011")},
                                                        {QStringLiteral("Éclair"), QStringLiteral("2011")},
                                                        {QStringLiteral("alpha"), QStringLiteral("2011")},
                                                        {QStringLiteral("Beta"), QStringLiteral("2009")},
                                                        {QStringLiteral("[x"), QStringLiteral("2011")}};
        for (const auto& [name, year] : stored)
            firmrecords::store(db.cn, firmWith(name, year, {}));
        QStringList listed;
        for (const firmrecords::StoredKey& k : firmrecords::list(db.cn))
            listed << k.firmName + u'/' + k.year;
        QCOMPARE(listed, QStringList({QStringLiteral("[x/2011"), QStringLiteral("alpha/2011"),
                                      QStringLiteral("Beta/2009"), QStringLiteral("Beta/2011"),
                                      QStringLiteral("beta/2010"), QStringLiteral("zed/2011"),
                                      QStringLiteral("Éclair/2011")}));
    }

    void loadAllAndListInTheSameOrder() {
        FirmTestDatabase db;
        FirmStatement b = firmWith(QStringLiteral("b"), QStringLiteral("2009"), {{"Cash", "2.5"}});
        b.naics = QStringLiteral("722110");
        firmrecords::store(db.cn, b);
        firmrecords::store(db.cn, firmWith(QStringLiteral("A"), QStringLiteral("2011"), {{"Inv", "-4"}}));
        const QList<FirmStatement> all = firmrecords::loadAll(db.cn);
        const QList<firmrecords::StoredKey> keys = firmrecords::list(db.cn);
        QCOMPARE(all.size(), 2);
        QCOMPARE(keys.size(), 2);
        QCOMPARE(all[0].firmName, QStringLiteral("A"));
        QCOMPARE(all[0].value("Inv"), QStringLiteral("-4"));
        QCOMPARE(all[1].firmName, QStringLiteral("b"));
        QCOMPARE(all[1].year, QStringLiteral("2009"));
        QCOMPARE(all[1].value("Cash"), QStringLiteral("2.5"));
        QCOMPARE(keys[1].naics, QStringLiteral("722110"));
        QCOMPARE(keys[0].naics, QStringLiteral("448140"));
        // Each firm of the whole list is the one load gives.
        for (const FirmStatement& f : all) {
            const auto one = firmrecords::load(db.cn, f.firmName, f.year);
            QVERIFY(one.has_value());
            QCOMPARE(one->values, f.values);
            QCOMPARE(one->naics, f.naics);
        }
    }

    void listIgnoresLetterCase() {
        FirmTestDatabase db;
        for (const char* name : {"beta", "Alpha", "Gamma"})
            firmrecords::store(db.cn, firmWith(QString::fromLatin1(name), QStringLiteral("2011")));
        QStringList shown;
        for (const firmrecords::StoredKey& k : firmrecords::list(db.cn))
            shown << k.firmName;
        QCOMPARE(shown, (QStringList{"Alpha", "beta", "Gamma"}));
    }

    void listHeadings_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("headings");
        QTest::newRow("English") << 0 << QStringList{"Firmname", "year"};
        QTest::newRow("French") << 1 << QStringList{"Nom", QString::fromUtf8("Année")};
    }
    void listHeadings() {
        QFETCH(int, language);
        QFETCH(QStringList, headings);
        FirmTestDatabase db;
        firmrecords::store(db.cn, firmWith(QStringLiteral("A"), QStringLiteral("2009")));
        RecordsetPtr rs = firmrecords::listRecordset(db.cn, language::fromFlag(language));
        QCOMPARE(rs->fieldNames(), headings);
        QCOMPARE(rs->recordCount(), 1);
        QCOMPARE(rs->field(0).toString(), QStringLiteral("A"));
        QCOMPARE(rs->field(1).toString(), QStringLiteral("2009"));
    }

    void emptyList() {
        FirmTestDatabase db;
        QVERIFY(firmrecords::list(db.cn).isEmpty());
        QCOMPARE(firmrecords::listRecordset(db.cn, Language::F)->recordCount(), 0);
    }

    void deleteStoredAndUnknown() {
        FirmTestDatabase db;
        firmrecords::store(db.cn, firmWith(QStringLiteral("O'Neil"), QStringLiteral("2010")));
        firmrecords::store(db.cn, firmWith(QStringLiteral("O'Neil"), QStringLiteral("2011")));
        QVERIFY(firmrecords::remove(db.cn, QStringLiteral("O'Neil"), QStringLiteral("2010")));
        QVERIFY(!firmrecords::exists(db.cn, QStringLiteral("O'Neil"), QStringLiteral("2010")));
        QCOMPARE(db.rowCount(), 1);
        QVERIFY(!firmrecords::remove(db.cn, QStringLiteral("Nobody"), QStringLiteral("2010")));
        QVERIFY(!firmrecords::remove(db.cn, QStringLiteral("O'Neil"), QStringLiteral("2010")));
        QCOMPARE(db.rowCount(), 1);
        QVERIFY(firmrecords::exists(db.cn, QStringLiteral("O'Neil"), QStringLiteral("2011")));
    }
};

QTEST_GUILESS_MAIN(TestFirmRecords)
#include "test_firm_records.moc"
