#include "settings/dialogs.h"

#include <cstring>

#include "apps/switching.h"
#include "platform/win_defs.h"
#include "resources/resource.h"
#include "settings/settings_store.h"
#include "shell/system.h"

namespace rc {

namespace {

struct Placement {
    int width;  // SM_CXFULLSCREEN
    int x;
    int y;
};

constexpr Placement kPlacements[] = {
    {640, 160, 200},  {800, 280, 250},  {1024, 350, 300},
    {1152, 420, 300}, {1280, 420, 300}, {1600, 580, 340},
};

struct ListEntry {
    const char* label;
    std::uint32_t appId;
    bool listable;  // offered in the list when installed; the others are only recognised
};

// In list order.
constexpr ListEntry kListEntries[] = {
    {"Pallamo", kPallamo, true},          {"Media Center Edition", kMediaCenter, true},
    {"TotalMedia", kTotalMedia, true},    {"Lumetra Center", kLumetraCenter, true},
    {"PowerCinema", kPowerCinema, false}, {"Lumetra", kLumetraPanel, false},
};

System& SystemOf(void* ctx) {
    return *static_cast<System*>(ctx);
}

std::intptr_t DlgItem(System& sys, Hwnd dlg, int item, std::uint32_t msg, std::uintptr_t wParam = 0,
                      std::intptr_t lParam = 0) {
    return sys.os.SendDlgItemMessageA(dlg, item, msg, wParam, lParam);
}

void InitSettingDialog(System& sys, Hwnd dlg) {
    PlaceDialog(sys, dlg);
    DlgItem(sys, dlg, IDC_APP_LIST, win::kCbResetContent);
    bool currentListed = false;
    for (const ListEntry& entry : kListEntries) {
        if (!entry.listable || IsAppInstalled(sys, entry.appId) == 0) {
            continue;
        }
        std::intptr_t index = DlgItem(sys, dlg, IDC_APP_LIST, win::kCbAddString, 0,
                                      reinterpret_cast<std::intptr_t>(entry.label));
        if (entry.appId == sys.nCurRemoteTV && index >= 0) {
            sys.rememberedListPosition = static_cast<int>(index);
            currentListed = true;
        }
    }
    LoadLaunchSetting(sys);
    DlgItem(sys, dlg, IDC_AUTO_LAUNCH, win::kBmSetCheck,
            sys.bLaunchap != 0 ? win::kBstChecked : win::kBstUnchecked);
    // An application that is not listed (PowerCinema, the Lumetra panel, one
    // not installed) shows as no selection: another item shown selected would
    // become the current application on OK without the user choosing it.
    DlgItem(sys, dlg, IDC_APP_LIST, win::kCbSetCurSel,
            currentListed ? static_cast<std::uintptr_t>(sys.rememberedListPosition)
                          : static_cast<std::uintptr_t>(-1));
}

void OnAutoLaunchClicked(System& sys, Hwnd dlg) {
    std::intptr_t state = DlgItem(sys, dlg, IDC_AUTO_LAUNCH, win::kBmGetCheck);
    sys.bLaunchap = state == static_cast<std::intptr_t>(win::kBstChecked) ? 1 : 0;
    SaveLaunchSetting(sys);
}

// Takes the chosen item as the current application; with no item selected
// the current application stays.
void OnSettingOk(System& sys, Hwnd dlg) {
    sys.rememberedListPosition =
        static_cast<int>(DlgItem(sys, dlg, IDC_APP_LIST, win::kCbGetCurSel));
    if (sys.rememberedListPosition < 0) {
        sys.os.EndDialog(dlg, win::kIdOk);
        return;
    }
    auto index = static_cast<std::uintptr_t>(sys.rememberedListPosition);
    std::intptr_t length = DlgItem(sys, dlg, IDC_APP_LIST, win::kCbGetLbTextLen, index);
    if (length >= 0 && length < static_cast<std::intptr_t>(sizeof sys.selectionText)) {
        DlgItem(sys, dlg, IDC_APP_LIST, win::kCbGetLbText, index,
                reinterpret_cast<std::intptr_t>(sys.selectionText));
    }
    for (const ListEntry& entry : kListEntries) {
        if (std::strcmp(sys.selectionText, entry.label) == 0) {
            if (entry.appId != sys.nCurRemoteTV) {
                sys.nCurRemoteTV = entry.appId;
                SaveDefaultTVApp(sys);
            }
            break;
        }
    }
    sys.os.EndDialog(dlg, win::kIdOk);
}

}  // namespace

void PlaceDialog(System& sys, Hwnd dlg) {
    int width = sys.os.GetSystemMetrics(win::kSmCxFullScreen);
    for (const Placement& p : kPlacements) {
        if (p.width == width) {
            sys.os.SetWindowPos(dlg, win::kHwndTopmost, p.x, p.y, 0, 0, win::kSwpNoSize);
            return;
        }
    }
}

std::intptr_t AboutDialogProc(void* ctx, Hwnd dlg, std::uint32_t msg, std::uintptr_t wParam,
                              std::intptr_t) {
    System& sys = SystemOf(ctx);
    if (msg == win::kWmInitDialog) {
        PlaceDialog(sys, dlg);
        return 1;
    }
    if (msg == win::kWmCommand) {
        int id = static_cast<int>(wParam & 0xFFFF);
        if (id == win::kIdOk || id == win::kIdCancel) {
            sys.os.EndDialog(dlg, id);
            return 1;
        }
    }
    return 0;
}

std::intptr_t SettingDialogProc(void* ctx, Hwnd dlg, std::uint32_t msg, std::uintptr_t wParam,
                                std::intptr_t) {
    System& sys = SystemOf(ctx);
    if (msg == win::kWmInitDialog) {
        InitSettingDialog(sys, dlg);
        return 1;
    }
    if (msg != win::kWmCommand) {
        return 0;
    }
    switch (wParam & 0xFFFF) {
        case IDC_AUTO_LAUNCH:
            OnAutoLaunchClicked(sys, dlg);
            return 1;
        case win::kIdOk:
            OnSettingOk(sys, dlg);
            return 1;
        case win::kIdCancel:
            sys.os.EndDialog(dlg, win::kIdCancel);
            return 1;
        default:
            return 0;
    }
}

void ShowAboutDialog(System& sys, Hwnd owner) {
    sys.os.DialogBoxParamA(IDD_ABOUT, owner, AboutDialogProc, &sys);
}

void ShowSettingDialog(System& sys, Hwnd owner) {
    sys.os.DialogBoxParamA(IDD_SETTING, owner, SettingDialogProc, &sys);
}

}  // namespace rc
