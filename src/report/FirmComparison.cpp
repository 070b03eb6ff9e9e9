#include "report/FirmComparison.h"

#include "data/Catalogue.h"
#include "data/DatasetOptions.h"
#include "firm/FirmFile.h"
#include "firm/FirmMessages.h"
#include "firm/LineItems.h"
#include "firm/ValueText.h"
#include "report/RatioCalc.h"
#include "report/RatioTable.h"
#include "report/ReportPreparation.h"
#include "report/StatementColumns.h"
#include "text/StringTable.h"

#include <QHash>

namespace firmcomparison {

namespace {

const QString kRead = QStringLiteral("read");

// A figure of the industry's row for a computation: a null counts as 0.
double number(const Recordset& industry, const QString& column) {
    const QVariant v = industry.field(column);
    return v.isNull() ? 0.0 : ratiocalc::finiteOrZero(v.toDouble());
}

template <std::size_t N>
void addNumbers(Row& row, const QStringList& columns, const std::array<double, N>& values) {
    for (std::size_t i = 0; i < N; ++i)
        row.add(columns[static_cast<qsizetype>(i)], ratiocalc::finiteOrZero(values[i]));
}

} // namespace

void Row::add(const QString& column, const QVariant& value) {
    columns << column;
    values << value;
}

QVariant Row::value(const QString& column) const {
    // A row built here has the columns of columns(), in order: their positions are found
    // once, by name letter case aside, rather than by a search of the row for every lookup.
    static const QHash<QString, qsizetype> positions = [] {
        QHash<QString, qsizetype> p;
        const QStringList& all = firmcomparison::columns();
        for (qsizetype i = all.size() - 1; i >= 0; --i)
            p.insert(all[i].toCaseFolded(), i);
        return p;
    }();
    if (const auto it = positions.constFind(column.toCaseFolded());
        it != positions.cend() && *it < columns.size() &&
        columns[*it].compare(column, Qt::CaseInsensitive) == 0)
        return values.value(*it);
    for (qsizetype i = 0; i < columns.size(); ++i)
        if (columns[i].compare(column, Qt::CaseInsensitive) == 0) return values.value(i);
    return QVariant();
}

const QStringList& columns() {
    // The columns do not depend on the figures: a row built from zeros against an empty
    // industry row has them all.
    static const QStringList all = [] {
        QStringList zeros(37, QStringLiteral("0"));
        QStringList names = ratios::datasetColumns();
        const Recordset empty(names, {QVariantList(names.size())});
        return build(zeros, datasets::kCurrentYear, empty, QVariant()).columns;
    }();
    return all;
}

bool isTextColumn(const QString& column) {
    for (const char* text : {"MyFirmName", "MyNAICS", "MyIndustry", "MyVol"})
        if (column.compare(QLatin1String(text), Qt::CaseInsensitive) == 0) return true;
    return false;
}

std::optional<QString> firmProblem(FirmStatement& firm, Language language) {
    if (!firmfile::asTyped(firm))
        return firmmessages::text(firmmessages::Message::PleaseEnterNumber, language);
    // The screen offers only the three years; a year that is not exactly one of them
    // counts as no year, which the year check refuses with its own message.
    if (!firmfile::referenceYear(firm.year)) firm.year.clear();
    return firmrules::reportRequestProblem(firm, language);
}

bool hasData(const Recordset& industry) {
    return !industry.eof() && !industry.field(QStringLiteral("NumberOfFirms")).isNull();
}

QString noDataMessage(const QString& Language, int16_t year) {
    return strings::text("report.noData", language::ofRequest(Language)).arg(year);
}

QVariant volumeLine(Connection& WriteConn, int16_t Volume, const QString& Province, const QString& Language) {
    RecordsetPtr rs =
        GetRS(WriteConn,
              QStringLiteral("select Title1 from Volume_Descriptions where Volume = ? and Language = "
                             "? collate nocase"),
              kRead, {int(Volume), Language.left(1)});
    if (rs->eof() || rs->field(0).isNull()) return QVariant();
    return rs->field(0).toString() + QStringLiteral(" - ") +
           reportprep::regionName(WriteConn, Province, Language);
}

namespace {

// The names of the row's columns after the firm's own, made once: a batch builds a row
// for every firm of its list.
struct ColumnNames {
    QStringList shares; // "My" and the line item, for every item but sales
    QStringList statement;
    QStringList ratios, better, worse, variances;
    QStringList industryFigures; // NumberOfFirms, the medians and the profit/loss columns
    QStringList industryShares;
};

const ColumnNames& names() {
    static const ColumnNames n = [] {
        ColumnNames c;
        for (const lineitems::LineItem& item : lineitems::all())
            if (qstrcmp(item.column, "Sales") != 0)
                c.shares << QStringLiteral("My") + QLatin1String(item.column);
        c.statement = statementcolumns::all();
        for (const ratios::Ratio& r : ratios::all()) {
            c.ratios << QLatin1String(r.firmColumn);
            c.better << ratios::betterColumn(r);
            c.worse << ratios::worseColumn(r);
        }
        for (const ratios::Variance& v : ratios::variances())
            c.variances << QLatin1String(v.column);
        c.industryFigures << QStringLiteral("NumberOfFirms") << ratios::industryFigureCopyOrder();
        c.industryShares = ratios::shareCopyOrder();
        return c;
    }();
    return n;
}

} // namespace

Row build(const QStringList& aComparisonValues, int16_t year, const Recordset& industry,
          const QVariant& volumeLine) {
    const ColumnNames& n = names();
    const ratiocalc::FirmNumbers firm = ratiocalc::firmNumbers(aComparisonValues);
    static const int totalAssets = firmrules::comparisonIndex(*lineitems::indexOf(QStringLiteral("Ta")));
    const double ta = firm[totalAssets];
    Row row;
    row.columns.reserve(200);
    row.values.reserve(200);

    // Header and the firm's values: balance-sheet items as shares of total assets, the
    // income statement as typed. The comparison keeps no sales figure.
    row.add(QStringLiteral("MyFirmName"), aComparisonValues.value(0));
    row.add(QStringLiteral("MyYear"), int(year));
    row.add(QStringLiteral("MyNAICS"), aComparisonValues.value(2));
    row.add(QStringLiteral("MyIndustry"), aComparisonValues.value(3));
    qsizetype share = 0;
    for (int i = 0; i < lineitems::kCount; ++i) {
        const lineitems::LineItem& item = lineitems::all()[i];
        if (qstrcmp(item.column, "Sales") == 0) continue;
        const double amount = firm[firmrules::comparisonIndex(i)];
        const bool income = item.section == lineitems::Section::Income;
        row.add(n.shares[share++], ratiocalc::finiteOrZero(income ? amount : amount / ta * 100));
    }

    // The statement as entered, which the report prints beside the comparison made from it.
    for (int i = 0; i < lineitems::kCount; ++i)
        row.add(n.statement[i], ratiocalc::finiteOrZero(firm[firmrules::comparisonIndex(i)]));

    const ratiocalc::Results results =
        ratiocalc::compute(firm, [&industry](const QString& c) { return number(industry, c); });
    addNumbers(row, n.ratios, results.ratios);
    addNumbers(row, n.better, results.better);
    addNumbers(row, n.worse, results.worse);
    addNumbers(row, n.variances, results.variances);

    row.add(QStringLiteral("MyVol"), volumeLine);

    // The industry's figures are copied as they are stored; a null stays a null.
    for (const QString& c : n.industryFigures)
        row.add(c, industry.field(c));
    for (const QString& c : n.industryShares)
        row.add(c, industry.field(c));
    return row;
}

std::optional<QString> workingTableOf(int16_t year) {
    for (int k = 0; k < 3; ++k)
        if (year == datasets::kCurrentYear - k) return catalogue::workingTable(k);
    return std::nullopt;
}

const Recordset* IndustryYears::of(int16_t year) const {
    const int k = datasets::kCurrentYear - year;
    return k >= 0 && k < 3 ? years[static_cast<std::size_t>(k)].get() : nullptr;
}

IndustryYears extractIndustryYears(Connection& DataConn, Connection& WriteConn, int16_t Volume,
                                   const QString& Province, const QString& NAICS, const QString& Language) {
    // The industry's three years always count back from the dataset's current year.
    subExtractIndustryData(DataConn, WriteConn, QStringLiteral("com"), Volume, Province,
                           datasets::kCurrentYear, NAICS, Language);
    IndustryYears out;
    for (int k = 0; k < 3; ++k)
        out.years[static_cast<std::size_t>(k)] =
            GetRS(WriteConn, QStringLiteral("select * from ") + catalogue::workingTable(k), kRead);
    return out;
}

} // namespace firmcomparison
