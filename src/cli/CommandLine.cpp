#include "cli/CommandLine.h"

#include "cli/CliTexts.h"
#include "cli/UsageErrorText.h"

#include <CLI/CLI.hpp>
#include <array>
#include <vector>

#ifndef VENTROLUX_VERSION
#error "VENTROLUX_VERSION comes from the build: the project's version"
#endif

namespace cli {

namespace {

constexpr char kProgram[] = "ventrolux-cli";

enum class Check { None, Dataset, Language, Kind };

struct OptionSpec {
    Option option;
    const char* name;
    const char* valueName; // nullptr: a flag, which takes no value
    Words help;
    Check check;
};

// In the order the help and the synopsis show them.
constexpr std::array<OptionSpec, 17> kOptions{{
    {OptDataset, "--dataset", "DS", Text::DatasetHelp, Check::Dataset},
    {OptNaics, "--naics", "CODE", Text::NaicsHelp, Check::None},
    {OptFirm, "--firm", "FILE", Text::FirmHelp, Check::None},
    {OptKind, "--kind", "rat|bal", Text::KindHelp, Check::Kind},
    {OptLang, "--lang", "E|F", Text::LangHelp, Check::Language},
    {OptKeyword, "--keyword", "TEXT", Text::KeywordHelp, Check::None},
    {OptPdf, "--pdf", "OUT.pdf", Text::PdfHelp, Check::None},
    {OptHtml, "--html", "OUT.html", Text::HtmlHelp, Check::None},
    {OptOut, "--out", "FILE", Text::OutHelp, Check::None},
    {OptFirms, "--firms", "FIRMS.csv", Text::FirmsListHelp, Check::None},
    {OptOutDir, "--out", "DIR", Text::OutDirOfBatchHelp, Check::None},
    {OptReplace, "--replace", nullptr, Text::ReplaceHelp, Check::None},
    {OptPdfEach, "--pdf", nullptr, Text::PdfEachHelp, Check::None},
    {OptFirmName, "--firm-name", "NAME", Text::FirmNameHelp, Check::None},
    {OptFrom, "--from", "local|URL", Text::FromHelp, Check::None},
    {OptTo, "--to", "local|URL", Text::ToHelp, Check::None},
    {OptReadOnly, "--read-only", nullptr, "cli.records.readOnly", Check::None},
}};

// Arguments a command takes by position, all required.
struct PositionalSpec {
    const char* name;
    Words help;
};
constexpr std::array<PositionalSpec, 9> kPositionals{{
    {"SOURCE_DIR", Text::SourceDirHelp},
    {"FILE", Text::ReferenceFileHelp},
    {"OUT_DIR", Text::OutDirHelp},
    {"FILE", Text::FirmFileArgumentHelp},
    {"NAME", Text::FirmNameArgumentHelp},
    {"YEAR", Text::YearArgumentHelp},
    {"OUT.csv", Text::ExportFileArgumentHelp},
    {"FIRMS.csv", Text::ImportFileArgumentHelp},
    {"ROLE", "cli.records.roleArgument"},
}};
constexpr std::size_t kMaxPositionals = 2;

constexpr std::size_t indexOf(Option option) {
    for (std::size_t i = 0; i < kOptions.size(); ++i)
        if (kOptions[i].option == option) return i;
    return kOptions.size();
}

struct CommandSpec {
    Command command;
    const char* name;
    Words help;
    unsigned required;
    unsigned optional;
    std::array<int, kMaxPositionals> positionals{-1, -1}; // indexes into kPositionals; -1 for none
    const char* group = nullptr; // the command word the command follows ("firms save"), if any
};

// The commands that gather others under one word: "firms list", "firms save", ...
struct GroupSpec {
    const char* name;
    Words help;
    Words unknown; // the usage error for a word after it that names none of its commands
};
constexpr std::array<GroupSpec, 2> kGroups{{
    {"firms", Text::FirmsCommand, Text::UnknownFirmsCommand},
    {"records", "cli.records.group", "cli.records.unknown"},
}};

constexpr std::array<CommandSpec, 18> kCommands{{
    {Command::Datasets, "datasets", Text::DatasetsCommand, 0, OptLang},
    {Command::Industries, "industries", Text::IndustriesCommand, OptDataset, OptLang | OptKeyword},
    {Command::Compare, "compare", Text::CompareCommand, OptDataset | OptNaics | OptFirm,
     OptLang | OptPdf | OptHtml},
    {Command::IndustryReport, "industry-report", Text::IndustryReportCommand, OptDataset | OptNaics | OptKind,
     OptLang | OptPdf | OptHtml},
    {Command::ImportReference, "import-reference", Text::ImportReferenceCommand, OptOut, OptLang, {0, -1}},
    {Command::ExportReference, "export-reference", Text::ExportReferenceCommand, 0, OptLang, {1, 2}},
    {Command::FirmsList, "list", Text::FirmsListCommand, 0, OptLang, {-1, -1}, "firms"},
    {Command::FirmsShow, "show", Text::FirmsShowCommand, 0, OptLang, {4, 5}, "firms"},
    {Command::FirmsSave, "save", Text::FirmsSaveCommand, 0, OptReplace | OptLang, {3, -1}, "firms"},
    {Command::FirmsDelete, "delete", Text::FirmsDeleteCommand, 0, OptLang, {4, 5}, "firms"},
    {Command::FirmsExport, "export", Text::FirmsExportCommand, 0, OptLang, {6, -1}, "firms"},
    {Command::FirmsImport, "import", Text::FirmsImportCommand, 0, OptReplace | OptLang, {7, -1}, "firms"},
    {Command::FirmsCopy,
     "copy",
     Text::FirmsCopyCommand,
     OptFrom | OptTo,
     OptReplace | OptLang,
     {-1, -1},
     "firms"},
    {Command::Batch, "batch", Text::BatchCommand, OptDataset | OptFirms | OptOutDir,
     OptNaics | OptLang | OptPdfEach},
    {Command::History, "history", Text::HistoryCommand, OptDataset | OptNaics | OptFirmName,
     OptPdf | OptHtml | OptLang},
    {Command::RecordsGrant, "grant", "cli.records.grant", 0, OptReadOnly | OptLang, {8, -1}, "records"},
    {Command::RecordsCheck, "check", "cli.records.check", 0, OptLang, {-1, -1}, "records"},
    {Command::Check, "check", "cli.check", 0, OptLang},
}};

std::string utf8(const QString& s) {
    return s.toStdString();
}
QString unicode(const std::string& s) {
    return QString::fromStdString(s);
}

// The language of the last --lang on the line, whatever else is wrong with it.
Language announcedLanguage(const QStringList& args) {
    Language language = Language::E;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString value;
        if (args[i] == QLatin1String("--lang") && i + 1 < args.size())
            value = args[i + 1];
        else if (args[i].startsWith(QLatin1String("--lang=")))
            value = args[i].mid(7);
        else
            continue;
        // Only the value --lang accepts asks for French: "f" is refused, in English.
        language = value == language::letter(Language::F) ? Language::F : Language::E;
    }
    return language;
}

bool isOneOf(const std::string& value, std::initializer_list<const char*> allowed) {
    for (const char* a : allowed)
        if (value == a) return true;
    return false;
}

CLI::Validator validator(Check check, Language language) {
    return CLI::Validator(
        [check, language](std::string& value) -> std::string {
            const QString v = unicode(value);
            switch (check) {
            case Check::Dataset:
                return findDataset(v) ? std::string() : utf8(text(Text::UnknownDataset, language, {v}));
            case Check::Language:
                return isOneOf(value, {"E", "F"}) ? std::string()
                                                  : utf8(text(Text::LangValues, language, {v}));
            case Check::Kind:
                return isOneOf(value, {"rat", "bal"}) ? std::string()
                                                      : utf8(text(Text::KindValues, language, {v}));
            case Check::None:
                break;
            }
            return std::string();
        },
        std::string());
}

// One parser per call: CLI11 binds the values to these members, so it is neither
// copied nor moved.
class Parser {
public:
    explicit Parser(Language language);
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    ParseOutcome parse(const QStringList& arguments);

private:
    struct Bound {
        Command command;
        CLI::App* sub;
        std::vector<std::pair<Option, CLI::Option*>> options;
        std::size_t positionals = 0;
    };

    CLI::Option* addOption(CLI::App& app, const OptionSpec& entry, std::string& storage);

    Language language_;
    CLI::App app_;
    std::string dataDir_;
    std::string records_;
    std::string leadingLang_; // --lang before the command
    CLI::Option* leadingLangOption_ = nullptr;
    std::array<std::string, kOptions.size()> values_; // shared: only one command is parsed
    std::array<std::string, kMaxPositionals> positionalValues_;
    std::vector<Bound> commands_;
    std::vector<std::pair<const GroupSpec*, CLI::App*>> groups_;
};

Parser::Parser(Language language)
    : language_(language), app_(utf8(text(Text::Description, language)), kProgram) {
    const auto t = [language](Words words) { return utf8(text(words, language)); };
    auto formatter = app_.get_formatter();
    formatter->label("Usage", t(Text::UsageLabel));
    formatter->label("SUBCOMMAND", t(Text::CommandLabel));
    formatter->label("REQUIRED", t(Text::RequiredLabel));
    app_.option_defaults()->group(t(Text::OptionsGroup));
    app_.set_help_flag("-h,--help", t(Text::HelpFlag));
    app_.set_version_flag("--version", std::string(kProgram) + " " + VENTROLUX_VERSION, t(Text::VersionFlag));
    app_.footer(utf8(synopsis(language)));
    app_.require_subcommand(1);
    // Unknown words are gathered rather than thrown, so that they are named in the
    // order they were typed.
    app_.allow_extras();
    // Options of the whole tool (--data-dir, and --lang before the command) may also
    // follow the command.
    app_.fallthrough();
    app_.add_option("--data-dir", dataDir_, t(Text::DataDirHelp))
        ->type_name("DIR")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app_.add_option("--records", records_, t(Text::RecordsHelp))
        ->type_name("local|URL")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    leadingLangOption_ = addOption(app_, kOptions[indexOf(OptLang)], leadingLang_);

    for (const GroupSpec& g : kGroups) {
        CLI::App* group = app_.add_subcommand(g.name, t(g.help));
        group->group(t(Text::CommandsGroup));
        group->require_subcommand(1);
        groups_.emplace_back(&g, group);
    }
    const auto parentOf = [this](const CommandSpec& c) -> CLI::App& {
        for (const auto& [entry, group] : groups_)
            if (c.group && qstrcmp(entry->name, c.group) == 0) return *group;
        return app_;
    };

    for (const CommandSpec& c : kCommands) {
        Bound bound{c.command, parentOf(c).add_subcommand(c.name, t(c.help)), {}};
        bound.sub->group(t(Text::CommandsGroup));
        bound.sub->footer(t(Text::DatasetNote));
        for (std::size_t i = 0; i < kOptions.size(); ++i) {
            const OptionSpec& o = kOptions[i];
            if (((c.required | c.optional) & o.option) == 0) continue;
            CLI::Option* added = addOption(*bound.sub, o, values_[i]);
            if (c.required & o.option) added->required();
            bound.options.emplace_back(o.option, added);
        }
        for (const int p : c.positionals) {
            if (p < 0) continue;
            const PositionalSpec& entry = kPositionals[static_cast<std::size_t>(p)];
            bound.sub->add_option(entry.name, positionalValues_[bound.positionals++], t(entry.help))
                ->required();
        }
        commands_.push_back(std::move(bound));
    }
}

CLI::Option* Parser::addOption(CLI::App& app, const OptionSpec& entry, std::string& storage) {
    if (!entry.valueName) return app.add_flag(entry.name)->description(utf8(text(entry.help, language_)));
    // A repeated option takes its last value, as the tool always did.
    CLI::Option* o = app.add_option(entry.name, storage, utf8(text(entry.help, language_)))
                         ->type_name(entry.valueName)
                         ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    if (entry.check != Check::None) o->check(validator(entry.check, language_));
    return o;
}

ParseOutcome Parser::parse(const QStringList& arguments) {
    ParseOutcome outcome;
    outcome.language = language_;
    std::vector<std::string> reversed; // the order CLI11 consumes them in
    for (auto it = arguments.crbegin(); it != arguments.crend(); ++it)
        reversed.push_back(utf8(*it));
    try {
        app_.parse(std::move(reversed));
    } catch (const CLI::CallForHelp&) {
        outcome.kind = ParseOutcome::Kind::Help;
        outcome.text = unicode(app_.help());
        return outcome;
    } catch (const CLI::CallForAllHelp&) {
        outcome.kind = ParseOutcome::Kind::Help;
        outcome.text = unicode(app_.help("", CLI::AppFormatMode::All));
        return outcome;
    } catch (const CLI::CallForVersion& e) {
        outcome.kind = ParseOutcome::Kind::Version;
        outcome.text = unicode(e.what());
        return outcome;
    } catch (const CLI::ParseError& e) {
        outcome.kind = ParseOutcome::Kind::UsageError;
        outcome.text = usageErrorText(unicode(e.what()), language_);
        // No command was found: a first word that names none is the likely reason.
        const auto unknownWord = [](const std::vector<std::string>& rest) {
            return !rest.empty() && rest.front().rfind('-', 0) != 0;
        };
        if (app_.get_subcommands().empty() && unknownWord(app_.remaining()))
            outcome.text = text(Text::UnknownCommand, language_, {unicode(app_.remaining().front())});
        // A group's word without one of its commands: the word after it names none. The
        // parser hands words it does not know on to the whole tool.
        for (const auto& [entry, group] : groups_) {
            if (!group->parsed() || !group->get_subcommands().empty()) continue;
            for (const std::vector<std::string>& rest : {group->remaining(), app_.remaining()})
                if (unknownWord(rest)) {
                    outcome.text = text(entry->unknown, language_, {unicode(rest.front())});
                    break;
                }
        }
        return outcome;
    }
    if (const std::vector<std::string> rest = app_.remaining(true); !rest.empty()) {
        QStringList words;
        for (const std::string& w : rest)
            words << unicode(w);
        outcome.kind = ParseOutcome::Kind::UsageError;
        outcome.text = text(Text::UnexpectedArguments, language_, {words.join(u' ')});
        return outcome;
    }

    Request& r = outcome.request;
    r.dataDir = unicode(dataDir_);
    r.records = unicode(records_);
    if (leadingLangOption_->count() > 0) r.values[OptLang] = unicode(leadingLang_);
    for (const Bound& b : commands_) {
        if (!b.sub->parsed()) continue;
        r.command = b.command;
        for (const auto& [option, added] : b.options) {
            if (added->count() == 0) continue;
            r.values[option] = unicode(values_[indexOf(option)]);
        }
        for (std::size_t k = 0; k < b.positionals; ++k)
            r.arguments << unicode(positionalValues_[k]);
    }
    r.language = language::fromLetter(r.value(OptLang)).value_or(Language::E);
    outcome.language = r.language;
    outcome.kind = ParseOutcome::Kind::Run;
    return outcome;
}

} // namespace

ParseOutcome parseCommandLine(const QStringList& arguments) {
    Parser parser(announcedLanguage(arguments));
    return parser.parse(arguments);
}

QString synopsis(Language language) {
    const QString heading = text(Text::SynopsisHeading, language);
    QStringList lines;
    for (const CommandSpec& c : kCommands) {
        const QString words =
            c.group ? QLatin1String(c.group) + u' ' + QLatin1String(c.name) : QLatin1String(c.name);
        QString line = QStringLiteral("%1 [--data-dir DIR] %2").arg(QLatin1String(kProgram), words);
        for (const int p : c.positionals)
            if (p >= 0) line += u' ' + QLatin1String(kPositionals[static_cast<std::size_t>(p)].name);
        // The required options first, then the others, each in the table's order.
        for (const bool required : {true, false})
            for (const OptionSpec& o : kOptions) {
                const QString use = o.valueName ? QStringLiteral("%1 %2").arg(QLatin1String(o.name),
                                                                              QLatin1String(o.valueName))
                                                : QLatin1String(o.name);
                if (required && (c.required & o.option))
                    line += u' ' + use;
                else if (!required && (c.optional & o.option))
                    line += QStringLiteral(" [") + use + u']';
            }
        lines << line;
    }
    lines << QStringLiteral("%1 --help | --version").arg(QLatin1String(kProgram));
    const QString indent(heading.size() + 1, u' ');
    QString out = heading + u' ' + lines.join(u'\n' + indent);
    return out + u'\n' + text(Text::DatasetNote, language);
}

const DatasetOption* findDataset(const QString& text) {
    if (const DatasetOption* opt = datasets::findByControlName(text)) return opt;
    const QStringList parts = text.split(u':');
    if (parts.size() != 2) return nullptr;
    bool ok = false;
    const int volume = parts[0].toInt(&ok);
    return ok ? datasets::findByVolumeRegion(volume, parts[1]) : nullptr;
}

} // namespace cli
