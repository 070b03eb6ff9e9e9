#pragma once
// Which table lives in which database file, how dataset table names are formed,
// and the check that only such names reach an SQL text.

#include "text/Language.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace catalogue {

inline constexpr char ReferenceFileName[] = "KLV_DATA.db";
inline constexpr char UserFileName[] = "myData.db";

// Records: the firm records' own database when they live on a server (MyValues there).
enum class DbFile { Reference, User, Records };

// Reference database.
inline constexpr char DataDescription[] = "datadescription";
inline constexpr char NaicsDetailed[] = "ZEBRO_NAICS_Description_Ind_Detailed";
inline constexpr char NaicsRaw[] = "ZEBRO_NAICS_Description_Ind_Raw";
inline constexpr char TreeView[] = "tblTreeview";
inline constexpr char Provenance[] = "Provenance"; // where the figures come from

// User database.
inline constexpr char MyValues[] = "MyValues";
inline constexpr char RptDataCY[] = "Rpt_Data_CY";
inline constexpr char RptDataCYM1[] = "Rpt_Data_CYM1";
inline constexpr char RptDataCYM2[] = "Rpt_Data_CYM2";
inline constexpr char RptComparison[] = "Rpt_Comparison";
inline constexpr char RptComparisonTitles[] = "Rpt_Comparison_Titles";
inline constexpr char RptComparisonTitlesSource[] = "Rpt_Comparison_Titles_Source";
inline constexpr char RptRatiosTitles[] = "Rpt_Ratios_Titles";
inline constexpr char RptRatiosTitlesSource[] = "Rpt_Ratios_Titles_Source";
inline constexpr char RptBalanceSheetTitles[] = "Rpt_BalanceSheet_Titles";
inline constexpr char RptBalanceSheetTitlesSource[] = "Rpt_BalanceSheet_Titles_Source";
inline constexpr char VolumeDescriptions[] = "Volume_Descriptions";
inline constexpr char ProvinceCodes[] = "ProvinceCodes";

// Records server: the version of the records schema it holds, beside its MyValues.
inline constexpr char RecordsVersion[] = "Records_Version";

// Region codes: "ALL" and the sixteen regions, provinces and territories of volume 3.
const QStringList& regionCodes();

// "ZEBRO_Vol" + volume + "_" + region + "_".
QString datasetTablePrefix(int volume, const QString& region);
// The prefix + four-digit year + "_Final_Ratios".
QString datasetTableName(int volume, const QString& region, int year);

struct DatasetTable {
    int volume;
    QString region;
    int year;
};
std::optional<DatasetTable> parseDatasetTableName(const QString& name);

// The file a table lives in, or nothing for a name the catalogue does not know.
std::optional<DbFile> fileOf(const QString& tableName);

// The name itself when the catalogue knows it (a fixed table or a well-formed dataset
// table); otherwise an untrapped failure, so that no other text can be put into SQL.
QString table(const QString& tableName);

// The working table of a reference year counted back from the current one: 0, 1 or 2.
QString workingTable(int yearsBack);

// The columns of the reference database that hold a language's text: an industry's title
// and definition in the NAICS description tables, a folder's title in the tree.
QString industryTitleColumn(Language language);
QString industryDefinitionColumn(Language language);
QString folderTitleColumn(Language language);

} // namespace catalogue
