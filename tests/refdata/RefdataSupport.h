#pragma once
// Helpers of the reference data tests: copies of the example folder to change, files
// edited in place, and every table of a database as text, to compare two databases.

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QtTest>

namespace refdatatest {

inline QString exampleFolder() {
    return QStringLiteral(VENTROLUX_SOURCE_DIR "/tests/data/reference-example");
}
inline QString variantsFolder() {
    return QStringLiteral(VENTROLUX_SOURCE_DIR "/tests/data/reference-variants");
}
inline QString sampleDatabase() {
    return QStringLiteral(VENTROLUX_TEST_BIN_DIR "/KLV_DATA.db");
}

// Copies every file of a folder into another (created when missing).
inline bool copyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) return false;
    const QDir src(from);
    for (const QString& name : src.entryList(QDir::Files)) {
        QFile::remove(QDir(to).filePath(name));
        if (!QFile::copy(src.filePath(name), QDir(to).filePath(name))) return false;
        QFile::setPermissions(QDir(to).filePath(name), QFile::ReadOwner | QFile::WriteOwner);
    }
    return true;
}

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(bytes) == bytes.size();
}

// The lines of a CSV file without their CR LF, and back.
inline QList<QByteArray> lines(const QString& path) {
    QList<QByteArray> out = readAll(path).split('\n');
    if (!out.isEmpty() && out.back().isEmpty()) out.removeLast();
    for (QByteArray& l : out)
        if (l.endsWith('\r')) l.chop(1);
    return out;
}
inline bool writeLines(const QString& path, const QList<QByteArray>& ls) {
    QByteArray bytes;
    for (const QByteArray& l : ls)
        bytes += l + "\r\n";
    return writeAll(path, bytes);
}

inline QByteArray sha256(const QString& path) {
    return QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha256);
}

// A private connection to a database file, closed with the object.
class Db {
public:
    explicit Db(const QString& path) : name_(QStringLiteral("refdatatest-%1").arg(++counter_)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
    }
    ~Db() {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    QSqlQuery query(const QString& sql, const QVariantList& values = {}) const {
        QSqlQuery q(QSqlDatabase::database(name_, false));
        q.prepare(sql);
        for (const QVariant& v : values)
            q.addBindValue(v);
        if (!q.exec())
            QTest::qFail(qPrintable(sql + QStringLiteral(": ") + q.lastError().text()), __FILE__, __LINE__);
        return q;
    }
    QVariant scalar(const QString& sql, const QVariantList& values = {}) const {
        QSqlQuery q = query(sql, values);
        return q.next() ? q.value(0) : QVariant();
    }
    QStringList tables() const {
        QStringList names;
        QSqlQuery q =
            query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
        while (q.next())
            names << q.value(0).toString();
        return names;
    }
    // Column names and declared types, then every row in key order with each value's
    // storage class and exact text.
    QStringList dump(const QString& table) const {
        QStringList out;
        QSqlQuery info = query(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
        while (info.next())
            out << info.value(1).toString() + u' ' + info.value(2).toString();
        QSqlQuery cols = query(QStringLiteral("SELECT * FROM \"%1\" WHERE 0").arg(table));
        const int n = cols.record().count();
        QStringList typed;
        for (int i = 0; i < n; ++i)
            typed << QStringLiteral("typeof(\"%1\") || ':' || CASE typeof(\"%1\") WHEN 'real' THEN "
                                    "printf('%!.17g', \"%1\") "
                                    "WHEN 'null' THEN '' ELSE quote(\"%1\") END")
                         .arg(cols.record().fieldName(i));
        QSqlQuery rows = query(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY 1")
                                   .arg(typed.join(QStringLiteral(" || '|' || ")), table));
        while (rows.next())
            out << rows.value(0).toString();
        return out;
    }

private:
    static inline int counter_ = 0;
    QString name_;
};

// Every table but the provenance, which records when and from where each was made.
inline QMap<QString, QStringList> contents(const QString& path, bool withProvenance = false) {
    Db db(path);
    QMap<QString, QStringList> all;
    for (const QString& t : db.tables())
        if (withProvenance || t != QLatin1String("Provenance")) all.insert(t, db.dump(t));
    return all;
}

} // namespace refdatatest
