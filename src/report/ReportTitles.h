#pragma once
// The fixed titles and labels of the three reports, per language. They ship in the
// user database's *_Titles_Source tables; each preparation copies the row of the
// report's language into the *_Titles table, where the renderer reads it.

#include <QString>
#include <span>

namespace reporttitles {

struct Label {
    const char* column;
    const char* english; // nullptr: filled by the report's preparation
    const char* french;
};

struct TitleTable {
    const char* table;  // e.g. "Rpt_Ratios_Titles"
    const char* source; // e.g. "Rpt_Ratios_Titles_Source"
    std::span<const Label> labels;
};

std::span<const TitleTable> tables();
const TitleTable& comparison();
const TitleTable& ratios();
const TitleTable& balanceSheet();

// Per volume and language: the report's upper and lower title lines and the median descriptions.
struct VolumeDescription {
    int volume;
    const char* language;
    const char* title1;
    const char* title2;
    const char* largeMedianDesc;
    const char* mediumMedianDesc;
};
std::span<const VolumeDescription> volumeDescriptions();

struct ProvinceName {
    const char* code;
    const char* english;
    const char* french;
};
std::span<const ProvinceName> provinceNames();

} // namespace reporttitles
