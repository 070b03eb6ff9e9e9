#include "cli/FirmFileProblems.h"

#include "cli/CliTexts.h"
#include "cli/CommandErrors.h"

namespace cli {

QString fileProblem(const firmfile::ReadResult& file, const QString& path, int language) {
    using firmfile::Problem;
    switch (file.problem) {
    case Problem::Unreadable:
        return text(Text::FileUnreadable, language, {path, file.text});
    case Problem::BrokenJson:
        return text(Text::FileBrokenJson, language, {path, file.text});
    case Problem::NotAnObject:
        return text(Text::FileNotAnObject, language,
                    {path, text(file.isArray ? Text::FileJsonArray : Text::FileOtherJsonValue, language)});
    case Problem::NoDataRow:
        return text(Text::FileNoDataRow, language, {path});
    case Problem::UnknownKey:
        return text(Text::FileUnknownKey, language, {path, file.key});
    case Problem::NotNumberOrText:
        return text(Text::FileNotNumberOrText, language, {path, file.key});
    case Problem::NotPlainNumber:
        return text(Text::FileNotPlainNumber, language, {path, file.key, file.text});
    case Problem::MalformedCsv:
        return text(Text::FileMalformedCsv, language, {path, QString::number(file.line), file.text});
    case Problem::TooManyFields:
        return text(Text::FileTooManyFields, language, {path, QString::number(file.line), file.text});
    case Problem::None:
        break;
    }
    return QString();
}

QString listProblem(const firmfile::ListResult& list, const QString& path, int language) {
    firmfile::ReadResult file;
    file.problem = list.problem;
    file.key = list.key;
    file.text = list.text;
    file.line = list.line;
    return fileProblem(file, path, language);
}

QString rowProblem(const firmfile::ReadResult& row, int language) {
    using firmfile::Problem;
    switch (row.problem) {
    case Problem::NotPlainNumber:
        return text(Text::RowNotPlainNumber, language, {row.key, row.text});
    case Problem::TooManyFields:
        return text(Text::RowTooManyFields, language, {row.text});
    default:
        // A row of a list has no other faults of its own; the file's wording fits them.
        return fileProblem(row, QString(), language);
    }
}

FirmStatement readFirmFile(const QString& path, int language) {
    const firmfile::ReadResult file = firmfile::read(path);
    if (file.problem == firmfile::Problem::Unreadable) throw UsageError{fileProblem(file, path, language)};
    if (!file.ok()) throw Refused{fileProblem(file, path, language)};
    return file.firm;
}

firmfile::ListResult readClientList(const QString& path, int language) {
    firmfile::ListResult list = firmfile::readList(path);
    if (list.problem == firmfile::Problem::Unreadable) throw UsageError{listProblem(list, path, language)};
    if (!list.ok()) throw Refused{listProblem(list, path, language)};
    return list;
}

} // namespace cli
