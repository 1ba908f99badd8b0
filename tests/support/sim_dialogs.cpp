// The modal loops and what they show: the tray icon, popup menus, dialogs
// and message boxes.
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/win_defs.h"
#include "support/sim_desktop.h"
#include "support/sim_desktop_state.h"
#include "support/sim_text.h"

namespace rc {

using sim::Text;

// ===== Tray icon and menus =======================================================

bool SimDesktop::Shell_NotifyIconW(std::uint32_t message, const TrayIconData& data) {
    auto& e = log_.Add(SimEvent::Kind::TrayIcon, data.hWnd);
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
    auto& e = log_.Add(SimEvent::Kind::MenuTracked, owner);
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

// ===== Dialogs and message boxes =================================================

std::intptr_t SimDesktop::DialogBoxParamA(std::uint32_t templateId, Hwnd owner, DlgProc proc,
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
        case 120:
            title = "Add a program";
            break;
        default:
            return -1;  // no such template
    }
    if (!proc) {
        return -1;
    }
    // "Add a program" holds a list view (1201): without the common controls'
    // classes the dialog can't be made.
    const bool listView = templateId == 120;
    if (listView && !s_->commonControls) {
        return -1;
    }
    Hwnd dlg = AddWindow("#32770", title, true);
    s_->FindWin(dlg)->owner = owner;
    if (listView) {
        State::ChildControl list;
        list.parent = dlg;
        list.className = "SysListView32";
        list.id = 1201;
        list.style = win::kWsChild | win::kWsVisible | win::kWsTabStop | win::kLvsReport;
        s_->controls.emplace(s_->nextHwnd += 0x10, std::move(list));
    }
    State::Dialog fresh;
    fresh.templateId = templateId;
    fresh.proc = proc;
    fresh.ctx = ctx;
    s_->dialogs[dlg] = std::move(fresh);
    s_->dialogStack.push_back(dlg);
    auto& opened = log_.Add(SimEvent::Kind::DialogOpened, dlg);
    opened.a = templateId;
    opened.b = static_cast<std::int64_t>(owner);

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
    log_.Add(SimEvent::Kind::DialogEnded, dlg).a = d.result;
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
    auto& e = log_.Add(SimEvent::Kind::MessageBox, owner);
    e.text = Text(text);
    e.text2 = caption ? std::string(caption) : std::string("Error");
    e.a = type;
    std::string t = e.text, c = e.text2;  // the log may grow while the box is open
    return onMessageBox ? onMessageBox(t, c) : win::kIdOk;
}

}  // namespace rc
