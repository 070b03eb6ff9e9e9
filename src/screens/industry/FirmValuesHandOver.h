#pragma once
// TEMPORARY: the one place where the industry selection screen hands over to the firm
// values screen ("Enter new data") and to the list of saved firms ("Open existing
// data"). Those screens come with the next change; until then each hand-over tells
// the user, in the language in force, that firm entry is not available yet, and the
// industry selection screen stays as it is. When they arrive, these functions show
// them (and hide the industry selection screen for new data), and this file goes away.

class frmSearch;

// "Enter new data": shows the firm values screen, then hides the industry selection.
void handOverToNewFirmValues(frmSearch& search);

// "Open existing data": lists the saved firms; shows the list when there is one.
void handOverToExistingFirmValues(frmSearch& search);
