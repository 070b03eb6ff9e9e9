// The plain-language reading that opens the comparison report reads the same wherever the
// report is made: on the report screen, in the HTML of ventrolux-cli compare and in the PDF
// of ventrolux-cli batch, block for block (the box of what to look at first, the strengths,
// the table of ratios, the balance sheet), in English and in French, for a firm well above
// the industry and for one whose shareholders' equity is negative.

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

// The reading of a report document: its blocks (paragraphs and table cells) from the
// reading's heading to the balance sheet's paragraph, which closes it.
QStringList readingOf(const QTextDocument& doc, const QString& heading, const QString& last) {
    QStringList blocks;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QString text = normalised(block.text());
        if (blocks.isEmpty() && text != heading) continue;
        if (!text.isEmpty()) blocks << text;
        if (text.startsWith(last)) break;
    }
    return blocks;
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

// Where the blocks stand one after the other in text, starting after from; empty when
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
    QStringList readingOnScreen(const QMap<QString, QString>& values, const QString& naics,
                                const QString& language, const QString& heading, const QString& last) {
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
        QStringList text;
        if (platform.messages.isEmpty() && viewer.document())
            text = readingOf(*viewer.document(), heading, last);
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
        QTest::addColumn<QStringList>("parts");       // the box's title, the strengths, the balance sheet
        QTest::addColumn<QStringList>("aboveMedian"); // where a firm stands that is above the median
        QTest::addColumn<QString>("meaningless");     // how a ratio negative equity voids begins

        const QStringList englishAbove{"top quarter", "above the median"};
        const QStringList frenchAbove{"quart supérieur", "au-dessus de la médiane"};
        const QStringList english{"What to look at first", "Strengths.", "Balance sheet."};
        const QStringList french{"À examiner en premier", "Points forts.", "Bilan."};
        QTest::newRow("English, above the medians")
            << "E" << false << "What the comparison says" << english << englishAbove << "not meaningful";
        QTest::newRow("English, negative equity")
            << "E" << true << "What the comparison says" << english << englishAbove << "not meaningful";
        QTest::newRow("French, above the medians")
            << "F" << false << "Ce que dit la comparaison" << french << frenchAbove << "non significatif";
        QTest::newRow("French, negative equity")
            << "F" << true << "Ce que dit la comparaison" << french << frenchAbove << "non significatif";
    }
    void readingIsTheSameEverywhere() {
        QFETCH(QString, language);
        QFETCH(bool, indebted);
        QFETCH(QString, heading);
        QFETCH(QStringList, parts);
        QFETCH(QStringList, aboveMedian);
        QFETCH(QString, meaningless);

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

        const QStringList screen = readingOnScreen(values, naics, language, heading, parts.last());
        // A table's caption names it for a screen reader (it repeats the heading above the
        // table); it is no block of the reading.
        QString reading = html;
        reading.remove(QRegularExpression(QStringLiteral("<caption[^>]*>.*?</caption>"),
                                          QRegularExpression::DotMatchesEverythingOption));
        QTextDocument fromHtml;
        fromHtml.setHtml(reading);
        const QStringList cli = readingOf(fromHtml, heading, parts.last());

        // A reading worth comparing: its parts in order, and a standing for each of the fifteen
        // ratios, two of them void for the indebted firm.
        qsizetype from = 0;
        for (const QString& part : parts) {
            const auto at = std::find_if(screen.begin() + from, screen.end(),
                                         [&part](const QString& b) { return b.startsWith(part); });
            QVERIFY2(at != screen.end(),
                     qPrintable(part + QStringLiteral(" missing from: ") + screen.join(u'\n')));
            from = at - screen.begin() + 1;
        }
        const auto count = [&screen](const QStringList& texts) {
            return std::count_if(screen.begin(), screen.end(),
                                 [&texts](const QString& s) { return texts.contains(s); });
        };
        const qsizetype voided = std::count_if(screen.begin(), screen.end(),
                                               [&](const QString& s) { return s.startsWith(meaningless); });
        QCOMPARE(voided, indebted ? 2 : 0);
        if (!indebted) QVERIFY2(count(aboveMedian) >= 10, qPrintable(screen.join(u'\n')));

        // The same blocks from the compare command's HTML, and in the batch's PDF one after
        // the other after the heading.
        QCOMPARE(cli, screen);
        const qsizetype headingAt = pdf.indexOf(heading);
        QVERIFY2(headingAt >= 0, qPrintable(pdf.left(2000)));
        const QString problem = checkSentencesFollow(pdf, headingAt + heading.size(), screen.mid(1));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
};

QTEST_MAIN(TestReadingEverywhere)
#include "test_reading_everywhere.moc"
