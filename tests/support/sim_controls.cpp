// The simulated desktop's windows of the program's own classes, their
// controls (the list view among them), the clipboard, fonts and the clock of
// the wall.
#include <algorithm>
#include <iterator>

#include "platform/win_defs.h"
#include "support/sim_desktop.h"
#include "support/sim_desktop_state.h"
#include "core/text.h"

namespace rc {

namespace {

std::string Narrow(const char16_t* text) {
    return text != nullptr ? Utf16ToUtf8(text) : std::string();
}

}  // namespace

bool SimDesktop::RegisterWindowClass(const char* className, std::uint32_t iconId, WndProc proc,
                                     void* ctx) {
    // The same list as the main window's class: one name space.
    return RegisterMainClass(className, iconId, proc, ctx);
}

Hwnd SimDesktop::CreateWindowExA(std::uint32_t exStyle, const char* className, const char* title,
                                 std::uint32_t style, int x, int y, int width, int height,
                                 Hwnd parent, std::uint32_t id) {
    const std::string name = className != nullptr ? className : "";
    if ((style & win::kWsChild) != 0) {
        const bool known = SameText(name, "EDIT") || SameText(name, "BUTTON") ||
                           SameText(name, "STATIC") || SameText(name, "COMBOBOX") ||
                           SameText(name, "LISTBOX") ||
                           (SameText(name, "SysListView32") && s_->commonControls) ||
                           (SameText(name, "msctls_hotkey32") && s_->hotkeyControls);
        if (!known || (s_->ownWindows.count(parent) == 0 && s_->controls.count(parent) == 0)) {
            return 0;
        }
        Hwnd h = s_->nextHwnd += 0x10;
        State::ChildControl c;
        c.parent = parent;
        c.className = name;
        c.id = id;
        c.style = style;
        c.text = title != nullptr ? title : "";
        c.visible = (style & win::kWsVisible) != 0;
        s_->controls.emplace(h, std::move(c));
        return h;
    }
    const State::WindowClass* cls = nullptr;
    for (const auto& c : s_->classes) {
        if (SameText(c.name, name)) {
            cls = &c;
        }
    }
    if (cls == nullptr) {
        return 0;
    }
    const WndProc proc = cls->proc;
    void* const ctx = cls->ctx;
    Hwnd h = AddWindow(cls->name, title != nullptr ? title : "", (style & win::kWsVisible) != 0);
    s_->FindWin(h)->process = kOurProcess;
    if (x == win::kCwUseDefault) {
        x = 40;
        y = 40;
    }
    s_->ownWindows[h] = {proc, ctx, style, exStyle, {x, y, x + width, y + height}};
    if (proc(ctx, h, win::kWmCreate, 0, 0) == -1) {
        DestroyOwn(h);
        return 0;
    }
    // The client area's size, as WM_SIZE gives it (no frame in the simulation).
    proc(ctx, h, win::kWmSize, 0,
         static_cast<std::intptr_t>((width & 0xFFFF) | ((height & 0xFFFF) << 16)));
    return h;
}

bool SimDesktop::SendToOwn(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                           std::intptr_t lParam, std::intptr_t* result) {
    if (auto it = s_->ownWindows.find(hwnd); it != s_->ownWindows.end()) {
        const State::OwnWindow own = it->second;
        *result = own.proc(own.ctx, hwnd, msg, wParam, lParam);
        return true;
    }
    auto it = s_->controls.find(hwnd);
    if (it == s_->controls.end()) {
        return false;
    }
    State::ChildControl& c = it->second;
    *result = 0;
    switch (msg) {
        case win::kWmSetFont:
            c.font = static_cast<Handle>(wParam);
            break;
        case win::kLvmGetItemCount:
            *result = static_cast<std::intptr_t>(c.rows.size());
            break;
        case win::kLvmDeleteItem:
            if (wParam < c.rows.size()) {
                c.rows.erase(c.rows.begin() + static_cast<std::ptrdiff_t>(wParam));
                c.rowImages.erase(c.rowImages.begin() + static_cast<std::ptrdiff_t>(wParam));
                *result = 1;
            }
            break;
        case win::kLvmEnsureVisible:
            if (wParam < c.rows.size()) {
                c.inView = static_cast<int>(wParam);
                *result = 1;
            }
            break;
        case win::kLvmDeleteAllItems:
            c.rows.clear();
            c.rowImages.clear();
            c.selection = -1;
            c.inView = -1;
            *result = 1;
            break;
        case win::kLvmGetNextItem:
            *result = static_cast<std::intptr_t>(wParam) == -1 && (lParam & win::kLvniSelected) != 0
                          ? c.selection
                          : -1;
            break;
        case win::kCbResetContent:
        case win::kLbResetContent:
            c.items.clear();
            c.selection = -1;
            break;
        case win::kCbGetCount:
        case win::kLbGetCount:
            *result = static_cast<std::intptr_t>(c.items.size());
            break;
        case win::kCbGetCurSel:
        case win::kLbGetCurSel:
            *result = c.selection;
            break;
        case win::kCbSetCurSel:
        case win::kLbSetCurSel:
            // -1 clears the selection; an index past the end clears it and fails.
            c.selection = wParam < c.items.size() ? static_cast<int>(wParam) : -1;
            *result = c.selection == static_cast<int>(wParam) ? c.selection : -1;
            break;
        case win::kBmGetCheck:
            *result = static_cast<std::intptr_t>(c.check);
            break;
        case win::kBmSetCheck:
            c.check = wParam;
            break;
        case win::kHkmGetHotkey:
            *result = static_cast<std::intptr_t>(c.hotkey);
            break;
        case win::kHkmSetHotkey:
            c.hotkey = static_cast<std::uint32_t>(wParam & 0xFFFF);
            break;
        case win::kLvmSetImageList:
            if (wParam == win::kLvsilSmall) {
                *result = static_cast<std::intptr_t>(c.imageList);
                c.imageList = static_cast<Handle>(lParam);
            }
            break;
        default:
            break;
    }
    return true;
}

bool SimDesktop::DestroyOwn(Hwnd hwnd) {
    auto it = s_->ownWindows.find(hwnd);
    if (it == s_->ownWindows.end()) {
        return false;
    }
    const State::OwnWindow own = it->second;
    own.proc(own.ctx, hwnd, win::kWmDestroy, 0, 0);
    for (auto c = s_->controls.begin(); c != s_->controls.end();) {
        c = c->second.parent == hwnd ? s_->controls.erase(c) : std::next(c);
    }
    s_->ownWindows.erase(hwnd);
    RemoveWindow(hwnd);
    return true;
}

void SimDesktop::MoveOwn(Hwnd hwnd, int x, int y, int cx, int cy, std::uint32_t flags) {
    auto it = s_->ownWindows.find(hwnd);
    if (it == s_->ownWindows.end()) {
        return;
    }
    Rect& r = it->second.rect;
    if (!(flags & win::kSwpNoMove)) {
        const int w = r.right - r.left;
        const int h = r.bottom - r.top;
        r = {x, y, x + w, y + h};
    }
    if (!(flags & win::kSwpNoSize)) {
        r.right = r.left + cx;
        r.bottom = r.top + cy;
    }
}

Hwnd SimDesktop::SetFocus(Hwnd hwnd) {
    if (s_->controls.count(hwnd) == 0 && s_->ownWindows.count(hwnd) == 0) {
        return 0;
    }
    const Hwnd before = s_->focus;
    s_->focus = hwnd;
    return before;
}

bool SimDesktop::SetWindowTextW(Hwnd hwnd, const char16_t* text) {
    if (auto it = s_->controls.find(hwnd); it != s_->controls.end()) {
        it->second.text = Narrow(text);
        return true;
    }
    if (auto* w = s_->FindWin(hwnd)) {
        w->title = Narrow(text);
        return true;
    }
    return false;
}

bool SimDesktop::GetWindowRect(Hwnd hwnd, Rect* rect) {
    auto it = s_->ownWindows.find(hwnd);
    if (it == s_->ownWindows.end() || rect == nullptr) {
        return false;
    }
    *rect = it->second.rect;
    return true;
}

bool SimDesktop::InitCommonControlsEx(std::uint32_t classes) {
    if ((classes & win::kIccListViewClasses) != 0) {
        s_->commonControls = true;
    }
    if ((classes & win::kIccHotkeyClass) != 0) {
        s_->hotkeyControls = true;
    }
    return true;
}

int SimDesktop::ListViewInsertColumnW(Hwnd list, int index, const char16_t* text, int) {
    auto it = s_->controls.find(list);
    if (it == s_->controls.end() || index < 0) {
        return -1;
    }
    auto& columns = it->second.columns;
    const auto at = std::min<std::size_t>(static_cast<std::size_t>(index), columns.size());
    columns.insert(columns.begin() + static_cast<std::ptrdiff_t>(at), Narrow(text));
    return static_cast<int>(at);
}

int SimDesktop::ListViewInsertItemW(Hwnd list, int index, const char16_t* text) {
    auto it = s_->controls.find(list);
    if (it == s_->controls.end() || index < 0) {
        return -1;
    }
    auto& rows = it->second.rows;
    const auto at = std::min<std::size_t>(static_cast<std::size_t>(index), rows.size());
    std::vector<std::string> row(std::max<std::size_t>(it->second.columns.size(), 1));
    row[0] = Narrow(text);
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
    it->second.rowImages.insert(it->second.rowImages.begin() + static_cast<std::ptrdiff_t>(at), -1);
    return static_cast<int>(at);
}

bool SimDesktop::ListViewSetItemTextW(Hwnd list, int item, int subItem, const char16_t* text) {
    auto it = s_->controls.find(list);
    if (it == s_->controls.end() || item < 0 || subItem < 0) {
        return false;
    }
    auto& rows = it->second.rows;
    if (static_cast<std::size_t>(item) >= rows.size() ||
        static_cast<std::size_t>(subItem) >= rows[static_cast<std::size_t>(item)].size()) {
        return false;
    }
    rows[static_cast<std::size_t>(item)][static_cast<std::size_t>(subItem)] = Narrow(text);
    return true;
}

bool SimDesktop::ListViewSelectItem(Hwnd list, int item) {
    auto it = s_->controls.find(list);
    if (it == s_->controls.end() || item >= static_cast<int>(it->second.rows.size())) {
        return false;
    }
    it->second.selection = item < 0 ? -1 : item;
    return true;
}

std::intptr_t SimDesktop::SendMessageTextW(Hwnd hwnd, std::uint32_t msg, std::uintptr_t,
                                           const char16_t* text) {
    auto it = s_->controls.find(hwnd);
    if (it == s_->controls.end()) {
        return win::kCbErr;
    }
    auto& items = it->second.items;
    if (msg == win::kCbAddString || msg == win::kLbAddString) {
        items.push_back(Narrow(text));
        return static_cast<std::intptr_t>(items.size() - 1);
    }
    return win::kCbErr;
}

int SimDesktop::MessageBoxW(Hwnd owner, const char16_t* text, const char16_t* caption,
                            std::uint32_t type) {
    const std::string t = Narrow(text);
    const std::string c = Narrow(caption);
    return MessageBoxA(owner, t.c_str(), c.c_str(), type);
}

bool SimDesktop::SetMinTrackSize(std::intptr_t minMaxInfo, int width, int height) {
    if (minMaxInfo == 0) {
        return false;
    }
    s_->minTrackSize = {width, height};
    return true;
}

bool SimDesktop::SetClipboardTextW(Hwnd, const char16_t* text) {
    if (clipboardBusy) {
        return false;
    }
    s_->clipboard = Narrow(text);
    return true;
}

void SimDesktop::GetLocalTime(LocalTime* time) {
    *time = localTime;
}

Handle SimDesktop::CreateMessageFont() {
    ++s_->fonts;
    return 0x7000;
}

bool SimDesktop::DeleteObject(Handle object) {
    if (object == 0 || s_->fonts == 0) {
        return false;
    }
    --s_->fonts;
    return true;
}

int SimDesktop::GetScreenDpi() {
    return screenDpi;
}

// --- Test controls ---------------------------------------------------------------

Hwnd SimDesktop::FindControl(Hwnd parent, const std::string& className, int nth) const {
    for (const auto& [h, c] : s_->controls) {
        if (c.parent == parent && SameText(c.className, className) && nth-- == 0) {
            return h;
        }
    }
    return 0;
}

Hwnd SimDesktop::ControlById(Hwnd parent, std::uint32_t id) const {
    for (const auto& [h, c] : s_->controls) {
        if (c.parent == parent && c.id == id) {
            return h;
        }
    }
    return 0;
}

std::string SimDesktop::ControlText(Hwnd control) const {
    auto it = s_->controls.find(control);
    return it != s_->controls.end() ? it->second.text : std::string();
}

std::vector<std::string> SimDesktop::ListColumns(Hwnd list) const {
    auto it = s_->controls.find(list);
    return it != s_->controls.end() ? it->second.columns : std::vector<std::string>{};
}

std::vector<std::vector<std::string>> SimDesktop::ListRows(Hwnd list) const {
    auto it = s_->controls.find(list);
    return it != s_->controls.end() ? it->second.rows : std::vector<std::vector<std::string>>{};
}

int SimDesktop::ListInView(Hwnd list) const {
    auto it = s_->controls.find(list);
    return it != s_->controls.end() ? it->second.inView : -1;
}

std::uint32_t SimDesktop::WindowStyle(Hwnd hwnd) const {
    auto it = s_->ownWindows.find(hwnd);
    return it != s_->ownWindows.end() ? it->second.style : 0;
}

Rect SimDesktop::WindowRect(Hwnd hwnd) const {
    auto it = s_->ownWindows.find(hwnd);
    return it != s_->ownWindows.end() ? it->second.rect : Rect{};
}

void SimDesktop::ClickControl(Hwnd control) {
    auto it = s_->controls.find(control);
    if (it == s_->controls.end()) {
        return;
    }
    if ((it->second.style & 0xF) == win::kBsAutoCheckBox &&
        SameText(it->second.className, "BUTTON")) {
        it->second.check =
            it->second.check == win::kBstChecked ? win::kBstUnchecked : win::kBstChecked;
    }
    const Hwnd parent = it->second.parent;
    const std::uint32_t id = it->second.id;
    std::intptr_t ignored = 0;
    SendToOwn(parent, win::kWmCommand, id, static_cast<std::intptr_t>(control), &ignored);
}

void SimDesktop::NotifyControl(Hwnd control, std::uint32_t code) {
    auto it = s_->controls.find(control);
    if (it == s_->controls.end()) {
        return;
    }
    const Hwnd parent = it->second.parent;
    const std::uintptr_t id = it->second.id;
    std::intptr_t ignored = 0;
    if (SameText(it->second.className, "SysListView32")) {
        constexpr std::uint32_t kLvnItemChanged = static_cast<std::uint32_t>(-101);
        NotifyHeader header{control, id, kLvnItemChanged};
        SendToOwn(parent, win::kWmNotify, id, reinterpret_cast<std::intptr_t>(&header), &ignored);
        return;
    }
    SendToOwn(parent, win::kWmCommand, (static_cast<std::uintptr_t>(code) << 16) | id,
              static_cast<std::intptr_t>(control), &ignored);
}

void SimDesktop::TypeInto(Hwnd control, const std::string& text) {
    auto it = s_->controls.find(control);
    if (it == s_->controls.end()) {
        return;
    }
    it->second.text = text;
    NotifyControl(control, win::kEnChange);
}

void SimDesktop::ChooseItem(Hwnd control, int index) {
    auto it = s_->controls.find(control);
    if (it == s_->controls.end()) {
        return;
    }
    State::ChildControl& c = it->second;
    const bool list = SameText(c.className, "SysListView32");
    const std::size_t count = list ? c.rows.size() : c.items.size();
    c.selection = index >= 0 && static_cast<std::size_t>(index) < count ? index : -1;
    NotifyControl(control, list ? 0 : win::kCbnSelChange);
}

void SimDesktop::PressHotkey(Hwnd control, std::uint8_t vk, std::uint32_t modifiers) {
    auto it = s_->controls.find(control);
    if (it == s_->controls.end()) {
        return;
    }
    it->second.hotkey = vk | (modifiers << 8);
    NotifyControl(control, win::kEnChange);
}

std::vector<std::string> SimDesktop::ControlItems(Hwnd control) const {
    auto it = s_->controls.find(control);
    return it != s_->controls.end() ? it->second.items : std::vector<std::string>{};
}

int SimDesktop::ControlSelection(Hwnd control) const {
    auto it = s_->controls.find(control);
    return it != s_->controls.end() ? it->second.selection : -1;
}

bool SimDesktop::ControlVisible(Hwnd control) const {
    auto it = s_->controls.find(control);
    return it != s_->controls.end() && it->second.visible;
}

bool SimDesktop::ControlChecked(Hwnd control) const {
    auto it = s_->controls.find(control);
    return it != s_->controls.end() && it->second.check == win::kBstChecked;
}

std::uint32_t SimDesktop::ControlHotkey(Hwnd control) const {
    auto it = s_->controls.find(control);
    return it != s_->controls.end() ? it->second.hotkey : 0;
}

Point SimDesktop::MinTrackSize() const {
    return s_->minTrackSize;
}

std::string SimDesktop::ClipboardText() const {
    return s_->clipboard;
}

int SimDesktop::OpenFonts() const {
    return s_->fonts;
}

Hwnd SimDesktop::Focus() const {
    return s_->focus;
}

}  // namespace rc
