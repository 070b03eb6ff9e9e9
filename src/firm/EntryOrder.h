#pragma once
// The order in which the value boxes are visited: where Enter moves from each box
// (the line item table's enterNext) and the order Tab visits the 32 boxes in after
// the firm name and the year: assets, liabilities and equity, the two current
// totals, then the income statement.

#include <QList>
#include <QString>
#include <optional>

namespace entryorder {

// Index in lineitems::all() of a value box by its name ("txtCash"); nothing when unknown.
std::optional<int> indexOfBox(const QString& textBox);

// Index in lineitems::all() of the box Enter moves to from the box at `index`.
int enterTarget(int index);

// The indexes in lineitems::all() of the 32 boxes in Tab order.
QList<int> tabOrder();

} // namespace entryorder
