#pragma once
// The command line of ventrolux-cli: one subcommand per command, each with the options
// of the table in CommandLine.cpp, parsed into a request for the command handlers.

#include "data/DatasetOptions.h"
#include "text/Language.h"

#include <QString>
#include <QStringList>
#include <map>

namespace cli {

enum class Command {
    Datasets,
    Industries,
    Compare,
    IndustryReport,
    ImportReference,
    ExportReference,
    FirmsList,
    FirmsShow,
    FirmsSave,
    FirmsDelete,
    FirmsExport,
    FirmsImport,
    FirmsCopy,
    Batch,
    History,
    RecordsGrant,
    RecordsCheck,
    Check,
};

// The options a command can take, as bits so that a command lists its own in one word.
enum Option : unsigned {
    OptDataset = 1u << 0,
    OptNaics = 1u << 1,
    OptFirm = 1u << 2,
    OptKind = 1u << 3,
    OptLang = 1u << 4,
    OptKeyword = 1u << 5,
    OptPdf = 1u << 6,
    OptHtml = 1u << 7,
    OptOut = 1u << 8,
    OptReplace = 1u << 9,   // a flag: replace stored firms of the same name and year
    OptFirms = 1u << 10,    // the client list of a batch
    OptOutDir = 1u << 11,   // the folder a batch writes into
    OptPdfEach = 1u << 12,  // a flag: a batch writes each firm's report as PDF
    OptFrom = 1u << 13,     // the records a copy reads: "local" or a server's address
    OptTo = 1u << 14,       // the records a copy writes
    OptReadOnly = 1u << 15, // a flag: records grant gives the right to read alone
    OptFirmName = 1u << 20, // the name a firm is saved under (history)
};

struct Request {
    Command command = Command::Datasets;
    QString dataDir; // empty: the program directory
    QString records; // --records: "local" or a server's address; empty: the settings
    Language language = Language::E;
    std::map<Option, QString> values; // the options given, with their values
    QStringList arguments;            // the command's positional arguments, in order

    bool has(Option o) const { return values.count(o) != 0; }
    QString value(Option o) const { return has(o) ? values.at(o) : QString(); }
};

struct ParseOutcome {
    enum class Kind { Run, Help, Version, UsageError };
    Kind kind = Kind::UsageError;
    Request request;                 // for Run
    QString text;                    // the help, the version or the usage error's words
    Language language = Language::E; // the language the text is in
};

// Parses the arguments (without the program name). Help and usage errors come in the
// language of the last --lang given, so that --lang F also gives French usage errors.
ParseOutcome parseCommandLine(const QStringList& arguments);

// The one-line-per-command synopsis, with the note on how a dataset is named.
QString synopsis(Language language);

// A dataset option's control name ("optNovaScotia") or VOLUME:REGION ("3:NS", region
// without regard to case); nullptr when it names none.
const DatasetOption* findDataset(const QString& text);

} // namespace cli
