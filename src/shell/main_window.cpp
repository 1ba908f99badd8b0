#include "shell/main_window.h"

#include <string>

#include "apps/app_record.h"
#include "apps/lumetra_center.h"
#include "apps/mce_presence.h"
#include "apps/switching.h"
#include "apps/user_apps_setup.h"
#include "core/debug_trace.h"
#include "core/system.h"
#include "core/timer_slots.h"
#include "keys/mouse.h"
#include "platform/win_defs.h"
#include "receiver/receiver.h"
#include "settings/settings_store.h"
#include "settings/user_options.h"
#include "shell/dialogs.h"
#include "shell/key_maps.h"
#include "shell/monitor.h"
#include "shell/osd.h"
#include "shell/receiver_owner.h"
#include "shell/tray_tip.h"

namespace rc {

namespace {

// Resources of the shell.
constexpr std::uint32_t kTitleString = 22;
constexpr std::uint32_t kClassString = 23;
constexpr int kNameBufferSize = 100;
constexpr std::uint32_t kAppIcon = 50;
constexpr std::uint32_t kAcceleratorTable = 23;

// The class that marks a running copy.
constexpr char kInstanceClass[] = "Remote Control";
constexpr char kTaskbarCreated[] = "TaskbarCreated";
constexpr std::uint32_t kTrayRecordSize = 88;
// The tray icon's retry timer (beside the timer slots' ids 1 to 3): every 2 s
// for up to 2 minutes.
constexpr std::uintptr_t kTrayRetryTimerId = 10;
constexpr std::uint32_t kTrayRetryPeriod = 2000;
constexpr int kTrayRetryAttempts = 60;

// lstrcpynA: at most limit - 1 characters and always a terminator; a null
// source gives an empty text.
void CopyBounded(char* dest, const char* src, std::size_t limit) {
    std::size_t i = 0;
    if (src != nullptr) {
        for (; i + 1 < limit && src[i] != '\0'; ++i) {
            dest[i] = src[i];
        }
    }
    dest[i] = '\0';
}

bool AddTrayIcon(System& sys, Hwnd hwnd) {
    TrayIconData& icon = sys.trayIcon;
    icon = TrayIconData{};
    icon.cbSize = kTrayRecordSize;
    icon.hWnd = hwnd;
    icon.uID = kTrayIconId;
    icon.uFlags = win::kNifMessage | win::kNifIcon | win::kNifTip;
    icon.uCallbackMessage = kTrayCallbackMessage;
    icon.hIcon = sys.os.LoadIconA(kAppIcon);
    const std::string tip = TrayTipText(sys);
    CopyBounded(icon.szTip, tip.c_str(), sizeof icon.szTip);
    return sys.os.Shell_NotifyIconW(win::kNimAdd, icon);
}

void StopTrayRetry(System& sys, Hwnd hwnd) {
    if (sys.trayRetriesLeft > 0) {
        sys.os.KillTimer(hwnd, kTrayRetryTimerId);
        sys.trayRetriesLeft = 0;
    }
}

// An add that timed out may still have landed: the icon is asked for first
// (NIM_MODIFY succeeds only for an icon that is there), so that a retry never
// adds a second one.
void OnTrayRetryTimer(void* ctx, Hwnd hwnd, std::uintptr_t) {
    System& sys = *static_cast<System*>(ctx);
    const bool shown = sys.os.Shell_NotifyIconW(win::kNimModify, sys.trayIcon) ||
                       sys.os.Shell_NotifyIconW(win::kNimAdd, sys.trayIcon);
    if (shown || sys.trayRetriesLeft <= 1) {
        StopTrayRetry(sys, hwnd);
    } else {
        --sys.trayRetriesLeft;
    }
}

// At logon Explorer may not be ready, or too busy to answer in time: a failed
// add is tried again every 2 s for up to 2 minutes (and at the next
// "TaskbarCreated"), so that Setting and Exit stay within reach.
void ShowTrayIcon(System& sys, Hwnd hwnd) {
    if (AddTrayIcon(sys, hwnd)) {
        StopTrayRetry(sys, hwnd);
        return;
    }
    if (sys.trayRetriesLeft == 0) {
        sys.os.SetTimer(hwnd, kTrayRetryTimerId, kTrayRetryPeriod, OnTrayRetryTimer, &sys);
    }
    sys.trayRetriesLeft = kTrayRetryAttempts;
}

void RemoveTrayIcon(System& sys, Hwnd hwnd) {
    StopTrayRetry(sys, hwnd);
    TrayIconData icon{};
    icon.cbSize = kTrayRecordSize;
    icon.hWnd = hwnd;
    icon.uID = kTrayIconId;
    sys.os.Shell_NotifyIconW(win::kNimDelete, icon);
}

void OnCreate(System& sys, Hwnd hwnd) {
    LoadUserOptions(sys);
    WatchSessions(sys, hwnd);
    if (sys.awayFromConsole) {
        // Another session's copy may be using the receiver: this one waits
        // for the console to come to its session.
        sys.bDeviceReady = false;
    } else {
        StartupBringUp(sys, hwnd);
    }
    ProbeLumetraCenterSkin(sys);
    IsMceInstalled(sys);
    ComputePointerAreaFromMetrics(sys);
    ShowTrayIcon(sys, hwnd);
}

// Libraries named without a folder (the chip-vendor libraries above all) are
// looked for only in the program's folder and the system folders: a file
// planted under such a name in the current folder or on PATH would otherwise
// run inside a program that writes HKEY_LOCAL_MACHINE and can shut the
// computer down. Systems without SetDefaultDllDirectories at least leave the
// current folder out.
void RestrictLibrarySearch(System& sys) {
    if (!sys.os.SetDefaultDllDirectories(win::kLoadLibrarySearchDefaultDirs)) {
        sys.os.SetDllDirectoryA("");
    }
}

void ShowTrayMenu(System& sys, Hwnd hwnd) {
    Platform& os = sys.os;
    Point cursor{};
    os.GetCursorPos(&cursor);

    if (sys.popupMenu != 0) {
        os.DestroyMenu(sys.popupMenu);
    }
    sys.popupMenu = os.CreatePopupMenu();
    Handle menu = sys.popupMenu;

    if (sys.bDeviceReady) {
        DebugTrace(sys, "Find USB Device");
        // The current application's item, with its record's label and command.
        const AppRecord* current = FindAppRecord(sys.nCurRemoteTV);
        if (current != nullptr && IsAppInstalled(sys, current->appId)) {
            std::uint32_t flags =
                IsAppRunning(sys, current->appId) ? win::kMfChecked : win::kMfString;
            os.AppendMenuA(menu, flags, current->menuCommand, current->name);
        }
        os.AppendMenuA(menu, win::kMfSeparator, 0, nullptr);
        os.AppendMenuA(menu, win::kMfString, kCmdSetting, "Setting");
        os.AppendMenuA(menu, sys.showButtons ? win::kMfChecked : win::kMfString, kCmdShowButtons,
                       "Show buttons on screen");
        os.AppendMenuA(menu, win::kMfSeparator, 0, nullptr);
    }
    os.AppendMenuA(menu, win::kMfString, kCmdButtonMonitor, "Button monitor...");
    os.AppendMenuA(menu, win::kMfString, kCmdKeyMaps, "Key maps...");
    os.AppendMenuA(menu, win::kMfString, kCmdAbout, "About");
    os.AppendMenuA(menu, win::kMfSeparator, 0, nullptr);
    os.AppendMenuA(menu, win::kMfString, kCmdExit, "Exit");

    os.SetForegroundWindow(hwnd);
    os.TrackPopupMenu(menu, 0, cursor.x, cursor.y, hwnd);
    // Without this the menu stays open when the user clicks elsewhere.
    os.PostMessageA(hwnd, win::kWmNull, 0, 0);
}

void SwitchFromMenu(System& sys, std::uint32_t appId) {
    SwitchToApp(sys, appId);
    sys.nCurRemoteTV = appId;
}

// Gives false for a command the window does not handle.
bool OnCommand(System& sys, Hwnd hwnd, std::uint32_t command) {
    switch (command) {
        case kCmdAbout:
            ShowAboutDialog(sys, hwnd);
            return true;
        case kCmdSetting:
            ShowSettingDialog(sys, hwnd);
            return true;
        case kCmdExit:
        case kCmdExitQuiet:
            RemoveTrayIcon(sys, hwnd);
            sys.os.PostQuitMessage(0);
            return true;
        case kCmdToggleLaunchAp:
            sys.bLaunchap = sys.bLaunchap ? 0 : 1;
            return true;
        case kCmdButtonMonitor:
            OpenButtonMonitor(sys);
            return true;
        case kCmdKeyMaps:
            OpenKeyMaps(sys);
            return true;
        case kCmdShowButtons:
            SetShowButtons(sys, !sys.showButtons);
            return true;
        default:
            break;
    }
    // An application's item.
    for (const AppRecord* app : BuiltInApps()) {
        if (app->menuCommand == command) {
            SwitchFromMenu(sys, app->appId);
            return true;
        }
    }
    return false;
}

void OnTrayCallback(System& sys, Hwnd hwnd, std::intptr_t mouseMessage) {
    switch (mouseMessage) {
        case win::kWmMouseMove:
            sys.os.Shell_NotifyIconW(win::kNimModify, sys.trayIcon);
            break;
        case win::kWmLButtonDown:
        case win::kWmRButtonDown:
            ShowTrayMenu(sys, hwnd);
            break;
        default:
            break;
    }
}

}  // namespace

int RunRemoteControl(System& sys) {
    Platform& os = sys.os;
    RestrictLibrarySearch(sys);
    if (os.FindWindowA(kInstanceClass, nullptr) != 0) {
        return 0;
    }
    BindChipLibraries(sys);

    os.LoadStringA(kTitleString, sys.windowTitle, kNameBufferSize);
    os.LoadStringA(kClassString, sys.windowClass, kNameBufferSize);
    sys.taskbarCreatedMessage = os.RegisterWindowMessageA(kTaskbarCreated);
    os.RegisterMainClass(sys.windowClass, kAppIcon, MainWindowProc, &sys);

    sys.mainWindow = os.CreateMainWindow(sys.windowClass, sys.windowTitle);
    if (sys.mainWindow == 0) {
        return 0;
    }
    // Run elevated, the program would otherwise never hear "TaskbarCreated"
    // from a non-elevated Explorer (Windows before 7 blocks nothing).
    os.ChangeWindowMessageFilterEx(sys.mainWindow, sys.taskbarCreatedMessage, win::kMsgFltAllow);

    LoadSettings(sys);
    LoadLaunchSetting(sys);
    if (sys.alwaysRemoteOff) {
        // Leave no dead icon behind in the notification area.
        RemoveTrayIcon(sys, sys.mainWindow);
        return 0;
    }

    os.ShowWindow(sys.mainWindow, win::kSwHide);
    os.UpdateWindow(sys.mainWindow);

    BindTimerSlots(sys, sys.mainWindow);
    if (sys.awayFromConsole) {
        DebugTrace(sys, "Not at the console: wait");
    } else if (sys.bDeviceReady) {
        DebugTrace(sys, "StartGPIOTimer");
        ArmGpioTimer(sys);
    } else {
        DebugTrace(sys, "StartChkUSBTimer");
        ArmChkUsbTimer(sys);
    }

    // The user's key maps, made from the example at a first start: by the
    // program, which runs as the user, not by the installer.
    CopyExampleUserApps(sys);

    Handle accelerators = os.LoadAcceleratorsA(kAcceleratorTable);
    return os.RunMessageLoop(accelerators);
}

std::intptr_t MainWindowProc(void* ctx, Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                             std::intptr_t lParam) {
    System& sys = *static_cast<System*>(ctx);
    switch (msg) {
        case win::kWmCreate:
            OnCreate(sys, hwnd);
            return 0;
        case win::kWmDestroy:
            RemoveTrayIcon(sys, hwnd);
            sys.os.PostQuitMessage(0);
            CloseHidHandle(sys);
            StopWatchingSessions(sys, hwnd);
            return 0;
        case win::kWmPowerBroadcast:
            OnPowerBroadcast(sys, hwnd, wParam);
            return win::kBroadcastQueryGranted;
        case win::kWmWtsSessionChange:
            OnSessionChange(sys, hwnd, wParam, lParam);
            return 0;
        case kWatchdogNowMessage:
            RunWatchdogNow(sys, hwnd);
            return 0;
        case win::kWmDisplayChange:
            ComputePointerArea(sys, static_cast<int>(lParam & 0xFFFF),
                               static_cast<int>((lParam >> 16) & 0xFFFF));
            return 0;
        case win::kWmCommand:
            if (OnCommand(sys, hwnd, static_cast<std::uint32_t>(wParam & 0xFFFF))) {
                return 0;
            }
            break;
        case kTrayCallbackMessage:
            OnTrayCallback(sys, hwnd, lParam);
            return 0;
        default:
            // Explorer restarted: the new notification area knows no icons.
            if (sys.taskbarCreatedMessage != 0 && msg == sys.taskbarCreatedMessage) {
                ShowTrayIcon(sys, hwnd);
                return 0;
            }
            break;
    }
    return sys.os.DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace rc
