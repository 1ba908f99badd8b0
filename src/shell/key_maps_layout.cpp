// The Key maps dialog's controls: what they are, in tab order, and where
// they sit at a window size.
#include <algorithm>
#include <iterator>
#include <string_view>

#include "apps/user_apps.h"
#include "core/system.h"
#include "platform/win_defs.h"
#include "shell/key_maps.h"

namespace rc {

namespace {

using C = KeyMapsControl;

// Sizes at 96 DPI, scaled to the screen's.
constexpr int kMargin = 8;
constexpr int kGap = 4;
constexpr int kRowHeight = 24;    // an edit, a combo box, a button
constexpr int kLabelHeight = 16;  // a label above a list
constexpr int kLeftWidth = 280;   // the programs' column
constexpr int kFieldLabel = 130;  // the labels of the program's fields
constexpr int kButtonWidth = 90;
constexpr int kDropHeight = 240;  // a combo box with its list open

struct ControlDef {
    C control;
    const char* className;
    const char* text;
    std::uint32_t style;
    std::uint32_t exStyle;
};

constexpr std::uint32_t kEdit = win::kWsTabStop | win::kEsAutoHScroll;
constexpr std::uint32_t kCombo = win::kWsTabStop | win::kCbsDropDownList | win::kWsVScroll;
constexpr std::uint32_t kPush = win::kWsTabStop | win::kBsPushButton;
constexpr std::uint32_t kCheck = win::kWsTabStop | win::kBsAutoCheckBox;

// Created in this order, which is the tab order.
constexpr ControlDef kControls[] = {
    {C::kProgramsLabel, "STATIC", "&Programs:", 0, 0},
    {C::kPrograms, "LISTBOX", "",
     win::kWsTabStop | win::kLbsNotify | win::kLbsNoIntegralHeight | win::kWsVScroll,
     win::kWsExClientEdge},
    {C::kAdd, "BUTTON", "&Add...", kPush, 0},
    {C::kRemove, "BUTTON", "&Remove", kPush, 0},
    {C::kNameLabel, "STATIC", "&Name:", 0, 0},
    {C::kName, "EDIT", "", kEdit, win::kWsExClientEdge},
    {C::kExeLabel, "STATIC", "&Exe:", 0, 0},
    {C::kExe, "EDIT", "", kEdit, win::kWsExClientEdge},
    {C::kClassLabel, "STATIC", "C&lass:", 0, 0},
    {C::kClass, "EDIT", "", kEdit, win::kWsExClientEdge},
    {C::kTitleLabel, "STATIC", "&Title:", 0, 0},
    {C::kTitle, "EDIT", "", kEdit, win::kWsExClientEdge},
    {C::kDelayLabel, "STATIC", "Repeat &delay (ms):", 0, 0},
    {C::kDelay, "EDIT", "", kEdit | win::kEsNumber, win::kWsExClientEdge},
    {C::kButtonsLabel, "STATIC", "&Buttons:", 0, 0},
    {C::kButtons, "SysListView32", "",
     win::kWsTabStop | win::kLvsReport | win::kLvsShowSelAlways | win::kLvsNoSortHeader |
         win::kLvsSingleSel,
     win::kWsExClientEdge},
    {C::kKindLabel, "STATIC", "&Kind:", 0, 0},
    {C::kKind, "COMBOBOX", "", kCombo, 0},
    {C::kChordLabel, "STATIC", "&Chord:", 0, 0},
    {C::kChord, "msctls_hotkey32", "", win::kWsTabStop, 0},
    {C::kOtherLabel, "STATIC", "&Other key:", 0, 0},
    {C::kOther, "COMBOBOX", "", kCombo, 0},
    {C::kCtrl, "BUTTON", "Ctrl", kCheck, 0},
    {C::kShift, "BUTTON", "Shift", kCheck, 0},
    {C::kAlt, "BUTTON", "Alt", kCheck, 0},
    {C::kWin, "BUTTON", "Win", kCheck, 0},
    {C::kAppCommandLabel, "STATIC", "&Command:", 0, 0},
    {C::kAppCommand, "COMBOBOX", "", kCombo, 0},
    {C::kIdLabel, "STATIC", "&Id:", 0, 0},
    {C::kId, "EDIT", "", kEdit | win::kEsNumber, win::kWsExClientEdge},
    {C::kMessageLabel, "STATIC", "&Message:", 0, 0},
    {C::kMessage, "EDIT", "", kEdit, win::kWsExClientEdge},
    {C::kWParamLabel, "STATIC", "&wParam:", 0, 0},
    {C::kWParam, "EDIT", "", kEdit, win::kWsExClientEdge},
    {C::kLParamLabel, "STATIC", "lParam:", 0, 0},
    {C::kLParam, "EDIT", "", kEdit, win::kWsExClientEdge},
    {C::kFileLabel, "STATIC", "Program &file:", 0, 0},
    {C::kFile, "EDIT", "", kEdit, win::kWsExClientEdge},
    {C::kBrowse, "BUTTON", "Bro&wse...", kPush, 0},
    {C::kArgumentsLabel, "STATIC", "Ar&guments:", 0, 0},
    {C::kArguments, "EDIT", "", kEdit, win::kWsExClientEdge},
    {C::kRepeats, "BUTTON", "Repeat while &held", kCheck, 0},
    {C::kTry, "BUTTON", "Tr&y", kPush, 0},
    {C::kSave, "BUTTON", "&Save", win::kWsTabStop | win::kBsDefPushButton, 0},
    {C::kClose, "BUTTON", "Close", kPush, 0},
};
static_assert(std::size(kControls) == static_cast<std::size_t>(C::kCount));

consteval bool ControlsInTabOrder() {
    int at = 0;
    for (const ControlDef& def : kControls) {
        if (static_cast<int>(def.control) != at++) {
            return false;
        }
    }
    return true;
}
static_assert(ControlsInTabOrder());

int Scale(const KeyMapsDialog& d, int size) {
    return size * d.dpi / 96;
}

void Place(System& sys, C control, int x, int y, int width, int height) {
    sys.os.SetWindowPos(KeyMapsCtl(sys, control), 0, x, y, width > 0 ? width : 0,
                        height > 0 ? height : 0, win::kSwpNoZOrder | win::kSwpNoActivate);
}

// A label and its field on one row; the label's text sits level with the
// field's.
void PlacePair(System& sys, C label, C field, int x, int y, int labelWidth, int fieldWidth) {
    const KeyMapsDialog& d = KeyMapsOf(sys);
    const int row = Scale(d, kRowHeight);
    const int drop = field == C::kKind || field == C::kOther || field == C::kAppCommand
                         ? Scale(d, kDropHeight)
                         : row;
    Place(sys, label, x, y + Scale(d, 4), labelWidth - Scale(d, kGap), row - Scale(d, 4));
    Place(sys, field, x + labelWidth, y, fieldWidth, drop);
}

}  // namespace

void LayOutKeyMaps(System& sys, int width, int height) {
    const KeyMapsDialog& d = KeyMapsOf(sys);
    const int m = Scale(d, kMargin);
    const int gap = Scale(d, kGap);
    const int row = Scale(d, kRowHeight);
    const int step = row + gap;
    const int label = Scale(d, kLabelHeight);
    const int button = Scale(d, kButtonWidth);
    int left = Scale(d, kLeftWidth);
    if (left > width * 2 / 5) {
        left = width * 2 / 5;
    }
    const int bottom = height - m - row;  // the row of Save and Close
    Place(sys, C::kSave, width - m - 2 * button - gap, bottom, button, row);
    Place(sys, C::kClose, width - m - button, bottom, button, row);

    // The programs' column: the list, its buttons, the fields.
    const int fieldLabel = Scale(d, kFieldLabel);
    const int fieldsTop = bottom - m - 5 * step;
    const int addTop = fieldsTop - step;
    Place(sys, C::kProgramsLabel, m, m, left, label);
    Place(sys, C::kPrograms, m, m + label + gap, left, addTop - gap - (m + label + gap));
    Place(sys, C::kAdd, m, addTop, button, row);
    Place(sys, C::kRemove, m + button + gap, addTop, button, row);
    const C fields[][2] = {{C::kNameLabel, C::kName},
                           {C::kExeLabel, C::kExe},
                           {C::kClassLabel, C::kClass},
                           {C::kTitleLabel, C::kTitle},
                           {C::kDelayLabel, C::kDelay}};
    int y = fieldsTop;
    for (const auto& pair : fields) {
        PlacePair(sys, pair[0], pair[1], m, y, fieldLabel, left - fieldLabel);
        y += step;
    }

    // The buttons' column: the list, and the action below it. The Action
    // column takes what the Button column leaves.
    const int x = 2 * m + left + m;
    const int w = width - x - m;
    const int actionTop = bottom - m - 4 * step;
    const int listHeight = actionTop - gap - (m + label + gap);
    Place(sys, C::kButtonsLabel, x, m, w, label);
    Place(sys, C::kButtons, x, m + label + gap, w, listHeight);
    const int buttonColumn = std::min(Scale(d, 190), w * 9 / 20);
    const int scrollBar = sys.os.GetSystemMetrics(win::kSmCxVScroll);
    sys.os.SendMessageA(KeyMapsCtl(sys, C::kButtons), win::kLvmSetColumnWidth, 0, buttonColumn);
    sys.os.SendMessageA(KeyMapsCtl(sys, C::kButtons), win::kLvmSetColumnWidth, 1,
                        std::max(w - buttonColumn - scrollBar - Scale(d, 6), Scale(d, 60)));
    // The kind, with the check box every kind has; Try on the bottom row,
    // under the action.
    const int kindLabel = Scale(d, 84);
    const int kindWidth = Scale(d, 120);
    PlacePair(sys, C::kKindLabel, C::kKind, x, actionTop, kindLabel, kindWidth);
    Place(sys, C::kRepeats, x + kindLabel + kindWidth + 3 * gap, actionTop,
          w - kindLabel - kindWidth - 3 * gap, row);
    Place(sys, C::kTry, x, bottom, button, row);
    const int row1 = actionTop + step;
    const int row2 = row1 + step;
    const int row3 = row2 + step;
    const int field = w - kindLabel;
    // keys: the chord, the other keys, the modifiers
    PlacePair(sys, C::kChordLabel, C::kChord, x, row1, kindLabel, std::min(field, Scale(d, 300)));
    PlacePair(sys, C::kOtherLabel, C::kOther, x, row2, kindLabel, std::min(field, Scale(d, 220)));
    const C mods[] = {C::kCtrl, C::kShift, C::kAlt, C::kWin};
    const int modWidth = std::min(Scale(d, 70), field / 4);
    int modX = x + kindLabel;
    for (C mod : mods) {
        Place(sys, mod, modX, row3, modWidth - gap, row);
        modX += modWidth;
    }
    // appcommand, command
    PlacePair(sys, C::kAppCommandLabel, C::kAppCommand, x, row1, kindLabel,
              std::min(field, Scale(d, 260)));
    PlacePair(sys, C::kIdLabel, C::kId, x, row1, kindLabel, std::min(field, Scale(d, 100)));
    // post: the message, wParam and lParam, one a row
    const int number = std::min(field, Scale(d, 140));
    PlacePair(sys, C::kMessageLabel, C::kMessage, x, row1, kindLabel, number);
    PlacePair(sys, C::kWParamLabel, C::kWParam, x, row2, kindLabel, number);
    PlacePair(sys, C::kLParamLabel, C::kLParam, x, row3, kindLabel, number);
    // launch
    PlacePair(sys, C::kFileLabel, C::kFile, x, row1, kindLabel, field - button - gap);
    Place(sys, C::kBrowse, x + w - button, row1, button, row);
    PlacePair(sys, C::kArgumentsLabel, C::kArguments, x, row2, kindLabel, field);
}

bool CreateKeyMapsControls(System& sys, Hwnd window) {
    KeyMapsDialog& d = KeyMapsOf(sys);
    for (const ControlDef& def : kControls) {
        const Hwnd control = sys.os.CreateWindowExA(def.exStyle, def.className, def.text,
                                                    win::kWsChild | win::kWsVisible | def.style, 0,
                                                    0, 0, 0, window, KeyMapsControlId(def.control));
        if (control == 0) {
            return false;
        }
        if (d.font != 0) {
            sys.os.SendMessageA(control, win::kWmSetFont, d.font, 0);
        }
        // No longer than a value the program reads.
        if (std::string_view(def.className) == "EDIT") {
            sys.os.SendMessageA(control, win::kEmLimitText, kMaxUserValue, 0);
        }
        d.controls[static_cast<int>(def.control)] = control;
    }
    return true;
}

}  // namespace rc
