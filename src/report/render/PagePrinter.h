#pragma once
// Puts a report document on pages: the body laid out for the device, a running header
// from the second page on, and on every page the footer note and "Page n / N".

#include <QMarginsF>

class QPagedPaintDevice;
class QTextDocument;

namespace reportrender {

// The least margins, in millimetres, whatever the device's own margins are.
inline constexpr QMarginsF kMinimumMargins{16, 14, 16, 12};

// Paints every page; returns the number of pages.
int paintPages(QTextDocument& doc, QPagedPaintDevice& device);

} // namespace reportrender
