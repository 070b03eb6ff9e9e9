#pragma once
// A firm's statement read from a file for batch use: a JSON object, or a CSV file whose
// header row names the columns and whose first data row is the firm. Keys are FirmName,
// Year and the MyValues column names of the 32 line items; a missing item is an empty box.

#include "firm/FirmStatement.h"

#include <QString>

namespace firmfile {

struct ReadResult {
    FirmStatement firm;
    QString error; // empty when the file was read
};

ReadResult read(const QString& path);
ReadResult parseJson(const QByteArray& data);
ReadResult parseCsv(const QString& text);

// The fields of one CSV record; quotes as in RFC 4180.
QList<QStringList> csvRecords(const QString& text);

} // namespace firmfile
