#include "settings/user_options.h"

#include <cstdint>
#include <string>

#include "core/debug_trace.h"
#include "core/system.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

constexpr char kShowButtons[] = "ShowButtons";

// A DWORD (or any value of at most four bytes, little-endian); false for a
// missing value or longer data.
bool ReadOption(System& sys, Handle key, const char* name, std::uint32_t* number) {
    std::uint8_t data[4] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof data;
    if (sys.os.RegQueryValueExA(key, name, &type, data, &size) != win::kErrorSuccess) {
        return false;
    }
    *number = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
              static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    return true;
}

}  // namespace

void LoadUserOptions(System& sys) {
    Handle key = 0;
    if (sys.os.RegOpenKeyExA(win::kHkeyCurrentUser, kUserOptionsKey, win::kKeyQueryValue, &key) !=
        win::kErrorSuccess) {
        return;
    }
    std::uint32_t show = 0;
    sys.showButtons = ReadOption(sys, key, kShowButtons, &show) && show != 0;
    sys.os.RegCloseKey(key);
}

bool SaveShowButtons(System& sys) {
    Handle key = 0;
    long result = sys.os.RegCreateKeyExA(win::kHkeyCurrentUser, kUserOptionsKey,
                                         win::kKeySetValue | win::kKeyCreateSubKey, &key);
    if (result == win::kErrorSuccess) {
        const std::uint8_t data[4] = {static_cast<std::uint8_t>(sys.showButtons ? 1 : 0), 0, 0, 0};
        result = sys.os.RegSetValueExA(key, kShowButtons, win::kRegDword, data, sizeof data);
        sys.os.RegCloseKey(key);
    }
    if (result != win::kErrorSuccess) {
        std::string text = "Can't save ";
        text += kShowButtons;
        DebugTrace(sys, text.c_str(), static_cast<std::uint32_t>(result));
    }
    return result == win::kErrorSuccess;
}

}  // namespace rc
