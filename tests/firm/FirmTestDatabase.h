#pragma once
// A fresh user database in a temporary folder, open on its own connection, for tests
// of the stored firm records.

#include "data/DBTools.h"
#include "firm/FirmStatement.h"
#include "userdb/UserDatabase.h"

#include <QTemporaryDir>
#include <QtTest>

class FirmTestDatabase {
public:
    FirmTestDatabase() {
        userdb::create(path());
        ConnectToFile(cn, path(), QStringLiteral("unknown"));
    }
    ~FirmTestDatabase() { DisconnectFromDB(cn); }

    QString path() const { return dir_.path() + QStringLiteral("/myData.db"); }

    // The number of stored rows, counted directly.
    int rowCount() {
        RecordsetPtr rs = GetRS(cn, QStringLiteral("select count(*) from MyValues"), QStringLiteral("read"));
        return rs->field(0).toInt();
    }

    // One stored column of a firm, read directly.
    QVariant stored(const QString& name, int year, const QString& column) {
        RecordsetPtr rs =
            GetRS(cn, QStringLiteral("select %1 from MyValues where FirmName = ? and Year = ?").arg(column),
                  QStringLiteral("read"), {name, year});
        return rs->eof() ? QVariant() : rs->field(0);
    }

    Connection cn;

private:
    QTemporaryDir dir_;
};

// A firm with every value "0" and a few set.
inline FirmStatement firmWith(const QString& name, const QString& year,
                              std::initializer_list<std::pair<const char*, const char*>> values = {}) {
    FirmStatement f;
    f.firmName = name;
    f.year = year;
    f.naics = QStringLiteral("448140");
    firmrules::resetValues(f.values);
    for (const auto& [column, text] : values)
        f.value(column) = QString::fromUtf8(text);
    return f;
}
