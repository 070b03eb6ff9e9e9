// Saving, opening, deleting and resetting firms from the firm values screen and the
// list of saved firms, driven through the real screens with the scripted platform and
// checked against the user database itself.

#include "FirmScreenFixture.h"

#include "firm/FirmRecords.h"
#include "screens/firm/frmOpenExisting.h"

#include <QAction>
#include <QPushButton>
#include <QTableView>

#include "data/RecordsetTableModel.h"

Q_DECLARE_METATYPE(MsgResult)

namespace {

const QString kPrompt = QStringLiteral("Enter an Enterprise Name Here");
const QString kPromptFr = QString::fromUtf8("Entrer un nom d’entreprise ici");
const QString kSaved = QStringLiteral("Data has been saved.");

} // namespace

class TestFirmRecordsScreen : public QObject {
    Q_OBJECT

    std::unique_ptr<FirmScreenFixture> f;

    frmMyValues& screen() { return f->screen(); }

    void typeName(const QString& name) {
        screen().txtFirmName->setFocus(Qt::MouseFocusReason);
        screen().txtFirmName->selectAll();
        f->typeKeys(name);
    }
    void chooseYear(const QString& year) {
        screen().cboYear->setCurrentIndex(screen().cboYear->findText(year));
    }

    // Types a value into its box and leaves it with Enter, as the user does.
    void typeValue(const char* box, const QString& digits) {
        f->enter(box);
        f->typeKeys(digits);
        f->press(Qt::Key_Return);
    }

    void save() { screen().mnuSave->trigger(); }

    // One stored column, read from the user database directly.
    QVariant stored(const QString& name, int year, const QString& column) {
        RecordsetPtr rs =
            GetRS(modMain::gcnMyData,
                  QStringLiteral("select %1 from MyValues where FirmName = ? and Year = ?").arg(column),
                  QStringLiteral("read"), {name, year});
        return rs->eof() ? QVariant() : rs->field(0);
    }
    int storedRows() {
        RecordsetPtr rs = GetRS(modMain::gcnMyData, QStringLiteral("select count(*) from MyValues"),
                                QStringLiteral("read"));
        return rs->field(0).toInt();
    }

    // A firm stored without the screen, for the list and the load.
    void storeFirm(const QString& name, const QString& year, const QString& naics = QStringLiteral("448140"),
                   std::initializer_list<std::pair<const char*, const char*>> values = {}) {
        FirmStatement firm;
        firm.firmName = name;
        firm.year = year;
        firm.naics = naics;
        firmrules::resetValues(firm.values);
        for (const auto& [column, text] : values)
            firm.value(column) = QString::fromUtf8(text);
        firmrecords::store(modMain::gcnMyData, firm);
    }

    bool allValuesZero() {
        for (QLineEdit* b : screen().txtValues)
            if (b->text() != QLatin1String("0")) return false;
        return true;
    }

    frmOpenExisting* dialog() { return f->registry.existing<frmOpenExisting>(); }

    QStringList listedRows() {
        QStringList rows;
        RecordsetTableModel* model = dialog()->AdodcFirms;
        for (int r = 0; r < model->rowCount(); ++r)
            rows << model->cellText(r, 0) + u' ' + model->cellText(r, 1);
        return rows;
    }

    // Opens the row of the list that holds the name and year.
    void openListed(const QString& name, const QString& year) {
        frmOpenExisting* d = dialog();
        QVERIFY(d && d->isVisible());
        RecordsetTableModel* model = d->AdodcFirms;
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->cellText(r, 0) == name && model->cellText(r, 1) == year)
                d->dbgFirms->setCurrentIndex(model->index(r, 0));
        QTest::mouseClick(d->cmdOpen, Qt::LeftButton);
    }

private slots:
    void init() {
        f = std::make_unique<FirmScreenFixture>();
        f->open();
    }
    void cleanup() { f.reset(); }

    // --- save ---

    void saveWithAQuoteInTheName() {
        typeName(QStringLiteral("O'Neil"));
        chooseYear(QStringLiteral("2010"));
        typeValue("txtCash", QStringLiteral("1500"));
        typeValue("txtShareC", QStringLiteral("1500"));
        QVERIFY(screen().blnDataChanged);
        f->enter("txtSales");
        f->press(Qt::Key_S, Qt::ControlModifier); // the menu's shortcut, from inside a box
        QCOMPARE(f->platform.messages.size(), 1);
        QCOMPARE(f->platform.lastMessage(), kSaved);
        QVERIFY(!screen().blnDataChanged);
        QCOMPARE(stored(QStringLiteral("O'Neil"), 2010, QStringLiteral("FirmName")).toString(),
                 QStringLiteral("O'Neil"));
        QCOMPARE(stored(QStringLiteral("O'Neil"), 2010, QStringLiteral("Cash")).toDouble(), 1500.0);
        QCOMPARE(stored(QStringLiteral("O'Neil"), 2010, QStringLiteral("TotLiabShareEq")).toDouble(), 1500.0);
        QCOMPARE(stored(QStringLiteral("O'Neil"), 2010, QStringLiteral("NAICS")).toString(), f->naics);

        // Found again by Open.
        screen().subStart_New_Firm_Record();
        QVERIFY(allValuesZero());
        screen().mnuOpen->trigger();
        QCOMPARE(listedRows(), QStringList{QStringLiteral("O'Neil 2010")});
        openListed(QStringLiteral("O'Neil"), QStringLiteral("2010"));
        QCOMPARE(screen().txtFirmName->text(), QStringLiteral("O'Neil"));
        QCOMPARE(screen().cboYear->currentText(), QStringLiteral("2010"));
        QCOMPARE(f->text("txtCash"), QStringLiteral("1500"));
        QCOMPARE(f->text("txtTa"), QStringLiteral("1500"));
    }

    void replaceQuestion_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<double>("storedCash");
        QTest::addColumn<QString>("question");
        const QString english = QStringLiteral(
            "There are already values for O'Neil for the reference year 2011. If you would like to replace "
            "the "
            "existing values with the ones below PRESS OK.  If you would like to cancel and continue working "
            "with the data on this screen more PRESS CANCEL.  ");
        const QString french = QString::fromUtf8(
            "Il y a déjà des valeurs pour O'Neil pour l'année de référence 2011. APPURYER SUR 'OK' pour "
            "remplacer les valeurs existantes avec celles dessous. APPUYER SUR 'CANCEL' pour continuer "
            "d'utiliser les données à l'écran.");
        QTest::newRow("OK replaces") << 0 << MsgResult::OK << 222.0 << english;
        QTest::newRow("Cancel keeps the stored row") << 0 << MsgResult::Cancel << 111.0 << english;
        QTest::newRow("OK replaces, in French") << 1 << MsgResult::OK << 222.0 << french;
    }
    void replaceQuestion() {
        QFETCH(int, language);
        QFETCH(MsgResult, answer);
        QFETCH(double, storedCash);
        QFETCH(QString, question);
        modMain::gintLanguage = static_cast<int16_t>(language);
        typeName(QStringLiteral("O'Neil"));
        typeValue("txtCash", QStringLiteral("111"));
        save();
        typeValue("txtCash", QStringLiteral("222"));
        f->platform.messages.clear();
        f->platform.answers.enqueue(answer);
        save();
        QCOMPARE(f->platform.messages[0].text, question);
        QCOMPARE(f->platform.messages[0].buttons, MsgButtons::OKCancel);
        QCOMPARE(f->platform.messages[0].icon, MsgIcon::None);
        QCOMPARE(f->platform.messages.size(), answer == MsgResult::OK ? 2 : 1);
        QCOMPARE(stored(QStringLiteral("O'Neil"), 2011, QStringLiteral("Cash")).toDouble(), storedCash);
        QCOMPARE(storedRows(), 1);
        QCOMPARE(screen().blnDataChanged, answer != MsgResult::OK);
        QCOMPARE(f->text("txtCash"), QStringLiteral("222"));
    }

    void unusableNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("saved");
        QTest::newRow("empty") << "" << 0 << false;
        QTest::newRow("blanks only") << "   " << 0 << false;
        QTest::newRow("the prompt") << kPrompt << 0 << false;
        QTest::newRow("the French prompt, in French") << kPromptFr << 1 << false;
        QTest::newRow("the French prompt, in English") << kPromptFr << 0 << true;
        QTest::newRow("the English prompt, in French") << kPrompt << 1 << true;
    }
    void unusableNames() {
        QFETCH(QString, name);
        QFETCH(int, language);
        QFETCH(bool, saved);
        modMain::gintLanguage = static_cast<int16_t>(language);
        screen().txtFirmName->setText(name);
        typeValue("txtInv", QStringLiteral("9"));
        save();
        QCOMPARE(f->platform.messages.size(), 1);
        const QString refusal = language ? QStringLiteral("Nom d'entreprise invalide.")
                                         : QStringLiteral("Invalid enterprise name.");
        const QString done = language ? QString::fromUtf8("Les données ont été sauvegardées.") : kSaved;
        QCOMPARE(f->platform.lastMessage(), saved ? done : refusal);
        QCOMPARE(storedRows(), saved ? 1 : 0);
        QCOMPARE(screen().blnDataChanged, !saved);
    }

    void saveNormalisesABoxNotYetLeft() {
        typeName(QStringLiteral("Paste Ltd"));
        f->enter("txtCA");
        f->box("txtCA")->insert(QStringLiteral("12abc")); // pasted, the box never left
        save();
        QCOMPARE(f->platform.lastMessage(), kSaved);
        QCOMPARE(stored(QStringLiteral("Paste Ltd"), 2011, QStringLiteral("CA")).toDouble(), 12.0);
        QCOMPARE(stored(QStringLiteral("Paste Ltd"), 2011, QStringLiteral("Toa")).toDouble(), 12.0);
        QCOMPARE(f->text("txtCA"), QStringLiteral("12"));
    }

    void saveFillsEmptyBoxes() {
        typeName(QStringLiteral("Gaps Inc"));
        f->box("txtOl")->clear();
        f->box("txtTliab")->clear();
        save();
        QCOMPARE(f->platform.lastMessage(), kSaved);
        QCOMPARE(f->text("txtOl"), QStringLiteral("0"));
        QCOMPARE(f->text("txtTliab"), QStringLiteral("0"));
        QCOMPARE(stored(QStringLiteral("Gaps Inc"), 2011, QStringLiteral("Ol")).toDouble(), 0.0);
    }

    // --- New and Clear all ---

    void newWithChanges_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<int>("rows");
        QTest::newRow("Yes saves, then starts afresh") << MsgResult::Yes << true << 1;
        QTest::newRow("No starts afresh") << MsgResult::No << true << 0;
        QTest::newRow("Cancel keeps everything") << MsgResult::Cancel << false << 0;
    }
    void newWithChanges() {
        QFETCH(MsgResult, answer);
        QFETCH(bool, reset);
        QFETCH(int, rows);
        typeName(QStringLiteral("Acme"));
        chooseYear(QStringLiteral("2009"));
        typeValue("txtAr", QStringLiteral("70"));
        f->platform.answers.enqueue(answer);
        screen().mnuNew->trigger();
        QCOMPARE(f->platform.messages[0].text,
                 QStringLiteral("The data for the firm Acme has changed.  Do you want to save the changes?"));
        QCOMPARE(f->platform.messages[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(f->platform.messages[0].icon, MsgIcon::None);
        QCOMPARE(storedRows(), rows);
        if (answer == MsgResult::Yes)
            QCOMPARE(stored(QStringLiteral("Acme"), 2009, QStringLiteral("Ar")).toDouble(), 70.0);
        QCOMPARE(screen().txtFirmName->text(), reset ? kPrompt : QStringLiteral("Acme"));
        QCOMPARE(allValuesZero(), reset);
        QCOMPARE(screen().blnDataChanged, !reset);
        // The year stays as it was.
        QCOMPARE(screen().cboYear->currentText(), QStringLiteral("2009"));
        if (reset) QCOMPARE(screen().txtFirmName->selectedText(), kPrompt);
    }

    void newWithoutChangesAsksNothing() {
        screen().mnuNew->trigger();
        QVERIFY(f->platform.messages.isEmpty());
        QCOMPARE(screen().txtFirmName->text(), kPrompt);
    }

    void newSaveQuestionInFrench() {
        modMain::gintLanguage = 1;
        typeName(QStringLiteral("Acme"));
        typeValue("txtAr", QStringLiteral("70"));
        f->platform.answers.enqueue(MsgResult::Cancel);
        screen().mnuNew->trigger();
        QCOMPARE(
            f->platform.lastMessage(),
            QString::fromUtf8(
                "Les données de l'entreprise Acme ont changé.  Voulez-vous sauvegarder les changements?"));
    }

    void clearAll_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::newRow("Yes") << MsgResult::Yes;
        QTest::newRow("No") << MsgResult::No;
    }
    void clearAll() {
        QFETCH(MsgResult, answer);
        typeName(QStringLiteral("Acme"));
        typeValue("txtCash", QStringLiteral("5"));
        typeValue("txtGrossProfit", QStringLiteral("8"));
        f->platform.answers.enqueue(answer);
        f->screen().findChild<QAction*>(QStringLiteral("tbClearAll"))->trigger();
        QCOMPARE(f->platform.messages.size(), 1);
        QCOMPARE(f->platform.lastMessage(),
                 QStringLiteral("Are you sure you want to clear all of the data?"));
        QCOMPARE(f->platform.messages[0].title, QStringLiteral("ZEBRO"));
        QCOMPARE(f->platform.messages[0].icon, MsgIcon::Question);
        QCOMPARE(f->platform.messages[0].buttons, MsgButtons::YesNo);
        if (answer == MsgResult::Yes) {
            QVERIFY(allValuesZero());
            QCOMPARE(screen().txtFirmName->text(), kPrompt);
            QVERIFY(!screen().blnDataChanged);
            QCOMPARE(f->focused(), f->box("txtCash"));
            QCOMPARE(f->box("txtCash")->selectedText(), QStringLiteral("0"));
        } else {
            QCOMPARE(f->text("txtCash"), QStringLiteral("5"));
            QCOMPARE(f->text("txtGrossProfit"), QStringLiteral("8"));
            QCOMPARE(screen().txtFirmName->text(), QStringLiteral("Acme"));
            QVERIFY(screen().blnDataChanged);
        }
    }

    // --- delete ---

    void deleteRecord_data() {
        QTest::addColumn<bool>("wasStored");
        QTest::addColumn<MsgResult>("answer");
        QTest::newRow("a stored record") << true << MsgResult::Yes;
        QTest::newRow("an unknown record") << false << MsgResult::Yes;
        QTest::newRow("answered No") << true << MsgResult::No;
    }
    void deleteRecord() {
        QFETCH(bool, wasStored);
        QFETCH(MsgResult, answer);
        storeFirm(QStringLiteral("Keep Me"), QStringLiteral("2011"));
        if (wasStored)
            storeFirm(QStringLiteral("Gone Ltd"), QStringLiteral("2011"), f->naics, {{"Cash", "9"}});
        typeName(QStringLiteral("Gone Ltd"));
        typeValue("txtCash", QStringLiteral("9"));
        f->platform.answers.enqueue(answer);
        f->screen().findChild<QAction*>(QStringLiteral("tbDelete"))->trigger();
        QCOMPARE(f->platform.messages.size(), 1);
        QCOMPARE(f->platform.lastMessage(), QStringLiteral("Are you sure you want to delete this record?"));
        QCOMPARE(f->platform.messages[0].buttons, MsgButtons::YesNo);
        const bool yes = answer == MsgResult::Yes;
        QCOMPARE(storedRows(), yes ? 1 : 2);
        QCOMPARE(stored(QStringLiteral("Keep Me"), 2011, QStringLiteral("FirmName")).toString(),
                 QStringLiteral("Keep Me"));
        QCOMPARE(allValuesZero(), yes);
        QCOMPARE(screen().txtFirmName->text(), yes ? kPrompt : QStringLiteral("Gone Ltd"));
    }

    // --- the list of saved firms ---

    void listByNameThenYear() {
        storeFirm(QStringLiteral("B"), QStringLiteral("2011"));
        storeFirm(QStringLiteral("A"), QStringLiteral("2011"));
        storeFirm(QStringLiteral("B"), QStringLiteral("2009"));
        storeFirm(QStringLiteral("A"), QStringLiteral("2009"));
        screen().mnuOpen->trigger();
        QCOMPARE(listedRows(), (QStringList{"A 2009", "A 2011", "B 2009", "B 2011"}));
        QVERIFY(dialog()->dbgFirms->isVisible());
        QCOMPARE(dialog()->dbgFirms->currentIndex().row(), 0);
    }

    void listTexts_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("headings");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("open");
        QTest::newRow("English") << 0 << QStringList{"Firmname", "year"} << "Open Existing"
                                 << "Which enterprise would you like to work with?"
                                 << "Open";
        QTest::newRow("French") << 1 << QStringList{"Nom", QString::fromUtf8("Année")}
                                << "Ouvrir le rapport existant"
                                << "Avec laquelle des entreprises aimeriez-vous travailler?"
                                << "Ouvrir";
    }
    void listTexts() {
        QFETCH(int, language);
        QFETCH(QStringList, headings);
        QFETCH(QString, title);
        QFETCH(QString, question);
        QFETCH(QString, open);
        modMain::gintLanguage = static_cast<int16_t>(language);
        storeFirm(QStringLiteral("Acme"), QStringLiteral("2010"));
        screen().mnuOpen->trigger();
        frmOpenExisting* d = dialog();
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->AdodcFirms->headerData(0, Qt::Horizontal).toString(), headings[0]);
        QCOMPARE(d->AdodcFirms->headerData(1, Qt::Horizontal).toString(), headings[1]);
        QCOMPARE(d->windowTitle(), title);
        QCOMPARE(d->lblQuestion->text(), question);
        QCOMPARE(d->cmdOpen->text(), open);
    }

    void openWithNothingStored() {
        screen().mnuOpen->trigger();
        QCOMPARE(f->platform.messages.size(), 1);
        QCOMPARE(f->platform.lastMessage(), QStringLiteral("No records were found"));
        QVERIFY(!dialog() || !dialog()->isVisible());
    }

    void loadedAgainstTheCurrentIndustry() {
        // Saved under another industry, with subtotals that no longer match their parts.
        storeFirm(QStringLiteral("Elsewhere Co"), QStringLiteral("2009"), QStringLiteral("111110"),
                  {{"Cash", "1234567.891234"},
                   {"Ar", "0.5"},
                   {"Toa", "999"},
                   {"Ta", "1.677722E+07"},
                   {"RetEarn", "-42"}});
        screen().mnuOpen->trigger();
        openListed(QStringLiteral("Elsewhere Co"), QStringLiteral("2009"));
        QCOMPARE(screen().lblNAICS->text(), f->naics);
        QCOMPARE(screen().lblIndustry->text(), f->search().txtIndName->toPlainText());
        QVERIFY(!screen().lblIndustry->text().isEmpty());
        QCOMPARE(f->text("txtCash"), QStringLiteral("1234567.891234"));
        QCOMPARE(f->text("txtAr"), QStringLiteral("0.5"));
        QCOMPARE(f->text("txtToa"), QStringLiteral("999"));
        QCOMPARE(f->text("txtTa"), QStringLiteral("16777220"));
        QCOMPARE(f->text("txtRetEarn"), QStringLiteral("-42"));
        QCOMPARE(screen().cboYear->currentText(), QStringLiteral("2009"));
        QVERIFY(!screen().blnDataChanged);
        QVERIFY(!dialog()->isVisible());
        QVERIFY(screen().isVisible());
    }

    void openAsksAboutChanges_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("listShown");
        QTest::addColumn<int>("rows");
        QTest::newRow("Yes saves, then lists") << MsgResult::Yes << true << 2;
        QTest::newRow("No lists") << MsgResult::No << true << 1;
        QTest::newRow("Cancel stays") << MsgResult::Cancel << false << 1;
    }
    void openAsksAboutChanges() {
        QFETCH(MsgResult, answer);
        QFETCH(bool, listShown);
        QFETCH(int, rows);
        modMain::gintLanguage = 1;
        storeFirm(QStringLiteral("Stored"), QStringLiteral("2011"));
        typeName(QStringLiteral("Acme"));
        typeValue("txtCash", QStringLiteral("3"));
        f->platform.answers.enqueue(answer);
        screen().mnuOpen->trigger();
        QCOMPARE(f->platform.messages[0].text,
                 QString::fromUtf8(
                     "Les donées de l'entreprise Acme on changé.  Voulez-vous sauvegarder les changements?"));
        QCOMPARE(f->platform.messages[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(storedRows(), rows);
        QCOMPARE(bool(dialog() && dialog()->isVisible()), listShown);
        if (listShown) QCOMPARE(listedRows().size(), rows);
        QCOMPARE(f->text("txtCash"), QStringLiteral("3"));
        QCOMPARE(screen().blnDataChanged, answer != MsgResult::Yes);
    }

    void closingTheListKeepsTheScreen() {
        storeFirm(QStringLiteral("Stored"), QStringLiteral("2011"));
        typeValue("txtCash", QStringLiteral("3"));
        screen().blnDataChanged = false;
        screen().mnuOpen->trigger();
        QVERIFY(dialog()->isVisible());
        QVERIFY(dialog()->close());
        // Back on the firm values screen, which keeps what it showed.
        QCOMPARE(f->registry.active(), &screen());
        QCOMPARE(f->text("txtCash"), QStringLiteral("3"));
    }
};

QTEST_MAIN(TestFirmRecordsScreen)
#include "test_firm_records_screen.moc"
