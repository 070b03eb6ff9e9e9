#include "userdb/Salvage.h"

#include "data/Catalogue.h"
#include "firm/LineItems.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <limits>

namespace userdb {

namespace {

QStringList recordColumns() {
    QStringList columns{QStringLiteral("FirmName"), QStringLiteral("Year"), QStringLiteral("NAICS")};
    for (const lineitems::LineItem& item : lineitems::all())
        columns << QLatin1String(item.column);
    return columns;
}

bool isNumber(const QVariant& v) {
    const int type = v.typeId();
    return type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::Int;
}

// A row as the program wrote it: a name, a whole year, a text or no industry code, and
// numbers or nothing as values. Anything else is what a garbled page reads as.
bool plausible(const QVariantList& row) {
    if (row[0].typeId() != QMetaType::QString || row[0].toString().trimmed().isEmpty()) return false;
    if (row[1].typeId() != QMetaType::LongLong && row[1].typeId() != QMetaType::Int) return false;
    if (!row[2].isNull() && row[2].typeId() != QMetaType::QString) return false;
    for (qsizetype i = 3; i < row.size(); ++i)
        if (!row[i].isNull() && !isNumber(row[i])) return false;
    return true;
}

// Reads the damaged file's records in rowid order; the pages a read cannot pass are
// stepped over by seeking past them. Seeks look for the first record at or after a rowid:
// SQLite finds the page where that rowid would be, so a seek fails exactly for the rowids
// that a damaged page holds, or would.
class Reader {
public:
    Reader(QSqlDatabase db, const QString& selectList) : db_(std::move(db)) {
        select_ =
            QStringLiteral("SELECT rowid, %1 FROM MyValues WHERE rowid >= ? ORDER BY rowid").arg(selectList);
    }

    // Calls take(row) for every record read.
    template <typename Take> void readAll(Take take) {
        const qint64 max = std::numeric_limits<qint64>::max();
        qint64 from = std::numeric_limits<qint64>::min();
        for (;;) {
            QSqlQuery q(db_);
            q.setForwardOnly(true);
            bool failed = !q.prepare(select_);
            if (!failed) {
                q.addBindValue(from);
                failed = !q.exec();
            }
            while (!failed && q.next()) {
                const qint64 rowid = q.value(0).toLongLong();
                QVariantList row;
                for (int i = 1; i < q.record().count(); ++i)
                    row << q.value(i);
                take(row);
                if (rowid == max) return;
                from = rowid + 1;
            }
            if (!failed && !q.lastError().isValid()) return;
            // Nothing at or after `from` could be read: the next rowid from which a seek works.
            const std::optional<qint64> next = nextReadable(from);
            if (!next) return;
            from = *next;
        }
    }

private:
    // Whether a seek to the first record at or after rowid works.
    bool seeks(qint64 rowid) {
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        if (!q.prepare(QStringLiteral("SELECT rowid FROM MyValues WHERE rowid >= ? ORDER BY rowid LIMIT 1")))
            return false;
        q.addBindValue(rowid);
        if (!q.exec()) return false;
        q.next();
        return !q.lastError().isValid();
    }

    // The smallest rowid past `bad` from which a seek works: steps of growing size find one,
    // halving narrows it down. Nothing when none does.
    std::optional<qint64> nextReadable(qint64 bad) {
        const qint64 max = std::numeric_limits<qint64>::max();
        qint64 step = 1;
        qint64 good = 0;
        for (;;) {
            good = bad > max - step ? max : bad + step;
            if (seeks(good)) break;
            if (good == max) return std::nullopt;
            bad = good;
            step = step > max / 2 ? max : step * 2;
        }
        while (good - bad > 1) {
            const qint64 middle = bad + (good - bad) / 2;
            (seeks(middle) ? good : bad) = middle;
        }
        return good;
    }

    QSqlDatabase db_;
    QString select_;
};

} // namespace

qint64 salvageFirms(const QString& damaged, Connection& into) {
    // Opened here rather than through the data layer's gateway, which reads the schema at
    // once: SQLite refuses a file shorter than its header says unless the schema may be
    // written, which must be said first. Nothing is written through this read-only
    // connection.
    const QString name = QStringLiteral("salvage-of-") + damaged;
    // The connection's name is given back however the copy ends, after its last user.
    struct Release {
        QString name;
        ~Release() { QSqlDatabase::removeDatabase(name); }
    } const release{name};
    qint64 copied = 0;
    {
        QSqlDatabase source = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        source.setDatabaseName(damaged);
        source.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QStringList present;
        if (source.open()) {
            QSqlQuery info(source);
            info.exec(QStringLiteral("PRAGMA writable_schema = ON"));
            if (info.exec(QStringLiteral("PRAGMA table_info(MyValues)")))
                while (info.next())
                    present << info.value(1).toString();
        }
        if (!present.isEmpty()) {
            const QStringList columns = recordColumns();
            // A column the damaged file lacks reads as nothing, as an empty box.
            QStringList selectList;
            for (const QString& c : columns)
                selectList << (present.contains(c, Qt::CaseInsensitive) ? u'"' + c + u'"'
                                                                        : QStringLiteral("NULL"));
            const QString insert =
                QStringLiteral("INSERT OR IGNORE INTO %1 (%2) VALUES (%3)")
                    .arg(catalogue::table(QLatin1String(catalogue::MyValues)),
                         columns.join(QStringLiteral(", ")),
                         QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
            Transaction tx(into);
            Reader(source, selectList.join(QStringLiteral(", "))).readAll([&](const QVariantList& row) {
                if (plausible(row)) copied += ExecCountInDB(into, insert, row);
            });
            tx.commit();
        }
        source.close();
    }
    return copied;
}

} // namespace userdb
