// The industry tree's node list over the sample data and over copies with faults: the
// folder rules, the order inside a folder, the texts of each language, and nodes whose
// parent is missing or whose key repeats.

#include "industry/IndustryTree.h"
#include "state/modMain.h"
#include "support/TestDatabases.h"

#include <QHash>
#include <QSet>
#include <QtTest>

using namespace modMain;
using industrytree::Tree;

namespace {

QStringList childKeys(const Tree& tree, int parent) {
    QStringList keys;
    for (const industrytree::Node& n : tree.nodes)
        if (n.parent == parent) keys << n.key;
    return keys;
}

} // namespace

class TestIndustryTree : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabases> dbs;

    Tree buildFor(const char* option, int language = 0) {
        subSetDataTable(QLatin1String(option));
        return industrytree::build(gcnData, gstrNAICSTable, gstrDataTable, language::fromFlag(language));
    }

    // The reference rows themselves, read here without the tree's code.
    QHash<QString, QVariantList> industryRows() {
        QHash<QString, QVariantList> rows;
        RecordsetPtr rs =
            GetRS(gcnData,
                  QStringLiteral(
                      "select N.NodeKey, N.Parent, N.sequence, N.Description, N.Description_french from ") +
                      gstrNAICSTable + QStringLiteral(" N join ") + gstrDataTable +
                      QStringLiteral(" F on N.NAICS = F.NAICS"),
                  QStringLiteral("read"));
        for (; !rs->eof(); rs->moveNext())
            rows.insert(rs->field(0).toString().trimmed(),
                        {rs->field(1).toString().trimmed(), rs->field(2), rs->field(3), rs->field(4)});
        return rows;
    }

    QHash<QString, int> folderSequences() {
        QHash<QString, int> seq;
        RecordsetPtr rs = GetRS(gcnData, QStringLiteral("select NodeKey, sequence from tblTreeview"),
                                QStringLiteral("read"));
        for (; !rs->eof(); rs->moveNext())
            seq.insert(rs->field(0).toString().trimmed(), rs->field(1).toInt());
        return seq;
    }

    QString folderTitle(const QString& key, const char* column) {
        RecordsetPtr rs =
            GetRS(gcnData,
                  QStringLiteral("select %1 from tblTreeview where NodeKey = ?").arg(QLatin1String(column)),
                  QStringLiteral("read"), {key});
        return rs->field(0).toString();
    }

    // The first code of a dataset, read from the sample data, and a fresh copy to edit.
    QString codeOnAFreshCopy(const char* option) {
        dbs->open();
        subSetDataTable(QLatin1String(option));
        const QString code =
            GetRS(gcnData, QStringLiteral("select min(NAICS) from ") + gstrDataTable, QStringLiteral("read"))
                ->field(0)
                .toString();
        dbs.reset();
        dbs = std::make_unique<TestDatabases>();
        return code;
    }

private slots:
    void init() { dbs = std::make_unique<TestDatabases>(); }
    void cleanup() { dbs.reset(); }

    void twoFoldersAtTheTop() {
        dbs->open();
        const Tree tree = buildFor("optNovaScotia");
        QCOMPARE(childKeys(tree, -1),
                 (QStringList{QStringLiteral("IndTOTALL"), QStringLiteral("IndMANAGE")}));
        QVERIFY(tree.faults.isEmpty());
    }

    void financeFolderOnlyForVolume1_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("shown");
        QTest::newRow("volume 1, detailed table") << "optVol1" << true;
        QTest::newRow("volume 2") << "optVol2" << false;
        QTest::newRow("volume 3") << "optVol3" << false;
        QTest::newRow("a province") << "optQuebec" << false;
    }
    void financeFolderOnlyForVolume1() {
        QFETCH(QString, option);
        QFETCH(bool, shown);
        dbs->open();
        const Tree tree = buildFor(qPrintable(option));
        const int finance = tree.indexOf(QStringLiteral("IndTFINANC"));
        QCOMPARE(finance >= 0, shown);
        if (shown) {
            QCOMPARE(tree.nodes[finance].parent, tree.indexOf(QStringLiteral("IndTOTALL")));
            QVERIFY(!childKeys(tree, finance).isEmpty());
        }
        QVERIFY(tree.faults.isEmpty());
    }

    void everyIndustryOfTheDatasetOnceUnderItsFolder_data() {
        QTest::addColumn<QString>("option");
        QTest::newRow("volume 1") << "optVol1";
        QTest::newRow("Nova Scotia") << "optNovaScotia";
        QTest::newRow("Yukon") << "optYukon";
    }
    void everyIndustryOfTheDatasetOnceUnderItsFolder() {
        QFETCH(QString, option);
        dbs->open();
        const Tree tree = buildFor(qPrintable(option));
        const QHash<QString, QVariantList> rows = industryRows();
        QSet<QString> seen;
        for (const industrytree::Node& n : tree.nodes) {
            if (!n.industry) continue;
            QVERIFY2(rows.contains(n.key), qPrintable(n.key));
            QVERIFY2(!seen.contains(n.key), qPrintable(n.key));
            seen.insert(n.key);
            QVERIFY(n.parent >= 0);
            QCOMPARE(tree.nodes[n.parent].key, rows.value(n.key).at(0).toString());
            QVERIFY(!tree.nodes[n.parent].industry);
            QCOMPARE(n.picture(), industrytree::Picture::Industry);
        }
        QCOMPARE(seen.size(), rows.size());
    }

    void subFoldersFirstThenIndustriesEachInSequence() {
        dbs->open();
        const Tree tree = buildFor("optVol1");
        const QHash<QString, QVariantList> rows = industryRows();
        const QHash<QString, int> folders = folderSequences();
        for (int parent = -1; parent < static_cast<int>(tree.nodes.size()); ++parent) {
            if (parent >= 0 && tree.nodes[parent].industry) continue;
            bool industriesBegun = false;
            int lastFolder = -1, lastIndustry = -1;
            for (const QString& key : childKeys(tree, parent)) {
                const industrytree::Node& child = tree.nodes[tree.indexOf(key)];
                if (child.industry) {
                    industriesBegun = true;
                    const int seq = rows.value(key).at(1).toInt();
                    QVERIFY2(seq >= lastIndustry, qPrintable(key));
                    lastIndustry = seq;
                } else {
                    QVERIFY2(!industriesBegun, qPrintable(key + QStringLiteral(" after an industry")));
                    QVERIFY2(folders.value(key) > lastFolder, qPrintable(key));
                    lastFolder = folders.value(key);
                }
            }
        }
    }

    void textsInTheLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("French") << 1;
    }
    void textsInTheLanguage() {
        QFETCH(int, language);
        dbs->open();
        const Tree tree = buildFor("optVol3", language);
        const char* column = language ? "IndDescF" : "IndDescE";
        QCOMPARE(tree.nodes[tree.indexOf(QStringLiteral("IndTOTALL"))].text,
                 folderTitle(QStringLiteral("IndTOTALL"), column).trimmed());
        QCOMPARE(tree.nodes[tree.indexOf(QStringLiteral("IndTRETAIL"))].text,
                 folderTitle(QStringLiteral("IndTRETAIL"), column));
        const QHash<QString, QVariantList> rows = industryRows();
        int checked = 0;
        for (const industrytree::Node& n : tree.nodes) {
            if (!n.industry) continue;
            QCOMPARE(n.text, rows.value(n.key).at(language ? 3 : 2).toString());
            ++checked;
        }
        QVERIFY(checked > 100);
    }

    void topTitlesAndAllKeysAreTrimmed() {
        dbs->editReference(QStringLiteral(
            "update tblTreeview set IndDescE = '  All industries  ' where NodeKey = 'IndTOTALL'"));
        dbs->editReference(QStringLiteral("update tblTreeview set IndDescE = ' Utilities ', NodeKey = ' "
                                          "IndTUTIL ' where NodeKey = 'IndTUTIL'"));
        dbs->open();
        const Tree tree = buildFor("optVol3");
        QCOMPARE(tree.nodes[tree.indexOf(QStringLiteral("IndTOTALL"))].text,
                 QStringLiteral("All industries"));
        const int utilities = tree.indexOf(QStringLiteral("IndTUTIL"));
        QVERIFY(utilities >= 0);
        QCOMPARE(tree.nodes[utilities].text, QStringLiteral(" Utilities "));
        QVERIFY(!childKeys(tree, utilities).isEmpty()); // its industries found it by the trimmed key
        QVERIFY(tree.faults.isEmpty());
    }

    void topFoldersAreKnownWithoutRegardToCase() {
        dbs->editReference(
            QStringLiteral("update tblTreeview set NodeKey = 'indmanage' where NodeKey = 'IndMANAGE'"));
        dbs->editReference(QStringLiteral(
            "update ZEBRO_NAICS_Description_Ind_Raw set Parent = 'indmanage' where Parent = 'IndMANAGE'"));
        dbs->open();
        const Tree tree = buildFor("optVol3");
        QCOMPARE(childKeys(tree, -1),
                 (QStringList{QStringLiteral("IndTOTALL"), QStringLiteral("indmanage")}));
    }

    void nodeWithoutParentStandsUnderAllIndustries() {
        const QString code = codeOnAFreshCopy("optNovaScotia");
        dbs->editReference(
            QStringLiteral(
                "update ZEBRO_NAICS_Description_Ind_Raw set Parent = 'IndNOWHERE' where NAICS = ?"),
            {code});
        dbs->editReference(QStringLiteral(
            "insert into tblTreeview values ('IndTORPHAN', 'IndGONE', 'Orphans', 'Orphelins', 5)"));
        dbs->open();
        const Tree tree = buildFor("optNovaScotia");
        const int all = tree.indexOf(QStringLiteral("IndTOTALL"));
        QCOMPARE(tree.nodes[tree.indexOf(QStringLiteral("Ind") + code)].parent, all);
        QCOMPARE(tree.nodes[tree.indexOf(QStringLiteral("IndTORPHAN"))].parent, all);
        QCOMPARE(tree.faults.size(), 2);
    }

    void repeatedKeyIsLeftOut() {
        const QString code = codeOnAFreshCopy("optNovaScotia");
        // A second folder whose key differs only by blanks, and an industry carrying a folder's key.
        dbs->editReference(
            QStringLiteral("insert into tblTreeview values (' IndTUTIL', 'IndTOTALL', 'Copy', 'Copie', 62)"));
        dbs->editReference(
            QStringLiteral(
                "update ZEBRO_NAICS_Description_Ind_Raw set NodeKey = 'IndTCONSTR' where NAICS = ?"),
            {code});
        dbs->open();
        const Tree tree = buildFor("optNovaScotia");
        int utilities = 0, construction = 0;
        for (const industrytree::Node& n : tree.nodes) {
            utilities += n.key == QLatin1String("IndTUTIL");
            construction += n.key == QLatin1String("IndTCONSTR");
        }
        QCOMPARE(utilities, 1);
        QCOMPARE(construction, 1);
        QCOMPARE(tree.nodes[tree.indexOf(QStringLiteral("IndTUTIL"))].text,
                 folderTitle(QStringLiteral("IndTUTIL"), "IndDescE"));
        QVERIFY(!tree.nodes[tree.indexOf(QStringLiteral("IndTCONSTR"))].industry);
        QCOMPARE(tree.indexOf(QStringLiteral("Ind") + code), -1);
        QCOMPARE(tree.faults.size(), 2);
    }

    void naicsOfKey_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("naics");
        QTest::newRow("industry key") << "Ind448140"
                                      << "448140";
        QTest::newRow("every Ind goes") << "IndInd1Ind2"
                                        << "12";
        QTest::newRow("a bare code") << "448140"
                                     << "448140";
        QTest::newRow("empty") << ""
                               << "";
    }
    void naicsOfKey() {
        QFETCH(QString, key);
        QFETCH(QString, naics);
        QCOMPARE(industrytree::naicsOfKey(key), naics);
    }
};

QTEST_GUILESS_MAIN(TestIndustryTree)
#include "test_industry_tree.moc"
