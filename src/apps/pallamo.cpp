#include "apps/pallamo.h"

#include <iterator>

#include "apps/delivery.h"
#include "apps/target_app.h"
#include "core/system.h"

namespace rc {

namespace {

// How a command code travels to Pallamo; Pallamo has no rule that looks for
// the picture view.
constexpr DialogRule kMainWhenNoDialog = DialogRule::kMainWhenNoDialog;
constexpr DialogRule kMainAlways = DialogRule::kMainAlways;
constexpr DialogRule kMainWithoutDialogSearch = DialogRule::kMainWithoutDialogSearch;
constexpr DialogRule kDialogFirst = DialogRule::kDialogFirst;

struct CodeRow {
    std::uint32_t code;
    DialogRule rule;
};

// clang-format off
constexpr CodeRow kCommands[] = {
    {3,     kMainWhenNoDialog},
    {5,     kMainWithoutDialogSearch},
    {8,     kMainWithoutDialogSearch},
    {18,    kMainWithoutDialogSearch},
    {22,    kMainWithoutDialogSearch},
    {24,    kMainWhenNoDialog},
    {27,    kMainWhenNoDialog},
    {30,    kMainWhenNoDialog},
    {31,    kMainWhenNoDialog},
    {32,    kMainWhenNoDialog},
    {33,    kMainWhenNoDialog},
    {50,    kMainWhenNoDialog},
    {207,   kMainWhenNoDialog},
    {303,   kMainWhenNoDialog},
    {401,   kMainWhenNoDialog},
    {402,   kMainWhenNoDialog},
    {403,   kMainWhenNoDialog},
    {1000,  kMainWhenNoDialog},
    {1001,  kMainWhenNoDialog},
    {1002,  kMainAlways},
    {1004,  kMainAlways},
    {1005,  kMainAlways},
    {1008,  kMainWithoutDialogSearch},
    {1009,  kMainWithoutDialogSearch},
    {2000,  kMainWhenNoDialog},
    {3000,  kMainAlways},
    {4001,  kMainWhenNoDialog},
    {4002,  kMainWhenNoDialog},
    {4003,  kMainWhenNoDialog},
    {35001, kDialogFirst},
    {35002, kDialogFirst},
    {35003, kDialogFirst},
    {35004, kDialogFirst},
    {35005, kDialogFirst},
};
// clang-format on
static_assert(Unique(kCommands, &CodeRow::code));
// The digits d = 0 to 9 are the codes 10000 + d.
constexpr std::uint32_t kDigit0 = 10000;
constexpr DialogRule kDigitRule = kMainWhenNoDialog;

// Pallamo's secondary forms, in the order they are searched.
// clang-format off
constexpr WindowQuery kForms[] = {
    {"TPopupForm",    nullptr},
    {"TSourceForm",   nullptr},
    {"TFormCalander", nullptr},
    {"TDialogForm",   nullptr},
    {"Tessaryn",      "PictureView"},
    {"Tessaryn",      "Playback"},
    {"TWizardForm",   "WizardForm"},
};
// clang-format on
constexpr int kFormRows = static_cast<int>(std::size(kForms));
static_assert(sizeof(System::pallamoSlots) == kFormRows * sizeof(Hwnd));

// One cell of a key map: the command code (0: the map does nothing) and the
// pause after it, made also when Pallamo's window is missing.
using Cell = PausedCell<std::uint32_t>;

// There is no 50KEY map. The on/off buttons (12 on 44KEY and 35KEY, 67 on
// 32KEY) go to ToggleApp, never to a map.
struct MapRow {
    std::uint8_t keyCode;
    Cell k44, k35, k32;
};

constexpr LayoutColumn<MapRow, Cell> kLayouts[] = {
    {k44Key, &MapRow::k44},
    {k35Key, &MapRow::k35},
    {k32Key, &MapRow::k32},
};

constexpr std::uint32_t _ = 0;

// clang-format off
constexpr MapRow kKeyMaps[] = {
//   KeyCode  44KEY         35KEY   32KEY
    {0,       10001,        10001,  _    },
    {1,       10002,        10002,  207  },
    {2,       10003,        10003,  10003},
    {3,       10004,        10004,  _    },
    {4,       10005,        10005,  10001},
    {5,       10006,        10006,  10005},
    {6,       10007,        10007,  10006},
    {7,       10008,        10008,  4002 },
    {8,       10009,        10009,  10002},
    {9,       4003,         _,      4001 },
    {10,      10000,        3,      10009},
    {11,      35005,        35005,  3    },
    {12,      _,            _,      10007},
    {13,      _,            _,      10008},
    {14,      5,            4003,   401  },
    {15,      27,           _,      10004},
    {16,      4001,         1000,   4003 },
    {17,      4002,         4001,   10000},
    {18,      402,          401,    35005},
    {19,      401,          4003,   402  },
    {20,      403,          10000,  1001 },
    {21,      303,          _,      1002 },
    {22,      207,          _,      3000 },
    {23,      3,            2000,   403  },
    {24,      32,           _,      1008 },
    {25,      2000,         3000,   1009 },
    {26,      1002,         1001,   1005 },
    {27,      1001,         4002,   1004 },
    {28,      1000,         1004,   2000 },
    {29,      _,            27,     1000 },
    {30,      18,           1005,   27   },
    {31,      22,           303,    24   },
    {32,      35002,        35002,  _    },
    {33,      35004,        35004,  _    },
    {34,      50,           _,      _    },
    {35,      33,           _,      _    },
    {64,      1005,         1002,   _    },
    {65,      1004,         3000,   _    },
    {66,      35001,        35001,  _    },
    {67,      35003,        35003,  _    },
    {68,      {3000, 2000}, 403,    _    },
    {69,      35002,        _,      _    },
    {70,      35004,        _,      _    },
    {71,      {3000, 2000}, _,      _    },
    {72,      30,           402,    _    },
    {73,      31,           _,      _    },
    {74,      8,            _,      _    },
    {75,      24,           _,      _    },
};
// clang-format on
static_assert(OneRowPerKeyCode(kKeyMaps));
static_assert(OneColumnPerLayout(kLayouts));

bool RuleOf(std::uint32_t code, DialogRule* rule) {
    if (code >= kDigit0 && code <= kDigit0 + 9) {
        *rule = kDigitRule;
        return true;
    }
    for (const CodeRow& row : kCommands) {
        if (row.code == code) {
            *rule = row.rule;
            return true;
        }
    }
    return false;
}

void AfterLaunch(System& sys) {
    sys.os.Sleep(4500);
    PallamoCommand(sys, 207);
    sys.os.Sleep(4500);
}

}  // namespace

const AppRecord kPallamoApp = {
    .appId = kPallamo,
    .name = "Pallamo",
    .menuCommand = 1102,
    .discoveryRank = 6,
    .keyPath = "Software\\Orvalix Multimedia\\Nurvel",
    .valueName = "AppPath",
    .fallbackKey = nullptr,
    .exeName = "Quillet.exe",
    .className = "",
    .title = "Tessaryn",
    .findWindow = nullptr,
    .titleElsewhere = nullptr,
    .findRunning = nullptr,
    .close = CloseKind::kMessage,
    .closeMessage = kPallamoMessage,
    .closeCode = 25,
    .pauseAfterClose = 0,
    .isInstalled = nullptr,
    .windowsFolderLaunch = nullptr,
    .launchTrace = "Launch Pallamo",
    .afterLaunch = AfterLaunch,
};

Hwnd FindPallamoWindow(System& sys) {
    return FindAppWindow(sys, kPallamo);
}

void PallamoCommand(System& sys, std::uint32_t code) {
    DialogRule rule;
    if (!RuleOf(code, &rule)) {
        return;  // not one of Pallamo's commands (25 is its close, CloseApp's own)
    }
    // No main window: nothing is sent and no form is searched. No command
    // activates the main window.
    const DialogApp app{
        .record = *App(sys, kPallamo),
        .rows = kForms,
        .slots = sys.pallamoSlots,
        .rowCount = kFormRows,
        .message = kPallamoMessage,
        .pictureViewRow = kNoRow,
        .searchWithoutMainWindow = false,
    };
    PostByDialogRule(sys, app, FindPallamoWindow(sys), rule, code);
}

void PallamoKeyMap(System& sys, std::uint32_t layout, std::uint32_t keyCode) {
    const Cell* cell = FindMapCell(kKeyMaps, kLayouts, layout, keyCode);
    if (cell == nullptr || cell->value == 0) {
        return;
    }
    PallamoCommand(sys, cell->value);
    PauseAfterCommand(sys, cell->pauseMs);
}

}  // namespace rc
