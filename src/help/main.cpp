// ventrolux-help FILE [TOPIC]: the help viewer the program starts from its Help menu.
// It always opens a window, even for a file it cannot show, so that the user sees
// why; closing the window ends it with exit code 0.

#include "app/DesktopSession.h"
#include "help/HelpContent.h"
#include "help/HelpWindow.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    // Answered before QApplication exists, so that it works without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(help::usageText().toLocal8Bit().constData(), stdout);
            return 0;
        }
    }

    desktop::watchSessionStart(
        {"ventrolux-help needs a graphical session; open the help pages in a web browser, and use "
         "ventrolux-cli --help for the command-line tool.",
         "ventrolux-help a besoin d'une session graphique\u00a0; ouvrez les pages d'aide dans un navigateur "
         "Web, et utilisez ventrolux-cli --help pour l'outil en ligne de commande."});
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ventrolux-help"));
    // Its own desktop entry, hidden from the menu, names it and gives it the icon in task bars.
    desktop::sessionStarted("ventrolux-help");

    const help::HelpRequest request = help::parseArguments(QApplication::arguments().mid(1));
    if (request.file.isEmpty()) std::fputs(help::usageText().toLocal8Bit().constData(), stderr);
    if (!request.topicArgument.isEmpty() && !request.topic)
        std::fprintf(stderr, "ventrolux-help: \"%s\" is not a topic number; showing the top of the page\n",
                     request.topicArgument.toLocal8Bit().constData());
    if (!request.ignored.isEmpty())
        std::fprintf(stderr, "ventrolux-help: ignoring extra arguments: %s\n",
                     request.ignored.join(u' ').toLocal8Bit().constData());

    help::HelpWindow window;
    window.open(request);
    window.show();
    return QApplication::exec();
}
