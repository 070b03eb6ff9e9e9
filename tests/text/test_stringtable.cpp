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
        QCOMPARE(strings::text(entry, language), text);
        modMain::gintLanguage = static_cast<int16_t>(language);
        QCOMPARE(modMain::Txt(entry), text);
        modMain::gintLanguage = 0;
    }

    void everyLookedUpEntryHasBothLanguages() {
        // The English entries the program looks up (ranges are every even number).
        const QList<std::pair<int, int>> ranges{
            {2, 2},     {18, 18},   {38, 38},   {44, 44},   {50, 50},   {58, 58},   {104, 138}, {150, 172},
            {176, 204}, {254, 266}, {274, 274}, {294, 294}, {298, 298}, {328, 328}, {334, 336}, {340, 348},
            {352, 352}, {380, 380}, {396, 396}, {404, 404}, {408, 408}, {414, 418}, {422, 424}, {446, 454},
            {458, 460}, {478, 480}, {484, 500}, {504, 532}, {536, 540}, {544, 546}, {550, 570}, {574, 574}};
        for (const auto& [from, to] : ranges) {
            for (int n = from; n <= to; n += 2) {
                QVERIFY2(!strings::entry(n).isEmpty(), qPrintable(QStringLiteral("entry %1").arg(n)));
                QVERIFY2(!strings::entry(n + 1).isEmpty(), qPrintable(QStringLiteral("entry %1").arg(n + 1)));
            }
        }
    }

    void absentEntryIsEmpty() {
        QVERIFY(!strings::contains(0));
        QCOMPARE(strings::entry(99999), QString());
        QCOMPARE(strings::entry(1), QStringLiteral("string"));
    }

    void contactEntriesHoldNoInventedNumbers() {
        // The publisher's lines name the project's own contact points, never a telephone number.
        static const QRegularExpression phone(QStringLiteral("\\d{3}[- .]\\d{3,4}"));
        for (int n : {340, 342, 344, 346, 348, 570, 574})
            for (int lang : {0, 1})
                QVERIFY(!phone.match(strings::text(n, lang)).hasMatch());
    }
};

QTEST_GUILESS_MAIN(TestStringTable)
#include "test_stringtable.moc"
