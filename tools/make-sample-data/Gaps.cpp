#include "Gaps.h"

#include "FigureModel.h"
#include "Random.h"

#include <stdexcept>
#include <string>
#include <string_view>

// The deliberate gaps:
//
//  a) Suppressed rows. About 3 % of the rows of every dataset table keep their NAICS
//     and IndustryDescription but have NumberOfFirms and every figure NULL, as the
//     publisher does when too few firms answered. Which rows is drawn from a hash of
//     table prefix, year and NAICS. Pinned: in ZEBRO_Vol3_NS_ the industry 541330
//     (Engineering services) is suppressed in 2010 only; its 2011 and 2009 rows are
//     complete.
//  b) ZEBRO_Vol3_NU_2011_Final_Ratios exists but is empty; Nunavut 2010 and 2009
//     have rows.
//  c) ZEBRO_Vol3_PE_2009_Final_Ratios does not exist.
//  d) A handful of quartile boundaries are stored as 0, meaning unavailable: about
//     one row in a thousand, drawn like (a), loses one of ICQ1, ITQ1, ITQ2 or ITQ3.
//     Pinned: ICQ1 of 722110 (Full-service restaurants) in ZEBRO_Vol3_ALL_2011 and
//     ITQ2 of 541611 (Administrative management consulting) in
//     ZEBRO_Vol1_ALL_2011.

namespace sampledata::gaps {

namespace {

struct PinnedZero {
    const char* prefix;
    int year;
    const char* naics;
    const char* column;
};
constexpr PinnedZero kPinnedZeros[] = {
    {"ZEBRO_Vol3_ALL_", 2011, "722110", "ICQ1"},
    {"ZEBRO_Vol1_ALL_", 2011, "541611", "ITQ2"},
};

constexpr const char* kNovaScotiaPrefix = "ZEBRO_Vol3_NS_";
constexpr double kSuppressedShare = 0.03;
constexpr double kZeroedShare = 0.001;

bool is(const DatasetOption& option, const char* prefix) {
    return std::string_view(option.tablePrefix) == prefix;
}

const PinnedZero* pinnedZero(const DatasetOption& option, const Industry& industry, int year) {
    for (const PinnedZero& p : kPinnedZeros)
        if (is(option, p.prefix) && p.year == year && industry.naics == QLatin1String(p.naics)) return &p;
    return nullptr;
}

Stream rowStream(const char* topic, const DatasetOption& option, const Industry& industry, int year) {
    return Stream(seedOf(topic, option.tablePrefix, std::to_string(year), industry.naics.toStdString()));
}

} // namespace

bool tableOmitted(const DatasetOption& option, int year) {
    return is(option, "ZEBRO_Vol3_PE_") && year == 2009;
}

bool tableEmpty(const DatasetOption& option, int year) {
    return is(option, "ZEBRO_Vol3_NU_") && year == 2011;
}

bool rowSuppressed(const DatasetOption& option, const Industry& industry, int year) {
    if (is(option, kNovaScotiaPrefix) && industry.naics == QLatin1String(kNovaScotiaSuppressed2010))
        return year == 2010;
    if (pinnedZero(option, industry, year)) return false;
    return rowStream("suppressed", option, industry, year).uniform() < kSuppressedShare;
}

std::optional<QString> zeroedBoundary(const DatasetOption& option, const Industry& industry, int year) {
    if (const PinnedZero* p = pinnedZero(option, industry, year)) return QString::fromLatin1(p->column);
    Stream s = rowStream("zeroed", option, industry, year);
    if (s.uniform() >= kZeroedShare) return std::nullopt;
    static const char* const kCandidates[] = {"ICQ1", "ITQ1", "ITQ2", "ITQ3"};
    return QString::fromLatin1(kCandidates[std::size_t(s.uniform() * 4.0)]);
}

void checkPinnedCases(const Catalogue& catalogue) {
    auto option = [](const char* prefix) {
        for (const DatasetOption& o : datasets::options())
            if (is(o, prefix)) return &o;
        throw std::runtime_error(std::string("no dataset with prefix ") + prefix);
    };
    auto industry = [&catalogue](const char* naics) {
        for (const Industry& i : catalogue.industries())
            if (i.naics == QLatin1String(naics)) return &i;
        throw std::runtime_error(std::string("no industry ") + naics);
    };
    auto require = [](bool ok, const std::string& what) {
        if (!ok) throw std::runtime_error("deliberate gap lost: " + what);
    };

    const DatasetOption* ns = option(kNovaScotiaPrefix);
    const Industry* nsIndustry = industry(kNovaScotiaSuppressed2010);
    require(inDataset(*ns, *nsIndustry),
            std::string(kNovaScotiaSuppressed2010) + " is not covered in Nova Scotia");
    for (int year : datasets::kReferenceYears)
        require(!tableOmitted(*ns, year) && !tableEmpty(*ns, year),
                "a Nova Scotia table is missing or empty");

    for (const PinnedZero& p : kPinnedZeros) {
        const DatasetOption* o = option(p.prefix);
        require(inDataset(*o, *industry(p.naics)), std::string(p.naics) + " is not covered by " + p.prefix);
        require(!tableOmitted(*o, p.year) && !tableEmpty(*o, p.year), std::string(p.prefix) + " has no rows");
    }

    const DatasetOption* nu = option("ZEBRO_Vol3_NU_");
    bool nunavutHasRows = false;
    for (const Industry& i : catalogue.industries())
        nunavutHasRows = nunavutHasRows || inDataset(*nu, i);
    require(nunavutHasRows, "Nunavut covers no industry");
}

} // namespace sampledata::gaps
