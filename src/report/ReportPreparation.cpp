#include "report/ReportPreparation.h"

#include "data/Catalogue.h"
#include "data/SourceOfFigures.h"
#include "platform/Platform.h"
#include "report/FirmComparison.h"
#include "report/RatioTable.h"
#include "report/ReportTitles.h"

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

// The footer of every report says where the industry figures come from, as the
// reference database records it: the generated sample or an imported source.
void noteSourceOfFigures(Connection& DataConn, Connection& WriteConn, const QString& titleTable,
                         const QString& Language) {
    ExecCmdInDB(WriteConn,
                QStringLiteral("Update ") + catalogue::table(titleTable) +
                    QStringLiteral(" Set Lbl_SampleNote = ?"),
                {provenance::describe(DataConn, language::ofRequest(Language))});
}

bool prepareIndustryReport(const reporttitles::TitleTable& titles, bool withMedianTitles,
                           Connection& DataConn, Connection& WriteConn, const QString& ReportToDisplay,
                           int16_t Volume, const QString& Province, int16_t Year, const QString& NAICS,
                           const QString& Language) {
    Transaction tx(WriteConn);
    subExtractIndustryData(DataConn, WriteConn, ReportToDisplay, Volume, Province, Year, NAICS, Language);
    fillIndustryTitles(WriteConn, titles, Volume, Province, Year, NAICS, Language, withMedianTitles);
    noteSourceOfFigures(DataConn, WriteConn, QLatin1String(titles.table), Language);
    tx.commit();
    return true;
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
    const QString column =
        language::ofRequest(Language) == ::Language::E ? QStringLiteral("English") : QStringLiteral("French");
    RecordsetPtr rs = GetRS(
        WriteConn, QStringLiteral("select ") + column + QStringLiteral(" from ProvinceCodes where Code = ?"),
        kRead, {Province});
    if (rs->eof() || rs->field(0).isNull()) return Province;
    return rs->field(0).toString();
}

} // namespace reportprep

namespace {

void insertRow(Connection& WriteConn, const firmcomparison::Row& row) {
    QStringList quotedColumns;
    for (const QString& c : row.columns)
        quotedColumns << quoted(c);
    ExecCmdInDB(WriteConn,
                QStringLiteral("Insert into Rpt_comparison (") + quotedColumns.join(QStringLiteral(", ")) +
                    QStringLiteral(") VALUES (") +
                    QStringList(row.columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")) + u')',
                row.values);
}

} // namespace

bool fncPrepareComparisonReport(Connection& DataConn, Connection& WriteConn, const QString& ReportToDisplay,
                                int16_t Volume, const QString& Province, int16_t Year, const QString& NAICS,
                                const QString& Language, const QStringList& aComparisonValues) {
    Transaction tx(WriteConn);
    // The industry's three years always count back from the dataset's current year.
    subExtractIndustryData(DataConn, WriteConn, ReportToDisplay, Volume, Province, 2011, NAICS, Language);
    ExecCmdInDB(WriteConn, QStringLiteral("delete from Rpt_Comparison"));

    const std::optional<QString> workingTable = firmcomparison::workingTableOf(Year);
    if (!workingTable)
        throw FatalError(errnum::InvalidTableName,
                         QStringLiteral("No working table for the reference year %1").arg(Year));
    RecordsetPtr industry = GetRS(WriteConn, QStringLiteral("select * from ") + *workingTable, kRead);

    if (!firmcomparison::hasData(*industry)) {
        tx.commit();
        MsgBox(firmcomparison::noDataMessage(Language, Year), MsgButtons::OK, MsgIcon::None);
        return false;
    }

    // The whole row, figures and industry copies, is computed first and written at once.
    insertRow(WriteConn,
              firmcomparison::build(aComparisonValues, Year, *industry,
                                    firmcomparison::volumeLine(WriteConn, Volume, Province, Language)));

    ExecCmdInDB(WriteConn, QStringLiteral("delete from Rpt_Comparison_Titles"));
    ExecCmdInDB(WriteConn,
                QStringLiteral("insert into Rpt_Comparison_Titles select * from Rpt_Comparison_Titles_Source "
                               "where Language = ? collate nocase"),
                {Language.left(1)});
    ExecCmdInDB(WriteConn, QStringLiteral("Update rpt_comparison_titles set NAICS = ?"),
                {aComparisonValues.value(2)});
    noteSourceOfFigures(DataConn, WriteConn, QLatin1String(catalogue::RptComparisonTitles), Language);
    tx.commit();
    return true;
}
