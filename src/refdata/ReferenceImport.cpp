#include "refdata/ReferenceImport.h"

#include "data/DBTools.h"
#include "data/ReferenceCheck.h"
#include "platform/Platform.h"
#include "refdata/Provenance.h"
#include "refdata/ReferenceSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlError>
#include <QSqlQuery>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace refdata {

namespace {

// How often, in rows, the writing reports its progress.
constexpr qint64 kProgressStep = 250;

// Ends the writing without a word of its own: the reason is already in the issues.
struct Abandoned {};

QString quoted(const QString& identifier) {
    return u'"' + identifier + u'"';
}

QString insertStatement(const refschema::Table& table) {
    QStringList names, marks;
    for (const refschema::Column& c : refschema::columns(table.kind)) {
        names << quoted(c.name);
        marks << QStringLiteral("?");
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(quoted(refschema::checkedName(table.name)), names.join(QStringLiteral(", ")),
             marks.join(QStringLiteral(", ")));
}

bool report(const ProgressFn& progress, const Progress& p) {
    return !progress || progress(p);
}

class Writer {
public:
    Writer(const ImportRequest& request, const SourceFolder& folder, ImportOutcome& outcome, qint64 totalRows)
        : request_(request), folder_(folder), outcome_(outcome), totalRows_(totalRows) {}

    // Builds the database under the temporary name and checks it; true when complete.
    bool build(const QString& path) {
        Connection cn;
        try {
            ConnectToFile(cn, path, QStringLiteral("unknown"), ReadWrite);
            // The temporary file is thrown away on failure; a journal kept in memory
            // leaves nothing beside it.
            ExecCmdInDB(cn, QStringLiteral("PRAGMA journal_mode = MEMORY"));
            std::vector<provenance::TableCount> counts;
            {
                Transaction tx(cn);
                IssueList again;
                SourceChecker checker(again);
                const int fileCount = static_cast<int>(folder_.files.size());
                for (int i = 0; i < fileCount; ++i)
                    counts.push_back(writeTable(cn, checker, again, i, fileCount));
                provenance::write(cn, outcome_.sourceName, request_.importDate, counts);
                ExecCmdInDB(cn, QStringLiteral("PRAGMA user_version = %1").arg(refschema::kUserVersion));
                tx.commit();
            }
            verify(cn, counts);
            DisconnectFromDB(cn);
            outcome_.tables = static_cast<int>(counts.size());
            return true;
        } catch (const FatalError& e) {
            outcome_.issues.add(
                {Severity::Error, Msg::WriteFailed, QString(), 0, QString(), {e.description()}});
        } catch (const RecoverableFailure& e) { // the file kept locked by another program
            outcome_.issues.add(
                {Severity::Error, Msg::WriteFailed, QString(), 0, QString(), {e.description()}});
        } catch (const Abandoned&) {
        } catch (const std::exception& e) {
            outcome_.issues.add({Severity::Error,
                                 Msg::WriteFailed,
                                 QString(),
                                 0,
                                 QString(),
                                 {QString::fromLocal8Bit(e.what())}});
        }
        DisconnectFromDB(cn);
        return false;
    }

private:
    provenance::TableCount writeTable(Connection& cn, SourceChecker& checker, IssueList& again, int index,
                                      int fileCount) {
        const SourceFile& file = folder_.files[static_cast<std::size_t>(index)];
        Progress p{Progress::Stage::Writing, file.fileName, index + 1, fileCount, outcome_.rows, totalRows_};
        if (!report(request_.progress, p)) stop();
        ExecCmdInDB(cn, refschema::createStatement(file.table));
        QSqlQuery insert(cn->database());
        if (!insert.prepare(insertStatement(file.table)))
            throw FatalError(errnum::DatabaseError, insert.lastError().text());
        qint64 rows = 0;
        checker.check(file, [&](const QVariantList& values) {
            for (qsizetype c = 0; c < values.size(); ++c)
                insert.bindValue(static_cast<int>(c), values[c]);
            if (!insert.exec())
                throw FatalError(errnum::DatabaseError,
                                 QStringLiteral("%1: %2").arg(file.fileName, insert.lastError().text()));
            ++rows;
            if (++outcome_.rows % kProgressStep == 0) {
                p.rows = outcome_.rows;
                if (!report(request_.progress, p)) stop();
            }
        });
        // The file is read afresh for writing: a change since it was checked shows here.
        if (again.hasErrors()) {
            for (const Issue& issue : again.errors())
                outcome_.issues.add(issue);
            throw Abandoned{};
        }
        return {file.table.name, rows};
    }

    [[noreturn]] void stop() {
        outcome_.issues.add({Severity::Error, Msg::Stopped, QString(), 0, QString(), {}});
        throw Abandoned{};
    }

    void verify(Connection& cn, const std::vector<provenance::TableCount>& counts) {
        const auto fail = [this](const QString& why) {
            outcome_.issues.add({Severity::Error, Msg::CheckFailed, QString(), 0, QString(), {why}});
            throw Abandoned{};
        };
        RecordsetPtr integrity = GetRS(cn, QStringLiteral("PRAGMA integrity_check"), QStringLiteral("read"));
        if (integrity->eof() || integrity->field(0).toString() != QLatin1String("ok"))
            fail(integrity->eof() ? QStringLiteral("integrity_check") : integrity->field(0).toString());
        const QStringList missing = referencecheck::missingTables(cn, referencecheck::requiredTables(true));
        if (!missing.isEmpty()) fail(missing.join(QStringLiteral(", ")));
        for (const provenance::TableCount& c : counts) {
            RecordsetPtr n =
                GetRS(cn, QStringLiteral("select count(*) from ") + quoted(refschema::checkedName(c.table)),
                      QStringLiteral("read"));
            if (n->field(0).toLongLong() != c.rows)
                fail(QStringLiteral("%1: %2 rows, %3 expected")
                         .arg(c.table)
                         .arg(n->field(0).toLongLong())
                         .arg(c.rows));
        }
    }

    const ImportRequest& request_;
    const SourceFolder& folder_;
    ImportOutcome& outcome_;
    qint64 totalRows_;
};

// Replaces the target by the new file in one step: a reader sees the old database or
// the new one, never a mixture.
bool replaceTarget(const QString& partial, const QString& target, IssueList& issues) {
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    issues.add({Severity::Error,
                Msg::ReplaceFailed,
                QString(),
                0,
                QString(),
                {target, QString::fromLocal8Bit(std::strerror(errno))}});
    return false;
}

} // namespace

QString sourceNameOf(const SourceFolder& folder, IssueList& issues) {
    if (folder.provenance) {
        const csv::ReadResult read = csv::readFile(folder.provenance->path);
        const QString& name = folder.provenance->fileName;
        if (read.failure == csv::ReadResult::Failure::Unreadable)
            issues.add({Severity::Error, Msg::Unreadable, name, 0, QString(), {read.detail}});
        else if (read.failure == csv::ReadResult::Failure::Malformed)
            issues.add({Severity::Error, Msg::Malformed, name, read.line, QString(), {read.detail}});
        else {
            qsizetype column = -1;
            for (qsizetype i = 0; i < read.table.header.size() && column < 0; ++i)
                if (read.table.header[i].trimmed().compare(QLatin1String("SourceName"),
                                                           Qt::CaseInsensitive) == 0)
                    column = i;
            if (column < 0) {
                issues.add({Severity::Error,
                            Msg::MissingColumn,
                            name,
                            read.table.headerLine,
                            QString(),
                            {QStringLiteral("SourceName")}});
            } else {
                for (const csv::Record& r : read.table.records)
                    if (column < r.fields.size() && !r.fields[column].trimmed().isEmpty())
                        return r.fields[column].trimmed();
                issues.add({Severity::Error,
                            Msg::EmptyValue,
                            name,
                            read.table.headerLine + 1,
                            QStringLiteral("SourceName"),
                            {}});
            }
        }
    }
    return QFileInfo(QFileInfo(folder.path).absoluteFilePath()).fileName();
}

ImportOutcome importReference(const ImportRequest& request) {
    ImportOutcome outcome;
    IssueList& issues = outcome.issues;
    const QFileInfo target(request.target);
    if (target.isDir())
        issues.add({Severity::Error, Msg::TargetIsFolder, QString(), 0, QString(), {request.target}});
    else if (!target.absoluteDir().exists())
        issues.add({Severity::Error, Msg::TargetFolderMissing, QString(), 0, QString(), {request.target}});

    const SourceFolder folder = scanFolder(request.sourceDir, issues);
    SourceChecker checker(issues);
    const int fileCount = static_cast<int>(folder.files.size());
    qint64 totalRows = 0;
    for (int i = 0; i < fileCount; ++i) {
        const SourceFile& file = folder.files[static_cast<std::size_t>(i)];
        if (!report(request.progress, {Progress::Stage::Checking, file.fileName, i + 1, fileCount, 0, 0})) {
            issues.add({Severity::Error, Msg::Stopped, QString(), 0, QString(), {}});
            return outcome;
        }
        if (const std::optional<FileFormat> format = checker.check(file)) {
            outcome.files.push_back({file.fileName, file.table.name, *format});
            totalRows += format->rows;
        }
    }
    outcome.sourceName = sourceNameOf(folder, issues);
    if (issues.hasErrors()) return outcome;

    // One import at a time into one target; a lock left by a killed import is stale and taken over.
    QLockFile lock(target.absoluteFilePath() + QStringLiteral(".lock"));
    if (!lock.tryLock(0)) {
        issues.add({Severity::Error, Msg::ImportRunning, QString(), 0, QString(), {request.target}});
        return outcome;
    }
    const QString partial = target.absoluteFilePath() + QStringLiteral(".partial.db");
    QFile::remove(partial); // left by an interrupted import
    {
        QFile create(partial);
        if (!create.open(QIODevice::WriteOnly)) {
            issues.add({Severity::Error, Msg::WriteFailed, QString(), 0, QString(), {create.errorString()}});
            return outcome;
        }
    }
    Writer writer(request, folder, outcome, totalRows);
    if (writer.build(partial) && replaceTarget(partial, target.absoluteFilePath(), issues)) {
        outcome.written = true;
        return outcome;
    }
    QFile::remove(partial);
    outcome.rows = 0;
    return outcome;
}

QStringList reportLines(const ImportOutcome& outcome, const ImportRequest& request, int language) {
    QStringList lines;
    for (const FileSummary& f : outcome.files)
        lines << wording(
            Msg::FileFormat, language,
            {f.file, QString::number(f.format.rows), csv::encodingName(f.format.encoding),
             QString(QLatin1Char(f.format.separator)),
             wording(f.format.decimalMark == u',' ? Msg::DecimalComma : Msg::DecimalPoint, language)});
    for (const Issue& w : outcome.issues.warnings())
        lines << describe(w, language);
    if (outcome.issues.warningsLeftOut() > 0)
        lines << wording(Msg::MoreWarnings, language, {QString::number(outcome.issues.warningsLeftOut())});
    if (outcome.written)
        lines << wording(Msg::Imported, language,
                         {request.target, request.sourceDir, QString::number(outcome.tables),
                          QString::number(outcome.rows)});
    return lines;
}

QStringList errorLines(const ImportOutcome& outcome, const ImportRequest& request, int language) {
    QStringList lines;
    for (const Issue& e : outcome.issues.errors())
        lines << describe(e, language);
    if (outcome.issues.errorsLeftOut() > 0)
        lines << wording(Msg::MoreErrors, language, {QString::number(outcome.issues.errorsLeftOut())});
    if (!outcome.written)
        lines << wording(outcome.issues.errorCount() == 1 ? Msg::RefusedOne : Msg::Refused, language,
                         {QString::number(outcome.issues.errorCount()), request.target});
    return lines;
}

} // namespace refdata
