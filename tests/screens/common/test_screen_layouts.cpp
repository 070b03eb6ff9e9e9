// No clipped text on any screen, in either language: every visible label, button,
// option and frame title fits the room its layout gives it, and every window fits the
// screen (CTest runs it again at the scale factors 1.5 and 2 of a 1600×1200 display). The
// industry screen is checked in each of its four search modes with a long selection on display.

#include "screens/common/ScreenRegistry.h"
#include "screens/firm/frmMyValues.h"
#include "screens/industry/frmIndustryDefinitions.h"
#include "screens/industry/frmSearch.h"
#include "screens/report/frmReportViewer.h"
#include "screens/start/frmAbout.h"
#include "screens/start/frmMenu.h"
#include "screens/start/frmStart.h"
#include "state/modMain.h"
#include "support/LayoutCheck.h"
#include "support/RecordingPlatform.h"
#include "support/TestDatabases.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QtTest>

using namespace modMain;

class TestScreenLayouts : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabases> dbs;
    std::unique_ptr<RecordingPlatform> platform;
    ScreenRegistry& registry = ScreenRegistry::instance();

    void verifyNothingClipped(Screen& s) {
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        const QRect screen = s.screen()->availableGeometry();
        QVERIFY2(screen.contains(s.frameGeometry()),
                 qPrintable(QStringLiteral("%1 at %2,%3 %4×%5 on a screen of %6×%7")
                                .arg(s.objectName())
                                .arg(s.frameGeometry().x())
                                .arg(s.frameGeometry().y())
                                .arg(s.frameGeometry().width())
                                .arg(s.frameGeometry().height())
                                .arg(screen.width())
                                .arg(screen.height())));
        const QStringList faults = layoutcheck::clippedTexts(s);
        QVERIFY2(faults.isEmpty(),
                 qPrintable(s.objectName() + QStringLiteral(":\n  ") + faults.join(QStringLiteral("\n  "))));
    }

    static void addLanguages() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("French") << 1;
    }

    frmSearch& openSearch(const char* option, int language) {
        gintLanguage = static_cast<int16_t>(language);
        frmMenu& menu = registry.get<frmMenu>();
        registry.show(menu);
        menu.option(QLatin1String(option))->click();
        menu.cmdSearch->click();
        return *registry.existing<frmSearch>();
    }

    // The industry whose sector has the longest title in the language.
    QString industryWithTheLongestSector(int language) {
        RecordsetPtr rs = GetRS(
            gcnData,
            QStringLiteral("select N.NAICS from %1 N join %2 F on N.NAICS = F.NAICS join tblTreeview T on "
                           "N.Parent = T.NodeKey order by length(T.%3) desc, length(N.%4) desc")
                .arg(gstrNAICSTable, gstrDataTable,
                     language ? QStringLiteral("IndDescF") : QStringLiteral("IndDescE"),
                     language ? QStringLiteral("Description_french") : QStringLiteral("Description")),
            QStringLiteral("read"));
        return rs->field(0).toString();
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

    void startScreen_data() { addLanguages(); }
    void startScreen() {
        QFETCH(int, language);
        gintLanguage = static_cast<int16_t>(language);
        frmStart& s = registry.get<frmStart>();
        registry.show(s);
        verifyNothingClipped(s);
    }

    void mainMenu_data() { addLanguages(); }
    void mainMenu() {
        QFETCH(int, language);
        gintLanguage = static_cast<int16_t>(language);
        frmMenu& m = registry.get<frmMenu>();
        registry.show(m);
        verifyNothingClipped(m);
    }

    void aboutScreen_data() { addLanguages(); }
    void aboutScreen() {
        QFETCH(int, language);
        gintLanguage = static_cast<int16_t>(language);
        frmMenu& m = registry.get<frmMenu>();
        registry.show(m);
        m.mnuAbout->trigger();
        verifyNothingClipped(*registry.existing<frmAbout>());
    }

    void industryScreenInEachMode_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("mode");
        for (const char* mode : {"optSearchNaics", "optKeyword", "optNAICScode", "optNAICSTitle"}) {
            QTest::addRow("English, %s", mode) << 0 << QString::fromLatin1(mode);
            QTest::addRow("French, %s", mode) << 1 << QString::fromLatin1(mode);
        }
    }
    void industryScreenInEachMode() {
        QFETCH(int, language);
        QFETCH(QString, mode);
        frmSearch& s = openSearch("optVol1", language);
        s.findChild<QRadioButton*>(mode)->setChecked(true);
        if (mode == QLatin1String("optKeyword")) {
            s.txtKeyword->setText(QStringLiteral("a"));
            s.cmdKeyword->click();
        }
        // A selection with the longest sector title on display, as a pick would show it.
        const QString code = industryWithTheLongestSector(language);
        s.subLookupNewLanguage(code);
        s.lblNAICSCode->setText(Txt(408) + QStringLiteral(": ") + code);
        QVERIFY(s.lblCategory->text().size() > 60);
        verifyNothingClipped(s);
    }

    void firmScreen_data() { addLanguages(); }
    void firmScreen() {
        QFETCH(int, language);
        frmSearch& s = openSearch("optNovaScotia", language);
        s.optNAICScode->setChecked(true);
        s.cboNAICScodes->setCurrentIndex(0);
        emit s.cboNAICScodes->activated(0);
        s.optCompareNew->setChecked(true);
        s.cmdContinue->click();
        verifyNothingClipped(*registry.existing<frmMyValues>());
    }

    void definitionWindow_data() { addLanguages(); }
    void definitionWindow() {
        QFETCH(int, language);
        frmSearch& s = openSearch("optVol3", language);
        (void)s;
        // The longest title of the table makes the longest heading.
        RecordsetPtr rs = GetRS(gcnData,
                                QStringLiteral("select NAICS from %1 order by length(%2) desc")
                                    .arg(gstrNAICSTable, language ? QStringLiteral("Description_french")
                                                                  : QStringLiteral("Description")),
                                QStringLiteral("read"));
        subOpenIndustryDef(rs->field(0).toString());
        verifyNothingClipped(*registry.existing<frmIndustryDefinitions>());
    }

    void reportScreen_data() { addLanguages(); }
    void reportScreen() {
        QFETCH(int, language);
        frmSearch& s = openSearch("optOntario", language);
        s.optNAICScode->setChecked(true);
        s.cboNAICScodes->setCurrentIndex(0);
        emit s.cboNAICScodes->activated(0);
        s.cmdContinue->click();
        frmReportViewer* viewer = registry.existing<frmReportViewer>();
        QVERIFY(viewer);
        verifyNothingClipped(*viewer);
    }

    // The check itself finds a text that does not fit.
    void theCheckFindsAClippedText() {
        gintLanguage = 1;
        frmMenu& m = registry.get<frmMenu>();
        registry.show(m);
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        m.cmdSearch->setFixedWidth(m.cmdSearch->fontMetrics().horizontalAdvance(m.cmdSearch->text()) / 2);
        m.lblInstructions->setFixedWidth(20);
        const QStringList faults = layoutcheck::clippedTexts(m);
        QCOMPARE(faults.size(), 2);
        QVERIFY(faults.filter(QStringLiteral("cmdSearch")).size() == 1);
        QVERIFY(faults.filter(QStringLiteral("lblInstructions")).size() == 1);
    }
};

QTEST_MAIN(TestScreenLayouts)
#include "test_screen_layouts.moc"
