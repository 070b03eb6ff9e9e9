#include "report/render/LayoutFileCheck.h"

#include "text/StringTable.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

namespace reportrender {

namespace {

QString withAdvice(const QString& what, Language language) {
    return what + QStringLiteral("\n\n") + strings::text("layout.noReportMade", language);
}

} // namespace

std::optional<QString> layoutFileProblem(const QString& path, Language language) {
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.exists()) return withAdvice(strings::text("layout.missing", language).arg(shown), language);
    if (!file.open(QIODevice::ReadOnly))
        return withAdvice(strings::text("layout.unreadable", language).arg(shown, file.errorString()),
                          language);
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        return withAdvice(strings::text("layout.notJson", language)
                              .arg(shown, QString::number(error.offset), error.errorString()),
                          language);
    if (!json.isObject()) return withAdvice(strings::text("layout.notLayout", language).arg(shown), language);
    return std::nullopt;
}

} // namespace reportrender
