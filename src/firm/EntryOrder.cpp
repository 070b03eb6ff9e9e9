#include "firm/EntryOrder.h"

#include "firm/LineItems.h"

#include <algorithm>
#include <stdexcept>

namespace entryorder {

namespace {

// Where each group stands in the Tab order; within a group the boxes keep the stored order.
int tabRank(lineitems::Section section) {
    switch (section) {
    case lineitems::Section::Assets:
        return 0;
    case lineitems::Section::LiabilitiesEquity:
        return 1;
    case lineitems::Section::CurrentTotals:
        return 2;
    case lineitems::Section::Income:
        return 3;
    }
    return 4;
}

} // namespace

std::optional<int> indexOfBox(const QString& textBox) {
    const auto items = lineitems::all();
    for (int i = 0; i < lineitems::kCount; ++i)
        if (textBox == QLatin1String(items[i].textBox)) return i;
    return std::nullopt;
}

int enterTarget(int index) {
    const auto target = indexOfBox(QLatin1String(lineitems::all()[index].enterNext));
    if (!target) throw std::logic_error("the line item table names an unknown box after Enter");
    return *target;
}

QList<int> tabOrder() {
    QList<int> order;
    for (int i = 0; i < lineitems::kCount; ++i)
        order << i;
    std::stable_sort(order.begin(), order.end(), [](int a, int b) {
        return tabRank(lineitems::all()[a].section) < tabRank(lineitems::all()[b].section);
    });
    return order;
}

} // namespace entryorder
