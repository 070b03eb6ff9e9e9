#include "refdata/SourceFolder.h"

#include <QDir>
#include <QFileInfo>
#include <map>

namespace refdata {

SourceFolder scanFolder(const QString& path, IssueList& issues) {
    SourceFolder folder;
    folder.path = path;
    const QDir dir(path);
    if (!QFileInfo(path).isDir()) {
        issues.add({Severity::Error, Msg::NoFolder, QString(), 0, QString(), {path}});
        return folder;
    }
    // File names are matched to tables without regard to case, as the database matches
    // table names; a folder copied from another system may have changed the case.
    std::map<QString, SourceFile> byTable;
    const QFileInfoList entries = dir.entryInfoList({QStringLiteral("*.csv"), QStringLiteral("*.CSV")},
                                                    QDir::Files | QDir::Readable | QDir::Hidden, QDir::Name);
    for (const QFileInfo& info : entries) {
        if (info.suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) != 0) continue;
        const std::optional<refschema::Table> table = refschema::find(info.completeBaseName());
        if (!table) {
            issues.add({Severity::Warning, Msg::ExtraFile, info.fileName(), 0, QString(), {}});
            continue;
        }
        const auto [it, added] =
            byTable.try_emplace(table->name, SourceFile{info.fileName(), info.absoluteFilePath(), *table});
        if (!added)
            issues.add({Severity::Error,
                        Msg::TwoFilesOneTable,
                        info.fileName(),
                        0,
                        QString(),
                        {it->second.fileName, table->name}});
    }
    for (const refschema::Table& t : refschema::tables()) {
        const auto it = byTable.find(t.name);
        if (it == byTable.end()) {
            if (refschema::isRequired(t))
                issues.add({Severity::Error, Msg::FileMissing, QString(), 0, QString(), {t.name}});
            continue;
        }
        if (t.kind == refschema::TableKind::Provenance)
            folder.provenance = it->second;
        else
            folder.files.push_back(it->second);
    }
    return folder;
}

} // namespace refdata
