#include "cli/CliCommands.h"

#include "platform/Platform.h"
#include "data/ProgramFiles.h"
#include "state/modMain.h"
#include "data/Catalogue.h"
#include "data/DatasetOptions.h"
#include "firm/FirmFile.h"
#include "firm/FirmStatement.h"
#include "firm/ValueText.h"
#include "report/ReportPreparation.h"
#include "report/render/ReportRenderer.h"
#include "industry/NaicsLists.h"
#include "text/StringTable.h"

#include <QFile>
#include <QHash>
#include <QTextDocument>

namespace cli {

namespace {

class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& m) : std::runtime_error(m.toStdString()) {}
};

// Messages of the core (message boxes elsewhere) are lines on standard error here.
class ConsolePlatform final : public Platform {
public:
    explicit ConsolePlatform(QTextStream& err) : err_(err) { previous_ = setPlatform(this); }
    ~ConsolePlatform() override { setPlatform(previous_); }
    MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon, const QString&) override {
        err_ << text << Qt::endl;
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::No : MsgResult::OK;
    }
    [[noreturn]] void endProgram(int exitCode) override { throw Ended{exitCode}; }
    bool startDetached(const QString&, const QStringList&) override { return false; }

    struct Ended {
        int exitCode;
    };

private:
    QTextStream& err_;
    Platform* previous_ = nullptr;
};

struct Options {
    QString command;
    QString dataDir;
    QHash<QString, QString> values;
    QString value(const char* name) const { return values.value(QLatin1String(name)); }
    bool has(const char* name) const { return values.contains(QLatin1String(name)); }
};

const QStringList kValueOptions{QStringLiteral("--dataset"), QStringLiteral("--lang"),  QStringLiteral("--keyword"),
                                QStringLiteral("--naics"),   QStringLiteral("--firm"),  QStringLiteral("--pdf"),
                                QStringLiteral("--html"),    QStringLiteral("--kind"),  QStringLiteral("--data-dir")};

Options parse(const QStringList& args) {
    Options o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a.startsWith(QLatin1String("--"))) {
            if (!kValueOptions.contains(a)) throw UsageError(QStringLiteral("unknown option %1").arg(a));
            if (i + 1 >= args.size()) throw UsageError(QStringLiteral("%1 needs a value").arg(a));
            const QString v = args[++i];
            if (a == QLatin1String("--data-dir")) o.dataDir = v;
            else o.values.insert(a.mid(2), v);
        } else if (o.command.isEmpty()) {
            o.command = a;
        } else {
            throw UsageError(QStringLiteral("unexpected argument %1").arg(a));
        }
    }
    if (o.command.isEmpty()) throw UsageError(QStringLiteral("no command"));
    return o;
}

void allowOnly(const Options& o, const QStringList& allowed, const QStringList& required) {
    for (auto it = o.values.begin(); it != o.values.end(); ++it)
        if (!allowed.contains(it.key())) throw UsageError(QStringLiteral("--%1 does not go with %2").arg(it.key(), o.command));
    for (const QString& r : required)
        if (!o.values.contains(r)) throw UsageError(QStringLiteral("%1 needs --%2").arg(o.command, r));
}

int language(const Options& o) {
    if (!o.has("lang")) return 0;
    const QString l = o.value("lang");
    if (l == QLatin1String("E")) return 0;
    if (l == QLatin1String("F")) return 1;
    throw UsageError(QStringLiteral("--lang is E or F"));
}

// A dataset option's control name ("optNovaScotia") or VOLUME:REGION ("3:NS").
const DatasetOption& dataset(const Options& o) {
    const QString ds = o.value("dataset");
    if (const DatasetOption* opt = datasets::findByControlName(ds)) return *opt;
    const QStringList parts = ds.split(u':');
    if (parts.size() == 2) {
        bool ok = false;
        const int volume = parts[0].toInt(&ok);
        if (ok)
            if (const DatasetOption* opt = datasets::findByVolumeRegion(volume, parts[1])) return *opt;
    }
    throw UsageError(QStringLiteral("unknown dataset %1").arg(ds));
}

void chooseDataset(const DatasetOption& option) {
    modMain::subSetDataTable(QLatin1String(option.controlName));
    modMain::gstrDatasetCaption = datasets::caption(option, modMain::gintLanguage);
}

void openDatabases(const Options& o) {
    if (!o.dataDir.isEmpty()) {
        programfiles::setProgramDirectory(o.dataDir);
        programfiles::setUserDatabaseDirectory(o.dataDir);
    }
    modMain::subOpenDatabases();
}

QString languageLetter() { return modMain::IsFrench() ? QStringLiteral("F") : QStringLiteral("E"); }

int datasetsCommand(const Options& o, QTextStream& out) {
    allowOnly(o, {QStringLiteral("lang")}, {});
    modMain::gintLanguage = static_cast<int16_t>(language(o));
    openDatabases(o);
    for (const DatasetOption& opt : datasets::options()) {
        const QString table = catalogue::datasetTableName(opt.volume, QLatin1String(opt.region), datasets::kCurrentYear);
        RecordsetPtr rs = GetRS(modMain::gcnData, QStringLiteral("select count(*) from ") + catalogue::table(table), QStringLiteral("read"));
        out << opt.controlName << '\t' << opt.volume << '\t' << opt.region << '\t' << table << '\t' << rs->field(0).toLongLong() << '\t'
            << datasets::caption(opt, modMain::gintLanguage) << '\n';
    }
    return ExitOk;
}

int industriesCommand(const Options& o, QTextStream& out) {
    allowOnly(o, {QStringLiteral("dataset"), QStringLiteral("lang"), QStringLiteral("keyword")}, {QStringLiteral("dataset")});
    modMain::gintLanguage = static_cast<int16_t>(language(o));
    const DatasetOption& option = dataset(o);
    openDatabases(o);
    chooseDataset(option);
    QList<naicslists::Industry> list = naicslists::keywordSearch(modMain::gcnData, modMain::gstrDataTable, modMain::gstrNAICSTable,
                                                                 o.value("keyword"), modMain::gintLanguage);
    if (!o.has("keyword"))
        std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return a.naics < b.naics; });
    for (const naicslists::Industry& i : list) out << i.naics << '\t' << i.title << '\t' << i.sector << '\n';
    return ExitOk;
}

naicslists::Industry industryOf(const Options& o) {
    const auto industry = naicslists::byCode(modMain::gcnData, modMain::gstrDataTable, modMain::gstrNAICSTable, o.value("naics"),
                                             modMain::gintLanguage);
    if (!industry)
        throw UsageError(QStringLiteral("the dataset %1 has no industry %2").arg(modMain::gstrDataTable, o.value("naics")));
    return *industry;
}

void writeOutputs(const Options& o, reportrender::Kind kind) {
    if (!o.has("pdf") && !o.has("html")) return;
    const auto doc = reportrender::buildDocument(kind, modMain::gcnMyData, reportrender::defaultLayoutPath(kind));
    if (o.has("pdf")) reportrender::writePdf(*doc, o.value("pdf"));
    if (o.has("html")) {
        QFile f(o.value("html"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw FatalError(errnum::PathNotFound, QStringLiteral("Cannot write %1: %2").arg(o.value("html"), f.errorString()));
        f.write(reportrender::toHtml(*doc).toUtf8());
    }
}

int compareCommand(const Options& o, QTextStream& err) {
    allowOnly(o,
              {QStringLiteral("dataset"), QStringLiteral("naics"), QStringLiteral("firm"), QStringLiteral("lang"), QStringLiteral("pdf"),
               QStringLiteral("html")},
              {QStringLiteral("dataset"), QStringLiteral("naics"), QStringLiteral("firm")});
    modMain::gintLanguage = static_cast<int16_t>(language(o));
    const DatasetOption& option = dataset(o);
    firmfile::ReadResult file = firmfile::read(o.value("firm"));
    if (!file.error.isEmpty()) throw UsageError(file.error);
    openDatabases(o);
    chooseDataset(option);
    const naicslists::Industry industry = industryOf(o);

    // As the firm values screen does before a report: entered values in their normal
    // form, subtotals recomputed, empty boxes filled, then the checks in order.
    FirmStatement& firm = file.firm;
    firm.naics = industry.naics;
    if (!firmrules::normalizeEntered(firm.values)) {
        err << (modMain::IsFrench() ? QStringLiteral("Veuillez entrer un chiffre") : QStringLiteral("Please enter a number"))
            << Qt::endl;
        return ExitRefused;
    }
    firmrules::calculateSubTotals(firm.values);
    firmrules::fillEmpty(firm.values);
    if (const auto problem = firmrules::reportRequestProblem(firm, modMain::gintLanguage)) {
        err << *problem << Qt::endl;
        return ExitRefused;
    }
    const QStringList values = firmrules::comparisonValues(firm, industry.title);
    const auto year = static_cast<int16_t>(values[1].toInt());
    if (!fncPrepareComparisonReport(modMain::gcnData, modMain::gcnMyData, QStringLiteral("com"), modMain::gintVolume,
                                    modMain::gstrRegion, year, industry.naics, languageLetter(), values))
        return ExitRefused;
    writeOutputs(o, reportrender::Kind::Comparison);
    return ExitOk;
}

int industryReportCommand(const Options& o) {
    allowOnly(o,
              {QStringLiteral("dataset"), QStringLiteral("naics"), QStringLiteral("kind"), QStringLiteral("lang"), QStringLiteral("pdf"),
               QStringLiteral("html")},
              {QStringLiteral("dataset"), QStringLiteral("naics"), QStringLiteral("kind")});
    modMain::gintLanguage = static_cast<int16_t>(language(o));
    const QString kind = o.value("kind");
    if (kind != QLatin1String("rat") && kind != QLatin1String("bal")) throw UsageError(QStringLiteral("--kind is rat or bal"));
    const DatasetOption& option = dataset(o);
    openDatabases(o);
    chooseDataset(option);
    const naicslists::Industry industry = industryOf(o);
    const auto prepare = kind == QLatin1String("rat") ? fncPrepareRatiosReport : fncPrepareBalanceSheetReport;
    prepare(modMain::gcnData, modMain::gcnMyData, kind, modMain::gintVolume, modMain::gstrRegion, datasets::kCurrentYear,
            industry.naics, languageLetter());
    writeOutputs(o, kind == QLatin1String("rat") ? reportrender::Kind::Ratios : reportrender::Kind::BalanceSheet);
    return ExitOk;
}

} // namespace

QString usage() {
    return QStringLiteral(
        "usage: ventrolux-cli [--data-dir DIR] datasets [--lang E|F]\n"
        "       ventrolux-cli [--data-dir DIR] industries --dataset DS [--lang E|F] [--keyword TEXT]\n"
        "       ventrolux-cli [--data-dir DIR] compare --dataset DS --naics CODE --firm FILE [--lang E|F] [--pdf OUT.pdf] [--html OUT.html]\n"
        "       ventrolux-cli [--data-dir DIR] industry-report --dataset DS --naics CODE --kind rat|bal [--lang E|F] [--pdf OUT.pdf] [--html OUT.html]\n"
        "DS: a dataset option (optNovaScotia) or VOLUME:REGION (3:NS, 1:ALL)");
}

int run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    ConsolePlatform platform(err);
    int status = ExitOk;
    try {
        const Options o = parse(arguments);
        if (o.command == QLatin1String("datasets")) status = datasetsCommand(o, out);
        else if (o.command == QLatin1String("industries")) status = industriesCommand(o, out);
        else if (o.command == QLatin1String("compare")) status = compareCommand(o, err);
        else if (o.command == QLatin1String("industry-report")) status = industryReportCommand(o);
        else throw UsageError(QStringLiteral("unknown command %1").arg(o.command));
    } catch (const UsageError& e) {
        err << "ventrolux-cli: " << e.what() << '\n' << usage() << Qt::endl;
        status = ExitUsage;
    } catch (const ConsolePlatform::Ended& e) {
        status = e.exitCode == 0 ? ExitOk : ExitRefused;
    } catch (const FatalError& e) {
        err << e.report() << Qt::endl;
        status = ExitRefused;
    }
    out.flush();
    err.flush();
    modMain::resetState();
    programfiles::setProgramDirectory(QString());
    programfiles::setUserDatabaseDirectory(QString());
    return status;
}

} // namespace cli
