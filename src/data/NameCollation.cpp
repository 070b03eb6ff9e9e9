#include "data/NameCollation.h"

#include "data/SqliteHandle.h"

#include <algorithm>
#include <tuple>

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

} // namespace

// One pass for both rules: the first byte where the folded texts differ decides; texts
// equal folded (and as long) are ordered by the first byte where they differ as stored.
int compareNames(QByteArrayView a, QByteArrayView b) {
    const auto* x = reinterpret_cast<const unsigned char*>(a.data());
    const auto* y = reinterpret_cast<const unsigned char*>(b.data());
    const auto* xEnd = x + std::min(a.size(), b.size());
    int asStored = 0;
    while (true) {
        std::tie(x, y) = std::mismatch(x, xEnd, y);
        if (x == xEnd) break;
        if (folded(*x) != folded(*y)) return inUtf16Order(folded(*x)) - inUtf16Order(folded(*y));
        if (asStored == 0) asStored = inUtf16Order(*x) - inUtf16Order(*y);
        ++x;
        ++y;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return asStored;
}

namespace {

int collate(void*, int aBytes, const void* a, int bBytes, const void* b) {
    return compareNames(QByteArrayView(static_cast<const char*>(a), aBytes),
                        QByteArrayView(static_cast<const char*>(b), bBytes));
}

} // namespace

void installNameCollation(QSqlDatabase& db) {
    sqlite3* raw = sqliteHandle(db);
    if (sqlite3_create_collation_v2(raw, kNameCollation, SQLITE_UTF8, nullptr, collate, nullptr) != SQLITE_OK)
        throw FatalError(errnum::DatabaseError, QString::fromUtf8(sqlite3_errmsg(raw)));
}
