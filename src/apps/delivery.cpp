#include "apps/delivery.h"

#include "platform/win_defs.h"
#include "shell/debug_trace.h"
#include "shell/system.h"

namespace rc {

void ActivateWindow(System& sys, Hwnd window) {
    sys.os.SetForegroundWindow(window);
    sys.os.SetActiveWindow(window);
}

bool ActivateForKeystrokes(System& sys, Hwnd window) {
    ActivateWindow(sys, window);
    Hwnd front = sys.os.GetForegroundWindow();
    if (front == window) {
        return true;
    }
    // Windows lets a background process take the foreground only while its
    // input is attached to the thread that holds it.
    std::uint32_t ours = sys.os.GetCurrentThreadId();
    std::uint32_t theirs = sys.os.GetWindowThreadProcessId(front);
    bool attached = theirs != 0 && theirs != ours && sys.os.AttachThreadInput(ours, theirs, true);
    ActivateWindow(sys, window);
    if (attached) {
        sys.os.AttachThreadInput(ours, theirs, false);
    }
    if (sys.os.GetForegroundWindow() == window) {
        return true;
    }
    DebugTrace(sys, "Keys not sent: the TV application is not the foreground window");
    return false;
}

void SendChord(System& sys, const std::uint8_t* keys, int count) {
    for (int i = 0; i < count; ++i) {
        sys.os.keybd_event(keys[i], 0, win::kKeyEventExtendedKey, 0);
    }
    for (int i = count - 1; i >= 0; --i) {
        sys.os.keybd_event(keys[i], 0, win::kKeyEventExtendedKey | win::kKeyEventKeyUp, 0);
    }
}

void SendChord(System& sys, std::initializer_list<std::uint8_t> keys) {
    SendChord(sys, keys.begin(), static_cast<int>(keys.size()));
}

void PostKeyDown(System& sys, Hwnd window, std::uint8_t vk) {
    sys.os.PostMessageA(window, win::kWmKeyDown, vk, kPostedKeyLParam);
}

bool PostCommand(System& sys, Hwnd window, std::uint32_t message, std::uint32_t code) {
    return sys.os.PostMessageA(window, message, code, 0);
}

Hwnd SendKeyCommand(System& sys, Hwnd window, KeyKind kind, const KeyList& keys) {
    if (kind == KeyKind::kPosted) {
        ActivateWindow(sys, window);
        PostKeyDown(sys, window, keys[0]);
        return window;
    }
    if (!ActivateForKeystrokes(sys, window)) {
        return 0;
    }
    int count = 0;
    while (count < 3 && keys[count] != 0) {
        ++count;
    }
    SendChord(sys, keys, count);
    return window;
}

}  // namespace rc
