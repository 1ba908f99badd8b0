// The 65 ms poll: one KeyCode at most per tick, read by the receiver,
// filtered for auto-repeat, then given to the open shutdown confirmation or
// to the key router.
#include "keys/poll.h"

#include "core/debug_trace.h"
#include "core/system.h"
#include "keys/router.h"
#include "platform/win_defs.h"
#include "receiver/receiver.h"

namespace rc {

namespace {

constexpr std::uint32_t kNoKeyCode = 255;
// Frames of a held button arrive closer together than this (KeyCode 10,
// whose remote repeats more slowly, has its own window).
constexpr std::uint32_t kRepeatWindow = 150;
constexpr std::uint32_t kSlowRepeatKey = 10;
constexpr std::uint32_t kSlowRepeatWindow = 380;
constexpr std::uint32_t kPowerKeyWindow = 1000;

// The KeyCodes that may confirm the shutdown, whatever the layout.
bool IsPowerKeyOfSomeLayout(std::uint32_t keyCode) {
    return keyCode == 12 || keyCode == 13 || keyCode == 50 || keyCode == 67;
}

bool ConfirmsShutdown(std::uint32_t layout, std::uint32_t keyCode) {
    switch (layout) {
        case k44Key:
            return keyCode == 12;
        case k32Key:
            return keyCode == 67;
        case k50Key:
            return keyCode == 13 || keyCode == 50;
        case k35Key:
            return keyCode == 12;
        default:
            return false;
    }
}

void PressOnShutdownDialog(System& sys, std::uint8_t vk) {
    Hwnd dialog = sys.shutdownDialog;
    sys.os.SetForegroundWindow(dialog);
    sys.os.SetActiveWindow(dialog);
    sys.os.SendMessageA(dialog, win::kWmKeyDown, vk, 0);
}

}  // namespace

void OnGpioTimer(void* ctx, Hwnd hwnd, std::uintptr_t) {
    PollTick(*static_cast<System*>(ctx), hwnd);
}

void PollTick(System& sys, Hwnd mainWindow) {
    DebugTrace(sys, " ");
    int read = ReadKeyCode(sys);
    if (read == kNoKey) {
        return;
    }
    std::uint32_t keyCode = static_cast<std::uint32_t>(read);
    DebugTrace(sys, "ACK=> Code = ", keyCode);
    keyCode = FilterRepeat(sys, keyCode);
    if (sys.bIsShutDownDlg) {
        SendShutdownKey(sys, keyCode);
        return;
    }
    RouteKey(sys, keyCode, mainWindow);
}

std::uint32_t FilterRepeat(System& sys, std::uint32_t keyCode) {
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

    if (f.nRepeatNum != 0) {
        if (f.nRepeatNum > 10) {
            DebugTrace(sys, "nRepeatNum>10");
        }
        if (f.bRepeatKey) {
            DebugTrace(sys, "If it's a repeat key  than Code = ", keyCode);
            DebugTrace(sys, "dwGPIO => 0xff,key is Null ");
            return kNoKeyCode;
        }
    }
    return keyCode;
}

void SendShutdownKey(System& sys, std::uint32_t keyCode) {
    DebugTrace(sys, "bIsShutDownDlg");
    // The frames of a held button are no answer: the 1-3 button that opened
    // the confirmation goes on sending them for as long as it is held, and
    // they would otherwise cancel it at once. Only a fresh press answers.
    if (keyCode == kNoKeyCode && sys.repeat.bRepeatKey) {
        return;
    }
    if (IsPowerKeyOfSomeLayout(keyCode)) {
        if (ConfirmsShutdown(sys.nIRKEYType, keyCode)) {
            PressOnShutdownDialog(sys, win::kVkReturn);
        }
        return;
    }
    PressOnShutdownDialog(sys, win::kVkEscape);
}

}  // namespace rc
