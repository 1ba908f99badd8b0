#include "shell/program_picker.h"

#include <vector>

#include "apps/delivery.h"
#include "core/press.h"
#include "core/system.h"
#include "core/text.h"
#include "platform/win_defs.h"
#include "resources/resource.h"

namespace rc {

namespace {

// --- Add a program ---------------------------------------------------------------

// One row of the list: a window of another program as it was when the
// dialog opened.
struct PickRow {
    Hwnd window;
    WindowFacts facts;
};

// The dialog's state, on the stack of PickProgramWindow (the dialog
// procedure's context).
struct Picker {
    System& sys;
    std::vector<PickRow> rows;
    Hwnd list = 0;
    std::optional<WindowFacts> chosen;
};

// Column widths at 96 DPI, scaled to the screen's, when the list's own width
// can't be read.
constexpr int kTitleWidth = 300;
constexpr int kProgramWidth = 130;
constexpr int kSmallIcon = 16;

// The windows the user can tell apart and switch to, as the task switcher
// lists them: visible, titled, not tool windows nor windows that never take
// the activation (unless they ask for a taskbar button), not cloaked.
bool Pickable(Platform& os, Hwnd window, std::uint32_t ourProcess) {
    if (!os.IsWindowVisible(window) || os.GetWindowProcessId(window) == ourProcess) {
        return false;
    }
    const std::uint32_t exStyle = os.GetWindowLongA(window, win::kGwlExStyle);
    if ((exStyle & win::kWsExToolWindow) != 0 ||
        ((exStyle & win::kWsExNoActivate) != 0 && (exStyle & win::kWsExAppWindow) == 0)) {
        return false;
    }
    return !os.IsWindowCloaked(window);
}

// The top-level windows of other programs in Z order, front first.
std::vector<PickRow> PickableWindows(System& sys) {
    Platform& os = sys.os;
    const std::uint32_t ours = os.GetCurrentProcessId();
    std::vector<PickRow> rows;
    for (Hwnd w = os.GetWindow(os.GetDesktopWindow(), win::kGwChild); w != 0;
         w = os.GetWindow(w, win::kGwHwndNext)) {
        if (!Pickable(os, w, ours)) {
            continue;
        }
        WindowFacts facts = FactsOf(sys, w);
        if (!facts.title.empty()) {
            rows.push_back({w, std::move(facts)});
        }
    }
    return rows;
}

int Scaled(System& sys, int size) {
    const int dpi = sys.os.GetScreenDpi();
    return size * (dpi > 0 ? dpi : 96) / 96;
}

void FillPicker(Picker& p, Hwnd dlg) {
    System& sys = p.sys;
    Platform& os = sys.os;
    p.list = os.GetDlgItem(dlg, IDC_PROGRAM_LIST);
    if (p.list == 0) {
        return;
    }
    os.SendMessageA(p.list, win::kLvmSetExtendedListViewStyle,
                    win::kLvsExFullRowSelect | win::kLvsExDoubleBuffer,
                    win::kLvsExFullRowSelect | win::kLvsExDoubleBuffer);
    // The title takes what the program's file name leaves of the list's
    // width (less a scroll bar's).
    int programWidth = Scaled(sys, kProgramWidth);
    int titleWidth = Scaled(sys, kTitleWidth);
    Rect rect{};
    if (os.GetWindowRect(p.list, &rect) && rect.right - rect.left > 2 * programWidth) {
        titleWidth = rect.right - rect.left - programWidth - Scaled(sys, 24);
    }
    os.ListViewInsertColumnW(p.list, 0, u"Title", titleWidth);
    os.ListViewInsertColumnW(p.list, 1, u"Program", programWidth);
    // The small icons at the size the system shows them (DPI-aware already).
    int iconWidth = os.GetSystemMetrics(win::kSmCxSmIcon);
    int iconHeight = os.GetSystemMetrics(win::kSmCySmIcon);
    if (iconWidth <= 0 || iconHeight <= 0) {
        iconWidth = iconHeight = Scaled(sys, kSmallIcon);
    }
    const auto count = static_cast<int>(p.rows.size());
    const Handle images =
        os.ImageList_Create(iconWidth, iconHeight, win::kIlcColor32 | win::kIlcMask, count, 4);
    if (images != 0) {
        // The list view destroys it with itself.
        os.SendMessageA(p.list, win::kLvmSetImageList, win::kLvsilSmall,
                        static_cast<std::intptr_t>(images));
    }
    for (int i = 0; i < count; ++i) {
        const PickRow& row = p.rows[static_cast<std::size_t>(i)];
        const int item = os.ListViewInsertItemW(p.list, i, Utf8ToUtf16(row.facts.title).c_str());
        if (item < 0) {
            continue;
        }
        const std::string program = row.facts.exe.empty() ? std::string("?") : row.facts.exe;
        os.ListViewSetItemTextW(p.list, item, 1, Utf8ToUtf16(program).c_str());
        if (images != 0) {
            const int image =
                os.ImageList_ReplaceIcon(images, -1, os.GetWindowSmallIcon(row.window));
            if (image >= 0) {
                os.ListViewSetItemImage(p.list, item, image);
            }
        }
    }
    // The front window first selected: Enter adds it, the arrow keys move on.
    if (count > 0) {
        os.ListViewSelectItem(p.list, 0);
    }
    os.SetFocus(p.list);
}

// "Add": the selected row's window; nothing while no row is selected.
void AddSelected(Picker& p, Hwnd dlg) {
    if (p.list == 0) {
        return;
    }
    const auto item = p.sys.os.SendMessageA(p.list, win::kLvmGetNextItem,
                                            static_cast<std::uintptr_t>(-1), win::kLvniSelected);
    if (item < 0 || static_cast<std::size_t>(item) >= p.rows.size()) {
        return;
    }
    p.chosen = p.rows[static_cast<std::size_t>(item)].facts;
    p.sys.os.EndDialog(dlg, win::kIdOk);
}

std::intptr_t PickerDialogProc(void* ctx, Hwnd dlg, std::uint32_t msg, std::uintptr_t wParam,
                               std::intptr_t lParam) {
    Picker& p = *static_cast<Picker*>(ctx);
    switch (msg) {
        case win::kWmInitDialog:
            FillPicker(p, dlg);
            // The focus is set: the dialog manager leaves it on the list.
            return 0;
        case win::kWmCommand:
            switch (static_cast<int>(wParam & 0xFFFF)) {
                case win::kIdOk:
                    AddSelected(p, dlg);
                    return 1;
                case win::kIdCancel:
                    p.sys.os.EndDialog(dlg, win::kIdCancel);
                    return 1;
                default:
                    return 0;
            }
        case win::kWmNotify: {
            // A double click on a row, or Enter on it.
            const auto* header = reinterpret_cast<const NotifyHeader*>(lParam);
            if (header != nullptr && header->idFrom == IDC_PROGRAM_LIST &&
                header->code == win::kLvnItemActivate) {
                AddSelected(p, dlg);
                return 1;
            }
            return 0;
        }
        default:
            return 0;
    }
}

// --- Browse ----------------------------------------------------------------------

constexpr std::size_t kMaxBrowsePath = 1024;

// The path without the quotes a launch line puts around it.
std::string_view Unquoted(std::string_view path) {
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        return path.substr(1, path.size() - 2);
    }
    return path;
}

// --- Try -------------------------------------------------------------------------

// The first visible top-level window of another program that the section's
// match finds, in Z order; 0 when none.
Hwnd FindMatchingWindow(System& sys, const ProgramMatch& match) {
    Platform& os = sys.os;
    const std::uint32_t ours = os.GetCurrentProcessId();
    for (Hwnd w = os.GetWindow(os.GetDesktopWindow(), win::kGwChild); w != 0;
         w = os.GetWindow(w, win::kGwHwndNext)) {
        if (!os.IsWindowVisible(w) || os.GetWindowProcessId(w) == ours) {
            continue;
        }
        if (MatchesWindow(match.exe, match.windowClass, match.title, FactsOf(sys, w))) {
            return w;
        }
    }
    return 0;
}

}  // namespace

std::optional<WindowFacts> PickProgramWindow(System& sys, Hwnd owner) {
    Platform& os = sys.os;
    os.InitCommonControlsEx(win::kIccListViewClasses);
    // The windows as they are now, before the dialog adds its own.
    Picker picker{sys, PickableWindows(sys), 0, std::nullopt};
    const std::intptr_t result =
        os.DialogBoxParamA(IDD_PICK_PROGRAM, owner, PickerDialogProc, &picker);
    if (result != win::kIdOk) {
        return std::nullopt;
    }
    return picker.chosen;
}

std::optional<std::string> BrowseForProgram(System& sys, Hwnd owner, std::string_view current) {
    const std::string_view path = Unquoted(current);
    const std::string_view name = FileNamePart(path);
    // The folder of the current program, when its path gives one: the dialog
    // opens there, with the program's name filled in.
    std::u16string folder;
    if (name.size() < path.size()) {
        std::string_view dir = path.substr(0, path.size() - name.size() - 1);
        std::string text(dir);
        if (text.empty() || text.back() == ':') {
            text += '\\';
        }
        folder = Utf8ToUtf16(text);
    }
    char16_t file[kMaxBrowsePath] = {};
    const std::u16string shown = Utf8ToUtf16(folder.empty() ? name : path);
    if (shown.size() < kMaxBrowsePath) {
        shown.copy(file, shown.size());
    }
    static constexpr char16_t kFilter[] = u"Programs (*.exe)\0*.exe\0All files (*.*)\0*.*\0";
    const std::uint32_t flags = win::kOfnFileMustExist | win::kOfnPathMustExist |
                                win::kOfnHideReadOnly | win::kOfnNoChangeDir | win::kOfnExplorer |
                                win::kOfnDontAddToRecent;
    if (!sys.os.GetOpenFileNameW(owner, kFilter, folder.empty() ? nullptr : folder.c_str(), flags,
                                 file, static_cast<std::uint32_t>(kMaxBrowsePath))) {
        return std::nullopt;
    }
    file[kMaxBrowsePath - 1] = u'\0';
    return Utf16ToUtf8(file);
}

std::string TryKeyMapAction(System& sys, std::string_view section, const ProgramMatch& match,
                            const UserAction& action) {
    if (action.kind == UserActionKind::kNone) {
        return {};
    }
    // What the action did is written into an outcome of its own, as a
    // press's would be, with the section as the taker.
    PressOutcome outcome;
    PressScope scope(sys, outcome);
    NoteTaker(sys, PressTaker::kUserApp, section);
    Hwnd window = 0;
    if (action.kind != UserActionKind::kLaunch) {
        window = FindMatchingWindow(sys, match);
        if (window == 0) {
            std::string text(section);
            text += " is not running.";
            return text;
        }
        // Keystrokes bring their window to the front themselves; a message
        // is shown arriving at the window in front too.
        if (action.kind != UserActionKind::kKeys && action.kind != UserActionKind::kClose) {
            ActivateForKeystrokes(sys, window);
        }
    }
    RunUserAction(sys, window, action);
    if (!outcome.sent.empty() || outcome.why.empty()) {
        return {};
    }
    std::string text = outcome.why;
    text += '.';
    return text;
}

}  // namespace rc
