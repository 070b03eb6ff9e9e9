#include "screens/start/frmAbout.h"

#include "data/SourceOfFigures.h"
#include "screens/common/Handlers.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/common/Widgets.h"
#include "state/RecordsPlace.h"
#include "state/modMain.h"
#include "text/StringTable.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace modMain;

frmAbout::frmAbout() {
    setObjectName(QStringLiteral("frmAbout"));
    auto* central = new QWidget;
    setCentralWidget(central);

    cmdReturn = makeButton(QStringLiteral("cmdReturn"));
    // Fixed in both languages: the project has no fax line.
    lblFax = makeLabel(QStringLiteral("lblFax"), QStringLiteral("Fax / Télécopieur\u00a0: —"));
    lblEmail = makeLabel(QStringLiteral("lblEmail"));
    lblTechnical = makeLabel(QStringLiteral("lblTechnical"));
    lblSubjectMatter = makeLabel(QStringLiteral("lblSubjectMatter"));
    lblProv = makeLabel(QStringLiteral("lblProv"));
    lblBuilding = makeLabel(QStringLiteral("lblBuilding"));
    lblStreet = makeLabel(QStringLiteral("lblStreet"));
    lblStats = makeLabel(QStringLiteral("lblStats"), QString(), true);
    lblTitle = makeLabel(QStringLiteral("lblTitle"), QString(), true);
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    lblTitle->setFont(big);
    lblVersion = makeLabel(QStringLiteral("lblVersion"), QStringLiteral("Version 2011.1"));
    lblProvenance = makeLabel(QStringLiteral("lblProvenance"));
    lblProvenance->setWordWrap(true);
    lblRecords = makeLabel(QStringLiteral("lblRecords"));
    lblRecords->setWordWrap(true);
    lblLicence = makeLabel(QStringLiteral("lblLicence"));
    lblLicence->setWordWrap(true);

    auto* header = new QWidget;
    header->setObjectName(QStringLiteral("aboutHeader"));
    header->setStyleSheet(QStringLiteral("#aboutHeader { background: white; }"));
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->addWidget(lblTitle, 0, Qt::AlignHCenter);
    headerLayout->addWidget(lblVersion, 0, Qt::AlignHCenter);

    auto* layout = new QVBoxLayout(central);
    layout->addWidget(header);
    layout->addSpacing(8);
    for (QLabel* l :
         {lblStats, lblStreet, lblBuilding, lblProv, lblSubjectMatter, lblTechnical, lblEmail, lblFax})
        layout->addWidget(l);
    layout->addSpacing(8);
    layout->addWidget(lblProvenance);
    layout->addWidget(lblRecords);
    layout->addWidget(lblLicence);
    layout->addWidget(cmdReturn, 0, Qt::AlignHCenter);
    central->setMinimumWidth(460);

    onEvent(cmdReturn, &QPushButton::clicked, this, [this] { cmdReturn_Click(); });
    leaveOnEscape([this] { cmdReturn_Click(); });
    setFixedSizeAfterLayout(this);
}

void frmAbout::Form_Load() {
    centreOnScreen();
}

void frmAbout::Form_Activate(navigation::Arrival) {
    subLoadCaptions();
}

void frmAbout::subLoadCaptions() {
    lblTitle->setText(Txt(2));
    lblStats->setText(Txt(340));
    lblBuilding->setText(Txt(574));
    lblStreet->setText(Txt(342));
    lblProv->setText(Txt(344));
    lblSubjectMatter->setText(Txt(346));
    lblTechnical->setText(Txt(348));
    setWindowTitle(Txt(566));
    cmdReturn->setText(Txt(568));
    lblEmail->setText(Txt(570));
    // Where the reference figures come from: the sample data or an imported source.
    lblProvenance->setText(provenance::describe(gcnData, modMain::language()));
    lblRecords->setText(RecordsLocation());
    lblLicence->setText(Txt("about.licence"));
}

void frmAbout::cmdReturn_Click() {
    ScreenRegistry::instance().hide(*this);
}

QWidget* frmAbout::firstFocus() const {
    return cmdReturn;
}

bool frmAbout::Form_QueryUnload() {
    cmdReturn_Click();
    return true;
}
