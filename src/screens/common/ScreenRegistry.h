#pragma once
// Every screen exists at most once: created on first use (running its load handler),
// hidden rather than destroyed when left, and told how it arrives each time a move of the
// program shows it or uncovers it (navigation::Record decides). A window coming to the
// front by the window system's focus is no move: it only notes where the user works.
// Modal screens block their caller until they are hidden.

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
        created_.push_back(s);
        s->addLanguageKeys();
        s->Form_Load();
        return *s;
    }

    // The instance if one exists, else nullptr.
    template <class T> T* existing() const {
        auto it = screens_.find(std::type_index(typeid(T)));
        return it == screens_.end() ? nullptr : static_cast<T*>(it->second.data());
    }

    // Shows s as the move brings it, makes it the active screen and runs its arrival.
    void show(Screen& s, navigation::Move move = navigation::Move::Forward);
    // Shows s modal over owner and returns when s is hidden or unloaded.
    void showModal(Screen& s, Screen* owner);
    // Hides s; when it was the active screen, the one it covered comes back.
    void hide(Screen& s);
    // The user leaves s by the move: it is hidden (what it keeps for its next arrival
    // depends on the move) and no other window is brought forward; the caller shows the next.
    void leave(Screen& s, navigation::Move move);
    // The user leaves one screen for another: leave from, then show to.
    void move(Screen& from, Screen& to, navigation::Move move);
    // Discards the instance; the next get() creates it afresh.
    void unload(Screen& s);

    Screen* active() const { return active_; }

    // Every screen follows a language switch, in the order they were created (the main
    // menu before the industry selection, which the firm values screen reads).
    void followLanguage();
    // Asks every screen about unsaved work before the program would drop it; false when
    // the user chose to stay.
    bool mayDropWork();

    // Called by Screen.
    void closed(Screen* s);
    void windowActivated(Screen* s);

    // Tests run modal screens without a nested event loop: showModal then returns at once.
    void setModalBlocking(bool blocking) { modalBlocking_ = blocking; }
    // Destroys every screen (tests, and the end of the program).
    void clear();

private:
    ScreenRegistry() = default;
    // Makes s the active screen, asks the window system for its focus and runs its arrival.
    void arrive(Screen* s, navigation::Move move);
    void makeActive(Screen* s);
    void uncoverNext();
    void forget(Screen* s);
    std::vector<Screen*> alive() const;

    std::map<std::type_index, QPointer<Screen>> screens_;
    std::vector<QPointer<Screen>> created_; // in the order of creation
    std::vector<QPointer<Screen>> order_;   // most recently active last
    QPointer<Screen> active_;
    std::vector<std::function<void()>> modalExits_;
    bool modalBlocking_ = true;
};
