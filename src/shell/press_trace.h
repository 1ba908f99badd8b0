// Each press's outcome as one line of text, and in the debug trace.
#pragma once

#include <cstdint>
#include <string>

#include "core/press.h"

namespace rc {

struct System;

// One press as a short line: "volup → VLC", "play: TotalMedia is not in
// front". button is the press's button as the caller names it (null:
// "KeyCode N"); sayLaunch puts "launch " before an application the press
// launched.
std::string PressText(const char* button, std::uint32_t keyCode, const PressOutcome& outcome,
                      bool sayLaunch);

// With the trace on: "Press: " and the line, then what was sent in
// brackets and "(held)" for a frame of a held button.
void TracePress(System& sys, const Press& press, const PressOutcome& outcome);

}  // namespace rc
