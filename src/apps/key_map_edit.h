// applications.ini as the Key maps dialog edits it.
//
// The document keeps every line of the file as the user wrote it (comments,
// blank lines, order, line ends, the file's encoding), so that saving it
// changes only the lines an edit touched:
// - a button given a new action rewrites the value of its line, keeping the
//   button as it was written and a comment after the value;
// - a button without a line gets one after the section's last button line
//   (or after the section's name line when it has none);
// - a button set back to its default loses its line;
// - Exe, Class, Title, RepeatDelay and Repeat lines are rewritten, added
//   after the section's name line or its last such line, or removed when
//   emptied;
// - a renamed section rewrites its name line; a removed one loses its name
//   line and every line up to the next section's name line; an added one is
//   appended at the end, after a blank line.
// New lines take the line end most of the file uses (CR LF for a new file).
//
// Sections are counted in file order, duplicates included, as the dialog
// lists them. A button is a UserBinding's button: a KeyCode (0 to 254), or
// kNamedButton plus a button name's index.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "apps/user_actions.h"
#include "platform/platform.h"

namespace rc {

struct System;

// How the file was saved; a document is written back the same way.
enum class TextEncoding : std::uint8_t {
    kAnsi,     // the system's ANSI code page, no mark
    kUtf8,     // UTF-8 without a byte-order mark
    kUtf8Bom,  // UTF-8 with EF BB BF
    kUtf16Le,  // FF FE, as Notepad's "Unicode"
    kUtf16Be,  // FE FF
};

struct KeyMapLine {
    std::string text;    // UTF-8, without its line end
    std::string ending;  // "\r\n", "\n", or "" for a last line without one
};

struct KeyMapDocument {
    TextEncoding encoding = TextEncoding::kUtf8Bom;
    std::vector<KeyMapLine> lines;
};

// The document of the file's bytes (empty bytes: an empty document, saved
// as UTF-8 with a byte-order mark).
KeyMapDocument ReadKeyMapDocument(Platform& os, std::string_view bytes);
// The document's bytes in its encoding. An ANSI document holding a
// character the code page lacks is written as UTF-8 with a byte-order mark
// instead, so that nothing is lost (encoding is changed to say so).
std::string KeyMapDocumentBytes(Platform& os, KeyMapDocument& doc);

// What a section says of the window it matches.
struct ProgramMatch {
    std::string exe;
    std::string windowClass;
    std::string title;
    friend bool operator==(const ProgramMatch&, const ProgramMatch&) = default;
};

int SectionCount(const KeyMapDocument& doc);
std::string SectionName(const KeyMapDocument& doc, int section);
ProgramMatch MatchOf(const KeyMapDocument& doc, int section);
void SetMatch(KeyMapDocument& doc, int section, const ProgramMatch& match);
// RepeatDelay in milliseconds; nullopt when the section has no such line
// (or one that is not a number): the default, kDefaultRepeatDelay.
std::optional<std::uint32_t> RepeatDelayOf(const KeyMapDocument& doc, int section);
void SetRepeatDelay(KeyMapDocument& doc, int section, std::optional<std::uint32_t> delay);

// A new section at the end; gives its index, or -1 when the name is empty,
// holds '[' or ']', or another section has it (case-insensitively).
int AddSection(KeyMapDocument& doc, std::string_view name, const ProgramMatch& match);
// False for a name AddSection would refuse (its own name in another letter
// case is fine).
bool RenameSection(KeyMapDocument& doc, int section, std::string_view name);
void RemoveSection(KeyMapDocument& doc, int section);

// The line a button has in a section. A row for a named button also finds a
// line that gives one of its KeyCodes on the layout (nIRKEYType) by number.
struct ButtonLine {
    bool present = false;  // false: the button does what it does by default
    std::string value;     // the action as written, without a comment
    bool valid = false;    // the value reads as an action
    UserAction action;     // when valid
};
ButtonLine ButtonLineOf(const KeyMapDocument& doc, int section, std::uint16_t button,
                        std::uint32_t layout);
// The button's action (FormatUserAction's text); nullopt: back to its
// default, the line removed.
void SetButtonAction(KeyMapDocument& doc, int section, std::uint16_t button, std::uint32_t layout,
                     const std::optional<UserAction>& action);
// Whether the section's Repeat line lists the button, and setting it.
bool RepeatsOf(const KeyMapDocument& doc, int section, std::uint16_t button, std::uint32_t layout);
void SetRepeats(KeyMapDocument& doc, int section, std::uint16_t button, std::uint32_t layout,
                bool repeats);

// The file as the dialog holds it: where it is, its bytes as last read
// (to see whether another program changed it since), whether it existed,
// and the document.
struct KeyMapFile {
    std::u16string path;
    std::string bytesRead;
    bool existed = false;
    KeyMapDocument doc;
};
// Reads %APPDATA%\Remote Control\applications.ini into file (a missing file:
// an empty document). Gives 0, or the Windows error of the read.
std::uint32_t LoadKeyMapFile(System& sys, KeyMapFile* file);

enum class KeyMapSave { kSaved, kChangedElsewhere, kFailed };
// Writes the document, unless the file's bytes are no longer those read and
// overwrite is false (kChangedElsewhere, nothing written). On kSaved the
// running key map is read again; on kFailed *error is the Windows error.
KeyMapSave SaveKeyMapFile(System& sys, KeyMapFile& file, bool overwrite, std::uint32_t* error);

}  // namespace rc
