#include "shell/monitor.h"

#include <cstdio>
#include <set>
#include <string_view>

#include "apps/button_names.h"
#include "apps/user_apps.h"
#include "apps/user_apps_setup.h"
#include "core/system.h"
#include "core/text.h"
#include "platform/win_defs.h"
#include "settings/window_placement.h"
#include "shell/key_maps.h"

namespace rc {

namespace {

constexpr char kMonitorClass[] = "Remote Control Monitor";
constexpr char kMonitorTitle[] = "Button monitor";
constexpr std::uint32_t kAppIcon = 50;
constexpr char kPlacementName[] = "Monitor";
constexpr char kNoName[] = "\xE2\x80\x94";  // "—"

// The controls' ids.
constexpr std::uint32_t kListId = 100;
constexpr std::uint32_t kFactsId = 101;
constexpr std::uint32_t kCopyId = 102;
constexpr std::uint32_t kEditId = 103;
constexpr std::uint32_t kKeyMapsId = 104;

// Sizes at 96 DPI, scaled to the screen's.
constexpr int kMargin = 8;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 26;
constexpr int kFactsHeight = 88;
// The default size, within 90 % × 80 % of the screen, and the smallest,
// which keeps the buttons side by side.
constexpr WindowSizes kSizes{820, 480, 90, 80, 420, 300};

struct Column {
    const char16_t* title;
    int width;
};
constexpr Column kColumns[] = {
    {u"Time", 90},   {u"KeyCode", 70},           {u"Button", 70},
    {u"Repeat", 55}, {u"Program in front", 220}, {u"What happened", 260},
};

ButtonMonitor& Monitor(const System& sys) {
    return *sys.monitor;
}

int Scale(const ButtonMonitor& m, int size) {
    return size * m.dpi / 96;
}

std::string ProgramText(const MonitorRow& row) {
    std::string text = row.exe.empty() ? std::string("?") : row.exe;
    if (!row.windowClass.empty()) {
        text += " [";
        text += row.windowClass;
        text += "]";
    }
    if (!row.title.empty()) {
        text += " \"";
        text += row.title;
        text += "\"";
    }
    return text;
}

std::u16string Wide(std::string_view text) {
    return Utf8ToUtf16(text);
}

// The row's texts, column by column.
void ShowRow(System& sys, const MonitorRow& row) {
    ButtonMonitor& m = Monitor(sys);
    Platform& os = sys.os;
    const int at = static_cast<int>(os.SendMessageA(m.list, win::kLvmGetItemCount, 0, 0));
    const int item = os.ListViewInsertItemW(m.list, at, Wide(row.time).c_str());
    if (item < 0) {
        return;
    }
    const std::string texts[] = {std::to_string(row.keyCode), row.button,
                                 row.repeat ? "repeat" : "", ProgramText(row), row.outcome};
    int sub = 1;
    for (const std::string& text : texts) {
        os.ListViewSetItemTextW(m.list, item, sub++, Wide(text).c_str());
    }
}

void ShowFacts(System& sys) {
    ButtonMonitor& m = Monitor(sys);
    if (m.facts == 0) {
        return;
    }
    // The file as it is now: looked at (and read again if it changed).
    WatchUserApps(sys);
    std::string text = ReceiverStateText(sys);
    text += "\r\n";
    text += KeyMapText(sys);
    sys.os.SetWindowTextW(m.facts, Wide(text).c_str());
}

void LayOut(System& sys, int width, int height) {
    ButtonMonitor& m = Monitor(sys);
    Platform& os = sys.os;
    const int margin = Scale(m, kMargin);
    const int buttonWidth = Scale(m, kButtonWidth);
    const int buttonHeight = Scale(m, kButtonHeight);
    const int factsHeight = Scale(m, kFactsHeight);
    const std::uint32_t flags = win::kSwpNoZOrder | win::kSwpNoActivate;
    const int buttonsTop = height - margin - buttonHeight;
    const int factsTop = buttonsTop - margin - factsHeight;
    const int listHeight = factsTop - 2 * margin;
    os.SetWindowPos(m.list, 0, margin, margin, width - 2 * margin, listHeight > 0 ? listHeight : 0,
                    flags);
    os.SetWindowPos(m.facts, 0, margin, factsTop, width - 2 * margin, factsHeight, flags);
    os.SetWindowPos(m.copyButton, 0, margin, buttonsTop, buttonWidth, buttonHeight, flags);
    os.SetWindowPos(m.editButton, 0, 2 * margin + buttonWidth, buttonsTop, buttonWidth,
                    buttonHeight, flags);
    os.SetWindowPos(m.keyMapsButton, 0, 3 * margin + 2 * buttonWidth, buttonsTop, buttonWidth,
                    buttonHeight, flags);
}

Hwnd MakeControl(System& sys, Hwnd parent, std::uint32_t exStyle, const char* className,
                 const char* text, std::uint32_t style, std::uint32_t id) {
    ButtonMonitor& m = Monitor(sys);
    Hwnd control = sys.os.CreateWindowExA(exStyle, className, text,
                                          win::kWsChild | win::kWsVisible | win::kWsTabStop | style,
                                          0, 0, 0, 0, parent, id);
    if (control != 0 && m.font != 0) {
        sys.os.SendMessageA(control, win::kWmSetFont, m.font, 0);
    }
    return control;
}

bool OnCreate(System& sys, Hwnd hwnd) {
    ButtonMonitor& m = Monitor(sys);
    Platform& os = sys.os;
    m.window = hwnd;
    m.list = MakeControl(sys, hwnd, win::kWsExClientEdge, "SysListView32", "",
                         win::kLvsReport | win::kLvsShowSelAlways | win::kLvsNoSortHeader, kListId);
    if (m.list == 0) {
        return false;
    }
    os.SendMessageA(m.list, win::kLvmSetExtendedListViewStyle,
                    win::kLvsExFullRowSelect | win::kLvsExDoubleBuffer,
                    win::kLvsExFullRowSelect | win::kLvsExDoubleBuffer);
    int index = 0;
    for (const Column& column : kColumns) {
        os.ListViewInsertColumnW(m.list, index++, column.title, Scale(m, column.width));
    }
    m.facts = MakeControl(
        sys, hwnd, win::kWsExClientEdge, "EDIT", "",
        win::kEsMultiline | win::kEsReadOnly | win::kEsAutoVScroll | win::kWsVScroll, kFactsId);
    m.copyButton =
        MakeControl(sys, hwnd, 0, "BUTTON", "&Copy section", win::kBsPushButton, kCopyId);
    m.editButton =
        MakeControl(sys, hwnd, 0, "BUTTON", "&Edit key maps", win::kBsPushButton, kEditId);
    m.keyMapsButton =
        MakeControl(sys, hwnd, 0, "BUTTON", "&Key maps...", win::kBsPushButton, kKeyMapsId);
    for (const MonitorRow& row : m.rows) {
        ShowRow(sys, row);
    }
    if (!m.rows.empty()) {
        os.SendMessageA(m.list, win::kLvmEnsureVisible, m.rows.size() - 1, 0);
    }
    ShowFacts(sys);
    return true;
}

void OnDestroy(System& sys, Hwnd hwnd) {
    ButtonMonitor& m = Monitor(sys);
    Rect rect{};
    if (sys.os.GetWindowRect(hwnd, &rect)) {
        SaveWindowPlacement(sys, kPlacementName, rect);
    }
    if (m.font != 0) {
        sys.os.DeleteObject(m.font);
    }
    m.window = m.list = m.facts = m.copyButton = m.editButton = m.keyMapsButton = 0;
    m.font = 0;
}

void CopySection(System& sys, Hwnd hwnd) {
    const std::string text = CopySectionText(sys);
    if (text.empty()) {
        sys.os.MessageBoxA(hwnd, "No press was made with another program in front yet.",
                           kMonitorTitle, win::kMbOk | win::kMbIconInformation);
        return;
    }
    if (!sys.os.SetClipboardTextW(hwnd, Wide(text).c_str())) {
        sys.os.MessageBoxA(hwnd, "The clipboard is in use by another program. Try again.",
                           kMonitorTitle, win::kMbOk | win::kMbIconWarning);
    }
}

std::string TwoDigits(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02u", value % 100);
    return text;
}

}  // namespace

std::string OutcomeText(const PressOutcome& outcome) {
    if (!outcome.sent.empty()) {
        std::string text;
        switch (outcome.taker) {
            case PressTaker::kBuiltInApp:
            case PressTaker::kUserApp:
                text = outcome.name;
                break;
            case PressTaker::kPointer:
                text = "pointer";
                break;
            case PressTaker::kShutdownDialog:
                text = "Shut Down dialog";
                break;
            case PressTaker::kNobody:
                break;
        }
        if (!text.empty()) {
            text += ": ";
        }
        text += outcome.sent;
        return text;
    }
    if (!outcome.why.empty()) {
        return "nothing sent: " + outcome.why;
    }
    return "nothing sent";
}

MonitorRow MakeMonitorRow(System& sys, const Press& press, const PressOutcome& outcome) {
    MonitorRow row;
    LocalTime now{};
    sys.os.GetLocalTime(&now);
    char time[16];
    std::snprintf(time, sizeof time, "%s:%s:%s.%03u", TwoDigits(now.hour).c_str(),
                  TwoDigits(now.minute).c_str(), TwoDigits(now.second).c_str(),
                  static_cast<unsigned>(now.milliseconds % 1000));
    row.time = time;
    row.keyCode = press.keyCode;
    const char* name = ButtonNameOf(sys.nIRKEYType, press.keyCode);
    row.button = name != nullptr ? name : kNoName;
    row.repeat = press.repeat;
    const Hwnd front = sys.os.GetForegroundWindow();
    if (front != 0) {
        WindowFacts facts = FactsOf(sys, front);
        row.exe = std::move(facts.exe);
        row.windowClass = std::move(facts.windowClass);
        row.title = std::move(facts.title);
        row.ours = sys.os.GetWindowProcessId(front) == sys.os.GetCurrentProcessId();
    }
    row.outcome = OutcomeText(outcome);
    return row;
}

void AddMonitorRow(System& sys, const Press& press, const PressOutcome& outcome) {
    ButtonMonitor& m = Monitor(sys);
    m.rows.push_back(MakeMonitorRow(sys, press, outcome));
    const bool full = m.rows.size() > kMonitorRows;
    if (full) {
        m.rows.pop_front();
    }
    if (m.window == 0 || m.list == 0) {
        return;
    }
    Platform& os = sys.os;
    if (full) {
        os.SendMessageA(m.list, win::kLvmDeleteItem, 0, 0);
    }
    ShowRow(sys, m.rows.back());
    const auto count = os.SendMessageA(m.list, win::kLvmGetItemCount, 0, 0);
    if (count > 0) {
        os.SendMessageA(m.list, win::kLvmEnsureVisible, static_cast<std::uintptr_t>(count - 1), 0);
    }
    ShowFacts(sys);
}

std::string ReceiverStateText(const System& sys) {
    std::string text = "Receiver: ";
    const ChipLibraries& libs = sys.libs;
    const char* library = nullptr;
    bool loaded = false;
    switch (sys.chipType) {
        case kChipAf9015:
            text += "AF9015";
            library = "af15bdaex.dll";
            loaded = libs.af15Module != 0;
            break;
        case kChipIt9135:
            text += "IT9135";
            library = "af9100ex.dll";
            loaded = libs.af9100Module != 0;
            break;
        case kChipConexant:
            text += "Conexant (HID)";
            break;
        case kChipRtl2832u:
            text += "RTL2832U";
            library = "RTL283XACCESS.dll";
            loaded = libs.rtlModule != 0;
            break;
        default:
            text += "no tuner found";
            break;
    }
    if (sys.gpioTimer.armed) {
        text += ", polling every 65 ms";
    } else if (sys.chkUsbTimer.armed) {
        text += ", watched for every 3 s";
    } else {
        text += ", not polled";
    }
    if (library == nullptr) {
        text += sys.chipType == kChipConexant ? ", no library needed" : "";
    } else {
        text += loaded ? ", library " : ", library not loaded: ";
        text += library;
    }
    return text;
}

std::string KeyMapText(const System& sys) {
    const UserApps& user = *sys.userApps;
    std::string text = "Key maps: ";
    text += user.path.empty() ? std::string("applications.ini (not looked at yet)") : user.path;
    if (!user.fileSeen) {
        text += user.path.empty() ? "" : " (missing)";
        return text;
    }
    if (user.problems.empty()) {
        text += " (no problems at the last read)";
        return text;
    }
    text += " (problems at the last read:)";
    for (const std::string& problem : user.problems) {
        text += "\r\n    ";
        text += problem;
    }
    return text;
}

std::string CopySectionText(const System& sys) {
    const ButtonMonitor& m = Monitor(sys);
    const MonitorRow* last = nullptr;
    for (auto it = m.rows.rbegin(); it != m.rows.rend() && last == nullptr; ++it) {
        if (!it->ours && !it->exe.empty()) {
            last = &*it;
        }
    }
    if (last == nullptr) {
        return {};
    }
    std::string_view stem = last->exe;
    if (const auto dot = stem.rfind('.'); dot != std::string_view::npos && dot > 0) {
        stem = stem.substr(0, dot);
    }
    std::string text = "[";
    text.append(stem);
    text += "]\r\nExe = ";
    text += last->exe;
    text += "\r\n";
    std::set<std::string> seen;
    for (const MonitorRow& row : m.rows) {
        if (row.repeat || row.ours || !SameText(row.exe, last->exe)) {
            continue;
        }
        std::string button = row.button == kNoName ? std::to_string(row.keyCode) : row.button;
        if (seen.insert(button).second) {
            text += "; ";
            text += button;
            text += " = \r\n";
        }
    }
    return text;
}

void OpenButtonMonitor(System& sys) {
    ButtonMonitor& m = Monitor(sys);
    Platform& os = sys.os;
    if (m.window != 0) {
        os.ShowWindow(m.window, win::kSwRestore);
        os.SetForegroundWindow(m.window);
        return;
    }
    if (!m.classRegistered) {
        os.InitCommonControlsEx(win::kIccListViewClasses);
        m.classRegistered =
            os.RegisterWindowClass(kMonitorClass, kAppIcon, MonitorWindowProc, &sys);
        if (!m.classRegistered) {
            return;
        }
    }
    m.dpi = os.GetScreenDpi();
    if (m.dpi <= 0) {
        m.dpi = 96;
    }
    m.font = os.CreateMessageFont();
    const WindowOpening at = PlaceOpeningWindow(sys, kPlacementName, kSizes, m.dpi);
    m.minWidth = at.minWidth;
    m.minHeight = at.minHeight;
    const Hwnd window =
        os.CreateWindowExA(win::kWsExControlParent, kMonitorClass, kMonitorTitle,
                           win::kWsOverlappedWindow, at.x, at.y, at.width, at.height, 0, 0);
    if (window == 0) {
        if (m.font != 0) {
            os.DeleteObject(m.font);
            m.font = 0;
        }
        return;
    }
    os.ShowWindow(window, win::kSwShowNormal);
    os.SetForegroundWindow(window);
}

void EditKeyMaps(System& sys, Hwnd owner) {
    Platform& os = sys.os;
    CopyExampleUserApps(sys);
    char16_t folder[win::kMaxPath] = {};
    if (os.SHGetFolderPathW(win::kCsidlAppData, folder) != 0) {
        os.MessageBoxA(owner, "The folder of applications.ini can't be found.", kMonitorTitle,
                       win::kMbOk | win::kMbIconWarning);
        return;
    }
    folder[win::kMaxPath - 1] = u'\0';
    std::u16string path = folder;
    path += u"\\Remote Control\\applications.ini";
    if (os.ShellExecuteW(owner, u"edit", path.c_str(), nullptr, nullptr, win::kSwShowNormal) > 32) {
        return;
    }
    const std::u16string quoted = u"\"" + path + u"\"";
    os.ShellExecuteW(owner, u"open", u"notepad.exe", quoted.c_str(), nullptr, win::kSwShowNormal);
}

std::intptr_t MonitorWindowProc(void* ctx, Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                std::intptr_t lParam) {
    System& sys = *static_cast<System*>(ctx);
    switch (msg) {
        case win::kWmCreate:
            return OnCreate(sys, hwnd) ? 0 : -1;
        case win::kWmGetMinMaxInfo:
            sys.os.SetMinTrackSize(lParam, Monitor(sys).minWidth, Monitor(sys).minHeight);
            return 0;
        case win::kWmSize:
            LayOut(sys, static_cast<int>(lParam & 0xFFFF),
                   static_cast<int>((lParam >> 16) & 0xFFFF));
            return 0;
        case win::kWmCommand:
            switch (wParam & 0xFFFF) {
                case kCopyId:
                    CopySection(sys, hwnd);
                    return 0;
                case kEditId:
                    EditKeyMaps(sys, hwnd);
                    return 0;
                case kKeyMapsId:
                    OpenKeyMaps(sys);
                    return 0;
                case static_cast<std::uintptr_t>(win::kIdCancel):
                    sys.os.DestroyWindow(hwnd);
                    return 0;
                default:
                    break;
            }
            break;
        case win::kWmSetFocus:
            // Activated, the window gives the keyboard to the list.
            if (Monitor(sys).list != 0) {
                sys.os.SetFocus(Monitor(sys).list);
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
