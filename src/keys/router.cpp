#include "keys/router.h"

#include <cstddef>

#include "apps/app_record.h"
#include "apps/lumetra_center.h"
#include "apps/lumetra_panel.h"
#include "apps/media_center.h"
#include "apps/pallamo.h"
#include "apps/power_cinema.h"
#include "apps/target_app.h"
#include "apps/total_media.h"
#include "apps/user_apps.h"
#include "core/debug_trace.h"
#include "core/system.h"
#include "keys/mouse.h"
#include "keys/shutdown.h"
#include "platform/win_defs.h"
#include "settings/settings_store.h"

namespace rc {

namespace {

constexpr std::uint32_t kAnyLayout = 0xFFFFFFFFu;

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
    const char* afterTrace;  // written once the key is handled
};

constexpr const char* kPallamoTrace = "Send Message to PALLAMO";
constexpr const char* kMceTrace = "Send Message to MCE";
constexpr const char* kTotalMediaTrace = "Send Message to TTM3.5";
constexpr const char* kLumetraCenterTrace = "Send Message to Lumetra Center";
constexpr const char* kLumetraCenterDone = "Check bActive is finish";

// clang-format off
constexpr ActiveRow kActiveApps[] = {
    // Application    Trace lines           nIRKEYType  Layout   On/off        Before toggle  Map                  Map layout  After
    {kPowerCinema,   nullptr,               kAnyLayout, nullptr, {67, kNoKey}, nullptr,       PowerCinemaMap,      kAnyLayout, nullptr},
    {kPallamo,       kPallamoTrace,         k44Key,     "44KEY", {12, kNoKey}, nullptr,       PallamoKeyMap,       k44Key,     nullptr},
    {kPallamo,       kPallamoTrace,         k35Key,     "35KEY", {12, kNoKey}, nullptr,       PallamoKeyMap,       k35Key,     nullptr},
    {kPallamo,       kPallamoTrace,         kAnyLayout, "32KEY", {67, kNoKey}, nullptr,       PallamoKeyMap,       k32Key,     nullptr},
    {kMediaCenter,   kMceTrace,             k44Key,     "44KEY", {12, kNoKey}, nullptr,       MediaCenterKeyMap,   k44Key,     nullptr},
    {kMediaCenter,   kMceTrace,             k50Key,     "50KEY", {13, 50},     nullptr,       MediaCenterKeyMap,   k50Key,     nullptr},
    {kMediaCenter,   kMceTrace,             k35Key,     "35KEY", {22, kNoKey}, nullptr,       MediaCenterKeyMap,   k35Key,     nullptr},
    {kMediaCenter,   kMceTrace,             kAnyLayout, "32KEY", {67, kNoKey}, nullptr,       MediaCenterKeyMap,   k32Key,     nullptr},
    {kLumetraPanel,  nullptr,               kAnyLayout, nullptr, {67, kNoKey}, nullptr,       LumetraPanelMap,     kAnyLayout, nullptr},
    {kTotalMedia,    kTotalMediaTrace,      k44Key,     "44KEY", {12, kNoKey}, nullptr,       TotalMediaKeyMap,    k44Key,     nullptr},
    {kTotalMedia,    kTotalMediaTrace,      k50Key,     "50KEY", {13, 50},     nullptr,       TotalMediaKeyMap,    k50Key,     nullptr},
    {kTotalMedia,    kTotalMediaTrace,      k35Key,     "35KEY", {22, kNoKey}, "2",           nullptr,             k35Key,     nullptr},
    {kTotalMedia,    kTotalMediaTrace,      kAnyLayout, "32KEY", {67, kNoKey}, "2",           TotalMediaKeyMap,    k32Key,     nullptr},
    {kLumetraCenter, kLumetraCenterTrace,   k44Key,     "44KEY", {12, kNoKey}, nullptr,       LumetraCenterKeyMap, k44Key,     kLumetraCenterDone},
    {kLumetraCenter, kLumetraCenterTrace,   kAnyLayout, "32KEY", {67, kNoKey}, nullptr,       LumetraCenterKeyMap, k32Key,     kLumetraCenterDone},
};
// clang-format on

// The last row of every application takes any layout: the rows of an
// application always give one for the layout in use.
consteval bool EveryApplicationEndsWithAnyLayout() {
    for (const ActiveRow& row : kActiveApps) {
        const ActiveRow* last = &row;
        for (const ActiveRow& later : kActiveApps) {
            if (later.appId == row.appId) {
                last = &later;
            }
        }
        if (last->layout != kAnyLayout) {
            return false;
        }
    }
    return true;
}
static_assert(EveryApplicationEndsWithAnyLayout());

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

// One row for each layout.
consteval bool OneSpecialRowPerLayout() {
    for (std::uint32_t layout : {k44Key, k32Key, k50Key, k35Key}) {
        int rows = 0;
        for (const SpecialKeys& special : kSpecialKeys) {
            rows += special.layout == layout ? 1 : 0;
        }
        if (rows != 1) {
            return false;
        }
    }
    return true;
}
static_assert(OneSpecialRowPerLayout());

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

void RunMap(System& sys, const ActiveRow& row, const Press& press) {
    if (row.map != nullptr) {
        row.map(sys, row.mapLayout, MapCode(press));
    }
}

// The application takes the press; what it sends is noted as it goes out.
void NoteApplication(System& sys, std::uint32_t appId) {
    NoteTaker(sys, PressTaker::kBuiltInApp, FindAppRecord(appId)->name);
}

// Step 3: the key goes to the marked application's on/off or its map.
void RouteToActive(System& sys, std::uint32_t appId, const Press& press) {
    NoteApplication(sys, appId);
    const ActiveRow* row = ActiveRowOf(appId, sys.nIRKEYType);
    if (row->appTrace != nullptr) {
        DebugTrace(sys, row->appTrace);
        DebugTrace(sys, "nIRKEYType=", sys.nIRKEYType);
        DebugTrace(sys, row->layoutTrace);
    }
    if (IsOneOf(MapCode(press), row->onOff)) {
        if (row->toggleTrace != nullptr) {
            DebugTrace(sys, row->toggleTrace);
        }
        ToggleApp(sys, appId);
    } else {
        RunMap(sys, *row, press);
    }
    if (row->afterTrace != nullptr) {
        DebugTrace(sys, row->afterTrace);
    }
}

// Steps 6 and 8: the six window searches, in the application order; the
// first window found, or 0.
std::uint32_t FirstOpenApp(System& sys) {
    std::uint32_t first = 0;
    for (const AppRecord* app : BuiltInApps()) {
        if (FindAppWindowElsewhere(sys, app->appId) != 0 && first == 0) {
            first = app->appId;
        }
    }
    return first;
}

// Step 5: the power key with nothing marked, when no user application took it.
void LaunchCurrentApp(System& sys, PressOutcome& outcome) {
    DebugTrace(sys, "if click button 1-1 than  check whether the nCurRemoteTV is valid or not");
    TargetApp* current = App(sys, sys.nCurRemoteTV);
    if (current != nullptr && !current->bInstalled) {
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
        // The press is the current application's launch (or close): what
        // the closes of the others sent is not its account.
        outcome = PressOutcome{};
        NoteApplication(sys, row.appId);
        ToggleApp(sys, row.appId);
        return;
    }
    NoteNotSent(sys, "the current application is none of the six");
}

// Steps 5, 6 and 8: where the router would fall back to "nothing open", the
// user's own application in front takes the buttons its section names. The
// six keep their precedence: none of their windows may be open (searched:
// the six searches have just found none).
bool RouteToUserApp(System& sys, const Press& press, bool searched) {
    UserKey key = FindUserKey(sys, press);
    if (key.window == 0 || (!searched && FirstOpenApp(sys) != 0)) {
        return false;
    }
    RunUserKey(sys, key);
    return true;
}

// Step 8: the first open application becomes the marked one and gets the
// key through the map it would get as the active application.
void RouteBySearch(System& sys, const Press& press) {
    std::uint32_t appId = FirstOpenApp(sys);
    if (appId == 0) {
        if (!RouteToUserApp(sys, press, true)) {
            EmulateMouse(sys, press);
        }
        return;
    }
    NoteApplication(sys, appId);
    App(sys, appId)->bLaunched = true;
    RunMap(sys, *ActiveRowOf(appId, sys.nIRKEYType), press);
}

// A press that reached one of the six and sent nothing says why.
void NoteNothingSent(System& sys, const Press& press) {
    PressOutcome& outcome = *sys.pressOutcome;
    if (outcome.taker != PressTaker::kBuiltInApp || !outcome.sent.empty()) {
        return;
    }
    NoteNotSent(
        sys, press.repeat ? "does nothing with a held button" : "has no command for this button");
}

}  // namespace

PressOutcome RouteKey(System& sys, const Press& press, Hwnd mainWindow) {
    PressOutcome outcome;
    PressScope scope(sys, outcome);
    const std::uint32_t keyCode = MapCode(press);

    // 1. A mark lasts only as long as its application's window: one closed
    // by hand (with the mouse, or from its own menu) gives the remote back.
    for (const AppRecord* app : BuiltInApps()) {
        TargetApp& state = StateOf(sys, *app);
        if (state.bLaunched && FindAppWindowElsewhere(sys, app->appId) == 0) {
            state.bLaunched = false;
        }
    }

    // 2. The 35-key remote switches between Media Center and Pallamo.
    if (sys.nIRKEYType == k35Key) {
        if (keyCode == 22) {
            DebugTrace(sys, "RC is 35key  & Launch Media Center Edition");
            CloseApp(sys, kPallamo);
            sys.nCurRemoteTV = kMediaCenter;
            App(sys, kMediaCenter)->bLaunched = true;
            SaveDefaultTVApp(sys);
        } else if (keyCode == 12) {
            DebugTrace(sys, "RC is 35key  & Launch PALLAMO");
            CloseApp(sys, kMediaCenter);
            sys.nCurRemoteTV = kPallamo;
            App(sys, kPallamo)->bLaunched = true;
            SaveDefaultTVApp(sys);
        }
    }

    // 3. The first marked application takes the key.
    DebugTrace(sys, "Check AP Active tahn Send Message to AP");
    for (const AppRecord* app : BuiltInApps()) {
        if (StateOf(sys, *app).bLaunched) {
            outcome = PressOutcome{};  // what step 2's close sent is not the press's
            RouteToActive(sys, app->appId, press);
            NoteNothingSent(sys, press);
            return outcome;
        }
    }

    // 4. Nothing marked.
    DebugTrace(sys, "Check NO AP is Running");
    switch (Classify(sys.nIRKEYType, keyCode)) {
        case KeyClass::Power:
            // 5. The power key.
            if (!RouteToUserApp(sys, press, false)) {
                LaunchCurrentApp(sys, outcome);
            }
            return outcome;
        case KeyClass::OneThree:
            // 6. The 1-3 button.
            DebugTrace(sys, "if click button 1-3 than  send key to AP");
            DebugTrace(sys,
                       "if click button 1-1 than  check whether the nCurRemoteTV is valid or not");
            if (FirstOpenApp(sys) == 0) {
                if (RouteToUserApp(sys, press, true)) {
                    return outcome;
                }
                NoteTaker(sys, PressTaker::kShutdownDialog);
                NoteSent(sys, "opened");
                const PressOutcome offered = outcome;
                OpenShutdownDialog(sys, mainWindow);
                outcome = PressOutcome{};
                RouteBySearch(sys, press);
                // The dialog was what the press did, unless an application
                // opened meanwhile took the key (the pointer's nudge of a
                // 1-3 button that is also a direction is no account of it).
                if (outcome.sent.empty() || outcome.taker == PressTaker::kPointer) {
                    outcome = offered;
                }
                return outcome;
            }
            break;
        case KeyClass::Other:
            // 7. Any other key.
            DebugTrace(sys, "if click button not 1-1 & not 1-3 than  send key to AP");
            DebugTrace(sys, "Re-check whether there is no any AP or not.");
            break;
    }
    // 8. The window search.
    RouteBySearch(sys, press);
    NoteNothingSent(sys, press);
    return outcome;
}

}  // namespace rc
