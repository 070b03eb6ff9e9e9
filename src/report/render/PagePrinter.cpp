#include "report/render/PagePrinter.h"

#include "report/render/Charts.h"
#include "report/render/DocumentBuilder.h"

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>
#include <QTextFrame>
#include <algorithm>

namespace reportrender {

namespace {

QFont marginFont(const QTextDocument& doc, qreal points) {
    QFont f(doc.property(docprop::FontFamily).toString());
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 0.02); // no ligatures, as in the body
    return f;
}

} // namespace

int paintPages(QTextDocument& doc, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) return 0;

    const qreal dpiX = device.logicalDpiX();
    const qreal dpiY = device.logicalDpiY();
    const auto mmToX = [&](qreal mm) { return mm / 25.4 * dpiX; };
    const auto mmToY = [&](qreal mm) { return mm / 25.4 * dpiY; };
    // The device's own margins (a printer's unprintable border) count towards ours.
    const QMarginsF own = device.pageLayout().margins(QPageLayout::Millimeter);
    const qreal left = mmToX(std::max(0.0, kMinimumMargins.left() - own.left()));
    const qreal right = mmToX(std::max(0.0, kMinimumMargins.right() - own.right()));
    const qreal top = mmToY(std::max(0.0, kMinimumMargins.top() - own.top()));
    const qreal bottom = mmToY(std::max(0.0, kMinimumMargins.bottom() - own.bottom()));
    const QRectF area(left, top, device.width() - left - right, device.height() - top - bottom);

    const QFont noteFont = marginFont(doc, 6.5);
    const QFont headerFont = marginFont(doc, 7);
    const QFontMetricsF noteMetrics(noteFont, &device);
    const QFontMetricsF headerMetrics(headerFont, &device);
    const QString note = doc.property(docprop::FooterNote).toString();
    const QString pageLabel = doc.property(docprop::PageLabel).toString();
    const QString runningHeader = doc.property(docprop::RunningHeader).toString();
    const QColor muted = doc.property(docprop::MutedColor).value<QColor>().isValid()
                             ? doc.property(docprop::MutedColor).value<QColor>()
                             : QColor(Qt::darkGray);
    const QColor rule = doc.property(docprop::RuleColor).value<QColor>().isValid()
                            ? doc.property(docprop::RuleColor).value<QColor>()
                            : QColor(Qt::black);

    // The page number sits at the right of the footer; the note takes the rest.
    const qreal numberWidth = noteMetrics.horizontalAdvance(pageLabel + QStringLiteral(" 000 / 000"));
    const QRectF noteBox(0, 0, area.width() - numberWidth - mmToX(4), area.height());
    const QRectF noteBounds = noteMetrics.boundingRect(noteBox, Qt::TextWordWrap, note);
    const qreal footerHeight = std::max(noteBounds.height(), noteMetrics.height()) + mmToY(3);
    const qreal headerHeight = runningHeader.isEmpty() ? 0 : headerMetrics.height() + mmToY(3);

    // The document is laid out for this device, once: the device, the margins and the page
    // size are all set before the layout's pass. (A clone would leave the document alone, but
    // cloning loses the structure of tables with merged cells.) A document that had no layout
    // is left without one; one laid out for the screen is given back to the screen.
    const bool hadLayout = hasLayout(doc);
    const bool wasEnabled = doc.isLayoutEnabled();
    doc.setLayoutEnabled(false);
    // A layout made now gets the chart handler as it is made; one made before may not have it.
    // With the layout off, neither lays anything out.
    if (hadLayout)
        registerChartHandler(doc);
    else
        attachChartHandler(doc);
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    struct Restore {
        QTextDocument& doc;
        bool hadLayout;
        bool wasEnabled;
        QPaintDevice* device;
        QSizeF pageSize;
        qreal margin;
        ~Restore() {
            doc.setLayoutEnabled(false);
            if (hadLayout)
                doc.documentLayout()->setPaintDevice(device);
            else
                releaseLayout(doc);
            doc.setDocumentMargin(margin);
            doc.setPageSize(pageSize);
            doc.setLayoutEnabled(wasEnabled);
        }
    } restore{doc, hadLayout, wasEnabled, layout->paintDevice(), doc.pageSize(), doc.documentMargin()};
    layout->setPaintDevice(&device);
    doc.setDocumentMargin(0);
    const qreal bodyWidth = area.width();
    const qreal bodyHeight = area.height() - footerHeight - headerHeight;
    // The page size is in device pixels; lengths inside the document are scaled by the layout.
    doc.setPageSize(QSizeF(bodyWidth, bodyHeight));
    doc.setLayoutEnabled(true);
    const int pages = doc.pageCount();

    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) device.newPage();
        const qreal bodyTop = area.top() + (page > 0 ? headerHeight : 0);
        if (page > 0 && !runningHeader.isEmpty()) {
            painter.setFont(headerFont);
            painter.setPen(muted);
            const QRectF box(area.left(), area.top(), area.width(), headerMetrics.height());
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                             headerMetrics.elidedText(runningHeader, Qt::ElideRight, area.width()));
            painter.setPen(QPen(rule, mmToY(0.2)));
            const qreal y = area.top() + headerMetrics.height() + mmToY(1);
            painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        }

        painter.save();
        painter.translate(area.left(), bodyTop - page * bodyHeight);
        const QRectF view(0, page * bodyHeight, bodyWidth, bodyHeight);
        painter.setClipRect(view);
        context.clip = view;
        layout->draw(&painter, context);
        painter.restore();

        const qreal footerTop = area.bottom() - footerHeight + mmToY(2);
        painter.setPen(QPen(rule, mmToY(0.2)));
        painter.drawLine(QPointF(area.left(), footerTop - mmToY(1)),
                         QPointF(area.right(), footerTop - mmToY(1)));
        painter.setFont(noteFont);
        painter.setPen(muted);
        painter.drawText(QRectF(area.left(), footerTop, noteBox.width(), footerHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, note);
        const QString number = QStringLiteral("%1 %2 / %3").arg(pageLabel).arg(page + 1).arg(pages).trimmed();
        painter.drawText(QRectF(area.right() - numberWidth, footerTop, numberWidth, noteMetrics.height()),
                         Qt::AlignRight | Qt::AlignTop, number);
    }
    painter.end();
    return pages;
}

} // namespace reportrender
