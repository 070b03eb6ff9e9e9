#include "firm/NumericEntry.h"

#include "firm/FirmMessages.h"
#include "firm/ValueText.h"

#include <algorithm>

namespace numericentry {

namespace {

// The selection clamped to the text, so that a stale selection never cuts outside it.
struct Span {
    int start;
    int length;
};

Span clamped(const BoxState& box) {
    const int size = static_cast<int>(box.text.size());
    const int start = std::clamp(box.selectionStart, 0, size);
    return {start, std::clamp(box.selectionLength, 0, size - start)};
}

BoxState caretAt(const QString& text, int caret) {
    return {text, caret, 0};
}

BoxState wholeSelected(const QString& text) {
    return {text, 0, static_cast<int>(text.size())};
}

KeyResult refused(const BoxState& box) {
    return {KeyAction::Refused, wholeSelected(box.text)};
}

bool isDigit(char16_t key) {
    return key >= u'0' && key <= u'9';
}

KeyResult minusCommand(const BoxState& box) {
    const Span sel = clamped(box);
    const QString rest = box.text.left(sel.start) + box.text.mid(sel.start + sel.length);
    const auto normal = valuetext::normalForm(rest);
    if (!normal) return refused(box);
    QString magnitude = *normal;
    magnitude.remove(u'-');
    const double value = valuetext::leadingNumber(magnitude);
    // With nothing to negate yet the box shows the sign alone; digits typed next follow it.
    const QString text = value != 0.0 ? valuetext::doubleText(-value) : QStringLiteral("-");
    return {KeyAction::Negated, caretAt(text, static_cast<int>(text.size()))};
}

} // namespace

KeyResult handleKey(const BoxState& box, char16_t key) {
    const Span sel = clamped(box);
    if (key == kEnter) {
        const auto normal = valuetext::normalForm(box.text);
        if (!normal) return refused(box);
        return {KeyAction::MoveOn, caretAt(*normal, static_cast<int>(normal->size()))};
    }
    if (key == kMinus) return minusCommand(box);
    if (key == kBackspace) {
        if (sel.length > 0)
            return {KeyAction::Typed,
                    caretAt(box.text.left(sel.start) + box.text.mid(sel.start + sel.length), sel.start)};
        if (sel.start == 0) return {KeyAction::Typed, caretAt(box.text, 0)};
        return {KeyAction::Typed,
                caretAt(box.text.left(sel.start - 1) + box.text.mid(sel.start), sel.start - 1)};
    }
    if (isDigit(key)) {
        const QString text = box.text.left(sel.start) + QChar(key) + box.text.mid(sel.start + sel.length);
        return {KeyAction::Typed, caretAt(text, sel.start + 1)};
    }
    return refused(box);
}

KeyResult handleComputedKey(const BoxState& box, char16_t key) {
    return {key == kEnter ? KeyAction::MoveOn : KeyAction::Ignored, box};
}

LeaveResult leaveCheck(const QString& text) {
    const auto normal = valuetext::normalForm(text);
    if (!normal) return {false, text};
    return {true, normal->isEmpty() ? QStringLiteral("0") : *normal};
}

QString refusalMessage(Language language) {
    return firmmessages::text(firmmessages::Message::PleaseEnterNumber, language);
}

} // namespace numericentry
