// The 65 ms poll and its repeat filter.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;

// The GPIO timer's callback (ctx is the System).
void OnGpioTimer(void* ctx, Hwnd hwnd, std::uintptr_t id);
// One tick of the poll.
void PollTick(System& sys, Hwnd mainWindow);
// Gives the KeyCode, or 255 for a repeat.
std::uint32_t FilterRepeat(System& sys, std::uint32_t keyCode);
// The KeyCode while the shutdown confirmation is open.
void SendShutdownKey(System& sys, std::uint32_t keyCode);

}  // namespace rc
