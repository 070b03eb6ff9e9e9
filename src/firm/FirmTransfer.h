#pragma once
// One firm to and from a firm file, as the firm values screen's File > Import and
// File > Export do it: the format of `ventrolux-cli compare` (one JSON object, or a CSV
// file whose first data row is the firm), so that a file written here is read there
// and the other way round.

#include "firm/FirmStatement.h"
#include "text/Language.h"

#include <QString>
#include <optional>

namespace firmtransfer {

struct Imported {
    // The firm as the screen will hold it: entered values in their normal form, the
    // subtotals computed again, empty values "0". Nothing when the file is refused.
    std::optional<FirmStatement> firm;
    QString problem; // why the file was refused: names the file and what is wrong
    QString note;    // something the user should know about an imported firm, or empty
};

// Reads the firm of a firm file. The name and year the file leaves empty are those of
// onScreen; the industry stays the one chosen on the screen (onScreen.naics), and a
// file naming another one gets a note. A year must be one of the three reference years.
Imported importFirm(const QString& path, const FirmStatement& onScreen, Language language);

// Writes the firm: CSV (a header and one row) when the file name ends in ".csv", one
// JSON object otherwise. The file is written whole or left as it was. Empty on success, otherwise
// the problem, naming the file. The values are written in their normal form.
QString exportFirm(const QString& path, const FirmStatement& firm, Language language);

} // namespace firmtransfer
