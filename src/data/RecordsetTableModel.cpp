#include "data/RecordsetTableModel.h"

RecordsetTableModel::RecordsetTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void RecordsetTableModel::setRecordset(RecordsetPtr rs) {
    beginResetModel();
    rs_ = std::move(rs);
    rows_.clear();
    if (rs_) {
        // The grid reads every row; the recordset keeps its own position for its owner.
        rows_.reserve(rs_->recordCount());
        for (rs_->moveFirst(); !rs_->eof(); rs_->moveNext()) {
            QStringList row;
            row.reserve(rs_->fieldCount());
            for (int c = 0; c < rs_->fieldCount(); ++c) {
                const QVariant v = rs_->field(c);
                row << (v.isNull() ? QString() : v.toString());
            }
            rows_ << row;
        }
        rs_->moveFirst();
    }
    endResetModel();
}

QString RecordsetTableModel::cellText(int row, int column) const {
    if (row < 0 || row >= rows_.size()) return QString();
    return rows_[row].value(column);
}

int RecordsetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RecordsetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !rs_ ? 0 : rs_->fieldCount();
}

QVariant RecordsetTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return QVariant();
    return cellText(index.row(), index.column());
}

QVariant RecordsetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Vertical) return section + 1;
    if (!rs_ || section < 0 || section >= rs_->fieldCount()) return QVariant();
    return rs_->fieldName(section);
}
