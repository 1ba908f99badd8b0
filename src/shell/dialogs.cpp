#include "shell/dialogs.h"

#include <cstring>

#include "apps/app_record.h"
#include "apps/switching.h"
#include "core/place_dialog.h"
#include "core/system.h"
#include "platform/win_defs.h"
#include "resources/resource.h"
#include "settings/settings_store.h"

namespace rc {

namespace {

// The applications the list offers when installed, in list order, by their
// records' names; a name of any record is recognised on OK.
constexpr std::uint32_t kListed[] = {kPallamo, kMediaCenter, kTotalMedia, kLumetraCenter};

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
    for (std::uint32_t appId : kListed) {
        if (!IsAppInstalled(sys, appId)) {
            continue;
        }
        std::intptr_t index = DlgItem(sys, dlg, IDC_APP_LIST, win::kCbAddString, 0,
                                      reinterpret_cast<std::intptr_t>(FindAppRecord(appId)->name));
        if (appId == sys.nCurRemoteTV && index >= 0) {
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
    for (const AppRecord* app : BuiltInApps()) {
        if (std::strcmp(sys.selectionText, app->name) == 0) {
            if (app->appId != sys.nCurRemoteTV) {
                sys.nCurRemoteTV = app->appId;
                SaveDefaultTVApp(sys);
            }
            break;
        }
    }
    sys.os.EndDialog(dlg, win::kIdOk);
}

}  // namespace

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
