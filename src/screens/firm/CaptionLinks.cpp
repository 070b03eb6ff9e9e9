#include "screens/firm/CaptionLinks.h"

#include "firm/LineItemDefinitions.h"
#include "platform/Platform.h"
#include "state/modMain.h"

#include <QLabel>
#include <QMouseEvent>

CaptionLinks::CaptionLinks(QObject* parent) : QObject(parent) {}

void CaptionLinks::link(QLabel* captionLabel) {
    captionLabel->setCursor(Qt::PointingHandCursor);
    captionLabel->installEventFilter(this);
}

void CaptionLinks::showDefinition(const QString& captionLabel) {
    const auto definition = lineitemdefinitions::lookup(captionLabel, modMain::language());
    if (!definition) return;
    MsgBox(lineitemdefinitions::body(*definition), MsgButtons::OK, MsgIcon::Information, definition->title);
}

bool CaptionLinks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease) return false;
    auto* label = qobject_cast<QLabel*>(watched);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    // A click is a press and a release of the left button over the label.
    if (!label || mouse->button() != Qt::LeftButton || !label->rect().contains(mouse->position().toPoint()))
        return false;
    runHandler([label] { showDefinition(label->objectName()); });
    return true;
}
