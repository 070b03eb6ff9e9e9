#include "screens/start/IndustrySelectionHandOver.h"

#include "screens/start/frmMenu.h"

void handOverToIndustrySelection(frmMenu& menu) {
    // TEMPORARY SEAM: the industry selection screen comes with a later change; the
    // dataset choice is already in the global state, so nothing else happens here yet.
    (void)menu;
}
