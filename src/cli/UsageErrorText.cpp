#include "cli/UsageErrorText.h"

#include "cli/CliTexts.h"

#include <QRegularExpression>
#include <array>

namespace cli {

namespace {

struct Translation {
    const char* pattern; // a message of the parser
    const char* english; // %1, %2: the pattern's captures; nullptr keeps the parser's words
    const char* french;
};

// First match wins: the missing-value forms come before the "OPTION: detail" form that
// carries the tool's own validation messages (already in the language).
constexpr std::array<Translation, 8> kTranslations{{
    {"^The following arguments? (?:was|were) not expected: (.*)$", "unexpected argument: %1",
     "argument inattendu : %1"},
    {"^A subcommand is required$", "no command given", "il manque la commande"},
    {"^([^-\\s]\\S*) is required$", "%1 is required", "il manque l'argument %1"},
    {"^(\\S+) is required$", "%1 is required", "l'option %1 est obligatoire"},
    {"^(\\S+): \\d+ required \\S+ missing$", "%1 needs a value", "l'option %1 demande une valeur"},
    {"^Expected exactly \\d+ arguments? to (\\S+), got \\d+$", "%1 needs a value",
     "l'option %1 demande une valeur"},
    {"^(\\S+) (?:requires|excludes) (\\S+)$", nullptr, "l'option %1 ne va pas avec %2"},
    {"^(-\\S+): (.*)$", nullptr, "%1 : %2"},
}};

} // namespace

QString usageErrorText(const QString& parserMessage, Language language) {
    for (const Translation& t : kTranslations) {
        const QRegularExpressionMatch m =
            QRegularExpression(QString::fromUtf8(t.pattern)).match(parserMessage);
        if (!m.hasMatch()) continue;
        const char* wording = language == Language::F ? t.french : t.english;
        if (!wording) return parserMessage;
        QStringList captures = m.capturedTexts();
        captures.removeFirst(); // the whole match
        return fill(QString::fromUtf8(wording), captures);
    }
    return language == Language::F ? QStringLiteral("erreur d'utilisation : ") + parserMessage
                                   : parserMessage;
}

} // namespace cli
