#include "app/DesktopSession.h"

#include "text/StringTable.h"

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QList>
#include <cstdio>
#include <cstdlib>

namespace desktop {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

const char* watchedKey = nullptr;
QtMessageHandler handlerBefore = nullptr;
QList<HeldMessage> held;

void duringStart(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        held.append({type, QByteArray(context.category), text});
        return;
    }
    // Nothing is open yet that the end of the process could leave half done.
    std::fprintf(stderr, "%s\n", strings::text(watchedKey, localeLanguage()).toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

Language localeLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty()) return value.startsWith("fr") ? Language::F : Language::E;
    }
    return Language::E;
}

void watchSessionStart(const char* noSessionKey) {
    watchedKey = noSessionKey;
    handlerBefore = qInstallMessageHandler(duringStart);
}

void sessionStarted(const char* desktopEntry) {
    qInstallMessageHandler(handlerBefore);
    for (const HeldMessage& m : std::as_const(held)) {
        const QMessageLogger logger(nullptr, 0, nullptr,
                                    m.category.isEmpty() ? nullptr : m.category.constData());
        const QByteArray text = m.text.toUtf8();
        switch (m.type) {
        case QtDebugMsg:
            logger.debug("%s", text.constData());
            break;
        case QtInfoMsg:
            logger.info("%s", text.constData());
            break;
        case QtWarningMsg:
            logger.warning("%s", text.constData());
            break;
        default:
            logger.critical("%s", text.constData());
            break;
        }
    }
    held.clear();

    QGuiApplication::setDesktopFileName(QString::fromUtf8(desktopEntry));
    // The PNG sizes drawn at build time, so that a window manager picks the one it shows.
    QIcon icon;
    const QDir sizes(QStringLiteral(":/ventrolux/icon"));
    for (const QString& name : sizes.entryList(QDir::Files))
        icon.addFile(sizes.filePath(name));
    QGuiApplication::setWindowIcon(icon);
}

} // namespace desktop
