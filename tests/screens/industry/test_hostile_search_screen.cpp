// Hostile input through the industry selection screen: SQL, LIKE patterns, a very long
// text, control characters, right-to-left marks, invalid UTF-8 and apostrophes typed or
// pasted into the keyword box (searched with the button and with Enter), typed into the
// code list and into the title list. Each gives results or the program's own message,
// changes no database and leaves the stored firms whole.

#include "SearchScreenFixture.h"

#include "support/HostileInput.h"

#include <QKeyEvent>

using namespace modMain;

class TestHostileSearchScreen : public QObject, public SearchScreenFixture {
    Q_OBJECT

    // One screen for all the cases, as one user would type one text after another; each
    // case starts its search mode afresh.
    frmSearch* screen = nullptr;
    std::unique_ptr<hostile::Witness> witness;

    // The search mode chosen anew, so that it starts as the user finds it.
    frmSearch& fresh(QRadioButton* mode) {
        frmSearch& s = *screen;
        if (mode->isChecked()) choose(mode == s.optKeyword ? s.optNAICScode : s.optKeyword);
        choose(mode);
        // The user pauses before typing: the lists' search by typing starts again.
        for (QComboBox* list : {s.cboNAICScodes, s.cboNAICSTitle})
            list->view()->keyboardSearch(QString());
        platform->messages.clear();
        return s;
    }

    // Titles of the dataset (English) for which the test holds, read without the screen's code.
    static QList<QPair<QString, QString>> industries() {
        QList<QPair<QString, QString>> out;
        RecordsetPtr rs =
            GetRS(gcnData,
                  QStringLiteral("select N.NAICS, N.Description from %1 N join %2 F on N.NAICS = F.NAICS "
                                 "order by N.NAICS")
                      .arg(gstrNAICSTable, gstrDataTable),
                  QStringLiteral("read"));
        for (; !rs->eof(); rs->moveNext())
            out.append({rs->field(0).toString(), rs->field(1).toString()});
        return out;
    }

    // How many titles a keyword finds: "%" stands for any run of characters and "_" for
    // one, every other character for itself, letter case aside. The hostile keywords use
    // "_" only inside "%_%", which every non-empty title matches.
    static int expectedMatches(const QString& keyword) {
        const QList<QPair<QString, QString>> all = industries();
        if (keyword.contains(u'_')) return static_cast<int>(all.size());
        QString literal = keyword;
        literal.remove(u'%');
        int n = 0;
        for (const auto& industry : all)
            n += industry.second.contains(literal, Qt::CaseInsensitive) ? 1 : 0;
        return n;
    }

    // Keys as a keyboard gives them: one event per character, carrying the character.
    static void typeInto(QWidget* target, const QString& text) {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(target, &release);
        }
    }
    // A long text arrives as one event, as an input method commits it.
    static void typeAtOnce(QWidget* target, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QCoreApplication::sendEvent(target, &press);
    }
    static void typeHostile(QWidget* target, const QString& text) {
        if (text.size() > 1000)
            typeAtOnce(target, text);
        else
            typeInto(target, text);
    }

    bool anyMessage() const { return !platform->messages.isEmpty(); }

    // A list searched by typing selects the first entry that begins with what was typed
    // so far; a hostile text selects nothing, or an industry whose entry begins with the
    // text's first character, shown whole (its code and title belong together).
    static void verifyTypedSelection(frmSearch& s, const QString& typed) {
        if (!s.hasSelection()) {
            QVERIFY(s.lblHiddenNaics->text().isEmpty());
            QVERIFY(s.txtIndName->toPlainText().isEmpty());
            return;
        }
        const QString naics = s.lblHiddenNaics->text();
        const QString title = s.txtIndName->toPlainText();
        QVERIFY2(industries().contains(qMakePair(naics, title)), qPrintable(naics + u' ' + title));
        QVERIFY2(title.startsWith(typed.left(1), Qt::CaseInsensitive), qPrintable(title));
    }

    // A code whose first two digits differ: typing the same digit twice steps through
    // the codes that begin with it instead of searching on.
    static QPair<QString, QString> typableIndustry() {
        for (const auto& industry : industries())
            if (industry.first.size() > 1 && industry.first[0] != industry.first[1]) return industry;
        return {};
    }

private slots:
    void initTestCase() {
        setUp();
        screen = &openSearch();
        // A firm stored before the cases, which no search may touch.
        FirmStatement firm;
        firm.firmName = QStringLiteral("Kept Firm");
        firm.year = QStringLiteral("2010");
        firm.naics = QStringLiteral("448140");
        firmrules::resetValues(firm.values);
        firm.value("Cash") = QStringLiteral("1234.5");
        firmrecords::store(gcnMyData, firm);
        witness = std::make_unique<hostile::Witness>(gcnMyData, dbs->referencePath(), *platform);
    }
    void cleanupTestCase() {
        witness.reset();
        screen = nullptr;
        tearDown();
    }

    void keywordBox_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("byEnter");
        for (const hostile::Text& t : hostile::texts()) {
            const QString text = hostile::widgetText(t.bytes);
            QTest::newRow(qPrintable(QString::fromUtf8(t.name) + QStringLiteral(", Search button")))
                << text << false;
            QTest::newRow(qPrintable(QString::fromUtf8(t.name) + QStringLiteral(", Enter"))) << text << true;
        }
        // An apostrophe alone finds the titles that hold one.
        QTest::newRow("lone apostrophe, Enter") << QStringLiteral("'") << true;
    }
    void keywordBox() {
        QFETCH(QString, text);
        QFETCH(bool, byEnter);
        frmSearch& s = fresh(screen->optKeyword);
        // Pasted: the box holds the text as it came, up to the 32,767 characters a text
        // box holds at most.
        s.txtKeyword->insert(text);
        QCOMPARE(s.txtKeyword->text(), text.left(32767));
        text = s.txtKeyword->text();
        if (byEnter)
            QTest::keyClick(s.txtKeyword, Qt::Key_Return);
        else
            QTest::mouseClick(s.cmdKeyword, Qt::LeftButton);

        const int expected = expectedMatches(text);
        // The sample data holds titles with apostrophes, so this road is taken too.
        if (text == QLatin1String("'")) QVERIFY(expected > 0);
        if (expected == 0) {
            QCOMPARE(platform->messages.size(), 1);
            QCOMPARE(platform->lastMessage(), QStringLiteral("No match was found"));
            QCOMPARE(s.adodcKeywordResults->rowCount(), 0);
        } else {
            QVERIFY2(!anyMessage(), qPrintable(platform->lastMessage()));
            QVERIFY(s.dbgridKeywordResults->isVisible());
            QCOMPARE(s.adodcKeywordResults->rowCount(), expected);
            // A row of the results selects its industry, as any other row does.
            clickRow(s, 0);
            QCOMPARE(s.lblHiddenNaics->text(), s.adodcKeywordResults->cellText(0, 0));
            QCOMPARE(s.txtIndName->toPlainText(), s.adodcKeywordResults->cellText(0, 1));
        }
        QVERIFY(!s.lblNAICSCode->text().isEmpty() || expected == 0);
        witness->verify();
    }

    // The code list takes typed characters as a search among its codes: a hostile text
    // finds none and selects nothing; typed after a code, it leaves that code selected.
    void codeList_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("afterACode");
        for (const hostile::Text& t : hostile::texts()) {
            const QString text = hostile::widgetText(t.bytes);
            QTest::newRow(t.name) << text << false;
            if (!hostile::isLong(t.bytes))
                QTest::newRow(qPrintable(QString::fromUtf8(t.name) + QStringLiteral(" after a code")))
                    << text << true;
        }
    }
    void codeList() {
        QFETCH(QString, text);
        QFETCH(bool, afterACode);
        frmSearch& s = fresh(screen->optNAICScode);
        const auto [naics, title] = typableIndustry();
        QVERIFY(!naics.isEmpty());
        s.cboNAICScodes->setFocus();
        if (afterACode) typeInto(s.cboNAICScodes, naics);
        typeHostile(s.cboNAICScodes, text);
        QVERIFY2(!anyMessage(), qPrintable(platform->lastMessage()));
        if (afterACode) {
            QCOMPARE(s.lblHiddenNaics->text(), naics);
            QCOMPARE(s.txtIndName->toPlainText(), title);
        } else {
            // No code begins with anything but a digit.
            QVERIFY(!s.hasSelection());
            QVERIFY(s.lblHiddenNaics->text().isEmpty());
            // Continue then asks for an industry, in the program's own words.
            QTest::mouseClick(s.cmdContinue, Qt::LeftButton);
            QCOMPARE(platform->lastMessage(), QStringLiteral("You must select an industry"));
            platform->messages.clear();
        }
        witness->verify();
    }

    // The title list likewise; a title with an apostrophe typed in full selects it.
    void titleList_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("afterATitle");
        for (const hostile::Text& t : hostile::texts()) {
            const QString text = hostile::widgetText(t.bytes);
            QTest::newRow(t.name) << text << false;
            if (!hostile::isLong(t.bytes))
                QTest::newRow(qPrintable(QString::fromUtf8(t.name) + QStringLiteral(" after a title")))
                    << text << true;
        }
    }
    void titleList() {
        QFETCH(QString, text);
        QFETCH(bool, afterATitle);
        frmSearch& s = fresh(screen->optNAICSTitle);
        // The first title with an apostrophe that no other title begins with.
        QString naics, title;
        const QList<QPair<QString, QString>> all = industries();
        for (const auto& industry : all) {
            if (!industry.second.contains(u'\'')) continue;
            const auto begins = std::count_if(all.begin(), all.end(), [&industry](const auto& other) {
                return other.second.startsWith(industry.second, Qt::CaseInsensitive);
            });
            if (begins != 1) continue;
            naics = industry.first;
            title = industry.second;
            break;
        }
        QVERIFY2(!title.isEmpty(), "the sample data has a title with an apostrophe");
        s.cboNAICSTitle->setFocus();
        if (afterATitle) typeInto(s.cboNAICSTitle, title);
        typeHostile(s.cboNAICSTitle, text);
        QVERIFY2(!anyMessage(), qPrintable(platform->lastMessage()));
        if (afterATitle) {
            QCOMPARE(s.txtIndName->toPlainText(), title);
            QCOMPARE(s.lblHiddenNaics->text(), naics);
        } else {
            verifyTypedSelection(s, text);
        }
        witness->verify();
    }
};

QTEST_MAIN(TestHostileSearchScreen)
#include "test_hostile_search_screen.moc"
