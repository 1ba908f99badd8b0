// The 65 ms poll: one KeyCode at most per tick, read by the receiver,
// filtered for auto-repeat, then offered to the roof's taker (the Key maps
// dialog in front) and, when it does not take it, given to the open
// shutdown confirmation or to the key router.
#include "keys/poll.h"

#include "core/debug_trace.h"
#include "core/system.h"
#include "keys/router.h"
#include "keys/shutdown.h"
#include "platform/win_defs.h"
#include "receiver/receiver.h"

namespace rc {

namespace {

// Frames of a held button arrive closer together than this (KeyCode 10,
// whose remote repeats more slowly, has its own window).
constexpr std::uint32_t kRepeatWindow = 150;
constexpr std::uint32_t kSlowRepeatKey = 10;
constexpr std::uint32_t kSlowRepeatWindow = 380;
constexpr std::uint32_t kPowerKeyWindow = 1000;
// A last KeyCode that no reader gives (they give 0 to 255).
constexpr std::uint32_t kNoLastKey = 0xFFFFFFFF;

}  // namespace

void OnGpioTimer(void* ctx, Hwnd hwnd, std::uintptr_t) {
    PollTick(*static_cast<System*>(ctx), hwnd);
}

std::optional<PressOutcome> PollTick(System& sys, Hwnd mainWindow) {
    DebugTrace(sys, " ");
    KeyRead read = ReadKeyCode(sys);
    if (!read) {
        return std::nullopt;
    }
    DebugTrace(sys, "ACK=> Code = ", *read);
    Press press = FilterRepeat(sys, *read);
    PressOutcome outcome;
    if (sys.takePress == nullptr || !sys.takePress(sys, press, &outcome)) {
        outcome = sys.bIsShutDownDlg ? AnswerShutdownDialog(sys, press)
                                     : RouteKey(sys, press, mainWindow);
    }
    if (sys.onPressDone != nullptr) {
        sys.onPressDone(sys, press, outcome);
    }
    return outcome;
}

Press FilterRepeat(System& sys, std::uint32_t keyCode) {
    RepeatFilter& f = sys.repeat;
    std::uint32_t now = sys.os.GetTickCount();
    std::uint32_t elapsed = now - f.lastTime;  // modulo 2^32: the clock's wrap is harmless
    f.bRepeatKey = false;

    if (keyCode == f.lastKeyCode) {
        bool repeat =
            (keyCode == kSlowRepeatKey && elapsed < kSlowRepeatWindow) || elapsed < kRepeatWindow;
        if (repeat) {
            DebugTrace(sys, "bRepeatKey");
            f.bRepeatKey = true;
            ++f.nRepeatNum;
            DebugTrace(sys, "If it's  nRepeatNum key  Number = ", f.nRepeatNum);
        } else {
            f.nRepeatNum = 0;
            f.bRepeatKey = false;
            sys.pointer.runCounter = 0;
        }
        if (elapsed < kPowerKeyWindow) {
            DebugTrace(sys, "If it's  bRepeatPowerKey key  Number = ", f.bRepeatPowerKey ? 1 : 0);
            f.bRepeatPowerKey = true;
        } else {
            f.bRepeatPowerKey = false;
        }
    } else {
        f.bRepeatKey = false;
        f.nRepeatNum = 0;
        sys.pointer.runCounter = 0;
    }

    f.lastTime = now;
    f.lastKeyCode = keyCode;
    if (!f.bRepeatKey) {
        f.holdStart = now;  // a press: a hold, if it comes, is timed from here
    }

    if (f.nRepeatNum != 0) {
        if (f.nRepeatNum > 10) {
            DebugTrace(sys, "nRepeatNum>10");
        }
        if (f.bRepeatKey) {
            DebugTrace(sys, "If it's a repeat key  than Code = ", keyCode);
            DebugTrace(sys, "dwGPIO => 0xff,key is Null ");
            return Press{keyCode, true, now - f.holdStart};
        }
    }
    return Press{keyCode, false};
}

void ForgetLastPress(System& sys) {
    sys.repeat = RepeatFilter{};
    sys.repeat.lastKeyCode = kNoLastKey;
}

}  // namespace rc
