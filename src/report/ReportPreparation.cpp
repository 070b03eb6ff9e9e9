#include "report/ReportPreparation.h"

#include "data/Catalogue.h"
#include "firm/FirmStatement.h"
#include "firm/LineItems.h"
#include "firm/ValueText.h"
#include "platform/Platform.h"
#include "report/RatioCalc.h"
#include "report/RatioTable.h"
#include "report/ReportTitles.h"
#include "report/StatementColumns.h"

#include <QSet>

namespace {

const QString kRead = QStringLiteral("read");

QString quoted(const QString& identifier) {
    return u'"' + QString(identifier).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// The columns of a user-database table, as its schema has them.
QStringList tableColumns(Connection& cn, const QString& table) {
    RecordsetPtr rs = GetRS(
        cn, QStringLiteral("select * from ") + catalogue::table(table) + QStringLiteral(" where 0"), kRead);
    return rs->fieldNames();
}

QString naicsTableForVolume(int16_t volume) {
    return QLatin1String(volume == 1 ? catalogue::NaicsDetailed : catalogue::NaicsRaw);
}

void insertNaicsOnly(Connection& WriteConn, const QString& workingTable, const QString& NAICS) {
    ExecCmdInDB(WriteConn,
                QStringLiteral("insert into ") + workingTable + QStringLiteral("(NAICS) values (?)"),
                {NAICS});
}

void extractYear(Connection& DataConn, Connection& WriteConn, int16_t Volume, const QString& Province,
                 int year, const QString& workingTable, const QString& NAICS, const QString& Language) {
    ExecCmdInDB(WriteConn, QStringLiteral("delete from ") + workingTable);
    const QString datasetTable = catalogue::datasetTableName(Volume, Province, year);
    if (!DoesReportTableExist(datasetTable, DataConn)) {
        insertNaicsOnly(WriteConn, workingTable, NAICS);
        return;
    }
    RecordsetPtr rs = GetRS(DataConn,
                            QStringLiteral("select * from ") + catalogue::table(datasetTable) +
                                QStringLiteral(" where Naics = ?"),
                            kRead, {NAICS});
    if (rs->eof()) {
        // An industry without a row for that year has no data for it, like a missing table.
        insertNaicsOnly(WriteConn, workingTable, NAICS);
        return;
    }
    QSet<QString> known;
    for (const QString& c : tableColumns(WriteConn, workingTable))
        known.insert(c.toCaseFolded());
    QStringList names, marks;
    QVariantList values;
    for (int i = 0; i < rs->fieldCount(); ++i) {
        const QString name = rs->fieldName(i);
        if (!known.contains(name.toCaseFolded())) continue;
        names << quoted(name);
        marks << QStringLiteral("?");
        values << rs->field(i); // a null stays a database null
    }
    ExecCmdInDB(WriteConn,
                QStringLiteral("insert into ") + workingTable + QStringLiteral(" (") +
                    names.join(QStringLiteral(", ")) + QStringLiteral(") values (") +
                    marks.join(QStringLiteral(", ")) + u')',
                values);

    // Only an upper-case "F" asks for the French industry title.
    if (Language.startsWith(u'F')) {
        RecordsetPtr fr =
            GetRS(DataConn,
                  QStringLiteral("select Description_French from ") +
                      catalogue::table(naicsTableForVolume(Volume)) + QStringLiteral(" where Naics = ?"),
                  kRead, {NAICS});
        if (!fr->eof() && !fr->field(0).isNull())
            ExecCmdInDB(WriteConn,
                        QStringLiteral("Update ") + workingTable +
                            QStringLiteral(" Set IndustryDescription = ?"),
                        {fr->field(0).toString().trimmed()});
    }
}

// The title table of an industry report: the source row of the language, the NAICS
// code, the years and the volume's titles with the region's name.
void fillIndustryTitles(Connection& WriteConn, const reporttitles::TitleTable& titles, int16_t Volume,
                        const QString& Province, int16_t Year, const QString& NAICS, const QString& Language,
                        bool withMedianTitles) {
    const QString table = catalogue::table(QLatin1String(titles.table));
    const QString source = catalogue::table(QLatin1String(titles.source));
    const QString L = Language.left(1);
    ExecCmdInDB(WriteConn, QStringLiteral("delete from ") + table);
    // The stored language letters are compared without regard to case, as the titles always were.
    ExecCmdInDB(WriteConn,
                QStringLiteral("insert into ") + table + QStringLiteral(" select * from ") + source +
                    QStringLiteral(" where Language = ? collate nocase"),
                {L});
    const int y = Year;
    ExecCmdInDB(WriteConn,
                QStringLiteral("Update ") + table +
                    QStringLiteral(" Set Naics = ?, Title_LowerRight = Title_LowerRight || ' ' || ?"),
                {NAICS, QStringLiteral("%1, %2, %3").arg(y).arg(y - 1).arg(y - 2)});
    if (withMedianTitles)
        ExecCmdInDB(
            WriteConn,
            QStringLiteral("Update ") + table +
                QStringLiteral(" Set Year_0 = ?, Year_1 = ?, Year_2 = ?, Year_3 = ?"),
            {QString::number(y), QString::number(y - 1), QString::number(y - 2), QString::number(y - 3)});
    else
        ExecCmdInDB(WriteConn,
                    QStringLiteral("Update ") + table +
                        QStringLiteral(" Set Year_0 = ?, Year_1 = ?, Year_2 = ?"),
                    {QString::number(y), QString::number(y - 1), QString::number(y - 2)});

    const QString region = reportprep::regionName(WriteConn, Province, Language);
    QString set = QStringLiteral("Title_UpperLeft = D.Title1 || ' - ' || ?, Title_LowerLeft = D.Title2");
    if (withMedianTitles)
        set += QStringLiteral(", ML_Title = D.LargeMedianDesc, MM_Title = D.MediumMedianDesc");
    // A volume and language without a description row update nothing.
    ExecCmdInDB(WriteConn,
                QStringLiteral("Update ") + table + QStringLiteral(" Set ") + set +
                    QStringLiteral(" from (select * from Volume_Descriptions where Volume = ? and Language = "
                                   "? collate nocase) D"),
                {region, int(Volume), L});
}

bool prepareIndustryReport(const reporttitles::TitleTable& titles, bool withMedianTitles,
                           Connection& DataConn, Connection& WriteConn, const QString& ReportToDisplay,
                           int16_t Volume, const QString& Province, int16_t Year, const QString& NAICS,
                           const QString& Language) {
    Transaction tx(WriteConn);
    subExtractIndustryData(DataConn, WriteConn, ReportToDisplay, Volume, Province, Year, NAICS, Language);
    fillIndustryTitles(WriteConn, titles, Volume, Province, Year, NAICS, Language, withMedianTitles);
    tx.commit();
    return true;
}

bool isEnglish(const QString& Language) {
    return Language.left(1).compare(QLatin1String("E"), Qt::CaseInsensitive) == 0;
}

} // namespace

bool DoesReportTableExist(const QString& TableName, Connection& dbconn) {
    try {
        GetRS(dbconn,
              QStringLiteral("select NAICS from ") + catalogue::table(TableName) + QStringLiteral(" where 0"),
              kRead);
        return true;
    } catch (const FatalError&) {
        return false;
    }
}

void subExtractIndustryData(Connection& DataConn, Connection& WriteConn, const QString& /*ReportToDisplay*/,
                            int16_t Volume, const QString& Province, int16_t Year, const QString& NAICS,
                            const QString& Language) {
    // Every extraction empties and refills all three working tables, so a firm is never
    // compared with figures another industry's extraction left behind.
    for (int k = 0; k < 3; ++k)
        extractYear(DataConn, WriteConn, Volume, Province, Year - k, catalogue::workingTable(k), NAICS,
                    Language);
}

bool fncPrepareRatiosReport(Connection& DataConn, Connection& WriteConn, const QString& ReportToDisplay,
                            int16_t Volume, const QString& Province, int16_t Year, const QString& NAICS,
                            const QString& Language) {
    return prepareIndustryReport(reporttitles::ratios(), true, DataConn, WriteConn, ReportToDisplay, Volume,
                                 Province, Year, NAICS, Language);
}

bool fncPrepareBalanceSheetReport(Connection& DataConn, Connection& WriteConn, const QString& ReportToDisplay,
                                  int16_t Volume, const QString& Province, int16_t Year, const QString& NAICS,
                                  const QString& Language) {
    return prepareIndustryReport(reporttitles::balanceSheet(), false, DataConn, WriteConn, ReportToDisplay,
                                 Volume, Province, Year, NAICS, Language);
}

namespace reportprep {

QString regionName(Connection& WriteConn, const QString& Province, const QString& Language) {
    const QString column = isEnglish(Language) ? QStringLiteral("English") : QStringLiteral("French");
    RecordsetPtr rs = GetRS(
        WriteConn, QStringLiteral("select ") + column + QStringLiteral(" from ProvinceCodes where Code = ?"),
        kRead, {Province});
    if (rs->eof() || rs->field(0).isNull()) return Province;
    return rs->field(0).toString();
}

} // namespace reportprep

namespace {

// Numbers of the working-table row; a null counts as 0 in a computation.
struct WorkingRow {
    RecordsetPtr rs;
    double number(const QString& column) const {
        const QVariant v = rs->field(column);
        return v.isNull() ? 0.0 : ratiocalc::finiteOrZero(v.toDouble());
    }
    QVariant raw(const QString& column) const { return rs->field(column); }
};

void updateColumns(Connection& WriteConn, const QStringList& columns, const QVariantList& values) {
    QStringList sets;
    for (const QString& c : columns)
        sets << quoted(c) + QStringLiteral(" = ?");
    ExecCmdInDB(WriteConn, QStringLiteral("Update rpt_comparison Set ") + sets.join(QStringLiteral(", ")),
                values);
}

QVariantList numbers(const auto& values) {
    QVariantList out;
    for (double v : values)
        out << ratiocalc::finiteOrZero(v);
    return out;
}

} // namespace

bool fncPrepareComparisonReport(Connection& DataConn, Connection& WriteConn, const QString& ReportToDisplay,
                                int16_t Volume, const QString& Province, int16_t Year, const QString& NAICS,
                                const QString& Language, const QStringList& aComparisonValues) {
    Transaction tx(WriteConn);
    // The industry's three years always count back from the dataset's current year.
    subExtractIndustryData(DataConn, WriteConn, ReportToDisplay, Volume, Province, 2011, NAICS, Language);
    ExecCmdInDB(WriteConn, QStringLiteral("delete from Rpt_Comparison"));

    const QString yearText = QString::number(Year);
    int yearsBack = -1;
    if (yearText == QLatin1String("2011"))
        yearsBack = 0;
    else if (yearText == QLatin1String("2010"))
        yearsBack = 1;
    else if (yearText == QLatin1String("2009"))
        yearsBack = 2;
    if (yearsBack < 0)
        throw FatalError(errnum::InvalidTableName,
                         QStringLiteral("No working table for the reference year %1").arg(yearText));
    const QString workingTable = catalogue::workingTable(yearsBack);
    WorkingRow row{GetRS(WriteConn, QStringLiteral("select * from ") + workingTable, kRead)};

    if (row.rs->eof() || row.raw(QStringLiteral("NumberOfFirms")).isNull()) {
        tx.commit();
        MsgBox(isEnglish(Language)
                   ? QStringLiteral("This industry has no data for ") + yearText
                   : QStringLiteral("Il n'y a pas de données pour cette industrie pour") + u' ' + yearText,
               MsgButtons::OK, MsgIcon::None);
        return false;
    }

    const ratiocalc::FirmNumbers firm = ratiocalc::firmNumbers(aComparisonValues);
    const double ta = firm[firmrules::comparisonIndex(*lineitems::indexOf(QStringLiteral("Ta")))];

    // Header and the firm's values: balance-sheet items as shares of total assets, the
    // income statement as typed. The comparison keeps no sales figure.
    QStringList columns{QStringLiteral("MyFirmName"), QStringLiteral("MyYear"), QStringLiteral("MyNAICS"),
                        QStringLiteral("MyIndustry")};
    QVariantList values{aComparisonValues.value(0), int(Year), aComparisonValues.value(2),
                        aComparisonValues.value(3)};
    for (int i = 0; i < lineitems::kCount; ++i) {
        const lineitems::LineItem& item = lineitems::all()[i];
        if (qstrcmp(item.column, "Sales") == 0) continue;
        const double amount = firm[firmrules::comparisonIndex(i)];
        columns << QStringLiteral("My") + QLatin1String(item.column);
        const bool income = item.section == lineitems::Section::Income;
        values << ratiocalc::finiteOrZero(income ? amount : amount / ta * 100);
    }
    QStringList quotedColumns;
    for (const QString& c : columns)
        quotedColumns << quoted(c);
    ExecCmdInDB(WriteConn,
                QStringLiteral("Insert into Rpt_comparison (") + quotedColumns.join(QStringLiteral(", ")) +
                    QStringLiteral(") VALUES (") +
                    QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")) + u')',
                values);

    // The statement as entered, which the report prints beside the comparison made from it.
    QVariantList amounts;
    for (int i = 0; i < lineitems::kCount; ++i)
        amounts << ratiocalc::finiteOrZero(firm[firmrules::comparisonIndex(i)]);
    updateColumns(WriteConn, statementcolumns::all(), amounts);

    const ratiocalc::Results results =
        ratiocalc::compute(firm, [&row](const QString& c) { return row.number(c); });
    QStringList ratioCols, betterCols, worseCols, varianceCols;
    for (const ratios::Ratio& r : ratios::all()) {
        ratioCols << QLatin1String(r.firmColumn);
        betterCols << ratios::betterColumn(r);
        worseCols << ratios::worseColumn(r);
    }
    for (const ratios::Variance& v : ratios::variances())
        varianceCols << QLatin1String(v.column);
    updateColumns(WriteConn, ratioCols, numbers(results.ratios));
    updateColumns(WriteConn, betterCols, numbers(results.better));
    updateColumns(WriteConn, worseCols, numbers(results.worse));
    updateColumns(WriteConn, varianceCols, numbers(results.variances));

    const QString region = reportprep::regionName(WriteConn, Province, Language);
    ExecCmdInDB(WriteConn,
                QStringLiteral("Update Rpt_Comparison Set MyVol = D.Title1 || ' - ' || ? from (select * from "
                               "Volume_Descriptions "
                               "where Volume = ? and Language = ? collate nocase) D"),
                {region, int(Volume), Language.left(1)});

    // The industry's figures are copied as they are stored; a null stays a null.
    QStringList figureCols{QStringLiteral("NumberOfFirms")};
    figureCols << ratios::industryFigureCopyOrder();
    QVariantList figureValues;
    for (const QString& c : figureCols)
        figureValues << row.raw(c);
    updateColumns(WriteConn, figureCols, figureValues);
    QVariantList shareValues;
    for (const QString& c : ratios::shareCopyOrder())
        shareValues << row.raw(c);
    updateColumns(WriteConn, ratios::shareCopyOrder(), shareValues);

    ExecCmdInDB(WriteConn, QStringLiteral("delete from Rpt_Comparison_Titles"));
    ExecCmdInDB(WriteConn,
                QStringLiteral("insert into Rpt_Comparison_Titles select * from Rpt_Comparison_Titles_Source "
                               "where Language = ? collate nocase"),
                {Language.left(1)});
    ExecCmdInDB(WriteConn, QStringLiteral("Update rpt_comparison_titles set NAICS = ?"),
                {aComparisonValues.value(2)});
    tx.commit();
    return true;
}
