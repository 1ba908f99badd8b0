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
constexpr WindowSizes kSizes{900, 600, 95, 88, 760, 480};

int Scale(const KeyMapsDialog& d, int size) {
    return size * d.dpi / 96;
}

std::u16string Wide(std::string_view text) {
    return Utf8ToUtf16(text);
}

// --- The programs ----------------------------------------------------------------

void ShowTitle(System& sys) {
    const KeyMapsDialog& d = KeyMapsOf(sys);
    std::u16string title = kTitleW;
    if (d.unsaved) {
        title += u" *";
    }
    sys.os.SetWindowTextW(d.window, title.c_str());
}

void ShowRows(System& sys) {
    const KeyMapsDialog& d = KeyMapsOf(sys);
    for (int row = 0; row < static_cast<int>(d.buttons.size()); ++row) {
        ShowKeyMapsRow(sys, row);
    }
}

// The selected program's fields, its buttons' actions, the selected action.
void ShowProgram(System& sys) {
    KeyMapsDialog& d = KeyMapsOf(sys);
    const bool any = d.section >= 0;
    const ProgramMatch match = any ? MatchOf(d.file.doc, d.section) : ProgramMatch{};
    d.filling = true;
    SetKeyMapsText(sys, C::kName, any ? SectionName(d.file.doc, d.section) : std::string());
    SetKeyMapsText(sys, C::kExe, match.exe);
    SetKeyMapsText(sys, C::kClass, match.windowClass);
    SetKeyMapsText(sys, C::kTitle, match.title);
    const auto delay = any ? RepeatDelayOf(d.file.doc, d.section) : std::nullopt;
    SetKeyMapsText(sys, C::kDelay, any ? std::to_string(delay.value_or(kDefaultRepeatDelay)) : "");
    d.filling = false;
    ShowRows(sys);
    ShowKeyMapsAction(sys);
}

// The list of programs, anew, with one selected (-1: none).
void ShowPrograms(System& sys, int select) {
    KeyMapsDialog& d = KeyMapsOf(sys);
    Platform& os = sys.os;
    const Hwnd list = KeyMapsCtl(sys, C::kPrograms);
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
    KeyMapsDialog& d = KeyMapsOf(sys);
    d.unsaved = false;
    ShowTitle(sys);
    ShowPrograms(sys, d.section >= 0 ? d.section : 0);
}

// The Name field names the section when the user leaves it; a name the
// file can't take is refused, the old one comes back and a box says why.
void ApplyName(System& sys) {
    KeyMapsDialog& d = KeyMapsOf(sys);
    if (d.section < 0) {
        return;
    }
    const std::string old = SectionName(d.file.doc, d.section);
    std::string name = KeyMapsText(sys, C::kName);
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
        const bool spans =
            old.find(']') != std::string::npos ||
            std::any_of(old.begin(), old.end(), [](char c) { return c >= 0 && c < ' '; });
        std::string why = spans
                              ? "Its line in applications.ini holds more than the name: rename it "
                                "in the file."
                          : name.empty() ? "A program needs a name."
                          : name.find_first_of("[]") != std::string::npos
                              ? "A name can't hold [ or ]."
                              : "Another program already has the name \"" + name + "\".";
        why += " The name stays \"" + old + "\".";
        d.filling = true;
        SetKeyMapsText(sys, C::kName, old);
        d.filling = false;
        sys.os.MessageBoxW(d.window, Wide(why).c_str(), kTitleW, win::kMbOk | win::kMbIconWarning);
        return;
    }
    MarkKeyMapsUnsaved(sys);
    ShowPrograms(sys, d.section);
}

void ApplyMatch(System& sys) {
    KeyMapsDialog& d = KeyMapsOf(sys);
    if (d.section < 0) {
        return;
    }
    ProgramMatch match;
    match.exe = KeyMapsText(sys, C::kExe);
    match.windowClass = KeyMapsText(sys, C::kClass);
    match.title = KeyMapsText(sys, C::kTitle);
    if (match == MatchOf(d.file.doc, d.section)) {
        return;
    }
    SetMatch(d.file.doc, d.section, match);
    MarkKeyMapsUnsaved(sys);
}

// The delay typed goes into the document as it is typed: the default
// written back leaves no line, an empty field is the default too. A text
// that is no delay from 0 to 5000 changes nothing; when the user leaves the
// field with it, a box says why and the field shows the delay again.
void ApplyDelay(System& sys, bool leaving) {
    KeyMapsDialog& d = KeyMapsOf(sys);
    if (d.section < 0) {
        return;
    }
    const std::string text = KeyMapsText(sys, C::kDelay);
    std::optional<std::uint32_t> delay;
    bool valid = true;
    if (!text.empty()) {
        char* end = nullptr;
        const unsigned long value = std::strtoul(text.c_str(), &end, 10);
        valid = text[0] >= '0' && text[0] <= '9' && end != nullptr && *end == '\0' &&
                value <= kMaxRepeatDelay;
        if (valid && value != kDefaultRepeatDelay) {
            delay = static_cast<std::uint32_t>(value);
        }
    }
    if (valid && delay != RepeatDelayOf(d.file.doc, d.section)) {
        SetRepeatDelay(d.file.doc, d.section, delay);
        MarkKeyMapsUnsaved(sys);
    }
    if (!leaving) {
        return;
    }
    const std::uint32_t kept = RepeatDelayOf(d.file.doc, d.section).value_or(kDefaultRepeatDelay);
    d.filling = true;
    SetKeyMapsText(sys, C::kDelay, std::to_string(kept));
    d.filling = false;
    if (!valid) {
        const std::string why = "The repeat delay is a number of milliseconds from 0 to " +
                                std::to_string(kMaxRepeatDelay) + ". It stays " +
                                std::to_string(kept) + ".";
        sys.os.MessageBoxW(d.window, Wide(why).c_str(), kTitleW, win::kMbOk | win::kMbIconWarning);
    }
}

// "Add...": a section for the program of the window the user picks, named
// after its file (without ".exe") and matching it by Exe; a name taken
// gets a number.
void AddProgram(System& sys) {
    KeyMapsDialog& d = KeyMapsOf(sys);
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
    sys.os.SetFocus(KeyMapsCtl(sys, C::kName));
}

void RemoveProgram(System& sys) {
    KeyMapsDialog& d = KeyMapsOf(sys);
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
    sys.os.MessageBoxW(KeyMapsOf(sys).window, Wide(text).c_str(), kTitleW,
                       win::kMbOk | win::kMbIconWarning);
}

void Save(System& sys) {
    KeyMapsDialog& d = KeyMapsOf(sys);
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
    KeyMapsDialog& d = KeyMapsOf(sys);
    Platform& os = sys.os;
    d.window = hwnd;
    if (!CreateKeyMapsControls(sys, hwnd)) {
        return false;
    }
    const Hwnd list = KeyMapsCtl(sys, C::kButtons);
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
        text += ButtonName(name);
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
    KeyMapsDialog& d = KeyMapsOf(sys);
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

// The list view reports a change (LVN_ITEMCHANGED among its notifications,
// also while an item is only deselected): the selection is read back, and
// the action panel follows when it moved.
void OnButtonsNotify(System& sys) {
    KeyMapsDialog& d = KeyMapsOf(sys);
    if (d.filling) {
        return;
    }
    const auto row =
        static_cast<int>(sys.os.SendMessageA(KeyMapsCtl(sys, C::kButtons), win::kLvmGetNextItem,
                                             static_cast<std::uintptr_t>(-1), win::kLvniSelected));
    if (row == d.row) {
        return;
    }
    d.row = row;
    ShowKeyMapsAction(sys);
}

void OnCommand(System& sys, Hwnd hwnd, std::uint32_t id, std::uint32_t code) {
    KeyMapsDialog& d = KeyMapsOf(sys);
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
    const auto control = static_cast<C>(id - kKeyMapsFirstId);
    switch (control) {
        case C::kPrograms:
            if (code == win::kLbnSelChange) {
                ApplyName(sys);
                d.section = static_cast<int>(
                    sys.os.SendMessageA(KeyMapsCtl(sys, C::kPrograms), win::kLbGetCurSel, 0, 0));
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
            if (code == win::kEnKillFocus) {
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
            if (code == win::kEnChange || code == win::kEnKillFocus) {
                ApplyDelay(sys, code == win::kEnKillFocus);
            }
            return;
        default:
            OnKeyMapsActionControl(sys, control, code);
            return;
    }
}

}  // namespace

void ShowKeyMapsRow(System& sys, int row) {
    const KeyMapsDialog& d = KeyMapsOf(sys);
    if (row < 0 || row >= static_cast<int>(d.buttons.size())) {
        return;
    }
    std::string text;
    if (d.section >= 0) {
        const auto button = static_cast<std::uint16_t>(kNamedButton + d.buttons[row]);
        const ButtonLine line = ButtonLineOf(d.file.doc, d.section, button, sys.nIRKEYType);
        text = line.present ? line.value : "(default)";
    }
    sys.os.ListViewSetItemTextW(KeyMapsCtl(sys, C::kButtons), row, 1, Wide(text).c_str());
}

void MarkKeyMapsUnsaved(System& sys) {
    KeyMapsDialog& d = KeyMapsOf(sys);
    if (!d.unsaved) {
        d.unsaved = true;
        ShowTitle(sys);
    }
}

KeyMapsDialog& KeyMapsOf(const System& sys) {
    return *sys.keyMaps;
}

Hwnd KeyMapsCtl(const System& sys, KeyMapsControl control) {
    return KeyMapsOf(sys).controls[static_cast<int>(control)];
}

std::string KeyMapsText(System& sys, KeyMapsControl control) {
    char16_t buffer[1024] = {};
    sys.os.GetWindowTextW(KeyMapsCtl(sys, control), buffer, 1024);
    return Utf16ToUtf8(buffer);
}

void SetKeyMapsText(System& sys, KeyMapsControl control, std::string_view text) {
    sys.os.SetWindowTextW(KeyMapsCtl(sys, control), Utf8ToUtf16(text).c_str());
}

void OpenKeyMaps(System& sys) {
    KeyMapsDialog& d = KeyMapsOf(sys);
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
    const WindowOpening at = PlaceOpeningWindow(sys, kPlacementName, kSizes, d.dpi);
    d.minWidth = at.minWidth;
    d.minHeight = at.minHeight;
    const Hwnd window =
        os.CreateWindowExA(win::kWsExControlParent, kClass, kTitle, win::kWsOverlappedWindow, at.x,
                           at.y, at.width, at.height, 0, 0);
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
    os.SetFocus(KeyMapsCtl(sys, C::kPrograms));
}

namespace {

// A label's mnemonic (Alt+K for "&Kind:"): the dialog manager's keyboard
// handling asks the window to focus the label (WM_NEXTDLGCTL with the label
// and 1), then to move on to the next control (0 and 0). A dialog's own
// procedure would do both; this window, of a class of its own, does them
// here: the keyboard goes to the control after the label, an edit's text
// selected as a dialog selects it.
void OnNextDlgCtl(System& sys, std::uintptr_t wParam, std::intptr_t lParam) {
    KeyMapsDialog& d = KeyMapsOf(sys);
    const int count = static_cast<int>(C::kCount);
    if ((lParam & 0xFFFF) != 0) {
        d.mnemonicLabel = -1;
        for (int i = 0; i + 1 < count; ++i) {
            if (d.controls[i] == static_cast<Hwnd>(wParam)) {
                d.mnemonicLabel = i;
            }
        }
        return;
    }
    const int label = d.mnemonicLabel;
    d.mnemonicLabel = -1;
    if (wParam != 0 || label < 0) {
        return;
    }
    const Hwnd next = d.controls[label + 1];
    sys.os.SetFocus(next);
    char name[16] = {};
    if (sys.os.GetClassNameA(next, name, sizeof name) > 0 && SameText(name, "Edit")) {
        sys.os.SendMessageA(next, win::kEmSetSel, 0, -1);
    }
}

}  // namespace

bool TakeKeyMapsPress(System& sys, const Press& press, PressOutcome* outcome) {
    KeyMapsDialog& d = KeyMapsOf(sys);
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
    const Hwnd list = KeyMapsCtl(sys, C::kButtons);
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
    outcome->why += ButtonName(d.buttons[row]);
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
            LayOutKeyMaps(sys, static_cast<int>(lParam & 0xFFFF),
                          static_cast<int>((lParam >> 16) & 0xFFFF));
            return 0;
        case win::kWmGetMinMaxInfo:
            sys.os.SetMinTrackSize(lParam, KeyMapsOf(sys).minWidth, KeyMapsOf(sys).minHeight);
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
        case win::kWmNextDlgCtl:
            OnNextDlgCtl(sys, wParam, lParam);
            return 0;
        case win::kWmSetFocus:
            // Activated, the window gives the keyboard to the programs.
            if (KeyMapsCtl(sys, C::kPrograms) != 0) {
                sys.os.SetFocus(KeyMapsCtl(sys, C::kPrograms));
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
