#include "screens/industry/FirmValuesHandOver.h"

#include "platform/Platform.h"
#include "screens/industry/frmSearch.h"
#include "state/modMain.h"

namespace {

// TEMPORARY: the message both hand-overs show until the firm screens exist.
void tellFirmEntryIsNotAvailable() {
    MsgBox(modMain::IsFrench()
               ? QStringLiteral(
                     "La saisie des données d'une entreprise n'est pas encore offerte dans cette version.")
               : QStringLiteral("Entering a firm's data is not available yet in this version."),
           MsgButtons::OK, MsgIcon::Information);
}

} // namespace

void handOverToNewFirmValues(frmSearch& search) {
    (void)search;
    tellFirmEntryIsNotAvailable();
}

void handOverToExistingFirmValues(frmSearch& search) {
    (void)search;
    tellFirmEntryIsNotAvailable();
}
