#include "apps/power_cinema.h"

#include <iterator>

#include "apps/delivery.h"
#include "apps/target_app.h"
#include "core/system.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

using namespace win;

// PowerCinema's commands, named after the keys they send.
enum class PcCommand : std::uint8_t {
    CtrlD,
    CtrlL,
    CtrlR,
    CtrlS,
    CtrlT,
    CtrlShiftP,
    CtrlShiftZ,
    Enter,
    Escape,
    Up,
    Down,
    Left,
    Right,
    NumPadPlus,
    NumPadMinus,
    F8,
    F9,
    F10,
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
using enum PcCommand;

constexpr KeyKind kChord = KeyKind::kChord;
constexpr KeyKind kPosted = KeyKind::kPosted;

// Seven chords synthesised with keybd_event; the rest posted as WM_KEYDOWN.
// clang-format off
constexpr KeyCommandRow<PcCommand> kCommands[] = {
    {CtrlD,        kChord,  {kVkControl, 'D'}},
    {CtrlL,        kChord,  {kVkControl, 'L'}},
    {CtrlR,        kChord,  {kVkControl, 'R'}},
    {CtrlS,        kChord,  {kVkControl, 'S'}},
    {CtrlT,        kChord,  {kVkControl, 'T'}},
    {CtrlShiftP,   kChord,  {kVkControl, kVkShift, 'P'}},
    {CtrlShiftZ,   kChord,  {kVkControl, kVkShift, 'Z'}},
    {Enter,        kPosted, {kVkReturn}},
    {Escape,       kPosted, {kVkEscape}},
    {Up,           kPosted, {kVkUp}},
    {Down,         kPosted, {kVkDown}},
    {Left,         kPosted, {kVkLeft}},
    {Right,        kPosted, {kVkRight}},
    {NumPadPlus,   kPosted, {kVkAdd}},
    {NumPadMinus,  kPosted, {kVkSubtract}},
    {F8,           kPosted, {kVkF8}},
    {F9,           kPosted, {kVkF9}},
    {F10,          kPosted, {kVkF10}},
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

struct MapRow {
    std::uint8_t keyCode;
    PcCommand command;
};

// The one map, for every layout. KeyCodes not listed (0, 1, 3, 11, above 31)
// do nothing; 67 is the router's on/off button.
// clang-format off
constexpr MapRow kKeyMap[] = {
    {2,  NumPadDigit3}, {18, Enter},
    {4,  NumPadDigit1}, {19, F9},
    {5,  NumPadDigit5}, {20, CtrlR},
    {6,  NumPadDigit6}, {21, CtrlS},
    {7,  NumPadMinus},  {22, CtrlShiftP},
    {8,  NumPadDigit2}, {23, F8},
    {9,  NumPadPlus},   {24, Up},
    {10, NumPadDigit9}, {25, Down},
    {12, NumPadDigit7}, {26, Left},
    {13, NumPadDigit8}, {27, Right},
    {14, F10},          {28, Escape},
    {15, NumPadDigit4}, {29, CtrlShiftZ},
    {16, CtrlL},        {30, CtrlT},
    {17, NumPadDigit0}, {31, CtrlD},
};
// clang-format on
static_assert(OneRowPerKeyCode(kKeyMap));

// Every command searches the window afresh.
Hwnd Run(System& sys, PcCommand command) {
    return RunKeyCommand(sys, *App(sys, kPowerCinema), FindPowerCinemaWindow(sys), kCommands,
                         command);
}

// The tray menu tells whether it runs by a top-level window of its title.
Hwnd FindRunning(System& sys) {
    return sys.os.FindWindowA(nullptr, "PowerCinema");
}

void AfterLaunch(System& sys) {
    sys.os.Sleep(4500);
    PowerCinemaCtrlT(sys);
    sys.os.Sleep(4500);
    PowerCinemaCtrlT(sys);
}

}  // namespace

const AppRecord kPowerCinemaApp = {
    .appId = kPowerCinema,
    .name = "PowerCinema",
    .menuCommand = 1101,
    .discoveryRank = 5,
    .keyPath = "SOFTWARE\\CyberLink\\PowerCinema",
    .valueName = "InstallPath",
    .fallbackKey = nullptr,
    .exeName = "PowerCinema.exe",
    .className = "",
    .title = "PowerCinema",
    .findWindow = nullptr,
    .titleElsewhere = nullptr,
    .findRunning = FindRunning,
    .close = CloseKind::kKeystroke,
    .closeMessage = 0,
    .closeCode = 0,
    .pauseAfterClose = 0,
    .isInstalled = nullptr,
    .windowsFolderLaunch = nullptr,
    .launchTrace = "Launch PowerCinema",
    .afterLaunch = AfterLaunch,
};

Hwnd FindPowerCinemaWindow(System& sys) {
    return FindAppWindow(sys, kPowerCinema);
}

void PowerCinemaKeyMap(System& sys, std::uint32_t keyCode) {
    for (const MapRow& row : kKeyMap) {
        if (row.keyCode == keyCode) {
            Run(sys, row.command);
            return;
        }
    }
}

void PowerCinemaCtrlT(System& sys) {
    Run(sys, CtrlT);
}

}  // namespace rc
