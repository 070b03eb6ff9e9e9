// The entry rules of the value boxes: the key filter with its minus command, the
// Enter key of computed boxes and the check run when a box is left.

#include "firm/NumericEntry.h"

#include <QtTest>

using numericentry::BoxState;
using numericentry::KeyAction;

Q_DECLARE_METATYPE(numericentry::KeyAction)

namespace {

// Types the keys one after the other into the box, each key finding the box as the
// previous one left it; the result of the last key.
numericentry::KeyResult typeKeys(BoxState box, const QString& keys) {
    numericentry::KeyResult r{KeyAction::Ignored, box};
    for (QChar k : keys) {
        r = numericentry::handleKey(box, k.unicode());
        box = r.after;
    }
    return r;
}

} // namespace

class TestNumericEntry : public QObject {
    Q_OBJECT
private slots:
    void keySequences_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<KeyAction>("action");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("selectedAfter");
        const QString enter(QChar(13));
        const QString backspace(QChar(8));

        QTest::newRow("1, 2, 3 into a selected 0")
            << "0" << 0 << 1 << "123" << KeyAction::Typed << "123" << 3 << 0;
        QTest::newRow("minus first") << "0" << 0 << 1 << "-" << KeyAction::Negated << "-" << 1 << 0;
        QTest::newRow("minus first, then 5") << "0" << 0 << 1 << "-5" << KeyAction::Typed << "-5" << 2 << 0;
        QTest::newRow("minus, 5, Enter keeps -5")
            << "0" << 0 << 1 << ("-5" + enter) << KeyAction::MoveOn << "-5" << 2 << 0;
        QTest::newRow("minus on 250") << "250" << 3 << 0 << "-" << KeyAction::Negated << "-250" << 4 << 0;
        QTest::newRow("minus on 250, twice")
            << "250" << 3 << 0 << "--" << KeyAction::Negated << "-250" << 4 << 0;
        QTest::newRow("minus on 250 with the caret at the start")
            << "250" << 0 << 0 << "-" << KeyAction::Negated << "-250" << 4 << 0;
        QTest::newRow("minus with 25 selected inside 1250")
            << "1250" << 1 << 2 << "-" << KeyAction::Negated << "-10" << 3 << 0;
        QTest::newRow("minus with everything selected")
            << "1250" << 0 << 4 << "-" << KeyAction::Negated << "-" << 1 << 0;
        QTest::newRow("minus on the sign alone")
            << "-" << 1 << 0 << "-" << KeyAction::Negated << "-" << 1 << 0;
        QTest::newRow("minus on a pasted fraction")
            << "12.50" << 5 << 0 << "-" << KeyAction::Negated << "-12.5" << 5 << 0;
        QTest::newRow("minus on pasted text with a number first")
            << "1 234abc" << 0 << 0 << "-" << KeyAction::Negated << "-1234" << 5 << 0;
        QTest::newRow("minus then digits after a fraction")
            << "0.5" << 3 << 0 << "-7" << KeyAction::Typed << "-0.57" << 5 << 0;
        QTest::newRow("digit in the middle") << "15" << 1 << 0 << "0" << KeyAction::Typed << "105" << 2 << 0;
        QTest::newRow("Backspace at the end")
            << "123" << 3 << 0 << backspace << KeyAction::Typed << "12" << 2 << 0;
        QTest::newRow("Backspace over a selection")
            << "12345" << 1 << 3 << backspace << KeyAction::Typed << "15" << 1 << 0;
        QTest::newRow("Backspace at the start")
            << "123" << 0 << 0 << backspace << KeyAction::Typed << "123" << 0 << 0;
        QTest::newRow("Enter puts 007 in its normal form")
            << "007" << 3 << 0 << enter << KeyAction::MoveOn << "7" << 1 << 0;
        QTest::newRow("Enter on an empty box") << "" << 0 << 0 << enter << KeyAction::MoveOn << "0" << 1 << 0;
        QTest::newRow("Enter on a pasted 1 234")
            << "1 234" << 0 << 0 << enter << KeyAction::MoveOn << "1234" << 4 << 0;

        // Refused keys leave the text as it was, wholly selected.
        QTest::newRow("a point") << "1250" << 4 << 0 << "." << KeyAction::Refused << "1250" << 4 << 4;
        QTest::newRow("a comma") << "1250" << 2 << 0 << "," << KeyAction::Refused << "1250" << 4 << 4;
        QTest::newRow("a blank") << "1250" << 1 << 2 << " " << KeyAction::Refused << "1250" << 4 << 4;
        QTest::newRow("a letter") << "1250" << 0 << 4 << "e" << KeyAction::Refused << "1250" << 4 << 4;
        QTest::newRow("a plus sign") << "7" << 1 << 0 << "+" << KeyAction::Refused << "7" << 1 << 1;
        QTest::newRow("the paste shortcut")
            << "7" << 1 << 0 << QString(QChar(22)) << KeyAction::Refused << "7" << 1 << 1;
        QTest::newRow("a tab character")
            << "7" << 1 << 0 << QString(QChar(9)) << KeyAction::Refused << "7" << 1 << 1;
        QTest::newRow("a digit of another script")
            << "7" << 1 << 0 << QString(QChar(0x0663)) << KeyAction::Refused << "7" << 1 << 1;
        QTest::newRow("a refused key after digits")
            << "0" << 0 << 1 << "12x" << KeyAction::Refused << "12" << 2 << 2;
        QTest::newRow("Enter beyond the normal form's range")
            << "12345678901234567890" << 20 << 0 << enter << KeyAction::Refused << "12345678901234567890"
            << 20 << 20;
        QTest::newRow("minus beyond the normal form's range")
            << "12345678901234567890" << 20 << 0 << "-" << KeyAction::Refused << "12345678901234567890" << 20
            << 20;
    }
    void keySequences() {
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, keys);
        QFETCH(KeyAction, action);
        QFETCH(QString, result);
        QFETCH(int, caret);
        QFETCH(int, selectedAfter);
        const numericentry::KeyResult r = typeKeys({text, selStart, selLength}, keys);
        QCOMPARE(r.action, action);
        QCOMPARE(r.after.text, result);
        QCOMPARE(r.after.caret(), caret);
        QCOMPARE(r.after.selectionLength, selectedAfter);
    }

    void staleSelectionStaysInsideTheText() {
        const auto r = numericentry::handleKey({QStringLiteral("12"), 5, 9}, u'3');
        QCOMPARE(r.after.text, QStringLiteral("123"));
        QCOMPARE(r.after.caret(), 3);
    }

    void computedBoxes_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<KeyAction>("action");
        QTest::newRow("Enter") << 13 << KeyAction::MoveOn;
        QTest::newRow("a digit") << int('5') << KeyAction::Ignored;
        QTest::newRow("minus") << 45 << KeyAction::Ignored;
        QTest::newRow("Backspace") << 8 << KeyAction::Ignored;
        QTest::newRow("a letter") << int('a') << KeyAction::Ignored;
    }
    void computedBoxes() {
        QFETCH(int, key);
        QFETCH(KeyAction, action);
        const BoxState box{QStringLiteral("1.677722E+07"), 0, 12};
        const auto r = numericentry::handleComputedKey(box, static_cast<char16_t>(key));
        QCOMPARE(r.action, action);
        QCOMPARE(r.after, box);
    }

    void leaving_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("after");
        QTest::newRow("007") << "007" << true << "7";
        QTest::newRow("a pasted 1 234") << "1 234" << true << "1234";
        QTest::newRow("a pasted 12abc") << "12abc" << true << "12";
        QTest::newRow("a pasted abc") << "abc" << true << "0";
        QTest::newRow("empty") << "" << true << "0";
        QTest::newRow("the sign alone") << "-" << true << "0";
        QTest::newRow("negative") << "-5" << true << "-5";
        QTest::newRow("a pasted fraction") << "3.14159" << true << "3.1416";
        QTest::newRow("the largest whole number") << "922337203685477" << true << "922337203685477";
        QTest::newRow("fifteen nines, beyond the range") << "999999999999999" << false << "999999999999999";
        QTest::newRow("a pasted 20-digit number")
            << "12345678901234567890" << false << "12345678901234567890";
        QTest::newRow("a negative 20-digit number")
            << "-12345678901234567890" << false << "-12345678901234567890";
    }
    void leaving() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QString, after);
        const numericentry::LeaveResult r = numericentry::leaveCheck(text);
        QCOMPARE(r.valid, valid);
        QCOMPARE(r.text, after);
    }

    void refusalMessage() {
        QCOMPARE(numericentry::refusalMessage(Language::E), QStringLiteral("Please enter a number"));
        QCOMPARE(numericentry::refusalMessage(Language::F), QStringLiteral("Veuillez entrer un chiffre"));
    }
};

QTEST_GUILESS_MAIN(TestNumericEntry)
#include "test_numeric_entry.moc"
