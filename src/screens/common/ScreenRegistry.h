#pragma once
// Every screen exists at most once: created on first use (running its load handler),
// hidden rather than destroyed when left, and activated by the registry when it is
// shown or uncovered. Modal screens block their caller until they are hidden.

#include "screens/common/Screen.h"

#include <QPointer>
#include <functional>
#include <map>
#include <typeindex>
#include <vector>

class ScreenRegistry {
public:
    static ScreenRegistry& instance();

    // The screen's instance, created (and loaded) on first use.
    template <class T> T& get() {
        const std::type_index key(typeid(T));
        auto it = screens_.find(key);
        if (it != screens_.end() && it->second) return static_cast<T&>(*it->second);
        T* s = new T();
        screens_[key] = s;
        s->Form_Load();
        return *s;
    }

    // The instance if one exists, else nullptr.
    template <class T> T* existing() const {
        auto it = screens_.find(std::type_index(typeid(T)));
        return it == screens_.end() ? nullptr : static_cast<T*>(it->second.data());
    }

    void show(Screen& s);
    // Shows s modal over owner and returns when s is hidden or unloaded.
    void showModal(Screen& s, Screen* owner);
    void hide(Screen& s);
    // Discards the instance; the next get() creates it afresh.
    void unload(Screen& s);

    Screen* active() const { return active_; }

    // Called by Screen.
    void closed(Screen* s);
    void windowActivated(Screen* s);

    // Tests run modal screens without a nested event loop: showModal then returns at once.
    void setModalBlocking(bool blocking) { modalBlocking_ = blocking; }
    // Destroys every screen (tests, and the end of the program).
    void clear();

private:
    ScreenRegistry() = default;
    // Makes s the active screen and runs its activation; requestFocus also asks the
    // window system to give it the focus.
    void activate(Screen* s, bool requestFocus = true);
    void activateNextVisible();
    void forget(Screen* s);

    std::map<std::type_index, QPointer<Screen>> screens_;
    std::vector<QPointer<Screen>> order_; // most recently activated last
    QPointer<Screen> active_;
    std::vector<std::function<void()>> modalExits_;
    bool modalBlocking_ = true;
};
