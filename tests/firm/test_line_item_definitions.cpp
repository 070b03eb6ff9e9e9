// The line item definitions shown by the caption labels: titles exactly as the screen
// shows them, the given bodies, and the form every body follows.

#include "firm/LineItemDefinitions.h"
#include "firm/LineItems.h"

#include <QRegularExpression>
#include <QtTest>

using lineitemdefinitions::PieceKind;

namespace {

struct Expected {
    const char* label;
    const char* english;
    const char* french;
};

QString u8(const char* s) {
    return QString::fromUtf8(s);
}

lineitemdefinitions::Definition definitionOf(const QString& label, int language) {
    const auto d = lineitemdefinitions::lookup(label, language::fromFlag(language));
    if (!d) qFatal("no definition for %s", qPrintable(label));
    return *d;
}

} // namespace

class TestLineItemDefinitions : public QObject {
    Q_OBJECT
private slots:
    void titles_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("french");
        // Trailing blanks and spellings are the screen's own.
        const Expected titles[] = {
            {"lblCash", "CASH AND DEPOSITS DEFINITION", "DÉFINITION DE ‘ENCAISSE ET DÉPÔTS’"},
            {"lblReceivables", "ACCOUNTS RECEIVABLE DEFINITION", "DÉFINITION DE ‘COMPTES DÉBITEURS’"},
            {"lblInventory", "INVENTORIES DEFINITION", "DÉFINITION DE ‘STOCKS’"},
            {"lblCapitalAssets", "CAPITAL ASSETS DEFINITION", "DÉFINITION DE ‘IMMOBILISATIONS’"},
            {"lblOtherAssets", "OTHER ASSETS DEFINITION", "DÉFINITION DE ‘AUTRES ACTIFS’"},
            {"lblTotalOA", "TOTAL OPERATING ASSETS DEFINITION",
             "DÉFINITION DE ‘TOTAL, ACTIFS D’EXPLOITATION’"},
            {"lblInvestments", "INVESTMENT WITH AFFILIATES DEFINITION",
             "DÉFINITION DE ‘PLACEMENTS AUPRÈS DE SOCIÈTÈS AFFILIÉES’"},
            {"lblPortfolio", "PORTFOLIO INVESTMENTS DEFINITION",
             "DÉFINITION DE ‘PLACEMENTS DE PORTEFUILLES’"},
            {"lblTotalAssets", "TOTAL ASSETS DEFINITION", "DÉFINITION DE ‘TOTAL, ACTIFS’"},
            {"lblOperatingRevenue", "ANNUAL OPERATING REVENUE DEFINITION",
             "DÉFINITION DE ‘REVENUS D’EXPLOITATION’"},
            {"lblRevenue", "SALES OF GOODS AND SERVICES DEFINITION ",
             "DÉFINITION DE ‘VENTES DE BIENS ET DES SERVICES’"},
            {"lblGrossProfit", "GROSS PROFIT DEFINITION ", "DÉFINITION DE ‘BÉNÉFICE BRUTE’"},
            {"lblOperatingProfit", "OPERATING PROFIT DEFINITION ", "DÉFINITION DE ‘BÉNÉFICE D’EXPLOITATION’"},
            {"lblInterestExpense", "INTEREST EXPENSE ON DEBT DEFINITION",
             "DÉFINITION DE ‘FRAIS D’INTÉRÊT SUR DETTES’"},
            {"lblPretaxProfit", "PRETAX PROFIT DEFINITION", "DÉFINITION DE ‘BÉNÉFICE AVANT IMPÔT’"},
            {"lblAftertaxProfit", "NET PROFIT (AFTER TAX) DEFINITION",
             "DÉFINITION DE ‘BÉNÉFICE NET (APRÈS IMPÔT)’"},
            {"lblAccountPayable", "ACCOUNTS PAYABLE DEFINITION", "DÉFINITION DE ‘COMPTES CRÉDITEURS’"},
            {"lblShortterm", "SHORT-TERM PAPER DEFINITION ", "DÉFINITION DE ‘PAPIER À COURT TERME’"},
            {"lblMortgages", "MORTGAGE LOANS DEFINITION ", "DÉFINITION DE ‘HYPOTHÈQUES’"},
            {"lblBonds", "BONDS AND DEBENTURES DEFINITION", "DÉFINITION DE ‘OBLIGATIONS ET DÉBENTURES’"},
            {"lblOtherLoans", "LOANS AND OTHER BORROWING DEFINITION",
             "DÉFINITION DE ‘PRÊTS ET AUTRES EMPRUNTS’"},
            {"lblAffiliate", "AMOUNTS OWING TO PARENT, SUBSIDIARIES AND AFFILIATES DEFINITION",
             "DÉFINITION DE ‘MONTANT DÛ À LA SOCIÉTÉ MÈRE, AUX FILIALES ET AUX SOCIÉTÉS AFFILIÉES’"},
            {"lblOtherLiabilities", "OTHER LIABILITIES DEFINITION", "DÉFINITION DE ‘AUTRES PASSIFS’"},
            {"lblDeferredTax", "DEFERRED INCOME TAXES DEFINITION",
             "DÉFINITION DE ‘IMPÔTS SUR LE REVENU REPORTÉ’"},
            {"lblLiabilities", "TOTAL LIABILITIES DEFINITION", "DÉFINITION DE ‘TOTAL, PASSIFS’"},
            {"lblShareCapital", "SHARE CAPITAL DEFINITION", "DÉFINITION DE ‘CAPITAL-ACTIONS’"},
            {"lblRetainedEarnings", "RETAINED EARNINGS DEFINITION", "DÉFINITION DE ‘BÉNÉFICES NON RÉPARTIS’"},
            {"lblOther", "OTHER SURPLUS DEFINITION", "DÉFINITION DE ‘AUTRES SURPLUS’"},
            {"lblEquity", "TOTAL SHAREHOLDERS' EQUITY DEFINITION", "DÉFINITION DE ‘TOTAL, CAPITAUX PROPRES’"},
            {"lblTotal", "TOTAL LIABILITIES AND SHAREHOLDERS' EQUITY DEFINITION",
             "DÉFINITION DE ‘TOTAL, PASSIFS ET CAPITAUX PROPRES’"},
            {"lblCurrentAssets", "TOTAL CURRENT ASSETS DEFINITION ", "DÉFINITION DE ‘ACTIFS À COURT TERME’"},
            {"lblCurrentLiabilities", "TOTAL CURRENT LIABILITIES DEFINITION ",
             "DÉFINITION DE ‘PASSIFS À COURT TERME’"},
        };
        for (const Expected& t : titles)
            QTest::newRow(t.label) << u8(t.label) << u8(t.english) << u8(t.french);
    }
    void titles() {
        QFETCH(QString, label);
        QFETCH(QString, english);
        QFETCH(QString, french);
        QCOMPARE(definitionOf(label, 0).title, english);
        QCOMPARE(definitionOf(label, 1).title, french);
    }

    void everyCaptionLabelHasOne() {
        QCOMPARE(lineitemdefinitions::labels().size(), lineitems::kCount);
        for (const lineitems::LineItem& item : lineitems::all())
            QVERIFY2(lineitemdefinitions::lookup(QLatin1String(item.captionLabel), Language::E).has_value(),
                     item.captionLabel);
        QVERIFY(!lineitemdefinitions::lookup(QStringLiteral("lblAsset"), Language::E).has_value());
        QVERIFY(!lineitemdefinitions::lookup(QStringLiteral("txtCash"), Language::E).has_value());
    }

    void anyOtherLanguageFlagIsFrench() {
        QCOMPARE(definitionOf(QStringLiteral("lblCash"), 7).title, u8("DÉFINITION DE ‘ENCAISSE ET DÉPÔTS’"));
    }

    void accountsPayableBody_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("English")
            << 0
            << QStringList{
                   "All claims by creditors arising from the purchase of goods and services.  "
                   "Included are accrued liabilities and amounts owing to governments, including "
                   "corporate income tax.",
                   "a)  Trade Payables",
                   "     i)  trade accounts payable to affiliates",
                   "     ii) holdbacks payable",
                   "b)  Other Accounts Payable",
                   "     i)  interest, dividends and rent payable",
                   "     ii) accrued expenses such as salaries, wages, payroll taxes, employee "
                   "benefits",
               };
        QTest::newRow("French")
            << 1
            << QStringList{
                   u8("Sommes dues à un créancier et découlant de l'achat de biens ou de la "
                      "prestation de services.  Comprend aussi les exigibilités courues, les "
                      "sommes dues à des administrations publiques ainsi que les impôts sur le "
                      "revenu exigibles."),
                   u8("a)  Fournisseurs"),
                   u8("     i)  comptes fournisseurs à payer à des sociétés affiliées"),
                   u8("     ii) retenues de garantie à payer"),
                   u8("b)  Autres comptes créditeurs"),
                   u8("     i)  intérêts dividendes et loyers à payer"),
                   u8("     ii) dépenses courues, comme les rémunérations et les avantages "
                      "sociaux, les charges sociales et autres retenues salariales"),
               };
    }
    void accountsPayableBody() {
        QFETCH(int, language);
        QFETCH(QStringList, pieces);
        const auto d = definitionOf(QStringLiteral("lblAccountPayable"), language);
        QCOMPARE(d.title, language ? u8("DÉFINITION DE ‘COMPTES CRÉDITEURS’")
                                   : QStringLiteral("ACCOUNTS PAYABLE DEFINITION"));
        // Seven pieces, one empty line between two (CR LF twice), the second level indented by five blanks.
        const QString body = lineitemdefinitions::body(d);
        QCOMPARE(body, pieces.join(QStringLiteral("\r\n\r\n")));
        QCOMPARE(body.split(QStringLiteral("\r\n\r\n")).size(), 7);
    }

    void subtotalBodies_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("french");
        const Expected bodies[] = {
            {"lblTotalOA",
             "This amount should include all assets relevant to operating activities.  It should also be "
             "equal to the sum of the amounts entered above.",
             "Ce montant comprend tous actifs ayant rapport aux activités d'exploitation.  Il devrait être "
             "égal à la somme des chiffres ci-dessus."},
            {"lblTotalAssets",
             "This amount should be the sum of the values entered for total operating assets, investments "
             "with affiliates and portfolio investments.",
             "Ce montant devrait être la somme des valeurs pour total, actifs d'exploitation, placements "
             "auprès de sociétés affiliées et placements de portefeuille."},
            {"lblLiabilities", "This amount should be equal to the sum of the values entered above.",
             "Ce montant devrait être égal au somme des chiffres ci-dessus."},
            {"lblEquity",
             "This amount should be equal to the sum of the values entered for share capital, retained "
             "earnings, and other surplus.",
             "Ce montant devrait être la somme des valeurs pour captial-actions, bénéfices non répartis et "
             "autres surplus."},
            {"lblTotal",
             "This amount should be equal to the sum of the values entered for total liabilities and "
             "shareholder's equity.  It should also be equal to the amount entered for total assets.",
             "Ce montant devrait être la somme des valeurs pour total, passifs et captaux propres.  Il "
             "devrait être égal à la chiffre total, actifs."},
        };
        for (const Expected& b : bodies)
            QTest::newRow(b.label) << u8(b.label) << u8(b.english) << u8(b.french);
    }
    void subtotalBodies() {
        QFETCH(QString, label);
        QFETCH(QString, english);
        QFETCH(QString, french);
        QCOMPARE(lineitemdefinitions::body(definitionOf(label, 0)), english);
        QCOMPARE(lineitemdefinitions::body(definitionOf(label, 1)), french);
    }

    void cashBodyEndsWithTheBreak() {
        const QString body = lineitemdefinitions::body(definitionOf(QStringLiteral("lblCash"), 0));
        QVERIFY(body.endsWith(QStringLiteral("\r\n\r\n")));
        QVERIFY(!body.endsWith(QStringLiteral("\r\n\r\n\r\n\r\n")));
    }

    void everyBodyFollowsTheForm_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("language");
        for (const lineitems::LineItem& item : lineitems::all())
            for (int language : {0, 1})
                QTest::newRow(qPrintable(
                    QStringLiteral("%1 %2").arg(QLatin1String(item.captionLabel), language ? "fr" : "en")))
                    << QString::fromLatin1(item.captionLabel) << language;
    }
    void everyBodyFollowsTheForm() {
        QFETCH(QString, label);
        QFETCH(int, language);
        const auto d = definitionOf(label, language);
        QVERIFY(!d.pieces.isEmpty());
        QVERIFY(!lineitemdefinitions::body(d).trimmed().isEmpty());
        const QString heading = language ? QStringLiteral("Inclure") : QStringLiteral("Inclusions");
        // A lettered item: a letter, ")" and two blanks; a second-level one: a roman numeral and
        // ")" followed by two blanks after "i" and one after the longer numerals.
        const QRegularExpression lettered(QStringLiteral("^[a-z]\\)  \\S"));
        const QRegularExpression secondLevel(QStringLiteral("^(i\\)  |(ii|iii|iv)\\) )\\S"));
        QChar nextLetter = u'a';
        for (const lineitemdefinitions::Piece& p : d.pieces) {
            QVERIFY2(!p.text.isEmpty() && p.text == p.text.trimmed(), qPrintable(p.text));
            switch (p.kind) {
            case PieceKind::Heading:
                QCOMPARE(p.text, heading);
                break;
            case PieceKind::Item:
                QVERIFY2(lettered.match(p.text).hasMatch(), qPrintable(p.text));
                QCOMPARE(p.text.at(0), nextLetter);
                nextLetter = QChar(nextLetter.unicode() + 1);
                break;
            case PieceKind::SubItem:
                QVERIFY2(secondLevel.match(p.text).hasMatch(), qPrintable(p.text));
                break;
            case PieceKind::Paragraph:
                QVERIFY2(p.text.endsWith(u'.'), qPrintable(p.text));
                break;
            }
        }
        // A body opens with a paragraph or the heading, never with a list item.
        QVERIFY(d.pieces.first().kind == PieceKind::Paragraph || d.pieces.first().kind == PieceKind::Heading);
        // Both languages have the same pieces.
        const auto other = definitionOf(label, 1 - language);
        QCOMPARE(other.pieces.size(), d.pieces.size());
        for (qsizetype i = 0; i < d.pieces.size(); ++i)
            QCOMPARE(other.pieces[i].kind, d.pieces[i].kind);
    }

    void largerBodiesHaveTheirInclusions_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("atLeast");
        QTest::newRow("capital assets") << "lblCapitalAssets" << 12;
        QTest::newRow("accounts receivable") << "lblReceivables" << 12;
        QTest::newRow("interest expense") << "lblInterestExpense" << 12;
        QTest::newRow("inventories") << "lblInventory" << 5;
    }
    void largerBodiesHaveTheirInclusions() {
        QFETCH(QString, label);
        QFETCH(int, atLeast);
        QVERIFY(definitionOf(label, 0).pieces.size() >= atLeast);
    }

    void inventoriesValuation() {
        const auto d = definitionOf(QStringLiteral("lblInventory"), 0);
        QCOMPARE(
            d.pieces.last().text,
            QStringLiteral("Inventories should be valued at the lower of cost or net realizable value."));
    }

    void singleParagraphBodies_data() {
        QTest::addColumn<QString>("label");
        for (const char* l :
             {"lblOtherAssets", "lblGrossProfit", "lblOperatingProfit", "lblPretaxProfit",
              "lblAftertaxProfit", "lblMortgages", "lblCurrentAssets", "lblCurrentLiabilities"})
            QTest::newRow(l) << QString::fromLatin1(l);
    }
    void singleParagraphBodies() {
        QFETCH(QString, label);
        for (int language : {0, 1}) {
            const auto d = definitionOf(label, language);
            QCOMPARE(d.pieces.size(), 1);
            QCOMPARE(d.pieces[0].kind, PieceKind::Paragraph);
        }
    }
};

QTEST_GUILESS_MAIN(TestLineItemDefinitions)
#include "test_line_item_definitions.moc"
