#include "cli/CliCommands.h"

#include "cli/BatchCommand.h"
#include "cli/CliTexts.h"
#include "cli/CommandErrors.h"
#include "cli/CommandLine.h"
#include "cli/ConsolePlatform.h"
#include "cli/FirmFileProblems.h"
#include "cli/FirmsCommands.h"
#include "cli/HistoryCommand.h"
#include "cli/Interruption.h"
#include "cli/ReferenceCommands.h"
#include "data/Catalogue.h"
#include "data/DatasetOptions.h"
#include "data/PathGuard.h"
#include "data/ProgramFiles.h"
#include "data/ServerMessages.h"
#include "firm/FirmFile.h"
#include "firm/FirmStatement.h"
#include "industry/NaicsLists.h"
#include "platform/Platform.h"
#include "report/FirmComparison.h"
#include "report/ReportPreparation.h"
#include "report/render/LayoutFileCheck.h"
#include "report/render/ReportRenderer.h"
#include "state/RecordsPlace.h"
#include "state/modMain.h"
#include "text/StringTable.h"
#include "userdb/RecordsDatabase.h"

#include <QTextDocument>
#include <array>
#include <unistd.h>

namespace cli {

namespace {

struct Context {
    const Request& request;
    QTextStream& out;
    QTextStream& err;
    Language language() const { return request.language; }
};

// The folders of the program's databases, set for every command: the outputs of each are
// checked against them even where the command opens no database.
void useDataDirectory(const Request& r) {
    if (r.dataDir.isEmpty()) return;
    programfiles::setProgramDirectory(r.dataDir);
    programfiles::setUserDatabaseDirectory(r.dataDir);
}

// An output named like one of the program's databases (or resolving to one) is refused
// before anything is opened or written; the writer would refuse it too, but only after
// the command's work. The reference import builds the reference database itself.
void refuseOwnDatabaseOutputs(const Request& r) {
    std::vector<std::pair<QString, pathguard::Replaces>> outputs;
    for (const Option o : {OptPdf, OptHtml})
        if (r.has(o)) outputs.emplace_back(r.value(o), pathguard::Replaces::Nothing);
    if (r.command == Command::ImportReference && r.has(OptOut))
        outputs.emplace_back(r.value(OptOut), pathguard::Replaces::ReferenceDatabase);
    if (r.command == Command::FirmsExport)
        outputs.emplace_back(r.arguments.value(0), pathguard::Replaces::Nothing);
    for (const auto& [path, replaces] : outputs)
        if (const std::optional<QString> refused = pathguard::refusal(path, r.language, replaces))
            throw Refused{*refused};
}

void openDatabases(const Request& r) {
    modMain::gintLanguage = language::flag(r.language);
    modMain::subOpenDatabases();
    // The firm records: where --records says, else where the settings say (the desktop
    // program's File > Office database), else the user database.
    QString records = r.records.isEmpty() ? modMain::RecordsSetting() : r.records.trimmed();
    if (records == QLatin1String("local")) records.clear();
    modMain::subUseRecords(records);
}

// A place of records: the user database ("local"), or a records server's database.
struct Place {
    std::optional<ServerAddress> server; // nothing: the user database
    QString name;                        // where, for the messages
};

// The address of a records server, or the refusal naming it (its password hidden).
ServerAddress serverAddress(const QString& where, Language language) {
    const ParsedAddress parsed = parseServerAddress(where);
    if (!parsed.address)
        throw Refused{text(Text::BadRecordsAddress, language,
                           {withoutPassword(where.trimmed()),
                            servermessages::addressProblemText(parsed.problem, language)})};
    return *parsed.address;
}

Place placeOf(const QString& where, Language language) {
    if (where.trimmed() == QLatin1String("local"))
        return {std::nullopt, text(Text::LocalFile, language, {programfiles::userDatabasePath()})};
    const ServerAddress address = serverAddress(where, language);
    return {address, text(Text::ServerDatabase, language, {address.serverName(), address.database})};
}

// The records of a place: the user database, or a connection kept in server.
Connection& recordsAt(const Place& place, Connection& server) {
    if (!place.server) return modMain::gcnMyData;
    recordsdb::openServer(server, *place.server);
    return server;
}

// The records server of a records command: --records, else the settings' address.
ServerAddress recordsServer(const Context& c, const char* command) {
    modMain::gintLanguage = language::flag(c.language());
    setMessageLanguage(modMain::language);
    const QString where =
        c.request.records.isEmpty() ? modMain::RecordsSetting() : c.request.records.trimmed();
    if (where.isEmpty() || where == QLatin1String("local"))
        throw Refused{text("cli.records.needsServer", c.language(), {QLatin1String(command)})};
    if (c.request.records.isEmpty() && parseServerAddress(where).problem == AddressProblem::HasPassword)
        throw Refused{modMain::SettingPasswordText()};
    return serverAddress(where, c.language());
}

QString currentTable(const DatasetOption& option) {
    return catalogue::datasetTableName(option.volume, QLatin1String(option.region), datasets::kCurrentYear);
}

// The dataset of the request, chosen as the main menu chooses it; a dataset whose table
// of the current year is missing is refused before anything reads it.
void chooseDataset(const Context& c) {
    const DatasetOption* option = findDataset(c.request.value(OptDataset)); // checked while parsing
    if (!option) throw UsageError{text(Text::UnknownDataset, c.language(), {c.request.value(OptDataset)})};
    const QString table = currentTable(*option);
    if (!DoesReportTableExist(table, modMain::gcnData))
        throw Refused{
            text(Text::DatasetTableMissing, c.language(), {QLatin1String(option->controlName), table})};
    modMain::subSetDataTable(QLatin1String(option->controlName));
    modMain::gstrDatasetCaption = datasets::caption(*option, c.language());
}

naicslists::Industry industryOf(const Context& c) {
    const QString naics = c.request.value(OptNaics);
    const auto industry = naicslists::byCode(modMain::gcnData, modMain::gstrDataTable,
                                             modMain::gstrNAICSTable, naics, c.language());
    if (!industry) throw Refused{text(Text::UnknownIndustry, c.language(), {modMain::gstrDataTable, naics})};
    return *industry;
}

QString languageLetter() {
    return language::letter(modMain::language());
}

void writeOutputs(const Request& r, reportrender::Kind kind) {
    if (!r.has(OptPdf) && !r.has(OptHtml)) return;
    const QString layout = reportrender::defaultLayoutPath(kind);
    if (const auto problem = reportrender::layoutFileProblem(layout, modMain::language()))
        throw Refused{*problem};
    const auto doc = reportrender::buildDocument(kind, modMain::gcnMyData, layout);
    if (r.has(OptPdf)) reportrender::writePdf(*doc, r.value(OptPdf));
    if (r.has(OptHtml)) reportrender::writeHtml(*doc, r.value(OptHtml));
}

int datasetsCommand(const Context& c) {
    openDatabases(c.request);
    // Every option is listed; one whose table is missing says so in the count's place.
    for (const DatasetOption& opt : datasets::options()) {
        const QString table = currentTable(opt);
        QString count = text(Text::TableMissingMark, c.language());
        if (DoesReportTableExist(table, modMain::gcnData)) {
            RecordsetPtr rs =
                GetRS(modMain::gcnData, QStringLiteral("select count(*) from ") + catalogue::table(table),
                      QStringLiteral("read"));
            count = QString::number(rs->field(0).toLongLong());
        }
        c.out << opt.controlName << '\t' << opt.volume << '\t' << opt.region << '\t' << table << '\t' << count
              << '\t' << datasets::caption(opt, c.language()) << '\n';
    }
    return ExitOk;
}

int industriesCommand(const Context& c) {
    openDatabases(c.request);
    chooseDataset(c);
    QList<naicslists::Industry> list =
        naicslists::keywordSearch(modMain::gcnData, modMain::gstrDataTable, modMain::gstrNAICSTable,
                                  c.request.value(OptKeyword), c.language());
    if (!c.request.has(OptKeyword))
        std::stable_sort(list.begin(), list.end(),
                         [](const auto& a, const auto& b) { return a.naics < b.naics; });
    for (const naicslists::Industry& i : list)
        c.out << i.naics << '\t' << i.title << '\t' << i.sector << '\n';
    return ExitOk;
}

int compareCommand(const Context& c) {
    FirmStatement firm = readFirmFile(c.request.value(OptFirm), c.language());
    openDatabases(c.request);
    chooseDataset(c);
    const naicslists::Industry industry = industryOf(c);
    if (!firm.naics.isEmpty() && firm.naics != industry.naics)
        throw Refused{text(Text::IndustryDisagrees, c.language(), {firm.naics, industry.naics})};
    firm.naics = industry.naics;

    // As the firm values screen does before a report: values typed, then the checks in order.
    if (const auto problem = firmcomparison::firmProblem(firm, c.language())) throw Refused{*problem};
    const std::optional<int16_t> year = firmfile::referenceYear(firm.year);
    if (!year)
        throw FatalError(errnum::InternalError, QStringLiteral("The year check let an invalid year pass"));

    const QStringList values = firmrules::comparisonValues(firm, industry.title);
    if (!fncPrepareComparisonReport(modMain::gcnData, modMain::gcnMyData, QStringLiteral("com"),
                                    modMain::gintVolume, modMain::gstrRegion, *year, industry.naics,
                                    languageLetter(), values))
        return ExitRefused; // the preparation has said why
    writeOutputs(c.request, reportrender::Kind::Comparison);
    return ExitOk;
}

int industryReportCommand(const Context& c) {
    openDatabases(c.request);
    chooseDataset(c);
    const naicslists::Industry industry = industryOf(c);
    const bool ratios = c.request.value(OptKind) == QLatin1String("rat");
    const auto prepare = ratios ? fncPrepareRatiosReport : fncPrepareBalanceSheetReport;
    prepare(modMain::gcnData, modMain::gcnMyData, c.request.value(OptKind), modMain::gintVolume,
            modMain::gstrRegion, datasets::kCurrentYear, industry.naics, languageLetter());
    writeOutputs(c.request, ratios ? reportrender::Kind::Ratios : reportrender::Kind::BalanceSheet);
    return ExitOk;
}

int importReference(const Context& c) {
    // The bar is drawn only for a person watching; a log file gets the report alone.
    return importReferenceCommand(c.request.arguments.value(0), c.request.value(OptOut), c.language(), c.out,
                                  c.err, isatty(STDERR_FILENO) != 0);
}

int exportReference(const Context& c) {
    return exportReferenceCommand(c.request.arguments.value(0), c.request.arguments.value(1), c.language(),
                                  c.out, c.err);
}

int firmsListCommand(const Context& c) {
    openDatabases(c.request);
    return firmsList(modMain::RecordsConnection(), c.out);
}

int firmsShowCommand(const Context& c) {
    openDatabases(c.request);
    return firmsShow(modMain::RecordsConnection(), c.request.arguments.value(0), c.request.arguments.value(1),
                     c.language(), c.out);
}

// The files of save and import are read before any database is opened, as compare reads its own.
int firmsSaveCommand(const Context& c) {
    FirmStatement firm = readFirmFile(c.request.arguments.value(0), c.language());
    openDatabases(c.request);
    return firmsSave(modMain::RecordsConnection(), firm, c.request.has(OptReplace), c.language(), c.out);
}

int firmsDeleteCommand(const Context& c) {
    openDatabases(c.request);
    return firmsDelete(modMain::RecordsConnection(), c.request.arguments.value(0),
                       c.request.arguments.value(1), c.language(), c.out);
}

int firmsExportCommand(const Context& c) {
    openDatabases(c.request);
    return firmsExport(modMain::RecordsConnection(), c.request.arguments.value(0), c.language(), c.out);
}

int firmsImportCommand(const Context& c) {
    const QString path = c.request.arguments.value(0);
    const firmfile::ListResult list = readClientList(path, c.language());
    openDatabases(c.request);
    return firmsImport(modMain::RecordsConnection(), list, path, c.request.has(OptReplace), c.language(),
                       c.out);
}

int firmsCopyCommand(const Context& c) {
    openDatabases(c.request);
    const Place from = placeOf(c.request.value(OptFrom), c.language());
    const Place to = placeOf(c.request.value(OptTo), c.language());
    const auto key = [](const Place& p) { return p.server ? p.server->url() : QStringLiteral("local"); };
    if (key(from) == key(to)) throw Refused{text(Text::CopySamePlace, c.language(), {from.name})};
    Connection fromServer, toServer;
    Connection& source = recordsAt(from, fromServer);
    Connection& target = recordsAt(to, toServer);
    const int status =
        firmsCopy(source, target, from.name, to.name, c.request.has(OptReplace), c.language(), c.out);
    DisconnectFromDB(fromServer);
    DisconnectFromDB(toServer);
    return status;
}

int batchCommand(const Context& c) {
    BatchRequest b;
    b.firmsPath = c.request.value(OptFirms);
    b.outDir = c.request.value(OptOutDir);
    b.naics = c.request.value(OptNaics);
    b.pdf = c.request.has(OptPdfEach);
    b.language = c.language();
    // The bar is drawn only for a person watching; a log file gets the summary line alone.
    b.showProgress = isatty(STDERR_FILENO) != 0;
    const firmfile::ListResult list = readClientList(b.firmsPath, b.language); // before any database
    openDatabases(c.request);
    chooseDataset(c);
    return cli::batchCommand(b, list, c.out, c.err);
}

// The firm's values over the years come from the same records the firms commands keep.
int historyCommandHandler(const Context& c) {
    openDatabases(c.request);
    chooseDataset(c);
    const naicslists::Industry industry = industryOf(c);
    return historyCommand(modMain::RecordsConnection(), c.request.value(OptFirmName), industry.naics,
                          c.request.value(OptPdf), c.request.value(OptHtml), c.language(), c.out);
}

int recordsGrantCommand(const Context& c) {
    const ServerAddress address = recordsServer(c, "grant");
    const QString role = c.request.arguments.value(0);
    const bool readOnly = c.request.has(OptReadOnly);
    Connection cn;
    recordsdb::openServer(cn, address); // the tables first, on an empty database
    const recordsdb::GrantOutcome outcome = recordsdb::grant(cn, role, readOnly);
    const QString owner = outcome == recordsdb::GrantOutcome::NotOwner ? recordsdb::ownerOf(cn) : QString();
    DisconnectFromDB(cn);
    switch (outcome) {
    case recordsdb::GrantOutcome::NoSuchRole:
        throw Refused{text("cli.records.noRole", c.language(), {address.serverName(), role})};
    case recordsdb::GrantOutcome::NotOwner:
        throw Refused{text("cli.records.notOwner", c.language(), {owner})};
    case recordsdb::GrantOutcome::Granted:
        break;
    }
    c.out << text(readOnly ? "cli.records.granted.read" : "cli.records.granted.write", c.language(),
                  {role, address.serverName(), address.database})
          << '\n';
    return ExitOk;
}

int recordsCheckCommand(const Context& c) {
    const ServerAddress address = recordsServer(c, "check");
    Connection cn;
    ConnectToServer(cn, address); // as it is: nothing is made, nothing read
    const recordsdb::Rights r = recordsdb::rightsOf(cn);
    DisconnectFromDB(cn);
    const auto answer = [&](bool may, bool needsTables) {
        if (needsTables && !r.tablesExist) return text("cli.records.noTables", c.language());
        return text(may ? "cli.records.yes" : "cli.records.no", c.language());
    };
    c.out << text("cli.records.check.heading", c.language(), {r.role, address.serverName(), address.database})
          << '\n'
          << text("cli.records.check.read", c.language(), {answer(r.mayRead, true)}) << '\n'
          << text("cli.records.check.change", c.language(), {answer(r.mayChange, true)}) << '\n'
          << text("cli.records.check.create", c.language(),
                  {r.tablesExist ? text("cli.records.notNeeded", c.language()) : answer(r.mayCreate, false)})
          << '\n'
          << text("cli.records.check.grant", c.language(), {answer(r.mayGrant, false)}) << '\n';
    const bool lacking = r.tablesExist ? !(r.mayRead && r.mayChange) : !r.mayCreate;
    if (lacking) {
        ServerAddress owner = address;
        owner.user.clear();
        c.out << text("cli.records.check.how", c.language(),
                      {servermessages::grantCommand(r.role, owner.url())})
              << '\n';
    }
    return ExitOk;
}

// The whole user database read on request, as a start after a run that did not end
// cleanly reads it; a damaged file is kept aside and replaced, as the user is told.
int checkCommand(const Context& c) {
    modMain::gintLanguage = language::flag(c.request.language);
    const bool sound = modMain::subOpenDatabases(false, true);
    if (!sound) return ExitRefused;
    c.out << text("cli.check.sound", c.language(), {programfiles::userDatabasePath()}) << '\n';
    return ExitOk;
}

struct Handler {
    Command command;
    int (*run)(const Context&);
};

constexpr std::array<Handler, 18> kHandlers{{
    {Command::Datasets, datasetsCommand},
    {Command::Industries, industriesCommand},
    {Command::Compare, compareCommand},
    {Command::IndustryReport, industryReportCommand},
    {Command::ImportReference, importReference},
    {Command::ExportReference, exportReference},
    {Command::FirmsList, firmsListCommand},
    {Command::FirmsShow, firmsShowCommand},
    {Command::FirmsSave, firmsSaveCommand},
    {Command::FirmsDelete, firmsDeleteCommand},
    {Command::FirmsExport, firmsExportCommand},
    {Command::FirmsImport, firmsImportCommand},
    {Command::FirmsCopy, firmsCopyCommand},
    {Command::Batch, batchCommand},
    {Command::History, historyCommandHandler},
    {Command::RecordsGrant, recordsGrantCommand},
    {Command::RecordsCheck, recordsCheckCommand},
    {Command::Check, checkCommand},
}};

int usageError(QTextStream& err, const QString& message, Language language) {
    err << "ventrolux-cli: " << message << '\n'
        << synopsis(language) << '\n'
        << text(Text::MoreHelp, language) << Qt::endl;
    return ExitUsage;
}

int runRequest(const Request& request, QTextStream& out, QTextStream& err) {
    const Context context{request, out, err};
    try {
        useDataDirectory(request);
        refuseOwnDatabaseOutputs(request);
        for (const Handler& h : kHandlers)
            if (h.command == request.command) return h.run(context);
        return ExitUsage;
    } catch (const UsageError& e) {
        return usageError(err, e.message, request.language);
    } catch (const Refused& e) {
        err << e.message << Qt::endl; // like the program's own messages, which are shown as they are
        return ExitRefused;
    } catch (const Interrupted& e) {
        err << strings::text("batch.interrupted", request.language) << Qt::endl;
        return 128 + e.signal;
    } catch (const ConsolePlatform::Ended& e) {
        return e.exitCode == 0 ? ExitOk : ExitRefused;
    } catch (const RecoverableFailure& e) {
        err << e.description() << Qt::endl; // the server's failure, already in the user's words
        return ExitRefused;
    } catch (const FatalError& e) {
        err << e.report() << Qt::endl;
        return ExitRefused;
    }
}

} // namespace

int run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    ConsolePlatform platform(err);
    const ParseOutcome parsed = parseCommandLine(arguments);
    int status = ExitUsage;
    switch (parsed.kind) {
    case ParseOutcome::Kind::Help:
        out << parsed.text;
        status = ExitOk;
        break;
    case ParseOutcome::Kind::Version:
        out << parsed.text << '\n';
        status = ExitOk;
        break;
    case ParseOutcome::Kind::UsageError:
        status = usageError(err, parsed.text, parsed.language);
        break;
    case ParseOutcome::Kind::Run:
        status = runRequest(parsed.request, out, err);
        break;
    }
    out.flush();
    err.flush();
    modMain::resetState();
    programfiles::setProgramDirectory(QString());
    programfiles::setUserDatabaseDirectory(QString());
    return status;
}

} // namespace cli
