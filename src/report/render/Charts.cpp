#include "report/render/Charts.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <algorithm>
#include <cmath>

namespace reportrender {

namespace {

enum Property {
    PKind = QTextFormat::UserProperty + 1,
    PWidth,
    PHeight,
    PFamily,
    PPointSize,
    PQuarter,
    PHasValue,
    PValue,
    PScale,
    PLabels,
    PColors, // quarters, highlight, marker, positive, negative, axis, text
    PFirmSeries,
    PMedianSeries,
    PLowerIsBetter,
    PQuarterTo,
    PBoundary,
};

QVariantList seriesToList(const QList<std::optional<double>>& series) {
    QVariantList out;
    for (const std::optional<double>& v : series)
        out << (v ? QVariant(*v) : QVariant());
    return out;
}

QList<std::optional<double>> seriesFromList(const QVariantList& list) {
    QList<std::optional<double>> out;
    for (const QVariant& v : list)
        out << (v.isNull() ? std::nullopt : std::optional<double>(v.toDouble()));
    return out;
}

QVariantList colorsOf(const ChartStyle& s) {
    QVariantList list;
    for (const QColor& c : s.quarters)
        list << c;
    list << s.highlight << s.marker << s.positive << s.negative << s.axis << s.text;
    return list;
}

ChartStyle styleFrom(const QVariantList& list) {
    ChartStyle s;
    if (list.size() != 10) return s;
    for (int i = 0; i < 4; ++i)
        s.quarters[static_cast<size_t>(i)] = list[i].value<QColor>();
    s.highlight = list[4].value<QColor>();
    s.marker = list[5].value<QColor>();
    s.positive = list[6].value<QColor>();
    s.negative = list[7].value<QColor>();
    s.axis = list[8].value<QColor>();
    s.text = list[9].value<QColor>();
    return s;
}

void drawGauge(QPainter& p, const QRectF& area, const Chart& c) {
    const QRectF track = gaugeTrack(area);
    // A span (a boundary the industry lacks) is lit half as strongly as a known quarter.
    const int last = std::max(c.quarter, c.quarterTo);
    for (int q = 0; q < 4; ++q) {
        QColor fill = c.style.quarters[static_cast<size_t>(q)];
        if (c.quarter >= 0 && q >= c.quarter && q <= last) {
            fill = c.style.highlight;
            if (last > c.quarter) fill.setAlphaF(0.45);
        }
        p.fillRect(gaugeSegment(area, q), fill);
    }
    // The median is the border between the second and third quarters.
    const qreal mid = track.center().x();
    p.setPen(QPen(c.style.axis, std::max<qreal>(track.height() * 0.08, 0.5)));
    p.drawLine(QPointF(mid, area.top() + area.height() * 0.08),
               QPointF(mid, area.bottom() - area.height() * 0.08));
    const bool onBoundary = c.boundary >= 1 && c.boundary <= 3;
    if (!onBoundary && (c.quarter < 0 || c.quarter > 3 || last > c.quarter)) return;
    // A diamond in the middle of the enterprise's quarter, or on the boundary it stands on.
    const QRectF seg = gaugeSegment(area, onBoundary ? c.boundary - 1 : c.quarter);
    const qreal r = seg.height() * 0.32;
    const QPointF centre =
        onBoundary ? QPointF((seg.right() + gaugeSegment(area, c.boundary).left()) / 2, seg.center().y())
                   : seg.center();
    QPainterPath diamond;
    diamond.moveTo(centre.x(), centre.y() - r);
    diamond.lineTo(centre.x() + r, centre.y());
    diamond.lineTo(centre.x(), centre.y() + r);
    diamond.lineTo(centre.x() - r, centre.y());
    diamond.closeSubpath();
    // On a boundary the diamond stands between two lighter quarters: dark, outlined in white.
    p.setPen(onBoundary ? QPen(c.style.marker, std::max<qreal>(r * 0.25, 0.4)) : QPen(Qt::NoPen));
    p.setBrush(onBoundary ? c.style.highlight : c.style.marker);
    p.drawPath(diamond);
}

void drawBar(QPainter& p, const QRectF& area, const Chart& c) {
    if (c.value) {
        const QRectF bar = divergingBar(area, *c.value, c.scale);
        if (!bar.isEmpty()) p.fillRect(bar, *c.value > 0 ? c.style.positive : c.style.negative);
    }
    const qreal mid = area.center().x();
    p.setPen(QPen(c.style.axis, std::max<qreal>(area.height() * 0.06, 0.5)));
    p.drawLine(QPointF(mid, area.top()), QPointF(mid, area.bottom()));
}

void drawAxis(QPainter& p, const QRectF& area, const Chart& c) {
    const QRectF inner = area.adjusted(area.width() * 0.03, 0, -area.width() * 0.03, 0);
    QFont f = c.font();
    f.setPointSizeF(c.fontPointSize * 0.85);
    p.setFont(f);
    p.setPen(c.style.text);
    const qreal tick = area.height() * 0.22;
    const QRectF textBox(inner.left(), area.top(), inner.width(), area.height() - tick);
    const QStringList labels = c.labels.size() == 3 ? c.labels : QStringList{QString(), QString(), QString()};
    p.drawText(textBox, Qt::AlignLeft | Qt::AlignBottom, labels[0]);
    p.drawText(textBox, Qt::AlignHCenter | Qt::AlignBottom, labels[1]);
    p.drawText(textBox, Qt::AlignRight | Qt::AlignBottom, labels[2]);
    p.setPen(QPen(c.style.axis, std::max<qreal>(area.height() * 0.03, 0.5)));
    const qreal y = area.bottom() - area.height() * 0.02;
    p.drawLine(QPointF(inner.left(), y), QPointF(inner.right(), y));
    for (qreal x : {inner.left(), inner.center().x(), inner.right()})
        p.drawLine(QPointF(x, y), QPointF(x, y - tick));
}

// The firm's line (solid, with a dot a year) over the medians' (dashed), on one scale.
void drawTrendLine(QPainter& p, const QRectF& area, const Chart& c) {
    const QRectF inner =
        area.adjusted(area.width() * 0.08, area.height() * 0.15, -area.width() * 0.08, -area.height() * 0.15);
    const qsizetype n = std::max(c.firmSeries.size(), c.medianSeries.size());
    double low = 0, high = 0;
    bool any = false;
    for (const auto* series : {&c.firmSeries, &c.medianSeries})
        for (const std::optional<double>& v : *series)
            if (v && std::isfinite(*v)) {
                low = any ? std::min(low, *v) : *v;
                high = any ? std::max(high, *v) : *v;
                any = true;
            }
    p.setPen(QPen(c.style.quarters[1], std::max<qreal>(area.height() * 0.03, 0.5)));
    p.drawLine(QPointF(inner.left(), inner.bottom()), QPointF(inner.right(), inner.bottom()));
    if (!any || n == 0) return;
    const auto x = [&](qsizetype i) {
        return n == 1 ? inner.center().x() : inner.left() + inner.width() * i / (n - 1);
    };
    const auto y = [&](double v) {
        return high > low ? inner.bottom() - inner.height() * (v - low) / (high - low) : inner.center().y();
    };
    const auto line = [&](const QList<std::optional<double>>& series) {
        QPainterPath path;
        bool started = false;
        for (qsizetype i = 0; i < series.size(); ++i) {
            if (!series[i] || !std::isfinite(*series[i])) continue;
            const QPointF pt(x(i), y(*series[i]));
            if (started)
                path.lineTo(pt);
            else
                path.moveTo(pt);
            started = true;
        }
        return path;
    };
    QPen median(c.style.axis, std::max<qreal>(area.height() * 0.05, 0.5));
    median.setDashPattern({3, 2});
    p.setPen(median);
    p.setBrush(Qt::NoBrush);
    p.drawPath(line(c.medianSeries));
    p.setPen(QPen(c.style.highlight, std::max<qreal>(area.height() * 0.09, 0.8)));
    p.drawPath(line(c.firmSeries));
    p.setPen(Qt::NoPen);
    p.setBrush(c.style.highlight);
    const qreal r = area.height() * 0.11;
    for (qsizetype i = 0; i < c.firmSeries.size(); ++i)
        if (c.firmSeries[i] && std::isfinite(*c.firmSeries[i]))
            p.drawEllipse(QPointF(x(i), y(*c.firmSeries[i])), r, r);
}

// An arrow rising, falling or level, in the colour of a better or a worse median.
void drawMedianDirection(QPainter& p, const QRectF& area, const Chart& c) {
    const std::optional<int> way = medianDirection(c);
    if (!way) return;
    const bool better = *way != 0 && ((*way > 0) != c.lowerIsBetter);
    const QColor colour = *way == 0 ? c.style.axis : better ? c.style.positive : c.style.negative;
    const qreal side = std::min(area.width(), area.height()) * 0.8;
    const QRectF box(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    const QPointF from(box.left(), *way > 0 ? box.bottom() : *way < 0 ? box.top() : box.center().y());
    const QPointF to(box.right(), *way > 0 ? box.top() : *way < 0 ? box.bottom() : box.center().y());
    p.setPen(QPen(colour, side * 0.12, Qt::SolidLine, Qt::RoundCap));
    const QPointF d = to - from;
    const qreal length = std::hypot(d.x(), d.y());
    const QPointF u = d / length;
    const QPointF tip = to;
    const QPointF base = tip - u * side * 0.38;
    const QPointF normal(-u.y(), u.x());
    p.drawLine(from, base);
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(base + normal * side * 0.22);
    head.lineTo(base - normal * side * 0.22);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(head);
}

class ChartObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    // Registers itself with every layout the document gets, before that layout's first pass.
    explicit ChartObject(QTextDocument* doc) : QObject(doc) {
        connect(doc, &QTextDocument::documentLayoutChanged, this, [this, doc] {
            // Dropping a layout is announced too; asking for the layout then would make a new one.
            if (!releasing) doc->documentLayout()->registerHandler(kChartObjectType, this);
        });
    }

    bool releasing = false;

    QSizeF intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) override {
        const std::optional<Chart> chart = chartFromFormat(format);
        if (!chart) return {};
        return chartSize(*chart, doc->documentLayout()->paintDevice());
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& format) override {
        if (const std::optional<Chart> chart = chartFromFormat(format)) {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            drawChart(*painter, rect, *chart);
            painter->restore();
        }
    }
};

} // namespace

QFont Chart::font() const {
    QFont f(fontFamily);
    f.setPointSizeF(fontPointSize);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

int quarterFromPosition(std::optional<double> better, std::optional<double> worse) {
    if (better && std::isfinite(*better))
        return std::clamp(static_cast<int>(std::lround(*better / 25.0)), 0, 3);
    if (worse && std::isfinite(*worse))
        return std::clamp(3 - static_cast<int>(std::lround(*worse / 25.0)), 0, 3);
    return -1;
}

QRectF gaugeTrack(const QRectF& area) {
    const qreal h = area.height() * 0.7;
    return QRectF(area.left(), area.top() + (area.height() - h) / 2, area.width(), h);
}

QRectF gaugeSegment(const QRectF& area, int quarter) {
    const QRectF track = gaugeTrack(area);
    const qreal gap = track.width() * 0.015;
    const qreal w = (track.width() - 3 * gap) / 4;
    return QRectF(track.left() + quarter * (w + gap), track.top(), w, track.height());
}

QRectF divergingBar(const QRectF& area, double value, double scale) {
    if (!(scale > 0) || !std::isfinite(value) || value == 0.0) return {};
    const qreal half = area.width() / 2 * 0.96;
    const qreal length = half * std::min(std::abs(value) / scale, 1.0);
    const qreal h = area.height() * 0.62;
    const qreal top = area.top() + (area.height() - h) / 2;
    const qreal mid = area.center().x();
    return value > 0 ? QRectF(mid, top, length, h) : QRectF(mid - length, top, length, h);
}

void drawChart(QPainter& painter, const QRectF& area, const Chart& chart) {
    switch (chart.kind) {
    case ChartKind::QuartileGauge:
        drawGauge(painter, area, chart);
        break;
    case ChartKind::DivergingBar:
        drawBar(painter, area, chart);
        break;
    case ChartKind::DivergingAxis:
        drawAxis(painter, area, chart);
        break;
    case ChartKind::TrendLine:
        drawTrendLine(painter, area, chart);
        break;
    case ChartKind::MedianDirection:
        drawMedianDirection(painter, area, chart);
        break;
    }
}

std::optional<int> medianDirection(const Chart& chart) {
    if (chart.medianSeries.size() < 2) return std::nullopt;
    const std::optional<double> first = chart.medianSeries.first();
    const std::optional<double> last = chart.medianSeries.last();
    if (!first || !last || !std::isfinite(*first) || !std::isfinite(*last)) return std::nullopt;
    const double change = *last - *first;
    if (std::abs(change) <= 0.005 * std::abs(*first)) return 0;
    return change > 0 ? 1 : -1;
}

QByteArray chartSvg(const Chart& chart, const QSizeF& size) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(96);
    svg.setSize(QSize(static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height()))));
    svg.setViewBox(QRectF(QPointF(0, 0), size));
    {
        QPainter p(&svg);
        p.setRenderHint(QPainter::Antialiasing);
        drawChart(p, QRectF(QPointF(0, 0), size), chart);
    }
    return buffer.data();
}

QTextCharFormat chartFormat(const Chart& chart) {
    QTextCharFormat f;
    f.setObjectType(kChartObjectType);
    f.setProperty(PKind, static_cast<int>(chart.kind));
    f.setProperty(PWidth, chart.width);
    f.setProperty(PHeight, chart.height);
    f.setProperty(PFamily, chart.fontFamily);
    f.setProperty(PPointSize, chart.fontPointSize);
    f.setProperty(PQuarter, chart.quarter);
    f.setProperty(PQuarterTo, chart.quarterTo);
    f.setProperty(PBoundary, chart.boundary);
    f.setProperty(PHasValue, chart.value.has_value());
    f.setProperty(PValue, chart.value.value_or(0.0));
    f.setProperty(PScale, chart.scale);
    f.setProperty(PLabels, chart.labels);
    f.setProperty(PColors, colorsOf(chart.style));
    f.setProperty(PFirmSeries, seriesToList(chart.firmSeries));
    f.setProperty(PMedianSeries, seriesToList(chart.medianSeries));
    f.setProperty(PLowerIsBetter, chart.lowerIsBetter);
    f.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    return f;
}

std::optional<Chart> chartFromFormat(const QTextFormat& format) {
    if (format.objectType() != kChartObjectType) return std::nullopt;
    const int kind = format.intProperty(PKind);
    if (kind < 1 || kind > 5) return std::nullopt;
    Chart c;
    c.kind = static_cast<ChartKind>(kind);
    c.width = format.doubleProperty(PWidth);
    c.height = format.doubleProperty(PHeight);
    c.fontFamily = format.stringProperty(PFamily);
    c.fontPointSize = format.doubleProperty(PPointSize);
    c.quarter = format.intProperty(PQuarter);
    c.quarterTo = format.hasProperty(PQuarterTo) ? format.intProperty(PQuarterTo) : -1;
    c.boundary = format.intProperty(PBoundary);
    if (format.boolProperty(PHasValue)) c.value = format.doubleProperty(PValue);
    c.scale = format.doubleProperty(PScale);
    c.labels = format.property(PLabels).toStringList();
    c.style = styleFrom(format.property(PColors).toList());
    c.firmSeries = seriesFromList(format.property(PFirmSeries).toList());
    c.medianSeries = seriesFromList(format.property(PMedianSeries).toList());
    c.lowerIsBetter = format.boolProperty(PLowerIsBetter);
    return c;
}

QSizeF chartSize(const Chart& chart, const QPaintDevice* device) {
    // Sized in lines of the chart's font as the document's text is laid out, so that a
    // chart keeps its proportions to the text on the screen, on paper and in a PDF.
    // Measuring a font is costly and a report asks for the same few sizes over and over.
    static QHash<QString, qreal> lineHeights; // family, size and resolution -> height
    const QString key = QStringLiteral("%1|%2|%3")
                            .arg(chart.fontFamily)
                            .arg(chart.fontPointSize, 0, 'g', 12)
                            .arg(device ? device->logicalDpiY() : 0);
    auto it = lineHeights.find(key);
    if (it == lineHeights.end()) it = lineHeights.insert(key, QFontMetricsF(chart.font(), device).height());
    return QSizeF(chart.width * *it, chart.height * *it);
}

namespace {

ChartObject* handlerOf(QTextDocument& doc) {
    // One handler per document, owned by it.
    if (auto* existing = doc.findChild<ChartObject*>(QString(), Qt::FindDirectChildrenOnly)) return existing;
    return new ChartObject(&doc);
}

} // namespace

void attachChartHandler(QTextDocument& doc) {
    (void)handlerOf(doc);
}

void registerChartHandler(QTextDocument& doc) {
    ChartObject* handler = handlerOf(doc);
    doc.documentLayout()->registerHandler(kChartObjectType, handler);
    // A layout that laid the document out before the handler was there gave the charts no
    // room: once the handler is there, the charts get their size.
    if (doc.isLayoutEnabled()) doc.markContentsDirty(0, doc.characterCount());
}

bool hasLayout(const QTextDocument& doc) {
    return doc.findChild<QAbstractTextDocumentLayout*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
}

void releaseLayout(QTextDocument& doc) {
    if (!hasLayout(doc)) return;
    ChartObject* handler = handlerOf(doc);
    handler->releasing = true;
    doc.setDocumentLayout(nullptr);
    handler->releasing = false;
}

} // namespace reportrender

#include "Charts.moc"
