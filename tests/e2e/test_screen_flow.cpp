// The screen flow as a user meets it, in a real X server with the real application object
// and event loop: with the window manager that VENTROLUX_WINDOW_MANAGER names (openbox),
// and without one. Keys and clicks go through the X server (xdotool), so that the window
// manager's own focus order plays its part; message boxes are answered by the scripted
// platform, except where the real box's default button is what is tested. Each scenario
// is a way the flow once lost what the user typed or showed a stale firm.

#include "app/Application.h"
#include "app/QtPlatform.h"
#include "data/Catalogue.h"
#include "data/RecordsetTableModel.h"
#include "firm/FirmRecords.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/firm/frmMyValues.h"
#include "screens/firm/frmOpenExisting.h"
#include "screens/industry/frmIndustryDefinitions.h"
#include "screens/industry/frmSearch.h"
#include "screens/report/frmReportViewer.h"
#include "screens/start/frmAbout.h"
#include "screens/start/frmMenu.h"
#include "screens/start/frmStart.h"
#include "state/modMain.h"
#include "text/StringTable.h"
#include "support/RecordingPlatform.h"
#include "support/SampleData.h"
#include "support/TestDatabases.h"
#include "support/WindowManager.h"

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

using namespace modMain;

Q_DECLARE_METATYPE(MsgResult)

namespace {

bool xdotool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

// The desktop's real message boxes, with the end of the program noted instead of done.
class RealBoxes final : public Platform {
public:
    MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) override {
        return real_.msgBox(text, buttons, icon, title);
    }
    [[noreturn]] void endProgram(int exitCode) override { throw ProgramEnded{exitCode}; }
    bool startDetached(const QString&, const QStringList&) override { return false; }

private:
    QtPlatform real_;
};

const QString kSaveQuestion = QStringLiteral("The data for the firm Acme has changed.  Do you want to save the changes?");

} // namespace

class TestScreenFlow : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowManager> wm;
    std::unique_ptr<TestDatabases> dbs;
    std::unique_ptr<RecordingPlatform> platform;
    ScreenRegistry& registry = ScreenRegistry::instance();
    QString nsCode; // an industry of Nova Scotia with figures in all three years
    QString onCode; // an industry only Ontario has

    // --- the user's hand: keys go to the window with the X input focus ---

    void settle() { QTest::qWait(60); }
    void press(const QString& keys) {
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys}));
        settle();
    }
    void type(const QString& text) {
        QVERIFY(xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text}));
        settle();
    }
    void click(QWidget* w, QPoint inside = {}) {
        const QPoint at = w->mapToGlobal(inside.isNull() ? w->rect().center() : inside);
        QVERIFY(xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                         QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")}));
        settle();
    }
    // On an option's round button, where a click always lands on it.
    void choose(QRadioButton* option) {
        click(option, QPoint(option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) / 2 + 1,
                             option->height() / 2));
        QTRY_VERIFY(option->isChecked());
    }
    // A click on another of the program's windows: the window manager gives it the focus;
    // without one, the window system is told, as a desktop's own focus rule would.
    void clickOver(QWidget* spot) {
        // Where no other window of the program lies over it.
        const QRect area = spot->rect();
        QPoint free;
        for (int y = area.top() + 2; free.isNull() && y < area.bottom(); y += 6)
            for (int x = area.left() + 2; free.isNull() && x < area.right(); x += 12) {
                const QPoint at = spot->mapToGlobal(QPoint(x, y));
                bool covered = false;
                for (QWidget* w : QApplication::topLevelWidgets())
                    covered |= w != spot->window() && w->isVisible() && w->frameGeometry().contains(at);
                if (!covered) free = QPoint(x, y);
            }
        QVERIFY2(!free.isNull(), qPrintable(spot->objectName() + QStringLiteral(" is covered")));
        click(spot, free);
        if (!wm->running())
            xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(spot->window()->winId())});
        QTRY_COMPARE(QApplication::activeWindow(), spot->window());
    }
    static bool activeNow(QWidget* w) { return w && w->isVisible() && QApplication::activeWindow() == w; }

    // --- the road to the screens ---

    frmMenu& toMainMenu(int language) {
        frmStart& start = registry.get<frmStart>();
        registry.show(start);
        if (!QTest::qWaitForWindowActive(&start)) qWarning("the start screen did not become active");
        click(language ? start.cmdFrancais : start.cmdEnglish);
        frmMenu& menu = registry.get<frmMenu>();
        [&] { QTRY_VERIFY(activeNow(&menu)); }();
        return menu;
    }
    frmSearch& search(frmMenu& menu, const char* option) {
        choose(menu.option(QLatin1String(option)));
        click(menu.cmdSearch);
        frmSearch& s = registry.get<frmSearch>();
        [&] { QTRY_VERIFY(activeNow(&s)); }();
        return s;
    }
    // The industry of the code, found in the code list by typing the code into it.
    void chooseCode(frmSearch& s, const QString& code) {
        choose(s.optNAICScode);
        QTRY_VERIFY(s.fraNAICScode->isVisible());
        s.cboNAICScodes->setFocus();
        type(code);
        QTRY_COMPARE(s.lblHiddenNaics->text(), code);
    }
    frmMyValues& enterNewData(frmSearch& s) {
        choose(s.optCompareNew);
        click(s.cmdContinue);
        frmMyValues& values = registry.get<frmMyValues>();
        [&] { QTRY_VERIFY(activeNow(&values)); }();
        return values;
    }
    frmMyValues& toFirmScreen(int language, const char* option = "optNovaScotia", QString code = {}) {
        frmSearch& s = search(toMainMenu(language), option);
        chooseCode(s, code.isEmpty() ? nsCode : code);
        return enterNewData(s);
    }
    // A balanced firm typed into its boxes: Cash 5000 against share capital 5000.
    void typeFirm(frmMyValues& values) {
        click(values.txtFirmName);
        press(QStringLiteral("ctrl+a"));
        type(QStringLiteral("Acme"));
        for (const char* box : {"txtCash", "txtShareC"}) {
            click(values.valueBox(QLatin1String(box)));
            type(QStringLiteral("5000"));
            press(QStringLiteral("Return"));
        }
        QCOMPARE(values.valueBox(QStringLiteral("txtTa"))->text(), QStringLiteral("5000"));
        QVERIFY(values.blnDataChanged);
    }
    // The definition window, which the user then puts aside in the screen's lower right corner.
    frmIndustryDefinitions* openDefinition() {
        press(QStringLiteral("ctrl+d"));
        frmIndustryDefinitions* d = registry.existing<frmIndustryDefinitions>();
        [&] { QTRY_VERIFY(d && activeNow(d)); }();
        if (!d) return nullptr;
        const QRect screen = d->screen()->availableGeometry();
        const QPoint corner = screen.bottomRight() - QPoint(d->frameGeometry().width(), d->frameGeometry().height());
        d->move(corner);
        [&] { QTRY_COMPARE(d->frameGeometry().topLeft(), corner); }();
        return d;
    }
    void storeFirm(const QString& name) {
        FirmStatement firm;
        firm.firmName = name;
        firm.year = QStringLiteral("2011");
        firm.naics = nsCode;
        firmrules::resetValues(firm.values);
        firm.value("Cash") = QStringLiteral("777");
        firmrecords::store(gcnMyData, firm);
    }
    int datasetCodes(const char* region) {
        return GetRS(gcnData,
                     QStringLiteral("select count(*) from ") +
                         catalogue::datasetTableName(3, QLatin1String(region), 2011),
                     QStringLiteral("read"))
            ->field(0)
            .toInt();
    }

private slots:
    void initTestCase() {
        wm = std::make_unique<WindowManager>();
        QVERIFY2(wm->asAsked(), qPrintable(wm->name()));
        qInfo("window manager: %s", qPrintable(wm->name()));
    }
    void cleanupTestCase() { wm.reset(); }

    void init() {
        dbs = std::make_unique<TestDatabases>();
        platform = std::make_unique<RecordingPlatform>();
        registry.setModalBlocking(false);
        dbs->open();
        nsCode = completeIndustry(gcnData, QStringLiteral("NS"));
        onCode = GetRS(gcnData,
                       QStringLiteral("select NAICS from %1 where NumberOfFirms is not null and NAICS not in "
                                      "(select NAICS from %2) order by NAICS")
                           .arg(catalogue::datasetTableName(3, QStringLiteral("ON"), 2011),
                                catalogue::datasetTableName(3, QStringLiteral("NS"), 2011)),
                       QStringLiteral("read"))
                     ->field(0)
                     .toString();
        QVERIFY(!nsCode.isEmpty() && !onCode.isEmpty());
    }
    void cleanup() {
        registry.clear();
        platform.reset();
        dbs.reset();
    }

    void platformIsARealWindowSystem() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

    // A firm opened from the list, then the main menu, another dataset and Enter new data:
    // the firm screen starts afresh for the new industry, and its report says so.
    void enterNewDataAfterAnOpenedFirmShowsTheNewIndustry_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("French") << 1;
    }
    void enterNewDataAfterAnOpenedFirmShowsTheNewIndustry() {
        QFETCH(int, language);
        storeFirm(QStringLiteral("Stored Ltd"));
        frmMyValues& values = toFirmScreen(language);
        press(QStringLiteral("ctrl+o"));
        frmOpenExisting* list = registry.existing<frmOpenExisting>();
        QTRY_VERIFY(list && activeNow(list));
        click(list->cmdOpen);
        QTRY_VERIFY(activeNow(&values));
        QCOMPARE(values.txtFirmName->text(), QStringLiteral("Stored Ltd"));
        press(QStringLiteral("ctrl+r"));
        frmMenu& menu = registry.get<frmMenu>();
        QTRY_VERIFY(activeNow(&menu));
        frmSearch& s = search(menu, "optOntario");
        chooseCode(s, onCode);
        enterNewData(s);
        QCOMPARE(values.txtFirmName->text(), strings::text(544, language));
        QCOMPARE(values.valueBox(QStringLiteral("txtCash"))->text(), QStringLiteral("0"));
        QCOMPARE(values.lblNAICS->text(), onCode);
        QCOMPARE(values.lblIndustry->text(), s.txtIndName->toPlainText());
        QVERIFY(values.windowTitle().endsWith(QStringLiteral("Ontario")));
        typeFirm(values);
        press(QStringLiteral("ctrl+i"));
        frmReportViewer* report = registry.existing<frmReportViewer>();
        QTRY_VERIFY(report && activeNow(report));
        RecordsetPtr rs = GetRS(gcnMyData, QStringLiteral("select MyNAICS, MyIndustry from Rpt_Comparison"),
                                QStringLiteral("read"));
        QCOMPARE(rs->field(0).toString(), onCode);
        QCOMPARE(rs->field(1).toString(), s.txtIndName->toPlainText().trimmed());
        press(QStringLiteral("Escape"));
        QTRY_VERIFY(!registry.existing<frmReportViewer>());
    }

    // With the definition window open, the return to the industry selection keeps its
    // mode and selection, and a firm opened from there shows its stored values.
    void returnWithTheDefinitionOpenKeepsTheSelection() {
        storeFirm(QStringLiteral("Stored Ltd"));
        frmMyValues& values = toFirmScreen(1);
        frmIndustryDefinitions* definition = openDefinition();
        QVERIFY(definition);
        clickOver(values.lblIndustry);
        press(QStringLiteral("ctrl+b"));
        frmSearch& s = registry.get<frmSearch>();
        QTRY_VERIFY(s.isVisible() && !values.isVisible());
        // Whatever window the window manager brings forward on the way.
        QTest::qWait(600);
        QVERIFY(s.optNAICScode->isChecked());
        QCOMPARE(s.lblHiddenNaics->text(), nsCode);
        QVERIFY(definition->isVisible());

        clickOver(s.fraSearch);
        choose(s.optCompareExisting);
        click(s.cmdContinue);
        frmOpenExisting* list = registry.existing<frmOpenExisting>();
        QTRY_VERIFY(list && activeNow(list));
        click(list->cmdOpen);
        QTRY_VERIFY(values.isVisible() && !s.isVisible());
        QTest::qWait(600);
        QCOMPARE(values.txtFirmName->text(), QStringLiteral("Stored Ltd"));
        QCOMPARE(values.valueBox(QStringLiteral("txtCash"))->text(), QStringLiteral("777"));
        QCOMPARE(values.lblNAICS->text(), nsCode);
    }

    // Clicking the definition window and back is no move: the typed firm stays.
    void clicksBetweenWindowsKeepTheTypedFirm() {
        frmMyValues& values = toFirmScreen(0);
        typeFirm(values);
        frmIndustryDefinitions* definition = openDefinition();
        QVERIFY(definition);
        for (int turn = 0; turn < 2; ++turn) {
            clickOver(values.lblIndustry);
            clickOver(definition->lblNAICS);
        }
        clickOver(values.lblIndustry);
        QCOMPARE(values.txtFirmName->text(), QStringLiteral("Acme"));
        QCOMPARE(values.valueBox(QStringLiteral("txtCash"))->text(), QStringLiteral("5000"));
        QVERIFY(values.blnDataChanged);
        QVERIFY(platform->messages.isEmpty());
    }

    // A look at the report, About or the definition saves nothing: the return to the
    // industry selection still asks, and Cancel stays with the firm.
    void aLookAtAnotherWindowKeepsTheFirmUnsaved_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("opens");
        QTest::newRow("report") << 0 << "ctrl+i";
        QTest::newRow("About") << 1 << "ctrl+p";
        QTest::newRow("definition") << 0 << "ctrl+d";
    }
    void aLookAtAnotherWindowKeepsTheFirmUnsaved() {
        QFETCH(int, language);
        QFETCH(QString, opens);
        frmMyValues& values = toFirmScreen(language);
        typeFirm(values);
        press(opens);
        if (frmReportViewer* report = registry.existing<frmReportViewer>()) {
            QTRY_VERIFY(activeNow(report));
            press(QStringLiteral("Escape"));
        } else if (frmAbout* about = registry.existing<frmAbout>()) {
            QTRY_VERIFY(activeNow(about));
            click(about->cmdReturn);
        } else {
            frmIndustryDefinitions* definition = registry.existing<frmIndustryDefinitions>();
            QTRY_VERIFY(definition && activeNow(definition));
            click(definition->cmdContinue);
        }
        QTRY_VERIFY(activeNow(&values));
        platform->answers.enqueue(MsgResult::Cancel);
        press(QStringLiteral("ctrl+b"));
        QCOMPARE(platform->messages.size(), 1);
        QCOMPARE(platform->messages[0].buttons, MsgButtons::YesNoCancel);
        if (language == 0) QCOMPARE(platform->lastMessage(), kSaveQuestion);
        QVERIFY(values.isVisible());
        QCOMPARE(values.valueBox(QStringLiteral("txtCash"))->text(), QStringLiteral("5000"));
    }

    // Another dataset chosen on the main menu gives the industry selection of that dataset.
    void anotherDatasetGivesItsOwnIndustrySelection() {
        toFirmScreen(0);
        press(QStringLiteral("ctrl+r"));
        frmMenu& menu = registry.get<frmMenu>();
        QTRY_VERIFY(activeNow(&menu));
        frmSearch& s = search(menu, "optOntario");
        QVERIFY(s.windowTitle().startsWith(QStringLiteral("Search Ontario - ")));
        QVERIFY(s.optSearchNaics->isChecked());
        QVERIFY(s.lblHiddenNaics->text().isEmpty());
        choose(s.optNAICScode);
        QTRY_COMPARE(s.cboNAICScodes->count(), datasetCodes("ON"));
    }

    // Ctrl+X cuts a selected name; elsewhere it is Exit, whose question says No to Enter.
    void ctrlXCutsASelectionAndExitDefaultsToNo() {
        frmMyValues& values = toFirmScreen(1);
        click(values.txtFirmName);
        press(QStringLiteral("ctrl+a"));
        type(QStringLiteral("Acme"));
        press(QStringLiteral("ctrl+a"));
        press(QStringLiteral("ctrl+x"));
        QVERIFY(platform->messages.isEmpty());
        QVERIFY(values.txtFirmName->text().isEmpty());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Acme"));

        // Nothing left to save and nothing selected: Ctrl+X asks the real exit question,
        // and Enter answers No.
        platform->answers.enqueue(MsgResult::No);
        press(QStringLiteral("ctrl+n"));
        press(QStringLiteral("End"));
        QVERIFY(!values.blnDataChanged);
        RealBoxes real;
        Platform* scripted = setPlatform(&real);
        QString asked;
        bool defaultIsNo = false;
        QTimer::singleShot(800, [&asked, &defaultIsNo] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            asked = box->text();
            defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
            xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        });
        // Should Enter not reach the box, it is closed rather than left to block the test.
        QTimer::singleShot(6000, [] {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
        press(QStringLiteral("ctrl+x"));
        QTRY_VERIFY(!asked.isEmpty());
        QTRY_VERIFY(!QApplication::activeModalWidget());
        setPlatform(scripted);
        QCOMPARE(asked, QStringLiteral("Voulez-vous quitter?"));
        QVERIFY(defaultIsNo);
        QVERIFY(values.isVisible());
    }

    // The definition window stays open while the user returns from the report, About and the
    // list of saved firms: the screen under them keeps everything.
    void coversClosedWithTheDefinitionOpen_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("cover");
        QTest::newRow("report") << 1 << "report";
        QTest::newRow("About") << 0 << "about";
        QTest::newRow("list of saved firms") << 1 << "list";
        QTest::newRow("list from the industry selection") << 0 << "search list";
    }
    void coversClosedWithTheDefinitionOpen() {
        QFETCH(int, language);
        QFETCH(QString, cover);
        storeFirm(QStringLiteral("Stored Ltd"));
        frmMyValues& values = toFirmScreen(language);
        Screen* under = &values;
        if (cover == QLatin1String("search list")) {
            press(QStringLiteral("ctrl+b"));
            frmSearch& s = registry.get<frmSearch>();
            QTRY_VERIFY(activeNow(&s));
            under = &s;
            openDefinition();
            clickOver(s.fraSearch);
            choose(s.optCompareExisting);
            click(s.cmdContinue);
        } else {
            typeFirm(values);
            openDefinition();
            clickOver(values.lblIndustry);
            platform->answers.enqueue(MsgResult::No); // the save question of Open
            press(cover == QLatin1String("report") ? QStringLiteral("ctrl+i")
                  : cover == QLatin1String("about") ? QStringLiteral("ctrl+p")
                                                    : QStringLiteral("ctrl+o"));
        }
        QPointer<Screen> shown =
            cover == QLatin1String("report")  ? static_cast<Screen*>(registry.existing<frmReportViewer>())
            : cover == QLatin1String("about") ? static_cast<Screen*>(registry.existing<frmAbout>())
                                              : static_cast<Screen*>(registry.existing<frmOpenExisting>());
        QTRY_VERIFY(shown && activeNow(shown));
        QVERIFY(shown->close());
        QTRY_VERIFY(!shown || !shown->isVisible());
        QTest::qWait(600);
        QVERIFY(under->isVisible());
        QVERIFY(registry.existing<frmIndustryDefinitions>()->isVisible());
        if (under == &values) {
            QCOMPARE(values.txtFirmName->text(), QStringLiteral("Acme"));
            QCOMPARE(values.valueBox(QStringLiteral("txtCash"))->text(), QStringLiteral("5000"));
            QVERIFY(values.blnDataChanged);
        } else {
            QCOMPARE(registry.get<frmSearch>().lblHiddenNaics->text(), nsCode);
            QVERIFY(registry.get<frmSearch>().optNAICScode->isChecked());
        }
    }

    // F3 on any window switches every open window: the definition and the report too.
    void everyOpenWindowFollowsTheLanguage() {
        frmMyValues& values = toFirmScreen(0);
        typeFirm(values);
        frmIndustryDefinitions* definition = openDefinition();
        QVERIFY(definition);
        clickOver(values.lblIndustry);
        press(QStringLiteral("ctrl+i"));
        frmReportViewer* report = registry.existing<frmReportViewer>();
        QTRY_VERIFY(report && activeNow(report));
        press(QStringLiteral("F3"));
        QCOMPARE(report->windowTitle(), QStringLiteral("DORVA Rapport de Comparaison"));
        QCOMPARE(report->btnBack->toolTip(), QStringLiteral("Retourner"));
        QCOMPARE(definition->windowTitle(), QString::fromUtf8("Définition de l'industrie"));
        QCOMPARE(values.windowTitle(), QString::fromUtf8("Comparer une entreprise avec Nouvelle-Écosse"));
        QCOMPARE(registry.get<frmMenu>().cmdSearch->text(), QStringLiteral("Recherche"));
        press(QStringLiteral("Escape"));
        QTRY_VERIFY(activeNow(&values));
        QCOMPARE(values.txtFirmName->text(), QStringLiteral("Acme"));
    }

    // The report opens over the screen that asked for it, fitted to its width, and keeps
    // the size and zoom the user gave it for the next report of the run.
    void reportOpensOverItsCaller() {
        frmMyValues& values = toFirmScreen(0);
        typeFirm(values);
        press(QStringLiteral("ctrl+i"));
        frmReportViewer* report = registry.existing<frmReportViewer>();
        QTRY_VERIFY(report && activeNow(report));
        QCOMPARE(report->CRViewer1->zoomMode(), QPrintPreviewWidget::FitToWidth);
        const QPoint offset = report->frameGeometry().center() - values.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() < 80, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        report->resize(report->width() - 60, report->height() - 40);
        click(report->tbViewer->widgetForAction(report->actZoomIn));
        QCOMPARE(report->CRViewer1->zoomMode(), QPrintPreviewWidget::CustomZoom);
        const QSize chosen = report->size();
        const qreal zoom = report->CRViewer1->zoomFactor();
        press(QStringLiteral("Escape"));
        QTRY_VERIFY(activeNow(&values));
        press(QStringLiteral("ctrl+i"));
        report = registry.existing<frmReportViewer>();
        QTRY_VERIFY(report && activeNow(report));
        QCOMPARE(report->size(), chosen);
        QCOMPARE(report->CRViewer1->zoomFactor(), zoom);
        press(QStringLiteral("Escape"));
    }
};

int main(int argc, char** argv) {
    // The real application object, as the desktop program runs it.
    Application app(argc, argv);
    TestScreenFlow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_screen_flow.moc"
