#include "data/ServerMessages.h"

#include "platform/Platform.h"
#include "text/StringTable.h"

#include <QRegularExpression>
#include <QStringList>

namespace servermessages {

namespace {

// The first line of each problem's message: %1 the server, %2 the database, %3 the figure.
const char* whatHappened(ServerProblem problem) {
    switch (problem) {
    case ServerProblem::Unreachable:
        return "records.server.unreachable";
    case ServerProblem::NoAnswer:
        return "records.server.noAnswer";
    case ServerProblem::Refused:
        return "records.server.refused";
    case ServerProblem::PasswordMissing:
        return "records.server.passwordMissing";
    case ServerProblem::ConnectionLost:
        return "records.server.connectionLost";
    case ServerProblem::InUse:
        return "records.server.inUse";
    case ServerProblem::TimedOut:
        return "records.server.timedOut";
    case ServerProblem::NewerSchema:
        return "records.server.newerSchema";
    case ServerProblem::ForeignTable:
        return "records.server.foreignTable";
    case ServerProblem::NotPermitted:
    case ServerProblem::Failed:
        break;
    }
    return "records.server.failed";
}

// The right a role lacks: %1 the role, %2 the server, %3 the database.
const char* rightLacked(MissingRight right) {
    switch (right) {
    case MissingRight::Read:
        return "records.right.read";
    case MissingRight::Create:
        return "records.right.create";
    case MissingRight::Change:
    case MissingRight::None:
        break;
    }
    return "records.right.change";
}

// %1 to %9 replaced in one pass, so that a "%2" in the server's own words stays as it
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

// A word of a command line as a shell reads it back.
QString shellWord(const QString& word) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./:@%=+-]+$"));
    if (plain.match(word).hasMatch()) return word;
    return u'\'' + QString(word).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}

// What became of the request's writes, and where the user goes from here.
QString afterwards(const Failure& f, Language language) {
    const bool commandLine = platform().isCommandLine();
    if (f.problem == ServerProblem::NewerSchema)
        return strings::text(commandLine ? "records.advice.newer.cli" : "records.advice.newer.desktop",
                             language);
    const QString outcome =
        f.outcome == WriteOutcome::Unknown
            ? strings::text(commandLine ? "records.outcome.unknown.cli" : "records.outcome.unknown.desktop",
                            language)
            : strings::text("records.outcome.nothingWritten", language);
    return outcome + u' ' +
           strings::text(commandLine ? "records.advice.cli" : "records.advice.desktop", language);
}

} // namespace

QString text(const Failure& f, Language language) {
    QStringList parts;
    if (f.problem == ServerProblem::NotPermitted) {
        parts << filled(strings::text(rightLacked(f.right), language), {f.role, f.server, f.database});
        const char* how = f.right == MissingRight::Create ? "records.grant.make" : "records.grant.how";
        parts << filled(strings::text(how, language), {grantCommand(f.role, f.ownerAddress)});
    } else {
        parts << filled(strings::text(whatHappened(f.problem), language), {f.server, f.database, f.figure});
    }
    if (!f.detail.trimmed().isEmpty())
        parts << filled(strings::text("records.server.detail", language), {f.detail.trimmed()});
    parts << afterwards(f, language);
    return parts.join(QStringLiteral("\n\n"));
}

QString addressProblemText(AddressProblem problem, Language language) {
    switch (problem) {
    case AddressProblem::NotAnAddress:
        break;
    case AddressProblem::NoDatabase:
        return strings::text("records.address.noDatabase", language);
    case AddressProblem::HasPassword:
        return strings::text("records.address.password", language);
    case AddressProblem::UnknownSetting:
        return strings::text("records.address.setting", language);
    case AddressProblem::BadPort:
        return strings::text("records.address.port", language);
    }
    return strings::text("records.address.form", language);
}

QString grantCommand(const QString& role, const QString& address) {
    return QStringLiteral("ventrolux-cli records grant %1 --records %2")
        .arg(shellWord(role), shellWord(address));
}

} // namespace servermessages
