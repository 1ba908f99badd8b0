// The 65 ms poll and its repeat filter.
#pragma once

#include <cstdint>

#include <optional>

#include "core/press.h"
#include "platform/platform.h"

namespace rc {

struct System;

// The GPIO timer's callback (ctx is the System).
void OnGpioTimer(void* ctx, Hwnd hwnd, std::uintptr_t id);
// One tick of the poll: what the press read did, or nothing when no code
// was read.
std::optional<PressOutcome> PollTick(System& sys, Hwnd mainWindow);
// The press of a KeyCode just read: whether it repeats the one before, and
// for a repeat how long ago the press that began the hold was read.
Press FilterRepeat(System& sys, std::uint32_t keyCode);
// The next KeyCode read is a new press, whatever came before (the receiver
// has been brought up again).
void ForgetLastPress(System& sys);

}  // namespace rc
