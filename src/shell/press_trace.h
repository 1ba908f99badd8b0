// Each press's outcome as one line of text, and in the debug trace.
#pragma once

#include <string>

#include "core/press.h"

namespace rc {

struct System;

// The press in a few words: the button's name in the current layout (else
// "KeyCode N") and who took it ("play → TotalMedia", "up → pointer"), or
// why nothing happened ("play: TotalMedia is not in front").
std::string PressTraceText(const System& sys, const Press& press, const PressOutcome& outcome);

// With the trace on: "Press: " and the line, then what was sent in
// brackets and "(held)" for a frame of a held button.
void TracePress(System& sys, const Press& press, const PressOutcome& outcome);

}  // namespace rc
