// ventrolux-screenshots LANGUAGE OUT_DIR: the road of one comparison in the real desktop program,
// in English ("en") or French ("fr"), with a picture of each main screen as the X server shows
// it, window frame included: the start screen, the main menu with Nova Scotia chosen, the
// industry selection with the family clothing stores, and the firm values screen with the firm
// saved under that industry. Run by make-screenshots.sh, in its own X server, from a copy of the
// program directory that holds one saved firm.

#include "app/Application.h"
#include "app/DesktopSession.h"
#include "app/QtPlatform.h"
#include "data/RecordsetTableModel.h"
#include "industry/IndustryTree.h"
#include "platform/Platform.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/firm/frmMyValues.h"
#include "screens/firm/frmOpenExisting.h"
#include "screens/industry/IndustryTreeModel.h"
#include "screens/industry/frmSearch.h"
#include "screens/start/frmMenu.h"
#include "screens/start/frmStart.h"
#include "state/modMain.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kNaics = QStringLiteral("448140"); // family clothing stores, the industry of examples/firm.json

[[noreturn]] void stop(const QString& why) {
    std::fprintf(stderr, "ventrolux-screenshots: %s\n", qPrintable(why));
    std::fflush(stderr);
    std::_Exit(1); // the screens are still open: nothing to tidy, nothing saved
}

// The window once the window manager has framed it and it has the focus, as a user sees it.
void picture(QWidget* window, const QString& file) {
    if (!window || !window->isVisible() || !QTest::qWaitForWindowActive(window))
        stop(QStringLiteral("no active window for %1").arg(file));
    QTest::qWait(400); // the frame and the first paint
    const QRect frame = window->frameGeometry();
    const QPixmap shot = window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    if (!shot.save(file)) stop(QStringLiteral("cannot write %1").arg(file));
    std::printf("%s\n", qPrintable(file));
}

QModelIndex findIndustry(const QAbstractItemModel* model, const QModelIndex& parent = {}) {
    for (int r = 0; r < model->rowCount(parent); ++r) {
        const QModelIndex i = model->index(r, 0, parent);
        if (i.data(industrytreemodel::PictureRole).toInt() ==
                static_cast<int>(industrytree::Picture::Industry) &&
            industrytree::naicsOfKey(i.data(industrytreemodel::KeyRole).toString()) == kNaics)
            return i;
        if (const QModelIndex found = findIndustry(model, i); found.isValid()) return found;
    }
    return {};
}

void road(bool french, const QDir& out) {
    ScreenRegistry& registry = ScreenRegistry::instance();
    // Modal screens return at once, so that the road goes on to picture them.
    registry.setModalBlocking(false);
    const QString suffix = french ? QStringLiteral("-fr.png") : QStringLiteral("-en.png");
    Main();

    frmStart* start = registry.existing<frmStart>();
    if (!french) picture(start, out.filePath(QStringLiteral("start.png")));
    (french ? start->cmdFrancais : start->cmdEnglish)->click();

    frmMenu* menu = registry.existing<frmMenu>();
    if (!menu) stop(QStringLiteral("the main menu did not open"));
    menu->option(QStringLiteral("optNovaScotia"))->click();
    picture(menu, out.filePath(QStringLiteral("menu") + suffix));
    menu->cmdSearch->click();

    frmSearch* search = registry.existing<frmSearch>();
    if (!search || !QTest::qWaitForWindowActive(search))
        stop(QStringLiteral("the industry selection did not open"));
    const QModelIndex node = findIndustry(search->TreeView1->model());
    if (!node.isValid()) stop(QStringLiteral("no industry %1 in the tree").arg(kNaics));
    for (QModelIndex p = node.parent(); p.isValid(); p = p.parent())
        search->TreeView1->expand(p);
    search->TreeView1->scrollTo(node);
    const QRect nodeRect = search->TreeView1->visualRect(node);
    QTest::mouseClick(search->TreeView1->viewport(), Qt::LeftButton, {},
                      QPoint(nodeRect.left() + 30, nodeRect.center().y()));
    if (search->lblHiddenNaics->text() != kNaics) stop(QStringLiteral("the industry was not selected"));
    search->optCompareExisting->click();
    if (!search->optCompareExisting->isChecked())
        stop(QStringLiteral("\"Open existing data\" could not be chosen"));
    picture(search, out.filePath(QStringLiteral("industry") + suffix));
    search->cmdContinue->click();

    frmOpenExisting* list = registry.existing<frmOpenExisting>();
    if (!list || !QTest::qWaitForWindowActive(list) || list->AdodcFirms->rowCount() == 0)
        stop(QStringLiteral("the list of saved firms did not open with a firm"));
    const QRect row = list->dbgFirms->visualRect(list->AdodcFirms->index(0, 0));
    QTest::mouseClick(list->dbgFirms->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->dbgFirms->viewport(), Qt::LeftButton, {}, row.center());

    frmMyValues* values = registry.existing<frmMyValues>();
    picture(values, out.filePath(QStringLiteral("firm") + suffix));
}

} // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    desktop::sessionStarted("ventrolux");
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3 || (args[1] != QLatin1String("en") && args[1] != QLatin1String("fr")))
        stop(QStringLiteral("usage: ventrolux-screenshots en|fr OUT_DIR"));
    const modMain::DatabasesScope databases;
    QtPlatform platform;
    setPlatform(&platform);
    try {
        road(args[1] == QLatin1String("fr"), QDir(args[2]));
    } catch (const FatalError& e) {
        stop(e.report());
    }
    ScreenRegistry::instance().clear();
    return 0;
}
