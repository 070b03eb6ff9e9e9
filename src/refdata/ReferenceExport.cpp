#include "refdata/ReferenceExport.h"

#include "data/CsvFile.h"
#include "data/DBTools.h"
#include "data/FileWriter.h"
#include "platform/Platform.h"
#include "refdata/NumberText.h"
#include "refdata/ReferenceSchema.h"

#include <QDir>
#include <QFileInfo>

namespace refdata {

namespace {

// Ends the export after its reasons were recorded.
struct Refusal {};

QString fieldText(const QVariant& v) {
    if (v.isNull()) return QString();
    switch (v.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return numbertext::formatNumber(v.toDouble());
    case QMetaType::QString: {
        const QString s = v.toString();
        return s.isEmpty() ? QStringLiteral("") : s; // an empty text is kept apart from a null
    }
    default:
        return v.toString();
    }
}

// The tables of the database that belong to a reference database, in name order.
QStringList knownTables(Connection& cn, IssueList& issues) {
    RecordsetPtr rs =
        GetRS(cn, QStringLiteral("select name from sqlite_master where type = 'table' order by name"),
              QStringLiteral("read"));
    QStringList names;
    for (; !rs->eof(); rs->moveNext()) {
        const QString name = rs->field(0).toString();
        if (name.startsWith(QLatin1String("sqlite_"))) continue;
        const std::optional<refschema::Table> t = refschema::find(name);
        if (t)
            names << t->name; // written under the name the import knows
        else
            issues.add({Severity::Warning, Msg::TableLeftOut, QString(), 0, QString(), {name}});
    }
    return names;
}

bool writeTable(Connection& cn, const QString& table, const QString& path, Language language,
                ExportOutcome& outcome) {
    RecordsetPtr rs = GetRS(cn, QStringLiteral("select * from \"%1\"").arg(refschema::checkedName(table)),
                            QStringLiteral("read"));
    qint64 rows = 0;
    try {
        FileWriter file(path, language);
        file.write(csv::formatRecord(rs->fieldNames()));
        for (; !rs->eof(); rs->moveNext()) {
            QStringList fields;
            for (int i = 0; i < rs->fieldCount(); ++i)
                fields << fieldText(rs->field(i));
            file.write(csv::formatRecord(fields));
            ++rows;
        }
        file.commit();
    } catch (const WriteFailure& e) {
        outcome.issues.add({Severity::Error, Msg::OutputFailed, QString(), 0, QString(), {e.description()}});
        return false;
    }
    outcome.rows += rows;
    return true;
}

} // namespace

ExportOutcome exportReference(const QString& database, const QString& outDir, Language language) {
    ExportOutcome outcome;
    const QFileInfo info(database);
    if (!info.isFile()) {
        outcome.issues.add({Severity::Error, Msg::NoDatabase, QString(), 0, QString(), {database}});
        return outcome;
    }
    const QString suffix = info.suffix().toLower();
    if (suffix != QLatin1String("db") && suffix != QLatin1String("sqlite")) {
        outcome.issues.add({Severity::Error,
                            Msg::NotAReferenceDatabase,
                            QString(),
                            0,
                            QString(),
                            {database, QStringLiteral("*.db, *.sqlite")}});
        return outcome;
    }
    if (!QDir().mkpath(outDir)) {
        outcome.issues.add({Severity::Error, Msg::FolderNotMade, QString(), 0, QString(), {outDir}});
        return outcome;
    }
    Connection cn;
    try {
        ConnectToFile(cn, info.absoluteFilePath(), QStringLiteral("unknown"), ReadOnly);
        const QStringList tables = knownTables(cn, outcome.issues);
        // A file left in the folder by an export of another database would be imported
        // with these tables as if it belonged to them.
        for (const QFileInfo& f :
             QDir(outDir).entryInfoList({QStringLiteral("*.csv"), QStringLiteral("*.CSV")}, QDir::Files)) {
            const std::optional<refschema::Table> t = refschema::find(f.completeBaseName());
            if (t && !tables.contains(t->name))
                outcome.issues.add(
                    {Severity::Error, Msg::StaleFile, QString(), 0, QString(), {f.absoluteFilePath()}});
        }
        if (outcome.issues.hasErrors()) throw Refusal{};
        for (const QString& t : tables) {
            if (!writeTable(cn, t, QDir(outDir).filePath(t + QStringLiteral(".csv")), language, outcome))
                break;
            ++outcome.tables;
        }
    } catch (const Refusal&) {
    } catch (const FatalError& e) {
        outcome.issues.add({Severity::Error,
                            Msg::NotAReferenceDatabase,
                            QString(),
                            0,
                            QString(),
                            {database, e.description()}});
    } catch (const RecoverableFailure& e) { // the file kept locked by another program
        outcome.issues.add({Severity::Error,
                            Msg::NotAReferenceDatabase,
                            QString(),
                            0,
                            QString(),
                            {database, e.description()}});
    }
    DisconnectFromDB(cn);
    outcome.ok = !outcome.issues.hasErrors();
    return outcome;
}

QStringList exportLines(const ExportOutcome& outcome, const QString& outDir, Language language) {
    QStringList lines;
    for (const Issue& w : outcome.issues.warnings())
        lines << describe(w, language);
    for (const Issue& e : outcome.issues.errors())
        lines << describe(e, language);
    if (outcome.ok)
        lines << wording(Msg::Exported, language,
                         {QString::number(outcome.tables), QString::number(outcome.rows), outDir});
    return lines;
}

} // namespace refdata
