#include "report/RatioTable.h"

#include <array>

using namespace Qt::StringLiterals;

namespace ratios {

namespace {

using enum Formula;
constexpr Direction Up = Direction::HigherIsBetter;
constexpr Direction Down = Direction::LowerIsBetter;
constexpr Group Prof = Group::Profitability;
constexpr Group Eff = Group::Efficiency;
constexpr Group Liq = Group::LiquiditySolvency;

constexpr Base NoBase = Base::None;
constexpr Base Noa = Base::NetOperatingAssets;
constexpr Base Ce = Base::CapitalEmployed;
constexpr Base Eq = Base::Equity;

constexpr std::array<Ratio, 15> kRatios{{
    {NetProfitMargin, "MyNPM", "NPM", "NPM", true, Up, false, Prof, 106, NoBase},
    {PretaxProfitMargin, "MyPPM", "PPM", "PPM", true, Up, false, Prof, 108, NoBase},
    {OperatingProfitMargin, "MyOPM", "OPM", "OPM", true, Up, false, Prof, 110, NoBase},
    {GrossProfitMargin, "MyGPM", "GPM", "GPM", true, Up, false, Prof, 112, NoBase},
    {RevenueToNetOperatingAssets, "MyORTNOA", "ORTTNOA", "ORTNOA", true, Up, false, Prof, 114, Noa},
    {ReturnOnNetOperatingAssets, "MyRONOA", "RNOA", "RONOA", true, Up, false, Prof, 116, Noa},
    {PretaxProfitToAssets, "MyPPTA", "PPA", "PPA", true, Up, false, Prof, 118, NoBase},
    {ReturnOnCapitalEmployed, "MyROCE", "RCE", "RCE", true, Up, false, Prof, 120, Ce},
    {ReturnOnEquity, "MyROE", "RE", "RE", true, Up, true, Prof, 122, Eq},
    {ReceivableTurnover, "MyRT", "RT", "RT", false, Up, false, Eff, 126, NoBase},
    {InventoryTurnover, "MyIT", "IT", "IT", false, Up, false, Eff, 128, NoBase},
    {WorkingCapital, "MyWC", "WC", "WC", false, Up, false, Liq, 132, NoBase},
    {DebtToEquity, "MyDE", "DE", "DE", false, Down, true, Liq, 134, Eq},
    {LiabilitiesToAssets, "MyLTA", "LTA", "LTA", false, Down, false, Liq, 136, NoBase},
    {InterestCoverage, "MyIC", "IC", "IC", false, Up, false, Liq, 138, NoBase},
}};

constexpr std::array<GroupInfo, 3> kGroups{{{Prof, 104}, {Eff, 124}, {Liq, 130}}};

constexpr std::array<Variance, 25> kVariances{{
    {"VarianceCash", "Cash", "a11"},
    {"VarianceAR", "Ar", "a12"},
    {"VarianceInvent", "Inv", "a13"},
    {"VarianceCA", "CA", "a18"},
    {"VarianceOA", "OA", "a19"},
    {"VarianceTOA", "Toa", "totoa"},
    {"VarianceInvest", "Invest", "a14"},
    {"VariancePTFL", "Ptfl", "a151617"},
    {"VarianceTOTASS", "Ta", "totass"},
    {"VarianceAP", "AccountsPayable", "a22"},
    {"VarianceSTPAPER", "Paper", "a25200"},
    {"VarianceMTG", "Mtg", "a25500"},
    {"VarianceBonds", "Bonds", "a25400"},
    {"VarianceOLoans", "Ol", "a25180"},
    {"VarianceAOTA", "AmtsAffil", "a24"},
    {"VarianceOLiab", "OLiab", "a2329"},
    {"VarianceDefTax", "DefTax", "a27"},
    {"VarianceTL", "Tliab", "totliab"},
    {"VarianceEq", "Equity1", "totse"},
    {"VarianceSC", "ShareC", "a31"},
    {"VarianceRE", "RetEarn", "a38"},
    {"VarianceOS", "OtherSur", "a283334"},
    {"VarianceSETL", "TotLiabShareEq", "totlse"},
    {"VarianceCurrA", "CurrentAssets", "curass"},
    {"VarianceCurrL", "CurrentLiabilities", "curliab"},
}};

} // namespace

std::span<const Ratio> all() {
    return kRatios;
}
std::span<const GroupInfo> groups() {
    return kGroups;
}

int shownDecimals(const Ratio& r) {
    return r.percentage ? 1 : 2;
}

QString q1Column(const Ratio& r) {
    return QString::fromLatin1(r.quartileStem) + QStringLiteral("Q1");
}
QString q2Column(const Ratio& r) {
    return QString::fromLatin1(r.quartileStem) + QStringLiteral("Q2");
}
QString q3Column(const Ratio& r) {
    return QString::fromLatin1(r.quartileStem) + QStringLiteral("Q3");
}
QString betterColumn(const Ratio& r) {
    return QStringLiteral("Better") + QString::fromLatin1(r.positionStem);
}
QString worseColumn(const Ratio& r) {
    return QStringLiteral("Worse") + QString::fromLatin1(r.positionStem);
}

std::span<const Variance> variances() {
    return kVariances;
}

QStringList shareCopyOrder() {
    return {u"A11"_s,     u"A12"_s,    u"A13"_s,    u"A18"_s,     u"A19"_s,    u"TOTOA"_s,  u"A14"_s,
            u"A151617"_s, u"TOTASS"_s, u"A22"_s,    u"A25200"_s,  u"A25500"_s, u"A25400"_s, u"A25180"_s,
            u"A24"_s,     u"A2329"_s,  u"A27"_s,    u"TOTLIAB"_s, u"A31"_s,    u"A38"_s,    u"A283334"_s,
            u"TOTSE"_s,   u"TOTLSE"_s, u"CURASS"_s, u"CURLiab"_s};
}

QStringList industryFigureCopyOrder() {
    return {u"PPAQ2"_s,  u"LTAQ2"_s, u"NPMQ2"_s, u"PPMQ2"_s, u"OPMQ2"_s, u"GPMQ2"_s, u"ORTTNOAQ2"_s,
            u"RNOAQ2"_s, u"RCEQ2"_s, u"REQ2"_s,  u"RTQ2"_s,  u"ITQ2"_s,  u"WCQ2"_s,  u"DEQ2"_s,
            u"ICQ2"_s,   u"OPP"_s,   u"OPL"_s,   u"PPP"_s,   u"PPL"_s,   u"NPP"_s,   u"NPL"_s};
}

QStringList profitLossColumns() {
    return {u"opp"_s, u"opl"_s, u"ppp"_s, u"ppl"_s, u"npp"_s, u"npl"_s};
}

QStringList datasetColumns() {
    QStringList cols{u"NAICS"_s, u"IndustryDescription"_s, u"NumberOfFirms"_s};
    for (const Ratio& r : kRatios)
        cols << q1Column(r) << q2Column(r) << q3Column(r);
    cols << profitLossColumns();
    for (const Variance& v : kVariances)
        cols << QString::fromLatin1(v.industryColumn);
    return cols;
}

} // namespace ratios
