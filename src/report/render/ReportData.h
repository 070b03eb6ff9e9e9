#pragma once
// The figures and texts one report prints: the first row of each report table the
// layout names, read once from the user database, the language of the title row and
// the day the report was prepared.

#include "data/DBTools.h"
#include "report/render/ValueFormat.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

namespace reportrender {

class ReportData {
public:
    struct Source {
        QString table;
        bool required = true; // an empty optional table reads as all nulls
        // A table chosen by a value read before it: the value of chooser ("Table.Column")
        // picks the table from byValue, and the layout reads it under the name alias.
        QString alias;
        QString chooser;
        QHash<QString, QString> byValue;
    };

    // Reads the title table and the sources. Unknown table names, and a required table
    // without a row, are untrapped failures.
    static ReportData read(Connection& userDb, const QString& titleTable, const QList<Source>& sources);

    // Builds the data from values in memory (the first row of each table).
    void setTable(const QString& table, const QVariantMap& row);
    void setTitleTable(const QString& table) { titleTable_ = table; }

    Language language() const;
    QString titleTable() const { return titleTable_; }

    QDate preparedOn() const { return preparedOn_; }
    void setPreparedOn(const QDate& date) { preparedOn_ = date; }

    bool hasTable(const QString& table) const;
    // The value of "Table.Column" (names without regard to case); a null stays null.
    // An unknown table or column is an untrapped failure naming it.
    QVariant value(const QString& qualifiedColumn) const;
    QVariant value(const QString& table, const QString& column) const;
    QVariant title(const QString& column) const { return value(titleTable_, column); }

private:
    struct Table {
        QString name;
        QHash<QString, QVariant> values; // case-folded column -> value
    };
    QHash<QString, Table> tables_; // case-folded name -> table
    QString titleTable_;
    QDate preparedOn_;
};

} // namespace reportrender
