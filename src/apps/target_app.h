// The common model of a controlled application: discovery, window search,
// launch, activation, close, toggle and the AppWatch timer, all driven by
// the applications' records (apps/app_record.h).
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;
struct TargetApp;

// Discovery, run when the System is built, in the records' discovery ranks:
// TotalMedia, Lumetra Center, Lumetra panel, Media Center, PowerCinema (then
// the timer slots are constructed), then Pallamo.
void DiscoverAppsBeforeTimers(System& sys);
void DiscoverAppsAfterTimers(System& sys);

int ReadAppRegistry(System& sys, TargetApp& app, const char* keyPath, const char* valueName,
                    const char* exeName);
// A launch attempt's message box (caption "Remote Control", no owner); while
// one is open, another is not shown and its text goes to the trace.
void ShowLaunchBox(System& sys, const char* text, std::uint32_t type);

// The operations, by AppId (any other id: none / 0).
Hwnd FindAppWindow(System& sys, std::uint32_t appId);
Hwnd LaunchApp(System& sys, std::uint32_t appId);
Hwnd ActivateOrLaunchApp(System& sys, std::uint32_t appId);
int CloseApp(System& sys, std::uint32_t appId);
int ToggleApp(System& sys, std::uint32_t appId);
// The search used outside an application's own commands and close (router,
// AppWatch, tray menu, follow-up after launch) and by LaunchApp,
// ActivateOrLaunchApp and ToggleApp: TotalMedia by the title "Arcsoft
// TotalMedia" alone, the others as FindAppWindow.
Hwnd FindAppWindowElsewhere(System& sys, std::uint32_t appId);

// The application's AppWatch mark in sys.watchMark (null for any other id).
bool* WatchMark(System& sys, std::uint32_t appId);

// The AppWatch timer's callback (ctx is the System).
void OnAppWatchTimer(void* ctx, Hwnd hwnd, std::uintptr_t id);

}  // namespace rc
