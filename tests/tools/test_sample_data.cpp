// The sample reference database built by make-sample-data: the tables and columns the
// program reads, the internal consistency of the synthetic figures, the deliberate
// gaps, and a byte-for-byte repeatable build.

#include "data/DatasetOptions.h"
#include "report/RatioTable.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QString kSamplePath = QStringLiteral(VENTROLUX_TEST_BIN_DIR "/KLV_DATA.db");
const QString kTool = QStringLiteral(VENTROLUX_TEST_BIN_DIR "/make-sample-data");
const QString kDetailed = QStringLiteral("ZEBRO_NAICS_Description_Ind_Detailed");
const QString kRaw = QStringLiteral("ZEBRO_NAICS_Description_Ind_Raw");

QString tableName(const DatasetOption& o, int year) {
    return QLatin1String(o.tablePrefix) + QString::number(year) + QStringLiteral("_Final_Ratios");
}

const DatasetOption& option(const char* controlName) {
    const DatasetOption* o = datasets::findByControlName(QLatin1String(controlName));
    Q_ASSERT(o);
    return *o;
}

// A read-only connection to one database file, removed with the object.
class Db {
public:
    explicit Db(const QString& path) : name_(QStringLiteral("sample-%1").arg(++counter_)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        opened_ = QFile::exists(path) && db.open();
    }
    ~Db() {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    bool isOpen() const { return opened_; }

    QSqlQuery query(const QString& sql) const {
        QSqlQuery q(QSqlDatabase::database(name_, false));
        // A broken query fails the test: an empty answer must not pass for "no faults found".
        if (!q.exec(sql))
            QTest::qFail(qPrintable(sql + QStringLiteral(": ") + q.lastError().text()), __FILE__, __LINE__);
        return q;
    }
    // A query whose values are bound, never spliced into the text.
    QSqlQuery prepared(const QString& sql, const QVariantList& values) const {
        QSqlQuery q(QSqlDatabase::database(name_, false));
        q.prepare(sql);
        for (const QVariant& v : values)
            q.addBindValue(v);
        if (!q.exec())
            QTest::qFail(qPrintable(sql + QStringLiteral(": ") + q.lastError().text()), __FILE__, __LINE__);
        return q;
    }
    QVariant scalar(const QString& sql) const {
        QSqlQuery q = query(sql);
        return q.next() ? q.value(0) : QVariant();
    }
    qlonglong count(const QString& sql) const { return scalar(sql).toLongLong(); }

    QStringList datasetTables() const {
        QStringList names;
        QSqlQuery q =
            query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name LIKE "
                                 "'ZEBRO_Vol%_Final_Ratios' ORDER BY name"));
        while (q.next())
            names << q.value(0).toString();
        return names;
    }

    // Every row of every table, in key order, with each value's type and exact text.
    QByteArray digest() const {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        QSqlQuery tables =
            query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
        while (tables.next()) {
            const QString table = tables.value(0).toString();
            hash.addData(table.toUtf8());
            QSqlQuery rows = query(QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(table));
            while (rows.next()) {
                const QSqlRecord r = rows.record();
                for (int i = 0; i < r.count(); ++i) {
                    const QVariant v = r.value(i);
                    hash.addData(v.isNull() ? QByteArrayLiteral("\x01NULL")
                                            : QByteArray(v.metaType().name()) + v.toString().toUtf8());
                    hash.addData(QByteArrayLiteral("\x02"));
                }
            }
        }
        hash.addData(QByteArray::number(scalar(QStringLiteral("PRAGMA user_version")).toInt()));
        return hash.result();
    }

private:
    static inline int counter_ = 0;
    QString name_;
    bool opened_ = false;
};

// Counts, over every dataset table, the published rows where `condition` fails.
qlonglong failures(const Db& db, const QString& condition) {
    qlonglong n = 0;
    for (const QString& t : db.datasetTables())
        n += db.count(
            QStringLiteral("SELECT count(*) FROM \"%1\" WHERE NumberOfFirms IS NOT NULL AND NOT (%2)")
                .arg(t, condition));
    return n;
}

int runTool(const QStringList& args) {
    QProcess p;
    p.start(kTool, args);
    if (!p.waitForFinished(240000)) return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

class TestSampleData : public QObject {
    Q_OBJECT

    std::unique_ptr<Db> db_;

private slots:
    void initTestCase() {
        db_ = std::make_unique<Db>(kSamplePath);
        QVERIFY2(db_->isOpen(), qPrintable(kSamplePath));
        QCOMPARE(db_->scalar(QStringLiteral("PRAGMA user_version")).toInt(), 1);
    }
    void cleanupTestCase() { db_.reset(); }

    void datasetTablesExist_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("present");
        for (const DatasetOption& o : datasets::options())
            for (int year : datasets::kReferenceYears) {
                const QString t = tableName(o, year);
                QTest::newRow(qPrintable(t)) << t << (t != QLatin1String("ZEBRO_Vol3_PE_2009_Final_Ratios"));
            }
    }
    void datasetTablesExist() {
        QFETCH(QString, table);
        QFETCH(bool, present);
        QCOMPARE(db_->datasetTables().contains(table), present);
        if (!present) return;
        // The program selects columns by name and copies them by position.
        QSqlQuery info = db_->query(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
        QStringList names, types;
        while (info.next()) {
            names << info.value(1).toString();
            types << info.value(2).toString();
        }
        QCOMPARE(names, ratios::datasetColumns());
        QCOMPARE(types.mid(0, 3), (QStringList{"TEXT", "TEXT", "INTEGER"}));
        QCOMPARE(types.mid(3), QStringList(names.size() - 3, QStringLiteral("REAL")));
    }

    void nunavutAndPrinceEdwardIslandGaps() {
        QCOMPARE(db_->count(QStringLiteral("SELECT count(*) FROM ZEBRO_Vol3_NU_2011_Final_Ratios")), 0);
        QVERIFY(db_->count(QStringLiteral("SELECT count(*) FROM ZEBRO_Vol3_NU_2010_Final_Ratios")) > 0);
        QVERIFY(db_->count(QStringLiteral("SELECT count(*) FROM ZEBRO_Vol3_NU_2009_Final_Ratios")) > 0);
        QVERIFY(db_->count(QStringLiteral("SELECT count(*) FROM ZEBRO_Vol3_PE_2010_Final_Ratios")) > 0);
        QCOMPARE(db_->datasetTables().size(), 19 * 3 - 1);
    }

    void quartileOrder_data() {
        QTest::addColumn<QString>("q1");
        QTest::addColumn<QString>("q2");
        QTest::addColumn<QString>("q3");
        QTest::addColumn<bool>("lowerIsBetter");
        for (const ratios::Ratio& r : ratios::all())
            QTest::newRow(r.quartileStem) << ratios::q1Column(r) << ratios::q2Column(r) << ratios::q3Column(r)
                                          << (r.direction == ratios::Direction::LowerIsBetter);
    }
    void quartileOrder() {
        QFETCH(QString, q1);
        QFETCH(QString, q2);
        QFETCH(QString, q3);
        QFETCH(bool, lowerIsBetter);
        const QString op = lowerIsBetter ? QStringLiteral(">") : QStringLiteral("<");
        const QString cond =
            QStringLiteral("%1 = 0 OR %2 = 0 OR %3 = 0 OR (%1 %4 %2 AND %2 %4 %3)").arg(q1, q2, q3, op);
        QCOMPARE(failures(*db_, cond), 0);
        QCOMPARE(
            failures(*db_,
                     QStringLiteral("%1 IS NOT NULL AND %2 IS NOT NULL AND %3 IS NOT NULL").arg(q1, q2, q3)),
            0);
    }

    void medianIsPlausible_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::newRow("net profit margin %") << "NPMQ2" << -40.0 << 60.0;
        QTest::newRow("gross margin %") << "GPMQ2" << 1.0 << 100.0;
        QTest::newRow("revenue to net operating assets %") << "ORTTNOAQ2" << 5.0 << 2500.0;
        QTest::newRow("receivable turnover") << "RTQ2" << 1.0 << 250.0;
        QTest::newRow("working capital") << "WCQ2" << 0.2 << 10.0;
        QTest::newRow("debt to equity") << "DEQ2" << 0.01 << 20.0;
        QTest::newRow("liabilities to assets") << "LTAQ2" << 0.1 << 1.0;
        QTest::newRow("interest coverage") << "ICQ2" << 0.1 << 150.0;
    }
    void medianIsPlausible() {
        QFETCH(QString, column);
        QFETCH(double, low);
        QFETCH(double, high);
        QCOMPARE(
            failures(*db_, QStringLiteral("%1 = 0 OR %1 BETWEEN %2 AND %3").arg(column).arg(low).arg(high)),
            0);
    }

    void balanceSheetAddsUp_data() {
        QTest::addColumn<QString>("condition");
        QTest::newRow("operating assets") << "abs(totoa - (a11 + a12 + a13 + a18 + a19)) < 0.05";
        QTest::newRow("total assets")
            << "abs(totass - (totoa + a14 + a151617)) < 0.05 AND abs(totass - 100) < 0.05";
        QTest::newRow("liabilities")
            << "abs(totliab - (a22 + a25200 + a25500 + a25400 + a25180 + a24 + a2329 + a27)) < 0.05";
        QTest::newRow("equity") << "abs(totse - (a31 + a38 + a283334)) < 0.05";
        QTest::newRow("liabilities and equity")
            << "abs(totlse - (totliab + totse)) < 0.05 AND abs(totlse - 100) < 0.05";
        QTest::newRow("current assets") << "curass > 0 AND curass <= totoa + 0.05";
        QTest::newRow("current liabilities") << "curliab > 0 AND curliab <= totliab + 0.05";
        QStringList nonNegative;
        for (const ratios::Variance& v : ratios::variances())
            if (QLatin1String(v.industryColumn) != QLatin1String("a38"))
                nonNegative << QLatin1String(v.industryColumn) + " >= 0";
        QTest::newRow("no negative line but retained earnings") << nonNegative.join(QStringLiteral(" AND "));
    }
    void balanceSheetAddsUp() {
        QFETCH(QString, condition);
        QCOMPARE(failures(*db_, condition), 0);
    }

    void sharesHaveOneDecimal() {
        for (const ratios::Variance& v : ratios::variances()) {
            const QString c = QLatin1String(v.industryColumn);
            QCOMPARE(failures(*db_, QStringLiteral("abs(%1 * 10 - round(%1 * 10)) < 1e-6").arg(c)), 0);
        }
        // Thin equity leaves retained earnings negative in a few rows.
        QVERIFY(failures(*db_, QStringLiteral("a38 >= 0")) > 0);
    }

    void profitAndLossAddUp_data() {
        QTest::addColumn<QString>("profit");
        QTest::addColumn<QString>("loss");
        QTest::newRow("operating") << "opp"
                                   << "opl";
        QTest::newRow("pretax") << "ppp"
                                << "ppl";
        QTest::newRow("net") << "npp"
                             << "npl";
    }
    void profitAndLossAddUp() {
        QFETCH(QString, profit);
        QFETCH(QString, loss);
        QCOMPARE(
            failures(*db_,
                     QStringLiteral("abs(%1 + %2 - 100) < 0.05 AND %1 > 0 AND %2 > 0").arg(profit, loss)),
            0);
    }

    void netLossesNeverRarerThanPretax() { QCOMPARE(failures(*db_, QStringLiteral("npl >= ppl")), 0); }

    void suppressedRowsAreEmpty() {
        QStringList figures = ratios::datasetColumns().mid(3);
        qlonglong suppressed = 0, rows = 0;
        for (const QString& t : db_->datasetTables()) {
            QCOMPARE(db_->count(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE NumberOfFirms IS NULL AND "
                                               "(coalesce(%2) IS NOT NULL OR IndustryDescription IS NULL)")
                                    .arg(t, figures.join(u','))),
                     0);
            suppressed +=
                db_->count(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE NumberOfFirms IS NULL").arg(t));
            rows += db_->count(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(t));
        }
        QVERIFY(suppressed > 0);
        QVERIFY2(suppressed * 100 < rows * 6, "a few per cent of the rows, not more");
    }

    void novaScotiaHasAnIndustrySuppressedIn2010Only() {
        const qlonglong n = db_->count(QStringLiteral(
            "SELECT count(*) FROM ZEBRO_Vol3_NS_2010_Final_Ratios b "
            "JOIN ZEBRO_Vol3_NS_2011_Final_Ratios a ON a.NAICS = b.NAICS "
            "JOIN ZEBRO_Vol3_NS_2009_Final_Ratios c ON c.NAICS = b.NAICS "
            "WHERE b.NumberOfFirms IS NULL AND a.NumberOfFirms IS NOT NULL AND c.NumberOfFirms IS NOT NULL"));
        QVERIFY(n >= 1);
    }

    void someBoundariesAreZero() {
        QStringList anyZero;
        for (const ratios::Ratio& r : ratios::all())
            anyZero << ratios::q1Column(r) + " = 0" << ratios::q2Column(r) + " = 0"
                    << ratios::q3Column(r) + " = 0";
        const qlonglong rows =
            failures(*db_, QStringLiteral("NOT (%1)").arg(anyZero.join(QStringLiteral(" OR "))));
        QVERIFY(rows > 0);
        QVERIFY2(rows < 100, "a handful of rows");
    }

    void firmCounts_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("lowAverage");
        QTest::addColumn<int>("highAverage");
        QTest::newRow("volume 1") << "ZEBRO_Vol1_ALL_2011_Final_Ratios" << 10 << 1000;
        QTest::newRow("volume 3") << "ZEBRO_Vol3_ALL_2011_Final_Ratios" << 300 << 10000;
        QTest::newRow("a small province") << "ZEBRO_Vol3_PE_2011_Final_Ratios" << 5 << 300;
    }
    void firmCounts() {
        QFETCH(QString, table);
        QFETCH(int, lowAverage);
        QFETCH(int, highAverage);
        const double average =
            db_->scalar(QStringLiteral("SELECT avg(NumberOfFirms) FROM %1").arg(table)).toDouble();
        QVERIFY2(average >= lowAverage && average <= highAverage, qPrintable(QString::number(average)));
        QCOMPARE(db_->count(QStringLiteral("SELECT count(*) FROM %1 WHERE NumberOfFirms <= 0").arg(table)),
                 0);
    }

    void datasetIndustriesAreDescribed_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("descriptions");
        for (const DatasetOption& o : datasets::options())
            for (int year : datasets::kReferenceYears)
                QTest::newRow(qPrintable(tableName(o, year)))
                    << tableName(o, year) << (o.volume == 1 ? kDetailed : kRaw);
    }
    void datasetIndustriesAreDescribed() {
        QFETCH(QString, table);
        QFETCH(QString, descriptions);
        if (!db_->datasetTables().contains(table)) QSKIP("table deliberately absent");
        QCOMPARE(
            db_->count(QStringLiteral("SELECT count(*) FROM %1 F LEFT JOIN %2 N ON N.NAICS = F.NAICS "
                                      "WHERE N.NAICS IS NULL OR N.Description IS NOT F.IndustryDescription")
                           .arg(table, descriptions)),
            0);
    }

    void financeOnlyInVolume1() {
        const QString finance =
            QStringLiteral("SELECT NAICS FROM %1 WHERE Parent = 'IndTFINANC'").arg(kDetailed);
        QVERIFY(db_->count(QStringLiteral(
                               "SELECT count(*) FROM ZEBRO_Vol1_ALL_2011_Final_Ratios WHERE NAICS IN (%1)")
                               .arg(finance)) > 0);
        for (const QString& t : db_->datasetTables())
            if (!t.startsWith(QLatin1String("ZEBRO_Vol1_")))
                QCOMPARE(
                    db_->count(QStringLiteral("SELECT count(*) FROM %1 WHERE NAICS IN (%2)").arg(t, finance)),
                    0);
    }

    void smallerRegionsCoverFewerIndustries() {
        auto rows = [this](const char* controlName) {
            return db_->count(
                QStringLiteral("SELECT count(*) FROM %1").arg(tableName(option(controlName), 2010)));
        };
        const qlonglong raw = db_->count(QStringLiteral("SELECT count(*) FROM %1").arg(kRaw));
        for (const char* large : {"optVol3", "optOntario", "optQuebec"})
            QVERIFY(rows(large) * 10 >= raw * 9);
        for (const char* small : {"optPEI", "optTerritories", "optNWT", "optNunavut", "optYukon"})
            QVERIFY(rows(small) < rows("optOntario") * 4 / 5);
    }

    void sectorsKeepTheirCharacter_data() {
        QTest::addColumn<QString>("higher");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("column");
        QTest::newRow("retail carries inventory") << "IndTRETAIL"
                                                  << "IndTPROF"
                                                  << "a13";
        QTest::newRow("wholesale carries inventory") << "IndTWHOLE"
                                                     << "IndTHEALTH"
                                                     << "a13";
        QTest::newRow("utilities are capital-heavy") << "IndTUTIL"
                                                     << "IndTWHOLE"
                                                     << "a18";
        QTest::newRow("services turn tiny inventories fast") << "IndTPROF"
                                                             << "IndTRETAIL"
                                                             << "ITQ2";
        QTest::newRow("retail margins are thin") << "IndTPROF"
                                                 << "IndTRETAIL"
                                                 << "NPMQ2";
    }
    void sectorsKeepTheirCharacter() {
        QFETCH(QString, higher);
        QFETCH(QString, lower);
        QFETCH(QString, column);
        // Industries may sit in sub-folders of the sector.
        auto average = [&](const QString& sector) {
            return db_
                ->scalar(QStringLiteral("SELECT avg(F.%1) FROM ZEBRO_Vol3_ALL_2011_Final_Ratios F JOIN %2 N "
                                        "ON N.NAICS = F.NAICS "
                                        "LEFT JOIN tblTreeview T ON T.NodeKey = N.Parent "
                                        "WHERE (N.Parent = '%3' OR T.Parent = '%3') AND F.%1 <> 0")
                             .arg(column, kRaw, sector))
                .toDouble();
        };
        QVERIFY2(average(higher) > average(lower),
                 qPrintable(QStringLiteral("%1 vs %2").arg(average(higher)).arg(average(lower))));
    }

    void regionsAndYearsVary() {
        QVERIFY(db_->count(QStringLiteral("SELECT count(*) FROM ZEBRO_Vol3_ALL_2011_Final_Ratios a JOIN "
                                          "ZEBRO_Vol3_ON_2011_Final_Ratios b "
                                          "ON a.NAICS = b.NAICS WHERE a.NPMQ2 <> b.NPMQ2")) > 100);
        QVERIFY(db_->count(QStringLiteral("SELECT count(*) FROM ZEBRO_Vol3_ALL_2011_Final_Ratios a JOIN "
                                          "ZEBRO_Vol3_ALL_2009_Final_Ratios b "
                                          "ON a.NAICS = b.NAICS WHERE a.a13 <> b.a13")) > 100);
        // The 2009 downturn shows in the Canada-wide margins.
        const double m2011 =
            db_->scalar(QStringLiteral("SELECT avg(OPMQ2) FROM ZEBRO_Vol3_ALL_2011_Final_Ratios")).toDouble();
        const double m2009 =
            db_->scalar(QStringLiteral("SELECT avg(OPMQ2) FROM ZEBRO_Vol3_ALL_2009_Final_Ratios")).toDouble();
        QVERIFY(m2009 < m2011);
    }

    void industryTree() {
        QVERIFY(db_->count(QStringLiteral("SELECT count(*) FROM %1").arg(kDetailed)) >= 250);
        QVERIFY(db_->count(QStringLiteral("SELECT count(*) FROM tblTreeview WHERE Parent = 'IndTOTALL'")) >=
                18);
        QCOMPARE(db_->count(QStringLiteral(
                     "SELECT count(*) FROM tblTreeview WHERE NodeKey IN ('IndTOTALL', 'IndMANAGE') "
                     "AND coalesce(Parent, '') = ''")),
                 2);
        // Every folder but the two top-level ones hangs from a folder.
        QCOMPARE(db_->count(QStringLiteral(
                     "SELECT count(*) FROM tblTreeview C LEFT JOIN tblTreeview P ON P.NodeKey = C.Parent "
                     "WHERE coalesce(C.Parent, '') <> '' AND P.NodeKey IS NULL")),
                 0);
        QCOMPARE(
            db_->count(QStringLiteral("SELECT count(*) FROM tblTreeview WHERE coalesce(Parent, '') = ''")),
            2);
        // Keys are unique across folders and industries.
        QCOMPARE(
            db_->count(
                QStringLiteral(
                    "SELECT count(*) FROM (SELECT NodeKey FROM tblTreeview UNION ALL SELECT NodeKey FROM %1) "
                    "GROUP BY NodeKey HAVING count(*) > 1")
                    .arg(kDetailed)),
            0);
    }

    void industryTables_data() {
        QTest::addColumn<QString>("table");
        QTest::newRow("detailed") << kDetailed;
        QTest::newRow("raw") << kRaw;
    }
    void industryTables() {
        QFETCH(QString, table);
        QCOMPARE(db_->count(QStringLiteral("SELECT count(*) FROM %1 WHERE NodeKey IS NOT 'Ind' || NAICS "
                                           "OR NAICS NOT GLOB '[1-9][0-9][0-9][0-9][0-9][0-9]' "
                                           "OR Description = '' OR Description_french = ''")
                                .arg(table)),
                 0);
        // Each industry sits in a folder and comes after it.
        QCOMPARE(db_->count(QStringLiteral(
                                "SELECT count(*) FROM %1 N LEFT JOIN tblTreeview T ON T.NodeKey = N.Parent "
                                "WHERE T.NodeKey IS NULL OR T.sequence >= N.sequence")
                                .arg(table)),
                 0);
        QCOMPARE(db_->count(QStringLiteral(
                     "SELECT count(*) FROM tblTreeview C JOIN tblTreeview P ON P.NodeKey = C.Parent "
                     "WHERE P.sequence >= C.sequence")),
                 0);
        QVERIFY(db_->count(QStringLiteral("SELECT count(DISTINCT Parent) FROM %1").arg(table)) >= 18);
        QVERIFY(db_->count(
                    QStringLiteral("SELECT count(*) FROM %1 WHERE Description LIKE '%''%'").arg(table)) > 0);
        QVERIFY(db_->count(QStringLiteral("SELECT count(*) FROM %1 WHERE Description_french LIKE '%''%'")
                               .arg(table)) > 0);
        QVERIFY(
            db_->count(QStringLiteral("SELECT count(*) FROM %1 WHERE instr(definitione, char(13, 10)) > 0 "
                                      "AND instr(definitionf, char(13, 10)) > 0")
                           .arg(table)) > 0);
        QVERIFY(db_->count(QStringLiteral("SELECT count(*) FROM %1 WHERE definitione IS NULL").arg(table)) >
                0);
        QVERIFY(
            db_->count(QStringLiteral("SELECT count(*) FROM %1 WHERE definitione IS NOT NULL").arg(table)) >
            db_->count(QStringLiteral("SELECT count(*) FROM %1").arg(table)) * 9 / 10);
    }

    void rawIsDetailedWithoutFinance() {
        QCOMPARE(db_->count(QStringLiteral("SELECT count(*) FROM %1 WHERE Parent = 'IndTFINANC'").arg(kRaw)),
                 0);
        QVERIFY(
            db_->count(QStringLiteral("SELECT count(*) FROM %1 WHERE Parent = 'IndTFINANC'").arg(kDetailed)) >
            0);
        QCOMPARE(db_->count(QStringLiteral("SELECT count(*) FROM (SELECT * FROM %1 WHERE Parent <> "
                                           "'IndTFINANC' EXCEPT SELECT * FROM %2)")
                                .arg(kDetailed, kRaw)),
                 0);
        QCOMPARE(db_->count(QStringLiteral("SELECT count(*) FROM (SELECT * FROM %1 EXCEPT SELECT * FROM %2)")
                                .arg(kRaw, kDetailed)),
                 0);
    }

    void datasetDescriptions_data() {
        QTest::addColumn<QString>("optname");
        for (const DatasetOption& o : datasets::options())
            QTest::newRow(o.controlName) << QString::fromLatin1(o.controlName);
    }
    void datasetDescriptions() {
        QFETCH(QString, optname);
        QSqlQuery q = db_->prepared(
            QStringLiteral("SELECT descriptione, descriptionf FROM datadescription WHERE optname = ?"),
            {optname});
        QVERIFY(q.next());
        const QString english = q.value(0).toString();
        const QString french = q.value(1).toString();
        QVERIFY(english.contains(QLatin1String("synthetic")));
        QVERIFY(french.contains(QStringLiteral("synthétiques")));
        for (const QString& text : {english, french}) {
            const qsizetype sentences = text.count(QStringLiteral(". ")) + (text.endsWith(u'.') ? 1 : 0);
            QVERIFY2(sentences >= 2 && sentences <= 4, qPrintable(text));
        }
        QVERIFY(
            english.contains(QLatin1String(option(qPrintable(optname)).volume == 3 ? "$30,000" : "million")));
    }

    // The French wording, amounts kept whole by a no-break space, and the sentence for a
    // year without figures, read off the tables the database really has.
    void datasetDescriptionWording_data() { datasetDescriptions_data(); }
    void datasetDescriptionWording() {
        QFETCH(QString, optname);
        QSqlQuery q = db_->prepared(
            QStringLiteral("SELECT descriptione, descriptionf FROM datadescription WHERE optname = ?"),
            {optname});
        QVERIFY(q.next());
        const QString english = q.value(0).toString();
        const QString french = q.value(1).toString();

        QVERIFY2(french.contains(QStringLiteral("Il s'agit de données d'exemple synthétiques")),
                 qPrintable(french));
        QVERIFY2(french.contains(QStringLiteral("et non de statistiques publiées.")), qPrintable(french));
        static const QRegularExpression amountInWords(QStringLiteral("\\d\u00a0millions de dollars"));
        static const QRegularExpression splitAmount(QStringLiteral("\\d (millions|000|\\$)"));
        QVERIFY2(french.contains(amountInWords), qPrintable(french));
        QVERIFY2(!french.contains(splitAmount), qPrintable(french));

        const QStringList tables = db_->datasetTables();
        for (int year : datasets::kReferenceYears) {
            const QString table = tableName(option(qPrintable(optname)), year);
            const bool missing = !tables.contains(table);
            const bool empty =
                !missing && db_->count(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)) == 0;
            QCOMPARE(english.contains(QStringLiteral(" No figures are available for %1.").arg(year)),
                     missing);
            QCOMPARE(french.contains(QStringLiteral(" Aucune donnée n'est disponible pour %1.").arg(year)),
                     missing);
            QCOMPARE(english.contains(QStringLiteral(" No industry figures are published for %1.").arg(year)),
                     empty);
            QCOMPARE(french.contains(
                         QStringLiteral(" Aucune donnée d'industrie n'est publiée pour %1.").arg(year)),
                     empty);
        }
    }

    // French titles as the classification gives them (336215 makes travel trailers, not
    // tent trailers); the definition follows its title.
    void frenchTitles_data() {
        QTest::addColumn<QString>("naics");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("inDefinition");
        QTest::addColumn<QString>("notInDefinition");
        QTest::newRow("336215 motor homes and trailers")
            << "336215"
            << QStringLiteral("Fabrication d'autocaravanes, de caravanes classiques et de campeuses")
            << QStringLiteral("caravanes classiques") << QStringLiteral("tentes-roulottes");
        QTest::newRow("522130 credit unions")
            << "522130" << QStringLiteral("Coopératives de crédit et caisses populaires locales")
            << QStringLiteral("coopératives de crédit") << QStringLiteral("caisses d'épargne");
    }
    void frenchTitles() {
        QFETCH(QString, naics);
        QFETCH(QString, title);
        QFETCH(QString, inDefinition);
        QFETCH(QString, notInDefinition);
        QSqlQuery q = db_->prepared(
            QStringLiteral("SELECT Description_french, definitionf FROM %1 WHERE NAICS = ?").arg(kDetailed),
            {naics});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), title);
        const QString definition = q.value(1).toString();
        QVERIFY2(definition.contains(inDefinition), qPrintable(definition));
        QVERIFY2(!definition.contains(notInDefinition), qPrintable(definition));
    }

    void eachDatasetIsDescribedOnce() {
        QCOMPARE(db_->count(QStringLiteral("SELECT count(*) FROM datadescription")),
                 qlonglong(datasets::options().size()));
    }

    void buildIsRepeatable() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString first = dir.filePath(QStringLiteral("first.db"));
        const QString second = dir.filePath(QStringLiteral("second.db"));
        // A stale file in the way is replaced, not appended to.
        {
            QFile stale(second);
            QVERIFY(stale.open(QIODevice::WriteOnly));
            stale.write("not a database");
        }
        QCOMPARE(runTool({first}), 0);
        QCOMPARE(runTool({second}), 0);
        QVERIFY(!QFile::exists(first + QStringLiteral(".partial")));
        const QByteArray a = Db(first).digest();
        QCOMPARE(Db(second).digest(), a);
        QCOMPARE(db_->digest(), a);
    }

    void badUsageWritesNothing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("usage");
        QTest::newRow("no output") << QStringList{} << true;
        QTest::newRow("two outputs") << QStringList{"a.db", "b.db"} << true;
        QTest::newRow("missing folder") << QStringList{"no/such/folder/KLV_DATA.db"} << false;
    }
    void badUsageWritesNothing() {
        QFETCH(QStringList, args);
        QFETCH(bool, usage);
        QTemporaryDir dir;
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(kTool, args);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), usage ? 2 : 1);
        QVERIFY(!p.readAllStandardError().isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSampleData)
#include "test_sample_data.moc"
