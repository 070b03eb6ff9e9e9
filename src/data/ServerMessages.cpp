#include "data/ServerMessages.h"

#include "text/StringTable.h"

#include <QStringList>

namespace servermessages {

namespace {

constexpr int kUnreachable = 840;
constexpr int kRefused = 842;
constexpr int kPasswordMissing = 844;
constexpr int kConnectionLost = 846;
constexpr int kInUse = 848;
constexpr int kNewerSchema = 850;
constexpr int kForeignTable = 852;
constexpr int kFailed = 854;
constexpr int kNothingWritten = 856;
constexpr int kEitherOldOrNew = 858;
constexpr int kUseThatVersion = 894;
constexpr int kNotAnAddress = 876;
constexpr int kNoDatabase = 878;
constexpr int kHasPassword = 880;
constexpr int kUnknownSetting = 882;
constexpr int kBadPort = 884;

int entryOf(ServerProblem problem) {
    switch (problem) {
    case ServerProblem::Unreachable:
        return kUnreachable;
    case ServerProblem::Refused:
        return kRefused;
    case ServerProblem::PasswordMissing:
        return kPasswordMissing;
    case ServerProblem::ConnectionLost:
        return kConnectionLost;
    case ServerProblem::InUse:
        return kInUse;
    case ServerProblem::NewerSchema:
        return kNewerSchema;
    case ServerProblem::ForeignTable:
        return kForeignTable;
    case ServerProblem::Failed:
        break;
    }
    return kFailed;
}

// %1 to %3 replaced in one pass, so that a "%2" in the server's own words stays as it
// is; a text may leave any of them out.
QString filled(const QString& pattern, const QStringList& arguments) {
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] >= u'1' &&
            pattern[i + 1].unicode() < u'1' + arguments.size()) {
            out += arguments[pattern[i + 1].unicode() - u'1'];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace

QString text(ServerProblem problem, const QString& server, const QString& database, const QString& detail,
             int language, bool duringWrite) {
    const QString what = filled(strings::text(entryOf(problem), language), {server, database, detail});
    int advice = kNothingWritten;
    if (problem == ServerProblem::NewerSchema)
        advice = kUseThatVersion;
    else if (duringWrite)
        advice = kEitherOldOrNew;
    return what + QStringLiteral("\n\n") + strings::text(advice, language);
}

QString addressProblemText(AddressProblem problem, int language) {
    int entry = kNotAnAddress;
    switch (problem) {
    case AddressProblem::NotAnAddress:
        entry = kNotAnAddress;
        break;
    case AddressProblem::NoDatabase:
        entry = kNoDatabase;
        break;
    case AddressProblem::HasPassword:
        entry = kHasPassword;
        break;
    case AddressProblem::UnknownSetting:
        entry = kUnknownSetting;
        break;
    case AddressProblem::BadPort:
        entry = kBadPort;
        break;
    }
    return strings::text(entry, language);
}

} // namespace servermessages
