#include "settings/window_placement.h"

#include <algorithm>
#include <string>

#include "core/system.h"
#include "platform/win_defs.h"
#include "settings/user_options.h"

namespace rc {

namespace {

constexpr const char* kSides[] = {"Left", "Top", "Right", "Bottom"};
// The virtual screen (every monitor), and the primary one on systems
// without it.
constexpr int kSmXVirtualScreen = 76;
constexpr int kSmYVirtualScreen = 77;
constexpr int kSmCxVirtualScreen = 78;
constexpr int kSmCyVirtualScreen = 79;
// So much of the title bar must be on the screen to grab it.
constexpr int kGrip = 40;

std::int32_t* Side(Rect& rect, int i) {
    std::int32_t* sides[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    return sides[i];
}

bool OnScreen(System& sys, const Rect& r) {
    Platform& os = sys.os;
    int x = os.GetSystemMetrics(kSmXVirtualScreen);
    int y = os.GetSystemMetrics(kSmYVirtualScreen);
    int cx = os.GetSystemMetrics(kSmCxVirtualScreen);
    int cy = os.GetSystemMetrics(kSmCyVirtualScreen);
    if (cx <= 0 || cy <= 0) {
        x = y = 0;
        cx = os.GetSystemMetrics(win::kSmCxScreen);
        cy = os.GetSystemMetrics(win::kSmCyScreen);
    }
    return r.right > r.left && r.bottom > r.top && r.left < x + cx - kGrip && r.right > x + kGrip &&
           r.top >= y && r.top < y + cy - kGrip;
}

}  // namespace

bool LoadWindowPlacement(System& sys, const char* name, Rect* rect) {
    Handle key = 0;
    if (sys.os.RegOpenKeyExA(win::kHkeyCurrentUser, kUserOptionsKey, win::kKeyQueryValue, &key) !=
        0) {
        return false;
    }
    Rect saved{};
    bool complete = true;
    for (int i = 0; i < 4 && complete; ++i) {
        std::string value = name;
        value += kSides[i];
        std::uint32_t type = 0;
        std::uint32_t data = 0;
        std::uint32_t size = sizeof data;
        complete = sys.os.RegQueryValueExA(key, value.c_str(), &type,
                                           reinterpret_cast<std::uint8_t*>(&data), &size) == 0 &&
                   type == win::kRegDword && size == sizeof data;
        *Side(saved, i) = static_cast<std::int32_t>(data);
    }
    sys.os.RegCloseKey(key);
    if (!complete || !OnScreen(sys, saved)) {
        return false;
    }
    *rect = saved;
    return true;
}

void SaveWindowPlacement(System& sys, const char* name, const Rect& rect) {
    Handle key = 0;
    if (sys.os.RegCreateKeyExA(win::kHkeyCurrentUser, kUserOptionsKey, win::kKeySetValue, &key) !=
        0) {
        return;
    }
    Rect copy = rect;
    for (int i = 0; i < 4; ++i) {
        std::string value = name;
        value += kSides[i];
        const auto data = static_cast<std::uint32_t>(*Side(copy, i));
        sys.os.RegSetValueExA(key, value.c_str(), win::kRegDword,
                              reinterpret_cast<const std::uint8_t*>(&data), sizeof data);
    }
    sys.os.RegCloseKey(key);
}

WindowOpening PlaceOpeningWindow(System& sys, const char* name, const WindowSizes& sizes, int dpi) {
    Platform& os = sys.os;
    auto scale = [dpi](int size) { return size * dpi / 96; };
    WindowOpening at{win::kCwUseDefault, 0, scale(sizes.width), scale(sizes.height), 0, 0};
    const int screenWidth = os.GetSystemMetrics(win::kSmCxScreen);
    const int screenHeight = os.GetSystemMetrics(win::kSmCyScreen);
    if (screenWidth > 0) {
        at.width = std::min(at.width, screenWidth * sizes.screenWidthPercent / 100);
    }
    if (screenHeight > 0) {
        at.height = std::min(at.height, screenHeight * sizes.screenHeightPercent / 100);
    }
    at.minWidth = std::min(scale(sizes.minWidth), at.width);
    at.minHeight = std::min(scale(sizes.minHeight), at.height);
    Rect p{};
    if (LoadWindowPlacement(sys, name, &p) && p.right - p.left >= at.minWidth &&
        p.bottom - p.top >= at.minHeight) {
        at.x = p.left;
        at.y = p.top;
        at.width = p.right - p.left;
        at.height = p.bottom - p.top;
    }
    return at;
}

}  // namespace rc
