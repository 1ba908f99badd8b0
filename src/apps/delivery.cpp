#include "apps/delivery.h"

#include "platform/win_defs.h"
#include "shell/system.h"

namespace rc {

void ActivateWindow(System& sys, Hwnd window) {
    sys.os.SetForegroundWindow(window);
    sys.os.SetActiveWindow(window);
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

}  // namespace rc
