#include "apps/user_apps.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "apps/button_names.h"
#include "apps/user_actions.h"
#include "apps/user_file.h"
#include "core/debug_trace.h"
#include "core/press.h"
#include "core/text.h"
#include "core/system.h"
#include "core/timer_slots.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

constexpr char16_t kFileName[] = u"\\Remote Control\\applications.ini";
constexpr std::size_t kTracedTextMax = 100;

void AppendCut(std::string& out, std::string_view text) {
    if (text.size() > kTracedTextMax) {
        std::size_t cut = kTracedTextMax;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;  // not inside a character
        }
        out.append(text.substr(0, cut));
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
    sys.userApps->problems.push_back(std::move(text));
}

}  // namespace

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

namespace {

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

// The RepeatDelay line: milliseconds, 0 to kMaxRepeatDelay, one line.
void ReadRepeatDelay(System& sys, UserApp& app, std::string_view value, std::string_view line) {
    if (app.repeatDelay) {
        TraceFile(sys, app.name, line, "skipped, a second line of this kind");
        return;
    }
    std::uint32_t delay = 0;
    bool number = !value.empty() && value.size() <= 5;
    for (char c : value) {
        number = number && c >= '0' && c <= '9';
        delay = number ? delay * 10 + static_cast<std::uint32_t>(c - '0') : 0;
    }
    if (!number || delay > kMaxRepeatDelay) {
        TraceFile(sys, app.name, line, "skipped, not a delay from 0 to 5000 ms");
        return;
    }
    app.repeatDelay = delay;
}

// One line of a section, as SplitSections gives it ("key=value").
void ReadLine(System& sys, UserApp& app, std::string_view line) {
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
    if (SameText(key, "RepeatDelay")) {
        ReadRepeatDelay(sys, app, value, line);
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

// How many entries of a list the profile API's 32 KB buffer held: a list
// that does not fit is cut, and the entry that reaches its end is left out
// with the ones after it, with a trace.
template <typename Entry, typename Text>
std::size_t EntriesThatFit(System& sys, const std::vector<Entry>& entries, Text text,
                           std::string_view section, const char* cutTrace) {
    std::size_t used = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        used += text(entries[i]).size() + 1;
        if (used >= kProfileBufferSize - 2) {
            TraceFile(sys, section, {}, cutTrace);
            return i;
        }
    }
    return entries.size();
}

void ReadSection(System& sys, UserApps& user, const IniSection& section) {
    UserApp app;
    app.name = section.name;
    std::size_t count = EntriesThatFit(
        sys, section.lines, [](const std::string& line) -> const std::string& { return line; },
        section.name, "too long: cut, its last line is left out");
    for (std::size_t i = 0; i < count; ++i) {
        ReadLine(sys, app, section.lines[i]);
    }
    if (app.exe.empty() && app.windowClass.empty() && app.title.empty()) {
        TraceFile(sys, section.name, {}, "skipped: no Exe, Class or Title line");
        return;
    }
    user.apps.push_back(std::move(app));
}

void ReadSections(System& sys, UserApps& user, const std::vector<IniSection>& sections) {
    user.apps.clear();
    std::size_t count = EntriesThatFit(
        sys, sections, [](const IniSection& s) -> const std::string& { return s.name; }, {},
        "has too many sections: the last is left out");
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& name = sections[i].name;
        bool repeated = std::any_of(sections.begin(), sections.begin() + static_cast<long>(i),
                                    [&](const IniSection& s) { return SameText(s.name, name); });
        if (repeated) {
            TraceFile(sys, name, {}, "skipped: a second section of this name");
            continue;
        }
        if (user.apps.size() == kMaxUserApps) {
            TraceFile(sys, name, {}, "skipped: too many sections");
            break;
        }
        ReadSection(sys, user, sections[i]);
    }
    std::string text = "User applications read from ";
    text += user.path;
    DebugTrace(sys, text.c_str(), static_cast<std::uint32_t>(user.apps.size()));
}

// Reads the file of the given size. False, keeping what was read before,
// when it can't be read just now (an editor saving it, an antivirus or a
// sync client holding it, gone since it was looked at): the next look at
// the file reads it again.
bool ReadFile(System& sys, UserApps& user, std::uint64_t size) {
    const auto want = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, kMaxFileBytes));
    std::string bytes(want + 1, '\0');  // one more: a file that grew is read as far as it was
    std::uint32_t got = 0;
    std::uint32_t error = sys.os.ReadWholeFileW(
        user.widePath.c_str(), reinterpret_cast<std::uint8_t*>(bytes.data()), want + 1, &got);
    if (error != 0) {
        if (error != user.readError) {
            std::string text =
                "User applications: applications.ini can't be read just now, the last key map is "
                "kept; error ";
            text += std::to_string(error);
            DebugTrace(sys, text.c_str());
        }
        user.readError = error;
        return false;
    }
    user.readError = 0;
    user.problems.clear();
    bytes.resize(std::min(got, want));
    std::string text = DecodeFileText(sys.os, bytes);
    if (size > kMaxFileBytes) {
        TraceFile(sys, {}, {}, "is too big: read up to 4 MB, the line cut there is left out");
        std::size_t lastEnd = text.find_last_of('\n');
        text.resize(lastEnd == std::string::npos ? 0 : lastEnd);
    }
    ReadSections(sys, user, SplitSections(text));
    return true;
}

}  // namespace

bool FindUserAppsPath(System& sys) {
    UserApps& user = *sys.userApps;
    if (!user.widePath.empty()) {
        return true;
    }
    char16_t folder[win::kMaxPath] = {};
    if (sys.os.SHGetFolderPathW(win::kCsidlAppData, folder) != 0) {
        return false;
    }
    folder[win::kMaxPath - 1] = u'\0';
    std::u16string path = folder;
    path += kFileName;
    if (path.size() >= win::kMaxPath) {
        DebugTrace(sys, "User applications: the path of applications.ini is too long");
        return false;
    }
    user.path = Utf16ToUtf8(path);
    user.widePath = std::move(path);
    return true;
}

WindowFacts FactsOf(System& sys, Hwnd window) {
    WindowFacts facts;
    char16_t buffer[1024];
    constexpr int kBufferMax = static_cast<int>(std::size(buffer));
    auto text = [&](int length) { return Utf16ToUtf8(std::u16string_view(buffer, length)); };
    std::uint32_t process = sys.os.GetWindowProcessId(window);
    int length = process != 0 ? sys.os.GetProcessImageNameW(process, buffer, kBufferMax) : 0;
    if (length > 0) {
        facts.exe = std::string(FileNamePart(text(length)));
    }
    length = sys.os.GetClassNameW(window, buffer, kBufferMax);
    if (length > 0) {
        facts.windowClass = text(length);
    }
    length = sys.os.GetWindowTextW(window, buffer, kBufferMax);
    if (length > 0) {
        facts.title = text(length);
    }
    return facts;
}

bool MatchesWindow(std::string_view exe, std::string_view windowClass, std::string_view title,
                   const WindowFacts& facts) {
    if (exe.empty() && windowClass.empty() && title.empty()) {
        return false;
    }
    return (exe.empty() || SameText(exe, facts.exe)) &&
           (windowClass.empty() || SameText(windowClass, facts.windowClass)) &&
           (title.empty() || ContainsText(facts.title, title));
}

namespace {

bool Matches(const UserApp& app, const WindowFacts& facts) {
    return MatchesWindow(app.exe, app.windowClass, app.title, facts);
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
    if (!FindUserAppsPath(sys)) {
        return;
    }
    FileInfo info{};
    bool present = sys.os.GetFileAttributesExW(user.widePath.c_str(), &info) &&
                   (info.attributes & win::kFileAttributeDirectory) == 0;
    if (!present) {
        user.readError = 0;
        if (user.fileSeen) {
            user.fileSeen = false;
            user.apps.clear();
            user.problems.clear();
            DebugTrace(sys, "User applications: applications.ini is gone");
        }
        return;
    }
    if (user.fileSeen && info.lastWriteTime == user.file.lastWriteTime &&
        info.size == user.file.size) {
        return;
    }
    if (ReadFile(sys, user, info.size)) {
        user.fileSeen = true;
        user.file = info;
    }
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
    key.waits = repeat && press.heldFor < app->repeatDelay.value_or(kDefaultRepeatDelay);
    return key;
}

void RunUserKey(System& sys, const UserKey& key) {
    NoteTaker(sys, PressTaker::kUserApp, key.app->name);
    if (key.waits) {
        std::string why = "repeats a held button after ";
        why += std::to_string(key.app->repeatDelay.value_or(kDefaultRepeatDelay));
        why += " ms";
        NoteNotSent(sys, why);
        return;
    }
    std::string text = "User application ";
    AppendCut(text, key.app->name);
    text += ": KeyCode";
    DebugTrace(sys, text.c_str(), key.keyCode);
    // A copy: a launch may dispatch timer ticks, and one of them may read
    // the file again.
    UserAction action = key.binding->action;
    RunUserAction(sys, key.window, action);
}

}  // namespace rc
