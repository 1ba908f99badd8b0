// Stand-in TV application for the end-to-end tests and the demo.
//
// One program plays every TV application that Remote Control drives: it
// opens a main window with a given class and title (and optional secondary
// windows, visible or hidden) and writes to a log, one line per event with a
// timestamp, everything that reaches it:
//   kind=start   the process started (with its command line arguments)
//   kind=ready   its windows are open and its keyboard hook is set
//   kind=queue   a message taken from its queue: posted messages and the
//                keyboard input of its windows (WM_KEYDOWN etc.)
//   kind=sent    a message sent to one of its windows from another thread
//   kind=key     a keystroke seen by its low-level keyboard hook, with the
//                event's flags and whether one of its windows had the focus
//   kind=close   it is closing, and why
//   kind=busy    its main window lost the activation and it is busy (busy=MS)
//   kind=exit    the process ends
// Each line is "HH:MM:SS.mmm t=EPOCH_MS us=EPOCH_US pid=N app=NAME
// win=main|popupN kind=... fields... what=text"; the fields before what= are
// for scripts, the text after it is for people. t= and us= are the same
// moment, in milliseconds and microseconds since 1970, on the precise system
// clock that the virtual tuner's log also uses (scripts/bench compares them).
//
// Configuration, later sources overriding earlier ones:
//   1. a built-in profile chosen by the executable's name (PowerCinema.exe,
//      Quillet.exe, ehshell.exe, TotalMedia.exe, MainPanel.exe,
//      MainCenter.exe, and player.exe for a player of the user's own), so
//      that a copy under that name needs nothing else;
//   2. a file next to the executable with its base name and ".args", holding
//      options one per line as key=value (class=..., title=..., popup=...,
//      close=..., log=...);
//   3. the command line: --class C, --title T, --popup CLASS[|TITLE[|hidden]],
//      --close MSG:WPARAM, --log PATH, --busy MS. Other arguments (such as
//      "remote") are only logged.
// The log goes to STANDIN_LOG_DIR\NAME.log (default C:\standin_logs) unless
// a log path is given.
//
// A main window title may name any character as \uXXXX (UTF-16, four hex
// digits), e.g. --title "\u041F\u043B\u0435\u0435\u0440": the title is then
// set as it is through the wide call, outside any ANSI code page.
//
// With busy=MS its thread is busy for MS ms each time its main window has
// lost the activation (an application that pauses its video): a foreground
// change back to it is carried out only after that.
//
// The application closes itself on WM_CLOSE (so also on Alt+F4) and on each
// close message of its profile (MSG with wParam WPARAM).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../common/precise_clock.h"

namespace {

struct PopupWindow {
    std::string className;
    std::string title;
    bool visible = true;
};

struct CloseMessage {
    UINT msg = 0;
    WPARAM wParam = 0;
};

struct Config {
    std::string name;  // executable base name, e.g. "Quillet"
    std::string className;
    std::string title;
    std::wstring wideTitle;  // the title with its \uXXXX escapes, when it has any
    std::vector<PopupWindow> popups;
    std::vector<CloseMessage> closes;
    std::string logPath;
    DWORD busyMs = 0;  // busy after losing the activation
    std::string args;  // arguments that are not options, as given
};

struct Profile {
    const char* exeName;
    const char* className;
    const char* title;
    CloseMessage closes[2];
};

// Window classes and titles the TV applications are known by, and the close
// messages each one obeys. Classes the program never looks at are ours.
const Profile kProfiles[] = {
    {"PowerCinema", "CyberLinkPowerCinemaFrame", "PowerCinema", {}},
    {"Quillet", "TQuilletMainForm", "Tessaryn", {{3000, 25}, {}}},
    {"ehshell", "eHome Render Window", "Windows Media Center", {}},
    {"TotalMedia", "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "ArcSoft TotalMedia", {}},
    {"MainPanel", "OrvalixMainPanel_Class", "Mirvo", {{4024, 1}, {4024, 25}}},
    {"MainCenter", "OrvalixMainPanel_Class", "Lumetra Center", {{4024, 1}, {4024, 25}}},
    // A media player of the user's own, driven through applications.ini.
    {"player", "StandinPlayer_Class", "Stand-in Player", {}},
};

Config g_config;
HWND g_main = nullptr;
std::vector<HWND> g_popups;
HHOOK g_hook = nullptr;
constexpr int kShownLines = 14;
std::vector<std::string> g_shown;  // newest last

bool ParsePopup(const std::string& text, PopupWindow* out) {
    // CLASS[|TITLE[|hidden]]
    PopupWindow entry;
    size_t bar = text.find('|');
    entry.className = text.substr(0, bar);
    if (bar != std::string::npos) {
        std::string rest = text.substr(bar + 1);
        size_t bar2 = rest.find('|');
        entry.title = rest.substr(0, bar2);
        if (bar2 != std::string::npos) {
            entry.visible = rest.substr(bar2 + 1) != "hidden";
        }
    }
    if (entry.className.empty()) {
        return false;
    }
    *out = entry;
    return true;
}

bool ParseClose(const std::string& text, CloseMessage* out) {
    unsigned msg = 0;
    unsigned long wp = 0;
    if (std::sscanf(text.c_str(), "%u:%lu", &msg, &wp) != 2) {
        return false;
    }
    out->msg = msg;
    out->wParam = wp;
    return true;
}

// The title as UTF-16 with its \uXXXX escapes; empty when it has none.
std::wstring WideTitle(const std::string& title) {
    std::wstring wide;
    bool escaped = false;
    for (size_t i = 0; i < title.size(); ++i) {
        if (title.compare(i, 2, "\\u") == 0 && i + 6 <= title.size()) {
            wide += static_cast<wchar_t>(std::strtoul(title.substr(i + 2, 4).c_str(), nullptr, 16));
            i += 5;
            escaped = true;
        } else {
            wide += static_cast<wchar_t>(static_cast<unsigned char>(title[i]));
        }
    }
    return escaped ? wide : std::wstring();
}

void ApplyOption(const std::string& key, const std::string& value) {
    if (key == "class") {
        g_config.className = value;
    } else if (key == "title") {
        g_config.title = value;
        g_config.wideTitle = WideTitle(value);
    } else if (key == "popup") {
        PopupWindow entry;
        if (ParsePopup(value, &entry)) {
            g_config.popups.push_back(entry);
        }
    } else if (key == "close") {
        CloseMessage entry;
        if (ParseClose(value, &entry)) {
            g_config.closes.push_back(entry);
        }
    } else if (key == "log") {
        g_config.logPath = value;
    } else if (key == "busy") {
        g_config.busyMs = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 10));
    }
}

std::string ExePath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

void ReadArgsFile(const std::string& exePath) {
    std::string argsPath = exePath;
    size_t dot = argsPath.find_last_of('.');
    size_t slash = argsPath.find_last_of("\\/");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        argsPath.resize(dot);
    }
    argsPath += ".args";
    FILE* file = std::fopen(argsPath.c_str(), "r");
    if (file == nullptr) {
        return;
    }
    char line[512];
    while (std::fgets(line, sizeof line, file) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
            text.pop_back();
        }
        if (text.empty() || text[0] == '#') {
            continue;
        }
        size_t eq = text.find('=');
        if (eq != std::string::npos) {
            ApplyOption(text.substr(0, eq), text.substr(eq + 1));
        }
    }
    std::fclose(file);
}

void Configure() {
    std::string exePath = ExePath();
    size_t slash = exePath.find_last_of("\\/");
    std::string base = exePath.substr(slash == std::string::npos ? 0 : slash + 1);
    size_t dot = base.find_last_of('.');
    if (dot != std::string::npos) {
        base.resize(dot);
    }
    g_config.name = base;
    g_config.className = "StandinApp_Class";
    g_config.title = base;
    for (const Profile& p : kProfiles) {
        if (lstrcmpiA(p.exeName, base.c_str()) == 0) {
            g_config.className = p.className;
            g_config.title = p.title;
            for (const CloseMessage& c : p.closes) {
                if (c.msg != 0) {
                    g_config.closes.push_back(c);
                }
            }
        }
    }
    ReadArgsFile(exePath);
    for (int i = 1; i < __argc; ++i) {
        std::string arg = __argv[i];
        bool hasValue = i + 1 < __argc;
        if (hasValue && (arg == "--class" || arg == "--title" || arg == "--popup" ||
                         arg == "--close" || arg == "--log" || arg == "--busy")) {
            ApplyOption(arg.substr(2), __argv[++i]);
        } else {
            if (!g_config.args.empty()) {
                g_config.args += ' ';
            }
            g_config.args += arg;
        }
    }
    if (g_config.logPath.empty()) {
        char dir[MAX_PATH];
        DWORD n = GetEnvironmentVariableA("STANDIN_LOG_DIR", dir, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) {
            lstrcpynA(dir, "C:\\standin_logs", MAX_PATH);
        }
        CreateDirectoryA(dir, nullptr);
        g_config.logPath = std::string(dir) + "\\" + base + ".log";
    }
}

// --- Log ---------------------------------------------------------------------

void Log(const char* win, const char* fields, const char* what) {
    unsigned long long us = NowUs();
    unsigned long long ms = us / 1000ULL;
    SYSTEMTIME local;
    GetLocalTime(&local);
    char line[1400];
    int n = std::snprintf(line, sizeof line,
                          "%02u:%02u:%02u.%03u t=%llu us=%llu pid=%lu app=%s win=%s %s what=%s\r\n",
                          local.wHour, local.wMinute, local.wSecond, local.wMilliseconds, ms, us,
                          GetCurrentProcessId(), g_config.name.c_str(), win, fields, what);
    if (n <= 0) {
        return;
    }
    if (n >= static_cast<int>(sizeof line)) {
        n = sizeof line - 1;
    }
    HANDLE file = CreateFileA(g_config.logPath.c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr);
        CloseHandle(file);
    }
    char shown[300];
    std::snprintf(shown, sizeof shown, "%02u:%02u:%02u.%03u  %s  %s", local.wHour, local.wMinute,
                  local.wSecond, local.wMilliseconds, win, what);
    g_shown.push_back(shown);
    if (g_shown.size() > kShownLines) {
        g_shown.erase(g_shown.begin());
    }
    if (g_main != nullptr) {
        InvalidateRect(g_main, nullptr, TRUE);
    }
}

const char* WindowTag(HWND hwnd, char* buffer, size_t size) {
    if (hwnd == g_main) {
        return "main";
    }
    for (size_t i = 0; i < g_popups.size(); ++i) {
        if (g_popups[i] == hwnd) {
            std::snprintf(buffer, size, "popup%u", static_cast<unsigned>(i + 1));
            return buffer;
        }
    }
    std::snprintf(buffer, size, "other");
    return buffer;
}

bool IsOurWindow(HWND hwnd) {
    if (hwnd == nullptr) {
        return false;
    }
    if (hwnd == g_main) {
        return true;
    }
    for (HWND p : g_popups) {
        if (p == hwnd) {
            return true;
        }
    }
    return false;
}

std::string KeyName(unsigned vk) {
    char buffer[32];
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        std::snprintf(buffer, sizeof buffer, "%c", static_cast<char>(vk));
        return buffer;
    }
    if (vk >= VK_F1 && vk <= VK_F24) {
        std::snprintf(buffer, sizeof buffer, "F%u", vk - VK_F1 + 1);
        return buffer;
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) {
        std::snprintf(buffer, sizeof buffer, "NUMPAD%u", vk - VK_NUMPAD0);
        return buffer;
    }
    switch (vk) {
        case VK_BACK:
            return "BACKSPACE";
        case VK_TAB:
            return "TAB";
        case VK_RETURN:
            return "ENTER";
        case VK_SHIFT:
            return "SHIFT";
        case VK_CONTROL:
            return "CTRL";
        case VK_MENU:
            return "ALT";
        case VK_ESCAPE:
            return "ESC";
        case VK_SPACE:
            return "SPACE";
        case VK_PRIOR:
            return "PAGEUP";
        case VK_NEXT:
            return "PAGEDOWN";
        case VK_LEFT:
            return "LEFT";
        case VK_UP:
            return "UP";
        case VK_RIGHT:
            return "RIGHT";
        case VK_DOWN:
            return "DOWN";
        case VK_LWIN:
            return "LWIN";
        case VK_ADD:
            return "NUMPAD+";
        case VK_SUBTRACT:
            return "NUMPAD-";
        case VK_LSHIFT:
            return "LSHIFT";
        case VK_RSHIFT:
            return "RSHIFT";
        case VK_LCONTROL:
            return "LCTRL";
        case VK_RCONTROL:
            return "RCTRL";
        case VK_LMENU:
            return "LALT";
        case VK_RMENU:
            return "RALT";
        default:
            break;
    }
    std::snprintf(buffer, sizeof buffer, "VK_%u", vk);
    return buffer;
}

const char* MessageName(UINT msg) {
    switch (msg) {
        case WM_KEYDOWN:
            return "WM_KEYDOWN";
        case WM_KEYUP:
            return "WM_KEYUP";
        case WM_SYSKEYDOWN:
            return "WM_SYSKEYDOWN";
        case WM_SYSKEYUP:
            return "WM_SYSKEYUP";
        case WM_CHAR:
            return "WM_CHAR";
        case WM_SYSCHAR:
            return "WM_SYSCHAR";
        case WM_CLOSE:
            return "WM_CLOSE";
        case WM_COMMAND:
            return "WM_COMMAND";
        case WM_SYSCOMMAND:
            return "WM_SYSCOMMAND";
        case WM_APPCOMMAND:
            return "WM_APPCOMMAND";
        case WM_QUIT:
            return "WM_QUIT";
        case WM_LBUTTONDOWN:
            return "WM_LBUTTONDOWN";
        case WM_LBUTTONUP:
            return "WM_LBUTTONUP";
        case WM_RBUTTONDOWN:
            return "WM_RBUTTONDOWN";
        case WM_RBUTTONUP:
            return "WM_RBUTTONUP";
        default:
            return nullptr;
    }
}

// Messages that say nothing about what the program sent.
bool IsNoise(UINT msg) {
    switch (msg) {
        case WM_NULL:
        case WM_PAINT:
        case WM_NCPAINT:
        case WM_ERASEBKGND:
        case WM_TIMER:
        case 0x0118:  // WM_SYSTIMER
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_MOUSELEAVE:
        case WM_NCMOUSELEAVE:
        case WM_SETCURSOR:
        case WM_NCHITTEST:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
        case WM_GETICON:
        case WM_GETMINMAXINFO:
        case WM_WINDOWPOSCHANGING:
        case WM_WINDOWPOSCHANGED:
        case WM_GETOBJECT:
            return true;
        default:
            return false;
    }
}

void LogMessage(const char* kind, const MSG& m) {
    if (IsNoise(m.message)) {
        return;
    }
    char tag[16];
    const char* win = WindowTag(m.hwnd, tag, sizeof tag);
    char fields[256];
    std::snprintf(fields, sizeof fields, "kind=%s msg=%u wparam=%lu lparam=0x%08lX", kind,
                  m.message, static_cast<unsigned long>(m.wParam),
                  static_cast<unsigned long>(m.lParam));
    char what[160];
    const char* name = MessageName(m.message);
    if (m.message == WM_KEYDOWN || m.message == WM_KEYUP || m.message == WM_SYSKEYDOWN ||
        m.message == WM_SYSKEYUP) {
        std::snprintf(what, sizeof what, "%s %s", name,
                      KeyName(static_cast<unsigned>(m.wParam)).c_str());
    } else if (m.message == WM_APPCOMMAND) {
        std::snprintf(what, sizeof what, "WM_APPCOMMAND command %u",
                      static_cast<unsigned>(GET_APPCOMMAND_LPARAM(m.lParam)));
    } else if (name != nullptr) {
        std::snprintf(what, sizeof what, "%s wParam %lu", name,
                      static_cast<unsigned long>(m.wParam));
    } else {
        std::snprintf(what, sizeof what, "message %u wParam %lu", m.message,
                      static_cast<unsigned long>(m.wParam));
    }
    Log(win, fields, what);
}

void CloseBecause(const char* reason) {
    char fields[128];
    std::snprintf(fields, sizeof fields, "kind=close reason=%s", reason);
    Log("main", fields, "closing");
    if (g_main != nullptr) {
        DestroyWindow(g_main);
    }
}

// --- Keyboard hook -----------------------------------------------------------

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const KBDLLHOOKSTRUCT* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        bool up = (k->flags & LLKHF_UP) != 0;
        HWND fg = GetForegroundWindow();
        char fields[200];
        std::snprintf(fields, sizeof fields,
                      "kind=key vk=%lu dir=%s msg=%u flags=0x%02lX injected=%d extended=%d fg=%d",
                      static_cast<unsigned long>(k->vkCode), up ? "up" : "down",
                      static_cast<unsigned>(wParam), static_cast<unsigned long>(k->flags),
                      (k->flags & LLKHF_INJECTED) ? 1 : 0, (k->flags & LLKHF_EXTENDED) ? 1 : 0,
                      IsOurWindow(fg) ? 1 : 0);
        char what[96];
        std::snprintf(what, sizeof what, "key %s %s%s", KeyName(k->vkCode).c_str(),
                      up ? "up" : "down", IsOurWindow(fg) ? "" : " (another window has the focus)");
        Log("main", fields, what);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

// --- Windows -----------------------------------------------------------------

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    char header[300];
    std::snprintf(header, sizeof header, "Stand-in for %s  (class %s, pid %lu)",
                  g_config.name.c_str(), g_config.className.c_str(), GetCurrentProcessId());
    int y = 6;
    TextOutA(dc, 8, y, header, lstrlenA(header));
    y += 20;
    if (hwnd == g_main) {
        const char* caption = "Received:";
        TextOutA(dc, 8, y, caption, lstrlenA(caption));
        y += 18;
        for (const std::string& line : g_shown) {
            TextOutA(dc, 16, y, line.c_str(), static_cast<int>(line.size()));
            y += 16;
        }
    }
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

constexpr UINT kBusyMessage = WM_APP + 77;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (InSendMessage() && !IsNoise(msg)) {
        MSG m = {};
        m.hwnd = hwnd;
        m.message = msg;
        m.wParam = wParam;
        m.lParam = lParam;
        LogMessage("sent", m);
    }
    switch (msg) {
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_ACTIVATE:
            // Busy once the deactivation is over (a posted message), so that
            // the activation is gone meanwhile.
            if (hwnd == g_main && LOWORD(wParam) == WA_INACTIVE && g_config.busyMs != 0) {
                PostMessageA(hwnd, kBusyMessage, 0, 0);
            }
            break;
        case kBusyMessage: {
            char fields[64];
            std::snprintf(fields, sizeof fields, "kind=busy ms=%lu",
                          static_cast<unsigned long>(g_config.busyMs));
            Log("main", fields, "lost the activation, busy");
            Sleep(g_config.busyMs);
            return 0;
        }
        case WM_CLOSE:
            if (hwnd == g_main) {
                CloseBecause("WM_CLOSE");
                return 0;
            }
            break;
        case WM_APPCOMMAND:
            return TRUE;  // handled, as a player does: not passed on to the shell
        case WM_DESTROY:
            if (hwnd == g_main) {
                g_main = nullptr;
                PostQuitMessage(0);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterClassOnce(const std::string& name, HINSTANCE instance) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, name.c_str(), &existing)) {
        return;
    }
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name.c_str();
    RegisterClassExA(&wc);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Configure();

    char fields[1100];
    std::snprintf(fields, sizeof fields,
                  "kind=start args=\"%s\" class=\"%s\" title=\"%s\" exe=\"%s\"",
                  g_config.args.c_str(), g_config.className.c_str(), g_config.title.c_str(),
                  ExePath().c_str());
    char what[400];
    std::snprintf(what, sizeof what, "started with arguments \"%s\"", g_config.args.c_str());
    Log("main", fields, what);

    RegisterClassOnce(g_config.className, instance);
    g_main = CreateWindowExA(0, g_config.className.c_str(), g_config.title.c_str(),
                             WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 520, 330, nullptr,
                             nullptr, instance, nullptr);
    if (g_main == nullptr) {
        Log("main", "kind=exit code=1", "could not create the main window");
        return 1;
    }
    if (!g_config.wideTitle.empty()) {
        // DefWindowProcW keeps the text as it is; SetWindowTextW would pass
        // it through the ANSI window procedure and its code page.
        DefWindowProcW(g_main, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(g_config.wideTitle.c_str()));
    }
    ShowWindow(g_main, SW_SHOW);
    UpdateWindow(g_main);
    SetForegroundWindow(g_main);

    for (const PopupWindow& entry : g_config.popups) {
        RegisterClassOnce(entry.className, instance);
        HWND popup = CreateWindowExA(0, entry.className.c_str(), entry.title.c_str(),
                                     WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320, 120,
                                     nullptr, nullptr, instance, nullptr);
        g_popups.push_back(popup);
        if (popup != nullptr && entry.visible) {
            ShowWindow(popup, SW_SHOWNOACTIVATE);
        }
        char pf[300];
        std::snprintf(pf, sizeof pf, "kind=popup class=\"%s\" title=\"%s\" visible=%d",
                      entry.className.c_str(), entry.title.c_str(), entry.visible ? 1 : 0);
        Log("main", pf, "secondary window created");
    }

    g_hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHook, instance, 0);
    Log("main", g_hook != nullptr ? "kind=ready hook=1" : "kind=ready hook=0",
        "windows open, keyboard hook set");

    MSG m;
    int code = 0;
    for (;;) {
        BOOL got = GetMessageA(&m, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            code = got == 0 ? static_cast<int>(m.wParam) : 1;
            break;
        }
        LogMessage("queue", m);
        bool closing = false;
        if (m.hwnd != nullptr && IsOurWindow(m.hwnd)) {
            for (const CloseMessage& c : g_config.closes) {
                if (m.message == c.msg && m.wParam == c.wParam) {
                    char reason[64];
                    std::snprintf(reason, sizeof reason, "message_%u_%lu", c.msg,
                                  static_cast<unsigned long>(c.wParam));
                    CloseBecause(reason);
                    closing = true;
                    break;
                }
            }
        }
        if (closing) {
            continue;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    if (g_hook != nullptr) {
        UnhookWindowsHookEx(g_hook);
    }
    for (HWND p : g_popups) {
        if (p != nullptr) {
            DestroyWindow(p);
        }
    }
    char ef[64];
    std::snprintf(ef, sizeof ef, "kind=exit code=%d", code);
    Log("main", ef, "exited");
    return code;
}
