#include "apps/target_app.h"

#include <cstdio>
#include <cstring>

#include "apps/app_record.h"
#include "apps/delivery.h"
#include "apps/mce_presence.h"
#include "apps/user_apps.h"
#include "core/debug_trace.h"
#include "core/press.h"
#include "core/system.h"
#include "core/timer_slots.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

constexpr const char* kLaunchFailedText = "Can't launch TV application what you want.";
constexpr const char* kCaption = "Remote Control";
constexpr std::size_t kLaunchPathSize = 256;
constexpr int kLastRankBeforeTimers = 5;

// Copies text into a fixed field, cutting it where the field ends.
template <std::size_t N>
void CopyField(char (&field)[N], const char* text) {
    std::snprintf(field, N, "%s", text);
}

void Discover(System& sys, const AppRecord& record) {
    TargetApp& app = StateOf(sys, record);
    if (ReadAppRegistry(sys, app, record.keyPath, record.valueName, record.exeName) == 0 &&
        record.fallbackKey != nullptr) {
        ReadAppRegistry(sys, app, record.fallbackKey, record.valueName, record.exeName);
    }
    CopyField(app.szClassName, record.className);
    CopyField(app.szWindowName, record.title);
}

void DiscoverRanks(System& sys, int first, int last) {
    for (int rank = first; rank <= last; ++rank) {
        for (const AppRecord* record : BuiltInApps()) {
            if (record->discoveryRank == rank) {
                Discover(sys, *record);
            }
        }
    }
}

Hwnd FindOwnWindow(System& sys, const AppRecord& record) {
    if (record.findWindow != nullptr) {
        return record.findWindow(sys);
    }
    const char* className = record.className[0] == '\0' ? nullptr : record.className;
    return sys.os.FindWindowExA(sys.os.GetDesktopWindow(), 0, className, record.title);
}

Hwnd FindElsewhere(System& sys, const AppRecord& record) {
    if (record.titleElsewhere != nullptr) {
        return sys.os.FindWindowExA(sys.os.GetDesktopWindow(), 0, nullptr, record.titleElsewhere);
    }
    return FindOwnWindow(sys, record);
}

// Builds "<install dir>\<exe name>" into path; false when it does not fit.
bool BuildInstallPath(const TargetApp& app, char (&path)[kLaunchPathSize]) {
    int n = std::snprintf(path, kLaunchPathSize, "%.*s\\%.*s",
                          static_cast<int>(sizeof app.szInstallDir), app.szInstallDir,
                          static_cast<int>(sizeof app.szExeName), app.szExeName);
    return n >= 0 && static_cast<std::size_t>(n) < kLaunchPathSize;
}

// Builds a path in the Windows folder; false when the folder can't be had
// or the path does not fit.
bool BuildWindowsFolderPath(System& sys, const char* tail, char (&path)[kLaunchPathSize]) {
    char windowsDir[kLaunchPathSize] = {};
    std::uint32_t length = sys.os.GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    if (length == 0 || length >= sizeof windowsDir) {
        return false;
    }
    windowsDir[length] = '\0';
    int n = std::snprintf(path, kLaunchPathSize, "%s%s", windowsDir, tail);
    return n >= 0 && static_cast<std::size_t>(n) < kLaunchPathSize;
}

// Alt+F4 to the application's window, after activating it.
int KeystrokeClose(System& sys, const AppRecord& record) {
    TargetApp& app = StateOf(sys, record);
    Hwnd window = FindOwnWindow(sys, record);
    app.hWnd = window;
    if (window == 0) {
        return 0;
    }
    // Alt+F4 that lands in another program would close that one instead.
    constexpr std::uint8_t kAltF4[] = {win::kVkMenu, win::kVkF4};
    if (!SendKeystrokes(sys, window, kAltF4, 2, KeyForm::kFixed)) {
        return 0;
    }
    if (record.pauseAfterClose != 0) {
        sys.os.Sleep(record.pauseAfterClose);
    }
    app.bLaunched = false;
    return 1;
}

// The application's close command posted to its window.
int MessageClose(System& sys, const AppRecord& record) {
    Hwnd window = FindOwnWindow(sys, record);
    if (window == 0) {
        return 0;
    }
    bool posted = PostCommand(sys, window, record.closeMessage, record.closeCode);
    StateOf(sys, record).bLaunched = false;
    return posted ? 1 : 0;
}

Hwnd Launch(System& sys, const AppRecord& record) {
    // The application is looked for as the key router looks for it, so that
    // a running copy is never started twice and the other Lumetra
    // application's window is never taken for this one.
    TargetApp& app = StateOf(sys, record);
    Hwnd window = FindElsewhere(sys, record);
    if (window != 0) {
        return window;
    }
    if (!app.bInstalled) {
        return 0;
    }
    char path[kLaunchPathSize] = {};
    bool pathFits = BuildInstallPath(app, path);
    // Media Center's record holds its shell's command line, not a folder: it
    // is started from the Windows folder.
    if (IsMceInstalled(sys) && record.windowsFolderLaunch != nullptr) {
        pathFits = BuildWindowsFolderPath(sys, record.windowsFolderLaunch, path);
    }
    bool launched = false;
    if (pathFits) {
        std::intptr_t result =
            sys.os.ShellExecuteA(0, "open", path, "remote", nullptr, win::kSwShow);
        // 32 and below are errors, 31 (no association) and 32 included.
        launched = result > 32;
    }
    if (launched) {
        app.bLaunched = true;
        NoteSent(sys, "launch");
    } else {
        NoteNotSent(sys, "could not be launched");
        ShowLaunchBox(sys, kLaunchFailedText, win::kMbOk);
    }
    return FindElsewhere(sys, record);
}

Hwnd ActivateOrLaunch(System& sys, const AppRecord& record) {
    if (!StateOf(sys, record).bInstalled) {
        NoteNotSent(sys, "is not installed");
        return 0;
    }
    Hwnd window = FindElsewhere(sys, record);
    if (window == 0) {
        window = Launch(sys, record);
    }
    if (window == 0) {
        return 0;
    }
    ActivateWindow(sys, window);
    return window;
}

// An operation by AppId; none for an AppId that is none of the six.
Hwnd ByAppId(System& sys, std::uint32_t appId, Hwnd (*operation)(System&, const AppRecord&)) {
    const AppRecord* record = FindAppRecord(appId);
    return record == nullptr ? 0 : operation(sys, *record);
}

}  // namespace

void DiscoverAppsBeforeTimers(System& sys) {
    DiscoverRanks(sys, 1, kLastRankBeforeTimers);
}

void DiscoverAppsAfterTimers(System& sys) {
    DiscoverRanks(sys, kLastRankBeforeTimers + 1, static_cast<int>(kMaxBuiltInApps));
}

int ReadAppRegistry(System& sys, TargetApp& app, const char* keyPath, const char* valueName,
                    const char* exeName) {
    app.bInstalled = false;
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
    app.bInstalled = true;
    app.bLaunched = false;
    return 1;
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

Hwnd FindAppWindow(System& sys, std::uint32_t appId) {
    return ByAppId(sys, appId, FindOwnWindow);
}

Hwnd FindAppWindowElsewhere(System& sys, std::uint32_t appId) {
    return ByAppId(sys, appId, FindElsewhere);
}

Hwnd LaunchApp(System& sys, std::uint32_t appId) {
    return ByAppId(sys, appId, Launch);
}

Hwnd ActivateOrLaunchApp(System& sys, std::uint32_t appId) {
    return ByAppId(sys, appId, ActivateOrLaunch);
}

int CloseApp(System& sys, std::uint32_t appId) {
    const AppRecord* record = FindAppRecord(appId);
    if (record == nullptr) {
        return 0;
    }
    if (record->close == CloseKind::kKeystroke) {
        return KeystrokeClose(sys, *record);
    }
    return MessageClose(sys, *record);
}

bool* WatchMark(System& sys, std::uint32_t appId) {
    const AppRecord* record = FindAppRecord(appId);
    return record == nullptr ? nullptr : &WatchMarkOf(sys, *record);
}

int ToggleApp(System& sys, std::uint32_t appId) {
    const AppRecord* record = FindAppRecord(appId);
    if (record == nullptr) {
        return 0;
    }
    if (FindElsewhere(sys, *record) != 0) {
        return CloseApp(sys, appId);
    }
    ActivateOrLaunch(sys, *record);
    ArmAppWatchTimer(sys);
    TargetApp& app = StateOf(sys, *record);
    if (app.bLaunched) {
        WatchMarkOf(sys, *record) = true;
    }
    return app.bLaunched ? 1 : 0;
}

void OnAppWatchTimer(void* ctx, Hwnd, std::uintptr_t) {
    System& sys = *static_cast<System*>(ctx);
    WatchUserApps(sys);
    for (const AppRecord* record : BuiltInApps()) {
        bool& mark = WatchMarkOf(sys, *record);
        if (!mark) {
            continue;
        }
        // Only the first marked application is looked at in one tick.
        if (FindElsewhere(sys, *record) != 0) {
            return;
        }
        StateOf(sys, *record).bLaunched = false;
        KillAppWatchTimer(sys);
        mark = false;
        return;
    }
    sys.os.Sleep(2000);
    KillAppWatchTimer(sys);
}

}  // namespace rc
