#include "data/Recordset.h"

#include "platform/Platform.h"

Recordset::Recordset(QStringList fieldNames, QList<QVariantList> rows)
    : fieldNames_(std::move(fieldNames)), rows_(std::move(rows)) {
    for (int i = 0; i < fieldNames_.size(); ++i) {
        const QString key = fieldNames_[i].toCaseFolded();
        if (!index_.contains(key)) index_.insert(key, i);
    }
}

void Recordset::moveNext() {
    if (eof())
        throw FatalError(
            errnum::NoCurrentRecord,
            QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
    ++position_;
}

QString Recordset::fieldName(int index) const {
    if (index < 0 || index >= fieldNames_.size())
        throw FatalError(errnum::InvalidTableName, QStringLiteral("Item cannot be found in the collection."));
    return fieldNames_[index];
}

int Recordset::indexOf(const QString& name) const {
    const auto it = index_.constFind(name.toCaseFolded());
    if (it == index_.constEnd())
        throw FatalError(errnum::InvalidTableName,
                         QStringLiteral("Item cannot be found in the collection: %1").arg(name));
    return *it;
}

const QVariantList& Recordset::currentRow() const {
    if (eof())
        throw FatalError(
            errnum::NoCurrentRecord,
            QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
    return rows_[position_];
}

QVariant Recordset::field(const QString& name) const {
    return currentRow().at(indexOf(name));
}

QVariant Recordset::field(int index) const {
    const QVariantList& row = currentRow();
    if (index < 0 || index >= row.size())
        throw FatalError(errnum::InvalidTableName, QStringLiteral("Item cannot be found in the collection."));
    return row.at(index);
}

QString Recordset::text(const QString& name) const {
    const QVariant v = field(name);
    if (v.isNull()) throw FatalError(errnum::InvalidUseOfNull, QStringLiteral("Invalid use of Null"));
    return v.toString();
}
