#pragma once
// The 19 reference datasets a user can choose on the main menu: one table, used by
// the menu, the dataset choice, the availability test, the command-line tool and
// the sample data generator.

#include "text/Language.h"

#include <QString>
#include <optional>
#include <span>

struct DatasetOption {
    const char* controlName; // the option button, e.g. "optNovaScotia"
    int captionEntry;        // string-table entry of the English caption; 0 when literal
    const char* literalCaption;
    const char* tablePrefix; // e.g. "ZEBRO_Vol3_NS_"
    int volume;
    const char* region;
};

namespace datasets {

// In the order of the availability test.
std::span<const DatasetOption> options();

const DatasetOption* findByControlName(const QString& controlName);
const DatasetOption* findByVolumeRegion(int volume, const QString& region);

// The option's caption in a language.
QString caption(const DatasetOption& option, Language language);

inline constexpr int kReferenceYears[] = {2011, 2010, 2009};
inline constexpr int kCurrentYear = 2011;

} // namespace datasets
