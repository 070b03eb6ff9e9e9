// The road of one comparison, as a French-speaking user takes it, in a real X server
// with the real application object and event loop: start screen, main menu, Nova Scotia,
// an industry from the tree, "Entrer des nouvelles données", a balanced firm typed from
// the keyboard, saved, compared, back, opened again and compared again. Mouse clicks and
// keys go through the window system; message boxes are answered by the scripted platform.

#include "app/Application.h"
#include "data/RecordsetTableModel.h"
#include "industry/IndustryTree.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/firm/frmMyValues.h"
#include "screens/firm/frmOpenExisting.h"
#include "screens/industry/IndustryTreeModel.h"
#include "screens/industry/frmSearch.h"
#include "screens/report/frmReportViewer.h"
#include "screens/start/frmMenu.h"
#include "screens/start/frmStart.h"
#include "state/modMain.h"
#include "support/RecordingPlatform.h"
#include "support/SampleData.h"
#include "support/TestDatabases.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>

using namespace modMain;

namespace {

// The tree item of an industry, searched through every folder.
QModelIndex findIndustry(const QAbstractItemModel* model, const QString& naics,
                         const QModelIndex& parent = {}) {
    for (int r = 0; r < model->rowCount(parent); ++r) {
        const QModelIndex i = model->index(r, 0, parent);
        if (i.data(industrytreemodel::PictureRole).toInt() ==
                static_cast<int>(industrytree::Picture::Industry) &&
            industrytree::naicsOfKey(i.data(industrytreemodel::KeyRole).toString()) == naics)
            return i;
        if (const QModelIndex found = findIndustry(model, naics, i); found.isValid()) return found;
    }
    return {};
}

} // namespace

class TestComparisonRoad : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabases> dbs;
    std::unique_ptr<RecordingPlatform> platform;
    ScreenRegistry& registry = ScreenRegistry::instance();

    // Waits until the screen is the one the window system has active, as the user sees it.
    bool shownAndActive(QWidget* w) { return w && w->isVisible() && QTest::qWaitForWindowActive(w); }

    QWidget* focused() { return QApplication::focusWidget(); }

    void typeIntoFocus(const QString& keys) {
        for (QChar c : keys)
            QTest::keyClick(focused(), c.toLatin1());
    }
    void pressOnFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focused(), key, modifiers);
    }

    // A balanced firm typed from the keyboard: Enter moves from box to box.
    void typeBalancedFirm(frmMyValues& screen) {
        QCOMPARE(focused(), screen.txtFirmName);
        typeIntoFocus(QStringLiteral("Boulangerie Acme"));
        const std::pair<const char*, const char*> values[] = {
            {"txtCash", "12500"},
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
            {"txtProfitAfterTax", "27000"},
        };
        QTest::mouseClick(screen.valueBox(QStringLiteral("txtCash")), Qt::LeftButton);
        for (const auto& [box, digits] : values) {
            QCOMPARE(focused()->objectName(), QLatin1String(box));
            typeIntoFocus(QLatin1String(digits));
            pressOnFocus(Qt::Key_Return);
        }
        QCOMPARE(screen.valueBox(QStringLiteral("txtTa"))->text(), QStringLiteral("395400"));
        QCOMPARE(screen.valueBox(QStringLiteral("txtTotLiabShareEq"))->text(), QStringLiteral("395400"));
    }

    frmReportViewer* compareAndCheckReport(frmMyValues& screen) {
        QToolBar* toolbar = screen.tbToolbar;
        QWidget* compare = toolbar->widgetForAction(screen.findChild<QAction*>(QStringLiteral("tbCompare")));
        if (!compare) return nullptr;
        QTest::mouseClick(compare, Qt::LeftButton);
        frmReportViewer* report = registry.existing<frmReportViewer>();
        if (!shownAndActive(report)) return nullptr;
        return report;
    }

private slots:
    void initTestCase() {
        dbs = std::make_unique<TestDatabases>();
        platform = std::make_unique<RecordingPlatform>();
        // The report screen returns at once instead of running its own loop, so that the
        // test goes on to look at it and press its return button.
        registry.setModalBlocking(false);
    }
    void cleanupTestCase() {
        registry.clear();
        platform.reset();
        dbs.reset();
    }

    void platformIsARealWindowSystem() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

    void theRoadOfOneComparison() {
        Main();
        frmStart* start = registry.existing<frmStart>();
        QVERIFY(shownAndActive(start));
        QTest::mouseClick(start->cmdFrancais, Qt::LeftButton);

        frmMenu* menu = registry.existing<frmMenu>();
        QVERIFY(shownAndActive(menu));
        QTest::mouseClick(menu->option(QStringLiteral("optNovaScotia")), Qt::LeftButton);
        QTest::mouseClick(menu->cmdSearch, Qt::LeftButton);

        frmSearch* search = registry.existing<frmSearch>();
        QVERIFY(shownAndActive(search));
        const QString naics = completeIndustry(gcnData, QStringLiteral("NS"));
        const QModelIndex node = findIndustry(search->TreeView1->model(), naics);
        QVERIFY2(node.isValid(), qPrintable(naics));
        for (QModelIndex p = node.parent(); p.isValid(); p = p.parent())
            search->TreeView1->expand(p);
        search->TreeView1->scrollTo(node);
        // On the node's text, near its start: a long title runs past the view's edge.
        const QRect nodeRect = search->TreeView1->visualRect(node);
        QTest::mouseClick(search->TreeView1->viewport(), Qt::LeftButton, {},
                          QPoint(nodeRect.left() + 30, nodeRect.center().y()));
        QCOMPARE(search->lblHiddenNaics->text(), naics);
        QCOMPARE(search->optCompareNew->text(), QString::fromUtf8("Entrer des nouvelles données"));
        QTest::mouseClick(search->optCompareNew, Qt::LeftButton);
        QTest::mouseClick(search->cmdContinue, Qt::LeftButton);

        frmMyValues* values = registry.existing<frmMyValues>();
        QVERIFY(shownAndActive(values));
        QVERIFY(!search->isVisible());
        QCOMPARE(values->windowTitle(), QString::fromUtf8("Comparer une entreprise avec Nouvelle-Écosse"));
        QCOMPARE(values->lblIndustry->text(), search->txtIndName->toPlainText());
        typeBalancedFirm(*values);

        pressOnFocus(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(platform->lastMessage(), QString::fromUtf8("Les données ont été sauvegardées."));
        QVERIFY(!values->blnDataChanged);

        frmReportViewer* report = compareAndCheckReport(*values);
        QVERIFY(report);
        QCOMPARE(report->windowTitle(), QStringLiteral("DORVA Rapport de Comparaison"));
        QString text = report->document()->toPlainText();
        QVERIFY(text.contains(QStringLiteral("Boulangerie Acme")));
        QVERIFY(text.contains(QString::fromUtf8("Marge bénéficiaire nette")));
        QTest::mouseClick(report->btnBack, Qt::LeftButton);
        QVERIFY(shownAndActive(values));
        QCOMPARE(values->txtFirmName->text(), QStringLiteral("Boulangerie Acme"));

        // A new, empty firm; then the saved one opened again from the list.
        pressOnFocus(Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(values->txtFirmName->text(), QString::fromUtf8("Entrer un nom d’entreprise ici"));
        QCOMPARE(values->valueBox(QStringLiteral("txtSales"))->text(), QStringLiteral("0"));
        pressOnFocus(Qt::Key_O, Qt::ControlModifier);
        frmOpenExisting* list = registry.existing<frmOpenExisting>();
        QVERIFY(shownAndActive(list));
        QCOMPARE(list->AdodcFirms->cellText(0, 0), QStringLiteral("Boulangerie Acme"));
        const QRect row = list->dbgFirms->visualRect(list->AdodcFirms->index(0, 0));
        QTest::mouseClick(list->dbgFirms->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list->dbgFirms->viewport(), Qt::LeftButton, {}, row.center());
        QVERIFY(shownAndActive(values));
        QVERIFY(!list->isVisible());
        QCOMPARE(values->txtFirmName->text(), QStringLiteral("Boulangerie Acme"));
        QCOMPARE(values->valueBox(QStringLiteral("txtSales"))->text(), QStringLiteral("845000"));
        QCOMPARE(values->valueBox(QStringLiteral("txtTa"))->text(), QStringLiteral("395400"));

        report = compareAndCheckReport(*values);
        QVERIFY(report);
        text = report->document()->toPlainText();
        QVERIFY(text.contains(QStringLiteral("Boulangerie Acme")));
        QTest::mouseClick(report->btnBack, Qt::LeftButton);
        QVERIFY(shownAndActive(values));

        // Every message of the road was one the user expects: the save's, nothing else.
        QStringList shown;
        for (const ShownMessage& m : platform->messages)
            shown << m.text;
        QCOMPARE(shown, QStringList{QString::fromUtf8("Les données ont été sauvegardées.")});
    }
};

int main(int argc, char** argv) {
    // The real application object, as the desktop program runs it.
    Application app(argc, argv);
    TestComparisonRoad test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_comparison_road.moc"
