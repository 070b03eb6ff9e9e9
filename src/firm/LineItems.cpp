#include "firm/LineItems.h"

#include <array>
#include <stdexcept>

namespace lineitems {

namespace {

constexpr Kind E = Kind::Entered;
constexpr Kind C = Kind::Computed;
constexpr Section A = Section::Assets;
constexpr Section I = Section::Income;
constexpr Section L = Section::LiabilitiesEquity;
constexpr Section T = Section::CurrentTotals;

constexpr std::array<LineItem, kCount> kItems{{
    {"Cash", "txtCash", "lblCash", 152, E, A, "txtAr"},
    {"Ar", "txtAr", "lblReceivables", 154, E, A, "txtInv"},
    {"Inv", "txtInv", "lblInventory", 156, E, A, "txtCA"},
    {"CA", "txtCA", "lblCapitalAssets", 158, E, A, "txtOA"},
    {"OA", "txtOA", "lblOtherAssets", 160, E, A, "txtInvest"},
    {"Toa", "txtToa", "lblTotalOA", 162, C, A, "txtInvest"},
    {"Invest", "txtInvest", "lblInvestments", 164, E, A, "txtPtfl"},
    {"Ptfl", "txtPtfl", "lblPortfolio", 166, E, A, "txtAccountsPayable"},
    {"Ta", "txtTa", "lblTotalAssets", 168, C, A, "txtAccountsPayable"},
    {"OperatingRevenue", "txtOperatingRevenue", "lblOperatingRevenue", 254, E, I, "txtSales"},
    {"Sales", "txtSales", "lblRevenue", 256, E, I, "txtGrossProfit"},
    {"GrossProfit", "txtGrossProfit", "lblGrossProfit", 258, E, I, "txtOperatingProfit"},
    {"OperatingProfit", "txtOperatingProfit", "lblOperatingProfit", 260, E, I, "txtInterestExpense"},
    {"InterestExpense", "txtInterestExpense", "lblInterestExpense", 262, E, I, "txtPretaxProfit"},
    {"PretaxProfit", "txtPretaxProfit", "lblPretaxProfit", 264, E, I, "txtProfitAfterTax"},
    {"ProfitAfterTax", "txtProfitAfterTax", "lblAftertaxProfit", 266, E, I, "txtAccountsPayable"},
    {"AccountsPayable", "txtAccountsPayable", "lblAccountPayable", 172, E, L, "txtPaper"},
    {"Paper", "txtPaper", "lblShortterm", 176, E, L, "txtMtg"},
    {"Mtg", "txtMtg", "lblMortgages", 178, E, L, "txtBonds"},
    {"Bonds", "txtBonds", "lblBonds", 180, E, L, "txtOl"},
    {"Ol", "txtOl", "lblOtherLoans", 182, E, L, "txtAmtsAffil"},
    {"AmtsAffil", "txtAmtsAffil", "lblAffiliate", 184, E, L, "txtOLiab"},
    {"OLiab", "txtOLiab", "lblOtherLiabilities", 186, E, L, "txtDefTax"},
    {"DefTax", "txtDefTax", "lblDeferredTax", 188, E, L, "txtShareC"},
    {"Tliab", "txtTliab", "lblLiabilities", 190, C, L, "txtShareC"},
    {"ShareC", "txtShareC", "lblShareCapital", 192, E, L, "txtRetEarn"},
    {"RetEarn", "txtRetEarn", "lblRetainedEarnings", 194, E, L, "txtOtherSur"},
    {"OtherSur", "txtOtherSur", "lblOther", 196, E, L, "txtCurrentAssets"},
    {"Equity1", "txtEquity1", "lblEquity", 198, C, L, "txtCurrentAssets"},
    {"TotLiabShareEq", "txtTotLiabShareEq", "lblTotal", 200, C, L, "txtCurrentAssets"},
    {"CurrentAssets", "txtCurrentAssets", "lblCurrentAssets", 202, E, T, "txtCurrentLiabilities"},
    {"CurrentLiabilities", "txtCurrentLiabilities", "lblCurrentLiabilities", 204, E, T,
     "txtOperatingRevenue"},
}};

} // namespace

std::span<const LineItem> all() {
    return kItems;
}

std::optional<int> indexOf(const QString& column) {
    for (int i = 0; i < kCount; ++i)
        if (column.compare(QLatin1String(kItems[i].column), Qt::CaseInsensitive) == 0) return i;
    return std::nullopt;
}

const LineItem& byColumn(const char* column) {
    const auto i = indexOf(QLatin1String(column));
    if (!i) throw std::logic_error(std::string("unknown line item ") + column);
    return kItems[*i];
}

} // namespace lineitems
