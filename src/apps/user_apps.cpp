#include "apps/user_apps.h"

#include <algorithm>
#include <string_view>

#include "apps/button_names.h"
#include "apps/user_actions.h"
#include "core/debug_trace.h"
#include "core/press.h"
#include "core/text.h"
#include "core/system.h"
#include "core/timer_slots.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

constexpr char kFileName[] = "\\Remote Control\\applications.ini";
constexpr std::size_t kTracedTextMax = 100;

// Windows keeps what follows a ';' inside a line: a ';' at the start of the
// value or after a blank begins a comment.
std::string_view StripComment(std::string_view value) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == ';' && (i == 0 || IsBlank(value[i - 1]))) {
            return Trim(value.substr(0, i));
        }
    }
    return value;
}

void AppendCut(std::string& out, std::string_view text) {
    if (text.size() > kTracedTextMax) {
        out.append(text.substr(0, kTracedTextMax));
        out += "...";
    } else {
        out.append(text);
    }
}

// One trace line about the file: applications.ini [SECTION] "LINE": WHAT.
void TraceFile(System& sys, std::string_view section, std::string_view line, std::string_view what,
               std::string_view more = {}) {
    std::string text = "applications.ini";
    if (!section.empty()) {
        text += " [";
        AppendCut(text, section);
        text += "]";
    }
    if (!line.empty()) {
        text += " \"";
        AppendCut(text, line);
        text += "\":";
    }
    text += ' ';
    text.append(what);
    AppendCut(text, more);
    DebugTrace(sys, text.c_str());
}

// A KeyCode (0 to 254) or a button name; false for anything else.
bool ParseButton(std::string_view text, std::uint16_t* button) {
    if (!text.empty() && text.size() <= 3 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        int n = 0;
        for (char c : text) {
            n = n * 10 + (c - '0');
        }
        if (n >= static_cast<int>(kNoKey)) {
            return false;
        }
        *button = static_cast<std::uint16_t>(n);
        return true;
    }
    int index = FindButtonName(text);
    if (index == kNoButtonName) {
        return false;
    }
    *button = static_cast<std::uint16_t>(kNamedButton + index);
    return true;
}

bool ButtonIs(std::uint16_t button, std::uint32_t layout, std::uint32_t keyCode) {
    if (button < kNamedButton) {
        return button == keyCode;
    }
    return ButtonSends(button - kNamedButton, layout, keyCode);
}

// The Exe, Class and Title lines: one each.
bool SetMatchField(System& sys, UserApp& app, std::string& field, std::string_view value,
                   std::string_view line) {
    if (value.empty()) {
        TraceFile(sys, app.name, line, "skipped, empty");
    } else if (!field.empty()) {
        TraceFile(sys, app.name, line, "skipped, a second line of this kind");
    } else {
        field = std::string(value);
        return true;
    }
    return false;
}

void ReadRepeats(System& sys, UserApp& app, std::string_view value, std::string_view line) {
    std::size_t start = 0;
    while (start < value.size()) {
        std::size_t end = value.find_first_of(" \t,", start);
        if (end == std::string_view::npos) {
            end = value.size();
        }
        std::string_view word = value.substr(start, end - start);
        start = end + 1;
        std::uint16_t button = 0;
        if (word.empty()) {
            continue;
        }
        if (!ParseButton(word, &button)) {
            TraceFile(sys, app.name, line, "left out, no button: ", word);
            continue;
        }
        app.repeats.push_back(button);
    }
}

// One line of a section, as the profile API gives it ("key=value").
void ReadLine(System& sys, UserApp& app, std::string_view line) {
    if (line.front() == ';') {
        return;  // a comment, should the profile API ever pass one on
    }
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        TraceFile(sys, app.name, line, "skipped, no '='");
        return;
    }
    std::string_view key = Trim(line.substr(0, eq));
    std::string_view value = StripComment(Trim(line.substr(eq + 1)));
    if (value.size() > kMaxUserValue) {
        TraceFile(sys, app.name, line, "skipped, the value is too long");
        return;
    }
    if (SameText(key, "Exe")) {
        SetMatchField(sys, app, app.exe, FileNamePart(value), line);
        return;
    }
    if (SameText(key, "Class")) {
        SetMatchField(sys, app, app.windowClass, value, line);
        return;
    }
    if (SameText(key, "Title")) {
        SetMatchField(sys, app, app.title, value, line);
        return;
    }
    if (SameText(key, "Repeat")) {
        ReadRepeats(sys, app, value, line);
        return;
    }
    UserBinding binding{};
    if (!ParseButton(key, &binding.button)) {
        TraceFile(sys, app.name, line, "skipped, unknown button");
        return;
    }
    for (const UserBinding& earlier : app.bindings) {
        if (earlier.button == binding.button) {
            TraceFile(sys, app.name, line, "skipped, the button has a line already");
            return;
        }
    }
    const char* why = "";
    if (!ParseUserAction(value, &binding.action, &why)) {
        TraceFile(sys, app.name, line, "skipped, ", why);
        return;
    }
    app.bindings.push_back(std::move(binding));
}

// A profile list (NUL-separated, ended by an empty string) as views; a
// list that filled the buffer is cut: its last entry goes, with a trace.
std::vector<std::string_view> SplitList(System& sys, const std::vector<char>& buffer,
                                        std::uint32_t length, std::string_view section,
                                        const char* cutTrace) {
    std::vector<std::string_view> entries;
    length = std::min(length, kProfileBufferSize);
    std::size_t at = 0;
    while (at < length && buffer[at] != '\0') {
        std::size_t end = at;
        while (end < length && buffer[end] != '\0') {
            ++end;
        }
        entries.emplace_back(&buffer[at], end - at);
        at = end + 1;
    }
    if (length >= kProfileBufferSize - 2 && !entries.empty()) {
        entries.pop_back();
        TraceFile(sys, section, {}, cutTrace);
    }
    return entries;
}

void ReadSection(System& sys, UserApps& user, std::string_view name, std::vector<char>& buffer) {
    UserApp app;
    app.name = std::string(name);
    std::uint32_t length = sys.os.GetPrivateProfileSectionA(app.name.c_str(), buffer.data(),
                                                            kProfileBufferSize, user.path.c_str());
    for (std::string_view line :
         SplitList(sys, buffer, length, name, "too long: cut, its last line is left out")) {
        ReadLine(sys, app, line);
    }
    if (app.exe.empty() && app.windowClass.empty() && app.title.empty()) {
        TraceFile(sys, name, {}, "skipped: no Exe, Class or Title line");
        return;
    }
    user.apps.push_back(std::move(app));
}

void ReadFile(System& sys, UserApps& user) {
    user.apps.clear();
    std::vector<char> names(kProfileBufferSize);
    std::vector<char> lines(kProfileBufferSize);
    std::uint32_t length =
        sys.os.GetPrivateProfileSectionNamesA(names.data(), kProfileBufferSize, user.path.c_str());
    std::vector<std::string_view> sections =
        SplitList(sys, names, length, {}, "has too many sections: the last is left out");
    for (std::size_t i = 0; i < sections.size(); ++i) {
        bool repeated = std::any_of(sections.begin(), sections.begin() + static_cast<long>(i),
                                    [&](std::string_view s) { return SameText(s, sections[i]); });
        if (repeated) {
            TraceFile(sys, sections[i], {}, "skipped: a second section of this name");
            continue;
        }
        if (user.apps.size() == kMaxUserApps) {
            TraceFile(sys, sections[i], {}, "skipped: too many sections");
            break;
        }
        ReadSection(sys, user, sections[i], lines);
    }
    std::string text = "User applications read from ";
    text += user.path;
    DebugTrace(sys, text.c_str(), static_cast<std::uint32_t>(user.apps.size()));
}

// The file's path, once the per-user folder is known.
bool FindFilePath(System& sys, UserApps& user) {
    if (!user.path.empty()) {
        return true;
    }
    char folder[win::kMaxPath] = {};
    if (sys.os.SHGetFolderPathA(win::kCsidlAppData, folder) != 0) {
        return false;
    }
    folder[win::kMaxPath - 1] = '\0';
    std::string path = folder;
    path += kFileName;
    if (path.size() >= win::kMaxPath) {
        DebugTrace(sys, "User applications: the path of applications.ini is too long");
        return false;
    }
    user.path = std::move(path);
    return true;
}

// The facts of the foreground window that sections match, looked up once.
struct WindowFacts {
    std::string exe;
    std::string windowClass;
    std::string title;
};

WindowFacts FactsOf(System& sys, Hwnd window) {
    WindowFacts facts;
    char buffer[1024];
    std::uint32_t process = sys.os.GetWindowProcessId(window);
    if (process != 0 && sys.os.GetProcessImageName(process, buffer, sizeof buffer) > 0) {
        facts.exe = std::string(FileNamePart(buffer));
    }
    if (sys.os.GetClassNameA(window, buffer, sizeof buffer) > 0) {
        facts.windowClass = buffer;
    }
    if (sys.os.GetWindowTextA(window, buffer, sizeof buffer) > 0) {
        facts.title = buffer;
    }
    return facts;
}

bool Matches(const UserApp& app, const WindowFacts& facts) {
    return (app.exe.empty() || SameText(app.exe, facts.exe)) &&
           (app.windowClass.empty() || SameText(app.windowClass, facts.windowClass)) &&
           (app.title.empty() || ContainsText(facts.title, app.title));
}

// 0: matched by Exe, 1: by Class, 2: by Title alone.
int MatchGroup(const UserApp& app) {
    return !app.exe.empty() ? 0 : !app.windowClass.empty() ? 1 : 2;
}

const UserApp* MatchUserApp(System& sys, const UserApps& user, Hwnd window) {
    WindowFacts facts = FactsOf(sys, window);
    for (int group = 0; group < 3; ++group) {
        for (const UserApp& app : user.apps) {
            if (MatchGroup(app) == group && Matches(app, facts)) {
                return &app;
            }
        }
    }
    return nullptr;
}

}  // namespace

void WatchUserApps(System& sys) {
    UserApps& user = *sys.userApps;
    user.checked = true;
    user.lastCheck = sys.os.GetTickCount();
    if (!FindFilePath(sys, user)) {
        return;
    }
    FileInfo info{};
    bool present = sys.os.GetFileAttributesExA(user.path.c_str(), &info) &&
                   (info.attributes & win::kFileAttributeDirectory) == 0;
    if (!present) {
        if (user.fileSeen) {
            user.fileSeen = false;
            user.apps.clear();
            DebugTrace(sys, "User applications: applications.ini is gone");
        }
        return;
    }
    if (user.fileSeen && info.lastWriteTime == user.file.lastWriteTime &&
        info.size == user.file.size) {
        return;
    }
    user.fileSeen = true;
    user.file = info;
    ReadFile(sys, user);
}

UserKey FindUserKey(System& sys, const Press& press) {
    UserApps& user = *sys.userApps;
    if (!user.checked || sys.os.GetTickCount() - user.lastCheck >= kAppWatchPeriod) {
        WatchUserApps(sys);
    }
    UserKey key;
    if (user.apps.empty()) {
        return key;
    }
    const std::uint32_t keyCode = press.keyCode;
    const bool repeat = press.repeat;
    if (keyCode >= kNoKey) {
        return key;  // a code the receiver's table does not know, held or not
    }
    Hwnd window = sys.os.GetForegroundWindow();
    if (window == 0) {
        return key;
    }
    const UserApp* app = MatchUserApp(sys, user, window);
    if (app == nullptr) {
        return key;
    }
    std::uint32_t layout = sys.nIRKEYType;
    auto is = [&](std::uint16_t button) { return ButtonIs(button, layout, keyCode); };
    auto binding = std::find_if(app->bindings.begin(), app->bindings.end(),
                                [&](const UserBinding& b) { return is(b.button); });
    if (binding == app->bindings.end() ||
        (repeat && std::none_of(app->repeats.begin(), app->repeats.end(), is))) {
        return key;
    }
    key.window = window;
    key.app = app;
    key.binding = &*binding;
    key.keyCode = keyCode;
    return key;
}

void RunUserKey(System& sys, const UserKey& key) {
    std::string text = "User application ";
    AppendCut(text, key.app->name);
    text += ": KeyCode";
    DebugTrace(sys, text.c_str(), key.keyCode);
    NoteTaker(sys, PressTaker::kUserApp, key.app->name);
    // A copy: a launch may dispatch timer ticks, and one of them may read
    // the file again.
    UserAction action = key.binding->action;
    RunUserAction(sys, key.window, action);
}

}  // namespace rc
