#pragma once
// Writes the sample reference database.

#include "Catalogue.h"

#include <QString>

namespace sampledata {

// The name of the dataset table of a dataset and year, e.g. ZEBRO_Vol3_NS_2011_Final_Ratios.
QString datasetTableName(const char* tablePrefix, int year);

// Writes every table into `path`, a file that must not exist yet, in one
// transaction. Throws std::runtime_error on failure; the caller removes the file.
void writeSampleDatabase(const QString& path, const Catalogue& catalogue);

// Creates `output` afresh: any existing file is removed first, and the database is
// built under a temporary name in the same folder and renamed when complete, so a
// failed run never leaves a partial file behind.
void buildSampleDatabase(const QString& output);

} // namespace sampledata
