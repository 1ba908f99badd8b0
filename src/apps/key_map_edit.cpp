#include "apps/key_map_edit.h"

#include <algorithm>
#include <string>

#include "apps/button_names.h"
#include "apps/user_apps.h"
#include "core/debug_trace.h"
#include "core/press.h"
#include "core/system.h"
#include "core/text.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

constexpr std::uint32_t kErrorFileTooLarge = 223;  // ERROR_FILE_TOO_LARGE
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// ----- Lines ---------------------------------------------------------------------------

enum class LineKind : std::uint8_t {
    kOther,  // blank, comment, a line before the first section, or one the program skips
    kSection,
    kExe,
    kClass,
    kTitle,
    kRepeatDelay,
    kRepeat,
    kButton,
};

struct LineRead {
    LineKind kind = LineKind::kOther;
    IniLine ini;               // views into the line's text
    std::uint16_t button = 0;  // kButton
};

// What the program makes of a line. It reads a line as far as a NUL, and
// the CR of a last line without LF is no part of it.
LineRead ReadLine(const KeyMapLine& line) {
    std::string_view text = line.text;
    text = text.substr(0, text.find('\0'));
    if (line.ending.empty() && !text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    LineRead read;
    read.ini = ReadIniLine(text);
    if (read.ini.kind == IniLineKind::kSection) {
        read.kind = LineKind::kSection;
        return read;
    }
    if (read.ini.kind != IniLineKind::kEntry || !read.ini.hasEqual) {
        return read;
    }
    const std::string_view key = read.ini.name;
    if (SameText(key, "Exe")) {
        read.kind = LineKind::kExe;
    } else if (SameText(key, "Class")) {
        read.kind = LineKind::kClass;
    } else if (SameText(key, "Title")) {
        read.kind = LineKind::kTitle;
    } else if (SameText(key, "RepeatDelay")) {
        read.kind = LineKind::kRepeatDelay;
    } else if (SameText(key, "Repeat")) {
        read.kind = LineKind::kRepeat;
    } else if (ParseButton(key, &read.button)) {
        read.kind = LineKind::kButton;
    }
    return read;
}

// The value of an entry line, without its comment.
std::string_view ValueOf(const LineRead& read) {
    return StripComment(read.ini.value);
}

// A value as a line can hold it: trimmed, line breaks made blanks.
std::string CleanValue(std::string_view value) {
    std::string clean(value);
    std::replace_if(
        clean.begin(), clean.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; },
        ' ');
    return std::string(Trim(clean));
}

// Gives an entry line a new value, keeping the key as written, the blanks
// around '=' and a comment after the value.
void RewriteValue(KeyMapLine& line, std::string_view value) {
    const LineRead read = ReadLine(line);
    const std::string_view old = ValueOf(read);
    const std::size_t start = static_cast<std::size_t>(old.data() - line.text.data());
    const std::size_t end = start + old.size();
    std::string text = line.text.substr(0, start);
    if (old.empty() && !text.empty() && text.back() == '=' && text.size() >= 2 &&
        IsBlank(text[text.size() - 2])) {
        text += ' ';  // "key =" becomes "key = value"
    }
    text.append(value);
    if (end < line.text.size() && line.text[end] == ';') {
        text += ' ';  // a comment stays one: a ';' after a blank
    }
    text.append(line.text, end);
    line.text = std::move(text);
}

// The line end most of the document uses; CR LF when as many use LF, or none.
std::string NewLineEnding(const KeyMapDocument& doc) {
    std::ptrdiff_t lf = std::count_if(doc.lines.begin(), doc.lines.end(),
                                      [](const KeyMapLine& l) { return l.ending == "\n"; });
    std::ptrdiff_t crlf = std::count_if(doc.lines.begin(), doc.lines.end(),
                                        [](const KeyMapLine& l) { return l.ending == "\r\n"; });
    return lf > crlf ? "\n" : "\r\n";
}

// A new line before lines[at]. One at the end of a file whose last line has
// no line end gives that line one and goes without: the file still ends as
// it did.
void InsertLine(KeyMapDocument& doc, std::size_t at, std::string text) {
    std::string ending = NewLineEnding(doc);
    if (at == doc.lines.size() && at > 0 && doc.lines.back().ending.empty()) {
        KeyMapLine& last = doc.lines.back();
        // A last line ending in a lone CR: that CR was its line end.
        if (!last.text.empty() && last.text.back() == '\r') {
            last.text.pop_back();
        }
        last.ending = ending;
        ending.clear();
    }
    doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(at),
                     KeyMapLine{std::move(text), std::move(ending)});
}

void RemoveLine(KeyMapDocument& doc, std::size_t at) {
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(at));
}

std::string EntryText(std::string_view key, std::string_view value) {
    std::string text(key);
    text += " = ";
    text.append(value);
    return text;
}

// ----- Sections ------------------------------------------------------------------------

// A section's lines: its name line and every line up to the next one's.
struct Range {
    std::size_t name = kNone;  // kNone: no such section
    std::size_t end = 0;
};

Range RangeOf(const KeyMapDocument& doc, int section) {
    Range range;
    int count = -1;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        if (ReadLine(doc.lines[i]).kind != LineKind::kSection) {
            continue;
        }
        if (range.name != kNone) {
            range.end = i;
            return range;
        }
        if (++count == section) {
            range.name = i;
        }
    }
    range.end = doc.lines.size();
    return range;
}

// The section's lines of a kind, in file order.
std::vector<std::size_t> LinesOf(const KeyMapDocument& doc, const Range& range, LineKind kind) {
    std::vector<std::size_t> lines;
    if (range.name == kNone) {
        return lines;
    }
    for (std::size_t i = range.name + 1; i < range.end; ++i) {
        if (ReadLine(doc.lines[i]).kind == kind) {
            lines.push_back(i);
        }
    }
    return lines;
}

// Where a new Exe, Class, Title or RepeatDelay line goes: after the last of
// them, or after the name line.
std::size_t HeadInsertPoint(const KeyMapDocument& doc, const Range& range) {
    std::size_t at = range.name + 1;
    for (std::size_t i = range.name + 1; i < range.end; ++i) {
        LineKind kind = ReadLine(doc.lines[i]).kind;
        if (kind == LineKind::kExe || kind == LineKind::kClass || kind == LineKind::kTitle ||
            kind == LineKind::kRepeatDelay) {
            at = i + 1;
        }
    }
    return at;
}

// Where a new button or Repeat line goes: after the last button line, or
// where a head line would.
std::size_t ButtonInsertPoint(const KeyMapDocument& doc, const Range& range) {
    std::vector<std::size_t> buttons = LinesOf(doc, range, LineKind::kButton);
    return buttons.empty() ? HeadInsertPoint(doc, range) : buttons.back() + 1;
}

// A name a section may take: not empty, without '[', ']' or a control
// character, and no other section's (in any letter case).
bool NameFree(const KeyMapDocument& doc, std::string_view name, int except) {
    if (name.empty() || std::any_of(name.begin(), name.end(), [](char c) {
            return c == '[' || c == ']' || static_cast<unsigned char>(c) < 0x20;
        })) {
        return false;
    }
    for (int i = 0; i < SectionCount(doc); ++i) {
        if (i != except && SameText(SectionName(doc, i), name)) {
            return false;
        }
    }
    return true;
}

// The first line of a kind with a value: the one the program takes (it
// skips an empty one); kNone when none has one.
std::size_t CountedLine(const KeyMapDocument& doc, const Range& range, LineKind kind) {
    for (std::size_t i : LinesOf(doc, range, kind)) {
        if (!ValueOf(ReadLine(doc.lines[i])).empty()) {
            return i;
        }
    }
    return kNone;
}

// Sets the value of an Exe, Class or Title line; empty removes
// every line of the kind.
void SetHeadValue(KeyMapDocument& doc, int section, LineKind kind, std::string_view key,
                  std::string_view value) {
    const Range range = RangeOf(doc, section);
    if (range.name == kNone) {
        return;
    }
    std::vector<std::size_t> lines = LinesOf(doc, range, kind);
    if (value.empty()) {
        for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
            RemoveLine(doc, *it);
        }
        return;
    }
    std::size_t counted = CountedLine(doc, range, kind);
    if (counted == kNone && !lines.empty()) {
        counted = lines.front();
    }
    if (counted == kNone) {
        InsertLine(doc, HeadInsertPoint(doc, range), EntryText(key, value));
    } else if (ValueOf(ReadLine(doc.lines[counted])) != value) {
        RewriteValue(doc.lines[counted], value);
    }
}

std::string HeadValue(const KeyMapDocument& doc, int section, LineKind kind) {
    std::size_t line = CountedLine(doc, RangeOf(doc, section), kind);
    return line == kNone ? std::string() : std::string(ValueOf(ReadLine(doc.lines[line])));
}

// ----- Buttons -------------------------------------------------------------------------

bool ValidButton(std::uint16_t button) {
    return button < kNoKey || (button >= kNamedButton && button < kNamedButton + ButtonNameCount());
}

// Whether a line's button is the row's: the same, or, for a named row, one
// of its KeyCodes on the layout by number.
bool SameButton(std::uint16_t lineButton, std::uint16_t button, std::uint32_t layout) {
    return lineButton == button || (button >= kNamedButton && lineButton < kNamedButton &&
                                    ButtonIs(button, layout, lineButton));
}

// The button as a line names it: its name, or its KeyCode.
std::string ButtonText(std::uint16_t button) {
    return button >= kNamedButton ? std::string(ButtonName(button - kNamedButton))
                                  : std::to_string(button);
}

std::vector<std::size_t> ButtonLines(const KeyMapDocument& doc, const Range& range,
                                     std::uint16_t button, std::uint32_t layout) {
    std::vector<std::size_t> lines;
    for (std::size_t i : LinesOf(doc, range, LineKind::kButton)) {
        if (SameButton(ReadLine(doc.lines[i]).button, button, layout)) {
            lines.push_back(i);
        }
    }
    return lines;
}

// The line of the row, the one the program acts on: the first in file
// order that reads as an action (the reader skips the others), else the
// first; kNone when none.
std::size_t RowLine(const KeyMapDocument& doc, const std::vector<std::size_t>& lines) {
    for (std::size_t i : lines) {
        UserAction action;
        const char* why = "";
        if (ParseUserAction(ValueOf(ReadLine(doc.lines[i])), &action, &why)) {
            return i;
        }
    }
    return lines.empty() ? kNone : lines.front();
}

bool WordIsButton(std::string_view word, std::uint16_t button, std::uint32_t layout) {
    std::uint16_t named = 0;
    return ParseButton(word, &named) && SameButton(named, button, layout);
}

constexpr char kRepeatSeparators[] = " \t,";

// Whether a Repeat value lists the button.
bool ListsButton(std::string_view value, std::uint16_t button, std::uint32_t layout) {
    std::size_t at = 0;
    while (at < value.size()) {
        std::size_t start = value.find_first_not_of(kRepeatSeparators, at);
        if (start == std::string_view::npos) {
            return false;
        }
        at = std::min(value.find_first_of(kRepeatSeparators, start), value.size());
        if (WordIsButton(value.substr(start, at - start), button, layout)) {
            return true;
        }
    }
    return false;
}

// A Repeat value without the button's words: a word goes with the separator
// before it (the first word kept loses its own).
std::string WithoutButton(std::string_view value, std::uint16_t button, std::uint32_t layout) {
    std::string out;
    std::size_t at = 0;
    while (at < value.size()) {
        std::size_t start = value.find_first_not_of(kRepeatSeparators, at);
        if (start == std::string_view::npos) {
            break;
        }
        std::size_t end = std::min(value.find_first_of(kRepeatSeparators, start), value.size());
        std::string_view word = value.substr(start, end - start);
        if (!WordIsButton(word, button, layout)) {
            if (!out.empty()) {
                out.append(value.substr(at, start - at));
            }
            out.append(word);
        }
        at = end;
    }
    return out;
}

// ----- Bytes ---------------------------------------------------------------------------

std::string Utf16Bytes(std::string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : Utf8ToUtf16(text)) {
        const auto high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// The text in the ANSI code page; false when it lacks a character or the
// bytes would not read back as the same text (well-formed UTF-8 is read as
// UTF-8).
bool AnsiBytes(Platform& os, const std::string& text, std::string* bytes) {
    const std::u16string units = Utf8ToUtf16(text);
    const int length = static_cast<int>(units.size());
    bool usedDefault = false;
    bytes->clear();
    if (length == 0) {
        return true;
    }
    const int needed =
        os.WideCharToMultiByte(win::kCpAcp, units.data(), length, nullptr, 0, &usedDefault);
    if (needed <= 0 || usedDefault) {
        return false;
    }
    bytes->assign(static_cast<std::size_t>(needed), '\0');
    const int written = os.WideCharToMultiByte(win::kCpAcp, units.data(), length, bytes->data(),
                                               needed, &usedDefault);
    if (written != needed || usedDefault) {
        return false;
    }
    return DecodeFileText(os, *bytes) == text;
}

// ----- The file ------------------------------------------------------------------------

// The file's bytes; a missing file (or folder) is none, exists false.
std::uint32_t ReadBytes(Platform& os, const std::u16string& path, std::string* bytes,
                        bool* exists) {
    bytes->assign(kMaxFileBytes + 1, '\0');  // one more: a file too big is seen
    std::uint32_t got = 0;
    std::uint32_t error = os.ReadWholeFileW(
        path.c_str(), reinterpret_cast<std::uint8_t*>(bytes->data()), kMaxFileBytes + 1, &got);
    *exists = error == 0;
    if (error == static_cast<std::uint32_t>(win::kErrorFileNotFound) ||
        error == static_cast<std::uint32_t>(win::kErrorPathNotFound)) {
        error = 0;
    }
    bytes->resize(*exists ? got : 0);
    if (error == 0 && got > kMaxFileBytes) {
        error = kErrorFileTooLarge;
    }
    return error;
}

// Makes the folder of the file, through its ANSI path; false when it can't
// be named in the code page.
bool MakeFolderOf(Platform& os, const std::u16string& path) {
    const std::size_t slash = path.rfind(u'\\');
    if (slash == std::u16string::npos) {
        return false;
    }
    std::string folder;
    return AnsiBytes(os, Utf16ToUtf8(path.substr(0, slash)), &folder) &&
           os.CreateDirectoryA(folder.c_str());
}

void TraceSave(System& sys, const char* what, std::uint32_t error) {
    std::string text = "User applications: applications.ini ";
    text += what;
    if (error != 0) {
        text += ", error ";
        text += std::to_string(error);
    }
    DebugTrace(sys, text.c_str());
}

}  // namespace

// ----- The document --------------------------------------------------------------------

KeyMapDocument ReadKeyMapDocument(Platform& os, std::string_view bytes) {
    KeyMapDocument doc;
    if (bytes.empty()) {
        return doc;
    }
    const std::string text = DecodeFileText(os, bytes, &doc.encoding);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            doc.lines.push_back({text.substr(start), ""});
            break;
        }
        KeyMapLine line{text.substr(start, end - start), "\n"};
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.ending = "\r\n";
        }
        doc.lines.push_back(std::move(line));
        start = end + 1;
    }
    return doc;
}

std::string KeyMapDocumentBytes(Platform& os, KeyMapDocument& doc) {
    std::string text;
    for (const KeyMapLine& line : doc.lines) {
        text += line.text;
        text += line.ending;
    }
    if (!IsUtf8(text)) {
        text = Utf16ToUtf8(Utf8ToUtf16(text));  // nothing but well-formed UTF-8 is written
    }
    switch (doc.encoding) {
        case TextEncoding::kAnsi: {
            std::string bytes;
            if (AnsiBytes(os, text, &bytes)) {
                return bytes;
            }
            doc.encoding = TextEncoding::kUtf8Bom;
            break;
        }
        case TextEncoding::kUtf8:
            return text;
        case TextEncoding::kUtf8Bom:
            break;
        case TextEncoding::kUtf16Le:
            return Utf16Bytes(text, false);
        case TextEncoding::kUtf16Be:
            return Utf16Bytes(text, true);
    }
    std::string bytes = "\xEF\xBB\xBF";
    bytes += text;
    return bytes;
}

int SectionCount(const KeyMapDocument& doc) {
    return static_cast<int>(std::count_if(doc.lines.begin(), doc.lines.end(), [](const auto& l) {
        return ReadLine(l).kind == LineKind::kSection;
    }));
}

std::string SectionName(const KeyMapDocument& doc, int section) {
    const Range range = RangeOf(doc, section);
    return range.name == kNone ? std::string()
                               : std::string(ReadLine(doc.lines[range.name]).ini.name);
}

ProgramMatch MatchOf(const KeyMapDocument& doc, int section) {
    return {HeadValue(doc, section, LineKind::kExe), HeadValue(doc, section, LineKind::kClass),
            HeadValue(doc, section, LineKind::kTitle)};
}

void SetMatch(KeyMapDocument& doc, int section, const ProgramMatch& match) {
    SetHeadValue(doc, section, LineKind::kExe, "Exe", CleanValue(match.exe));
    SetHeadValue(doc, section, LineKind::kClass, "Class", CleanValue(match.windowClass));
    SetHeadValue(doc, section, LineKind::kTitle, "Title", CleanValue(match.title));
}

std::optional<std::uint32_t> RepeatDelayOf(const KeyMapDocument& doc, int section) {
    // As the reader takes it: the first line that is a delay from 0 to
    // kMaxRepeatDelay (one that is not is skipped there).
    for (std::size_t line : LinesOf(doc, RangeOf(doc, section), LineKind::kRepeatDelay)) {
        const std::string_view value = ValueOf(ReadLine(doc.lines[line]));
        std::uint32_t n = 0;
        bool number = !value.empty() && value.size() <= 5;
        for (char c : value) {
            number = number && c >= '0' && c <= '9';
            n = number ? n * 10 + static_cast<std::uint32_t>(c - '0') : 0;
        }
        if (number && n <= kMaxRepeatDelay) {
            return n;
        }
    }
    return std::nullopt;
}

void SetRepeatDelay(KeyMapDocument& doc, int section, std::optional<std::uint32_t> delay) {
    const Range range = RangeOf(doc, section);
    std::vector<std::size_t> lines = LinesOf(doc, range, LineKind::kRepeatDelay);
    if (!delay) {
        for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
            RemoveLine(doc, *it);
        }
        return;
    }
    const std::string value = std::to_string(*delay);
    if (lines.empty()) {
        if (range.name != kNone) {
            InsertLine(doc, HeadInsertPoint(doc, range), EntryText("RepeatDelay", value));
        }
    } else if (ValueOf(ReadLine(doc.lines[lines.front()])) != value) {
        RewriteValue(doc.lines[lines.front()], value);
    }
}

int AddSection(KeyMapDocument& doc, std::string_view name, const ProgramMatch& match) {
    name = Trim(name);
    if (!NameFree(doc, name, -1)) {
        return -1;
    }
    if (!doc.lines.empty() && !Trim(doc.lines.back().text).empty()) {
        InsertLine(doc, doc.lines.size(), "");
    }
    std::string text = "[";
    text.append(name);
    text += ']';
    InsertLine(doc, doc.lines.size(), std::move(text));
    const int section = SectionCount(doc) - 1;
    SetMatch(doc, section, match);
    return section;
}

bool RenameSection(KeyMapDocument& doc, int section, std::string_view name) {
    name = Trim(name);
    const Range range = RangeOf(doc, section);
    if (range.name == kNone || !NameFree(doc, name, section)) {
        return false;
    }
    std::string& text = doc.lines[range.name].text;
    const std::size_t open = text.find('[');
    const std::size_t close = text.rfind(']');
    const std::string old = SectionName(doc, section);
    // A name that runs over a lone CR or past a ']' (text after the name on
    // its line, or lines Notepad shows apart): rewriting it would lose
    // what it spans.
    if (old.find(']') != std::string::npos ||
        std::any_of(old.begin(), old.end(), [](char c) { return c >= 0 && c < ' '; })) {
        return old == name;
    }
    if (old != name) {
        std::string renamed = text.substr(0, open + 1);
        renamed.append(name);
        renamed.append(text, close);
        text = std::move(renamed);
    }
    return true;
}

void RemoveSection(KeyMapDocument& doc, int section) {
    const Range range = RangeOf(doc, section);
    if (range.name == kNone) {
        return;
    }
    auto blank = [&](std::size_t i) { return Trim(doc.lines[i].text).empty(); };
    auto comment = [&](std::size_t i) { return Trim(doc.lines[i].text).starts_with(';'); };
    // The comments and blank lines above the next section's name are most
    // likely that section's: they stay, less one blank line where the
    // section removed stood between two.
    std::size_t end = range.end;
    if (end < doc.lines.size()) {
        while (end > range.name + 1 && (blank(end - 1) || comment(end - 1))) {
            --end;
        }
        if (end < range.end && blank(end) && range.name > 0 && blank(range.name - 1)) {
            ++end;
        }
    }
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(range.name),
                    doc.lines.begin() + static_cast<std::ptrdiff_t>(end));
}

ButtonLine ButtonLineOf(const KeyMapDocument& doc, int section, std::uint16_t button,
                        std::uint32_t layout) {
    ButtonLine found;
    if (!ValidButton(button)) {
        return found;
    }
    std::size_t line = RowLine(doc, ButtonLines(doc, RangeOf(doc, section), button, layout));
    if (line == kNone) {
        return found;
    }
    found.present = true;
    found.value = std::string(ValueOf(ReadLine(doc.lines[line])));
    const char* why = "";
    found.valid = ParseUserAction(found.value, &found.action, &why);
    return found;
}

void SetButtonAction(KeyMapDocument& doc, int section, std::uint16_t button, std::uint32_t layout,
                     const std::optional<UserAction>& action) {
    const Range range = RangeOf(doc, section);
    if (range.name == kNone || !ValidButton(button)) {
        return;
    }
    std::vector<std::size_t> lines = ButtonLines(doc, range, button, layout);
    const std::size_t keep = action ? RowLine(doc, lines) : kNone;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        if (*it != keep) {
            RemoveLine(doc, *it);
        }
    }
    if (!action) {
        return;
    }
    const std::string value = CleanValue(FormatUserAction(*action));
    if (keep == kNone) {
        InsertLine(doc, ButtonInsertPoint(doc, RangeOf(doc, section)),
                   EntryText(ButtonText(button), value));
        return;
    }
    // The lines removed before it moved it up.
    const std::size_t at =
        keep - static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(),
                                                      [&](std::size_t i) { return i < keep; }));
    if (ValueOf(ReadLine(doc.lines[at])) != value) {
        RewriteValue(doc.lines[at], value);
    }
}

bool RepeatsOf(const KeyMapDocument& doc, int section, std::uint16_t button, std::uint32_t layout) {
    if (!ValidButton(button)) {
        return false;
    }
    for (std::size_t i : LinesOf(doc, RangeOf(doc, section), LineKind::kRepeat)) {
        if (ListsButton(ValueOf(ReadLine(doc.lines[i])), button, layout)) {
            return true;
        }
    }
    return false;
}

void SetRepeats(KeyMapDocument& doc, int section, std::uint16_t button, std::uint32_t layout,
                bool repeats) {
    const Range range = RangeOf(doc, section);
    if (range.name == kNone || !ValidButton(button) ||
        repeats == RepeatsOf(doc, section, button, layout)) {
        return;
    }
    std::vector<std::size_t> lines = LinesOf(doc, range, LineKind::kRepeat);
    if (repeats) {
        if (lines.empty()) {
            InsertLine(doc, ButtonInsertPoint(doc, range), EntryText("Repeat", ButtonText(button)));
            return;
        }
        std::string value(ValueOf(ReadLine(doc.lines[lines.front()])));
        if (!value.empty()) {
            value += ' ';
        }
        value += ButtonText(button);
        RewriteValue(doc.lines[lines.front()], value);
        return;
    }
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        const std::string_view value = ValueOf(ReadLine(doc.lines[*it]));
        if (!ListsButton(value, button, layout)) {
            continue;
        }
        const std::string kept = WithoutButton(value, button, layout);
        if (kept.empty()) {
            RemoveLine(doc, *it);
        } else {
            RewriteValue(doc.lines[*it], kept);
        }
    }
}

// ----- The file ------------------------------------------------------------------------

std::uint32_t LoadKeyMapFile(System& sys, KeyMapFile* file) {
    if (!FindUserAppsPath(sys)) {
        return static_cast<std::uint32_t>(win::kErrorPathNotFound);
    }
    // Read aside: a file that can't be read just now leaves what was read
    // before, edits and all, as it was.
    KeyMapFile read;
    read.path = sys.userApps->widePath;
    std::uint32_t error = ReadBytes(sys.os, read.path, &read.bytesRead, &read.existed);
    if (error != 0) {
        TraceSave(sys, "can't be read for editing", error);
        return error;
    }
    read.doc = ReadKeyMapDocument(sys.os, read.bytesRead);
    *file = std::move(read);
    return 0;
}

KeyMapSave SaveKeyMapFile(System& sys, KeyMapFile& file, bool overwrite, std::uint32_t* error) {
    *error = 0;
    if (file.path.empty()) {
        if (!FindUserAppsPath(sys)) {
            *error = static_cast<std::uint32_t>(win::kErrorPathNotFound);
            TraceSave(sys, "not saved: the user's folder is unknown", *error);
            return KeyMapSave::kFailed;
        }
        file.path = sys.userApps->widePath;
    }
    if (!overwrite) {
        std::string bytes;
        bool exists = false;
        *error = ReadBytes(sys.os, file.path, &bytes, &exists);
        // Grown bigger than any file this reads, it is another program's.
        const bool tooBig = *error == kErrorFileTooLarge;
        if (*error != 0 && !tooBig) {
            TraceSave(sys, "not saved: it can't be read to see whether it changed", *error);
            return KeyMapSave::kFailed;
        }
        *error = 0;
        if (tooBig || exists != file.existed || bytes != file.bytesRead) {
            TraceSave(sys, "not saved: another program changed it since it was read", 0);
            return KeyMapSave::kChangedElsewhere;
        }
    }
    std::string bytes = KeyMapDocumentBytes(sys.os, file.doc);
    auto write = [&] {
        return sys.os.WriteWholeFileW(file.path.c_str(),
                                      reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                      static_cast<std::uint32_t>(bytes.size()));
    };
    *error = write();
    if (*error == static_cast<std::uint32_t>(win::kErrorPathNotFound) &&
        MakeFolderOf(sys.os, file.path)) {
        *error = write();
    }
    if (*error != 0) {
        TraceSave(sys, "could not be saved", *error);
        return KeyMapSave::kFailed;
    }
    file.bytesRead = std::move(bytes);
    file.existed = true;
    std::string text = "User applications saved to ";
    text += Utf16ToUtf8(file.path);
    DebugTrace(sys, text.c_str(), static_cast<std::uint32_t>(file.bytesRead.size()));
    // Read again now, even when the write kept the time stamp and the size
    // (two saves within one tick of the clock).
    sys.userApps->file = FileInfo{};
    WatchUserApps(sys);
    return KeyMapSave::kSaved;
}

}  // namespace rc
