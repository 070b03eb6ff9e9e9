#include "screens/firm/frmOpenExisting.h"

#include "data/RecordsetTableModel.h"
#include "firm/FirmMessages.h"
#include "firm/FirmRecords.h"
#include "screens/common/Handlers.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/common/Widgets.h"
#include "screens/firm/frmMyValues.h"
#include "screens/industry/frmSearch.h"
#include "state/RecordsPlace.h"
#include "state/modMain.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

using namespace modMain;

namespace {

void tellNoRecordsFound() {
    MsgBox(firmmessages::text(firmmessages::Message::NoRecordsFound, modMain::language()), MsgButtons::OK);
}

} // namespace

frmOpenExisting::frmOpenExisting() {
    setObjectName(QStringLiteral("frmOpenExisting"));
    auto* central = new QWidget;
    setCentralWidget(central);

    lblQuestion = makeLabel(QStringLiteral("lblQuestion"));
    lblQuestion->setWordWrap(true);
    AdodcFirms = new RecordsetTableModel(this);
    AdodcFirms->setObjectName(QStringLiteral("AdodcFirms"));
    dbgFirms = new QTableView;
    dbgFirms->setObjectName(QStringLiteral("dbgFirms"));
    dbgFirms->setModel(AdodcFirms);
    dbgFirms->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgFirms->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgFirms->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgFirms->verticalHeader()->hide();
    dbgFirms->horizontalHeader()->setStretchLastSection(true);
    dbgFirms->setWordWrap(false);
    dbgFirms->verticalHeader()->setDefaultSectionSize(dbgFirms->fontMetrics().height() + 8);
    dbgFirms->setMinimumSize(360, 180);
    // Hidden until a list with rows is shown.
    dbgFirms->hide();
    cmdOpen = makeButton(QStringLiteral("cmdOpen"));
    cmdOpen->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOpen);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(lblQuestion);
    layout->addWidget(dbgFirms, 1);
    layout->addLayout(buttons);
    central->setMinimumWidth(380);

    onEvent(cmdOpen, &QPushButton::clicked, this, [this] { cmdOpen_Click(); });
    onEvent(dbgFirms, &QTableView::doubleClicked, this, [this] { dbgFirms_DblClick(); });
    // Space chooses a row; Enter opens its firm, as a double click does.
    chooseRowsByKey(
        dbgFirms, [] {}, [this] { dbgFirms_DblClick(); });
    // Escape closes the list as its window's close box does.
    leaveOnEscape([this] { close(); });
    addCaptions({{lblQuestion, 526},
                 {cmdOpen, 530},
                 {dbgFirms, 526, CaptionKind::Name},
                 {dbgFirms, "open.list.description", CaptionKind::Description}});
    subLoadCaptions();
}

void frmOpenExisting::Form_Activate(navigation::Arrival arrival) {
    // Uncovered again, it keeps the list and the row the user was on.
    if (arrival == navigation::Arrival::Keep) return;
    centreOnScreen();
    subLoadCaptions();
    if (!std::exchange(listJustLoaded_, false)) fncLoadFirms();
}

void frmOpenExisting::subLoadCaptions() {
    setWindowTitle(Txt(528) + RecordsTitleSuffix());
    Screen::subLoadCaptions();
}

QWidget* frmOpenExisting::firstFocus() const {
    return dbgFirms;
}

bool frmOpenExisting::fncLoadFirms() {
    // The list shown before goes once the new one is painted: freeing a long list takes
    // as long as reading it, and the user is waiting for the new one.
    RecordsetPtr previous = AdodcFirms->recordset();
    AdodcFirms->setRecordset(firmrecords::listRecordset(RecordsConnection(), modMain::language()));
    if (previous)
        QTimer::singleShot(0, this, [previous = std::move(previous)]() mutable { previous.reset(); });
    listJustLoaded_ = !isVisible();
    if (AdodcFirms->rowCount() == 0) return false;
    dbgFirms->show();
    dbgFirms->resizeColumnToContents(0);
    dbgFirms->setCurrentIndex(AdodcFirms->index(0, 0));
    return true;
}

std::optional<FirmStatement> frmOpenExisting::currentRowFirm() const {
    const QModelIndex current = dbgFirms->currentIndex();
    if (!current.isValid() || AdodcFirms->rowCount() == 0) return std::nullopt;
    const int row = current.row();
    return firmrecords::load(RecordsConnection(), AdodcFirms->cellText(row, 0), AdodcFirms->cellText(row, 1));
}

void frmOpenExisting::followLanguage() {
    subLoadCaptions();
    // The list's headings are in the language of the list.
    if (!dbgFirms->isVisible()) return;
    const int row = dbgFirms->currentIndex().row();
    fncLoadFirms();
    if (row >= 0 && row < AdodcFirms->rowCount()) dbgFirms->setCurrentIndex(AdodcFirms->index(row, 0));
}

void frmOpenExisting::subOpenRecord() {
    const std::optional<FirmStatement> firm = currentRowFirm();
    // Nothing listed, or a firm deleted since the list was made: say so and list afresh,
    // rather than leave the user without a screen.
    if (!firm) {
        tellNoRecordsFound();
        fncLoadFirms();
        return;
    }
    ScreenRegistry& registry = ScreenRegistry::instance();
    if (frmSearch* search = registry.existing<frmSearch>(); search && search->isVisible())
        registry.leave(*search, navigation::Move::StoredFirmOpened);
    frmMyValues& values = registry.get<frmMyValues>();
    registry.move(*this, values, navigation::Move::StoredFirmOpened);
    values.subShowStoredFirm(*firm);
}

void frmOpenExisting::cmdOpen_Click() {
    subOpenRecord();
}

void frmOpenExisting::dbgFirms_DblClick() {
    cmdOpen_Click();
}
