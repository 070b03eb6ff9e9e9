#include "screens/firm/frmOfficeDatabase.h"

#include "data/ServerAddress.h"
#include "screens/common/Handlers.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/common/Widgets.h"
#include "screens/firm/frmMyValues.h"
#include "screens/firm/frmOpenExisting.h"
#include "state/RecordsPlace.h"
#include "state/modMain.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace modMain;

namespace {

constexpr int kTitle = 862;
constexpr int kExplain = 864;
constexpr int kTest = 866;
constexpr int kUse = 868;
constexpr int kLocal = 870;
constexpr int kCancel = 872;
constexpr int kWorks = 874;

} // namespace

frmOfficeDatabase::frmOfficeDatabase() {
    setObjectName(QStringLiteral("frmOfficeDatabase"));
    auto* central = new QWidget;
    setCentralWidget(central);

    lblExplain = makeLabel(QStringLiteral("lblExplain"));
    lblExplain->setWordWrap(true);
    lblCurrent = makeLabel(QStringLiteral("lblCurrent"), QString(), true);
    lblCurrent->setWordWrap(true);
    txtRecordsUrl = new QLineEdit;
    txtRecordsUrl->setObjectName(QStringLiteral("txtRecordsUrl"));
    txtRecordsUrl->setPlaceholderText(QStringLiteral("postgresql://user@host:5432/dbname"));
    txtRecordsUrl->setMinimumWidth(420);
    lblExplain->setBuddy(txtRecordsUrl); // the box is named by the explanation over it
    cmdTest = makeButton(QStringLiteral("cmdTest"));
    cmdUse = makeButton(QStringLiteral("cmdUse"));
    cmdUse->setDefault(true);
    cmdLocal = makeButton(QStringLiteral("cmdLocal"));
    cmdCancel = makeButton(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdTest);
    buttons->addStretch();
    buttons->addWidget(cmdLocal);
    buttons->addWidget(cmdUse);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(lblCurrent);
    layout->addWidget(lblExplain);
    layout->addWidget(txtRecordsUrl);
    layout->addLayout(buttons);
    central->setMinimumWidth(520);

    onEvent(cmdTest, &QPushButton::clicked, this, [this] { cmdTest_Click(); });
    onEvent(cmdUse, &QPushButton::clicked, this, [this] { cmdUse_Click(); });
    onEvent(txtRecordsUrl, &QLineEdit::returnPressed, this, [this] { cmdUse_Click(); });
    onEvent(cmdLocal, &QPushButton::clicked, this, [this] { cmdLocal_Click(); });
    onEvent(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    subLoadCaptions();
}

void frmOfficeDatabase::Form_Load() {
    centreOnScreen();
}

void frmOfficeDatabase::Form_Activate(navigation::Arrival) {
    subLoadCaptions();
    txtRecordsUrl->setText(RecordsAddressShown()); // never a password kept in the settings
    txtRecordsUrl->setFocus();
}

bool frmOfficeDatabase::Form_QueryUnload() {
    leave();
    return true;
}

void frmOfficeDatabase::subLoadCaptions() {
    setWindowTitle(Txt(kTitle));
    lblExplain->setText(Txt(kExplain));
    lblCurrent->setText(RecordsLocation());
    cmdTest->setText(Txt(kTest));
    cmdUse->setText(Txt(kUse));
    cmdLocal->setText(Txt(kLocal));
    cmdCancel->setText(Txt(kCancel));
}

void frmOfficeDatabase::cmdTest_Click() {
    const QString url = txtRecordsUrl->text().trimmed();
    if (const std::optional<QString> problem = fncTestRecordsServer(url)) {
        MsgBox(*problem, MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    const ServerAddress address = *parseServerAddress(url).address;
    MsgBox(Txt(kWorks).arg(address.serverName(), address.database), MsgButtons::OK, MsgIcon::Information);
}

void frmOfficeDatabase::cmdUse_Click() {
    // An empty address is the local file, as the button beside says.
    const SwitchOutcome outcome = fncSwitchRecords(txtRecordsUrl->text());
    MsgBox(outcome.message, MsgButtons::OK, outcome.ok ? MsgIcon::Information : MsgIcon::Exclamation);
    if (outcome.ok) leave();
}

void frmOfficeDatabase::refreshFirmScreens() {
    // Their titles say where the records are.
    ScreenRegistry& registry = ScreenRegistry::instance();
    if (frmMyValues* values = registry.existing<frmMyValues>()) values->subLoadCaptions();
    if (frmOpenExisting* list = registry.existing<frmOpenExisting>()) list->subLoadCaptions();
}

void frmOfficeDatabase::cmdLocal_Click() {
    const SwitchOutcome outcome = fncSwitchRecords(QString());
    MsgBox(outcome.message, MsgButtons::OK, MsgIcon::Information);
    leave();
}

void frmOfficeDatabase::cmdCancel_Click() {
    leave();
}

void frmOfficeDatabase::leave() {
    refreshFirmScreens();
    ScreenRegistry::instance().hide(*this);
}
