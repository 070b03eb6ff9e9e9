#pragma once
// A folder of reference data: one CSV file per table, named like the table. Finds the
// files, matches them to the tables of the reference database and names what is
// missing or left over.

#include "refdata/ImportIssues.h"
#include "refdata/ReferenceSchema.h"

#include <QString>
#include <vector>

namespace refdata {

struct SourceFile {
    QString fileName; // as it is in the folder, e.g. ZEBRO_Vol3_NS_2011_Final_Ratios.csv
    QString path;
    refschema::Table table;
};

struct SourceFolder {
    QString path;
    std::vector<SourceFile> files;        // the data tables, in the order an import writes them
    std::optional<SourceFile> provenance; // Provenance.csv: where the figures come from
};

// Scans the folder. A required table without a file, two files for one table and a
// missing folder are errors; a CSV file that names no table is a warning.
SourceFolder scanFolder(const QString& path, IssueList& issues);

} // namespace refdata
