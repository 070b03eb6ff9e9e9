// The firm values screen: its controls and layout, captions, activation, menus, the
// language switch and the returns. The commands on the values are in
// frmMyValuesCommands.cpp.

#include "screens/firm/frmMyValues.h"

#include "firm/EntryOrder.h"
#include "screens/common/Handlers.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/common/Widgets.h"
#include "screens/firm/CaptionLinks.h"
#include "screens/firm/ValueBoxFilter.h"
#include "screens/firm/frmOfficeDatabase.h"
#include "screens/industry/frmIndustryDefinitions.h"
#include "screens/industry/frmSearch.h"
#include "screens/start/frmMenu.h"
#include "state/RecordsPlace.h"
#include "state/modMain.h"
#include "text/StringTable.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include <optional>

using namespace modMain;

namespace {

constexpr int kPromptEntry = 544;

// The computed boxes: read-only, bold dark blue on light grey.
const QColor kComputedBackground(224, 224, 224);
const QColor kComputedText(0, 0, 128);

// The group heading over each section's first line, by its string-table entry.
int headingEntry(lineitems::Section section) {
    switch (section) {
    case lineitems::Section::Assets:
        return 150;
    case lineitems::Section::Income:
        return 294;
    case lineitems::Section::LiabilitiesEquity:
        return 170;
    case lineitems::Section::CurrentTotals:
        return 0; // the current totals follow the liabilities and equity without a heading
    }
    return 0;
}

} // namespace

frmMyValues::frmMyValues() {
    setObjectName(QStringLiteral("frmMyValues"));
    setCentralWidget(new QWidget);

    txtFirmName = new QLineEdit;
    txtFirmName->setObjectName(QStringLiteral("txtFirmName"));
    lblFirmName = makeLabel(QStringLiteral("lblFirmName"));
    cboYear = new QComboBox;
    cboYear->setObjectName(QStringLiteral("cboYear"));
    // Only the listed reference years can be chosen.
    cboYear->setEditable(false);
    lblYear = makeLabel(QStringLiteral("lblYear"));
    // Each box is named by the caption over it or beside it ("labelled by" for a screen reader).
    lblFirmName->setBuddy(txtFirmName);
    lblYear->setBuddy(cboYear);
    lblIndustry = makeLabel(QStringLiteral("lblIndustry"), QString(), true);
    lblIndustry->setAlignment(Qt::AlignCenter);
    lblIndustry->setWordWrap(true);
    // An industry title comes from the database: shown as it is, never as markup.
    lblIndustry->setTextFormat(Qt::PlainText);
    lblNAICS = makeLabel(QStringLiteral("lblNAICS"));
    lblNAICS->hide();
    lblDataTableToCompare = makeLabel(QStringLiteral("lblDataTableToCompare"));
    lblDataTableToCompare->hide();
    lblAsset = makeLabel(QStringLiteral("lblAsset"), QString(), true);
    lblIncome = makeLabel(QStringLiteral("lblIncome"), QString(), true);
    lblLiabEq = makeLabel(QStringLiteral("lblLiabEq"), QString(), true);

    makeBackButton();

    boxFilter_ = new ValueBoxFilter(*this);
    captionLinks_ = new CaptionLinks(this);
    buildValueBoxes();
    buildToolbar();
    buildMenus();
    buildLayout();

    // A name the user types or changes is a change of the firm; the program's own
    // writes (the prompt of a language switch or a reset) are not.
    onEvent(txtFirmName, &QLineEdit::textEdited, this, [this] { blnDataChanged = true; });
    onEvent(cboYear, &QComboBox::currentTextChanged, this, [this] { blnDataChanged = true; });
    boxFilter_->watchShortcutsOf(txtFirmName);

    // Tab visits the name, the year, then the 32 boxes in their order.
    QWidget* previous = cboYear;
    setTabOrder(txtFirmName, cboYear);
    for (int i : entryorder::tabOrder()) {
        setTabOrder(previous, valueBox(i));
        previous = valueBox(i);
    }
    setTabOrder(previous, btnBack);

    subLoadCaptions();
}

frmMyValues::~frmMyValues() {
    // The boxes outlive this part of the screen while Qt destroys its children; the
    // filters must not see their last events (a focus lost on the way out).
    for (QLineEdit* box : txtValues)
        box->removeEventFilter(boxFilter_);
    txtFirmName->removeEventFilter(boxFilter_);
    for (QLabel* caption : lblCaptions)
        caption->removeEventFilter(captionLinks_);
}

void frmMyValues::buildValueBoxes() {
    const auto items = lineitems::all();
    const int width = QFontMetrics(font()).horizontalAdvance(QStringLiteral("-9999999999999999")) + 12;
    for (int i = 0; i < lineitems::kCount; ++i) {
        const lineitems::LineItem& item = items[i];
        auto* box = new QLineEdit(QStringLiteral("0"));
        box->setObjectName(QLatin1String(item.textBox));
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(width);
        if (item.kind == lineitems::Kind::Computed) {
            box->setReadOnly(true);
            // Read, not typed into: out of the Tab order; Enter still passes through it.
            box->setFocusPolicy(Qt::NoFocus);
            QFont bold = box->font();
            bold.setBold(true);
            box->setFont(bold);
            QPalette colours = box->palette();
            for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
                colours.setColor(group, QPalette::Base, kComputedBackground);
                colours.setColor(group, QPalette::Text, kComputedText);
            }
            box->setPalette(colours);
        }
        box->installEventFilter(boxFilter_);
        // Every change of a value, typed or computed, is a change of the firm.
        onEvent(box, &QLineEdit::textChanged, this, [this] { blnDataChanged = true; });
        txtValues[static_cast<size_t>(i)] = box;

        QLabel* caption = makeLabel(QLatin1String(item.captionLabel));
        caption->setBuddy(box);
        addCaptions({{box, "firm.value.description", CaptionKind::Description}});
        captionLinks_->link(caption);
        lblCaptions[static_cast<size_t>(i)] = caption;
    }
}

void frmMyValues::buildToolbar() {
    tbToolbar = new QToolBar;
    tbToolbar->setObjectName(QStringLiteral("tbToolbar"));
    tbToolbar->setIconSize(QSize(24, 24));
    tbToolbar->setMovable(false);
    tbToolbar->setFloatable(false);
    struct Button {
        const char* name;
        const char* picture;
        const char* toolTip; // also the button's name for a screen reader
        void (frmMyValues::*command)();
    };
    static const Button buttons[] = {
        {"tbNew", "new", "firm.toolbar.new", &frmMyValues::subStart_New_Firm_Record},
        {"tbOpen", "open", "firm.toolbar.open", &frmMyValues::subOpen_Existing_Firm_Record},
        {"tbSave", "save", "firm.toolbar.save", &frmMyValues::saveWithQuestion},
        {"tbDelete", "delete", "firm.toolbar.delete", &frmMyValues::subDelete_Firm_Record},
        {nullptr, nullptr, nullptr, nullptr}, // the separator
        {"tbCompare", "compare", "firm.toolbar.compare", &frmMyValues::subView_Comparison_Report},
        {"tbClearAll", "clear", "firm.toolbar.clearAll", &frmMyValues::subSetAllValuesToZero},
    };
    for (const Button& b : buttons) {
        if (!b.name) {
            tbToolbar->addSeparator();
            continue;
        }
        QAction* action = tbToolbar->addAction(
            QIcon(QStringLiteral(":/ventrolux/images/%1.svg").arg(QLatin1String(b.picture))), QString());
        action->setObjectName(QLatin1String(b.name));
        addCaptions({{action, b.toolTip, CaptionKind::ToolTip}});
        const auto command = b.command;
        onEvent(action, &QAction::triggered, this, [this, command] { (this->*command)(); });
    }
}

void frmMyValues::saveWithQuestion() {
    // Save from the toolbar or the menu asks before it replaces a stored record.
    bool blnSkipWarningMessages = false;
    subSave_Firm_Record(blnSkipWarningMessages);
}

void frmMyValues::buildMenus() {
    mnuFile = makeMenu(menuBar(), QStringLiteral("mnuFile"));
    mnuNew = makeMenuEntry(mnuFile, QStringLiteral("mnuNew"), QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuSave = makeMenuEntry(mnuFile, QStringLiteral("mnuSave"), QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuOpen = makeMenuEntry(mnuFile, QStringLiteral("mnuOpen"), QKeySequence(Qt::CTRL | Qt::Key_O));
    // The toolbar's Delete and Clear all data, from the keyboard too.
    mnuDelete = makeMenuEntry(mnuFile, QStringLiteral("mnuDelete"),
                              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete));
    mnuClearAll = makeMenuEntry(mnuFile, QStringLiteral("mnuClearAll"), QKeySequence(Qt::CTRL | Qt::Key_L));
    mnuFile->addSeparator();
    mnuImport = makeMenuEntry(mnuFile, QStringLiteral("mnuImport"), QKeySequence(Qt::CTRL | Qt::Key_M));
    mnuExport = makeMenuEntry(mnuFile, QStringLiteral("mnuExport"), QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuOfficeDatabase = makeMenuEntry(mnuFile, QStringLiteral("mnuOfficeDatabase"), QKeySequence());
    mnuFile->addSeparator();
    mnuReturn = makeMenuEntry(mnuFile, QStringLiteral("mnuReturn"), QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuReturnSearch =
        makeMenuEntry(mnuFile, QStringLiteral("mnuReturnSearch"), QKeySequence(Qt::CTRL | Qt::Key_B));
    mnuFile->addSeparator();
    makeExitEntry(mnuFile, true);
    mnuView = makeMenu(menuBar(), QStringLiteral("mnuView"));
    mnuDefinition =
        makeMenuEntry(mnuView, QStringLiteral("mnuDefinition"), QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuReport = makeMenuEntry(mnuView, QStringLiteral("mnuReport"), QKeySequence(Qt::CTRL | Qt::Key_I));
    mnuTrend = makeMenuEntry(mnuView, QStringLiteral("mnuTrend"), QKeySequence(Qt::CTRL | Qt::Key_H));
    makeLanguageAndHelpMenus();

    onEvent(mnuNew, &QAction::triggered, this, [this] { subStart_New_Firm_Record(); });
    onEvent(mnuSave, &QAction::triggered, this, [this] { saveWithQuestion(); });
    onEvent(mnuOpen, &QAction::triggered, this, [this] { subOpen_Existing_Firm_Record(); });
    onEvent(mnuDelete, &QAction::triggered, this, [this] { subDelete_Firm_Record(); });
    onEvent(mnuClearAll, &QAction::triggered, this, [this] { subSetAllValuesToZero(); });
    onEvent(mnuImport, &QAction::triggered, this, [this] { subImport_Firm(); });
    onEvent(mnuExport, &QAction::triggered, this, [this] { subExport_Firm(); });
    onEvent(mnuOfficeDatabase, &QAction::triggered, this, [this] { mnuOfficeDatabase_Click(); });
    onEvent(mnuReturn, &QAction::triggered, this, [this] { mnuReturn_Click(); });
    onEvent(mnuReturnSearch, &QAction::triggered, this, [this] { mnuReturnSearch_Click(); });
    onEvent(mnuDefinition, &QAction::triggered, this, [this] { mnuDefinition_Click(); });
    onEvent(mnuReport, &QAction::triggered, this, [this] { subView_Comparison_Report(); });
    onEvent(mnuTrend, &QAction::triggered, this, [this] { subView_Trend_Report(); });

    addCaptions({
        {mnuFile, 496},
        {mnuNew, 532},
        {mnuSave, 536},
        {mnuOpen, 528},
        {mnuDelete, "firm.toolbar.delete"},
        {mnuClearAll, "firm.toolbar.clearAll"},
        {mnuImport, 808},
        {mnuExport, 810},
        {mnuOfficeDatabase, 860},
        {mnuReturn, 498},
        {mnuReturnSearch, 558},
        {mnuView, 460},
        {mnuDefinition, 334},
        {mnuReport, 540},
        {mnuTrend, 900},
    });
}

void frmMyValues::buildLayout() {
    QWidget* central = centralWidget();
    lblNAICS->setParent(central);
    lblDataTableToCompare->setParent(central);

    auto* top = new QHBoxLayout;
    top->addWidget(tbToolbar, 1);
    top->addWidget(btnBack, 0, Qt::AlignTop);

    // Two columns of caption and box pairs, one pair a line: assets, then the income
    // statement, on the left; liabilities and equity, then the current totals, on the right.
    QGridLayout* columns[2] = {new QGridLayout, new QGridLayout};
    // Above them the name box (left) and the year box (right), each over its column.
    columns[0]->addWidget(lblFirmName, 0, 0, 1, 2);
    columns[0]->addWidget(txtFirmName, 1, 0, 1, 2);
    columns[1]->addWidget(lblYear, 0, 0, 1, 2);
    columns[1]->addWidget(cboYear, 1, 0, 1, 2, Qt::AlignLeft);
    int rows[2] = {2, 2};
    const auto items = lineitems::all();
    std::optional<lineitems::Section> section;
    for (int i : entryorder::tabOrder()) {
        const lineitems::LineItem& item = items[i];
        const int side =
            item.section == lineitems::Section::Assets || item.section == lineitems::Section::Income ? 0 : 1;
        QGridLayout* column = columns[side];
        if (item.section != section) {
            // A new group: a gap after what stands above it, then its heading.
            section = item.section;
            column->setRowMinimumHeight(rows[side]++, 10);
            if (QLabel* heading = groupHeading(item.section))
                column->addWidget(heading, rows[side]++, 0, 1, 2);
        }
        column->addWidget(captionLabel(i), rows[side], 0);
        column->addWidget(valueBox(i), rows[side], 1);
        ++rows[side];
    }
    for (QGridLayout* column : columns) {
        column->setColumnStretch(0, 1);
        column->setHorizontalSpacing(10);
        column->setVerticalSpacing(3);
        column->setRowStretch(column->rowCount(), 1);
    }
    auto* body = new QHBoxLayout;
    body->addLayout(columns[0], 1);
    body->addSpacing(24);
    body->addLayout(columns[1], 1);

    auto* layout = new QVBoxLayout(central);
    layout->addLayout(top);
    layout->addWidget(lblIndustry);
    layout->addSpacing(6);
    layout->addLayout(body, 1);
}

QLabel* frmMyValues::groupHeading(lineitems::Section section) const {
    switch (section) {
    case lineitems::Section::Assets:
        return lblAsset;
    case lineitems::Section::Income:
        return lblIncome;
    case lineitems::Section::LiabilitiesEquity:
        return lblLiabEq;
    case lineitems::Section::CurrentTotals:
        return nullptr;
    }
    return nullptr;
}

void frmMyValues::Form_Load() {
    centreOnScreen();
    blnDataChanged = false;
    subLoadToolbarToolTip();
    // Shown for the first time by the list of saved firms, the screen has its years
    // already, so that the loaded year is one of them.
    subFillYears(cboYear);
}

void frmMyValues::Form_Activate(navigation::Arrival arrival) {
    // Kept: back from the report, a definition, the About screen or the list of saved
    // firms, the user finds the firm as it was, saved or not.
    if (arrival == navigation::Arrival::Keep) return;
    subFillYears(cboYear);
    subInitializeValues();
    subLoadCaptions();
    focusWholeText(txtFirmName);
}

bool frmMyValues::Form_QueryUnload() {
    return confirmExit();
}

bool frmMyValues::fncMayDropWork() {
    return fncMayDropFirm(firmmessages::SaveAsker::New);
}

frmSearch& frmMyValues::industrySelection() const {
    return ScreenRegistry::instance().get<frmSearch>();
}

void frmMyValues::subLoadCaptions() {
    // A prompt of either language follows the language; a typed name stays.
    const QString name = txtFirmName->text();
    if (name == strings::text(kPromptEntry, Language::E) || name == strings::text(kPromptEntry, Language::F))
        txtFirmName->setText(Txt(kPromptEntry));
    setWindowTitle(Txt(546) + QStringLiteral(" ") + gstrDatasetCaption + RecordsTitleSuffix());
    lblFirmName->setText(Txt(kPromptEntry));
    frmSearch& search = industrySelection();
    lblIndustry->setText(search.txtIndName->toPlainText());
    lblYear->setText(Txt(274));
    for (auto group :
         {lineitems::Section::Assets, lineitems::Section::Income, lineitems::Section::LiabilitiesEquity})
        groupHeading(group)->setText(Txt(headingEntry(group)));
    for (int i = 0; i < lineitems::kCount; ++i)
        captionLabel(i)->setText(Txt(lineitems::all()[i].captionEntry));
    lblNAICS->setText(search.lblHiddenNaics->text());
    lblDataTableToCompare->setText(gstrDataTable);
    Screen::subLoadCaptions();
}

void frmMyValues::subLoadToolbarToolTip() {
    // The toolbar's tool tips are captions of the screen's table, loaded with the others.
    Screen::subLoadCaptions();
}

QWidget* frmMyValues::firstFocus() const {
    return txtFirmName;
}

void frmMyValues::followLanguage() {
    subLoadCaptions();
    subLoadToolbarToolTip();
}

void frmMyValues::returnTo(Screen& target, navigation::Move move) {
    // Unsaved changes are asked about first; Cancel stays here with them.
    const bool changed = blnDataChanged;
    if (!fncMayDropFirm(firmmessages::SaveAsker::New)) return;
    if (changed) subInitializeValues();
    ScreenRegistry::instance().move(*this, target, move);
}

void frmMyValues::mnuReturn_Click() {
    returnTo(ScreenRegistry::instance().get<frmMenu>(), navigation::Move::ReturnToMainMenu);
}
void frmMyValues::mnuReturnSearch_Click() {
    returnTo(industrySelection(), navigation::Move::ReturnToIndustrySelection);
}
void frmMyValues::btnBack_Click() {
    mnuReturnSearch_Click();
}

void frmMyValues::mnuDefinition_Click() {
    subOpenIndustryDef(industrySelection().lblHiddenNaics->text());
}

void frmMyValues::mnuOfficeDatabase_Click() {
    // The firm on the screen stays as it is; only where it is saved may change.
    ScreenRegistry& registry = ScreenRegistry::instance();
    registry.showModal(registry.get<frmOfficeDatabase>(), this);
}
