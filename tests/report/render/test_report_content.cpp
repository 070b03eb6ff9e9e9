// What the reports tell their reader, in both languages: a gauge without industry figures
// or with negative equity says so instead of pointing at a quarter; a ratio shown as the
// median is at the median in the reading and on its gauge alike; a missing industry share
// is not passed off as a difference; the two lower-is-better ratios are marked; the position
// figures are explained; the date of preparation and the statement as entered are printed;
// figures keep together and carry a true minus sign; the reviewed wording is the one shown.

#include "PdfText.h"
#include "ReportFixture.h"
#include "report/render/Charts.h"
#include "report/render/DocumentBuilder.h"
#include "report/render/ReportRenderer.h"

#include <QDate>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

using namespace reportrender;

namespace {

QString layout(Kind kind) {
    return QStringLiteral(VENTROLUX_TEST_BIN_DIR "/reports/") + layoutFileName(kind);
}

const QString kNbsp(QChar(0x00a0));
const QString kTrueMinus(QChar(0x2212));

// The charts of a document, in document order.
QList<Chart> chartsOf(QTextDocument& doc, ChartKind kind) {
    QList<Chart> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (const std::optional<Chart> c = chartFromFormat(it.fragment().charFormat());
                c && c->kind == kind)
                out << *c;
    return out;
}

// The texts of the document's blocks, in order (table cells included).
QStringList blockTexts(QTextDocument& doc) {
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        out << b.text();
    return out;
}

// The date as a reader writes it, spelled out here on its own.
QString writtenDate(const QDate& d, bool french) {
    static const QStringList english{"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};
    static const QStringList frenchMonths{"janvier",   "février", "mars",     "avril",
                                          "mai",       "juin",    "juillet",  "août",
                                          "septembre", "octobre", "novembre", "décembre"};
    if (!french) return QStringLiteral("%1 %2, %3").arg(english[d.month() - 1]).arg(d.day()).arg(d.year());
    return QStringLiteral("%1 %2 %3")
        .arg(d.day() == 1 ? QStringLiteral("1er") : QString::number(d.day()), frenchMonths[d.month() - 1])
        .arg(d.year());
}

// The quartile gauges of the comparison, by ratio row: 0 net profit margin … 8 return on
// equity … 12 debt to equity, 13 liabilities to assets, 14 interest coverage.
constexpr int kNetProfitMargin = 0;
constexpr int kPretaxProfitMargin = 1;
constexpr int kReturnOnEquity = 8;
constexpr int kDebtToEquity = 12;

} // namespace

class TestReportContent : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    Connection cn;

    QString pdfOf(QTextDocument& doc, const QString& name) {
        const QString path = dir.path() + u'/' + name + QStringLiteral(".pdf");
        writePdf(doc, path);
        return pdftext::read(path);
    }

    static void addLanguages() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "E";
        QTest::newRow("French") << "F";
    }

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(core); // the core library is static: the program registers its resources
        QVERIFY(dir.isValid());
        cn = reportfixture::openUserDatabase(dir.path() + QStringLiteral("/myData.db"));
    }
    void cleanupTestCase() { DisconnectFromDB(cn); }

    // All three boundaries missing (0 or null): the computation gives 0 / 0, which is no position.
    void gaugeWithoutIndustryFigures_data() { addLanguages(); }
    void gaugeWithoutIndustryFigures() {
        QFETCH(QString, language);
        const bool french = language == QLatin1String("F");
        reportfixture::prepare(cn, language);
        ExecCmdInDB(cn,
                    QStringLiteral("UPDATE Rpt_Data_CY SET NPMQ1 = 0, NPMQ2 = NULL, NPMQ3 = 0, PPMQ2 = 0"));
        ExecCmdInDB(
            cn,
            QStringLiteral("UPDATE Rpt_Comparison SET NPMQ2 = NULL, BetterNPM = 0, WorseNPM = 0, PPMQ2 = 0"));
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        const QList<Chart> gauges = chartsOf(*doc, ChartKind::QuartileGauge);
        QCOMPARE(gauges.size(), 15);
        QCOMPARE(gauges[kNetProfitMargin].quarter, -1);
        // A missing median alone leaves the position known to lie between the quartiles.
        QCOMPARE(gauges[kPretaxProfitMargin].quarter, 1);
        QCOMPARE(gauges[kPretaxProfitMargin].quarterTo, 2);

        const QString text = pdfOf(*doc, QStringLiteral("nodata-") + language);
        const QString noData =
            french ? QStringLiteral("aucune donnée d'industrie") : QStringLiteral("no industry data");
        QCOMPARE(text.count(noData), 2); // in the reading's table and under the gauge
        QVERIFY(!text.contains(french ? QStringLiteral("Meilleure que 0 % / moins bonne que 0 %")
                                      : QStringLiteral("Better than 0% / worse than 0%")));
        const QString check = french ? QStringLiteral("Marge bénéficiaire nette|4,8 %|n.d.")
                                     : QStringLiteral("Net profit margin|4.8%|n/a");
        QVERIFY2(pdftext::checkLine(text, check).isEmpty(), qPrintable(pdftext::checkLine(text, check)));
        QVERIFY(text.contains(french ? QStringLiteral("Meilleure que 50 % / moins bonne que 25 %")
                                     : QStringLiteral("Better than 50% / worse than 25%")));
    }

    // Return on equity and debt to equity mean nothing with negative equity; the computation stores 0.
    void negativeEquityIsNotMeaningful_data() { addLanguages(); }
    void negativeEquityIsNotMeaningful() {
        QFETCH(QString, language);
        const bool french = language == QLatin1String("F");
        reportfixture::prepare(cn, language);
        ExecCmdInDB(
            cn,
            QStringLiteral(
                "UPDATE Rpt_Comparison SET StmtEquity1 = -290000, MyEquity1 = -11.8, MyROE = 0, MyDE = 0, "
                "BetterRE = 0, WorseRE = 0, BetterDE = 0, WorseDE = 0"));
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        const QList<Chart> gauges = chartsOf(*doc, ChartKind::QuartileGauge);
        QCOMPARE(gauges[kReturnOnEquity].quarter, -1);
        QCOMPARE(gauges[kDebtToEquity].quarter, -1);
        QCOMPARE(gauges[kNetProfitMargin].quarter, 2); // the other ratios keep their positions

        // In the reading's table and under the gauges.
        const QString plain = doc->toRawText();
        QCOMPARE(plain.count(french ? QStringLiteral("non significatif") + kNbsp +
                                          QStringLiteral(": capitaux propres négatifs")
                                    : QStringLiteral("not meaningful: negative shareholders' equity")),
                 4);
        const QString text = pdfOf(*doc, QStringLiteral("negative-") + language);
        for (const QString& check :
             french ? QStringList{QStringLiteral("Rendement des capitaux propres|n.d.|11,5 %"),
                                  QStringLiteral("Ratio d'endettement|n.d.|0,90")}
                    : QStringList{QStringLiteral("Return on equity|n/a|11.5%"),
                                  QStringLiteral("Debt to equity|n/a|0.90")})
            QVERIFY2(pdftext::checkLine(text, check).isEmpty(), qPrintable(pdftext::checkLine(text, check)));
        // No ratio of 0 that would pass for a healthy one.
        static const QRegularExpression zeroRatio(QStringLiteral("(^|\\s)0[.,]0(0| ?%)(\\s|$)"));
        QVERIFY(!text.contains(zeroRatio));
    }

    // A net profit margin shown as the median of 4.1 % is at the median in the reading's table,
    // on the gauge and in the position figures printed under it, whatever the stored figures say.
    void oneVerdictAtTheMedian_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<double>("margin");
        QTest::newRow("4.1000000000000005, English") << "E" << 48380.0 / 1180000.0 * 100;
        QTest::newRow("4.09, English") << "E" << 4.09;
        QTest::newRow("4.14, French") << "F" << 4.14;
    }
    void oneVerdictAtTheMedian() {
        QFETCH(QString, language);
        QFETCH(double, margin);
        const bool french = language == QLatin1String("F");
        reportfixture::prepare(cn, language);
        ExecCmdInDB(cn,
                    QStringLiteral("UPDATE Rpt_Comparison SET MyNPM = ?, NPMQ2 = 4.1, BetterNPM = 50, "
                                   "WorseNPM = 50"),
                    {margin});
        ExecCmdInDB(cn, QStringLiteral("UPDATE Rpt_Data_CY SET NPMQ1 = 2, NPMQ2 = 4.1, NPMQ3 = 6"));
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        const Chart gauge = chartsOf(*doc, ChartKind::QuartileGauge)[kNetProfitMargin];
        QCOMPARE(gauge.boundary, 2);
        const QStringList blocks = blockTexts(*doc);
        const QString name =
            french ? QStringLiteral("Marge bénéficiaire nette") : QStringLiteral("Net profit margin");
        const QString shown = french ? QStringLiteral("4,1") + kNbsp + u'%' : QStringLiteral("4.1%");
        const qsizetype row = blocks.indexOf(name);
        QVERIFY(row >= 0);
        QCOMPARE(blocks.mid(row + 1, 3),
                 QStringList({shown, shown,
                              french ? QStringLiteral("à la médiane") : QStringLiteral("at the median")}));
        // The gauges' row prints the same figures and the position of a firm on the median.
        const qsizetype gaugeRow = blocks.indexOf(name, row + 1);
        QVERIFY(gaugeRow > row);
        QCOMPARE(blocks.mid(gaugeRow + 1, 2), QStringList({shown, shown}));
        QCOMPARE(blocks.value(gaugeRow + 4),
                 french ? "Meilleure que 25" + kNbsp + "% / moins bonne que 25" + kNbsp + u'%'
                        : QStringLiteral("Better than 25% / worse than 25%"));
    }

    void positiveEquityKeepsItsRatios() {
        reportfixture::prepare(cn, QStringLiteral("E"));
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        QVERIFY(!doc->toRawText().contains(QLatin1String("not meaningful:")));
        QVERIFY(!doc->toRawText().contains(QLatin1String("no industry data")));
        QCOMPARE(chartsOf(*doc, ChartKind::QuartileGauge)[kReturnOnEquity].quarter, 0);
    }

    // The difference of an item without an industry share is the firm's own share: not a difference.
    void missingIndustryShare_data() { addLanguages(); }
    void missingIndustryShare() {
        QFETCH(QString, language);
        const bool french = language == QLatin1String("F");
        reportfixture::prepare(cn, language);
        ExecCmdInDB(cn, QStringLiteral("UPDATE Rpt_Comparison SET A12 = NULL, VarianceAR = MyAr"));
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        const QList<Chart> bars = chartsOf(*doc, ChartKind::DivergingBar);
        QCOMPARE(bars.size(), 25);
        QVERIFY(!bars[1].value.has_value()); // accounts receivable, the second item
        QVERIFY(bars[0].value.has_value());
        // The scale is the largest real difference (retained earnings, 11.8), not the firm's 18.2 %.
        for (const Chart& bar : bars)
            QCOMPARE(bar.scale, 11.8);
        const QString text = pdfOf(*doc, QStringLiteral("share-") + language);
        const QString check = french ? QStringLiteral("Comptes débiteurs|18,2|n.d.|n.d.")
                                     : QStringLiteral("Accounts receivable|18.2|n/a|n/a");
        QVERIFY2(pdftext::checkLine(text, check).isEmpty(), qPrintable(pdftext::checkLine(text, check)));
        QVERIFY(!text.contains(QStringLiteral("+18")));
    }

    // Debt to equity and liabilities to assets, and only they, are lower-is-better.
    void lowerIsBetterIsMarked_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("language");
        QTest::newRow("comparison, English") << int(Kind::Comparison) << "E";
        QTest::newRow("comparison, French") << int(Kind::Comparison) << "F";
        QTest::newRow("ratios, English") << int(Kind::Ratios) << "E";
        QTest::newRow("ratios, French") << int(Kind::Ratios) << "F";
    }
    void lowerIsBetterIsMarked() {
        QFETCH(int, kind);
        QFETCH(QString, language);
        const bool french = language == QLatin1String("F");
        reportfixture::prepare(cn, language);
        const auto doc = buildDocument(Kind(kind), cn, layout(Kind(kind)));
        const QString mark = french ? QStringLiteral("une valeur plus faible est préférable")
                                    : QStringLiteral("lower is better");
        const QStringList blocks = blockTexts(*doc);
        QStringList marked;
        for (int i = 1; i < blocks.size(); ++i)
            if (blocks[i] == mark) marked << blocks[i - 1];
        QCOMPARE(marked, french ? QStringList({QStringLiteral("Ratio d'endettement"),
                                               QStringLiteral("Ratio du passif à l'actif")})
                                : QStringList({QStringLiteral("Debt to equity"),
                                               QStringLiteral("Liabilities to assets")}));
        if (Kind(kind) == Kind::Ratios) {
            // The ratios report says why these two have their lower quartile above the upper one.
            const QString plain = doc->toRawText();
            QVERIFY(plain.contains(
                french ? QStringLiteral("le quartile inférieur est donc le chiffre le plus élevé")
                       : QStringLiteral("the lower quartile is the larger figure")));
        }
    }

    void positionFiguresAreExplained_data() { addLanguages(); }
    void positionFiguresAreExplained() {
        QFETCH(QString, language);
        const bool french = language == QLatin1String("F");
        reportfixture::prepare(cn, language);
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        QString plain = doc->toRawText();
        plain.replace(kNbsp, QStringLiteral(" "));
        const QStringList expected =
            french
                ? QStringList{QStringLiteral("le losange représente votre entreprise"),
                              QStringLiteral("Le quart où se situe votre entreprise n'entre dans aucun des "
                                             "deux chiffres"),
                              QStringLiteral("leur somme est donc de 75 % (50 % lorsque votre entreprise se "
                                             "situe sur une borne"),
                              QStringLiteral("25 % / 25 % à la médiane"),
                              QStringLiteral("« Moins bonne que 0 % » signifie qu'au plus un quart")}
                : QStringList{
                      QStringLiteral("the diamond marks your enterprise"),
                      QStringLiteral(
                          "Your enterprise's own quarter counts in neither figure, so the two add up to 75%"),
                      QStringLiteral("(50% when your enterprise stands on a quartile boundary, such as 25% / "
                                     "25% at the median)"),
                      QStringLiteral(
                          "means that at most a quarter of the industry does better, not that none does")};
        for (const QString& t : expected)
            QVERIFY2(plain.contains(t), qPrintable(t));
        QVERIFY(!plain.contains(QLatin1String("the marker is your enterprise")));
        QVERIFY(!plain.contains(QLatin1String("le repère est votre entreprise")));
    }

    void preparationDateIsPrinted_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("label");
        QTest::newRow("comparison, English") << int(Kind::Comparison) << "E"
                                             << "Report prepared on";
        QTest::newRow("comparison, French") << int(Kind::Comparison) << "F"
                                            << "Rapport préparé le";
        QTest::newRow("ratios, English") << int(Kind::Ratios) << "E"
                                         << "Report prepared on";
        QTest::newRow("balance sheet, French") << int(Kind::BalanceSheet) << "F"
                                               << "Rapport préparé le";
    }
    void preparationDateIsPrinted() {
        QFETCH(int, kind);
        QFETCH(QString, language);
        QFETCH(QString, label);
        const bool french = language == QLatin1String("F");
        reportfixture::prepare(cn, language);
        const QDate before = QDate::currentDate();
        const auto doc = buildDocument(Kind(kind), cn, layout(Kind(kind)));
        const QDate after = QDate::currentDate();
        const QStringList blocks = blockTexts(*doc);
        const qsizetype at = blocks.indexOf(label);
        QVERIFY2(at >= 0 && at + 1 < blocks.size(), qPrintable(label));
        QString date = blocks[at + 1];
        date.replace(kNbsp, QStringLiteral(" "));
        QVERIFY2(date == writtenDate(before, french) || date == writtenDate(after, french), qPrintable(date));
    }

    // Every value the firm entered, with thousands separated in the report's language.
    void statementAsEntered_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("English")
            << "E"
            << QStringList{QStringLiteral("Cash and deposits|303,800.25"),
                           QStringLiteral("Total assets|2,450,000"),
                           QStringLiteral("Retained earnings|") + kTrueMinus + QStringLiteral("5,000.5"),
                           QStringLiteral("Bonds and debentures|0"),
                           QStringLiteral("Annual sales of goods and services|2,390,000"),
                           QStringLiteral("Annual net profit after tax|117,600"),
                           QStringLiteral("Current liabilities|808,500")};
        QTest::newRow("French")
            << "F"
            << QStringList{QStringLiteral("Encaisse et dépôts|303 800,25"),
                           QStringLiteral("Total, actifs|2 450 000"),
                           QStringLiteral("Bénéfices non répartis|") + kTrueMinus + QStringLiteral("5 000,5"),
                           QStringLiteral("Ventes annuelles de biens et services|2 390 000"),
                           QStringLiteral("Passifs à court terme|808 500")};
    }
    void statementAsEntered() {
        QFETCH(QString, language);
        QFETCH(QStringList, lines);
        reportfixture::prepare(cn, language);
        ExecCmdInDB(cn, QStringLiteral("UPDATE Rpt_Comparison SET StmtRetEarn = -5000.5"));
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        const QString text = pdfOf(*doc, QStringLiteral("statement-") + language);
        QVERIFY(text.contains(language == QLatin1String("F")
                                  ? QStringLiteral("État financier de votre entreprise, tel que saisi")
                                  : QStringLiteral("Your enterprise's statement, as entered")));
        for (const QString& check : lines)
            QVERIFY2(pdftext::checkLine(text, check).isEmpty(), qPrintable(pdftext::checkLine(text, check)));
    }

    // A figure is one unbreakable piece: non-breaking separators, kept on one line in the
    // document and in the HTML page.
    void figuresKeepTogether() {
        reportfixture::prepare(cn, QStringLiteral("F"));
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        const QRegularExpression figure(QStringLiteral("^[+\u2212]?[0-9][0-9\u00a0]*(,[0-9]+)?(\u00a0%)?$"));
        int figures = 0;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            if (!figure.match(b.text()).hasMatch() || b.text() == reportfixture::kNaics)
                continue; // a code, not a figure
            ++figures;
            QVERIFY2(b.blockFormat().nonBreakableLines(), qPrintable(b.text()));
        }
        QVERIFY(figures > 100);
        QVERIFY(doc->toRawText().contains(QStringLiteral("1") + kNbsp + QStringLiteral("523,75")));
        QVERIFY(!doc->toRawText().contains(QStringLiteral("1 523,75")));

        const QString html = toHtml(*doc);
        QVERIFY(!html.contains(QLatin1String("<pre"))); // a browser would set it in a typewriter face
        const qsizetype at = html.indexOf(QStringLiteral("523,75"));
        QVERIFY(at > 0);
        const qsizetype paragraph = html.lastIndexOf(QStringLiteral("<p "), at);
        QVERIFY(html.mid(paragraph, at - paragraph).contains(QLatin1String("white-space:nowrap")));
    }

    void negativeFiguresTakeTheMinusSign_data() { addLanguages(); }
    void negativeFiguresTakeTheMinusSign() {
        QFETCH(QString, language);
        const bool french = language == QLatin1String("F");
        reportfixture::prepare(cn, language);
        const auto doc = buildDocument(Kind::Comparison, cn, layout(Kind::Comparison));
        const QString plain = doc->toRawText();
        QVERIFY(plain.contains(kTrueMinus + (french ? QStringLiteral("3,5") + kNbsp + QStringLiteral("%")
                                                    : QStringLiteral("3.5%"))));
        QVERIFY(plain.contains(kTrueMinus + (french ? QStringLiteral("8,2") : QStringLiteral("8.2"))));
        static const QRegularExpression hyphenNumber(QStringLiteral("-[0-9]"));
        QVERIFY(!plain.contains(hyphenNumber));
        // The scale above the bars too.
        QCOMPARE(chartsOf(*doc, ChartKind::DivergingAxis).first().labels.first(),
                 kTrueMinus + (french ? QStringLiteral("11,8") : QStringLiteral("11.8")));
    }

    // The texts of the reviewed wording, as each report shows them.
    void reviewedWording_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("gone");
        QTest::newRow("comparison, French")
            << int(Kind::Comparison) << "F"
            << QStringList{QStringLiteral("Volume 3") + kNbsp + QStringLiteral(": entreprises ayant de 30") +
                               kNbsp + QStringLiteral("000") + kNbsp +
                               QStringLiteral(
                                   "$ à moins de 5 millions de dollars de revenu \u2013 Nouvelle-Écosse"),
                           QStringLiteral("à des fins de démonstration")}
            << QStringList{QStringLiteral(" - "), QStringLiteral("pour démonstration")};
        QTest::newRow("comparison, English")
            << int(Kind::Comparison) << "E"
            << QStringList{QStringLiteral("Volume 3: Enterprises with revenue of $30,000 to less than $5 "
                                          "million \u2013 Nova Scotia")}
            << QStringList{QStringLiteral(" - ")};
        QTest::newRow("ratios, French")
            << int(Kind::Ratios) << "F"
            << QStringList{QStringLiteral("Années de référence") + kNbsp +
                               QStringLiteral(": 2011, 2010, 2009"),
                           QStringLiteral("Avec un bénéfice"), QStringLiteral("Avec une perte"),
                           QStringLiteral("revenu \u2013 Nouvelle-Écosse"),
                           QStringLiteral("à des fins de démonstration")}
            << QStringList{QStringLiteral("avec un bénéfice"), QStringLiteral("avec une perte"),
                           QStringLiteral(" - ")};
        QTest::newRow("ratios, English")
            << int(Kind::Ratios) << "E"
            << QStringList{QStringLiteral("With a profit"), QStringLiteral("With a loss"),
                           QStringLiteral("$5 million \u2013 Nova Scotia")}
            << QStringList{QStringLiteral("with a profit"), QStringLiteral("with a loss")};
        QTest::newRow("balance sheet, French")
            << int(Kind::BalanceSheet) << "F"
            << QStringList{QStringLiteral("Années de référence") + kNbsp + QStringLiteral(": 2011"),
                           QStringLiteral("revenu \u2013 Nouvelle-Écosse")}
            << QStringList{QStringLiteral(" - ")};
    }
    void reviewedWording() {
        QFETCH(int, kind);
        QFETCH(QString, language);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, gone);
        reportfixture::prepare(cn, language);
        const auto doc = buildDocument(Kind(kind), cn, layout(Kind(kind)));
        const QString all = doc->toRawText() + u'\n' + doc->property(docprop::FooterNote).toString();
        for (const QString& t : shown)
            QVERIFY2(all.contains(t), qPrintable(t));
        for (const QString& t : gone)
            QVERIFY2(!all.contains(t), qPrintable(t));
    }
};

QTEST_MAIN(TestReportContent)
#include "test_report_content.moc"
