#include "firm/FirmMessages.h"

#include <array>

namespace firmmessages {

namespace {

struct Pair {
    Message message;
    const char* english;
    const char* french;
};

// The words are the screen's own, blanks and spellings included.
constexpr std::array<Pair, 5> kMessages{{
    {Message::PleaseEnterNumber, "Please enter a number", "Veuillez entrer un chiffre"},
    {Message::DataSaved, "Data has been saved.", "Les données ont été sauvegardées."},
    {Message::NoRecordsFound, "No records were found", "L'item n'a pas été trouvé"},
    {Message::DeleteQuestion, "Are you sure you want to delete this record?",
     "Êtes-vous certain de vouloir effacer cet enregistrement?"},
    {Message::ClearAllQuestion, "Are you sure you want to clear all of the data?",
     "Êtes-vous certain de vouloir effacer toutes les données ?"},
}};

QString utf8(const char* s) {
    return QString::fromUtf8(s);
}

} // namespace

QString text(Message message, Language language) {
    for (const Pair& p : kMessages)
        if (p.message == message) return utf8(language == Language::F ? p.french : p.english);
    return QString();
}

QString clearAllTitle() {
    return QStringLiteral("ZEBRO");
}

QString replaceQuestion(const QString& firmName, const QString& year, Language language) {
    if (language == Language::F)
        return utf8("Il y a déjà des valeurs pour ") + firmName + utf8(" pour l'année de référence ") + year +
               QStringLiteral(". ") +
               utf8("APPURYER SUR 'OK' pour remplacer les valeurs existantes avec celles dessous. ") +
               utf8("APPUYER SUR 'CANCEL' pour continuer d'utiliser les données à l'écran.");
    return QStringLiteral("There are already values for ") + firmName +
           QStringLiteral(" for the reference year ") + year + QStringLiteral(". ") +
           QStringLiteral(
               "If you would like to replace the existing values with the ones below PRESS OK.  ") +
           QStringLiteral(
               "If you would like to cancel and continue working with the data on this screen more "
               "PRESS CANCEL.  ");
}

QString saveQuestion(const QString& firmName, SaveAsker asker, Language language) {
    if (language == Language::E)
        return QStringLiteral("The data for the firm ") + firmName +
               QStringLiteral(" has changed.  Do you want to save the changes?");
    // Open asks with its own French wording.
    if (asker == SaveAsker::Open)
        return utf8("Les donées de l'entreprise ") + firmName +
               utf8(" on changé.  Voulez-vous sauvegarder les changements?");
    return utf8("Les données de l'entreprise ") + firmName +
           utf8(" ont changé.  Voulez-vous sauvegarder les changements?");
}

} // namespace firmmessages
