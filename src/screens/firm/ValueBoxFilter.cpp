#include "screens/firm/ValueBoxFilter.h"

#include "firm/EntryOrder.h"
#include "firm/NumericEntry.h"
#include "platform/Platform.h"
#include "screens/firm/CaptionLinks.h"
#include "screens/firm/frmMyValues.h"

#include <QAction>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace valueboxes {

std::optional<char16_t> characterCode(const QKeyEvent& event) {
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return std::nullopt;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return numericentry::kEnter;
    if (key == Qt::Key_Backspace) return numericentry::kBackspace;
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<char16_t>(key - Qt::Key_A + 1);
    const QString text = event.text();
    if (text.isEmpty()) return std::nullopt;
    // Delete types the DEL character on some systems; it edits, it types nothing.
    if (key == Qt::Key_Delete) return std::nullopt;
    return text.at(0).unicode();
}

} // namespace valueboxes

ValueBoxFilter::ValueBoxFilter(frmMyValues& screen) : QObject(&screen), screen_(screen) {}

void ValueBoxFilter::watchShortcutsOf(QObject* box) {
    box->installEventFilter(this);
}

bool ValueBoxFilter::cutsSelection(QObject* watched, const QKeyEvent& event) {
    // Ctrl+X with text selected in a box the user may edit cuts it, as in every program.
    const auto* box = qobject_cast<const QLineEdit*>(watched);
    return box && event.matches(QKeySequence::Cut) && !box->isReadOnly() && box->hasSelectedText();
}

bool ValueBoxFilter::menuShortcutFirst(QObject* watched, QKeyEvent& event) {
    // A text box claims Ctrl+X, Ctrl+C and the like for itself before the menus see
    // them; the screen's own menu shortcuts stay the menus', except a cut of a selection.
    if (cutsSelection(watched, event)) return false;
    const QKeySequence pressed(event.keyCombination());
    for (const QAction* action : screen_.findChildren<QAction*>()) {
        if (!action->shortcuts().contains(pressed) || !action->isEnabled()) continue;
        event.ignore();
        return true;
    }
    return false;
}

bool ValueBoxFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride)
        return menuShortcutFirst(watched, *static_cast<QKeyEvent*>(event));

    auto* box = qobject_cast<QLineEdit*>(watched);
    const int index = box ? screen_.indexOfBox(box) : -1;
    if (index < 0) return false;
    const bool entered = lineitems::all()[index].kind == lineitems::Kind::Entered;

    switch (event->type()) {
    case QEvent::KeyPress:
        if (cutsSelection(watched, *static_cast<QKeyEvent*>(event))) return false;
        return keyPress(index, *static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Coming back from another window or a menu is no new visit of the box.
        if (!entered) return false;
        visited_ = box;
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        box->selectAll();
        clickedInto_ = reason == Qt::MouseFocusReason ? box : nullptr;
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (clickedInto_ == box && !box->hasSelectedText()) box->selectAll();
        clickedInto_ = nullptr;
        return false;
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // A message box, a menu or another window taking the focus does not leave the box.
        if (!entered || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        if (visited_ != box) return false;
        visited_ = nullptr;
        bool valid = true;
        runHandler([&] {
            valid = screen_.fncIsValidNumber(box);
            if (valid) screen_.subCalculateSubTotals();
        });
        // A refused box has the focus back with its text selected; the box must not
        // then handle the leave it no longer makes (it would drop the selection).
        return !valid;
    }
    default:
        return false;
    }
}

bool ValueBoxFilter::keyPress(int index, QKeyEvent& event) {
    // Shift+F1 shows the item's definition, as a click on its caption does.
    if (event.key() == Qt::Key_F1 && event.modifiers() == Qt::ShiftModifier) {
        runHandler([&] { CaptionLinks::showDefinition(screen_.captionLabel(index)->objectName()); });
        return true;
    }
    const std::optional<char16_t> code = valueboxes::characterCode(event);
    if (!code) return false; // navigation and editing keys type nothing: the box handles them
    QLineEdit* next = screen_.valueBox(entryorder::enterTarget(index));
    if (lineitems::all()[index].kind == lineitems::Kind::Computed) {
        // A computed box is read-only: Enter passes the focus on, other keys do nothing.
        if (*code != numericentry::kEnter) return false;
        runHandler([&] { next->setFocus(Qt::OtherFocusReason); });
        return true;
    }
    int16_t key = static_cast<int16_t>(*code);
    runHandler([&] { screen_.subHandleKeyPress(key, screen_.valueBox(index), next); });
    // A swallowed key never reaches the box; Enter has done its work once the focus moved.
    return key == 0 || key == numericentry::kEnter;
}
