// The bilingual string table: the lookup rule and texts kept exactly as written.

#include "state/modMain.h"
#include "text/StringTable.h"

#include <QtTest>

class TestStringTable : public QObject {
    Q_OBJECT
private slots:
    void lookupRule_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        QTest::newRow("478 English") << 478 << 0 << "Do you want to exit?";
        QTest::newRow("478 French") << 478 << 1 << "Voulez-vous quitter?";
        QTest::newRow("any non-zero flag is French") << 478 << -1 << "Voulez-vous quitter?";
        QTest::newRow("double blank kept") << 18 << 0 << "4.  Continue";
        QTest::newRow("trailing blank kept") << 198 << 0 << "Total shareholders' equity ";
        QTest::newRow("French trailing blank kept") << 198 << 1 << "Total, capitaux propres ";
        QTest::newRow("typographic apostrophe kept") << 544 << 1 << "Entrer un nom d’entreprise ici";
        QTest::newRow("odd spelling kept") << 556 << 1 << "Vous devez selecter une industrie.";
        QTest::newRow("ratio name") << 134 << 1 << "Ratio d'endettement";
    }
    void lookupRule() {
        QFETCH(int, entry);
        QFETCH(int, language);
        QFETCH(QString, text);
        QCOMPARE(strings::text(entry, language::fromFlag(language)), text);
        modMain::gintLanguage = static_cast<int16_t>(language);
        QCOMPARE(modMain::Txt(entry), text);
        modMain::gintLanguage = 0;
    }

    void languageViews_data() {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<int>("offset");
        QTest::newRow("English flag") << 0 << "E" << 0;
        QTest::newRow("French flag") << 1 << "F" << 1;
        QTest::newRow("any other non-zero flag reads French") << -1 << "F" << 1;
    }
    void languageViews() {
        QFETCH(int, flag);
        QFETCH(QString, letter);
        QFETCH(int, offset);
        const Language l = language::fromFlag(flag);
        QCOMPARE(language::letter(l), letter);
        QCOMPARE(int(language::flag(l)), offset);
        QCOMPARE(language::fromLetter(letter), std::optional<Language>(l));
        QCOMPARE(language::fromLetter(letter.toLower()), std::optional<Language>(l));
        QCOMPARE(language::other(language::other(l)), l);
    }
    void lettersOtherThanEAndFAreNoLanguage() {
        for (const char* text : {"", "EF", "en", "G", " E"})
            QVERIFY2(!language::fromLetter(QString::fromLatin1(text)), text);
    }

    void keyedTextsInBothLanguages() {
        QCOMPARE(strings::text("help.file.missing", Language::E).left(22),
                 QStringLiteral("The help file is missi"));
        const QString french = strings::text("help.file.missing", Language::F);
        QVERIFY(french.startsWith(QStringLiteral("Le fichier d'aide est introuvable\u00a0:\n")));
        QVERIFY(french.contains(u'\n')); // the table's "\n" is a line break
        QVERIFY(!french.contains(QStringLiteral("\\n")));
    }

    void absentEntryIsEmpty() {
        QVERIFY(!strings::contains(0));
        QCOMPARE(strings::entry(99999), QString());
        QCOMPARE(strings::entry(1), QStringLiteral("string"));
        QVERIFY(!strings::containsKey("no.such.text"));
        QVERIFY(strings::containsKey("database.busy"));
    }

    void contactEntriesHoldNoInventedNumbers() {
        // The publisher's lines name the project's own contact points, never a telephone number.
        static const QRegularExpression phone(QStringLiteral("\\d{3}[- .]\\d{3,4}"));
        for (int n : {340, 342, 344, 346, 348, 570, 574})
            for (int lang : {0, 1})
                QVERIFY(!phone.match(strings::text(n, language::fromFlag(lang))).hasMatch());
    }
};

QTEST_GUILESS_MAIN(TestStringTable)
#include "test_stringtable.moc"
