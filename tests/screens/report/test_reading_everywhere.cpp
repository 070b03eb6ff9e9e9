// The plain-language reading that opens the comparison report reads the same wherever the
// report is made: on the report screen, in the HTML of ventrolux-cli compare and in the PDF
// of ventrolux-cli batch, sentence for sentence, in English and in French, for a firm well
// above the industry and for one whose shareholders' equity is negative.

#include "cli/CliSandbox.h"
#include "firm/FirmStatement.h"
#include "screens/common/ScreenRegistry.h"
#include "screens/report/frmReportViewer.h"
#include "state/modMain.h"
#include "support/RecordingPlatform.h"
#include "support/SampleData.h"
#include "support/TestDatabases.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace {

const QString kDataset = QStringLiteral("3:NS");

// Profits well above what small firms earn, little debt and much cash.
QMap<QString, QString> strongFirm(const QString& naics) {
    return balancedFirm(QStringLiteral("Prospère Ltée"), QStringLiteral("2011"), naics,
                        {{"Cash", "150000"},
                         {"Ar", "40000"},
                         {"Inv", "30000"},
                         {"Ptfl", "50000"},
                         {"OperatingRevenue", "2000000"},
                         {"Sales", "1950000"},
                         {"GrossProfit", "900000"},
                         {"OperatingProfit", "400000"},
                         {"InterestExpense", "2000"},
                         {"PretaxProfit", "390000"},
                         {"ProfitAfterTax", "300000"},
                         {"AccountsPayable", "40000"},
                         {"Paper", "0"},
                         {"Mtg", "20000"},
                         {"Ol", "10000"},
                         {"AmtsAffil", "0"},
                         {"OLiab", "5000"},
                         {"ShareC", "100000"},
                         {"RetEarn", "320000"},
                         {"OtherSur", "0"},
                         {"CurrentAssets", "420000"},
                         {"CurrentLiabilities", "45000"}});
}

// Losses carried forward beyond the capital: equity of -290,000 against a mortgage of
// 610,000, so that return on equity and debt to equity mean nothing.
QMap<QString, QString> indebtedFirm(const QString& naics) {
    return balancedFirm(QStringLiteral("Endettée Inc."), QStringLiteral("2011"), naics,
                        {{"Mtg", "610000"}, {"RetEarn", "-400000"}});
}

// White space as a reader sees it: non-breaking spaces plain, runs of blanks and line
// breaks one blank.
QString normalised(QString text) {
    text.replace(QChar(0x00a0), u' ');
    text.replace(QChar(0x202f), u' ');
    text.replace(QChar::LineSeparator, u' '); // a line break inside a paragraph
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.replace(blanks, QStringLiteral(" ")).trimmed();
}

QStringList sentencesOf(const QString& text) {
    static const QRegularExpression end(QStringLiteral("(?<=[.!?])\\s+"));
    return normalised(text).split(end, Qt::SkipEmptyParts);
}

// The reading of a report document: the paragraphs after the reading's heading, up to the
// table that follows them.
QString readingOf(const QTextDocument& doc, const QString& heading) {
    QStringList paragraphs;
    bool inReading = false;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const bool inTable = QTextCursor(block).currentTable() != nullptr;
        const QString text = normalised(block.text());
        if (!inReading) {
            inReading = !inTable && text == heading;
            continue;
        }
        if (inTable) break;
        if (!text.isEmpty()) paragraphs << text;
    }
    return paragraphs.join(u' ');
}

// The PDF's text in reading order, the words hyphenated at a line's end put back together
// with their hyphen ("au-" and "dessus" are "au-dessus") and white space normalised.
QString pdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return QString();
    QString text = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression brokenWord(QStringLiteral("(?<=\\w)-[ \\t]*\\n\\s*"));
    text.replace(brokenWord, QStringLiteral("-"));
    return normalised(text);
}

// Where the sentences stand one after the other in text, starting after from; empty when
// they do, else the first that does not with what stands there.
QString checkSentencesFollow(const QString& text, qsizetype from, const QStringList& sentences) {
    qsizetype at = from;
    for (const QString& sentence : sentences) {
        while (at < text.size() && text[at] == u' ')
            ++at;
        if (text.mid(at, sentence.size()) != sentence)
            return QStringLiteral("expected: %1\n   found: %2")
                .arg(sentence, text.mid(at, sentence.size() + 40));
        at += sentence.size();
    }
    return QString();
}

} // namespace

class TestReadingEverywhere : public QObject {
    Q_OBJECT

    // The reading on the report screen, shown offscreen with its own databases.
    QString readingOnScreen(const QMap<QString, QString>& values, const QString& naics,
                            const QString& language, const QString& heading) {
        TestDatabases dbs;
        RecordingPlatform platform;
        ScreenRegistry& registry = ScreenRegistry::instance();
        registry.setModalBlocking(false);
        dbs.open();

        // As the firm values screen hands the firm over: the typed values, subtotals computed.
        FirmStatement firm;
        firm.firmName = values.value(QStringLiteral("FirmName"));
        firm.year = values.value(QStringLiteral("Year"));
        firm.naics = naics;
        firmrules::resetValues(firm.values);
        for (const lineitems::LineItem& item : lineitems::all())
            if (item.kind == lineitems::Kind::Entered && values.contains(QLatin1String(item.column)))
                firm.value(item.column) = values.value(QLatin1String(item.column));
        firmrules::calculateSubTotals(firm.values);

        frmReportViewer& viewer = registry.get<frmReportViewer>();
        viewer.DisplayCrystalReport(modMain::gcnData, modMain::gcnMyData, QStringLiteral("com"), 3,
                                    QStringLiteral("NS"), 2011, naics, language,
                                    firmrules::comparisonValues(firm, QStringLiteral("Industry")));
        QString text;
        if (platform.messages.isEmpty() && viewer.document())
            text = readingOf(*viewer.document(), heading);
        else
            qWarning("report screen: %s", qPrintable(platform.lastMessage()));
        registry.clear();
        return text;
    }

private slots:
    void readingIsTheSameEverywhere_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("indebted");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QStringList>("leads");    // summary, the three ratio groups, balance sheet
        QTest::addColumn<QStringList>("openings"); // how the sentence after each lead-in starts
        QTest::addColumn<QString>("median");       // the words of every ranked ratio's sentence
        QTest::addColumn<QString>("meaningless");  // the words of a ratio negative equity voids
        QTest::addColumn<QString>("above");        // the words of a ratio above the median

        const QStringList english{"In short.", "Profitability.", "Efficiency.", "Liquidity and solvency.",
                                  "Balance sheet."};
        const QStringList englishOpenings{"Strengths", "Your ", "Your ", "Your ", "Your balance sheet"};
        const QStringList french{"En bref.", "Rentabilité.", "Efficacité.", "Liquidité et solvabilité.",
                                 "Bilan."};
        const QStringList frenchOpenings{"Points forts", "Votre ", "Votre ", "Votre ", "Votre bilan"};
        const QString englishMeaningless = "is not meaningful, because your shareholders' equity is negative";
        const QString frenchMeaningless = "Impossible d'interpréter";
        QTest::newRow("English, above the medians")
            << "E" << false << "What the comparison says" << english << englishOpenings << "industry median"
            << englishMeaningless << "above the industry median";
        QTest::newRow("English, negative equity")
            << "E" << true << "What the comparison says" << english << englishOpenings << "industry median"
            << englishMeaningless << "above the industry median";
        QTest::newRow("French, above the medians")
            << "F" << false << "Ce que dit la comparaison" << french << frenchOpenings
            << "médiane de l'industrie" << frenchMeaningless << "au-dessus de la médiane";
        QTest::newRow("French, negative equity")
            << "F" << true << "Ce que dit la comparaison" << french << frenchOpenings
            << "médiane de l'industrie" << frenchMeaningless << "au-dessus de la médiane";
    }
    void readingIsTheSameEverywhere() {
        QFETCH(QString, language);
        QFETCH(bool, indebted);
        QFETCH(QString, heading);
        QFETCH(QStringList, leads);
        QFETCH(QStringList, openings);
        QFETCH(QString, median);
        QFETCH(QString, meaningless);
        QFETCH(QString, above);

        // The command line, on a sandbox of its own.
        QString html, pdf, naics;
        QMap<QString, QString> values;
        {
            CliSandbox s;
            naics = s.completeIndustry(QStringLiteral("NS"));
            QVERIFY(!naics.isEmpty());
            values = indebted ? indebtedFirm(naics) : strongFirm(naics);
            const QString firmFile = s.write(QStringLiteral("firm.csv"), csvList({values}));
            const CliResult compare = s.run(
                {QStringLiteral("compare"), QStringLiteral("--dataset"), kDataset, QStringLiteral("--naics"),
                 naics, QStringLiteral("--firm"), firmFile, QStringLiteral("--html"),
                 s.file(QStringLiteral("report.html")), QStringLiteral("--lang"), language});
            QVERIFY2(compare.status == 0, qPrintable(compare.err));
            QFile htmlFile(s.file(QStringLiteral("report.html")));
            QVERIFY(htmlFile.open(QIODevice::ReadOnly));
            html = QString::fromUtf8(htmlFile.readAll());

            const CliResult batch = s.run({QStringLiteral("batch"), QStringLiteral("--dataset"), kDataset,
                                           QStringLiteral("--firms"), firmFile, QStringLiteral("--out"),
                                           s.file(QStringLiteral("out")), QStringLiteral("--pdf"),
                                           QStringLiteral("--lang"), language});
            QVERIFY2(batch.status == 0, qPrintable(batch.err));
            const QStringList written =
                QDir(s.file(QStringLiteral("out"))).entryList({QStringLiteral("*.pdf")});
            QCOMPARE(written.size(), 1);
            pdf = pdfText(s.file(QStringLiteral("out/") + written[0]));
            QVERIFY2(!pdf.isEmpty(), "pdftotext (poppler-utils) read the batch's PDF");
        }

        const QStringList screen = sentencesOf(readingOnScreen(values, naics, language, heading));
        QTextDocument fromHtml;
        fromHtml.setHtml(html);
        const QStringList cli = sentencesOf(readingOf(fromHtml, heading));

        // A reading worth comparing: every lead-in in order, each followed by its own
        // sentences, and a sentence for each of the fifteen ratios.
        qsizetype from = 0;
        for (qsizetype i = 0; i < leads.size(); ++i) {
            const qsizetype at = screen.indexOf(leads[i], from);
            QVERIFY2(at >= 0, qPrintable(leads[i] + QStringLiteral(" missing from: ") + screen.join(u'\n')));
            QVERIFY2(screen.value(at + 1).startsWith(openings[i]),
                     qPrintable(leads[i] + QStringLiteral(" is followed by: ") + screen.value(at + 1)));
            from = at + 1;
        }
        const auto count = [&screen](const QString& words) {
            return std::count_if(screen.begin(), screen.end(),
                                 [&words](const QString& s) { return s.contains(words); });
        };
        const qsizetype voided = count(meaningless);
        // Return on equity and debt to equity divide by the equity.
        QCOMPARE(voided, indebted ? 2 : 0);
        QCOMPARE(count(median) + voided, 15);
        if (!indebted) QVERIFY2(count(above) >= 10, qPrintable(screen.join(u'\n')));

        // The same sentences from the compare command's HTML, and in the batch's PDF one
        // after the other after the heading.
        QCOMPARE(cli, screen);
        const qsizetype headingAt = pdf.indexOf(heading);
        QVERIFY2(headingAt >= 0, qPrintable(pdf.left(2000)));
        const QString problem = checkSentencesFollow(pdf, headingAt + heading.size(), screen);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
};

QTEST_MAIN(TestReadingEverywhere)
#include "test_reading_everywhere.moc"
