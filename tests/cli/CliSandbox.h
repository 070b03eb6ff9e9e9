#pragma once
// ventrolux-cli run in-process on a copy of the sample reference database in a folder of
// its own, with the user database read back directly, for the client record and batch
// tests.

#include "cli/CliCommands.h"
#include "data/DBTools.h"
#include "data/ProgramFiles.h"
#include "support/ExampleFirm.h"
#include "support/SampleData.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

struct CliResult {
    int status;
    QString out;
    QString err;
};

class CliSandbox {
public:
    CliSandbox() {
        QVERIFY(dir_.isValid());
        const QString db = dir_.path() + QStringLiteral("/KLV_DATA.db");
        QVERIFY(QFile::copy(QStringLiteral(VENTROLUX_TEST_BIN_DIR "/KLV_DATA.db"), db));
        QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
        // The report layouts are in the build's program directory, not beside the test.
        programfiles::setResourceDirectory(QStringLiteral(VENTROLUX_TEST_BIN_DIR));
    }

    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.path() + u'/' + name; }

    CliResult run(QStringList args) const {
        args.prepend(dir_.path());
        args.prepend(QStringLiteral("--data-dir"));
        QString out, err;
        QTextStream o(&out), e(&err);
        const int status = cli::run(args, o, e);
        return {status, out, err};
    }

    QString write(const QString& name, const QByteArray& content) const {
        QFile f(file(name));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QString();
        f.write(content);
        return f.fileName();
    }

    // The rows of a query on the user database (or another database file of the folder).
    QList<QVariantMap> rows(const QString& sql, const QString& database = QStringLiteral("myData.db")) const {
        Connection cn;
        ConnectToFile(cn, file(database), QStringLiteral("unknown"), ReadOnly);
        QList<QVariantMap> out;
        for (RecordsetPtr rs = GetRS(cn, sql, QStringLiteral("read")); !rs->eof(); rs->moveNext()) {
            QVariantMap row;
            for (int i = 0; i < rs->fieldCount(); ++i)
                row.insert(rs->fieldName(i), rs->field(i));
            out << row;
        }
        return out;
    }

    QString completeIndustry(const QString& region) const {
        Connection cn;
        ConnectToFile(cn, file(QStringLiteral("KLV_DATA.db")), QStringLiteral("unknown"), ReadOnly);
        return ::completeIndustry(cn, region);
    }

private:
    QTemporaryDir dir_;
};

// The columns of a firm file, written out here rather than taken from the reader.
inline const QStringList& firmColumns() {
    static const QStringList columns =
        QStringLiteral(
            "FirmName,Year,NAICS,Cash,Ar,Inv,CA,OA,Toa,Invest,Ptfl,Ta,OperatingRevenue,Sales,GrossProfit,"
            "OperatingProfit,InterestExpense,PretaxProfit,ProfitAfterTax,AccountsPayable,Paper,Mtg,Bonds,Ol,"
            "AmtsAffil,OLiab,DefTax,Tliab,ShareC,RetEarn,OtherSur,Equity1,TotLiabShareEq,CurrentAssets,"
            "CurrentLiabilities")
            .split(u',');
    return columns;
}

// A small firm whose books balance (total assets 500,000), with some values changed.
inline QMap<QString, QString> balancedFirm(const QString& name, const QString& year, const QString& naics,
                                           const QMap<QString, QString>& changes = {}) {
    QMap<QString, QString> f = exampleFirmValues();
    f.insert("FirmName", name);
    f.insert("Year", year);
    f.insert("NAICS", naics);
    for (auto it = changes.begin(); it != changes.end(); ++it)
        f[it.key()] = it.value();
    return f;
}

// A CSV line of the given fields in the columns given, each field quoted.
inline QByteArray csvLine(const QStringList& columns, const QMap<QString, QString>& firm) {
    QStringList fields;
    for (const QString& c : columns)
        fields << u'"' + QString(firm.value(c)).replace(u'"', QStringLiteral("\"\"")) + u'"';
    return fields.join(u',').toUtf8() + "\r\n";
}

inline QByteArray csvList(const QList<QMap<QString, QString>>& firms,
                          const QStringList& columns = firmColumns()) {
    QByteArray out = columns.join(u',').toUtf8() + "\r\n";
    for (const auto& f : firms)
        out += csvLine(columns, f);
    return out;
}
