#include "screens/common/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTextDocumentFragment>

namespace accessibility {

namespace {

constexpr char kLinkProperty[] = "ventroluxLink";

class NamedComboBox : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return box()->currentText();
        const QString own = QAccessibleWidget::text(t);
        // Without a name or a label of its own, the list is known by what it shows.
        return own.isEmpty() && t == QAccessible::Name ? box()->currentText() : own;
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == box()->view() ? 0 : -1;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

class LinkLabel : public QAccessibleWidget {
public:
    explicit LinkLabel(QLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        const QString own = QAccessibleWidget::text(t);
        if (t != QAccessible::Name || !own.isEmpty()) return own;
        return QTextDocumentFragment::fromHtml(label()->text()).toPlainText();
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            emit label()->linkActivated(QString());
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QLabel* label() const { return static_cast<QLabel*>(widget()); }
};

// Enter on a focused link opens it, whether or not the label's text control has put its
// cursor on the anchor (it does not when the focus came by a click or by the program).
class EnterOpensLink : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        emit static_cast<QLabel*>(watched)->linkActivated(QString());
        return true;
    }
};

QAccessibleInterface* describe(const QString& className, QObject* object) {
    if (className == QLatin1String("QComboBox"))
        if (auto* box = qobject_cast<QComboBox*>(object)) return new NamedComboBox(box);
    if (className == QLatin1String("QLabel"))
        if (auto* label = qobject_cast<QLabel*>(object); label && label->property(kLinkProperty).toBool())
            return new LinkLabel(label);
    return nullptr;
}

} // namespace

void install() {
    static const bool installed = [] {
        QAccessible::installFactory(describe);
        return true;
    }();
    (void)installed;
}

void makeLink(QLabel* label) {
    label->setProperty(kLinkProperty, true);
    // Setting a label's text may already have described it to the bus as a plain label:
    // that description goes, and the next one is the link's.
    if (QAccessibleInterface* told = QAccessible::queryAccessibleInterface(label);
        told && told->role() != QAccessible::Link)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(told));
    label->setTextFormat(Qt::RichText);
    // Tab reaches the link as one control and leaves it at once; Enter opens it (below).
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    label->setFocusPolicy(Qt::StrongFocus);
    label->setCursor(Qt::PointingHandCursor);
    // The focus shows on the link as it does on a button, from the first Tab.
    label->setStyleSheet(QStringLiteral("QLabel { border: 1px solid transparent; }"
                                        "QLabel:focus { border: 1px dotted palette(highlight); }"));
    static EnterOpensLink enterOpens;
    label->installEventFilter(&enterOpens);
}

} // namespace accessibility
