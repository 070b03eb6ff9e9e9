#pragma once
// What an import or export of reference data has to say: errors (which refuse the
// source), warnings (which do not) and the lines of its report, each with the file,
// line and column it is about, worded in English or French from one table.

#include "text/Language.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace refdata {

enum class Msg {
    // Errors of the source folder and its files
    NoFolder,
    FileMissing,
    TwoFilesOneTable,
    Unreadable,
    Malformed,
    NoHeader,
    RepeatedColumn,
    MissingColumn,
    FieldCount,
    BadNaics,
    UnknownNaics,
    NotANumber,
    NotWhole,
    Negative,
    EmptyValue,
    Duplicate,
    FolderWithoutParent,
    ParentMissing,
    ParentLater,
    KeyOfFolder,
    NodeKeyMismatch,
    UnknownOption,
    OptionMissing,
    ControlCharacter,
    KeyTooLong,
    MixedEncoding,
    RecordTooLong,
    TooManyRows,
    // Errors of writing
    TargetIsFolder,
    TargetFolderMissing,
    ImportRunning,
    WriteFailed,
    CheckFailed,
    OutputFailed, // the file writer's own message
    Stopped,
    // Warnings
    QuartileOrderHigher,
    QuartileOrderLower,
    ExtraColumn,
    ExtraFile,
    IndustryWithoutFolder,
    // Report
    DecimalPoint,
    DecimalComma,
    FileFormat,
    Imported,
    Refused,
    RefusedOne,
    MoreErrors,
    MoreWarnings,
    NotWritten,
    // Export
    NoDatabase,
    NotAReferenceDatabase,
    FolderNotMade,
    TableLeftOut,
    StaleFile,
    Exported,
    Count // not a message: how many there are
};

enum class Severity { Error, Warning, Note };

struct Issue {
    Severity severity = Severity::Error;
    Msg msg = Msg::WriteFailed;
    QString file;   // the file's name within the source folder, or a path; may be empty
    int line = 0;   // 0 when the issue is about no particular line
    QString column; // empty when it is about no particular column
    QStringList args;
};

// The message's pattern in a language, %1... unfilled.
QString pattern(Msg msg, Language language);

// The message's words with the arguments filled in, in one pass.
QString wording(Msg msg, Language language, const QStringList& args = {});

// "FILE:LINE: column C: words", with "error:" or "warning:" before the words.
QString describe(const Issue& issue, Language language);

// Errors and warnings gathered up to a limit each: the ones past it are only counted.
class IssueList {
public:
    explicit IssueList(std::size_t limit = 100) : limit_(limit) {}

    void add(Issue issue);
    const std::vector<Issue>& errors() const { return errors_; }
    const std::vector<Issue>& warnings() const { return warnings_; }
    int errorCount() const { return errorCount_; }
    bool hasErrors() const { return errorCount_ > 0; }
    int errorsLeftOut() const { return errorCount_ - static_cast<int>(errors_.size()); }
    int warningsLeftOut() const { return warningCount_ - static_cast<int>(warnings_.size()); }

private:
    std::size_t limit_;
    std::vector<Issue> errors_;
    std::vector<Issue> warnings_;
    int errorCount_ = 0;
    int warningCount_ = 0;
};

} // namespace refdata
