#pragma once
// Hostile input for the screen and command-line tests: the texts a user can type or paste (SQL, LIKE
// patterns, a very long text, control characters, right-to-left marks, the bytes of
// invalid UTF-8 as a paste brings them, apostrophes, markup), and a witness that notes
// what must survive a case untouched: the reference database byte for byte, the user
// database's schema, and every stored firm, whole.

#include "data/DBTools.h"
#include "firm/FirmRecords.h"
#include "platform/Platform.h"
#include "support/RecordingPlatform.h"

#include <QCryptographicHash>
#include <QFile>
#include <QtTest>

namespace hostile {

// The texts as the bytes a user could bring, so that invalid UTF-8 stays as it is here.
struct Text {
    const char* name;
    QByteArray bytes;
    bool nameRefused = false; // as a firm name: outside what the records keep (control characters, length)
};

inline const QList<Text>& texts() {
    static const QList<Text> list{
        {"SQL", QByteArray("'; drop table MyValues; --")},
        {"SQL in double quotes", QByteArray("\"); delete from MyValues; --")},
        {"LIKE wildcards", QByteArray("%_%")},
        {"bracket class", QByteArray("[a-z]%")},
        {"escape character", QByteArray("\\%")},
        {"100,000 characters", QByteArray(100000, 'a'), true},
        {"control characters", QByteArray("a\x01\x02\x1b[2Jb\x7f"), true},
        {"right-to-left mark", QByteArray("\xe2\x80\xae"
                                          "cba"
                                          "\xe2\x80\x8f")},
        {"invalid UTF-8", QByteArray("caf\xc3(\xff\xfe")},
        {"apostrophes", QByteArray("O'Neil ''& d'Arcy")},
        {"markup", QByteArray("<b>Bold</b></title><script>alert(1)</script> &amp;")},
    };
    return list;
}

// What a widget holds once the bytes are pasted into it: invalid sequences become U+FFFD.
inline QString widgetText(const QByteArray& bytes) {
    return QString::fromUtf8(bytes);
}

inline bool isLong(const QByteArray& bytes) {
    return bytes.size() > 1000;
}

// One data row per text, with the text as a widget would hold it.
inline void addTextRows(bool withLong = true) {
    QTest::addColumn<QString>("text");
    for (const Text& t : texts())
        if (withLong || !isLong(t.bytes)) QTest::newRow(t.name) << widgetText(t.bytes);
}

inline QByteArray checksum(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&f);
    return hash.result();
}

// Every table, index and trigger of a database with its statement, in name order.
inline QStringList schemaOf(Connection& cn) {
    QStringList out;
    RecordsetPtr rs =
        GetRS(cn, QStringLiteral("select type, name, sql from sqlite_master order by type, name"),
              QStringLiteral("read"));
    for (; !rs->eof(); rs->moveNext())
        out << rs->field(0).toString() + u' ' + rs->field(1).toString() + u' ' + rs->field(2).toString();
    return out;
}

inline int myValuesRows(Connection& cn) {
    RecordsetPtr rs = GetRS(cn, QStringLiteral("select count(*) from MyValues"), QStringLiteral("read"));
    return rs->field(0).toInt();
}

// A stored firm as one comparable text: name, year, industry and the 32 values.
inline QString recordText(const FirmStatement& firm) {
    QStringList parts{firm.firmName, firm.year, firm.naics};
    for (const QString& v : firm.values)
        parts << v;
    return parts.join(u'|');
}

inline QStringList storedRecords(Connection& cn) {
    QStringList out;
    for (const FirmStatement& firm : firmrecords::loadAll(cn))
        out << recordText(firm);
    return out;
}

// Notes the state before a case; verify() checks it after: the reference database
// unchanged, the user database's schema unchanged, the firms stored before all there,
// whole, and only the intended rows added; no run-time error shown and no end requested.
class Witness {
public:
    Witness(Connection& userDb, QString referencePath, const RecordingPlatform& platform)
        : userDb_(userDb), referencePath_(std::move(referencePath)), platform_(platform),
          reference_(checksum(referencePath_)), schema_(schemaOf(userDb)), records_(storedRecords(userDb)) {}

    const QStringList& recordsBefore() const { return records_; }

    // Fails the calling test (QVERIFY returns from it) when anything was lost or changed.
    void verify(int addedRows = 0) const {
        for (const ShownMessage& m : platform_.messages) {
            QVERIFY2(!m.text.contains(QLatin1String("Run-time error")), qPrintable(m.text.left(300)));
            // A database error that reached the user would name the engine or the statement.
            for (const char* leak :
                 {"syntax error", "no such", "unrecognized token", "sqlite", "Invalid use"})
                QVERIFY2(!m.text.contains(QLatin1String(leak), Qt::CaseInsensitive),
                         qPrintable(m.text.left(300)));
        }
        QCOMPARE(platform_.endedWith, -1);
        QCOMPARE(schemaOf(userDb_), schema_);
        const QStringList now = storedRecords(userDb_);
        for (const QString& before : records_)
            QVERIFY2(now.contains(before), qPrintable(QStringLiteral("lost: ") + before.left(200)));
        const int expected = static_cast<int>(records_.size()) + addedRows;
        QCOMPARE(static_cast<int>(now.size()), expected);
        QCOMPARE(myValuesRows(userDb_), expected);
        QVERIFY2(checksum(referencePath_) == reference_, "the reference database changed");
    }

private:
    Connection& userDb_;
    QString referencePath_;
    const RecordingPlatform& platform_;
    QByteArray reference_;
    QStringList schema_;
    QStringList records_;
};

} // namespace hostile
