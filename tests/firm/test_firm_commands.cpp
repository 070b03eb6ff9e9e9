// The record commands of the firm values screen with their questions and messages,
// answered through the scripted platform.

#include "firm/FirmCommands.h"
#include "firm/FirmRecords.h"

#include "firm/FirmTestDatabase.h"
#include "support/RecordingPlatform.h"

#include <QtTest>

using firmcommands::SaveOutcome;
using firmmessages::SaveAsker;

Q_DECLARE_METATYPE(firmcommands::SaveOutcome)
Q_DECLARE_METATYPE(MsgResult)

namespace {
const QString kSaved = QStringLiteral("Data has been saved.");
const QString kSavedFr = QString::fromUtf8("Les données ont été sauvegardées.");
} // namespace

class TestFirmCommands : public QObject {
    Q_OBJECT
private slots:
    void saveRefusesUnusableNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << "" << 0 << "Invalid enterprise name.";
        QTest::newRow("blank") << "   " << 0 << "Invalid enterprise name.";
        QTest::newRow("the prompt") << "Enter an Enterprise Name Here" << 0 << "Invalid enterprise name.";
        QTest::newRow("the French prompt in French")
            << QString::fromUtf8("Entrer un nom d’entreprise ici") << 1 << "Nom d'entreprise invalide.";
    }
    void saveRefusesUnusableNames() {
        QFETCH(QString, name);
        QFETCH(int, language);
        QFETCH(QString, message);
        FirmTestDatabase db;
        RecordingPlatform seam;
        FirmStatement firm = firmWith(name, QStringLiteral("2011"), {{"Cash", "5"}});
        const auto r = firmcommands::save(db.cn, firm, false, language::fromFlag(language));
        QCOMPARE(r.outcome, SaveOutcome::InvalidName);
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].text, message);
        QCOMPARE(seam.messages[0].buttons, MsgButtons::OK);
        QCOMPARE(db.rowCount(), 0);
    }

    void otherLanguagesPromptIsSaved() {
        FirmTestDatabase db;
        RecordingPlatform seam;
        FirmStatement firm =
            firmWith(QString::fromUtf8("Entrer un nom d’entreprise ici"), QStringLiteral("2011"));
        QCOMPARE(firmcommands::save(db.cn, firm, false, Language::E).outcome, SaveOutcome::Saved);
        QCOMPARE(seam.lastMessage(), kSaved);
        QCOMPARE(db.rowCount(), 1);
    }

    void newRecordSavedWithoutQuestion() {
        FirmTestDatabase db;
        RecordingPlatform seam;
        FirmStatement firm = firmWith(QStringLiteral("O'Neil"), QStringLiteral("2010"), {{"Cash", "10"}});
        QCOMPARE(firmcommands::save(db.cn, firm, false, Language::F).outcome, SaveOutcome::Saved);
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].text, kSavedFr);
        QCOMPARE(db.stored(QStringLiteral("O'Neil"), 2010, QStringLiteral("Cash")).toDouble(), 10.0);
    }

    void replaceQuestion_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<double>("storedCash");
        QTest::addColumn<QString>("question");
        const QString english = QStringLiteral(
            "There are already values for O'Neil for the reference year 2010. If you would like to "
            "replace the existing values with the ones below PRESS OK.  If you would like to cancel and "
            "continue working with the data on this screen more PRESS CANCEL.  ");
        const QString french = QString::fromUtf8("Il y a déjà des valeurs pour O'Neil pour l'année de "
                                                 "référence 2010. APPURYER SUR 'OK' pour remplacer "
                                                 "les valeurs existantes avec celles dessous. APPUYER SUR "
                                                 "'CANCEL' pour continuer d'utiliser les données "
                                                 "à l'écran.");
        QTest::newRow("OK replaces") << 0 << MsgResult::OK << 2.0 << english;
        QTest::newRow("Cancel writes nothing") << 0 << MsgResult::Cancel << 1.0 << english;
        QTest::newRow("French, OK") << 1 << MsgResult::OK << 2.0 << french;
        QTest::newRow("French, Cancel") << 1 << MsgResult::Cancel << 1.0 << french;
    }
    void replaceQuestion() {
        QFETCH(int, language);
        QFETCH(MsgResult, answer);
        QFETCH(double, storedCash);
        QFETCH(QString, question);
        FirmTestDatabase db;
        firmrecords::store(db.cn,
                           firmWith(QStringLiteral("O'Neil"), QStringLiteral("2010"), {{"Cash", "1"}}));
        RecordingPlatform seam;
        seam.answers.enqueue(answer);
        FirmStatement firm = firmWith(QStringLiteral("O'Neil"), QStringLiteral("2010"), {{"Cash", "2"}});
        const auto r = firmcommands::save(db.cn, firm, false, language::fromFlag(language));
        QCOMPARE(r.outcome, answer == MsgResult::OK ? SaveOutcome::Saved : SaveOutcome::Declined);
        QVERIFY(!seam.messages.isEmpty());
        QCOMPARE(seam.messages[0].text, question);
        QCOMPARE(seam.messages[0].buttons, MsgButtons::OKCancel);
        QCOMPARE(seam.messages[0].icon, MsgIcon::None);
        // Cancel stops silently; OK is followed by the saved message.
        QCOMPARE(seam.messages.size(), answer == MsgResult::OK ? 2 : 1);
        QCOMPARE(db.rowCount(), 1);
        QCOMPARE(db.stored(QStringLiteral("O'Neil"), 2010, QStringLiteral("Cash")).toDouble(), storedCash);
    }

    void skippingWarningsReplacesWithoutAsking() {
        FirmTestDatabase db;
        firmrecords::store(db.cn, firmWith(QStringLiteral("Acme"), QStringLiteral("2011"), {{"Cash", "1"}}));
        RecordingPlatform seam;
        FirmStatement firm = firmWith(QStringLiteral("Acme"), QStringLiteral("2011"), {{"Cash", "3"}});
        QCOMPARE(firmcommands::save(db.cn, firm, true, Language::E).outcome, SaveOutcome::Saved);
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].text, kSaved);
        QCOMPARE(db.stored(QStringLiteral("Acme"), 2011, QStringLiteral("Cash")).toDouble(), 3.0);
    }

    void saveNormalisesPastedText() {
        FirmTestDatabase db;
        RecordingPlatform seam;
        FirmStatement firm = firmWith(QStringLiteral("Acme"), QStringLiteral("2011"),
                                      {{"Cash", "12abc"}, {"Ar", ""}, {"Inv", "1 234"}});
        firm.value("Toa") = QString();
        QCOMPARE(firmcommands::save(db.cn, firm, false, Language::E).outcome, SaveOutcome::Saved);
        QCOMPARE(firm.value("Cash"), QStringLiteral("12"));
        QCOMPARE(firm.value("Ar"), QStringLiteral("0"));
        QCOMPARE(firm.value("Inv"), QStringLiteral("1234"));
        QCOMPARE(firm.value("Toa"), QStringLiteral("1246"));
        QCOMPARE(db.stored(QStringLiteral("Acme"), 2011, QStringLiteral("Cash")).toDouble(), 12.0);
        QCOMPARE(db.stored(QStringLiteral("Acme"), 2011, QStringLiteral("Toa")).toDouble(), 1246.0);
    }

    void saveKeepsStoredSubtotalsWhenNothingWasNormalised() {
        FirmTestDatabase db;
        RecordingPlatform seam;
        // A loaded firm whose stored subtotal no longer matches its parts is saved as it stands.
        FirmStatement firm =
            firmWith(QStringLiteral("Acme"), QStringLiteral("2011"), {{"Cash", "5"}, {"Toa", "999"}});
        QCOMPARE(firmcommands::save(db.cn, firm, false, Language::E).outcome, SaveOutcome::Saved);
        QCOMPARE(firm.value("Toa"), QStringLiteral("999"));
        QCOMPARE(db.stored(QStringLiteral("Acme"), 2011, QStringLiteral("Toa")).toDouble(), 999.0);
    }

    void saveRefusesANumberBeyondTheRange() {
        FirmTestDatabase db;
        firmrecords::store(db.cn, firmWith(QStringLiteral("Acme"), QStringLiteral("2011"), {{"Cash", "1"}}));
        RecordingPlatform seam;
        FirmStatement firm = firmWith(QStringLiteral("Acme"), QStringLiteral("2011"),
                                      {{"Cash", "2"}, {"Mtg", "12345678901234567890"}});
        const auto r = firmcommands::save(db.cn, firm, true, Language::F);
        QCOMPARE(r.outcome, SaveOutcome::InvalidNumber);
        QCOMPARE(QLatin1String(lineitems::all()[r.invalidValue].column), QLatin1String("Mtg"));
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].text, QStringLiteral("Veuillez entrer un chiffre"));
        QCOMPARE(firm.value("Mtg"), QStringLiteral("12345678901234567890"));
        QCOMPARE(db.stored(QStringLiteral("Acme"), 2011, QStringLiteral("Cash")).toDouble(), 1.0);
    }

    void saveQuestion_data() {
        QTest::addColumn<int>("asker"); // 0 New, 1 Open
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("question");
        const QString english =
            QStringLiteral("The data for the firm O'Neil has changed.  Do you want to save the changes?");
        QTest::newRow("New, English") << 0 << 0 << english;
        QTest::newRow("Open, English") << 1 << 0 << english;
        QTest::newRow("New, French") << 0 << 1
                                     << QString::fromUtf8(
                                            "Les données de l'entreprise O'Neil ont changé.  Voulez-vous "
                                            "sauvegarder les changements?");
        QTest::newRow("Open, French")
            << 1 << 1
            << QString::fromUtf8("Les donées de l'entreprise O'Neil on changé.  Voulez-vous "
                                 "sauvegarder les changements?");
    }
    void saveQuestion() {
        QFETCH(int, asker);
        QFETCH(int, language);
        QFETCH(QString, question);
        FirmTestDatabase db;
        RecordingPlatform seam;
        seam.answers.enqueue(MsgResult::No);
        FirmStatement firm = firmWith(QStringLiteral("O'Neil"), QStringLiteral("2011"));
        const MsgResult answer = firmcommands::askToSaveChanges(
            db.cn, firm, asker ? SaveAsker::Open : SaveAsker::New, language::fromFlag(language));
        QCOMPARE(answer, MsgResult::No);
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].text, question);
        QCOMPARE(seam.messages[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(seam.messages[0].icon, MsgIcon::None);
    }

    void saveQuestionAnswers_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<double>("storedCash");
        QTest::addColumn<int>("messages");
        QTest::newRow("Yes replaces without the replace question") << MsgResult::Yes << 9.0 << 2;
        QTest::newRow("No keeps the stored row") << MsgResult::No << 1.0 << 1;
        QTest::newRow("Cancel keeps the stored row") << MsgResult::Cancel << 1.0 << 1;
    }
    void saveQuestionAnswers() {
        QFETCH(MsgResult, answer);
        QFETCH(double, storedCash);
        QFETCH(int, messages);
        FirmTestDatabase db;
        firmrecords::store(db.cn, firmWith(QStringLiteral("Acme"), QStringLiteral("2011"), {{"Cash", "1"}}));
        RecordingPlatform seam;
        seam.answers.enqueue(answer);
        FirmStatement firm = firmWith(QStringLiteral("Acme"), QStringLiteral("2011"), {{"Cash", "9"}});
        QCOMPARE(firmcommands::askToSaveChanges(db.cn, firm, SaveAsker::New, Language::E), answer);
        QCOMPARE(seam.messages.size(), messages);
        if (messages == 2) QCOMPARE(seam.messages[1].text, kSaved);
        QCOMPARE(db.stored(QStringLiteral("Acme"), 2011, QStringLiteral("Cash")).toDouble(), storedCash);
    }

    void yesWithAnUnusableNameSavesNothing() {
        FirmTestDatabase db;
        RecordingPlatform seam;
        seam.answers.enqueue(MsgResult::Yes);
        FirmStatement firm =
            firmWith(QStringLiteral("Enter an Enterprise Name Here"), QStringLiteral("2011"));
        QCOMPARE(firmcommands::askToSaveChanges(db.cn, firm, SaveAsker::Open, Language::E), MsgResult::Yes);
        QCOMPARE(seam.messages.size(), 2);
        QCOMPARE(seam.messages[1].text, QStringLiteral("Invalid enterprise name."));
        QCOMPARE(db.rowCount(), 0);
    }

    void deleteQuestion_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<int>("rowsLeft");
        QTest::newRow("a stored record, Yes") << "O'Neil" << MsgResult::Yes << true << 1;
        QTest::newRow("a stored record, No") << "O'Neil" << MsgResult::No << false << 2;
        QTest::newRow("an unknown record, Yes") << "Nobody" << MsgResult::Yes << true << 2;
    }
    void deleteQuestion() {
        QFETCH(QString, name);
        QFETCH(MsgResult, answer);
        QFETCH(bool, reset);
        QFETCH(int, rowsLeft);
        FirmTestDatabase db;
        firmrecords::store(db.cn, firmWith(QStringLiteral("O'Neil"), QStringLiteral("2010")));
        firmrecords::store(db.cn, firmWith(QStringLiteral("O'Neil"), QStringLiteral("2011")));
        RecordingPlatform seam;
        seam.answers.enqueue(answer);
        QCOMPARE(firmcommands::deleteWithQuestion(db.cn, name, QStringLiteral("2010"), Language::E), reset);
        // The question is the only message, whether or not a row was deleted.
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].text, QStringLiteral("Are you sure you want to delete this record?"));
        QCOMPARE(seam.messages[0].buttons, MsgButtons::YesNo);
        QCOMPARE(db.rowCount(), rowsLeft);
        QVERIFY(firmrecords::exists(db.cn, QStringLiteral("O'Neil"), QStringLiteral("2011")));
    }

    void deleteQuestionInFrench() {
        FirmTestDatabase db;
        RecordingPlatform seam;
        QVERIFY(!firmcommands::deleteWithQuestion(db.cn, QStringLiteral("A"), QStringLiteral("2011"),
                                                  Language::F));
        QCOMPARE(seam.lastMessage(),
                 QString::fromUtf8("Êtes-vous certain de vouloir effacer cet enregistrement?"));
    }

    void clearAllQuestion_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<QString>("question");
        const QString english = QStringLiteral("Are you sure you want to clear all of the data?");
        const QString french = QString::fromUtf8("Êtes-vous certain de vouloir effacer toutes les données ?");
        QTest::newRow("Yes") << 0 << MsgResult::Yes << english;
        QTest::newRow("No") << 0 << MsgResult::No << english;
        QTest::newRow("French, Yes") << 1 << MsgResult::Yes << french;
    }
    void clearAllQuestion() {
        QFETCH(int, language);
        QFETCH(MsgResult, answer);
        QFETCH(QString, question);
        RecordingPlatform seam;
        seam.answers.enqueue(answer);
        QCOMPARE(firmcommands::confirmClearAll(language::fromFlag(language)), answer == MsgResult::Yes);
        QCOMPARE(seam.messages.size(), 1);
        QCOMPARE(seam.messages[0].text, question);
        QCOMPARE(seam.messages[0].buttons, MsgButtons::YesNo);
        QCOMPARE(seam.messages[0].icon, MsgIcon::Question);
        QCOMPARE(seam.messages[0].title, QStringLiteral("ZEBRO"));
    }

    void openWithNoRecordsMessage() {
        QCOMPARE(firmmessages::text(firmmessages::Message::NoRecordsFound, Language::E),
                 QStringLiteral("No records were found"));
        QCOMPARE(firmmessages::text(firmmessages::Message::NoRecordsFound, Language::F),
                 QString::fromUtf8("L'item n'a pas été trouvé"));
    }
};

QTEST_GUILESS_MAIN(TestFirmCommands)
#include "test_firm_commands.moc"
