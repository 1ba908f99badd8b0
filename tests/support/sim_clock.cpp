// The clock and the window timers, which fire as a test advances the clock.
#include <algorithm>

#include "support/sim_desktop.h"
#include "support/sim_desktop_state.h"

namespace rc {

namespace {

constexpr std::uint32_t kMinimumTimerPeriod = 10;  // USER_TIMER_MINIMUM

}  // namespace

// ===== Clock and timers ==========================================================

std::uint32_t SimDesktop::Now() const {
    return s_->now;
}

void SimDesktop::SetNow(std::uint32_t now) {
    // Due times move with the clock, so that no timer falls due by the jump.
    std::int64_t shift =
        static_cast<std::int64_t>(now) - static_cast<std::int64_t>(s_->clock64 & 0xFFFFFFFFu);
    for (auto& [key, t] : s_->timers) {
        t.due = static_cast<std::uint64_t>(
            std::max<std::int64_t>(0, static_cast<std::int64_t>(t.due) + shift));
    }
    s_->SetClock(static_cast<std::uint64_t>(static_cast<std::int64_t>(s_->clock64) + shift));
}

std::uint32_t SimDesktop::GetTickCount() {
    return s_->now;
}

void SimDesktop::Sleep(std::uint32_t milliseconds) {
    log_.Add(SimEvent::Kind::Sleep).a = milliseconds;
    s_->SetClock(s_->clock64 + milliseconds);
}

void SimDesktop::Advance(std::uint32_t ms) {
    const std::uint64_t end = s_->clock64 + ms;
    while (true) {
        // The timer due first; among equal due times, the one set first.
        auto next = s_->timers.end();
        for (auto it = s_->timers.begin(); it != s_->timers.end(); ++it) {
            if (it->second.due > end) {
                continue;
            }
            if (next == s_->timers.end() || it->second.due < next->second.due ||
                (it->second.due == next->second.due && it->second.serial < next->second.serial)) {
                next = it;
            }
        }
        if (next == s_->timers.end()) {
            break;
        }
        const auto key = next->first;
        State::Timer& t = next->second;
        const std::uint64_t serial = t.serial;
        const TimerProc proc = t.proc;
        void* const ctx = t.ctx;
        // Rescheduled before the call, so that a nested modal loop inside the
        // callback sees the timer's next tick. A tick that comes late (the
        // thread was blocked) is a single coalesced WM_TIMER; the period
        // starts again from it.
        if (t.due >= s_->clock64) {
            s_->SetClock(t.due);
            t.due += t.period;
        } else {
            t.due = s_->clock64 + t.period;
        }
        proc(ctx, key.first, key.second);
        auto again = s_->timers.find(key);
        if (again != s_->timers.end() && again->second.serial == serial &&
            again->second.due < s_->clock64) {
            // The callback overran its period: the pending WM_TIMER comes once,
            // now, and the timer runs on from there.
            again->second.due = s_->clock64;
        }
    }
    if (end > s_->clock64) {
        s_->SetClock(end);
    }
}

std::uintptr_t SimDesktop::SetTimer(Hwnd hwnd, std::uintptr_t id, std::uint32_t elapse,
                                    TimerProc proc, void* ctx) {
    ++s_->setTimerCalls;
    if (failSetTimer || !proc) {
        return 0;
    }
    std::uint32_t period = std::max(elapse, kMinimumTimerPeriod);
    s_->timers[{hwnd, id}] = {period, proc, ctx, s_->clock64 + period, s_->nextSerial++};
    auto& e = log_.Add(SimEvent::Kind::TimerSet, hwnd);
    e.a = static_cast<std::int64_t>(id);
    e.b = elapse;
    return id;
}

bool SimDesktop::KillTimer(Hwnd hwnd, std::uintptr_t id) {
    ++s_->killTimerCalls;
    if (s_->timers.erase({hwnd, id}) == 0) {
        return false;
    }
    log_.Add(SimEvent::Kind::TimerKilled, hwnd).a = static_cast<std::int64_t>(id);
    return true;
}

bool SimDesktop::TimerArmed(Hwnd hwnd, std::uintptr_t id) const {
    return s_->timers.count({hwnd, id}) != 0;
}

int SimDesktop::SetTimerCount() const {
    return s_->setTimerCalls;
}

int SimDesktop::KillTimerCount() const {
    return s_->killTimerCalls;
}

}  // namespace rc
