// View > Firm Trend on the firm values screen: the trend report of the saved years of the
// firm in the name box, or the refusal when fewer than two years are saved.

#include "FirmScreenFixture.h"

#include "firm/FirmRecords.h"
#include "screens/report/frmReportViewer.h"

#include <QAction>
#include <QTextDocument>

class TestTrendFromScreen : public QObject {
    Q_OBJECT

    std::unique_ptr<FirmScreenFixture> f;

    void storeYear(const QString& name, const QString& year, const char* profit) {
        FirmStatement firm;
        firm.firmName = name;
        firm.year = year;
        firm.naics = f->naics;
        firmrules::resetValues(firm.values);
        firm.value("Cash") = QStringLiteral("1000");
        firm.value("ShareC") = QStringLiteral("1000");
        firm.value("OperatingRevenue") = QStringLiteral("5000");
        firm.value("ProfitAfterTax") = QString::fromLatin1(profit);
        firmrules::calculateSubTotals(firm.values);
        firmrecords::store(modMain::gcnMyData, firm);
    }

private slots:
    void cleanup() { f.reset(); }

    void trendOfTheSavedYears_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("years");
        QTest::addColumn<QString>("expected"); // in the report, or in the refusal
        QTest::newRow("two years, English") << 0 << QStringList{"2009", "2011"} << "2009 to 2011";
        QTest::newRow("three years, French")
            << 1 << QStringList{"2009", "2010", "2011"} << QString::fromUtf8("de 2009 à 2011");
        QTest::newRow("one year, refused") << 0 << QStringList{"2010"} << "only 2010 is saved";
        QTest::newRow("one year, refused in French")
            << 1 << QStringList{"2010"} << QString::fromUtf8("seule l'année 2010 est sauvegardée");
    }
    void trendOfTheSavedYears() {
        QFETCH(int, language);
        QFETCH(QStringList, years);
        QFETCH(QString, expected);
        f = std::make_unique<FirmScreenFixture>();
        frmMyValues& screen = f->open(static_cast<int16_t>(language));
        const QString name = QStringLiteral("Tremblay & Fils");
        const char* profits[] = {"100", "250", "400"};
        for (int i = 0; i < years.size(); ++i)
            storeYear(name, years[i], profits[i]);
        screen.txtFirmName->setText(name);

        QVERIFY(screen.mnuTrend->isEnabled());
        screen.mnuTrend->trigger();

        frmReportViewer* viewer = f->registry.existing<frmReportViewer>();
        QCOMPARE(f->platform.endedWith, -1);
        if (years.size() < 2) {
            QVERIFY(!viewer || !viewer->isVisible());
            QCOMPARE(f->platform.messages.size(), 1);
            QVERIFY2(f->platform.messages[0].text.contains(expected),
                     qPrintable(f->platform.messages[0].text));
            QVERIFY(f->platform.messages[0].text.contains(name));
            return;
        }
        QVERIFY(viewer && viewer->isVisible());
        QVERIFY(f->platform.messages.isEmpty());
        const QString text = viewer->document()->toPlainText();
        QVERIFY2(text.contains(expected), qPrintable(text.left(2000)));
        for (const QString& year : years)
            QVERIFY(text.contains(year));
    }

    void captionsInBothLanguages() {
        f = std::make_unique<FirmScreenFixture>();
        frmMyValues& screen = f->open(0);
        QCOMPARE(screen.mnuTrend->text(), QStringLiteral("Firm Trend"));
        QCOMPARE(screen.mnuTrend->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
        screen.mnuFrench_Click();
        QCOMPARE(screen.mnuTrend->text(), QString::fromUtf8("Tendance de l'entreprise"));
    }
};

QTEST_MAIN(TestTrendFromScreen)
#include "test_trend_from_screen.moc"
