#include "data/NameCollation.h"

#include "data/SqliteHandle.h"

#include <algorithm>

namespace {

unsigned char folded(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// UTF-8 bytes order texts by code point; UTF-16 code units put the characters from
// U+10000 up (surrogates, D800 to DFFF) before U+E000 to U+FFFF, whose lead bytes
// 0xEE and 0xEF are therefore moved past the four-byte lead bytes (up to 0xF4). The
// texts agree up to the byte compared, so it is a lead byte in both or in neither.
int inUtf16Order(unsigned char c) {
    return c == 0xEE || c == 0xEF ? c + 0x10 : c;
}

int compareBytes(QByteArrayView a, QByteArrayView b, bool foldLetters) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (foldLetters) {
            x = folded(x);
            y = folded(y);
        }
        if (x != y) return inUtf16Order(x) - inUtf16Order(y);
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int collate(void*, int aBytes, const void* a, int bBytes, const void* b) {
    return compareNames(QByteArrayView(static_cast<const char*>(a), aBytes),
                        QByteArrayView(static_cast<const char*>(b), bBytes));
}

} // namespace

int compareNames(QByteArrayView a, QByteArrayView b) {
    if (const int byCase = compareBytes(a, b, true); byCase != 0) return byCase;
    return compareBytes(a, b, false);
}

void installNameCollation(QSqlDatabase& db) {
    sqlite3* raw = sqliteHandle(db);
    if (sqlite3_create_collation_v2(raw, kNameCollation, SQLITE_UTF8, nullptr, collate, nullptr) != SQLITE_OK)
        throw FatalError(errnum::DatabaseError, QString::fromUtf8(sqlite3_errmsg(raw)));
}
