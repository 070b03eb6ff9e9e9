#include "state/Navigation.h"

namespace navigation {

namespace {

enum class Rule {
    AlwaysFresh,       // the move brings the screen's first state
    KeepWhenUnchanged, // kept unless new, left for the main menu, or of another dataset
    AlwaysKeep,        // nothing can have changed under a window that covered it
};

struct MoveRule {
    Move move;
    Rule arriving;
    bool leavingStartsAfresh; // the screen the user leaves by this move starts afresh next time
};

constexpr MoveRule kMoves[] = {
    {Move::Forward, Rule::KeepWhenUnchanged, false},
    {Move::EnterNewData, Rule::AlwaysFresh, false},
    {Move::StoredFirmOpened, Rule::KeepWhenUnchanged, false},
    {Move::ReturnToMainMenu, Rule::KeepWhenUnchanged, true},
    {Move::ReturnToIndustrySelection, Rule::KeepWhenUnchanged, false},
    {Move::CoverOpened, Rule::AlwaysFresh, false},
    {Move::CoverClosed, Rule::AlwaysKeep, false},
};

const MoveRule& ruleOf(Move move) {
    for (const MoveRule& r : kMoves)
        if (r.move == move) return r;
    return kMoves[0];
}

} // namespace

Arrival Record::arrive(const QString& screen, Move move, const QString& dataset) {
    Memory& memory = screens_[screen];
    Arrival arrival = Arrival::Keep;
    switch (ruleOf(move).arriving) {
    case Rule::AlwaysFresh:
        arrival = Arrival::Fresh;
        break;
    case Rule::KeepWhenUnchanged:
        arrival = memory.startAfresh || memory.dataset != dataset ? Arrival::Fresh : Arrival::Keep;
        break;
    case Rule::AlwaysKeep:
        // A screen shown for the first time has nothing to keep.
        if (memory.startAfresh) arrival = Arrival::Fresh;
        break;
    }
    memory.dataset = dataset;
    memory.startAfresh = false;
    return arrival;
}

void Record::leave(const QString& screen, Move move) {
    if (ruleOf(move).leavingStartsAfresh) screens_[screen].startAfresh = true;
}

void Record::forget(const QString& screen) {
    screens_.erase(screen);
}

void Record::clear() {
    screens_.clear();
}

Record& record() {
    static Record theRecord;
    return theRecord;
}

} // namespace navigation
