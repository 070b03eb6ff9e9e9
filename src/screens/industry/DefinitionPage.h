#pragma once
// Draws the printed definition's lines on a printer's pages, one line under the other
// from the top of the printable area, starting a new page when one is full. The face is
// a fixed-pitch one, so that the margin of blanks is a margin of character cells.

#include "industry/DefinitionPrintout.h"

class QPagedPaintDevice;

// False when the device could not be painted on (a printer that refused the job).
bool paintDefinitionPage(QPagedPaintDevice& device, const QList<definitionprintout::PrintedLine>& lines);
