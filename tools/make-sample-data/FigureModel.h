#pragma once
// Synthetic but plausible industry figures: quartiles of the fifteen ratios, the
// shares of firms with profits and losses, and the balance-sheet structure, for one
// industry in one dataset (volume and region) and one reference year.
//
// An industry's figures start from the profile of its sector, take a character of
// their own (the same in every dataset, so the volumes of one industry resemble each
// other), drift from year to year with the economy, and a region's figures are the
// Canada-wide ones perturbed, more so where few firms are counted.

#include "Catalogue.h"
#include "data/DatasetOptions.h"

#include <QHash>
#include <QString>
#include <optional>

namespace sampledata {

struct DatasetRow {
    int firms = 0;
    // Each numeric column of a dataset table after NumberOfFirms, by column name.
    QHash<QString, double> values;
};

bool isKnownProfile(const QString& name);
bool isKnownRegion(const QString& code);

// Whether the dataset has a row for the industry. Volume 1 covers finance and
// insurance, the smaller volumes do not; a region covers an industry only where it
// counts enough firms. The answer is the same for the three reference years.
bool inDataset(const DatasetOption& option, const Industry& industry);

// The figures of an industry the dataset covers.
DatasetRow figures(const DatasetOption& option, const Industry& industry, int year);

} // namespace sampledata
