#pragma once
// A recordset as a table for a grid: the query's column names as headings, its rows as
// text (a null shows as nothing). The model is the data source a grid is bound to; a
// new recordset replaces the rows at once.

#include "data/Recordset.h"

#include <QAbstractTableModel>

class RecordsetTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordsetTableModel(QObject* parent = nullptr);

    void setRecordset(RecordsetPtr rs);
    const RecordsetPtr& recordset() const { return rs_; }

    // The text of one cell; empty for a null or for a cell outside the table.
    QString cellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    RecordsetPtr rs_;
    QList<QStringList> rows_;
};
