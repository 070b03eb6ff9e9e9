#pragma once
// One event filter for the 32 value boxes of the firm values screen, so that the entry
// rules are applied in one place and not once per box: it maps key events onto the
// character codes of the key filter, selects a box's whole text when the box gets the
// focus, and runs the leave check when an entered box loses it. Which box is entered or
// computed and where Enter moves come from the line item table.
//
// The same filter keeps the menu shortcuts first in every box it watches (the firm name
// box included): Ctrl+X is the Exit entry there, unless text is selected in a box the user
// may edit, which Ctrl+X then cuts.

#include <QObject>
#include <optional>

class QKeyEvent;
class frmMyValues;

namespace valueboxes {

// The character code a key event types, as the key filter sees it: Enter 13, Backspace 8,
// the control character of Ctrl and a letter (the paste shortcut Ctrl+V is 22), otherwise
// the character the key types. Nothing for keys that type no character (arrows, Home,
// End, Delete, function keys) and for Tab, which moves the focus.
std::optional<char16_t> characterCode(const QKeyEvent& event);

} // namespace valueboxes

class ValueBoxFilter : public QObject {
    Q_OBJECT
public:
    explicit ValueBoxFilter(frmMyValues& screen);

    // Watches a box for its menu shortcuts only (the firm name box).
    void watchShortcutsOf(QObject* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPress(int index, QKeyEvent& event);
    bool menuShortcutFirst(QObject* watched, QKeyEvent& event);
    static bool cutsSelection(QObject* watched, const QKeyEvent& event);

    frmMyValues& screen_;
    // A box that got the focus by a mouse press selects its text when the button is
    // released, unless the user dragged a selection of their own.
    QObject* clickedInto_ = nullptr;
    // The box the focus arrived in. A box the focus passed on its way, sent away again
    // before it arrived (a refused box taking it back), was never visited: leaving it
    // checks nothing and adds up nothing.
    QObject* visited_ = nullptr;
};
