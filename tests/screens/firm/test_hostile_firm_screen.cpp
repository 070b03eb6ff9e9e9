// Hostile input through the firm values screen: SQL, LIKE patterns, a very long text,
// control characters, right-to-left marks, invalid UTF-8, apostrophes and markup pasted
// into the firm name box and then saved, saved again over itself (the replace question
// answered Cancel, then OK), opened from the list of saved firms and deleted; and the
// same texts pasted or typed into the value boxes. Each gives results or the program's
// own messages, never a run-time error; the firms stored before are all there, whole.

#include "FirmScreenFixture.h"

#include "firm/FirmRecords.h"
#include "screens/firm/frmOpenExisting.h"
#include "support/HostileInput.h"

#include "data/RecordsetTableModel.h"

#include <QAction>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>

namespace {

const QString kSaved = QStringLiteral("Data has been saved.");
const QString kPrompt = QStringLiteral("Enter an Enterprise Name Here");
const QString kRefused = QStringLiteral("Please enter a number");
// A text box holds at most 32,767 characters; a longer paste keeps its beginning.
constexpr int kBoxLimit = 32767;

} // namespace

class TestHostileFirmScreen : public QObject {
    Q_OBJECT

    // One screen for all the cases, as one user would go from one firm to the next.
    std::unique_ptr<FirmScreenFixture> f;
    std::unique_ptr<hostile::Witness> witness;

    frmMyValues& screen() { return f->screen(); }
    RecordingPlatform& platform() { return f->platform; }

    QAction* toolbar(const char* name) { return screen().findChild<QAction*>(QLatin1String(name)); }

    // Pasted into the name box over its whole text, as the user pastes with the pointer.
    void pasteName(const QString& name) {
        screen().txtFirmName->setFocus(Qt::MouseFocusReason);
        screen().txtFirmName->selectAll();
        screen().txtFirmName->insert(name);
    }
    void chooseYear(const QString& year) {
        screen().cboYear->setCurrentIndex(screen().cboYear->findText(year));
    }
    void typeValue(const char* box, const QString& digits) {
        f->enter(box);
        f->typeKeys(digits);
        f->press(Qt::Key_Return);
    }
    // Keys as a keyboard gives them: one event per character, carrying the character.
    void typeCharacters(const QString& text) {
        for (QChar c : text) {
            QWidget* target = f->focused() ? f->focused() : &screen();
            QKeyEvent press(QEvent::KeyPress, c == u'-' ? Qt::Key_Minus : Qt::Key_unknown, Qt::NoModifier,
                            QString(c));
            QCoreApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, c == u'-' ? Qt::Key_Minus : Qt::Key_unknown, Qt::NoModifier,
                              QString(c));
            QCoreApplication::sendEvent(target, &release);
        }
    }

    std::optional<FirmStatement> stored(const QString& name, const QString& year) {
        return firmrecords::load(modMain::gcnMyData, name, year);
    }

    void storeKept(const QString& name, const QString& year, const char* cash) {
        FirmStatement firm;
        firm.firmName = name;
        firm.year = year;
        firm.naics = QStringLiteral("448140");
        firmrules::resetValues(firm.values);
        firm.value("Cash") = QString::fromLatin1(cash);
        firm.value("ShareC") = QString::fromLatin1(cash);
        firmrules::calculateSubTotals(firm.values);
        firmrecords::store(modMain::gcnMyData, firm);
    }

    // Opens the row of the list that holds the name and year.
    bool openListed(const QString& name, const QString& year) {
        frmOpenExisting* d = f->registry.existing<frmOpenExisting>();
        if (!d || !d->isVisible()) return false;
        RecordsetTableModel* model = d->AdodcFirms;
        int found = -1;
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->cellText(r, 0) == name && model->cellText(r, 1) == year) found = r;
        if (found < 0) return false;
        d->dbgFirms->setCurrentIndex(model->index(found, 0));
        QTest::mouseClick(d->cmdOpen, Qt::LeftButton);
        return true;
    }

private slots:
    void initTestCase() {
        f = std::make_unique<FirmScreenFixture>();
        f->open();
        // Firms stored before the cases: one whose name the SQL texts aim at, one with a quote.
        storeKept(QStringLiteral("Kept Firm"), QStringLiteral("2010"), "1500");
        storeKept(QStringLiteral("O'Neil"), QStringLiteral("2011"), "2500.25");
    }
    void cleanupTestCase() {
        witness.reset();
        f.reset();
    }
    // Each case starts from a new, empty firm and notes what is stored.
    void init() {
        platform().answers.clear();
        platform().answers.enqueue(MsgResult::No); // unsaved changes of the case before: not kept
        screen().mnuNew->trigger();
        platform().answers.clear();
        platform().messages.clear();
        QCOMPARE(screen().txtFirmName->text(), kPrompt);
        witness = std::make_unique<hostile::Witness>(modMain::gcnMyData, f->dbs.referencePath(), platform());
    }

    // --- the firm name: save, save over, open, delete ---

    void firmName_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("refused");
        for (const hostile::Text& t : hostile::texts())
            QTest::newRow(t.name) << hostile::widgetText(t.bytes) << t.nameRefused;
    }
    void firmName() {
        QFETCH(QString, text);
        QFETCH(bool, refused);
        pasteName(text);
        // The name is kept as pasted, every character of it (up to what a box holds).
        const QString name = text.left(kBoxLimit);
        QCOMPARE(screen().txtFirmName->text(), name);
        chooseYear(QStringLiteral("2010"));
        typeValue("txtCash", QStringLiteral("100"));
        typeValue("txtShareC", QStringLiteral("100"));

        screen().mnuSave->trigger();
        // A name the records do not keep (control characters, too long) is refused in the
        // program's words, saying the rule; nothing is written and the name stays to mend.
        if (refused) {
            QCOMPARE(platform().messages.size(), 1);
            QVERIFY2(platform().lastMessage().startsWith(QStringLiteral("The firm name ")),
                     qPrintable(platform().lastMessage().left(300)));
            QCOMPARE(screen().txtFirmName->text(), name);
            witness->verify(0);
            return;
        }
        QCOMPARE(platform().lastMessage(), kSaved);
        QCOMPARE(platform().messages.size(), 1);
        witness->verify(1);
        std::optional<FirmStatement> firm = stored(name, QStringLiteral("2010"));
        QVERIFY(firm);
        QCOMPARE(firm->firmName, name);
        QCOMPARE(firm->value("Cash"), QStringLiteral("100"));
        QCOMPARE(firm->value("TotLiabShareEq"), QStringLiteral("100"));

        // Saved again over itself: the replace question names the firm as typed.
        typeValue("txtCash", QStringLiteral("200"));
        typeValue("txtShareC", QStringLiteral("200"));
        platform().messages.clear();
        platform().answers.enqueue(MsgResult::Cancel);
        toolbar("tbSave")->trigger();
        QCOMPARE(platform().messages.size(), 1);
        QVERIFY(platform().lastMessage().startsWith(QStringLiteral("There are already values for ") + name +
                                                    QStringLiteral(" for the reference year 2010. ")));
        QCOMPARE(platform().messages.last().buttons, MsgButtons::OKCancel);
        QCOMPARE(stored(name, QStringLiteral("2010"))->value("Cash"), QStringLiteral("100"));
        witness->verify(1);

        platform().answers.enqueue(MsgResult::OK);
        toolbar("tbSave")->trigger();
        QCOMPARE(platform().lastMessage(), kSaved);
        QCOMPARE(stored(name, QStringLiteral("2010"))->value("Cash"), QStringLiteral("200"));
        witness->verify(1);

        // Listed and opened again under the same name.
        screen().mnuNew->trigger();
        QCOMPARE(screen().txtFirmName->text(), kPrompt);
        screen().mnuOpen->trigger();
        QVERIFY2(openListed(name, QStringLiteral("2010")), "the firm is listed by its name");
        QCOMPARE(screen().txtFirmName->text(), name);
        QCOMPARE(screen().cboYear->currentText(), QStringLiteral("2010"));
        QCOMPARE(f->text("txtCash"), QStringLiteral("200"));
        QCOMPARE(f->text("txtTa"), QStringLiteral("200"));

        // Deleted: that row only.
        platform().answers.enqueue(MsgResult::Yes);
        toolbar("tbDelete")->trigger();
        QVERIFY(!stored(name, QStringLiteral("2010")));
        QCOMPARE(screen().txtFirmName->text(), kPrompt);
        witness->verify(0);
    }

    // --- the value boxes ---

    // Pasted into a box and the box left with Enter: the leading-number rule keeps the
    // number the text begins with, and a text without one becomes 0. A number too long
    // for a value is refused in the program's own words and stays for the user to mend.
    void pastedValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        for (const hostile::Text& t : hostile::texts()) {
            const QString text = hostile::widgetText(t.bytes);
            QTest::newRow(t.name) << text << QStringLiteral("0");
            if (!hostile::isLong(t.bytes))
                QTest::newRow(qPrintable(QStringLiteral("12 then ") + QString::fromUtf8(t.name)))
                    << QStringLiteral("12") + text << QStringLiteral("12");
        }
        QTest::newRow("100,000 digits") << QString(100000, u'7') << QString();
    }
    void pastedValue() {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        for (const char* name : {"txtCash", "txtOperatingRevenue"}) {
            platform().messages.clear();
            QLineEdit* box = f->box(name);
            f->enter(name);
            box->insert(text);
            f->press(Qt::Key_Return);
            if (kept.isEmpty()) {
                QCOMPARE(platform().messages.size(), 1);
                QCOMPARE(platform().lastMessage(), kRefused);
                QCOMPARE(box->text(), text.left(kBoxLimit));
                QCOMPARE(f->focused(), box);
                // The user mends it; the box then takes the number.
                box->setText(QStringLiteral("5"));
                f->press(Qt::Key_Return);
                QCOMPARE(box->text(), QStringLiteral("5"));
            } else {
                QVERIFY2(platform().messages.isEmpty(), qPrintable(platform().lastMessage()));
                QCOMPARE(box->text(), kept);
            }
        }
        // The assets' subtotals follow the cash box.
        QCOMPARE(f->text("txtTa"), f->text("txtCash"));
        witness->verify();
    }

    // Typed key by key into a box that holds 0: every character but a digit or the minus
    // key is refused with the program's message and the text wholly selected (so a digit
    // typed next replaces it); the minus key makes the value negative.
    void typedValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("refusals");
        QTest::newRow("SQL") << QStringLiteral("'; drop table MyValues; --") << "0" << 24;
        QTest::newRow("SQL in double quotes") << QStringLiteral("\"); delete from MyValues; --") << "0" << 26;
        QTest::newRow("LIKE wildcards") << QStringLiteral("%_%") << "0" << 3;
        QTest::newRow("bracket class") << QStringLiteral("[a-z]%") << "0" << 5;
        QTest::newRow("escape character") << QStringLiteral("\\%") << "0" << 2;
        QTest::newRow("control characters") << QString::fromLatin1("a\x01\x02\x1b[2Jb\x7f") << "2" << 8;
        QTest::newRow("right-to-left mark") << hostile::widgetText("\xe2\x80\xae"
                                                                   "cba"
                                                                   "\xe2\x80\x8f")
                                            << "0" << 5;
        QTest::newRow("invalid UTF-8") << hostile::widgetText("caf\xc3(\xff\xfe") << "0" << 7;
        QTest::newRow("apostrophes") << QStringLiteral("O'Neil ''& d'Arcy") << "0" << 17;
        QTest::newRow("markup") << QStringLiteral("<b>Bold</b></title><script>alert(1)</script> &amp;") << "1"
                                << 49;
        // A refusal selects the whole text, so the digit typed next replaces the minus too.
        QTest::newRow("digits after a minus") << QStringLiteral("-%4'2") << "2" << 2;
    }
    void typedValue() {
        QFETCH(QString, text);
        QFETCH(QString, result);
        QFETCH(int, refusals);
        f->enter("txtInv");
        typeCharacters(text);
        QCOMPARE(platform().messages.size(), refusals);
        for (const ShownMessage& m : platform().messages)
            QCOMPARE(m.text, kRefused);
        f->press(Qt::Key_Return);
        QCOMPARE(f->text("txtInv"), result);
        QCOMPARE(f->focused(), f->box("txtCA"));
        QCOMPARE(f->text("txtToa"), result);
        witness->verify();
    }
};

QTEST_MAIN(TestHostileFirmScreen)
#include "test_hostile_firm_screen.moc"
