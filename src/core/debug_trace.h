// The debug trace: "<Remote Control>  " + text [+ " (%X)"], to the debugger
// channel, only while the DBM setting is on.
#pragma once

#include <cstdint>

namespace rc {

struct System;

void DebugTrace(System& sys, const char* text);
void DebugTrace(System& sys, const char* text, std::uint32_t value);

}  // namespace rc
