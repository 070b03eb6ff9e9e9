#pragma once
// One statement prepared once and run for every row of a long list (an import of many
// firms): the local file's engine parses it once instead of once a row. Its values are
// bound parameters, as every database value is. On a records server each run is sent as
// ExecCmdInDB sends it. A failure is raised as ExecCmdInDB raises it.

#include "data/DBTools.h"

#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <optional>

class PreparedCommand {
public:
    PreparedCommand(Connection& cn, QString sql);

    // Runs the statement with the values; the rows it changed.
    qint64 run(const QVariantList& params);
    // Runs it and tells whether it gave a row (a question such as "is this stored?").
    bool hasRow(const QVariantList& params);

private:
    bool exec(const QVariantList& params);

    Connection& cn_;
    QString sql_;
    std::optional<QSqlQuery> query_; // the local file's prepared statement
};
