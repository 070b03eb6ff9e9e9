#include "screens/common/ScreenRegistry.h"

#include "state/modMain.h"

#include <QEventLoop>
#include <algorithm>

using navigation::Move;

ScreenRegistry& ScreenRegistry::instance() {
    static ScreenRegistry registry;
    return registry;
}

void ScreenRegistry::show(Screen& s, Move move) {
    s.show();
    s.raise();
    arrive(&s, move);
}

void ScreenRegistry::showModal(Screen& s, Screen* owner) {
    if (owner) s.setParent(owner, s.windowFlags() | Qt::Window);
    s.setWindowModality(Qt::ApplicationModal);
    QPointer<Screen> guard(&s);
    show(s, Move::CoverOpened);
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
        uncoverNext();
    }
}

void ScreenRegistry::leave(Screen& s, Move move) {
    navigation::record().leave(s.objectName(), move);
    if (active_ == &s) active_ = nullptr;
    s.hide();
}

void ScreenRegistry::move(Screen& from, Screen& to, Move move) {
    // No window in between is brought forward: the user goes straight to the target.
    leave(from, move);
    show(to, move);
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
    // The user clicking another of the program's windows, a message box closing or the
    // window manager's focus order: the screen becomes the one the user works in, and
    // nothing else happens. A modal screen keeps that place while it is shown.
    if (s == active_ || !s->isVisible()) return;
    if (active_ && active_->isModal() && active_->isVisible()) return;
    makeActive(s);
}

void ScreenRegistry::makeActive(Screen* s) {
    active_ = s;
    order_.erase(
        std::remove_if(order_.begin(), order_.end(), [s](const QPointer<Screen>& p) { return !p || p == s; }),
        order_.end());
    order_.push_back(s);
}

void ScreenRegistry::arrive(Screen* s, Move move) {
    makeActive(s);
    s->activateWindow();
    s->followLocale();
    const navigation::Arrival arrival =
        navigation::record().arrive(s->objectName(), move, modMain::gstrDataTable);
    s->Form_Activate(arrival);
    if (arrival == navigation::Arrival::Fresh) s->focusFirstControl();
}

void ScreenRegistry::uncoverNext() {
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        if (*it && (*it)->isVisible()) {
            arrive(*it, Move::CoverClosed);
            return;
        }
    }
}

std::vector<Screen*> ScreenRegistry::alive() const {
    std::vector<Screen*> screens;
    for (const QPointer<Screen>& s : created_)
        if (s) screens.push_back(s.data());
    return screens;
}

void ScreenRegistry::followLanguage() {
    for (Screen* s : alive()) {
        s->followLocale();
        s->followLanguage();
    }
}

bool ScreenRegistry::mayDropWork() {
    for (Screen* s : alive())
        if (!s->fncMayDropWork()) return false;
    return true;
}

void ScreenRegistry::forget(Screen* s) {
    for (auto it = screens_.begin(); it != screens_.end();) {
        if (it->second == s)
            it = screens_.erase(it);
        else
            ++it;
    }
    const auto isGone = [s](const QPointer<Screen>& p) { return !p || p == s; };
    order_.erase(std::remove_if(order_.begin(), order_.end(), isGone), order_.end());
    created_.erase(std::remove_if(created_.begin(), created_.end(), isGone), created_.end());
    if (active_ == s) active_ = nullptr;
    navigation::record().forget(s->objectName());
}

void ScreenRegistry::clear() {
    // A modal screen may be a child of its owner and go with it: guard every pointer.
    std::vector<QPointer<Screen>> all;
    for (auto& [key, s] : screens_)
        if (s) all.push_back(s);
    screens_.clear();
    created_.clear();
    order_.clear();
    active_ = nullptr;
    navigation::record().clear();
    for (QPointer<Screen>& s : all)
        if (s) delete s.data();
}
