#pragma once
// The words of a records server's failures, in the user's language, naming the server
// and the database, then saying what became of the user's work.

#include "data/ServerAddress.h"
#include "data/ServerDiagnosis.h"

#include <QString>

namespace servermessages {

// duringWrite: the failure broke into a save (or another write), whose fate is then
// told as "either stored whole or not at all"; otherwise nothing was written.
QString text(ServerProblem problem, const QString& server, const QString& database, const QString& detail,
             int language, bool duringWrite = false);

// Why a connection URL cannot be used, in the language.
QString addressProblemText(AddressProblem problem, int language);

} // namespace servermessages
