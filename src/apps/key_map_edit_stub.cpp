// Temporary stand-in for the editing document until its implementation lands.
#pragma GCC diagnostic ignored "-Wrestrict"
#include <cstdio>

#include "apps/button_names.h"
#include "apps/key_map_edit.h"
#include "apps/key_names.h"
#include "apps/user_apps.h"
#include "core/system.h"
#include "core/text.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

std::string Trim2(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    return std::string(t);
}

bool IsSection(const std::string& line) {
    const std::string t = Trim2(line);
    return !t.empty() && t[0] == '[';
}

// [begin, end) of the section's lines, the name line first.
std::pair<int, int> Range(const KeyMapDocument& doc, int section) {
    int n = -1;
    int begin = -1;
    for (int i = 0; i < static_cast<int>(doc.lines.size()); ++i) {
        if (IsSection(doc.lines[i].text)) {
            if (begin >= 0) return {begin, i};
            if (++n == section) begin = i;
        }
    }
    if (begin >= 0) return {begin, static_cast<int>(doc.lines.size())};
    return {-1, -1};
}

bool KeyValue(const std::string& line, std::string* key, std::string* value) {
    const auto eq = line.find('=');
    if (eq == std::string::npos || Trim2(line).empty() || Trim2(line)[0] == ';') return false;
    *key = Trim2(std::string_view(line).substr(0, eq));
    std::string v(line.substr(eq + 1));
    if (auto c = v.find(';'); c != std::string::npos) v = v.substr(0, c);
    *value = Trim2(v);
    return true;
}

int FindKey(const KeyMapDocument& doc, int section, std::string_view name) {
    auto [b, e] = Range(doc, section);
    for (int i = b + 1; b >= 0 && i < e; ++i) {
        std::string k, v;
        if (KeyValue(doc.lines[i].text, &k, &v) && SameText(k, name)) return i;
    }
    return -1;
}

void SetKey(KeyMapDocument& doc, int section, std::string_view name, const std::string& value) {
    const int at = FindKey(doc, section, name);
    if (value.empty()) {
        if (at >= 0) doc.lines.erase(doc.lines.begin() + at);
        return;
    }
    std::string text(name);
    text += " = ";
    text += value;
    if (at >= 0) {
        doc.lines[at].text = text;
        return;
    }
    auto [b, e] = Range(doc, section);
    if (b < 0) return;
    int after = e;
    while (after > b + 1 && Trim2(doc.lines[after - 1].text).empty()) --after;
    doc.lines.insert(doc.lines.begin() + after, KeyMapLine{text, "\r\n"});
}

std::string ButtonKey(std::uint16_t button) {
    if (button >= kNamedButton) {
        const char* n = ButtonNameAt(button - kNamedButton);
        return n != nullptr ? n : "";
    }
    return std::to_string(button);
}

}  // namespace

std::string FormatUserAction(const UserAction& a) {
    char buffer[64];
    switch (a.kind) {
        case UserActionKind::kKeys:
            return "keys " + ChordText(a.keys, a.keyCount);
        case UserActionKind::kAppCommand: {
            for (int i = 0; i < AppCommandCount(); ++i) {
                std::uint32_t c = 0;
                std::string n = AppCommandNameAt(i, &c);
                if (c == a.message) return "appcommand " + n;
            }
            return "appcommand " + std::to_string(a.message);
        }
        case UserActionKind::kPost:
            std::snprintf(buffer, sizeof buffer, "post %u %u %u", a.message, a.wParam, a.lParam);
            return buffer;
        case UserActionKind::kCommand:
            return "command " + std::to_string(a.message);
        case UserActionKind::kClose:
            return "close";
        case UserActionKind::kLaunch: {
            std::string t = "launch ";
            t += a.file.find(' ') != std::string::npos ? "\"" + a.file + "\"" : a.file;
            if (!a.parameters.empty()) t += " " + a.parameters;
            return t;
        }
        case UserActionKind::kNone:
            return "none";
    }
    return "none";
}

KeyMapDocument ReadKeyMapDocument(Platform&, std::string_view bytes) {
    KeyMapDocument doc;
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    while (!bytes.empty()) {
        auto nl = bytes.find('\n');
        KeyMapLine line;
        std::string_view t = nl == std::string_view::npos ? bytes : bytes.substr(0, nl);
        line.ending = nl == std::string_view::npos ? "" : "\n";
        if (!t.empty() && t.back() == '\r') {
            t.remove_suffix(1);
            line.ending = "\r\n";
        }
        line.text = std::string(t);
        doc.lines.push_back(line);
        bytes.remove_prefix(nl == std::string_view::npos ? bytes.size() : nl + 1);
    }
    return doc;
}

std::string KeyMapDocumentBytes(Platform&, KeyMapDocument& doc) {
    std::string out = "\xEF\xBB\xBF";
    for (const auto& l : doc.lines) out += l.text + l.ending;
    return out;
}

int SectionCount(const KeyMapDocument& doc) {
    int n = 0;
    for (const auto& l : doc.lines) n += IsSection(l.text) ? 1 : 0;
    return n;
}

std::string SectionName(const KeyMapDocument& doc, int section) {
    auto [b, e] = Range(doc, section);
    if (b < 0) return {};
    std::string t = Trim2(doc.lines[b].text);
    auto close = t.find(']');
    return Trim2(std::string_view(t).substr(1, close == std::string::npos ? std::string::npos
                                                                        : close - 1));
}

ProgramMatch MatchOf(const KeyMapDocument& doc, int section) {
    ProgramMatch m;
    std::string k, v;
    if (int i = FindKey(doc, section, "Exe"); i >= 0 && KeyValue(doc.lines[i].text, &k, &v)) m.exe = v;
    if (int i = FindKey(doc, section, "Class"); i >= 0 && KeyValue(doc.lines[i].text, &k, &v))
        m.windowClass = v;
    if (int i = FindKey(doc, section, "Title"); i >= 0 && KeyValue(doc.lines[i].text, &k, &v))
        m.title = v;
    return m;
}

void SetMatch(KeyMapDocument& doc, int section, const ProgramMatch& match) {
    SetKey(doc, section, "Exe", match.exe);
    SetKey(doc, section, "Class", match.windowClass);
    SetKey(doc, section, "Title", match.title);
}

std::optional<std::uint32_t> RepeatDelayOf(const KeyMapDocument& doc, int section) {
    std::string k, v;
    if (int i = FindKey(doc, section, "RepeatDelay"); i >= 0 && KeyValue(doc.lines[i].text, &k, &v))
        return static_cast<std::uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
    return std::nullopt;
}

void SetRepeatDelay(KeyMapDocument& doc, int section, std::optional<std::uint32_t> delay) {
    SetKey(doc, section, "RepeatDelay", delay ? std::to_string(*delay) : std::string());
}

int AddSection(KeyMapDocument& doc, std::string_view name, const ProgramMatch& match) {
    if (name.empty() || name.find_first_of("[]") != std::string_view::npos) return -1;
    for (int i = 0; i < SectionCount(doc); ++i)
        if (SameText(SectionName(doc, i), name)) return -1;
    doc.lines.push_back({"", "\r\n"});
    doc.lines.push_back({"[" + std::string(name) + "]", "\r\n"});
    const int section = SectionCount(doc) - 1;
    SetMatch(doc, section, match);
    return section;
}

bool RenameSection(KeyMapDocument& doc, int section, std::string_view name) {
    if (name.empty() || name.find_first_of("[]") != std::string_view::npos) return false;
    for (int i = 0; i < SectionCount(doc); ++i)
        if (i != section && SameText(SectionName(doc, i), name)) return false;
    auto [b, e] = Range(doc, section);
    if (b >= 0) doc.lines[b].text = "[" + std::string(name) + "]";
    return true;
}

void RemoveSection(KeyMapDocument& doc, int section) {
    auto [b, e] = Range(doc, section);
    if (b >= 0) doc.lines.erase(doc.lines.begin() + b, doc.lines.begin() + e);
}

ButtonLine ButtonLineOf(const KeyMapDocument& doc, int section, std::uint16_t button,
                        std::uint32_t) {
    ButtonLine line;
    const int i = FindKey(doc, section, ButtonKey(button));
    std::string k;
    if (i < 0 || !KeyValue(doc.lines[i].text, &k, &line.value)) return line;
    line.present = true;
    const char* why = nullptr;
    line.valid = ParseUserAction(line.value, &line.action, &why);
    return line;
}

void SetButtonAction(KeyMapDocument& doc, int section, std::uint16_t button, std::uint32_t,
                     const std::optional<UserAction>& action) {
    SetKey(doc, section, ButtonKey(button), action ? FormatUserAction(*action) : std::string());
}

bool RepeatsOf(const KeyMapDocument& doc, int section, std::uint16_t button, std::uint32_t) {
    std::string k, v;
    const int i = FindKey(doc, section, "Repeat");
    if (i < 0 || !KeyValue(doc.lines[i].text, &k, &v)) return false;
    return (" " + v + " ").find(" " + ButtonKey(button) + " ") != std::string::npos;
}

void SetRepeats(KeyMapDocument& doc, int section, std::uint16_t button, std::uint32_t layout,
                bool repeats) {
    std::string k, v;
    const int i = FindKey(doc, section, "Repeat");
    if (i >= 0) KeyValue(doc.lines[i].text, &k, &v);
    const std::string key = ButtonKey(button);
    if (repeats == RepeatsOf(doc, section, button, layout)) return;
    if (repeats) {
        v += v.empty() ? key : " " + key;
    } else {
        std::string padded = " " + v + " ";
        padded.replace(padded.find(" " + key + " "), key.size() + 1, "");
        v = Trim2(padded);
    }
    SetKey(doc, section, "Repeat", v);
}

std::uint32_t LoadKeyMapFile(System& sys, KeyMapFile* file) {
    char16_t folder[win::kMaxPath] = {};
    if (sys.os.SHGetFolderPathW(win::kCsidlAppData, folder) != 0) return 3;
    file->path = folder;
    file->path += u"\\Remote Control\\applications.ini";
    std::string bytes(kMaxFileBytes, '\0');
    std::uint32_t read = 0;
    const std::uint32_t error = sys.os.ReadWholeFileW(
        file->path.c_str(), reinterpret_cast<std::uint8_t*>(bytes.data()), kMaxFileBytes, &read);
    bytes.resize(read);
    file->existed = error == 0;
    file->bytesRead = bytes;
    file->doc = ReadKeyMapDocument(sys.os, bytes);
    return error == 2 || error == 3 ? 0 : error;
}

KeyMapSave SaveKeyMapFile(System&, KeyMapFile&, bool, std::uint32_t* error) {
    *error = 5;
    return KeyMapSave::kFailed;
}

}  // namespace rc
