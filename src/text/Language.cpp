#include "text/Language.h"

namespace language {

Language fromFlag(int flag) {
    return flag != 0 ? Language::F : Language::E;
}

int16_t flag(Language language) {
    return language == Language::F ? 1 : 0;
}

QString letter(Language language) {
    return language == Language::F ? QStringLiteral("F") : QStringLiteral("E");
}

std::optional<Language> fromLetter(QStringView letter) {
    if (letter.compare(u"E", Qt::CaseInsensitive) == 0) return Language::E;
    if (letter.compare(u"F", Qt::CaseInsensitive) == 0) return Language::F;
    return std::nullopt;
}

Language ofRequest(QStringView text) {
    return text.left(1).compare(u"E", Qt::CaseInsensitive) == 0 ? Language::E : Language::F;
}

QLocale locale(Language language) {
    return language == Language::F ? QLocale(QLocale::French, QLocale::Canada)
                                   : QLocale(QLocale::English, QLocale::Canada);
}

Language other(Language language) {
    return language == Language::F ? Language::E : Language::F;
}

} // namespace language
