// applications.ini as the Key maps dialog edits it.
//
// The document keeps every line of the file as the user wrote it (comments,
// blank lines, order, line ends, the file's encoding), so that saving it
// changes only the lines an edit touched:
// - a button given a new action rewrites the value of its line, keeping the
//   button as it was written and a comment after the value;
// - a button without a line gets one after the section's last button line
//   (or, when it has none, where an Exe line would go);
// - a button set back to its default loses its line;
// - Exe, Class, Title and RepeatDelay lines are rewritten, added after the
//   section's name line or its last such line, or removed when emptied; a
//   new Repeat line goes where a new button line would;
// - a renamed section rewrites its name line; a removed one loses its name
//   line and every line up to the next section's name line, except the
//   comments and blank lines just above that name, which head the next
//   section; an added one is appended at the end, after a blank line.
// New lines take the line end most of the file uses (CR LF for a new file).
//
// Sections are counted in file order, duplicates included, as the dialog
// lists them. A button is a UserBinding's button: a KeyCode (0 to 254), or
// kNamedButton plus a button name's index. Lines are read as the program
// reads them (user_file.h): of several lines of one kind, the first counts.
// Values are written trimmed, with line breaks turned into blanks; what
// follows a ';' at a value's start or after a blank reads back as a comment.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "apps/user_actions.h"
#include "apps/user_file.h"  // TextEncoding
#include "platform/platform.h"

namespace rc {

struct System;

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
// RepeatDelay in milliseconds, as the reader takes it: the first line that
// is a delay from 0 to kMaxRepeatDelay; nullopt when there is none (the
// default, kDefaultRepeatDelay).
std::optional<std::uint32_t> RepeatDelayOf(const KeyMapDocument& doc, int section);
void SetRepeatDelay(KeyMapDocument& doc, int section, std::optional<std::uint32_t> delay);

// A new section at the end; gives its index, or -1 when the name (trimmed)
// is empty, holds '[', ']' or a control character, or another section has
// it (case-insensitively).
int AddSection(KeyMapDocument& doc, std::string_view name, const ProgramMatch& match);
// False for a name AddSection would refuse (its own name in another letter
// case is fine), and for a section whose name line holds more than its
// name (a name running past a ']' or over a lone CR), which a rewrite
// would lose.
bool RenameSection(KeyMapDocument& doc, int section, std::string_view name);
void RemoveSection(KeyMapDocument& doc, int section);

// The line a button has in a section. A row for a named button also finds a
// line that gives one of its KeyCodes on the layout (nIRKEYType) by number.
// Of several, the row shows (and an edit rewrites) the one the program acts
// on: the first in file order that reads as an action, else the first.
struct ButtonLine {
    bool present = false;  // false: the button does what it does by default
    std::string value;     // the action as written, without a comment
    bool valid = false;    // the value reads as an action
    UserAction action;     // when valid
};
ButtonLine ButtonLineOf(const KeyMapDocument& doc, int section, std::uint16_t button,
                        std::uint32_t layout);
// The button's action (FormatUserAction's text) in the line ButtonLineOf
// finds, the button's other lines removed; nullopt: back to its default,
// every line of the button removed.
void SetButtonAction(KeyMapDocument& doc, int section, std::uint16_t button, std::uint32_t layout,
                     const std::optional<UserAction>& action);
// Whether the section's Repeat lines list the button, and setting it: added
// to the first Repeat line, or taken out of every one (a line left empty is
// removed).
bool RepeatsOf(const KeyMapDocument& doc, int section, std::uint16_t button, std::uint32_t layout);
void SetRepeats(KeyMapDocument& doc, int section, std::uint16_t button, std::uint32_t layout,
                bool repeats);

// The file as the Key maps dialog holds it: where it is, its bytes as last
// read or written (to see whether another program saved it meanwhile), and
// the document being edited.
struct KeyMapFile {
    std::u16string path;
    std::string bytesRead;
    bool existed = false;
    KeyMapDocument doc;
};

// Reads the file the program reads, applications.ini in the user's
// "Remote Control" folder; a missing file is an empty document (existed
// false). Gives 0, or the Windows error: ReadWholeFileW's,
// ERROR_PATH_NOT_FOUND (3) when the per-user folder is unknown,
// ERROR_FILE_TOO_LARGE (223) for a file over kMaxFileBytes, which the
// program reads only in part.
std::uint32_t LoadKeyMapFile(System& sys, KeyMapFile* file);

enum class KeyMapSave { kSaved, kChangedElsewhere, kFailed };

// Writes the document back (WriteWholeFileW; the folder is made when it is
// missing). Unless overwrite, the file is read again first: when its bytes
// are no longer bytesRead (another program saved or deleted it), nothing is
// written and kChangedElsewhere is given, so that the user can choose. A
// file that can't be read then, or written, gives kFailed with the Windows
// error. Saved, bytesRead holds the bytes written, and the running program
// reads the file again at once: the new key map acts from the next press.
KeyMapSave SaveKeyMapFile(System& sys, KeyMapFile& file, bool overwrite, std::uint32_t* error);

}  // namespace rc
