#pragma once
// The tree view's model, filled in one pass from the node list before any view sees
// it: folders with the folder picture (the open folder while selected), industries with
// the paper picture. Each item carries its key and its picture number.

#include "industry/IndustryTree.h"

#include <Qt>

class QObject;
class QStandardItemModel;

namespace industrytreemodel {

inline constexpr int KeyRole = Qt::UserRole + 1;
inline constexpr int PictureRole = Qt::UserRole + 2; // 1 folder, 3 industry

QStandardItemModel* build(const industrytree::Tree& tree, QObject* parent);

} // namespace industrytreemodel
