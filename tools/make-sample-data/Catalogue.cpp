#include "Catalogue.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <stdexcept>

namespace sampledata {

namespace {

[[noreturn]] void fail(const char* file, int line, const QString& message) {
    throw std::runtime_error(
        QStringLiteral("%1:%2: %3").arg(QLatin1String(file)).arg(line).arg(message).toStdString());
}

// Tab-separated records; blank lines and lines starting with '#' are comments.
template <typename Handler>
void forEachRecord(const QByteArray& text, const char* file, int fieldCount, Handler handle) {
    int lineNumber = 0;
    for (QByteArray line : text.split('\n')) {
        ++lineNumber;
        if (line.endsWith('\r')) line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith('#')) continue;
        const QStringList fields = QString::fromUtf8(line).split(QLatin1Char('\t'));
        if (fields.size() != fieldCount)
            fail(file, lineNumber,
                 QStringLiteral("expected %1 fields, found %2").arg(fieldCount).arg(fields.size()));
        for (const QString& f : fields)
            if (f != f.trimmed()) fail(file, lineNumber, QStringLiteral("stray blank around \"%1\"").arg(f));
        handle(fields, lineNumber);
    }
}

QByteArray readResource(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("cannot read %1").arg(path).toStdString());
    return f.readAll();
}

} // namespace

QString expandParagraphs(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
    return out;
}

Catalogue Catalogue::parse(const QByteArray& foldersText, const QByteArray& industriesText) {
    Catalogue c;
    QSet<QString> keys;

    forEachRecord(foldersText, "folders.tsv", 5, [&](const QStringList& f, int line) {
        Folder folder{f[0], f[1], f[2], f[3], f[4], 0};
        if (!folder.key.startsWith(QLatin1String("Ind")) || folder.key.size() < 4)
            fail("folders.tsv", line,
                 QStringLiteral("folder key \"%1\" must start with Ind").arg(folder.key));
        if (keys.contains(folder.key))
            fail("folders.tsv", line, QStringLiteral("duplicate key %1").arg(folder.key));
        // A parent must come first: this keeps the tree free of cycles and lets the
        // profile be inherited in one pass.
        if (!folder.parent.isEmpty() && !keys.contains(folder.parent))
            fail("folders.tsv", line,
                 QStringLiteral("parent %1 is not an earlier folder").arg(folder.parent));
        if (folder.titleE.isEmpty() || folder.titleF.isEmpty())
            fail("folders.tsv", line, QStringLiteral("folder %1 lacks a title").arg(folder.key));
        keys.insert(folder.key);
        c.folders_.push_back(folder);
    });

    static const QRegularExpression sixDigits(QStringLiteral("^[1-9][0-9]{5}$"));
    QString previous;
    forEachRecord(industriesText, "industries.tsv", 6, [&](const QStringList& f, int line) {
        Industry ind;
        ind.naics = f[0];
        ind.folder = f[1];
        ind.titleE = f[2];
        ind.titleF = f[3];
        ind.definitionE = expandParagraphs(f[4]);
        ind.definitionF = expandParagraphs(f[5]);
        if (!sixDigits.match(ind.naics).hasMatch())
            fail("industries.tsv", line, QStringLiteral("\"%1\" is not a six-digit code").arg(ind.naics));
        if (ind.naics <= previous)
            fail("industries.tsv", line, QStringLiteral("%1 is out of order or repeated").arg(ind.naics));
        previous = ind.naics;
        if (keys.contains(ind.nodeKey()))
            fail("industries.tsv", line, QStringLiteral("key %1 is taken").arg(ind.nodeKey()));
        if (ind.titleE.isEmpty() || ind.titleF.isEmpty())
            fail("industries.tsv", line, QStringLiteral("%1 lacks a title").arg(ind.naics));
        if (ind.definitionE.isEmpty() != ind.definitionF.isEmpty())
            fail("industries.tsv", line,
                 QStringLiteral("%1 has a definition in one language only").arg(ind.naics));
        bool folderKnown = false;
        for (const Folder& folder : c.folders_)
            folderKnown = folderKnown || folder.key == ind.folder;
        if (!folderKnown) fail("industries.tsv", line, QStringLiteral("unknown folder %1").arg(ind.folder));
        keys.insert(ind.nodeKey());
        c.industries_.push_back(ind);
    });

    if (c.folders_.empty() || c.industries_.empty()) throw std::runtime_error("the industry tree is empty");
    c.resolve();
    return c;
}

Catalogue Catalogue::fromResources() {
    return parse(readResource(QStringLiteral(":/sample-data/folders.tsv")),
                 readResource(QStringLiteral(":/sample-data/industries.tsv")));
}

void Catalogue::resolve() {
    QHash<QString, qsizetype> index;
    for (qsizetype i = 0; i < qsizetype(folders_.size()); ++i) {
        Folder& f = folders_[size_t(i)];
        if (f.profile.isEmpty() && !f.parent.isEmpty())
            f.profile = folders_[size_t(index.value(f.parent))].profile;
        index.insert(f.key, i);
    }

    auto underFinance = [&](QString key) {
        while (!key.isEmpty()) {
            if (key == QLatin1String(kFinanceFolder)) return true;
            key = folders_[size_t(index.value(key))].parent;
        }
        return false;
    };
    for (Industry& ind : industries_) {
        ind.profile = folders_[size_t(index.value(ind.folder))].profile;
        if (ind.profile.isEmpty())
            throw std::runtime_error(
                QStringLiteral("industry %1 has no figure profile").arg(ind.naics).toStdString());
        ind.finance = underFinance(ind.folder);
    }

    // Depth-first order, so that every node follows its parent: a folder's
    // sub-folders first, then its industries, each in file order.
    int next = 1;
    auto visit = [&](auto&& self, const QString& parent) -> void {
        for (Folder& f : folders_) {
            if (f.parent != parent) continue;
            f.sequence = next++;
            self(self, f.key);
        }
        if (parent.isEmpty()) return;
        for (Industry& ind : industries_)
            if (ind.folder == parent) ind.sequence = next++;
    };
    visit(visit, QString());
}

} // namespace sampledata
