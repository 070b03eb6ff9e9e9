#include "screens/industry/frmIndustryDefinitions.h"

#include "industry/DefinitionPrintout.h"
#include "industry/IndustryDefinition.h"
#include "platform/Platform.h"
#include "screens/common/Handlers.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/common/Widgets.h"
#include "screens/industry/DefinitionPage.h"
#include "state/modMain.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace modMain;

frmIndustryDefinitions::frmIndustryDefinitions() {
    setObjectName(QStringLiteral("frmIndustryDefinitions"));
    auto* central = new QWidget;
    setCentralWidget(central);

    lblNAICS = makeLabel(QStringLiteral("lblNAICS"), QStringLiteral("Title"), true);
    QFont heading = lblNAICS->font();
    heading.setPointSize(12);
    lblNAICS->setFont(heading);
    lblNAICS->setWordWrap(true);
    lblNAICS->setTextFormat(Qt::PlainText);
    txtDefinition = new QPlainTextEdit;
    txtDefinition->setObjectName(QStringLiteral("txtDefinition"));
    txtDefinition->setReadOnly(true);
    txtDefinition->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The heading names the definition for a screen reader.
    lblNAICS->setBuddy(txtDefinition);
    cmdPrint = makeButton(QStringLiteral("cmdPrint"));
    cmdContinue = makeButton(QStringLiteral("cmdContinue"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdPrint);
    buttons->addSpacing(16);
    buttons->addWidget(cmdContinue);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(lblNAICS);
    layout->addWidget(txtDefinition, 1);
    layout->addLayout(buttons);
    // Room for a definition of several paragraphs without scrolling.
    central->setMinimumSize(560, 380);

    onEvent(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    onEvent(cmdContinue, &QPushButton::clicked, this, [this] { cmdContinue_Click(); });
    leaveOnEscape([this] { cmdContinue_Click(); });
    addCaptions({{cmdPrint, 58}, {cmdContinue, 336}});
}

void frmIndustryDefinitions::Form_Load() {
    subLoadCaptions();
    centreOnScreen();
}

void frmIndustryDefinitions::subLoadCaptions() {
    setWindowTitle(Txt(334));
    Screen::subLoadCaptions();
}

void frmIndustryDefinitions::followLanguage() {
    subLoadCaptions();
    if (!shownNaics_.isNull()) subFill(shownNaics_);
}

void frmIndustryDefinitions::subFill(const QString& strNAICS) {
    shownNaics_ = strNAICS;
    const std::optional<industrydefinition::Definition> definition =
        industrydefinition::lookup(gcnData, gstrNAICSTable, strNAICS, modMain::language());
    if (definition) {
        lblNAICS->setText(definition->heading);
        txtDefinition->setPlainText(definition->text);
    } else {
        // An unknown code empties the box; the heading keeps what it showed.
        txtDefinition->clear();
    }
}

void frmIndustryDefinitions::cmdPrint_Click() {
    const QList<definitionprintout::PrintedLine> lines =
        definitionprintout::pageLines(lblNAICS->text(), txtDefinition->toPlainText());
    const bool printed = platform().printerTarget().has_value() &&
                         platform().printDocument(windowTitle(), [&lines](QPagedPaintDevice& device) {
                             paintDefinitionPage(device, lines);
                         });
    if (printed) return;
    // Without a printer nothing can be printed; say so rather than fail.
    MsgBox(Txt("definition.print.noPrinter"), MsgButtons::OK, MsgIcon::Exclamation);
}

QWidget* frmIndustryDefinitions::firstFocus() const {
    return txtDefinition;
}

void frmIndustryDefinitions::cmdContinue_Click() {
    ScreenRegistry::instance().unload(*this);
}

void subOpenIndustryDef(const QString& strNAICS) {
    ScreenRegistry& registry = ScreenRegistry::instance();
    frmIndustryDefinitions& form = registry.get<frmIndustryDefinitions>();
    form.subFill(strNAICS);
    registry.show(form, navigation::Move::CoverOpened);
}
