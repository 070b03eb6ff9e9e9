#include "report/Reading.h"

#include "report/RatioTable.h"
#include "report/ReadingTexts.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace reading {

namespace {

using readingtexts::fill;
using Values = QHash<QString, QString>;

QString number(double value, int decimals, Language language) {
    double rounded = standing::shown(value, decimals);
    QString text = language::locale(language).toString(std::abs(rounded), 'f', decimals);
    if (rounded < 0) text.prepend(QChar(0x2212));
    return text;
}

// A gap is never written as zero: a gap too small for the usual decimals gets more.
int decimalsFor(double gap, int decimals) {
    while (decimals < 4 && std::round(std::abs(gap) * std::pow(10.0, decimals)) == 0)
        ++decimals;
    return decimals;
}

QString standingText(const standing::RatioStanding& s, Language language) {
    if (s.onBoundary) return fill(QStringLiteral("standing.onQ%1").arg(s.onBoundary), language);
    if (s.lowest == s.highest) return fill(QStringLiteral("standing.%1").arg(s.lowest), language);
    return fill(QStringLiteral("standing.%1-%2").arg(s.lowest).arg(s.highest), language);
}

bool notMeaningful(const standing::RatioStanding& s) {
    return s.kind == standing::Kind::BaseNotPositive || s.kind == standing::Kind::ZeroDenominator;
}

// How far below the median a ratio is, in its better direction and relative to the median,
// so that the ratios furthest behind come first.
double shortfall(const ratios::Ratio& r, const standing::RatioStanding& s) {
    const double gap = r.direction == ratios::Direction::HigherIsBetter ? *s.q2 - s.value : s.value - *s.q2;
    return gap / std::abs(*s.q2);
}

QStringList lookFirstOf(const Reading& r, Language language) {
    std::vector<std::size_t> behind;
    const auto table = ratios::all();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (r.ratios[i].kind == standing::Kind::Ranked && r.ratios[i].vsMedian == -1) behind.push_back(i);
    if (behind.empty()) return {fill(QStringLiteral("look.none"), language)};
    // The bottom quarter first, then the furthest behind; among equals, the order of the tables.
    std::stable_sort(behind.begin(), behind.end(), [&](std::size_t a, std::size_t b) {
        const bool bottomA = r.ratios[a].highest == 0, bottomB = r.ratios[b].highest == 0;
        if (bottomA != bottomB) return bottomA;
        return shortfall(table[a], r.ratios[a]) > shortfall(table[b], r.ratios[b]);
    });
    QStringList lines;
    for (std::size_t k = 0; k < behind.size() && k < 3; ++k) {
        const std::size_t i = behind[k];
        const standing::RatioStanding& s = r.ratios[i];
        Values v{{QStringLiteral("Ratio"), readingtexts::ratioName(table[i], language)},
                 {QStringLiteral("standing"), r.standings[i]}};
        if (!s.numeratorChange) {
            lines << fill(QStringLiteral("look.lineNoAmount"), language, v);
            continue;
        }
        v.insert(QStringLiteral("change"),
                 readingtexts::numeratorChange(table[i], *s.numeratorChange > 0, language,
                                               dollars(std::abs(*s.numeratorChange), language)));
        v.insert(QStringLiteral("holding"), readingtexts::denominatorHolding(table[i], language));
        lines << fill(QStringLiteral("look.line"), language, v);
    }
    if (behind.size() > 3)
        lines << fill(QStringLiteral("look.more"), language,
                      {{QStringLiteral("ratios"),
                        readingtexts::fillCount(QStringLiteral("count.ratios"),
                                                static_cast<long long>(behind.size() - 3), language)}});
    return lines;
}

QString strengthsOf(const Reading& r, Language language) {
    QStringList names;
    const auto table = ratios::all();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (r.ratios[i].kind == standing::Kind::Ranked && r.ratios[i].lowest == 3)
            names << readingtexts::lowerFirst(readingtexts::ratioName(table[i], language));
    if (names.isEmpty()) return fill(QStringLiteral("summary.noStrengths"), language);
    return fill(QStringLiteral("summary.strengths"), language,
                {{QStringLiteral("list"), readingtexts::joinList(names, language)}});
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

QString balanceOf(const Lookup& comparison, Language language) {
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
        out << fill(
            item.difference > 0 ? QStringLiteral("balance.more") : QStringLiteral("balance.less"), language,
            {{QStringLiteral("Item"), readingtexts::itemName(QLatin1String(item.v->lineItem), language)},
             {QStringLiteral("firm"), percent(item.firm, language)},
             {QStringLiteral("industry"), percent(item.industry, language)},
             {QStringLiteral("gap"), points(item.difference, language)}});
        ++written;
    }
    if (written == 0) return fill(QStringLiteral("balance.same"), language);
    // In print each item starts a line of its own.
    return out.join(QChar::LineSeparator);
}

QVariant orNull(bool present, const QVariant& value) {
    return present ? value : QVariant();
}

} // namespace

QString noteOf(const ratios::Ratio& r, standing::Kind kind, double base, Language language) {
    switch (kind) {
    case standing::Kind::BaseNotPositive:
        return fill(QStringLiteral("note.notMeaningful"), language,
                    {{QStringLiteral("reason"), readingtexts::baseReason(r, base < 0, language)}});
    case standing::Kind::ZeroDenominator:
        return fill(QStringLiteral("note.cannotCompute"), language,
                    {{QStringLiteral("reason"), readingtexts::zeroReason(r, language)}});
    case standing::Kind::NoIndustryData:
        return fill(QStringLiteral("note.noData"), language);
    case standing::Kind::Ranked:
        break;
    }
    return QString();
}

QString percent(double value, Language language) {
    return number(value, 1, language) +
           (language == Language::F ? QStringLiteral("\u00a0%") : QStringLiteral("%"));
}

QString quotient(double value, Language language) {
    return number(value, 2, language);
}

QString figure(const ratios::Ratio& r, double value, Language language) {
    return r.percentage ? percent(value, language) : quotient(value, language);
}

QString dollars(double amount, Language language) {
    return language == Language::F ? number(amount, 0, language) + QStringLiteral("\u00a0$")
                                   : (amount < 0 ? QString(QChar(0x2212)) : QString()) + u'$' +
                                         number(std::abs(amount), 0, language);
}

QString points(double gap, Language language) {
    const int decimals = decimalsFor(gap, 1);
    const double rounded = standing::shown(std::abs(gap), decimals);
    // French counts a point as one below two; English only exactly one.
    const bool one = language == Language::F ? rounded < 2 : rounded == 1.0;
    return fill(one ? QStringLiteral("gap.point") : QStringLiteral("gap.points"), language,
                {{QStringLiteral("n"), number(std::abs(gap), decimals, language)}});
}

Reading compose(const Lookup& comparison, const Lookup& industry, Language language) {
    Reading r;
    r.ratios = standing::assess(comparison, industry);
    const auto table = ratios::all();
    for (std::size_t i = 0; i < table.size(); ++i) {
        r.notes[i] = noteOf(table[i], r.ratios[i].kind, r.ratios[i].base, language);
        r.standings[i] = r.notes[i].isEmpty() ? standingText(r.ratios[i], language) : r.notes[i];
    }
    r.lookFirst = lookFirstOf(r, language);
    r.strengths = strengthsOf(r, language);
    r.balance = balanceOf(comparison, language);
    return r;
}

QVariantMap tableRow(const Reading& r, Language language) {
    QVariantMap row;
    const auto templateText = [&](const char* column, const char* key) {
        row.insert(QLatin1String(column), fill(QLatin1String(key), language));
    };
    templateText("Heading", "section.heading");
    templateText("LookFirstTitle", "section.lookFirst");
    for (int k = 0; k < 4; ++k)
        row.insert(QStringLiteral("Look_%1").arg(k + 1),
                   orNull(k < r.lookFirst.size(), r.lookFirst.value(k)));
    templateText("LeadStrengths", "section.strengths");
    row.insert(QStringLiteral("Strengths"), r.strengths);
    templateText("RatiosTitle", "section.ratios");
    templateText("Head_Ratio", "head.ratio");
    templateText("Head_Yours", "head.yours");
    templateText("Head_Median", "head.median");
    templateText("Head_Standing", "head.standing");
    templateText("Head_Better", "head.better");
    templateText("Higher", "direction.higher");
    templateText("Lower", "direction.lower");
    templateText("Terms", "terms");
    templateText("LeadBalance", "section.balance");
    row.insert(QStringLiteral("Balance"), r.balance);

    const auto table = ratios::all();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const standing::RatioStanding& s = r.ratios[i];
        const QString stem = QLatin1String(table[i].positionStem);
        const bool ranked = s.kind == standing::Kind::Ranked;
        row.insert(QStringLiteral("Value_") + stem, orNull(!notMeaningful(s), s.value));
        row.insert(QStringLiteral("Standing_") + stem, r.standings[i]);
        row.insert(QStringLiteral("Note_") + stem, orNull(!ranked, r.notes[i]));
        row.insert(QStringLiteral("Lowest_") + stem, orNull(ranked, s.lowest));
        row.insert(QStringLiteral("Highest_") + stem, orNull(ranked, s.highest));
        row.insert(QStringLiteral("Boundary_") + stem, orNull(ranked && s.onBoundary, s.onBoundary));
        row.insert(QStringLiteral("BetterThan_") + stem, orNull(ranked, standing::betterThan(s)));
        row.insert(QStringLiteral("WorseThan_") + stem, orNull(ranked, standing::worseThan(s)));
    }
    return row;
}

} // namespace reading
