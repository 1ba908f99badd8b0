// How commands reach an application: keystroke chords, posted keys and
// posted messages.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/platform.h"

namespace rc {

struct System;

// SetForegroundWindow and SetActiveWindow on the window.
void ActivateWindow(System& sys, Hwnd window);
// keybd_event: every key down (flags 1) in press order, then every key up
// (flags 3) in reverse order, scan code 0, no pauses.
void SendChord(System& sys, std::initializer_list<std::uint8_t> keys);
void SendChord(System& sys, const std::uint8_t* keys, int count);
// WM_KEYDOWN posted with lParam 0x01500001; no WM_KEYUP.
void PostKeyDown(System& sys, Hwnd window, std::uint8_t vk);
// PostMessageA(window, message, code, 0).
bool PostCommand(System& sys, Hwnd window, std::uint32_t message, std::uint32_t code);

constexpr std::intptr_t kPostedKeyLParam = 0x01500001;
constexpr std::uint32_t kPallamoMessage = 3000;
constexpr std::uint32_t kLumetraMessage = 4024;  // WM_USER + 3000

}  // namespace rc
