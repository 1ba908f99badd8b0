#include "shell/key_maps.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "apps/button_names.h"
#include "apps/user_apps.h"
#include "apps/user_apps_setup.h"
#include "core/system.h"
#include "core/text.h"
#include "platform/win_defs.h"
#include "settings/window_placement.h"
#include "shell/program_picker.h"

namespace rc {

namespace {

using C = KeyMapsControl;

constexpr char kClass[] = "Remote Control Key Maps";
constexpr char kTitle[] = "Key maps";
constexpr char16_t kTitleW[] = u"Key maps";
constexpr std::uint32_t kAppIcon = 50;
constexpr char kPlacementName[] = "KeyMaps";

// Sizes at 96 DPI, scaled to the screen's. The default fits a 1024 × 768
// screen with its taskbar.
constexpr int kWidth = 900;
constexpr int kHeight = 600;
constexpr int kMinWidth = 760;
constexpr int kMinHeight = 480;
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

KeyMapsDialog& Dialog(const System& sys) {
    return *sys.keyMaps;
}

Hwnd Ctl(const System& sys, C control) {
    return Dialog(sys).controls[static_cast<int>(control)];
}

int Scale(const KeyMapsDialog& d, int size) {
    return size * d.dpi / 96;
}

std::u16string Wide(std::string_view text) {
    return Utf8ToUtf16(text);
}

std::string TextOf(System& sys, C control) {
    char16_t buffer[1024] = {};
    sys.os.GetWindowTextW(Ctl(sys, control), buffer, 1024);
    return Utf16ToUtf8(buffer);
}

void SetText(System& sys, C control, std::string_view text) {
    sys.os.SetWindowTextW(Ctl(sys, control), Wide(text).c_str());
}

// --- Layout --------------------------------------------------------------------

void Place(System& sys, C control, int x, int y, int width, int height) {
    sys.os.SetWindowPos(Ctl(sys, control), 0, x, y, width > 0 ? width : 0, height > 0 ? height : 0,
                        win::kSwpNoZOrder | win::kSwpNoActivate);
}

// A label and its field on one row; the label's text sits level with the
// field's.
void PlacePair(System& sys, C label, C field, int x, int y, int labelWidth, int fieldWidth) {
    const KeyMapsDialog& d = Dialog(sys);
    const int row = Scale(d, kRowHeight);
    const int drop = field == C::kKind || field == C::kOther || field == C::kAppCommand
                         ? Scale(d, kDropHeight)
                         : row;
    Place(sys, label, x, y + Scale(d, 4), labelWidth - Scale(d, kGap), row - Scale(d, 4));
    Place(sys, field, x + labelWidth, y, fieldWidth, drop);
}

void LayOut(System& sys, int width, int height) {
    const KeyMapsDialog& d = Dialog(sys);
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
    sys.os.SendMessageA(Ctl(sys, C::kButtons), win::kLvmSetColumnWidth, 0, buttonColumn);
    sys.os.SendMessageA(Ctl(sys, C::kButtons), win::kLvmSetColumnWidth, 1,
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
    // post: three numbers on one row
    const int third = field / 3;
    const int numberLabel = std::min(Scale(d, 64), third / 2);
    PlacePair(sys, C::kMessageLabel, C::kMessage, x, row1, kindLabel, third - gap);
    PlacePair(sys, C::kWParamLabel, C::kWParam, x + kindLabel + third, row1, numberLabel,
              third - numberLabel - gap);
    PlacePair(sys, C::kLParamLabel, C::kLParam, x + kindLabel + 2 * third, row1, numberLabel,
              third - numberLabel);
    // launch
    PlacePair(sys, C::kFileLabel, C::kFile, x, row1, kindLabel, field - button - gap);
    Place(sys, C::kBrowse, x + w - button, row1, button, row);
    PlacePair(sys, C::kArgumentsLabel, C::kArguments, x, row2, kindLabel, field);
}

// --- The programs ----------------------------------------------------------------

void ShowTitle(System& sys) {
    const KeyMapsDialog& d = Dialog(sys);
    std::u16string title = kTitleW;
    if (d.unsaved) {
        title += u" *";
    }
    sys.os.SetWindowTextW(d.window, title.c_str());
}

void ShowRows(System& sys) {
    const KeyMapsDialog& d = Dialog(sys);
    for (int row = 0; row < static_cast<int>(d.buttons.size()); ++row) {
        ShowKeyMapsRow(sys, row);
    }
}

// The selected program's fields, its buttons' actions, the selected action.
void ShowProgram(System& sys) {
    KeyMapsDialog& d = Dialog(sys);
    const bool any = d.section >= 0;
    const ProgramMatch match = any ? MatchOf(d.file.doc, d.section) : ProgramMatch{};
    d.filling = true;
    SetText(sys, C::kName, any ? SectionName(d.file.doc, d.section) : std::string());
    SetText(sys, C::kExe, match.exe);
    SetText(sys, C::kClass, match.windowClass);
    SetText(sys, C::kTitle, match.title);
    const auto delay = any ? RepeatDelayOf(d.file.doc, d.section) : std::nullopt;
    SetText(sys, C::kDelay, any ? std::to_string(delay.value_or(kDefaultRepeatDelay)) : "");
    d.filling = false;
    ShowRows(sys);
    ShowKeyMapsAction(sys);
}

// The list of programs, anew, with one selected (-1: none).
void ShowPrograms(System& sys, int select) {
    KeyMapsDialog& d = Dialog(sys);
    Platform& os = sys.os;
    const Hwnd list = Ctl(sys, C::kPrograms);
    d.filling = true;
    os.SendMessageA(list, win::kLbResetContent, 0, 0);
    const int count = SectionCount(d.file.doc);
    for (int i = 0; i < count; ++i) {
        os.SendMessageTextW(list, win::kLbAddString, 0, Wide(SectionName(d.file.doc, i)).c_str());
    }
    if (select >= count) {
        select = count - 1;
    }
    os.SendMessageA(list, win::kLbSetCurSel, static_cast<std::uintptr_t>(select), 0);
    d.filling = false;
    d.section = select;
    ShowProgram(sys);
}

void ShowWhole(System& sys) {
    KeyMapsDialog& d = Dialog(sys);
    d.unsaved = false;
    ShowTitle(sys);
    ShowPrograms(sys, d.section >= 0 ? d.section : 0);
}

// The Name field names the section when the user leaves it; a name the
// file can't take is refused, the old one comes back and a box says why.
void ApplyName(System& sys) {
    KeyMapsDialog& d = Dialog(sys);
    if (d.section < 0) {
        return;
    }
    const std::string old = SectionName(d.file.doc, d.section);
    std::string name = TextOf(sys, C::kName);
    while (!name.empty() && name.back() == ' ') {
        name.pop_back();
    }
    while (!name.empty() && name.front() == ' ') {
        name.erase(0, 1);
    }
    if (name == old) {
        return;
    }
    if (!RenameSection(d.file.doc, d.section, name)) {
        std::string why = name.empty() ? "A program needs a name."
                          : name.find_first_of("[]") != std::string::npos
                              ? "A name can't hold [ or ]."
                              : "Another program already has the name \"" + name + "\".";
        why += " The name stays \"" + old + "\".";
        d.filling = true;
        SetText(sys, C::kName, old);
        d.filling = false;
        sys.os.MessageBoxW(d.window, Wide(why).c_str(), kTitleW, win::kMbOk | win::kMbIconWarning);
        return;
    }
    MarkKeyMapsUnsaved(sys);
    ShowPrograms(sys, d.section);
}

void ApplyMatch(System& sys) {
    KeyMapsDialog& d = Dialog(sys);
    if (d.section < 0) {
        return;
    }
    ProgramMatch match;
    match.exe = TextOf(sys, C::kExe);
    match.windowClass = TextOf(sys, C::kClass);
    match.title = TextOf(sys, C::kTitle);
    if (match == MatchOf(d.file.doc, d.section)) {
        return;
    }
    SetMatch(d.file.doc, d.section, match);
    MarkKeyMapsUnsaved(sys);
}

// The default delay written back leaves no line; a text that is no number
// changes nothing.
void ApplyDelay(System& sys) {
    KeyMapsDialog& d = Dialog(sys);
    if (d.section < 0) {
        return;
    }
    const std::string text = TextOf(sys, C::kDelay);
    std::optional<std::uint32_t> delay;
    if (!text.empty()) {
        char* end = nullptr;
        const unsigned long value = std::strtoul(text.c_str(), &end, 10);
        if (end == nullptr || *end != '\0' || value > 60000) {
            return;
        }
        if (value != kDefaultRepeatDelay) {
            delay = static_cast<std::uint32_t>(value);
        }
    }
    if (delay == RepeatDelayOf(d.file.doc, d.section)) {
        return;
    }
    SetRepeatDelay(d.file.doc, d.section, delay);
    MarkKeyMapsUnsaved(sys);
}

// "Add...": a section for the program of the window the user picks, named
// after its file (without ".exe") and matching it by Exe; a name taken
// gets a number.
void AddProgram(System& sys) {
    KeyMapsDialog& d = Dialog(sys);
    const std::optional<WindowFacts> facts = PickProgramWindow(sys, d.window);
    if (!facts) {
        return;
    }
    ProgramMatch match;
    std::string stem;
    if (!facts->exe.empty()) {
        match.exe = facts->exe;
        stem = facts->exe;
        if (const auto dot = stem.rfind('.'); dot != std::string::npos && dot > 0) {
            stem.erase(dot);
        }
    } else {
        match.windowClass = facts->windowClass;
        stem = facts->windowClass.empty() ? std::string("Program") : facts->windowClass;
    }
    for (char& c : stem) {
        c = c == '[' ? '(' : c == ']' ? ')' : c;
    }
    int section = AddSection(d.file.doc, stem, match);
    for (int n = 2; section < 0 && n < 1000; ++n) {
        section = AddSection(d.file.doc, stem + " " + std::to_string(n), match);
    }
    if (section < 0) {
        return;
    }
    MarkKeyMapsUnsaved(sys);
    ShowPrograms(sys, section);
    sys.os.SetFocus(Ctl(sys, C::kName));
}

void RemoveProgram(System& sys) {
    KeyMapsDialog& d = Dialog(sys);
    if (d.section < 0) {
        return;
    }
    const std::string text =
        "Remove \"" + SectionName(d.file.doc, d.section) + "\" and all its key maps?";
    if (sys.os.MessageBoxW(d.window, Wide(text).c_str(), kTitleW,
                           win::kMbYesNo | win::kMbIconQuestion) != win::kIdYes) {
        return;
    }
    RemoveSection(d.file.doc, d.section);
    MarkKeyMapsUnsaved(sys);
    ShowPrograms(sys, d.section);
}

// --- Saving ----------------------------------------------------------------------------

void SaveFailed(System& sys, std::uint32_t error) {
    const std::string text = "applications.ini can't be saved (Windows error " +
                             std::to_string(error) + "). Your changes are still here.";
    sys.os.MessageBoxW(Dialog(sys).window, Wide(text).c_str(), kTitleW,
                       win::kMbOk | win::kMbIconWarning);
}

void Save(System& sys) {
    KeyMapsDialog& d = Dialog(sys);
    ApplyName(sys);
    std::uint32_t error = 0;
    KeyMapSave saved = SaveKeyMapFile(sys, d.file, false, &error);
    if (saved == KeyMapSave::kChangedElsewhere) {
        const int answer = sys.os.MessageBoxW(
            d.window,
            u"applications.ini was changed by another program since it was opened here.\n\n"
            u"Yes replaces those changes with yours. No drops your changes and shows the "
            u"file as it is now.",
            kTitleW, win::kMbYesNoCancel | win::kMbIconQuestion);
        if (answer == win::kIdYes) {
            saved = SaveKeyMapFile(sys, d.file, true, &error);
        } else if (answer == win::kIdNo) {
            if (const std::uint32_t readError = LoadKeyMapFile(sys, &d.file); readError != 0) {
                SaveFailed(sys, readError);
                return;
            }
            ShowWhole(sys);
            return;
        } else {
            return;
        }
    }
    if (saved == KeyMapSave::kFailed) {
        SaveFailed(sys, error);
        return;
    }
    if (saved == KeyMapSave::kSaved) {
        d.unsaved = false;
        ShowTitle(sys);
    }
}

// --- The window --------------------------------------------------------------------------

bool OnCreate(System& sys, Hwnd hwnd) {
    KeyMapsDialog& d = Dialog(sys);
    Platform& os = sys.os;
    d.window = hwnd;
    for (const ControlDef& def : kControls) {
        const Hwnd control = os.CreateWindowExA(def.exStyle, def.className, def.text,
                                                win::kWsChild | win::kWsVisible | def.style, 0, 0,
                                                0, 0, hwnd, KeyMapsControlId(def.control));
        if (control == 0) {
            return false;
        }
        if (d.font != 0) {
            os.SendMessageA(control, win::kWmSetFont, d.font, 0);
        }
        d.controls[static_cast<int>(def.control)] = control;
    }
    const Hwnd list = Ctl(sys, C::kButtons);
    os.SendMessageA(list, win::kLvmSetExtendedListViewStyle,
                    win::kLvsExFullRowSelect | win::kLvsExDoubleBuffer,
                    win::kLvsExFullRowSelect | win::kLvsExDoubleBuffer);
    os.ListViewInsertColumnW(list, 0, u"Button", Scale(d, 190));
    os.ListViewInsertColumnW(list, 1, u"Action", Scale(d, 330));
    // The buttons of the layout in use, in the names' order.
    d.buttons.clear();
    d.row = -1;
    d.filling = true;
    for (int name = 0; name < ButtonNameCount(); ++name) {
        if (!ButtonOnLayout(name, sys.nIRKEYType)) {
            continue;
        }
        std::string text = ButtonLabelAt(name);
        text += " (";
        text += ButtonNameAt(name);
        text += ")";
        const int at = static_cast<int>(d.buttons.size());
        if (os.ListViewInsertItemW(list, at, Wide(text).c_str()) == at) {
            d.buttons.push_back(name);
        }
    }
    d.filling = false;
    FillKeyMapsLists(sys);
    ShowWhole(sys);
    if (!d.buttons.empty()) {
        d.row = 0;
        os.ListViewSelectItem(list, 0);
        ShowKeyMapsAction(sys);
    }
    return true;
}

void OnDestroy(System& sys, Hwnd hwnd) {
    KeyMapsDialog& d = Dialog(sys);
    Rect rect{};
    if (sys.os.GetWindowRect(hwnd, &rect)) {
        SaveWindowPlacement(sys, kPlacementName, rect);
    }
    if (d.font != 0) {
        sys.os.DeleteObject(d.font);
    }
    d.window = 0;
    d.font = 0;
    for (Hwnd& control : d.controls) {
        control = 0;
    }
    d.file = KeyMapFile{};
    d.unsaved = false;
    d.section = d.row = -1;
}

// The list view reports a change of its selection; the selection is read
// back rather than the notification's record, which only the Win32 side
// could read.
void OnButtonsNotify(System& sys) {
    KeyMapsDialog& d = Dialog(sys);
    if (d.filling) {
        return;
    }
    const auto row =
        static_cast<int>(sys.os.SendMessageA(Ctl(sys, C::kButtons), win::kLvmGetNextItem,
                                             static_cast<std::uintptr_t>(-1), win::kLvniSelected));
    if (row == d.row) {
        return;
    }
    d.row = row;
    ShowKeyMapsAction(sys);
}

void OnCommand(System& sys, Hwnd hwnd, std::uint32_t id, std::uint32_t code) {
    KeyMapsDialog& d = Dialog(sys);
    if (id == static_cast<std::uint32_t>(win::kIdCancel)) {
        sys.os.DestroyWindow(hwnd);
        return;
    }
    if (id == static_cast<std::uint32_t>(win::kIdOk)) {
        Save(sys);
        return;
    }
    if (id < kKeyMapsFirstId || id >= kKeyMapsFirstId + static_cast<std::uint32_t>(C::kCount) ||
        d.filling) {
        return;
    }
    constexpr std::uint32_t kEnKillFocus = 0x0200;
    const auto control = static_cast<C>(id - kKeyMapsFirstId);
    switch (control) {
        case C::kPrograms:
            if (code == win::kLbnSelChange) {
                ApplyName(sys);
                d.section = static_cast<int>(
                    sys.os.SendMessageA(Ctl(sys, C::kPrograms), win::kLbGetCurSel, 0, 0));
                ShowProgram(sys);
            }
            return;
        case C::kAdd:
            AddProgram(sys);
            return;
        case C::kRemove:
            RemoveProgram(sys);
            return;
        case C::kName:
            if (code == kEnKillFocus) {
                ApplyName(sys);
            }
            return;
        case C::kExe:
        case C::kClass:
        case C::kTitle:
            if (code == win::kEnChange) {
                ApplyMatch(sys);
            }
            return;
        case C::kDelay:
            if (code == win::kEnChange) {
                ApplyDelay(sys);
            }
            return;
        default:
            OnKeyMapsActionControl(sys, control, code);
            return;
    }
}

}  // namespace

void ShowKeyMapsRow(System& sys, int row) {
    const KeyMapsDialog& d = Dialog(sys);
    if (row < 0 || row >= static_cast<int>(d.buttons.size())) {
        return;
    }
    std::string text;
    if (d.section >= 0) {
        const auto button = static_cast<std::uint16_t>(kNamedButton + d.buttons[row]);
        const ButtonLine line = ButtonLineOf(d.file.doc, d.section, button, sys.nIRKEYType);
        text = line.present ? line.value : "(default)";
    }
    sys.os.ListViewSetItemTextW(Ctl(sys, C::kButtons), row, 1, Wide(text).c_str());
}

void MarkKeyMapsUnsaved(System& sys) {
    KeyMapsDialog& d = Dialog(sys);
    if (!d.unsaved) {
        d.unsaved = true;
        ShowTitle(sys);
    }
}

void OpenKeyMaps(System& sys) {
    KeyMapsDialog& d = Dialog(sys);
    Platform& os = sys.os;
    if (d.window != 0) {
        os.ShowWindow(d.window, win::kSwRestore);
        os.SetForegroundWindow(d.window);
        return;
    }
    if (!d.classRegistered) {
        os.InitCommonControlsEx(win::kIccListViewClasses | win::kIccHotkeyClass);
        d.classRegistered = os.RegisterWindowClass(kClass, kAppIcon, KeyMapsWindowProc, &sys);
        if (!d.classRegistered) {
            return;
        }
    }
    CopyExampleUserApps(sys);
    KeyMapFile file;
    if (const std::uint32_t error = LoadKeyMapFile(sys, &file); error != 0) {
        const std::string text = "applications.ini can't be read (Windows error " +
                                 std::to_string(error) +
                                 "). Close the program that holds it "
                                 "and try again.";
        os.MessageBoxW(0, Wide(text).c_str(), kTitleW, win::kMbOk | win::kMbIconWarning);
        return;
    }
    d.file = std::move(file);
    d.section = -1;
    d.dpi = os.GetScreenDpi();
    if (d.dpi <= 0) {
        d.dpi = 96;
    }
    d.font = os.CreateMessageFont();
    int x = win::kCwUseDefault;
    int y = 0;
    // Not larger than the screen (a small one at a high DPI).
    const int screenWidth = os.GetSystemMetrics(win::kSmCxScreen);
    const int screenHeight = os.GetSystemMetrics(win::kSmCyScreen);
    int width = Scale(d, kWidth);
    int height = Scale(d, kHeight);
    if (screenWidth > 0 && width > screenWidth * 95 / 100) {
        width = screenWidth * 95 / 100;
    }
    if (screenHeight > 0 && height > screenHeight * 88 / 100) {
        height = screenHeight * 88 / 100;
    }
    // The smallest size the user may drag it to: no larger than the screen
    // allows either (a 1024 × 768 screen at 144 DPI).
    d.minWidth = std::min(Scale(d, kMinWidth), width);
    d.minHeight = std::min(Scale(d, kMinHeight), height);
    Rect p{};
    if (LoadWindowPlacement(sys, kPlacementName, &p) && p.right - p.left >= d.minWidth &&
        p.bottom - p.top >= d.minHeight) {
        x = p.left;
        y = p.top;
        width = p.right - p.left;
        height = p.bottom - p.top;
    }
    const Hwnd window = os.CreateWindowExA(win::kWsExControlParent, kClass, kTitle,
                                           win::kWsOverlappedWindow, x, y, width, height, 0, 0);
    if (window == 0) {
        if (d.font != 0) {
            os.DeleteObject(d.font);
            d.font = 0;
        }
        d.window = 0;
        return;
    }
    os.ShowWindow(window, win::kSwShowNormal);
    os.SetForegroundWindow(window);
    os.SetFocus(Ctl(sys, C::kPrograms));
}

bool TakeKeyMapsPress(System& sys, const Press& press, PressOutcome* outcome) {
    KeyMapsDialog& d = Dialog(sys);
    if (d.window == 0) {
        return false;
    }
    Platform& os = sys.os;
    const Hwnd front = os.GetForegroundWindow();
    if (front == 0 || (front != d.window && os.GetWindow(front, win::kGwOwner) != d.window)) {
        return false;
    }
    if (press.repeat) {
        outcome->why = "Key maps is in front";
        return true;
    }
    int row = -1;
    for (int i = 0; i < static_cast<int>(d.buttons.size()) && row < 0; ++i) {
        if (ButtonSends(d.buttons[i], sys.nIRKEYType, press.keyCode)) {
            row = i;
        }
    }
    const Hwnd list = Ctl(sys, C::kButtons);
    os.ListViewSelectItem(list, row);
    if (row < 0) {
        outcome->why = "Key maps: no button sends KeyCode " + std::to_string(press.keyCode);
        OnButtonsNotify(sys);
        return true;
    }
    os.SendMessageA(list, win::kLvmEnsureVisible, static_cast<std::uintptr_t>(row), 0);
    os.SetFocus(list);
    OnButtonsNotify(sys);
    outcome->why = "Key maps: ";
    outcome->why += ButtonNameAt(d.buttons[row]);
    outcome->why += " selected";
    return true;
}

std::intptr_t KeyMapsWindowProc(void* ctx, Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                std::intptr_t lParam) {
    System& sys = *static_cast<System*>(ctx);
    switch (msg) {
        case win::kWmCreate:
            return OnCreate(sys, hwnd) ? 0 : -1;
        case win::kWmSize:
            LayOut(sys, static_cast<int>(lParam & 0xFFFF),
                   static_cast<int>((lParam >> 16) & 0xFFFF));
            return 0;
        case win::kWmGetMinMaxInfo:
            sys.os.SetMinTrackSize(lParam, Dialog(sys).minWidth, Dialog(sys).minHeight);
            return 0;
        case win::kWmCommand:
            OnCommand(sys, hwnd, static_cast<std::uint32_t>(wParam & 0xFFFF),
                      static_cast<std::uint32_t>((wParam >> 16) & 0xFFFF));
            return 0;
        case win::kWmNotify:
            if (wParam == KeyMapsControlId(C::kButtons)) {
                OnButtonsNotify(sys);
            }
            return 0;
        case win::kWmDestroy:
            OnDestroy(sys, hwnd);
            return 0;
        default:
            break;
    }
    return sys.os.DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace rc
