#pragma once
// SQLite's own LIKE folds only ASCII letters, so "électricité" would not find
// "Électricité". This replaces LIKE on a connection with a version that folds case
// the Unicode way; "%" and "_" keep their meaning, and ESCAPE works as before.

#include <QSqlDatabase>
#include <QString>

void installUnicodeLike(QSqlDatabase& db);

// The matching rule itself: text matches pattern, without regard to case.
bool unicodeLike(const QString& pattern, const QString& text, QChar escape = QChar());
