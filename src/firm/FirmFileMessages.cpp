#include "firm/FirmFileMessages.h"

#include "text/StringTable.h"

namespace firmfile {

// The arguments are filled in one pass (QString::arg with several arguments), so that a
// file name or a value holding "%2" is shown as it is.
QString fileProblem(const ReadResult& file, const QString& path, Language language) {
    switch (file.problem) {
    case Problem::Unreadable:
        return strings::text("firmfile.unreadable", language).arg(path, file.text);
    case Problem::BrokenJson:
        return strings::text("firmfile.brokenJson", language).arg(path, file.text);
    case Problem::NotAnObject:
        return strings::text("firmfile.notAnObject", language)
            .arg(path, file.isArray ? strings::text("firmfile.jsonArray", language)
                                    : strings::text("firmfile.otherJsonValue", language));
    case Problem::NoDataRow:
        return strings::text("firmfile.noDataRow", language).arg(path);
    case Problem::UnknownKey:
        return strings::text("firmfile.unknownKey", language).arg(path, file.key);
    case Problem::NotNumberOrText:
        return strings::text("firmfile.notNumberOrText", language).arg(path, file.key);
    case Problem::NotPlainNumber:
        return strings::text("firmfile.notPlainNumber", language).arg(path, file.key, file.text);
    case Problem::MalformedCsv:
        return strings::text("firmfile.malformedCsv", language)
            .arg(path, QString::number(file.line), file.text);
    case Problem::TooManyFields:
        return strings::text("firmfile.tooManyFields", language)
            .arg(path, QString::number(file.line), file.text);
    case Problem::DuplicateKey:
        return strings::text("firmfile.duplicateKey", language).arg(path, file.key);
    case Problem::MixedEncoding:
        return strings::text("firmfile.mixedEncoding", language)
            .arg(path, QString::number(file.line), file.text);
    case Problem::RecordTooLong:
        return strings::text("firmfile.recordTooLong", language).arg(path, QString::number(file.line));
    case Problem::None:
        break;
    }
    return QString();
}

QString listProblem(const ListResult& list, const QString& path, Language language) {
    ReadResult file;
    file.problem = list.problem;
    file.key = list.key;
    file.text = list.text;
    file.line = list.line;
    return fileProblem(file, path, language);
}

QString rowProblem(const ReadResult& row, Language language) {
    switch (row.problem) {
    case Problem::NotPlainNumber:
        return strings::text("firmfile.row.notPlainNumber", language).arg(row.key, row.text);
    case Problem::TooManyFields:
        return strings::text("firmfile.row.tooManyFields", language).arg(row.text);
    default:
        // A row of a list has no other faults of its own; the file's wording fits them.
        return fileProblem(row, QString(), language);
    }
}

QString valueOutOfRange(const QString& path, const QString& key, const QString& value, Language language) {
    return strings::text("firmfile.valueOutOfRange", language).arg(path, key, value);
}

QString yearNotReference(const QString& path, const QString& year, Language language) {
    return strings::text("firmfile.yearNotReference", language).arg(path, year);
}

namespace {

// A problem's words begin a sentence of the message box.
QString sentence(const QString& words) {
    if (words.isEmpty()) return words;
    return words.left(1).toUpper() + words.mid(1) + u'.';
}

} // namespace

QString importRefused(const QString& problem, Language language) {
    return sentence(problem) + QStringLiteral("\n\n") + strings::text("firmfile.importRefused", language);
}

QString exportRefused(const QString& problem, Language language) {
    return sentence(problem) + QStringLiteral("\n\n") + strings::text("firmfile.exportRefused", language);
}

QString exported(const QString& path, Language language) {
    return strings::text("firmfile.exported", language).arg(path);
}

QString otherIndustry(const QString& fileNaics, const QString& chosenNaics, Language language) {
    return strings::text("firmfile.otherIndustry", language).arg(fileNaics, chosenNaics);
}

} // namespace firmfile
