// Where Enter moves from each value box and the order Tab visits them in.

#include "firm/EntryOrder.h"
#include "firm/LineItems.h"

#include <QtTest>

namespace {
QString boxAt(int index) {
    return QLatin1String(lineitems::all()[index].textBox);
}
} // namespace

class TestEntryOrder : public QObject {
    Q_OBJECT
private slots:
    void enterPath_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("next");
        const char* path[][2] = {
            {"txtCash", "txtAr"},
            {"txtAr", "txtInv"},
            {"txtInv", "txtCA"},
            {"txtCA", "txtOA"},
            {"txtOA", "txtInvest"},
            {"txtToa", "txtInvest"},
            {"txtInvest", "txtPtfl"},
            {"txtPtfl", "txtAccountsPayable"},
            {"txtTa", "txtAccountsPayable"},
            {"txtAccountsPayable", "txtPaper"},
            {"txtPaper", "txtMtg"},
            {"txtMtg", "txtBonds"},
            {"txtBonds", "txtOl"},
            {"txtOl", "txtAmtsAffil"},
            {"txtAmtsAffil", "txtOLiab"},
            {"txtOLiab", "txtDefTax"},
            {"txtDefTax", "txtShareC"},
            {"txtTliab", "txtShareC"},
            {"txtShareC", "txtRetEarn"},
            {"txtRetEarn", "txtOtherSur"},
            {"txtOtherSur", "txtCurrentAssets"},
            {"txtEquity1", "txtCurrentAssets"},
            {"txtTotLiabShareEq", "txtCurrentAssets"},
            {"txtCurrentAssets", "txtCurrentLiabilities"},
            {"txtCurrentLiabilities", "txtOperatingRevenue"},
            {"txtOperatingRevenue", "txtSales"},
            {"txtSales", "txtGrossProfit"},
            {"txtGrossProfit", "txtOperatingProfit"},
            {"txtOperatingProfit", "txtInterestExpense"},
            {"txtInterestExpense", "txtPretaxProfit"},
            {"txtPretaxProfit", "txtProfitAfterTax"},
            {"txtProfitAfterTax", "txtAccountsPayable"},
        };
        for (const auto& step : path)
            QTest::newRow(step[0]) << QString::fromLatin1(step[0]) << QString::fromLatin1(step[1]);
    }
    void enterPath() {
        QFETCH(QString, box);
        QFETCH(QString, next);
        const auto index = entryorder::indexOfBox(box);
        QVERIFY(index.has_value());
        QCOMPARE(boxAt(entryorder::enterTarget(*index)), next);
    }

    void enterNeverStopsOnAComputedBox() {
        for (int i = 0; i < lineitems::kCount; ++i)
            QCOMPARE(lineitems::all()[entryorder::enterTarget(i)].kind, lineitems::Kind::Entered);
    }

    void enterPathVisitsEveryEnteredBoxOnce() {
        // From accounts payable the path is one cycle through the entered boxes after the assets.
        int at = *entryorder::indexOfBox(QStringLiteral("txtAccountsPayable"));
        QSet<int> seen;
        for (int step = 0; step < 20; ++step) {
            QVERIFY2(!seen.contains(at), qPrintable(boxAt(at)));
            seen.insert(at);
            at = entryorder::enterTarget(at);
        }
        QCOMPARE(boxAt(at), QStringLiteral("txtAccountsPayable"));
    }

    void unknownBox() { QVERIFY(!entryorder::indexOfBox(QStringLiteral("txtFirmName")).has_value()); }

    void tabOrder() {
        const QStringList expected{
            "txtCash",
            "txtAr",
            "txtInv",
            "txtCA",
            "txtOA",
            "txtToa",
            "txtInvest",
            "txtPtfl",
            "txtTa",
            "txtAccountsPayable",
            "txtPaper",
            "txtMtg",
            "txtBonds",
            "txtOl",
            "txtAmtsAffil",
            "txtOLiab",
            "txtDefTax",
            "txtTliab",
            "txtShareC",
            "txtRetEarn",
            "txtOtherSur",
            "txtEquity1",
            "txtTotLiabShareEq",
            "txtCurrentAssets",
            "txtCurrentLiabilities",
            "txtOperatingRevenue",
            "txtSales",
            "txtGrossProfit",
            "txtOperatingProfit",
            "txtInterestExpense",
            "txtPretaxProfit",
            "txtProfitAfterTax",
        };
        QStringList order;
        for (int i : entryorder::tabOrder())
            order << boxAt(i);
        QCOMPARE(order, expected);
    }
};

QTEST_GUILESS_MAIN(TestEntryOrder)
#include "test_entry_order.moc"
