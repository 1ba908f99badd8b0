// Windows and messages: the desktop's top-level windows, their processes and
// threads, the foreground, and the main window with its message queue.
#include <algorithm>
#include <iterator>
#include <string_view>

#include "core/text.h"
#include "platform/win_defs.h"
#include "support/sim_desktop.h"
#include "support/sim_desktop_state.h"
#include "support/sim_text.h"

namespace rc {

using sim::CopyTruncated;
using sim::kDesktop;
using sim::Lower;
using sim::SameText;
using sim::Text;

namespace {

constexpr Handle kAcceleratorHandle = 0x6023;
constexpr std::uint32_t kFirstRegisteredMessage = 0xC000;
constexpr std::uint32_t kGwHwndFirst = 0;
constexpr std::uint32_t kGwHwndLast = 1;
constexpr std::uint32_t kGwHwndPrev = 3;
constexpr std::uint32_t kSwpNoMove = 0x0002;
constexpr Hwnd kHwndNoTopmost = static_cast<Hwnd>(-2);

}  // namespace

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
        case win::kGwOwner:
            return it->owner;
        default:
            return 0;  // no children
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
    log_.Add(SimEvent::Kind::SetForeground, hwnd).a = ok ? 1 : 0;
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
    log_.Add(SimEvent::Kind::SetActive, hwnd);
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

std::uint32_t SimDesktop::GetCurrentThreadId() {
    return kOurThread;
}

bool SimDesktop::IsHungAppWindow(Hwnd hwnd) {
    return s_->hungWindows.count(hwnd) != 0 && s_->FindWin(hwnd) != nullptr;
}

void SimDesktop::SetHung(Hwnd hwnd, bool hung) {
    if (hung) {
        s_->hungWindows.insert(hwnd);
    } else {
        s_->hungWindows.erase(hwnd);
    }
}

bool SimDesktop::AttachThreadInput(std::uint32_t idAttach, std::uint32_t idAttachTo, bool attach) {
    if (idAttach == 0 || idAttachTo == 0 || idAttach == idAttachTo) {
        return false;
    }
    if (attach && s_->hungWindows.count(static_cast<Hwnd>(idAttachTo)) != 0) {
        ++attachesToHungThreads;  // a window's thread id is its handle here
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
    log_.Add(SimEvent::Kind::BringToTop, hwnd);
    return s_->FindWin(hwnd) != nullptr;
}

bool SimDesktop::SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                              std::uint32_t flags) {
    auto& e = log_.Add(SimEvent::Kind::SetWindowPos, hwnd);
    e.a = static_cast<std::int64_t>(static_cast<std::intptr_t>(insertAfter));
    e.b = x;
    e.c = y;
    e.d = flags;
    MoveOwn(hwnd, x, y, cx, cy, flags);
    if (s_->controls.count(hwnd) != 0) {
        return true;
    }
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
    if (!(flags & win::kSwpNoSize)) {
        w->size = {cx, cy};
    }
    return true;
}

bool SimDesktop::PostMessageA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    auto& e = log_.Add(SimEvent::Kind::PostMessage, hwnd);
    e.a = msg;
    e.b = static_cast<std::int64_t>(wParam);
    e.c = lParam;
    if (!s_->FindWin(hwnd)) {
        lastError_ = 1400;  // ERROR_INVALID_WINDOW_HANDLE
        return false;
    }
    if (WindowElevated(hwnd) && !elevated) {
        lastError_ = static_cast<std::uint32_t>(win::kErrorAccessDenied);
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
    auto& e = log_.Add(SimEvent::Kind::SendMessage, hwnd);
    e.a = msg;
    e.b = static_cast<std::int64_t>(wParam);
    e.c = lParam;
    if (std::intptr_t own = 0; SendToOwn(hwnd, msg, wParam, lParam, &own)) {
        return own;
    }
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

// ===== Main window and message loop ==============================================

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
    if (auto c = s_->controls.find(hwnd); c != s_->controls.end()) {
        const bool was = c->second.visible;
        c->second.visible = cmdShow != win::kSwHide;
        return was;
    }
    auto* w = s_->FindWin(hwnd);
    if (!w) {
        return false;
    }
    bool wasVisible = w->visible;
    w->visible = cmdShow != win::kSwHide;
    if (w->exStyle != 0 && (cmdShow == win::kSwShow || cmdShow == win::kSwShowNormal)) {
        s_->foreground = hwnd;
        s_->active = hwnd;
    }
    return wasVisible;
}

bool SimDesktop::UpdateWindow(Hwnd hwnd) {
    return s_->FindWin(hwnd) != nullptr;
}

bool SimDesktop::DestroyWindow(Hwnd hwnd) {
    // Only the system's own window can be destroyed; other processes' windows
    // refuse, and dialogs end through EndDialog.
    if (DestroyOwn(hwnd)) {
        return true;
    }
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

// ===== On-screen display ==========================================================

std::uint32_t SimDesktop::WindowExStyle(Hwnd hwnd) const {
    if (auto it = s_->ownWindows.find(hwnd); it != s_->ownWindows.end()) {
        return it->second.exStyle;  // a window of the program's own classes
    }
    const auto* w = s_->FindWin(hwnd);
    return w ? w->exStyle : 0;
}

Point SimDesktop::WindowSize(Hwnd hwnd) const {
    const auto* w = s_->FindWin(hwnd);
    return w ? w->size : Point{0, 0};
}

int SimDesktop::WindowAlpha(Hwnd hwnd) const {
    const auto* w = s_->FindWin(hwnd);
    return w ? w->alpha : -1;
}

int SimDesktop::TextPanelsCreated() const {
    return s_->textPanels;
}

void SimDesktop::SetWindowMonitor(Hwnd hwnd, Rect work) {
    s_->monitorOf.emplace_back(hwnd, work);
}

bool SimDesktop::GetMonitorWorkArea(Hwnd hwnd, Rect* work) {
    if (work == nullptr) {
        return false;
    }
    *work = workArea;
    for (const auto& [window, area] : s_->monitorOf) {
        if (window == hwnd && hwnd != 0) {
            *work = area;
        }
    }
    return true;
}

Hwnd SimDesktop::CreateTextPanel(const char* className, std::uint32_t exStyle, Hwnd) {
    Hwnd h = AddWindow(Text(className), "", false);
    auto* w = s_->FindWin(h);
    w->exStyle = exStyle;
    w->topmost = (exStyle & win::kWsExTopmost) != 0;
    w->process = kOurProcess;
    ++s_->textPanels;
    return h;
}

int SimDesktop::MeasurePanelText(const char16_t* text, int panelHeight) {
    if (text == nullptr) {
        return 0;
    }
    return static_cast<int>(std::u16string_view(text).size()) * panelHeight * 5 / 16;
}

bool SimDesktop::SetLayeredWindowAttributes(Hwnd hwnd, std::uint32_t, std::uint8_t alpha,
                                            std::uint32_t flags) {
    auto* w = s_->FindWin(hwnd);
    if (w == nullptr || !(w->exStyle & win::kWsExLayered)) {
        return false;
    }
    if (flags & win::kLwaAlpha) {
        w->alpha = alpha;
    }
    return true;
}

}  // namespace rc
