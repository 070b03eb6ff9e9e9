#include "screens/industry/frmSearch.h"

#include "data/DatasetOptions.h"
#include "data/RecordsetTableModel.h"
#include "firm/FirmMessages.h"
#include "industry/IndustryTree.h"
#include "industry/NaicsLists.h"
#include "platform/Platform.h"
#include "screens/common/Handlers.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/common/Widgets.h"
#include "screens/firm/frmMyValues.h"
#include "screens/firm/frmOpenExisting.h"
#include "screens/industry/IndustryTreeModel.h"
#include "screens/industry/frmIndustryDefinitions.h"
#include "screens/report/frmReportViewer.h"
#include "screens/start/frmMenu.h"
#include "state/modMain.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>
#include <iterator>
#include <numeric>

using namespace modMain;

namespace {

QGroupBox* makeFrame(const QString& name) {
    auto* f = new QGroupBox;
    f->setObjectName(name);
    return f;
}

QLabel* makeTextLabel(const QString& name) {
    QLabel* l = makeLabel(name);
    // Titles come from the database: shown as they are, never as markup.
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    return l;
}

} // namespace

frmSearch::frmSearch() {
    setObjectName(QStringLiteral("frmSearch"));
    auto* central = new QWidget;
    setCentralWidget(central);

    makeBackButton();

    // 1. Search method
    fraSearch = makeFrame(QStringLiteral("fraSearch"));
    optSearchNaics = makeOption(QStringLiteral("optSearchNaics"));
    optKeyword = makeOption(QStringLiteral("optKeyword"));
    optNAICScode = makeOption(QStringLiteral("optNAICScode"));
    optNAICSTitle = makeOption(QStringLiteral("optNAICSTitle"));
    auto* searchLayout = new QVBoxLayout(fraSearch);
    for (QRadioButton* o : {optSearchNaics, optKeyword, optNAICScode, optNAICSTitle})
        searchLayout->addWidget(o);
    optSearchNaics->setChecked(true);

    // 2. Data type
    fraDatatype = makeFrame(QStringLiteral("fraDatatype"));
    optRatios = makeOption(QStringLiteral("optRatios"));
    optBalanceSheet = makeOption(QStringLiteral("optBalanceSheet"));
    auto* datatypeLayout = new QVBoxLayout(fraDatatype);
    datatypeLayout->addWidget(optRatios);
    datatypeLayout->addWidget(optBalanceSheet);
    optRatios->setChecked(true);

    // 3. Report options: one group of three, the two comparisons under their heading.
    fraOutput = makeFrame(QStringLiteral("fraOutput"));
    optReport = makeOption(QStringLiteral("optReport"));
    lblCompare = makeLabel(QStringLiteral("lblCompare"));
    optCompareNew = makeOption(QStringLiteral("optCompareNew"));
    optCompareExisting = makeOption(QStringLiteral("optCompareExisting"));
    auto* outputLayout = new QVBoxLayout(fraOutput);
    outputLayout->addWidget(optReport);
    outputLayout->addSpacing(8);
    outputLayout->addWidget(lblCompare);
    for (QRadioButton* o : {optCompareNew, optCompareExisting}) {
        auto* line = new QHBoxLayout;
        line->addSpacing(20);
        line->addWidget(o, 1);
        outputLayout->addLayout(line);
    }
    outputLayout->addStretch();
    optReport->setChecked(true);

    cmdContinue = makeButton(QStringLiteral("cmdContinue"));

    // The four search frames share one place on the right; one is shown at a time.
    fraTreeView = makeFrame(QStringLiteral("fraTreeView"));
    Image1 = makePicture(QStringLiteral("Image1"), QStringLiteral(":/ventrolux/images/industry.svg"),
                         QSize(24, 24));
    lblDirections = makeLabel(QStringLiteral("lblDirections"));
    lblDirections->setWordWrap(true);
    TreeView1 = new QTreeView;
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setUniformRowHeights(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setIconSize(QSize(16, 16));
    // Long titles scroll sideways rather than being cut short.
    TreeView1->setTextElideMode(Qt::ElideNone);
    TreeView1->header()->setStretchLastSection(false);
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* treeLayout = new QVBoxLayout(fraTreeView);
    auto* hint = new QHBoxLayout;
    hint->addWidget(Image1);
    hint->addWidget(lblDirections, 1);
    treeLayout->addLayout(hint);
    treeLayout->addWidget(TreeView1, 1);
    fraTreeView->setMinimumHeight(px(5895));

    fraNAICScode = makeFrame(QStringLiteral("fraNAICScode"));
    cboNAICScodes = new QComboBox;
    cboNAICScodes->setObjectName(QStringLiteral("cboNAICScodes"));
    cboNAICScodes->setMaxVisibleItems(20);
    // The lists drop down to twenty items under the box, not over the whole screen.
    cboNAICScodes->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    auto* codeLayout = new QVBoxLayout(fraNAICScode);
    codeLayout->addWidget(cboNAICScodes);
    codeLayout->addStretch();
    fraNAICScode->setFixedHeight(px(1815));

    fraNAICSTitle = makeFrame(QStringLiteral("fraNAICSTitle"));
    cboNAICSTitle = new QComboBox;
    cboNAICSTitle->setObjectName(QStringLiteral("cboNAICSTitle"));
    cboNAICSTitle->setMaxVisibleItems(20);
    // The longest titles would make the list wider than its frame; the list itself
    // drops down as wide as it needs.
    cboNAICSTitle->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboNAICSTitle->setMinimumContentsLength(20);
    cboNAICSTitle->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    auto* titleLayout = new QVBoxLayout(fraNAICSTitle);
    titleLayout->addWidget(cboNAICSTitle);
    titleLayout->addStretch();
    fraNAICSTitle->setFixedHeight(px(1815));

    fraKeyword = makeFrame(QStringLiteral("fraKeyword"));
    txtKeyword = new QLineEdit;
    txtKeyword->setObjectName(QStringLiteral("txtKeyword"));
    cmdKeyword = makeButton(QStringLiteral("cmdKeyword"));
    adodcKeywordResults = new RecordsetTableModel(this);
    adodcKeywordResults->setObjectName(QStringLiteral("adodcKeywordResults"));
    dbgridKeywordResults = new QTableView;
    dbgridKeywordResults->setObjectName(QStringLiteral("dbgridKeywordResults"));
    dbgridKeywordResults->setModel(adodcKeywordResults);
    dbgridKeywordResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgridKeywordResults->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgridKeywordResults->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgridKeywordResults->verticalHeader()->hide();
    dbgridKeywordResults->setWordWrap(false);
    dbgridKeywordResults->verticalHeader()->setDefaultSectionSize(
        dbgridKeywordResults->fontMetrics().height() + 6);
    auto* keywordLayout = new QVBoxLayout(fraKeyword);
    auto* keywordLine = new QHBoxLayout;
    keywordLine->addWidget(txtKeyword, 1);
    keywordLine->addWidget(cmdKeyword);
    keywordLayout->addLayout(keywordLine);
    keywordLayout->addWidget(dbgridKeywordResults, 1);
    keywordLayout->addStretch(); // keeps the keyword line at the top while the grid is hidden
    fraKeyword->setMinimumHeight(px(5895));

    // The selection.
    lblIndustryInfo = makeLabel(QStringLiteral("lblIndustryInfo"), QString(), true);
    lblCategory = makeTextLabel(QStringLiteral("lblCategory"));
    lblNAICSCode = makeTextLabel(QStringLiteral("lblNAICSCode"));
    // The selection lines keep their place while nothing is selected; the longest sector
    // titles take two lines, and the screen does not move when one is shown.
    lblCategory->setMinimumHeight(lblCategory->fontMetrics().lineSpacing() * 2);
    lblCategory->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblNAICSCode->setMinimumHeight(lblNAICSCode->fontMetrics().height());
    txtIndName = new QPlainTextEdit;
    txtIndName->setObjectName(QStringLiteral("txtIndName"));
    txtIndName->setReadOnly(true);
    lblIndustryInfo->setBuddy(txtIndName);
    txtIndName->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtIndName->setFixedHeight(txtIndName->fontMetrics().lineSpacing() * 2 + 2 * txtIndName->frameWidth() +
                               2 * static_cast<int>(txtIndName->document()->documentMargin()) + 2);
    lblHiddenNaics = makeLabel(QStringLiteral("lblHiddenNaics"));
    lblHiddenNaics->setParent(central);
    lblHiddenNaics->hide();

    // Layout: back button top right; the three numbered frames on the left, the search
    // place on the right; under them the heading, Continue and the selection.
    auto* top = new QHBoxLayout;
    top->addStretch();
    top->addWidget(btnBack);

    auto* left = new QVBoxLayout;
    left->addWidget(fraSearch);
    left->addWidget(fraDatatype);
    left->addWidget(fraOutput, 1);

    auto* searchPlace = new QGridLayout;
    searchPlace->setContentsMargins(0, 0, 0, 0);
    searchPlace->addWidget(fraTreeView, 0, 0);
    searchPlace->addWidget(fraKeyword, 0, 0);
    searchPlace->addWidget(fraNAICScode, 0, 0, Qt::AlignTop);
    searchPlace->addWidget(fraNAICSTitle, 0, 0, Qt::AlignTop);
    fraKeyword->hide();
    fraNAICScode->hide();
    fraNAICSTitle->hide();

    auto* middle = new QHBoxLayout;
    middle->addLayout(left, px(4815));
    middle->addLayout(searchPlace, px(5295));

    auto* selection = new QGridLayout;
    selection->addWidget(lblIndustryInfo, 0, 0, Qt::AlignTop);
    selection->addWidget(cmdContinue, 1, 0, Qt::AlignTop);
    selection->addWidget(lblCategory, 0, 1);
    selection->addWidget(lblNAICSCode, 1, 1);
    selection->addWidget(txtIndName, 2, 1);
    selection->setColumnMinimumWidth(0, px(2535));
    selection->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(central);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(selection);
    central->setMinimumSize(px(10440), px(8010) - px(480));

    buildMenus();

    // The four ways to search, in one table: what each shows, fills and presses on Enter.
    modes_ = {
        {optSearchNaics, fraTreeView, &frmSearch::subLoadTreeView, DefaultRule::Unchanged},
        {optNAICScode, fraNAICScode, &frmSearch::subPopulateNAICScodes, DefaultRule::NoDefault},
        {optNAICSTitle, fraNAICSTitle, &frmSearch::subPopulateNAICSTitles, DefaultRule::NoDefault},
        {optKeyword, fraKeyword, nullptr, DefaultRule::Keyword},
    };
    for (size_t i = 0; i < modes_.size(); ++i)
        onEvent(modes_[i].option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) switchMode(modes_[i]);
        });

    addCaptions({
        {fraSearch, 404},
        {optSearchNaics, 518},
        {optKeyword, 38},
        {optNAICScode, 50},
        {optNAICSTitle, 506},
        {fraDatatype, 396},
        {optRatios, 422},
        {optBalanceSheet, 424},
        {fraOutput, 508},
        {optReport, 510},
        {lblCompare, 512},
        {optCompareNew, 514},
        {optCompareExisting, 516},
        {fraTreeView, 518},
        {lblDirections, 520},
        {fraKeyword, 38},
        {cmdKeyword, 44},
        {fraNAICSTitle, 506},
        {fraNAICScode, 50},
        {lblIndustryInfo, 522},
        {cmdContinue, 18},
        {mnuFile, 496},
        {mnuReturn, 498},
        {mnuView, 460},
        {mnuDefinition, 334},
        // What a screen reader says of the lists, each named by the heading of its frame.
        {TreeView1, 518, CaptionKind::Name},
        {TreeView1, "search.tree.description", CaptionKind::Description},
        {txtKeyword, 38, CaptionKind::Name},
        {dbgridKeywordResults, 38, CaptionKind::Name},
        {dbgridKeywordResults, "search.results.description", CaptionKind::Description},
        {cboNAICScodes, 50, CaptionKind::Name},
        {cboNAICSTitle, 506, CaptionKind::Name},
    });

    // Either data type asks for the industry's own report.
    for (QRadioButton* o : {optRatios, optBalanceSheet})
        onEvent(o, &QRadioButton::clicked, this, [this] { optReport->setChecked(true); });

    onEvent(cmdContinue, &QPushButton::clicked, this, [this] { cmdContinue_Click(); });
    onEvent(cmdKeyword, &QPushButton::clicked, this, [this] { cmdKeyword_Click(); });
    onEvent(cboNAICScodes, &QComboBox::activated, this, [this] { cboNAICScodes_Click(); });
    onEvent(cboNAICSTitle, &QComboBox::activated, this, [this] { cboNAICSTitle_Click(); });
    onEvent(TreeView1, &QTreeView::clicked, this, [this] { TreeView1_Click(); });
    onEvent(TreeView1, &QTreeView::doubleClicked, this, [this] { TreeView1_DblClick(); });
    onEvent(dbgridKeywordResults, &QTableView::clicked, this, [this] { dbgridKeywordResults_Click(); });
    onEvent(dbgridKeywordResults, &QTableView::doubleClicked, this,
            [this] { dbgridKeywordResults_DblClick(); });
    // From the keyboard: Enter or Space chooses the industry of the row (or opens and
    // closes a folder of the tree), as a click does.
    chooseRowsByKey(TreeView1, [this] { chooseTreeRowByKey(); });
    chooseRowsByKey(dbgridKeywordResults, [this] { dbgridKeywordResults_Click(); });

    // The steps in their numbered order: the method, where the industry is found, the data
    // type, the report option, Continue; then the selection and Back.
    QWidget* chain[] = {
        optSearchNaics, optKeyword,           optNAICScode,       optNAICSTitle, TreeView1,  txtKeyword,
        cmdKeyword,     dbgridKeywordResults, cboNAICScodes,      cboNAICSTitle, optRatios,  optBalanceSheet,
        optReport,      optCompareNew,        optCompareExisting, cmdContinue,   txtIndName, btnBack};
    for (size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    setDefaultButton(cmdContinue);
    subLoadCaptions();
}

void frmSearch::buildMenus() {
    mnuFile = makeMenu(menuBar(), QStringLiteral("mnuFile"));
    mnuReturn = makeMenuEntry(mnuFile, QStringLiteral("mnuReturn"), QKeySequence(Qt::CTRL | Qt::Key_R));
    // The industry selection's Exit has no Ctrl+X of its own.
    makeExitEntry(mnuFile, false);
    mnuView = makeMenu(menuBar(), QStringLiteral("mnuView"));
    mnuDefinition =
        makeMenuEntry(mnuView, QStringLiteral("mnuDefinition"), QKeySequence(Qt::CTRL | Qt::Key_D));
    makeLanguageAndHelpMenus();

    onEvent(mnuReturn, &QAction::triggered, this, [this] { mnuReturn_Click(); });
    onEvent(mnuDefinition, &QAction::triggered, this, [this] { mnuDefinition_Click(); });
}

void frmSearch::Form_Load() {
    centreOnScreen();
}

void frmSearch::Form_Activate(navigation::Arrival arrival) {
    // Kept: back from a window that covered it or from the firm values screen, the user
    // finds the mode, lists and selection as they were.
    if (arrival == navigation::Arrival::Keep) return;
    subLoadCaptions();
    subInitialize();
    subLoadTreeView();
}

bool frmSearch::Form_QueryUnload() {
    return confirmExit();
}

bool frmSearch::hasSelection() const {
    return !lblNAICSCode->text().isEmpty();
}

void frmSearch::subInitialize() {
    TreeView1->setVisible(true);
    fraKeyword->hide();
    fraNAICScode->hide();
    fraNAICSTitle->hide();
    optSearchNaics->setChecked(true);
    txtKeyword->clear();
    dbgridKeywordResults->hide();
    clearSelection();
}

void frmSearch::subLoadCaptions() {
    setWindowTitle(Txt("search.title").arg(gstrDatasetCaption));
    Screen::subLoadCaptions();
}

QWidget* frmSearch::firstFocus() const {
    // Step 1, the way to search, at the way chosen.
    for (const SearchMode& mode : modes_)
        if (mode.option->isChecked()) return mode.option;
    return optSearchNaics;
}

void frmSearch::switchMode(const SearchMode& mode) {
    if (mode.fill) (this->*mode.fill)();
    for (const SearchMode& other : modes_)
        if (other.frame != mode.frame) other.frame->hide();
    mode.frame->show();
    switch (mode.defaultRule) {
    case DefaultRule::Unchanged:
        break;
    case DefaultRule::NoDefault:
        setDefaultButton(nullptr);
        break;
    case DefaultRule::Keyword:
        setDefaultButton(cmdKeyword);
        txtKeyword->clear();
        txtKeyword->setFocus();
        break;
    }
    clearSelection();
}

void frmSearch::setDefaultButton(QPushButton* button) {
    for (QPushButton* b : {cmdContinue, cmdKeyword})
        b->setDefault(b == button);
}

void frmSearch::setSelection(const QString& sector, const QString& naics, const QString& title) {
    lblCategory->setText(Txt(524) + QStringLiteral(": ") + sector);
    lblNAICSCode->setText(Txt(408) + QStringLiteral(": ") + naics);
    txtIndName->setPlainText(title);
    lblHiddenNaics->setText(naics);
}

void frmSearch::clearSelection() {
    lblCategory->clear();
    lblNAICSCode->clear();
    txtIndName->clear();
    lblHiddenNaics->clear();
}

void frmSearch::subLookupNewLanguage(const QString& strNAICS) {
    lookupInLanguage(strNAICS);
}

bool frmSearch::lookupInLanguage(const QString& naics) {
    const std::optional<naicslists::Industry> industry =
        naicslists::byCode(gcnData, gstrDataTable, gstrNAICSTable, naics, modMain::language());
    if (!industry) {
        // A code the dataset does not hold leaves nothing selected, rather than ending the program.
        clearSelection();
        return false;
    }
    lblCategory->setText(Txt(524) + QStringLiteral(": ") + industry->sector);
    lblNAICSCode->setText(naicslists::relabelCodeLine(lblNAICSCode->text(), modMain::language()));
    txtIndName->setPlainText(industry->title);
    return true;
}

void frmSearch::subLoadTreeView() {
    const industrytree::Tree tree =
        industrytree::build(gcnData, gstrNAICSTable, gstrDataTable, modMain::language());
    // The model is filled completely before the view sees it, so the view lays out once.
    QStandardItemModel* model = industrytreemodel::build(tree, this);
    QItemSelectionModel* oldSelection = TreeView1->selectionModel();
    TreeView1->setModel(model);
    delete oldSelection;
    delete treeModel;
    treeModel = model;
    // The smallest step per level that still leaves room for the open/close arrows.
    TreeView1->setIndentation(14);
}

void frmSearch::subPopulateNAICScodes() {
    cboNAICScodes->clear();
    cboNAICScodes->addItems(naicslists::codes(gcnData, gstrDataTable));
    cboNAICScodes->setCurrentIndex(-1);
}

void frmSearch::subPopulateNAICSTitles() {
    const QStringList titles =
        naicslists::titles(gcnData, gstrDataTable, gstrNAICSTable, modMain::language());
    cboNAICSTitle->clear();
    cboNAICSTitle->addItems(titles);
    cboNAICSTitle->setCurrentIndex(-1);
    // The open list is as wide as its longest title, so that no title is cut short. Only
    // the titles with the most characters are measured: measuring thousands of titles
    // would take longer than filling the list.
    std::vector<qsizetype> longest(static_cast<size_t>(titles.size()));
    std::iota(longest.begin(), longest.end(), 0);
    const size_t measured = std::min<size_t>(longest.size(), 25);
    std::partial_sort(longest.begin(), longest.begin() + static_cast<std::ptrdiff_t>(measured), longest.end(),
                      [&titles](qsizetype a, qsizetype b) { return titles[a].size() > titles[b].size(); });
    const QFontMetrics metrics(cboNAICSTitle->view()->font());
    int widest = 0;
    for (size_t i = 0; i < measured; ++i)
        widest = std::max(widest, metrics.horizontalAdvance(titles[longest[i]]));
    cboNAICSTitle->view()->setMinimumWidth(widest + 2 * metrics.averageCharWidth() +
                                           cboNAICSTitle->view()->verticalScrollBar()->sizeHint().width());
}

void frmSearch::subFormatGrid() {
    // 630, 2500 and 2500 twips; the code column at least as wide as its heading and a code.
    const int dpi = dbgridKeywordResults->logicalDpiX();
    const auto width = [dpi](int twips) { return twips * dpi / 1440; };
    const QFontMetrics header(dbgridKeywordResults->horizontalHeader()->font());
    const QFontMetrics cells(dbgridKeywordResults->font());
    const QString heading = adodcKeywordResults->headerData(0, Qt::Horizontal).toString();
    const int codeWidth = std::max({width(630), header.horizontalAdvance(heading) + 16,
                                    cells.horizontalAdvance(QStringLiteral("000000")) + 12});
    dbgridKeywordResults->setColumnWidth(0, codeWidth);
    dbgridKeywordResults->setColumnWidth(1, width(2500));
    dbgridKeywordResults->setColumnWidth(2, width(2500));
}

void frmSearch::cmdKeyword_Click() {
    RecordsetPtr rs = naicslists::keywordResults(gcnData, gstrDataTable, gstrNAICSTable, txtKeyword->text(),
                                                 modMain::language());
    adodcKeywordResults->setRecordset(rs);
    if (rs->recordCount() > 0) {
        subFormatGrid();
        dbgridKeywordResults->show();
        // The user goes on in the results, on their first row, which nothing chooses yet.
        dbgridKeywordResults->setFocus(Qt::OtherFocusReason);
        dbgridKeywordResults->selectionModel()->setCurrentIndex(adodcKeywordResults->index(0, 0),
                                                                QItemSelectionModel::NoUpdate);
        return;
    }
    MsgBox(Txt("search.keyword.noMatch"), MsgButtons::OK, MsgIcon::None);
}

void frmSearch::cboNAICScodes_Click() {
    const QString code = cboNAICScodes->currentText();
    if (code.isEmpty()) return;
    if (!lookupInLanguage(code)) return;
    lblNAICSCode->setText(Txt(408) + QStringLiteral(": ") + code);
    lblHiddenNaics->setText(code);
}

void frmSearch::cboNAICSTitle_Click() {
    const QString title = cboNAICSTitle->currentText();
    if (title.isEmpty()) return;
    const std::optional<naicslists::Industry> industry =
        naicslists::byTitle(gcnData, gstrDataTable, gstrNAICSTable, title, modMain::language());
    if (!industry) {
        clearSelection();
        return;
    }
    setSelection(industry->sector, industry->naics, industry->title);
}

void frmSearch::selectTreeNode(bool thenContinue) {
    const QModelIndexList selected =
        TreeView1->selectionModel() ? TreeView1->selectionModel()->selectedIndexes() : QModelIndexList();
    if (selected.isEmpty()) return;
    const QModelIndex node = selected.first();
    if (node.data(industrytreemodel::PictureRole).toInt() !=
        static_cast<int>(industrytree::Picture::Industry))
        return;
    const QString naics = industrytree::naicsOfKey(node.data(industrytreemodel::KeyRole).toString());
    setSelection(node.parent().data(Qt::DisplayRole).toString(), naics,
                 node.data(Qt::DisplayRole).toString());
    if (thenContinue) cmdContinue_Click();
}

void frmSearch::chooseTreeRowByKey() {
    const QModelIndex node = TreeView1->currentIndex();
    if (node.data(industrytreemodel::PictureRole).toInt() ==
        static_cast<int>(industrytree::Picture::Industry))
        selectTreeNode(false);
    else
        TreeView1->setExpanded(node, !TreeView1->isExpanded(node));
}

void frmSearch::TreeView1_Click() {
    selectTreeNode(false);
}
void frmSearch::TreeView1_DblClick() {
    selectTreeNode(true);
}

void frmSearch::selectGridRow(bool thenContinue) {
    const QModelIndex current = dbgridKeywordResults->currentIndex();
    if (!current.isValid() || adodcKeywordResults->rowCount() == 0) return;
    const int row = current.row();
    setSelection(adodcKeywordResults->cellText(row, 2), adodcKeywordResults->cellText(row, 0),
                 adodcKeywordResults->cellText(row, 1));
    if (thenContinue) cmdContinue_Click();
}

void frmSearch::dbgridKeywordResults_Click() {
    selectGridRow(false);
}
void frmSearch::dbgridKeywordResults_DblClick() {
    selectGridRow(true);
}

void frmSearch::cmdContinue_Click() {
    if (!hasSelection()) {
        MsgBox(Txt("search.continue.noIndustry"), MsgButtons::OK, MsgIcon::Exclamation);
    } else if (optReport->isChecked()) {
        const QString kind = optRatios->isChecked()         ? QStringLiteral("rat")
                             : optBalanceSheet->isChecked() ? QStringLiteral("bal")
                                                            : QString();
        ScreenRegistry::instance().get<frmReportViewer>().DisplayCrystalReport(
            gcnData, gcnMyData, kind, gintVolume, gstrRegion, static_cast<int16_t>(datasets::kCurrentYear),
            lblHiddenNaics->text(), language::letter(modMain::language()), QStringList());
    } else {
        ScreenRegistry& registry = ScreenRegistry::instance();
        if (optCompareNew->isChecked()) {
            registry.move(*this, registry.get<frmMyValues>(), navigation::Move::EnterNewData);
        } else {
            // The list is filled before it is shown, and shown only when it has a firm.
            frmOpenExisting& list = registry.get<frmOpenExisting>();
            if (list.fncLoadFirms()) {
                registry.show(list, navigation::Move::CoverOpened);
                list.restoreNormalState();
            } else {
                MsgBox(firmmessages::text(firmmessages::Message::NoRecordsFound, modMain::language()),
                       MsgButtons::OK, MsgIcon::None);
            }
        }
    }
    restoreNormalState();
}

void frmSearch::mnuDefinition_Click() {
    if (hasSelection()) {
        subOpenIndustryDef(lblHiddenNaics->text());
        return;
    }
    MsgBox(Txt(556), MsgButtons::OK, MsgIcon::Exclamation);
}

void frmSearch::followLanguage() {
    subLoadTreeView();
    subPopulateNAICSTitles();
    dbgridKeywordResults->hide();
    txtKeyword->clear();
    if (!lblNAICSCode->text().trimmed().isEmpty()) subLookupNewLanguage(lblHiddenNaics->text());
    subLoadCaptions();
}

void frmSearch::mnuReturn_Click() {
    ScreenRegistry& registry = ScreenRegistry::instance();
    registry.move(*this, registry.get<frmMenu>(), navigation::Move::ReturnToMainMenu);
}

void frmSearch::btnBack_Click() {
    mnuReturn_Click();
}
