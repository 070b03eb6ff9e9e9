#include "data/ProgramFiles.h"

#include "data/Catalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace programfiles {

namespace {
QString gProgramDirOverride;
QString gUserDirOverride;
QString gResourceDirOverride;

QString installedDirectory() {
    const QString exeDir = executableDirectory();
    if (QFileInfo::exists(exeDir + QStringLiteral("/reports")) ||
        QFileInfo::exists(exeDir + u'/' + QLatin1String(catalogue::ReferenceFileName)))
        return exeDir;
    // Installed: executables in bin/, read-only data in share/ventrolux/.
    const QString shared = QDir::cleanPath(exeDir + QStringLiteral("/../share/ventrolux"));
    if (QFileInfo(shared).isDir()) return shared;
    return exeDir;
}

bool isWritableDirectory(const QString& dir) {
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}
} // namespace

QString executableDirectory() {
    return QCoreApplication::applicationDirPath();
}

QString programDirectory() {
    if (!gProgramDirOverride.isEmpty()) return gProgramDirOverride;
    return installedDirectory();
}

QString resourceDirectory() {
    if (!gResourceDirOverride.isEmpty()) return gResourceDirOverride;
    return installedDirectory();
}

void setResourceDirectory(const QString& dir) {
    gResourceDirOverride = dir;
}

QString layoutPath(const QString& fileName) {
    return resourceDirectory() + QStringLiteral("/reports/") + fileName;
}

void setProgramDirectory(const QString& dir) {
    gProgramDirOverride = dir;
}

QString userDatabaseDirectory() {
    if (!gUserDirOverride.isEmpty()) return gUserDirOverride;
    const QString progDir = programDirectory();
    // An installed copy's share folder belongs to every user of the machine (and to the
    // package manager): each user's firms live in their own data folder, even for a user
    // who may write there.
    const bool installedCopy = gProgramDirOverride.isEmpty() && progDir != executableDirectory();
    const QString inProgramDir = progDir + u'/' + QLatin1String(catalogue::UserFileName);
    if (!installedCopy && (QFileInfo::exists(inProgramDir) ? QFileInfo(inProgramDir).isWritable()
                                                           : isWritableDirectory(progDir)))
        return progDir;
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataDir);
    return dataDir;
}

void setUserDatabaseDirectory(const QString& dir) {
    gUserDirOverride = dir;
}

QString referenceDatabasePath() {
    return programDirectory() + u'/' + QLatin1String(catalogue::ReferenceFileName);
}
QString userDatabasePath() {
    return userDatabaseDirectory() + u'/' + QLatin1String(catalogue::UserFileName);
}
QString helpViewerPath() {
    return executableDirectory() + QStringLiteral("/ventrolux-help");
}

} // namespace programfiles
