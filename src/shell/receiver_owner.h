// Who may use the receiver: not the computer while it sleeps, and only the
// copy of the program in the session that the physical console shows.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;

// The main window's own message: a watchdog tick, run from the queue.
constexpr std::uint32_t kWatchdogNowMessage = 0x8001;  // WM_APP + 1

// At the main window's creation, before the receiver is brought up: the
// window hears its session's events from now on, and sys.awayFromConsole
// says whether this copy must leave the receiver alone.
void WatchSessions(System& sys, Hwnd mainWindow);
// When the main window goes.
void StopWatchingSessions(System& sys, Hwnd mainWindow);

// WM_POWERBROADCAST, by its event (wParam).
void OnPowerBroadcast(System& sys, Hwnd mainWindow, std::uintptr_t event);
// WM_WTSSESSION_CHANGE: the event (wParam) and the session it concerns
// (lParam).
void OnSessionChange(System& sys, Hwnd mainWindow, std::uintptr_t event, std::intptr_t session);

}  // namespace rc
