#pragma once
// TEMPORARY SEAM — the one place where the main menu hands over to the industry
// selection screen. That screen is not built yet: until it is, a successful Search
// has filled the global dataset state and the menu simply stays where it is. When the
// screen arrives, this function hides the menu and shows it, and this file goes away.

class frmMenu;

void handOverToIndustrySelection(frmMenu& menu);
