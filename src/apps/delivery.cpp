#include "apps/delivery.h"

#include <cstdio>
#include <string>

#include "apps/key_names.h"
#include "core/debug_trace.h"
#include "core/press.h"
#include "core/system.h"
#include "platform/win_defs.h"

namespace rc {

void ActivateWindow(System& sys, Hwnd window) {
    sys.os.SetForegroundWindow(window);
    sys.os.SetActiveWindow(window);
}

namespace {

// The foreground window is the application's: its main window, or another
// top-level window of its process (an owned dialog, a full-screen video
// window) to which it handed the foreground.
bool TargetInFront(System& sys, Hwnd window, Hwnd front) {
    if (front == 0) {
        return false;
    }
    if (front == window) {
        return true;
    }
    std::uint32_t process = sys.os.GetWindowProcessId(window);
    return process != 0 && sys.os.GetWindowProcessId(front) == process;
}

// How long a granted foreground change is waited for, and how often the
// foreground is read meanwhile.
constexpr std::uint32_t kForegroundWaitMs = 250;
constexpr std::uint32_t kForegroundPollMs = 10;

// After a request for the foreground: the change is carried out by the
// window's own thread, so a granted request may show only a moment later
// (under Wine always; on Windows when the application is busy). Until the
// foreground is the target's it is read again every 10 ms, for up to 250 ms;
// a refused request is not waited for. Gives the foreground window last read.
Hwnd WaitForTarget(System& sys, Hwnd window, bool granted) {
    Hwnd front = sys.os.GetForegroundWindow();
    for (std::uint32_t waited = 0;
         granted && waited < kForegroundWaitMs && !TargetInFront(sys, window, front);
         waited += kForegroundPollMs) {
        sys.os.Sleep(kForegroundPollMs);
        front = sys.os.GetForegroundWindow();
    }
    return front;
}

}  // namespace

bool ActivateForKeystrokes(System& sys, Hwnd window) {
    bool granted = sys.os.SetForegroundWindow(window);
    sys.os.SetActiveWindow(window);
    Hwnd front = WaitForTarget(sys, window, granted);
    // A window in front that no longer takes its messages is left alone:
    // with our input attached to its thread, SetForegroundWindow would wait
    // on it, and the poll with it; keys typed now would reach it whenever it
    // wakes. The next press tries again.
    if (sys.os.IsHungAppWindow(front)) {
        DebugTrace(sys, "Keys not sent: the window in front is not responding");
        NoteNotSent(sys, "is not in front: the window in front is not responding");
        return false;
    }
    if (TargetInFront(sys, window, front)) {
        return true;
    }
    // Windows lets a background process take the foreground only while its
    // input is attached to the thread that holds it.
    std::uint32_t ours = sys.os.GetCurrentThreadId();
    std::uint32_t theirs = sys.os.GetWindowThreadProcessId(front);
    bool attached = theirs != 0 && theirs != ours && sys.os.AttachThreadInput(ours, theirs, true);
    granted = sys.os.SetForegroundWindow(window);
    sys.os.SetActiveWindow(window);
    if (attached) {
        sys.os.AttachThreadInput(ours, theirs, false);
    }
    if (TargetInFront(sys, window, WaitForTarget(sys, window, granted))) {
        return true;
    }
    DebugTrace(sys, "Keys not sent: the TV application is not the foreground window");
    return false;
}

namespace {

// Windows sends these keys with the extended-key flag.
bool IsExtendedKey(std::uint8_t vk) {
    return (vk >= 0x21 && vk <= 0x28) || vk == 0x2C || vk == 0x2D || vk == 0x2E ||
           (vk >= 0x5B && vk <= 0x5D) || vk == 0x6F || vk == 0x90 || (vk >= 0xA6 && vk <= 0xB7);
}

void SendKeyEvent(System& sys, std::uint8_t vk, bool up) {
    // Alt goes as the left Alt key: an extended VK_MENU is the right one,
    // which is AltGr on many European layouts, and Windows adds a left Ctrl
    // to it (Alt+F4 would arrive as Ctrl+Alt+F4).
    std::uint32_t extended = vk == win::kVkMenu ? 0 : win::kKeyEventExtendedKey;
    sys.os.keybd_event(vk, 0, extended | (up ? win::kKeyEventKeyUp : 0), 0);
}

KeyInput ScanCodeInput(System& sys, std::uint8_t vk, bool up) {
    auto scan = static_cast<std::uint16_t>(sys.os.MapVirtualKeyA(vk, win::kMapVkVkToVsc));
    std::uint32_t flags =
        (IsExtendedKey(vk) ? win::kKeyEventExtendedKey : 0) | (up ? win::kKeyEventKeyUp : 0);
    return {vk, scan, flags};
}

// The keyboard's form goes in one SendInput, which tells when Windows
// refuses the keys (the window in front is an elevated program's): that is
// traced with its error.
bool SendScanCodes(System& sys, const std::uint8_t* keys, int count) {
    constexpr int kMaxKeys = 8;
    KeyInput inputs[2 * kMaxKeys];
    count = count < kMaxKeys ? count : kMaxKeys;
    for (int i = 0; i < count; ++i) {
        inputs[i] = ScanCodeInput(sys, keys[i], false);
        inputs[2 * count - 1 - i] = ScanCodeInput(sys, keys[i], true);
    }
    const auto total = static_cast<std::uint32_t>(2 * count);
    if (sys.os.SendInput(inputs, total) == total) {
        return true;
    }
    std::uint32_t error = sys.os.GetLastError();
    std::string text = "Keys not sent: Windows refused them, error ";
    text += std::to_string(error);
    DebugTrace(sys, text.c_str());
    std::string why = "did not get ";
    why += ChordText(keys, count);
    why += ": Windows refused it (error ";
    why += std::to_string(error);
    why += ')';
    NoteNotSent(sys, why);
    return false;
}

}  // namespace

bool SendKeystrokes(System& sys, Hwnd window, const std::uint8_t* keys, int count, KeyForm form) {
    if (!ActivateForKeystrokes(sys, window)) {
        NoteNotSent(sys, "is not in front");
        return false;
    }
    if (form == KeyForm::kScanCodes) {
        if (!SendScanCodes(sys, keys, count)) {
            return false;
        }
    } else {
        for (int i = 0; i < count; ++i) {
            SendKeyEvent(sys, keys[i], false);
        }
        for (int i = count - 1; i >= 0; --i) {
            SendKeyEvent(sys, keys[i], true);
        }
    }
    NoteSent(sys, ChordText(keys, count));
    return true;
}

void PostKeyDown(System& sys, Hwnd window, std::uint8_t vk) {
    sys.os.PostMessageA(window, win::kWmKeyDown, vk, kPostedKeyLParam);
    std::string text = "WM_KEYDOWN ";
    text += ChordText(&vk, 1);
    NoteSent(sys, text);
}

bool PostCommand(System& sys, Hwnd window, std::uint32_t message, std::uint32_t code) {
    bool posted = sys.os.PostMessageA(window, message, code, 0);
    char text[48];
    std::snprintf(text, sizeof text, "message %u (%u)", static_cast<unsigned>(message),
                  static_cast<unsigned>(code));
    NoteSent(sys, text);
    return posted;
}

Hwnd SendKeyCommand(System& sys, Hwnd window, KeyKind kind, const KeyList& keys) {
    if (kind == KeyKind::kPosted) {
        ActivateWindow(sys, window);
        PostKeyDown(sys, window, keys[0]);
        return window;
    }
    int count = 0;
    while (count < 3 && keys[count] != 0) {
        ++count;
    }
    return SendKeystrokes(sys, window, keys, count, KeyForm::kFixed) ? window : 0;
}

Hwnd RunKeyCommand(System& sys, TargetApp& app, Hwnd window, KeyKind kind, const KeyList& keys) {
    app.hWnd = window;
    if (window == 0) {
        NoteNotSent(sys, "is not open");
        return 0;
    }
    return SendKeyCommand(sys, window, kind, keys);
}

void PauseAfterCommand(System& sys, std::uint32_t pauseMs) {
    if (pauseMs != 0) {
        sys.os.Sleep(pauseMs);
    }
}

int FindVisibleRow(System& sys, const WindowQuery* rows, Hwnd* slots, int count) {
    for (int i = 0; i < count; ++i) {
        Hwnd window =
            sys.os.FindWindowExA(sys.os.GetDesktopWindow(), 0, rows[i].className, rows[i].title);
        slots[i] = window;
        if (sys.os.IsWindowVisible(window)) {
            return i;
        }
    }
    return kNoRow;
}

void PostByDialogRule(System& sys, const DialogApp& app, Hwnd main, DialogRule rule,
                      std::uint32_t code) {
    TargetApp& record = app.record;
    record.hWnd = main;
    int row = kNoRow;
    if (rule != DialogRule::kMainWithoutDialogSearch &&
        (main != 0 || app.searchWithoutMainWindow)) {
        row = FindVisibleRow(sys, app.rows, app.slots, app.rowCount);
        record.hPopup = row == kNoRow ? 0 : app.slots[row];
    }
    if (main == 0) {
        NoteNotSent(sys, "is not open");
        return;
    }
    switch (rule) {
        case DialogRule::kMainWhenNoDialog:
            if (row == kNoRow) {
                PostCommand(sys, main, app.message, code);
            } else {
                NoteNotSent(sys, "has a dialog open");
            }
            break;
        case DialogRule::kMainUnlessPictureView:
            // Only a picture view on show holds the code back; with nothing
            // visible its slot may well be 0 like hPopup.
            if (row == kNoRow || row != app.pictureViewRow) {
                PostCommand(sys, main, app.message, code);
            } else {
                NoteNotSent(sys, "shows its picture view");
            }
            break;
        case DialogRule::kMainAlways:
        case DialogRule::kMainWithoutDialogSearch:
            PostCommand(sys, main, app.message, code);
            break;
        case DialogRule::kDialogFirst:
            if (row != kNoRow) {
                ActivateWindow(sys, record.hPopup);
                PostCommand(sys, record.hPopup, app.message, code);
            } else {
                PostCommand(sys, main, app.message, code);
            }
            break;
    }
}

}  // namespace rc
