#include "report/render/ReadableReport.h"

#include "report/render/DocumentBuilder.h"
#include "text/StringTable.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cmath>

namespace reportrender {

namespace {

::Language languageOf(const QTextDocument& doc) {
    return language::fromLetter(doc.property(docprop::Language).toString()).value_or(::Language::E);
}

QString figure(double value, ::Language language) {
    return language::locale(language).toString(std::abs(value), 'f', 1);
}

// The way of a series from its first figure to its last: "rises", "falls", "holds steady".
QString wayOf(const QList<std::optional<double>>& series, ::Language language) {
    Chart line;
    line.firmSeries.clear();
    for (const std::optional<double>& v : series)
        if (v) line.firmSeries << v;
    const std::optional<int> way = medianDirection(line);
    if (!way) return strings::text("report.chart.tooFewYears", language);
    if (*way > 0) return strings::text("report.chart.rises", language);
    if (*way < 0) return strings::text("report.chart.falls", language);
    return strings::text("report.chart.steady", language);
}

QString gaugeInWords(const Chart& chart, ::Language language) {
    if (chart.quarter < 0 || chart.quarter > 3)
        return strings::text("report.chart.positionUnknown", language);
    static const char* const ordinals[] = {"report.chart.quarter1", "report.chart.quarter2",
                                           "report.chart.quarter3", "report.chart.quarter4"};
    // The quarter a firm is in: better than the quarters below it, worse than those above.
    return strings::text("report.chart.quarter", language)
        .arg(strings::text(ordinals[chart.quarter], language))
        .arg(chart.quarter * 25)
        .arg(75 - chart.quarter * 25);
}

QString barInWords(const Chart& chart, ::Language language) {
    if (!chart.value || !std::isfinite(*chart.value))
        return strings::text("report.chart.noIndustryFigure", language);
    if (*chart.value > 0)
        return strings::text("report.chart.above", language).arg(figure(*chart.value, language));
    if (*chart.value < 0)
        return strings::text("report.chart.below", language).arg(figure(*chart.value, language));
    return strings::text("report.chart.same", language);
}

// The text of a table cell, its lines joined.
QString cellText(const QTextTableCell& cell) {
    QStringList lines;
    for (auto it = cell.begin(); !it.atEnd(); ++it)
        if (const QString line = it.currentBlock().text().trimmed(); !line.isEmpty()) lines << line;
    return lines.join(u' ');
}

QList<QTextTable*> tablesOf(const QTextDocument& doc) {
    QList<QTextTable*> tables;
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        if (auto* table = qobject_cast<QTextTable*>(frame)) tables << table;
    return tables;
}

// One table's HTML: its caption, and th for the cells of its header rows (the column
// headers) and of its header columns (the row headers).
QString structuredTable(const QString& html, const QTextTable& table) {
    const QTextTableFormat format = table.format();
    const int headerRows = format.headerRowCount();
    const int every = std::max(1, format.intProperty(tableprop::RowHeaderEvery));
    const int columns = table.columns();
    static const QRegularExpression row(QStringLiteral("<tr[^>]*>(.*?)</tr>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(QStringLiteral("<td([^>]*)>(.*?)</td>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression colspan(QStringLiteral("colspan=\"(\\d+)\""));
    QString out;
    qsizetype done = 0;
    int r = 0;
    for (auto rows = row.globalMatch(html); rows.hasNext(); ++r) {
        const QRegularExpressionMatch tr = rows.next();
        out += html.mid(done, tr.capturedStart(1) - done);
        QString cells = tr.captured(1);
        QString written;
        qsizetype cellDone = 0;
        int column = 0;
        for (auto it = cell.globalMatch(cells); it.hasNext();) {
            const QRegularExpressionMatch td = it.next();
            const QRegularExpressionMatch span = colspan.match(td.captured(1));
            const int width = span.hasMatch() ? span.captured(1).toInt() : 1;
            QString scope;
            if (r < headerRows)
                scope = width > 1 ? QStringLiteral("colgroup") : QStringLiteral("col");
            else if (column % every == 0)
                scope = width >= columns ? QStringLiteral("rowgroup") : QStringLiteral("row");
            written += cells.mid(cellDone, td.capturedStart(0) - cellDone);
            written +=
                scope.isEmpty()
                    ? td.captured(0)
                    : QStringLiteral("<th scope=\"%1\"%2>%3</th>").arg(scope, td.captured(1), td.captured(2));
            cellDone = td.capturedEnd(0);
            column += width;
        }
        written += cells.mid(cellDone);
        out += written;
        done = tr.capturedEnd(1);
    }
    out += html.mid(done);
    const QString caption = format.stringProperty(tableprop::Caption);
    if (caption.isEmpty()) return out;
    // Said by a screen reader; the page shows the heading it repeats, or needs none.
    const qsizetype open = out.indexOf(u'>') + 1;
    return out.insert(open, QStringLiteral("<caption style=\"position: absolute; left: -10000px; width: 1px; "
                                           "height: 1px; overflow: hidden;\">%1</caption>")
                                .arg(caption.toHtmlEscaped()));
}

} // namespace

QString chartInWords(const Chart& chart, ::Language language) {
    switch (chart.kind) {
    case ChartKind::QuartileGauge:
        return gaugeInWords(chart, language);
    case ChartKind::DivergingBar:
        return barInWords(chart, language);
    case ChartKind::DivergingAxis:
        return strings::text("report.chart.axis", language)
            .arg(chart.labels.value(0), chart.labels.value(chart.labels.size() - 1));
    case ChartKind::TrendLine:
        return strings::text("report.chart.trend", language)
            .arg(wayOf(chart.firmSeries, language), wayOf(chart.medianSeries, language));
    case ChartKind::MedianDirection:
        return strings::text("report.chart.median", language).arg(wayOf(chart.firmSeries, language));
    }
    return QString();
}

QString chartAltText(const QTextDocument& doc, int position, const Chart& chart) {
    const QString words = chartInWords(chart, languageOf(doc));
    QTextCursor at(const_cast<QTextDocument*>(&doc));
    at.setPosition(position);
    const QTextTable* table = at.currentTable();
    if (!table) return words;
    const QTextTableCell cell = table->cellAt(position);
    if (cell.row() < table->format().headerRowCount() || cell.column() == 0) return words;
    const QString label = cellText(table->cellAt(cell.row(), 0));
    return label.isEmpty() ? words
                           : strings::text("report.chart.labelled", languageOf(doc)).arg(label, words);
}

namespace {

// A column sized for a small chart gets the room of a sentence, taken from the other
// columns in proportion to their widths, so that the chart's words read as lines.
void widenChartColumns(QTextDocument& doc, const QList<std::pair<int, QString>>& charts) {
    constexpr qreal kChartColumn = 18; // per cent of the table's width
    QHash<QTextTable*, QSet<int>> chartColumns;
    for (const auto& chart : charts) {
        QTextCursor at(&doc);
        at.setPosition(chart.first);
        if (QTextTable* table = at.currentTable())
            chartColumns[table].insert(table->cellAt(chart.first).column());
    }
    for (auto it = chartColumns.begin(); it != chartColumns.end(); ++it) {
        QTextTableFormat format = it.key()->format();
        QList<QTextLength> widths = format.columnWidthConstraints();
        qreal others = 0;
        for (qsizetype i = 0; i < widths.size(); ++i)
            if (!it.value().contains(int(i)) && widths[i].type() == QTextLength::PercentageLength)
                others += widths[i].rawValue();
        const qreal wanted = kChartColumn * it.value().size();
        if (widths.isEmpty() || others <= 0 || wanted >= 60) continue;
        const qreal scale = (100 - wanted) / others;
        for (qsizetype i = 0; i < widths.size(); ++i)
            if (it.value().contains(int(i)))
                widths[i] = QTextLength(QTextLength::PercentageLength, kChartColumn);
            else if (widths[i].type() == QTextLength::PercentageLength)
                widths[i] = QTextLength(QTextLength::PercentageLength, widths[i].rawValue() * scale);
        format.setColumnWidthConstraints(widths);
        it.key()->setFormat(format);
    }
}

} // namespace

std::unique_ptr<QTextDocument> readableCopy(const QTextDocument& doc) {
    std::unique_ptr<QTextDocument> copy(doc.clone());
    // The report's language and page texts go with it.
    for (const QByteArray& name : doc.dynamicPropertyNames())
        copy->setProperty(name.constData(), doc.property(name.constData()));
    // From the end, so that each replacement leaves the places of those before it.
    QList<std::pair<int, QString>> charts;
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            if (const std::optional<Chart> chart = chartFromFormat(fragment.charFormat()))
                for (int i = 0; i < fragment.length(); ++i)
                    charts.prepend({fragment.position() + i, chartInWords(*chart, languageOf(*copy))});
        }
    widenChartColumns(*copy, charts);
    for (const auto& [position, words] : charts) {
        QTextCursor c(copy.get());
        c.setPosition(position);
        c.setPosition(position + 1, QTextCursor::KeepAnchor);
        QTextCharFormat format = c.charFormat();
        format.setObjectType(QTextFormat::NoObject);
        format.setFontItalic(true);
        c.insertText(QStringLiteral("[") + words + QStringLiteral("]"), format);
    }
    return copy;
}

QString withReaderStructure(const QTextDocument& doc, QString html, const QStringList& altTexts) {
    // The charts' images, in the order the document writes them.
    static const QLatin1String chartImage("<img src=\"data:image/svg+xml;base64,");
    qsizetype from = 0;
    for (const QString& alt : altTexts) {
        from = html.indexOf(chartImage, from);
        if (from < 0) break;
        const QString attribute = QStringLiteral("<img alt=\"%1\" ").arg(alt.toHtmlEscaped());
        html.replace(from, 5, attribute);
        from += attribute.size();
    }
    // The tables, in the order of the document's frames; a table holds no other table.
    const QList<QTextTable*> tables = tablesOf(doc);
    QString out;
    qsizetype done = 0;
    for (const QTextTable* table : tables) {
        const qsizetype open = html.indexOf(QLatin1String("<table"), done);
        const qsizetype close = open < 0 ? -1 : html.indexOf(QLatin1String("</table>"), open);
        if (close < 0) break;
        out += html.mid(done, open - done);
        out += structuredTable(html.mid(open, close - open), *table);
        done = close;
    }
    return out + html.mid(done);
}

} // namespace reportrender
