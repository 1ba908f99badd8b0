// How commands reach an application: keystroke chords, posted keys and
// posted messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "platform/platform.h"

namespace rc {

struct System;

// SetForegroundWindow and SetActiveWindow on the window.
void ActivateWindow(System& sys, Hwnd window);
// Brings the window to the foreground before synthesised keystrokes:
// SetForegroundWindow, SetActiveWindow; if Windows did not make it the
// foreground window, once more with our input attached to the foreground
// window's thread. False, with a trace line, when it is still not in front:
// the keys would land in another program and must not be sent.
bool ActivateForKeystrokes(System& sys, Hwnd window);
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

// --- Keystroke commands ------------------------------------------------------

// How a keystroke command travels: a chord of synthesised keystrokes, or one
// WM_KEYDOWN posted to the window.
enum class KeyKind : std::uint8_t { kChord, kPosted };

// At most three keys in press order; a shorter list ends with 0.
using KeyList = std::uint8_t[3];

// One row of an application's keystroke command table.
template <typename Command>
struct KeyCommandRow {
    Command command;
    KeyKind kind;
    KeyList keys;
};

// True when row i of a command table holds the command whose value is i, so
// that a command finds its row by its value.
template <typename Row, std::size_t N>
consteval bool RowsInCommandOrder(const Row (&rows)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(rows[i].command) != i) {
            return false;
        }
    }
    return true;
}

// Delivers a keystroke command to an application window already found (not
// 0): a chord after ActivateForKeystrokes, or a posted key after
// ActivateWindow. Gives the window, or 0 when nothing was sent.
Hwnd SendKeyCommand(System& sys, Hwnd window, KeyKind kind, const KeyList& keys);

}  // namespace rc
