#pragma once
// A small firm whose books balance (total assets 500,000), its statement values keyed by
// line item name, for the tests that compare, store or read a firm.

#include <QMap>
#include <QString>

inline QMap<QString, QString> exampleFirmValues() {
    return {{"Cash", "50000"},
            {"Ar", "80000"},
            {"Inv", "120000"},
            {"CA", "200000"},
            {"OA", "10000"},
            {"Invest", "20000"},
            {"Ptfl", "20000"},
            {"OperatingRevenue", "1000000"},
            {"Sales", "950000"},
            {"GrossProfit", "300000"},
            {"OperatingProfit", "60000"},
            {"InterestExpense", "10000"},
            {"PretaxProfit", "50000"},
            {"ProfitAfterTax", "40000"},
            {"AccountsPayable", "100000"},
            {"Paper", "10000"},
            {"Mtg", "100000"},
            {"Bonds", "0"},
            {"Ol", "40000"},
            {"AmtsAffil", "10000"},
            {"OLiab", "15000"},
            {"DefTax", "5000"},
            {"ShareC", "100000"},
            {"RetEarn", "110000"},
            {"OtherSur", "10000"},
            {"CurrentAssets", "260000"},
            {"CurrentLiabilities", "130000"}};
}
