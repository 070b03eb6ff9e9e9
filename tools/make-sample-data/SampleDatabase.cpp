#include "SampleDatabase.h"

#include "Descriptions.h"
#include "FigureModel.h"
#include "Gaps.h"
#include "data/DatasetOptions.h"
#include "data/FileWriter.h"
#include "refdata/Provenance.h"
#include "refdata/ReferenceSchema.h"
#include "report/RatioTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <stdexcept>

namespace sampledata {

namespace {

constexpr const char* kDetailedTable = "ZEBRO_NAICS_Description_Ind_Detailed";
constexpr const char* kRawTable = "ZEBRO_NAICS_Description_Ind_Raw";
// Columns of a dataset table that are not REAL.
constexpr int kLeadingColumns = 3;

// Creates a table with the columns and types every reference database has.
void createTable(QSqlDatabase& db, const QString& name);

[[noreturn]] void failQuery(const QSqlQuery& q, const QString& what) {
    throw std::runtime_error(QStringLiteral("%1: %2").arg(what, q.lastError().text()).toStdString());
}

void exec(QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    if (!q.exec(sql)) failQuery(q, sql);
}

QSqlQuery prepare(QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    if (!q.prepare(sql)) failQuery(q, sql);
    return q;
}

void run(QSqlQuery& q) {
    if (!q.exec()) failQuery(q, q.lastQuery());
}

QString quoted(const QString& identifier) {
    return QLatin1Char('"') + identifier + QLatin1Char('"');
}

QVariant textOrNull(const QString& s) {
    return s.isEmpty() ? QVariant() : QVariant(s);
}

// A private connection, closed and forgotten however the writing ends; closing it
// with the transaction open discards the transaction.
class Connection {
public:
    explicit Connection(const QString& path) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name());
        db.setDatabaseName(path);
    }
    ~Connection() {
        QSqlDatabase::database(name(), false).close();
        QSqlDatabase::removeDatabase(name());
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QSqlDatabase database() const { return QSqlDatabase::database(name(), false); }

private:
    static QString name() { return QStringLiteral("make-sample-data"); }
};

QString placeholders(qsizetype n) {
    QStringList marks;
    for (qsizetype i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1Char(','));
}

void writeDescriptions(QSqlDatabase& db) {
    createTable(db, QStringLiteral("datadescription"));
    QSqlQuery q = prepare(
        db,
        QStringLiteral("INSERT INTO datadescription (optname, descriptione, descriptionf) VALUES (?,?,?)"));
    for (const DatasetOption& o : datasets::options()) {
        q.addBindValue(QString::fromLatin1(o.controlName));
        q.addBindValue(datasetDescription(o, false));
        q.addBindValue(datasetDescription(o, true));
        run(q);
    }
}

void writeTree(QSqlDatabase& db, const Catalogue& catalogue) {
    createTable(db, QStringLiteral("tblTreeview"));
    QSqlQuery q =
        prepare(db, QStringLiteral("INSERT INTO tblTreeview (NodeKey, Parent, IndDescE, IndDescF, sequence) "
                                   "VALUES (?,?,?,?,?)"));
    for (const Folder& f : catalogue.folders()) {
        q.addBindValue(f.key);
        q.addBindValue(textOrNull(f.parent)); // NULL for a top-level folder
        q.addBindValue(f.titleE);
        q.addBindValue(f.titleF);
        q.addBindValue(f.sequence);
        run(q);
    }
}

void writeIndustries(QSqlDatabase& db, const Catalogue& catalogue, const char* table, bool withFinance) {
    createTable(db, QLatin1String(table));
    QSqlQuery q =
        prepare(db, QStringLiteral("INSERT INTO %1 (NAICS, Description, Description_french, definitione, "
                                   "definitionf, Parent, NodeKey, sequence) VALUES (?,?,?,?,?,?,?,?)")
                        .arg(QLatin1String(table)));
    for (const Industry& ind : catalogue.industries()) {
        if (ind.finance && !withFinance) continue;
        q.addBindValue(ind.naics);
        q.addBindValue(ind.titleE);
        q.addBindValue(ind.titleF);
        q.addBindValue(textOrNull(ind.definitionE));
        q.addBindValue(textOrNull(ind.definitionF));
        q.addBindValue(ind.folder);
        q.addBindValue(ind.nodeKey());
        q.addBindValue(ind.sequence);
        run(q);
    }
}

void writeDataset(QSqlDatabase& db, const Catalogue& catalogue, const DatasetOption& option, int year,
                  const QStringList& columns) {
    const QString table = datasetTableName(option.tablePrefix, year);
    createTable(db, table);
    if (gaps::tableEmpty(option, year)) return;

    QSqlQuery q =
        prepare(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(quoted(table), columns.join(QLatin1Char(',')), placeholders(columns.size())));
    for (const Industry& ind : catalogue.industries()) {
        if (!inDataset(option, ind)) continue;
        q.addBindValue(ind.naics);
        q.addBindValue(ind.titleE);
        if (gaps::rowSuppressed(option, ind, year)) {
            for (qsizetype i = 2; i < columns.size(); ++i)
                q.addBindValue(QVariant());
        } else {
            DatasetRow row = figures(option, ind, year);
            if (const auto zeroed = gaps::zeroedBoundary(option, ind, year)) row.values.insert(*zeroed, 0.0);
            if (row.values.size() != columns.size() - kLeadingColumns)
                throw std::runtime_error("the figures do not match the dataset columns");
            q.addBindValue(row.firms);
            for (qsizetype i = kLeadingColumns; i < columns.size(); ++i) {
                const auto it = row.values.constFind(columns[i]);
                if (it == row.values.cend())
                    throw std::runtime_error("no figure for column " + columns[i].toStdString());
                q.addBindValue(*it);
            }
        }
        run(q);
    }
}

void createTable(QSqlDatabase& db, const QString& name) {
    const std::optional<refschema::Table> table = refschema::find(name);
    if (!table) throw std::runtime_error("not a table of the reference database: " + name.toStdString());
    exec(db, refschema::createStatement(*table));
}

// Records that the figures are the generated sample, with each table's number of rows.
// No date: the database is the same whenever it is built.
void writeProvenance(QSqlDatabase& db) {
    std::vector<provenance::TableCount> counts;
    for (const refschema::Table& t : refschema::tables()) {
        if (t.kind == refschema::TableKind::Provenance) continue;
        QSqlQuery present = prepare(
            db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?"));
        present.addBindValue(t.name);
        run(present);
        if (!present.next() || present.value(0).toInt() == 0) continue;
        QSqlQuery rows(db);
        if (!rows.exec(
                QStringLiteral("SELECT count(*) FROM %1").arg(quoted(refschema::checkedName(t.name)))) ||
            !rows.next())
            failQuery(rows, t.name);
        counts.push_back({t.name, rows.value(0).toLongLong()});
    }
    createTable(db, QLatin1String(refschema::ProvenanceTable));
    QSqlQuery insert = prepare(db, provenance::insertStatement());
    for (const QVariantList& row :
         provenance::rows(QLatin1String(provenance::SyntheticSample), QDate(), counts)) {
        for (const QVariant& v : row)
            insert.addBindValue(v);
        run(insert);
    }
}

} // namespace

QString datasetTableName(const char* tablePrefix, int year) {
    return QString::fromLatin1(tablePrefix) + QString::number(year) + QStringLiteral("_Final_Ratios");
}

void writeSampleDatabase(const QString& path, const Catalogue& catalogue) {
    for (const Industry& ind : catalogue.industries())
        if (!isKnownProfile(ind.profile))
            throw std::runtime_error(QStringLiteral("industry %1 names unknown profile %2")
                                         .arg(ind.naics, ind.profile)
                                         .toStdString());
    for (const DatasetOption& o : datasets::options())
        if (!isKnownRegion(QString::fromLatin1(o.region)))
            throw std::runtime_error(std::string("no figures for region ") + o.region);
    gaps::checkPinnedCases(catalogue);

    const Connection connection(path);
    QSqlDatabase db = connection.database();
    if (!db.open())
        throw std::runtime_error("cannot create " + path.toStdString() + ": " +
                                 db.lastError().text().toStdString());
    // One transaction: far faster than a commit per row, and all or nothing.
    if (!db.transaction())
        throw std::runtime_error("cannot start a transaction: " + db.lastError().text().toStdString());
    writeDescriptions(db);
    writeTree(db, catalogue);
    writeIndustries(db, catalogue, kDetailedTable, true);
    writeIndustries(db, catalogue, kRawTable, false);
    const QStringList columns = ratios::datasetColumns();
    for (const DatasetOption& o : datasets::options())
        for (int year : datasets::kReferenceYears)
            if (!gaps::tableOmitted(o, year)) writeDataset(db, catalogue, o, year, columns);
    writeProvenance(db);
    exec(db, QStringLiteral("PRAGMA user_version = %1").arg(refschema::kUserVersion));
    if (!db.commit()) throw std::runtime_error("cannot commit: " + db.lastError().text().toStdString());
}

void buildSampleDatabase(const QString& output) {
    const QFileInfo target(output);
    if (target.isDir()) throw std::runtime_error(output.toStdString() + " is a folder");
    if (!target.absoluteDir().exists()) throw std::runtime_error("no folder for " + output.toStdString());
    // Written by the program's one file writer: the database that was there stays until the
    // new one is whole, and an interrupted run leaves nothing that a later one would mistake.
    try {
        FileWriter file(output, Language::E, FileWriter::Content::ByName,
                        pathguard::Replaces::ReferenceDatabase);
        writeSampleDatabase(file.temporaryPath(), Catalogue::fromResources());
        file.commit();
    } catch (const WriteFailure& e) {
        throw std::runtime_error(e.description().toStdString());
    }
}

} // namespace sampledata
