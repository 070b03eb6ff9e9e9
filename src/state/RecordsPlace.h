#pragma once
// Where the firm records live for this run: the user database myData.db (the default),
// or, in office mode, a database on a PostgreSQL server that several advisers share,
// named by a connection URL kept in the user's settings. The report working and title
// tables stay in the local user database either way, so two advisers preparing
// reports at the same moment never share a working table.

#include "data/DBTools.h"

#include <QString>
#include <optional>

namespace modMain {

inline Connection gcnRecords;  // the records server's connection in office mode; empty otherwise
inline QString gstrRecordsUrl; // the records server's address; empty: the user database

// The address kept in the user's settings; empty when none (the local file).
QString RecordsSetting();
void SaveRecordsSetting(const QString& url);

// Chooses where the records live: an empty url is the user database. The server is
// connected to when the records are first used, so that its failure is told in the
// language the user chose by then.
void subUseRecords(const QString& url);

// The connection of the firm records: the user database, or the records server,
// connected to (again) first when it is not connected: at its first use, or after it
// broke. A server out of reach or refusing is a ServerFailure (a RecoverableFailure),
// whose message names it; the local tables are untouched. An address that cannot be
// used (one kept in the settings with a password, say) is a RecoverableFailure saying why.
Connection& RecordsConnection();

// Connects to a records server once, to see whether it can be used: nothing when it
// can, otherwise why not, in the current language.
std::optional<QString> fncTestRecordsServer(const QString& url);

// Moves the records to url (empty: the local file) for this run and the next ones (the
// setting): a server is tested first, and one that cannot be used changes nothing.
// The message to show: that the records are now there, or why not. ok says which.
struct SwitchOutcome {
    bool ok;
    QString message;
};
SwitchOutcome fncSwitchRecords(const QString& url);

// What the firm screens add to their titles: in office mode " — " and where the
// records are; nothing for the local file.
QString RecordsTitleSuffix();

// Where the records are, for window titles and the About screen: "Firm records:
// myData.db (local file)" or "Firm records: database clients on the server host:5432";
// never the address itself, which might hold a password.
QString RecordsLocation();

// The address of the records as an address box shows it: any password in it hidden.
QString RecordsAddressShown();

// Why an address kept in the settings with a password in it is neither used nor shown,
// and how to put it right, in the current language.
QString SettingPasswordText();

// True when the records live on a server.
bool IsOfficeMode();

} // namespace modMain
