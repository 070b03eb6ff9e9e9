#include "report/Reading.h"

#include "report/RatioTable.h"
#include "report/ReadingTexts.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace reading {

namespace {

using readingtexts::fill;
using Values = QHash<QString, QString>;

QString number(double value, int decimals, int language) {
    const QLocale locale = language != 0 ? QLocale(QLocale::French, QLocale::Canada)
                                         : QLocale(QLocale::English, QLocale::Canada);
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0.0) rounded = 0.0;
    QString text = locale.toString(std::abs(rounded), 'f', decimals);
    if (rounded < 0) text.prepend(QChar(0x2212));
    return text;
}

// A gap is never written as zero: a gap too small for the usual decimals gets more.
int decimalsFor(double gap, int decimals) {
    while (decimals < 4 && std::round(std::abs(gap) * std::pow(10.0, decimals)) == 0)
        ++decimals;
    return decimals;
}

QString valueText(const ratios::Ratio& r, double value, int language) {
    return r.percentage ? percent(value, language) : quotient(value, language);
}

QString gapText(const ratios::Ratio& r, double gap, int language) {
    if (r.percentage) return points(gap, language);
    return number(std::abs(gap), decimalsFor(gap, 2), language);
}

QString standingText(const standing::RatioStanding& s, int language) {
    if (s.onBoundary) return fill(QStringLiteral("standing.onQ%1").arg(s.onBoundary), language);
    if (s.lowest == s.highest) return fill(QStringLiteral("standing.%1").arg(s.lowest), language);
    return fill(QStringLiteral("standing.%1-%2").arg(s.lowest).arg(s.highest), language);
}

QString ratioSentence(const ratios::Ratio& r, const standing::RatioStanding& s, int language) {
    const QString subject = readingtexts::ratioSubject(r.quartileStem, language);
    Values v{{QStringLiteral("Subject"), readingtexts::upperFirst(subject)},
             {QStringLiteral("subject"), subject},
             {QStringLiteral("value"), valueText(r, s.value, language)}};
    switch (s.kind) {
    case standing::Kind::NegativeEquity:
        return fill(QStringLiteral("ratio.negativeEquity"), language, v);
    case standing::Kind::ZeroDenominator:
        v.insert(QStringLiteral("zero"), readingtexts::denominatorZero(r.quartileStem, language));
        return fill(QStringLiteral("ratio.zeroDenominator"), language, v);
    case standing::Kind::NoIndustryData:
        return fill(QStringLiteral("ratio.noData"), language, v);
    case standing::Kind::Ranked:
        break;
    }
    v.insert(QStringLiteral("better"),
             fill(r.direction == ratios::Direction::HigherIsBetter ? QStringLiteral("better.higher")
                                                                   : QStringLiteral("better.lower"),
                  language));
    v.insert(QStringLiteral("standing"), standingText(s, language));
    QString sentence;
    if (!s.q2) {
        sentence = fill(QStringLiteral("ratio.noMedian"), language, v);
    } else {
        v.insert(QStringLiteral("median"), valueText(r, *s.q2, language));
        v.insert(QStringLiteral("gap"), gapText(r, s.value - *s.q2, language));
        const double gap = s.value - *s.q2;
        const QString key = standing::sameFigure(s.value, *s.q2) ? QStringLiteral("ratio.atMedian")
                            : gap > 0                            ? QStringLiteral("ratio.above")
                                                                 : QStringLiteral("ratio.below");
        sentence = fill(key, language, v);
    }
    if (s.numeratorChange) {
        const bool higher = *s.numeratorChange > 0;
        sentence +=
            fill(QStringLiteral("ratio.target"), language,
                 {{QStringLiteral("holding"), readingtexts::denominatorHolding(r.quartileStem, language)},
                  {QStringLiteral("change"),
                   readingtexts::numeratorChange(r.quartileStem, higher, language,
                                                 dollars(std::abs(*s.numeratorChange), language))}});
    }
    return sentence;
}

int groupIndex(ratios::Group g) {
    switch (g) {
    case ratios::Group::Profitability:
        return 0;
    case ratios::Group::Efficiency:
        return 1;
    case ratios::Group::LiquiditySolvency:
        return 2;
    }
    return 0;
}

QString summaryOf(const std::array<standing::RatioStanding, 15>& all, int language) {
    QStringList strengths, concerns, unranked;
    const auto table = ratios::all();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const QString name = readingtexts::ratioName(table[i].quartileStem, language);
        if (all[i].kind != standing::Kind::Ranked)
            unranked << name;
        else if (all[i].lowest == 3)
            strengths << name;
        else if (all[i].highest == 0)
            concerns << name;
    }
    const auto list = [language](const QStringList& names) {
        return Values{{QStringLiteral("list"), readingtexts::joinList(names, language)}};
    };
    QStringList out;
    out << (strengths.isEmpty() ? fill(QStringLiteral("summary.noStrengths"), language)
                                : fill(QStringLiteral("summary.strengths"), language, list(strengths)));
    out << (concerns.isEmpty() ? fill(QStringLiteral("summary.noConcerns"), language)
                               : fill(QStringLiteral("summary.concerns"), language, list(concerns)));
    if (!unranked.isEmpty()) out << fill(QStringLiteral("summary.unranked"), language, list(unranked));
    return out.join(u' ');
}

bool isSubtotal(const char* lineItem) {
    for (const char* s : {"Toa", "Ta", "Tliab", "Equity1", "TotLiabShareEq"})
        if (qstrcmp(lineItem, s) == 0) return true;
    return false;
}

std::optional<double> numberOf(const QVariant& v) {
    if (v.isNull()) return std::nullopt;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok && std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
}

QString balanceOf(const Lookup& comparison, int language) {
    struct Item {
        const ratios::Variance* v;
        double firm, industry, difference;
    };
    std::vector<Item> items;
    // The entered items only: a subtotal repeats the items it adds up.
    for (const ratios::Variance& v : ratios::variances()) {
        if (isSubtotal(v.lineItem)) continue;
        const std::optional<double> industry = numberOf(comparison(QLatin1String(v.industryColumn)));
        const std::optional<double> firm =
            numberOf(comparison(QStringLiteral("My") + QLatin1String(v.lineItem)));
        const std::optional<double> difference = numberOf(comparison(QLatin1String(v.column)));
        if (!industry || !firm || !difference) continue;
        items.push_back({&v, *firm, *industry, *difference});
    }
    if (items.empty()) return fill(QStringLiteral("balance.none"), language);
    // The largest differences first; among equal ones, the order of the balance sheet.
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return std::abs(a.difference) > std::abs(b.difference);
    });
    QStringList out{fill(QStringLiteral("balance.lead"), language)};
    int written = 0;
    for (const Item& item : items) {
        if (written == 3) break;
        if (std::round(std::abs(item.difference) * 10) == 0) continue; // no difference at one decimal
        const QString name = readingtexts::itemName(QLatin1String(item.v->lineItem), language);
        out << fill(item.difference > 0 ? QStringLiteral("balance.more") : QStringLiteral("balance.less"),
                    language,
                    {{QStringLiteral("Item"), readingtexts::upperFirst(name)},
                     {QStringLiteral("firm"), percent(item.firm, language)},
                     {QStringLiteral("industry"), percent(item.industry, language)},
                     {QStringLiteral("gap"), points(item.difference, language)}});
        ++written;
    }
    if (written == 0) return fill(QStringLiteral("balance.same"), language);
    return out.join(u' ');
}

} // namespace

QString percent(double value, int language) {
    return number(value, 1, language) + (language != 0 ? QStringLiteral("\u00a0%") : QStringLiteral("%"));
}

QString quotient(double value, int language) {
    return number(value, 2, language);
}

QString dollars(double amount, int language) {
    return language != 0 ? number(amount, 0, language) + QStringLiteral("\u00a0$")
                         : (amount < 0 ? QString(QChar(0x2212)) : QString()) + u'$' +
                               number(std::abs(amount), 0, language);
}

QString points(double gap, int language) {
    const int decimals = decimalsFor(gap, 1);
    const double rounded = std::round(std::abs(gap) * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
    // French counts a point as one below two; English only exactly one.
    const bool one = language != 0 ? rounded < 2 : rounded == 1.0;
    return fill(one ? QStringLiteral("gap.point") : QStringLiteral("gap.points"), language,
                {{QStringLiteral("n"), number(std::abs(gap), decimals, language)}});
}

Reading compose(const Lookup& comparison, const Lookup& industry, int language) {
    Reading r;
    const ratiocalc::FirmNumbers firm = standing::firmFromStatement(comparison);
    r.ratios = standing::assess(firm, industry);
    std::array<QStringList, 3> groups;
    const auto table = ratios::all();
    for (std::size_t i = 0; i < table.size(); ++i)
        groups[static_cast<std::size_t>(groupIndex(table[i].group))]
            << ratioSentence(table[i], r.ratios[i], language);
    for (std::size_t g = 0; g < 3; ++g)
        r.groups[g] = groups[g].join(u' ');
    r.groupRatios = groups;
    r.summary = summaryOf(r.ratios, language);
    r.balance = balanceOf(comparison, language);
    return r;
}

QVariantMap tableRow(const Reading& r, int language) {
    QVariantMap row;
    row.insert(QStringLiteral("Heading"), fill(QStringLiteral("section.heading"), language));
    row.insert(QStringLiteral("Summary"), r.summary);
    row.insert(QStringLiteral("LeadSummary"), fill(QStringLiteral("section.summary"), language));
    const char* groups[] = {"Profitability", "Efficiency", "Liquidity"};
    for (int g = 0; g < 3; ++g) {
        // In print each ratio starts a line of its own, so that a reader finds it at a glance.
        row.insert(QLatin1String(groups[g]),
                   r.groupRatios[static_cast<std::size_t>(g)].join(QChar::LineSeparator));
        row.insert(QStringLiteral("Lead") + QLatin1String(groups[g]),
                   readingtexts::groupName(g, language) + u'.');
    }
    row.insert(QStringLiteral("Balance"), r.balance);
    row.insert(QStringLiteral("LeadBalance"), fill(QStringLiteral("section.balance"), language));
    return row;
}

} // namespace reading
