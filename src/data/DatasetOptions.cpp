#include "data/DatasetOptions.h"

#include "text/StringTable.h"

#include <array>

namespace datasets {

namespace {

constexpr std::array<DatasetOption, 19> kOptions{{
    {"optVol1", 490, "", "ZEBRO_Vol1_ALL_", 1, "ALL"},
    {"optVol2", 492, "", "ZEBRO_Vol2_ALL_", 2, "ALL"},
    {"optVol3", 494, "", "ZEBRO_Vol3_ALL_", 3, "ALL"},
    {"optAtlantic", 416, "", "ZEBRO_Vol3_ATLANTIC_", 3, "ATLANTIC"},
    {"optNovaScotia", 450, "", "ZEBRO_Vol3_NS_", 3, "NS"},
    {"optNewBrunswick", 452, "", "ZEBRO_Vol3_NB_", 3, "NB"},
    {"optNewfoundland", 446, "", "ZEBRO_Vol3_NL_", 3, "NL"},
    {"optPEI", 448, "", "ZEBRO_Vol3_PE_", 3, "PE"},
    {"optQuebec", 418, "", "ZEBRO_Vol3_QC_", 3, "QC"},
    {"optOntario", 0, "Ontario", "ZEBRO_Vol3_ON_", 3, "ON"},
    {"optPrairies", 0, "Prairies", "ZEBRO_Vol3_PRAIRIES_", 3, "PRAIRIES"},
    {"optManitoba", 0, "Manitoba", "ZEBRO_Vol3_MB_", 3, "MB"},
    {"optSaskatchewan", 0, "Saskatchewan", "ZEBRO_Vol3_SK_", 3, "SK"},
    {"optAlberta", 0, "Alberta", "ZEBRO_Vol3_AB_", 3, "AB"},
    {"optBritishColumbia", 414, "", "ZEBRO_Vol3_BC_", 3, "BC"},
    {"optTerritories", 454, "", "ZEBRO_Vol3_TERRITORIES_", 3, "TERRITORIES"},
    {"optNWT", 458, "", "ZEBRO_Vol3_NT_", 3, "NT"},
    {"optNunavut", 0, "Nunavut", "ZEBRO_Vol3_NU_", 3, "NU"},
    {"optYukon", 0, "Yukon", "ZEBRO_Vol3_YT_", 3, "YT"},
}};

} // namespace

std::span<const DatasetOption> options() {
    return kOptions;
}

const DatasetOption* findByControlName(const QString& controlName) {
    for (const DatasetOption& o : kOptions)
        if (controlName == QLatin1String(o.controlName)) return &o;
    return nullptr;
}

const DatasetOption* findByVolumeRegion(int volume, const QString& region) {
    for (const DatasetOption& o : kOptions)
        if (o.volume == volume && region.compare(QLatin1String(o.region), Qt::CaseInsensitive) == 0)
            return &o;
    return nullptr;
}

QString caption(const DatasetOption& option, Language language) {
    if (option.captionEntry == 0) return QString::fromUtf8(option.literalCaption);
    return strings::text(option.captionEntry, language);
}

} // namespace datasets
