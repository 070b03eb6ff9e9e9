#include "firm/FirmRecords.h"

#include "data/Catalogue.h"
#include "firm/ValueText.h"
#include "platform/Platform.h"
#include "text/StringTable.h"

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
    return valuetext::doubleText(d);
}

QString yearText(const QVariant& v) {
    bool ok = false;
    const qlonglong y = v.toLongLong(&ok);
    return ok ? QString::number(y) : v.toString();
}

// The order of the open dialog's list: firm name with letter case aside (the name as
// stored breaks ties between spellings), then year.
const QString kListOrder = QStringLiteral(" ORDER BY FirmName COLLATE NOCASE, FirmName, Year");

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

// The delete and insert of one firm, inside the caller's transaction.
void replaceRow(Connection& cn, const FirmStatement& firm) {
    const int year = storedYear(firm);
    QStringList columns{QStringLiteral("FirmName"), QStringLiteral("Year"), QStringLiteral("NAICS")};
    QVariantList values{firm.firmName, year, firm.naics};
    for (int i = 0; i < lineitems::kCount; ++i) {
        columns << QLatin1String(lineitems::all()[i].column);
        values << valuetext::toDouble(firm.values[i]);
    }
    const QString marks = QStringList(columns.size(), QStringLiteral("?")).join(u',');
    ExecCmdInDB(cn, QStringLiteral("DELETE FROM %1 WHERE FirmName = ? AND Year = ?").arg(myValues()),
                {firm.firmName, year});
    ExecCmdInDB(cn,
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(myValues(), columns.join(u','), marks),
                values);
}

} // namespace

QStringList referenceYears() {
    return {QStringLiteral("2009"), QStringLiteral("2010"), QStringLiteral("2011")};
}

QString preselectedYear() {
    return QStringLiteral("2011");
}

bool isUsableName(const QString& firmName, int language) {
    if (firmName.trimmed().isEmpty()) return false;
    return firmName != strings::text(kPromptEntry, language);
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
    Transaction tx(cn);
    replaceRow(cn, firm);
    tx.commit();
}

std::optional<qsizetype> storeAll(Connection& cn, const QList<FirmStatement>& firms, Existing existing) {
    for (const FirmStatement& firm : firms)
        storedYear(firm);
    Transaction tx(cn);
    for (qsizetype i = 0; i < firms.size(); ++i) {
        if (existing == Existing::Refuse && exists(cn, firms[i].firmName, firms[i].year))
            return i; // rolled back: nothing of the list is written
        replaceRow(cn, firms[i]);
    }
    tx.commit();
    return std::nullopt;
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

RecordsetPtr listRecordset(Connection& cn, int language) {
    // The headings are the column names the list shows.
    const QString headings = language != 0 ? QStringLiteral("FirmName AS \"Nom\", Year AS \"Année\"")
                                           : QStringLiteral("FirmName AS \"Firmname\", Year AS \"year\"");
    return GetRS(cn, QStringLiteral("SELECT %1 FROM %2").arg(headings, myValues()) + kListOrder,
                 QStringLiteral("read"));
}

QList<StoredKey> list(Connection& cn) {
    QList<StoredKey> keys;
    RecordsetPtr rs =
        GetRS(cn, QStringLiteral("SELECT FirmName, Year, NAICS FROM %1").arg(myValues()) + kListOrder,
              QStringLiteral("read"));
    for (; !rs->eof(); rs->moveNext())
        keys.append({rs->field(0).toString(), yearText(rs->field(1)), rs->field(2).toString()});
    return keys;
}

QList<FirmStatement> loadAll(Connection& cn) {
    QList<FirmStatement> firms;
    RecordsetPtr rs =
        GetRS(cn, QStringLiteral("SELECT * FROM %1").arg(myValues()) + kListOrder, QStringLiteral("read"));
    for (; !rs->eof(); rs->moveNext())
        firms.append(firmOf(*rs));
    return firms;
}

bool remove(Connection& cn, const QString& firmName, const QString& year) {
    const auto y = yearNumber(year);
    if (!y) return false;
    // The count of deleted rows is read in the same transaction as the delete.
    Transaction tx(cn);
    ExecCmdInDB(cn, QStringLiteral("DELETE FROM %1 WHERE FirmName = ? AND Year = ?").arg(myValues()),
                {firmName, *y});
    RecordsetPtr rs = GetRS(cn, QStringLiteral("SELECT changes()"), QStringLiteral("read"));
    const bool deleted = rs->field(0).toInt() > 0;
    tx.commit();
    return deleted;
}

} // namespace firmrecords
