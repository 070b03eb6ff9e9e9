#include "screens/start/frmMenu.h"

#include "data/Catalogue.h"
#include "data/DatasetOptions.h"
#include "platform/Platform.h"
#include "screens/common/Handlers.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/common/Widgets.h"
#include "screens/industry/frmSearch.h"
#include "state/modMain.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace modMain;

namespace {

// The right-hand column: regions with their provinces or territories indented under them.
struct RegionRow {
    const char* option;
    bool indented;
};
constexpr RegionRow kRegionRows[] = {
    {"optAtlantic", false},    {"optNewfoundland", true}, {"optNewBrunswick", true},
    {"optNovaScotia", true},   {"optPEI", true},          {"optQuebec", false},
    {"optOntario", false},     {"optPrairies", false},    {"optManitoba", true},
    {"optSaskatchewan", true}, {"optAlberta", true},      {"optBritishColumbia", false},
    {"optTerritories", false}, {"optNunavut", true},      {"optNWT", true},
    {"optYukon", true},
};

QFrame* makeShape(const QString& name) {
    auto* f = new QFrame;
    f->setObjectName(name);
    f->setFrameShape(QFrame::Box);
    f->setFrameShadow(QFrame::Plain);
    return f;
}

} // namespace

frmMenu::frmMenu() {
    setObjectName(QStringLiteral("frmMenu"));
    auto* central = new QWidget;
    setCentralWidget(central);

    // The nineteen options sit in two frames but form one choice: one group keeps at
    // most one of them checked, whichever frame it is in.
    auto* datasetGroup = new QButtonGroup(this);
    datasetGroup->setExclusive(true);
    for (const DatasetOption& o : datasets::options()) {
        QRadioButton* b = makeOption(QLatin1String(o.controlName));
        datasetGroup->addButton(b);
        options_.insert(QLatin1String(o.controlName), b);
        onEvent(b, &QRadioButton::clicked, this, [this, &o] { optionClicked(o); });
    }

    lblInstructions = makeLabel(QStringLiteral("lblInstructions"), QString(), true);
    lblCanada = makeLabel(QStringLiteral("lblCanada"), QString(), true);
    lblRegProvTerr = makeLabel(QStringLiteral("lblRegProvTerr"), QString(), true);
    lblOR = makeLabel(QStringLiteral("lblOR"), QString(), true);
    lblVol3 = makeLabel(QStringLiteral("lblVol3"));
    lblVol3->setWordWrap(true);
    lblDescription = makeLabel(QStringLiteral("lblDescription"), QStringLiteral("Description"));
    txtDescription = new QPlainTextEdit;
    txtDescription->setObjectName(QStringLiteral("txtDescription"));
    txtDescription->setReadOnly(true);
    txtDescription->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtDescription->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #e0e0e0; }"));
    lblDescription->setBuddy(txtDescription);
    cmdSearch = makeButton(QStringLiteral("cmdSearch"));
    // Enter on a chosen dataset searches it.
    cmdSearch->setDefault(true);

    // Left column: the three Canada-wide volumes.
    QFrame* shape1 = makeShape(QStringLiteral("Shape1"));
    auto* left = new QVBoxLayout(shape1);
    left->addWidget(lblCanada);
    const char* volumeHeadings[][2] = {
        {"lblVol1", "Volume 1"}, {"lblVol2", "Volume 2"}, {"lblVolume3", "Volume 3"}};
    const char* volumeOptions[] = {"optVol1", "optVol2", "optVol3"};
    for (int i = 0; i < 3; ++i) {
        left->addSpacing(8);
        left->addWidget(
            makeLabel(QLatin1String(volumeHeadings[i][0]), QLatin1String(volumeHeadings[i][1]), true));
        left->addWidget(options_.value(QLatin1String(volumeOptions[i])));
    }
    left->addStretch();

    // Right column: volume 3 by region, province and territory.
    QFrame* shape2 = makeShape(QStringLiteral("Shape2"));
    auto* right = new QVBoxLayout(shape2);
    right->addWidget(lblRegProvTerr);
    right->addSpacing(8);
    right->addWidget(makeLabel(QStringLiteral("Label1"), QStringLiteral("Volume 3 "), true));
    right->addWidget(lblVol3);
    for (const RegionRow& row : kRegionRows) {
        auto* line = new QHBoxLayout;
        if (row.indented) line->addSpacing(24);
        line->addWidget(options_.value(QLatin1String(row.option)));
        line->addStretch();
        right->addLayout(line);
    }

    // The description sits right under the left column and takes the height the
    // longer right-hand column leaves.
    txtDescription->setMinimumHeight(110);
    txtDescription->setMaximumHeight(QWIDGETSIZE_MAX);
    auto* leftColumn = new QVBoxLayout;
    leftColumn->addWidget(shape1);
    leftColumn->addSpacing(6);
    leftColumn->addWidget(lblDescription);
    leftColumn->addWidget(txtDescription, 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(leftColumn, 1);
    columns->addWidget(lblOR, 0, Qt::AlignVCenter);
    columns->addWidget(shape2, 0);

    auto* layout = new QVBoxLayout(central);
    layout->addWidget(lblInstructions);
    layout->addLayout(columns);
    layout->addWidget(cmdSearch, 0, Qt::AlignHCenter);

    mnuFile = makeMenu(menuBar(), QStringLiteral("mnuFile"));
    makeExitEntry(mnuFile, true);
    makeLanguageAndHelpMenus();
    addCaptions({{lblInstructions, 484},
                 {lblCanada, 486},
                 {lblRegProvTerr, 488},
                 {lblOR, 538},
                 {lblVol3, 494},
                 {cmdSearch, 504},
                 {mnuFile, 496}});

    onEvent(cmdSearch, &QPushButton::clicked, this, [this] { cmdSearch_Click(); });

    subLoadCaptions();
    setFixedSizeAfterLayout(this);
}

QWidget* frmMenu::firstFocus() const {
    // The dataset chosen before, else the first that can be chosen.
    QRadioButton* first = nullptr;
    for (const DatasetOption& o : datasets::options()) {
        QRadioButton* b = options_.value(QLatin1String(o.controlName));
        if (b->isChecked()) return b;
        if (!first && b->isEnabled()) first = b;
    }
    return first;
}

QRadioButton* frmMenu::option(const QString& controlName) const {
    return options_.value(controlName);
}

void frmMenu::Form_Load() {
    centreOnScreen();
}

void frmMenu::Form_Activate(navigation::Arrival) {
    subLoadCaptions();
    subVerifyDataAvailable();
}

bool frmMenu::Form_QueryUnload() {
    return confirmExit();
}

void frmMenu::subLoadCaptions() {
    setWindowTitle(Txt("menu.title"));
    Screen::subLoadCaptions();
    for (const DatasetOption& o : datasets::options())
        options_.value(QLatin1String(o.controlName))->setText(datasets::caption(o, modMain::language()));
    // The chosen dataset stays described, in the language now in force.
    showCheckedDescription();
}

void frmMenu::showCheckedDescription() {
    for (const DatasetOption& o : datasets::options())
        if (options_.value(QLatin1String(o.controlName))->isChecked()) {
            optionClicked(o);
            return;
        }
    txtDescription->clear();
}

void frmMenu::subVerifyDataAvailable() {
    for (const DatasetOption& o : datasets::options())
        subConnectToTable(
            catalogue::datasetTableName(o.volume, QLatin1String(o.region), datasets::kCurrentYear),
            options_.value(QLatin1String(o.controlName)));
}

void frmMenu::subConnectToTable(const QString& strDataTableName, QRadioButton* optDataOption) {
    RecordsetPtr rs = GetRS(
        gcnData, QStringLiteral("select count(*) as NumRecords from ") + catalogue::table(strDataTableName),
        QStringLiteral("read"));
    optDataOption->setEnabled(rs->field(QStringLiteral("NumRecords")).toLongLong() != 0);
}

QString frmMenu::fncGetDescription(const QString& strChoice) {
    RecordsetPtr rs = GetRS(gcnData, QStringLiteral("Select * from datadescription where optname = ?"),
                            QStringLiteral("read"), {strChoice});
    // A dataset without a description row (or with a null one) shows an empty box rather than ending the
    // program.
    if (rs->eof()) return QString();
    // descriptione or descriptionf
    const QVariant v =
        rs->field(QStringLiteral("description") + language::letter(modMain::language()).toLower());
    return v.isNull() ? QString() : v.toString();
}

void frmMenu::optionClicked(const DatasetOption& option) {
    txtDescription->setPlainText(fncGetDescription(QLatin1String(option.controlName)));
}

bool frmMenu::fncDetermineDataset() {
    bool result = false;
    for (const DatasetOption& o : datasets::options()) {
        QRadioButton* b = options_.value(QLatin1String(o.controlName));
        if (!b->isChecked()) continue;
        gstrDatasetCaption = b->text();
        subSetDataTable(QLatin1String(o.controlName));
        result = true;
    }
    return result;
}

void frmMenu::cmdSearch_Click() {
    if (fncDetermineDataset()) {
        ScreenRegistry& registry = ScreenRegistry::instance();
        registry.move(*this, registry.get<frmSearch>(), navigation::Move::Forward);
        return;
    }
    MsgBox(Txt(480), MsgButtons::OK, MsgIcon::None);
}
