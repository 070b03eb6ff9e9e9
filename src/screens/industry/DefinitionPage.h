#pragma once
// Draws the printed definition's lines on a printer's pages, one line under the other
// from the top of the printable area, starting a new page when one is full. The face is
// a proportional one: a line of 80 characters past the margin, and the word that ends
// it, fit the width of a letter or A4 page at 10 point, as they would not in a
// fixed-pitch face.

#include "industry/DefinitionPrintout.h"

class QPagedPaintDevice;

// False when the device could not be painted on (a printer that refused the job).
bool paintDefinitionPage(QPagedPaintDevice& device, const QList<definitionprintout::PrintedLine>& lines);
