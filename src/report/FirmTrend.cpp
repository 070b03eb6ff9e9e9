#include "report/FirmTrend.h"

#include "data/DatasetOptions.h"
#include "firm/FirmRecords.h"
#include "firm/FirmStatement.h"
#include "report/FirmComparison.h"
#include "report/RatioCalc.h"
#include "report/RatioStanding.h"
#include "report/RatioTable.h"
#include "report/Reading.h"
#include "report/ReadingTexts.h"

#include <cmath>

namespace firmtrend {

namespace {

int groupIndex(ratios::Group g) {
    return g == ratios::Group::Profitability ? 0 : g == ratios::Group::Efficiency ? 1 : 2;
}

std::optional<double> medianOf(const Recordset* industry, const ratios::Ratio& r) {
    if (!industry || !firmcomparison::hasData(*industry)) return std::nullopt;
    const QVariant v = industry->field(ratios::q2Column(r));
    if (v.isNull()) return std::nullopt;
    const double d = v.toDouble();
    // A median stored as 0 is missing, as everywhere else.
    return std::isfinite(d) && d != 0 ? std::optional<double>(d) : std::nullopt;
}

QString yearColumn(const char* prefix, const ratios::Ratio& r, int16_t year) {
    return QStringLiteral("%1%2_%3").arg(QLatin1String(prefix), QLatin1String(r.positionStem)).arg(year);
}

// One line a ratio that means nothing in some saved year: the years that share a reason
// together ("Return on net operating assets (2010 and 2011): not meaningful: …").
QStringList notesOf(const Trend& t, Language language) {
    QStringList lines;
    const auto all = ratios::all();
    for (std::size_t i = 0; i < all.size(); ++i) {
        QStringList reasons; // in the order first met
        QHash<QString, QStringList> years;
        for (const Year& y : t.years) {
            const QString& note = y.notMeaningful[i];
            if (note.isEmpty()) continue;
            if (!years.contains(note)) reasons << note;
            years[note] << QString::number(y.year);
        }
        for (const QString& note : reasons)
            lines << readingtexts::fill(
                QStringLiteral("trend.notMeaningful"), language,
                {{QStringLiteral("Ratio"), readingtexts::ratioName(all[i], language)},
                 {QStringLiteral("years"), readingtexts::joinList(years.value(note), language)},
                 {QStringLiteral("note"), note}});
    }
    return lines;
}

} // namespace

Outcome prepare(Connection& DataConn, Connection& WriteConn, Connection& records, int16_t Volume,
                const QString& Province, const QString& NAICS, Language language, const QString& firmName) {
    Trend t;
    t.firmName = firmName;
    t.naics = NAICS;
    QStringList saved;
    std::array<std::optional<FirmStatement>, 3> statements;
    for (int k = 0; k < 3; ++k) {
        const int16_t year = static_cast<int16_t>(datasets::kCurrentYear - 2 + k);
        t.years[static_cast<std::size_t>(k)].year = year;
        statements[static_cast<std::size_t>(k)] = firmrecords::load(records, firmName, QString::number(year));
        if (statements[static_cast<std::size_t>(k)]) saved << QString::number(year);
    }
    if (saved.size() < 2) {
        Outcome refused;
        refused.refusal = saved.isEmpty() ? readingtexts::fill(QStringLiteral("trend.noYear"), language,
                                                               {{QStringLiteral("name"), firmName}})
                                          : readingtexts::fill(QStringLiteral("trend.oneYear"), language,
                                                               {{QStringLiteral("name"), firmName},
                                                                {QStringLiteral("year"), saved.first()}});
        return refused;
    }

    Transaction tx(WriteConn);
    const firmcomparison::IndustryYears industry = firmcomparison::extractIndustryYears(
        DataConn, WriteConn, Volume, Province, NAICS, language::letter(language));
    tx.commit();
    for (const RecordsetPtr& rs : industry.years)
        if (rs && !rs->eof() && t.industryTitle.isEmpty())
            t.industryTitle = rs->field(QStringLiteral("IndustryDescription")).toString().trimmed();

    const auto all = ratios::all();
    for (std::size_t k = 0; k < 3; ++k) {
        Year& y = t.years[k];
        const Recordset* row = industry.of(y.year);
        y.industry = row && firmcomparison::hasData(*row);
        for (std::size_t i = 0; i < all.size(); ++i)
            y.median[i] = medianOf(row, all[i]);
        if (!statements[k]) continue;
        y.saved = true;
        FirmStatement firm = *statements[k];
        firmrules::fillEmpty(firm.values);
        const ratiocalc::FirmNumbers numbers =
            ratiocalc::firmNumbers(firmrules::comparisonValues(firm, t.industryTitle));
        const std::array<double, 15> values = ratiocalc::computeRatios(numbers);
        for (std::size_t i = 0; i < all.size(); ++i) {
            const standing::Kind kind = standing::meaningOf(numbers, i);
            if (kind == standing::Kind::Ranked)
                y.firm[i] = values[i];
            else
                y.notMeaningful[i] = reading::noteOf(
                    all[i], kind, ratiocalc::fractionOf(all[i].formula, numbers).denominator, language);
        }
    }
    for (int g = 0; g < 3; ++g)
        t.groups[static_cast<std::size_t>(g)] = groupSentence(t, g, language);
    t.notes = notesOf(t, language);
    Outcome out;
    out.trend = std::move(t);
    return out;
}

QString groupSentence(const Trend& trend, int group, Language language) {
    // The earliest and the latest years that have both the firm's figures and the industry's.
    const Year* first = nullptr;
    const Year* last = nullptr;
    for (const Year& y : trend.years)
        if (y.saved && y.industry) {
            if (!first) first = &y;
            last = &y;
        }
    int count = 0, towards = 0, away = 0;
    const auto all = ratios::all();
    for (std::size_t i = 0; first && last && first != last && i < all.size(); ++i) {
        if (groupIndex(all[i].group) != group) continue;
        if (!first->firm[i] || !first->median[i] || !last->firm[i] || !last->median[i]) continue;
        ++count;
        const double before = std::abs(*first->firm[i] - *first->median[i]);
        const double after = std::abs(*last->firm[i] - *last->median[i]);
        if (ratiocalc::sameFigure(after, before)) continue;
        (after < before ? towards : away)++;
    }
    const auto ratiosCounted = [language](int n) {
        return readingtexts::fillCount(QStringLiteral("count.ratios"), n, language);
    };
    QHash<QString, QString> v{{QStringLiteral("Group"), readingtexts::groupName(group, language)},
                              {QStringLiteral("count"), QString::number(count)},
                              {QStringLiteral("towards"), QString::number(towards)},
                              {QStringLiteral("away"), QString::number(away)},
                              {QStringLiteral("countRatios"), ratiosCounted(count)},
                              {QStringLiteral("towardsRatios"), ratiosCounted(towards)},
                              {QStringLiteral("awayRatios"), ratiosCounted(away)}};
    if (count == 0) return readingtexts::fill(QStringLiteral("trend.unknown"), language, v);
    v.insert(QStringLiteral("first"), QString::number(first->year));
    v.insert(QStringLiteral("last"), QString::number(last->year));
    const QString key = towards > away   ? QStringLiteral("trend.towards")
                        : away > towards ? QStringLiteral("trend.away")
                                         : QStringLiteral("trend.even");
    return readingtexts::fill(key, language, v);
}

QVariantMap figuresRow(const Trend& trend, Language language) {
    QVariantMap row;
    const auto all = ratios::all();
    for (const Year& y : trend.years) {
        row.insert(QStringLiteral("Saved_%1").arg(y.year), y.saved ? QVariant(1) : QVariant());
        for (std::size_t i = 0; i < all.size(); ++i) {
            row.insert(yearColumn("F", all[i], y.year), y.firm[i] ? QVariant(*y.firm[i]) : QVariant());
            row.insert(yearColumn("M", all[i], y.year), y.median[i] ? QVariant(*y.median[i]) : QVariant());
            row.insert(yearColumn("NM", all[i], y.year),
                       y.notMeaningful[i].isEmpty() ? QVariant() : QVariant(1));
        }
    }
    for (int g = 0; g < 3; ++g) {
        row.insert(QStringLiteral("Group_%1").arg(g), readingtexts::groupName(g, language) + u'.');
        row.insert(QStringLiteral("Reading_%1").arg(g), trend.groups[static_cast<std::size_t>(g)]);
    }
    row.insert(QStringLiteral("Notes"),
               trend.notes.isEmpty() ? QVariant() : QVariant(trend.notes.join(QChar::LineSeparator)));
    return row;
}

QVariantMap titlesRow(const Trend& trend, Language language) {
    QVariantMap row;
    row.insert(QStringLiteral("Language"), language::letter(language));
    for (const QString& c : readingtexts::trendLabelColumns())
        row.insert(c, readingtexts::trendLabel(c, language));
    row.insert(QStringLiteral("FirmName"), trend.firmName);
    row.insert(QStringLiteral("NAICS"), trend.naics);
    row.insert(QStringLiteral("Industry"), trend.industryTitle);
    for (int k = 0; k < 3; ++k)
        row.insert(QStringLiteral("Year_%1").arg(k),
                   QString::number(trend.years[static_cast<std::size_t>(k)].year));
    return row;
}

} // namespace firmtrend
