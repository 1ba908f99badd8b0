#include "apps/lumetra_panel.h"

#include "apps/delivery.h"
#include "apps/target_app.h"
#include "core/press.h"
#include "core/system.h"

namespace rc {

namespace {

// The two commands that bring the panel forward before they are posted.
constexpr bool Activates(std::uint32_t code) {
    return code == 3000 || code == 20;
}

struct MapRow {
    std::uint8_t keyCode;
    std::uint32_t code;  // 0: the key does nothing
    bool activateFirst;
    std::uint32_t pauseMs;  // after the command, made whether or not the window was found
};

constexpr bool no = false;
constexpr bool yes = true;

// The one map, for every layout. KeyCodes 0, 3 and 32 to 255 do nothing; 67
// is the router's on/off button.
// clang-format off
constexpr MapRow kKeyMap[] = {
//   KeyCode  Command  Activate  Pause
    {1,       207,     no,       0   },
    {2,       10003,   no,       0   },
    {4,       10001,   no,       0   },
    {5,       10005,   no,       0   },
    {6,       10006,   no,       0   },
    {7,       4002,    no,       0   },
    {8,       10002,   no,       0   },
    {9,       4001,    no,       0   },
    {10,      10009,   no,       0   },
    {11,      3,       no,       0   },
    {12,      10007,   no,       0   },
    {13,      10008,   no,       0   },
    {14,      401,     no,       0   },
    {15,      10004,   no,       0   },
    {16,      4003,    no,       0   },
    {17,      10000,   no,       0   },
    {18,      10020,   no,       0   },
    {19,      402,     no,       0   },
    {20,      1001,    no,       2000},
    {21,      1002,    no,       0   },
    {22,      3000,    yes,      2000},
    {23,      403,     no,       0   },
    {24,      1008,    no,       0   },
    {25,      1009,    no,       0   },
    {26,      1005,    no,       0   },
    {27,      1004,    no,       0   },
    {28,      2000,    no,       3000},
    {29,      20,      yes,      0   },
    {30,      1000,    no,       0   },
    {31,      8,       no,       2000},
};
// clang-format on
static_assert(OneRowPerKeyCode(kKeyMap));

consteval bool ActivationColumnAgrees() {
    for (const MapRow& row : kKeyMap) {
        if (row.activateFirst != Activates(row.code)) {
            return false;
        }
    }
    return true;
}
static_assert(ActivationColumnAgrees());

void AfterLaunch(System& sys) {
    sys.os.Sleep(6500);
}

}  // namespace

const AppRecord kLumetraPanelApp = {
    .appId = kLumetraPanel,
    .name = "Lumetra",
    .menuCommand = 1106,
    .discoveryRank = 3,
    .keyPath = "Software\\Orvalix Multimedia\\Corvane\\Sorvane",
    .valueName = "AppPath",
    .fallbackKey = kAmbrelKey,
    .exeName = "MainPanel.exe",
    .className = kLumetraClass,
    .title = "Mirvo",
    .findWindow = nullptr,
    .titleElsewhere = nullptr,
    .findRunning = nullptr,
    .close = CloseKind::kMessage,
    .closeMessage = kLumetraMessage,
    .closeCode = 1,
    .pauseAfterClose = 0,
    .isInstalled = nullptr,
    .windowsFolderLaunch = nullptr,
    .launchTrace = " Launch Lumetra",
    .afterLaunch = AfterLaunch,
};

void LumetraPanelCommand(System& sys, std::uint32_t code) {
    TargetApp& app = *App(sys, kLumetraPanel);
    app.hWnd = FindAppWindow(sys, kLumetraPanel);
    if (app.hWnd == 0) {
        NoteNotSent(sys, "is not open");
        return;
    }
    if (Activates(code)) {
        sys.os.SetForegroundWindow(app.hWnd);
        sys.os.SetActiveWindow(app.hWnd);
        sys.os.BringWindowToTop(app.hWnd);
    }
    PostCommand(sys, app.hWnd, kLumetraMessage, code);
}

void LumetraPanelKeyMap(System& sys, std::uint32_t keyCode) {
    for (const MapRow& row : kKeyMap) {
        if (row.keyCode != keyCode) {
            continue;
        }
        LumetraPanelCommand(sys, row.code);
        if (row.pauseMs != 0) {
            sys.os.Sleep(row.pauseMs);
        }
        return;
    }
}

}  // namespace rc
