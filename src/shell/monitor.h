// The button monitor: a window that lists the last presses, what each did,
// the receiver's state and the problems of the key-map file.
//
// Every press read is kept, also while the window is closed (the last 200),
// so that the window shows the presses that led up to a problem when it is
// opened. The window opens where the user last left it (per user, see
// settings/window_placement.h). Only one window is open at a time; the tray menu's "Button
// monitor..." opens it or brings it to the front.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "core/press.h"
#include "platform/platform.h"

namespace rc {

struct System;

// One press as the monitor lists it.
struct MonitorRow {
    std::string time;  // "18:04:05.120"
    std::uint32_t keyCode = kNoKey;
    std::string button;  // the name in the current layout, "—" for none
    bool repeat = false;
    std::string exe;  // the program in front: file name, window class, title
    std::string windowClass;
    std::string title;
    bool ours = false;    // this program's window was in front (the monitor)
    std::string outcome;  // what happened (OutcomeText)
};

constexpr std::size_t kMonitorRows = 200;

// The presses kept and the window showing them.
struct ButtonMonitor {
    std::deque<MonitorRow> rows;  // oldest first, at most kMonitorRows
    bool classRegistered = false;
    Hwnd window = 0;
    Hwnd list = 0;
    Hwnd facts = 0;  // the receiver's state and the key-map file
    Hwnd copyButton = 0;
    Hwnd editButton = 0;
    Hwnd keyMapsButton = 0;  // opens the Key maps dialog
    Handle font = 0;
    int dpi = 96;
    int minWidth = 0;  // the smallest size the user may drag it to
    int minHeight = 0;
};

// What a press did, in one line: "TotalMedia: Ctrl+Shift+P", "pointer:
// pointer up", "nothing sent: TotalMedia is not in front".
std::string OutcomeText(const PressOutcome& outcome);

// The row of a press: the time, the button and the program in front now.
MonitorRow MakeMonitorRow(System& sys, const Press& press, const PressOutcome& outcome);

// Keeps the press (dropping the oldest beyond 200) and, while the window is
// open, adds its row at the bottom and keeps it in view.
void AddMonitorRow(System& sys, const Press& press, const PressOutcome& outcome);

// "Receiver: AF9015, polling, library af15bdaex.dll".
std::string ReceiverStateText(const System& sys);
// The key-map file's path and the problems of its last read, one a line.
std::string KeyMapText(const System& sys);

// A section for applications.ini for the program of the latest press made
// with another program than this one in front: its name, its Exe line and
// the buttons pressed in it as commented lines. Empty when there is none.
std::string CopySectionText(const System& sys);

// Opens the window, or brings the open one to the front.
void OpenButtonMonitor(System& sys);

// Opens applications.ini in the user's editor (the "edit" verb, else
// Notepad), first made from the example when it is missing.
void EditKeyMaps(System& sys, Hwnd owner);

// The window's procedure (ctx is the System).
std::intptr_t MonitorWindowProc(void* ctx, Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                std::intptr_t lParam);

}  // namespace rc
