#include "screens/start/frmStart.h"

#include "screens/common/Accessibility.h"
#include "screens/common/Handlers.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/common/Widgets.h"
#include "screens/start/frmMenu.h"
#include "state/modMain.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel* makeLinkLabel(const QString& name, const QString& text) {
    auto* label =
        new QLabel(QStringLiteral("<a href=\"#\" style=\"color:#0000ee;\">%1</a>").arg(text.toHtmlEscaped()));
    label->setObjectName(name);
    accessibility::makeLink(label);
    label->setAlignment(Qt::AlignCenter);
    return label;
}
} // namespace

frmStart::frmStart() {
    setObjectName(QStringLiteral("frmStart"));
    auto* central = new QWidget;
    central->setObjectName(QStringLiteral("frmStartBackground"));
    central->setStyleSheet(QStringLiteral("#frmStartBackground { background: white; }"));
    setCentralWidget(central);

    cmdFrancais = makeButton(QStringLiteral("cmdFrancais"), QStringLiteral("Français"));
    cmdEnglish = makeButton(QStringLiteral("cmdEnglish"), QStringLiteral("English"));
    Picture3 = makePicture(QStringLiteral("Picture3"), QStringLiteral(":/ventrolux/images/banner.svg"),
                           QSize(420, 110));
    Picture1 = makePicture(QStringLiteral("Picture1"), QStringLiteral(":/ventrolux/images/emblem.svg"),
                           QSize(120, 120));
    lblLicenseAgreementF =
        makeLinkLabel(QStringLiteral("lblLicenseAgreementF"), QStringLiteral("Conditions d'utilisation"));
    lblLicenseAgreementE =
        makeLinkLabel(QStringLiteral("lblLicenseAgreementE"), QStringLiteral("Terms of use"));
    lblReferenceYrs = new QLabel;
    lblReferenceYrs->setObjectName(QStringLiteral("lblReferenceYrs"));
    lblReferenceYrs->setAlignment(Qt::AlignCenter);
    QFont bold = lblReferenceYrs->font();
    bold.setBold(true);
    lblReferenceYrs->setFont(bold);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(14);
    layout->addWidget(Picture3, 0, Qt::AlignHCenter);
    layout->addWidget(Picture1, 0, Qt::AlignHCenter);
    layout->addWidget(lblReferenceYrs);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdEnglish);
    buttons->addSpacing(24);
    buttons->addWidget(cmdFrancais);
    buttons->addStretch();
    layout->addLayout(buttons);
    auto* links = new QHBoxLayout;
    links->addWidget(lblLicenseAgreementE);
    links->addWidget(lblLicenseAgreementF);
    layout->addLayout(links);

    // Left to right, as the window shows them.
    setTabOrder(cmdEnglish, cmdFrancais);
    setTabOrder(cmdFrancais, lblLicenseAgreementE);
    setTabOrder(lblLicenseAgreementE, lblLicenseAgreementF);

    onEvent(cmdEnglish, &QPushButton::clicked, this, [this] { cmdEnglish_Click(); });
    onEvent(cmdFrancais, &QPushButton::clicked, this, [this] { cmdFrancais_Click(); });
    onEvent(lblLicenseAgreementE, &QLabel::linkActivated, this, [this] { lblLicenseAgreementE_Click(); });
    onEvent(lblLicenseAgreementF, &QLabel::linkActivated, this, [this] { lblLicenseAgreementF_Click(); });
    setFixedSizeAfterLayout(this);
}

void frmStart::Form_Load() {
    setWindowTitle(QStringLiteral("ZEBRO") + QStringLiteral(" - ") + QStringLiteral("DORVA") +
                   QStringLiteral("   ") + QStringLiteral("2011, 2010 and 2009"));
    lblReferenceYrs->setText(QStringLiteral("Reference Years / Années de référence") + u' ' +
                             QStringLiteral("2011") + QStringLiteral(", ") + QStringLiteral("2010") +
                             QStringLiteral(", ") + QStringLiteral("2009"));
    centreOnScreen();
}

QWidget* frmStart::firstFocus() const {
    return cmdEnglish;
}

bool frmStart::Form_QueryUnload() {
    return confirmExit();
}

void frmStart::chooseLanguage(int16_t language) {
    modMain::gintLanguage = language;
    ScreenRegistry& registry = ScreenRegistry::instance();
    registry.move(*this, registry.get<frmMenu>(), navigation::Move::Forward);
}

void frmStart::cmdEnglish_Click() {
    chooseLanguage(0);
}
void frmStart::cmdFrancais_Click() {
    chooseLanguage(1);
}

void frmStart::lblLicenseAgreementE_Click() {
    modMain::GetHelpTopic(QStringLiteral("MOLV_ConceptsHelp_Eng.html"), 9999);
}
void frmStart::lblLicenseAgreementF_Click() {
    modMain::GetHelpTopic(QStringLiteral("MOLV_ConceptsHelp_Fre.html"), 9999);
}
