#include "refdata/ImportIssues.h"

#include "text/StringTable.h"

#include <array>

namespace refdata {

namespace {

// The wordings written here in both languages; a newer one names its entry of the keyed
// table of texts instead.
struct Wording {
    Msg msg;
    const char* english;
    const char* french = nullptr;
    const char* key = nullptr;
};

constexpr Wording keyed(Msg msg, const char* key) {
    return {msg, nullptr, nullptr, key};
}

constexpr std::array<Wording, static_cast<std::size_t>(Msg::Count)> kTexts{{
    {Msg::NoFolder, "the folder %1 does not exist", "le dossier %1 n'existe pas"},
    {Msg::FileMissing, "the table %1 is required: its file %1.csv is missing (a header row alone is enough)",
     "la table %1 est obligatoire : son fichier %1.csv manque (une ligne d'en-tête seule suffit)"},
    {Msg::TwoFilesOneTable, "this file and %1 both hold the table %2",
     "ce fichier et %1 contiennent tous deux la table %2"},
    {Msg::Unreadable, "the file cannot be read: %1", "le fichier est illisible : %1"},
    {Msg::Malformed, "the CSV quoting is broken (%1)", "les guillemets du CSV sont mal formés (%1)"},
    {Msg::NoHeader, "the file is empty: a header row naming the columns is needed",
     "le fichier est vide : une ligne d'en-tête qui nomme les colonnes est nécessaire"},
    {Msg::RepeatedColumn, "the column is named a second time in the header",
     "la colonne est nommée une deuxième fois dans l'en-tête"},
    {Msg::MissingColumn, "the column %1 is missing from the header", "la colonne %1 manque dans l'en-tête"},
    {Msg::FieldCount, "%1 fields where the header has %2", "%1 champs alors que l'en-tête en a %2"},
    {Msg::BadNaics, "'%1' is not a six-digit NAICS code", "« %1 » n'est pas un code SCIAN à six chiffres"},
    {Msg::UnknownNaics, "the NAICS code %1 is not in the description table %2",
     "le code SCIAN %1 ne figure pas dans la table de description %2"},
    {Msg::NotANumber, "'%1' is not a number (the file's decimal mark is '%2')",
     "« %1 » n'est pas un nombre (le séparateur décimal du fichier est « %2 »)"},
    {Msg::NotWhole, "'%1' is not a whole number", "« %1 » n'est pas un nombre entier"},
    {Msg::Negative, "'%1' is below zero", "« %1 » est inférieur à zéro"},
    {Msg::EmptyValue, "a value is needed", "une valeur est nécessaire"},
    {Msg::Duplicate, "%1 appears a second time (first on line %2)",
     "%1 figure une deuxième fois (d'abord à la ligne %2)"},
    {Msg::FolderWithoutParent, "the folder %1 has no parent folder (only %2 and %3 stand at the top)",
     "le dossier %1 n'a pas de dossier parent (seuls %2 et %3 sont au sommet)"},
    {Msg::ParentMissing, "the parent folder %1 is not in the table",
     "le dossier parent %1 ne figure pas dans la table"},
    {Msg::ParentLater, "the parent folder %1 does not come before this folder in sequence order (line %2)",
     "le dossier parent %1 ne précède pas ce dossier dans l'ordre de sequence (ligne %2)"},
    {Msg::KeyOfFolder, "the key %1 is also the key of a folder in %2",
     "la clé %1 est aussi celle d'un dossier de %2"},
    {Msg::NodeKeyMismatch, "the key '%1' must be %2, Ind followed by the NAICS code",
     "la clé « %1 » doit être %2, Ind suivi du code SCIAN"},
    {Msg::UnknownOption, "'%1' is not one of the 19 dataset options",
     "« %1 » n'est pas une des 19 options de données"},
    {Msg::OptionMissing, "the dataset option %1 has no row", "l'option de données %1 n'a pas de ligne"},
    keyed(Msg::ControlCharacter, "refdata.controlCharacter"),
    keyed(Msg::KeyTooLong, "refdata.keyTooLong"),
    keyed(Msg::MixedEncoding, "refdata.mixedEncoding"),
    keyed(Msg::RecordTooLong, "refdata.recordTooLong"),
    keyed(Msg::TooManyRows, "refdata.tooManyRows"),
    {Msg::TargetIsFolder, "%1 is a folder, not a database file",
     "%1 est un dossier, pas un fichier de base de données"},
    {Msg::TargetFolderMissing, "the folder of %1 does not exist", "le dossier de %1 n'existe pas"},
    {Msg::ImportRunning, "another import into %1 is running", "une autre importation vers %1 est en cours"},
    {Msg::WriteFailed, "the new database could not be written: %1",
     "la nouvelle base de données n'a pu être écrite : %1"},
    {Msg::CheckFailed, "the new database failed its check: %1",
     "la nouvelle base de données a échoué à sa vérification : %1"},
    {Msg::OutputFailed, "%1", "%1"}, // the file writer's message, worded already
    {Msg::Stopped, "the import was stopped", "l'importation a été interrompue"},
    {Msg::QuartileOrderHigher,
     "the quartiles %1, %2, %3 (%4, %5, %6) should rise: for this ratio higher is better",
     "les quartiles %1, %2, %3 (%4, %5, %6) devraient croître : pour ce ratio, plus haut est meilleur"},
    {Msg::QuartileOrderLower,
     "the quartiles %1, %2, %3 (%4, %5, %6) should fall: for this ratio lower is better",
     "les quartiles %1, %2, %3 (%4, %5, %6) devraient décroître : pour ce ratio, plus bas est meilleur"},
    {Msg::ExtraColumn, "the program reads no such column; it is left out",
     "le programme ne lit pas cette colonne ; elle est laissée de côté"},
    {Msg::ExtraFile, "not a table of the reference database; the file is left out",
     "pas une table de la base de données de référence ; le fichier est laissé de côté"},
    {Msg::IndustryWithoutFolder, "the folder %1 is not in %2; the industry will stand under %3 in the tree",
     "le dossier %1 ne figure pas dans %2 ; l'industrie sera placée sous %3 dans l'arbre"},
    {Msg::DecimalPoint, "point", "point"},
    {Msg::DecimalComma, "comma", "virgule"},
    {Msg::FileFormat, "%1: %2 rows; %3, separator '%4', decimal %5",
     "%1 : %2 lignes ; %3, séparateur « %4 », décimales en %5"},
    {Msg::Imported, "%1 written from %2: %3 tables, %4 rows",
     "%1 écrit à partir de %2 : %3 tables, %4 lignes"},
    {Msg::Refused, "%1 errors: nothing was written, %2 is unchanged",
     "%1 erreurs : rien n'a été écrit, %2 reste inchangé"},
    {Msg::RefusedOne, "1 error: nothing was written, %2 is unchanged",
     "1 erreur : rien n'a été écrit, %2 reste inchangé"},
    {Msg::MoreErrors, "... and %1 more errors", "... et %1 autres erreurs"},
    {Msg::MoreWarnings, "... and %1 more warnings", "... et %1 autres avertissements"},
    {Msg::NotWritten, "nothing was written, %1 is unchanged", "rien n'a été écrit, %1 reste inchangé"},
    {Msg::NoDatabase, "the database %1 does not exist", "la base de données %1 n'existe pas"},
    {Msg::NotAReferenceDatabase, "%1 cannot be read as a reference database: %2",
     "%1 ne peut être lu comme base de données de référence : %2"},
    keyed(Msg::FolderNotMade, "refdata.folderNotMade"),
    {Msg::TableLeftOut, "the table %1 is not one of the reference database's; it is left out",
     "la table %1 n'est pas une table de la base de données de référence ; elle est laissée de côté"},
    {Msg::StaleFile,
     "%1 holds a table this database does not have: an import of the folder would read it; choose another "
     "folder or remove the file",
     "%1 contient une table que cette base de données n'a pas : une importation du dossier la lirait ; "
     "choisissez un autre dossier ou supprimez le fichier"},
    {Msg::Exported, "%1 tables, %2 rows written to %3", "%1 tables, %2 lignes écrites dans %3"},
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
    const Wording& w = kTexts[static_cast<std::size_t>(msg)];
    if (w.key) return strings::text(std::string_view(w.key), language);
    return QString::fromUtf8(language == Language::F ? w.french : w.english);
}

QString wording(Msg msg, Language language, const QStringList& args) {
    return fill(pattern(msg, language), args);
}

QString describe(const Issue& issue, Language language) {
    const bool french = language == Language::F;
    QString text;
    if (!issue.file.isEmpty()) {
        text += issue.file;
        if (issue.line > 0) text += u':' + QString::number(issue.line);
        text += QStringLiteral(": ");
    }
    if (!issue.column.isEmpty())
        text += (french ? QStringLiteral("colonne %1 : ") : QStringLiteral("column %1: ")).arg(issue.column);
    if (issue.severity == Severity::Error)
        text += french ? QStringLiteral("erreur : ") : QStringLiteral("error: ");
    else if (issue.severity == Severity::Warning)
        text += french ? QStringLiteral("avertissement : ") : QStringLiteral("warning: ");
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
