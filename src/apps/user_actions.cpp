#include "apps/user_actions.h"

#include <cctype>
#include <cstdio>
#include <iterator>
#include <string>

#include "apps/delivery.h"
#include "apps/key_names.h"
#include "core/debug_trace.h"
#include "core/press.h"
#include "core/system.h"
#include "core/text.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

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

// "WM_APPCOMMAND VOLUME_UP", or the number of a command without a name.
std::string AppCommandText(std::uint32_t command) {
    std::string text = "WM_APPCOMMAND ";
    const NamedValue* named = FindValue(kAppCommands, command);
    if (named == nullptr) {
        text += std::to_string(command);
        return text;
    }
    for (const char* c = named->name; *c != '\0'; ++c) {
        text += static_cast<char>(*c >= 'a' && *c <= 'z' ? *c - 'a' + 'A' : *c);
    }
    return text;
}

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
        bool modifier = FindModifier(part, &vk);
        if (!modifier && !FindKey(part, &vk)) {
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

int AppCommandCount() {
    return static_cast<int>(std::size(kAppCommands));
}

std::string AppCommandNameAt(int index, std::uint32_t* command) {
    if (index < 0 || index >= AppCommandCount()) {
        return {};
    }
    *command = kAppCommands[index].value;
    // "WM_APPCOMMAND VOLUME_UP" without its first word.
    return AppCommandText(*command).substr(14);
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
        const NamedValue* named = FindName(kAppCommands, name);
        if (named != nullptr) {
            action->message = named->value;
        }
        if (named == nullptr && !(ParseNumber(name, &action->message) && action->message >= 1 &&
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

std::string FormatUserAction(const UserAction& action) {
    std::string text;
    switch (action.kind) {
        case UserActionKind::kKeys:
            text = "keys ";
            text += ChordText(action.keys, action.keyCount);
            break;
        case UserActionKind::kAppCommand: {
            // "WM_APPCOMMAND VOLUME_UP": the name, or the number of one without.
            std::string command = AppCommandText(action.message);
            text = "appcommand ";
            text.append(command, command.find(' ') + 1);
            break;
        }
        case UserActionKind::kPost: {
            char numbers[48];
            std::snprintf(
                numbers, sizeof numbers, "post 0x%04X %u %u", static_cast<unsigned>(action.message),
                static_cast<unsigned>(action.wParam), static_cast<unsigned>(action.lParam));
            text = numbers;
            break;
        }
        case UserActionKind::kCommand:
            text = "command ";
            text += std::to_string(action.message);
            break;
        case UserActionKind::kClose:
            text = "close";
            break;
        case UserActionKind::kLaunch:
            // A path with a blank in quotes, as the reading takes it.
            text = "launch ";
            if (action.file.find_first_of(" \t") != std::string::npos) {
                text += '"';
                text += action.file;
                text += '"';
            } else {
                text += action.file;
            }
            if (!action.parameters.empty()) {
                text += ' ';
                text += action.parameters;
            }
            break;
        case UserActionKind::kNone:
            text = "none";
            break;
    }
    return text;
}

namespace {

// A post that Windows refuses, as it refuses a post to a window of an
// elevated program (ERROR_ACCESS_DENIED), is traced with its error.
void Post(System& sys, Hwnd window, std::uint32_t message, std::uintptr_t wParam,
          std::intptr_t lParam, const std::string& what) {
    if (sys.os.PostMessageA(window, message, wParam, lParam)) {
        NoteSent(sys, what);
        return;
    }
    std::uint32_t error = sys.os.GetLastError();
    std::string text = "User application: ";
    text += what;
    text += " not posted, error ";
    text += std::to_string(error);
    DebugTrace(sys, text.c_str());
    std::string why = "did not get ";
    why += what;
    why += ": Windows refused it (error ";
    why += std::to_string(error);
    why += ')';
    NoteNotSent(sys, why);
}

// The started program's working folder is the folder of its own path; a
// path without a folder gives none. A drive's root keeps its backslash.
std::string FolderOf(std::string_view path) {
    std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string_view::npos) {
        return {};
    }
    std::string folder(path.substr(0, slash));
    if (folder.empty() || folder.back() == ':') {
        folder += '\\';
    }
    return folder;
}

void Launch(System& sys, const UserAction& action) {
    std::u16string file = Utf8ToUtf16(action.file);
    std::u16string parameters = Utf8ToUtf16(action.parameters);
    std::u16string folder = Utf8ToUtf16(FolderOf(action.file));
    std::intptr_t result = sys.os.ShellExecuteW(
        0, u"open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
        folder.empty() ? nullptr : folder.c_str(), win::kSwShowNormal);
    std::string what = result <= 32 ? "could not launch " : "launch ";
    what += FileNamePart(action.file);
    if (result <= 32) {
        DebugTrace(sys, "User application: launch failed", static_cast<std::uint32_t>(result));
        NoteNotSent(sys, what);
    } else {
        NoteSent(sys, what);
    }
}

}  // namespace

void RunUserAction(System& sys, Hwnd window, const UserAction& action) {
    char text[64];
    switch (action.kind) {
        case UserActionKind::kKeys:
            SendKeystrokes(sys, window, action.keys, action.keyCount, KeyForm::kScanCodes);
            break;
        case UserActionKind::kClose: {
            constexpr std::uint8_t kAltF4[] = {win::kVkMenu, win::kVkF4};
            SendKeystrokes(sys, window, kAltF4, 2, KeyForm::kScanCodes);
            break;
        }
        case UserActionKind::kAppCommand:
            // The system posts it too; lParam: the command in the high word,
            // no device or key-state bits.
            Post(sys, window, win::kWmAppCommand, window,
                 static_cast<std::intptr_t>(action.message << 16), AppCommandText(action.message));
            break;
        case UserActionKind::kPost:
            std::snprintf(
                text, sizeof text, "message %u (%u, %u)", static_cast<unsigned>(action.message),
                static_cast<unsigned>(action.wParam), static_cast<unsigned>(action.lParam));
            Post(sys, window, action.message, action.wParam,
                 static_cast<std::intptr_t>(static_cast<std::int32_t>(action.lParam)), text);
            break;
        case UserActionKind::kCommand:
            std::snprintf(text, sizeof text, "WM_COMMAND %u",
                          static_cast<unsigned>(action.message));
            Post(sys, window, win::kWmCommand, action.message, 0, text);
            break;
        case UserActionKind::kLaunch:
            Launch(sys, action);
            break;
        case UserActionKind::kNone:
            NoteNotSent(sys, "takes this button and does nothing with it");
            break;
    }
}

}  // namespace rc
