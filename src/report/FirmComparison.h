#pragma once
// The comparison of one firm with its industry, as one row of the comparison table:
// the checks a firm must pass first, the row itself computed from the firm's values and
// the industry's row of the firm's year, and the industry's three years read once. The
// report preparation writes the row into Rpt_Comparison; the batch comparison of a
// client list keeps it in memory. Both build it here, so their figures are the same.

#include "data/DBTools.h"
#include "firm/FirmStatement.h"
#include "text/Language.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <cstdint>
#include <optional>

namespace firmcomparison {

// A row of the comparison table: its columns in the order they are written, with their
// values (a null industry figure stays null).
struct Row {
    QStringList columns;
    QVariantList values;

    void add(const QString& column, const QVariant& value);
    // The value of a column (named without regard to case); an invalid value when the
    // row has no such column.
    QVariant value(const QString& column) const;
};

// The columns of a comparison row, in the order they are written.
const QStringList& columns();
// The columns that hold texts (the firm's name, its industry's code and title, the
// volume line); every other column holds a number.
bool isTextColumn(const QString& column);

// The checks of a report request, run on the firm as the firm values screen runs them:
// the values typed (normal form, subtotals, empty boxes 0), then the year, the balance,
// the name and the total assets. The firm is left as typed; the message of the first
// check that fails comes in the language given.
std::optional<QString> firmProblem(FirmStatement& firm, Language language);

// An industry's row of the working table of one year; no row, or a row whose
// NumberOfFirms is null, means no data for that year.
bool hasData(const Recordset& industry);

// The message for an industry without data for the firm's year, in the report's
// language (a Language beginning with E or e is English, any other French).
QString noDataMessage(const QString& Language, int16_t year);

// The report's volume line: the volume's first title, " - " and the region's name in
// the report's language; null when the volume has no description in that language.
QVariant volumeLine(Connection& WriteConn, int16_t Volume, const QString& Province, const QString& Language);

// The comparison row of a firm (the 37 comparison values) for its year against the
// industry's row of that year, which must have data.
Row build(const QStringList& aComparisonValues, int16_t year, const Recordset& industry,
          const QVariant& volumeLine);

// The industry's rows of the dataset's three years (2011, 2010, 2009), extracted into
// the working tables of WriteConn as a report extracts them, and read back.
struct IndustryYears {
    std::array<RecordsetPtr, 3> years; // index 0: the current year, then one and two years back

    // The row of a reference year; nullptr for a year that is none of the three.
    const Recordset* of(int16_t year) const;
};
IndustryYears extractIndustryYears(Connection& DataConn, Connection& WriteConn, int16_t Volume,
                                   const QString& Province, const QString& NAICS, const QString& Language);

// The working table of a reference year: Rpt_Data_CY for 2011, Rpt_Data_CYM1 for 2010,
// Rpt_Data_CYM2 for 2009; nothing for any other year.
std::optional<QString> workingTableOf(int16_t year);

} // namespace firmcomparison
