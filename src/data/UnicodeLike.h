#pragma once
// SQLite's own LIKE folds only ASCII letters, so "électricité" would not find
// "Électricité". This replaces LIKE on a connection with a version that folds case
// the Unicode way and ignores accents in both directions ("electricite" finds
// "électricité", "Électricité" finds "electricite"); "%" and "_" keep their meaning,
// ESCAPE works as before, and every other character, "[" included, stands for itself.

#include <QList>
#include <QSqlDatabase>
#include <QString>

void installUnicodeLike(QSqlDatabase& db);

// The matching rule itself: text matches pattern, without regard to case or accents.
bool unicodeLike(const QString& pattern, const QString& text, QChar escape = QChar());

// A text as the rule compares it: case-folded, without accents, as code points.
QList<uint> foldForLike(const QString& text);
