#include "screens/industry/IndustryTreeModel.h"

#include <QIcon>
#include <QStandardItemModel>

namespace industrytreemodel {

namespace {

// The image list: the folder, the folder while it is the selected node, the paper.
const QIcon& folderIcon() {
    static const QIcon icon = [] {
        QIcon i(QStringLiteral(":/ventrolux/images/folder.svg"));
        i.addFile(QStringLiteral(":/ventrolux/images/folder-open.svg"), QSize(), QIcon::Selected);
        return i;
    }();
    return icon;
}

const QIcon& paperIcon() {
    static const QIcon icon(QStringLiteral(":/ventrolux/images/industry.svg"));
    return icon;
}

} // namespace

QStandardItemModel* build(const industrytree::Tree& tree, QObject* parent) {
    auto* model = new QStandardItemModel(parent);
    std::vector<QStandardItem*> items;
    items.reserve(tree.nodes.size());
    QList<QStandardItem*> topLevel;
    for (const industrytree::Node& node : tree.nodes) {
        auto* item = new QStandardItem(node.industry ? paperIcon() : folderIcon(), node.text);
        item->setEditable(false);
        item->setData(node.key, KeyRole);
        item->setData(static_cast<int>(node.picture()), PictureRole);
        item->setToolTip(node.text);
        items.push_back(item);
        if (node.parent < 0)
            topLevel << item;
        else
            items[static_cast<size_t>(node.parent)]->appendRow(item);
    }
    model->invisibleRootItem()->appendRows(topLevel);
    return model;
}

} // namespace industrytreemodel
