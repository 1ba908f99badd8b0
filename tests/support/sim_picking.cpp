// The simulated desktop's answers about other programs' windows (their
// extended styles, cloaking and icons), image lists, list-view images,
// dialog items and the Open dialog.
#include "core/text.h"
#include "platform/win_defs.h"
#include "support/sim_desktop.h"
#include "support/sim_desktop_state.h"

namespace rc {

namespace {

std::string Narrow(const char16_t* text) {
    return text != nullptr ? Utf16ToUtf8(text) : std::string();
}

}  // namespace

// ===== Seam calls ================================================================

std::uint32_t SimDesktop::GetWindowLongA(Hwnd hwnd, int index) {
    const auto* w = s_->FindWin(hwnd);
    if (w == nullptr) {
        return 0;
    }
    const auto own = s_->ownWindows.find(hwnd);
    switch (index) {
        case win::kGwlStyle:
            return own != s_->ownWindows.end() ? own->second.style
                                               : (w->visible ? win::kWsVisible : 0);
        case win::kGwlExStyle:
            return own != s_->ownWindows.end() ? own->second.exStyle : w->exStyle;
        default:
            return 0;
    }
}

bool SimDesktop::IsWindowCloaked(Hwnd hwnd) {
    const auto* w = s_->FindWin(hwnd);
    return w != nullptr && w->cloaked;
}

Handle SimDesktop::GetWindowSmallIcon(Hwnd hwnd) {
    const auto* w = s_->FindWin(hwnd);
    return w != nullptr && w->icon != 0 ? w->icon : kGenericIcon;
}

Handle SimDesktop::ImageList_Create(int cx, int cy, std::uint32_t, int, int) {
    if (cx <= 0 || cy <= 0) {
        return 0;
    }
    const Handle list = s_->nextImageList += 4;
    s_->imageLists[list];
    return list;
}

int SimDesktop::ImageList_ReplaceIcon(Handle list, int index, Handle icon) {
    auto it = s_->imageLists.find(list);
    if (it == s_->imageLists.end() || icon == 0) {
        return -1;
    }
    auto& icons = it->second;
    if (index == -1) {
        icons.push_back(icon);
        return static_cast<int>(icons.size() - 1);
    }
    if (index < 0 || static_cast<std::size_t>(index) >= icons.size()) {
        return -1;
    }
    icons[static_cast<std::size_t>(index)] = icon;
    return index;
}

bool SimDesktop::ListViewSetItemImage(Hwnd list, int item, int image) {
    auto it = s_->controls.find(list);
    if (it == s_->controls.end() || item < 0 ||
        static_cast<std::size_t>(item) >= it->second.rowImages.size()) {
        return false;
    }
    it->second.rowImages[static_cast<std::size_t>(item)] = image;
    return true;
}

Hwnd SimDesktop::GetDlgItem(Hwnd dlg, int itemId) {
    for (const auto& [h, c] : s_->controls) {
        if (c.parent == dlg && static_cast<int>(c.id) == itemId) {
            return h;
        }
    }
    return 0;
}

bool SimDesktop::GetOpenFileNameW(Hwnd owner, const char16_t* filter, const char16_t* initialDir,
                                  std::uint32_t flags, char16_t* file, std::uint32_t fileMax) {
    OpenFileAsk ask;
    ask.owner = owner;
    // The filter's texts, each ended by a NUL, up to the empty one.
    for (const char16_t* part = filter; part != nullptr && *part != u'\0';) {
        if (!ask.filter.empty()) {
            ask.filter += '|';
        }
        ask.filter += Narrow(part);
        while (*part != u'\0') {
            ++part;
        }
        ++part;
    }
    ask.initialDir = Narrow(initialDir);
    ask.file = Narrow(file);
    ask.flags = flags;
    openFileAsked = ask;
    if (!openFileAnswer) {
        return false;
    }
    const std::u16string answer = Utf8ToUtf16(*openFileAnswer);
    if (answer.size() + 1 > fileMax) {
        return false;  // FNERR_BUFFERTOOSMALL
    }
    answer.copy(file, answer.size());
    file[answer.size()] = u'\0';
    return true;
}

// ===== Test controls ===============================================================

void SimDesktop::SetWindowExStyle(Hwnd hwnd, std::uint32_t exStyle) {
    if (auto* w = s_->FindWin(hwnd)) {
        w->exStyle = exStyle;
    }
}

void SimDesktop::SetWindowCloaked(Hwnd hwnd, bool cloaked) {
    if (auto* w = s_->FindWin(hwnd)) {
        w->cloaked = cloaked;
    }
}

void SimDesktop::SetWindowIcon(Hwnd hwnd, Handle icon) {
    if (auto* w = s_->FindWin(hwnd)) {
        w->icon = icon;
    }
}

std::vector<Handle> SimDesktop::ImageListIcons(Handle list) const {
    auto it = s_->imageLists.find(list);
    return it != s_->imageLists.end() ? it->second : std::vector<Handle>{};
}

Handle SimDesktop::ListImageList(Hwnd list) const {
    auto it = s_->controls.find(list);
    return it != s_->controls.end() ? it->second.imageList : 0;
}

std::vector<int> SimDesktop::ListRowImages(Hwnd list) const {
    auto it = s_->controls.find(list);
    return it != s_->controls.end() ? it->second.rowImages : std::vector<int>{};
}

}  // namespace rc
