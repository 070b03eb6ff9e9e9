#pragma once
// The check that no text of a shown window is cut off: every visible label, button,
// option and frame title is measured with its font (word wrap considered) and compared
// with the room the layout gave it. French texts are longer; this is where they would
// not fit.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTextDocument>
#include <QToolButton>

namespace layoutcheck {

inline QString describe(const QWidget* w, const QString& text, QSize need, QSize has) {
    return QStringLiteral("%1 %2 \"%3\": needs %4x%5, has %6x%7")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), text)
        .arg(need.width())
        .arg(need.height())
        .arg(has.width())
        .arg(has.height());
}

// A label's text in the room inside its margins.
inline QString checkLabel(const QLabel* label) {
    const QString text = label->text();
    if (text.isEmpty()) return QString();
    QRect room = label->contentsRect();
    room.adjust(label->margin(), label->margin(), -label->margin(), -label->margin());
    const bool rich = label->textFormat() == Qt::RichText ||
                      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    QSize need;
    if (rich) {
        QTextDocument doc;
        doc.setDocumentMargin(0);
        doc.setDefaultFont(label->font());
        doc.setHtml(text);
        if (label->wordWrap()) doc.setTextWidth(room.width());
        need = QSize(qCeil(doc.idealWidth()), qCeil(doc.size().height()));
    } else {
        const int flags = Qt::TextExpandTabs | (label->wordWrap() ? Qt::TextWordWrap : 0);
        need =
            QFontMetrics(label->font()).boundingRect(QRect(0, 0, room.width(), 1 << 20), flags, text).size();
    }
    if (need.width() <= room.width() && need.height() <= room.height()) return QString();
    return describe(label, text, need, room.size());
}

// A push button, an option or a check box: its text (and icon) in the room the style
// leaves beside the indicator and inside the bevel.
inline QString checkButton(const QAbstractButton* button) {
    const QString text = button->text();
    if (text.isEmpty()) return QString();
    if (qobject_cast<const QToolButton*>(button)) {
        // A tool bar's buttons are as wide as they need or move to its extension menu.
        const QSize need = button->sizeHint();
        if (need.width() <= button->width()) return QString();
        return describe(button, text, need, button->size());
    }
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = text;
    opt.icon = button->icon();
    opt.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QRadioButton*>(button))
        contents = QStyle::SE_RadioButtonContents;
    else if (qobject_cast<const QCheckBox*>(button))
        contents = QStyle::SE_CheckBoxContents;
    const QRect room = button->style()->subElementRect(contents, &opt, button);
    const QFontMetrics fm(button->font());
    int width = fm.horizontalAdvance(text);
    if (!opt.icon.isNull()) width += opt.iconSize.width() + 4;
    const QSize need(width, fm.height());
    if (need.width() <= room.width() && need.height() <= room.height()) return QString();
    return describe(button, text, need, room.size());
}

// A frame's title within the frame's width.
inline QString checkGroupBox(const QGroupBox* box) {
    if (box->title().isEmpty()) return QString();
    QStyleOptionGroupBox opt;
    opt.initFrom(box);
    opt.text = box->title();
    opt.lineWidth = 1;
    opt.midLineWidth = 0;
    opt.textAlignment = box->alignment();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect label =
        box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
    const int need = QFontMetrics(box->font()).horizontalAdvance(box->title());
    if (label.left() >= 0 && label.right() <= box->rect().right() && label.width() >= need) return QString();
    return describe(box, box->title(), QSize(need, label.height()),
                    QSize(box->width() - qMax(0, label.left()), label.height()));
}

// Every text of the shown window that needs more room than it has; empty when all fit.
inline QStringList clippedTexts(QWidget& window) {
    QApplication::processEvents();
    QStringList faults;
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (const QWidget* w : widgets) {
        if (!w->isVisible()) continue;
        QString fault;
        if (auto* label = qobject_cast<const QLabel*>(w))
            fault = checkLabel(label);
        else if (auto* button = qobject_cast<const QAbstractButton*>(w))
            fault = checkButton(button);
        else if (auto* box = qobject_cast<const QGroupBox*>(w))
            fault = checkGroupBox(box);
        if (!fault.isEmpty()) faults << fault;
    }
    return faults;
}

} // namespace layoutcheck
