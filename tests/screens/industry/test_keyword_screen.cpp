// The keyword mode of the industry selection screen through its real widgets: the
// grid's rows and headings, matching without regard to case or accents, keywords that
// look like SQL or patterns, the grid's clicks, and the language switch.

#include "SearchScreenFixture.h"

#include <QAction>
#include <QHeaderView>

using namespace modMain;

class TestKeywordScreen : public QObject, public SearchScreenFixture {
    Q_OBJECT

    // The titles of the dataset in the language that contain the text, found here by a
    // plain substring test rather than by the database.
    int titlesContaining(const QString& text, int language) {
        int n = 0;
        RecordsetPtr rs =
            GetRS(gcnData,
                  QStringLiteral("select N.%1 from %2 N join %3 F on N.NAICS = F.NAICS")
                      .arg(language ? QStringLiteral("Description_french") : QStringLiteral("Description"),
                           gstrNAICSTable, gstrDataTable),
                  QStringLiteral("read"));
        for (; !rs->eof(); rs->moveNext())
            n += rs->field(0).toString().contains(text, Qt::CaseInsensitive) ? 1 : 0;
        return n;
    }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void choosingTheModeClearsAndFocusesTheKeyword() {
        frmSearch& s = openSearch();
        choose(s.optKeyword);
        s.txtKeyword->setText(QStringLiteral("farm"));
        QTest::mouseClick(s.cmdKeyword, Qt::LeftButton);
        choose(s.optNAICScode);
        choose(s.optKeyword);
        QVERIFY(s.txtKeyword->text().isEmpty());
        QCOMPARE(s.focusWidget(), s.txtKeyword);
        // The grid keeps its last results.
        QVERIFY(s.dbgridKeywordResults->isVisible());
        QVERIFY(s.adodcKeywordResults->rowCount() > 0);
    }

    void headingsAndColumns_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("headings");
        QTest::newRow("English") << 0 << QStringList{"NAICS", "Description", "Sector"};
        QTest::newRow("French") << 1 << QStringList{"SCIAN", "Description", "Secteur"};
    }
    void headingsAndColumns() {
        QFETCH(int, language);
        QFETCH(QStringList, headings);
        frmSearch& s = openSearch("optNovaScotia", static_cast<int16_t>(language));
        keywordSearch(s, QStringLiteral("a"));
        QStringList shown;
        for (int c = 0; c < s.adodcKeywordResults->columnCount(); ++c)
            shown << s.adodcKeywordResults->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(shown, headings);
        const int row = 0;
        const QString code = s.adodcKeywordResults->cellText(row, 0);
        QCOMPARE(s.adodcKeywordResults->cellText(row, 1), title(code, language));
        QCOMPARE(s.adodcKeywordResults->cellText(row, 2), sector(code, language));
        // 630 and 2500 twips at the screen's resolution; the code column fits its heading.
        const int dpi = s.dbgridKeywordResults->logicalDpiX();
        QCOMPARE(s.dbgridKeywordResults->columnWidth(1), 2500 * dpi / 1440);
        QCOMPARE(s.dbgridKeywordResults->columnWidth(2), 2500 * dpi / 1440);
        QVERIFY(s.dbgridKeywordResults->columnWidth(0) >= 630 * dpi / 1440);
        QVERIFY(s.dbgridKeywordResults->columnWidth(0) >
                s.dbgridKeywordResults->horizontalHeader()->fontMetrics().horizontalAdvance(headings[0]));
    }

    void caseDoesNotMatter() {
        frmSearch& s = openSearch("optVol1");
        keywordSearch(s, QStringLiteral("bank"));
        const QStringList lower = column(s, 0);
        QCOMPARE(lower.size(), titlesContaining(QStringLiteral("bank"), 0));
        QVERIFY(!lower.isEmpty());
        keywordSearch(s, QStringLiteral("BANK"));
        QCOMPARE(column(s, 0), lower);
        QVERIFY(platform->messages.isEmpty());
    }

    void accentsDoNotMatterEitherWay_data() {
        QTest::addColumn<QString>("keyword");
        QTest::newRow("typed without accents") << "electricite";
        QTest::newRow("typed with accents") << "électricité";
        QTest::newRow("capitals with accents") << "ÉLECTRICITÉ";
    }
    void accentsDoNotMatterEitherWay() {
        QFETCH(QString, keyword);
        frmSearch& s = openSearch("optVol3", 1);
        keywordSearch(s, keyword);
        QVERIFY(platform->messages.isEmpty());
        QCOMPARE(s.adodcKeywordResults->rowCount(), titlesContaining(QStringLiteral("électricité"), 1));
        for (const QString& t : column(s, 1))
            QVERIFY2(t.contains(QStringLiteral("lectricit"), Qt::CaseInsensitive), qPrintable(t));
    }

    void accentedKeywordFindsATitleWithout() {
        // A copy with a title written without its accents, as typed data sometimes are.
        dbs->editReference(QStringLiteral("update ZEBRO_NAICS_Description_Ind_Raw set Description_french = "
                                          "'Production d''electricite sans accents' where NAICS = '221111'"));
        frmSearch& s = openSearch("optVol3", 1);
        keywordSearch(s, QStringLiteral("Électricité sans"));
        QCOMPARE(column(s, 0), QStringList{QStringLiteral("221111")});
    }

    void apostrophe_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("keyword");
        QTest::newRow("French") << 1 << "d'";
        QTest::newRow("English") << 0 << "'s";
    }
    void apostrophe() {
        QFETCH(int, language);
        QFETCH(QString, keyword);
        frmSearch& s = openSearch("optVol3", static_cast<int16_t>(language));
        keywordSearch(s, keyword);
        const int expected = titlesContaining(keyword, language);
        QVERIFY(expected > 0);
        QCOMPARE(s.adodcKeywordResults->rowCount(), expected);
        QVERIFY(platform->messages.isEmpty());
    }

    void emptyKeywordListsEveryIndustry() {
        frmSearch& s = openSearch("optYukon");
        keywordSearch(s, QString());
        QCOMPARE(s.adodcKeywordResults->rowCount(), datasetRows());
        QVERIFY(s.dbgridKeywordResults->isVisible());
    }

    void missAfterHitLeavesTheGridVisibleAndEmpty_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << 0 << "No match was found";
        QTest::newRow("French") << 1 << "L'item n'a pas été trouvé";
    }
    void missAfterHitLeavesTheGridVisibleAndEmpty() {
        QFETCH(int, language);
        QFETCH(QString, message);
        frmSearch& s = openSearch("optNovaScotia", static_cast<int16_t>(language));
        keywordSearch(s, QStringLiteral("a"));
        QVERIFY(s.dbgridKeywordResults->isVisible());
        clickRow(s, 0);
        const QString code = s.lblHiddenNaics->text();
        keywordSearch(s, QStringLiteral("qqqqzzzz"));
        QCOMPARE(platform->messages.size(), 1);
        QCOMPARE(platform->lastMessage(), message);
        QCOMPARE(platform->messages[0].icon, MsgIcon::None);
        QCOMPARE(platform->messages[0].buttons, MsgButtons::OK);
        QVERIFY(s.dbgridKeywordResults->isVisible());
        QCOMPARE(s.adodcKeywordResults->rowCount(), 0);
        QCOMPARE(s.lblHiddenNaics->text(), code); // a miss does not touch the selection
    }

    void firstMissKeepsTheGridHidden() {
        frmSearch& s = openSearch();
        keywordSearch(s, QStringLiteral("qqqqzzzz"));
        QCOMPARE(platform->lastMessage(), QStringLiteral("No match was found"));
        QVERIFY(s.dbgridKeywordResults->isHidden());
    }

    void keywordIsNeverSql_data() {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<bool>("everyIndustry");
        QTest::newRow("a statement") << "'; drop table tblTreeview; --" << false;
        QTest::newRow("quotes") << "'x'" << false;
        QTest::newRow("percent") << "%" << true;
        QTest::newRow("underscore") << "_" << true;
        QTest::newRow("a bracket class") << "[a-z]" << false;
        QTest::newRow("10,000 characters") << QString(10000, u'e') << false;
    }
    void keywordIsNeverSql() {
        QFETCH(QString, keyword);
        QFETCH(bool, everyIndustry);
        frmSearch& s = openSearch();
        keywordSearch(s, keyword);
        QCOMPARE(platform->endedWith, -1);
        if (everyIndustry) {
            QCOMPARE(s.adodcKeywordResults->rowCount(), datasetRows());
            QVERIFY(platform->messages.isEmpty());
        } else {
            QCOMPARE(platform->messages.size(), 1);
            QCOMPARE(platform->lastMessage(), QStringLiteral("No match was found"));
        }
        QVERIFY(value(QStringLiteral("select count(*) from tblTreeview")).toInt() > 0);
    }

    void rowClickSelectsAndDoubleClickContinues() {
        frmSearch& s = openSearch();
        keywordSearch(s, QStringLiteral("farm"));
        clickRow(s, 1);
        const QString code = s.adodcKeywordResults->cellText(1, 0);
        QCOMPARE(s.lblHiddenNaics->text(), code);
        QCOMPARE(s.lblNAICSCode->text(), QStringLiteral("NAICS: ") + code);
        QCOMPARE(s.txtIndName->toPlainText(), s.adodcKeywordResults->cellText(1, 1));
        QCOMPARE(s.lblCategory->text(), QStringLiteral("Sector: ") + s.adodcKeywordResults->cellText(1, 2));
        QVERIFY(!viewer());
        clickRow(s, 2, true);
        QCOMPARE(s.lblHiddenNaics->text(), s.adodcKeywordResults->cellText(2, 0));
        QVERIFY(viewer());
        QCOMPARE(viewer()->windowTitle(), QStringLiteral("ZEBRO Ratios Report"));
    }

    void industryWithoutSectorShowsAnEmptySectorLine() {
        dbs->editReference(QStringLiteral(
            "update ZEBRO_NAICS_Description_Ind_Raw set Parent = 'IndNOWHERE' where NAICS = '111110'"));
        frmSearch& s = openSearch("optVol3");
        keywordSearch(s, title(QStringLiteral("111110"), 0));
        QCOMPARE(column(s, 0), QStringList{QStringLiteral("111110")});
        QVERIFY(s.adodcKeywordResults->cellText(0, 2).isEmpty());
        clickRow(s, 0, true);
        QCOMPARE(s.lblCategory->text(), QStringLiteral("Sector: "));
        QCOMPARE(s.lblHiddenNaics->text(), QStringLiteral("111110"));
        QVERIFY(viewer()); // and it continued
    }

    void languageSwitchHidesTheGridAndKeepsTheSelection() {
        frmSearch& s = openSearch();
        keywordSearch(s, QStringLiteral("farm"));
        clickRow(s, 0);
        const QString code = s.lblHiddenNaics->text();
        s.mnuFrench->trigger();
        QVERIFY(s.optKeyword->isChecked());
        QVERIFY(s.fraKeyword->isVisible());
        QVERIFY(s.dbgridKeywordResults->isHidden());
        QVERIFY(s.txtKeyword->text().isEmpty());
        QCOMPARE(s.lblHiddenNaics->text(), code);
        QCOMPARE(s.lblNAICSCode->text(), QStringLiteral("SCIAN: ") + code);
        QCOMPARE(s.txtIndName->toPlainText(), title(code, 1));
        QCOMPARE(s.cmdKeyword->text(), QStringLiteral("Rechercher"));
        QCOMPARE(s.fraKeyword->title(), QStringLiteral("Mot clé"));
    }
};

QTEST_MAIN(TestKeywordScreen)
#include "test_keyword_screen.moc"
