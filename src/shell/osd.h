// The on-screen display: for each press, a short line at the bottom centre
// of the monitor that holds the foreground window, naming the button and
// what it did ("Volume up → VLC", "Play: TotalMedia is not in front"). The
// user switches it on and off (ShowButtons, tray item "Show buttons on
// screen").
//
// It never takes the foreground, the keyboard focus or a click: one layered,
// topmost tool window of class "Remote Control OSD", transparent to the
// mouse, shown without activation, made once and reused for every press. Its
// window text is the line it shows, for screen readers and tests. The line
// stays 1.5 s after the last frame of a press, then fades out.
#pragma once

#include <cstdint>
#include <string>

#include "core/press.h"

namespace rc {

struct System;

constexpr char kOsdClass[] = "Remote Control OSD";
constexpr std::uint32_t kOsdShowTime = 1500;    // ms the line stays after a frame
constexpr std::uint32_t kOsdFadeStepTime = 50;  // ms between the fade's steps
constexpr int kOsdFadeSteps = 6;
constexpr int kOsdAlpha = 224;  // the panel's opacity while it shows (of 255)

// The line for a press, without the frame count of a held button:
// "Volume up → VLC", "Up → pointer", "Play: TotalMedia is not in front".
// A KeyCode no button of the layout sends is "KeyCode N".
std::string PressLine(const System& sys, const Press& press, const PressOutcome& outcome);

// Shows the press when the user asked for it (sys.showButtons). A frame of a
// held button that acts updates the line in place ("Volume up → VLC ×3", the
// press and the frames that acted); a frame that does nothing (one of the
// six ignores held buttons, a user application waits its repeat delay)
// keeps the line on screen as it is.
void ShowOnScreen(System& sys, const Press& press, const PressOutcome& outcome);

// Switches the display on or off and stores the choice; off hides it at once.
void SetShowButtons(System& sys, bool on);

}  // namespace rc
