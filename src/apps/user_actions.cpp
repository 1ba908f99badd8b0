#include "apps/user_actions.h"

#include <cctype>
#include <iterator>

#include "apps/delivery.h"
#include "core/debug_trace.h"
#include "core/system.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

struct NamedValue {
    const char* name;
    std::uint32_t value;
};

// The modifiers, in the order a chord may name them in.
constexpr NamedValue kModifiers[] = {
    {"ctrl", 0x11}, {"control", 0x11}, {"shift", 0x10}, {"alt", 0x12}, {"win", 0x5B},
};

// Keys by name; letters, digits, F1 to F24 and NumPad0 to NumPad9 are read
// without the table.
// clang-format off
constexpr NamedValue kKeys[] = {
    {"backspace", 0x08}, {"tab", 0x09}, {"enter", 0x0D}, {"return", 0x0D}, {"pause", 0x13},
    {"capslock", 0x14}, {"esc", 0x1B}, {"escape", 0x1B}, {"space", 0x20}, {"pageup", 0x21},
    {"pgup", 0x21}, {"pagedown", 0x22}, {"pgdn", 0x22}, {"end", 0x23}, {"home", 0x24},
    {"left", 0x25}, {"up", 0x26}, {"right", 0x27}, {"down", 0x28}, {"printscreen", 0x2C},
    {"insert", 0x2D}, {"ins", 0x2D}, {"delete", 0x2E}, {"del", 0x2E}, {"apps", 0x5D},
    {"multiply", 0x6A}, {"add", 0x6B}, {"subtract", 0x6D}, {"decimal", 0x6E}, {"divide", 0x6F},
    {"browserback", 0xA6}, {"browserforward", 0xA7}, {"browserrefresh", 0xA8},
    {"browserstop", 0xA9}, {"browsersearch", 0xAA}, {"browserfavorites", 0xAB},
    {"browserhome", 0xAC}, {"volumemute", 0xAD}, {"volumedown", 0xAE}, {"volumeup", 0xAF},
    {"medianext", 0xB0}, {"mediaprev", 0xB1}, {"mediastop", 0xB2}, {"mediaplaypause", 0xB3},
    {"semicolon", 0xBA}, {"plus", 0xBB}, {"comma", 0xBC}, {"minus", 0xBD}, {"period", 0xBE},
    {"slash", 0xBF}, {"backquote", 0xC0}, {"leftbracket", 0xDB}, {"backslash", 0xDC},
    {"rightbracket", 0xDD}, {"quote", 0xDE},
};
// clang-format on

// WM_APPCOMMAND commands by name (winuser.h's APPCOMMAND_ names without
// the prefix).
// clang-format off
constexpr NamedValue kAppCommands[] = {
    {"browser_backward", 1}, {"browser_forward", 2}, {"browser_refresh", 3},
    {"browser_stop", 4}, {"browser_search", 5}, {"browser_favorites", 6},
    {"browser_home", 7}, {"volume_mute", 8}, {"volume_down", 9},
    {"volume_up", 10}, {"media_nexttrack", 11}, {"media_previoustrack", 12},
    {"media_stop", 13}, {"media_play_pause", 14}, {"launch_mail", 15},
    {"launch_media_select", 16}, {"launch_app1", 17}, {"launch_app2", 18},
    {"close", 31}, {"media_play", 46}, {"media_pause", 47},
    {"media_record", 48}, {"media_fast_forward", 49}, {"media_rewind", 50},
    {"media_channel_up", 51}, {"media_channel_down", 52},
};
// clang-format on
constexpr std::uint32_t kLastAppCommand = 55;

// The first blank-separated word, taken off the text.
std::string_view TakeWord(std::string_view* text) {
    std::string_view t = Trim(*text);
    std::size_t end = 0;
    while (end < t.size() && !IsBlank(t[end])) {
        ++end;
    }
    *text = Trim(t.substr(end));
    return t.substr(0, end);
}

bool SameText(std::string_view a, std::string_view lower) {
    if (a.size() != lower.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != lower[i]) {
            return false;
        }
    }
    return true;
}

template <std::size_t N>
bool Lookup(const NamedValue (&table)[N], std::string_view name, std::uint32_t* value) {
    for (const NamedValue& entry : table) {
        if (SameText(name, entry.name)) {
            *value = entry.value;
            return true;
        }
    }
    return false;
}

// A number, decimal or 0x hexadecimal, up to 0xFFFFFFFF.
bool ParseNumber(std::string_view text, std::uint32_t* value) {
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return false;
    }
    std::uint64_t n = 0;
    for (char c : text) {
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c))) {
            digit = static_cast<unsigned>(std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
        } else {
            return false;
        }
        n = n * base + digit;
        if (n > 0xFFFFFFFFu) {
            return false;
        }
    }
    *value = static_cast<std::uint32_t>(n);
    return true;
}

// A key that is not a modifier: by the table, a letter or digit, F1 to
// F24, NumPad0 to NumPad9.
bool ParseKey(std::string_view name, std::uint32_t* vk) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        *vk = static_cast<std::uint32_t>(std::toupper(static_cast<unsigned char>(name[0])));
        return true;
    }
    std::uint32_t n = 0;
    if (name.size() >= 2 && (name[0] == 'f' || name[0] == 'F') && ParseNumber(name.substr(1), &n) &&
        name[1] != '0' && n >= 1 && n <= 24) {
        *vk = win::kVkF1 + n - 1;
        return true;
    }
    if (name.size() == 7 && SameText(name.substr(0, 6), "numpad") &&
        std::isdigit(static_cast<unsigned char>(name[6]))) {
        *vk = win::kVkNumpad0 + static_cast<std::uint32_t>(name[6] - '0');
        return true;
    }
    return Lookup(kKeys, name, vk);
}

// "Ctrl+Shift+P": modifiers, each at most once, then one key (a modifier
// alone is a key too).
bool ParseChord(std::string_view text, UserAction* action, const char** why) {
    action->keyCount = 0;
    if (text.empty()) {
        *why = "no key";
        return false;
    }
    while (true) {
        std::size_t plus = text.find('+');
        std::string_view part = Trim(text.substr(0, plus));
        bool last = plus == std::string_view::npos;
        std::uint32_t vk = 0;
        if (part.empty()) {
            *why = "a '+' without a key";
            return false;
        }
        bool modifier = Lookup(kModifiers, part, &vk);
        if (!modifier && !ParseKey(part, &vk)) {
            *why = "unknown key";
            return false;
        }
        if (!last && !modifier) {
            *why = "more than one key, or a modifier after the key";
            return false;
        }
        for (int i = 0; i < action->keyCount; ++i) {
            if (action->keys[i] == vk) {
                *why = "a key named twice";
                return false;
            }
        }
        action->keys[action->keyCount++] = static_cast<std::uint8_t>(vk);
        if (last) {
            return true;
        }
        text.remove_prefix(plus + 1);
    }
}

// Windows sends these keys with the extended-key flag.
bool IsExtendedKey(std::uint8_t vk) {
    return (vk >= 0x21 && vk <= 0x28) || vk == 0x2C || vk == 0x2D || vk == 0x2E ||
           (vk >= 0x5B && vk <= 0x5D) || vk == 0x6F || vk == 0x90 || (vk >= 0xA6 && vk <= 0xB7);
}

// keybd_event as a keyboard would send the chord: its scan codes, the
// extended flag only for the extended keys; downs in order, ups reversed.
void SendUserKeys(System& sys, Hwnd window, const std::uint8_t* keys, int count) {
    if (!ActivateForKeystrokes(sys, window)) {
        return;
    }
    for (int up = 0; up < 2; ++up) {
        for (int n = 0; n < count; ++n) {
            std::uint8_t vk = keys[up ? count - 1 - n : n];
            auto scan = static_cast<std::uint8_t>(sys.os.MapVirtualKeyA(vk, win::kMapVkVkToVsc));
            std::uint32_t flags = (IsExtendedKey(vk) ? win::kKeyEventExtendedKey : 0) |
                                  (up ? win::kKeyEventKeyUp : 0);
            sys.os.keybd_event(vk, scan, flags, 0);
        }
    }
}

bool NothingMore(std::string_view rest, const char** why) {
    if (!rest.empty()) {
        *why = "unexpected text after the action";
        return false;
    }
    return true;
}

bool ParseLaunch(std::string_view rest, UserAction* action, const char** why) {
    std::string_view file;
    if (!rest.empty() && rest.front() == '"') {
        std::size_t close = rest.find('"', 1);
        if (close == std::string_view::npos) {
            *why = "a path without its closing quote";
            return false;
        }
        file = rest.substr(1, close - 1);
        rest = Trim(rest.substr(close + 1));
    } else {
        file = TakeWord(&rest);
    }
    if (file.empty()) {
        *why = "no path";
        return false;
    }
    action->file = std::string(file);
    action->parameters = std::string(rest);
    return true;
}

}  // namespace

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool ParseUserAction(std::string_view text, UserAction* action, const char** why) {
    *action = UserAction{};
    std::string_view rest = text;
    std::string_view verb = TakeWord(&rest);
    if (SameText(verb, "keys")) {
        action->kind = UserActionKind::kKeys;
        return ParseChord(rest, action, why);
    }
    if (SameText(verb, "appcommand")) {
        action->kind = UserActionKind::kAppCommand;
        std::string_view name = TakeWord(&rest);
        if (!Lookup(kAppCommands, name, &action->message) &&
            !(ParseNumber(name, &action->message) && action->message >= 1 &&
              action->message <= kLastAppCommand)) {
            *why = "unknown app command";
            return false;
        }
        return NothingMore(rest, why);
    }
    if (SameText(verb, "post")) {
        action->kind = UserActionKind::kPost;
        std::string_view msg = TakeWord(&rest);
        std::string_view wParam = TakeWord(&rest);
        std::string_view lParam = TakeWord(&rest);
        if (!ParseNumber(msg, &action->message) ||
            (!wParam.empty() && !ParseNumber(wParam, &action->wParam)) ||
            (!lParam.empty() && !ParseNumber(lParam, &action->lParam))) {
            *why = "a message, wParam or lParam that is not a number";
            return false;
        }
        return NothingMore(rest, why);
    }
    if (SameText(verb, "command")) {
        action->kind = UserActionKind::kCommand;
        if (!ParseNumber(TakeWord(&rest), &action->message) || action->message > 0xFFFF) {
            *why = "a command id that is not a number from 0 to 65535";
            return false;
        }
        return NothingMore(rest, why);
    }
    if (SameText(verb, "launch")) {
        action->kind = UserActionKind::kLaunch;
        return ParseLaunch(rest, action, why);
    }
    if (SameText(verb, "close")) {
        action->kind = UserActionKind::kClose;
        return NothingMore(rest, why);
    }
    if (SameText(verb, "none")) {
        action->kind = UserActionKind::kNone;
        return NothingMore(rest, why);
    }
    *why = "unknown action";
    return false;
}

void RunUserAction(System& sys, Hwnd window, const UserAction& action) {
    switch (action.kind) {
        case UserActionKind::kKeys:
            SendUserKeys(sys, window, action.keys, action.keyCount);
            break;
        case UserActionKind::kClose: {
            constexpr std::uint8_t kAltF4[] = {win::kVkMenu, win::kVkF4};
            SendUserKeys(sys, window, kAltF4, 2);
            break;
        }
        case UserActionKind::kAppCommand:
            // The system posts it too; lParam: the command in the high word,
            // no device or key-state bits.
            sys.os.PostMessageA(window, win::kWmAppCommand, window,
                                static_cast<std::intptr_t>(action.message << 16));
            break;
        case UserActionKind::kPost:
            sys.os.PostMessageA(
                window, action.message, action.wParam,
                static_cast<std::intptr_t>(static_cast<std::int32_t>(action.lParam)));
            break;
        case UserActionKind::kCommand:
            sys.os.PostMessageA(window, win::kWmCommand, action.message, 0);
            break;
        case UserActionKind::kLaunch: {
            std::intptr_t result = sys.os.ShellExecuteA(
                0, "open", action.file.c_str(),
                action.parameters.empty() ? nullptr : action.parameters.c_str(), nullptr,
                win::kSwShowNormal);
            if (result <= 32) {
                DebugTrace(sys, "User application: launch failed",
                           static_cast<std::uint32_t>(result));
            }
            break;
        }
        case UserActionKind::kNone:
            break;
    }
}

}  // namespace rc
