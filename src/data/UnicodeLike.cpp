#include "data/UnicodeLike.h"

#include "data/SqliteHandle.h"

#include <QList>

namespace {

// Matches with backtracking over the last "%" only, which is enough for a linear-time
// LIKE: a later "%" can absorb whatever an earlier one would have.
bool matchFolded(const QList<uint>& p, const QList<uint>& t, uint escape, bool hasEscape) {
    qsizetype pi = 0, ti = 0;
    qsizetype starP = -1, starT = 0;
    while (ti < t.size()) {
        if (pi < p.size()) {
            uint pc = p[pi];
            if (hasEscape && pc == escape && pi + 1 < p.size()) {
                if (p[pi + 1] == t[ti]) {
                    pi += 2;
                    ++ti;
                    continue;
                }
            } else if (pc == u'%') {
                starP = pi++;
                starT = ti;
                continue;
            } else if (pc == u'_' || pc == t[ti]) {
                ++pi;
                ++ti;
                continue;
            }
        }
        if (starP < 0) return false;
        pi = starP + 1;
        ti = ++starT;
    }
    while (pi < p.size() && p[pi] == u'%')
        ++pi;
    return pi == p.size();
}

QString textArg(sqlite3_value* v) {
    const auto* data = static_cast<const char16_t*>(sqlite3_value_text16(v));
    const int bytes = sqlite3_value_bytes16(v);
    return QString::fromUtf16(data, bytes / 2);
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL ||
        (argc == 3 && sqlite3_value_type(argv[2]) == SQLITE_NULL)) {
        sqlite3_result_null(ctx);
        return;
    }
    // SQLite passes LIKE's operands as like(pattern, text[, escape]).
    const QString pattern = textArg(argv[0]);
    const QString text = textArg(argv[1]);
    QChar escape;
    if (argc == 3) {
        const QString e = textArg(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.at(0);
    }
    sqlite3_result_int(ctx, unicodeLike(pattern, text, escape) ? 1 : 0);
}

} // namespace

QList<uint> foldForLike(const QString& text) {
    // Canonical decomposition splits "é" into "e" and a combining accent; dropping the
    // marks leaves the base letters, so accents neither have to be typed nor may hinder
    // a match. Case folding first maps "É" to "é" (and "Œ" to "œ").
    const QString decomposed = text.toCaseFolded().normalized(QString::NormalizationForm_D);
    QList<uint> out;
    out.reserve(decomposed.size());
    for (const uint c : decomposed.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing) continue;
        out.append(c);
    }
    return out;
}

bool unicodeLike(const QString& pattern, const QString& text, QChar escape) {
    const bool hasEscape = !escape.isNull();
    const uint esc = hasEscape ? foldForLike(QString(escape)).value(0) : 0;
    return matchFolded(foldForLike(pattern), foldForLike(text), esc, hasEscape);
}

void installUnicodeLike(QSqlDatabase& db) {
    sqlite3* raw = sqliteHandle(db);
    const int flags = SQLITE_UTF16 | SQLITE_DETERMINISTIC;
    if (sqlite3_create_function_v2(raw, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr, nullptr) !=
            SQLITE_OK ||
        sqlite3_create_function_v2(raw, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr, nullptr) !=
            SQLITE_OK)
        throw FatalError(errnum::DatabaseError, QString::fromUtf8(sqlite3_errmsg(raw)));
}
