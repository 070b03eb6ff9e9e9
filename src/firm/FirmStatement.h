#pragma once
// A firm's statement as the user keeps it: a name, a reference year, the industry
// code and the 32 value texts. Every rule here works on the texts, as the screen does.

#include "firm/LineItems.h"
#include "text/Language.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

struct FirmStatement {
    QString firmName;
    QString year = QStringLiteral("2011");
    QString naics;
    std::array<QString, lineitems::kCount> values; // in the order of lineitems::all()

    QString& value(const char* column);
    const QString& value(const char* column) const;
};

namespace firmrules {

// Recomputes the five subtotals in order (Toa, Ta, Tliab, Equity1, TotLiabShareEq),
// each part read as single precision and each total written as its seven-digit text;
// a later total reads the text an earlier step wrote.
void calculateSubTotals(std::array<QString, lineitems::kCount>& values);

// The books balance: the entered asset items add up exactly to the entered liability and
// equity items (as exact decimals of their normal form), or total assets equal total
// liabilities and shareholders' equity compared in single precision, as the subtotals are kept.
bool isBalanced(const std::array<QString, lineitems::kCount>& values);

// Every value "0" (the reset of New, Delete and Clear all).
void resetValues(std::array<QString, lineitems::kCount>& values);

// Puts "0" into every empty value.
void fillEmpty(std::array<QString, lineitems::kCount>& values);

// Puts every entered value into its normal form; false when one has none (out of range).
bool normalizeEntered(std::array<QString, lineitems::kCount>& values);

// The position of a line item in the 37-entry comparison value array.
int comparisonIndex(int lineItemIndex);

// The 37 texts handed to the comparison report: 0 name, 1 year, 2 NAICS, 3 industry
// title (trimmed), 4..36 the values with entry 21 left empty.
QStringList comparisonValues(const FirmStatement& firm, const QString& industryTitle);

// The report request's checks in order — year, balance, name, values — giving the
// message of the first that fails (in the language given), or nothing when all pass.
std::optional<QString> reportRequestProblem(const FirmStatement& firm, Language language);

} // namespace firmrules
