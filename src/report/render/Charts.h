#pragma once
// The small charts of the reports, drawn with QPainter so that they stay vectors in a
// PDF, on paper and (through QSvgGenerator) in HTML: the quartile gauge of a ratio, the
// diverging bar of a balance-sheet difference and the scale above a column of such bars.
// In a document a chart is one object character whose format carries what to draw.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <array>
#include <optional>

class QPainter;
class QTextDocument;

namespace reportrender {

enum class ChartKind {
    QuartileGauge = 1,
    DivergingBar = 2,
    DivergingAxis = 3,
    TrendLine = 4,
    MedianDirection = 5
};

struct ChartStyle {
    // The industry's quarters from the weakest to the strongest.
    std::array<QColor, 4> quarters{QColor(0xe6, 0xeb, 0xf1), QColor(0xd8, 0xe0, 0xe9),
                                   QColor(0xca, 0xd5, 0xe1), QColor(0xbc, 0xca, 0xd9)};
    QColor highlight{0x1f, 0x4e, 0x79}; // the quarter the enterprise is in
    QColor marker{Qt::white};
    QColor positive{0x2e, 0x75, 0xb6};
    QColor negative{0xc5, 0x5a, 0x11};
    QColor axis{0x59, 0x65, 0x70};
    QColor text{0x33, 0x3d, 0x47};
};

struct Chart {
    ChartKind kind = ChartKind::QuartileGauge;
    double width = 10; // in line heights of the chart's font
    double height = 1;
    QString fontFamily = QStringLiteral("DejaVu Sans");
    double fontPointSize = 8.5;
    int quarter = -1;            // gauge: 0 (weakest) to 3 (strongest); -1 when the position is unknown
    int quarterTo = -1;          // gauge: the last quarter of a span the enterprise may be in, when wider
    int boundary = 0;            // gauge: 1 to 3 when the enterprise stands on Q1, the median or Q3
    std::optional<double> value; // bar
    double scale = 0;            // bar and axis: the value that fills half the width
    QStringList labels;          // axis: left end, centre, right end
    // Trend line: the firm's figures and the industry's medians, one per year in order (a
    // year without a figure breaks nothing: the line joins the years that have one).
    // Median direction: the median of the first year and of the last, in medianSeries.
    QList<std::optional<double>> firmSeries;
    QList<std::optional<double>> medianSeries;
    bool lowerIsBetter = false; // median direction: a falling median is the better way
    ChartStyle style;

    QFont font() const;
};

// The object type of a chart character in a document.
inline constexpr int kChartObjectType = 0x1000 + 0x2a; // QTextFormat::UserObject + 42

// The quarter from the shares of the industry the enterprise does better and worse than
// (0, 25, 50 or 75). Better decides; worse is only a fallback when better is missing.
int quarterFromPosition(std::optional<double> better, std::optional<double> worse);

// Geometry, in the chart's own rectangle.
QRectF gaugeSegment(const QRectF& area, int quarter);
QRectF gaugeTrack(const QRectF& area);
// The bar of a value: from the centre to the right for a positive value, to the left for
// a negative one, half the width for ±scale. Empty for zero, a missing value or no scale.
QRectF divergingBar(const QRectF& area, double value, double scale);

void drawChart(QPainter& painter, const QRectF& area, const Chart& chart);

// The median's way from the first year to the last: +1 up, -1 down, 0 level (a change under
// half a per cent of the first figure), nothing when either figure is missing.
std::optional<int> medianDirection(const Chart& chart);

// The chart as an SVG image of the given size in pixels.
QByteArray chartSvg(const Chart& chart, const QSizeF& size);

// A character format for the chart, to insert as QChar::ObjectReplacementCharacter.
QTextCharFormat chartFormat(const Chart& chart);
std::optional<Chart> chartFromFormat(const QTextFormat& format);

// The chart's size in the units of a document laid out for the device (nullptr: screen).
QSizeF chartSize(const Chart& chart, const QPaintDevice* device);

// Lets every layout the document gets from now on draw charts, without making one: the
// handler is there before a new layout's first pass.
void attachChartHandler(QTextDocument& doc);
// The same, and for the layout the document has now (made when it has none), which lays
// the document out again so that the charts get their room.
void registerChartHandler(QTextDocument& doc);

// Whether the document has a layout yet (asking QTextDocument for one makes one).
bool hasLayout(const QTextDocument& doc);
// Drops the document's layout; the next one is made when someone asks for it.
void releaseLayout(QTextDocument& doc);

} // namespace reportrender
