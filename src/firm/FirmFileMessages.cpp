#include "firm/FirmFileMessages.h"

#include "text/StringTable.h"

namespace firmfile {

// The arguments are filled in one pass (QString::arg with several arguments), so that a
// file name or a value holding "%2" is shown as it is.
QString fileProblem(const ReadResult& file, const QString& path, Language language) {
    switch (file.problem) {
    case Problem::Unreadable:
        return strings::inLanguage(language, "cannot read the firm file %1: %2",
                                   "impossible de lire le fichier de l'entreprise %1 : %2")
            .arg(path, file.text);
    case Problem::BrokenJson:
        return strings::inLanguage(language, "the firm file %1 is not valid JSON: %2",
                                   "le fichier de l'entreprise %1 n'est pas du JSON valide : %2")
            .arg(path, file.text);
    case Problem::NotAnObject:
        return strings::inLanguage(
                   language, "a firm file is one JSON object (or a CSV file); %1 holds %2",
                   "un fichier d'entreprise est un seul objet JSON (ou un fichier CSV) ; %1 contient %2")
            .arg(path, file.isArray
                           ? strings::inLanguage(language, "a JSON array", "un tableau JSON")
                           : strings::inLanguage(language, "another JSON value", "une autre valeur JSON"));
    case Problem::NoDataRow:
        return strings::inLanguage(language, "the CSV file %1 needs a header row and a data row",
                                   "le fichier CSV %1 doit avoir une ligne d'en-tête et une ligne de données")
            .arg(path);
    case Problem::UnknownKey:
        return strings::inLanguage(language, "the firm file %1 has an unknown key '%2'",
                                   "le fichier de l'entreprise %1 contient une clé inconnue « %2 »")
            .arg(path, file.key);
    case Problem::NotNumberOrText:
        return strings::inLanguage(language, "in the firm file %1, %2 must be a number or a text",
                                   "dans le fichier de l'entreprise %1, %2 doit être un nombre ou un texte")
            .arg(path, file.key);
    case Problem::NotPlainNumber:
        return strings::inLanguage(
                   language,
                   "in the firm file %1, %2 is not a plain decimal number: \"%3\" (digits, an optional "
                   "leading '-' and an optional '.' with digits; no thousands separators)",
                   "dans le fichier de l'entreprise %1, %2 n'est pas un nombre décimal simple : « %3 » "
                   "(des chiffres, un « - » initial facultatif et un « . » suivi de chiffres facultatif ; "
                   "pas de séparateur de milliers)")
            .arg(path, file.key, file.text);
    case Problem::MalformedCsv:
        return strings::inLanguage(language, "the CSV file %1 is not valid CSV at line %2: %3",
                                   "le fichier CSV %1 n'est pas du CSV valide à la ligne %2 : %3")
            .arg(path, QString::number(file.line), file.text);
    case Problem::TooManyFields:
        return strings::inLanguage(
                   language, "line %2 of the CSV file %1 has %3 fields, more than its header names",
                   "la ligne %2 du fichier CSV %1 a %3 champs, plus que son en-tête n'en nomme")
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
        return strings::inLanguage(
                   language,
                   "%1 is not a plain decimal number: \"%2\" (digits, an optional leading '-' and an "
                   "optional '.' with digits; no thousands separators)",
                   "%1 n'est pas un nombre décimal simple : « %2 » (des chiffres, un « - » initial "
                   "facultatif et un « . » suivi de chiffres facultatif ; pas de séparateur de milliers)")
            .arg(row.key, row.text);
    case Problem::TooManyFields:
        return strings::inLanguage(language, "the row has %1 fields, more than the header names",
                                   "la ligne a %1 champs, plus que l'en-tête n'en nomme")
            .arg(row.text);
    default:
        // A row of a list has no other faults of its own; the file's wording fits them.
        return fileProblem(row, QString(), language);
    }
}

QString valueOutOfRange(const QString& path, const QString& key, const QString& value, Language language) {
    return strings::inLanguage(
               language, "in the firm file %1, %2 is beyond what a value box holds: \"%3\"",
               "dans le fichier de l'entreprise %1, %2 dépasse ce qu'une case de valeur peut contenir "
               ": « %3 »")
        .arg(path, key, value);
}

QString yearNotReference(const QString& path, const QString& year, Language language) {
    return strings::inLanguage(
               language, "in the firm file %1, the year must be 2009, 2010 or 2011, not \"%2\"",
               "dans le fichier de l'entreprise %1, l'année doit être 2009, 2010 ou 2011, pas « %2 »")
        .arg(path, year);
}

namespace {

// A problem's words begin a sentence of the message box.
QString sentence(const QString& words) {
    if (words.isEmpty()) return words;
    return words.left(1).toUpper() + words.mid(1) + u'.';
}

} // namespace

QString importRefused(const QString& problem, Language language) {
    return sentence(problem) + QStringLiteral("\n\n") +
           strings::inLanguage(language, "Nothing was imported: the values on the screen are as they were.",
                               "Rien n'a été importé : les valeurs à l'écran sont restées telles quelles.");
}

QString exportRefused(const QString& problem, Language language) {
    return sentence(problem) + QStringLiteral("\n\n") +
           strings::inLanguage(language, "The firm was not exported.", "L'entreprise n'a pas été exportée.");
}

QString exported(const QString& path, Language language) {
    return strings::inLanguage(language, "The firm was exported to %1.",
                               "L'entreprise a été exportée dans %1.")
        .arg(path);
}

QString otherIndustry(const QString& fileNaics, const QString& chosenNaics, Language language) {
    return strings::inLanguage(
               language,
               "The file names the industry %1. Its values are shown for the industry chosen, %2; "
               "choose the other industry first to compare the firm with it.",
               "Le fichier nomme l'industrie %1. Ses valeurs sont affichées pour l'industrie choisie, %2 ; "
               "choisissez d'abord l'autre industrie pour y comparer l'entreprise.")
        .arg(fileNaics, chosenNaics);
}

} // namespace firmfile
