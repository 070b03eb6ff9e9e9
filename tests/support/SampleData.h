#pragma once
// Facts of the sample reference database that tests look up rather than hard-code.

#include "data/Catalogue.h"
#include "data/DBTools.h"

// The first industry (by code) of a volume 3 region with figures in all three years.
inline QString completeIndustry(Connection& data, const QString& region) {
    const auto table = [&region](int year) { return catalogue::datasetTableName(3, region, year); };
    RecordsetPtr rs =
        GetRS(data,
              QStringLiteral(
                  "select a.NAICS from %1 a join %2 b on a.NAICS = b.NAICS join %3 c on a.NAICS = c.NAICS "
                  "where a.NumberOfFirms is not null and b.NumberOfFirms is not null and "
                  "c.NumberOfFirms is not null order by a.NAICS")
                  .arg(table(2011), table(2010), table(2009)),
              QStringLiteral("read"));
    return rs->eof() ? QString() : rs->field(0).toString();
}
