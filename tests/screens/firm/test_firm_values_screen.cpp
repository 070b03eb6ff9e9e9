// The firm values screen as a whole: its texts in both languages, menus, shortcuts and
// toolbar, activation, the language switch, the report request and the return from the
// report, the returns and the exit question, the line item definitions behind the
// captions, and texts that fit their controls. Driven through the real widgets with the
// scripted platform.

#include "FirmScreenFixture.h"

#include "data/RecordsetTableModel.h"
#include "firm/FirmRecords.h"
#include "screens/firm/frmOpenExisting.h"
#include "screens/industry/frmIndustryDefinitions.h"
#include "screens/report/frmReportViewer.h"
#include "screens/start/frmAbout.h"
#include "support/LayoutCheck.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTextDocument>
#include <QToolBar>

Q_DECLARE_METATYPE(MsgResult)

namespace {

const QString kPrompt = QStringLiteral("Enter an Enterprise Name Here");
const QString kPromptFr = QString::fromUtf8("Entrer un nom d’entreprise ici");

QString u8(const char* s) {
    return QString::fromUtf8(s);
}

// The 32 captions as the screen shows them, in English and in French.
struct CaptionText {
    const char* label;
    const char* english;
    const char* french;
};
const CaptionText kCaptions[] = {
    {"lblCash", "Cash and deposits", "Encaisse et dépôts"},
    {"lblReceivables", "Accounts receivable", "Comptes débiteurs"},
    {"lblInventory", "Inventory", "Stocks"},
    {"lblCapitalAssets", "Capital assets", "Immobilisations"},
    {"lblOtherAssets", "Other assets", "Autres actifs"},
    {"lblTotalOA", "Total operating assets", "Total, actifs d'exploitation"},
    {"lblInvestments", "Investments with affiliates", "Placements auprès de sociétés affiliées"},
    {"lblPortfolio", "Portfolio investments", "Placements de portefeuille"},
    {"lblTotalAssets", "Total assets", "Total, actifs"},
    {"lblOperatingRevenue", "Annual operating revenue", "Revenus d’exploitation annuels"},
    {"lblRevenue", "Annual sales of goods and services", "Ventes annuelles de biens et services"},
    {"lblGrossProfit", "Annual gross profit", "Bénéfice brut annuel"},
    {"lblOperatingProfit", "Annual operating profit", "Bénéfice d'exploitation annuel"},
    {"lblInterestExpense", "Annual interest expense", "Frais d'intérêt annuel"},
    {"lblPretaxProfit", "Annual pretax profit", "Bénéfice avant impôts annuel"},
    {"lblAftertaxProfit", "Annual net profit after tax", "Bénéfice net annuel"},
    {"lblAccountPayable", "Accounts payable", "Comptes créditeurs"},
    {"lblShortterm", "Short term paper", "Papier à court terme"},
    {"lblMortgages", "Mortgages", "Hypothèques"},
    {"lblBonds", "Bonds and debentures", "Obligations et débentures"},
    {"lblOtherLoans", "Loans and other borrowing", "Prêts et autres emprunts"},
    {"lblAffiliate", "Amount owing to affiliates", "Montant dû aux sociétés affiliées"},
    {"lblOtherLiabilities", "Other liabilities", "Autres passifs"},
    {"lblDeferredTax", "Deferred tax", "Impôts sur le revenu reporté"},
    {"lblLiabilities", "Total liabilities", "Total, passifs"},
    {"lblShareCapital", "Share capital", "Capital-actions"},
    {"lblRetainedEarnings", "Retained earnings", "Bénéfices non répartis"},
    {"lblOther", "Other surplus", "Autres surplus"},
    {"lblEquity", "Total shareholders' equity ", "Total, capitaux propres "},
    {"lblTotal", "Total liabilities and shareholders' equity", "Total, passifs et capitaux propres"},
    {"lblCurrentAssets", "Current assets", "Actifs à court terme"},
    {"lblCurrentLiabilities", "Current liabilities", "Passifs à court terme"},
};

// Definition titles the box shows, trailing blanks, spellings and quotes as they are.
// (The firm core's tests hold all 64.)
const CaptionText kTitles[] = {
    {"lblCash", "CASH AND DEPOSITS DEFINITION", "DÉFINITION DE ‘ENCAISSE ET DÉPÔTS’"},
    {"lblInvestments", "INVESTMENT WITH AFFILIATES DEFINITION",
     "DÉFINITION DE ‘PLACEMENTS AUPRÈS DE SOCIÈTÈS AFFILIÉES’"},
    {"lblPortfolio", "PORTFOLIO INVESTMENTS DEFINITION", "DÉFINITION DE ‘PLACEMENTS DE PORTEFUILLES’"},
    {"lblRevenue", "SALES OF GOODS AND SERVICES DEFINITION ",
     "DÉFINITION DE ‘VENTES DE BIENS ET DES SERVICES’"},
    {"lblAccountPayable", "ACCOUNTS PAYABLE DEFINITION", "DÉFINITION DE ‘COMPTES CRÉDITEURS’"},
    {"lblAffiliate", "AMOUNTS OWING TO PARENT, SUBSIDIARIES AND AFFILIATES DEFINITION",
     "DÉFINITION DE ‘MONTANT DÛ À LA SOCIÉTÉ MÈRE, AUX FILIALES ET AUX SOCIÉTÉS AFFILIÉES’"},
    {"lblEquity", "TOTAL SHAREHOLDERS' EQUITY DEFINITION", "DÉFINITION DE ‘TOTAL, CAPITAUX PROPRES’"},
    {"lblCurrentLiabilities", "TOTAL CURRENT LIABILITIES DEFINITION ",
     "DÉFINITION DE ‘PASSIFS À COURT TERME’"},
};

} // namespace

class TestFirmValuesScreen : public QObject {
    Q_OBJECT

    std::unique_ptr<FirmScreenFixture> f;

    frmMyValues& screen() { return f->screen(); }

    QAction* toolbarAction(const char* name) { return screen().findChild<QAction*>(QLatin1String(name)); }

    void typeName(const QString& name) {
        screen().txtFirmName->setFocus(Qt::MouseFocusReason);
        screen().txtFirmName->selectAll();
        f->typeKeys(name);
    }

    // A balanced firm: assets 1000 + 500 + 2500, liabilities 1500, equity 2500; sales 9000.
    void typeBalancedFirm(const QString& name) {
        typeName(name);
        const std::pair<const char*, const char*> values[] = {
            {"txtCash", "1000"},
            {"txtInv", "500"},
            {"txtCA", "2500"},
            {"txtAccountsPayable", "1200"},
            {"txtPaper", "300"},
            {"txtShareC", "2000"},
            {"txtRetEarn", "500"},
            {"txtCurrentAssets", "1500"},
            {"txtCurrentLiabilities", "1200"},
            {"txtOperatingRevenue", "9100"},
            {"txtSales", "9000"},
            {"txtGrossProfit", "3000"},
            {"txtOperatingProfit", "600"},
            {"txtInterestExpense", "50"},
            {"txtPretaxProfit", "550"},
            {"txtProfitAfterTax", "430"},
        };
        for (const auto& [box, digits] : values) {
            f->enter(box);
            f->typeKeys(QLatin1String(digits));
            f->press(Qt::Key_Return);
        }
    }

    frmReportViewer* report() { return f->registry.existing<frmReportViewer>(); }

private slots:
    void init() { f = std::make_unique<FirmScreenFixture>(); }
    void cleanup() { f.reset(); }

    // --- texts ---

    void captions_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("French") << 1;
    }
    void captions() {
        QFETCH(int, language);
        f->open(static_cast<int16_t>(language));
        const CaptionText others[] = {
            {"lblAsset", "Assets", "Actifs"},
            {"lblIncome", "Income statement data", "Données de l'état des résultats "},
            {"lblLiabEq", "Liabilities and shareholders' equity", "Passifs et capitaux propres"},
            {"lblFirmName", "Enter an Enterprise Name Here", "Entrer un nom d’entreprise ici"},
            {"lblYear", "Reference Year", "Année de référence"},
        };
        QStringList wrong;
        const auto check = [&](const CaptionText& c) {
            QLabel* l = screen().findChild<QLabel*>(QLatin1String(c.label));
            const QString expected = u8(language ? c.french : c.english);
            if (!l || l->text() != expected)
                wrong << QStringLiteral("%1: \"%2\" instead of \"%3\"")
                             .arg(c.label, l ? l->text() : "-", expected);
        };
        for (const CaptionText& c : kCaptions)
            check(c);
        for (const CaptionText& c : others)
            check(c);
        QCOMPARE(wrong, QStringList());
    }

    void windowTitleAndIndustry_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("English") << 0 << "Compare an enterprise with Nova Scotia";
        QTest::newRow("French") << 1 << u8("Comparer une entreprise avec Nouvelle-Écosse");
    }
    void windowTitleAndIndustry() {
        QFETCH(int, language);
        QFETCH(QString, title);
        f->open(static_cast<int16_t>(language));
        QCOMPARE(screen().windowTitle(), title);
        QCOMPARE(screen().lblIndustry->text(), f->search().txtIndName->toPlainText());
        QVERIFY(!screen().lblIndustry->text().isEmpty());
        QVERIFY(screen().lblIndustry->font().bold());
        QVERIFY(screen().lblIndustry->alignment() & Qt::AlignHCenter);
        QCOMPARE(screen().lblNAICS->text(), f->naics);
        QVERIFY(!screen().lblNAICS->isVisible());
        QCOMPARE(screen().lblDataTableToCompare->text(), QStringLiteral("ZEBRO_Vol3_NS_2011_Final_Ratios"));
        QVERIFY(!screen().lblDataTableToCompare->isVisible());
    }

    void menus_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("french");
        QTest::addColumn<QKeySequence>("shortcut");
        const QKeySequence none;
        QTest::newRow("mnuNew") << "mnuNew"
                                << "New"
                                << "Nouveau" << QKeySequence(Qt::CTRL | Qt::Key_N);
        QTest::newRow("mnuSave") << "mnuSave"
                                 << "Save"
                                 << "Sauvegarder" << QKeySequence(Qt::CTRL | Qt::Key_S);
        QTest::newRow("mnuOpen") << "mnuOpen"
                                 << "Open Existing"
                                 << "Ouvrir le rapport existant" << QKeySequence(Qt::CTRL | Qt::Key_O);
        QTest::newRow("mnuReturn") << "mnuReturn"
                                   << "Return to Main Menu"
                                   << "Retourner au menu principal" << QKeySequence(Qt::CTRL | Qt::Key_R);
        QTest::newRow("mnuReturnSearch")
            << "mnuReturnSearch"
            << "Return to Industry Selection" << u8("Retourner à la sélection d'industrie")
            << QKeySequence(Qt::CTRL | Qt::Key_B);
        QTest::newRow("mnuExit") << "mnuExit"
                                 << "Exit"
                                 << "Quitter" << QKeySequence(Qt::CTRL | Qt::Key_X);
        QTest::newRow("mnuDefinition")
            << "mnuDefinition"
            << "Industry Definition" << u8("Définition de l'industrie") << QKeySequence(Qt::CTRL | Qt::Key_D);
        QTest::newRow("mnuReport") << "mnuReport"
                                   << "Report comparing this enterprise with its industry"
                                   << "Rapport qui compare cette entreprise avec son industrie"
                                   << QKeySequence(Qt::CTRL | Qt::Key_I);
        QTest::newRow("mnuEnglish") << "mnuEnglish"
                                    << "English"
                                    << "English" << QKeySequence(Qt::Key_F2);
        QTest::newRow("mnuFrench") << "mnuFrench" << u8("Français") << u8("Français")
                                   << QKeySequence(Qt::Key_F3);
        QTest::newRow("mnuContents") << "mnuContents"
                                     << "Contents"
                                     << "Contenu" << QKeySequence(Qt::Key_F1);
        QTest::newRow("mnuTechnical") << "mnuTechnical"
                                      << "Technical Help"
                                      << "L'aide technique" << QKeySequence(Qt::CTRL | Qt::Key_T);
        QTest::newRow("mnuAbout") << "mnuAbout"
                                  << "About ZEBRO"
                                  << "Au sujet de DORVA" << QKeySequence(Qt::CTRL | Qt::Key_P);
        QTest::newRow("mnuFile") << "mnuFile"
                                 << "File"
                                 << "Fichier" << none;
        QTest::newRow("mnuView") << "mnuView"
                                 << "View"
                                 << "Vue" << none;
        QTest::newRow("mnuLanguage") << "mnuLanguage"
                                     << "Language"
                                     << "Langue" << none;
        QTest::newRow("mnuHelp") << "mnuHelp"
                                 << "Help"
                                 << "Aide" << none;
    }
    void menus() {
        QFETCH(QString, entry);
        QFETCH(QString, english);
        QFETCH(QString, french);
        QFETCH(QKeySequence, shortcut);
        f->open(0);
        QAction* a = nullptr;
        for (QAction* candidate : screen().findChildren<QAction*>(entry))
            if (candidate->menu() || !candidate->shortcut().isEmpty() || shortcut.isEmpty()) a = candidate;
        QVERIFY(a);
        QCOMPARE(a->text(), english);
        QCOMPARE(a->shortcut(), shortcut);
        screen().mnuFrench->trigger();
        QCOMPARE(a->text(), french);
    }

    void menuBarOrder() {
        f->open(0);
        QStringList titles;
        for (QAction* a : screen().menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList{"File", "View", "Language", "Help"}));
        QStringList file;
        for (QAction* a : screen().mnuFile->actions())
            if (!a->isSeparator()) file << a->objectName();
        QCOMPARE(file,
                 (QStringList{"mnuNew", "mnuSave", "mnuOpen", "mnuDelete", "mnuClearAll", "mnuImport",
                              "mnuExport", "mnuOfficeDatabase", "mnuReturn", "mnuReturnSearch", "mnuExit"}));
    }

    void toolbar_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("tips");
        QTest::addColumn<QString>("back");
        QTest::newRow("English") << 0 << QStringList{"New",           "Open", "Save",
                                                     "Delete",        "",     "Compare your enterprise",
                                                     "Clear all data"}
                                 << "Return";
        QTest::newRow("French") << 1 << QStringList{"Nouveau",
                                                    "Ouvrir",
                                                    "Sauvegarder",
                                                    "Supprimer",
                                                    "",
                                                    "Comparez votre entreprise",
                                                    "Vider tous les champs"}
                                << "Retourner";
    }
    void toolbar() {
        QFETCH(int, language);
        QFETCH(QStringList, tips);
        QFETCH(QString, back);
        f->open(static_cast<int16_t>(language));
        const QList<QAction*> actions = screen().tbToolbar->actions();
        QCOMPARE(actions.size(), 7);
        QVERIFY(actions[4]->isSeparator());
        for (int i = 0; i < actions.size(); ++i) {
            if (i == 4) continue;
            QCOMPARE(actions[i]->toolTip(), tips[i]);
            // A screen reader names each picture by its tool tip.
            QCOMPARE(actions[i]->text(), tips[i]);
            QVERIFY2(!actions[i]->icon().isNull(), qPrintable(tips[i]));
        }
        // Delete and Clear all data are menu entries with keys too.
        QCOMPARE(screen().mnuDelete->text(), tips[3]);
        QCOMPARE(screen().mnuClearAll->text(), tips[6]);
        QVERIFY(!screen().mnuDelete->shortcut().isEmpty() && !screen().mnuClearAll->shortcut().isEmpty());
        QCOMPARE(screen().btnBack->accessibleName(), back);
        QCOMPARE(screen().btnBack->toolTip(), back);
        QVERIFY(!screen().btnBack->icon().isNull());
    }

    // --- activation ---

    void freshActivationStartsAfresh() {
        f->open(0);
        QCOMPARE(screen().txtFirmName->text(), kPrompt);
        QCOMPARE(screen().txtFirmName->selectedText(), kPrompt);
        QCOMPARE(f->focused(), screen().txtFirmName);
        QCOMPARE(screen().cboYear->currentText(), QStringLiteral("2011"));
        QVERIFY(!screen().blnDataChanged);
        // Typed data, then the way back and forward again through the industry selection.
        typeName(QStringLiteral("Acme"));
        f->enter("txtCash");
        f->typeKeys(QStringLiteral("77"));
        screen().cboYear->setCurrentIndex(0);
        f->platform.answers.enqueue(MsgResult::No);
        screen().btnBack_Click();
        QVERIFY(!screen().isVisible());
        QVERIFY(f->search().isVisible());
        f->showFirmScreen();
        QCOMPARE(screen().txtFirmName->text(), kPrompt);
        QCOMPARE(f->text("txtCash"), QStringLiteral("0"));
        QCOMPARE(screen().cboYear->currentText(), QStringLiteral("2011"));
    }

    void keptValuesOnReturnFromAbout() {
        f->open(0);
        typeName(QStringLiteral("Acme"));
        f->enter("txtCash");
        f->typeKeys(QStringLiteral("77"));
        f->press(Qt::Key_Return);
        screen().mnuAbout->trigger();
        frmAbout* about = f->registry.existing<frmAbout>();
        QVERIFY(about && about->isVisible());
        about->cmdReturn_Click();
        QCOMPARE(f->registry.active(), &screen());
        QCOMPARE(screen().txtFirmName->text(), QStringLiteral("Acme"));
        QCOMPARE(f->text("txtCash"), QStringLiteral("77"));
        // A look at the About screen saved nothing: the firm is still to be saved.
        QVERIFY(screen().blnDataChanged);
    }

    void industryDefinitionKeepsValues() {
        f->open(0);
        f->enter("txtCash");
        f->typeKeys(QStringLiteral("12"));
        f->press(Qt::Key_Return);
        screen().mnuDefinition->trigger();
        frmIndustryDefinitions* definition = f->registry.existing<frmIndustryDefinitions>();
        QVERIFY(definition && definition->isVisible());
        QVERIFY(definition->lblNAICS->text().contains(f->naics));
        definition->cmdContinue_Click();
        QCOMPARE(f->registry.active(), &screen());
        QCOMPARE(f->text("txtCash"), QStringLiteral("12"));
    }

    void helpEntries_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("file");
        QTest::newRow("Contents") << 0 << "mnuContents"
                                  << "MOLV_ConceptsHelp_Eng.html";
        QTest::newRow("Technical Help") << 0 << "mnuTechnical"
                                        << "MOLV_Tech_Help_Eng.html";
        QTest::newRow("Contenu") << 1 << "mnuContents"
                                 << "MOLV_ConceptsHelp_Fre.html";
    }
    void helpEntries() {
        QFETCH(int, language);
        QFETCH(QString, entry);
        QFETCH(QString, file);
        f->open(static_cast<int16_t>(language));
        screen().findChild<QAction*>(entry)->trigger();
        QCOMPARE(f->platform.processes.size(), 1);
        QVERIFY2(f->platform.processes[0].arguments.value(0).endsWith(u'/' + file),
                 qPrintable(f->platform.processes[0].arguments.join(u' ')));
    }

    // --- the language switch ---

    void languageSwitch_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("nameAfter");
        QTest::addColumn<QString>("nameBack");
        QTest::newRow("a typed name is kept") << "Boulangerie O'Neil"
                                              << "Boulangerie O'Neil"
                                              << "Boulangerie O'Neil";
        QTest::newRow("the prompt follows the language") << kPrompt << kPromptFr << kPrompt;
        QTest::newRow("the other prompt follows too") << kPromptFr << kPromptFr << kPrompt;
    }
    void languageSwitch() {
        QFETCH(QString, name);
        QFETCH(QString, nameAfter);
        QFETCH(QString, nameBack);
        f->open(0);
        const QString englishTitle = f->search().txtIndName->toPlainText();
        screen().txtFirmName->setText(name);
        f->enter("txtCash");
        f->typeKeys(QStringLiteral("123"));
        f->press(Qt::Key_Return);
        screen().cboYear->setCurrentIndex(1);
        screen().blnDataChanged = false;
        f->press(Qt::Key_F3);
        QCOMPARE(int(modMain::gintLanguage), 1);
        QCOMPARE(screen().txtFirmName->text(), nameAfter);
        QCOMPARE(screen().windowTitle(), u8("Comparer une entreprise avec Nouvelle-Écosse"));
        QCOMPARE(screen().lblCaptions[0]->text(), u8("Encaisse et dépôts"));
        QCOMPARE(screen().findChild<QAction*>(QStringLiteral("tbNew"))->toolTip(), QStringLiteral("Nouveau"));
        // Values, year and the change flag are untouched.
        QCOMPARE(f->text("txtCash"), QStringLiteral("123"));
        QCOMPARE(screen().cboYear->currentText(), QStringLiteral("2010"));
        QVERIFY(!screen().blnDataChanged);
        // The industry selection and the main menu are in French for the way back.
        frmSearch& search = f->search();
        QVERIFY(search.windowTitle().startsWith(QStringLiteral("Recherche ")));
        QCOMPARE(search.lblNAICSCode->text(), QStringLiteral("SCIAN: ") + f->naics);
        QCOMPARE(search.lblHiddenNaics->text(), f->naics);
        QCOMPARE(screen().lblIndustry->text(), search.txtIndName->toPlainText());
        QVERIFY(screen().lblIndustry->text() != englishTitle);
        QCOMPARE(f->registry.get<frmMenu>().cmdSearch->text(), QStringLiteral("Recherche"));
        QCOMPARE(modMain::gstrDatasetCaption, u8("Nouvelle-Écosse"));
        // And back.
        f->press(Qt::Key_F2);
        QCOMPARE(screen().txtFirmName->text(), nameBack);
        QCOMPARE(screen().lblIndustry->text(), englishTitle);
    }

    // --- the report request ---

    void reportRefusalsInOrder_data() {
        QTest::addColumn<QString>("faults");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        const QString year = QStringLiteral("Invalid year.  Year must be between 2009 and 2011");
        const QString balance =
            QStringLiteral("Total Assets is not equal Total Liabilities and Shareholders' Equity");
        const QString name = QStringLiteral("Please enter an enterprise name");
        const QString values = QStringLiteral("Please enter your enterprise values");
        QTest::newRow("year before balance") << "year,balance,name,values" << 0 << year;
        QTest::newRow("balance before name") << "balance,name" << 0 << balance;
        QTest::newRow("name before values") << "name,values" << 0 << name;
        QTest::newRow("values") << "values" << 0 << values;
        QTest::newRow("year, in French")
            << "year" << 1 << u8("Année non valide.  L'année doit être centre 2009 et 2011");
        QTest::newRow("balance, in French")
            << "balance" << 1 << u8("Total, Actifs n'égal pas le Total, Passifs et Capitaux Propres");
        QTest::newRow("name, in French")
            << "name" << 1 << u8("S'il vous plaît, entrer un nom d’entreprise ici");
        QTest::newRow("values, in French")
            << "values" << 1 << u8("Veuillez entrer les données de votre entreprise");
    }
    void reportRefusalsInOrder() {
        QFETCH(QString, faults);
        QFETCH(int, language);
        QFETCH(QString, message);
        f->open(static_cast<int16_t>(language));
        const QStringList which = faults.split(u',');
        if (!which.contains(QLatin1String("values"))) typeBalancedFirm(QStringLiteral("Acme"));
        if (which.contains(QLatin1String("year"))) {
            screen().cboYear->addItem(QStringLiteral("2012"));
            screen().cboYear->setCurrentText(QStringLiteral("2012"));
        }
        if (which.contains(QLatin1String("balance"))) {
            f->box("txtOtherSur")->setText(QStringLiteral("5"));
            if (which.contains(QLatin1String("values"))) f->box("txtCash")->setText(QStringLiteral("0"));
        }
        if (which.contains(QLatin1String("name"))) screen().txtFirmName->clear();
        f->platform.messages.clear();
        toolbarAction("tbCompare")->trigger();
        QCOMPARE(f->platform.messages.size(), 1);
        QCOMPARE(f->platform.lastMessage(), message);
        QCOMPARE(f->platform.messages[0].buttons, MsgButtons::OK);
        QVERIFY(!report() || !report()->isVisible());
    }

    void promptPassesTheNameCheck() {
        f->open(0);
        typeBalancedFirm(QStringLiteral("x"));
        screen().txtFirmName->setText(kPrompt);
        screen().mnuReport->trigger();
        QVERIFY(report() && report()->isVisible());
        QCOMPARE(screen().fncComparisonValues().value(0), kPrompt);
    }

    void reportReachedWithTheFirm() {
        f->open(0);
        typeBalancedFirm(QStringLiteral("Acme Bakery"));
        screen().cboYear->setCurrentText(QStringLiteral("2010"));
        f->box("txtMtg")->clear(); // an empty box counts as 0 and is filled
        f->enter("txtBonds");
        f->press(Qt::Key_I, Qt::ControlModifier);
        QVERIFY(f->platform.messages.isEmpty());
        QVERIFY(report() && report()->isVisible());
        QCOMPARE(report()->windowTitle(), QStringLiteral("ZEBRO Comparison Report"));
        QCOMPARE(f->text("txtMtg"), QStringLiteral("0"));

        const QStringList a = screen().fncComparisonValues();
        QCOMPARE(a.size(), 37);
        QCOMPARE(a[0], QStringLiteral("Acme Bakery"));
        QCOMPARE(a[1], QStringLiteral("2010"));
        QCOMPARE(a[2], f->naics);
        QCOMPARE(a[3], f->search().txtIndName->toPlainText().trimmed());
        QCOMPARE(a[4], QStringLiteral("1000"));  // cash
        QCOMPARE(a[9], QStringLiteral("4000"));  // total operating assets
        QCOMPARE(a[12], QStringLiteral("4000")); // total assets
        QCOMPARE(a[13], QStringLiteral("9100")); // operating revenue
        QCOMPARE(a[14], QStringLiteral("9000")); // sales
        QCOMPARE(a[19], QStringLiteral("430"));  // net profit after tax
        QCOMPARE(a[20], QStringLiteral("1200")); // accounts payable
        QCOMPARE(a[21], QString());
        QCOMPARE(a[22], QStringLiteral("300"));  // short term paper
        QCOMPARE(a[29], QStringLiteral("1500")); // total liabilities
        QCOMPARE(a[33], QStringLiteral("2500")); // equity
        QCOMPARE(a[34], QStringLiteral("4000")); // total liabilities and equity
        QCOMPARE(a[36], QStringLiteral("1200")); // current liabilities

        // The report's own table holds the firm it was given.
        RecordsetPtr rs =
            GetRS(modMain::gcnMyData,
                  QStringLiteral("select MyFirmName, MyYear, MyNAICS, StmtSales from Rpt_Comparison"),
                  QStringLiteral("read"));
        QVERIFY(!rs->eof());
        QCOMPARE(rs->field(0).toString(), QStringLiteral("Acme Bakery"));
        QCOMPARE(rs->field(1).toInt(), 2010);
        QCOMPARE(rs->field(2).toString(), f->naics);
        QCOMPARE(rs->field(3).toDouble(), 9000.0);
        QVERIFY(report()->document()->toPlainText().contains(QStringLiteral("Acme Bakery")));
    }

    void returnFromTheReportKeepsEverything() {
        f->open(1);
        typeBalancedFirm(QStringLiteral("Acme"));
        screen().cboYear->setCurrentText(QStringLiteral("2009"));
        screen().subView_Comparison_Report();
        QVERIFY(report() && report()->isVisible());
        QCOMPARE(report()->windowTitle(), QStringLiteral("DORVA Rapport de Comparaison"));
        report()->btnBack_Click();
        QCOMPARE(f->registry.active(), &screen());
        QVERIFY(screen().isVisible());
        // A look at the report saved nothing.
        QVERIFY(screen().blnDataChanged);
        QCOMPARE(screen().txtFirmName->text(), QStringLiteral("Acme"));
        QCOMPARE(screen().cboYear->currentText(), QStringLiteral("2009"));
        QCOMPARE(f->text("txtSales"), QStringLiteral("9000"));
        QCOMPARE(f->text("txtTa"), QStringLiteral("4000"));
    }

    // --- the returns and the exit ---

    // Every move that would drop a changed firm asks first: Yes saves, No drops, Cancel
    // stays. A Yes whose save is refused (an unusable name) stays too.
    void saveQuestionAtEveryMove_data() {
        QTest::addColumn<QString>("move");
        QTest::addColumn<QString>("name");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<QString>("screenAfter");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("boxesKept");
        const struct {
            const char* move;
            const char* leavesFor;
        } moves[] = {{"mnuReturn", "frmMenu"},  {"mnuReturnSearch", "frmSearch"}, {"btnBack", "frmSearch"},
                     {"mnuNew", "frmMyValues"}, {"mnuImport", "frmMyValues"},     {"mnuExit", "frmMyValues"},
                     {"close", "frmMyValues"}};
        for (const auto& m : moves) {
            // Import drops the firm only for a file; Exit only when the exit question (No here) says so.
            const bool staysFilled = QByteArray(m.move) == "mnuImport" || QByteArray(m.move) == "mnuExit" ||
                                     QByteArray(m.move) == "close";
            QTest::addRow("%s, Yes", m.move)
                << m.move << "Acme" << MsgResult::Yes << m.leavesFor << 1 << staysFilled;
            QTest::addRow("%s, No", m.move)
                << m.move << "Acme" << MsgResult::No << m.leavesFor << 0 << staysFilled;
            QTest::addRow("%s, Cancel", m.move)
                << m.move << "Acme" << MsgResult::Cancel << "frmMyValues" << 0 << true;
        }
        QTest::newRow("Return, Yes with an unusable name")
            << "mnuReturnSearch" << kPrompt << MsgResult::Yes << "frmMyValues" << 0 << true;
    }
    void saveQuestionAtEveryMove() {
        QFETCH(QString, move);
        QFETCH(QString, name);
        QFETCH(MsgResult, answer);
        QFETCH(QString, screenAfter);
        QFETCH(int, rows);
        QFETCH(bool, boxesKept);
        f->open(0);
        typeName(name);
        f->enter("txtCash");
        f->typeKeys(QStringLiteral("4"));
        f->press(Qt::Key_Return);
        f->platform.answers.enqueue(answer);
        f->platform.answers.enqueue(MsgResult::No); // the exit question, when it comes
        if (move == QLatin1String("btnBack"))
            QTest::mouseClick(screen().btnBack, Qt::LeftButton);
        else if (move == QLatin1String("close"))
            screen().close();
        else
            screen().findChild<QAction*>(move)->trigger();
        QCOMPARE(f->platform.messages.value(0).text,
                 QStringLiteral("The data for the firm %1 has changed.  Do you want to save the changes?")
                     .arg(name));
        QCOMPARE(f->platform.messages[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(f->registry.active()->objectName(), screenAfter);
        QVERIFY(f->registry.active()->isVisible());
        QCOMPARE(screen().isVisible(), screenAfter == QLatin1String("frmMyValues"));
        RecordsetPtr rs = GetRS(modMain::gcnMyData, QStringLiteral("select count(*) from MyValues"),
                                QStringLiteral("read"));
        QCOMPARE(rs->field(0).toInt(), rows);
        QCOMPARE(f->text("txtCash"), boxesKept ? QStringLiteral("4") : QStringLiteral("0"));
        QCOMPARE(screen().txtFirmName->text(), boxesKept ? name : kPrompt);
        // What stays on the screen unsaved is asked about again at the next move.
        QCOMPARE(screen().blnDataChanged, boxesKept && (answer != MsgResult::Yes || rows == 0));
        QCOMPARE(f->platform.endedWith, -1);
        // The industry selection keeps its selection.
        QCOMPARE(f->search().lblHiddenNaics->text(), f->naics);
    }

    void returnWithoutChangesAsksNothing() {
        f->open(0);
        screen().mnuReturn->trigger();
        QVERIFY(f->platform.messages.isEmpty());
        QCOMPARE(f->registry.active(), &f->registry.get<frmMenu>());
    }

    void exitQuestion_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<MsgResult>("answer");
        QTest::newRow("window closed, No") << "close" << MsgResult::No;
        QTest::newRow("window closed, Yes") << "close" << MsgResult::Yes;
        QTest::newRow("Exit entry, No") << "menu" << MsgResult::No;
        QTest::newRow("Ctrl+X inside a value box, Yes") << "Ctrl+X" << MsgResult::Yes;
        QTest::newRow("Ctrl+Q, No") << "Ctrl+Q" << MsgResult::No;
    }
    void exitQuestion() {
        QFETCH(QString, how);
        QFETCH(MsgResult, answer);
        f->open(1);
        f->enter("txtCash");
        f->box("txtCash")->deselect();
        f->platform.answers.enqueue(answer);
        if (how == QLatin1String("close"))
            screen().close();
        else if (how == QLatin1String("menu"))
            screen().mnuExit->trigger();
        else
            f->press(how == QLatin1String("Ctrl+X") ? Qt::Key_X : Qt::Key_Q, Qt::ControlModifier);
        // Nothing unsaved: one question, the exit's.
        QCOMPARE(f->platform.messages.size(), 1);
        QCOMPARE(f->platform.lastMessage(), QStringLiteral("Voulez-vous quitter?"));
        QCOMPARE(f->platform.messages[0].buttons, MsgButtons::YesNo);
        QCOMPARE(f->platform.messages[0].icon, MsgIcon::Exclamation);
        QCOMPARE(f->platform.endedWith, answer == MsgResult::Yes ? 0 : -1);
        if (answer == MsgResult::No) QVERIFY(screen().isVisible());
    }

    // With text selected in a box the user may edit, Ctrl+X cuts it and asks nothing.
    void ctrlXCutsASelection_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("after");
        QTest::newRow("the name box") << "txtFirmName"
                                      << "";
        QTest::newRow("a value box") << "txtCash"
                                     << "";
    }
    void ctrlXCutsASelection() {
        QFETCH(QString, box);
        QFETCH(QString, after);
        f->open(0);
        typeName(QStringLiteral("Acme"));
        f->enter("txtCash");
        f->typeKeys(QStringLiteral("1250"));
        auto* edit = screen().findChild<QLineEdit*>(box);
        edit->setFocus(Qt::MouseFocusReason);
        // Ctrl+A selects the name; a value box takes digits only and selects its text on entry.
        if (box == QLatin1String("txtFirmName"))
            f->press(Qt::Key_A, Qt::ControlModifier);
        else
            edit->selectAll();
        const QString selected = edit->selectedText();
        QVERIFY(!selected.isEmpty());
        f->press(Qt::Key_X, Qt::ControlModifier);
        QVERIFY2(f->platform.messages.isEmpty(), qPrintable(f->platform.lastMessage()));
        QCOMPARE(edit->text(), after);
        QCOMPARE(QGuiApplication::clipboard()->text(), selected);
        QCOMPARE(f->platform.endedWith, -1);
    }

    // --- line item definitions ---

    void definitionTitles_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("French") << 1;
    }
    void definitionTitles() {
        QFETCH(int, language);
        f->open(static_cast<int16_t>(language));
        QStringList wrong;
        for (const CaptionText& t : kTitles) {
            f->platform.messages.clear();
            QTest::mouseClick(screen().findChild<QLabel*>(QLatin1String(t.label)), Qt::LeftButton);
            QCOMPARE(f->platform.messages.size(), 1);
            const QString title = u8(language ? t.french : t.english);
            if (f->platform.messages[0].title != title)
                wrong << QStringLiteral("%1: \"%2\"").arg(t.label, f->platform.messages[0].title);
        }
        QCOMPARE(wrong, QStringList());
    }

    // Every one of the 32 captions is a link to an information box of its own.
    void everyCaptionIsALink() {
        f->open(0);
        QSet<QString> titles;
        for (QLabel* l : screen().lblCaptions) {
            QCOMPARE(l->cursor().shape(), Qt::PointingHandCursor);
            f->platform.messages.clear();
            QTest::mouseClick(l, Qt::LeftButton);
            QCOMPARE(f->platform.messages.size(), 1);
            const ShownMessage& shown = f->platform.messages[0];
            QCOMPARE(shown.icon, MsgIcon::Information);
            QCOMPARE(shown.buttons, MsgButtons::OK);
            QVERIFY2(shown.title.trimmed().endsWith(QLatin1String("DEFINITION")), qPrintable(shown.title));
            QVERIFY2(!shown.text.trimmed().isEmpty(), qPrintable(l->objectName()));
            titles.insert(shown.title);
        }
        QCOMPARE(titles.size(), 32);
    }

    void accountsPayableDefinition_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("body");
        const QString brk = QStringLiteral("\r\n\r\n");
        const QString in = QStringLiteral("     ");
        QTest::newRow("English")
            << 0
            << QStringLiteral(
                   "All claims by creditors arising from the purchase of goods and services.  Included are "
                   "accrued liabilities and amounts owing to governments, including corporate income tax.") +
                   brk + QStringLiteral("a)  Trade Payables") + brk + in +
                   QStringLiteral("i)  trade accounts payable to affiliates") + brk + in +
                   QStringLiteral("ii) holdbacks payable") + brk +
                   QStringLiteral("b)  Other Accounts Payable") + brk + in +
                   QStringLiteral("i)  interest, dividends and rent payable") + brk + in +
                   QStringLiteral(
                       "ii) accrued expenses such as salaries, wages, payroll taxes, employee benefits");
        QTest::newRow("French") << 1
                                << u8("Sommes dues à un créancier et découlant de l'achat de biens ou de la "
                                      "prestation de services.  "
                                      "Comprend aussi les exigibilités courues, les sommes dues à des "
                                      "administrations publiques ainsi "
                                      "que les impôts sur le revenu exigibles.") +
                                       brk + u8("a)  Fournisseurs") + brk + in +
                                       u8("i)  comptes fournisseurs à payer à des sociétés affiliées") + brk +
                                       in + u8("ii) retenues de garantie à payer") + brk +
                                       u8("b)  Autres comptes créditeurs") + brk + in +
                                       u8("i)  intérêts dividendes et loyers à payer") + brk + in +
                                       u8("ii) dépenses courues, comme les rémunérations et les avantages "
                                          "sociaux, les charges sociales "
                                          "et autres retenues salariales");
    }
    void accountsPayableDefinition() {
        QFETCH(int, language);
        QFETCH(QString, body);
        f->open(static_cast<int16_t>(language));
        QTest::mouseClick(screen().findChild<QLabel*>(QStringLiteral("lblAccountPayable")), Qt::LeftButton);
        QCOMPARE(f->platform.messages.size(), 1);
        QCOMPARE(f->platform.lastMessage(), body);
        QCOMPARE(f->platform.lastMessage().split(QStringLiteral("\r\n\r\n")).size(), 7);
    }

    void subtotalDefinitionIsOneParagraph() {
        f->open(0);
        QTest::mouseClick(screen().findChild<QLabel*>(QStringLiteral("lblTotalOA")), Qt::LeftButton);
        QCOMPARE(
            f->platform.lastMessage(),
            QStringLiteral(
                "This amount should include all assets relevant to operating activities.  It should also "
                "be equal to the sum of the amounts entered above."));
    }

    void headingsAreNoLinks_data() {
        QTest::addColumn<QString>("label");
        for (const char* l : {"lblAsset", "lblIncome", "lblLiabEq", "lblFirmName", "lblYear", "lblIndustry"})
            QTest::newRow(l) << l;
    }
    void headingsAreNoLinks() {
        QFETCH(QString, label);
        f->open(0);
        QLabel* l = screen().findChild<QLabel*>(label);
        QVERIFY(l);
        QVERIFY(l->cursor().shape() != Qt::PointingHandCursor);
        QTest::mouseClick(l, Qt::LeftButton);
        QVERIFY(f->platform.messages.isEmpty());
    }

    // --- texts that fit ---

    void nothingClipped_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("French") << 1;
    }
    void nothingClipped() {
        QFETCH(int, language);
        f->open(static_cast<int16_t>(language));
        // The widest texts a box can hold.
        f->box("txtCash")->setText(QStringLiteral("-922337203685477"));
        f->box("txtTa")->setText(QStringLiteral("-1.677722E+07"));
        f->box("txtSales")->setText(QStringLiteral("123456789012.5678"));
        QVERIFY(QTest::qWaitForWindowExposed(&screen()));
        QCOMPARE(layoutcheck::clippedTexts(screen()), QStringList());
        // The value boxes and the name box show their whole text too.
        QStringList cut;
        for (QLineEdit* b : screen().findChildren<QLineEdit*>()) {
            const int room =
                b->contentsRect().width() - b->textMargins().left() - b->textMargins().right() - 8;
            if (b->fontMetrics().horizontalAdvance(b->text()) > room)
                cut << b->objectName() + u' ' + b->text();
        }
        QCOMPARE(cut, QStringList());

        firmrecords::store(modMain::gcnMyData, [] {
            FirmStatement firm;
            firm.firmName = QStringLiteral("Société de portefeuille Beauséjour-Lévesque");
            firm.year = QStringLiteral("2010");
            firmrules::resetValues(firm.values);
            return firm;
        }());
        screen().blnDataChanged = false;
        screen().mnuOpen->trigger();
        frmOpenExisting* d = f->registry.existing<frmOpenExisting>();
        QVERIFY(d && d->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(d));
        QCOMPARE(layoutcheck::clippedTexts(*d), QStringList());
        // The grid shows both columns in full.
        QVERIFY(d->dbgFirms->columnWidth(0) >= d->dbgFirms->fontMetrics().horizontalAdvance(QStringLiteral(
                                                   "Société de portefeuille Beauséjour-Lévesque")));
    }
};

QTEST_MAIN(TestFirmValuesScreen)
#include "test_firm_values_screen.moc"
