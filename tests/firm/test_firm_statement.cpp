// The firm statement rules: subtotals in single precision, the balance rule, filling
// and resetting, the comparison value array and the report request's checks.

#include "firm/FirmStatement.h"
#include "firm/ValueText.h"

#include <QtTest>

namespace {
FirmStatement zeroFirm() {
    FirmStatement f;
    f.firmName = QStringLiteral("Test Ltd.");
    firmrules::resetValues(f.values);
    return f;
}
} // namespace

class TestFirmStatement : public QObject {
    Q_OBJECT
private slots:
    void allZeroGivesZeroSubtotals() {
        FirmStatement f = zeroFirm();
        firmrules::calculateSubTotals(f.values);
        for (const char* c : {"Toa", "Ta", "Tliab", "Equity1", "TotLiabShareEq"})
            QCOMPARE(f.value(c), QStringLiteral("0"));
    }

    void subtotalTextForms_data() {
        QTest::addColumn<QString>("cash");
        QTest::addColumn<QString>("ar");
        QTest::addColumn<QString>("toa");
        QTest::addColumn<double>("readsBack");
        QTest::newRow("9,999,999") << "9999998"
                                   << "1"
                                   << "9999999" << 9999999.0;
        QTest::newRow("10,000,000") << "9999999"
                                    << "1"
                                    << "1E+07" << 10000000.0;
        QTest::newRow("16,777,217") << "16777216"
                                    << "1"
                                    << "1.677722E+07" << 16777220.0;
        QTest::newRow("pasted text counts its leading number") << "12abc"
                                                               << "abc"
                                                               << "12" << 12.0;
        QTest::newRow("negative part lowers") << "100"
                                              << "-40"
                                              << "60" << 60.0;
    }
    void subtotalTextForms() {
        QFETCH(QString, cash);
        QFETCH(QString, ar);
        QFETCH(QString, toa);
        QFETCH(double, readsBack);
        FirmStatement f = zeroFirm();
        f.value("Cash") = cash;
        f.value("Ar") = ar;
        firmrules::calculateSubTotals(f.values);
        QCOMPARE(f.value("Toa"), toa);
        QCOMPARE(valuetext::leadingNumber(f.value("Toa")), readsBack);
        // Total assets build on the text of total operating assets.
        QCOMPARE(f.value("Ta"), toa);
    }

    void precisionLossCarriesIntoLaterTotals() {
        FirmStatement f = zeroFirm();
        f.value("Cash") = QStringLiteral("16777217");
        f.value("Invest") = QStringLiteral("3");
        firmrules::calculateSubTotals(f.values);
        // 16,777,220 (as written) + 3 rounds to single precision: 16,777,224.
        QCOMPARE(valuetext::leadingNumber(f.value("Ta")), 16777220.0);
        QCOMPARE(f.value("Ta"), QStringLiteral("1.677722E+07"));
        f.value("Invest") = QStringLiteral("30");
        firmrules::calculateSubTotals(f.values);
        QCOMPARE(f.value("Ta"), QStringLiteral("1.677725E+07"));
    }

    // Every part of every subtotal counts once: parts hold distinct powers of two, so a
    // part left out, counted twice or taken from another total changes the sum.
    void everyPartOfEverySubtotal_data() {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("expected");
        QTest::newRow("total operating assets") << QStringList{"Cash", "Ar", "Inv", "CA", "OA"} << "Toa"
                                                << "31";
        QTest::newRow("total assets") << QStringList{"Cash", "Invest", "Ptfl"} << "Ta"
                                      << "7";
        QTest::newRow("total liabilities")
            << QStringList{"AccountsPayable", "Paper", "Mtg", "Bonds", "Ol", "AmtsAffil", "OLiab", "DefTax"}
            << "Tliab"
            << "255";
        QTest::newRow("shareholders' equity") << QStringList{"ShareC", "RetEarn", "OtherSur"} << "Equity1"
                                              << "7";
        QTest::newRow("liabilities and equity")
            << QStringList{"AccountsPayable", "ShareC"} << "TotLiabShareEq"
            << "3";
    }
    void everyPartOfEverySubtotal() {
        QFETCH(QStringList, parts);
        QFETCH(QString, total);
        QFETCH(QString, expected);
        FirmStatement f = zeroFirm();
        int weight = 1;
        for (const QString& p : parts) {
            f.value(p.toLatin1().constData()) = QString::number(weight);
            weight *= 2;
        }
        // Values that belong to no subtotal stay out of every one.
        for (const char* other :
             {"OperatingRevenue", "Sales", "GrossProfit", "CurrentAssets", "CurrentLiabilities"})
            f.value(other) = QStringLiteral("1000");
        firmrules::calculateSubTotals(f.values);
        QCOMPARE(f.value(total.toLatin1().constData()), expected);
    }

    // Each partial sum is a single-precision value: 12345674 + 0.5 stays 12345674 (the
    // half rounds to even), and so does adding the second half. Summing in double and
    // rounding once would give 12345675.
    void partialSumsAreSinglePrecision_data() {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two halves vanish one by one")
            << QStringList{"12345674", "0.5", "0.5"} << "1.234567E+07";
        QTest::newRow("halves near the top of the exact range")
            << QStringList{"16777214", "0.5", "0.5"} << "1.677721E+07";
        QTest::newRow("order matters: small parts first")
            << QStringList{"0.5", "0.5", "12345674"} << "1.234568E+07";
        QTest::newRow("a large part absorbs ones")
            << QStringList{"33554432", "1", "1", "1", "1"} << "3.355443E+07";
    }
    void partialSumsAreSinglePrecision() {
        QFETCH(QStringList, parts);
        QFETCH(QString, expected);
        FirmStatement f = zeroFirm();
        const char* columns[] = {"Cash", "Ar", "Inv", "CA", "OA"};
        for (int i = 0; i < parts.size(); ++i)
            f.value(columns[i]) = parts[i];
        firmrules::calculateSubTotals(f.values);
        QCOMPARE(f.value("Toa"), expected);
    }

    // A firm whose parts balance only when each partial sum is rounded as the stored
    // records were is accepted by the report request.
    void stepwiseRoundingKeepsABalancedFirmBalanced() {
        FirmStatement f = zeroFirm();
        f.value("Cash") = QStringLiteral("12345674");
        f.value("Ar") = QStringLiteral("0.5");
        f.value("Inv") = QStringLiteral("0.5");
        f.value("ShareC") = QStringLiteral("12345674");
        firmrules::calculateSubTotals(f.values);
        QVERIFY(firmrules::isBalanced(f.values));
        QCOMPARE(firmrules::reportRequestProblem(f, Language::E), std::optional<QString>());
    }

    // The year of the comparison array is a 16-bit whole number; a year text beyond that
    // range is kept as text instead of overflowing the conversion.
    void comparisonYearConversion_data() {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("expected");
        QTest::newRow("listed year") << "2010"
                                     << "2010";
        QTest::newRow("blanks around") << " 2009 "
                                       << "2009";
        QTest::newRow("exponent beyond 16 bits") << "2010e5"
                                                 << "2010e5";
        QTest::newRow("half rounds to even") << "2010.5"
                                             << "2010";
    }
    void comparisonYearConversion() {
        QFETCH(QString, year);
        QFETCH(QString, expected);
        FirmStatement f = zeroFirm();
        f.year = year;
        QCOMPARE(firmrules::comparisonValues(f, QStringLiteral("x")).at(1), expected);
    }

    void liabilitiesEquityAndTheirTotal() {
        FirmStatement f = zeroFirm();
        f.value("AccountsPayable") = QStringLiteral("100");
        f.value("Mtg") = QStringLiteral("200");
        f.value("DefTax") = QStringLiteral("5");
        f.value("ShareC") = QStringLiteral("50");
        f.value("RetEarn") = QStringLiteral("-80");
        f.value("OtherSur") = QStringLiteral("10");
        firmrules::calculateSubTotals(f.values);
        QCOMPARE(f.value("Tliab"), QStringLiteral("305"));
        QCOMPARE(f.value("Equity1"), QStringLiteral("-20"));
        QCOMPARE(f.value("TotLiabShareEq"), QStringLiteral("285"));
        // Current totals stand alone: nothing ties them to the balance sheet.
        f.value("CurrentAssets") = QStringLiteral("999999");
        firmrules::calculateSubTotals(f.values);
        QCOMPARE(f.value("Ta"), QStringLiteral("0"));
    }

    // The books balance when the entered items balance to the cent, whatever the seven-digit
    // subtotals kept of them, or when the subtotals agree in single precision. The firms with
    // cents were drawn at random and balanced in exact decimals; subtotalsAgree says whether
    // total assets and total liabilities and equity came out as the same text.
    void booksBalance_data() {
        QTest::addColumn<QString>("assets"); // Cash Ar Inv CA OA Invest Ptfl
        QTest::addColumn<QString>(
            "claims"); // AccountsPayable Paper Mtg Bonds Ol AmtsAffil OLiab DefTax ShareC RetEarn OtherSur
        QTest::addColumn<bool>("balanced");
        QTest::addColumn<bool>("subtotalsAgree");
        QTest::newRow("cents, $419,390.71")
            << "87525.26 160747.45 69859.24 47094.11 32488.53 7569.29 14106.83"
            << "26244.61 24362.7 2748.47 25400.68 552.3 19681.03 10878.09 23101.58 9828.55 268550.37 8042.33"
            << true << false;
        QTest::newRow("cents, $617,900.92") << "235492.05 38027.49 84910.98 26789.62 6864.61 551.84 225264.33"
                                            << "19493.99 28249.89 2404.2 23461.73 13681.78 27379.6 8730.51 "
                                               "17710.44 22404.7 430480.12 23903.96"
                                            << true << false;
        QTest::newRow("cents, $89,959,722.34")
            << "14555990.41 16179714.12 23866241.73 4529068.3 17680028.7 6358245.5 6790433.58"
            << "6227329.05 3380959.55 215316.28 4042815.78 6326520.57 1430958.76 645109.57 3569663.75 "
               "5006325.91 55325317.99 3789405.13"
            << true << false;
        QTest::newRow("cents, $84,969,642.44")
            << "52719277.49 2644647.75 2234537.17 7642733.91 6183559.98 7460851.22 6084034.92"
            << "730870.5 3081759.05 1288450.68 2625663.22 484008.58 377361.07 5500755.49 2131038.69 "
               "4615873.72 63603896.20 529965.24"
            << true << false;
        QTest::newRow("a cent off at $10,000") << "10000 0 0 0 0 0 0"
                                               << "0 0 0 0 0 0 0 0 9999.99 0 0" << false << false;
        QTest::newRow("a dollar off beyond the seventh digit")
            << "16777217 0 0 0 0 0 0"
            << "0 0 0 0 0 0 0 0 16777216 0 0" << true << true;
        QTest::newRow("nothing entered") << "0 0 0 0 0 0 0"
                                         << "0 0 0 0 0 0 0 0 0 0 0" << true << true;
    }
    void booksBalance() {
        QFETCH(QString, assets);
        QFETCH(QString, claims);
        QFETCH(bool, balanced);
        QFETCH(bool, subtotalsAgree);
        FirmStatement f = zeroFirm();
        const char* assetItems[] = {"Cash", "Ar", "Inv", "CA", "OA", "Invest", "Ptfl"};
        const char* claimItems[] = {"AccountsPayable", "Paper",  "Mtg",    "Bonds",   "Ol",      "AmtsAffil",
                                    "OLiab",           "DefTax", "ShareC", "RetEarn", "OtherSur"};
        const QStringList a = assets.split(u' '), c = claims.split(u' ');
        QCOMPARE(a.size(), 7);
        QCOMPARE(c.size(), 11);
        for (int i = 0; i < 7; ++i)
            f.value(assetItems[i]) = a[i];
        for (int i = 0; i < 11; ++i)
            f.value(claimItems[i]) = c[i];
        firmrules::calculateSubTotals(f.values);
        QCOMPARE(f.value("Ta") == f.value("TotLiabShareEq"), subtotalsAgree);
        QCOMPARE(firmrules::isBalanced(f.values), balanced);
        f.firmName = QStringLiteral("Tremblay");
        const QString refusal =
            QStringLiteral("Total Assets is not equal Total Liabilities and Shareholders' Equity");
        QCOMPARE(firmrules::reportRequestProblem(f, Language::E) == refusal, !balanced);
    }

    void fillingAndNormalising() {
        FirmStatement f = zeroFirm();
        f.value("Cash") = QString();
        f.value("Toa") = QString();
        f.value("Ar") = QStringLiteral("007");
        f.value("Inv") = QStringLiteral("1 234");
        firmrules::fillEmpty(f.values);
        QCOMPARE(f.value("Cash"), QStringLiteral("0"));
        QCOMPARE(f.value("Toa"), QStringLiteral("0"));
        QCOMPARE(f.value("Ar"), QStringLiteral("007"));
        QVERIFY(firmrules::normalizeEntered(f.values));
        QCOMPARE(f.value("Ar"), QStringLiteral("7"));
        QCOMPARE(f.value("Inv"), QStringLiteral("1234"));
        f.value("OA") = QStringLiteral("1E+20");
        QVERIFY(!firmrules::normalizeEntered(f.values));
        // A computed box is never put into the entered form.
        f.value("Toa") = QStringLiteral("1.677722E+07");
        f.value("OA") = QStringLiteral("1");
        firmrules::normalizeEntered(f.values);
        QCOMPARE(f.value("Toa"), QStringLiteral("1.677722E+07"));
    }

    void comparisonArrayLayout_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("index");
        QTest::newRow("cash") << "Cash" << 4;
        QTest::newRow("total assets") << "Ta" << 12;
        QTest::newRow("operating revenue") << "OperatingRevenue" << 13;
        QTest::newRow("sales") << "Sales" << 14;
        QTest::newRow("after-tax profit") << "ProfitAfterTax" << 19;
        QTest::newRow("accounts payable") << "AccountsPayable" << 20;
        QTest::newRow("short-term paper") << "Paper" << 22;
        QTest::newRow("total liabilities") << "Tliab" << 29;
        QTest::newRow("equity") << "Equity1" << 33;
        QTest::newRow("current liabilities") << "CurrentLiabilities" << 36;
    }
    void comparisonArrayLayout() {
        QFETCH(QString, column);
        QFETCH(int, index);
        FirmStatement f = zeroFirm();
        f.firmName = QStringLiteral("O'Brien Ltd.");
        f.year = QStringLiteral("2010");
        f.naics = QStringLiteral("448140");
        f.value(column.toLatin1().constData()) = QStringLiteral("4242");
        const QStringList a = firmrules::comparisonValues(f, QStringLiteral("  Family clothing stores "));
        QCOMPARE(a.size(), 37);
        QCOMPARE(a[index], QStringLiteral("4242"));
        QCOMPARE(a[0], QStringLiteral("O'Brien Ltd."));
        QCOMPARE(a[1], QStringLiteral("2010"));
        QCOMPARE(a[2], QStringLiteral("448140"));
        QCOMPARE(a[3], QStringLiteral("Family clothing stores"));
        QVERIFY(a[21].isEmpty());
    }

    void reportRequestChecksInOrder_data() {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cash");
        QTest::addColumn<QString>("capital");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("year after 2011") << "2012"
                                         << "A"
                                         << "1"
                                         << "2" << 0 << "Invalid year.  Year must be between 2009 and 2011";
        QTest::newRow("year before 2009, French")
            << "2008"
            << "A"
            << "1"
            << "1" << 1 << "Année non valide.  L'année doit être centre 2009 et 2011";
        QTest::newRow("unbalanced before name")
            << "2011"
            << ""
            << "1"
            << "2" << 0 << "Total Assets is not equal Total Liabilities and Shareholders' Equity";
        QTest::newRow("empty name") << "2010"
                                    << ""
                                    << "5"
                                    << "5" << 0 << "Please enter an enterprise name";
        QTest::newRow("all zero") << "2009"
                                  << "A"
                                  << "0"
                                  << "0" << 1 << "Veuillez entrer les données de votre entreprise";
        QTest::newRow("prompt passes as a name") << "2011"
                                                 << "Enter an Enterprise Name Here"
                                                 << "5"
                                                 << "5" << 0 << "";
        QTest::newRow("totals equal beyond seven digits") << "2011"
                                                          << "A"
                                                          << "16777217"
                                                          << "16777216" << 0 << "";
    }
    void reportRequestChecksInOrder() {
        QFETCH(QString, year);
        QFETCH(QString, name);
        QFETCH(QString, cash);
        QFETCH(QString, capital);
        QFETCH(int, language);
        QFETCH(QString, message);
        FirmStatement f = zeroFirm();
        f.year = year;
        f.firmName = name;
        f.value("Cash") = cash;
        f.value("ShareC") = capital;
        firmrules::calculateSubTotals(f.values);
        const auto problem = firmrules::reportRequestProblem(f, language::fromFlag(language));
        QCOMPARE(problem.value_or(QString()), message);
    }
};

QTEST_GUILESS_MAIN(TestFirmStatement)
#include "test_firm_statement.moc"
