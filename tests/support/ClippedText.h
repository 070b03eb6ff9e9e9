#pragma once
// Texts that do not fit the control that shows them, once the window is laid out: a
// label, a button, an option, a frame's title, a text box or a drop-down list whose
// text is wider (or, wrapped, taller) than the room the control gives it. A screen
// test shows the window in a language and expects the list to be empty.

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWidget>

namespace clippedtext {

inline QString describe(const QWidget* w, const QString& text) {
    return QStringLiteral("%1 \"%2\"")
        .arg(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName(),
             text);
}

// The room a label leaves for its text: its contents less margin and indent.
inline int labelRoom(const QLabel* l) {
    const int indent = l->indent() > 0
                           ? l->indent()
                           : (l->frameWidth() > 0 ? l->fontMetrics().horizontalAdvance(u'x') / 2 : 0);
    return l->contentsRect().width() - 2 * l->margin() - indent;
}

inline bool labelClipped(const QLabel* l) {
    const QString text = l->text();
    if (text.isEmpty() || l->textFormat() == Qt::RichText) return false;
    if (l->wordWrap()) return l->heightForWidth(l->width()) > l->height();
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, l->fontMetrics().horizontalAdvance(line));
    return widest > labelRoom(l);
}

inline bool lineEditClipped(const QLineEdit* e) {
    if (e->text().isEmpty()) return false;
    QStyleOptionFrame option;
    option.initFrom(e);
    option.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, e) : 0;
    const QRect room = e->style()->subElementRect(QStyle::SE_LineEditContents, &option, e);
    const QMargins margins = e->textMargins();
    // Qt keeps two pixels on each side of the text inside the contents.
    const int width = room.width() - margins.left() - margins.right() - 4;
    return e->fontMetrics().horizontalAdvance(e->text()) > width;
}

// Every text of the window and its children that is cut off; empty when all fit.
inline QStringList clippedTexts(QWidget* window) {
    QStringList out;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (!w->isVisible()) continue;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            if (labelClipped(l)) out << describe(l, l->text());
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            if (!b->text().isEmpty() && b->width() < b->sizeHint().width()) out << describe(b, b->text());
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            if (!g->title().isEmpty() && g->width() < g->minimumSizeHint().width())
                out << describe(g, g->title());
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            if (lineEditClipped(e)) out << describe(e, e->text());
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            if (!c->currentText().isEmpty() && c->width() < c->minimumSizeHint().width())
                out << describe(c, c->currentText());
        }
    }
    return out;
}

} // namespace clippedtext
