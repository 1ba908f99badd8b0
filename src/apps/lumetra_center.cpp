#include "apps/lumetra_center.h"

#include <cstring>
#include <iterator>

#include "apps/delivery.h"
#include "apps/lumetra_panel.h"
#include "apps/target_app.h"
#include "core/system.h"
#include "core/text.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

// How a command code travels to Lumetra Center: its rules A to E.
constexpr DialogRule A = DialogRule::kMainWhenNoDialog;
constexpr DialogRule B = DialogRule::kMainAlways;
constexpr DialogRule C = DialogRule::kMainUnlessPictureView;
constexpr DialogRule D = DialogRule::kMainWithoutDialogSearch;
constexpr DialogRule E = DialogRule::kDialogFirst;

// The codes of each rule (a shorter list ends with 0).
struct RuleRow {
    DialogRule rule;
    std::uint32_t codes[24];
};

// clang-format off
constexpr RuleRow kRules[] = {
    {A, {3, 20, 23, 24, 26, 27, 28, 30, 31, 32, 33, 50, 110, 207, 300, 401, 402, 403, 1000,
         1001, 2000, 4001, 4002, 4003}},
    {B, {1004, 1005, 3000}},
    {C, {1002}},
    {D, {18}},
    {E, {35001, 35002, 35003, 35004, 35005, 35007}},
    {D, {25}},  // the close; CloseApp posts it itself
};
// clang-format on
// The digits d = 0 to 9 are the codes 10000 + d.
constexpr std::uint32_t kDigit0 = 10000;
constexpr DialogRule kDigitRule = A;

// The secondary windows, in the order they are searched.
// clang-format off
constexpr WindowQuery kDialogs[] = {
    {"TPopupForm",          nullptr},
    {"TSourceForm",         nullptr},
    {"TFormCalander",       nullptr},
    {"TDialogForm",         nullptr},
    {"OrvalixPlayer_Class", "PictureView"},
    {"OrvalixPlayer_Class", "Playback"},
    {"TWizardForm",         "WizardForm"},
};
// clang-format on
constexpr int kDialogRows = static_cast<int>(std::size(kDialogs));
static_assert(sizeof(System::lumetraCenterSlots) == kDialogRows * sizeof(Hwnd));
constexpr int kPictureViewRow = 4;  // row 5

// Marks the cell whose code depends on the skin: 20 when the playback toolbar
// image was found at start, else 110.
constexpr std::uint32_t kToolbarChoice = 0xFFFFFFFF;

// One cell of a key map: the command code (0: the map does nothing) and the
// pause after it, made whether or not the command was posted.
using Cell = PausedCell<std::uint32_t>;

// The on/off buttons (12 with the 44KEY map, 67 with the 32KEY map) go to
// ToggleApp, never to a map.
struct MapRow {
    std::uint8_t keyCode;
    Cell k44, k32;
};

constexpr LayoutColumn<MapRow, Cell> kLayouts[] = {
    {k44Key, &MapRow::k44},
    {k32Key, &MapRow::k32},
};

constexpr std::uint32_t _ = 0;

// clang-format off
constexpr MapRow kKeyMaps[] = {
//   KeyCode  44KEY         32KEY
    {0,       10001,        _             },
    {1,       10002,        207           },
    {2,       10003,        10003         },
    {3,       10004,        26            },
    {4,       10005,        10001         },
    {5,       10006,        10005         },
    {6,       10007,        10006         },
    {7,       10008,        4002          },
    {8,       10009,        10002         },
    {9,       4003,         4001          },
    {10,      10000,        10009         },
    {11,      35005,        3             },
    {12,      _,            10007         },
    {13,      _,            10008         },
    {14,      35007,        401           },
    {15,      27,           10004         },
    {16,      4001,         4003          },
    {17,      4002,         10000         },
    {18,      402,          35005         },
    {19,      401,          402           },
    {20,      403,          {1001, 2000}  },
    {21,      300,          1002          },
    {22,      207,          {3000, 2000}  },
    {23,      3,            403           },
    {24,      32,           35002         },
    {25,      {2000, 2000}, 35004         },
    {26,      1002,         35001         },
    {27,      {1001, 2000}, 35003         },
    {28,      1000,         35007         },
    {29,      26,           1000          },
    {30,      18,           kToolbarChoice},
    {31,      28,           24            },
    {32,      35002,        _             },
    {33,      35004,        _             },
    {34,      50,           _             },
    {35,      33,           _             },
    {64,      1005,         _             },
    {65,      1004,         _             },
    {66,      35001,        _             },
    {67,      35003,        _             },
    {68,      {3000, 2000}, _             },
    {69,      35002,        _             },
    {70,      35004,        _             },
    {71,      {3000, 2000}, _             },
    {72,      30,           _             },
    {73,      31,           _             },
    {74,      20,           _             },
    {75,      24,           _             },
};
// clang-format on
static_assert(OneRowPerKeyCode(kKeyMaps));
static_assert(OneColumnPerLayout(kLayouts));

bool RuleOf(std::uint32_t code, DialogRule* rule) {
    if (code >= kDigit0 && code <= kDigit0 + 9) {
        *rule = kDigitRule;
        return true;
    }
    for (const RuleRow& row : kRules) {
        for (std::uint32_t listed : row.codes) {
            if (listed == 0) {
                break;
            }
            if (listed == code) {
                *rule = row.rule;
                return true;
            }
        }
    }
    return false;
}

// Reads a string value into a buffer of size + 1 bytes, always ended by a
// NUL; empty when the value can't be read.
void ReadText(System& sys, Handle key, const char* name, char* buffer, std::uint32_t size) {
    std::memset(buffer, 0, size + 1);
    std::uint32_t type = 0;
    std::uint32_t got = size;
    if (sys.os.RegQueryValueExA(key, name, &type, reinterpret_cast<std::uint8_t*>(buffer), &got) !=
        win::kErrorSuccess) {
        std::memset(buffer, 0, size + 1);
    }
}

void AfterLaunch(System& sys) {
    sys.os.Sleep(3500);
    LumetraCenterCommand(sys, 35005);
    sys.os.Sleep(1000);
    LumetraCenterCommand(sys, 23);
}

}  // namespace

const AppRecord kLumetraCenterApp = {
    .appId = kLumetraCenter,
    .name = "Lumetra Center",
    .menuCommand = 1109,
    .discoveryRank = 2,
    .keyPath = "Software\\Orvalix Multimedia\\Halvex\\Sorvane",
    .valueName = "AppPath",
    .fallbackKey = kAmbrelKey,
    .exeName = "MainCenter.exe",
    .className = kLumetraClass,
    .title = "Lumetra Center",
    .findWindow = nullptr,
    .titleElsewhere = nullptr,
    .findRunning = nullptr,
    .close = CloseKind::kMessage,
    .closeMessage = kLumetraMessage,
    .closeCode = 25,
    .pauseAfterClose = 0,
    .isInstalled = nullptr,
    .windowsFolderLaunch = nullptr,
    .launchTrace = "Launch Lumetra Center",
    .afterLaunch = AfterLaunch,
};

void LumetraCenterCommand(System& sys, std::uint32_t code) {
    DialogRule rule;
    if (!RuleOf(code, &rule)) {
        return;  // not one of Lumetra Center's commands
    }
    // The secondary windows are searched also when the main window is missing.
    const DialogApp app{
        .record = *App(sys, kLumetraCenter),
        .rows = kDialogs,
        .slots = sys.lumetraCenterSlots,
        .rowCount = kDialogRows,
        .message = kLumetraMessage,
        .pictureViewRow = kPictureViewRow,
        .searchWithoutMainWindow = true,
    };
    PostByDialogRule(sys, app, FindAppWindow(sys, kLumetraCenter), rule, code);
}

void LumetraCenterKeyMap(System& sys, std::uint32_t layout, std::uint32_t keyCode) {
    const Cell* cell = FindMapCell(kKeyMaps, kLayouts, layout, keyCode);
    if (cell == nullptr || cell->value == 0) {
        return;
    }
    std::uint32_t code = cell->value;
    if (code == kToolbarChoice) {
        code = sys.bPlaybackBgFound ? 20 : 110;
    }
    LumetraCenterCommand(sys, code);
    PauseAfterCommand(sys, cell->pauseMs);
}

void ProbeLumetraCenterSkin(System& sys) {
    constexpr char kUninstallKey[] = "SoftWare\\MicroSoft\\Windows\\CurrentVersion\\Uninstall";
    constexpr std::uint32_t kTextSize = 256;
    sys.bPlaybackBgFound = false;
    Handle uninstall = 0;
    // Read access only: a standard user may not write below
    // SOFTWARE\Microsoft\Windows.
    if (sys.os.RegOpenKeyExA(win::kHkeyLocalMachine, kUninstallKey, win::kKeyEnumerateSubKeys,
                             &uninstall) != win::kErrorSuccess) {
        return;
    }
    bool matched = false;
    char location[kTextSize + 1] = {};
    char name[kTextSize + 1];
    char text[kTextSize + 1];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameSize = kTextSize;
        std::memset(name, 0, sizeof name);
        if (sys.os.RegEnumKeyExA(uninstall, index, name, &nameSize) != win::kErrorSuccess) {
            break;
        }
        char subKeyPath[sizeof kUninstallKey + 1 + sizeof name];
        std::strcpy(subKeyPath, kUninstallKey);
        std::strcat(subKeyPath, "\\");
        std::strcat(subKeyPath, name);
        Handle entry = 0;
        if (sys.os.RegOpenKeyExA(win::kHkeyLocalMachine, subKeyPath, win::kKeyQueryValue, &entry) !=
            win::kErrorSuccess) {
            continue;
        }
        ReadText(sys, entry, "DisplayName", text, kTextSize);
        if (SameText(text, "LumetraCenter")) {
            // The last matching entry wins.
            ReadText(sys, entry, "InstallLocation", location, kTextSize);
            matched = true;
        }
        sys.os.RegCloseKey(entry);
    }
    sys.os.RegCloseKey(uninstall);
    if (!matched) {
        return;
    }
    constexpr char kImage[] = "\\Sorvane\\UI\\Default\\Toolbar\\Playback_BG_MIDDLE.png";
    char path[sizeof location + sizeof kImage];
    std::strcpy(path, location);
    std::strcat(path, kImage);
    // Any length up to MAX_PATH: OpenFile would miss an install location of
    // more than about 75 characters.
    const std::uint32_t attributes = sys.os.GetFileAttributesA(path);
    sys.bPlaybackBgFound = attributes != win::kInvalidFileAttributes &&
                           (attributes & win::kFileAttributeDirectory) == 0;
}

}  // namespace rc
