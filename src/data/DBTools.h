#pragma once
// The program's only gateway to its two databases: open a connection to a data
// file, close it, read a query into a client-side recordset, run a command. Every
// value reaches SQL as a bound parameter; table names come from the catalogue.

#include "data/Recordset.h"
#include "platform/Platform.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <cstdint>
#include <functional>
#include <memory>

class DbConnection {
public:
    DbConnection();
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    QString provider() const { return provider_; }
    QString connectionString() const { return connectionString_; }
    QString filePath() const { return filePath_; }
    bool isOpen() const { return open_; }
    bool isReadOnly() const { return readOnly_; }
    QSqlDatabase database() const;

private:
    friend void ConnectToFile(std::shared_ptr<DbConnection>&, const QString&, const QString&, int);
    friend void DisconnectFromDB(std::shared_ptr<DbConnection>&);
    void close();

    QString name_;
    QString provider_;
    QString connectionString_;
    QString filePath_;
    bool open_ = false;
    bool readOnly_ = false;
};

// A connection variable; empty means no connection.
using Connection = std::shared_ptr<DbConnection>;

enum OpenMode { ReadWrite = 0, ReadOnly = 1 };

// Opens the data file into cnTarget, closing what it held first. "unknown" as the
// directory stands for the program's directory (used by text files only).
void ConnectToFile(Connection& cnTarget, const QString& strFilePath, const QString& strDirectory,
                   int mode = ReadWrite);
void DisconnectFromDB(Connection& cnTarget);

// strWriteMode is "read" or "write", compared without regard to case.
RecordsetPtr GetRS(Connection& cnTarget, const QString& strSQL, const QString& strWriteMode,
                   const QVariantList& params = {});
void ExecCmdInDB(Connection& cnTarget, const QString& strSQL, int16_t& intErrorCount,
                 const QVariantList& params = {});
// The same without the error count, for callers that never look at it.
void ExecCmdInDB(Connection& cnTarget, const QString& strSQL, const QVariantList& params = {});

// Writes that belong together: committed by commit(), rolled back otherwise.
class Transaction {
public:
    explicit Transaction(Connection& cn);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection cn_;
    bool done_ = false;
};

// Another program (a second copy of this one) kept the file locked for longer than the
// busy timeout. The description says so in the user's language; nothing was written.
class DatabaseBusy : public FatalError {
public:
    DatabaseBusy(int number, const QString& description) : FatalError(number, description) {}
};

// The message of DatabaseBusy for a file, in the language the program is in. The
// program's state installs it; without one it is given in both languages.
void setBusyMessage(std::function<QString(const QString& filePath)> message);
