// Numbers of the published files: a decimal point or a decimal comma per file, signs
// and exponents; thousands separators and blanks refused; the shortest exact form back.

#include "refdata/NumberText.h"

#include <QtTest>
#include <cmath>

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void parses_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QChar>("mark");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("whole") << "12" << QChar(u'.') << true << 12.0;
        QTest::newRow("point") << "12.5" << QChar(u'.') << true << 12.5;
        QTest::newRow("comma") << "12,5" << QChar(u',') << true << 12.5;
        QTest::newRow("negative") << "-0.25" << QChar(u'.') << true << -0.25;
        QTest::newRow("plus sign") << "+3" << QChar(u'.') << true << 3.0;
        QTest::newRow("no leading digit") << ".5" << QChar(u'.') << true << 0.5;
        QTest::newRow("no trailing digit") << "5." << QChar(u'.') << true << 5.0;
        QTest::newRow("comma, no leading digit") << ",75" << QChar(u',') << true << 0.75;
        QTest::newRow("exponent") << "1e-05" << QChar(u'.') << true << 1e-05;
        QTest::newRow("comma and exponent") << "2,5E3" << QChar(u',') << true << 2500.0;
        QTest::newRow("point in a comma file") << "12.5" << QChar(u',') << false << 0.0;
        QTest::newRow("comma in a point file") << "12,5" << QChar(u'.') << false << 0.0;
        QTest::newRow("thousands separator") << "1,234.5" << QChar(u'.') << false << 0.0;
        QTest::newRow("blank inside") << "1 234" << QChar(u'.') << false << 0.0;
        QTest::newRow("letters") << "abc" << QChar(u'.') << false << 0.0;
        QTest::newRow("infinity") << "inf" << QChar(u'.') << false << 0.0;
        QTest::newRow("too large") << "1e999" << QChar(u'.') << false << 0.0;
        QTest::newRow("lone sign") << "-" << QChar(u'.') << false << 0.0;
        QTest::newRow("lone mark") << "." << QChar(u'.') << false << 0.0;
    }
    void parses() {
        QFETCH(QString, text);
        QFETCH(QChar, mark);
        QFETCH(bool, ok);
        QFETCH(double, value);
        const std::optional<double> n = numbertext::parseNumber(text, mark);
        QCOMPARE(n.has_value(), ok);
        if (ok) QCOMPARE(*n, value);
    }

    void wholeNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qlonglong>("value");
        QTest::newRow("plain") << "806" << true << 806LL;
        QTest::newRow("zero fraction") << "806.0" << true << 806LL;
        QTest::newRow("negative") << "-4" << true << -4LL;
        QTest::newRow("fraction") << "80.6" << false << 0LL;
        QTest::newRow("empty") << "" << false << 0LL;
    }
    void wholeNumbers() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qlonglong, value);
        const std::optional<qlonglong> n = numbertext::parseWhole(text, u'.');
        QCOMPARE(n.has_value(), ok);
        if (ok) QCOMPARE(*n, value);
    }

    void decimalMarkOfAFile_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QChar>("mark");
        QTest::newRow("points") << QStringList{"1.5", "2", "3.25"} << QChar(u'.');
        QTest::newRow("commas") << QStringList{"1,5", "2", "3,25"} << QChar(u',');
        QTest::newRow("whole numbers only") << QStringList{"1", "2"} << QChar(u'.');
        QTest::newRow("both: point wins, the commas are faults") << QStringList{"1,5", "2.5"} << QChar(u'.');
        QTest::newRow("nothing") << QStringList{} << QChar(u'.');
    }
    void decimalMarkOfAFile() {
        QFETCH(QStringList, fields);
        QFETCH(QChar, mark);
        QCOMPARE(numbertext::detectDecimalMark(fields), mark);
    }

    void formatsShortestExact_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("tenth") << 0.1 << "0.1";
        QTest::newRow("whole") << 100.0 << "100";
        QTest::newRow("negative") << -3.53 << "-3.53";
        QTest::newRow("small") << 1e-05 << "1e-05";
        QTest::newRow("third") << 1.0 / 3.0 << "0.3333333333333333";
    }
    void formatsShortestExact() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(numbertext::formatNumber(value), text);
        QCOMPARE(*numbertext::parseNumber(text, u'.'), value);
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "test_number_text.moc"
