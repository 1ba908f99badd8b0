#include "support/sim_event_log.h"

#include <utility>

namespace rc {

SimEvent& SimEventLog::Add(SimEvent::Kind kind, Hwnd hwnd) {
    SimEvent e;
    e.kind = kind;
    e.time = clock_;
    e.hwnd = hwnd;
    events_.push_back(std::move(e));
    return events_.back();
}

std::vector<SimEvent> SimEventLog::Events(SimEvent::Kind kind) const {
    std::vector<SimEvent> out;
    for (const auto& e : events_) {
        if (e.kind == kind) {
            out.push_back(e);
        }
    }
    return out;
}

std::vector<std::string> SimEventLog::Texts(SimEvent::Kind kind) const {
    std::vector<std::string> out;
    for (const auto& e : events_) {
        if (e.kind == kind) {
            out.push_back(e.text);
        }
    }
    return out;
}

std::vector<std::string> SimEventLog::Traces() const {
    return Texts(SimEvent::Kind::Trace);
}

std::vector<std::string> SimEventLog::LibraryCalls() const {
    return Texts(SimEvent::Kind::LibraryCall);
}

std::string SimEventLog::KeyText() const {
    std::string out;
    for (const auto& e : events_) {
        if (e.kind != SimEvent::Kind::KeybdEvent) {
            continue;
        }
        if (!out.empty()) {
            out += ' ';
        }
        out += std::to_string(e.a);
        if (e.b == 1) {
            out += 'd';
        } else if (e.b == 3) {
            out += 'u';
        } else {
            out += ':' + std::to_string(e.b);
        }
    }
    return out;
}

}  // namespace rc
