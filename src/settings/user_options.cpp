#include "settings/user_options.h"

#include <cstdint>
#include <string>

#include "core/debug_trace.h"
#include "core/system.h"
#include "platform/win_defs.h"
#include "settings/settings_store.h"

namespace rc {

namespace {

constexpr char kShowButtons[] = "ShowButtons";

}  // namespace

void LoadUserOptions(System& sys) {
    Handle key = 0;
    if (sys.os.RegOpenKeyExA(win::kHkeyCurrentUser, kUserOptionsKey, win::kKeyQueryValue, &key) !=
        win::kErrorSuccess) {
        return;
    }
    std::uint32_t show = 0;
    sys.showButtons = ReadNumber(sys, key, kShowButtons, &show) && show != 0;
    sys.os.RegCloseKey(key);
}

bool SaveShowButtons(System& sys) {
    Handle key = 0;
    long result = sys.os.RegCreateKeyExA(win::kHkeyCurrentUser, kUserOptionsKey,
                                         win::kKeySetValue | win::kKeyCreateSubKey, &key);
    if (result != win::kErrorSuccess) {
        std::string text = "Can't save ";
        text += kShowButtons;
        DebugTrace(sys, text.c_str(), static_cast<std::uint32_t>(result));
        return false;
    }
    bool written = WriteNumber(sys, key, kShowButtons, sys.showButtons ? 1 : 0);
    sys.os.RegCloseKey(key);
    return written;
}

}  // namespace rc
