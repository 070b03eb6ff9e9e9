#include "cli/ReportFileNames.h"

#include <QRegularExpression>

namespace cli {

namespace {

bool isUnsafe(char32_t c) {
    static const QString reserved = QStringLiteral("/\\:*?\"<>|");
    if (c < 0x20 || c == 0x7F) return true;
    if (c < 0x80) return reserved.contains(QChar(c));
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format: // direction overrides and the like, which can disguise an extension
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

// Blanks at either end, and dots at the start (a hidden file on some systems), are
// dropped; a dot at the end of the stem is not at the end of the file name, which ends in
// the year and ".pdf", so it is kept ("Inc.").
QString trimEdges(const QString& s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && (s[begin] == u'.' || s[begin].isSpace()))
        ++begin;
    while (end > begin && s[end - 1].isSpace())
        --end;
    return s.mid(begin, end - begin);
}

} // namespace

QString safeStem(const QString& text) {
    QString out;
    int bytes = 0;
    for (const char32_t c : text.toUcs4()) {
        const char32_t kept = isUnsafe(c) ? U'_' : c;
        const QString piece = QString::fromUcs4(&kept, 1);
        const int size = int(piece.toUtf8().size());
        if (bytes + size > kMaxStemBytes) break; // whole characters only
        out += piece;
        bytes += size;
    }
    out = trimEdges(out);
    return out.isEmpty() ? QStringLiteral("firm") : out;
}

bool isReservedName(const QString& fileName) {
    static const QRegularExpression device(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[0-9\u00B9\u00B2\u00B3]|LPT[0-9\u00B9\u00B2\u00B3]) *$"),
        QRegularExpression::CaseInsensitiveOption);
    return device.match(fileName.section(u'.', 0, 0)).hasMatch();
}

QString ReportFileNames::next(const QString& firmName, const QString& year) {
    const QString base = safeStem(firmName) + u'_' + safeStem(year);
    for (int n = 1;; ++n) {
        QString name = base + (n == 1 ? QString() : QStringLiteral("-%1").arg(n)) + QStringLiteral(".pdf");
        if (isReservedName(name)) name.prepend(u'_');
        const QString key = name.toCaseFolded();
        if (used_.contains(key)) continue;
        used_.insert(key);
        return name;
    }
}

} // namespace cli
