#pragma once
// The 32 line items of a firm's statement: one table that the firm model, the
// screen, the stored record, the comparison and the command-line tool all read.

#include <QString>
#include <optional>
#include <span>

namespace lineitems {

enum class Kind { Entered, Computed };

enum class Section { Assets, Income, LiabilitiesEquity, CurrentTotals };

struct LineItem {
    const char* column;       // MyValues column, e.g. "Cash"
    const char* textBox;      // e.g. "txtCash"
    const char* captionLabel; // e.g. "lblCash"
    int captionEntry;         // string-table entry of the English caption
    Kind kind;
    Section section;
    const char* enterNext; // the box Enter moves to
};

// In the order of the stored record (MyValues columns 4 to 35).
std::span<const LineItem> all();
inline constexpr int kCount = 32;

// Index in all() of a column, compared without regard to case; nothing when unknown.
std::optional<int> indexOf(const QString& column);
const LineItem& byColumn(const char* column);

} // namespace lineitems
