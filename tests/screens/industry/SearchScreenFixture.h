#pragma once
// What the industry screen tests share: the road from the main menu to the industry
// selection screen, and the user's gestures on its tree, grid and lists.

#include "data/RecordsetTableModel.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/industry/IndustryTreeModel.h"
#include "screens/industry/frmSearch.h"
#include "screens/report/frmReportViewer.h"
#include "screens/start/frmMenu.h"
#include "state/modMain.h"
#include "support/RecordingPlatform.h"
#include "support/TestDatabases.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QTreeView>
#include <QtTest>
#include <functional>

class SearchScreenFixture {
public:
    std::unique_ptr<TestDatabases> dbs;
    std::unique_ptr<RecordingPlatform> platform;
    ScreenRegistry& registry = ScreenRegistry::instance();

    void setUp() {
        dbs = std::make_unique<TestDatabases>();
        platform = std::make_unique<RecordingPlatform>();
        registry.setModalBlocking(false);
    }
    void tearDown() {
        registry.clear();
        platform.reset();
        dbs.reset();
    }

    // The main menu in the language, a dataset chosen, Search pressed.
    frmSearch& openSearch(const char* option = "optNovaScotia", int16_t language = 0) {
        if (!modMain::gcnData) dbs->open();
        modMain::gintLanguage = language;
        frmMenu& menu = registry.get<frmMenu>();
        registry.show(menu);
        menu.option(QLatin1String(option))->click();
        QTest::mouseClick(menu.cmdSearch, Qt::LeftButton);
        frmSearch* search = registry.existing<frmSearch>();
        if (!search) qFatal("Search did not open the industry selection screen");
        return *search;
    }

    // A click on an option's round button, where a click always lands on it.
    static void choose(QRadioButton* option) {
        QTest::mouseClick(option, Qt::LeftButton, {},
                          QPoint(option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) / 2 + 1,
                                 option->height() / 2));
    }

    // The user coming back to a window from another of the program's windows.
    static void activate(QWidget& w) {
        QEvent e(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&w, &e);
    }

    // The first node, depth first, that satisfies the test.
    static QModelIndex findNode(frmSearch& s, const std::function<bool(const QModelIndex&)>& test,
                                const QModelIndex& parent = QModelIndex()) {
        QAbstractItemModel* m = s.TreeView1->model();
        for (int r = 0; r < m->rowCount(parent); ++r) {
            const QModelIndex i = m->index(r, 0, parent);
            if (test(i)) return i;
            const QModelIndex below = findNode(s, test, i);
            if (below.isValid()) return below;
        }
        return QModelIndex();
    }
    static QModelIndex nodeByKey(frmSearch& s, const QString& key) {
        return findNode(
            s, [&key](const QModelIndex& i) { return i.data(industrytreemodel::KeyRole).toString() == key; });
    }
    static QModelIndex firstIndustry(frmSearch& s) {
        return findNode(
            s, [](const QModelIndex& i) { return i.data(industrytreemodel::PictureRole).toInt() == 3; });
    }

    static void clickNode(frmSearch& s, const QModelIndex& node, bool twice = false) {
        for (QModelIndex p = node.parent(); p.isValid(); p = p.parent())
            s.TreeView1->expand(p);
        s.TreeView1->scrollTo(node);
        // On the node's text, near its start: a long title runs past the view's edge.
        const QRect r = s.TreeView1->visualRect(node);
        const QPoint at(std::min(r.left() + 30, s.TreeView1->viewport()->width() - 4), r.center().y());
        QTest::mouseClick(s.TreeView1->viewport(), Qt::LeftButton, {}, at);
        if (twice) QTest::mouseDClick(s.TreeView1->viewport(), Qt::LeftButton, {}, at);
    }

    // The industry of the first paper icon, clicked; its code.
    static QString selectFirstIndustryInTree(frmSearch& s) {
        const QModelIndex node = firstIndustry(s);
        clickNode(s, node);
        return s.lblHiddenNaics->text();
    }

    static void keywordSearch(frmSearch& s, const QString& keyword) {
        if (!s.optKeyword->isChecked()) choose(s.optKeyword);
        s.txtKeyword->setText(keyword);
        QTest::mouseClick(s.cmdKeyword, Qt::LeftButton);
    }

    static void clickRow(frmSearch& s, int row, bool twice = false) {
        const QModelIndex cell = s.adodcKeywordResults->index(row, 0);
        s.dbgridKeywordResults->scrollTo(cell);
        const QPoint at = s.dbgridKeywordResults->visualRect(cell).center();
        QTest::mouseClick(s.dbgridKeywordResults->viewport(), Qt::LeftButton, {}, at);
        if (twice) QTest::mouseDClick(s.dbgridKeywordResults->viewport(), Qt::LeftButton, {}, at);
    }

    static QStringList column(const frmSearch& s, int c) {
        QStringList out;
        for (int r = 0; r < s.adodcKeywordResults->rowCount(); ++r)
            out << s.adodcKeywordResults->cellText(r, c);
        return out;
    }

    // A pick in a drop-down list, as the user makes it.
    static void pick(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    static QStringList items(const QComboBox* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->itemText(i);
        return out;
    }

    frmReportViewer* viewer() const { return registry.existing<frmReportViewer>(); }

    // Facts of the reference data, read without the screen's code.
    static QVariant value(const QString& sql, const QVariantList& params = {}) {
        RecordsetPtr rs = GetRS(modMain::gcnData, sql, QStringLiteral("read"), params);
        return rs->eof() ? QVariant() : rs->field(0);
    }
    static QString title(const QString& naics, int language) {
        return value(QStringLiteral("select %1 from %2 where NAICS = ?")
                         .arg(language ? QStringLiteral("Description_french") : QStringLiteral("Description"),
                              modMain::gstrNAICSTable),
                     {naics})
            .toString();
    }
    static QString sector(const QString& naics, int language) {
        return value(QStringLiteral(
                         "select T.%1 from %2 N join tblTreeview T on N.Parent = T.NodeKey where N.NAICS = ?")
                         .arg(language ? QStringLiteral("IndDescF") : QStringLiteral("IndDescE"),
                              modMain::gstrNAICSTable),
                     {naics})
            .toString();
    }
    static int datasetRows() {
        return value(QStringLiteral("select count(*) from ") + modMain::gstrDataTable).toInt();
    }
};
