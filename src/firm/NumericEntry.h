#pragma once
// The entry rules every value box shares, without widgets: the key filter of the
// entered boxes (digits, Backspace and Enter only; the minus key makes the value
// negative), the Enter key of the computed boxes, and the check run when an entered
// box is left. The screen maps its key events onto character codes and applies the
// result; keys that type no character (arrows, Home, End, Delete) are not filtered.

#include "text/Language.h"

#include <QString>

namespace numericentry {

// Character codes as the key filter sees them. A control key arrives as its control
// character: the paste shortcut Ctrl+V is 22 and is refused like a letter.
inline constexpr char16_t kBackspace = 8;
inline constexpr char16_t kEnter = 13;
inline constexpr char16_t kMinus = 45;

// A value box as a key finds it, or as the key leaves it: its text and selection.
// With no selection the caret stands at selectionStart; with one, at its end.
struct BoxState {
    QString text;
    int selectionStart = 0;
    int selectionLength = 0;

    int caret() const { return selectionStart + selectionLength; }
    bool operator==(const BoxState&) const = default;
};

enum class KeyAction {
    Typed,   // let through: the box edits its text as usual, as `after` shows
    Negated, // the minus command rewrote the text; the key itself is swallowed
    MoveOn,  // Enter: the text is in its normal form; recompute the subtotals, focus the next box
    Refused, // swallowed: show the refusal message, the text unchanged and wholly selected
    Ignored, // a computed box: the key does nothing
};

struct KeyResult {
    KeyAction action;
    BoxState after;
};

// The key filter of an entered value box.
KeyResult handleKey(const BoxState& box, char16_t key);

// A computed box is read-only: Enter passes the focus on, every other key is ignored.
KeyResult handleComputedKey(const BoxState& box, char16_t key);

struct LeaveResult {
    bool valid;   // false: show the refusal message, keep the focus, select the whole text
    QString text; // the box's text after the check (unchanged when not valid)
};

// The check of an entered box that loses the focus: the text takes its normal form
// ("007" -> "7", "1 234" -> "1234", "12abc" -> "12", "abc" -> "0"). A number beyond the
// normal form's range (more than fifteen integer digits) has none and is refused.
LeaveResult leaveCheck(const QString& text);

// "Please enter a number" in the language.
QString refusalMessage(Language language);

} // namespace numericentry
