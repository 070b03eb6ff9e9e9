#include "FigureModel.h"

#include "Random.h"
#include "report/RatioTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sampledata {

namespace {

// Asset lines in the order of the weights below.
enum Asset {
    Cash,
    Receivables,
    Inventory,
    Capital,
    OtherAssets,
    AffiliateInvestments,
    Portfolio,
    AssetCount
};
// Liability lines in the order of the weights below.
enum Liability {
    Payables,
    Paper,
    Mortgages,
    Bonds,
    Loans,
    OwingAffiliates,
    OtherLiabilities,
    DeferredTax,
    LiabilityCount
};

// A sector's typical small business (volume 3), Canada-wide, in 2011.
struct Profile {
    const char* name;
    double operatingMargin;                       // median, %
    double grossMargin;                           // median, %
    double turnover;                              // revenue / total assets, times
    double spread;                                // distance from median to quartile of the margins, % points
    double cyclical;                              // how hard the 2009 downturn hit
    double firms;                                 // Canada-wide firms in an industry of average size
    double largeShare;                            // firms of $25 million or more, per small firm
    std::array<double, AssetCount> assets;        // relative weights
    double liabilities;                           // % of total assets
    std::array<double, LiabilityCount> liability; // relative weights
};

// Capital-heavy sectors (utilities, real estate, lodging) carry large capital
// assets; trade carries inventory and turns it over fast on thin margins; services
// carry almost none; finance holds receivables and portfolio investments against
// deposits (other liabilities). Columns follow the fields of Profile; the asset and
// liability weights follow the Asset and Liability lines.
// clang-format off
constexpr Profile kProfiles[] = {
    {"agriculture",      8.0, 35.0, 0.55,  9.0, 0.4, 2500, 0.004, {6, 8, 14, 62, 6, 2, 2}, 52, {8, 0.2, 18, 0.2, 45, 18, 8, 2.6}},
    {"mining",           9.0, 45.0, 0.60, 14.0, 1.4,  260, 0.080, {10, 12, 4, 58, 8, 5, 3}, 50, {20, 0.5, 4, 4, 30, 25, 12, 4.5}},
    {"utilities",       12.0, 55.0, 0.45,  8.0, 0.3,  140, 0.150, {6, 9, 2, 72, 6, 3, 2}, 62, {10, 2, 8, 15, 35, 15, 10, 5}},
    {"construction",     6.5, 24.0, 1.90,  7.0, 0.9, 4500, 0.006, {17, 28, 10, 28, 9, 5, 3}, 58, {35, 0.2, 8, 0.2, 22, 22, 11, 1.6}},
    {"manufacturing",    5.5, 28.0, 1.60,  7.0, 1.2,  650, 0.040, {12, 22, 20, 30, 8, 5, 3}, 57, {30, 0.3, 6, 0.5, 30, 20, 11, 2.2}},
    {"wholesale",        3.8, 22.0, 2.30,  5.0, 0.9,  950, 0.030, {11, 30, 32, 12, 8, 5, 2}, 62, {40, 0.3, 3, 0.2, 25, 20, 10, 1.5}},
    {"retail",           3.0, 30.0, 2.60,  5.0, 0.6, 1800, 0.006, {15, 6, 42, 22, 9, 4, 2}, 63, {33, 0.1, 8, 0.1, 25, 24, 9, 0.8}},
    {"transportation",   6.0, 35.0, 1.70,  8.0, 0.9, 1500, 0.010, {13, 22, 2, 50, 7, 4, 2}, 60, {22, 0.2, 5, 0.3, 40, 21, 9, 2.5}},
    {"information",      7.0, 55.0, 1.30, 12.0, 0.7,  520, 0.030, {20, 25, 4, 22, 18, 7, 4}, 55, {30, 0.5, 4, 3, 25, 20, 15, 2.5}},
    {"finance",         18.0, 85.0, 0.35, 14.0, 1.0,  800, 0.060, {8, 35, 0.2, 4, 10, 8, 35}, 80, {4, 6, 2, 6, 18, 8, 54, 2}},
    {"realestate",      30.0, 60.0, 0.28, 18.0, 0.4, 3000, 0.008, {7, 4, 3, 72, 7, 5, 2}, 58, {3, 0.3, 58, 1, 14, 18, 4, 1.7}},
    {"rental",          12.0, 65.0, 0.70, 12.0, 0.6,  600, 0.010, {8, 12, 3, 65, 7, 3, 2}, 65, {12, 0.2, 6, 1, 48, 22, 8, 3}},
    {"professional",    10.0, 65.0, 2.00, 12.0, 0.5, 3000, 0.004, {30, 30, 2, 14, 12, 8, 4}, 45, {25, 0.1, 3, 0.1, 15, 35, 21, 0.8}},
    {"administrative",   6.5, 45.0, 2.40,  9.0, 0.6, 1500, 0.006, {22, 30, 3, 26, 11, 5, 3}, 55, {30, 0.1, 4, 0.2, 22, 30, 13, 0.7}},
    {"education",        7.0, 60.0, 2.00, 12.0, 0.3,  650, 0.003, {35, 12, 2, 33, 12, 4, 2}, 55, {25, 0.1, 8, 0.1, 20, 30, 16, 0.8}},
    {"health",          11.0, 70.0, 2.20, 12.0, 0.2, 3500, 0.002, {30, 12, 2, 35, 12, 6, 3}, 48, {20, 0.1, 10, 0.1, 20, 35, 14, 0.8}},
    {"arts",             5.0, 50.0, 1.20, 14.0, 0.6,  650, 0.004, {22, 8, 4, 50, 10, 4, 2}, 58, {18, 0.1, 15, 0.3, 25, 30, 11, 0.6}},
    {"accommodation",    9.0, 65.0, 0.60, 10.0, 0.7,  800, 0.005, {10, 3, 2, 75, 7, 2, 1}, 70, {10, 0.1, 45, 0.3, 22, 18, 4, 0.8}},
    {"foodservices",     5.0, 60.0, 2.80,  7.0, 0.5, 5000, 0.002, {18, 4, 5, 50, 15, 5, 3}, 70, {25, 0.1, 8, 0.1, 30, 28, 8, 0.6}},
    {"otherservices",    6.0, 55.0, 2.00,  9.0, 0.4, 2500, 0.002, {18, 12, 10, 45, 10, 3, 2}, 58, {22, 0.1, 10, 0.1, 27, 30, 10, 0.8}},
    {"management",      25.0, 80.0, 0.15, 20.0, 0.8, 4000, 0.020, {8, 5, 0.5, 12, 8, 45, 21.5}, 40, {5, 2, 6, 6, 25, 40, 14, 2}},
};
// clang-format on

// Share of the Canada-wide firms counted in each region.
struct Region {
    const char* code;
    double firmShare;
};
constexpr Region kRegions[] = {
    {"ALL", 1.0},   {"ATLANTIC", 0.062}, {"NS", 0.024}, {"NB", 0.019},           {"NL", 0.013},
    {"PE", 0.006},  {"QC", 0.225},       {"ON", 0.375}, {"PRAIRIES", 0.185},     {"MB", 0.033},
    {"SK", 0.035},  {"AB", 0.117},       {"BC", 0.145}, {"TERRITORIES", 0.0055}, {"NT", 0.0019},
    {"NU", 0.0011}, {"YT", 0.0025},
};

// A region publishes an industry only when it counts at least this many firms.
constexpr double kMinFirms = 5.0;

// Average rate on interest-bearing debt around 2011, in %.
constexpr double kInterestRate = 4.5;

const Profile& profileNamed(const QString& name) {
    for (const Profile& p : kProfiles)
        if (name == QLatin1String(p.name)) return p;
    throw std::runtime_error("unknown figure profile " + name.toStdString());
}

const Region& regionCoded(const char* code) {
    for (const Region& r : kRegions)
        if (std::string_view(code) == r.code) return r;
    throw std::runtime_error(std::string("unknown region ") + code);
}

std::string key(const QString& s) {
    return s.toStdString();
}

// The state from which one row's figures are drawn.
struct State {
    double operatingMargin, grossMargin, turnover, spread, cyclical, tax;
    std::array<double, AssetCount> assets;
    double liabilities;
    std::array<double, LiabilityCount> liability;
    double shareCapital, otherSurplus; // % of total assets
    double currentOther;               // part of other assets that is current
    double currentDebt;                // part of loans, affiliate and other liabilities due within a year
    double firms;                      // Canada-wide count of firms
};

// The industry's own character, common to every volume and region, then the
// volume's: large firms have thinner dispersion, more fixed and affiliated assets,
// and borrow through bonds and commercial paper.
State industryState(const Profile& p, const Industry& ind, int volume) {
    Stream s(seedOf("industry", key(ind.naics)));
    State st{};
    st.operatingMargin = p.operatingMargin * std::exp(0.30 * s.normal());
    st.grossMargin = std::clamp(p.grossMargin * std::exp(0.15 * s.normal()), 8.0, 97.0);
    st.turnover = p.turnover * std::exp(0.25 * s.normal());
    st.spread = p.spread * std::exp(0.15 * s.normal());
    st.cyclical = p.cyclical * s.between(0.7, 1.3);
    for (size_t i = 0; i < st.assets.size(); ++i)
        st.assets[i] = p.assets[i] * std::exp(0.35 * s.normal());
    st.liabilities = p.liabilities + 6.0 * s.normal();
    for (size_t i = 0; i < st.liability.size(); ++i)
        st.liability[i] = p.liability[i] * std::exp(0.30 * s.normal());
    st.firms = p.firms * std::exp(0.9 * s.normal());
    st.currentOther = s.between(0.2, 0.6);
    st.currentDebt = s.between(0.3, 0.6);
    const double largeShare = p.largeShare * std::exp(0.5 * s.normal());

    Stream v(seedOf("volume", key(ind.naics), std::to_string(volume)));
    switch (volume) {
    case 1:
        st.operatingMargin *= 1.1;
        st.turnover *= 0.8;
        st.spread *= 0.55;
        st.tax = 0.26;
        st.assets[Cash] *= 0.6;
        st.assets[Capital] *= 1.1;
        st.assets[AffiliateInvestments] *= 3.0;
        st.assets[Portfolio] *= 1.5;
        st.liabilities += 5.0;
        st.liability[Paper] = st.liability[Paper] * 3.0 + 0.5;
        st.liability[Bonds] = st.liability[Bonds] * 4.0 + 1.5;
        st.liability[Mortgages] *= 0.5;
        st.shareCapital = v.between(12.0, 25.0);
        st.otherSurplus = v.between(2.0, 8.0);
        st.firms *= largeShare;
        break;
    case 2:
        st.turnover *= 0.95;
        st.spread *= 0.75;
        st.tax = 0.20;
        st.assets[AffiliateInvestments] *= 1.8;
        st.assets[Portfolio] *= 1.2;
        st.liabilities += 2.0;
        st.liability[Paper] *= 1.5;
        st.liability[Bonds] = st.liability[Bonds] * 2.0 + 0.5;
        st.shareCapital = v.between(5.0, 12.0);
        st.otherSurplus = v.between(1.0, 4.0);
        st.firms *= std::min(4.0 * largeShare, 0.3);
        break;
    default:
        st.tax = 0.15;
        st.shareCapital = v.between(1.5, 7.0);
        st.otherSurplus = v.between(0.3, 2.0);
        break;
    }
    return st;
}

// How the economy moved the industry from year to year: 2009 was the trough.
State yearState(State st, const Industry& ind, int volume, int year) {
    Stream s(seedOf("year", key(ind.naics), std::to_string(volume), std::to_string(year)));
    const double downturn = year == 2009 ? 1.4 : year == 2010 ? 0.5 : 0.0;
    st.operatingMargin += -downturn * st.cyclical + 0.15 * st.spread * s.normal();
    st.grossMargin = std::clamp(st.grossMargin * std::exp(0.03 * s.normal()), 5.0, 98.0);
    st.turnover *= (1.0 - 0.05 * downturn * st.cyclical) * std::exp(0.05 * s.normal());
    for (double& a : st.assets)
        a *= std::exp(0.06 * s.normal());
    st.liabilities += 1.2 * s.normal() + 0.8 * downturn * st.cyclical;
    for (double& l : st.liability)
        l *= std::exp(0.06 * s.normal());
    st.firms *= (year == 2009 ? 0.97 : year == 2010 ? 0.985 : 1.0) * std::exp(0.02 * s.normal());
    return st;
}

// Expected count of the industry's firms in the region in 2011, before the year's noise.
double regionalFirms(const State& national2011, const Industry& ind, const DatasetOption& option) {
    const Region& r = regionCoded(option.region);
    if (r.firmShare >= 1.0) return national2011.firms;
    Stream s(seedOf("presence", key(ind.naics), std::to_string(option.volume), option.region));
    return national2011.firms * r.firmShare * std::exp(0.3 * s.normal());
}

// Split `total` tenths in proportion to the weights, the largest line absorbing the
// rounding so that the lines add up exactly.
template <size_t N> std::array<int, N> apportion(const std::array<double, N>& weights, int total) {
    double sum = 0.0;
    for (double w : weights)
        sum += w;
    std::array<int, N> parts{};
    int assigned = 0;
    size_t largest = 0;
    for (size_t i = 0; i < N; ++i) {
        parts[i] = int(std::lround(weights[i] / sum * total));
        assigned += parts[i];
        if (weights[i] > weights[largest]) largest = i;
    }
    parts[largest] += total - assigned;
    return parts;
}

// Stores a quartile triple given from the worst boundary to the best. Boundaries
// become whole units of 10^-decimals, strictly ordered in the ratio's direction, and
// never exactly zero: the program reads a zero boundary as a missing one.
std::array<double, 3> storeQuartiles(double worst, double median, double best, int decimals,
                                     ratios::Direction direction) {
    const double scale = decimals == 1 ? 10.0 : 100.0;
    const bool ascending = direction == ratios::Direction::HigherIsBetter;
    // Work from the lowest value up.
    std::array<double, 3> raw =
        ascending ? std::array<double, 3>{worst, median, best} : std::array<double, 3>{best, median, worst};
    std::array<long long, 3> k{};
    for (size_t i = 0; i < 3; ++i) {
        k[i] = std::llround(raw[i] * scale);
        if (k[i] == 0) k[i] = raw[i] < 0 ? -1 : 1;
        if (i > 0 && k[i] <= k[i - 1]) k[i] = k[i - 1] + 1;
        if (k[i] == 0) k[i] = 1;
    }
    std::array<double, 3> out{double(k[0]) / scale, double(k[1]) / scale, double(k[2]) / scale};
    if (!ascending) std::swap(out[0], out[2]);
    return out; // Q1, Q2, Q3
}

// Share of firms (in %) whose margin is negative, read off the margin's quartiles as
// a piecewise-linear distribution with tails half again as wide as the neighbouring
// quartile gap.
double lossShare(const std::array<double, 3>& q) {
    const double lo = q[0] - 1.5 * (q[1] - q[0]);
    const double hi = q[2] + 1.5 * (q[2] - q[1]);
    const std::array<double, 5> x{lo, q[0], q[1], q[2], hi};
    const std::array<double, 5> p{0.0, 25.0, 50.0, 75.0, 100.0};
    if (0.0 <= lo) return 0.0;
    for (size_t i = 1; i < x.size(); ++i)
        if (0.0 < x[i]) return p[i - 1] + (p[i] - p[i - 1]) * (0.0 - x[i - 1]) / (x[i] - x[i - 1]);
    return 100.0;
}

} // namespace

bool isKnownProfile(const QString& name) {
    for (const Profile& p : kProfiles)
        if (name == QLatin1String(p.name)) return true;
    return false;
}

bool isKnownRegion(const QString& code) {
    for (const Region& r : kRegions)
        if (code == QLatin1String(r.code)) return true;
    return false;
}

bool inDataset(const DatasetOption& option, const Industry& industry) {
    if (industry.finance && option.volume != 1) return false;
    const State national = yearState(industryState(profileNamed(industry.profile), industry, option.volume),
                                     industry, option.volume, datasets::kCurrentYear);
    return regionalFirms(national, industry, option) >= kMinFirms;
}

DatasetRow figures(const DatasetOption& option, const Industry& industry, int year) {
    const Profile& profile = profileNamed(industry.profile);
    const State base = industryState(profile, industry, option.volume);
    const State national2011 = yearState(base, industry, option.volume, datasets::kCurrentYear);
    State st = yearState(base, industry, option.volume, year);

    const Region& region = regionCoded(option.region);
    const std::string yearKey = std::to_string(year);
    const std::string volumeKey = std::to_string(option.volume);
    Stream row(seedOf("row", key(industry.naics), volumeKey, option.region, yearKey));

    double firms = st.firms;
    if (region.firmShare < 1.0) {
        firms = regionalFirms(national2011, industry, option) * (st.firms / national2011.firms) *
                std::exp(0.05 * row.normal());
        // A region's economy leans its own way in each sector, the same every year...
        Stream lean(seedOf("lean", option.region, key(industry.profile)));
        const double marginLean = 0.7 * lean.normal();
        const double leverageLean = 2.0 * lean.normal();
        const double turnoverLean = std::exp(0.05 * lean.normal());
        // ...and a small sample strays further from the Canada-wide figures.
        const double noise = std::clamp(0.4 + 3.0 / std::sqrt(std::max(firms, 1.0)), 0.4, 1.6);
        st.operatingMargin += marginLean + 0.25 * st.spread * noise * row.normal();
        st.grossMargin = std::clamp(st.grossMargin * std::exp(0.05 * noise * row.normal()), 5.0, 98.0);
        st.turnover *= turnoverLean * std::exp(0.08 * noise * row.normal());
        st.spread *= std::exp(0.1 * noise * row.normal());
        for (double& a : st.assets)
            a *= std::exp(0.12 * noise * row.normal());
        st.liabilities += leverageLean + 2.5 * noise * row.normal();
        for (double& l : st.liability)
            l *= std::exp(0.12 * noise * row.normal());
    }

    DatasetRow out;
    out.firms = std::max(3, int(std::lround(firms)));
    QHash<QString, double>& v = out.values;

    // Balance-sheet structure, in tenths of a % of total assets.
    const auto a = apportion(st.assets, 1000);
    const int totoa = a[Cash] + a[Receivables] + a[Inventory] + a[Capital] + a[OtherAssets];
    const int totliab = std::clamp(int(std::lround(st.liabilities * 10.0)), 150, 980);
    const auto l = apportion(st.liability, totliab);
    const int totse = 1000 - totliab;
    const int shareCapital = int(std::lround(st.shareCapital * 10.0));
    const int otherSurplus = int(std::lround(st.otherSurplus * 10.0));
    const int retained = totse - shareCapital - otherSurplus; // negative where equity is thin
    const int curass =
        a[Cash] + a[Receivables] + a[Inventory] + int(std::lround(st.currentOther * a[OtherAssets]));
    const int curliab = std::max(
        1, l[Payables] + l[Paper] + int(std::lround(0.1 * l[Mortgages])) +
               int(std::lround(st.currentDebt * (l[Loans] + l[OwingAffiliates] + l[OtherLiabilities]))));
    const std::pair<const char*, int> shares[] = {
        {"a11", a[Cash]},
        {"a12", a[Receivables]},
        {"a13", a[Inventory]},
        {"a18", a[Capital]},
        {"a19", a[OtherAssets]},
        {"totoa", totoa},
        {"a14", a[AffiliateInvestments]},
        {"a151617", a[Portfolio]},
        {"totass", 1000},
        {"a22", l[Payables]},
        {"a25200", l[Paper]},
        {"a25500", l[Mortgages]},
        {"a25400", l[Bonds]},
        {"a25180", l[Loans]},
        {"a24", l[OwingAffiliates]},
        {"a2329", l[OtherLiabilities]},
        {"a27", l[DeferredTax]},
        {"totliab", totliab},
        {"totse", totse},
        {"a31", shareCapital},
        {"a38", retained},
        {"a283334", otherSurplus},
        {"totlse", 1000},
        {"curass", curass},
        {"curliab", curliab},
    };
    for (const auto& [column, tenths] : shares)
        v.insert(QLatin1String(column), double(tenths) / 10.0);

    // Ratio medians, kept consistent with the structure above.
    const double debt = (l[Paper] + l[Mortgages] + l[Bonds] + l[Loans] + l[OwingAffiliates]) / 1000.0;
    const double equity = totse / 1000.0;
    const double opm = st.operatingMargin;
    const double interest = kInterestRate * debt / st.turnover;   // % of revenue
    const double otherIncome = 0.3 + 1.5 * a[Portfolio] / 1000.0; // % of revenue
    const double ppm = opm - interest + otherIncome;
    const double npm = ppm > 0 ? ppm * (1.0 - st.tax) : ppm;
    const double netOperatingAssets = std::max((totoa - l[Payables] - l[OtherLiabilities]) / 1000.0, 0.15);
    const double ortnoa = st.turnover / netOperatingAssets * 100.0;
    const double capitalEmployed =
        std::max(equity + (l[Mortgages] + l[Bonds] + l[Loans] + l[OwingAffiliates]) / 1000.0, 0.2);
    double assetWeightSum = 0.0;
    for (double w : st.assets)
        assetWeightSum += w;
    const double inventoryShare = std::max(st.assets[Inventory] / assetWeightSum, 0.002);

    auto jitter = [&row](double x) { return x * std::exp(0.05 * row.normal()); };
    auto additive = [&row](double median, double spread) {
        return std::array<double, 3>{median - spread * row.between(1.1, 1.4), median,
                                     median + spread * row.between(0.9, 1.2)};
    };
    auto multiplicative = [&row](double median, double lo, double hi) {
        const double f = row.between(lo, hi);
        return std::array<double, 3>{median / f, median, median * f};
    };

    std::array<double, 3> opmQ{}, ppmQ{}, npmQ{};
    for (const ratios::Ratio& r : ratios::all()) {
        std::array<double, 3> q{}; // worst, median, best
        switch (r.formula) {
        case ratios::Formula::OperatingProfitMargin:
            q = additive(opm, st.spread);
            break;
        case ratios::Formula::PretaxProfitMargin:
            q = additive(ppm, 0.95 * st.spread);
            break;
        case ratios::Formula::NetProfitMargin:
            q = additive(npm, 0.85 * st.spread);
            break;
        case ratios::Formula::GrossProfitMargin: {
            const double s = std::clamp(0.35 * st.grossMargin, 4.0, 25.0);
            q = additive(st.grossMargin, s);
            q[0] = std::max(q[0], 1.0);
            q[2] = std::min(q[2], 99.5);
            break;
        }
        case ratios::Formula::RevenueToNetOperatingAssets:
            q = multiplicative(jitter(ortnoa), 1.7, 2.1);
            break;
        case ratios::Formula::ReturnOnNetOperatingAssets: {
            const double m = opm * ortnoa / 100.0;
            q = additive(m, std::max(0.9 * std::abs(m), 8.0));
            break;
        }
        case ratios::Formula::PretaxProfitToAssets: {
            const double m = ppm * st.turnover;
            q = additive(m, std::max(0.9 * std::abs(m), 5.0));
            break;
        }
        case ratios::Formula::ReturnOnCapitalEmployed: {
            const double m = opm * st.turnover / capitalEmployed;
            q = additive(m, std::max(0.9 * std::abs(m), 6.0));
            break;
        }
        case ratios::Formula::ReturnOnEquity: {
            const double m = std::clamp(npm * st.turnover / std::max(equity, 0.1), -20.0, 60.0);
            q = additive(m, std::max(0.9 * std::abs(m), 10.0));
            break;
        }
        case ratios::Formula::ReceivableTurnover: {
            const double m = std::clamp(st.turnover / std::max(a[Receivables] / 1000.0, 0.004), 2.5, 120.0);
            q = multiplicative(jitter(m), 1.6, 2.1);
            break;
        }
        case ratios::Formula::InventoryTurnover: {
            const double m =
                std::clamp(st.turnover * (1.0 - st.grossMargin / 100.0) / inventoryShare, 1.5, 300.0);
            q = multiplicative(jitter(m), 1.6, 2.1);
            break;
        }
        case ratios::Formula::WorkingCapital:
            q = multiplicative(jitter(std::clamp(double(curass) / curliab, 0.4, 6.0)), 1.45, 1.75);
            break;
        case ratios::Formula::DebtToEquity: {
            const double m = jitter(std::clamp(debt / std::max(equity, 0.03), 0.05, 8.0));
            const double f = row.between(2.0, 2.8);
            q = {m * f, m, m / f};
            break;
        }
        case ratios::Formula::LiabilitiesToAssets: {
            const double m = std::clamp(jitter(totliab / 1000.0), 0.2, 0.97);
            const double d = row.between(0.12, 0.2);
            q = {std::min(m + d, 0.99), m, std::max(m - 1.2 * d, 0.05)};
            break;
        }
        case ratios::Formula::InterestCoverage: {
            const double m =
                opm > 0
                    ? std::clamp(opm * st.turnover / 100.0 / (kInterestRate / 100.0 * std::max(debt, 0.02)),
                                 0.8, 60.0)
                    : 0.8;
            q = multiplicative(jitter(m), 2.2, 3.0);
            break;
        }
        }
        const auto stored = storeQuartiles(q[0], q[1], q[2], r.percentage ? 1 : 2, r.direction);
        v.insert(ratios::q1Column(r), stored[0]);
        v.insert(ratios::q2Column(r), stored[1]);
        v.insert(ratios::q3Column(r), stored[2]);
        if (r.formula == ratios::Formula::OperatingProfitMargin) opmQ = stored;
        if (r.formula == ratios::Formula::PretaxProfitMargin) ppmQ = stored;
        if (r.formula == ratios::Formula::NetProfitMargin) npmQ = stored;
    }

    // Shares of firms with a profit and with a loss, each pair adding up to 100. Tax
    // does not turn a pretax profit into a loss, so net losses are never rarer than
    // pretax ones.
    const double drift = 1.2 * row.normal();
    auto tenths = [drift](double loss) {
        return int(std::lround(std::clamp(loss + drift, 2.0, 95.0) * 10.0));
    };
    const int operatingLoss = tenths(lossShare(opmQ));
    const int pretaxLoss = tenths(lossShare(ppmQ));
    const int netLoss = std::max(pretaxLoss, tenths(lossShare(npmQ)));
    const std::pair<const char*, int> losses[] = {{"op", operatingLoss}, {"pp", pretaxLoss}, {"np", netLoss}};
    for (const auto& [stem, loss] : losses) {
        v.insert(QLatin1String(stem) + QLatin1Char('l'), loss / 10.0);
        v.insert(QLatin1String(stem) + QLatin1Char('p'), (1000 - loss) / 10.0);
    }
    return out;
}

} // namespace sampledata
