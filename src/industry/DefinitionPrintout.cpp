#include "industry/DefinitionPrintout.h"

namespace definitionprintout {

namespace {

const QChar kCR(u'\r');
const QChar kLF(u'\n');

// A text box holds its line breaks as carriage return and line feed; text read back
// from a box or a database may have lone line feeds or carriage returns instead.
QString withBoxLineBreaks(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == kCR) {
            out += kCR;
            out += kLF;
            if (i + 1 < text.size() && text.at(i + 1) == kLF) ++i;
        } else if (c == kLF) {
            out += kCR;
            out += kLF;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QString bodyItem(const QString& definition) {
    const QString margin(kMarginBlanks, u' ');
    const QString t = withBoxLineBreaks(definition);
    QString b = margin;
    int column = 1;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c == kCR) {
            column = 1;
        } else if (c == u' ' && column >= kBreakColumn) {
            b += u' ';
            b += kCR;
            b += margin;
            column = 1;
        } else {
            b += c;
            if (i > 0 && t.at(i - 1) == kCR) b += margin;
            ++column;
        }
    }
    return b;
}

QList<PrintedLine> pageLines(const QString& heading, const QString& definition) {
    QList<PrintedLine> lines;
    const QString blank(1, u' ');
    for (int i = 0; i < 4; ++i)
        lines.append({blank, false, kBodyPointSize});
    lines.append({QString(kMarginBlanks, u' ') + heading, true, kHeadingPointSize});
    for (int i = 0; i < 3; ++i)
        lines.append({blank, true, kHeadingPointSize});
    qsizetype start = 0;
    const QString body = bodyItem(definition);
    for (qsizetype i = 0; i <= body.size(); ++i) {
        if (i == body.size() || body.at(i) == kCR || body.at(i) == kLF) {
            lines.append({body.mid(start, i - start), false, kBodyPointSize});
            start = i + 1;
        }
    }
    return lines;
}

} // namespace definitionprintout
