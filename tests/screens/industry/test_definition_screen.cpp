// The industry definition window through its real widgets: opened from the industry
// selection screen, refilled while shown, the returns to its caller, and the printed
// page, read back from the PDF printer of the scripted platform with pdftotext.

#include "SearchScreenFixture.h"
#include "screens/industry/frmIndustryDefinitions.h"

#include <QAction>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace modMain;

namespace {

// One printed line read back from the PDF: its words and where it starts, in points.
struct PdfLine {
    QString text;
    double x;
    double y;
};

// The page's lines with their positions, from pdftotext's word boxes. Compatibility
// forms undo the ligatures of the printed face ("ﬁ" reads back as "fi").
QList<PdfLine> pdfLines(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {{QStringLiteral("<pdftotext failed>"), 0, 0}};
    const QString xml =
        QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    static const QRegularExpression lineRe(
        QStringLiteral("<line xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>(.*?)</line>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression wordRe(QStringLiteral("<word [^>]*>(.*?)</word>"));
    QList<PdfLine> lines;
    for (auto m = lineRe.globalMatch(xml); m.hasNext();) {
        const QRegularExpressionMatch line = m.next();
        QStringList words;
        for (auto w = wordRe.globalMatch(line.captured(3)); w.hasNext();) {
            QString word = w.next().captured(1);
            word.replace(QStringLiteral("&apos;"), QStringLiteral("'"))
                .replace(QStringLiteral("&#39;"), QStringLiteral("'"));
            word.replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                .replace(QStringLiteral("&lt;"), QStringLiteral("<"));
            word.replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
            words << word;
        }
        lines.append({words.join(u' '), line.captured(1).toDouble(), line.captured(2).toDouble()});
    }
    return lines;
}

QStringList textsOf(const QList<PdfLine>& lines) {
    QStringList out;
    for (const PdfLine& l : lines)
        out << l.text;
    return out;
}

QString words(int from, int count) {
    QStringList out;
    for (int i = from; i < from + count; ++i)
        out << QStringLiteral("word%1").arg(i, 5, 10, QChar(u'0'));
    return out.join(u' ');
}

} // namespace

class TestDefinitionScreen : public QObject, public SearchScreenFixture {
    Q_OBJECT

    QTemporaryDir printer;

    frmIndustryDefinitions* definitions() { return registry.existing<frmIndustryDefinitions>(); }

    // The industry screen with the industry of a code picked in the code list.
    frmSearch& searchWithCode(const QString& code, int16_t language = 0) {
        frmSearch& s = openSearch("optVol3", language);
        choose(s.optNAICScode);
        pick(s.cboNAICScodes, s.cboNAICScodes->findText(code));
        if (s.lblHiddenNaics->text() != code) qFatal("code %s not in the list", qPrintable(code));
        return s;
    }

    QString definition(const QString& code, int language) {
        return value(QStringLiteral("select %1 from ZEBRO_NAICS_Description_Ind_Raw where NAICS = ?")
                         .arg(language ? QStringLiteral("definitionf") : QStringLiteral("definitione")),
                     {code})
            .toString();
    }

    QList<PdfLine> printDefinitionOf(const QString& code, int16_t language) {
        frmSearch& s = searchWithCode(code, language);
        s.mnuDefinition->trigger();
        const QString pdf = printer.filePath(QStringLiteral("definition.pdf"));
        platform->printerPdfPath = pdf;
        QTest::mouseClick(definitions()->cmdPrint, Qt::LeftButton);
        if (!platform->messages.isEmpty()) return {{platform->lastMessage(), 0, 0}};
        return pdfLines(pdf);
    }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void refusesWithoutASelection_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << 0 << "You must select an industry.";
        QTest::newRow("French") << 1 << "Vous devez selecter une industrie.";
    }
    void refusesWithoutASelection() {
        QFETCH(int, language);
        QFETCH(QString, message);
        frmSearch& s = openSearch("optNovaScotia", static_cast<int16_t>(language));
        s.mnuDefinition->trigger();
        QCOMPARE(platform->messages.size(), 1);
        QCOMPARE(platform->lastMessage(), message);
        QCOMPARE(platform->messages[0].icon, MsgIcon::Exclamation);
        QVERIFY(!definitions());
    }

    void showsHeadingAndDefinition_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("print");
        QTest::addColumn<QString>("back");
        QTest::newRow("English") << 0 << "Industry Definition"
                                 << "Print"
                                 << "Back";
        QTest::newRow("French") << 1 << "Définition de l'industrie"
                                << "Imprimer"
                                << "Retourner";
    }
    void showsHeadingAndDefinition() {
        QFETCH(int, language);
        QFETCH(QString, title);
        QFETCH(QString, print);
        QFETCH(QString, back);
        const QString code = QStringLiteral("448140");
        frmSearch& s = searchWithCode(code, static_cast<int16_t>(language));
        s.mnuDefinition->trigger();
        frmIndustryDefinitions* d = definitions();
        QVERIFY(d && d->isVisible());
        QCOMPARE(registry.active(), d);
        QVERIFY(s.isVisible());
        QVERIFY(!d->isModal());
        QCOMPARE(d->windowTitle(), title);
        QCOMPARE(d->cmdPrint->text(), print);
        QCOMPARE(d->cmdContinue->text(), back);
        QCOMPARE(d->lblNAICS->text(),
                 code + QStringLiteral(" - ") + SearchScreenFixture::title(code, language));
        QVERIFY(d->lblNAICS->font().bold());
        QCOMPARE(d->lblNAICS->font().pointSize(), 12);
        QCOMPARE(d->txtDefinition->toPlainText(),
                 definition(code, language).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(!d->txtDefinition->toPlainText().isEmpty());
    }

    void openedAgainWhileShownRefillsTheSameWindow() {
        frmSearch& s = searchWithCode(QStringLiteral("448140"));
        s.mnuDefinition->trigger();
        frmIndustryDefinitions* first = definitions();
        activate(s); // the user goes back to the industry screen, the definition still open
        pick(s.cboNAICScodes, s.cboNAICScodes->findText(QStringLiteral("111110")));
        s.mnuDefinition->trigger();
        QCOMPARE(definitions(), first);
        QVERIFY(first->isVisible());
        QVERIFY(first->lblNAICS->text().startsWith(QStringLiteral("111110 - ")));
        QCOMPARE(
            first->txtDefinition->toPlainText(),
            definition(QStringLiteral("111110"), 0).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }

    // Going back and forth between the open definition and the industry selection is no
    // move of the program: the selection stays however often the user does it.
    void leftOpenTheWindowsTakeTurnsAndNothingChanges() {
        frmSearch& s = searchWithCode(QStringLiteral("448140"));
        s.mnuDefinition->trigger();
        for (int turn = 0; turn < 2; ++turn) {
            activate(s);
            QCOMPARE(registry.active(), &s);
            activate(*definitions());
            QCOMPARE(registry.active(), definitions());
        }
        activate(s);
        QCOMPARE(s.lblHiddenNaics->text(), QStringLiteral("448140"));
        QVERIFY(s.optNAICScode->isChecked());
        QVERIFY(s.fraNAICScode->isVisible());
    }

    void backOrCloseUnloadsAndTheNextOpeningFollowsTheLanguage_data() {
        QTest::addColumn<bool>("close");
        QTest::newRow("Back") << false;
        QTest::newRow("window closed") << true;
    }
    void backOrCloseUnloadsAndTheNextOpeningFollowsTheLanguage() {
        QFETCH(bool, close);
        frmSearch& s = searchWithCode(QStringLiteral("448140"));
        s.mnuDefinition->trigger();
        QPointer<frmIndustryDefinitions> d = definitions();
        if (close)
            QVERIFY(d->close());
        else
            QTest::mouseClick(d->cmdContinue, Qt::LeftButton);
        QVERIFY(!definitions());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(d.isNull());
        QCOMPARE(registry.active(), &s);
        QCOMPARE(s.lblHiddenNaics->text(), QStringLiteral("448140"));
        s.mnuFrench->trigger();
        s.mnuDefinition->trigger();
        QVERIFY(definitions());
        QCOMPARE(definitions()->windowTitle(), QStringLiteral("Définition de l'industrie"));
        QCOMPARE(definitions()->cmdContinue->text(), QStringLiteral("Retourner"));
        QCOMPARE(definitions()->lblNAICS->text(),
                 QStringLiteral("448140 - ") + title(QStringLiteral("448140"), 1));
    }

    void codeWithoutRowEmptiesTheBoxAndKeepsTheHeading() {
        dbs->open();
        subSetDataTable(QStringLiteral("optVol3"));
        subOpenIndustryDef(QStringLiteral("999999"));
        QVERIFY(definitions() && definitions()->isVisible());
        QCOMPARE(definitions()->lblNAICS->text(), QStringLiteral("Title"));
        QVERIFY(definitions()->txtDefinition->toPlainText().isEmpty());
        subOpenIndustryDef(QStringLiteral("111110"));
        const QString heading = definitions()->lblNAICS->text();
        QVERIFY(heading.startsWith(QStringLiteral("111110 - ")));
        subOpenIndustryDef(QStringLiteral("' or '1'='1"));
        QCOMPARE(definitions()->lblNAICS->text(), heading);
        QVERIFY(definitions()->txtDefinition->toPlainText().isEmpty());
        QVERIFY(platform->messages.isEmpty());
    }

    void nullDefinitionShowsAnEmptyBox() {
        dbs->editReference(QStringLiteral(
            "update ZEBRO_NAICS_Description_Ind_Raw set definitione = null where NAICS = '448140'"));
        frmSearch& s = searchWithCode(QStringLiteral("448140"));
        s.mnuDefinition->trigger();
        QVERIFY(definitions()->txtDefinition->toPlainText().isEmpty());
        QVERIFY(definitions()->lblNAICS->text().startsWith(QStringLiteral("448140 - ")));
    }

    void printingWithoutAPrinterSaysSo_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << 0 << "There is no printer connected to your computer.";
        QTest::newRow("French") << 1 << "Il n'y a pas d'imprimante de rattaché à votre machine.";
    }
    void printingWithoutAPrinterSaysSo() {
        QFETCH(int, language);
        QFETCH(QString, message);
        frmSearch& s = searchWithCode(QStringLiteral("448140"), static_cast<int16_t>(language));
        s.mnuDefinition->trigger();
        QTest::mouseClick(definitions()->cmdPrint, Qt::LeftButton);
        QCOMPARE(platform->messages.size(), 1);
        QCOMPARE(platform->lastMessage(), message);
        QCOMPARE(platform->messages[0].buttons, MsgButtons::OK);
        QVERIFY(platform->printedDocuments.isEmpty());
        QCOMPARE(platform->endedWith, -1);
        QVERIFY(definitions()->isVisible());
    }

    void printedPageHeadingMarginAndLineBreaks() {
        const QString text = QStringLiteral("A first paragraph that is short.\r\n") + words(1, 12) +
                             QStringLiteral("\r\n") + QString(85, u'x') +
                             QStringLiteral("\r\nA last paragraph.");
        dbs->editReference(
            QStringLiteral(
                "update ZEBRO_NAICS_Description_Ind_Raw set definitione = ? where NAICS = '448140'"),
            {text});
        const QList<PdfLine> lines = printDefinitionOf(QStringLiteral("448140"), 0);
        QCOMPARE(platform->printedDocuments, QStringList{QStringLiteral("Industry Definition")});
        QCOMPARE(textsOf(lines),
                 (QStringList{QStringLiteral("448140 - ") + title(QStringLiteral("448140"), 0),
                              QStringLiteral("A first paragraph that is short."),
                              words(1, 8),                    // broken after the blank at column 80
                              words(9, 4), QString(85, u'x'), // no blank: never broken
                              QStringLiteral("A last paragraph.")}));
        // The page's printable area starts a quarter inch in (the test printer's margins).
        const double edge = 18;
        // Every body line starts behind the same margin of 15 blanks: between half an inch
        // and an inch at 10 point, whatever the face.
        for (const PdfLine& l : lines.mid(1))
            QVERIFY2(qAbs(l.x - lines[1].x) < 0.01, qPrintable(l.text));
        QVERIFY2(lines[1].x - edge > 36 && lines[1].x - edge < 72, qPrintable(QString::number(lines[1].x)));
        // The heading's 15 blanks are 12-point ones, so it starts further in.
        QVERIFY(lines[0].x > lines[1].x);
        // Four blank lines above the heading, three between it and the body.
        QVERIFY(lines[0].y - edge >= 4 * 10);
        QVERIFY(lines[1].y - lines[0].y >= 4 * 12);
        // The body lines follow each other at one line's distance.
        for (qsizetype i = 2; i < lines.size(); ++i)
            QVERIFY(lines[i].y - lines[i - 1].y < 2 * 10);
    }

    void printedPageInFrench() {
        const QString text = QStringLiteral(
            "Cette industrie comprend les établissements dont l'activité principale est la vente "
            "au détail de vêtements pour toute la famille, à l'état neuf.");
        dbs->editReference(
            QStringLiteral(
                "update ZEBRO_NAICS_Description_Ind_Raw set definitionf = ? where NAICS = '448140'"),
            {text});
        const QList<PdfLine> lines = printDefinitionOf(QStringLiteral("448140"), 1);
        QCOMPARE(platform->printedDocuments, QStringList{QStringLiteral("Définition de l'industrie")});
        // The blank after "vente" is the first one met with 79 characters on the line.
        const qsizetype cut = text.indexOf(QStringLiteral("vente ")) + 5;
        QCOMPARE(textsOf(lines),
                 (QStringList{QStringLiteral("448140 - ") + title(QStringLiteral("448140"), 1),
                              text.left(cut), text.mid(cut + 1)}));
    }
};

QTEST_MAIN(TestDefinitionScreen)
#include "test_definition_screen.moc"
