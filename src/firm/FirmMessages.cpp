#include "firm/FirmMessages.h"

#include "text/StringTable.h"

#include <array>

namespace firmmessages {

namespace {

struct Pair {
    Message message;
    const char* key;
};

// The words are the screen's own, blanks and spellings included.
constexpr std::array<Pair, 5> kMessages{{
    {Message::PleaseEnterNumber, "firm.message.pleaseEnterNumber"},
    {Message::DataSaved, "firm.message.dataSaved"},
    {Message::NoRecordsFound, "firm.message.noRecordsFound"},
    {Message::DeleteQuestion, "firm.message.deleteQuestion"},
    {Message::ClearAllQuestion, "firm.message.clearAllQuestion"},
}};

} // namespace

QString text(Message message, Language language) {
    for (const Pair& p : kMessages)
        if (p.message == message) return strings::text(std::string_view(p.key), language);
    return QString();
}

QString clearAllTitle() {
    return QStringLiteral("ZEBRO");
}

QString replaceQuestion(const QString& firmName, const QString& year, Language language) {
    // One pass, so that a name holding "%2" stays as it is.
    return strings::text("firm.replaceQuestion", language).arg(firmName, year);
}

QString saveQuestion(const QString& firmName, SaveAsker asker, Language language) {
    // Open asks with its own French wording.
    return strings::text(asker == SaveAsker::Open ? "firm.saveQuestion.open" : "firm.saveQuestion", language)
        .arg(firmName);
}

} // namespace firmmessages
