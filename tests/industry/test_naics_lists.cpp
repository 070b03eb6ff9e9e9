// Industry lists and lookups over the sample data.

#include "industry/NaicsLists.h"
#include "state/modMain.h"
#include "support/TestDatabases.h"

#include <QCollator>
#include <QtTest>

using namespace modMain;

class TestNaicsLists : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabases> dbs;

    void choose(const char* option) { subSetDataTable(QLatin1String(option)); }

private slots:
    void init() {
        dbs = std::make_unique<TestDatabases>();
        dbs->open();
    }
    void cleanup() { dbs.reset(); }

    void codesAscendAndMatchTheDataset() {
        choose("optNovaScotia");
        const QStringList codes = naicslists::codes(gcnData, gstrDataTable);
        QVERIFY(codes.size() > 50);
        QStringList sorted = codes;
        sorted.sort();
        QCOMPARE(codes, sorted);
        const int rows =
            GetRS(gcnData, QStringLiteral("select count(*) from ") + gstrDataTable, QStringLiteral("read"))
                ->field(0)
                .toInt();
        QCOMPARE(codes.size(), rows);
    }

    void titlesSortInTheirLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("French") << 1;
    }
    void titlesSortInTheirLanguage() {
        QFETCH(int, language);
        choose("optVol3");
        const QStringList titles =
            naicslists::titles(gcnData, gstrDataTable, gstrNAICSTable, language::fromFlag(language));
        QCOMPARE(titles.size(), naicslists::codes(gcnData, gstrDataTable).size());
        QCollator collator(language ? QLocale(QLocale::French, QLocale::Canada)
                                    : QLocale(QLocale::English, QLocale::Canada));
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        for (qsizetype i = 1; i < titles.size(); ++i)
            QVERIFY2(collator.compare(titles[i - 1], titles[i]) <= 0, qPrintable(titles[i]));
        if (language) {
            // Accented initials sort with their letter, before "F", not after "Z" as code points would put
            // them.
            auto firstStarting = [&titles](const QString& initial) {
                for (qsizetype i = 0; i < titles.size(); ++i)
                    if (titles[i].startsWith(initial)) return i;
                return qsizetype(-1);
            };
            const qsizetype accented = firstStarting(QStringLiteral("É"));
            const qsizetype firstF = firstStarting(QStringLiteral("F"));
            QVERIFY(accented >= 0 && firstF >= 0);
            QVERIFY(accented < firstF);
        }
    }

    void titleWithAnApostropheIsFound_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("French") << 1;
    }
    void titleWithAnApostropheIsFound() {
        QFETCH(int, language);
        choose("optVol3");
        const QStringList titles =
            naicslists::titles(gcnData, gstrDataTable, gstrNAICSTable, language::fromFlag(language));
        const QStringList quoted = titles.filter(QStringLiteral("'"));
        QVERIFY(!quoted.isEmpty());
        const auto industry = naicslists::byTitle(gcnData, gstrDataTable, gstrNAICSTable, quoted.first(),
                                                  language::fromFlag(language));
        QVERIFY(industry);
        QCOMPARE(industry->title, quoted.first());
        QVERIFY(!industry->sector.isEmpty());
        QVERIFY(!naicslists::byTitle(gcnData, gstrDataTable, gstrNAICSTable, QStringLiteral("x' or '1'='1"),
                                     language::fromFlag(language)));
    }

    void codeLookupInBothLanguages() {
        choose("optVol1");
        const QString code = naicslists::codes(gcnData, gstrDataTable).first();
        const auto en = naicslists::byCode(gcnData, gstrDataTable, gstrNAICSTable, code, Language::E);
        const auto fr = naicslists::byCode(gcnData, gstrDataTable, gstrNAICSTable, code, Language::F);
        QVERIFY(en && fr);
        QCOMPARE(en->naics, code);
        QCOMPARE(fr->naics, code);
        RecordsetPtr rs = GetRS(gcnData,
                                QStringLiteral("select Description, Description_french from "
                                               "ZEBRO_NAICS_Description_Ind_Detailed where NAICS = ?"),
                                QStringLiteral("read"), {code});
        QCOMPARE(en->title, rs->field(0).toString());
        QCOMPARE(fr->title, rs->field(1).toString());
        QVERIFY(en->sector != fr->sector);
        QVERIFY(!naicslists::byCode(gcnData, gstrDataTable, gstrNAICSTable, QStringLiteral("000000"),
                                    Language::E));
    }

    void industryWithoutFolderHasAnEmptySector() {
        choose("optOntario");
        const QString code = naicslists::codes(gcnData, gstrDataTable).first();
        // A copy whose folder row is gone, as the lookup must cope with it.
        dbs.reset();
        dbs = std::make_unique<TestDatabases>();
        dbs->editReference(QStringLiteral("delete from tblTreeview where NodeKey = (select Parent from "
                                          "ZEBRO_NAICS_Description_Ind_Raw where NAICS = ?)"),
                           {code});
        dbs->open();
        choose("optOntario");
        const auto industry = naicslists::byCode(gcnData, gstrDataTable, gstrNAICSTable, code, Language::E);
        QVERIFY(industry);
        QVERIFY(industry->sector.isEmpty());
    }

    void keywordSearch_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("mustContain");
        QTest::newRow("lower case") << 0 << "stores"
                                    << "stores";
        QTest::newRow("upper case finds the same") << 0 << "STORES"
                                                   << "stores";
        QTest::newRow("French accent without case") << 1 << "ÉLEVAGE"
                                                    << "élevage";
        QTest::newRow("apostrophe") << 1 << "d'"
                                    << "d'";
    }
    void keywordSearch() {
        QFETCH(int, language);
        QFETCH(QString, keyword);
        QFETCH(QString, mustContain);
        choose("optVol3");
        const auto found = naicslists::keywordSearch(gcnData, gstrDataTable, gstrNAICSTable, keyword,
                                                     language::fromFlag(language));
        QVERIFY(!found.isEmpty());
        for (const auto& i : found)
            QVERIFY2(i.title.contains(mustContain, Qt::CaseInsensitive), qPrintable(i.title));
        const auto lower = naicslists::keywordSearch(gcnData, gstrDataTable, gstrNAICSTable,
                                                     keyword.toLower(), language::fromFlag(language));
        QCOMPARE(lower.size(), found.size());
    }

    void emptyKeywordListsEveryIndustry() {
        choose("optNovaScotia");
        QCOMPARE(
            naicslists::keywordSearch(gcnData, gstrDataTable, gstrNAICSTable, QString(), Language::E).size(),
            naicslists::codes(gcnData, gstrDataTable).size());
    }

    void keywordResultsAreHeadedByTheQueryColumns_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("headings");
        QTest::newRow("English") << 0 << QStringList{"NAICS", "Description", "Sector"};
        QTest::newRow("French") << 1 << QStringList{"SCIAN", "Description", "Secteur"};
    }
    void keywordResultsAreHeadedByTheQueryColumns() {
        QFETCH(int, language);
        QFETCH(QStringList, headings);
        choose("optNovaScotia");
        RecordsetPtr rs = naicslists::keywordResults(gcnData, gstrDataTable, gstrNAICSTable,
                                                     QStringLiteral("a"), language::fromFlag(language));
        QCOMPARE(rs->fieldNames(), headings);
        QVERIFY(rs->recordCount() > 0);
    }

    void accentsDoNotMatterEitherWay_data() {
        QTest::addColumn<QString>("keyword");
        QTest::newRow("without accents") << "electricite";
        QTest::newRow("with accents") << "électricité";
        QTest::newRow("capitals with accents") << "ÉLECTRICITÉ";
    }
    void accentsDoNotMatterEitherWay() {
        QFETCH(QString, keyword);
        choose("optVol3");
        // The French titles that hold the word, found here without any LIKE.
        int expected = 0;
        for (const QString& t : naicslists::titles(gcnData, gstrDataTable, gstrNAICSTable, Language::F))
            expected += t.contains(QStringLiteral("électricité"), Qt::CaseInsensitive) ? 1 : 0;
        QVERIFY(expected > 0);
        QCOMPARE(
            naicslists::keywordSearch(gcnData, gstrDataTable, gstrNAICSTable, keyword, Language::F).size(),
            expected);
    }

    void keywordIsAValueNeverSql_data() {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<bool>("everyIndustry");
        QTest::newRow("statement") << "'; drop table tblTreeview; --" << false;
        QTest::newRow("quote") << "O'Brien" << false;
        QTest::newRow("bracket class is no class") << "[a-z]" << false;
        QTest::newRow("percent") << "%" << true;
        QTest::newRow("underscore") << "_" << true;
        QTest::newRow("10,000 characters") << QString(10000, u'x') << false;
    }
    void keywordIsAValueNeverSql() {
        QFETCH(QString, keyword);
        QFETCH(bool, everyIndustry);
        choose("optNovaScotia");
        const int all = naicslists::codes(gcnData, gstrDataTable).size();
        const int found =
            naicslists::keywordSearch(gcnData, gstrDataTable, gstrNAICSTable, keyword, Language::E).size();
        QCOMPARE(found, everyIndustry ? all : 0);
        QVERIFY(GetRS(gcnData, QStringLiteral("select count(*) from tblTreeview"), QStringLiteral("read"))
                    ->field(0)
                    .toInt() > 0);
    }

    void codeLineRelabel_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("relabelled");
        QTest::newRow("to French") << "NAICS: 448140" << 1 << "SCIAN: 448140";
        QTest::newRow("to English") << "SCIAN: 448140" << 0 << "NAICS: 448140";
        QTest::newRow("empty stays empty") << "" << 1 << "";
        QTest::newRow("already French") << "SCIAN: 1" << 1 << "SCIAN: 1";
    }
    void codeLineRelabel() {
        QFETCH(QString, caption);
        QFETCH(int, language);
        QFETCH(QString, relabelled);
        QCOMPARE(naicslists::relabelCodeLine(caption, language::fromFlag(language)), relabelled);
    }
};

QTEST_GUILESS_MAIN(TestNaicsLists)
#include "test_naics_lists.moc"
