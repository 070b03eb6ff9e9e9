#include "screens/industry/DefinitionPage.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

bool paintDefinitionPage(QPagedPaintDevice& device, const QList<definitionprintout::PrintedLine>& lines) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const qreal pageHeight = device.height();
    qreal y = 0;
    for (const definitionprintout::PrintedLine& line : lines) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setStyleHint(QFont::SansSerif);
        font.setPointSize(line.pointSize);
        font.setBold(line.bold);
        painter.setFont(font);
        const QFontMetricsF metrics(painter.font(), &device);
        if (y > 0 && y + metrics.height() > pageHeight) {
            device.newPage();
            y = 0;
        }
        painter.drawText(QPointF(0, y + metrics.ascent()), line.text);
        y += metrics.lineSpacing();
    }
    return painter.end();
}
