#include "cli/BatchCommand.h"

#include "cli/CliCommands.h"
#include "cli/CliTexts.h"
#include "cli/CommandErrors.h"
#include "cli/FirmFileProblems.h"
#include "cli/Interruption.h"
#include "cli/ProgressLine.h"
#include "cli/ReportFileNames.h"
#include "cli/ReportWorkers.h"
#include "data/CsvFile.h"
#include "data/FileWriter.h"
#include "industry/NaicsLists.h"
#include "report/FirmComparison.h"
#include "report/RatioStanding.h"
#include "report/RatioTable.h"
#include "report/Reading.h"
#include "report/render/LayoutFileCheck.h"
#include "report/render/ReportRenderer.h"
#include "state/modMain.h"

#include <QDir>
#include <QHash>
#include <QLocale>
#include <QTemporaryDir>
#include <array>
#include <optional>

namespace cli {

namespace {

const QString kOk = QStringLiteral("ok");

// One firm of the list and what became of it.
struct FirmOutcome {
    QString name;
    QString year;
    QString naics;
    QString status; // "ok" or the refusal in the user's language
    std::optional<firmcomparison::Row> row;
    // What it would take to reach the median: the change of each ratio's numerator, in dollars.
    std::array<std::optional<double>, 15> toMedian;
    std::array<QString, 15> notes; // why a ratio is not ranked (and so has no amount)
    QStringList comparisonValues;  // what the report of the firm is prepared from
    int16_t referenceYear = 0;
    QString reportFile;
};

// The industries of the dataset met in the list, each looked up and extracted once.
class Industries {
public:
    struct Entry {
        std::optional<naicslists::Industry> industry;
        firmcomparison::IndustryYears years;
    };

    Industries(Connection& reports, QString languageLetter)
        : reports_(reports), languageLetter_(std::move(languageLetter)) {}

    const Entry& of(const QString& naics) {
        auto it = entries_.find(naics);
        if (it != entries_.end()) return *it;
        Entry e;
        e.industry = naicslists::byCode(modMain::gcnData, modMain::gstrDataTable, modMain::gstrNAICSTable,
                                        naics, modMain::language());
        if (e.industry)
            e.years =
                firmcomparison::extractIndustryYears(modMain::gcnData, reports_, modMain::gintVolume,
                                                     modMain::gstrRegion, e.industry->naics, languageLetter_);
        return *entries_.insert(naics, std::move(e));
    }

private:
    Connection& reports_;
    QString languageLetter_;
    QHash<QString, Entry> entries_;
};

// Compares one row of the list, with the checks of compare in their order.
FirmOutcome compareRow(const firmfile::ReadResult& row, const BatchRequest& request, Industries& industries,
                       const QString& languageLetter, const QVariant& volumeLine) {
    FirmOutcome o;
    o.name = row.firm.firmName;
    o.year = row.firm.year;
    o.naics = row.firm.naics.isEmpty() ? request.naics : row.firm.naics;
    const Language language = request.language;
    if (!row.ok()) {
        o.status = rowProblem(row, language);
        return o;
    }
    if (o.naics.isEmpty()) {
        o.status = text(Text::RowNoIndustry, language);
        return o;
    }
    const Industries::Entry& entry = industries.of(o.naics);
    if (!entry.industry) {
        o.status = text(Text::UnknownIndustry, language, {modMain::gstrDataTable, o.naics});
        return o;
    }
    FirmStatement firm = row.firm;
    firm.naics = entry.industry->naics;
    if (const std::optional<QString> problem = firmcomparison::firmProblem(firm, language)) {
        o.status = *problem;
        return o;
    }
    o.referenceYear = *firmfile::referenceYear(firm.year); // the year check has passed
    const Recordset* industry = entry.years.of(o.referenceYear);
    if (!industry || !firmcomparison::hasData(*industry)) {
        o.status = firmcomparison::noDataMessage(languageLetter, o.referenceYear);
        return o;
    }
    o.comparisonValues = firmrules::comparisonValues(firm, entry.industry->title);
    o.row = firmcomparison::build(o.comparisonValues, o.referenceYear, *industry, volumeLine);
    const firmcomparison::Row& built = *o.row;
    const auto standings = standing::assess([&built](const QString& c) { return built.value(c); },
                                            [industry](const QString& c) { return industry->field(c); });
    for (std::size_t i = 0; i < standings.size(); ++i) {
        o.toMedian[i] = standings[i].numeratorChange;
        o.notes[i] = reading::noteOf(ratios::all()[i], standings[i].kind, standings[i].base, language);
    }
    o.status = kOk;
    return o;
}

// A figure as a spreadsheet reads it back exactly: the shortest text that gives the
// same double; a null (an industry figure the dataset lacks) as an empty cell.
QString figureText(const QVariant& v) {
    if (v.isNull()) return QString();
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    return v.toString();
}

// The summary file, written a row at a time as the firms are compared so that a long list
// needs no more memory than a short one. The rows go to a temporary file beside the
// summary, renamed into place by commit(): a batch that stops leaves no summary.
class SummaryFile {
public:
    SummaryFile(const QString& path, bool withReports, Language language)
        : file_(path, language), withReports_(withReports) {
        // Every row has the columns of firmcomparison::columns(), in that order: the
        // summary keeps the figures among them, by position.
        QStringList figures;
        for (const QString& c : firmcomparison::columns()) {
            isFigure_.push_back(!firmcomparison::isTextColumn(c));
            if (isFigure_.back()) figures << c;
        }
        figureCount_ = figures.size();
        QStringList header{QStringLiteral("FirmName"), QStringLiteral("Year"), QStringLiteral("NAICS"),
                           QStringLiteral("Status")};
        header << figures;
        for (const ratios::Ratio& r : ratios::all())
            header << QStringLiteral("ToMedian") + QLatin1String(r.positionStem);
        for (const ratios::Ratio& r : ratios::all())
            header << QStringLiteral("Note") + QLatin1String(r.positionStem);
        if (withReports_) header << QStringLiteral("Report");
        file_.write(csv::formatRecord(header));
    }

    void write(const FirmOutcome& o) {
        QStringList fields{o.name, o.year, o.naics, o.status};
        if (o.row) {
            for (qsizetype i = 0; i < o.row->values.size(); ++i)
                if (isFigure_[std::size_t(i)]) fields << figureText(o.row->values[i]);
        } else {
            for (qsizetype i = 0; i < figureCount_; ++i)
                fields << QString();
        }
        for (const std::optional<double>& change : o.toMedian)
            fields << (change ? QString::number(*change, 'f', 0) : QString());
        for (const QString& note : o.notes)
            fields << note;
        if (withReports_) fields << o.reportFile;
        file_.write(csv::formatRecord(fields));
    }

    void commit() { file_.commit(); }

private:
    FileWriter file_;
    bool withReports_;
    std::vector<bool> isFigure_;
    qsizetype figureCount_ = 0;
};

void writeReports(std::vector<FirmOutcome>& outcomes, const QString& outDir, const QString& scratch,
                  const QString& languageLetter, bool showProgress, Language language, QTextStream& err) {
    ReportFileNames names;
    std::vector<ReportJob> jobs;
    std::vector<std::size_t> owners;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        FirmOutcome& o = outcomes[i];
        if (!o.row) continue;
        o.reportFile = names.next(o.name, o.year);
        jobs.push_back({o.comparisonValues, o.referenceYear,
                        o.row->value(QStringLiteral("MyNAICS")).toString(),
                        QDir(outDir).filePath(o.reportFile)});
        owners.push_back(i);
    }
    const QString layout = reportrender::defaultLayoutPath(reportrender::Kind::Comparison);
    if (const auto problem = reportrender::layoutFileProblem(layout, language)) throw Refused{*problem};
    const ReportSettings settings{modMain::gcnData->filePath(), layout,         modMain::gintVolume,
                                  modMain::gstrRegion,          languageLetter, scratch};
    ProgressLine bar(err, showProgress, text(Text::ProgressReports, language));
    const std::vector<ReportOutcome> written = writeComparisonReports(
        jobs, settings, [&bar, &jobs](qsizetype done) { bar.show(done, qsizetype(jobs.size())); });
    bar.finish();
    InterruptWatch::stopIfInterrupted();
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        if (written[k].written) continue;
        FirmOutcome& o = outcomes[owners[k]];
        o.status = written[k].error;
        o.reportFile.clear();
    }
}

} // namespace

int batchCommand(const BatchRequest& request, const firmfile::ListResult& list, QTextStream& out,
                 QTextStream& err) {
    const Language language = request.language;
    if (!QDir().mkpath(request.outDir))
        throw Refused{text(Text::CannotMakeFolder, language, {request.outDir})};
    const QString languageLetter = language::letter(language);

    // From here on a signal ends the batch at its next safe point: each report and the
    // summary are written whole or not at all, and the scratch folder goes with the objects
    // that made it.
    const InterruptWatch watch;
    // Scratch space beside the results rather than in /tmp: removed with this object, and
    // on the same disk as what the batch writes.
    QTemporaryDir scratch(QDir(request.outDir).filePath(QStringLiteral(".ventrolux-batch-XXXXXX")));
    if (!scratch.isValid()) throw Refused{text(Text::CannotMakeFolder, language, {request.outDir})};

    // The industries' figures are extracted into report tables of the batch's own, so
    // the user database is neither locked nor changed by a long batch.
    ScratchReportDatabase reports(scratch.path(), language);
    Industries industries(reports.connection(), languageLetter);
    const QVariant volumeLine = firmcomparison::volumeLine(reports.connection(), modMain::gintVolume,
                                                           modMain::gstrRegion, languageLetter);

    const QString summary = QDir(request.outDir).filePath(QLatin1String(kSummaryFileName));
    const qsizetype total = qsizetype(list.rows.size());
    qsizetype refused = 0;
    if (request.pdf) {
        // The reports are written together once every firm is compared; the summary then
        // names each report, or says why it could not be written.
        std::vector<FirmOutcome> outcomes;
        outcomes.reserve(list.rows.size());
        for (const firmfile::ReadResult& row : list.rows) {
            InterruptWatch::stopIfInterrupted();
            outcomes.push_back(compareRow(row, request, industries, languageLetter, volumeLine));
        }
        writeReports(outcomes, request.outDir, scratch.path(), languageLetter, request.showProgress, language,
                     err);
        SummaryFile file(summary, true, language);
        for (const FirmOutcome& o : outcomes) {
            InterruptWatch::stopIfInterrupted();
            file.write(o);
            if (o.status != kOk) ++refused;
        }
        file.commit();
    } else {
        // Each firm's row is written as soon as it is compared, in the order of the list;
        // the bar stays up until the summary is in place.
        SummaryFile file(summary, false, language);
        ProgressLine bar(err, request.showProgress, text(Text::ProgressFirms, language));
        qsizetype done = 0;
        for (const firmfile::ReadResult& row : list.rows) {
            InterruptWatch::stopIfInterrupted();
            const FirmOutcome o = compareRow(row, request, industries, languageLetter, volumeLine);
            file.write(o);
            if (o.status != kOk) ++refused;
            bar.show(++done, total);
        }
        InterruptWatch::stopIfInterrupted();
        file.commit();
    }
    out << text(Text::BatchSummary, language,
                {QString::number(total - refused), QString::number(refused), summary})
        << '\n';
    return refused == 0 ? ExitOk : ExitRefused;
}

} // namespace cli
