#include "data/ServerAddress.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace {

QString decoded(const QString& part) {
    return QUrl::fromPercentEncoding(part.toUtf8());
}

std::optional<int> portNumber(const QString& text) {
    bool ok = false;
    const int port = text.toInt(&ok);
    if (!ok || port < 1 || port > 65535) return std::nullopt;
    return port;
}

// An IPv6 address stands in brackets wherever a port may follow it.
QString hostInUrl(const QString& host) {
    return host.contains(u':') && !host.startsWith(u'/') ? u'[' + host + u']' : host;
}

} // namespace

QString ServerAddress::serverName() const {
    const QString name = host.isEmpty() ? QStringLiteral("localhost") : hostInUrl(host);
    return port > 0 ? QStringLiteral("%1:%2").arg(name).arg(port) : name;
}

QString ServerAddress::url() const {
    QString authority;
    if (!user.isEmpty()) authority = QString::fromUtf8(QUrl::toPercentEncoding(user)) + u'@';
    const bool socketFolder = host.startsWith(u'/');
    if (!socketFolder) authority += hostInUrl(host);
    if (port > 0) authority += u':' + QString::number(port);
    QString text = QStringLiteral("postgresql://%1/%2")
                       .arg(authority, QString::fromUtf8(QUrl::toPercentEncoding(database)));
    QStringList query;
    if (socketFolder)
        query << QStringLiteral("host=") + QString::fromUtf8(QUrl::toPercentEncoding(host, "/"));
    if (!sslMode.isEmpty()) query << QStringLiteral("sslmode=") + sslMode;
    if (!query.isEmpty()) text += u'?' + query.join(u'&');
    return text;
}

ParsedAddress parseServerAddress(const QString& url) {
    static const QRegularExpression form(QStringLiteral(
        R"(^postgres(?:ql)?://(?:([^@/?#:]*)(:[^@/?#]*)?@)?(\[[0-9A-Fa-f:.]*\]|[^/?#:\[\]]*)(?::([^/?#]*))?/([^?#]*)(?:\?([^#]*))?$)"));
    ParsedAddress result;
    const QRegularExpressionMatch m = form.match(url.trimmed());
    if (!m.hasMatch()) return result;
    if (m.capturedLength(2) > 0) {
        result.problem = AddressProblem::HasPassword;
        return result;
    }
    ServerAddress a;
    a.user = decoded(m.captured(1));
    a.host = decoded(m.captured(3));
    if (a.host.startsWith(u'[')) a.host = a.host.mid(1, a.host.size() - 2);
    if (m.capturedLength(4) > 0) {
        const auto port = portNumber(m.captured(4));
        if (!port) {
            result.problem = AddressProblem::BadPort;
            return result;
        }
        a.port = *port;
    }
    a.database = decoded(m.captured(5));
    const QUrlQuery query(m.captured(6));
    for (const auto& [key, rawValue] : query.queryItems(QUrl::FullyEncoded)) {
        const QString value = decoded(rawValue);
        if (key == QLatin1String("host")) {
            a.host = value;
        } else if (key == QLatin1String("port")) {
            const auto port = portNumber(value);
            if (!port) {
                result.problem = AddressProblem::BadPort;
                return result;
            }
            a.port = *port;
        } else if (key == QLatin1String("sslmode")) {
            // Passed on among the connection options, so only the client library's own words.
            static const QStringList modes{QStringLiteral("disable"),   QStringLiteral("allow"),
                                           QStringLiteral("prefer"),    QStringLiteral("require"),
                                           QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
            if (!modes.contains(value)) {
                result.problem = AddressProblem::UnknownSetting;
                return result;
            }
            a.sslMode = value;
        } else if (key == QLatin1String("password")) {
            result.problem = AddressProblem::HasPassword;
            return result;
        } else {
            result.problem = AddressProblem::UnknownSetting;
            return result;
        }
    }
    if (a.database.isEmpty() || a.database.contains(u'/')) {
        result.problem = AddressProblem::NoDatabase;
        return result;
    }
    result.address = a;
    return result;
}

QString withoutPassword(const QString& url) {
    QString shown = url;
    // The user information ends at the last "@": a password may hold "@", "/" or "?"
    // unencoded. Hiding too much is harmless; showing a password is not.
    const qsizetype scheme = shown.indexOf(QLatin1String("://"));
    const qsizetype start = scheme >= 0 ? scheme + 3 : 0;
    const qsizetype at = shown.lastIndexOf(u'@');
    const qsizetype colon = shown.indexOf(u':', start);
    if (at > start && colon >= 0 && colon < at)
        shown.replace(colon + 1, at - colon - 1, QStringLiteral("****"));
    static const QRegularExpression setting(QStringLiteral("([?&]password=)[^&#]*"),
                                            QRegularExpression::CaseInsensitiveOption);
    shown.replace(setting, QStringLiteral("\\1****"));
    return shown;
}
