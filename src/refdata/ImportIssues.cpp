#include "refdata/ImportIssues.h"

#include "text/StringTable.h"

#include <array>

namespace refdata {

namespace {

// Each message by its key in the program's table of texts.
struct Wording {
    Msg msg;
    const char* key;
};

constexpr Wording keyed(Msg msg, const char* key) {
    return {msg, key};
}

constexpr std::array<Wording, static_cast<std::size_t>(Msg::Count)> kTexts{{
    keyed(Msg::NoFolder, "refdata.noFolder"),
    keyed(Msg::FileMissing, "refdata.fileMissing"),
    keyed(Msg::TwoFilesOneTable, "refdata.twoFilesOneTable"),
    keyed(Msg::Unreadable, "refdata.unreadable"),
    keyed(Msg::Malformed, "refdata.malformed"),
    keyed(Msg::NoHeader, "refdata.noHeader"),
    keyed(Msg::RepeatedColumn, "refdata.repeatedColumn"),
    keyed(Msg::MissingColumn, "refdata.missingColumn"),
    keyed(Msg::FieldCount, "refdata.fieldCount"),
    keyed(Msg::BadNaics, "refdata.badNaics"),
    keyed(Msg::UnknownNaics, "refdata.unknownNaics"),
    keyed(Msg::NotANumber, "refdata.notANumber"),
    keyed(Msg::NotWhole, "refdata.notWhole"),
    keyed(Msg::Negative, "refdata.negative"),
    keyed(Msg::EmptyValue, "refdata.emptyValue"),
    keyed(Msg::Duplicate, "refdata.duplicate"),
    keyed(Msg::FolderWithoutParent, "refdata.folderWithoutParent"),
    keyed(Msg::ParentMissing, "refdata.parentMissing"),
    keyed(Msg::ParentLater, "refdata.parentLater"),
    keyed(Msg::KeyOfFolder, "refdata.keyOfFolder"),
    keyed(Msg::NodeKeyMismatch, "refdata.nodeKeyMismatch"),
    keyed(Msg::UnknownOption, "refdata.unknownOption"),
    keyed(Msg::OptionMissing, "refdata.optionMissing"),
    keyed(Msg::ControlCharacter, "refdata.controlCharacter"),
    keyed(Msg::KeyTooLong, "refdata.keyTooLong"),
    keyed(Msg::MixedEncoding, "refdata.mixedEncoding"),
    keyed(Msg::RecordTooLong, "refdata.recordTooLong"),
    keyed(Msg::TooManyRows, "refdata.tooManyRows"),
    keyed(Msg::TargetIsFolder, "refdata.targetIsFolder"),
    keyed(Msg::TargetFolderMissing, "refdata.targetFolderMissing"),
    keyed(Msg::ImportRunning, "refdata.importRunning"),
    keyed(Msg::WriteFailed, "refdata.writeFailed"),
    keyed(Msg::CheckFailed, "refdata.checkFailed"),
    keyed(Msg::OutputFailed, "refdata.outputFailed"), // the file writer's message, worded already
    keyed(Msg::Stopped, "refdata.stopped"),
    keyed(Msg::QuartileOrderHigher, "refdata.quartileOrderHigher"),
    keyed(Msg::QuartileOrderLower, "refdata.quartileOrderLower"),
    keyed(Msg::ExtraColumn, "refdata.extraColumn"),
    keyed(Msg::ExtraFile, "refdata.extraFile"),
    keyed(Msg::IndustryWithoutFolder, "refdata.industryWithoutFolder"),
    keyed(Msg::DecimalPoint, "refdata.decimalPoint"),
    keyed(Msg::DecimalComma, "refdata.decimalComma"),
    keyed(Msg::FileFormat, "refdata.fileFormat"),
    keyed(Msg::Imported, "refdata.imported"),
    keyed(Msg::Refused, "refdata.refused"),
    keyed(Msg::RefusedOne, "refdata.refusedOne"),
    keyed(Msg::MoreErrors, "refdata.moreErrors"),
    keyed(Msg::MoreWarnings, "refdata.moreWarnings"),
    keyed(Msg::NotWritten, "refdata.notWritten"),
    keyed(Msg::NoDatabase, "refdata.noDatabase"),
    keyed(Msg::NotAReferenceDatabase, "refdata.notAReferenceDatabase"),
    keyed(Msg::FolderNotMade, "refdata.folderNotMade"),
    keyed(Msg::TableLeftOut, "refdata.tableLeftOut"),
    keyed(Msg::StaleFile, "refdata.staleFile"),
    keyed(Msg::Exported, "refdata.exported"),
}};

constexpr bool inOrder() {
    for (std::size_t i = 0; i < kTexts.size(); ++i)
        if (static_cast<std::size_t>(kTexts[i].msg) != i) return false;
    return true;
}
static_assert(inOrder(), "the wordings follow the order of Msg");

// %1 to %9 replaced in one pass, so that an argument holding "%2" stays as it is.
QString fill(const QString& text, const QStringList& args) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] >= u'1' && text[i + 1] <= u'9') {
            const qsizetype n = text[i + 1].unicode() - u'1';
            if (n < args.size()) {
                out += args[n];
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

} // namespace

QString pattern(Msg msg, Language language) {
    return strings::text(std::string_view(kTexts[static_cast<std::size_t>(msg)].key), language);
}

QString wording(Msg msg, Language language, const QStringList& args) {
    return fill(pattern(msg, language), args);
}

QString describe(const Issue& issue, Language language) {
    QString text;
    if (!issue.file.isEmpty()) {
        text += issue.file;
        if (issue.line > 0) text += u':' + QString::number(issue.line);
        text += QStringLiteral(": ");
    }
    if (!issue.column.isEmpty()) text += strings::text("refdata.issue.column", language).arg(issue.column);
    if (issue.severity == Severity::Error)
        text += strings::text("refdata.issue.error", language);
    else if (issue.severity == Severity::Warning)
        text += strings::text("refdata.issue.warning", language);
    return text + wording(issue.msg, language, issue.args);
}

void IssueList::add(Issue issue) {
    if (issue.severity == Severity::Error) {
        ++errorCount_;
        if (errors_.size() < limit_) errors_.push_back(std::move(issue));
    } else {
        ++warningCount_;
        if (warnings_.size() < limit_) warnings_.push_back(std::move(issue));
    }
}

} // namespace refdata
