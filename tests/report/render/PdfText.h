#pragma once
// Reading a written report back as a reader would: the PDF's text as pdftotext lays it
// out, and the figures that stand on the line of a label.

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace pdftext {

// The PDF's text, with the non-breaking spaces made plain; empty when it cannot be read.
inline QString read(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return QString();
    QString text = QString::fromUtf8(p.readAllStandardOutput());
    text.replace(QChar(0x00a0), u' ');
    text.replace(QChar(0x202f), u' ');
    return text;
}

// The lines on which the label stands as a cell of its own (followed by a column gap).
inline QStringList linesWith(const QString& text, const QString& label) {
    const QRegularExpression cell(QRegularExpression::escape(label) + QStringLiteral("(\\s{2,}|$)"));
    QStringList out;
    for (const QString& line : text.split(u'\n'))
        if (cell.match(line).hasMatch()) out << line;
    return out;
}

// Whether the figures stand on the line in this order, each a word of its own.
inline bool hasFiguresInOrder(const QString& line, const QStringList& figures) {
    qsizetype from = 0;
    for (const QString& figure : figures) {
        const QRegularExpression word(QStringLiteral("(^|\\s)") + QRegularExpression::escape(figure) +
                                      QStringLiteral("(\\s|$)"));
        const QRegularExpressionMatch m = word.match(line, from);
        if (!m.hasMatch()) return false;
        from = m.capturedEnd() - (m.captured(2).isEmpty() ? 0 : 1);
    }
    return true;
}

// "label|figure|figure…": some line of the label carries the figures in this order.
// Returns an empty text when it does, else what went wrong.
inline QString checkLine(const QString& text, const QString& check) {
    QStringList parts = check.split(u'|');
    const QString label = parts.takeFirst();
    const QStringList lines = linesWith(text, label);
    if (lines.isEmpty()) return QStringLiteral("no line for ") + check;
    for (const QString& line : lines)
        if (hasFiguresInOrder(line, parts)) return QString();
    return QStringLiteral("'%1' not on: %2").arg(check, lines.join(QStringLiteral(" // ")));
}

} // namespace pdftext
