// The screen flow as a user meets it, in a real X server with the real application object
// and event loop: with the window manager that VENTROLUX_WINDOW_MANAGER names (openbox),
// and without one. Keys and clicks go through the X server (xdotool), so that the window
// manager's own focus order plays its part; message boxes are answered by the scripted
// platform, except where the real box's default button is what is tested. Each scenario
// is a way the flow once lost what the user typed or showed a stale firm.

#include "app/Application.h"
#include "app/QtPlatform.h"
#include "data/RecordsetTableModel.h"
#include "firm/FirmRecords.h"
#include "industry/IndustryTree.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/firm/frmMyValues.h"
#include "screens/firm/frmOpenExisting.h"
#include "screens/industry/IndustryTreeModel.h"
#include "screens/industry/frmIndustryDefinitions.h"
#include "screens/industry/frmSearch.h"
#include "screens/report/frmReportViewer.h"
#include "screens/start/frmAbout.h"
#include "screens/start/frmMenu.h"
#include "screens/start/frmStart.h"
#include "support/RecordingPlatform.h"
#include "support/SampleData.h"
#include "support/TestDatabases.h"
#include "support/WindowManager.h"
#include "text/StringTable.h"

#include <QAction>
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
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>

using namespace modMain;

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

QString cell(const frmMyValues& values, const char* box) {
    return values.valueBox(QLatin1String(box))->text();
}
QVariant firstValue(Connection& cn, const char* sql) {
    return GetRS(cn, QLatin1String(sql), QStringLiteral("read"))->field(0);
}

bool activeNow(QWidget* w) {
    return w && w->isVisible() && QApplication::activeWindow() == w;
}
bool becomesActive(QWidget* w) {
    return QTest::qWaitFor([w] { return activeNow(w); }, 8000);
}

} // namespace

class TestScreenFlow : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowManager> wm;
    std::unique_ptr<TestDatabases> dbs;
    std::unique_ptr<RecordingPlatform> platform;
    ScreenRegistry& registry = ScreenRegistry::instance();
    QString nsCode; // an industry of Nova Scotia with figures in all three years

    // The user's hand: keys go to the window with the X input focus.
    void press(const QString& keys) {
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys}));
        QTest::qWait(60);
    }
    void press(const char* keys) { press(QString::fromLatin1(keys)); }
    void type(const QString& text) {
        QVERIFY(xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text}));
        QTest::qWait(60);
    }
    void click(QWidget* w, QPoint inside = {}) {
        const QPoint at = w->mapToGlobal(inside.isNull() ? w->rect().center() : inside);
        QVERIFY(xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                         QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")}));
        QTest::qWait(60);
    }
    // On an option's round button, where a click always lands on it.
    void choose(QRadioButton* option) {
        click(option, {option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) / 2 + 1,
                       option->height() / 2});
        QTRY_VERIFY(option->isChecked());
    }
    // A click on a part of another window of the program that no other window covers: the
    // window manager gives it the focus; without one the window system is told, as a
    // desktop's own focus rule would.
    void clickOver(QWidget* spot) {
        QPoint free;
        for (int y = 2; free.isNull() && y < spot->height(); y += 6)
            for (int x = 2; free.isNull() && x < spot->width(); x += 12) {
                bool covered = false;
                for (QWidget* w : QApplication::topLevelWidgets())
                    covered |= w != spot->window() && w->isVisible() &&
                               w->frameGeometry().contains(spot->mapToGlobal(QPoint(x, y)));
                if (!covered) free = QPoint(x, y);
            }
        QVERIFY2(!free.isNull(), qPrintable(spot->objectName()));
        click(spot, free);
        if (!wm->running())
            xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                     QString::number(spot->window()->winId())});
        QVERIFY(becomesActive(spot->window()));
    }

    // From the start screen (on the first road) or the main menu: the language, a dataset and
    // the industry of the code typed into the code list.
    frmSearch& toIndustry(int language, const char* dataset, const QString& code) {
        if (!registry.existing<frmStart>()) {
            frmStart& start = registry.get<frmStart>();
            registry.show(start);
            if (becomesActive(&start)) click(language ? start.cmdFrancais : start.cmdEnglish);
        }
        frmMenu& menu = registry.get<frmMenu>();
        if (!becomesActive(&menu)) qWarning("no main menu");
        choose(menu.option(QLatin1String(dataset)));
        click(menu.cmdSearch);
        frmSearch& s = registry.get<frmSearch>();
        if (!becomesActive(&s)) qWarning("no industry selection");
        choose(s.optNAICScode);
        s.cboNAICScodes->setFocus();
        type(code);
        if (s.lblHiddenNaics->text() != code) qWarning("the code was not chosen");
        return s;
    }
    frmMyValues& enterNewData(frmSearch& s) {
        choose(s.optCompareNew);
        click(s.cmdContinue);
        frmMyValues& values = registry.get<frmMyValues>();
        if (!becomesActive(&values)) qWarning("no firm values screen");
        return values;
    }
    // A balanced firm typed into its boxes: Cash 5000 against share capital 5000.
    void typeFirm(frmMyValues& values) {
        click(values.txtFirmName);
        press("ctrl+a");
        type(QStringLiteral("Acme"));
        for (const char* box : {"txtCash", "txtShareC"}) {
            click(values.valueBox(QLatin1String(box)));
            type(QStringLiteral("5000"));
            press("Return");
        }
        QCOMPARE(cell(values, "txtTa"), QStringLiteral("5000"));
    }
    void storeFirm(const QString& name) {
        FirmStatement firm{name, QStringLiteral("2011"), nsCode, {}};
        firmrules::resetValues(firm.values);
        firmrecords::store(gcnMyData, firm);
    }
    // The definition, which the user then puts aside in the screen's lower right corner.
    frmIndustryDefinitions* openDefinition() {
        press("ctrl+d");
        frmIndustryDefinitions* d = registry.existing<frmIndustryDefinitions>();
        if (!d || !becomesActive(d)) return nullptr;
        const QRect screen = d->screen()->availableGeometry();
        d->move(screen.bottomRight() - QPoint(d->frameGeometry().width(), d->frameGeometry().height()));
        QTest::qWait(300);
        return d;
    }

private slots:
    void initTestCase() {
        wm = std::make_unique<WindowManager>();
        QVERIFY2(wm->asAsked(), qPrintable(wm->name()));
        qInfo("window manager: %s", qPrintable(wm->name()));
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    }
    void cleanupTestCase() { wm.reset(); }
    void init() {
        dbs = std::make_unique<TestDatabases>();
        platform = std::make_unique<RecordingPlatform>();
        registry.setModalBlocking(false);
        dbs->open();
        nsCode = completeIndustry(gcnData, QStringLiteral("NS"));
    }
    void cleanup() {
        registry.clear();
        platform.reset();
        dbs.reset();
    }

    // The road of one comparison, as a French-speaking user takes it: Nova Scotia, an
    // industry of the tree, "Entrer des nouvelles données", a balanced firm typed from the
    // keyboard (Enter moves from box to box), saved, compared, back, a new firm, the saved
    // one opened again and compared again; the only message is the save's.
    void theRoadOfOneComparison() {
        toIndustry(1, "optNovaScotia", nsCode); // then the tree instead of the code list
        frmSearch& s = registry.get<frmSearch>();
        choose(s.optSearchNaics);
        // The industry's paper icon, searched through every folder.
        const std::function<QModelIndex(const QModelIndex&)> find = [&](const QModelIndex& parent) {
            for (int r = 0; r < s.treeModel->rowCount(parent); ++r) {
                const QModelIndex i = s.treeModel->index(r, 0, parent);
                if (i.data(industrytreemodel::PictureRole).toInt() == int(industrytree::Picture::Industry) &&
                    industrytree::naicsOfKey(i.data(industrytreemodel::KeyRole).toString()) == nsCode)
                    return i;
                if (const QModelIndex below = find(i); below.isValid()) return below;
            }
            return QModelIndex();
        };
        const QModelIndex node = find(QModelIndex());
        QVERIFY(node.isValid());
        for (QModelIndex p = node.parent(); p.isValid(); p = p.parent())
            s.TreeView1->expand(p);
        s.TreeView1->scrollTo(node);
        const QRect nodeRect = s.TreeView1->visualRect(node);
        click(s.TreeView1->viewport(), {nodeRect.left() + 30, nodeRect.center().y()});
        QCOMPARE(s.lblHiddenNaics->text(), nsCode);
        QCOMPARE(s.optCompareNew->text(), QString::fromUtf8("Entrer des nouvelles données"));
        frmMyValues& values = enterNewData(s);
        QVERIFY(!s.isVisible());
        QCOMPARE(values.windowTitle(), QString::fromUtf8("Comparer une entreprise avec Nouvelle-Écosse"));
        QCOMPARE(values.lblIndustry->text(), s.txtIndName->toPlainText());
        QCOMPARE(QApplication::focusWidget(), values.txtFirmName);
        type(QStringLiteral("Boulangerie Acme"));
        const char* typed[][2] = {{"txtCash", "12500"},
                                  {"txtAr", "48200"},
                                  {"txtInv", "96400"},
                                  {"txtCA", "215000"},
                                  {"txtOA", "8300"},
                                  {"txtInvest", "0"},
                                  {"txtPtfl", "15000"},
                                  {"txtAccountsPayable", "52100"},
                                  {"txtPaper", "0"},
                                  {"txtMtg", "120000"},
                                  {"txtBonds", "0"},
                                  {"txtOl", "0"},
                                  {"txtAmtsAffil", "0"},
                                  {"txtOLiab", "0"},
                                  {"txtDefTax", "0"},
                                  {"txtShareC", "100000"},
                                  {"txtRetEarn", "123300"},
                                  {"txtOtherSur", "0"},
                                  {"txtCurrentAssets", "157100"},
                                  {"txtCurrentLiabilities", "61000"},
                                  {"txtOperatingRevenue", "850000"},
                                  {"txtSales", "845000"},
                                  {"txtGrossProfit", "330000"},
                                  {"txtOperatingProfit", "41000"},
                                  {"txtInterestExpense", "7200"},
                                  {"txtPretaxProfit", "33800"},
                                  {"txtProfitAfterTax", "27000"}};
        click(values.valueBox(QStringLiteral("txtCash")));
        for (const auto& [box, digits] : typed) {
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(box));
            type(QLatin1String(digits));
            press("Return");
        }
        QCOMPARE(cell(values, "txtTa"), QStringLiteral("395400"));
        QCOMPARE(cell(values, "txtTotLiabShareEq"), QStringLiteral("395400"));
        press("ctrl+s");
        QVERIFY(!values.blnDataChanged);
        for (int time = 0; time < 2; ++time) {
            click(values.tbToolbar->widgetForAction(values.findChild<QAction*>(QStringLiteral("tbCompare"))));
            frmReportViewer* report = registry.existing<frmReportViewer>();
            QVERIFY(becomesActive(report));
            QCOMPARE(report->windowTitle(), QStringLiteral("DORVA Rapport de Comparaison"));
            QVERIFY(report->document()->toPlainText().contains(QStringLiteral("Boulangerie Acme")));
            QVERIFY(
                report->document()->toPlainText().contains(QString::fromUtf8("Marge bénéficiaire nette")));
            click(report->btnBack);
            QVERIFY(becomesActive(&values));
            QCOMPARE(values.txtFirmName->text(), QStringLiteral("Boulangerie Acme"));
            if (time == 1) break;
            press("ctrl+n");
            QCOMPARE(values.txtFirmName->text(), QString::fromUtf8("Entrer un nom d’entreprise ici"));
            QCOMPARE(cell(values, "txtSales"), QStringLiteral("0"));
            press("ctrl+o");
            frmOpenExisting* list = registry.existing<frmOpenExisting>();
            QVERIFY(becomesActive(list));
            QCOMPARE(list->AdodcFirms->cellText(0, 0), QStringLiteral("Boulangerie Acme"));
            const QRect row = list->dbgFirms->visualRect(list->AdodcFirms->index(0, 0));
            click(list->dbgFirms->viewport(), row.center());
            QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                             QStringLiteral("1")}));
            QVERIFY(becomesActive(&values));
            QVERIFY(!list->isVisible());
            QCOMPARE(cell(values, "txtSales"), QStringLiteral("845000"));
            QCOMPARE(cell(values, "txtTa"), QStringLiteral("395400"));
        }
        QStringList shown;
        for (const ShownMessage& m : platform->messages)
            shown << m.text;
        QCOMPARE(shown, QStringList{QString::fromUtf8("Les données ont été sauvegardées.")});
    }

    // A firm opened from the list, the main menu, another dataset: the industry selection
    // is that dataset's, and Enter new data starts the firm afresh for its industry.
    void anotherDatasetAfterAnOpenedFirm_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("French") << 1;
    }
    void anotherDatasetAfterAnOpenedFirm() {
        QFETCH(int, language);
        // An industry that Ontario has and Nova Scotia has not.
        const QString onCode = firstValue(gcnData, "select NAICS from ZEBRO_Vol3_ON_2011_Final_Ratios where "
                                                   "NumberOfFirms is not null and NAICS not in (select NAICS "
                                                   "from ZEBRO_Vol3_NS_2011_Final_Ratios)")
                                   .toString();
        storeFirm(QStringLiteral("Stored Ltd"));
        frmMyValues& values = enterNewData(toIndustry(language, "optNovaScotia", nsCode));
        press("ctrl+o");
        frmOpenExisting* list = registry.existing<frmOpenExisting>();
        QVERIFY(becomesActive(list));
        click(list->cmdOpen);
        QTRY_COMPARE(values.txtFirmName->text(), QStringLiteral("Stored Ltd"));
        press("ctrl+r");
        frmSearch& s = toIndustry(language, "optOntario", onCode);
        QVERIFY(s.windowTitle().contains(QStringLiteral("Ontario - ")));
        QCOMPARE(s.cboNAICScodes->count(),
                 firstValue(gcnData, "select count(*) from ZEBRO_Vol3_ON_2011_Final_Ratios").toInt());
        QCOMPARE(s.lblHiddenNaics->text(), onCode);
        enterNewData(s);
        QCOMPARE(values.txtFirmName->text(), strings::text(544, language::fromFlag(language)));
        QCOMPARE(cell(values, "txtCash"), QStringLiteral("0"));
        QCOMPARE(values.lblNAICS->text(), onCode);
        QCOMPARE(values.lblIndustry->text(), s.txtIndName->toPlainText());
        typeFirm(values);
        press("ctrl+i");
        QVERIFY(becomesActive(registry.existing<frmReportViewer>()));
        RecordsetPtr rs = GetRS(gcnMyData, QStringLiteral("select MyNAICS, MyIndustry from Rpt_Comparison"),
                                QStringLiteral("read"));
        QCOMPARE(rs->field(0).toString(), onCode);
        QCOMPARE(rs->field(1).toString(), s.txtIndName->toPlainText().trimmed());
        press("Escape");
        QTRY_VERIFY(!registry.existing<frmReportViewer>());
    }

    // With the definition open: clicks between the windows keep the typed firm; the return
    // to the industry selection asks, then keeps its mode and selection; a firm opened
    // from there shows its stored values.
    void definitionOpenWhileMovingAbout() {
        frmSearch& s = toIndustry(1, "optNovaScotia", nsCode);
        frmMyValues& values = enterNewData(s);
        typeFirm(values);
        frmIndustryDefinitions* definition = openDefinition();
        QVERIFY(definition);
        for (int turn = 0; turn < 2; ++turn) {
            clickOver(values.lblIndustry);
            clickOver(definition->lblNAICS);
        }
        clickOver(values.lblIndustry);
        QCOMPARE(cell(values, "txtCash"), QStringLiteral("5000"));
        QVERIFY(platform->messages.isEmpty());
        platform->answers.enqueue(MsgResult::Yes);
        press("ctrl+b");
        QTRY_VERIFY(s.isVisible() && !values.isVisible());
        QTest::qWait(600); // whatever window the window manager brings forward on the way
        QVERIFY(s.optNAICScode->isChecked());
        QCOMPARE(s.lblHiddenNaics->text(), nsCode);
        clickOver(s.fraSearch);
        choose(s.optCompareExisting);
        click(s.cmdContinue);
        frmOpenExisting* list = registry.existing<frmOpenExisting>();
        QVERIFY(becomesActive(list));
        click(list->cmdOpen);
        QTRY_VERIFY(values.isVisible() && !s.isVisible());
        QTest::qWait(600);
        QCOMPARE(values.txtFirmName->text(), QStringLiteral("Acme"));
        QCOMPARE(cell(values, "txtCash"), QStringLiteral("5000"));
        QVERIFY(definition->isVisible());
    }

    // A look at the report, About, the definition or the list of saved firms (the
    // definition left open) saves nothing: the firm stays, and the return still asks.
    void aLookElsewhereKeepsTheFirmUnsaved_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("keys");
        QTest::newRow("report") << 0 << "ctrl+i";
        QTest::newRow("About") << 1 << "ctrl+p";
        QTest::newRow("definition") << 0 << "ctrl+d";
        QTest::newRow("list of saved firms") << 1 << "ctrl+o";
    }
    void aLookElsewhereKeepsTheFirmUnsaved() {
        QFETCH(int, language);
        QFETCH(QString, keys);
        storeFirm(QStringLiteral("Stored"));
        frmMyValues& values = enterNewData(toIndustry(language, "optNovaScotia", nsCode));
        typeFirm(values);
        if (keys != QLatin1String("ctrl+d")) {
            QVERIFY(openDefinition());
            clickOver(values.lblIndustry);
        }
        platform->answers.enqueue(MsgResult::No); // the save question of Open
        press(keys);
        QTRY_VERIFY(QApplication::activeWindow() != &values);
        QPointer<QWidget> look = QApplication::activeWindow();
        QVERIFY(look && look != &values);
        if (keys == QLatin1String("ctrl+i"))
            press("Escape");
        else
            QVERIFY(look->close());
        QTRY_VERIFY(!look || !look->isVisible());
        QVERIFY(becomesActive(&values));
        QCOMPARE(values.txtFirmName->text(), QStringLiteral("Acme"));
        QCOMPARE(cell(values, "txtCash"), QStringLiteral("5000"));
        platform->messages.clear();
        platform->answers.clear();
        platform->answers.enqueue(MsgResult::Cancel);
        press("ctrl+b");
        QCOMPARE(platform->messages.size(), 1);
        QCOMPARE(platform->messages[0].buttons, MsgButtons::YesNoCancel);
        QVERIFY(values.isVisible());
    }

    // Ctrl+X cuts a selected name; elsewhere it is Exit, whose question says No to Enter.
    void ctrlXCutsASelectionAndExitDefaultsToNo() {
        frmMyValues& values = enterNewData(toIndustry(1, "optNovaScotia", nsCode));
        click(values.txtFirmName);
        press("ctrl+a");
        type(QStringLiteral("Acme"));
        press("ctrl+a");
        press("ctrl+x");
        QVERIFY(platform->messages.isEmpty());
        QVERIFY(values.txtFirmName->text().isEmpty());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Acme"));

        platform->answers.enqueue(MsgResult::No);
        press("ctrl+n");
        press("End"); // nothing selected, nothing to save
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
        press("ctrl+x");
        QTRY_VERIFY(!asked.isEmpty() && !QApplication::activeModalWidget());
        setPlatform(scripted);
        QCOMPARE(asked, QStringLiteral("Voulez-vous quitter?"));
        QVERIFY(defaultIsNo);
        QVERIFY(values.isVisible());
    }

    // The report opens over the screen that asked for it, fitted to its width; F3 there
    // switches it and every other window; its size and zoom are kept for the run.
    void reportOverItsCaller() {
        frmMyValues& values = enterNewData(toIndustry(0, "optNovaScotia", nsCode));
        typeFirm(values);
        press("ctrl+i");
        frmReportViewer* report = registry.existing<frmReportViewer>();
        QVERIFY(becomesActive(report));
        QCOMPARE(report->CRViewer1->zoomMode(), QPrintPreviewWidget::FitToWidth);
        const QPoint offset = report->frameGeometry().center() - values.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() < 80,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        press("F3");
        QCOMPARE(report->windowTitle(), QStringLiteral("DORVA Rapport de Comparaison"));
        QCOMPARE(values.windowTitle(), QString::fromUtf8("Comparer une entreprise avec Nouvelle-Écosse"));
        QCOMPARE(registry.get<frmMenu>().cmdSearch->text(), QStringLiteral("Recherche"));
        report->resize(report->width() - 60, report->height() - 40);
        click(report->tbViewer->widgetForAction(report->actZoomIn));
        const QSize size = report->size();
        const qreal zoom = report->CRViewer1->zoomFactor();
        press("Escape");
        QVERIFY(becomesActive(&values));
        QCOMPARE(values.txtFirmName->text(), QStringLiteral("Acme"));
        press("ctrl+i");
        report = registry.existing<frmReportViewer>();
        QVERIFY(becomesActive(report));
        QCOMPARE(report->size(), size);
        QCOMPARE(report->CRViewer1->zoomFactor(), zoom);
        press("Escape");
    }
};

int main(int argc, char** argv) {
    // The real application object, as the desktop program runs it.
    Application app(argc, argv);
    TestScreenFlow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_screen_flow.moc"
