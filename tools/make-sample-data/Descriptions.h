#pragma once
// What each dataset covers, in the two languages, as shown when a user picks one.

#include "data/DatasetOptions.h"

#include <QString>

namespace sampledata {

// Two to four sentences; throws std::runtime_error for a region without a name.
QString datasetDescription(const DatasetOption& option, bool french);

} // namespace sampledata
