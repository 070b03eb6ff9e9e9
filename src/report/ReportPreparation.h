#pragma once
// Filling the report tables of the user database before a report is shown: the
// industry's figures of three years, the titles of the industry reports, and the
// comparison of one firm with its industry. Each preparation is one transaction.

#include "data/DBTools.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// True when "select NAICS from <table>" can be opened on the connection.
bool DoesReportTableExist(const QString& TableName, Connection& dbconn);

// Empties and refills Rpt_Data_CY, Rpt_Data_CYM1 and Rpt_Data_CYM2 with the industry's
// rows of Year, Year - 1 and Year - 2. A year whose table is missing, or that has no row
// for the industry, gets a row holding only the NAICS code.
void subExtractIndustryData(Connection& DataConn, Connection& WriteConn, const QString& ReportToDisplay,
                            int16_t Volume, const QString& Province, int16_t Year, const QString& NAICS,
                            const QString& Language);

bool fncPrepareRatiosReport(Connection& DataConn, Connection& WriteConn, const QString& ReportToDisplay,
                            int16_t Volume, const QString& Province, int16_t Year, const QString& NAICS,
                            const QString& Language);

bool fncPrepareBalanceSheetReport(Connection& DataConn, Connection& WriteConn, const QString& ReportToDisplay,
                                  int16_t Volume, const QString& Province, int16_t Year, const QString& NAICS,
                                  const QString& Language);

// Fills Rpt_Comparison and Rpt_Comparison_Titles; false (after telling the user) when
// the industry has no data for the firm's year.
bool fncPrepareComparisonReport(Connection& DataConn, Connection& WriteConn, const QString& ReportToDisplay,
                                int16_t Volume, const QString& Province, int16_t Year, const QString& NAICS,
                                const QString& Language, const QStringList& aComparisonValues);

namespace reportprep {
// The region's name in the report's language; the code itself when the code is unknown.
QString regionName(Connection& WriteConn, const QString& Province, const QString& Language);
} // namespace reportprep
