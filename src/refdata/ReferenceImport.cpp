#include "refdata/ReferenceImport.h"

#include "data/CsvFile.h"
#include "data/DBTools.h"
#include "data/FileWriter.h"
#include "data/ReferenceCheck.h"
#include "platform/Platform.h"
#include "refdata/Provenance.h"
#include "refdata/ReferenceSchema.h"
#include "text/StringTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

// One import at a time into one target: an empty lock file beside it, locked while the
// import runs. The lock ends with the process that holds it, so one left by a killed
// import is free; holding no content, it can be made on a full disk, whose failure the
// import itself then reports.
class ImportLock {
public:
    explicit ImportLock(QString path) : path_(std::move(path)) {}
    ~ImportLock() {
        if (fd_ < 0) return;
        ::unlink(QFile::encodeName(path_).constData());
        ::close(fd_);
    }
    ImportLock(const ImportLock&) = delete;
    ImportLock& operator=(const ImportLock&) = delete;

    // 0 once held; EWOULDBLOCK while another import holds it; else the system's error.
    int acquire() {
        const QByteArray name = QFile::encodeName(path_);
        for (;;) {
            fd_ = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
            if (fd_ < 0) return errno;
            if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
                const int error = errno;
                ::close(fd_);
                fd_ = -1;
                return error;
            }
            // Held; unless the file was removed by the import that held it meanwhile, and
            // the name now belongs to another lock.
            struct stat held {
            }, named{};
            if (::fstat(fd_, &held) == 0 && ::stat(name.constData(), &named) == 0 &&
                held.st_ino == named.st_ino && held.st_dev == named.st_dev)
                return 0;
            ::close(fd_);
            fd_ = -1;
        }
    }

    const QString& path() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
};

} // namespace

QString sourceNameOf(const SourceFolder& folder, IssueList& issues) {
    if (folder.provenance) {
        const QString& name = folder.provenance->fileName;
        qsizetype column = -1;
        int headerLine = 0;
        QString found;
        // Read as a stream up to the first row that names the source.
        const csv::StreamResult read = csv::streamFile(folder.provenance->path, [&](csv::Record&& r) {
            if (headerLine == 0) {
                headerLine = r.line;
                for (qsizetype i = 0; i < r.fields.size() && column < 0; ++i)
                    if (r.fields[i].trimmed().compare(QLatin1String("SourceName"), Qt::CaseInsensitive) == 0)
                        column = i;
                return column >= 0;
            }
            if (column < r.fields.size()) found = r.fields[column].trimmed();
            return found.isEmpty();
        });
        if (readable(name, read, issues)) {
            if (!found.isEmpty()) return found;
            if (column < 0)
                issues.add({Severity::Error,
                            Msg::MissingColumn,
                            name,
                            headerLine,
                            QString(),
                            {QStringLiteral("SourceName")}});
            else
                issues.add({Severity::Error,
                            Msg::EmptyValue,
                            name,
                            headerLine + 1,
                            QStringLiteral("SourceName"),
                            {}});
        }
    }
    return QFileInfo(QFileInfo(folder.path).absoluteFilePath()).fileName();
}

ImportOutcome importReference(const ImportRequest& request) {
    ImportOutcome outcome;
    IssueList& issues = outcome.issues;
    const QFileInfo target(request.target);
    if (const std::optional<QString> refused =
            pathguard::refusal(request.target, request.language, pathguard::Replaces::ReferenceDatabase))
        issues.add({Severity::Error, Msg::OutputFailed, QString(), 0, QString(), {*refused}});
    else if (target.isDir())
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

    ImportLock lock(target.absoluteFilePath() + QStringLiteral(".lock"));
    if (const int error = lock.acquire()) {
        if (error == EWOULDBLOCK)
            issues.add({Severity::Error, Msg::ImportRunning, QString(), 0, QString(), {request.target}});
        else
            issues.add({Severity::Error,
                        Msg::OutputFailed,
                        QString(),
                        0,
                        QString(),
                        {strings::text("file.write.failed", request.language)
                             .arg(lock.path(), QString::fromLocal8Bit(std::strerror(error)))}});
        return outcome;
    }
    try {
        FileWriter out(request.target, request.language, FileWriter::Content::ByName,
                       pathguard::Replaces::ReferenceDatabase);
        Writer writer(request, folder, outcome, totalRows);
        if (writer.build(out.temporaryPath())) {
            out.commit();
            outcome.written = true;
            return outcome;
        }
    } catch (const WriteFailure& e) {
        issues.add({Severity::Error, Msg::OutputFailed, QString(), 0, QString(), {e.description()}});
    }
    outcome.rows = 0;
    return outcome;
}

QStringList reportLines(const ImportOutcome& outcome, const ImportRequest& request, Language language) {
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

QStringList errorLines(const ImportOutcome& outcome, const ImportRequest& request, Language language) {
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
