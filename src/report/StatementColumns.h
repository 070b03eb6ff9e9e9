#pragma once
// The firm's statement as it was entered, kept in the comparison table beside the shares
// and ratios computed from it, so that the comparison report can print the figures it
// compares: one column per line item, named "Stmt" and the item's MyValues column.

#include "firm/LineItems.h"

#include <QString>
#include <QStringList>

namespace statementcolumns {

inline QString column(const lineitems::LineItem& item) {
    return QStringLiteral("Stmt") + QLatin1String(item.column);
}

// All 32, in the order of the statement.
inline QStringList all() {
    QStringList out;
    for (const lineitems::LineItem& item : lineitems::all())
        out << column(item);
    return out;
}

} // namespace statementcolumns
