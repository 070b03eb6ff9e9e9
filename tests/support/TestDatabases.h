#pragma once
// A private program directory for one test: a copy of the sample reference database
// and a fresh user database, opened into the global connections.

#include "data/Catalogue.h"
#include "data/ProgramFiles.h"
#include "state/modMain.h"
#include "userdb/UserDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestDatabases {
public:
    TestDatabases() {
        QVERIFY2(dir_.isValid(), "temporary directory");
        const QString sample =
            QStringLiteral(VENTROLUX_TEST_BIN_DIR "/") + QLatin1String(catalogue::ReferenceFileName);
        QVERIFY2(QFile::copy(sample, referencePath()), qPrintable(QStringLiteral("copy of ") + sample));
        QFile::setPermissions(referencePath(), QFile::ReadOwner | QFile::WriteOwner);
        programfiles::setProgramDirectory(dir_.path());
        programfiles::setUserDatabaseDirectory(dir_.path());
        programfiles::setResourceDirectory(QStringLiteral(VENTROLUX_TEST_BIN_DIR));
        modMain::resetState();
    }
    ~TestDatabases() {
        modMain::resetState();
        programfiles::setProgramDirectory(QString());
        programfiles::setUserDatabaseDirectory(QString());
        programfiles::setResourceDirectory(QString());
    }

    // Opens both databases as the program does at start-up.
    void open() { modMain::subOpenDatabases(); }

    // Changes the copy of the reference database (before the program opens it read-only).
    void editReference(const QString& sql, const QVariantList& params = {}) const {
        Connection cn;
        ConnectToFile(cn, referencePath(), QStringLiteral("unknown"));
        ExecCmdInDB(cn, sql, params);
        DisconnectFromDB(cn);
    }

    QString path() const { return dir_.path(); }
    QString referencePath() const { return dir_.path() + u'/' + QLatin1String(catalogue::ReferenceFileName); }
    QString userPath() const { return dir_.path() + u'/' + QLatin1String(catalogue::UserFileName); }

private:
    QTemporaryDir dir_;
};
