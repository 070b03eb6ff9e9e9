#pragma once
// The holes the sample database carries on purpose, so that the program's handling
// of missing reference data can be seen and tested. Each is stable from one run to
// the next; Gaps.cpp describes them.

#include "Catalogue.h"
#include "data/DatasetOptions.h"

#include <QString>
#include <optional>

namespace sampledata::gaps {

// The Nova Scotia industry whose 2010 figures are suppressed while 2011 and 2009 are
// published.
inline constexpr const char* kNovaScotiaSuppressed2010 = "541330";

// The table of this dataset and year is not created at all.
bool tableOmitted(const DatasetOption& option, int year);

// The table exists but holds no rows.
bool tableEmpty(const DatasetOption& option, int year);

// The industry's row exists but NumberOfFirms and every figure are NULL.
bool rowSuppressed(const DatasetOption& option, const Industry& industry, int year);

// The quartile column stored as 0 (an unavailable boundary) in this row, if any.
std::optional<QString> zeroedBoundary(const DatasetOption& option, const Industry& industry, int year);

// Throws std::runtime_error when a deliberate gap would not show in the output,
// e.g. because its industry is no longer covered by the dataset.
void checkPinnedCases(const Catalogue& catalogue);

} // namespace sampledata::gaps
