#include "data/PathGuard.h"

#include "data/ProgramFiles.h"
#include "text/StringTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <sys/stat.h>

namespace pathguard {

namespace {

// The files SQLite keeps beside a database while it writes it.
constexpr std::array<const char*, 4> kCompanions{"", "-journal", "-wal", "-shm"};

struct Identity {
    dev_t device;
    ino_t inode;
};

std::optional<Identity> identityOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return std::nullopt;
    return Identity{st.st_dev, st.st_ino};
}

bool same(const std::optional<Identity>& a, const std::optional<Identity>& b) {
    return a && b && a->device == b->device && a->inode == b->inode;
}

// The same file, or a name of the same folder that differs only in letter case: on a
// file system that folds case it is the same file, and one that does not fold it loses
// nothing by the refusal.
bool sameFile(const QString& a, const QString& b) {
    const QFileInfo fa(a), fb(b);
    if (same(identityOf(a), identityOf(b))) return true;
    return fa.fileName().compare(fb.fileName(), Qt::CaseInsensitive) == 0 &&
           (same(identityOf(fa.absolutePath()), identityOf(fb.absolutePath())) ||
            fa.absolutePath() == fb.absolutePath());
}

} // namespace

QString landingPath(const QString& path) {
    QString p = QFileInfo(path).absoluteFilePath();
    // A link to a link is followed to the end; a loop stops at the system's own limit.
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(p);
        if (!info.isSymLink()) break;
        p = info.symLinkTarget();
    }
    const QFileInfo info(p);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? QDir::cleanPath(info.absolutePath()) : folder) + u'/' + info.fileName();
}

std::optional<QString> ownDatabaseAt(const QString& target, Replaces replaces) {
    const QString landing = landingPath(target);
    const std::array<std::pair<QString, Replaces>, 2> databases{{
        {programfiles::userDatabasePath(), Replaces::UserDatabase},
        {programfiles::referenceDatabasePath(), Replaces::ReferenceDatabase},
    }};
    for (const auto& [database, kind] : databases) {
        const QString base = landingPath(database);
        for (const char* companion : kCompanions) {
            const bool replaceable = *companion == '\0' && kind == replaces;
            if (!replaceable && sameFile(landing, base + QLatin1String(companion)))
                return database + QLatin1String(companion);
        }
    }
    return std::nullopt;
}

std::optional<QString> refusal(const QString& target, Language language, Replaces replaces) {
    if (const std::optional<QString> own = ownDatabaseAt(target, replaces))
        return strings::text("file.write.ownDatabase", language).arg(target, *own);
    return std::nullopt;
}

} // namespace pathguard
