#include "report/render/DocumentBuilder.h"

#include "report/render/Charts.h"
#include "report/render/Expressions.h"

#include <QJsonArray>
#include <QTextCursor>
#include <QTextTable>
#include <algorithm>
#include <cmath>

namespace reportrender {

namespace {

// Lengths in a document are pixels at 96 per inch, which the layout scales to the
// device; the layouts speak in points, as typesetters do.
qreal px(qreal points) {
    return points * 96.0 / 72.0;
}

struct Theme {
    QString fontFamily = QStringLiteral("DejaVu Sans");
    qreal fontSize = 9;
    qreal tableFontSize = 8.5;
    qreal headerFontSize = 7.5;
    qreal cellPadding = 2.5;
    QColor text{0x1d, 0x23, 0x29};
    QColor muted{0x5b, 0x66, 0x70};
    QColor accent{0x1f, 0x3b, 0x57};
    QColor rule{0xa9, 0xb4, 0xbf};
    QColor headerBackground{0xe8, 0xed, 0xf2};
    QColor zebra{0xf5, 0xf7, 0xf9};
};

// The paragraph styles that are the document's headings, by their level.
int headingLevelOf(const QString& styleName) {
    if (styleName == QLatin1String("title")) return 1;
    if (styleName == QLatin1String("heading")) return 2;
    if (styleName == QLatin1String("caption")) return 3;
    return 0;
}

struct ParagraphStyle {
    qreal size = 0; // 0: the theme's font size
    bool bold = false;
    bool italic = false;
    QColor color;
    qreal spaceBefore = 0;
    qreal spaceAfter = 0;
    Qt::Alignment align = Qt::AlignLeft;
};

struct RowStyle {
    bool bold = false;
    bool italic = false;
    QColor color;
    QColor background;
    bool ruleAbove = false;
    bool ruleBelow = false;
    qreal indent = 0; // points, first column only
};

struct ColumnDef {
    QString id;
    qreal width = 0;
    Qt::Alignment align = Qt::AlignLeft;
    QJsonValue header;
    QJsonValue cell;
    qreal fontScale = 1;
};

struct CellDef {
    QJsonValue content;
    int span = 1;
    Qt::Alignment align;
    bool covered = false;
};

struct RowDef {
    bool group = false;
    QJsonValue groupLabel;
    RowStyle style;
    QList<CellDef> cells;
    QString where;
};

Qt::Alignment alignmentFrom(const QJsonValue& v, Qt::Alignment fallback, const QString& where) {
    if (v.isUndefined()) return fallback;
    const QString s = v.toString();
    if (s == QLatin1String("left")) return Qt::AlignLeft;
    if (s == QLatin1String("right")) return Qt::AlignRight;
    if (s == QLatin1String("center")) return Qt::AlignHCenter;
    layoutError(where, QStringLiteral("alignment must be left, right or center, not '%1'").arg(v.toString()));
}

class Builder {
public:
    Builder(const QJsonObject& layout, const ReportData& data, const QString& fileName)
        : layout_(layout), file_(fileName), ev_(data, layout, fileName) {
        readTheme();
        readParagraphStyles();
        readRowStyles();
    }

    std::unique_ptr<QTextDocument> build() {
        auto doc = std::make_unique<QTextDocument>();
        // A report is built once and never edited by hand: no undo history.
        doc->setUndoRedoEnabled(false);
        // Every layout the document gets draws its charts. None is made here: a document
        // without a layout is not laid out again at each edit, and it is laid out only
        // when it is printed, for the device it is printed on.
        attachChartHandler(*doc);
        QFont base(theme_.fontFamily);
        base.setStyleHint(QFont::SansSerif);
        base.setPointSizeF(theme_.fontSize);
        // A letter spacing, however small, turns ligatures off: "fi" stays two letters that
        // a reader can search for and copy out of the PDF.
        base.setLetterSpacing(QFont::AbsoluteSpacing, 0.02);
        doc->setDefaultFont(base);
        doc->setDocumentMargin(px(12));
        documentTitle_ =
            optionalText(layout_.value(QLatin1String("documentTitle")), QStringLiteral("documentTitle"));
        doc->setMetaInformation(QTextDocument::DocumentTitle, documentTitle_);
        const QJsonObject page = layout_.value(QLatin1String("page")).toObject();
        doc->setProperty(docprop::RunningHeader, optionalText(page.value(QLatin1String("runningHeader")),
                                                              QStringLiteral("page.runningHeader")));
        doc->setProperty(docprop::FooterNote, optionalText(page.value(QLatin1String("footerNote")),
                                                           QStringLiteral("page.footerNote")));
        doc->setProperty(docprop::PageLabel, optionalText(page.value(QLatin1String("pageLabel")),
                                                          QStringLiteral("page.pageLabel")));
        doc->setProperty(docprop::FontFamily, theme_.fontFamily);
        doc->setProperty(docprop::MutedColor, theme_.muted);
        doc->setProperty(docprop::RuleColor, theme_.accent);
        doc->setProperty(docprop::Language, language::letter(ev_.language()));

        cursor_ = QTextCursor(doc.get());
        fresh_ = true;
        const QJsonValue body = layout_.value(QLatin1String("body"));
        if (!body.isArray() || body.toArray().isEmpty())
            layoutError(file_, QStringLiteral("'body' must be a list of blocks"));
        const QJsonArray blocks = body.toArray();
        for (int i = 0; i < blocks.size(); ++i) {
            const QString where = QStringLiteral("%1, body[%2]").arg(file_).arg(i);
            if (!blocks[i].isObject()) layoutError(where, QStringLiteral("a block must be an object"));
            const QJsonObject block = blocks[i].toObject();
            const QString type = block.value(QLatin1String("type")).toString();
            if (type == QLatin1String("paragraph"))
                paragraph(block, where);
            else if (type == QLatin1String("fields"))
                fields(block, where);
            else if (type == QLatin1String("table"))
                table(block, where);
            else
                layoutError(where, QStringLiteral("unknown block type '%1'").arg(type));
        }
        if (fresh_) spacer();
        return doc;
    }

private:
    // ---- layout settings -------------------------------------------------------------

    QColor colour(const QJsonValue& v, const QColor& fallback, const QString& where) const {
        if (v.isUndefined()) return fallback;
        const QString s = v.toString();
        if (s == QLatin1String("text")) return theme_.text;
        if (s == QLatin1String("muted")) return theme_.muted;
        if (s == QLatin1String("accent")) return theme_.accent;
        if (!QColor::isValidColorName(s)) layoutError(where, QStringLiteral("'%1' is not a colour").arg(s));
        return QColor::fromString(s);
    }

    static qreal number(const QJsonObject& o, const char* key, qreal fallback, qreal min, qreal max,
                        const QString& where) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return fallback;
        if (!v.isDouble() || v.toDouble() < min || v.toDouble() > max)
            layoutError(where, QStringLiteral("'%1' must be a number from %2 to %3")
                                   .arg(QLatin1String(key))
                                   .arg(min)
                                   .arg(max));
        return v.toDouble();
    }

    void readTheme() {
        const QJsonObject t = layout_.value(QLatin1String("theme")).toObject();
        const QString where = file_ + QStringLiteral(", theme");
        if (t.contains(QLatin1String("font"))) theme_.fontFamily = t.value(QLatin1String("font")).toString();
        theme_.fontSize = number(t, "fontSize", theme_.fontSize, 5, 24, where);
        theme_.tableFontSize = number(t, "tableFontSize", theme_.tableFontSize, 5, 24, where);
        theme_.headerFontSize = number(t, "headerFontSize", theme_.headerFontSize, 5, 24, where);
        theme_.cellPadding = number(t, "cellPadding", theme_.cellPadding, 0, 20, where);
        theme_.text = colour(t.value(QLatin1String("text")), theme_.text, where);
        theme_.muted = colour(t.value(QLatin1String("muted")), theme_.muted, where);
        theme_.accent = colour(t.value(QLatin1String("accent")), theme_.accent, where);
        theme_.rule = colour(t.value(QLatin1String("rule")), theme_.rule, where);
        theme_.headerBackground =
            colour(t.value(QLatin1String("headerBackground")), theme_.headerBackground, where);
        theme_.zebra = colour(t.value(QLatin1String("zebra")), theme_.zebra, where);
    }

    void readParagraphStyles() {
        const QJsonObject styles = layout_.value(QLatin1String("paragraphStyles")).toObject();
        for (auto it = styles.begin(); it != styles.end(); ++it) {
            const QString where = file_ + QStringLiteral(", paragraph style ") + it.key();
            const QJsonObject o = it.value().toObject();
            ParagraphStyle s;
            s.size = number(o, "size", 0, 0, 48, where);
            s.bold = o.value(QLatin1String("bold")).toBool();
            s.italic = o.value(QLatin1String("italic")).toBool();
            s.color = colour(o.value(QLatin1String("color")), theme_.text, where);
            s.spaceBefore = number(o, "spaceBefore", 0, 0, 200, where);
            s.spaceAfter = number(o, "spaceAfter", 0, 0, 200, where);
            s.align = alignmentFrom(o.value(QLatin1String("align")), Qt::AlignLeft, where);
            paragraphStyles_.insert(it.key(), s);
        }
    }

    void readRowStyles() {
        const QJsonObject styles = layout_.value(QLatin1String("rowStyles")).toObject();
        for (auto it = styles.begin(); it != styles.end(); ++it) {
            const QString where = file_ + QStringLiteral(", row style ") + it.key();
            const QJsonObject o = it.value().toObject();
            RowStyle s;
            s.bold = o.value(QLatin1String("bold")).toBool();
            s.italic = o.value(QLatin1String("italic")).toBool();
            s.color = colour(o.value(QLatin1String("color")), QColor(), where);
            s.background = colour(o.value(QLatin1String("background")), QColor(), where);
            s.ruleAbove = o.value(QLatin1String("ruleAbove")).toBool();
            s.ruleBelow = o.value(QLatin1String("ruleBelow")).toBool();
            s.indent = number(o, "indent", 0, 0, 100, where);
            rowStyles_.insert(it.key(), s);
        }
    }

    QString optionalText(const QJsonValue& expr, const QString& where) const {
        if (expr.isUndefined() || expr.isNull()) return QString();
        return ev_.text(expr, file_ + QStringLiteral(", ") + where).text;
    }

    // ---- document flow ---------------------------------------------------------------

    // The empty block the cursor stands in (after a table, or at the start) becomes
    // the next paragraph, so that no stray empty line separates the blocks.
    void startParagraph(const QTextBlockFormat& bf, const QTextCharFormat& cf) {
        if (fresh_) {
            cursor_.setBlockFormat(bf);
            cursor_.setBlockCharFormat(cf);
            cursor_.setCharFormat(cf);
        } else {
            cursor_.insertBlock(bf, cf);
        }
        fresh_ = false;
    }

    // An empty block that must stay (between two tables, or at the end) takes almost no room.
    void spacer() {
        QTextBlockFormat bf;
        bf.setTopMargin(0);
        bf.setBottomMargin(0);
        bf.setLineHeight(px(2), QTextBlockFormat::FixedHeight);
        QTextCharFormat cf;
        cf.setFontPointSize(2);
        cursor_.setBlockFormat(bf);
        cursor_.setBlockCharFormat(cf);
    }

    void paragraph(const QJsonObject& block, const QString& where) {
        const QString styleName = block.value(QLatin1String("style")).toString();
        ParagraphStyle style;
        if (!styleName.isEmpty()) {
            if (!paragraphStyles_.contains(styleName))
                layoutError(where, QStringLiteral("unknown paragraph style '%1'").arg(styleName));
            style = paragraphStyles_.value(styleName);
        }
        const Text t = ev_.text(block.value(QLatin1String("text")), where);
        if (t.text.isEmpty() && block.value(QLatin1String("skipWhenEmpty")).toBool(true)) return;
        QTextBlockFormat bf;
        const int level = headingLevelOf(styleName);
        bf.setHeadingLevel(level);
        // A heading right before a table is its caption; any other block in between is not.
        lastHeading_ = level > 0 ? t.text : QString();
        bf.setAlignment(style.align);
        bf.setTopMargin(px(style.spaceBefore));
        bf.setBottomMargin(px(style.spaceAfter));
        if (block.value(QLatin1String("pageBreakBefore")).toBool())
            bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCharFormat cf;
        cf.setFontPointSize(style.size > 0 ? style.size : theme_.fontSize);
        cf.setFontWeight(style.bold ? QFont::Bold : QFont::Normal);
        cf.setFontItalic(style.italic);
        cf.setForeground(style.color.isValid() ? style.color : theme_.text);
        startParagraph(bf, cf);
        // A lead-in in bold opens the paragraph, as a run-in heading: "Profitability. Your …"
        if (block.contains(QLatin1String("lead"))) {
            const Text lead = ev_.text(block.value(QLatin1String("lead")), where + QStringLiteral(", lead"));
            if (!lead.text.isEmpty()) {
                QTextCharFormat bold = cf;
                bold.setFontWeight(QFont::Bold);
                cursor_.insertText(lead.text + QStringLiteral(" "), bold);
            }
        }
        cursor_.insertText(t.text, cf);
    }

    QTextTable* insertTable(int rows, int columns, QTextTableFormat format, qreal widthPercent = 100) {
        if (fresh_) spacer();
        format.setBorder(0);
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(px(theme_.cellPadding));
        format.setWidth(QTextLength(QTextLength::PercentageLength, widthPercent));
        format.setAlignment(Qt::AlignLeft);
        QTextTable* table = cursor_.insertTable(rows, columns, format);
        return table;
    }

    void afterTable() {
        cursor_.movePosition(QTextCursor::End);
        fresh_ = true;
    }

    QTextCharFormat cellText(qreal size, bool bold, const QColor& color) const {
        QTextCharFormat cf;
        cf.setFontPointSize(size);
        cf.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        cf.setForeground(color.isValid() ? color : theme_.text);
        return cf;
    }

    // Writes one cell: a text, a chart, or {"lines": […]} of both, one paragraph each.
    void fillCell(QTextTableCell cell, const QJsonValue& content, Qt::Alignment align,
                  const QTextCharFormat& base, qreal indent, const QString& where) {
        // Merging leaves the empty paragraphs of the merged cells behind.
        QTextCursor c = cell.firstCursorPosition();
        c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        c.removeSelectedText();
        const QJsonValue chosen = ev_.resolve(content, where);
        QJsonArray lines;
        if (chosen.isObject() && chosen.toObject().contains(QLatin1String("lines")))
            lines = chosen.toObject().value(QLatin1String("lines")).toArray();
        else
            lines.append(chosen);
        bool first = true;
        for (int i = 0; i < lines.size(); ++i) {
            const QJsonValue styled = lines[i]; // the look is the line's, whatever branch it takes
            const QString lineWhere =
                lines.size() > 1 ? QStringLiteral("%1, line %2").arg(where).arg(i + 1) : where;
            QTextBlockFormat bf;
            bf.setAlignment(align);
            bf.setTopMargin(0);
            bf.setBottomMargin(0);
            bf.setLeftMargin(px(indent));
            QTextCharFormat cf = base;
            if (styled.isObject()) {
                const QJsonObject o = styled.toObject();
                if (o.contains(QLatin1String("fontScale")))
                    cf.setFontPointSize(base.fontPointSize() * number(o, "fontScale", 1, 0.3, 3, lineWhere));
                if (o.value(QLatin1String("muted")).toBool()) cf.setForeground(theme_.muted);
                if (o.value(QLatin1String("bold")).toBool()) cf.setFontWeight(QFont::Bold);
            }
            const QJsonValue line = ev_.resolve(styled, lineWhere);
            if (Evaluator::isChart(line)) {
                const Chart chart = ev_.chart(line, lineWhere, theme_.fontFamily, base.fontPointSize());
                if (!first)
                    c.insertBlock(bf, base);
                else
                    c.setBlockFormat(bf);
                QTextCharFormat object = chartFormat(chart);
                c.insertText(QString(QChar::ObjectReplacementCharacter), object);
            } else {
                const Text t = ev_.text(line, lineWhere);
                if (t.text.isEmpty() && lines.size() > 1) continue;
                if (t.missing) cf.setForeground(theme_.muted);
                // A figure stays on one line however narrow its column: "1 234,5" never breaks.
                if (t.figure) bf.setNonBreakableLines(true);
                if (!first)
                    c.insertBlock(bf, cf);
                else
                    c.setBlockFormat(bf); // the first block's character format is the cell's own format
                c.insertText(t.text, cf);
            }
            first = false;
        }
    }

    void setBorder(QTextTableCellFormat& f, bool top, qreal width, const QColor& colour) const {
        if (top) {
            f.setTopBorder(px(width));
            f.setTopBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            f.setTopBorderBrush(colour);
        } else {
            f.setBottomBorder(px(width));
            f.setBottomBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            f.setBottomBorderBrush(colour);
        }
    }

    // ---- label/value header ----------------------------------------------------------

    void fields(const QJsonObject& block, const QString& where) {
        lastHeading_.clear();
        const QJsonArray items = block.value(QLatin1String("items")).toArray();
        if (items.isEmpty()) layoutError(where, QStringLiteral("'items' must list label/value pairs"));
        const int perRow = static_cast<int>(number(block, "pairsPerRow", 2, 1, 4, where));
        const qreal labelWidth = number(block, "labelWidth", 18, 1, 100, where);
        const int rows = (static_cast<int>(items.size()) + perRow - 1) / perRow;
        QTextTableFormat tf;
        QList<QTextLength> widths;
        for (int k = 0; k < perRow; ++k)
            widths << QTextLength(QTextLength::PercentageLength, labelWidth)
                   << QTextLength(QTextLength::PercentageLength, 100.0 / perRow - labelWidth);
        tf.setColumnWidthConstraints(widths);
        tf.setTopMargin(px(number(block, "spaceBefore", 4, 0, 100, where)));
        tf.setBottomMargin(px(number(block, "spaceAfter", 8, 0, 100, where)));
        tf.setProperty(tableprop::RowHeaderEvery, 2); // label, value, label, value
        QTextTable* t = insertTable(rows, perRow * 2, tf);
        // Every cell carries the rules, the empty ones of a short last row too.
        for (int row = 0; row < rows; ++row)
            for (int col = 0; col < perRow * 2; ++col) {
                QTextTableCellFormat f;
                f.setVerticalAlignment(QTextCharFormat::AlignBaseline);
                if (row == 0) setBorder(f, true, 1.5, theme_.accent);
                if (row == rows - 1) setBorder(f, false, 0.75, theme_.rule);
                t->cellAt(row, col).setFormat(f);
            }
        for (int i = 0; i < items.size(); ++i) {
            const QString itemWhere = QStringLiteral("%1, items[%2]").arg(where).arg(i);
            const QJsonObject item = items[i].toObject();
            const int row = i / perRow;
            const int col = (i % perRow) * 2;
            for (int part = 0; part < 2; ++part) {
                QTextTableCell cell = t->cellAt(row, col + part);
                const QTextCharFormat cf = part == 0 ? cellText(theme_.headerFontSize, false, theme_.muted)
                                                     : cellText(theme_.fontSize, true, theme_.text);
                fillCell(cell, item.value(part == 0 ? QLatin1String("label") : QLatin1String("value")),
                         Qt::AlignLeft, cf, 0, itemWhere);
            }
        }
        afterTable();
    }

    // ---- tables ----------------------------------------------------------------------

    QList<ColumnDef> readColumns(const QJsonObject& block, const QString& where) const {
        const QJsonArray cols = block.value(QLatin1String("columns")).toArray();
        if (cols.isEmpty()) layoutError(where, QStringLiteral("a table needs 'columns'"));
        QList<ColumnDef> out;
        QStringList ids;
        for (int i = 0; i < cols.size(); ++i) {
            const QString colWhere = QStringLiteral("%1, columns[%2]").arg(where).arg(i);
            const QJsonObject o = cols[i].toObject();
            ColumnDef c;
            c.id = o.value(QLatin1String("id")).toString();
            if (c.id.isEmpty() || ids.contains(c.id))
                layoutError(colWhere, QStringLiteral("every column needs an id of its own"));
            ids << c.id;
            c.width = number(o, "width", 0, 0, 100, colWhere);
            c.align = alignmentFrom(o.value(QLatin1String("align")), Qt::AlignLeft, colWhere);
            c.header = o.value(QLatin1String("header"));
            c.cell = o.value(QLatin1String("cell"));
            c.fontScale = number(o, "fontScale", 1, 0.3, 3, colWhere);
            out << c;
        }
        return out;
    }

    RowDef readRow(const QJsonValue& value, const QList<ColumnDef>& columns, const QJsonObject& defaults,
                   const QString& where) const {
        if (!value.isObject()) layoutError(where, QStringLiteral("a row must be an object"));
        const QJsonObject o = value.toObject();
        RowDef row;
        row.where = where;
        const QString styleName = o.value(QLatin1String("style")).toString();
        if (!styleName.isEmpty()) {
            if (!rowStyles_.contains(styleName))
                layoutError(where, QStringLiteral("unknown row style '%1'").arg(styleName));
            row.style = rowStyles_.value(styleName);
        }
        if (o.contains(QLatin1String("group"))) {
            row.group = true;
            row.groupLabel = o.value(QLatin1String("group"));
            return row;
        }
        // Every other member is a parameter of the column templates; the table's defaults
        // stand for the parameters a row leaves out.
        QJsonObject params = defaults;
        for (auto it = o.begin(); it != o.end(); ++it)
            params.insert(it.key(), it.value());
        params.remove(QLatin1String("style"));
        params.remove(QLatin1String("cells"));
        const QJsonObject overrides = o.value(QLatin1String("cells")).toObject();
        for (auto it = overrides.begin(); it != overrides.end(); ++it)
            if (std::none_of(columns.begin(), columns.end(),
                             [&](const ColumnDef& c) { return c.id == it.key(); }))
                layoutError(where, QStringLiteral("the table has no column '%1'").arg(it.key()));
        // Spans first: a cell under a span is not written, so its template is not filled in.
        for (const ColumnDef& col : columns) {
            CellDef cell;
            cell.align = col.align;
            const QJsonValue ov = overrides.value(col.id);
            if (ov.isObject() && ov.toObject().contains(QLatin1String("span")))
                cell.span = static_cast<int>(
                    number(ov.toObject(), "span", 1, 1, static_cast<qreal>(columns.size()), where));
            row.cells << cell;
        }
        for (int i = 0; i < row.cells.size(); ++i) {
            if (row.cells[i].span > 1 && i + row.cells[i].span > row.cells.size())
                layoutError(where, QStringLiteral("a span runs past the last column"));
            if (row.cells[i].covered) continue;
            for (int k = 1; k < row.cells[i].span; ++k)
                row.cells[i + k].covered = true;
        }
        for (int i = 0; i < row.cells.size(); ++i) {
            CellDef& cell = row.cells[i];
            const ColumnDef& col = columns[i];
            if (cell.covered) continue;
            if (!overrides.contains(col.id)) {
                cell.content = substitute(col.cell, params, where);
                continue;
            }
            const QJsonValue ov = overrides.value(col.id);
            if (ov.isObject() && ov.toObject().contains(QLatin1String("span"))) {
                const QJsonObject so = ov.toObject();
                cell.align = alignmentFrom(so.value(QLatin1String("align")), col.align, where);
                cell.content = substitute(so.value(QLatin1String("value")), params, where);
            } else {
                cell.content = substitute(ov, params, where);
            }
        }
        return row;
    }

    // The largest absolute value of each diverging-bar column, so that its bars share one scale.
    QHash<QString, double> columnScales(const QList<ColumnDef>& columns, const QList<RowDef>& rows) const {
        QHash<QString, double> scales;
        for (int c = 0; c < columns.size(); ++c) {
            double largest = 0;
            bool hasBars = false;
            for (const RowDef& row : rows) {
                if (row.group || row.cells[c].covered) continue;
                const QJsonValue content = ev_.resolve(row.cells[c].content, row.where);
                QJsonArray parts;
                if (content.isObject() && content.toObject().contains(QLatin1String("lines")))
                    parts = content.toObject().value(QLatin1String("lines")).toArray();
                else
                    parts.append(content);
                for (const QJsonValue& part : parts) {
                    // A bar left out (its figure missing) does not count towards the scale.
                    const QJsonObject o = ev_.resolve(part, row.where).toObject();
                    if (o.value(QLatin1String("chart")).toString() != QLatin1String("divergingBar")) continue;
                    hasBars = true;
                    if (!o.contains(QLatin1String("value"))) continue;
                    if (const std::optional<double> v =
                            ev_.number(o.value(QLatin1String("value")).toString()))
                        largest = std::max(largest, std::abs(*v));
                }
            }
            if (hasBars) scales.insert(columns[c].id, largest);
        }
        return scales;
    }

    void table(const QJsonObject& block, const QString& where) {
        const QList<ColumnDef> columns = readColumns(block, where);
        const int ncols = static_cast<int>(columns.size());
        const QJsonArray rowValues = block.value(QLatin1String("rows")).toArray();
        if (rowValues.isEmpty()) layoutError(where, QStringLiteral("a table needs 'rows'"));
        const QJsonValue defaults = block.value(QLatin1String("defaults"));
        if (!defaults.isUndefined() && !defaults.isObject())
            layoutError(where, QStringLiteral("'defaults' must be an object of row parameters"));
        QList<RowDef> rows;
        for (int i = 0; i < rowValues.size(); ++i)
            rows << readRow(rowValues[i], columns, defaults.toObject(),
                            QStringLiteral("%1, rows[%2]").arg(where).arg(i));
        ev_.setColumnScales(columnScales(columns, rows));

        const QJsonArray groups = block.value(QLatin1String("columnGroups")).toArray();
        int spanSum = 0;
        for (const QJsonValue& g : groups)
            spanSum += g.toObject().value(QLatin1String("span")).toInt(1);
        if (!groups.isEmpty() && spanSum != ncols)
            layoutError(where, QStringLiteral("the column groups span %1 columns, the table has %2")
                                   .arg(spanSum)
                                   .arg(ncols));
        const bool hasHeader = std::any_of(columns.begin(), columns.end(),
                                           [](const ColumnDef& c) { return !c.header.isUndefined(); });
        const int headerRows = (groups.isEmpty() ? 0 : 1) + (hasHeader ? 1 : 0);

        QTextTableFormat tf;
        QList<QTextLength> widths;
        for (const ColumnDef& c : columns)
            widths << (c.width > 0 ? QTextLength(QTextLength::PercentageLength, c.width) : QTextLength());
        tf.setColumnWidthConstraints(widths);
        tf.setHeaderRowCount(headerRows);
        tf.setProperty(tableprop::RowHeaderEvery, ncols);
        const QString caption =
            block.contains(QLatin1String("caption"))
                ? ev_.text(block.value(QLatin1String("caption")), where + QStringLiteral(", caption")).text
                : QString();
        tf.setProperty(tableprop::Caption, !caption.isEmpty()        ? caption
                                           : !lastHeading_.isEmpty() ? lastHeading_
                                                                     : documentTitle_);
        lastHeading_.clear();
        tf.setTopMargin(px(number(block, "spaceBefore", 2, 0, 100, where)));
        tf.setBottomMargin(px(number(block, "spaceAfter", 6, 0, 100, where)));
        if (block.value(QLatin1String("pageBreakBefore")).toBool())
            tf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextTable* t = insertTable(headerRows + static_cast<int>(rows.size()), ncols, tf,
                                    number(block, "width", 100, 20, 100, where));

        // A table with many narrow columns may ask for smaller type than the theme's.
        const qreal bodySize = number(block, "fontSize", theme_.tableFontSize, 5, 24, where);
        const QTextCharFormat headerText = cellText(
            number(block, "headerFontSize", theme_.headerFontSize, 5, 24, where), true, theme_.accent);
        int r = 0;
        if (!groups.isEmpty()) {
            int col = 0;
            for (int g = 0; g < groups.size(); ++g) {
                const QJsonObject go = groups[g].toObject();
                const int span = go.value(QLatin1String("span")).toInt(1);
                if (span > 1) t->mergeCells(r, col, 1, span);
                QTextTableCell cell = t->cellAt(r, col);
                QTextTableCellFormat f;
                f.setBackground(theme_.headerBackground);
                f.setVerticalAlignment(QTextCharFormat::AlignBottom);
                setBorder(f, true, 1.5, theme_.accent);
                if (go.contains(QLatin1String("header"))) setBorder(f, false, 0.5, theme_.rule);
                cell.setFormat(f);
                fillCell(cell, go.value(QLatin1String("header")), Qt::AlignHCenter, headerText, 0,
                         QStringLiteral("%1, columnGroups[%2]").arg(where).arg(g));
                col += span;
            }
            ++r;
        }
        if (hasHeader) {
            for (int c = 0; c < ncols; ++c) {
                QTextTableCell cell = t->cellAt(r, c);
                QTextTableCellFormat f;
                f.setBackground(theme_.headerBackground);
                f.setVerticalAlignment(QTextCharFormat::AlignBottom);
                if (groups.isEmpty()) setBorder(f, true, 1.5, theme_.accent);
                setBorder(f, false, 0.75, theme_.accent);
                cell.setFormat(f);
                fillCell(cell, columns[c].header, columns[c].align, headerText, 0,
                         QStringLiteral("%1, columns[%2].header").arg(where).arg(c));
            }
            ++r;
        }

        const bool zebra = block.value(QLatin1String("zebra")).toBool(true);
        int stripe = 0;
        for (int i = 0; i < rows.size(); ++i, ++r) {
            const RowDef& row = rows[i];
            const bool last = i == rows.size() - 1;
            if (row.group) {
                t->mergeCells(r, 0, 1, ncols);
                QTextTableCell cell = t->cellAt(r, 0);
                QTextTableCellFormat f;
                f.setVerticalAlignment(QTextCharFormat::AlignBottom);
                f.setTopPadding(px(theme_.cellPadding + 5));
                setBorder(f, false, 0.75, theme_.accent);
                if (row.style.background.isValid()) f.setBackground(row.style.background);
                cell.setFormat(f);
                const QTextCharFormat cf =
                    cellText(bodySize, true, row.style.color.isValid() ? row.style.color : theme_.accent);
                fillCell(cell, row.groupLabel, Qt::AlignLeft, cf, 0, row.where);
                stripe = 0;
                continue;
            }
            const QColor background = row.style.background.isValid() ? row.style.background
                                      : (zebra && stripe % 2 == 1)   ? theme_.zebra
                                                                     : QColor();
            ++stripe;
            for (int c = 0; c < ncols; ++c) {
                const CellDef& cellDef = row.cells[c];
                if (cellDef.covered) continue;
                if (cellDef.span > 1) t->mergeCells(r, c, 1, cellDef.span);
                QTextTableCell cell = t->cellAt(r, c);
                QTextTableCellFormat f;
                f.setVerticalAlignment(QTextCharFormat::AlignMiddle);
                if (background.isValid()) f.setBackground(background);
                if (row.style.ruleAbove) setBorder(f, true, 0.5, theme_.rule);
                if (row.style.ruleBelow) setBorder(f, false, 0.5, theme_.rule);
                if (last) setBorder(f, false, 1.0, theme_.accent);
                cell.setFormat(f);
                QTextCharFormat cf =
                    cellText(bodySize * columns[c].fontScale, row.style.bold, row.style.color);
                cf.setFontItalic(row.style.italic);
                fillCell(cell, cellDef.content, cellDef.align, cf, c == 0 ? row.style.indent : 0,
                         QStringLiteral("%1, column %2").arg(row.where, columns[c].id));
            }
        }
        ev_.setColumnScales({});
        afterTable();
    }

    QJsonObject layout_;
    QString file_;
    Evaluator ev_;
    Theme theme_;
    QHash<QString, ParagraphStyle> paragraphStyles_;
    QHash<QString, RowStyle> rowStyles_;
    QTextCursor cursor_;
    bool fresh_ = true;
    QString documentTitle_;
    QString lastHeading_; // the text of the heading just written; empty after any other block
};

} // namespace

std::unique_ptr<QTextDocument> buildFromLayout(const QJsonObject& layout, const ReportData& data,
                                               const QString& fileName) {
    return Builder(layout, data, fileName).build();
}

} // namespace reportrender
