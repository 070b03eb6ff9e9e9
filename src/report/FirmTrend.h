#pragma once
// A firm's own trend: its fifteen ratios in each reference year for which values of the
// same firm name are saved, beside the industry's median of that year (the industry's
// three years extracted as for a comparison), and, per ratio group, whether the firm moved
// towards the median or away from it from the earliest to the latest year that has both
// the firm's figures and the industry's.

#include "data/DBTools.h"
#include "text/Language.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <array>
#include <cstdint>
#include <optional>

namespace firmtrend {

struct Year {
    int16_t year = 0;
    bool saved = false;                           // values of the firm are saved for the year
    bool industry = false;                        // the industry has figures for the year
    std::array<std::optional<double>, 15> firm;   // none when not saved or not meaningful
    std::array<std::optional<double>, 15> median; // none when the industry has none
    std::array<QString, 15> notMeaningful;        // why a saved year's ratio means nothing
};

struct Trend {
    QString firmName;
    QString naics;
    QString industryTitle;
    std::array<Year, 3> years;     // 2009, 2010, 2011
    std::array<QString, 3> groups; // one sentence per ratio group
    QStringList notes;             // the ratios that mean nothing, with the years and why
};

struct Outcome {
    std::optional<Trend> trend;
    QString refusal; // why there is none, in the language asked for
};

// The trend of the firm stored in records under exactly that name (letter case included),
// against the industry of the dataset. Refused, with the reason, when fewer than two of the
// reference years are saved. The working tables of WriteConn are refilled in one transaction.
Outcome prepare(Connection& DataConn, Connection& WriteConn, Connection& records, int16_t Volume,
                const QString& Province, const QString& NAICS, Language language, const QString& firmName);

// The sentence of one group, from the figures of the trend.
QString groupSentence(const Trend& trend, int group, Language language);

// The trend as the report prints it: one row of figures (F<stem>_<year> for the firm,
// M<stem>_<year> for the median, NM<stem>_<year> 1 for a ratio that is not meaningful,
// Saved_<year> 1 or null, Group_<g>, Reading_<g> and Notes) and
// the row of titles in the language (Language, the labels, FirmName, NAICS, Industry,
// Year_0 to Year_2 from the earliest year).
QVariantMap figuresRow(const Trend& trend, Language language);
QVariantMap titlesRow(const Trend& trend, Language language);

} // namespace firmtrend
