#include "screens/common/Widgets.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

QPushButton* makeButton(const QString& name, const QString& text) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    b->setMinimumWidth(110);
    return b;
}

QLabel* makeLabel(const QString& name, const QString& text, bool bold) {
    auto* l = new QLabel(text);
    l->setObjectName(name);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

QLabel* makePicture(const QString& name, const QString& svgResource, QSize size) {
    auto* l = new QLabel;
    l->setObjectName(name);
    l->setPixmap(QIcon(svgResource).pixmap(size));
    l->setFixedSize(size);
    return l;
}

QRadioButton* makeOption(const QString& name, const QString& text) {
    auto* o = new QRadioButton(text);
    o->setObjectName(name);
    return o;
}

QMenu* makeMenu(QMenuBar* bar, const QString& name) {
    QMenu* m = bar->addMenu(QString());
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    return m;
}

QAction* makeMenuEntry(QMenu* menu, const QString& name, const QKeySequence& shortcut) {
    QAction* a = menu->addAction(QString());
    a->setObjectName(name);
    a->setShortcut(shortcut);
    // A window-wide shortcut works whichever control has the focus.
    a->setShortcutContext(Qt::WindowShortcut);
    return a;
}

void setFixedSizeAfterLayout(QWidget* window) {
    window->adjustSize();
    if (window->layout()) window->layout()->setSizeConstraint(QLayout::SetFixedSize);
}
