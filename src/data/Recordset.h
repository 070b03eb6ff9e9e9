#pragma once
// A client-side copy of a query's result: column names and rows of values (a
// database null stays a null QVariant), read by column name without regard to case.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

class Recordset {
public:
    Recordset(QStringList fieldNames, QList<QVariantList> rows);

    bool eof() const { return position_ >= rows_.size(); }
    void moveNext();
    void moveFirst() { position_ = 0; }
    int recordCount() const { return static_cast<int>(rows_.size()); }

    int fieldCount() const { return static_cast<int>(fieldNames_.size()); }
    QString fieldName(int index) const;

    // Values of the current row. Reading past the end, or an unknown column, is an untrapped failure.
    QVariant field(const QString& name) const;
    QVariant field(int index) const;
    // The field as text; a null is an untrapped failure, as a text cannot hold it.
    QString text(const QString& name) const;

    const QStringList& fieldNames() const { return fieldNames_; }

private:
    const QVariantList& currentRow() const;
    int indexOf(const QString& name) const;

    QStringList fieldNames_;
    QHash<QString, int> index_; // case-folded name -> column
    QList<QVariantList> rows_;
    qsizetype position_ = 0;
};

using RecordsetPtr = std::shared_ptr<Recordset>;
