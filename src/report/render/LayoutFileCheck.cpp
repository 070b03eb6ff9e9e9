#include "report/render/LayoutFileCheck.h"

#include "text/StringTable.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

namespace reportrender {

namespace {

QString withAdvice(const QString& what, Language language) {
    return what + QStringLiteral("\n\n") +
           strings::inLanguage(
               language,
               "No report was made. Reinstall Ventrolux, or put the program's own copy of the file back in "
               "its reports folder.",
               "Aucun rapport n'a été produit. Réinstallez Ventrolux ou remettez la copie du programme de ce "
               "fichier dans son dossier reports.");
}

} // namespace

std::optional<QString> layoutFileProblem(const QString& path, Language language) {
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.exists())
        return withAdvice(
            strings::inLanguage(language, "The report layout file is missing:\n%1",
                                "Le fichier de mise en page du rapport est introuvable\u00a0:\n%1")
                .arg(shown),
            language);
    if (!file.open(QIODevice::ReadOnly))
        return withAdvice(
            strings::inLanguage(language, "The report layout file cannot be read:\n%1\n(%2)",
                                "Le fichier de mise en page du rapport ne peut pas être lu\u00a0:\n%1\n(%2)")
                .arg(shown, file.errorString()),
            language);
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        return withAdvice(
            strings::inLanguage(language,
                                "The report layout file is damaged: it is not valid JSON (at character %2: "
                                "%3):\n%1",
                                "Le fichier de mise en page du rapport est endommagé\u00a0: ce n'est pas du "
                                "JSON valide (au caractère %2\u00a0: %3)\u00a0:\n%1")
                .arg(shown, QString::number(error.offset), error.errorString()),
            language);
    if (!json.isObject())
        return withAdvice(
            strings::inLanguage(language, "The report layout file is damaged: it holds no report layout:\n%1",
                                "Le fichier de mise en page du rapport est endommagé\u00a0: il ne contient "
                                "aucune mise en page\u00a0:\n%1")
                .arg(shown),
            language);
    return std::nullopt;
}

} // namespace reportrender
