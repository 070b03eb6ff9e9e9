#include "userdb/UserDatabase.h"

#include "data/Catalogue.h"
#include "data/FileWriter.h"
#include "firm/LineItems.h"
#include "platform/Platform.h"
#include "report/RatioTable.h"
#include "report/ReportTitles.h"
#include "report/StatementColumns.h"
#include "text/Language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace userdb {

namespace {

struct Column {
    QString name;
    QString type;
};

QString createTable(const QString& table, const QList<Column>& columns, const QString& extra = QString()) {
    QStringList defs;
    for (const Column& c : columns)
        defs << QStringLiteral("\"") + c.name + QStringLiteral("\" ") + c.type;
    if (!extra.isEmpty()) defs << extra;
    return QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table, defs.join(QStringLiteral(", ")));
}

QList<Column> datasetColumnDefs() {
    QList<Column> cols;
    for (const QString& c : ratios::datasetColumns()) {
        QString type = QStringLiteral("REAL");
        if (c == QLatin1String("NAICS") || c == QLatin1String("IndustryDescription"))
            type = QStringLiteral("TEXT");
        else if (c == QLatin1String("NumberOfFirms"))
            type = QStringLiteral("INTEGER");
        cols << Column{c, type};
    }
    return cols;
}

QList<Column> comparisonColumnDefs() {
    QList<Column> cols{{QStringLiteral("MyFirmName"), QStringLiteral("TEXT")},
                       {QStringLiteral("MyYear"), QStringLiteral("INTEGER")},
                       {QStringLiteral("MyNAICS"), QStringLiteral("TEXT")},
                       {QStringLiteral("MyIndustry"), QStringLiteral("TEXT")}};
    const QString real = QStringLiteral("REAL");
    // The comparison keeps no sales figure of the firm: sales only enter the ratios.
    for (const lineitems::LineItem& item : lineitems::all())
        if (qstrcmp(item.column, "Sales") != 0)
            cols << Column{QStringLiteral("My") + QLatin1String(item.column), real};
    for (const ratios::Ratio& r : ratios::all())
        cols << Column{QLatin1String(r.firmColumn), real};
    for (const ratios::Ratio& r : ratios::all())
        cols << Column{ratios::betterColumn(r), real};
    for (const ratios::Ratio& r : ratios::all())
        cols << Column{ratios::worseColumn(r), real};
    for (const ratios::Variance& v : ratios::variances())
        cols << Column{QLatin1String(v.column), real};
    // The statement as entered, printed by the comparison report.
    for (const QString& c : statementcolumns::all())
        cols << Column{c, real};
    cols << Column{QStringLiteral("MyVol"), QStringLiteral("TEXT")};
    cols << Column{QStringLiteral("NumberOfFirms"), QStringLiteral("INTEGER")};
    for (const QString& c : ratios::industryFigureCopyOrder())
        cols << Column{c, real};
    for (const QString& c : ratios::shareCopyOrder())
        cols << Column{c, real};
    return cols;
}

QList<Column> titleColumnDefs(const reporttitles::TitleTable& t) {
    QList<Column> cols{{QStringLiteral("Language"), QStringLiteral("TEXT")}};
    for (const reporttitles::Label& l : t.labels)
        cols << Column{QLatin1String(l.column), QStringLiteral("TEXT")};
    return cols;
}

// Tables the program owns and may rebuild at an upgrade; everything except the firm records.
QStringList programOwnedStatements() {
    QStringList s;
    for (int k = 0; k < 3; ++k)
        s << createTable(catalogue::workingTable(k), datasetColumnDefs());
    s << createTable(QLatin1String(catalogue::RptComparison), comparisonColumnDefs());
    for (const reporttitles::TitleTable& t : reporttitles::tables()) {
        s << createTable(QLatin1String(t.source), titleColumnDefs(t));
        s << createTable(QLatin1String(t.table), titleColumnDefs(t));
    }
    s << createTable(QLatin1String(catalogue::VolumeDescriptions),
                     {{QStringLiteral("Volume"), QStringLiteral("INTEGER")},
                      {QStringLiteral("Language"), QStringLiteral("TEXT")},
                      {QStringLiteral("Title1"), QStringLiteral("TEXT")},
                      {QStringLiteral("Title2"), QStringLiteral("TEXT")},
                      {QStringLiteral("LargeMedianDesc"), QStringLiteral("TEXT")},
                      {QStringLiteral("MediumMedianDesc"), QStringLiteral("TEXT")}},
                     QStringLiteral("PRIMARY KEY (Volume, Language)"));
    s << createTable(QLatin1String(catalogue::ProvinceCodes),
                     {{QStringLiteral("Code"), QStringLiteral("TEXT PRIMARY KEY")},
                      {QStringLiteral("English"), QStringLiteral("TEXT")},
                      {QStringLiteral("French"), QStringLiteral("TEXT")}});
    return s;
}

QStringList programOwnedTables() {
    QStringList t{catalogue::workingTable(0), catalogue::workingTable(1), catalogue::workingTable(2),
                  QLatin1String(catalogue::RptComparison)};
    for (const reporttitles::TitleTable& tt : reporttitles::tables())
        t << QLatin1String(tt.source) << QLatin1String(tt.table);
    t << QLatin1String(catalogue::VolumeDescriptions) << QLatin1String(catalogue::ProvinceCodes);
    return t;
}

QString myValuesStatement() {
    QList<Column> cols{{QStringLiteral("FirmName"), QStringLiteral("TEXT NOT NULL")},
                       {QStringLiteral("Year"), QStringLiteral("INTEGER NOT NULL")},
                       {QStringLiteral("NAICS"), QStringLiteral("TEXT")}};
    for (const lineitems::LineItem& item : lineitems::all())
        cols << Column{QLatin1String(item.column), QStringLiteral("REAL")};
    return createTable(QLatin1String(catalogue::MyValues), cols, QStringLiteral("UNIQUE (FirmName, Year)"));
}

void insertShippedRows(Connection& cn) {
    for (const reporttitles::TitleTable& t : reporttitles::tables()) {
        QStringList cols{QStringLiteral("Language")};
        for (const reporttitles::Label& l : t.labels)
            cols << QLatin1String(l.column);
        const QString marks = QStringList(cols.size(), QStringLiteral("?")).join(u',');
        const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(QLatin1String(t.source), cols.join(u','), marks);
        for (const Language language : {Language::E, Language::F}) {
            QVariantList values{language::letter(language)};
            for (const reporttitles::Label& l : t.labels) {
                const char* text = language == Language::F ? l.french : l.english;
                values << (text ? QVariant(QString::fromUtf8(text)) : QVariant());
            }
            ExecCmdInDB(cn, sql, values);
        }
    }
    for (const reporttitles::VolumeDescription& v : reporttitles::volumeDescriptions())
        ExecCmdInDB(cn,
                    QStringLiteral(
                        "INSERT INTO Volume_Descriptions (Volume, Language, Title1, Title2, LargeMedianDesc, "
                        "MediumMedianDesc) VALUES (?,?,?,?,?,?)"),
                    {v.volume, QString::fromLatin1(v.language), QString::fromUtf8(v.title1),
                     QString::fromUtf8(v.title2), QString::fromUtf8(v.largeMedianDesc),
                     QString::fromUtf8(v.mediumMedianDesc)});
    for (const reporttitles::ProvinceName& p : reporttitles::provinceNames())
        ExecCmdInDB(cn, QStringLiteral("INSERT INTO ProvinceCodes (Code, English, French) VALUES (?,?,?)"),
                    {QString::fromLatin1(p.code), QString::fromUtf8(p.english), QString::fromUtf8(p.french)});
}

int userVersion(Connection& cn) {
    RecordsetPtr rs = GetRS(cn, QStringLiteral("PRAGMA user_version"), QStringLiteral("read"));
    return rs->eof() ? 0 : rs->field(0).toInt();
}

void setUserVersion(Connection& cn) {
    // A pragma takes no bound parameter; the value is the program's own constant.
    ExecCmdInDB(cn, QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
}

} // namespace

QStringList schemaStatements() {
    QStringList s{myValuesStatement()};
    s << programOwnedStatements();
    return s;
}

void build(const QString& file) {
    Connection cn;
    ConnectToFile(cn, file, QStringLiteral("unknown"));
    {
        Transaction tx(cn);
        for (const QString& statement : schemaStatements())
            ExecCmdInDB(cn, statement);
        insertShippedRows(cn);
        tx.commit();
    }
    setUserVersion(cn);
    DisconnectFromDB(cn);
}

void create(const QString& path) {
    // Built under a temporary name by the one file writer, so that a failed creation leaves
    // no half-made file. A failure is worded in English: it comes before any language is
    // chosen, and it ends the program with the report of a fatal error.
    FileWriter file(path, Language::E, FileWriter::Content::ByName, pathguard::Replaces::UserDatabase);
    build(file.temporaryPath());
    file.commit();
}

void ensureExists(const QString& path) {
    if (!QFileInfo::exists(path)) create(path);
}

std::optional<QString> foreignPart(Connection& cn) {
    QStringList ours = programOwnedTables();
    ours << QLatin1String(catalogue::MyValues);
    RecordsetPtr rs = GetRS(
        cn,
        QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view') AND name NOT LIKE "
                       "'sqlite\\_%' ESCAPE '\\' ORDER BY name"),
        QStringLiteral("read"));
    bool hasMyValues = false;
    for (; !rs->eof(); rs->moveNext()) {
        const QString name = rs->field(0).toString();
        if (!ours.contains(name, Qt::CaseInsensitive)) return name;
        if (name.compare(QLatin1String(catalogue::MyValues), Qt::CaseInsensitive) == 0) hasMyValues = true;
    }
    if (!hasMyValues) return std::nullopt;
    // The firm records keep their columns from one version to the next: any other set is
    // another program's table of the same name.
    QStringList expected{QStringLiteral("FirmName"), QStringLiteral("Year"), QStringLiteral("NAICS")};
    for (const lineitems::LineItem& item : lineitems::all())
        expected << QLatin1String(item.column);
    QStringList found;
    for (RecordsetPtr c = GetRS(cn, QStringLiteral("PRAGMA table_info(MyValues)"), QStringLiteral("read"));
         !c->eof(); c->moveNext())
        found << c->field(1).toString();
    for (const QString& column : found)
        if (!expected.contains(column, Qt::CaseInsensitive))
            return QLatin1String(catalogue::MyValues) + u'.' + column;
    for (const QString& column : expected)
        if (!found.contains(column, Qt::CaseInsensitive))
            return QLatin1String(catalogue::MyValues) + QStringLiteral(" (") + column + u')';
    return std::nullopt;
}

bool needsUpgrade(Connection& cn) {
    return userVersion(cn) < kSchemaVersion;
}

void upgrade(Connection& cn) {
    const int version = userVersion(cn);
    if (version == kSchemaVersion) return;
    if (version > kSchemaVersion)
        throw FatalError(
            errnum::NewerSchema,
            QStringLiteral(
                "The user database '%1' was written by a newer version of the program (schema %2).")
                .arg(cn->filePath())
                .arg(version));
    Transaction tx(cn);
    RecordsetPtr existing =
        GetRS(cn, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?"),
              QStringLiteral("read"), {QLatin1String(catalogue::MyValues)});
    if (existing->eof()) ExecCmdInDB(cn, myValuesStatement());
    for (const QString& t : programOwnedTables())
        ExecCmdInDB(cn, QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(t));
    for (const QString& statement : programOwnedStatements())
        ExecCmdInDB(cn, statement);
    insertShippedRows(cn);
    tx.commit();
    setUserVersion(cn);
}

} // namespace userdb
