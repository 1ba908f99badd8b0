// The user's own applications: programs the remote drives from the file
// %APPDATA%\Remote Control\applications.ini, which the user writes.
//
// One section per application:
//
//   [VLC]
//   Exe = vlc.exe            ; the foreground window's program (file name)
//   Class = Qt5QWindowIcon   ; its window class
//   Title = VLC              ; text its title contains
//   play  = keys Space       ; a button (name or KeyCode) and its action
//   volup = appcommand VOLUME_UP
//   Repeat = volup voldown   ; buttons that act again while held
//   RepeatDelay = 400        ; held this long (ms), they act on every frame
//
// A button under Repeat acts at the press; held, it waits RepeatDelay
// milliseconds (0 to 5000; kDefaultRepeatDelay without the line, 0 acting on
// every frame from the first) and then acts on every frame of the hold.
// The frames inside the delay do nothing at all: the section has the
// button, so nothing else takes them either. A button not under Repeat acts
// at the press only.
//
// A section matches the foreground window when every one of Exe, Class and
// Title it gives matches (names compare case-insensitively). The sections
// with an Exe line are tried first, then those with a Class line, then those
// with only a Title line, each group in file order; the first match wins.
// The file is read whole by a reader of our own (user_file.h), in any of the
// encodings Notepad saves, with the profile API's meaning and limits; a line
// that can't be understood is skipped with a trace line, and the rest is
// kept. Names and titles match in any script.
//
// The key router consults a user application only where it would otherwise
// fall back to "nothing open" (see RouteKey).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "apps/user_actions.h"
#include "core/press.h"
#include "platform/platform.h"

namespace rc {

struct System;

// A button of a line: a KeyCode (0 to 254), or kNamedButton plus the index
// of a button name, whose KeyCodes depend on the layout.
constexpr std::uint16_t kNamedButton = 256;

// A button as a line names it: a KeyCode (0 to 254) or a button name (any
// letter case); false for anything else.
bool ParseButton(std::string_view text, std::uint16_t* button);
// Whether a line's button stands for the KeyCode on the layout (nIRKEYType).
bool ButtonIs(std::uint16_t button, std::uint32_t layout, std::uint32_t keyCode);

struct UserBinding {
    std::uint16_t button;
    UserAction action;
};

struct UserApp {
    std::string name;  // the section's, for the trace
    std::string exe;
    std::string windowClass;
    std::string title;
    std::vector<UserBinding> bindings;
    std::vector<std::uint16_t> repeats;
    std::optional<std::uint32_t> repeatDelay;  // ms; none: kDefaultRepeatDelay
};

struct UserApps {
    std::string path;         // of the file, for the trace; empty until the folder is known
    std::u16string widePath;  // the same, for the wide calls
    bool checked = false;
    std::uint32_t lastCheck = 0;  // GetTickCount of the last look at the file
    bool fileSeen = false;        // the file existed at the last look
    FileInfo file{};              // its time stamp and size when it was last read
    std::uint32_t readError = 0;  // why the last read failed (traced once); 0: it did not
    std::vector<UserApp> apps;
    // The lines the last read skipped or cut, and why: the texts of their
    // trace lines, for the button monitor.
    std::vector<std::string> problems;
};

// Limits of the reading, those the profile API had: the section names and
// the lines of each section are read as lists of at most 32 KB, a list that
// fills them counts as cut, and its last entry is dropped. A file is read
// up to 4 MB.
constexpr std::uint32_t kProfileBufferSize = 32768;
constexpr std::uint32_t kMaxFileBytes = 4 * 1024 * 1024;
constexpr std::size_t kMaxUserApps = 64;
constexpr std::size_t kMaxUserValue = 259;
// A button under Repeat acts at the press, then, held this long (ms), on
// every frame; a section's RepeatDelay line changes it, 0 acting on every
// frame from the first, kMaxRepeatDelay at most.
constexpr std::uint32_t kDefaultRepeatDelay = 400;
constexpr std::uint32_t kMaxRepeatDelay = 5000;

// Finds the file's path (path and widePath), once the per-user folder
// (SHGetFolderPathW, CSIDL_APPDATA) is known; false while it is not, or when
// the path would be too long.
bool FindUserAppsPath(System& sys);

// Looks at the file's time stamp and size and reads it again when they
// changed (or drops what was read when the file is gone). A file that can't
// be read just now keeps what was read before and is read at the next look. The application
// watch calls it on every tick; the key router at most every 500 ms, since
// that watch runs only while an application it launched is open.
void WatchUserApps(System& sys);

// What the user application in front does with a press: its window, the
// section and the line; window 0 when nothing. A repeat counts only for a
// button the section lists under Repeat, and one held less than the
// section's delay is taken but waits: RunUserKey sends nothing for it.
struct UserKey {
    Hwnd window = 0;
    const UserApp* app = nullptr;
    const UserBinding* binding = nullptr;
    std::uint32_t keyCode = 0;
    bool waits = false;  // a repeat inside the delay
};
UserKey FindUserKey(System& sys, const Press& press);

// The facts of a window that sections match: its program's file name, its
// class and its title (empty where they can't be read).
struct WindowFacts {
    std::string exe;
    std::string windowClass;
    std::string title;
};
WindowFacts FactsOf(System& sys, Hwnd window);
// Whether a window's facts match what a section says of its program (its
// Exe, Class and Title lines): Exe and Class equal ignoring letter case,
// Title contained in the window's title; a line not given matches anything,
// and a section that gives none of them matches nothing.
bool MatchesWindow(std::string_view exe, std::string_view windowClass, std::string_view title,
                   const WindowFacts& facts);
void RunUserKey(System& sys, const UserKey& key);

}  // namespace rc
