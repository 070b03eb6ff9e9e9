// File > Import and File > Export on the firm values screen, driven through the real
// menus with the scripted platform: a good file fills the boxes, a bad one leaves them
// as they were, an export reads back as the firm on the screen.

#include "FirmScreenFixture.h"

#include "firm/FirmFile.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

namespace {

QString write(const QTemporaryDir& dir, const char* name, const QByteArray& content) {
    const QString path = dir.filePath(QLatin1String(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QString();
    f.write(content);
    return path;
}

} // namespace

class TestFirmImportExport : public QObject {
    Q_OBJECT

    std::unique_ptr<FirmScreenFixture> f;
    QTemporaryDir dir;

    frmMyValues& screen() { return f->screen(); }

    // Everything the user sees of the firm: the name, the year and the 32 boxes.
    QStringList shown() {
        QStringList all{screen().txtFirmName->text(), screen().cboYear->currentText()};
        for (QLineEdit* b : screen().txtValues)
            all << b->text();
        return all;
    }

    // A firm the user has typed and saved, so that nothing is pending.
    void showSavedFirm() {
        screen().txtFirmName->setText(QStringLiteral("Before"));
        f->box("txtCash")->setText(QStringLiteral("321"));
        f->box("txtShareC")->setText(QStringLiteral("321"));
        screen().subCalculateSubTotals();
        screen().blnDataChanged = false;
    }

private slots:
    void cleanup() { f.reset(); }

    void goodFileFillsTheBoxes_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QByteArray>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("title");
        QTest::newRow("JSON, English")
            << 0 << QByteArray("acme.json")
            << QByteArray("{\"FirmName\": \"Acme\", \"Year\": \"2009\", \"Cash\": 1000.5, \"Inv\": 250, "
                          "\"ShareC\": 1250.5, \"Ta\": 99}")
            << "Import a firm";
        QTest::newRow("CSV, French") << 1 << QByteArray("acme.csv")
                                     << QByteArray(
                                            "FirmName;Year;Cash;Inv;ShareC\nAcme;2009;1000.5;250;1250.5\n")
                                     << "Importer une entreprise";
    }
    void goodFileFillsTheBoxes() {
        QFETCH(int, language);
        QFETCH(QByteArray, fileName);
        QFETCH(QByteArray, content);
        QFETCH(QString, title);
        f = std::make_unique<FirmScreenFixture>();
        f->open(static_cast<int16_t>(language));
        showSavedFirm();
        f->platform.chosenFiles.enqueue(write(dir, fileName.constData(), content));

        screen().mnuImport->trigger();

        QCOMPARE(f->platform.fileChoosers.size(), 1);
        QCOMPARE(f->platform.fileChoosers[0].kind, FileChoice::Open);
        QCOMPARE(f->platform.fileChoosers[0].caption, title);
        QVERIFY(f->platform.fileChoosers[0].filter.contains(QLatin1String("*.json *.csv")));
        QCOMPARE(f->platform.messages.size(), 0);
        QCOMPARE(screen().txtFirmName->text(), QStringLiteral("Acme"));
        QCOMPARE(screen().cboYear->currentText(), QStringLiteral("2009"));
        QCOMPARE(f->text("txtCash"), QStringLiteral("1000.5"));
        QCOMPARE(f->text("txtInv"), QStringLiteral("250"));
        QCOMPARE(f->text("txtToa"), QStringLiteral("1250.5")); // computed, not the file's 99
        QCOMPARE(f->text("txtTa"), QStringLiteral("1250.5"));
        QCOMPARE(f->text("txtTotLiabShareEq"), QStringLiteral("1250.5"));
        QCOMPARE(f->text("txtMtg"), QStringLiteral("0"));
        QVERIFY(screen().blnDataChanged);
    }

    void badFileLeavesTheBoxesAsTheyWere_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("named");
        QTest::newRow("a thousands separator") << 0 << QByteArray("Cash\n\"1,500\"\n") << "Cash";
        QTest::newRow("an unknown column, French") << 1 << QByteArray("Cash,Casj\n1,2\n") << "Casj";
        QTest::newRow("a year outside the three")
            << 0 << QByteArray("{\"Year\": 2008, \"Cash\": 1}") << "2008";
        QTest::newRow("a value no box holds") << 0 << QByteArray("{\"Cash\": 1e25}") << "Cash";
        QTest::newRow("broken JSON") << 1 << QByteArray("{\"Cash\": ") << "JSON";
    }
    void badFileLeavesTheBoxesAsTheyWere() {
        QFETCH(int, language);
        QFETCH(QByteArray, content);
        QFETCH(QString, named);
        f = std::make_unique<FirmScreenFixture>();
        f->open(static_cast<int16_t>(language));
        showSavedFirm();
        const QStringList before = shown();
        const QString path = write(dir, "bad", content);
        f->platform.chosenFiles.enqueue(path);

        screen().mnuImport->trigger();

        QCOMPARE(shown(), before);
        QVERIFY(!screen().blnDataChanged);
        QCOMPARE(f->platform.messages.size(), 1);
        const ShownMessage& m = f->platform.messages[0];
        QCOMPARE(m.icon, MsgIcon::Exclamation);
        QVERIFY2(m.text.contains(path) && m.text.contains(named), qPrintable(m.text));
        const QString unchanged =
            language == 0 ? QStringLiteral("Nothing was imported") : QStringLiteral("Rien n'a été importé");
        QVERIFY2(m.text.contains(unchanged), qPrintable(m.text));
        QCOMPARE(f->platform.endedWith, -1);
    }

    // Cancelling the chooser, or the save question of a changed firm, changes nothing.
    void cancelChangesNothing() {
        f = std::make_unique<FirmScreenFixture>();
        f->open();
        showSavedFirm();
        const QStringList before = shown();
        screen().mnuImport->trigger(); // no file chosen
        QCOMPARE(shown(), before);
        QCOMPARE(f->platform.fileChoosers.size(), 1);

        f->box("txtCash")->setText(QStringLiteral("5"));
        QVERIFY(screen().blnDataChanged);
        f->platform.answers.enqueue(MsgResult::Cancel);
        f->platform.chosenFiles.enqueue(write(dir, "good.json", "{\"Cash\": 9}"));
        screen().mnuImport->trigger();
        QCOMPARE(f->platform.messages.size(), 1); // the save question, answered Cancel
        QCOMPARE(f->platform.messages[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(f->platform.fileChoosers.size(), 1); // no chooser after Cancel
        QCOMPARE(f->text("txtCash"), QStringLiteral("5"));
    }

    // Export writes the firm on the screen; the file reads back as it.
    void exportWritesTheFirmOnTheScreen_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("a name without ending is JSON") << "acme"
                                                       << "acme.json";
        QTest::newRow("CSV") << "acme.csv"
                             << "acme.csv";
    }
    void exportWritesTheFirmOnTheScreen() {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        f = std::make_unique<FirmScreenFixture>();
        f->open(1);
        showSavedFirm();
        screen().txtFirmName->setText(QString::fromUtf8("Élan, \"Ltée\""));
        f->platform.chosenFiles.enqueue(dir.filePath(chosen));

        screen().mnuExport->trigger();

        QCOMPARE(f->platform.fileChoosers.size(), 1);
        QCOMPARE(f->platform.fileChoosers[0].kind, FileChoice::Save);
        QCOMPARE(f->platform.fileChoosers[0].caption, QStringLiteral("Exporter l'entreprise"));
        QVERIFY(f->platform.fileChoosers[0].startPath.endsWith(QStringLiteral(".json")));
        const firmfile::ReadResult back = firmfile::read(dir.filePath(written));
        QVERIFY2(back.ok(), qPrintable(back.text));
        QCOMPARE(back.firm.firmName, QString::fromUtf8("Élan, \"Ltée\""));
        QCOMPARE(back.firm.year, screen().cboYear->currentText());
        QCOMPARE(back.firm.naics, f->naics);
        QCOMPARE(back.firm.value("Cash"), QStringLiteral("321"));
        QCOMPARE(back.firm.value("TotLiabShareEq"), QStringLiteral("321"));
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY2(f->platform.messages[0].text.contains(written), qPrintable(f->platform.messages[0].text));
    }

    // The entries and their keys, in both languages, reached from inside a value box.
    void entriesInBothLanguages_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("import");
        QTest::addColumn<QString>("exportCaption");
        QTest::newRow("English") << 0 << QString::fromUtf8("Import…") << QString::fromUtf8("Export…");
        QTest::newRow("French") << 1 << QString::fromUtf8("Importer…") << QString::fromUtf8("Exporter…");
    }
    void entriesInBothLanguages() {
        QFETCH(int, language);
        QFETCH(QString, import);
        QFETCH(QString, exportCaption);
        f = std::make_unique<FirmScreenFixture>();
        f->open(static_cast<int16_t>(language));
        QCOMPARE(screen().mnuImport->text(), import);
        QCOMPARE(screen().mnuExport->text(), exportCaption);
        QCOMPARE(screen().mnuImport->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
        QCOMPARE(screen().mnuExport->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));

        f->enter("txtCash");
        f->press(Qt::Key_M, Qt::ControlModifier);
        f->press(Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(f->platform.fileChoosers.size(), 2);
        QCOMPARE(f->platform.fileChoosers[0].kind, FileChoice::Open);
        QCOMPARE(f->platform.fileChoosers[1].kind, FileChoice::Save);
    }
};

QTEST_MAIN(TestFirmImportExport)
#include "test_firm_import_export.moc"
