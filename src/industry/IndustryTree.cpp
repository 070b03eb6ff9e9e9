#include "industry/IndustryTree.h"

#include "data/Catalogue.h"

#include <QHash>

namespace industrytree {

namespace {

const QString kRead = QStringLiteral("read");

QString textOf(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

// Adds nodes under the rules of the tree, keeping the index of every key.
class Builder {
public:
    explicit Builder(Tree& tree) : tree_(tree) {}

    void addTop(const QString& key, const QString& text) {
        if (isDuplicate(key)) return;
        append(key, text, -1, false);
        if (key.compare(QLatin1String(TopFolder), Qt::CaseInsensitive) == 0 && topFolder_ < 0)
            topFolder_ = static_cast<int>(tree_.nodes.size()) - 1;
    }

    void addChild(const QString& key, const QString& text, const QString& parentKey, bool industry) {
        if (isDuplicate(key)) return;
        int parent = index_.value(parentKey, -1);
        if (parent < 0) {
            // The reference data promise a parent for every node; when one is missing
            // the node still has a place, under "All industries" (or at the top when
            // even that folder is missing).
            tree_.faults << QStringLiteral("%1: no parent '%2', placed under %3")
                                .arg(key, parentKey, QLatin1String(TopFolder));
            parent = topFolder_;
        }
        append(key, text, parent, industry);
    }

private:
    bool isDuplicate(const QString& key) {
        if (!index_.contains(key)) return false;
        tree_.faults << QStringLiteral("%1: repeated key, left out").arg(key);
        return true;
    }

    void append(const QString& key, const QString& text, int parent, bool industry) {
        tree_.nodes.push_back(Node{key, text, parent, industry});
        index_.insert(key, static_cast<int>(tree_.nodes.size()) - 1);
    }

    Tree& tree_;
    QHash<QString, int> index_;
    int topFolder_ = -1;
};

bool isTopLevelFolder(const QString& key) {
    return key.compare(QLatin1String(TopFolder), Qt::CaseInsensitive) == 0 ||
           key.compare(QLatin1String(ManagementFolder), Qt::CaseInsensitive) == 0;
}

} // namespace

int Tree::indexOf(const QString& key) const {
    for (size_t i = 0; i < nodes.size(); ++i)
        if (nodes[i].key == key) return static_cast<int>(i);
    return -1;
}

Tree build(Connection& data, const QString& naicsTable, const QString& datasetTable, Language language) {
    RecordsetPtr folders =
        GetRS(data,
              QStringLiteral("select * from ") + catalogue::table(QLatin1String(catalogue::TreeView)) +
                  QStringLiteral(" order by sequence"),
              kRead);
    RecordsetPtr industries = GetRS(data,
                                    QStringLiteral("select N.NodeKey, N.Parent, N.%1 from ")
                                            .arg(catalogue::industryTitleColumn(language)) +
                                        catalogue::table(naicsTable) + QStringLiteral(" N inner join ") +
                                        catalogue::table(datasetTable) +
                                        QStringLiteral(" F on N.NAICS = F.NAICS order by N.sequence"),
                                    kRead);

    Tree tree;
    tree.nodes.reserve(folders->recordCount() + industries->recordCount());
    Builder builder(tree);

    const QString folderTitle = catalogue::folderTitleColumn(language);
    const bool detailed = naicsTable == QLatin1String(catalogue::NaicsDetailed);
    for (; !folders->eof(); folders->moveNext()) {
        const QString rawKey = textOf(folders->field(QStringLiteral("NodeKey")));
        const QString key = rawKey.trimmed();
        const QString title = textOf(folders->field(folderTitle));
        if (isTopLevelFolder(key)) {
            builder.addTop(key, title.trimmed());
            continue;
        }
        // Finance and insurance is published in the detailed table only (volume 1).
        if (rawKey == QLatin1String(FinanceFolder) && !detailed) continue;
        builder.addChild(key, title, textOf(folders->field(QStringLiteral("Parent"))).trimmed(), false);
    }

    for (; !industries->eof(); industries->moveNext())
        builder.addChild(textOf(industries->field(0)).trimmed(), textOf(industries->field(2)),
                         textOf(industries->field(1)).trimmed(), true);
    return tree;
}

QString naicsOfKey(const QString& key) {
    return QString(key).remove(QStringLiteral("Ind"));
}

} // namespace industrytree
