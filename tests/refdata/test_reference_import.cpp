// Building a reference database from a folder of CSV files: the example folder, every
// refusal with its file, line and column, other encodings and separators, and imports
// that fail or are interrupted while writing, which leave the old database as it was.

#include "RefdataSupport.h"
#include "data/DBTools.h"
#include "data/ReferenceCheck.h"
#include "refdata/ReferenceImport.h"

#include <QProcess>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(refdata::Msg)

using namespace refdatatest;
using refdata::Msg;

namespace {

const QString kNS2011 = QStringLiteral("ZEBRO_Vol3_NS_2011_Final_Ratios.csv");
const QString kTree = QStringLiteral("tblTreeview.csv");
const QString kRaw = QStringLiteral("ZEBRO_NAICS_Description_Ind_Raw.csv");
const QString kDetailed = QStringLiteral("ZEBRO_NAICS_Description_Ind_Detailed.csv");
const QString kOptions = QStringLiteral("datadescription.csv");
const QByteArray kOldDatabase("not the new figures");

refdata::ImportOutcome runImport(const QString& source, const QString& target,
                                 refdata::ProgressFn progress = {}) {
    refdata::ImportRequest request;
    request.sourceDir = source;
    request.target = target;
    request.importDate = QDate(2024, 3, 5);
    request.progress = std::move(progress);
    return refdata::importReference(request);
}

const refdata::Issue* findIssue(const std::vector<refdata::Issue>& issues, Msg msg) {
    for (const refdata::Issue& i : issues)
        if (i.msg == msg) return &i;
    return nullptr;
}

QString allErrors(const refdata::ImportOutcome& o) {
    QStringList l;
    for (const refdata::Issue& i : o.issues.errors())
        l << refdata::describe(i, Language::E);
    return l.join(u'\n');
}

// The files of the target's folder besides the target itself: nothing may be left behind.
QStringList leftovers(const QString& dir, const QString& target) {
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(QFileInfo(target).fileName());
    return names;
}

// Edits one file of a folder: the change a data-driven case names.
bool edit(const QString& folder, const QString& file, const QString& action, int line, const QByteArray& from,
          const QByteArray& to) {
    const QString path = QDir(folder).filePath(file);
    if (action == QLatin1String("delete")) return QFile::remove(path);
    if (action == QLatin1String("write")) return writeAll(path, to);
    if (action == QLatin1String("copyas"))
        return QFile::copy(path, QDir(folder).filePath(QString::fromUtf8(to)));
    QList<QByteArray> ls = lines(path);
    if (line < 1 || line > ls.size()) return false;
    QByteArray& l = ls[line - 1];
    if (action == QLatin1String("replace")) {
        if (!l.contains(from)) return false;
        l.replace(l.indexOf(from), from.size(), to);
    } else if (action == QLatin1String("suffix")) {
        l += to;
    } else if (action == QLatin1String("append")) {
        ls << QByteArray(l);
    } else if (action == QLatin1String("drop")) {
        ls.removeAt(line - 1);
    } else {
        return false;
    }
    return writeLines(path, ls);
}

} // namespace

class TestReferenceImport : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    int counter_ = 0;

    // A fresh copy of the example folder, and a target holding an "old database".
    QString freshSource() {
        const QString s = dir_.filePath(QStringLiteral("source%1").arg(++counter_));
        return copyFolder(exampleFolder(), s) ? s : QString();
    }
    QString oldTarget() {
        const QString d = dir_.filePath(QStringLiteral("target%1").arg(++counter_));
        QDir().mkpath(d);
        const QString t = QDir(d).filePath(QStringLiteral("KLV_DATA.db"));
        return writeAll(t, kOldDatabase) ? t : QString();
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void exampleFolderImports() {
        const QString target = oldTarget();
        const refdata::ImportOutcome o = runImport(exampleFolder(), target);
        QVERIFY2(o.written, qPrintable(allErrors(o)));
        QCOMPARE(o.issues.errorCount(), 0);
        QCOMPARE(o.files.size(), std::size_t(59)); // 4 tables and 55 of the 57 dataset tables
        QCOMPARE(o.tables, 59);
        QCOMPARE(o.sourceName, QStringLiteral("Ventrolux example figures (invented for the tests)"));
        QCOMPARE(leftovers(QFileInfo(target).path(), target), QStringList());

        Db db(target);
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA user_version")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral(
                     "SELECT NumberOfFirms FROM ZEBRO_Vol3_NS_2011_Final_Ratios WHERE NAICS = '448140'")),
                 QVariant(qlonglong(806)));
        QCOMPARE(db.scalar(QStringLiteral(
                               "SELECT NPMQ2 FROM ZEBRO_Vol3_NS_2011_Final_Ratios WHERE NAICS = '448140'"))
                     .toDouble(),
                 3.53);
        QCOMPARE(
            db.scalar(QStringLiteral(
                "SELECT typeof(GPMQ1) || GPMQ1 FROM ZEBRO_Vol3_NS_2011_Final_Ratios WHERE NAICS = '445110'")),
            QVariant(QStringLiteral("real0.0")));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM ZEBRO_Vol1_ALL_2011_Final_Ratios")).toInt(),
                 6);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM ZEBRO_Vol3_NU_2011_Final_Ratios")).toInt(),
                 0);
        QVERIFY(!db.tables().contains(QStringLiteral("ZEBRO_Vol3_PE_2009_Final_Ratios")));
        // A row without figures for a year keeps its nulls.
        QVERIFY(
            db.scalar(QStringLiteral(
                          "SELECT NumberOfFirms FROM ZEBRO_Vol3_NS_2010_Final_Ratios WHERE NAICS = '238220'"))
                .isNull());
        // Quoted fields with quotes and line breaks, and an empty field as null.
        QCOMPARE(
            db.scalar(QStringLiteral(
                          "SELECT definitione FROM ZEBRO_NAICS_Description_Ind_Raw WHERE NAICS = '541110'"))
                .toString(),
            QStringLiteral("This industry comprises offices of legal practitioners, known as \"lawyers\" or "
                           "barristers and "
                           "solicitors, primarily engaged in the practice of law.\r\nNotaries are classified "
                           "elsewhere."));
        QVERIFY(
            db.scalar(QStringLiteral(
                          "SELECT definitionf FROM ZEBRO_NAICS_Description_Ind_Raw WHERE NAICS = '445110'"))
                .isNull());
        QVERIFY(
            db.scalar(QStringLiteral("SELECT Parent FROM tblTreeview WHERE NodeKey = 'IndTOTALL'")).isNull());
        QCOMPARE(db.scalar(QStringLiteral("SELECT IndDescF FROM tblTreeview WHERE NodeKey = 'IndMANAGE'"))
                     .toString(),
                 QString::fromUtf8("Gestion de sociétés et d’entreprises"));
        // Where the figures come from, with each table's rows.
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Provenance")).toInt(), 59);
        QCOMPARE(
            db
                .scalar(QStringLiteral(
                    "SELECT RowCount FROM Provenance WHERE TableName = 'ZEBRO_Vol1_ALL_2011_Final_Ratios'"))
                .toInt(),
            6);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(DISTINCT SourceName || ImportDate) FROM Provenance"))
                     .toInt(),
                 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT ImportDate FROM Provenance LIMIT 1")).toString(),
                 QStringLiteral("2024-03-05"));
    }

    // The new database passes the program's own start-up check.
    void importedDatabaseOpensAsTheProgramOpensIt() {
        const QString target = oldTarget();
        QVERIFY(runImport(exampleFolder(), target).written);
        Connection cn;
        ConnectToFile(cn, target, QStringLiteral("unknown"), ReadOnly);
        QCOMPARE(referencecheck::missingTables(cn, referencecheck::requiredTables(true)), QStringList());
        DisconnectFromDB(cn);
    }

    void reportNamesEachFileFormat() {
        const QString target = oldTarget();
        const refdata::ImportRequest request{exampleFolder(), target, QDate(2024, 3, 5), {}};
        const refdata::ImportOutcome o = refdata::importReference(request);
        const QStringList english = refdata::reportLines(o, request, Language::E);
        QVERIFY(english.contains(QStringLiteral(
            "ZEBRO_Vol3_NS_2011_Final_Ratios.csv: 5 rows; UTF-8, separator ',', decimal point")));
        QVERIFY(english.contains(QStringLiteral(
            "ZEBRO_Vol3_NU_2011_Final_Ratios.csv: 0 rows; UTF-8, separator ',', decimal point")));
        QCOMPARE(english.back(), QStringLiteral("%1 written from %2: 59 tables, %3 rows")
                                     .arg(target, exampleFolder())
                                     .arg(o.rows));
        const QStringList french = refdata::reportLines(o, request, Language::F);
        QVERIFY(french.contains(QString::fromUtf8(
            "ZEBRO_Vol3_NS_2011_Final_Ratios.csv : 5 lignes ; UTF-8, séparateur « , », décimales en point")));
    }

    // Each refusal names the file, the line and the column, and writes nothing.
    void refusals_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<Msg>("msg");
        QTest::addColumn<QString>("issueFile");
        QTest::addColumn<int>("issueLine");
        QTest::addColumn<QString>("column");

        QTest::newRow("code of five digits")
            << kNS2011 << "replace" << 4 << QByteArray("448140,") << QByteArray("44814,") << Msg::BadNaics
            << kNS2011 << 4 << "NAICS";
        QTest::newRow("code with a letter") << kRaw << "replace" << 3 << QByteArray("445110,")
                                            << QByteArray("44511A,") << Msg::BadNaics << kRaw << 3 << "NAICS";
        QTest::newRow("code not in the raw description table")
            << "ZEBRO_Vol2_ALL_2011_Final_Ratios.csv"
            << "replace" << 2 << QByteArray("238220,") << QByteArray("524210,") << Msg::UnknownNaics
            << "ZEBRO_Vol2_ALL_2011_Final_Ratios.csv" << 2 << "NAICS";
        QTest::newRow("figure that is no number")
            << kNS2011 << "replace" << 3 << QByteArray(",2.97,") << QByteArray(",2.9x,") << Msg::NotANumber
            << kNS2011 << 3 << "NPMQ2";
        QTest::newRow("decimal comma in a point file")
            << kNS2011 << "replace" << 3 << QByteArray(",2.97,") << QByteArray(",\"2,97\",")
            << Msg::NotANumber << kNS2011 << 3 << "NPMQ2";
        QTest::newRow("count with a fraction")
            << kNS2011 << "replace" << 5 << QByteArray(",247,") << QByteArray(",24.7,") << Msg::NotWhole
            << kNS2011 << 5 << "NumberOfFirms";
        QTest::newRow("count below zero")
            << kNS2011 << "replace" << 5 << QByteArray(",247,") << QByteArray(",-247,") << Msg::Negative
            << kNS2011 << 5 << "NumberOfFirms";
        QTest::newRow("sequence that is no number")
            << kTree << "replace" << 3 << QByteArray(",2") << QByteArray(",second") << Msg::NotANumber
            << kTree << 3 << "sequence";
        QTest::newRow("column missing") << kNS2011 << "replace" << 1 << QByteArray("NPMQ2,")
                                        << QByteArray("NPMQ2X,") << Msg::MissingColumn << kNS2011 << 1 << "";
        QTest::newRow("column named twice")
            << kNS2011 << "replace" << 1 << QByteArray("NPMQ3,") << QByteArray("NPMQ2,")
            << Msg::RepeatedColumn << kNS2011 << 1 << "NPMQ2";
        QTest::newRow("definition column missing")
            << kDetailed << "replace" << 1 << QByteArray("definitionf,") << QByteArray("definition_f,")
            << Msg::MissingColumn << kDetailed << 1 << "";
        QTest::newRow("table of 2011 missing")
            << "ZEBRO_Vol3_QC_2011_Final_Ratios.csv"
            << "delete" << 0 << QByteArray() << QByteArray() << Msg::FileMissing << "" << 0 << "";
        QTest::newRow("tree missing")
            << kTree << "delete" << 0 << QByteArray() << QByteArray() << Msg::FileMissing << "" << 0 << "";
        QTest::newRow("two files for one table")
            << kNS2011 << "copyas" << 0 << QByteArray() << QByteArray("zebro_vol3_ns_2011_final_ratios.csv")
            << Msg::TwoFilesOneTable << "zebro_vol3_ns_2011_final_ratios.csv" << 0 << "";
        QTest::newRow("industry twice") << kNS2011 << "append" << 3 << QByteArray() << QByteArray()
                                        << Msg::Duplicate << kNS2011 << 7 << "NAICS";
        QTest::newRow("folder twice") << kTree << "append" << 4 << QByteArray() << QByteArray()
                                      << Msg::Duplicate << kTree << 8 << "NodeKey";
        QTest::newRow("described twice")
            << kRaw << "append" << 2 << QByteArray() << QByteArray() << Msg::Duplicate << kRaw << 9
            << "NAICS"; // the lawyers' definitions take two lines
        QTest::newRow("field too many") << kNS2011 << "suffix" << 6 << QByteArray() << QByteArray(",1")
                                        << Msg::FieldCount << kNS2011 << 6 << "";
        QTest::newRow("quote inside a bare field")
            << kRaw << "replace" << 3 << QByteArray("Supermarkets and") << QByteArray("Supermarkets \"and")
            << Msg::Malformed << kRaw << 3 << "";
        QTest::newRow("title missing")
            << kRaw << "replace" << 2
            << QByteArray("\"Entrepreneurs en plomberie, chauffage et climatisation\"") << QByteArray()
            << Msg::EmptyValue << kRaw << 2 << "Description_french";
        QTest::newRow("tree key not of its code")
            << kDetailed << "replace" << 3 << QByteArray(",Ind445110,") << QByteArray(",Ind445111,")
            << Msg::NodeKeyMismatch << kDetailed << 3 << "NodeKey";
        QTest::newRow("folder whose parent is missing")
            << kTree << "replace" << 4 << QByteArray("IndTRETAIL,IndTOTALL,")
            << QByteArray("IndTRETAIL,IndTOTAL,") << Msg::ParentMissing << kTree << 4 << "Parent";
        QTest::newRow("folder without a parent")
            << kTree << "replace" << 3 << QByteArray("IndTCONSTR,IndTOTALL,") << QByteArray("IndTCONSTR,,")
            << Msg::FolderWithoutParent << kTree << 3 << "Parent";
        QTest::newRow("folder before its parent")
            << kTree << "replace" << 2 << QByteArray("industries,1") << QByteArray("industries,9")
            << Msg::ParentLater << kTree << 3 << "Parent";
        QTest::newRow("unknown dataset option")
            << kOptions << "replace" << 2 << QByteArray("optVol1,") << QByteArray("optVol9,")
            << Msg::UnknownOption << kOptions << 2 << "optname";
        QTest::newRow("dataset option without a row")
            << kOptions << "drop" << 20 << QByteArray() << QByteArray() << Msg::OptionMissing << kOptions << 0
            << "";
        QTest::newRow("empty file") << kNS2011 << "write" << 0 << QByteArray() << QByteArray()
                                    << Msg::NoHeader << kNS2011 << 0 << "";
        QTest::newRow("control character in a title")
            << kRaw << "replace" << 3 << QByteArray("Supermarkets and") << QByteArray("Supermarkets\x01and")
            << Msg::ControlCharacter << kRaw << 3 << "Description";
        QTest::newRow("NUL in a title")
            << kRaw << "replace" << 3 << QByteArray("Supermarkets and") << QByteArray("Supermarkets\0and", 16)
            << Msg::ControlCharacter << kRaw << 3 << "Description";
        QTest::newRow("line break in a title")
            << kRaw << "replace" << 3
            << QByteArray("Supermarkets and other grocery (except convenience) stores,")
            << QByteArray("\"Supermarkets and\nother grocery stores\",") << Msg::ControlCharacter << kRaw << 3
            << "Description";
        QTest::newRow("lines in two encodings")
            << kRaw << "replace" << 3 << QByteArray("Supermarch\xC3\xA9s") << QByteArray("Supermarch\xE9s")
            << Msg::MixedEncoding << kRaw << 3 << "";
        QTest::newRow("key too long")
            << kTree << "replace" << 4 << QByteArray("IndTRETAIL,IndTOTALL,")
            << QByteArray(120, 'K') + ",IndTOTALL," << Msg::KeyTooLong << kTree << 4 << "NodeKey";
    }
    void refusals() {
        QFETCH(QString, file);
        QFETCH(QString, action);
        QFETCH(int, line);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(Msg, msg);
        QFETCH(QString, issueFile);
        QFETCH(int, issueLine);
        QFETCH(QString, column);

        const QString source = freshSource();
        QVERIFY(edit(source, file, action, line, from, to));
        const QString target = oldTarget();
        const refdata::ImportOutcome o = runImport(source, target);
        QVERIFY(!o.written);
        const refdata::Issue* issue = findIssue(o.issues.errors(), msg);
        QVERIFY2(issue, qPrintable(allErrors(o)));
        QCOMPARE(issue->file, issueFile);
        QCOMPARE(issue->line, issueLine);
        QCOMPARE(issue->column, column);
        // The message leads with where the fault is.
        QString where = issueFile;
        if (issueLine > 0) where += QStringLiteral(":%1").arg(issueLine);
        if (!column.isEmpty()) where += QStringLiteral(": column ") + column;
        QVERIFY2(refdata::describe(*issue, Language::E).startsWith(where),
                 qPrintable(refdata::describe(*issue, Language::E)));
        // Nothing written: the old file is as it was and nothing lies beside it.
        QCOMPARE(readAll(target), kOldDatabase);
        QCOMPARE(leftovers(QFileInfo(target).path(), target), QStringList());
        const QStringList errors = refdata::errorLines(o, {source, target, {}, {}}, Language::E);
        QVERIFY(errors.back().endsWith(QStringLiteral("nothing was written, %1 is unchanged").arg(target)));
    }

    void theNamedTableOfAMissingFile() {
        const QString source = freshSource();
        QVERIFY(QFile::remove(QDir(source).filePath(QStringLiteral("ZEBRO_Vol3_QC_2011_Final_Ratios.csv"))));
        const refdata::ImportOutcome o = runImport(source, oldTarget());
        QCOMPARE(o.issues.errorCount(), 1);
        QVERIFY(refdata::describe(o.issues.errors().front(), Language::E)
                    .contains(QStringLiteral("ZEBRO_Vol3_QC_2011_Final_Ratios.csv")));
    }

    // Faults in several files are all reported, not only the first.
    void everyFaultReported() {
        const QString source = freshSource();
        QVERIFY(edit(source, kNS2011, QStringLiteral("replace"), 4, "448140,", "44814,"));
        QVERIFY(edit(source, kTree, QStringLiteral("replace"), 4, "IndTRETAIL,IndTOTALL,",
                     "IndTRETAIL,IndTOTAL,"));
        QVERIFY(edit(source, kNS2011, QStringLiteral("replace"), 3, ",2.97,", ",2.9x,"));
        QVERIFY(edit(source, "ZEBRO_Vol3_ON_2009_Final_Ratios.csv", QStringLiteral("suffix"), 2, {}, ",1"));
        const refdata::ImportOutcome o = runImport(source, oldTarget());
        QCOMPARE(o.issues.errorCount(), 4);
        QVERIFY(findIssue(o.issues.errors(), Msg::BadNaics));
        QVERIFY(findIssue(o.issues.errors(), Msg::ParentMissing));
        QVERIFY(findIssue(o.issues.errors(), Msg::NotANumber));
        QVERIFY(findIssue(o.issues.errors(), Msg::FieldCount));
    }

    // At most a hundred errors are listed; the others are counted.
    void aHundredErrorsListed() {
        const QString source = freshSource();
        const QString path = QDir(source).filePath(kNS2011);
        QList<QByteArray> ls = lines(path);
        QByteArray row = ls[3];
        row.replace(row.indexOf(",3.53,"), 6, ",x,");
        for (int i = 0; i < 150; ++i)
            ls << row.mid(0, 0) + QByteArray::number(100000 + i) + row.mid(6);
        QVERIFY(writeLines(path, ls));
        const QString target = oldTarget();
        const refdata::ImportOutcome o = runImport(source, target);
        QVERIFY(!o.written);
        // Each added row names an undescribed code and holds a figure that is no number.
        QCOMPARE(o.issues.errorCount(), 300);
        QCOMPARE(o.issues.errors().size(), std::size_t(100));
        const QStringList errors = refdata::errorLines(o, {source, target, {}, {}}, Language::E);
        QCOMPARE(errors.size(), 102);
        QCOMPARE(errors[100], QStringLiteral("... and 200 more errors"));
        QCOMPARE(errors[101], QStringLiteral("300 errors: nothing was written, %1 is unchanged").arg(target));
    }

    // Quartiles out of their ratio's order are reported, and imported.
    void quartileOrderWarns_data() {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<Msg>("msg");
        QTest::addColumn<QString>("column");
        QTest::newRow("falling where higher is better")
            << QByteArray(",1.28,2.97,4.66,") << QByteArray(",4.66,2.97,1.28,") << Msg::QuartileOrderHigher
            << "NPMQ1";
        QTest::newRow("rising where lower is better")
            << QByteArray(",1.19,0.74,0.3,") << QByteArray(",0.3,0.74,1.19,") << Msg::QuartileOrderLower
            << "DEQ1";
    }
    void quartileOrderWarns() {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(Msg, msg);
        QFETCH(QString, column);
        const QString source = freshSource();
        QVERIFY(edit(source, kNS2011, QStringLiteral("replace"), 3, from, to));
        const refdata::ImportOutcome o = runImport(source, oldTarget());
        QVERIFY(o.written);
        const refdata::Issue* w = findIssue(o.issues.warnings(), msg);
        QVERIFY(w);
        QCOMPARE(w->file, kNS2011);
        QCOMPARE(w->line, 3);
        QCOMPARE(w->column, column);
        QCOMPARE(o.issues.warnings().size(), std::size_t(1));
    }

    // The example's own data are in order, and a boundary of 0 (not published) is left
    // out of the comparison.
    void exampleHasNoQuartileWarnings() {
        const refdata::ImportOutcome o = runImport(exampleFolder(), oldTarget());
        QCOMPARE(o.issues.warnings().size(), std::size_t(0));
    }

    void leftOverColumnsAndFilesWarn() {
        const QString source = freshSource();
        QVERIFY(edit(source, kNS2011, QStringLiteral("suffix"), 1, {}, ",Remark"));
        for (int l = 2; l <= 6; ++l)
            QVERIFY(edit(source, kNS2011, QStringLiteral("suffix"), l, {}, ",see notes"));
        QVERIFY(writeAll(QDir(source).filePath(QStringLiteral("notes.csv")), "a,b\n"));
        const QString target = oldTarget();
        const refdata::ImportOutcome o = runImport(source, target);
        QVERIFY(o.written);
        const refdata::Issue* column = findIssue(o.issues.warnings(), Msg::ExtraColumn);
        QVERIFY(column);
        QCOMPARE(column->column, QStringLiteral("Remark"));
        QCOMPARE(column->line, 1);
        QVERIFY(findIssue(o.issues.warnings(), Msg::ExtraFile));
        Db db(target);
        QCOMPARE(db.scalar(QStringLiteral(
                               "SELECT count(*) FROM pragma_table_info('ZEBRO_Vol3_NS_2011_Final_Ratios') "
                               "WHERE name = 'Remark'"))
                     .toInt(),
                 0);
    }

    // The same figures in Windows-1252 with semicolons, with decimal commas, and in
    // UTF-8 with a byte-order mark give the same database, and the report says which.
    void otherEncodingsAndSeparators() {
        const QString plain = oldTarget();
        QVERIFY(runImport(exampleFolder(), plain).written);
        const QString source = freshSource();
        QVERIFY(copyFolder(variantsFolder(), source));
        QVERIFY(readAll(QDir(source).filePath(kTree))
                    .contains("d\x92"
                              "entreprises")); // a Windows-1252 apostrophe
        const QString target = oldTarget();
        const refdata::ImportOutcome o = runImport(source, target);
        QVERIFY2(o.written, qPrintable(allErrors(o)));
        QCOMPARE(contents(target), contents(plain));

        QMap<QString, refdata::FileFormat> formats;
        for (const refdata::FileSummary& f : o.files)
            formats.insert(f.file, f.format);
        QCOMPARE(formats[kTree].encoding, csv::Encoding::Windows1252);
        QCOMPARE(formats[kTree].separator, ';');
        QCOMPARE(formats[kNS2011].separator, ';');
        QCOMPARE(formats[kNS2011].decimalMark, QChar(u','));
        QCOMPARE(formats[kOptions].encoding, csv::Encoding::Utf8WithBom);
        QCOMPARE(formats[kRaw].decimalMark, QChar(u'.'));
        const QStringList report = refdata::reportLines(o, {source, target, {}, {}}, Language::E);
        QVERIFY(report.contains(
            QStringLiteral("tblTreeview.csv: 6 rows; Windows-1252, separator ';', decimal point")));
        QVERIFY(report.contains(QStringLiteral(
            "ZEBRO_Vol3_NS_2011_Final_Ratios.csv: 5 rows; UTF-8, separator ';', decimal comma")));
        QVERIFY(report.contains(
            QStringLiteral("datadescription.csv: 19 rows; UTF-8 (BOM), separator ',', decimal point")));
    }

    void sourceNameWithoutProvenanceFile() {
        const QString source = freshSource();
        QVERIFY(QFile::remove(QDir(source).filePath(QStringLiteral("Provenance.csv"))));
        const refdata::ImportOutcome o = runImport(source, oldTarget());
        QVERIFY(o.written);
        QCOMPARE(o.sourceName, QFileInfo(source).fileName());
    }

    void badTarget_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<Msg>("msg");
        QTest::newRow("a folder") << QStringLiteral("folder") << Msg::TargetIsFolder;
        QTest::newRow("no such folder") << QStringLiteral("no/such/KLV_DATA.db") << Msg::TargetFolderMissing;
    }
    void badTarget() {
        QFETCH(QString, target);
        QFETCH(Msg, msg);
        QTemporaryDir d;
        QDir(d.path()).mkpath(QStringLiteral("folder"));
        const refdata::ImportOutcome o = runImport(exampleFolder(), d.filePath(target));
        QVERIFY(!o.written);
        QVERIFY(findIssue(o.issues.errors(), msg));
    }

    // A row that fails late while writing (the file changed after it was checked): the
    // database built so far is thrown away.
    void failingRowLateInAFile() {
        const QString source = freshSource();
        const QString target = oldTarget();
        const QString late = QStringLiteral("ZEBRO_Vol3_YT_2010_Final_Ratios.csv");
        bool changed = false;
        int lastFileSeen = 0;
        const refdata::ImportOutcome o = runImport(source, target, [&](const refdata::Progress& p) {
            if (p.stage == refdata::Progress::Stage::Writing && p.fileIndex == 10 && !changed) {
                changed = edit(source, late, QStringLiteral("replace"), 4, ",100,", ",1OO,");
            }
            lastFileSeen = p.fileIndex;
            return true;
        });
        QVERIFY(changed);
        QVERIFY(!o.written);
        const refdata::Issue* issue = findIssue(o.issues.errors(), Msg::NotANumber);
        QVERIFY2(issue, qPrintable(allErrors(o)));
        QCOMPARE(issue->file, late);
        QCOMPARE(issue->line, 4);
        QVERIFY(lastFileSeen > 50); // the late file was reached
        QCOMPARE(readAll(target), kOldDatabase);
        QCOMPARE(leftovers(QFileInfo(target).path(), target), QStringList());
    }

    void stoppedWhileWriting() {
        const QString target = oldTarget();
        const refdata::ImportOutcome o = runImport(exampleFolder(), target, [](const refdata::Progress& p) {
            return !(p.stage == refdata::Progress::Stage::Writing && p.fileIndex == 30);
        });
        QVERIFY(!o.written);
        QVERIFY(findIssue(o.issues.errors(), Msg::Stopped));
        QCOMPARE(readAll(target), kOldDatabase);
        QCOMPARE(leftovers(QFileInfo(target).path(), target), QStringList());
    }

    void progressCoversEveryFileAndRow() {
        QList<refdata::Progress> seen;
        const refdata::ImportOutcome o =
            runImport(exampleFolder(), oldTarget(), [&](const refdata::Progress& p) {
                seen << p;
                return true;
            });
        QVERIFY(o.written);
        int checking = 0, writing = 0;
        for (const refdata::Progress& p : seen) {
            QCOMPARE(p.fileCount, 59);
            if (p.stage == refdata::Progress::Stage::Checking)
                ++checking;
            else {
                ++writing;
                QCOMPARE(p.totalRows, o.rows);
            }
        }
        QCOMPARE(checking, 59);
        QVERIFY(writing >= 59);
        QCOMPARE(seen.back().fileIndex, 59);
    }

    // A killed import process leaves the old database whole, and the next import
    // succeeds in spite of what the killed one left behind.
    void killedProcess() {
        const QString source = freshSource();
        // Many industries, so that writing takes a while.
        const int industries = 3000;
        QList<QByteArray> raw = lines(QDir(source).filePath(kRaw));
        QList<QByteArray> detailed = lines(QDir(source).filePath(kDetailed));
        for (int i = 0; i < industries; ++i) {
            const QByteArray code = QByteArray::number(300000 + i);
            const QByteArray row = code + ",Industry " + code + ",Industrie " + code + ",,,IndTRETAIL,Ind" +
                                   code + ',' + QByteArray::number(10 + i);
            raw << row;
            detailed << row;
        }
        QVERIFY(writeLines(QDir(source).filePath(kRaw), raw));
        QVERIFY(writeLines(QDir(source).filePath(kDetailed), detailed));
        const QList<QByteArray> example = lines(QDir(source).filePath(kNS2011));
        const QByteArray figures = example[1].mid(example[1].indexOf(",\"Plumbing") + 1);
        QList<QByteArray> big{example[0]};
        for (int i = 0; i < industries; ++i)
            big << QByteArray::number(300000 + i) + ',' + figures;
        // Only the tables of 2011, each with every industry.
        for (const QString& f : QDir(source).entryList({QStringLiteral("ZEBRO_Vol*_Final_Ratios.csv")})) {
            if (f.contains(QLatin1String("_2011_")))
                QVERIFY(writeLines(QDir(source).filePath(f), big));
            else
                QVERIFY(QFile::remove(QDir(source).filePath(f)));
        }

        const QString target = oldTarget();
        QVERIFY(runImport(exampleFolder(), target).written); // the "old" database: the example's
        const QByteArray before = sha256(target);

        QProcess child;
        child.start(QStringLiteral(REFDATA_IMPORT_CHILD), {source, target});
        QVERIFY(child.waitForStarted());
        bool writing = false;
        while (!writing && child.state() == QProcess::Running) {
            if (!child.canReadLine() && !child.waitForReadyRead(60000)) break;
            while (child.canReadLine())
                if (child.readLine().startsWith("writing 6/")) writing = true;
        }
        QVERIFY2(writing, "the child reached the writing of its second file");
        child.kill();
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        QCOMPARE(sha256(target), before);
        {
            Db db(target);
            QCOMPARE(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
            QCOMPARE(
                db.scalar(QStringLiteral("SELECT count(*) FROM ZEBRO_Vol1_ALL_2011_Final_Ratios")).toInt(),
                6);
        }
        // The next import takes over the stale lock and partial file.
        const refdata::ImportOutcome again = runImport(exampleFolder(), target);
        QVERIFY2(again.written, qPrintable(allErrors(again)));
        QCOMPARE(leftovers(QFileInfo(target).path(), target), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestReferenceImport)
#include "test_reference_import.moc"
