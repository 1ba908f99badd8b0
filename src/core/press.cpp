#include "core/press.h"

#include "core/system.h"

namespace rc {

PressScope::PressScope(System& sys, PressOutcome& outcome) : sys_(sys), outer_(sys.pressOutcome) {
    sys.pressOutcome = &outcome;
}

PressScope::~PressScope() {
    sys_.pressOutcome = outer_;
}

void NoteTaker(System& sys, PressTaker taker, std::string_view name) {
    if (sys.pressOutcome == nullptr) {
        return;
    }
    sys.pressOutcome->taker = taker;
    sys.pressOutcome->name = std::string(name);
}

void NoteSent(System& sys, std::string_view text) {
    PressOutcome* outcome = sys.pressOutcome;
    if (outcome == nullptr) {
        return;
    }
    if (!outcome->sent.empty()) {
        outcome->sent += ", ";
    }
    outcome->sent += text;
}

void NoteNotSent(System& sys, std::string_view text) {
    PressOutcome* outcome = sys.pressOutcome;
    if (outcome == nullptr || !outcome->why.empty()) {
        return;
    }
    if (!outcome->name.empty()) {
        outcome->why = outcome->name;
        outcome->why += ' ';
    }
    outcome->why += text;
}

}  // namespace rc
