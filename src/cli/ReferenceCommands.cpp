#include "cli/ReferenceCommands.h"

#include "cli/CliCommands.h"
#include "refdata/ReferenceExport.h"
#include "refdata/ReferenceImport.h"

namespace cli {

namespace {

// One line redrawn in place: how far the import has got, by files while checking and
// by rows while writing.
class ProgressBar {
public:
    explicit ProgressBar(QTextStream& err) : err_(err) {}
    ~ProgressBar() { finish(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void draw(const refdata::Progress& p) {
        const bool writing = p.stage == refdata::Progress::Stage::Writing;
        const double done = writing ? (p.totalRows > 0 ? double(p.rows) / double(p.totalRows) : 1.0)
                                    : (p.fileCount > 0 ? double(p.fileIndex - 1) / double(p.fileCount) : 1.0);
        const int filled = qBound(0, int(done * kWidth + 0.5), kWidth);
        QString line = QStringLiteral("\r[%1%2] %3/%4 %5")
                           .arg(QString(filled, u'#'), QString(kWidth - filled, u'.'))
                           .arg(p.fileIndex)
                           .arg(p.fileCount)
                           .arg(p.file);
        if (writing) line += QStringLiteral(" %1/%2").arg(p.rows).arg(p.totalRows);
        // Blanks over what a longer line before left behind.
        const qsizetype shown = line.size();
        if (shown < width_) line += QString(width_ - shown, u' ');
        width_ = shown;
        err_ << line;
        err_.flush();
        drawn_ = true;
    }

    void finish() {
        if (!drawn_) return;
        err_ << u'\r' << QString(width_, u' ') << u'\r';
        err_.flush();
        drawn_ = false;
    }

private:
    static constexpr int kWidth = 30;
    QTextStream& err_;
    qsizetype width_ = 0;
    bool drawn_ = false;
};

} // namespace

int importReferenceCommand(const QString& sourceDir, const QString& outFile, Language language,
                           QTextStream& out, QTextStream& err, bool showProgress) {
    refdata::ImportRequest request;
    request.sourceDir = sourceDir;
    request.target = outFile;
    request.language = language;
    ProgressBar bar(err);
    if (showProgress)
        request.progress = [&bar](const refdata::Progress& p) {
            bar.draw(p);
            return true;
        };
    const refdata::ImportOutcome outcome = refdata::importReference(request);
    bar.finish();
    for (const QString& line : refdata::reportLines(outcome, request, language))
        out << line << '\n';
    out.flush();
    if (outcome.written) return ExitOk;
    for (const QString& line : refdata::errorLines(outcome, request, language))
        err << line << '\n';
    err.flush();
    return ExitRefused;
}

int exportReferenceCommand(const QString& database, const QString& outDir, Language language,
                           QTextStream& out, QTextStream& err) {
    const refdata::ExportOutcome outcome = refdata::exportReference(database, outDir, language);
    QTextStream& to = outcome.ok ? out : err;
    for (const QString& line : refdata::exportLines(outcome, outDir, language))
        to << line << '\n';
    to.flush();
    return outcome.ok ? ExitOk : ExitRefused;
}

} // namespace cli
