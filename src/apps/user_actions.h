// The actions a user application's button can have in the applications
// file, how they are read and how they reach the application.
//
//   keys CHORD                modifiers and one key by name: Ctrl+Shift+P, Space,
//                             F11, MediaPlayPause, VK 0xE2 (a key by number);
//                             activated first, sent only while the
//                             application is in front
//   appcommand NAME           WM_APPCOMMAND posted to the window (VOLUME_UP,
//                             MEDIA_PLAY_PAUSE...; or the command's number)
//   post MSG [WPARAM [LPARAM]] a message posted to the window (numbers,
//                             decimal or 0x hexadecimal)
//   command ID                WM_COMMAND posted with that id
//   close                     Alt+F4 to the application
//   launch PATH [ARGS]        ShellExecuteW "open" (a PATH with blanks in quotes),
//                             in the folder of PATH
//   none                      nothing, and no fall-back either
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace rc {

struct System;

enum class UserActionKind : std::uint8_t {
    kKeys,
    kAppCommand,
    kPost,
    kCommand,
    kClose,
    kLaunch,
    kNone
};

constexpr int kMaxChordKeys = 5;  // Ctrl, Shift, Alt, Win and the key

struct UserAction {
    UserActionKind kind = UserActionKind::kNone;
    std::uint8_t keys[kMaxChordKeys] = {};  // kKeys: in press order
    int keyCount = 0;
    std::uint32_t message = 0;  // kPost; the command of kAppCommand, the id of kCommand
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;
    std::string file;  // kLaunch
    std::string parameters;
};

// Reads an action. False, with why set to the reason, when it can't be
// understood.
bool ParseUserAction(std::string_view text, UserAction* action, const char** why);

// The action as the file writes it, which ParseUserAction reads back as
// the same action: "keys Ctrl+Shift+P", "appcommand VOLUME_UP", "command
// 889", "post 0x0111 889 0", "close", "launch "C:\Program Files\x.exe" -f",
// "none".
std::string FormatUserAction(const UserAction& action);

// The commands appcommand knows by name, in the table's order: their
// number, and the index-th one's name as written ("VOLUME_UP"; empty past
// them) and command.
int AppCommandCount();
std::string AppCommandNameAt(int index, std::uint32_t* command);

// Runs it on the application's window, the one in front.
void RunUserAction(System& sys, Hwnd window, const UserAction& action);

}  // namespace rc
