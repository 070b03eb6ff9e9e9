// The industry selection screen driven through its real widgets with the scripted
// platform: the four search modes, the selection they make, Continue and what it hands
// over to, the returns, the language switch, the menus and the exit question.

#include "SearchScreenFixture.h"
#include "firm/FirmRecords.h"
#include "screens/firm/frmMyValues.h"
#include "screens/firm/frmOpenExisting.h"
#include "screens/start/frmAbout.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCollator>
#include <QGroupBox>
#include <QHeaderView>

using namespace modMain;

class TestSearchScreen : public QObject, public SearchScreenFixture {
    Q_OBJECT

    bool nothingSelected(const frmSearch& s) {
        return s.lblNAICSCode->text().isEmpty() && s.lblCategory->text().isEmpty() &&
               s.txtIndName->toPlainText().isEmpty() && s.lblHiddenNaics->text().isEmpty();
    }

    bool inTreeMode(const frmSearch& s) {
        return s.optSearchNaics->isChecked() && !s.fraTreeView->isHidden() && s.fraKeyword->isHidden() &&
               s.fraNAICScode->isHidden() && s.fraNAICSTitle->isHidden();
    }

    bool anyExpanded(frmSearch& s, const QModelIndex& parent = QModelIndex()) {
        QAbstractItemModel* m = s.TreeView1->model();
        for (int r = 0; r < m->rowCount(parent); ++r) {
            const QModelIndex i = m->index(r, 0, parent);
            if (s.TreeView1->isExpanded(i) || anyExpanded(s, i)) return true;
        }
        return false;
    }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void opensInTreeModeWithNothingSelected() {
        frmSearch& s = openSearch();
        QVERIFY(s.isVisible());
        QVERIFY(!registry.existing<frmMenu>()->isVisible());
        QCOMPARE(registry.active(), &s);
        QVERIFY(inTreeMode(s));
        QVERIFY(nothingSelected(s));
        QVERIFY(!s.lblHiddenNaics->isVisible());
        QVERIFY(s.optRatios->isChecked());
        QVERIFY(s.optReport->isChecked());
        QVERIFY(s.dbgridKeywordResults->isHidden());
        QVERIFY(!anyExpanded(s));
        QVERIFY(s.cmdContinue->isDefault());
    }

    void captionsAndTitle_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<QString>("proceed");
        QTest::addColumn<QString>("selected");
        QTest::newRow("English") << 0 << "Search Nova Scotia - ZEBRO (2011, 2010 and 2009)"
                                 << QStringList{"1.  Search Method", "2.  Data Type", "3.  Report Options"}
                                 << "4.  Continue"
                                 << "Industry Selected :";
        QTest::newRow("French") << 1 << "Recherche Nouvelle-Écosse - DORVA (2011, 2010 and 2009)"
                                << QStringList{"1.  Recherche par", "2.  Type de données",
                                               "3.  Options de rapport"}
                                << "4.  Continuer"
                                << "Industrie sélectionnée :";
    }
    void captionsAndTitle() {
        QFETCH(int, language);
        QFETCH(QString, title);
        QFETCH(QStringList, frames);
        QFETCH(QString, proceed);
        QFETCH(QString, selected);
        frmSearch& s = openSearch("optNovaScotia", static_cast<int16_t>(language));
        QCOMPARE(s.windowTitle(), title);
        QCOMPARE((QStringList{s.fraSearch->title(), s.fraDatatype->title(), s.fraOutput->title()}), frames);
        QCOMPARE(s.cmdContinue->text(), proceed);
        QCOMPARE(s.lblIndustryInfo->text(), selected);
        QCOMPARE(s.btnBack->toolTip(), language ? QStringLiteral("Retourner") : QStringLiteral("Return"));
        QCOMPARE(s.optCompareNew->text(), language ? QStringLiteral("Entrer des nouvelles données")
                                                   : QStringLiteral("Enter new data"));
        QCOMPARE(s.lblDirections->text(),
                 language ? QStringLiteral("Cliquez sur une icône dans un fichier ci-dessous")
                          : QStringLiteral("Click a paper icon in a folder below"));
        QCOMPARE(s.mnuDefinition->text(), language ? QStringLiteral("Définition de l'industrie")
                                                   : QStringLiteral("Industry Definition"));
        QCOMPARE(s.mnuEnglish->text(), QStringLiteral("English"));
        QCOMPARE(s.mnuFrench->text(), QStringLiteral("Français"));
    }

    void menuShortcuts() {
        frmSearch& s = openSearch();
        QCOMPARE(s.mnuReturn->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
        // No Ctrl+X here; the desktop's own Quit only.
        QCOMPARE(s.mnuExit->shortcuts(), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Q)});
        QCOMPARE(s.mnuDefinition->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
        QCOMPARE(s.mnuEnglish->shortcut(), QKeySequence(Qt::Key_F2));
        QCOMPARE(s.mnuFrench->shortcut(), QKeySequence(Qt::Key_F3));
        QCOMPARE(s.mnuContents->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(s.mnuTechnical->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
        QCOMPARE(s.mnuAbout->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        for (QAction* a : s.findChildren<QAction*>())
            QVERIFY2(!a->text().contains(u'&'), qPrintable(a->text()));
    }

    // Every switch clears the selection, so Continue right after it asks for an industry.
    void continueAfterModeSwitchAsksForAnIndustry_data() {
        QTest::addColumn<QString>("mode");
        QTest::newRow("to keyword") << "optKeyword";
        QTest::newRow("to code list") << "optNAICScode";
        QTest::newRow("to title list") << "optNAICSTitle";
        QTest::newRow("back to the tree") << "optSearchNaics";
    }
    void continueAfterModeSwitchAsksForAnIndustry() {
        QFETCH(QString, mode);
        frmSearch& s = openSearch();
        if (mode == QLatin1String("optSearchNaics")) {
            choose(s.optNAICScode);
            pick(s.cboNAICScodes, 0);
        } else {
            selectFirstIndustryInTree(s);
        }
        QVERIFY(!nothingSelected(s));
        choose(s.findChild<QRadioButton*>(mode));
        QVERIFY(nothingSelected(s));
        QTest::mouseClick(s.cmdContinue, Qt::LeftButton);
        QCOMPARE(platform->messages.size(), 1);
        QCOMPARE(platform->lastMessage(), QStringLiteral("You must select an industry"));
        QCOMPARE(platform->messages[0].icon, MsgIcon::Exclamation);
        QCOMPARE(platform->messages[0].buttons, MsgButtons::OK);
        QVERIFY(!viewer());
    }

    void modeTable_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("defaultButton");
        QTest::newRow("code list") << "optNAICScode"
                                   << "fraNAICScode"
                                   << "";
        QTest::newRow("title list") << "optNAICSTitle"
                                    << "fraNAICSTitle"
                                    << "";
        QTest::newRow("keyword") << "optKeyword"
                                 << "fraKeyword"
                                 << "cmdKeyword";
    }
    void modeTable() {
        QFETCH(QString, mode);
        QFETCH(QString, frame);
        QFETCH(QString, defaultButton);
        frmSearch& s = openSearch();
        choose(s.findChild<QRadioButton*>(mode));
        for (QGroupBox* f : {s.fraTreeView, s.fraKeyword, s.fraNAICScode, s.fraNAICSTitle})
            QCOMPARE(f->isVisible(), f->objectName() == frame);
        QCOMPARE(s.cmdKeyword->isDefault(), defaultButton == QLatin1String("cmdKeyword"));
        QVERIFY(!s.cmdContinue->isDefault());
        // The tree mode leaves the default button where it was.
        choose(s.optSearchNaics);
        QVERIFY(inTreeMode(s));
        QCOMPARE(s.cmdKeyword->isDefault(), defaultButton == QLatin1String("cmdKeyword"));
        QVERIFY(!s.cmdContinue->isDefault());
    }

    void listsFillWhenTheirModeIsChosen() {
        frmSearch& s = openSearch();
        QCOMPARE(s.cboNAICScodes->count(), 0);
        choose(s.optNAICScode);
        QStringList codes;
        RecordsetPtr rs =
            GetRS(gcnData, QStringLiteral("select NAICS from ") + gstrDataTable, QStringLiteral("read"));
        for (; !rs->eof(); rs->moveNext())
            codes << rs->field(0).toString();
        codes.sort();
        QCOMPARE(items(s.cboNAICScodes), codes);
        QCOMPARE(s.cboNAICScodes->currentIndex(), -1);
        choose(s.optNAICSTitle);
        QCOMPARE(s.cboNAICSTitle->count(), codes.size());
        QVERIFY(nothingSelected(s));
    }

    void codePickShowsTheIndustry() {
        frmSearch& s = openSearch();
        choose(s.optNAICScode);
        pick(s.cboNAICScodes, 3);
        const QString code = s.cboNAICScodes->itemText(3);
        QCOMPARE(s.lblHiddenNaics->text(), code);
        QCOMPARE(s.lblNAICSCode->text(), QStringLiteral("NAICS: ") + code);
        QCOMPARE(s.txtIndName->toPlainText(), title(code, 0));
        QCOMPARE(s.lblCategory->text(), QStringLiteral("Sector: ") + sector(code, 0));
    }

    void titleListOpensAsWideAsItsTitles_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("French") << 1;
    }
    void titleListOpensAsWideAsItsTitles() {
        QFETCH(int, language);
        frmSearch& s = openSearch("optVol3", static_cast<int16_t>(language));
        choose(s.optNAICSTitle);
        const QFontMetrics metrics(s.cboNAICSTitle->view()->font());
        int widest = 0;
        for (const QString& t : items(s.cboNAICSTitle))
            widest = std::max(widest, metrics.horizontalAdvance(t));
        QVERIFY(widest > s.cboNAICSTitle->width());
        QVERIFY(s.cboNAICSTitle->view()->minimumWidth() > widest);
    }

    void titlePickWithAnApostrophe_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("French") << 1;
    }
    void titlePickWithAnApostrophe() {
        QFETCH(int, language);
        frmSearch& s = openSearch("optVol3", static_cast<int16_t>(language));
        choose(s.optNAICSTitle);
        int index = -1;
        for (int i = 0; i < s.cboNAICSTitle->count() && index < 0; ++i)
            if (s.cboNAICSTitle->itemText(i).contains(u'\'')) index = i;
        QVERIFY(index >= 0);
        pick(s.cboNAICSTitle, index);
        const QString code = s.lblHiddenNaics->text();
        QVERIFY(!code.isEmpty());
        QCOMPARE(title(code, language), s.cboNAICSTitle->itemText(index));
        QCOMPARE(s.txtIndName->toPlainText(), s.cboNAICSTitle->itemText(index));
        QCOMPARE(s.lblNAICSCode->text(),
                 (language ? QStringLiteral("SCIAN: ") : QStringLiteral("NAICS: ")) + code);
        QCOMPARE(s.lblCategory->text(),
                 (language ? QStringLiteral("Secteur: ") : QStringLiteral("Sector: ")) +
                     sector(code, language));
        QVERIFY(platform->messages.isEmpty());
    }

    // A lookup that finds no row (a code or title the dataset does not hold) leaves
    // nothing selected rather than ending the program.
    void lookupsThatFindNothingLeaveNoSelection_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("title pick") << "title";
        QTest::newRow("code pick") << "code";
        QTest::newRow("lookup in the new language") << "lookup";
    }
    void lookupsThatFindNothingLeaveNoSelection() {
        QFETCH(QString, how);
        frmSearch& s = openSearch();
        selectFirstIndustryInTree(s);
        QVERIFY(!nothingSelected(s));
        if (how == QLatin1String("lookup")) {
            s.subLookupNewLanguage(QStringLiteral("999999"));
        } else {
            QComboBox* list = how == QLatin1String("title") ? s.cboNAICSTitle : s.cboNAICScodes;
            choose(how == QLatin1String("title") ? s.optNAICSTitle : s.optNAICScode);
            pick(list, 2);
            QVERIFY(!nothingSelected(s));
            list->addItem(how == QLatin1String("title") ? QStringLiteral("Not an industry's title")
                                                        : QStringLiteral("999999"));
            pick(list, list->count() - 1);
        }
        QVERIFY(nothingSelected(s));
        QVERIFY(platform->messages.isEmpty());
        QCOMPARE(platform->endedWith, -1);
    }

    void dataTypeClickTurnsViewIndustryDataOn() {
        frmSearch& s = openSearch();
        const QString code = selectFirstIndustryInTree(s);
        choose(s.optCompareNew);
        QVERIFY(s.optCompareNew->isChecked());
        choose(s.optBalanceSheet);
        QVERIFY(s.optReport->isChecked());
        QTest::mouseClick(s.cmdContinue, Qt::LeftButton);
        QVERIFY(platform->messages.isEmpty());
        QVERIFY(viewer() && viewer()->isVisible());
        QCOMPARE(viewer()->windowTitle(), QStringLiteral("ZEBRO Balance Sheet Report"));
        QVERIFY(s.isVisible());
        QVERIFY(!code.isEmpty());
    }

    void continueThenReturnKeepsTheSelection_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("dataType");
        QTest::addColumn<QString>("viewerTitle");
        QTest::newRow("ratios report") << "optReport"
                                       << "optRatios"
                                       << "ZEBRO Ratios Report";
        QTest::newRow("balance sheet report") << "optReport"
                                              << "optBalanceSheet"
                                              << "ZEBRO Balance Sheet Report";
    }
    void continueThenReturnKeepsTheSelection() {
        QFETCH(QString, option);
        QFETCH(QString, dataType);
        QFETCH(QString, viewerTitle);
        frmSearch& s = openSearch();
        choose(s.optNAICSTitle);
        pick(s.cboNAICSTitle, 5);
        const QString code = s.lblHiddenNaics->text();
        const QString name = s.txtIndName->toPlainText();
        choose(s.findChild<QRadioButton*>(dataType));
        choose(s.findChild<QRadioButton*>(option));
        QTest::mouseClick(s.cmdContinue, Qt::LeftButton);
        QVERIFY(viewer());
        QCOMPARE(viewer()->windowTitle(), viewerTitle);
        QTest::mouseClick(viewer()->btnBack, Qt::LeftButton);
        QVERIFY(!viewer());
        QCOMPARE(registry.active(), &s);
        QVERIFY(s.optNAICSTitle->isChecked());
        QVERIFY(s.fraNAICSTitle->isVisible());
        QCOMPARE(s.lblHiddenNaics->text(), code);
        QCOMPARE(s.txtIndName->toPlainText(), name);
        QCOMPARE(s.cboNAICSTitle->currentIndex(), 5);
    }

    void enterNewDataShowsTheFirmValuesScreen_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("French") << 1;
    }
    void enterNewDataShowsTheFirmValuesScreen() {
        QFETCH(int, language);
        frmSearch& s = openSearch("optNovaScotia", static_cast<int16_t>(language));
        const QString code = selectFirstIndustryInTree(s);
        choose(s.optCompareNew);
        QTest::mouseClick(s.cmdContinue, Qt::LeftButton);
        QVERIFY(platform->messages.isEmpty());
        frmMyValues* values = registry.existing<frmMyValues>();
        QVERIFY(values && values->isVisible());
        QCOMPARE(registry.active(), values);
        QVERIFY(!s.isVisible());
        QCOMPARE(values->lblNAICS->text(), code);
        QCOMPARE(values->lblIndustry->text(), s.txtIndName->toPlainText());
        // Back on this screen, the same selection.
        QTest::mouseClick(values->btnBack, Qt::LeftButton);
        QCOMPARE(registry.active(), &s);
        QVERIFY(s.isVisible());
        QCOMPARE(s.lblHiddenNaics->text(), code);
    }

    void openExistingDataWithNothingStored_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << 0 << "No records were found";
        QTest::newRow("French") << 1 << QString::fromUtf8("L'item n'a pas été trouvé");
    }
    void openExistingDataWithNothingStored() {
        QFETCH(int, language);
        QFETCH(QString, message);
        frmSearch& s = openSearch("optNovaScotia", static_cast<int16_t>(language));
        const QString code = selectFirstIndustryInTree(s);
        choose(s.optCompareExisting);
        QTest::mouseClick(s.cmdContinue, Qt::LeftButton);
        QCOMPARE(platform->messages.size(), 1);
        QCOMPARE(platform->lastMessage(), message);
        QCOMPARE(platform->messages[0].icon, MsgIcon::None);
        frmOpenExisting* list = registry.existing<frmOpenExisting>();
        QVERIFY(!list || !list->isVisible());
        QVERIFY(s.isVisible());
        QCOMPARE(s.lblHiddenNaics->text(), code);
    }

    void openExistingDataListsAndOpens() {
        frmSearch& s = openSearch();
        const QString code = selectFirstIndustryInTree(s);
        FirmStatement firm;
        firm.firmName = QStringLiteral("O'Neil");
        firm.year = QStringLiteral("2010");
        firm.naics = QStringLiteral("111110");
        firmrules::resetValues(firm.values);
        firm.value("Sales") = QStringLiteral("5000");
        firmrecords::store(gcnMyData, firm);
        // The window system has settled on this screen before the list comes over it.
        QVERIFY(QTest::qWaitForWindowActive(&s));
        choose(s.optCompareExisting);
        QTest::mouseClick(s.cmdContinue, Qt::LeftButton);
        QVERIFY(platform->messages.isEmpty());
        frmOpenExisting* list = registry.existing<frmOpenExisting>();
        QVERIFY(list && list->isVisible());
        QCOMPARE(registry.active(), list);
        // This screen stays until a firm is opened.
        QVERIFY(s.isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(list));
        // A double click on the row: its first click, then the second.
        const QPoint row = list->dbgFirms->visualRect(list->AdodcFirms->index(0, 0)).center();
        QTest::mouseClick(list->dbgFirms->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(list->dbgFirms->viewport(), Qt::LeftButton, {}, row);
        frmMyValues* values = registry.existing<frmMyValues>();
        QVERIFY(values && values->isVisible());
        QVERIFY(!s.isVisible());
        QVERIFY(!list->isVisible());
        QCOMPARE(values->txtFirmName->text(), QStringLiteral("O'Neil"));
        QCOMPARE(values->cboYear->currentText(), QStringLiteral("2010"));
        QCOMPARE(values->valueBox(QStringLiteral("txtSales"))->text(), QStringLiteral("5000"));
        // Against the industry chosen here, not the one it was saved under.
        QCOMPARE(values->lblNAICS->text(), code);
    }

    void returnToMainMenuThenSearchStartsAfresh_data() {
        QTest::addColumn<bool>("backButton");
        QTest::newRow("File > Return to Main Menu") << false;
        QTest::newRow("back button") << true;
    }
    void returnToMainMenuThenSearchStartsAfresh() {
        QFETCH(bool, backButton);
        frmSearch& s = openSearch();
        keywordSearch(s, QStringLiteral("farm"));
        clickRow(s, 0);
        QVERIFY(!nothingSelected(s));
        choose(s.optBalanceSheet);
        choose(s.optCompareExisting);
        if (backButton)
            QTest::mouseClick(s.btnBack, Qt::LeftButton);
        else
            s.mnuReturn->trigger();
        frmMenu* menu = registry.existing<frmMenu>();
        QVERIFY(!s.isVisible());
        QVERIFY(menu->isVisible());
        QCOMPARE(registry.active(), menu);
        QVERIFY(menu->option(QStringLiteral("optNovaScotia"))->isChecked());
        QTest::mouseClick(menu->cmdSearch, Qt::LeftButton);
        QCOMPARE(registry.existing<frmSearch>(), &s);
        QVERIFY(inTreeMode(s));
        QVERIFY(nothingSelected(s));
        QVERIFY(s.txtKeyword->text().isEmpty());
        QVERIFY(s.dbgridKeywordResults->isHidden());
        QVERIFY(s.optBalanceSheet->isChecked());
        QVERIFY(s.optCompareExisting->isChecked());
    }

    void aboutAndItsReturnKeepEverything() {
        frmSearch& s = openSearch();
        choose(s.optNAICScode);
        pick(s.cboNAICScodes, 1);
        const QString code = s.lblHiddenNaics->text();
        s.mnuAbout->trigger();
        frmAbout* about = registry.existing<frmAbout>();
        QVERIFY(about && about->isVisible());
        QVERIFY(about->isModal());
        QCOMPARE(about->parentWidget(), &s);
        QCOMPARE(registry.active(), about);
        QTest::mouseClick(about->cmdReturn, Qt::LeftButton);
        QCOMPARE(registry.active(), &s);
        QVERIFY(s.optNAICScode->isChecked());
        QCOMPARE(s.lblHiddenNaics->text(), code);
        QCOMPARE(s.cboNAICScodes->currentIndex(), 1);
        // The window coming to the front again later is no move: it changes nothing.
        activate(s);
        QCOMPARE(s.lblHiddenNaics->text(), code);
        QVERIFY(s.optNAICScode->isChecked());
    }

    void languageSwitchKeepsTheSelection() {
        frmSearch& s = openSearch();
        choose(s.optNAICScode);
        pick(s.cboNAICScodes, 7);
        const QString code = s.lblHiddenNaics->text();
        const QStringList codes = items(s.cboNAICScodes);
        s.mnuFrench->trigger();
        QCOMPARE(int(gintLanguage), 1);
        QCOMPARE(s.lblHiddenNaics->text(), code);
        QCOMPARE(s.lblNAICSCode->text(), QStringLiteral("SCIAN: ") + code);
        QCOMPARE(s.txtIndName->toPlainText(), title(code, 1));
        QCOMPARE(s.lblCategory->text(), QStringLiteral("Secteur: ") + sector(code, 1));
        QVERIFY(s.optNAICScode->isChecked());
        QCOMPARE(items(s.cboNAICScodes), codes);
        QCOMPARE(s.cboNAICScodes->currentIndex(), 7);
        // The title list in French, in French order.
        QStringList french;
        RecordsetPtr rs =
            GetRS(gcnData,
                  QStringLiteral("select N.Description_french from %1 N join %2 F on N.NAICS = F.NAICS")
                      .arg(gstrNAICSTable, gstrDataTable),
                  QStringLiteral("read"));
        for (; !rs->eof(); rs->moveNext())
            french << rs->field(0).toString();
        QCollator collator(QLocale(QLocale::French, QLocale::Canada));
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::sort(french.begin(), french.end(),
                  [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
        QCOMPARE(items(s.cboNAICSTitle), french);
        // The tree, rebuilt in French and closed.
        QCOMPARE(s.TreeView1->model()->index(0, 0).data().toString(),
                 value(QStringLiteral("select IndDescF from tblTreeview where NodeKey = 'IndTOTALL'"))
                     .toString()
                     .trimmed());
        QVERIFY(!anyExpanded(s));
        QCOMPARE(s.windowTitle(), QStringLiteral("Recherche Nouvelle-Écosse - DORVA (2011, 2010 and 2009)"));
        QCOMPARE(gstrDatasetCaption, QStringLiteral("Nouvelle-Écosse"));
        QCOMPARE(registry.existing<frmMenu>()->cmdSearch->text(), QStringLiteral("Recherche"));
        // And back.
        s.mnuEnglish->trigger();
        QCOMPARE(s.lblNAICSCode->text(), QStringLiteral("NAICS: ") + code);
        QCOMPARE(s.txtIndName->toPlainText(), title(code, 0));
        QCOMPARE(s.windowTitle(), QStringLiteral("Search Nova Scotia - ZEBRO (2011, 2010 and 2009)"));
    }

    void languageSwitchWithoutSelectionShowsNone() {
        frmSearch& s = openSearch();
        s.mnuFrench->trigger();
        QVERIFY(nothingSelected(s));
        QVERIFY(platform->messages.isEmpty());
    }

    void treeShowsFinanceOnlyForVolume1_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("finance");
        QTest::newRow("volume 1") << "optVol1" << true;
        QTest::newRow("Nova Scotia") << "optNovaScotia" << false;
    }
    void treeShowsFinanceOnlyForVolume1() {
        QFETCH(QString, option);
        QFETCH(bool, finance);
        frmSearch& s = openSearch(qPrintable(option));
        const QModelIndex node = nodeByKey(s, QStringLiteral("IndTFINANC"));
        QCOMPARE(node.isValid(), finance);
        if (finance) {
            QCOMPARE(node.parent().data(industrytreemodel::KeyRole).toString(), QStringLiteral("IndTOTALL"));
            QCOMPARE(node.data().toString(),
                     value(QStringLiteral("select IndDescE from tblTreeview where NodeKey = 'IndTFINANC'"))
                         .toString());
            QVERIFY(s.TreeView1->model()->rowCount(node) > 0);
        }
    }

    void treePictures() {
        frmSearch& s = openSearch();
        const QModelIndex folder = nodeByKey(s, QStringLiteral("IndTRETAIL"));
        const QModelIndex industry = firstIndustry(s);
        QCOMPARE(folder.data(industrytreemodel::PictureRole).toInt(), 1);
        QCOMPARE(industry.data(industrytreemodel::PictureRole).toInt(), 3);
        QVERIFY(!folder.data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(!industry.data(Qt::DecorationRole).value<QIcon>().isNull());
    }

    void treeClickSelectsAnIndustryButNotAFolder() {
        frmSearch& s = openSearch();
        const QModelIndex industry = firstIndustry(s);
        clickNode(s, industry);
        const QString key = industry.data(industrytreemodel::KeyRole).toString();
        const QString code = key.mid(3);
        QCOMPARE(s.lblHiddenNaics->text(), code);
        QCOMPARE(s.lblNAICSCode->text(), QStringLiteral("NAICS: ") + code);
        QCOMPARE(s.txtIndName->toPlainText(), title(code, 0));
        QCOMPARE(s.lblCategory->text(), QStringLiteral("Sector: ") + sector(code, 0));
        clickNode(s, nodeByKey(s, QStringLiteral("IndTRETAIL")));
        QCOMPARE(s.TreeView1->currentIndex().data(industrytreemodel::KeyRole).toString(),
                 QStringLiteral("IndTRETAIL"));
        QCOMPARE(s.lblHiddenNaics->text(), code);
        QCOMPARE(s.txtIndName->toPlainText(), title(code, 0));
        QVERIFY(!viewer());
    }

    void treeDoubleClicks() {
        frmSearch& s = openSearch();
        const QModelIndex folder = nodeByKey(s, QStringLiteral("IndTUTIL"));
        clickNode(s, folder, true);
        QVERIFY(s.TreeView1->isExpanded(folder));
        QVERIFY(nothingSelected(s));
        QVERIFY(!viewer());
        QVERIFY(platform->messages.isEmpty());
        clickNode(s, firstIndustry(s), true);
        QVERIFY(!nothingSelected(s));
        QVERIFY(viewer());
        QCOMPARE(viewer()->windowTitle(), QStringLiteral("ZEBRO Ratios Report"));
        QVERIFY(platform->messages.isEmpty());
    }

    void clicksWithNothingUnderThemDoNothing() {
        frmSearch& s = openSearch();
        const QString code = selectFirstIndustryInTree(s);
        s.TreeView1->selectionModel()->clearSelection();
        s.TreeView1_Click();
        s.TreeView1_DblClick();
        s.dbgridKeywordResults_Click();
        s.dbgridKeywordResults_DblClick();
        QCOMPARE(s.lblHiddenNaics->text(), code);
        QVERIFY(!viewer());
        QVERIFY(platform->messages.isEmpty());
        // An empty grid after a search that found nothing.
        keywordSearch(s, QStringLiteral("no such industry"));
        QTest::mouseClick(s.dbgridKeywordResults->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseDClick(s.dbgridKeywordResults->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(nothingSelected(s));
        QVERIFY(!viewer());
    }

    void reportReturnRestoresTheNormalWindowState() {
        frmSearch& s = openSearch();
        selectFirstIndustryInTree(s);
        QTest::mouseClick(s.cmdContinue, Qt::LeftButton);
        QVERIFY(viewer());
        s.setWindowState(Qt::WindowMinimized);
        QVERIFY(s.isMinimized());
        QTest::mouseClick(viewer()->btnBack, Qt::LeftButton);
        QVERIFY(!s.isMinimized());
        QVERIFY(s.isVisible());
    }

    void continueRestoresTheNormalWindowState() {
        frmSearch& s = openSearch();
        s.setWindowState(Qt::WindowMaximized);
        QTest::mouseClick(s.cmdContinue, Qt::LeftButton);
        QCOMPARE(platform->lastMessage(), QStringLiteral("You must select an industry"));
        QCOMPARE(s.windowState(), Qt::WindowNoState);
    }

    // Enter or Space on a row of the tree or of the results chooses its industry (the
    // results are not searched again); Enter elsewhere, with no button focused, presses the
    // default button of the mode, and the list modes have none.
    void enterChoosesTheRowOrPressesTheDefaultButton() {
        frmSearch& s = openSearch();
        const QModelIndex industry = firstIndustry(s);
        s.TreeView1->setCurrentIndex(industry);
        QTest::keyClick(s.TreeView1, Qt::Key_Space);
        QCOMPARE(s.lblHiddenNaics->text(),
                 industrytree::naicsOfKey(industry.data(industrytreemodel::KeyRole).toString()));
        QTest::keyClick(s.TreeView1, Qt::Key_Return);
        QVERIFY(!viewer());
        QTest::keyClick(s.optReport, Qt::Key_Return);
        QVERIFY(viewer()); // Continue is the default button in the tree mode
        viewer()->btnBack->click();
        choose(s.optKeyword);
        s.txtKeyword->setText(QStringLiteral("farm"));
        QTest::keyClick(s.txtKeyword, Qt::Key_Return);
        QVERIFY(s.dbgridKeywordResults->isVisible());
        QCOMPARE(s.focusWidget(), s.dbgridKeywordResults);
        const int found = s.adodcKeywordResults->rowCount();
        QTest::keyClick(s.dbgridKeywordResults, Qt::Key_Down);
        QTest::keyClick(s.dbgridKeywordResults, Qt::Key_Return);
        QCOMPARE(s.lblHiddenNaics->text(), s.adodcKeywordResults->cellText(1, 0));
        QCOMPARE(s.adodcKeywordResults->rowCount(), found);
        QVERIFY(!s.dbgridKeywordResults->tabKeyNavigation());
        choose(s.optNAICScode);
        const int shown = platform->messages.size();
        QTest::keyClick(s.cboNAICScodes, Qt::Key_Return);
        QCOMPARE(platform->messages.size(), shown); // no default button in the list modes
        QVERIFY(!viewer());
    }

    void exitQuestion_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("question");
        QTest::newRow("English") << 0 << "Do you want to exit?";
        QTest::newRow("French") << 1 << "Voulez-vous quitter?";
    }
    void exitQuestion() {
        QFETCH(int, language);
        QFETCH(QString, question);
        frmSearch& s = openSearch("optNovaScotia", static_cast<int16_t>(language));
        const QString code = selectFirstIndustryInTree(s);
        platform->answers.enqueue(MsgResult::No);
        QVERIFY(!s.close());
        QVERIFY(s.isVisible());
        QCOMPARE(s.lblHiddenNaics->text(), code);
        platform->answers.enqueue(MsgResult::No);
        s.mnuExit->trigger();
        QVERIFY(s.isVisible());
        QCOMPARE(platform->messages.size(), 2);
        for (const ShownMessage& m : platform->messages) {
            QCOMPARE(m.text, question);
            QCOMPARE(m.buttons, MsgButtons::YesNo);
            QCOMPARE(m.icon, MsgIcon::Exclamation);
        }
        platform->answers.enqueue(MsgResult::Yes);
        int exitCode = -1;
        try {
            s.mnuExit_Click(); // not trigger(): the end must not unwind through Qt's signal code
        } catch (const ProgramEnded& e) {
            exitCode = e.exitCode;
        }
        QCOMPARE(exitCode, 0);
    }

    void helpMenu() {
        frmSearch& s = openSearch("optNovaScotia", 1);
        s.mnuContents->trigger();
        s.mnuTechnical->trigger();
        QCOMPARE(platform->processes.size(), 2);
        QVERIFY(platform->processes[0].arguments.value(0).endsWith(
            QStringLiteral("/MOLV_ConceptsHelp_Fre.html")));
        QVERIFY(
            platform->processes[1].arguments.value(0).endsWith(QStringLiteral("/MOLV_Tech_Help_Fre.html")));
    }
};

QTEST_MAIN(TestSearchScreen)
#include "test_search_screen.moc"
