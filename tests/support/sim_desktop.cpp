#include "support/sim_desktop.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <set>
#include <utility>

#include "platform/win_defs.h"
#include "receiver/chip_libraries.h"

namespace rc {

namespace {

constexpr Hwnd kDesktop = 0x10010;
constexpr Hwnd kFirstWindow = 0x20000;
constexpr Handle kFirstRegKey = 0x3000;
constexpr Handle kFirstMenu = 0x5000;
constexpr Handle kFirstDeviceObject = 0x7000;
constexpr Handle kFirstKernelObject = 0x9000;
constexpr Handle kFirstModule = 0x10000000;
constexpr Handle kAcceleratorHandle = 0x6023;
constexpr std::uint32_t kFirstRegisteredMessage = 0xC000;
constexpr std::uint32_t kMinimumTimerPeriod = 10;  // USER_TIMER_MINIMUM
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorKeyDeleted = 1018;
constexpr long kHidpStatusInvalidPreparsedData = static_cast<long>(0xC0110001u);
// What asks to write a key: KEY_SET_VALUE, KEY_CREATE_SUB_KEY,
// KEY_CREATE_LINK, DELETE, WRITE_DAC, WRITE_OWNER, GENERIC_ALL, GENERIC_WRITE.
constexpr std::uint32_t kKeyWriteRights =
    0x0002 | 0x0004 | 0x0020 | 0x00010000 | 0x00040000 | 0x00080000 | 0x10000000 | 0x40000000;
constexpr std::size_t kMaxPath = 260;  // MAX_PATH, with the NUL
constexpr std::uint32_t kGwHwndFirst = 0;
constexpr std::uint32_t kGwHwndLast = 1;
constexpr std::uint32_t kGwHwndPrev = 3;
constexpr std::uint32_t kMouseEventMove = 0x0001;
constexpr std::uint32_t kMouseEventAbsolute = 0x8000;
constexpr std::uint32_t kSwpNoMove = 0x0002;
constexpr Hwnd kHwndNoTopmost = static_cast<Hwnd>(-2);

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool SameText(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}

std::string Text(const char* text) {
    return text ? std::string(text) : std::string();
}

// A registry path without leading, trailing or doubled backslashes.
std::string Normalize(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == '\\' && (out.empty() || out.back() == '\\')) {
            continue;
        }
        out += c;
    }
    while (!out.empty() && out.back() == '\\') {
        out.pop_back();
    }
    return out;
}

// A registry path as the table keeps it: normalized, lower case.
std::string KeyPath(const std::string& path) {
    return Lower(Normalize(path));
}

// A subkey's path under a base path (the subkey's names keep their case).
std::string JoinKey(const std::string& base, const std::string& sub) {
    std::string s = Normalize(sub);
    if (base.empty()) {
        return s;
    }
    return s.empty() ? base : base + "\\" + s;
}

// Copies text into a buffer of max bytes, truncating and terminating as the
// Windows string functions do; gives the number of characters copied.
int CopyTruncated(const std::string& text, char* buffer, int max) {
    if (!buffer || max <= 0) {
        return 0;
    }
    int n = std::min(static_cast<int>(text.size()), max - 1);
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

// A profile file as Windows' profile API reads it: the sections in file
// order, each with its lines. Blank lines and lines whose first non-blank is
// ';' are dropped; "[name]" (up to the last ']') starts a section; any other
// line is a key, trimmed, with its value after the first '=', trimmed, or no
// '=' at all. Lines before the first section belong to no section.
struct ProfileSection {
    std::string name;
    std::vector<std::string> lines;  // "key=value", or the line without '='
};

std::string Trim(const std::string& text) {
    std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) {
        return std::string();
    }
    std::size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

std::vector<ProfileSection> ParseProfile(const std::string& text) {
    std::vector<ProfileSection> sections;
    bool inSection = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        line = Trim(line);
        if (line.empty() || line[0] == ';') {
            continue;
        }
        std::size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string::npos) {
            sections.push_back({line.substr(1, close - 1), {}});
            inSection = true;
            continue;
        }
        if (!inSection) {
            continue;
        }
        std::size_t eq = line.find('=');
        sections.back().lines.push_back(eq == std::string::npos ? line
                                                                : Trim(line.substr(0, eq)) + "=" +
                                                                      Trim(line.substr(eq + 1)));
    }
    return sections;
}

// Writes strings as a NUL-separated list ended by one more NUL, cut as
// Windows cuts it; gives the profile API's result.
std::uint32_t CopyStringList(const std::vector<std::string>& strings, char* buffer,
                             std::uint32_t size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    std::string list;
    for (const std::string& s : strings) {
        list += s;
        list += '\0';
    }
    if (list.size() <= size - 2) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        if (list.empty()) {
            buffer[1] = '\0';
        }
        return static_cast<std::uint32_t>(list.size());
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

}  // namespace

const Guid SimDesktop::kBdaNetworkTuner = {
    0x71985F48, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
const Guid SimDesktop::kCrossbar = {
    0xA799A801, 0xA46D, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0x24, 0x01, 0xDC, 0xD4}};
const Guid SimDesktop::kVideoInputDevice = {
    0x860BB310, 0x5D01, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

namespace {

const Guid kHidGuid = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

SimDesktop* g_current = nullptr;

}  // namespace

struct SimDesktop::State {
    // --- Windows ---
    struct Window {
        Hwnd hwnd;
        std::string className;
        std::string title;
        bool visible;
        bool topmost = false;
        Point position{0, 0};
        std::uint32_t process = 0;  // 0: a process of its own
    };
    std::vector<Window> windows;  // the desktop's children, in list order
    Hwnd nextHwnd = kFirstWindow;
    Hwnd foreground = 0;
    Hwnd active = 0;
    Hwnd pendingForeground = 0;       // a delayed foreground change on its way
    std::uint64_t foregroundDue = 0;  // when it lands
    std::set<std::pair<std::uint32_t, std::uint32_t>> attachedInputs;
    std::map<std::uint32_t, std::string> processImages;

    struct WindowClass {
        std::string name;
        std::uint32_t iconId;
        WndProc proc;
        void* ctx;
    };
    std::vector<WindowClass> classes;
    Hwnd mainWindow = 0;
    WndProc mainProc = nullptr;
    void* mainCtx = nullptr;

    struct Posted {
        Hwnd hwnd;
        std::uint32_t msg;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    std::deque<Posted> queue;
    bool quitPosted = false;
    int quitCode = 0;
    std::map<std::string, std::uint32_t> registeredMessages;
    std::vector<TrayIconData> trayIcons;
    int acceleratorsLoaded = 0;

    // --- Registry ---
    struct RegValue {
        std::string name;  // as first written
        std::uint32_t type;
        std::vector<std::uint8_t> bytes;
    };
    struct RegKey {
        std::string name;                        // the last part of its path, as created
        std::map<std::string, RegValue> values;  // by lower-case name
    };
    std::map<std::string, RegKey> keys;  // by KeyPath; "" is HKEY_LOCAL_MACHINE
    struct OpenKey {
        std::string path;
        bool canWrite;
    };
    std::map<Handle, OpenKey> openKeys;
    std::map<std::pair<Hwnd, std::uint32_t>, bool> messageFilter;
    bool currentFolderSearched = true;
    std::set<std::string> planted;  // lower case
    Handle nextRegKey = kFirstRegKey;
    int regFlushes = 0;

    // --- Clock and timers ---
    std::uint32_t now = 100000;
    struct Timer {
        std::uint32_t period;
        TimerProc proc;
        void* ctx;
        std::uint64_t due;
        std::uint64_t serial;  // order of setting: breaks ties, tells a replaced timer
    };
    std::map<std::pair<Hwnd, std::uintptr_t>, Timer> timers;
    std::uint64_t nextSerial = 1;
    std::uint64_t clock64 = 100000;  // the clock without wrap-around, for due times
    int setTimerCalls = 0;
    int killTimerCalls = 0;

    // --- Menus ---
    std::map<Handle, std::vector<SimMenuItem>> menus;
    Handle nextMenu = kFirstMenu;
    std::vector<SimMenuItem> lastMenu;

    // --- Dialogs ---
    struct Control {
        std::vector<std::string> items;
        int selection = -1;
        std::uintptr_t check = 0;
        bool checkBox = false;
    };
    struct Dialog {
        std::uint32_t templateId;
        DlgProc proc;
        void* ctx;
        bool open = true;
        bool ended = false;
        std::intptr_t result = 0;
        std::map<int, Control> controls;
    };
    std::map<Hwnd, Dialog> dialogs;  // kept after closing, for inspection
    std::vector<Hwnd> dialogStack;   // open dialogs, innermost last

    // --- Screen ---
    std::map<int, int> metrics = {{win::kSmCxScreen, 1024},
                                  {win::kSmCyScreen, 768},
                                  {win::kSmCxFullScreen, 1024},
                                  {win::kSmCyFullScreen, 742},
                                  {win::kSmSwapButton, 0}};
    Point cursor{512, 384};

    // --- Files, kernel objects ---
    std::set<std::string> files;  // lower case
    struct TextFile {
        std::string text;
        std::uint64_t writeTime;
    };
    std::map<std::string, TextFile> textFiles;  // by lower-case path
    std::uint64_t lastWriteTime = 0x01D0000000000000ull;
    std::set<Handle> tokens;
    Handle nextKernelObject = kFirstKernelObject;

    // --- DirectShow ---
    struct Filter {
        Guid category;
        std::string name;
        bool bindFails;
        bool present = true;
    };
    std::map<int, Filter> filters;
    int nextFilterId = 1;
    struct Enumerator {
        std::vector<int> devices;
        std::size_t next = 0;
    };
    std::map<Handle, Enumerator> enumerators;
    std::map<Handle, int> monikers;
    std::set<Handle> boundFilters;
    Handle nextDeviceObject = kFirstDeviceObject;
    int coInit = 0;
    int categoryOpens = 0;

    // --- HID ---
    std::map<int, HidDevice> hidDevices;  // present devices
    int nextHidId = 1;
    std::map<Handle, std::vector<int>> hidSets;
    std::map<Handle, int> hidHandles;
    std::map<Handle, int> preparsed;
    std::vector<std::uint8_t> lastFeatureReport;

    // --- Libraries ---
    std::vector<std::string> installed;  // lower case, in order of installing
    std::map<std::string, int> loadCounts;
    std::map<std::string, SimEntryPoint> entries;
    Hwnd rtkFilterInitWindow = 0;

    std::vector<SimEvent> log;

    Window* FindWin(Hwnd h) {
        for (auto& w : windows) {
            if (w.hwnd == h) {
                return &w;
            }
        }
        return nullptr;
    }
    const Window* FindWin(Hwnd h) const { return const_cast<State*>(this)->FindWin(h); }
    Dialog* OpenDlg(Hwnd h) {
        auto it = dialogs.find(h);
        return it != dialogs.end() && it->second.open ? &it->second : nullptr;
    }
    Handle NewDeviceObject() { return nextDeviceObject += 4; }
    Handle NewKernelObject() { return nextKernelObject += 4; }

    SimEvent& Log(SimEvent::Kind kind, Hwnd hwnd = 0) {
        SimEvent e;
        e.kind = kind;
        e.time = now;
        e.hwnd = hwnd;
        log.push_back(std::move(e));
        return log.back();
    }

    // The registry key a handle or root refers to; false for anything else.
    bool Base(Handle root, std::string* path) {
        if (root == win::kHkeyLocalMachine) {
            path->clear();
            return true;
        }
        auto it = openKeys.find(root);
        if (it == openKeys.end()) {
            return false;
        }
        *path = it->second.path;
        return true;
    }
    // Creates a key and the keys above it; gives its table path.
    std::string CreateKeyPath(const std::string& anyCase) {
        const std::string original = Normalize(anyCase);
        const std::string path = Lower(original);
        keys[""];
        std::size_t start = 0;
        while (!path.empty()) {
            std::size_t end = path.find('\\', start);
            auto [it, added] = keys.try_emplace(path.substr(0, end));
            if (added) {
                it->second.name =
                    original.substr(start, end == std::string::npos ? end : end - start);
            }
            if (end == std::string::npos) {
                break;
            }
            start = end + 1;
        }
        return path;
    }
    Handle OpenKeyHandle(const std::string& path, bool canWrite) {
        Handle h = nextRegKey += 4;
        openKeys[h] = {path, canWrite};
        return h;
    }
    RegValue* Value(const std::string& keyPath, const std::string& name) {
        auto k = keys.find(KeyPath(keyPath));
        if (k == keys.end()) {
            return nullptr;
        }
        auto v = k->second.values.find(Lower(name));
        return v == k->second.values.end() ? nullptr : &v->second;
    }
    void SetValue(const std::string& anyCase, const std::string& name, std::uint32_t type,
                  std::vector<std::uint8_t> bytes) {
        const std::string path = CreateKeyPath(anyCase);
        RegValue& v = keys[path].values[Lower(name)];
        if (v.name.empty()) {
            v.name = name;
        }
        v.type = type;
        v.bytes = std::move(bytes);
    }

    void SetClock(std::uint64_t t) {
        clock64 = t;
        now = static_cast<std::uint32_t>(t);
    }

    // A delayed foreground change lands once its time has come.
    void SettleForeground() {
        if (pendingForeground != 0 && clock64 >= foregroundDue) {
            if (FindWin(pendingForeground) != nullptr) {
                foreground = pendingForeground;
                active = pendingForeground;
            }
            pendingForeground = 0;
        }
    }
};

// ===== Construction ============================================================

SimDesktop::SimDesktop() : s_(new State) {
    s_->keys[""];
    g_current = this;
}

SimDesktop::~SimDesktop() {
    if (g_current == this) {
        g_current = nullptr;
    }
    delete s_;
}

SimDesktop* SimDesktop::Current() {
    return g_current;
}

// ===== Windows ===================================================================

Hwnd SimDesktop::AddWindow(const std::string& className, const std::string& title, bool visible) {
    Hwnd h = s_->nextHwnd += 0x10;
    s_->windows.push_back({h, className, title, visible});
    return h;
}

void SimDesktop::RemoveWindow(Hwnd hwnd) {
    auto& w = s_->windows;
    w.erase(std::remove_if(w.begin(), w.end(), [&](const auto& x) { return x.hwnd == hwnd; }),
            w.end());
    if (s_->foreground == hwnd) {
        s_->foreground = 0;
    }
    if (s_->pendingForeground == hwnd) {
        s_->pendingForeground = 0;
    }
    if (s_->active == hwnd) {
        s_->active = 0;
    }
}

void SimDesktop::SetWindowProcess(Hwnd hwnd, std::uint32_t processId) {
    if (auto* w = s_->FindWin(hwnd)) {
        w->process = processId;
    }
}

void SimDesktop::SetProcessImage(std::uint32_t processId, const std::string& path) {
    s_->processImages[processId] = path;
}

void SimDesktop::SetWindowVisible(Hwnd hwnd, bool visible) {
    if (auto* w = s_->FindWin(hwnd)) {
        w->visible = visible;
    }
}

bool SimDesktop::WindowExists(Hwnd hwnd) const {
    return s_->FindWin(hwnd) != nullptr;
}

std::string SimDesktop::WindowTitle(Hwnd hwnd) const {
    const auto* w = s_->FindWin(hwnd);
    return w ? w->title : std::string();
}

std::string SimDesktop::WindowClass(Hwnd hwnd) const {
    const auto* w = s_->FindWin(hwnd);
    return w ? w->className : std::string();
}

bool SimDesktop::IsTopmost(Hwnd hwnd) const {
    const auto* w = s_->FindWin(hwnd);
    return w && w->topmost;
}

Point SimDesktop::WindowPosition(Hwnd hwnd) const {
    const auto* w = s_->FindWin(hwnd);
    return w ? w->position : Point{0, 0};
}

Hwnd SimDesktop::Foreground() const {
    s_->SettleForeground();
    return s_->foreground;
}

Hwnd SimDesktop::MainWindow() const {
    return s_->mainWindow;
}

Hwnd SimDesktop::FindWindowA(const char* className, const char* title) {
    return FindWindowExA(0, 0, className, title);
}

Hwnd SimDesktop::FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className,
                               const char* title) {
    if (parent != 0 && parent != kDesktop) {
        return 0;  // the simulated windows have no children
    }
    auto& w = s_->windows;
    std::size_t i = 0;
    if (childAfter != 0) {
        while (i < w.size() && w[i].hwnd != childAfter) {
            ++i;
        }
        if (i == w.size()) {
            return 0;  // not a child of the desktop
        }
        ++i;
    }
    for (; i < w.size(); ++i) {
        if (className && !SameText(className, w[i].className)) {
            continue;
        }
        if (title && !SameText(title, w[i].title)) {
            continue;
        }
        return w[i].hwnd;
    }
    return 0;
}

Hwnd SimDesktop::GetDesktopWindow() {
    return kDesktop;
}

Hwnd SimDesktop::GetWindow(Hwnd hwnd, std::uint32_t cmd) {
    auto& w = s_->windows;
    if (hwnd == kDesktop) {
        return cmd == win::kGwChild && !w.empty() ? w.front().hwnd : 0;
    }
    auto it = std::find_if(w.begin(), w.end(), [&](const auto& x) { return x.hwnd == hwnd; });
    if (it == w.end()) {
        return 0;
    }
    switch (cmd) {
        case kGwHwndFirst:
            return w.front().hwnd;
        case kGwHwndLast:
            return w.back().hwnd;
        case win::kGwHwndNext:
            return it + 1 == w.end() ? 0 : (it + 1)->hwnd;
        case kGwHwndPrev:
            return it == w.begin() ? 0 : (it - 1)->hwnd;
        default:
            return 0;  // no owners, no children
    }
}

int SimDesktop::GetClassNameA(Hwnd hwnd, char* buffer, int bufferMax) {
    std::string name;
    if (hwnd == kDesktop) {
        name = "#32769";
    } else if (const auto* w = s_->FindWin(hwnd)) {
        name = w->className;
    } else {
        return 0;
    }
    return CopyTruncated(name, buffer, bufferMax);
}

int SimDesktop::GetWindowTextA(Hwnd hwnd, char* buffer, int bufferMax) {
    const auto* w = s_->FindWin(hwnd);
    return CopyTruncated(w ? w->title : std::string(), buffer, bufferMax);
}

bool SimDesktop::IsWindowVisible(Hwnd hwnd) {
    if (hwnd == kDesktop) {
        return true;
    }
    const auto* w = s_->FindWin(hwnd);
    return w && w->visible;
}

bool SimDesktop::IsWindow(Hwnd hwnd) {
    return hwnd == kDesktop || s_->FindWin(hwnd) != nullptr;
}

bool SimDesktop::SetForegroundWindow(Hwnd hwnd) {
    s_->SettleForeground();
    bool attached =
        s_->attachedInputs.count({kOurThread, GetWindowThreadProcessId(s_->foreground)}) != 0;
    bool allowed = !refuseForeground || (attached && !refuseForegroundAttached);
    bool ok = allowed && s_->FindWin(hwnd) != nullptr;
    s_->Log(SimEvent::Kind::SetForeground, hwnd).a = ok ? 1 : 0;
    if (!ok) {
        return false;
    }
    if (foregroundDelay == 0 || s_->foreground == hwnd) {
        s_->foreground = hwnd;
        s_->active = hwnd;
        s_->pendingForeground = 0;
    } else if (s_->pendingForeground != hwnd) {
        s_->pendingForeground = hwnd;
        s_->foregroundDue =
            foregroundDelay == kNeverLands ? UINT64_MAX : s_->clock64 + foregroundDelay;
    }
    return true;
}

Hwnd SimDesktop::SetActiveWindow(Hwnd hwnd) {
    s_->Log(SimEvent::Kind::SetActive, hwnd);
    if (!s_->FindWin(hwnd)) {
        return 0;
    }
    Hwnd previous = s_->active;
    s_->active = hwnd;
    return previous;
}

Hwnd SimDesktop::GetForegroundWindow() {
    s_->SettleForeground();
    return s_->foreground;
}

std::uint32_t SimDesktop::GetWindowThreadProcessId(Hwnd hwnd) {
    if (hwnd == 0) {
        return 0;
    }
    if (hwnd == s_->mainWindow || s_->dialogs.count(hwnd) != 0) {
        return kOurThread;
    }
    return s_->FindWin(hwnd) != nullptr ? static_cast<std::uint32_t>(hwnd) : 0;
}

std::uint32_t SimDesktop::GetWindowProcessId(Hwnd hwnd) {
    if (hwnd == 0) {
        return 0;
    }
    if (hwnd == s_->mainWindow || s_->dialogs.count(hwnd) != 0) {
        return kOurProcess;
    }
    const auto* w = s_->FindWin(hwnd);
    if (w == nullptr) {
        return 0;
    }
    return w->process != 0 ? w->process : static_cast<std::uint32_t>(hwnd);
}

int SimDesktop::GetProcessImageName(std::uint32_t processId, char* buffer, int bufferMax) {
    auto it = s_->processImages.find(processId);
    if (it == s_->processImages.end() || bufferMax <= 0 ||
        it->second.size() >= static_cast<std::size_t>(bufferMax)) {
        return 0;
    }
    return CopyTruncated(it->second, buffer, bufferMax);
}

std::uint32_t SimDesktop::GetCurrentThreadId() {
    return kOurThread;
}

bool SimDesktop::AttachThreadInput(std::uint32_t idAttach, std::uint32_t idAttachTo, bool attach) {
    if (idAttach == 0 || idAttachTo == 0 || idAttach == idAttachTo) {
        return false;
    }
    if (attach) {
        return s_->attachedInputs.insert({idAttach, idAttachTo}).second;
    }
    return s_->attachedInputs.erase({idAttach, idAttachTo}) != 0;
}

int SimDesktop::AttachedInputs() const {
    return static_cast<int>(s_->attachedInputs.size());
}

bool SimDesktop::BringWindowToTop(Hwnd hwnd) {
    // The window keeps its place in the list, so that searches stay predictable.
    s_->Log(SimEvent::Kind::BringToTop, hwnd);
    return s_->FindWin(hwnd) != nullptr;
}

bool SimDesktop::SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int /*cx*/, int /*cy*/,
                              std::uint32_t flags) {
    auto& e = s_->Log(SimEvent::Kind::SetWindowPos, hwnd);
    e.a = static_cast<std::int64_t>(static_cast<std::intptr_t>(insertAfter));
    e.b = x;
    e.c = y;
    e.d = flags;
    auto* w = s_->FindWin(hwnd);
    if (!w) {
        return false;
    }
    if (insertAfter == win::kHwndTopmost) {
        w->topmost = true;
    } else if (insertAfter == kHwndNoTopmost) {
        w->topmost = false;
    }
    if (!(flags & kSwpNoMove)) {
        w->position = {x, y};
    }
    return true;
}

bool SimDesktop::PostMessageA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    auto& e = s_->Log(SimEvent::Kind::PostMessage, hwnd);
    e.a = msg;
    e.b = static_cast<std::int64_t>(wParam);
    e.c = lParam;
    if (!s_->FindWin(hwnd)) {
        return false;
    }
    if (hwnd == s_->mainWindow || s_->OpenDlg(hwnd)) {
        s_->queue.push_back({hwnd, msg, wParam, lParam});
    } else if (onAppMessage) {
        onAppMessage(hwnd, msg, wParam, lParam);
    }
    return true;
}

std::intptr_t SimDesktop::SendMessageA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
    auto& e = s_->Log(SimEvent::Kind::SendMessage, hwnd);
    e.a = msg;
    e.b = static_cast<std::int64_t>(wParam);
    e.c = lParam;
    if (!s_->FindWin(hwnd)) {
        return 0;
    }
    if (hwnd == s_->mainWindow && s_->mainProc) {
        return s_->mainProc(s_->mainCtx, hwnd, msg, wParam, lParam);
    }
    if (auto* d = s_->OpenDlg(hwnd)) {
        return d->proc(d->ctx, hwnd, msg, wParam, lParam);
    }
    if (onAppMessage) {
        onAppMessage(hwnd, msg, wParam, lParam);
    }
    return 0;
}

// ===== Main window and message loop ==================================================

int SimDesktop::LoadStringA(std::uint32_t id, char* buffer, int bufferMax) {
    if (id == 22 || id == 23) {
        return CopyTruncated("Remote Control", buffer, bufferMax);
    }
    CopyTruncated("", buffer, bufferMax);
    return 0;
}

Handle SimDesktop::LoadIconA(std::uint32_t id) {
    return id == 50 || id == 110 ? 0x6000 + id : 0;
}

Handle SimDesktop::LoadAcceleratorsA(std::uint32_t id) {
    if (id != 23) {
        return 0;
    }
    s_->acceleratorsLoaded = static_cast<int>(id);
    return kAcceleratorHandle;
}

int SimDesktop::LoadedAccelerators() const {
    return s_->acceleratorsLoaded;
}

bool SimDesktop::RegisterMainClass(const char* className, std::uint32_t iconId, WndProc proc,
                                   void* ctx) {
    if (!className || !*className || !proc) {
        return false;
    }
    for (const auto& c : s_->classes) {
        if (SameText(c.name, className)) {
            return false;  // ERROR_CLASS_ALREADY_EXISTS
        }
    }
    s_->classes.push_back({className, iconId, proc, ctx});
    return true;
}

Hwnd SimDesktop::CreateMainWindow(const char* className, const char* title) {
    const State::WindowClass* cls = nullptr;
    for (const auto& c : s_->classes) {
        if (className && SameText(c.name, className)) {
            cls = &c;
        }
    }
    if (!cls) {
        return 0;
    }
    WndProc proc = cls->proc;
    void* ctx = cls->ctx;
    Hwnd h = AddWindow(cls->name, Text(title), false);
    s_->mainWindow = h;
    s_->mainProc = proc;
    s_->mainCtx = ctx;
    if (proc(ctx, h, win::kWmCreate, 0, 0) == -1) {
        // Creation refused: the window is destroyed before CreateWindowEx returns.
        proc(ctx, h, win::kWmDestroy, 0, 0);
        RemoveWindow(h);
        s_->mainWindow = 0;
        s_->mainProc = nullptr;
        s_->mainCtx = nullptr;
        return 0;
    }
    return h;
}

bool SimDesktop::ShowWindow(Hwnd hwnd, int cmdShow) {
    auto* w = s_->FindWin(hwnd);
    if (!w) {
        return false;
    }
    bool wasVisible = w->visible;
    w->visible = cmdShow != win::kSwHide;
    return wasVisible;
}

bool SimDesktop::UpdateWindow(Hwnd hwnd) {
    return s_->FindWin(hwnd) != nullptr;
}

bool SimDesktop::DestroyWindow(Hwnd hwnd) {
    // Only the system's own window can be destroyed; other processes' windows
    // refuse, and dialogs end through EndDialog.
    if (hwnd == 0 || hwnd != s_->mainWindow || !s_->FindWin(hwnd)) {
        return false;
    }
    s_->mainProc(s_->mainCtx, hwnd, win::kWmDestroy, 0, 0);
    RemoveWindow(hwnd);
    for (auto it = s_->timers.begin(); it != s_->timers.end();) {
        it = it->first.first == hwnd ? s_->timers.erase(it) : std::next(it);
    }
    return true;
}

std::intptr_t SimDesktop::DefWindowProcA(Hwnd, std::uint32_t, std::uintptr_t, std::intptr_t) {
    return 0;
}

int SimDesktop::Pump() {
    int dispatched = 0;
    while (!s_->queue.empty()) {
        State::Posted m = s_->queue.front();
        s_->queue.pop_front();
        if (m.hwnd == s_->mainWindow && s_->mainProc && s_->FindWin(m.hwnd)) {
            s_->mainProc(s_->mainCtx, m.hwnd, m.msg, m.wParam, m.lParam);
            ++dispatched;
        } else if (auto* d = s_->OpenDlg(m.hwnd)) {
            d->proc(d->ctx, m.hwnd, m.msg, m.wParam, m.lParam);
            ++dispatched;
        }
    }
    return dispatched;
}

int SimDesktop::PostedCount() const {
    return static_cast<int>(s_->queue.size());
}

int SimDesktop::RunMessageLoop(Handle /*accelerators*/) {
    Pump();
    return s_->quitCode;
}

void SimDesktop::PostQuitMessage(int exitCode) {
    s_->quitPosted = true;
    s_->quitCode = exitCode;
}

bool SimDesktop::QuitPosted() const {
    return s_->quitPosted;
}

int SimDesktop::QuitCode() const {
    return s_->quitCode;
}

std::intptr_t SimDesktop::SendToMainWindow(std::uint32_t msg, std::uintptr_t wParam,
                                           std::intptr_t lParam) {
    if (!s_->mainProc || !s_->FindWin(s_->mainWindow)) {
        return 0;
    }
    return s_->mainProc(s_->mainCtx, s_->mainWindow, msg, wParam, lParam);
}

std::uint32_t SimDesktop::RegisterWindowMessageA(const char* name) {
    if (!name || !*name) {
        return 0;
    }
    auto& ids = s_->registeredMessages;
    auto [it, added] = ids.try_emplace(Lower(name), 0);
    if (added) {
        it->second = kFirstRegisteredMessage + static_cast<std::uint32_t>(ids.size()) - 1;
    }
    return it->second;
}

// ===== Input and screen =====================================================================

void SimDesktop::keybd_event(std::uint8_t vk, std::uint8_t /*scan*/, std::uint32_t flags,
                             std::uintptr_t /*extraInfo*/) {
    auto& e = s_->Log(SimEvent::Kind::KeybdEvent);
    e.a = vk;
    e.b = flags;
}

void SimDesktop::mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                             std::int32_t data, std::uintptr_t /*extraInfo*/) {
    auto& e = s_->Log(SimEvent::Kind::MouseEvent);
    e.a = flags;
    e.b = dx;
    e.c = dy;
    e.d = data;
    if ((flags & kMouseEventMove) && !(flags & kMouseEventAbsolute)) {
        SetCursor({s_->cursor.x + dx, s_->cursor.y + dy});
    }
}

std::intptr_t SimDesktop::GetMessageExtraInfo() {
    return messageExtraInfo;
}

std::uint32_t SimDesktop::MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) {
    // A few scan codes of a US keyboard; every other key has none here.
    static const std::map<std::uint32_t, std::uint32_t> kScanCodes = {
        {0x08, 0x0E}, {0x09, 0x0F}, {0x0D, 0x1C}, {0x10, 0x2A}, {0x11, 0x1D}, {0x12, 0x38},
        {0x1B, 0x01}, {0x20, 0x39}, {0x25, 0x4B}, {0x26, 0x48}, {0x27, 0x4D}, {0x28, 0x50},
        {'F', 0x21},  {'M', 0x32},  {'P', 0x19},  {'S', 0x1F},  {0x73, 0x3E}};
    if (mapType != win::kMapVkVkToVsc) {
        return 0;
    }
    auto it = kScanCodes.find(code);
    return it == kScanCodes.end() ? 0 : it->second;
}

bool SimDesktop::SetCursorPos(int x, int y) {
    auto& e = s_->Log(SimEvent::Kind::SetCursorPos);
    e.a = x;
    e.b = y;
    SetCursor({x, y});
    return true;
}

bool SimDesktop::GetCursorPos(Point* point) {
    if (!point) {
        return false;
    }
    *point = s_->cursor;
    return true;
}

void SimDesktop::SetCursor(Point p) {
    // Windows keeps the pointer on the screen.
    int right = std::max(0, GetSystemMetrics(win::kSmCxScreen) - 1);
    int bottom = std::max(0, GetSystemMetrics(win::kSmCyScreen) - 1);
    s_->cursor = {std::clamp(p.x, 0, right), std::clamp(p.y, 0, bottom)};
}

Point SimDesktop::Cursor() const {
    return s_->cursor;
}

int SimDesktop::GetSystemMetrics(int index) {
    auto it = s_->metrics.find(index);
    return it == s_->metrics.end() ? 0 : it->second;
}

void SimDesktop::SetSystemMetric(int index, int value) {
    s_->metrics[index] = value;
}

// ===== Clock and timers =====================================================================

std::uint32_t SimDesktop::Now() const {
    return s_->now;
}

void SimDesktop::SetNow(std::uint32_t now) {
    // Due times move with the clock, so that no timer falls due by the jump.
    std::int64_t shift =
        static_cast<std::int64_t>(now) - static_cast<std::int64_t>(s_->clock64 & 0xFFFFFFFFu);
    for (auto& [key, t] : s_->timers) {
        t.due = static_cast<std::uint64_t>(
            std::max<std::int64_t>(0, static_cast<std::int64_t>(t.due) + shift));
    }
    s_->SetClock(static_cast<std::uint64_t>(static_cast<std::int64_t>(s_->clock64) + shift));
}

std::uint32_t SimDesktop::GetTickCount() {
    return s_->now;
}

void SimDesktop::Sleep(std::uint32_t milliseconds) {
    s_->Log(SimEvent::Kind::Sleep).a = milliseconds;
    s_->SetClock(s_->clock64 + milliseconds);
}

void SimDesktop::Advance(std::uint32_t ms) {
    const std::uint64_t end = s_->clock64 + ms;
    while (true) {
        // The timer due first; among equal due times, the one set first.
        auto next = s_->timers.end();
        for (auto it = s_->timers.begin(); it != s_->timers.end(); ++it) {
            if (it->second.due > end) {
                continue;
            }
            if (next == s_->timers.end() || it->second.due < next->second.due ||
                (it->second.due == next->second.due && it->second.serial < next->second.serial)) {
                next = it;
            }
        }
        if (next == s_->timers.end()) {
            break;
        }
        const auto key = next->first;
        State::Timer& t = next->second;
        const std::uint64_t serial = t.serial;
        const TimerProc proc = t.proc;
        void* const ctx = t.ctx;
        // Rescheduled before the call, so that a nested modal loop inside the
        // callback sees the timer's next tick. A tick that comes late (the
        // thread was blocked) is a single coalesced WM_TIMER; the period
        // starts again from it.
        if (t.due >= s_->clock64) {
            s_->SetClock(t.due);
            t.due += t.period;
        } else {
            t.due = s_->clock64 + t.period;
        }
        proc(ctx, key.first, key.second);
        auto again = s_->timers.find(key);
        if (again != s_->timers.end() && again->second.serial == serial &&
            again->second.due < s_->clock64) {
            // The callback overran its period: the pending WM_TIMER comes once,
            // now, and the timer runs on from there.
            again->second.due = s_->clock64;
        }
    }
    if (end > s_->clock64) {
        s_->SetClock(end);
    }
}

std::uintptr_t SimDesktop::SetTimer(Hwnd hwnd, std::uintptr_t id, std::uint32_t elapse,
                                    TimerProc proc, void* ctx) {
    ++s_->setTimerCalls;
    if (failSetTimer || !proc) {
        return 0;
    }
    std::uint32_t period = std::max(elapse, kMinimumTimerPeriod);
    s_->timers[{hwnd, id}] = {period, proc, ctx, s_->clock64 + period, s_->nextSerial++};
    auto& e = s_->Log(SimEvent::Kind::TimerSet, hwnd);
    e.a = static_cast<std::int64_t>(id);
    e.b = elapse;
    return id;
}

bool SimDesktop::KillTimer(Hwnd hwnd, std::uintptr_t id) {
    ++s_->killTimerCalls;
    if (s_->timers.erase({hwnd, id}) == 0) {
        return false;
    }
    s_->Log(SimEvent::Kind::TimerKilled, hwnd).a = static_cast<std::int64_t>(id);
    return true;
}

bool SimDesktop::TimerArmed(Hwnd hwnd, std::uintptr_t id) const {
    return s_->timers.count({hwnd, id}) != 0;
}

int SimDesktop::SetTimerCount() const {
    return s_->setTimerCalls;
}

int SimDesktop::KillTimerCount() const {
    return s_->killTimerCalls;
}

void SimDesktop::OutputDebugStringA(const char* text) {
    s_->Log(SimEvent::Kind::Trace).text = Text(text);
}

// ===== Tray icon and menus =====================================================================

bool SimDesktop::Shell_NotifyIconA(std::uint32_t message, const TrayIconData& data) {
    auto& e = s_->Log(SimEvent::Kind::TrayIcon, data.hWnd);
    e.a = message;
    e.b = data.uID;
    e.c = data.uFlags;
    e.d = data.uCallbackMessage;
    e.text = std::string(data.szTip, strnlen(data.szTip, sizeof data.szTip));
    auto& icons = s_->trayIcons;
    auto it = std::find_if(icons.begin(), icons.end(), [&](const TrayIconData& t) {
        return t.hWnd == data.hWnd && t.uID == data.uID;
    });
    switch (message) {
        case win::kNimAdd:
            if (failTrayAdds > 0) {
                --failTrayAdds;
                return false;
            }
            if (it != icons.end()) {
                return false;
            }
            icons.push_back(data);
            return !trayAddTimesOut;
        case win::kNimModify:
            if (it == icons.end()) {
                return false;
            }
            if (data.uFlags & win::kNifMessage) {
                it->uCallbackMessage = data.uCallbackMessage;
            }
            if (data.uFlags & win::kNifIcon) {
                it->hIcon = data.hIcon;
            }
            if (data.uFlags & win::kNifTip) {
                std::memcpy(it->szTip, data.szTip, sizeof it->szTip);
            }
            it->uFlags |= data.uFlags;
            return true;
        case win::kNimDelete:
            if (it == icons.end()) {
                return false;
            }
            icons.erase(it);
            return true;
        default:
            return false;
    }
}

std::vector<TrayIconData> SimDesktop::TrayIcons() const {
    return s_->trayIcons;
}

void SimDesktop::RestartExplorer() {
    s_->trayIcons.clear();
    const std::uint32_t message = RegisterWindowMessageA("TaskbarCreated");
    if (s_->mainWindow != 0 && (!elevated || MessageAllowed(s_->mainWindow, message))) {
        SendToMainWindow(message, 0, 0);
    }
}

bool SimDesktop::ChangeWindowMessageFilterEx(Hwnd hwnd, std::uint32_t message,
                                             std::uint32_t action) {
    if (lacksMessageFilter || !s_->FindWin(hwnd)) {
        return false;
    }
    s_->messageFilter[{hwnd, message}] = action == win::kMsgFltAllow;
    return true;
}

bool SimDesktop::MessageAllowed(Hwnd hwnd, std::uint32_t message) const {
    auto it = s_->messageFilter.find({hwnd, message});
    return it != s_->messageFilter.end() && it->second;
}

Handle SimDesktop::CreatePopupMenu() {
    Handle h = s_->nextMenu += 4;
    s_->menus[h];
    return h;
}

bool SimDesktop::AppendMenuA(Handle menu, std::uint32_t flags, std::uintptr_t id,
                             const char* text) {
    auto it = s_->menus.find(menu);
    if (it == s_->menus.end()) {
        return false;
    }
    it->second.push_back({flags, id, Text(text)});
    return true;
}

bool SimDesktop::DestroyMenu(Handle menu) {
    return s_->menus.erase(menu) != 0;
}

int SimDesktop::TrackPopupMenu(Handle menu, std::uint32_t /*flags*/, int x, int y, Hwnd owner) {
    auto it = s_->menus.find(menu);
    if (it == s_->menus.end() || !s_->FindWin(owner)) {
        return 0;
    }
    std::vector<SimMenuItem> items = it->second;
    std::string labels;
    for (std::size_t i = 0; i < items.size(); ++i) {
        labels += (i ? "|" : "") + items[i].text;
    }
    auto& e = s_->Log(SimEvent::Kind::MenuTracked, owner);
    e.a = x;
    e.b = y;
    e.text = labels;
    s_->lastMenu = items;
    std::uintptr_t chosen = onTrackPopupMenu ? onTrackPopupMenu(items) : 0;
    // Only an item of the menu can be chosen; separators cannot.
    bool valid = std::any_of(items.begin(), items.end(), [&](const SimMenuItem& m) {
        return chosen != 0 && m.id == chosen && !(m.flags & win::kMfSeparator);
    });
    if (valid) {
        s_->queue.push_back({owner, win::kWmCommand, chosen & 0xFFFF, 0});
    }
    return 1;
}

std::vector<SimMenuItem> SimDesktop::LastMenu() const {
    return s_->lastMenu;
}

int SimDesktop::OpenMenuCount() const {
    return static_cast<int>(s_->menus.size());
}

// ===== Dialogs and message boxes
// ===================================================================

std::intptr_t SimDesktop::DialogBoxParamA(std::uint32_t templateId, Hwnd /*owner*/, DlgProc proc,
                                          void* ctx) {
    const char* title = nullptr;
    switch (templateId) {
        case 20:
            title = "Remote Control - Setting";
            break;
        case 21:
            title = "Remote Control - About";
            break;
        case 107:
            title = "Remote Control - Shut Down";
            break;
        default:
            return -1;  // no such template
    }
    if (!proc) {
        return -1;
    }
    Hwnd dlg = AddWindow("#32770", title, true);
    State::Dialog fresh;
    fresh.templateId = templateId;
    fresh.proc = proc;
    fresh.ctx = ctx;
    s_->dialogs[dlg] = std::move(fresh);
    s_->dialogStack.push_back(dlg);
    s_->Log(SimEvent::Kind::DialogOpened, dlg).a = templateId;

    proc(ctx, dlg, win::kWmInitDialog, 0, 0);
    if (!s_->dialogs[dlg].ended && onDialog) {
        onDialog(dlg, templateId);
    }
    if (!s_->dialogs[dlg].ended) {
        // Closed by its close box: the dialog manager turns that into IDCANCEL.
        proc(ctx, dlg, win::kWmCommand, win::kIdCancel, 0);
    }
    State::Dialog& d = s_->dialogs[dlg];
    if (!d.ended) {
        d.ended = true;
        d.result = win::kIdCancel;
    }
    d.open = false;
    auto& stack = s_->dialogStack;
    stack.erase(std::remove(stack.begin(), stack.end(), dlg), stack.end());
    RemoveWindow(dlg);
    s_->Log(SimEvent::Kind::DialogEnded, dlg).a = d.result;
    return d.result;
}

bool SimDesktop::EndDialog(Hwnd dlg, std::intptr_t result) {
    auto* d = s_->OpenDlg(dlg);
    if (!d) {
        return false;
    }
    d->ended = true;
    d->result = result;
    return true;
}

std::intptr_t SimDesktop::SendDlgItemMessageA(Hwnd dlg, int itemId, std::uint32_t msg,
                                              std::uintptr_t wParam, std::intptr_t lParam) {
    auto* d = s_->OpenDlg(dlg);
    if (!d) {
        return 0;
    }
    State::Control& c = d->controls[itemId];
    const auto count = static_cast<std::intptr_t>(c.items.size());
    const auto index = static_cast<std::intptr_t>(wParam);
    const bool inRange = index >= 0 && index < count;
    switch (msg) {
        case win::kCbResetContent:
            c.items.clear();
            c.selection = -1;
            return 0;
        case win::kCbAddString:
            if (!lParam) {
                return win::kCbErr;
            }
            c.items.emplace_back(reinterpret_cast<const char*>(lParam));
            return count;
        case win::kCbGetCount:
            return count;
        case win::kCbSetCurSel:
            if (!inRange) {
                c.selection = -1;
                return win::kCbErr;
            }
            c.selection = static_cast<int>(index);
            return index;
        case win::kCbGetCurSel:
            return c.selection;
        case win::kCbGetLbTextLen:
            return inRange ? static_cast<std::intptr_t>(c.items[wParam].size()) : win::kCbErr;
        case win::kCbGetLbText:
            if (!inRange || !lParam) {
                return win::kCbErr;
            }
            std::memcpy(reinterpret_cast<char*>(lParam), c.items[wParam].c_str(),
                        c.items[wParam].size() + 1);
            return static_cast<std::intptr_t>(c.items[wParam].size());
        case win::kBmSetCheck:
            c.checkBox = true;
            c.check = wParam;
            return 0;
        case win::kBmGetCheck:
            return static_cast<std::intptr_t>(c.check);
        case win::kBmClick:
            ClickDialogItem(dlg, itemId);
            return 0;
        default:
            return 0;
    }
}

std::intptr_t SimDesktop::SendDialogMessage(Hwnd dlg, std::uint32_t msg, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
    auto* d = s_->OpenDlg(dlg);
    return d ? d->proc(d->ctx, dlg, msg, wParam, lParam) : 0;
}

void SimDesktop::ClickDialogItem(Hwnd dlg, int itemId) {
    auto* d = s_->OpenDlg(dlg);
    if (!d) {
        return;
    }
    State::Control& c = d->controls[itemId];
    if (c.checkBox) {
        c.check = c.check == win::kBstChecked ? win::kBstUnchecked : win::kBstChecked;
    }
    // BN_CLICKED (0) in the high word.
    d->proc(d->ctx, dlg, win::kWmCommand, static_cast<std::uint16_t>(itemId), 0);
}

std::vector<std::string> SimDesktop::ComboItems(Hwnd dlg, int itemId) const {
    auto d = s_->dialogs.find(dlg);
    if (d == s_->dialogs.end()) {
        return {};
    }
    auto c = d->second.controls.find(itemId);
    return c == d->second.controls.end() ? std::vector<std::string>{} : c->second.items;
}

int SimDesktop::ComboSelection(Hwnd dlg, int itemId) const {
    auto d = s_->dialogs.find(dlg);
    if (d == s_->dialogs.end()) {
        return -1;
    }
    auto c = d->second.controls.find(itemId);
    return c == d->second.controls.end() ? -1 : c->second.selection;
}

void SimDesktop::SetComboSelection(Hwnd dlg, int itemId, int index) {
    // The user's pick, without notifying the dialog (it reads the selection
    // when it needs it).
    auto* d = s_->OpenDlg(dlg);
    if (!d) {
        return;
    }
    State::Control& c = d->controls[itemId];
    c.selection = index >= 0 && index < static_cast<int>(c.items.size()) ? index : -1;
}

bool SimDesktop::ItemChecked(Hwnd dlg, int itemId) const {
    auto d = s_->dialogs.find(dlg);
    if (d == s_->dialogs.end()) {
        return false;
    }
    auto c = d->second.controls.find(itemId);
    return c != d->second.controls.end() && c->second.check == win::kBstChecked;
}

Hwnd SimDesktop::OpenDialog() const {
    return s_->dialogStack.empty() ? 0 : s_->dialogStack.back();
}

int SimDesktop::MessageBoxA(Hwnd owner, const char* text, const char* caption, std::uint32_t type) {
    auto& e = s_->Log(SimEvent::Kind::MessageBox, owner);
    e.text = Text(text);
    e.text2 = caption ? std::string(caption) : std::string("Error");
    e.a = type;
    std::string t = e.text, c = e.text2;  // the log may grow while the box is open
    return onMessageBox ? onMessageBox(t, c) : win::kIdOk;
}

// ===== Shell, system, shutdown
// =========================================================================

std::intptr_t SimDesktop::ShellExecuteA(Hwnd /*owner*/, const char* verb, const char* file,
                                        const char* parameters, const char* /*directory*/,
                                        int showCmd) {
    auto& e = s_->Log(SimEvent::Kind::ShellExecute);
    e.text = Text(file);
    e.text2 = Text(verb) + "|" + Text(parameters);
    e.a = showCmd;
    std::string f = Text(file), p = Text(parameters);
    if (onShellExecute) {
        onShellExecute(f, p);
    }
    return shellExecuteResult;
}

bool SimDesktop::GetVersionExA(OsVersion* v, bool extended) {
    if (!v || (extended ? failVersionEx : failVersionBasic)) {
        return false;
    }
    *v = version;
    return true;
}

std::uint32_t SimDesktop::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    const auto length = static_cast<std::uint32_t>(windowsDirectory.size());
    if (!buffer || size < length + 1) {
        return length + 1;
    }
    std::memcpy(buffer, windowsDirectory.c_str(), length + 1);
    return length;
}

void SimDesktop::AddFile(const std::string& path) {
    s_->files.insert(Lower(path));
}

void SimDesktop::RemoveFile(const std::string& path) {
    s_->files.erase(Lower(path));
    s_->textFiles.erase(Lower(path));
}

void SimDesktop::SetFileText(const std::string& path, const std::string& text,
                             std::uint64_t writeTime) {
    if (writeTime == 0) {
        writeTime = s_->lastWriteTime + 10000000;  // a second later
    }
    s_->lastWriteTime = std::max(s_->lastWriteTime, writeTime);
    s_->files.insert(Lower(path));
    s_->textFiles[Lower(path)] = {text, writeTime};
}

long SimDesktop::SHGetFolderPathA(int csidl, char* path) {
    constexpr long kEFail = static_cast<long>(0x80004005u);
    path[0] = '\0';
    if (csidl != win::kCsidlAppData || appDataFolder.empty() ||
        appDataFolder.size() >= win::kMaxPath) {
        return kEFail;
    }
    CopyTruncated(appDataFolder, path, static_cast<int>(win::kMaxPath));
    return 0;
}

bool SimDesktop::GetFileAttributesExA(const char* path, FileInfo* info) {
    auto it = path ? s_->textFiles.find(Lower(path)) : s_->textFiles.end();
    if (it == s_->textFiles.end()) {
        return false;
    }
    *info = {win::kFileAttributeArchive, it->second.writeTime, it->second.text.size()};
    return true;
}

std::uint32_t SimDesktop::GetPrivateProfileSectionNamesA(char* buffer, std::uint32_t size,
                                                         const char* path) {
    std::vector<std::string> names;
    auto it = path ? s_->textFiles.find(Lower(path)) : s_->textFiles.end();
    if (it != s_->textFiles.end()) {
        for (const ProfileSection& section : ParseProfile(it->second.text)) {
            names.push_back(section.name);
        }
    }
    return CopyStringList(names, buffer, size);
}

std::uint32_t SimDesktop::GetPrivateProfileSectionA(const char* section, char* buffer,
                                                    std::uint32_t size, const char* path) {
    std::vector<std::string> lines;
    auto it = path ? s_->textFiles.find(Lower(path)) : s_->textFiles.end();
    if (it != s_->textFiles.end() && section != nullptr) {
        for (const ProfileSection& s : ParseProfile(it->second.text)) {
            if (SameText(s.name, section)) {
                lines = s.lines;
                break;
            }
        }
    }
    return CopyStringList(lines, buffer, size);
}

std::uint32_t SimDesktop::GetFileAttributesA(const char* path) {
    if (!path || std::strlen(path) >= kMaxPath) {
        return win::kInvalidFileAttributes;
    }
    const std::string p = Lower(path);
    if (s_->files.count(p)) {
        return win::kFileAttributeArchive;
    }
    auto above = s_->files.lower_bound(p + "\\");
    if (above != s_->files.end() && above->rfind(p + "\\", 0) == 0) {
        return win::kFileAttributeDirectory;
    }
    return win::kInvalidFileAttributes;
}

bool SimDesktop::OpenProcessToken(Handle* token) {
    if (!token || failOpenProcessToken) {
        return false;
    }
    *token = s_->NewKernelObject();
    s_->tokens.insert(*token);
    return true;
}

std::uint32_t SimDesktop::AdjustShutdownPrivilege(Handle token) {
    if (!s_->tokens.count(token)) {
        return static_cast<std::uint32_t>(win::kErrorInvalidHandle);
    }
    return adjustPrivilegeError;
}

bool SimDesktop::ExitWindowsEx(std::uint32_t flags, std::uint32_t /*reason*/) {
    s_->Log(SimEvent::Kind::ExitWindows).a = flags;
    return !failExitWindows;
}

bool SimDesktop::CloseHandle(Handle handle) {
    return s_->tokens.erase(handle) != 0 || s_->hidHandles.erase(handle) != 0;
}

// ===== Registry ==============================================================================

void SimDesktop::SetRegDword(const std::string& keyPath, const std::string& name,
                             std::uint32_t value) {
    std::vector<std::uint8_t> bytes(4);
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    s_->SetValue(keyPath, name, win::kRegDword, std::move(bytes));
}

void SimDesktop::SetRegString(const std::string& keyPath, const std::string& name,
                              const std::string& value) {
    std::vector<std::uint8_t> bytes(value.begin(), value.end());
    bytes.push_back(0);
    s_->SetValue(keyPath, name, win::kRegSz, std::move(bytes));
}

void SimDesktop::SetRegBinary(const std::string& keyPath, const std::string& name,
                              const std::vector<std::uint8_t>& bytes, std::uint32_t type) {
    s_->SetValue(keyPath, name, type, bytes);
}

void SimDesktop::CreateRegKey(const std::string& keyPath) {
    s_->CreateKeyPath(keyPath);
}

void SimDesktop::DeleteRegKey(const std::string& keyPath) {
    std::string path = KeyPath(keyPath);
    if (path.empty()) {
        return;  // HKEY_LOCAL_MACHINE itself stays
    }
    for (auto it = s_->keys.begin(); it != s_->keys.end();) {
        bool inside = it->first == path || it->first.rfind(path + "\\", 0) == 0;
        it = inside ? s_->keys.erase(it) : std::next(it);
    }
}

void SimDesktop::DeleteRegValue(const std::string& keyPath, const std::string& name) {
    auto k = s_->keys.find(KeyPath(keyPath));
    if (k != s_->keys.end()) {
        k->second.values.erase(Lower(name));
    }
}

bool SimDesktop::RegKeyExists(const std::string& keyPath) const {
    return s_->keys.count(KeyPath(keyPath)) != 0;
}

bool SimDesktop::RegValueExists(const std::string& keyPath, const std::string& name) const {
    return s_->Value(keyPath, name) != nullptr;
}

std::uint32_t SimDesktop::RegValueType(const std::string& keyPath, const std::string& name) const {
    const auto* v = s_->Value(keyPath, name);
    return v ? v->type : win::kRegNone;
}

std::vector<std::uint8_t> SimDesktop::RegValueBytes(const std::string& keyPath,
                                                    const std::string& name) const {
    const auto* v = s_->Value(keyPath, name);
    return v ? v->bytes : std::vector<std::uint8_t>{};
}

std::uint32_t SimDesktop::RegDword(const std::string& keyPath, const std::string& name) const {
    const auto* v = s_->Value(keyPath, name);
    std::uint32_t n = 0;
    for (std::size_t i = 0; v && i < 4 && i < v->bytes.size(); ++i) {
        n |= static_cast<std::uint32_t>(v->bytes[i]) << (8 * i);
    }
    return n;
}

std::vector<std::string> SimDesktop::RegValueNames(const std::string& keyPath) const {
    std::vector<std::string> names;
    auto k = s_->keys.find(KeyPath(keyPath));
    if (k != s_->keys.end()) {
        for (const auto& [lower, v] : k->second.values) {
            names.push_back(v.name);
        }
    }
    return names;
}

int SimDesktop::OpenRegKeyCount() const {
    return static_cast<int>(s_->openKeys.size());
}

int SimDesktop::RegFlushCount() const {
    return s_->regFlushes;
}

namespace {

// Keys a standard user may read but never write, virtualised or not.
bool SystemKey(const std::string& lowerPath) {
    for (const char* top :
         {"software\\microsoft\\windows", "software\\microsoft\\windows nt", "system"}) {
        const std::string t = top;
        if (lowerPath == t || lowerPath.rfind(t + "\\", 0) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

long SimDesktop::RegOpenKeyA(Handle root, const char* subKey, Handle* key) {
    std::string base;
    if (!key) {
        return kErrorInvalidParameter;
    }
    if (!s_->Base(root, &base)) {
        return root >= 0x80000000u && root <= 0x80000006u ? win::kErrorFileNotFound
                                                          : win::kErrorInvalidHandle;
    }
    std::string path = Lower(JoinKey(base, Text(subKey)));
    if (!s_->keys.count(path)) {
        return win::kErrorFileNotFound;
    }
    // MAXIMUM_ALLOWED: writable unless the user lacks the rights.
    *key = s_->OpenKeyHandle(path, !refuseAllAccess && !(standardUser && SystemKey(path)));
    return win::kErrorSuccess;
}

long SimDesktop::RegOpenKeyExA(Handle root, const char* subKey, std::uint32_t access, Handle* key) {
    std::string base;
    if (!key) {
        return kErrorInvalidParameter;
    }
    if (!s_->Base(root, &base)) {
        return root >= 0x80000000u && root <= 0x80000006u ? win::kErrorFileNotFound
                                                          : win::kErrorInvalidHandle;
    }
    std::string path = Lower(JoinKey(base, Text(subKey)));
    if (!s_->keys.count(path)) {
        return win::kErrorFileNotFound;
    }
    if ((access & kKeyWriteRights) != 0 && (refuseAllAccess || (standardUser && SystemKey(path)))) {
        return win::kErrorAccessDenied;
    }
    *key = s_->OpenKeyHandle(path, (access & win::kKeySetValue) != 0);
    return win::kErrorSuccess;
}

long SimDesktop::RegCreateKeyExA(Handle root, const char* subKey, std::uint32_t access,
                                 Handle* key) {
    std::string base;
    if (!key) {
        return kErrorInvalidParameter;
    }
    if (!s_->Base(root, &base)) {
        return root >= 0x80000000u && root <= 0x80000006u ? win::kErrorFileNotFound
                                                          : win::kErrorInvalidHandle;
    }
    // Opening an existing key asks the rights wanted; making a new one asks
    // write access to the key above it.
    const std::string wanted = Lower(JoinKey(base, Text(subKey)));
    const bool refused = refuseAllAccess || (standardUser && SystemKey(wanted));
    if (refused && (!s_->keys.count(wanted) || (access & kKeyWriteRights) != 0)) {
        return win::kErrorAccessDenied;
    }
    std::string path = s_->CreateKeyPath(JoinKey(base, Text(subKey)));
    *key = s_->OpenKeyHandle(path, (access & win::kKeySetValue) != 0);
    return win::kErrorSuccess;
}

long SimDesktop::RegEnumKeyExA(Handle key, std::uint32_t index, char* name,
                               std::uint32_t* nameSize) {
    std::string path;
    if (!s_->Base(key, &path)) {
        return win::kErrorInvalidHandle;
    }
    if (!s_->keys.count(path)) {
        return kErrorKeyDeleted;
    }
    if (!name || !nameSize) {
        return kErrorInvalidParameter;
    }
    // The direct subkeys, in the alphabetical order Windows gives them.
    const std::string prefix = path.empty() ? std::string() : path + "\\";
    std::uint32_t i = 0;
    for (const auto& [sub, k] : s_->keys) {
        if (sub.empty() || sub.size() <= prefix.size() ||
            sub.compare(0, prefix.size(), prefix) != 0 ||
            sub.find('\\', prefix.size()) != std::string::npos) {
            continue;
        }
        if (i++ != index) {
            continue;
        }
        if (*nameSize < k.name.size() + 1) {
            return win::kErrorMoreData;
        }
        std::memcpy(name, k.name.c_str(), k.name.size() + 1);
        *nameSize = static_cast<std::uint32_t>(k.name.size());
        return win::kErrorSuccess;
    }
    return win::kErrorNoMoreItems;
}

long SimDesktop::RegQueryValueExA(Handle key, const char* valueName, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) {
    std::string path;
    if (!s_->Base(key, &path)) {
        return win::kErrorInvalidHandle;
    }
    if (!s_->keys.count(path)) {
        return kErrorKeyDeleted;
    }
    if (data && !size) {
        return kErrorInvalidParameter;
    }
    const auto* v = s_->Value(path, Text(valueName));
    if (!v) {
        return win::kErrorFileNotFound;
    }
    const auto needed = static_cast<std::uint32_t>(v->bytes.size());
    if (type) {
        *type = v->type;
    }
    if (!data) {
        if (size) {
            *size = needed;
        }
        return win::kErrorSuccess;
    }
    if (*size < needed) {
        *size = needed;
        return win::kErrorMoreData;
    }
    std::copy(v->bytes.begin(), v->bytes.end(), data);
    *size = needed;
    return win::kErrorSuccess;
}

long SimDesktop::RegSetValueExA(Handle key, const char* valueName, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t size) {
    auto it = s_->openKeys.find(key);
    if (it == s_->openKeys.end()) {
        return key == win::kHkeyLocalMachine ? win::kErrorAccessDenied : win::kErrorInvalidHandle;
    }
    if (!s_->keys.count(it->second.path)) {
        return kErrorKeyDeleted;
    }
    if (!it->second.canWrite) {
        return win::kErrorAccessDenied;
    }
    if (!data && size != 0) {
        return kErrorInvalidParameter;
    }
    std::vector<std::uint8_t> bytes(data, data + (data ? size : 0));
    s_->SetValue(it->second.path, Text(valueName), type, std::move(bytes));
    return win::kErrorSuccess;
}

long SimDesktop::RegFlushKey(Handle key) {
    std::string path;
    if (!s_->Base(key, &path)) {
        return win::kErrorInvalidHandle;
    }
    ++s_->regFlushes;
    return win::kErrorSuccess;
}

long SimDesktop::RegCloseKey(Handle key) {
    if (key == win::kHkeyLocalMachine) {
        return win::kErrorSuccess;
    }
    return s_->openKeys.erase(key) ? win::kErrorSuccess : win::kErrorInvalidHandle;
}

// ===== COM and DirectShow
// ===========================================================================

long SimDesktop::CoInitialize() {
    return s_->coInit++ == 0 ? win::kSOk : win::kSFalse;
}

void SimDesktop::CoUninitialize() {
    --s_->coInit;  // below 0 it reports an unbalanced call
}

int SimDesktop::CoInitCount() const {
    return s_->coInit;
}

int SimDesktop::AddFilter(const Guid& category, const std::string& friendlyName, bool bindFails) {
    int id = s_->nextFilterId++;
    s_->filters[id] = {category, friendlyName, bindFails};
    return id;
}

void SimDesktop::RemoveFilter(int id) {
    auto it = s_->filters.find(id);
    if (it != s_->filters.end()) {
        it->second.present = false;  // monikers already handed out still name it
    }
}

void SimDesktop::RemoveAllFilters() {
    for (auto& [id, f] : s_->filters) {
        f.present = false;
    }
}

Handle SimDesktop::OpenDeviceCategory(const Guid& category) {
    ++s_->categoryOpens;
    // CoCreateInstance needs COM on this thread (CO_E_NOTINITIALIZED).
    if (failCreateEnumerator || s_->coInit <= 0) {
        return 0;
    }
    State::Enumerator e;
    for (const auto& [id, f] : s_->filters) {
        if (f.present && f.category == category) {
            e.devices.push_back(id);
        }
    }
    if (e.devices.empty()) {
        return 0;  // S_FALSE and no enumerator
    }
    Handle h = s_->NewDeviceObject();
    s_->enumerators[h] = std::move(e);
    return h;
}

Handle SimDesktop::NextDeviceMoniker(Handle enumerator) {
    auto it = s_->enumerators.find(enumerator);
    if (it == s_->enumerators.end() || it->second.next >= it->second.devices.size()) {
        return 0;
    }
    Handle h = s_->NewDeviceObject();
    s_->monikers[h] = it->second.devices[it->second.next++];
    return h;
}

bool SimDesktop::ReadFriendlyName(Handle moniker, char* buffer, int bufferSize) {
    auto it = s_->monikers.find(moniker);
    if (it == s_->monikers.end() || !buffer || bufferSize <= 0) {
        return false;
    }
    CopyTruncated(s_->filters[it->second].name, buffer, bufferSize);
    return true;
}

Handle SimDesktop::BindFilter(Handle moniker) {
    auto it = s_->monikers.find(moniker);
    if (it == s_->monikers.end()) {
        return 0;
    }
    const State::Filter& f = s_->filters[it->second];
    if (f.bindFails || !f.present) {
        return 0;
    }
    Handle h = s_->NewDeviceObject();
    s_->boundFilters.insert(h);
    return h;
}

void SimDesktop::ReleaseMoniker(Handle moniker) {
    s_->monikers.erase(moniker);
}

void SimDesktop::ReleaseDeviceCategory(Handle enumerator) {
    s_->enumerators.erase(enumerator);
}

void SimDesktop::ReleaseFilterObject(Handle filter) {
    s_->boundFilters.erase(filter);
}

int SimDesktop::HeldFilters() const {
    return static_cast<int>(s_->boundFilters.size());
}

int SimDesktop::OpenDeviceObjects() const {
    return static_cast<int>(s_->enumerators.size() + s_->monikers.size());
}

int SimDesktop::CategoryOpenCount() const {
    return s_->categoryOpens;
}

// ===== Device setup and HID
// ===========================================================================

int SimDesktop::AddHidDevice(const HidDevice& device) {
    int id = s_->nextHidId++;
    s_->hidDevices[id] = device;
    return id;
}

SimDesktop::HidDevice& SimDesktop::Hid(int id) {
    return s_->hidDevices.at(id);
}

void SimDesktop::RemoveHidDevice(int id) {
    s_->hidDevices.erase(id);
}

int SimDesktop::OpenHidSets() const {
    return static_cast<int>(s_->hidSets.size());
}

int SimDesktop::OpenHidHandles() const {
    return static_cast<int>(s_->hidHandles.size());
}

std::vector<std::uint8_t> SimDesktop::LastFeatureReport() const {
    return s_->lastFeatureReport;
}

void SimDesktop::HidD_GetHidGuid(Guid* guid) {
    if (guid) {
        *guid = kHidGuid;
    }
}

Handle SimDesktop::SetupDiGetClassDevsA(const Guid& guid, std::uint32_t /*flags*/) {
    if (failGetClassDevs) {
        return kInvalidHandle;
    }
    std::vector<int> ids;
    if (guid == kHidGuid) {
        for (const auto& [id, d] : s_->hidDevices) {
            ids.push_back(id);
        }
    }
    Handle h = s_->NewDeviceObject();
    s_->hidSets[h] = std::move(ids);
    return h;
}

bool SimDesktop::SetupDiEnumDeviceInterfaces(Handle deviceInfoSet, const Guid& guid,
                                             std::uint32_t index) {
    auto it = s_->hidSets.find(deviceInfoSet);
    return it != s_->hidSets.end() && guid == kHidGuid && index < it->second.size();
}

namespace {

// The device of a set's interface, or null when it is out of range or gone.
SimDesktop::HidDevice* SetDevice(std::map<Handle, std::vector<int>>& sets,
                                 std::map<int, SimDesktop::HidDevice>& devices, Handle set,
                                 const Guid& guid, std::uint32_t index) {
    auto s = sets.find(set);
    if (s == sets.end() || !(guid == kHidGuid) || index >= s->second.size()) {
        return nullptr;
    }
    auto d = devices.find(s->second[index]);
    return d == devices.end() ? nullptr : &d->second;
}

}  // namespace

std::uint32_t SimDesktop::GetDeviceInterfaceDetailSize(Handle deviceInfoSet, const Guid& guid,
                                                       std::uint32_t index) {
    auto* d = SetDevice(s_->hidSets, s_->hidDevices, deviceInfoSet, guid, index);
    if (!d || d->detailFails) {
        return 0;
    }
    // The size field and the path with its terminator.
    return static_cast<std::uint32_t>(d->path.size()) + 5;
}

bool SimDesktop::GetDeviceInterfaceDetail(Handle deviceInfoSet, const Guid& guid,
                                          std::uint32_t index, void* detail,
                                          std::uint32_t detailSize, char* path,
                                          std::uint32_t pathMax) {
    auto* d = SetDevice(s_->hidSets, s_->hidDevices, deviceInfoSet, guid, index);
    if (!d || d->detailFails || !detail || detailSize < d->path.size() + 5) {
        return false;
    }
    std::memcpy(static_cast<char*>(detail) + 4, d->path.c_str(), d->path.size() + 1);
    CopyTruncated(d->path, path, static_cast<int>(std::min<std::uint32_t>(pathMax, 0x7FFFFFFF)));
    return true;
}

bool SimDesktop::SetupDiDestroyDeviceInfoList(Handle deviceInfoSet) {
    return s_->hidSets.erase(deviceInfoSet) != 0;
}

Handle SimDesktop::CreateFileA(const char* path, std::uint32_t /*access*/,
                               std::uint32_t /*shareMode*/, std::uint32_t /*disposition*/,
                               std::uint32_t /*flags*/) {
    if (!path) {
        return kInvalidHandle;
    }
    for (const auto& [id, d] : s_->hidDevices) {
        if (SameText(d.path, path)) {
            if (d.openFails) {
                return kInvalidHandle;
            }
            Handle h = s_->NewKernelObject();
            s_->hidHandles[h] = id;
            return h;
        }
    }
    return kInvalidHandle;
}

bool SimDesktop::HidD_GetPreparsedData(Handle device, Handle* preparsed) {
    auto h = s_->hidHandles.find(device);
    if (!preparsed || h == s_->hidHandles.end()) {
        return false;
    }
    auto d = s_->hidDevices.find(h->second);
    if (d == s_->hidDevices.end() || d->second.preparsedFails) {
        return false;
    }
    *preparsed = s_->NewDeviceObject();
    s_->preparsed[*preparsed] = h->second;
    return true;
}

long SimDesktop::HidP_GetCaps(Handle preparsed, HidCaps* caps) {
    auto p = s_->preparsed.find(preparsed);
    if (!caps || p == s_->preparsed.end()) {
        return kHidpStatusInvalidPreparsedData;
    }
    auto d = s_->hidDevices.find(p->second);
    if (d == s_->hidDevices.end() || d->second.capsFails) {
        return kHidpStatusInvalidPreparsedData;
    }
    caps->usage = d->second.usage;
    caps->usagePage = d->second.usagePage;
    return win::kHidpStatusSuccess;
}

bool SimDesktop::HidD_FreePreparsedData(Handle preparsed) {
    return s_->preparsed.erase(preparsed) != 0;
}

bool SimDesktop::HidD_GetFeature(Handle device, std::uint8_t* report, std::uint32_t length) {
    s_->lastFeatureReport.assign(report, report + (report ? length : 0));
    auto h = s_->hidHandles.find(device);
    if (!report || length == 0 || h == s_->hidHandles.end()) {
        return false;
    }
    auto d = s_->hidDevices.find(h->second);
    if (d == s_->hidDevices.end()) {
        return false;  // the stick was pulled
    }
    HidDevice& dev = d->second;
    if (!dev.featureCodes.empty()) {
        report[0] = dev.featureCodes.front();
        dev.featureCodes.pop_front();
        return true;
    }
    if (!dev.idleReads) {
        return false;
    }
    report[0] = dev.idleCode;
    return true;
}

// ===== Chip-vendor libraries
// ===========================================================================

namespace {

constexpr const char* kAf15Exports[] = {"af15_init", "af15_GetIR", "af15_exit"};
constexpr const char* kAf9100Exports[] = {"af9100_init", "af9100_initIRDev", "af9100_ReadRawIR",
                                          "af9100_exit"};
constexpr const char* kRtkExports[] = {"RTK_BDAFilterInit",
                                       "RTK_BDAFilterRelease",
                                       "RTK_HaveAtLeastOneDevice",
                                       "RTK_DeviceIsOk",
                                       "RTK_DeviceIsOnProcess",
                                       "RTK_DeviceIsOffProcess",
                                       "RTK_IR_Read",
                                       "RTK_IR_Write",
                                       "RTK_Get_Suspend_Status",
                                       "RTK_I2C_Read",
                                       "RTK_I2C_Write",
                                       "RTK_USB_Byte_Read",
                                       "RTK_USB_Byte_Write",
                                       "RTK_SYS_Byte_Read",
                                       "RTK_SYS_Byte_Write",
                                       "RTK_Demod_Byte_Read",
                                       "RTK_Demod_Byte_Write",
                                       "RTK_InitialAPModeIRParameter",
                                       "RTK_GetAPModeIRCode",
                                       "RTK_GetAPModeIRCurrentIRType"};

}  // namespace

// The entry points the exported functions share: the scripted result, logged.
struct SimLibraryCalls {
    static int Call(const char* name) {
        SimDesktop* desk = SimDesktop::Current();
        if (!desk) {
            return 0;
        }
        SimEntryPoint& entry = desk->Entry(name);
        int result = entry.defaultResult;
        if (!entry.results.empty()) {
            result = entry.results.front();
            entry.results.pop_front();
        }
        auto& e = desk->s_->Log(SimEvent::Kind::LibraryCall);
        e.text = name;
        e.a = result;
        return result;
    }

    static int Af15Init() { return Call("af15_init"); }
    static int Af15GetIR(unsigned char* buffer8) {
        SimDesktop* desk = SimDesktop::Current();
        if (desk && !desk->af15Buffers.empty()) {
            const auto bytes = std::move(desk->af15Buffers.front());
            desk->af15Buffers.pop_front();
            std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), 8), buffer8);
        }
        return Call("af15_GetIR");
    }
    static int Af15Exit() { return Call("af15_exit"); }
    static int Af9100Init() { return Call("af9100_init"); }
    static int Af9100InitIRDev() { return Call("af9100_initIRDev"); }
    static int Af9100ReadRawIR(unsigned int* words8) {
        SimDesktop* desk = SimDesktop::Current();
        if (desk && !desk->af9100Words.empty()) {
            const auto words = std::move(desk->af9100Words.front());
            desk->af9100Words.pop_front();
            std::copy_n(words.begin(), std::min<std::size_t>(words.size(), 8), words8);
        }
        return Call("af9100_ReadRawIR");
    }
    static int Af9100Exit() { return Call("af9100_exit"); }
    static int RtkBdaFilterInit(Hwnd window) {
        if (SimDesktop* desk = SimDesktop::Current()) {
            desk->s_->rtkFilterInitWindow = window;
        }
        return Call("RTK_BDAFilterInit");
    }
    static int RtkGetAPModeIRCode(unsigned int* count, unsigned char* buffer128,
                                  unsigned int size) {
        SimDesktop* desk = SimDesktop::Current();
        if (desk && !desk->rtkCodes.empty()) {
            const auto code = std::move(desk->rtkCodes.front());
            desk->rtkCodes.pop_front();
            if (count) {
                *count = code.first;
            }
            if (buffer128) {
                std::copy_n(code.second.begin(), std::min<std::size_t>(code.second.size(), size),
                            buffer128);
            }
        }
        return Call("RTK_GetAPModeIRCode");
    }
    // The RTK entry points without arguments of their own, by export index.
    template <int N>
    static int RtkPlain() {
        return Call(kRtkExports[N]);
    }

    template <int... N>
    static void* RtkPlainAt(int index, std::integer_sequence<int, N...>) {
        void* table[] = {Ptr<RtkDeviceIsOk>(&RtkPlain<N>)...};
        return table[index];
    }

    // The function of an export, typed exactly as the receiver calls it (in
    // the cdecl convention, which the receiver calls like any other).
    static void* Function(const std::string& name) {
        if (name == "af15_init")
            return Ptr<rc::Af15Init>(&Af15Init);
        if (name == "af15_GetIR")
            return Ptr<rc::Af15GetIR>(&Af15GetIR);
        if (name == "af15_exit")
            return Ptr<rc::Af15Exit>(&Af15Exit);
        if (name == "af9100_init")
            return Ptr<rc::Af9100Init>(&Af9100Init);
        if (name == "af9100_initIRDev")
            return Ptr<rc::Af9100InitIRDev>(&Af9100InitIRDev);
        if (name == "af9100_ReadRawIR")
            return Ptr<rc::Af9100ReadRawIR>(&Af9100ReadRawIR);
        if (name == "af9100_exit")
            return Ptr<rc::Af9100Exit>(&Af9100Exit);
        if (name == "RTK_BDAFilterInit")
            return Ptr<rc::RtkBdaFilterInit>(&RtkBdaFilterInit);
        if (name == "RTK_GetAPModeIRCode")
            return Ptr<rc::RtkGetAPModeIRCode>(&RtkGetAPModeIRCode);
        for (int i = 0; i < static_cast<int>(std::size(kRtkExports)); ++i) {
            if (name == kRtkExports[i]) {
                return RtkPlainAt(i, std::make_integer_sequence<int, std::size(kRtkExports)>());
            }
        }
        return nullptr;
    }

    template <class F>
    static void* Ptr(F f) {
        return reinterpret_cast<void*>(f);
    }
};

void SimDesktop::InstallLibrary(const std::string& name) {
    std::string n = Lower(name);
    if (std::find(s_->installed.begin(), s_->installed.end(), n) == s_->installed.end()) {
        s_->installed.push_back(n);
    }
}

void SimDesktop::UninstallLibrary(const std::string& name) {
    auto& v = s_->installed;
    v.erase(std::remove(v.begin(), v.end(), Lower(name)), v.end());
}

SimEntryPoint& SimDesktop::Entry(const std::string& name) {
    return s_->entries[name];
}

Hwnd SimDesktop::LastRtkFilterInitWindow() const {
    return s_->rtkFilterInitWindow;
}

int SimDesktop::LoadLibraryCount(const std::string& name) const {
    auto it = s_->loadCounts.find(Lower(name));
    return it == s_->loadCounts.end() ? 0 : it->second;
}

void SimDesktop::PlantLibrary(const std::string& name) {
    InstallLibrary(name);
    s_->planted.insert(Lower(name));
}

bool SimDesktop::CurrentFolderSearched() const {
    return s_->currentFolderSearched;
}

bool SimDesktop::SetDefaultDllDirectories(std::uint32_t directoryFlags) {
    if (lacksDefaultDllDirectories) {
        return false;
    }
    if (directoryFlags & win::kLoadLibrarySearchDefaultDirs) {
        s_->currentFolderSearched = false;
    }
    return true;
}

bool SimDesktop::SetDllDirectoryA(const char* path) {
    if (path && path[0] == '\0') {
        s_->currentFolderSearched = false;
    } else if (!path) {
        s_->currentFolderSearched = true;
    }
    return true;
}

Handle SimDesktop::LoadLibraryA(const char* name) {
    if (!name) {
        return 0;
    }
    std::string n = Lower(name);
    ++s_->loadCounts[n];
    auto it = std::find(s_->installed.begin(), s_->installed.end(), n);
    if (it == s_->installed.end() || (s_->planted.count(n) && !s_->currentFolderSearched)) {
        return 0;
    }
    return kFirstModule + static_cast<Handle>(it - s_->installed.begin()) * 0x10000;
}

void* SimDesktop::GetProcAddress(Handle module, const char* name) {
    if (!name || module < kFirstModule || (module - kFirstModule) % 0x10000 != 0) {
        return nullptr;
    }
    std::size_t index = (module - kFirstModule) / 0x10000;
    if (index >= s_->installed.size()) {
        return nullptr;
    }
    const std::string& lib = s_->installed[index];
    std::string entry = name;  // export names compare exactly
    auto exported = [&](const auto& names) {
        return std::find_if(std::begin(names), std::end(names),
                            [&](const char* n) { return entry == n; }) != std::end(names);
    };
    bool known = (lib == "af15bdaex.dll" && exported(kAf15Exports)) ||
                 (lib == "af9100ex.dll" && exported(kAf9100Exports)) ||
                 (lib == "rtl283xaccess.dll" && exported(kRtkExports));
    if (!known || !Entry(entry).exported) {
        return nullptr;
    }
    return SimLibraryCalls::Function(entry);
}

// ===== The log
// ======================================================================================

const std::vector<SimEvent>& SimDesktop::Log() const {
    return s_->log;
}

void SimDesktop::ClearLog() {
    s_->log.clear();
}

std::vector<SimEvent> SimDesktop::Events(SimEvent::Kind kind) const {
    std::vector<SimEvent> out;
    for (const auto& e : s_->log) {
        if (e.kind == kind) {
            out.push_back(e);
        }
    }
    return out;
}

std::vector<std::string> SimDesktop::Traces() const {
    std::vector<std::string> out;
    for (const auto& e : s_->log) {
        if (e.kind == SimEvent::Kind::Trace) {
            out.push_back(e.text);
        }
    }
    return out;
}

std::vector<std::string> SimDesktop::LibraryCalls() const {
    std::vector<std::string> out;
    for (const auto& e : s_->log) {
        if (e.kind == SimEvent::Kind::LibraryCall) {
            out.push_back(e.text);
        }
    }
    return out;
}

std::string SimDesktop::KeyText() const {
    std::string out;
    for (const auto& e : s_->log) {
        if (e.kind != SimEvent::Kind::KeybdEvent) {
            continue;
        }
        if (!out.empty()) {
            out += ' ';
        }
        out += std::to_string(e.a);
        if (e.b == 1) {
            out += 'd';
        } else if (e.b == 3) {
            out += 'u';
        } else {
            out += ':' + std::to_string(e.b);
        }
    }
    return out;
}

}  // namespace rc
