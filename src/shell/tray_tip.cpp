#include "shell/tray_tip.h"

#include <cstring>

#include "core/system.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

constexpr char kTrayTitle[] = "Remote Control";

const char* FamilyName(std::uint32_t chipType) {
    switch (chipType) {
        case kChipAf9015:
            return "AF9015";
        case kChipIt9135:
            return "IT9135";
        case kChipConexant:
            return "Conexant Polaris";
        case kChipRtl2832u:
            return "RTL2832U";
        default:
            return nullptr;
    }
}

}  // namespace

std::string TrayTipText(const System& sys) {
    std::string text = kTrayTitle;
    text += '\n';
    const char* family = FamilyName(sys.chipType);
    if (sys.alwaysRemoteOff) {
        text += "receiver off (AlwaysRemoteOff)";
    } else if (sys.bDeviceReady && family != nullptr && !sys.suspended && !sys.awayFromConsole) {
        text += family;
        text += " ready";
    } else {
        text += "no receiver \xE2\x80\x94 waiting for the stick";
    }
    return text;
}

void RefreshTrayTip(System& sys) {
    const std::string text = TrayTipText(sys);
    TrayIconData& icon = sys.trayIcon;
    if (text.size() >= sizeof icon.szTip || text == icon.szTip) {
        return;
    }
    std::memcpy(icon.szTip, text.c_str(), text.size() + 1);
    // Before the icon is added there is nothing to show it on; an add being
    // retried takes the record as it is then.
    if (icon.hWnd != 0) {
        sys.os.Shell_NotifyIconW(win::kNimModify, icon);
    }
}

}  // namespace rc
