// The benchmark of the waits a user sees on the start and industry screens: the main
// menu's activation (its 19 row counts), a rebuild of the industry tree on the sample
// data and on a reference database of 5,000 industries, a keyword search and a fill of
// the title list. It prints the median of each; timings are never a test's verdict.
//
//   ventrolux-bench [PROGRAM_DIR]   (the folder with KLV_DATA.db; the build's bin/ by default)

#include "BenchTimer.h"
#include "ReferenceVolume.h"

#include "data/Catalogue.h"
#include "data/ProgramFiles.h"
#include "industry/IndustryTree.h"
#include "industry/NaicsLists.h"
#include "platform/Platform.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/industry/frmSearch.h"
#include "screens/start/frmMenu.h"
#include "state/modMain.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeView>

using namespace modMain;

namespace {

constexpr int kRuns = 51;

// Messages are counted, not shown; the benchmark never ends the program on its own.
class SilentPlatform final : public Platform {
public:
    MsgResult msgBox(const QString& text, MsgButtons, MsgIcon, const QString&) override {
        last = text;
        ++shown;
        return MsgResult::OK;
    }
    [[noreturn]] void endProgram(int exitCode) override { std::_Exit(exitCode); }
    bool startDetached(const QString&, const QStringList&) override { return false; }
    QString last;
    int shown = 0;
};

// A program directory of its own: the reference database given, a fresh user database.
void openProgramDirectory(const QString& dir, const QString& resources) {
    ScreenRegistry::instance().clear();
    resetState();
    programfiles::setProgramDirectory(dir);
    programfiles::setUserDatabaseDirectory(dir);
    programfiles::setResourceDirectory(resources);
    subOpenDatabases();
}

frmSearch& searchOn(const char* option) {
    ScreenRegistry& registry = ScreenRegistry::instance();
    frmMenu& menu = registry.get<frmMenu>();
    registry.show(menu);
    menu.option(QLatin1String(option))->setChecked(true);
    menu.cmdSearch_Click();
    QApplication::processEvents();
    return *registry.existing<frmSearch>();
}

int industriesIn(const QString& table) {
    return GetRS(gcnData, QStringLiteral("select count(*) from ") + catalogue::table(table),
                 QStringLiteral("read"))
        ->field(0)
        .toInt();
}

void measureIndustryScreen(const QString& label, frmSearch& search, SilentPlatform& silent) {
    out() << Qt::endl << label << ", " << industriesIn(gstrDataTable) << " industries:" << Qt::endl;
    printTiming(timeIt(QStringLiteral("  tree node list read from the database"), kRuns, [] {
        industrytree::build(gcnData, gstrNAICSTable, gstrDataTable, modMain::language());
    }));
    printTiming(timeIt(QStringLiteral("  tree rebuild (subLoadTreeView)"), kRuns,
                       [&search] { search.subLoadTreeView(); }));
    printTiming(timeIt(QStringLiteral("  tree rebuild, then laid out and painted"), kRuns, [&search] {
        search.subLoadTreeView();
        search.TreeView1->repaint();
        QApplication::processEvents();
    }));

    search.optKeyword->setChecked(true);
    search.txtKeyword->setText(QStringLiteral("farm"));
    const int before = silent.shown;
    printTiming(timeIt(QStringLiteral("  keyword search \"farm\", grid filled"), kRuns,
                       [&search] { search.cmdKeyword_Click(); }));
    if (silent.shown != before) out() << "  (the keyword found nothing: " << silent.last << ")" << Qt::endl;

    for (int16_t language : {int16_t(0), int16_t(1)}) {
        gintLanguage = language;
        printTiming(timeIt(QStringLiteral("  title list fill, %1").arg(language ? "French" : "English"),
                           kRuns, [&search] { search.subPopulateNAICSTitles(); }));
    }
    gintLanguage = 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SilentPlatform silent;
    setPlatform(&silent);
    ScreenRegistry::instance().setModalBlocking(false);

    const QString bin = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VENTROLUX_BIN_DIR);
    const QString sample = bin + u'/' + QLatin1String(catalogue::ReferenceFileName);
    if (!QFile::exists(sample)) {
        QTextStream(stderr) << "No sample reference database at " << sample
                            << " (build the target sample-data)" << Qt::endl;
        return 2;
    }
    QTemporaryDir sampleDir, largeDir;
    QFile::copy(sample, sampleDir.filePath(QLatin1String(catalogue::ReferenceFileName)));
    QFile::setPermissions(sampleDir.filePath(QLatin1String(catalogue::ReferenceFileName)),
                          QFile::ReadOwner | QFile::WriteOwner);
    const QString large = largeDir.filePath(QLatin1String(catalogue::ReferenceFileName));
    const QString fault = writeReferenceVolume(sample, large, 5000, 120);
    if (!fault.isEmpty()) {
        QTextStream(stderr) << "Cannot write the 5,000-industry reference database: " << fault << Qt::endl;
        return 2;
    }

    out() << "Ventrolux benchmark: medians of " << kRuns << " runs, in milliseconds ("
          << QGuiApplication::platformName() << " platform)" << Qt::endl;
    try {
        openProgramDirectory(sampleDir.path(), bin);
        frmMenu& menu = ScreenRegistry::instance().get<frmMenu>();
        ScreenRegistry::instance().show(menu);
        out() << Qt::endl << "Sample data:" << Qt::endl;
        printTiming(timeIt(QStringLiteral("  main menu activation (captions, 19 row counts)"), kRuns,
                           [&menu] { menu.Form_Activate(navigation::Arrival::Keep); }));
        measureIndustryScreen(QStringLiteral("Sample data, volume 3"), searchOn("optVol3"), silent);
        measureIndustryScreen(QStringLiteral("Sample data, volume 1"), searchOn("optVol1"), silent);

        openProgramDirectory(largeDir.path(), bin);
        measureIndustryScreen(QStringLiteral("Generated reference database, volume 3"), searchOn("optVol3"),
                              silent);
    } catch (const FatalError& e) {
        QTextStream(stderr) << e.report() << Qt::endl;
        return 1;
    } catch (const RecoverableFailure& e) { // a database another program keeps locked
        QTextStream(stderr) << e.description() << Qt::endl;
        return 1;
    }
    ScreenRegistry::instance().clear();
    resetState();
    return 0;
}
