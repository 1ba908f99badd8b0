#include "apps/media_center.h"

#include <iterator>

#include "apps/delivery.h"
#include "apps/mce_presence.h"
#include "core/system.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

using namespace win;

// Media Center's commands, named after the keys they send.
enum class McCommand : std::uint8_t {
    Enter,
    Backspace,
    Escape,
    Up,
    Down,
    Left,
    Right,
    PageUp,
    PageDown,
    F1,
    F8,
    F9,
    F10,
    CtrlA,
    CtrlB,
    CtrlD,
    CtrlE,
    CtrlF,
    CtrlG,
    CtrlI,
    CtrlM,
    CtrlO,
    CtrlP,
    CtrlR,
    CtrlT,
    CtrlShiftA,
    CtrlShiftB,
    CtrlShiftF,
    CtrlShiftM,
    CtrlShiftS,
    ShiftCtrlZ,
    AltEnter,
    AltCtrlB,
    AltCtrlG,
    AltCtrlR,
    AltCtrlT,
    AltCtrlY,
    WinD,
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
using enum McCommand;

constexpr KeyKind kChord = KeyKind::kChord;
constexpr KeyKind kPosted = KeyKind::kPosted;

// Keys in press order; they are released in the reverse order. The digits
// are posted to the window as WM_KEYDOWN.
// clang-format off
constexpr KeyCommandRow<McCommand> kCommands[] = {
    {Enter,        kChord,  {kVkReturn}},
    {Backspace,    kChord,  {kVkBack}},
    {Escape,       kChord,  {kVkEscape}},
    {Up,           kChord,  {kVkUp}},
    {Down,         kChord,  {kVkDown}},
    {Left,         kChord,  {kVkLeft}},
    {Right,        kChord,  {kVkRight}},
    {PageUp,       kChord,  {kVkPrior}},
    {PageDown,     kChord,  {kVkNext}},
    {F1,           kChord,  {kVkF1}},
    {F8,           kChord,  {kVkF8}},
    {F9,           kChord,  {kVkF9}},
    {F10,          kChord,  {kVkF10}},
    {CtrlA,        kChord,  {kVkControl, 'A'}},
    {CtrlB,        kChord,  {kVkControl, 'B'}},
    {CtrlD,        kChord,  {kVkControl, 'D'}},
    {CtrlE,        kChord,  {kVkControl, 'E'}},
    {CtrlF,        kChord,  {kVkControl, 'F'}},
    {CtrlG,        kChord,  {kVkControl, 'G'}},
    {CtrlI,        kChord,  {kVkControl, 'I'}},
    {CtrlM,        kChord,  {kVkControl, 'M'}},
    {CtrlO,        kChord,  {kVkControl, 'O'}},
    {CtrlP,        kChord,  {kVkControl, 'P'}},
    {CtrlR,        kChord,  {kVkControl, 'R'}},
    {CtrlT,        kChord,  {kVkControl, 'T'}},
    {CtrlShiftA,   kChord,  {kVkControl, kVkShift, 'A'}},
    {CtrlShiftB,   kChord,  {kVkControl, kVkShift, 'B'}},
    {CtrlShiftF,   kChord,  {kVkControl, kVkShift, 'F'}},
    {CtrlShiftM,   kChord,  {kVkControl, kVkShift, 'M'}},
    {CtrlShiftS,   kChord,  {kVkControl, kVkShift, 'S'}},
    {ShiftCtrlZ,   kChord,  {kVkShift, kVkControl, 'Z'}},
    {AltEnter,     kChord,  {kVkMenu, kVkReturn}},
    {AltCtrlB,     kChord,  {kVkMenu, kVkControl, 'B'}},
    {AltCtrlG,     kChord,  {kVkMenu, kVkControl, 'G'}},
    {AltCtrlR,     kChord,  {kVkMenu, kVkControl, 'R'}},
    {AltCtrlT,     kChord,  {kVkMenu, kVkControl, 'T'}},
    {AltCtrlY,     kChord,  {kVkMenu, kVkControl, 'Y'}},
    {WinD,         kChord,  {kVkLWin, 'D'}},
    {NumPadDigit0, kPosted, {kVkNumpad0 + 0}},
    {NumPadDigit1, kPosted, {kVkNumpad0 + 1}},
    {NumPadDigit2, kPosted, {kVkNumpad0 + 2}},
    {NumPadDigit3, kPosted, {kVkNumpad0 + 3}},
    {NumPadDigit4, kPosted, {kVkNumpad0 + 4}},
    {NumPadDigit5, kPosted, {kVkNumpad0 + 5}},
    {NumPadDigit6, kPosted, {kVkNumpad0 + 6}},
    {NumPadDigit7, kPosted, {kVkNumpad0 + 7}},
    {NumPadDigit8, kPosted, {kVkNumpad0 + 8}},
    {NumPadDigit9, kPosted, {kVkNumpad0 + 9}},
};
// clang-format on
static_assert(RowsInCommandOrder(kCommands));
static_assert(std::size(kCommands) == static_cast<std::size_t>(None));

// The command of each KeyCode, by layout; None: the map does nothing. The
// router's application keys (44KEY 12; 50KEY 13 and 50; 35KEY 22; 32KEY 67)
// never reach the maps.
struct MapRow {
    std::uint8_t keyCode;
    McCommand k44, k35, k50, k32;
};

constexpr LayoutColumn<MapRow, McCommand> kLayouts[] = {
    {k44Key, &MapRow::k44},
    {k35Key, &MapRow::k35},
    {k50Key, &MapRow::k50},
    {k32Key, &MapRow::k32},
};

constexpr McCommand _ = None;

// clang-format off
constexpr MapRow kKeyMaps[] = {
//   KeyCode  44KEY         35KEY         50KEY         32KEY
    {0,       NumPadDigit1, NumPadDigit1, NumPadDigit0, _           },
    {1,       NumPadDigit2, NumPadDigit2, NumPadDigit1, _           },
    {2,       NumPadDigit3, NumPadDigit3, NumPadDigit2, NumPadDigit3},
    {3,       NumPadDigit4, NumPadDigit4, NumPadDigit3, _           },
    {4,       NumPadDigit5, NumPadDigit5, NumPadDigit4, NumPadDigit1},
    {5,       NumPadDigit6, NumPadDigit6, NumPadDigit5, NumPadDigit5},
    {6,       NumPadDigit7, NumPadDigit7, NumPadDigit6, NumPadDigit6},
    {7,       NumPadDigit8, NumPadDigit8, NumPadDigit7, PageDown    },
    {8,       NumPadDigit9, NumPadDigit9, NumPadDigit8, NumPadDigit2},
    {9,       Backspace,    _,            NumPadDigit9, PageUp      },
    {10,      NumPadDigit0, AltEnter,     Escape,       NumPadDigit9},
    {11,      Enter,        Enter,        Enter,        AltEnter    },
    {12,      _,            _,            _,            NumPadDigit7},
    {13,      _,            _,            _,            NumPadDigit8},
    {14,      Backspace,    Backspace,    F8,           F10         },
    {15,      ShiftCtrlZ,   _,            ShiftCtrlZ,   NumPadDigit4},
    {16,      PageUp,       CtrlI,        F10,          Backspace   },
    {17,      PageDown,     PageUp,       F9,           NumPadDigit0},
    {18,      F9,           F10,          PageUp,       Enter       },
    {19,      F10,          Backspace,    PageDown,     F9          },
    {20,      F8,           PageUp,       CtrlShiftF,   CtrlR       },
    {21,      CtrlShiftA,   _,            CtrlB,        CtrlShiftS  },
    {22,      CtrlT,        _,            CtrlP,        CtrlP       },
    {23,      AltEnter,     CtrlT,        CtrlR,        F8          },
    {24,      CtrlM,        _,            CtrlP,        Up          },
    {25,      CtrlD,        CtrlP,        CtrlShiftS,   Down        },
    {26,      CtrlShiftS,   CtrlR,        CtrlShiftF,   Left        },
    {27,      CtrlR,        PageDown,     CtrlShiftB,   Right       },
    {28,      CtrlI,        CtrlF,        _,            Backspace   },
    {29,      _,            CtrlShiftA,   _,            CtrlM       },
    {30,      WinD,         CtrlB,        Up,           CtrlT       },
    {31,      Backspace,    ShiftCtrlZ,   Down,         CtrlI       },
    {32,      Up,           Up,           Left,         _           },
    {33,      Down,         Down,         Right,        _           },
    {34,      AltCtrlT,     _,            Enter,        _           },
    {35,      CtrlShiftM,   _,            Backspace,    _           },
    {36,      _,            _,            CtrlShiftM,   _           },
    {37,      _,            _,            CtrlT,        _           },
    {64,      CtrlB,        CtrlShiftS,   _,            _           },
    {65,      CtrlF,        CtrlP,        _,            _           },
    {66,      Left,         Left,         _,            _           },
    {67,      Right,        Right,        _,            _           },
    {68,      CtrlP,        F8,           _,            _           },
    {69,      Up,           _,            _,            _           },
    {70,      Down,         _,            _,            _           },
    {71,      CtrlP,        _,            CtrlM,        _           },
    {72,      CtrlA,        F9,           CtrlR,        _           },
    {73,      CtrlO,        _,            CtrlI,        _           },
    {74,      F1,           _,            CtrlE,        _           },
    {75,      CtrlG,        _,            _,            _           },
    {80,      _,            _,            CtrlA,        _           },
    {90,      _,            _,            AltCtrlT,     _           },
    {91,      _,            _,            AltCtrlR,     _           },
    {92,      _,            _,            AltCtrlG,     _           },
    {93,      _,            _,            AltCtrlY,     _           },
    {94,      _,            _,            AltCtrlB,     _           },
};
// clang-format on
static_assert(OneRowPerKeyCode(kKeyMaps));
static_assert(OneColumnPerLayout(kLayouts));

// Every command searches the window afresh.
Hwnd Run(System& sys, McCommand command) {
    return RunKeyCommand(sys, *App(sys, kMediaCenter), FindMceWindow(sys), kCommands, command);
}

void AfterLaunch(System& sys) {
    sys.os.Sleep(6500);
    MediaCenterCtrlT(sys);
}

}  // namespace

const AppRecord kMediaCenterApp = {
    .appId = kMediaCenter,
    .name = "Media Center Edition",
    .menuCommand = 1104,
    .discoveryRank = 4,
    // Its shell's command line stands where the others have a folder.
    .keyPath = "SOFTWARE\\Classes\\Applications\\ehshell.exe\\shell\\open\\command",
    .valueName = "",
    .fallbackKey = nullptr,
    .exeName = "",
    .className = kMceWindowClass,
    .title = kMceWindowClass,
    .findWindow = FindMceWindow,
    .titleElsewhere = nullptr,
    .findRunning = nullptr,
    .close = CloseKind::kKeystroke,
    .closeMessage = 0,
    .closeCode = 0,
    .pauseAfterClose = 0,
    .isInstalled = IsMceInstalled,
    .windowsFolderLaunch = "\\ehome\\ehshell.exe",
    .launchTrace = "Launch Media Center Edition",
    .afterLaunch = AfterLaunch,
};

void MediaCenterKeyMap(System& sys, std::uint32_t layout, std::uint32_t keyCode) {
    const McCommand* command = FindMapCell(kKeyMaps, kLayouts, layout, keyCode);
    if (command != nullptr && *command != None) {
        Run(sys, *command);
    }
}

void MediaCenterCtrlT(System& sys) {
    Run(sys, CtrlT);
}

}  // namespace rc
