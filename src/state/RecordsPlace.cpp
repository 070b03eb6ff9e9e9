#include "state/RecordsPlace.h"

#include "data/ProgramFiles.h"
#include "data/ServerMessages.h"
#include "state/modMain.h"
#include "userdb/RecordsDatabase.h"

#include <QSettings>

namespace modMain {

namespace {

const QString kSettingKey = QStringLiteral("records/url");

QSettings settings() {
    return QSettings(QStringLiteral("ventrolux"), QStringLiteral("ventrolux"));
}

// The address of the records server, or why it cannot be one. An address kept with a
// password is not used, and its message does not repeat it.
ServerAddress addressOf(const QString& url) {
    const ParsedAddress parsed = parseServerAddress(url);
    if (parsed.address) return *parsed.address;
    if (parsed.problem == AddressProblem::HasPassword && url == RecordsSetting())
        throw RecoverableFailure(errnum::ServerUnavailable, SettingPasswordText());
    throw RecoverableFailure(errnum::ServerUnavailable,
                             servermessages::addressProblemText(parsed.problem, language()));
}

} // namespace

QString RecordsSetting() {
    return settings().value(kSettingKey).toString().trimmed();
}

void SaveRecordsSetting(const QString& url) {
    QSettings s = settings();
    if (url.trimmed().isEmpty())
        s.remove(kSettingKey);
    else
        s.setValue(kSettingKey, url.trimmed());
    s.sync();
}

void subUseRecords(const QString& url) {
    DisconnectFromDB(gcnRecords);
    gstrRecordsUrl = url.trimmed();
}

bool IsOfficeMode() {
    return !gstrRecordsUrl.isEmpty();
}

Connection& RecordsConnection() {
    if (!IsOfficeMode()) return gcnMyData;
    // A connection that broke is opened again by the data access layer at its next use.
    if (!gcnRecords || !gcnRecords->isOpen()) {
        const ServerAddress address = addressOf(gstrRecordsUrl);
        try {
            recordsdb::openServer(gcnRecords, address);
        } catch (...) {
            DisconnectFromDB(gcnRecords);
            throw;
        }
    }
    return gcnRecords;
}

std::optional<QString> fncTestRecordsServer(const QString& url) {
    const ParsedAddress parsed = parseServerAddress(url);
    if (!parsed.address) return servermessages::addressProblemText(parsed.problem, language());
    Connection cn;
    try {
        recordsdb::openServer(cn, *parsed.address);
    } catch (const ServerFailure& e) {
        DisconnectFromDB(cn);
        return e.description();
    }
    DisconnectFromDB(cn);
    return std::nullopt;
}

SwitchOutcome fncSwitchRecords(const QString& url) {
    const QString address = url.trimmed();
    if (address.isEmpty()) {
        subUseRecords(QString());
        SaveRecordsSetting(QString());
        return {true, Txt("records.now.local").arg(programfiles::userDatabasePath())};
    }
    if (const std::optional<QString> problem = fncTestRecordsServer(address)) return {false, *problem};
    const ServerAddress server = *parseServerAddress(address).address;
    subUseRecords(address);
    SaveRecordsSetting(address);
    return {true, Txt("records.now.server").arg(server.serverName(), server.database)};
}

QString RecordsTitleSuffix() {
    return IsOfficeMode() ? QStringLiteral(" \u2014 ") + RecordsLocation() : QString();
}

QString RecordsLocation() {
    if (!IsOfficeMode()) return Txt("records.location.local").arg(programfiles::userDatabasePath());
    const ParsedAddress parsed = parseServerAddress(gstrRecordsUrl);
    if (!parsed.address) return Txt("records.location.unusable");
    return Txt("records.location.server").arg(parsed.address->serverName(), parsed.address->database);
}

QString RecordsAddressShown() {
    return withoutPassword(gstrRecordsUrl);
}

QString SettingPasswordText() {
    return Txt(platform().isCommandLine() ? "records.setting.password.cli"
                                          : "records.setting.password.desktop");
}

} // namespace modMain
