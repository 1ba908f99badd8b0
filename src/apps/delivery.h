// How commands reach an application: keystroke chords, posted keys and
// posted messages.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;
struct TargetApp;

// SetForegroundWindow and SetActiveWindow on the window.
void ActivateWindow(System& sys, Hwnd window);
// Brings the window to the foreground before synthesised keystrokes:
// SetForegroundWindow, SetActiveWindow; if Windows did not make it (or
// another window of its process) the foreground window, once more with our
// input attached to the foreground window's thread. False, with a trace
// line, when no window of its process is in front: the keys would land in
// another program and must not be sent.
bool ActivateForKeystrokes(System& sys, Hwnd window);

// The form synthesised keystrokes take.
enum class KeyForm : std::uint8_t {
    // The six applications': scan code 0, every key marked extended but
    // Alt, which is sent as the left Alt key.
    kFixed,
    // A keyboard's: the layout's scan code (MapVirtualKeyA), the extended
    // flag only on the keys Windows sends with it; all in one SendInput,
    // whose refusal (an elevated window in front) is traced with its error.
    kScanCodes,
};

// The one keystroke sender: ActivateForKeystrokes, then every key down in
// press order and every key up in reverse order, no pauses (keybd_event, or
// SendInput for kScanCodes). False when nothing was sent.
bool SendKeystrokes(System& sys, Hwnd window, const std::uint8_t* keys, int count, KeyForm form);
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
// 0): a chord in the fixed form, or a posted key after ActivateWindow.
// Gives the window, or 0 when nothing was sent.
Hwnd SendKeyCommand(System& sys, Hwnd window, KeyKind kind, const KeyList& keys);

// One keystroke command of an application: the window its command just
// searched for is stored in the record's hWnd, also when none; nothing is sent
// without it. Gives the window sent to, or 0.
Hwnd RunKeyCommand(System& sys, TargetApp& app, Hwnd window, KeyKind kind, const KeyList& keys);

// The same with the command's row of the application's command table (row i
// holds the command whose value is i; see RowsInCommandOrder).
template <typename Command, std::size_t N>
Hwnd RunKeyCommand(System& sys, TargetApp& app, Hwnd window,
                   const KeyCommandRow<Command> (&commands)[N], Command command) {
    const KeyCommandRow<Command>& row = commands[static_cast<std::size_t>(command)];
    return RunKeyCommand(sys, app, window, row.kind, row.keys);
}

// --- Key maps ----------------------------------------------------------------

// One cell of a key map: what the KeyCode runs, and the pause after it (0:
// none), made whether or not anything was sent.
template <typename T>
struct PausedCell {
    constexpr PausedCell(T v, std::uint32_t pause = 0) : value(v), pauseMs(pause) {}
    T value;
    std::uint32_t pauseMs;
};

// Which member of an application's key-map row holds the cells of a layout.
template <typename Row, typename Cell>
struct LayoutColumn {
    std::uint32_t layout;  // nIRKEYType
    Cell Row::*cells;
};

// Lookups take the first match, so the tables state that a field is
// unique: a key map's KeyCode, a map's layout column, a command's code.
template <typename Row, typename Field, std::size_t N>
consteval bool Unique(const Row (&rows)[N], Field Row::*field) {
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t j = i + 1; j < N; ++j) {
            if (rows[i].*field == rows[j].*field) {
                return false;
            }
        }
    }
    return true;
}

template <typename Row, std::size_t N>
consteval bool OneRowPerKeyCode(const Row (&rows)[N]) {
    return Unique(rows, &Row::keyCode);
}

template <typename Row, typename Cell, std::size_t L>
consteval bool OneColumnPerLayout(const LayoutColumn<Row, Cell> (&columns)[L]) {
    return Unique(columns, &LayoutColumn<Row, Cell>::layout);
}

// The cell of the KeyCode in the layout's column, or null when the
// application has no map for that layout or the KeyCode has no row.
template <typename Row, typename Cell, std::size_t N, std::size_t L>
const Cell* FindMapCell(const Row (&rows)[N], const LayoutColumn<Row, Cell> (&columns)[L],
                        std::uint32_t layout, std::uint32_t keyCode) {
    for (const auto& column : columns) {
        if (column.layout != layout) {
            continue;
        }
        for (const Row& row : rows) {
            if (row.keyCode == keyCode) {
                return &(row.*column.cells);
            }
        }
    }
    return nullptr;
}

// Sleep after a key-map command, when its cell has a pause.
void PauseAfterCommand(System& sys, std::uint32_t pauseMs);

// --- Applications with secondary windows ------------------------------------

// One row of an application's search for a visible secondary window.
struct WindowQuery {
    const char* className;
    const char* title;  // null: any
};

constexpr int kNoRow = -1;

// FindWindowExA under the desktop for each row in order; every row reached
// stores its handle in its slot, visible or not. Gives the first row whose
// window is visible, or kNoRow.
int FindVisibleRow(System& sys, const WindowQuery* rows, Hwnd* slots, int count);

// How a command code travels to an application that has secondary windows.
enum class DialogRule : std::uint8_t {
    kMainWhenNoDialog,         // the main window, only while no secondary window is visible
    kMainAlways,               // secondary windows searched; the main window whatever is visible
    kMainUnlessPictureView,    // the main window unless the picture view is the visible one
    kMainWithoutDialogSearch,  // no search, hPopup untouched; the main window
    kDialogFirst,  // the visible secondary window, activated first; else the main window
};

// What is particular to one such application.
struct DialogApp {
    TargetApp& record;
    const WindowQuery* rows;  // the secondary windows, in search order
    Hwnd* slots;              // one per row
    int rowCount;
    std::uint32_t message;
    int pictureViewRow;            // for kMainUnlessPictureView; kNoRow: none
    bool searchWithoutMainWindow;  // the secondary windows are searched also with no main window
};

// One command. The main window found by the application's own search is
// stored in hWnd; unless the rule says otherwise the visible secondary window
// is searched and stored in hPopup; then PostMessageA(target, message, code,
// 0) by the rule. Nothing is sent without a main window, whatever secondary
// window is visible.
void PostByDialogRule(System& sys, const DialogApp& app, Hwnd main, DialogRule rule,
                      std::uint32_t code);

}  // namespace rc
