#include "cli/CliTexts.h"

#include "text/StringTable.h"

#include <array>

namespace cli {

namespace {

// Each text of the tool by its key in the program's table of texts.
struct Wording {
    Text id;
    const char* key;
};

constexpr std::array<Wording, static_cast<std::size_t>(Text::Count)> kTexts{{
    {Text::Description, "cli.description"},
    {Text::HelpFlag, "cli.helpFlag"},
    {Text::VersionFlag, "cli.versionFlag"},
    {Text::OptionsGroup, "cli.optionsGroup"},
    {Text::CommandsGroup, "cli.commandsGroup"},
    {Text::UsageLabel, "cli.usageLabel"},
    {Text::CommandLabel, "cli.commandLabel"},
    {Text::RequiredLabel, "cli.requiredLabel"},
    {Text::SynopsisHeading, "cli.synopsisHeading"},
    {Text::DatasetNote, "cli.datasetNote"},
    {Text::MoreHelp, "cli.moreHelp"},
    {Text::DataDirHelp, "cli.dataDirHelp"},
    {Text::DatasetHelp, "cli.datasetHelp"},
    {Text::NaicsHelp, "cli.naicsHelp"},
    {Text::FirmHelp, "cli.firmHelp"},
    {Text::KindHelp, "cli.kindHelp"},
    {Text::LangHelp, "cli.langHelp"},
    {Text::KeywordHelp, "cli.keywordHelp"},
    {Text::PdfHelp, "cli.pdfHelp"},
    {Text::HtmlHelp, "cli.htmlHelp"},
    {Text::OutHelp, "cli.outHelp"},
    {Text::SourceDirHelp, "cli.sourceDirHelp"},
    {Text::ReferenceFileHelp, "cli.referenceFileHelp"},
    {Text::OutDirHelp, "cli.outDirHelp"},
    {Text::DatasetsCommand, "cli.datasetsCommand"},
    {Text::IndustriesCommand, "cli.industriesCommand"},
    {Text::CompareCommand, "cli.compareCommand"},
    {Text::IndustryReportCommand, "cli.industryReportCommand"},
    {Text::ImportReferenceCommand, "cli.importReferenceCommand"},
    {Text::ExportReferenceCommand, "cli.exportReferenceCommand"},
    {Text::UnknownCommand, "cli.unknownCommand"},
    {Text::UnexpectedArguments, "cli.unexpectedArguments"},
    {Text::LangValues, "cli.langValues"},
    {Text::KindValues, "cli.kindValues"},
    {Text::UnknownDataset, "cli.unknownDataset"},
    {Text::TableMissingMark, "cli.tableMissingMark"},
    {Text::DatasetTableMissing, "cli.datasetTableMissing"},
    {Text::UnknownIndustry, "cli.unknownIndustry"},
    {Text::IndustryDisagrees, "cli.industryDisagrees"},
    {Text::FirmsCommand, "cli.firmsCommand"},
    {Text::FirmsListCommand, "cli.firmsListCommand"},
    {Text::FirmsShowCommand, "cli.firmsShowCommand"},
    {Text::FirmsSaveCommand, "cli.firmsSaveCommand"},
    {Text::FirmsDeleteCommand, "cli.firmsDeleteCommand"},
    {Text::FirmsExportCommand, "cli.firmsExportCommand"},
    {Text::FirmsImportCommand, "cli.firmsImportCommand"},
    {Text::BatchCommand, "cli.batchCommand"},
    {Text::FirmsListHelp, "cli.firmsListHelp"},
    {Text::OutDirOfBatchHelp, "cli.outDirOfBatchHelp"},
    {Text::ReplaceHelp, "cli.replaceHelp"},
    {Text::PdfEachHelp, "cli.pdfEachHelp"},
    {Text::FirmFileArgumentHelp, "cli.firmFileArgumentHelp"},
    {Text::FirmNameArgumentHelp, "cli.firmNameArgumentHelp"},
    {Text::YearArgumentHelp, "cli.yearArgumentHelp"},
    {Text::ExportFileArgumentHelp, "cli.exportFileArgumentHelp"},
    {Text::ImportFileArgumentHelp, "cli.importFileArgumentHelp"},
    {Text::UnknownFirmsCommand, "cli.unknownFirmsCommand"},
    {Text::RowYear, "cli.rowYear"},
    {Text::RowDuplicate, "cli.rowDuplicate"},
    {Text::RowNoIndustry, "cli.rowNoIndustry"},
    {Text::FirmStoredAlready, "cli.firmStoredAlready"},
    {Text::FirmNotStored, "cli.firmNotStored"},
    {Text::FirmSaved, "cli.firmSaved"},
    {Text::FirmDeleted, "cli.firmDeleted"},
    {Text::FirmsExported, "cli.firmsExported"},
    {Text::FirmsImported, "cli.firmsImported"},
    {Text::ImportRefused, "cli.importRefused"},
    {Text::BatchSummary, "cli.batchSummary"},
    {Text::ProgressFirms, "cli.progressFirms"},
    {Text::ProgressReports, "cli.progressReports"},
    {Text::CannotMakeFolder, "cli.cannotMakeFolder"},
    {Text::RecordsHelp, "cli.recordsHelp"},
    {Text::FromHelp, "cli.fromHelp"},
    {Text::ToHelp, "cli.toHelp"},
    {Text::FirmsCopyCommand, "cli.firmsCopyCommand"},
    {Text::FirmsCopied, "cli.firmsCopied"},
    {Text::CopyStoredAlready, "cli.copyStoredAlready"},
    {Text::CopySamePlace, "cli.copySamePlace"},
    {Text::BadRecordsAddress, "cli.badRecordsAddress"},
    {Text::LocalFile, "cli.localFile"},
    {Text::ServerDatabase, "cli.serverDatabase"},
    {Text::HistoryCommand, "cli.historyCommand"},
    {Text::FirmNameHelp, "cli.firmNameHelp"},
}};

// The table is in the order of the enumeration, so a text is found by its position.
constexpr bool inEnumerationOrder() {
    for (std::size_t i = 0; i < kTexts.size(); ++i)
        if (static_cast<std::size_t>(kTexts[i].id) != i) return false;
    return true;
}
static_assert(inEnumerationOrder(), "the texts are listed in the order of cli::Text");

} // namespace

QString text(Text id, Language language) {
    return strings::text(std::string_view(kTexts.at(static_cast<std::size_t>(id)).key), language);
}

QString text(Words words, Language language) {
    if (words.key) return strings::text(std::string_view(words.key), language);
    return text(words.id, language);
}

QString text(Words words, Language language, const QStringList& arguments) {
    return fill(text(words, language), arguments);
}

QString text(Text id, Language language, const QStringList& arguments) {
    return fill(text(id, language), arguments);
}

QString fill(const QString& pattern, const QStringList& arguments) {
    QString out;
    out.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] >= u'1' &&
            pattern[i + 1] <= u'9') {
            const int n = pattern[i + 1].unicode() - u'1';
            if (n < arguments.size()) {
                out += arguments[n];
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

} // namespace cli
