#include "firm/FirmRecords.h"

#include "data/Catalogue.h"
#include "data/NameCollation.h"
#include "data/PreparedCommand.h"
#include "firm/ValueText.h"
#include "platform/Platform.h"
#include "text/StringTable.h"

#include <algorithm>
#include <vector>

namespace firmrecords {

namespace {

constexpr int kPromptEntry = 544;

QString myValues() {
    return catalogue::table(QLatin1String(catalogue::MyValues));
}

// The year column holds whole numbers; a year text that is not one matches no row.
std::optional<int> yearNumber(const QString& year) {
    bool ok = false;
    const int y = year.trimmed().toInt(&ok);
    return ok ? std::optional<int>(y) : std::nullopt;
}

QString storedText(const QVariant& v) {
    // A null (a row written by another tool) reads as an empty box would: 0.
    if (v.isNull()) return QStringLiteral("0");
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        throw FatalError(errnum::TypeMismatch,
                         QStringLiteral("Type mismatch: '%1' is not a number").arg(v.toString()));
    return valuetext::storedText(d); // what reads back as the same number, the largest amount included
}

// A name as a message shows it: a control character in it as its code ("\\x00").
QString shownName(const QString& name) {
    QString shown;
    for (const QChar c : name)
        shown += c.category() == QChar::Other_Control
                     ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                     : QString(c);
    return shown;
}

QString yearText(const QVariant& v) {
    bool ok = false;
    const qlonglong y = v.toLongLong(&ok);
    return ok ? QString::number(y) : v.toString();
}

// The order of the open dialog's list: firm name with letter case aside (the name as
// stored breaks ties between spellings), then year. The local file's engine sorts by the
// collation the program registers on its connections; the records server's collations
// differ from one server to the next, so its rows are sorted here by the same rule.
QString listOrderBy() {
    return QStringLiteral(" ORDER BY FirmName COLLATE %1, Year").arg(QLatin1String(kNameCollation));
}

// A row's place in the list, worked out once per row rather than at every comparison of
// the sort: with 100,000 stored firms the sort compares a couple of million pairs.
struct ListKey {
    QByteArray name; // UTF-8, as the collation compares it
    qlonglong year;
    qsizetype row;
};

bool listsBefore(const ListKey& a, const ListKey& b) {
    if (const int byName = compareNames(a.name, b.name); byName != 0) return byName < 0;
    return a.year < b.year;
}

// The rows of a recordset in list order, by the columns of the name and the year.
QList<QVariantList> rowsInListOrder(Recordset& rs) {
    QList<QVariantList> rows;
    std::vector<ListKey> keys;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        QVariantList row;
        row.reserve(rs.fieldCount());
        for (int i = 0; i < rs.fieldCount(); ++i)
            row << rs.field(i);
        keys.push_back({row[0].toString().toUtf8(), row[1].toLongLong(), rows.size()});
        rows << std::move(row);
    }
    rs.moveFirst();
    std::stable_sort(keys.begin(), keys.end(), listsBefore);
    QList<QVariantList> sorted;
    sorted.reserve(rows.size());
    for (const ListKey& k : keys)
        sorted << std::move(rows[k.row]);
    return sorted;
}

// A query of MyValues whose first two columns are the name and the year, in list order.
RecordsetPtr inListOrder(Connection& cn, const QString& sql) {
    if (cn->engine() == Engine::SQLite) return GetRS(cn, sql + listOrderBy(), QStringLiteral("read"));
    RecordsetPtr rs = GetRS(cn, sql, QStringLiteral("read"));
    return std::make_shared<Recordset>(rs->fieldNames(), rowsInListOrder(*rs));
}

// The same rows handed on one at a time: the local file's are never held together.
void forEachInListOrder(Connection& cn, const QString& sql,
                        const std::function<void(const QVariantList& row)>& each) {
    if (cn->engine() == Engine::SQLite) return forEachRow(cn, sql + listOrderBy(), {}, each);
    RecordsetPtr rs = inListOrder(cn, sql);
    QVariantList row(rs->fieldCount());
    for (; !rs->eof(); rs->moveNext()) {
        for (int i = 0; i < rs->fieldCount(); ++i)
            row[i] = rs->field(i);
        each(row);
    }
}

QStringList storedColumns() {
    QStringList columns{QStringLiteral("FirmName"), QStringLiteral("Year"), QStringLiteral("NAICS")};
    for (int i = 0; i < lineitems::kCount; ++i)
        columns << QLatin1String(lineitems::all()[i].column);
    return columns;
}

// A row of the stored columns, in their order.
FirmStatement firmOfRow(const QVariantList& row) {
    FirmStatement firm;
    firm.firmName = row[0].toString();
    firm.year = yearText(row[1]);
    firm.naics = row[2].toString();
    for (int i = 0; i < lineitems::kCount; ++i)
        firm.values[i] = storedText(row[3 + i]);
    return firm;
}

FirmStatement firmOf(const Recordset& rs) {
    FirmStatement firm;
    firm.firmName = rs.field(QStringLiteral("FirmName")).toString();
    firm.year = yearText(rs.field(QStringLiteral("Year")));
    firm.naics = rs.field(QStringLiteral("NAICS")).toString();
    for (int i = 0; i < lineitems::kCount; ++i)
        firm.values[i] = storedText(rs.field(QLatin1String(lineitems::all()[i].column)));
    return firm;
}

int storedYear(const FirmStatement& firm) {
    const auto y = yearNumber(firm.year);
    if (!y)
        throw FatalError(errnum::TypeMismatch,
                         QStringLiteral("Type mismatch: the year '%1' is not a number").arg(firm.year));
    return *y;
}

// The statements that store rows (the name, the year, the NAICS code, then the 32
// values), prepared once for a whole list, run inside the caller's transaction.
class RowWriter {
public:
    explicit RowWriter(Connection& cn)
        : stored_(cn, QStringLiteral("SELECT 1 FROM %1 WHERE FirmName = ? AND Year = ?").arg(myValues())),
          delete_(cn, QStringLiteral("DELETE FROM %1 WHERE FirmName = ? AND Year = ?").arg(myValues())),
          insert_(cn, insertSql()) {}

    bool isStored(const QVariantList& values) { return stored_.hasRow({values[0], values[1]}); }

    void replace(const QVariantList& values) {
        delete_.run({values[0], values[1]});
        insert_.run(values);
    }

private:
    static QString insertSql() {
        const QStringList columns = storedColumns();
        const QString marks = QStringList(columns.size(), QStringLiteral("?")).join(u',');
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(myValues(), columns.join(u','), marks);
    }

    PreparedCommand stored_;
    PreparedCommand delete_;
    PreparedCommand insert_;
};

QVariantList rowOf(const FirmStatement& firm) {
    QVariantList values{firm.firmName, storedYear(firm), firm.naics};
    values.reserve(3 + lineitems::kCount);
    for (int i = 0; i < lineitems::kCount; ++i)
        values << valuetext::toDouble(firm.values[i]);
    return values;
}

// The callers tell the user about a name outside the rule before they store anything;
// one that still comes this far is the program's fault.
void requireStorableName(const QString& firmName) {
    if (nameProblem(firmName, Language::E))
        throw FatalError(errnum::InternalError,
                         QStringLiteral("A firm name outside the rule of the records reached the store"));
}

} // namespace

QStringList referenceYears() {
    return {QStringLiteral("2009"), QStringLiteral("2010"), QStringLiteral("2011")};
}

QString preselectedYear() {
    return QStringLiteral("2011");
}

bool isUsableName(const QString& firmName, Language language) {
    if (firmName.trimmed().isEmpty()) return false;
    return firmName != strings::text(kPromptEntry, language);
}

std::optional<QString> nameProblem(const QString& firmName, Language language) {
    const QList<uint> characters = firmName.toUcs4();
    for (qsizetype i = 0; i < characters.size(); ++i)
        if (QChar::category(static_cast<char32_t>(characters[i])) == QChar::Other_Control)
            return strings::text("firm.name.control", language).arg(i + 1);
    if (characters.size() > kMaxNameLength)
        return strings::text("firm.name.long", language).arg(characters.size()).arg(kMaxNameLength);
    return std::nullopt;
}

bool exists(Connection& cn, const QString& firmName, const QString& year) {
    const auto y = yearNumber(year);
    if (!y) return false;
    RecordsetPtr rs =
        GetRS(cn, QStringLiteral("SELECT 1 FROM %1 WHERE FirmName = ? AND Year = ?").arg(myValues()),
              QStringLiteral("read"), {firmName, *y});
    return !rs->eof();
}

void store(Connection& cn, const FirmStatement& firm) {
    storedYear(firm); // a year that is no number is refused before the transaction starts
    requireStorableName(firm.firmName);
    // Another adviser saving the same firm and year at the same moment makes the server
    // undo one of the two; that one runs again and replaces the other's row.
    runTransaction(cn, [&] { RowWriter(cn).replace(rowOf(firm)); });
}

namespace {

// A row whose name and year are stored already, found by the refusing check.
struct RefusedRow {
    qsizetype index;
};

// Stores rows (name, year, NAICS, 32 values) in one transaction, all or none; with
// Existing::Refuse the index of the first whose name and year are stored already. The
// check and the writes run in the same transaction.
// rowAt gives the rows one at a time, so that a long list is not held a second time
// as rows beside the caller's firms.
std::optional<qsizetype> storeRows(Connection& cn, qsizetype count,
                                   const std::function<QVariantList(qsizetype)>& rowAt, Existing existing,
                                   qsizetype* reached = nullptr) {
    try {
        runTransaction(cn, [&] {
            RowWriter writer(cn);
            for (qsizetype i = 0; i < count; ++i) {
                if (reached) *reached = i;
                const QVariantList row = rowAt(i);
                // A stored row refuses the list: the transaction rolls back, nothing is written.
                if (existing == Existing::Refuse && writer.isStored(row)) throw RefusedRow{i};
                writer.replace(row);
            }
            if (reached) *reached = -1; // past the rows: what fails now is the commit
        });
    } catch (const RefusedRow& refused) {
        return refused.index;
    }
    return std::nullopt;
}

} // namespace

std::optional<qsizetype> storeAll(Connection& cn, const QList<FirmStatement>& firms, Existing existing) {
    for (const FirmStatement& firm : firms) {
        requireStorableName(firm.firmName);
        storedYear(firm); // a year that is no number is refused before the transaction starts
    }
    return storeRows(
        cn, firms.size(), [&](qsizetype i) { return rowOf(firms[i]); }, existing);
}

std::optional<FirmStatement> load(Connection& cn, const QString& firmName, const QString& year) {
    const auto y = yearNumber(year);
    if (!y) return std::nullopt;
    RecordsetPtr rs =
        GetRS(cn, QStringLiteral("SELECT * FROM %1 WHERE FirmName = ? AND Year = ?").arg(myValues()),
              QStringLiteral("read"), {firmName, *y});
    if (rs->eof()) return std::nullopt;
    return firmOf(*rs);
}

RecordsetPtr listRecordset(Connection& cn, Language language) {
    // The headings are the column names the list shows.
    const QString headings = language == Language::F
                                 ? QStringLiteral("FirmName AS \"Nom\", Year AS \"Année\"")
                                 : QStringLiteral("FirmName AS \"Firmname\", Year AS \"year\"");
    return inListOrder(cn, QStringLiteral("SELECT %1 FROM %2").arg(headings, myValues()));
}

QList<StoredKey> list(Connection& cn) {
    QList<StoredKey> keys;
    forEachInListOrder(cn, QStringLiteral("SELECT FirmName, Year, NAICS FROM %1").arg(myValues()),
                       [&](const QVariantList& row) {
                           keys.append({row[0].toString(), yearText(row[1]), row[2].toString()});
                       });
    return keys;
}

void forEachFirm(Connection& cn, const std::function<void(const FirmStatement& firm)>& each) {
    forEachInListOrder(
        cn, QStringLiteral("SELECT %1 FROM %2").arg(storedColumns().join(QStringLiteral(", ")), myValues()),
        [&](const QVariantList& row) { each(firmOfRow(row)); });
}

QList<FirmStatement> loadAll(Connection& cn) {
    QList<FirmStatement> firms;
    forEachFirm(cn, [&](const FirmStatement& firm) { firms.append(firm); });
    return firms;
}

bool remove(Connection& cn, const QString& firmName, const QString& year) {
    const auto y = yearNumber(year);
    if (!y) return false;
    // The count of deleted rows comes with the delete itself.
    qint64 deleted = 0;
    runTransaction(cn, [&] {
        deleted = ExecCountInDB(
            cn, QStringLiteral("DELETE FROM %1 WHERE FirmName = ? AND Year = ?").arg(myValues()),
            {firmName, *y});
    });
    return deleted > 0;
}

std::optional<StoredKey> copyAll(Connection& from, Connection& to, Existing existing, Language language) {
    // The values as the engine holds them, not as texts: a copy is exact to the last bit.
    RecordsetPtr rs = inListOrder(
        from,
        QStringLiteral("SELECT %1 FROM %2").arg(storedColumns().join(QStringLiteral(", ")), myValues()));
    QList<QVariantList> rows;
    for (; !rs->eof(); rs->moveNext()) {
        QVariantList row;
        for (int i = 0; i < rs->fieldCount(); ++i)
            row << rs->field(i);
        row[1] = rs->field(1).toLongLong();
        rows << row;
    }
    const auto stoppedAt = [&](qsizetype i) {
        return strings::text("records.copy.stopped", language)
            .arg(shownName(rows[i][0].toString()), yearText(rows[i][1]));
    };
    for (qsizetype i = 0; i < rows.size(); ++i)
        if (const std::optional<QString> problem = nameProblem(rows[i][0].toString(), language))
            throw RecoverableFailure(errnum::DatabaseError,
                                     stoppedAt(i) + u' ' + *problem + QStringLiteral("\n\n") +
                                         strings::text("records.outcome.nothingWritten", language));
    qsizetype reached = -1;
    std::optional<qsizetype> refused;
    try {
        refused = storeRows(
            to, rows.size(), [&](qsizetype i) { return rows[i]; }, existing, &reached);
    } catch (const ServerFailure& e) {
        if (reached < 0) throw;
        throw ServerFailure(e.problem(), stoppedAt(reached) + QStringLiteral("\n\n") + e.description());
    }
    if (refused) {
        const QVariantList& row = rows[*refused];
        return StoredKey{row[0].toString(), yearText(row[1]), row[2].toString()};
    }
    return std::nullopt;
}

qsizetype count(Connection& cn) {
    RecordsetPtr rs =
        GetRS(cn, QStringLiteral("SELECT COUNT(*) FROM %1").arg(myValues()), QStringLiteral("read"));
    return static_cast<qsizetype>(rs->field(0).toLongLong());
}

} // namespace firmrecords
