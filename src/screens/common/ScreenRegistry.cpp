#include "screens/common/ScreenRegistry.h"

#include <QEventLoop>
#include <algorithm>

ScreenRegistry& ScreenRegistry::instance() {
    static ScreenRegistry registry;
    return registry;
}

void ScreenRegistry::show(Screen& s) {
    s.show();
    s.raise();
    activate(&s);
}

void ScreenRegistry::showModal(Screen& s, Screen* owner) {
    if (owner) s.setParent(owner, s.windowFlags() | Qt::Window);
    s.setWindowModality(Qt::ApplicationModal);
    QPointer<Screen> guard(&s);
    show(s);
    if (!modalBlocking_) return;
    QEventLoop loop;
    modalExits_.push_back([&loop] { loop.quit(); });
    while (guard && guard->isVisible())
        loop.exec();
    modalExits_.pop_back();
}

void ScreenRegistry::hide(Screen& s) {
    const bool wasActive = (active_ == &s);
    const bool wasModal = s.isModal();
    s.hide();
    if (wasModal && !modalExits_.empty()) modalExits_.back()();
    if (wasActive) {
        active_ = nullptr;
        activateNextVisible();
    }
}

void ScreenRegistry::unload(Screen& s) {
    if (s.isVisible()) hide(s);
    forget(&s);
    if (!modalExits_.empty()) modalExits_.back()();
    s.deleteLater();
}

void ScreenRegistry::closed(Screen* s) {
    if (s->discardOnClose())
        unload(*s);
    else
        hide(*s);
}

void ScreenRegistry::windowActivated(Screen* s) {
    // Only a switch from one of the program's visible screens to another counts; the
    // same screen coming back into focus from another application changes nothing.
    if (s == active_ || !s->isVisible()) return;
    if (active_ && active_->isModal() && active_->isVisible()) return;
    // The window system has made it active already: asking it again would answer a
    // late activation of another window with one more request, and two windows shown
    // together would take the focus from each other without end.
    activate(s, false);
}

void ScreenRegistry::activate(Screen* s, bool requestFocus) {
    if (active_ == s) return;
    active_ = s;
    order_.erase(
        std::remove_if(order_.begin(), order_.end(), [s](const QPointer<Screen>& p) { return !p || p == s; }),
        order_.end());
    order_.push_back(s);
    if (requestFocus) s->activateWindow();
    s->Form_Activate();
}

void ScreenRegistry::activateNextVisible() {
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        if (*it && (*it)->isVisible()) {
            activate(*it);
            return;
        }
    }
}

void ScreenRegistry::forget(Screen* s) {
    for (auto it = screens_.begin(); it != screens_.end();) {
        if (it->second == s)
            it = screens_.erase(it);
        else
            ++it;
    }
    order_.erase(
        std::remove_if(order_.begin(), order_.end(), [s](const QPointer<Screen>& p) { return !p || p == s; }),
        order_.end());
    if (active_ == s) active_ = nullptr;
}

void ScreenRegistry::clear() {
    // A modal screen may be a child of its owner and go with it: guard every pointer.
    std::vector<QPointer<Screen>> all;
    for (auto& [key, s] : screens_)
        if (s) all.push_back(s);
    screens_.clear();
    order_.clear();
    active_ = nullptr;
    for (QPointer<Screen>& s : all)
        if (s) delete s.data();
}
