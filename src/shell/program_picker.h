// The Key maps dialog's helpers that reach other programs: picking a
// program by one of its windows, browsing for a program file, and trying an
// action on a program now.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "apps/key_map_edit.h"
#include "apps/user_actions.h"
#include "apps/user_apps.h"
#include "platform/platform.h"

namespace rc {

struct System;

// "Add...": a modal window listing the visible top-level windows of other
// programs (icon, title, program file). The chosen window's facts; nullopt
// when the user cancels or there is none.
std::optional<WindowFacts> PickProgramWindow(System& sys, Hwnd owner);

// "Browse...": the Open dialog for a program file. The chosen path (UTF-8);
// nullopt when the user cancels.
std::optional<std::string> BrowseForProgram(System& sys, Hwnd owner, std::string_view current);

// "Try": performs the action on the section's program now, on the first
// visible top-level window the match finds, brought to the front first; a
// launch needs no window. Gives "" when it was performed, otherwise the
// sentence a message box shows ("VLC is not running.").
std::string TryKeyMapAction(System& sys, std::string_view section, const ProgramMatch& match,
                            const UserAction& action);

}  // namespace rc
