#pragma once
// The industry tree of the chosen dataset as a plain list of nodes: the sector folders
// of tblTreeview, then the dataset's industries, each node after its parent, so that a
// view can be filled in one pass by appending every node as the last child of its
// parent. Inside a folder its sub-folders therefore come first, in folder order, then
// its industries, in the description table's order.

#include "data/DBTools.h"
#include "text/Language.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace industrytree {

// The pictures of the tree's image list, by their number.
enum class Picture { Folder = 1, OpenFolder = 2, Industry = 3 };

inline constexpr char TopFolder[] = "IndTOTALL";        // "All industries"
inline constexpr char ManagementFolder[] = "IndMANAGE"; // the second top-level folder
inline constexpr char FinanceFolder[] = "IndTFINANC";   // shown only with the detailed description table

struct Node {
    QString key;  // NodeKey, trimmed
    QString text; // the title in the language of the build
    int parent;   // index of the parent node in Tree::nodes; -1 at the top level
    bool industry;

    Picture picture() const { return industry ? Picture::Industry : Picture::Folder; }
};

struct Tree {
    std::vector<Node> nodes;
    // Rows the reference data got wrong and how they were handled: a node whose parent
    // is not in the tree stands under "All industries", a repeated key is left out.
    QStringList faults;

    int indexOf(const QString& key) const;
};

// Reads the folders and the industries of the dataset in the language and builds the
// tree.
Tree build(Connection& data, const QString& naicsTable, const QString& datasetTable, Language language);

// The NAICS code of an industry node: its key with every "Ind" removed.
QString naicsOfKey(const QString& key);

} // namespace industrytree
