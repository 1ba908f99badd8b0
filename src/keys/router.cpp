#include "keys/router.h"

#include <cstddef>

#include "apps/lumetra_center.h"
#include "apps/lumetra_panel.h"
#include "apps/media_center.h"
#include "apps/pallamo.h"
#include "apps/power_cinema.h"
#include "apps/target_app.h"
#include "apps/total_media.h"
#include "apps/user_apps.h"
#include "keys/mouse.h"
#include "keys/shutdown.h"
#include "platform/win_defs.h"
#include "settings/settings_store.h"
#include "shell/debug_trace.h"
#include "shell/system.h"

namespace rc {

namespace {

constexpr std::uint32_t kAnyLayout = 0xFFFFFFFFu;
constexpr std::uint32_t kNoKey = 0xFFFFFFFFu;  // an unused on/off or special-key slot

// The key maps, all called alike: the layout tells the multi-layout
// applications which of their maps to run.
using KeyMapFn = void (*)(System& sys, std::uint32_t layout, std::uint32_t keyCode);

void PowerCinemaMap(System& sys, std::uint32_t, std::uint32_t keyCode) {
    PowerCinemaKeyMap(sys, keyCode);
}
void LumetraPanelMap(System& sys, std::uint32_t, std::uint32_t keyCode) {
    LumetraPanelKeyMap(sys, keyCode);
}

// Where an application's keys go while it is the active one, by layout.
// The rows of one application are tried in order; kAnyLayout ends them.
struct ActiveRow {
    std::uint32_t appId;
    const char* appTrace;  // written with "nIRKEYType=" after it; nullptr: no traces
    std::uint32_t layout;
    const char* layoutTrace;
    std::uint32_t onOff[2];
    const char* toggleTrace;  // written before ToggleApp
    KeyMapFn map;             // nullptr: other KeyCodes do nothing
    std::uint32_t mapLayout;
};

constexpr const char* kPallamoTrace = "Send Message to PALLAMO";
constexpr const char* kMceTrace = "Send Message to MCE";
constexpr const char* kTotalMediaTrace = "Send Message to TTM3.5";
constexpr const char* kLumetraCenterTrace = "Send Message to Lumetra Center";

// clang-format off
constexpr ActiveRow kActiveApps[] = {
    // Application    Trace lines           nIRKEYType  Layout   On/off       Before toggle  Map                  Map layout
    {kPowerCinema,   nullptr,               kAnyLayout, nullptr, {67, kNoKey}, nullptr,       PowerCinemaMap,      kAnyLayout},
    {kPallamo,       kPallamoTrace,         k44Key,     "44KEY", {12, kNoKey}, nullptr,       PallamoKeyMap,       k44Key},
    {kPallamo,       kPallamoTrace,         k35Key,     "35KEY", {12, kNoKey}, nullptr,       PallamoKeyMap,       k35Key},
    {kPallamo,       kPallamoTrace,         kAnyLayout, "32KEY", {67, kNoKey}, nullptr,       PallamoKeyMap,       k32Key},
    {kMediaCenter,   kMceTrace,             k44Key,     "44KEY", {12, kNoKey}, nullptr,       MediaCenterKeyMap,   k44Key},
    {kMediaCenter,   kMceTrace,             k50Key,     "50KEY", {13, 50},     nullptr,       MediaCenterKeyMap,   k50Key},
    {kMediaCenter,   kMceTrace,             k35Key,     "35KEY", {22, kNoKey}, nullptr,       MediaCenterKeyMap,   k35Key},
    {kMediaCenter,   kMceTrace,             kAnyLayout, "32KEY", {67, kNoKey}, nullptr,       MediaCenterKeyMap,   k32Key},
    {kLumetraPanel,  nullptr,               kAnyLayout, nullptr, {67, kNoKey}, nullptr,       LumetraPanelMap,     kAnyLayout},
    {kTotalMedia,    kTotalMediaTrace,      k44Key,     "44KEY", {12, kNoKey}, nullptr,       TotalMediaKeyMap,    k44Key},
    {kTotalMedia,    kTotalMediaTrace,      k50Key,     "50KEY", {13, 50},     nullptr,       TotalMediaKeyMap,    k50Key},
    {kTotalMedia,    kTotalMediaTrace,      k35Key,     "35KEY", {22, kNoKey}, "2",           nullptr,             k35Key},
    {kTotalMedia,    kTotalMediaTrace,      kAnyLayout, "32KEY", {67, kNoKey}, "2",           TotalMediaKeyMap,    k32Key},
    {kLumetraCenter, kLumetraCenterTrace,   k44Key,     "44KEY", {12, kNoKey}, nullptr,       LumetraCenterKeyMap, k44Key},
    {kLumetraCenter, kLumetraCenterTrace,   kAnyLayout, "32KEY", {67, kNoKey}, nullptr,       LumetraCenterKeyMap, k32Key},
};
// clang-format on

// What the power key does with nothing marked: close these, then toggle the
// current application.
struct LaunchRow {
    std::uint32_t appId;
    const char* trace;
    std::uint32_t closeOrder[5];
};

// clang-format off
constexpr LaunchRow kLaunches[] = {
    // nCurRemoteTV   Trace              CloseApp in this order
    {kPowerCinema,   nullptr,           {kMediaCenter, kLumetraPanel, kTotalMedia,   kLumetraCenter, kPallamo}},
    {kPallamo,       "TV_PALLAMO_OPEN", {kMediaCenter, kLumetraPanel, kTotalMedia,   kLumetraCenter, kPowerCinema}},
    {kMediaCenter,   "TV_MCE_OPEN",     {kPowerCinema, kLumetraPanel, kTotalMedia,   kLumetraCenter, kPallamo}},
    {kTotalMedia,    "3",               {kPowerCinema, kMediaCenter,  kLumetraPanel, kLumetraCenter, kPallamo}},
    {kLumetraPanel,  nullptr,           {kPowerCinema, kMediaCenter,  kTotalMedia,   kLumetraCenter, kPallamo}},
    {kLumetraCenter, nullptr,           {kPowerCinema, kMediaCenter,  kLumetraPanel, kTotalMedia,    kPallamo}},
};
// clang-format on

// The power keys and the 1-3 button of each layout.
struct SpecialKeys {
    std::uint32_t layout;
    std::uint32_t power[2];
    std::uint32_t oneThree;
};

// clang-format off
constexpr SpecialKeys kSpecialKeys[] = {
    // nIRKEYType  Power key      1-3 button
    {k44Key,      {12, kNoKey},  29},
    {k32Key,      {67, kNoKey},  3},
    {k50Key,      {13, 50},      12},
    {k35Key,      {12, 22},      kNoKey},
};
// clang-format on

// The order in which the router looks at the applications.
constexpr std::uint32_t kAppOrder[6] = {kPowerCinema,  kPallamo,    kMediaCenter,
                                        kLumetraPanel, kTotalMedia, kLumetraCenter};

bool IsOneOf(std::uint32_t keyCode, const std::uint32_t (&keys)[2]) {
    return keyCode != kNoKey && (keyCode == keys[0] || keyCode == keys[1]);
}

const ActiveRow* ActiveRowOf(std::uint32_t appId, std::uint32_t layout) {
    for (const ActiveRow& row : kActiveApps) {
        if (row.appId == appId && (row.layout == layout || row.layout == kAnyLayout)) {
            return &row;
        }
    }
    return nullptr;
}

enum class KeyClass { Power, OneThree, Other };

KeyClass Classify(std::uint32_t layout, std::uint32_t keyCode) {
    for (const SpecialKeys& special : kSpecialKeys) {
        if (special.layout != layout) {
            continue;
        }
        if (IsOneOf(keyCode, special.power)) {
            return KeyClass::Power;
        }
        if (keyCode != kNoKey && keyCode == special.oneThree) {
            return KeyClass::OneThree;
        }
    }
    return KeyClass::Other;
}

void RunMap(System& sys, const ActiveRow& row, std::uint32_t keyCode) {
    if (row.map != nullptr) {
        row.map(sys, row.mapLayout, keyCode);
    }
}

// Step 3: the key goes to the marked application's on/off or its map.
void RouteToActive(System& sys, std::uint32_t appId, std::uint32_t keyCode) {
    const ActiveRow* row = ActiveRowOf(appId, sys.nIRKEYType);
    if (row->appTrace != nullptr) {
        DebugTrace(sys, row->appTrace);
        DebugTrace(sys, "nIRKEYType=", sys.nIRKEYType);
        DebugTrace(sys, row->layoutTrace);
    }
    if (IsOneOf(keyCode, row->onOff)) {
        if (row->toggleTrace != nullptr) {
            DebugTrace(sys, row->toggleTrace);
        }
        ToggleApp(sys, appId);
    } else {
        RunMap(sys, *row, keyCode);
    }
    if (appId == kLumetraCenter) {
        DebugTrace(sys, "Check bActive is finish");
    }
}

// The six window searches, in the application order; the first window
// found, or 0.
std::uint32_t FirstOpenApp(System& sys) {
    std::uint32_t first = 0;
    for (std::uint32_t appId : kAppOrder) {
        if (FindAppWindowElsewhere(sys, appId) != 0 && first == 0) {
            first = appId;
        }
    }
    return first;
}

// Step 5: the power key with nothing marked.
void LaunchCurrentApp(System& sys) {
    DebugTrace(sys, "if click button 1-1 than  check whether the nCurRemoteTV is valid or not");
    TargetApp* current = sys.App(sys.nCurRemoteTV);
    if (current != nullptr && current->bInstalled == 0) {
        ShowLaunchBox(sys, "Please re-initialize the TV application settings.",
                      win::kMbSetForeground);
    }
    DebugTrace(sys, "if nCurRemoteTV is valid  than launch");
    for (const LaunchRow& row : kLaunches) {
        if (row.appId != sys.nCurRemoteTV) {
            continue;
        }
        if (row.trace != nullptr) {
            DebugTrace(sys, row.trace);
        }
        for (std::uint32_t other : row.closeOrder) {
            CloseApp(sys, other);
        }
        ToggleApp(sys, row.appId);
        return;
    }
}

// Where the router would fall back to "nothing open", the user's own
// application in front takes the buttons its section names. The six keep
// their precedence: none of their windows may be open (searched: the six
// searches have just found none).
bool RouteToUserApp(System& sys, std::uint32_t keyCode, bool searched) {
    UserKey key = FindUserKey(sys, keyCode);
    if (key.window == 0 || (!searched && FirstOpenApp(sys) != 0)) {
        return false;
    }
    RunUserKey(sys, key);
    return true;
}

// Step 8: the first open application becomes the marked one and gets the
// key through the map it would get as the active application.
void RouteBySearch(System& sys, std::uint32_t keyCode) {
    std::uint32_t appId = FirstOpenApp(sys);
    if (appId == 0) {
        if (!RouteToUserApp(sys, keyCode, true)) {
            EmulateMouse(sys, keyCode);
        }
        return;
    }
    sys.App(appId)->bLaunched = 1;
    RunMap(sys, *ActiveRowOf(appId, sys.nIRKEYType), keyCode);
}

}  // namespace

void RouteKey(System& sys, std::uint32_t keyCode, Hwnd mainWindow) {
    // 1. Lumetra Center's mark lasts only as long as its window.
    if (FindAppWindowElsewhere(sys, kLumetraCenter) == 0) {
        sys.lumetraCenter.bLaunched = 0;
    }

    // 2. The 35-key remote switches between Media Center and Pallamo.
    if (sys.nIRKEYType == k35Key) {
        if (keyCode == 22) {
            DebugTrace(sys, "RC is 35key  & Launch Media Center Edition");
            CloseApp(sys, kPallamo);
            sys.nCurRemoteTV = kMediaCenter;
            sys.mediaCenter.bLaunched = 1;
            SaveDefaultTVApp(sys);
        } else if (keyCode == 12) {
            DebugTrace(sys, "RC is 35key  & Launch PALLAMO");
            CloseApp(sys, kMediaCenter);
            sys.nCurRemoteTV = kPallamo;
            sys.pallamo.bLaunched = 1;
            SaveDefaultTVApp(sys);
        }
    }

    // 3. The first marked application takes the key.
    DebugTrace(sys, "Check AP Active tahn Send Message to AP");
    for (std::uint32_t appId : kAppOrder) {
        if (sys.App(appId)->bLaunched == 1) {
            RouteToActive(sys, appId, keyCode);
            return;
        }
    }

    // 4. Nothing marked.
    DebugTrace(sys, "Check NO AP is Running");
    switch (Classify(sys.nIRKEYType, keyCode)) {
        case KeyClass::Power:
            if (RouteToUserApp(sys, keyCode, false)) {
                return;
            }
            LaunchCurrentApp(sys);
            return;
        case KeyClass::OneThree:
            DebugTrace(sys, "if click button 1-3 than  send key to AP");
            DebugTrace(sys,
                       "if click button 1-1 than  check whether the nCurRemoteTV is valid or not");
            if (FirstOpenApp(sys) == 0) {
                if (RouteToUserApp(sys, keyCode, true)) {
                    return;
                }
                OpenShutdownDialog(sys, mainWindow);
            }
            break;
        case KeyClass::Other:
            DebugTrace(sys, "if click button not 1-1 & not 1-3 than  send key to AP");
            DebugTrace(sys, "Re-check whether there is no any AP or not.");
            break;
    }
    RouteBySearch(sys, keyCode);
}

}  // namespace rc
