// The record of one built-in application: everything that is particular to
// it, in its own file, and the one ordered list of the six.
//
// Adding a seventh built-in application means one file with its record and
// its commands, and one line in the list (app_list.cpp). The tables that
// relate applications to each other (the close orders of switching, the
// key router's rows by layout and its launch table) get its cells.
#pragma once

#include <cstdint>
#include <span>

#include "platform/platform.h"

namespace rc {

struct System;
struct TargetApp;

// How an application's main window is closed.
enum class CloseKind : std::uint8_t {
    kKeystroke,  // Alt+F4 after activating it
    kMessage,    // its close command posted to it
};

struct AppRecord {
    std::uint32_t appId;
    // In the tray menu and the Setting dialog, and in a press's outcome.
    const char* name;
    std::uint32_t menuCommand;  // of its tray menu item

    // Discovery: where the registry says it is installed (under
    // HKEY_LOCAL_MACHINE), run when the System is built.
    int discoveryRank;  // 1 is filled in first; ranks above 5 after the timer slots
    const char* keyPath;
    const char* valueName;    // "" is the key's default value
    const char* fallbackKey;  // tried when keyPath gives nothing; null: none
    const char* exeName;

    // Its main window, as its own commands and its close look for it:
    // FindWindowExA under the desktop with this class ("" matches any) and
    // title, unless findWindow is given. Discovery copies both into the
    // record's state.
    const char* className;
    const char* title;
    Hwnd (*findWindow)(System& sys);
    // Outside its own commands and close (router, application watch, tray
    // menu, launch), looked for by this title alone; null: as above.
    const char* titleElsewhere;
    // The tray menu's check mark: whether it runs; null: the search above.
    Hwnd (*findRunning)(System& sys);

    // Close.
    CloseKind close;
    std::uint32_t closeMessage;  // kMessage: PostMessageA(window, closeMessage, closeCode, 0)
    std::uint32_t closeCode;
    std::uint32_t pauseAfterClose;  // ms

    // Launch.
    int (*isInstalled)(System& sys);  // null: its bInstalled
    // When set and Media Center is present, launched as the Windows folder
    // followed by this text instead of its install path.
    const char* windowsFolderLaunch;
    const char* launchTrace;  // the automatic launch's trace line
    // After an automatic launch that found no window: the pauses and first
    // commands that bring it up.
    void (*afterLaunch)(System& sys);
};

// The six, in the application order: the order in which the key router
// looks at them and the application watch watches them. A record's place in
// this list is also the place of its state (sys.apps) and its watch mark.
std::span<const AppRecord* const> BuiltInApps();

// The record of an AppId, or null for any other number.
const AppRecord* FindAppRecord(std::uint32_t appId);
// The state of an application (sys.apps), by record or AppId; null for an
// unknown AppId.
TargetApp& StateOf(System& sys, const AppRecord& app);
TargetApp* App(System& sys, std::uint32_t appId);
// The application's AppWatch mark (sys.watchMark).
bool& WatchMarkOf(System& sys, const AppRecord& app);

}  // namespace rc
