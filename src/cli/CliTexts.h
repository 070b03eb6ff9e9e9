#pragma once
// The command-line tool's own words: its help, its usage errors and its refusals, in
// English and French from one table, so that --lang F gives French throughout.

#include "text/Language.h"

#include <QString>
#include <QStringList>

namespace cli {

enum class Text {
    // Help
    Description,
    HelpFlag,
    VersionFlag,
    OptionsGroup,
    CommandsGroup,
    UsageLabel,
    CommandLabel,
    RequiredLabel,
    SynopsisHeading,
    DatasetNote,
    MoreHelp,
    DataDirHelp,
    DatasetHelp,
    NaicsHelp,
    FirmHelp,
    KindHelp,
    LangHelp,
    KeywordHelp,
    PdfHelp,
    HtmlHelp,
    OutHelp,
    SourceDirHelp,
    ReferenceFileHelp,
    OutDirHelp,
    DatasetsCommand,
    IndustriesCommand,
    CompareCommand,
    IndustryReportCommand,
    ImportReferenceCommand,
    ExportReferenceCommand,
    // Usage errors
    UnknownCommand,
    UnexpectedArguments,
    LangValues,
    KindValues,
    UnknownDataset,
    // Output and refusals
    TableMissingMark,
    DatasetTableMissing,
    UnknownIndustry,
    IndustryDisagrees,
    // Client records and batch comparison
    FirmsCommand,
    FirmsListCommand,
    FirmsShowCommand,
    FirmsSaveCommand,
    FirmsDeleteCommand,
    FirmsExportCommand,
    FirmsImportCommand,
    BatchCommand,
    FirmsListHelp,
    OutDirOfBatchHelp,
    ReplaceHelp,
    PdfEachHelp,
    FirmFileArgumentHelp,
    FirmNameArgumentHelp,
    YearArgumentHelp,
    ExportFileArgumentHelp,
    ImportFileArgumentHelp,
    UnknownFirmsCommand,
    RowYear,
    RowDuplicate,
    RowNoIndustry,
    FirmStoredAlready,
    FirmNotStored,
    FirmSaved,
    FirmDeleted,
    FirmsExported,
    FirmsImported,
    ImportRefused,
    BatchSummary,
    ProgressFirms,
    ProgressReports,
    CannotMakeFolder,
    // Where the firm records live
    RecordsHelp,
    FromHelp,
    ToHelp,
    FirmsCopyCommand,
    FirmsCopied,
    CopyStoredAlready,
    CopySamePlace,
    BadRecordsAddress,
    LocalFile,
    ServerDatabase,
    // A firm's trend
    HistoryCommand,
    FirmNameHelp,
    Count // not a text: how many there are
};

// A text of the tool: an entry of the table above, or the key of one of the program's
// own texts (resources/texts.tsv), where the tool's newer texts are.
struct Words {
    constexpr Words(Text entry) : id(entry) {}
    constexpr Words(const char* textKey) : key(textKey) {}
    Text id = Text::Count;
    const char* key = nullptr;
};

// The text in a language.
QString text(Text id, Language language);
QString text(Words words, Language language);
QString text(Words words, Language language, const QStringList& arguments);

// The text with %1, %2, ... replaced by the arguments.
QString text(Text id, Language language, const QStringList& arguments);

// A pattern with %1 to %9 replaced by the arguments in one pass, so that an argument
// holding "%2" (a file name, say) stays as it is.
QString fill(const QString& pattern, const QStringList& arguments);

} // namespace cli
