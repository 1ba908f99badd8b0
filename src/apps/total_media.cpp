#include "apps/total_media.h"

#include <iterator>

#include "apps/delivery.h"
#include "apps/target_app.h"
#include "core/system.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

using namespace win;

// TotalMedia's commands, named after the keyboard shortcuts they send.
enum class TmCommand : std::uint8_t {
    CtrlB,
    CtrlE,
    CtrlF,
    CtrlG,
    CtrlI,
    CtrlJ,
    CtrlK,
    CtrlL,
    CtrlM,
    CtrlP,
    CtrlQ,
    CtrlR,
    CtrlS,
    CtrlT,
    CtrlShiftB,
    CtrlShiftD,
    CtrlShiftE,
    CtrlShiftF,
    CtrlShiftG,
    CtrlShiftP,
    CtrlShiftS,
    CtrlShiftY,
    AltEnter,
    F2,
    F4,
    F5,
    F6,
    F8,
    F9,
    F10,
    F11,
    F12,
    NumPadPlus,
    NumPadMinus,
    Up,
    Down,
    Left,
    Right,
    Backspace,
    Enter,
    Escape,
    NumPadDigit0,
    NumPadDigit1,
    NumPadDigit2,
    NumPadDigit3,
    NumPadDigit4,
    NumPadDigit5,
    NumPadDigit6,
    NumPadDigit7,
    NumPadDigit8,
    NumPadDigit9,
    None,
};
using enum TmCommand;

constexpr KeyKind kChord = KeyKind::kChord;

// Modifiers in press order, then the key; a single key is a tap (down, up).
// Every command is synthesised with keybd_event, the digits included.
// clang-format off
constexpr KeyCommandRow<TmCommand> kCommands[] = {
    {CtrlB,        kChord, {kVkControl, 'B'}},
    {CtrlE,        kChord, {kVkControl, 'E'}},
    {CtrlF,        kChord, {kVkControl, 'F'}},
    {CtrlG,        kChord, {kVkControl, 'G'}},
    {CtrlI,        kChord, {kVkControl, 'I'}},
    {CtrlJ,        kChord, {kVkControl, 'J'}},
    {CtrlK,        kChord, {kVkControl, 'K'}},
    {CtrlL,        kChord, {kVkControl, 'L'}},
    {CtrlM,        kChord, {kVkControl, 'M'}},
    {CtrlP,        kChord, {kVkControl, 'P'}},
    {CtrlQ,        kChord, {kVkControl, 'Q'}},
    {CtrlR,        kChord, {kVkControl, 'R'}},
    {CtrlS,        kChord, {kVkControl, 'S'}},
    {CtrlT,        kChord, {kVkControl, 'T'}},
    {CtrlShiftB,   kChord, {kVkControl, kVkShift, 'B'}},
    {CtrlShiftD,   kChord, {kVkControl, kVkShift, 'D'}},
    {CtrlShiftE,   kChord, {kVkControl, kVkShift, 'E'}},
    {CtrlShiftF,   kChord, {kVkControl, kVkShift, 'F'}},
    {CtrlShiftG,   kChord, {kVkControl, kVkShift, 'G'}},
    {CtrlShiftP,   kChord, {kVkControl, kVkShift, 'P'}},
    {CtrlShiftS,   kChord, {kVkControl, kVkShift, 'S'}},
    {CtrlShiftY,   kChord, {kVkControl, kVkShift, 'Y'}},
    {AltEnter,     kChord, {kVkMenu, kVkReturn}},
    {F2,           kChord, {kVkF2}},
    {F4,           kChord, {kVkF4}},
    {F5,           kChord, {kVkF5}},
    {F6,           kChord, {kVkF6}},
    {F8,           kChord, {kVkF8}},
    {F9,           kChord, {kVkF9}},
    {F10,          kChord, {kVkF10}},
    {F11,          kChord, {kVkF11}},
    {F12,          kChord, {kVkF12}},
    {NumPadPlus,   kChord, {kVkAdd}},
    {NumPadMinus,  kChord, {kVkSubtract}},
    {Up,           kChord, {kVkUp}},
    {Down,         kChord, {kVkDown}},
    {Left,         kChord, {kVkLeft}},
    {Right,        kChord, {kVkRight}},
    {Backspace,    kChord, {kVkBack}},
    {Enter,        kChord, {kVkReturn}},
    {Escape,       kChord, {kVkEscape}},
    {NumPadDigit0, kChord, {kVkNumpad0 + 0}},
    {NumPadDigit1, kChord, {kVkNumpad0 + 1}},
    {NumPadDigit2, kChord, {kVkNumpad0 + 2}},
    {NumPadDigit3, kChord, {kVkNumpad0 + 3}},
    {NumPadDigit4, kChord, {kVkNumpad0 + 4}},
    {NumPadDigit5, kChord, {kVkNumpad0 + 5}},
    {NumPadDigit6, kChord, {kVkNumpad0 + 6}},
    {NumPadDigit7, kChord, {kVkNumpad0 + 7}},
    {NumPadDigit8, kChord, {kVkNumpad0 + 8}},
    {NumPadDigit9, kChord, {kVkNumpad0 + 9}},
};
// clang-format on
static_assert(RowsInCommandOrder(kCommands));
static_assert(std::size(kCommands) == static_cast<std::size_t>(None));

// One cell of a key map: the command and the pause after it.
using Cell = PausedCell<TmCommand>;

// The command of each KeyCode, by layout; None: the map does nothing. There
// is no 35KEY map. The on/off buttons (44KEY 12, 32KEY 67, 50KEY 13 and 50)
// go to ToggleApp, never to a map.
struct MapRow {
    std::uint8_t keyCode;
    Cell k44, k32, k50;
};

constexpr LayoutColumn<MapRow, Cell> kLayouts[] = {
    {k44Key, &MapRow::k44},
    {k32Key, &MapRow::k32},
    {k50Key, &MapRow::k50},
};

constexpr TmCommand _ = None;

// clang-format off
constexpr MapRow kKeyMaps[] = {
//   KeyCode  44KEY           32KEY         50KEY
    {0,       NumPadDigit1,   _,            NumPadDigit0},
    {1,       NumPadDigit2,   F4,           NumPadDigit1},
    {2,       NumPadDigit3,   NumPadDigit3, NumPadDigit2},
    {3,       NumPadDigit4,   _,            NumPadDigit3},
    {4,       NumPadDigit5,   NumPadDigit1, NumPadDigit4},
    {5,       NumPadDigit6,   NumPadDigit5, NumPadDigit5},
    {6,       NumPadDigit7,   NumPadDigit6, NumPadDigit6},
    {7,       NumPadDigit8,   NumPadMinus,  NumPadDigit7},
    {8,       NumPadDigit9,   NumPadDigit2, NumPadDigit8},
    {9,       F11,            NumPadPlus,   NumPadDigit9},
    {10,      NumPadDigit0,   NumPadDigit9, Escape      },
    {11,      Enter,          AltEnter,     Enter       },
    {12,      _,              NumPadDigit7, _           },
    {13,      _,              NumPadDigit8, _           },
    {14,      Backspace,      F10,          F8          },
    {15,      F12,            NumPadDigit4, CtrlG       },
    {16,      NumPadPlus,     F11,          F10         },
    {17,      NumPadMinus,    NumPadDigit0, F9          },
    {18,      F9,             Enter,        NumPadPlus  },
    {19,      F10,            F9,           NumPadMinus },
    {20,      F8,             CtrlR,        CtrlShiftF  },
    {21,      F6,             CtrlS,        CtrlShiftD  },
    {22,      F4,             CtrlShiftP,   CtrlP       },
    {23,      AltEnter,       F8,           CtrlR       },
    {24,      CtrlE,          Up,           CtrlP       },
    {25,      {F2, 2000},     Down,         CtrlS       },
    {26,      CtrlS,          Left,         CtrlF       },
    {27,      {CtrlR, 2000},  Right,        CtrlB       },
    {28,      F5,             Backspace,    AltEnter    },
    {29,      _,              F5,           CtrlShiftS  },
    {30,      CtrlShiftS,     CtrlT,        Up          },
    {31,      CtrlQ,          CtrlG,        Down        },
    {32,      Up,             _,            Left        },
    {33,      Down,           _,            Right       },
    {34,      CtrlL,          _,            Enter       },
    {35,      CtrlI,          _,            Backspace   },
    {36,      _,              _,            F2          },
    {37,      _,              _,            CtrlT       },
    {38,      _,              _,            CtrlG       },
    {64,      CtrlShiftD,     _,            _           },
    {65,      CtrlShiftF,     _,            _           },
    {66,      Left,           _,            _           },
    {67,      Right,          _,            _           },
    {68,      CtrlP,          _,            _           },
    {69,      Up,             _,            _           },
    {70,      Down,           _,            _           },
    {71,      CtrlP,          _,            CtrlM       },
    {72,      CtrlJ,          _,            CtrlR       },
    {73,      CtrlT,          _,            F5          },
    {74,      CtrlK,          _,            F6          },
    {75,      CtrlG,          _,            _           },
    {80,      _,              _,            CtrlJ       },
    {90,      _,              _,            CtrlL       },
    {91,      _,              _,            CtrlShiftE  },
    {92,      _,              _,            CtrlShiftG  },
    {93,      _,              _,            CtrlShiftY  },
    {94,      _,              _,            CtrlShiftB  },
};
// clang-format on
static_assert(OneRowPerKeyCode(kKeyMaps));
static_assert(OneColumnPerLayout(kLayouts));

// Every command: TotalMedia's own search (class and title); nothing is
// launched without a window.
Hwnd Run(System& sys, TmCommand command) {
    return RunKeyCommand(sys, *App(sys, kTotalMedia), FindAppWindow(sys, kTotalMedia), kCommands,
                         command);
}

void AfterLaunch(System& sys) {
    sys.os.Sleep(2500);
    TotalMediaCtrlT(sys);
    sys.os.Sleep(2500);
    TotalMediaCtrlT(sys);
}

}  // namespace

const AppRecord kTotalMediaApp = {
    .appId = kTotalMedia,
    .name = "TotalMedia",
    .menuCommand = 1105,
    .discoveryRank = 1,
    .keyPath = "SOFTWARE\\ArcSoft\\TotalMedia\\3.0",
    .valueName = "AppPath",
    .fallbackKey = nullptr,
    .exeName = "TotalMedia.exe",
    .className = "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS",
    .title = "ArcSoft TotalMedia",
    .findWindow = nullptr,
    // Everything outside its own commands and close knows it by this title.
    .titleElsewhere = "Arcsoft TotalMedia",
    .findRunning = nullptr,
    .close = CloseKind::kKeystroke,
    .closeMessage = 0,
    .closeCode = 0,
    .pauseAfterClose = 1000,
    .isInstalled = nullptr,
    .windowsFolderLaunch = nullptr,
    .launchTrace = "Launch TotalMedia ",
    .afterLaunch = AfterLaunch,
};

void TotalMediaKeyMap(System& sys, std::uint32_t layout, std::uint32_t keyCode) {
    const Cell* cell = FindMapCell(kKeyMaps, kLayouts, layout, keyCode);
    if (cell == nullptr || cell->value == None) {
        return;
    }
    Run(sys, cell->value);
    // The pause is part of the map, made whether or not the window was there.
    PauseAfterCommand(sys, cell->pauseMs);
}

void TotalMediaCtrlT(System& sys) {
    Run(sys, CtrlT);
}

}  // namespace rc
