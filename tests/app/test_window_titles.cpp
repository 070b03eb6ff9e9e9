// The titles the window system shows, read back from a real X server: each is exactly
// the screen's own text, with nothing appended by the application object.

#include "app/Application.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/industry/frmIndustryDefinitions.h"
#include "screens/industry/frmSearch.h"
#include "screens/start/frmAbout.h"
#include "screens/start/frmMenu.h"
#include "screens/start/frmStart.h"
#include "state/modMain.h"
#include "support/RecordingPlatform.h"
#include "support/TestDatabases.h"

#include <QProcess>
#include <QRadioButton>
#include <QtTest>

using namespace modMain;

namespace {

// The name the X server holds for a window, as a window manager or taskbar reads it.
QString windowSystemTitle(QWidget& w) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), QString::number(w.winId())});
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return QStringLiteral("<xdotool failed: %1>").arg(p.errorString());
    QString name = QString::fromUtf8(p.readAllStandardOutput());
    if (name.endsWith(u'\n')) name.chop(1);
    return name;
}

} // namespace

class TestWindowTitles : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabases> dbs;
    std::unique_ptr<RecordingPlatform> platform;
    ScreenRegistry& registry = ScreenRegistry::instance();

    void showAndCompare(Screen& s, const QString& expected) {
        registry.show(s);
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        QCOMPARE(s.windowTitle(), expected);
        QCOMPARE(windowSystemTitle(s), expected);
    }

private slots:
    void init() {
        dbs = std::make_unique<TestDatabases>();
        platform = std::make_unique<RecordingPlatform>();
        registry.setModalBlocking(false);
        dbs->open();
    }
    void cleanup() {
        registry.clear();
        platform.reset();
        dbs.reset();
    }

    void platformIsARealWindowSystem() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

    void titles_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("start") << "frmStart" << 0 << "ZEBRO - DORVA   2011, 2010 and 2009";
        QTest::newRow("start in French") << "frmStart" << 1 << "ZEBRO - DORVA   2011, 2010 and 2009";
        QTest::newRow("menu") << "frmMenu" << 0 << "Ventrolux for 2011, 2010 and 2009";
        QTest::newRow("menu in French") << "frmMenu" << 1 << "Ventrolux pour 2011, 2010 and 2009";
        QTest::newRow("about") << "frmAbout" << 0 << "About ZEBRO";
        QTest::newRow("about in French") << "frmAbout" << 1 << "Au sujet de DORVA";
        QTest::newRow("industry selection")
            << "frmSearch" << 0 << "Search Nova Scotia - ZEBRO (2011, 2010 and 2009)";
        QTest::newRow("industry selection in French")
            << "frmSearch" << 1 << "Recherche Nouvelle-Écosse - DORVA (2011, 2010 and 2009)";
        QTest::newRow("industry definition") << "frmIndustryDefinitions" << 0 << "Industry Definition";
        QTest::newRow("industry definition in French")
            << "frmIndustryDefinitions" << 1 << "Définition de l'industrie";
    }
    void titles() {
        QFETCH(QString, screen);
        QFETCH(int, language);
        QFETCH(QString, title);
        gintLanguage = static_cast<int16_t>(language);
        if (screen == QLatin1String("frmStart"))
            showAndCompare(registry.get<frmStart>(), title);
        else if (screen == QLatin1String("frmMenu"))
            showAndCompare(registry.get<frmMenu>(), title);
        else if (screen == QLatin1String("frmAbout"))
            showAndCompare(registry.get<frmAbout>(), title);
        else {
            // The industry screens, reached as the user reaches them: a dataset chosen on the menu.
            frmMenu& menu = registry.get<frmMenu>();
            registry.show(menu);
            menu.option(QStringLiteral("optNovaScotia"))->click();
            menu.cmdSearch_Click();
            frmSearch* search = registry.existing<frmSearch>();
            QVERIFY(search);
            if (screen == QLatin1String("frmSearch")) {
                showAndCompare(*search, title);
            } else {
                subOpenIndustryDef(QStringLiteral("448140"));
                showAndCompare(*registry.existing<frmIndustryDefinitions>(), title);
            }
        }
    }
};

int main(int argc, char** argv) {
    // The real application object: it decides what Qt adds to every title.
    Application app(argc, argv);
    TestWindowTitles test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_window_titles.moc"
