#pragma once
// The words of a records server's failures, in the user's language, naming the server
// and the database, then saying what became of the user's work and, for a right the
// role lacks, the command that grants it. The advice fits where it is read: the desktop
// program's menu, or the command line's options.

#include "data/ServerAddress.h"
#include "data/ServerProblem.h"
#include "text/Language.h"

#include <QString>

namespace servermessages {

struct Failure {
    ServerProblem problem = ServerProblem::Failed;
    QString server;   // as the user knows it: "host:port" or the socket folder
    QString database; // the database's name
    QString detail;   // the server's or the client library's own words; may be empty
    QString figure;   // the seconds that passed (NoAnswer, TimedOut), the version (NewerSchema)
    WriteOutcome outcome = WriteOutcome::NothingWritten;
    // NotPermitted: the role, the right it lacks, and the address the owner gives to
    // `ventrolux-cli records grant`.
    QString role;
    MissingRight right = MissingRight::None;
    QString ownerAddress;
};

QString text(const Failure& failure, Language language);

// Why a connection URL cannot be used, in the language.
QString addressProblemText(AddressProblem problem, Language language);

// The command, in one line, with which the owner of the records gives role its rights on
// the records at address.
QString grantCommand(const QString& role, const QString& address);

} // namespace servermessages
