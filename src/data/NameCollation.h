#pragma once
// The order of firm names in every list of stored firms, as a collation the file's
// engine sorts by ("ORDER BY FirmName COLLATE firm_name"), so that a long list is read
// in order rather than read whole and sorted: the letters A to Z fold to a to z, other
// characters compare by their UTF-16 code units (as QString::compare does); names equal
// that way compare as stored. The engine keeps its own collations out of the file: the
// collation is registered on the connection only, never used in the schema.

#include <QByteArrayView>
#include <QSqlDatabase>

inline constexpr const char* kNameCollation = "firm_name";

void installNameCollation(QSqlDatabase& db);

// The comparison itself, on UTF-8 texts: negative, zero or positive.
int compareNames(QByteArrayView a, QByteArrayView b);
