// ventrolux-help FILE [TOPIC]: the help viewer the program starts from its Help menu.
// It always opens a window, even for a file it cannot show, so that the user sees
// why; closing the window ends it with exit code 0.

#include "app/DesktopSession.h"
#include "help/HelpContent.h"
#include "help/HelpWindow.h"
#include "text/StringTable.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    // Answered before QApplication exists, so that it works without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(help::usageText(desktop::localeLanguage()).toLocal8Bit().constData(), stdout);
            return 0;
        }
    }

    desktop::watchSessionStart("desktop.noSession.help");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ventrolux-help"));
    // Its own desktop entry, hidden from the menu, names it and gives it the icon in task bars.
    desktop::sessionStarted("ventrolux-help");

    const help::HelpRequest request = help::parseArguments(QApplication::arguments().mid(1));
    // The user's language, as the program that started the viewer named the file.
    const Language language = help::languageOfHelpFile(request.file, desktop::localeLanguage());
    const auto warn = [](const QString& line) {
        std::fputs((line + u'\n').toLocal8Bit().constData(), stderr);
    };
    if (request.file.isEmpty()) std::fputs(help::usageText(language).toLocal8Bit().constData(), stderr);
    if (!request.topicArgument.isEmpty() && !request.topic)
        warn(strings::text("helpviewer.badTopic", language).arg(request.topicArgument));
    if (!request.ignored.isEmpty())
        warn(strings::text("helpviewer.extraArguments", language).arg(request.ignored.join(u' ')));

    help::HelpWindow window(nullptr, language);
    window.open(request);
    window.show();
    return QApplication::exec();
}
