#include "apps/target_app.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "apps/delivery.h"
#include "apps/user_apps.h"
#include "apps/mce_presence.h"
#include "platform/win_defs.h"
#include "shell/debug_trace.h"
#include "shell/system.h"
#include "shell/timer_slots.h"

namespace rc {

namespace {

constexpr const char* kAmbrelKey = "Software\\Orvalix Multimedia\\Ambrel\\Sorvane";
constexpr const char* kLumetraClass = "OrvalixMainPanel_Class";
constexpr const char* kLaunchFailedText = "Can't launch TV application what you want.";
constexpr const char* kCaption = "Remote Control";
constexpr const char* kMceLaunchTail = "\\ehome\\ehshell.exe";
constexpr std::size_t kLaunchPathSize = 256;
constexpr std::size_t kClassBufferSize = 128;

// Where each application is found in the registry, and what its record holds.
struct DiscoveryRow {
    std::uint32_t appId;
    const char* keyPath;
    const char* valueName;  // "" is the key's default value
    const char* fallbackKey;
    const char* exeName;
    const char* className;
    const char* windowName;
};

// clang-format off
constexpr DiscoveryRow kDiscovery[] = {
    // AppId          Discovery key                                                      Value name     Fallback key  Exe name           Class name                             Window name
    {kPowerCinema,   "SOFTWARE\\CyberLink\\PowerCinema",                                "InstallPath", nullptr,      "PowerCinema.exe", "",                                    "PowerCinema"},
    {kPallamo,       "Software\\Orvalix Multimedia\\Nurvel",                            "AppPath",     nullptr,      "Quillet.exe",     "",                                    "Tessaryn"},
    {kMediaCenter,   "SOFTWARE\\Classes\\Applications\\ehshell.exe\\shell\\open\\command", "",         nullptr,      "",                "eHome Render Window",                 "eHome Render Window"},
    {kTotalMedia,    "SOFTWARE\\ArcSoft\\TotalMedia\\3.0",                              "AppPath",     nullptr,      "TotalMedia.exe",  "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS",  "ArcSoft TotalMedia"},
    {kLumetraPanel,  "Software\\Orvalix Multimedia\\Corvane\\Sorvane",                  "AppPath",     kAmbrelKey,   "MainPanel.exe",   kLumetraClass,                         "Mirvo"},
    {kLumetraCenter, "Software\\Orvalix Multimedia\\Halvex\\Sorvane",                   "AppPath",     kAmbrelKey,   "MainCenter.exe",  kLumetraClass,                         "Lumetra Center"},
};
// clang-format on

// How each application's main window is looked for, and how it is closed.
enum class CloseKind { Keystroke, Message };

struct WindowRow {
    std::uint32_t appId;
    const char* className;  // nullptr matches any class
    const char* windowName;
    CloseKind close;
    std::uint32_t closeMessage;
    std::uint32_t closeCode;
    std::uint32_t pauseAfterClose;  // ms
};

// clang-format off
constexpr WindowRow kWindows[] = {
    // AppId          Class                                  Title                 Close                 Message          Code  Pause
    {kPowerCinema,   nullptr,                               "PowerCinema",        CloseKind::Keystroke, 0,               0,    0},
    {kPallamo,       nullptr,                               "Tessaryn",           CloseKind::Message,   kPallamoMessage, 25,   0},
    {kMediaCenter,   nullptr,                               nullptr,              CloseKind::Keystroke, 0,               0,    0},  // FindMceWindow
    {kTotalMedia,    "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS",  "ArcSoft TotalMedia", CloseKind::Keystroke, 0,               0,    1000},
    {kLumetraPanel,  kLumetraClass,                         "Mirvo",              CloseKind::Message,   kLumetraMessage, 1,    0},
    {kLumetraCenter, kLumetraClass,                         "Lumetra Center",     CloseKind::Message,   kLumetraMessage, 25,   0},
};
// clang-format on

// TotalMedia's title as seen by everything outside its own operations.
constexpr const char* kTotalMediaTitleElsewhere = "Arcsoft TotalMedia";

// The order of the AppWatch marks, which is also the order they are watched in.
constexpr std::uint32_t kWatchOrder[6] = {kPowerCinema,  kPallamo,    kMediaCenter,
                                          kLumetraPanel, kTotalMedia, kLumetraCenter};

const WindowRow* WindowRowOf(std::uint32_t appId) {
    for (const WindowRow& row : kWindows) {
        if (row.appId == appId) {
            return &row;
        }
    }
    return nullptr;
}

// Copies text into a fixed field, cutting it where the field ends.
template <std::size_t N>
void CopyField(char (&field)[N], const char* text) {
    std::snprintf(field, N, "%s", text);
}

void DiscoverApp(System& sys, const DiscoveryRow& row) {
    TargetApp& app = *sys.App(row.appId);
    if (ReadAppRegistry(sys, app, row.keyPath, row.valueName, row.exeName) == 0 &&
        row.fallbackKey != nullptr) {
        ReadAppRegistry(sys, app, row.fallbackKey, row.valueName, row.exeName);
    }
    CopyField(app.szClassName, row.className);
    CopyField(app.szWindowName, row.windowName);
}

void DiscoverAppId(System& sys, std::uint32_t appId) {
    for (const DiscoveryRow& row : kDiscovery) {
        if (row.appId == appId) {
            DiscoverApp(sys, row);
        }
    }
}

// The AppId of one of the six records, 0 for none.
std::uint32_t AppIdOf(System& sys, const TargetApp& app) {
    for (std::uint32_t appId : kWatchOrder) {
        if (sys.App(appId) == &app) {
            return appId;
        }
    }
    return 0;
}

// Builds "<install dir>\<exe name>" into path; false when it does not fit.
bool BuildInstallPath(const TargetApp& app, char (&path)[kLaunchPathSize]) {
    int n = std::snprintf(path, kLaunchPathSize, "%.*s\\%.*s",
                          static_cast<int>(sizeof app.szInstallDir), app.szInstallDir,
                          static_cast<int>(sizeof app.szExeName), app.szExeName);
    return n >= 0 && static_cast<std::size_t>(n) < kLaunchPathSize;
}

// Builds Media Center's shell path from the Windows directory; false when
// the directory can't be had or the path does not fit.
bool BuildMcePath(System& sys, char (&path)[kLaunchPathSize]) {
    char windowsDir[kLaunchPathSize] = {};
    std::uint32_t length = sys.os.GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    if (length == 0 || length >= sizeof windowsDir) {
        return false;
    }
    windowsDir[length] = '\0';
    int n = std::snprintf(path, kLaunchPathSize, "%s%s", windowsDir, kMceLaunchTail);
    return n >= 0 && static_cast<std::size_t>(n) < kLaunchPathSize;
}

// Alt+F4 to the application's window, after activating it.
int KeystrokeClose(System& sys, TargetApp& app, const WindowRow& row) {
    Hwnd window = FindAppWindow(sys, row.appId);
    app.hWnd = window;
    if (window == 0) {
        return 0;
    }
    // Alt+F4 that lands in another program would close that one instead.
    if (!ActivateForKeystrokes(sys, window)) {
        return 0;
    }
    SendChord(sys, {win::kVkMenu, win::kVkF4});
    if (row.pauseAfterClose != 0) {
        sys.os.Sleep(row.pauseAfterClose);
    }
    app.bLaunched = 0;
    return 1;
}

// The application's close command posted to its window.
int MessageClose(System& sys, TargetApp& app, const WindowRow& row) {
    Hwnd window = FindAppWindow(sys, row.appId);
    if (window == 0) {
        return 0;
    }
    bool posted = PostCommand(sys, window, row.closeMessage, row.closeCode);
    app.bLaunched = 0;
    return posted ? 1 : 0;
}

}  // namespace

void DiscoverAppsBeforeTimers(System& sys) {
    DiscoverAppId(sys, kTotalMedia);
    DiscoverAppId(sys, kLumetraCenter);
    DiscoverAppId(sys, kLumetraPanel);
    DiscoverAppId(sys, kMediaCenter);
    DiscoverAppId(sys, kPowerCinema);
}

void DiscoverAppsAfterTimers(System& sys) {
    DiscoverAppId(sys, kPallamo);
}

int ReadAppRegistry(System& sys, TargetApp& app, const char* keyPath, const char* valueName,
                    const char* exeName) {
    app.bInstalled = 0;
    Handle key = 0;
    if (sys.os.RegOpenKeyExA(win::kHkeyLocalMachine, keyPath, win::kKeyQueryValue, &key) !=
        win::kErrorSuccess) {
        return 0;
    }
    // Any type is taken as text; the data must fit with its terminating NUL.
    std::uint8_t data[sizeof app.szInstallDir] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof data;
    long result = sys.os.RegQueryValueExA(key, valueName, &type, data, &size);
    sys.os.RegCloseKey(key);
    if (result != win::kErrorSuccess || size > sizeof data) {
        return 0;
    }
    std::size_t length = strnlen(reinterpret_cast<const char*>(data), size);
    if (length >= sizeof data) {
        return 0;  // no room for the NUL
    }
    std::memcpy(app.szInstallDir, data, length);
    app.szInstallDir[length] = '\0';
    CopyField(app.szExeName, exeName);
    app.bInstalled = 1;
    app.bLaunched = 0;
    return 1;
}

Hwnd ScanForAppWindow(System& sys, TargetApp& app) {
    // The compare length is the title's, not the class name's.
    std::size_t n = strnlen(app.szWindowName, sizeof app.szWindowName);
    for (Hwnd window = sys.os.GetWindow(sys.os.GetDesktopWindow(), win::kGwChild); window != 0;
         window = sys.os.GetWindow(window, win::kGwHwndNext)) {
        char className[kClassBufferSize] = {};
        // A window that closed during the walk has no class to read; its
        // empty buffer must not pass for PowerCinema's or Pallamo's empty class.
        if (sys.os.GetClassNameA(window, className, sizeof className) <= 0) {
            continue;
        }
        className[sizeof className - 1] = '\0';
        if (std::strncmp(className, app.szClassName, n) == 0) {
            return window;
        }
    }
    return 0;
}

Hwnd LaunchApp(System& sys, TargetApp& app) {
    // The application is looked for as the key router looks for it, so that
    // a running copy is never started twice and the other Lumetra
    // application's window is never taken for this one.
    const std::uint32_t appId = AppIdOf(sys, app);
    Hwnd window = FindAppWindowElsewhere(sys, appId);
    if (window != 0) {
        return window;
    }
    if (app.bInstalled == 0) {
        return 0;
    }
    char path[kLaunchPathSize] = {};
    bool pathFits = BuildInstallPath(app, path);
    // Media Center's record holds its shell's command line, not a folder: it
    // is started from the Windows directory.
    if (IsMceInstalled(sys) && appId == kMediaCenter) {
        pathFits = BuildMcePath(sys, path);
    }
    bool launched = false;
    if (pathFits) {
        std::intptr_t result =
            sys.os.ShellExecuteA(0, "open", path, "remote", nullptr, win::kSwShow);
        // 32 and below are errors, 31 (no association) and 32 included.
        launched = result > 32;
    }
    if (launched) {
        app.bLaunched = 1;
    } else {
        ShowLaunchBox(sys, kLaunchFailedText, win::kMbOk);
    }
    return FindAppWindowElsewhere(sys, appId);
}

void ShowLaunchBox(System& sys, const char* text, std::uint32_t type) {
    // The box's modal loop goes on polling: a further power press (or an
    // automatic launch) inside it is traced instead of stacking boxes.
    if (sys.launchBoxOpen) {
        DebugTrace(sys, text);
        return;
    }
    sys.launchBoxOpen = true;
    sys.os.MessageBoxA(0, text, kCaption, type);
    sys.launchBoxOpen = false;
}

Hwnd ActivateOrLaunchApp(System& sys, TargetApp& app) {
    if (app.bInstalled != 1) {
        return 0;
    }
    Hwnd window = FindAppWindowElsewhere(sys, AppIdOf(sys, app));
    if (window == 0) {
        window = LaunchApp(sys, app);
    }
    if (window == 0) {
        return 0;
    }
    sys.os.SetForegroundWindow(window);
    sys.os.SetActiveWindow(window);
    return window;
}

Hwnd FindAppWindow(System& sys, std::uint32_t appId) {
    if (appId == kMediaCenter) {
        return FindMceWindow(sys);
    }
    const WindowRow* row = WindowRowOf(appId);
    if (row == nullptr) {
        return 0;
    }
    return sys.os.FindWindowExA(sys.os.GetDesktopWindow(), 0, row->className, row->windowName);
}

Hwnd FindAppWindowElsewhere(System& sys, std::uint32_t appId) {
    if (appId == kTotalMedia) {
        return sys.os.FindWindowExA(sys.os.GetDesktopWindow(), 0, nullptr,
                                    kTotalMediaTitleElsewhere);
    }
    return FindAppWindow(sys, appId);
}

int CloseApp(System& sys, std::uint32_t appId) {
    const WindowRow* row = WindowRowOf(appId);
    TargetApp* app = sys.App(appId);
    if (row == nullptr || app == nullptr) {
        return 0;
    }
    if (row->close == CloseKind::Keystroke) {
        return KeystrokeClose(sys, *app, *row);
    }
    return MessageClose(sys, *app, *row);
}

std::uint32_t* WatchMark(System& sys, std::uint32_t appId) {
    for (std::size_t i = 0; i < std::size(kWatchOrder); ++i) {
        if (kWatchOrder[i] == appId) {
            return &sys.watchMark[i];
        }
    }
    return nullptr;
}

int ToggleApp(System& sys, std::uint32_t appId) {
    TargetApp* app = sys.App(appId);
    if (app == nullptr) {
        return 0;
    }
    if (FindAppWindowElsewhere(sys, appId) != 0) {
        return CloseApp(sys, appId);
    }
    ActivateOrLaunchApp(sys, *app);
    ArmAppWatchTimer(sys);
    if (app->bLaunched == 1) {
        *WatchMark(sys, appId) = 1;
    }
    return app->bLaunched;
}

void OnAppWatchTimer(void* ctx, Hwnd, std::uintptr_t) {
    System& sys = *static_cast<System*>(ctx);
    WatchUserApps(sys);
    for (std::size_t i = 0; i < std::size(kWatchOrder); ++i) {
        if (sys.watchMark[i] != 1) {
            continue;
        }
        // Only the first marked application is looked at in one tick.
        std::uint32_t appId = kWatchOrder[i];
        if (FindAppWindowElsewhere(sys, appId) != 0) {
            return;
        }
        sys.App(appId)->bLaunched = 0;
        KillAppWatchTimer(sys);
        sys.watchMark[i] = 0;
        return;
    }
    sys.os.Sleep(2000);
    KillAppWatchTimer(sys);
}

}  // namespace rc
