// Reading and writing value texts: leading numbers, the normal form of entered values
// and the seven-digit text of subtotals.

#include "firm/ValueText.h"
#include "platform/Platform.h"

#include <QtTest>

class TestValueText : public QObject {
    Q_OBJECT
private slots:
    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("digits") << "123" << 123.0;
        QTest::newRow("pasted text after a number") << "12abc" << 12.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blanks anywhere") << "1 234" << 1234.0;
        QTest::newRow("blank after minus") << "  - 7" << -7.0;
        QTest::newRow("minus alone") << "-" << 0.0;
        QTest::newRow("fraction") << "12.75" << 12.75;
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("exponent") << "1E+07" << 1e7;
        QTest::newRow("subtotal text") << "1.677722E+07" << 16777220.0;
        QTest::newRow("lower-case exponent and trailing text") << "1.5e3x" << 1500.0;
        QTest::newRow("incomplete exponent ignored") << "7E" << 7.0;
        QTest::newRow("second point ends the number") << "1.2.3" << 1.2;
        QTest::newRow("comma ends the number") << "1,234" << 1.0;
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(valuetext::leadingNumber(text), value);
    }

    void normalForm_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("normal"); // "-" for no normal form
        QTest::newRow("leading zeros") << "007"
                                       << "7";
        QTest::newRow("pasted with a blank") << "1 234"
                                             << "1234";
        QTest::newRow("pasted with letters") << "12abc"
                                             << "12";
        QTest::newRow("letters only") << "abc"
                                      << "0";
        QTest::newRow("empty") << ""
                               << "0";
        QTest::newRow("negative") << "-250"
                                  << "-250";
        QTest::newRow("minus zero") << "-0"
                                    << "0";
        QTest::newRow("trailing fraction zeros") << "12.5000"
                                                 << "12.5";
        QTest::newRow("four decimals kept") << "1.2345"
                                            << "1.2345";
        QTest::newRow("half to even, down") << "2.00005"
                                            << "2";
        QTest::newRow("half to even, up") << "2.00015"
                                          << "2.0002";
        QTest::newRow("more than half") << "2.000051"
                                        << "2.0001";
        QTest::newRow("negative half to even") << "-0.00005"
                                               << "0";
        QTest::newRow("rounds into the whole part") << "9.99995"
                                                    << "10";
        QTest::newRow("exponent") << "1E+07"
                                  << "10000000";
        QTest::newRow("negative exponent") << "25E-3"
                                           << "0.025";
        QTest::newRow("largest") << "922337203685477.5807"
                                 << "922337203685477.5807";
        QTest::newRow("smallest") << "-922337203685477.5807"
                                  << "-922337203685477.5807";
        QTest::newRow("just beyond") << "922337203685477.5808"
                                     << "-";
        QTest::newRow("far beyond") << "1E+20"
                                    << "-";
        QTest::newRow("sixteen integer digits") << "1234567890123456"
                                                << "-";
    }
    void normalForm() {
        QFETCH(QString, text);
        QFETCH(QString, normal);
        const std::optional<QString> n = valuetext::normalForm(text);
        if (normal == QLatin1String("-"))
            QVERIFY(!n);
        else
            QCOMPARE(n.value_or(QStringLiteral("<none>")), normal);
    }

    void singleText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("below ten million") << 9999999.0 << "9999999";
        QTest::newRow("ten million") << 10000000.0 << "1E+07";
        QTest::newRow("eight digits") << 12345678.0 << "1.234568E+07";
        QTest::newRow("beyond single precision") << 16777217.0 << "1.677722E+07";
        QTest::newRow("negative") << -5.0 << "-5";
        QTest::newRow("negative large") << -10000000.0 << "-1E+07";
        QTest::newRow("half") << 0.5 << "0.5";
        QTest::newRow("fraction to seven digits") << 1234.5678 << "1234.568";
        QTest::newRow("small fraction") << 0.0001 << "0.0001";
        QTest::newRow("tiny fraction") << 0.00001 << "1E-05";
        QTest::newRow("a hundred billion") << 1e11 << "1E+11";
    }
    void singleText() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(valuetext::singleText(static_cast<float>(value)), text);
    }

    void doubleText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 16777220.0 << "16777220";
        QTest::newRow("tenth") << 0.1 << "0.1";
        QTest::newRow("negative") << -2.5 << "-2.5";
        QTest::newRow("fifteen digits") << 1.0 / 3.0 << "0.333333333333333";
        QTest::newRow("large stays plain") << 1e20 << "100000000000000000000";
        QTest::newRow("small stays plain") << 0.000012 << "0.000012";
    }
    void doubleText() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(valuetext::doubleText(value), text);
    }

    void toDoubleAcceptsNumbersOnly() {
        QCOMPARE(valuetext::toDouble(QStringLiteral("12.5")), 12.5);
        QCOMPARE(valuetext::toDouble(QStringLiteral("1.677722E+07")), 16777220.0);
        QCOMPARE(valuetext::toDouble(QStringLiteral("-3")), -3.0);
        QVERIFY_THROWS_EXCEPTION(FatalError, valuetext::toDouble(QStringLiteral("abc")));
        QVERIFY_THROWS_EXCEPTION(FatalError, valuetext::toDouble(QString()));
    }
};

QTEST_GUILESS_MAIN(TestValueText)
#include "test_value_text.moc"
