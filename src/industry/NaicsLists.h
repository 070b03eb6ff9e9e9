#pragma once
// The industries of the chosen dataset: by code, by title in either language, a
// title's or a code's industry with its sector, and the keyword search. Only
// industries with a row in the dataset table are offered.

#include "data/DBTools.h"
#include "text/Language.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace naicslists {

struct Industry {
    QString naics;
    QString title;  // in the language asked for
    QString sector; // the title of the industry's folder; empty when the folder is missing
};

// The codes of the dataset table in ascending order (the same in both languages).
QStringList codes(Connection& data, const QString& datasetTable);

// The titles in the language, in that language's alphabetical order (French accents
// sort with their letters).
QStringList titles(Connection& data, const QString& datasetTable, const QString& naicsTable,
                   Language language);

// The industry of a title (the first one when a title occurs twice); nothing when none.
std::optional<Industry> byTitle(Connection& data, const QString& datasetTable, const QString& naicsTable,
                                const QString& title, Language language);

// The industry of a code, re-read in the language; nothing when none.
std::optional<Industry> byCode(Connection& data, const QString& datasetTable, const QString& naicsTable,
                               const QString& naics, Language language);

// Every industry of the dataset whose title in the language contains the keyword
// (without regard to case or accents; "%" and "_" keep their pattern meaning), in
// database order: code, title and sector, under the column names the grid shows
// ("NAICS", "Description", "Sector"; in French "SCIAN", "Description", "Secteur").
// The keyword is used as typed, bound as a value; an empty one lists every industry.
RecordsetPtr keywordResults(Connection& data, const QString& datasetTable, const QString& naicsTable,
                            const QString& keyword, Language language);

// The same rows as industries.
QList<Industry> keywordSearch(Connection& data, const QString& datasetTable, const QString& naicsTable,
                              const QString& keyword, Language language);

// The code line's caption in the new language: "NAICS" becomes "SCIAN" in French and back.
QString relabelCodeLine(const QString& caption, Language language);

} // namespace naicslists
