#pragma once
// How a screen comes back when the program moves to it: afresh, or keeping what the user
// left on it. Only the program's own moves count (a screen shown as the next step, a
// return, a window over a screen opened or closed). A window of the program coming to the
// front because the user clicked it, a message box closing or the window manager's own
// focus order is no move and changes nothing.

#include <QString>
#include <map>

namespace navigation {

enum class Move {
    Forward,                   // the next step: the first screen, a language chosen, Search
    EnterNewData,              // Continue with "Enter new data": an empty firm for the industry
    StoredFirmOpened,          // a firm picked in the list of saved firms
    ReturnToMainMenu,          // the user leaves the screen for the main menu
    ReturnToIndustrySelection, // the user leaves the firm values screen for the industry selection
    CoverOpened,               // a window shown over the screen that asked for it
    CoverClosed,               // the window over the screen went away
};

enum class Arrival {
    Fresh, // the screen starts afresh: captions, lists, an empty selection or firm
    Keep,  // the screen keeps everything the user left on it
};

// Remembers, per screen (by its name), what its next arrival is decided from: whether it
// was shown before, the dataset it was shown for, and whether the user last left it for
// the main menu.
class Record {
public:
    // How the screen arrives by the move, the dataset chosen now being dataset; noted.
    Arrival arrive(const QString& screen, Move move, const QString& dataset);
    // Notes that the user left the screen by the move.
    void leave(const QString& screen, Move move);
    // Forgets a screen whose window was discarded: made again, it is new.
    void forget(const QString& screen);
    // Forgets every screen (a new start of the program, in one process).
    void clear();

private:
    struct Memory {
        QString dataset;
        bool startAfresh = true;
    };
    std::map<QString, Memory> screens_;
};

// The program's one record.
Record& record();

} // namespace navigation
