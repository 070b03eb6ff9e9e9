#include "cli/CliTexts.h"

#include "text/StringTable.h"

#include <array>

namespace cli {

namespace {

struct Wording {
    Text id;
    const char* english;
    const char* french;
};

constexpr std::array<Wording, static_cast<std::size_t>(Text::Count)> kTexts{{
    {Text::Description,
     "Compares a small firm's financial statements with its industry's benchmarks, without windows.",
     "Compare les états financiers d'une petite entreprise aux repères de son industrie, sans fenêtres."},
    {Text::HelpFlag, "Print this help and exit", "Afficher cette aide et quitter"},
    {Text::VersionFlag, "Print the version and exit", "Afficher la version et quitter"},
    {Text::OptionsGroup, "Options", "Options"},
    {Text::CommandsGroup, "Commands", "Commandes"},
    {Text::UsageLabel, "Usage", "Utilisation"},
    {Text::CommandLabel, "COMMAND", "COMMANDE"},
    {Text::RequiredLabel, "REQUIRED", "OBLIGATOIRE"},
    {Text::SynopsisHeading, "usage:", "utilisation :"},
    {Text::DatasetNote, "DS: a dataset option (optNovaScotia) or VOLUME:REGION (3:NS, 1:ALL)",
     "DS : une option de jeu de données (optNovaScotia) ou VOLUME:RÉGION (3:NS, 1:ALL)"},
    {Text::MoreHelp,
     "Run 'ventrolux-cli --help' for more, or 'ventrolux-cli COMMAND --help' for one command.",
     "Voir « ventrolux-cli --help », ou « ventrolux-cli COMMANDE --help » pour une commande."},
    {Text::DataDirHelp, "The folder holding KLV_DATA.db (and where myData.db is kept or created)",
     "Le dossier qui contient KLV_DATA.db (et où myData.db est gardé ou créé)"},
    {Text::DatasetHelp, "The dataset: an option (optNovaScotia) or VOLUME:REGION (3:NS)",
     "Le jeu de données : une option (optNovaScotia) ou VOLUME:RÉGION (3:NS)"},
    {Text::NaicsHelp, "The industry's NAICS code", "Le code SCIAN de l'industrie"},
    {Text::FirmHelp, "The firm file: one JSON object, or a CSV file (header row, then the firm's row)",
     "Le fichier de l'entreprise : un objet JSON, ou un fichier CSV (ligne d'en-tête, puis la ligne de "
     "l'entreprise)"},
    {Text::KindHelp, "The report: rat (ratios) or bal (balance sheet)",
     "Le rapport : rat (ratios) ou bal (bilan)"},
    {Text::LangHelp, "The language: E (English) or F (French)", "La langue : E (anglais) ou F (français)"},
    {Text::KeywordHelp, "Only the industries whose title contains this text",
     "Seulement les industries dont le titre contient ce texte"},
    {Text::PdfHelp, "Write the report as PDF to this file", "Écrire le rapport en PDF dans ce fichier"},
    {Text::HtmlHelp, "Write the report as HTML to this file", "Écrire le rapport en HTML dans ce fichier"},
    {Text::OutHelp, "The reference database to create or replace",
     "La base de données de référence à créer ou remplacer"},
    {Text::SourceDirHelp, "The folder of CSV files, one per table (see docs/reference-data.md)",
     "Le dossier des fichiers CSV, un par table (voir docs/reference-data.md)"},
    {Text::ReferenceFileHelp, "The reference database to write out",
     "La base de données de référence à exporter"},
    {Text::OutDirHelp, "The folder to write the CSV files into", "Le dossier où écrire les fichiers CSV"},
    {Text::DatasetsCommand, "List the 19 datasets with their 2011 table and its number of industries",
     "Lister les 19 jeux de données avec leur table de 2011 et son nombre d'industries"},
    {Text::IndustriesCommand, "List the industries of a dataset (code, title, sector)",
     "Lister les industries d'un jeu de données (code, titre, secteur)"},
    {Text::CompareCommand, "Compare a firm with its industry and fill the comparison report",
     "Comparer une entreprise à son industrie et remplir le rapport de comparaison"},
    {Text::IndustryReportCommand, "Prepare an industry's ratios or balance sheet report",
     "Préparer le rapport des ratios ou du bilan d'une industrie"},
    {Text::ImportReferenceCommand, "Build a reference database from a folder of CSV files",
     "Construire une base de données de référence à partir d'un dossier de fichiers CSV"},
    {Text::ExportReferenceCommand, "Write every table of a reference database to a folder of CSV files",
     "Écrire chaque table d'une base de données de référence dans un dossier de fichiers CSV"},
    {Text::UnknownCommand,
     "unknown command '%1' (datasets, industries, compare, industry-report, import-reference, "
     "export-reference, firms, records, batch or history)",
     "commande inconnue « %1 » (datasets, industries, compare, industry-report, import-reference, "
     "export-reference, firms, records, batch ou history)"},
    {Text::UnexpectedArguments, "unexpected argument: %1", "argument inattendu : %1"},
    {Text::LangValues, "must be E or F, not '%1'", "doit valoir E ou F, pas « %1 »"},
    {Text::KindValues, "must be rat or bal, not '%1'", "doit valoir rat ou bal, pas « %1 »"},
    {Text::UnknownDataset,
     "unknown dataset '%1' (an option such as optNovaScotia, or VOLUME:REGION such as 3:NS)",
     "jeu de données inconnu « %1 » (une option comme optNovaScotia, ou VOLUME:RÉGION comme 3:NS)"},
    {Text::TableMissingMark, "missing", "absente"},
    {Text::DatasetTableMissing,
     "the dataset %1 cannot be used: its table %2 is missing from the reference database",
     "le jeu de données %1 est inutilisable : sa table %2 manque dans la base de données de référence"},
    {Text::UnknownIndustry, "the dataset %1 has no industry %2",
     "le jeu de données %1 n'a pas d'industrie %2"},
    {Text::IndustryDisagrees, "the firm file names the industry %1, but --naics gives %2",
     "le fichier de l'entreprise nomme l'industrie %1, mais --naics donne %2"},
    {Text::FirmsCommand, "Keep client records: list, show, save, delete, export, import or copy firms",
     "Gérer les dossiers des clients : lister, afficher, enregistrer, supprimer, exporter, importer ou "
     "copier des entreprises"},
    {Text::FirmsListCommand, "List the stored firms (name, year, NAICS)",
     "Lister les entreprises enregistrées (nom, année, SCIAN)"},
    {Text::FirmsShowCommand, "Print a stored firm as a JSON firm file",
     "Afficher une entreprise enregistrée comme fichier d'entreprise JSON"},
    {Text::FirmsSaveCommand, "Store the firm of a firm file, as the firm values screen saves it",
     "Enregistrer l'entreprise d'un fichier d'entreprise, comme l'écran des valeurs l'enregistre"},
    {Text::FirmsDeleteCommand, "Delete a stored firm", "Supprimer une entreprise enregistrée"},
    {Text::FirmsExportCommand, "Write every stored firm to a CSV file in the firm file columns",
     "Écrire toutes les entreprises enregistrées dans un fichier CSV aux colonnes du fichier d'entreprise"},
    {Text::FirmsImportCommand,
     "Store every firm of a CSV list: all of them, or none when one row is at fault",
     "Enregistrer toutes les entreprises d'une liste CSV : toutes, ou aucune si une ligne est fautive"},
    {Text::BatchCommand, "Compare every firm of a CSV list with its industry and write a summary",
     "Comparer chaque entreprise d'une liste CSV à son industrie et écrire un sommaire"},
    {Text::FirmsListHelp,
     "The client list: a CSV file of firms, one per row, in the firm file columns (a NAICS column names each "
     "row's industry)",
     "La liste des clients : un fichier CSV d'entreprises, une par ligne, aux colonnes du fichier "
     "d'entreprise (une colonne NAICS donne l'industrie de chaque ligne)"},
    {Text::OutDirOfBatchHelp, "The folder for summary.csv and the reports (created when missing)",
     "Le dossier de summary.csv et des rapports (créé s'il n'existe pas)"},
    {Text::ReplaceHelp, "Replace a stored firm of the same name and year",
     "Remplacer une entreprise enregistrée du même nom et de la même année"},
    {Text::PdfEachHelp, "Also write each firm's comparison report as PDF into the folder",
     "Écrire aussi le rapport de comparaison de chaque entreprise en PDF dans le dossier"},
    {Text::FirmFileArgumentHelp,
     "The firm file: one JSON object, or a CSV file (header row, then the firm's row)",
     "Le fichier de l'entreprise : un objet JSON, ou un fichier CSV (ligne d'en-tête, puis la ligne de "
     "l'entreprise)"},
    {Text::FirmNameArgumentHelp, "The firm's name, as stored", "Le nom de l'entreprise, tel qu'enregistré"},
    {Text::YearArgumentHelp, "The reference year: 2009, 2010 or 2011",
     "L'année de référence : 2009, 2010 ou 2011"},
    {Text::ExportFileArgumentHelp, "The CSV file to write", "Le fichier CSV à écrire"},
    {Text::ImportFileArgumentHelp, "The CSV list of firms to store",
     "La liste CSV des entreprises à enregistrer"},
    {Text::UnknownFirmsCommand,
     "unknown firms command '%1' (list, show, save, delete, export, import or copy)",
     "commande firms inconnue « %1 » (list, show, save, delete, export, import ou copy)"},
    {Text::RowYear, "the year must be 2009, 2010 or 2011, not \"%1\"",
     "l'année doit être 2009, 2010 ou 2011, pas « %1 »"},
    {Text::RowDuplicate, "%1 for %2 is already on line %3", "%1 pour %2 figure déjà à la ligne %3"},
    {Text::RowNoIndustry, "no industry: the row has no NAICS code and --naics is not given",
     "aucune industrie : la ligne n'a pas de code SCIAN et --naics n'est pas donné"},
    {Text::FirmStoredAlready, "%1 is stored for %2 already; add --replace to replace it",
     "%1 est déjà enregistrée pour %2 ; ajouter --replace pour la remplacer"},
    {Text::FirmNotStored, "no firm %1 is stored for %2", "aucune entreprise %1 n'est enregistrée pour %2"},
    {Text::FirmSaved, "%1 saved for %2", "%1 enregistrée pour %2"},
    {Text::FirmDeleted, "%1 deleted for %2", "%1 supprimée pour %2"},
    {Text::FirmsExported, "%1 firms written to %2", "%1 entreprises écrites dans %2"},
    {Text::FirmsImported, "%1 firms imported from %2", "%1 entreprises importées de %2"},
    {Text::ImportRefused, "%1, line %2: %3; nothing was imported",
     "%1, ligne %2 : %3 ; rien n'a été importé"},
    {Text::BatchSummary, "%1 firms compared, %2 refused; the summary is in %3",
     "%1 entreprises comparées, %2 refusées ; le sommaire est dans %3"},
    {Text::ProgressFirms, "firms", "entreprises"},
    {Text::ProgressReports, "reports", "rapports"},
    {Text::CannotMakeFolder, "cannot create the folder %1", "impossible de créer le dossier %1"},
    {Text::RecordsHelp,
     "Where the firm records live: local (myData.db) or a server, postgresql://user@host:port/dbname "
     "(the password from ~/.pgpass or PGPASSWORD); without it, the address in the settings",
     "Où sont les fiches des entreprises : local (myData.db) ou un serveur, "
     "postgresql://utilisateur@hôte:port/base (le mot de passe dans ~/.pgpass ou PGPASSWORD) ; sans elle, "
     "l'adresse des réglages"},
    {Text::FromHelp, "The records to copy: local, or a server's address",
     "Les fiches à copier : local, ou l'adresse d'un serveur"},
    {Text::ToHelp, "Where to copy them: local, or a server's address",
     "Où les copier : local, ou l'adresse d'un serveur"},
    {Text::FirmsCopyCommand,
     "Copy every stored firm from one place of records to another, in one transaction",
     "Copier toutes les entreprises enregistrées d'un lieu de fiches à un autre, en une transaction"},
    {Text::FirmsCopied, "%1 firms copied from %2 to %3", "%1 entreprises copiées de %2 vers %3"},
    {Text::CopyStoredAlready,
     "%1 (%2) is stored already in %3: nothing was copied (--replace replaces the firms stored there)",
     "%1 (%2) est déjà enregistrée dans %3 : rien n'a été copié (--replace remplace les entreprises qui y "
     "sont)"},
    {Text::CopySamePlace, "--from and --to name the same records: %1",
     "--from et --to désignent les mêmes fiches : %1"},
    {Text::BadRecordsAddress, "the records address '%1' cannot be used: %2",
     "l'adresse des fiches « %1 » est inutilisable : %2"},
    {Text::LocalFile, "the local file %1", "le fichier local %1"},
    {Text::ServerDatabase, "the database %2 on the server %1", "la base de données %2 du serveur %1"},
    {Text::HistoryCommand,
     "A firm's ratios over its saved years beside the industry medians: history --dataset DS --naics CODE "
     "--firm-name NAME [--pdf FILE|--html FILE] [--lang E|F]",
     "Les ratios d'une entreprise au fil de ses années sauvegardées, à côté des médianes de l'industrie : "
     "history --dataset DS --naics CODE --firm-name NAME [--pdf FILE|--html FILE] [--lang E|F]"},
    {Text::FirmNameHelp, "The firm's name, as it is saved (letter case included)",
     "Le nom de l'entreprise, tel qu'il est sauvegardé (majuscules comprises)"},
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
    const Wording& w = kTexts.at(static_cast<std::size_t>(id));
    return QString::fromUtf8(language == Language::F ? w.french : w.english);
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
