// Typing values into the firm values screen: the shared key filter and leave check of
// the entered boxes, the Enter path and the Tab order, the computed boxes and their
// texts, driven through the real boxes with the scripted platform.

#include "FirmScreenFixture.h"

#include <QComboBox>
#include <QPushButton>

class TestFirmValueEntry : public QObject {
    Q_OBJECT

    std::unique_ptr<FirmScreenFixture> f;

    // The box with the focus, by its program name.
    QString focusedName() { return f->focused() ? f->focused()->objectName() : QString(); }

    // Puts a text into a box as pasting with the pointer would: no key goes through the filter.
    void paste(const char* name, const QString& text) {
        f->enter(name);
        f->box(name)->insert(text);
    }

private slots:
    void init() {
        f = std::make_unique<FirmScreenFixture>();
        f->open();
    }
    void cleanup() { f.reset(); }

    // --- keys typed into an entered box ---

    void digitsReplaceTheSelectedZero_data() {
        QTest::addColumn<QString>("arrivedBy");
        QTest::newRow("Tab") << "Tab";
        QTest::newRow("Enter") << "Enter";
    }
    void digitsReplaceTheSelectedZero() {
        QFETCH(QString, arrivedBy);
        f->enter("txtCash");
        f->press(arrivedBy == QLatin1String("Tab") ? Qt::Key_Tab : Qt::Key_Return);
        QCOMPARE(focusedName(), QStringLiteral("txtAr"));
        QCOMPARE(f->box("txtAr")->selectedText(), QStringLiteral("0"));
        f->typeKeys(QStringLiteral("123"));
        QCOMPARE(f->text("txtAr"), QStringLiteral("123"));
        QVERIFY(f->platform.messages.isEmpty());
    }

    void minusFirstThenDigit() {
        f->enter("txtInv");
        f->press(Qt::Key_Minus);
        QCOMPARE(f->text("txtInv"), QStringLiteral("-"));
        f->typeKeys(QStringLiteral("5"));
        QCOMPARE(f->text("txtInv"), QStringLiteral("-5"));
        f->press(Qt::Key_Return);
        QCOMPARE(f->text("txtInv"), QStringLiteral("-5"));
        QCOMPARE(focusedName(), QStringLiteral("txtCA"));
        // The negative part lowers its subtotals.
        QCOMPARE(f->text("txtToa"), QStringLiteral("-5"));
        QCOMPARE(f->text("txtTa"), QStringLiteral("-5"));
    }

    void minusOnAValueAndAgain() {
        f->enter("txtCA");
        f->typeKeys(QStringLiteral("250"));
        QCOMPARE(f->box("txtCA")->cursorPosition(), 3);
        f->press(Qt::Key_Minus);
        QCOMPARE(f->text("txtCA"), QStringLiteral("-250"));
        QVERIFY(!f->box("txtCA")->hasSelectedText());
        QCOMPARE(f->box("txtCA")->cursorPosition(), 4);
        f->press(Qt::Key_Minus);
        QCOMPARE(f->text("txtCA"), QStringLiteral("-250"));
        QVERIFY(f->platform.messages.isEmpty());
    }

    void minusRemovesTheSelectedDigitsFirst() {
        f->enter("txtOA");
        f->typeKeys(QStringLiteral("1250"));
        f->box("txtOA")->setSelection(1, 2); // "25"
        f->press(Qt::Key_Minus);
        QCOMPARE(f->text("txtOA"), QStringLiteral("-10"));
    }

    void refusedKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("point") << int(Qt::Key_Period) << 0 << 0 << "Please enter a number";
        QTest::newRow("comma") << int(Qt::Key_Comma) << 0 << 0 << "Please enter a number";
        QTest::newRow("blank") << int(Qt::Key_Space) << 0 << 0 << "Please enter a number";
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << 0 << "Please enter a number";
        QTest::newRow("paste shortcut")
            << int(Qt::Key_V) << int(Qt::ControlModifier) << 0 << "Please enter a number";
        QTest::newRow("letter, in French") << int(Qt::Key_E) << 0 << 1 << "Veuillez entrer un chiffre";
    }
    void refusedKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, language);
        QFETCH(QString, message);
        modMain::gintLanguage = static_cast<int16_t>(language);
        f->enter("txtSales");
        f->typeKeys(QStringLiteral("42"));
        f->press(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(f->text("txtSales"), QStringLiteral("42"));
        QCOMPARE(f->box("txtSales")->selectedText(), QStringLiteral("42"));
        QCOMPARE(focusedName(), QStringLiteral("txtSales"));
        QCOMPARE(f->platform.messages.size(), 1);
        QCOMPARE(f->platform.lastMessage(), message);
        QCOMPARE(f->platform.messages[0].buttons, MsgButtons::OK);
    }

    void backspaceEdits() {
        f->enter("txtMtg");
        f->typeKeys(QStringLiteral("987"));
        f->press(Qt::Key_Backspace);
        QCOMPARE(f->text("txtMtg"), QStringLiteral("98"));
        QVERIFY(f->platform.messages.isEmpty());
    }

    // --- leaving a box ---

    void leavingPutsTheNormalForm_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("left");
        QTest::newRow("leading zeros") << "007"
                                       << "7";
        QTest::newRow("blank inside") << "1 234"
                                      << "1234";
        QTest::newRow("letters after") << "12abc"
                                       << "12";
        QTest::newRow("letters only") << "abc"
                                      << "0";
        QTest::newRow("empty") << ""
                               << "0";
        QTest::newRow("fraction") << "2.71828"
                                  << "2.7183";
    }
    void leavingPutsTheNormalForm() {
        QFETCH(QString, pasted);
        QFETCH(QString, left);
        f->enter("txtCash");
        f->box("txtCash")->setText(pasted);
        f->press(Qt::Key_Tab);
        QCOMPARE(f->text("txtCash"), left);
        QCOMPARE(focusedName(), QStringLiteral("txtAr"));
        // The subtotals follow the box that was left.
        QCOMPARE(f->text("txtToa"), left);
        QVERIFY(f->platform.messages.isEmpty());
    }

    void leavingANumberBeyondTheRangeKeepsTheFocus() {
        paste("txtPtfl", QStringLiteral("12345678901234567890"));
        f->press(Qt::Key_Tab);
        QCOMPARE(f->platform.messages.size(), 1);
        QCOMPARE(f->platform.lastMessage(), QStringLiteral("Please enter a number"));
        QCOMPARE(focusedName(), QStringLiteral("txtPtfl"));
        QCOMPARE(f->text("txtPtfl"), QStringLiteral("12345678901234567890"));
        QCOMPARE(f->box("txtPtfl")->selectedText(), QStringLiteral("12345678901234567890"));
        QCOMPARE(f->text("txtTa"), QStringLiteral("0"));
    }

    void enterOnANumberBeyondTheRangeIsRefused() {
        paste("txtBonds", QStringLiteral("99999999999999999999"));
        f->press(Qt::Key_Return);
        QCOMPARE(f->platform.lastMessage(), QStringLiteral("Please enter a number"));
        QCOMPARE(focusedName(), QStringLiteral("txtBonds"));
    }

    // --- where Enter and Tab go ---

    void enterPath_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("assets to investments") << "txtOA"
                                               << "txtInvest";
        QTest::newRow("portfolio to accounts payable") << "txtPtfl"
                                                       << "txtAccountsPayable";
        QTest::newRow("deferred tax to share capital") << "txtDefTax"
                                                       << "txtShareC";
        QTest::newRow("other surplus to current assets") << "txtOtherSur"
                                                         << "txtCurrentAssets";
        QTest::newRow("current liabilities to operating revenue") << "txtCurrentLiabilities"
                                                                  << "txtOperatingRevenue";
        QTest::newRow("net profit back to accounts payable") << "txtProfitAfterTax"
                                                             << "txtAccountsPayable";
        QTest::newRow("computed total operating assets") << "txtToa"
                                                         << "txtInvest";
        QTest::newRow("computed total assets") << "txtTa"
                                               << "txtAccountsPayable";
        QTest::newRow("computed total liabilities") << "txtTliab"
                                                    << "txtShareC";
        QTest::newRow("computed equity") << "txtEquity1"
                                         << "txtCurrentAssets";
        QTest::newRow("computed total liabilities and equity") << "txtTotLiabShareEq"
                                                               << "txtCurrentAssets";
    }
    void enterPath() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        f->enter(qPrintable(from));
        f->press(Qt::Key_Return);
        QCOMPARE(focusedName(), to);
    }

    // The computed totals are read, not typed into: Tab passes them by.
    void tabVisitsNameYearAndEveryEnteredBox() {
        const QStringList expected{
            "cboYear",
            "txtCash",
            "txtAr",
            "txtInv",
            "txtCA",
            "txtOA",
            "txtInvest",
            "txtPtfl",
            "txtAccountsPayable",
            "txtPaper",
            "txtMtg",
            "txtBonds",
            "txtOl",
            "txtAmtsAffil",
            "txtOLiab",
            "txtDefTax",
            "txtShareC",
            "txtRetEarn",
            "txtOtherSur",
            "txtCurrentAssets",
            "txtCurrentLiabilities",
            "txtOperatingRevenue",
            "txtSales",
            "txtGrossProfit",
            "txtOperatingProfit",
            "txtInterestExpense",
            "txtPretaxProfit",
            "txtProfitAfterTax",
        };
        f->screen().txtFirmName->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int i = 0; i < expected.size(); ++i) {
            f->press(Qt::Key_Tab);
            visited << focusedName();
        }
        QCOMPARE(visited, expected);
        QVERIFY(f->platform.messages.isEmpty());
    }

    // --- the computed boxes ---

    void computedBoxesAreReadOnlyAndMarked_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("computed");
        for (const char* n : {"txtToa", "txtTa", "txtTliab", "txtEquity1", "txtTotLiabShareEq"})
            QTest::newRow(n) << n << true;
        for (const char* n : {"txtCash", "txtSales", "txtRetEarn", "txtCurrentLiabilities"})
            QTest::newRow(n) << n << false;
    }
    void computedBoxesAreReadOnlyAndMarked() {
        QFETCH(QString, name);
        QFETCH(bool, computed);
        QLineEdit* b = f->box(qPrintable(name));
        QCOMPARE(b->isReadOnly(), computed);
        QCOMPARE(b->font().bold(), computed);
        const QColor background = b->palette().color(QPalette::Base);
        if (computed) {
            QCOMPARE(background, QColor(224, 224, 224));
            const QColor text = b->palette().color(QPalette::Text);
            QVERIFY2(text.blue() > 100 && text.red() < 60 && text.green() < 60, qPrintable(text.name()));
        } else {
            QCOMPARE(background, QColor(Qt::white));
        }
    }

    void keysInAComputedBoxChangeNothing() {
        f->enter("txtTliab");
        f->typeKeys(QStringLiteral("7a"));
        f->press(Qt::Key_Minus);
        QCOMPARE(f->text("txtTliab"), QStringLiteral("0"));
        QVERIFY(f->platform.messages.isEmpty());
    }

    void subtotalTexts_data() {
        QTest::addColumn<QString>("cash");
        QTest::addColumn<QString>("receivables");
        QTest::addColumn<QString>("total");
        QTest::newRow("seven digits") << "9999998"
                                      << "1"
                                      << "9999999";
        QTest::newRow("ten million") << "9999999"
                                     << "1"
                                     << "1E+07";
        QTest::newRow("beyond single precision") << "16777216"
                                                 << "1"
                                                 << "1.677722E+07";
        QTest::newRow("negative part") << "100"
                                       << "-250"
                                       << "-150";
    }
    void subtotalTexts() {
        QFETCH(QString, cash);
        QFETCH(QString, receivables);
        QFETCH(QString, total);
        f->box("txtCash")->setText(cash);
        f->box("txtAr")->setText(receivables);
        f->enter("txtAr");
        f->press(Qt::Key_Return);
        QCOMPARE(f->text("txtToa"), total);
        QCOMPARE(f->text("txtTa"), total);
        QCOMPARE(f->text("txtTotLiabShareEq"), QStringLiteral("0"));
    }

    void liabilitiesAndEquityTotals() {
        f->box("txtAccountsPayable")->setText(QStringLiteral("300"));
        f->box("txtDefTax")->setText(QStringLiteral("20"));
        f->box("txtShareC")->setText(QStringLiteral("1000"));
        f->box("txtRetEarn")->setText(QStringLiteral("-400"));
        f->enter("txtRetEarn");
        f->press(Qt::Key_Return);
        QCOMPARE(f->text("txtTliab"), QStringLiteral("320"));
        QCOMPARE(f->text("txtEquity1"), QStringLiteral("600"));
        QCOMPARE(f->text("txtTotLiabShareEq"), QStringLiteral("920"));
    }

    // --- what counts as a change ---

    void changesMarkTheFirm_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("changed");
        QTest::newRow("a typed value") << "value" << true;
        QTest::newRow("the year") << "year" << true;
        QTest::newRow("the firm name typed") << "name" << true;
        QTest::newRow("only moving through the boxes") << "tab" << false;
    }
    void changesMarkTheFirm() {
        QFETCH(QString, what);
        QFETCH(bool, changed);
        frmMyValues& s = f->screen();
        QVERIFY(!s.blnDataChanged);
        if (what == QLatin1String("value")) {
            f->enter("txtCash");
            f->typeKeys(QStringLiteral("5"));
        } else if (what == QLatin1String("year")) {
            s.cboYear->setCurrentIndex(s.cboYear->findText(QStringLiteral("2010")));
        } else if (what == QLatin1String("name")) {
            s.txtFirmName->setFocus(Qt::MouseFocusReason);
            s.txtFirmName->selectAll();
            f->typeKeys(QStringLiteral("Acme"));
            QCOMPARE(s.txtFirmName->text(), QStringLiteral("Acme"));
        } else {
            f->enter("txtCash");
            for (int i = 0; i < 10; ++i)
                f->press(Qt::Key_Tab);
        }
        QCOMPARE(s.blnDataChanged, changed);
    }

    void yearBoxOffersOnlyTheReferenceYears() {
        QComboBox* year = f->screen().cboYear;
        QVERIFY(!year->isEditable());
        QStringList items;
        for (int i = 0; i < year->count(); ++i)
            items << year->itemText(i);
        QCOMPARE(items, (QStringList{"2009", "2010", "2011"}));
        QCOMPARE(year->currentText(), QStringLiteral("2011"));
    }
};

QTEST_MAIN(TestFirmValueEntry)
#include "test_firm_value_entry.moc"
