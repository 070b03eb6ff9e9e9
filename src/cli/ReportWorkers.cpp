#include "cli/ReportWorkers.h"

#include "cli/Interruption.h"
#include "platform/Platform.h"
#include "report/ReportPreparation.h"
#include "report/render/ReportRenderer.h"
#include "text/StringTable.h"
#include "userdb/UserDatabase.h"

#include <QDir>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace cli {

ScratchReportDatabase::ScratchReportDatabase(const QString& folder, Language language) {
    QTemporaryDir dir(folder + QStringLiteral("/reports-XXXXXX"));
    if (!dir.isValid())
        throw RecoverableFailure(
            errnum::PathNotFound,
            strings::text("batch.scratch.failed", language).arg(folder, dir.errorString()));
    dir.setAutoRemove(false); // removed by the destructor, after the connection is closed
    dir_ = dir.path();
    const QString path = dir_ + QStringLiteral("/reports.db");
    try {
        userdb::create(path);
        ConnectToFile(cn_, path, QStringLiteral("unknown"));
        ExecCmdInDB(cn_, QStringLiteral("PRAGMA synchronous = OFF"));
        GetRS(cn_, QStringLiteral("PRAGMA journal_mode = MEMORY"), QStringLiteral("read"));
    } catch (const FatalError& e) {
        // A full disk shows here first: the scratch space is on the disk of the results.
        DisconnectFromDB(cn_);
        QDir(dir_).removeRecursively();
        throw RecoverableFailure(
            errnum::PathNotFound,
            strings::text("batch.scratch.failed", language).arg(folder, e.description()));
    }
}

ScratchReportDatabase::~ScratchReportDatabase() {
    DisconnectFromDB(cn_);
    QDir(dir_).removeRecursively();
}

namespace {

// What the workers share: the next job to take and how many are done.
struct Shared {
    Shared(const std::vector<ReportJob>& j, const ReportSettings& s, std::vector<ReportOutcome>& o)
        : jobs(j), settings(s), outcomes(o) {}
    const std::vector<ReportJob>& jobs;
    const ReportSettings& settings;
    std::vector<ReportOutcome>& outcomes;
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable changed;
    qsizetype done = 0;
    int running = 0;
};

void writeOne(const ReportJob& job, const ReportSettings& s, Connection& reference, Connection& reports) {
    if (!fncPrepareComparisonReport(reference, reports, QStringLiteral("com"), s.volume, s.region, job.year,
                                    job.naics, s.languageLetter, job.comparisonValues))
        throw FatalError(errnum::InternalError,
                         QStringLiteral("The industry has no data for the firm's year"));
    const auto doc = reportrender::buildDocument(reportrender::Kind::Comparison, reports, s.layoutPath);
    reportrender::writePdf(*doc, job.pdfPath);
}

void work(Shared& shared) {
    QString setupError;
    try {
        ScratchReportDatabase reports(
            shared.settings.scratchFolder,
            language::fromLetter(shared.settings.languageLetter).value_or(Language::E));
        Connection reference;
        ConnectToFile(reference, shared.settings.referenceDatabase, QStringLiteral("unknown"), ReadOnly);
        // After a signal, the report under way is finished (a PDF is written whole or not
        // at all) and no other is begun.
        for (std::size_t i = shared.next++; i < shared.jobs.size() && InterruptWatch::signal() == 0;
             i = shared.next++) {
            ReportOutcome outcome;
            try {
                writeOne(shared.jobs[i], shared.settings, reference, reports.connection());
                outcome.written = true;
            } catch (const RecoverableFailure& e) {
                outcome.error = e.description(); // a report that could not be written, in the user's words
            } catch (const FatalError& e) {
                outcome.error = e.report();
            }
            const std::lock_guard lock(shared.mutex);
            shared.outcomes[i] = std::move(outcome);
            ++shared.done;
            shared.changed.notify_all();
        }
        DisconnectFromDB(reference);
    } catch (const RecoverableFailure& e) {
        setupError = e.description();
    } catch (const FatalError& e) {
        setupError = e.report();
    }
    const std::lock_guard lock(shared.mutex);
    // A worker that could not start leaves its jobs to the others; the last one to stop
    // marks whatever no one could write.
    if (--shared.running == 0)
        for (ReportOutcome& o : shared.outcomes)
            if (!o.written && o.error.isEmpty())
                o.error = setupError.isEmpty() ? QStringLiteral("?") : setupError;
    shared.changed.notify_all();
}

} // namespace

std::vector<ReportOutcome> writeComparisonReports(const std::vector<ReportJob>& jobs,
                                                  const ReportSettings& settings,
                                                  const std::function<void(qsizetype done)>& progress) {
    std::vector<ReportOutcome> outcomes(jobs.size());
    if (jobs.empty()) return outcomes;
    // The font database is filled once, here, rather than by the first workers at once.
    QFontDatabase::families();

    Shared shared(jobs, settings, outcomes);
    const int count = int(qBound(std::size_t(1), std::size_t(QThread::idealThreadCount()), jobs.size()));
    std::vector<std::unique_ptr<QThread>> threads;
    shared.running = count;
    for (int t = 0; t < count; ++t) {
        threads.emplace_back(QThread::create([&shared] { work(shared); }));
        threads.back()->start();
    }
    {
        std::unique_lock lock(shared.mutex);
        qsizetype reported = -1;
        while (shared.running > 0) {
            if (shared.done != reported) {
                reported = shared.done;
                lock.unlock();
                if (progress) progress(reported);
                lock.lock();
                continue;
            }
            shared.changed.wait(lock);
        }
    }
    for (auto& t : threads)
        t->wait();
    if (progress) progress(shared.done);
    return outcomes;
}

} // namespace cli
