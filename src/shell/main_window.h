// Process entry, the hidden main window, the tray icon and its menu.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;

// Main window command ids.
constexpr std::uint32_t kCmdAbout = 30;
constexpr std::uint32_t kCmdExitQuiet = 31;
constexpr std::uint32_t kCmdSetting = 32;
// The applications' items take their records' commands (1101 to 1109).
constexpr std::uint32_t kCmdExit = 1201;
constexpr std::uint32_t kCmdToggleLaunchAp = 1202;
constexpr std::uint32_t kCmdButtonMonitor = 1301;
constexpr std::uint32_t kCmdShowButtons = 1302;
constexpr std::uint32_t kCmdKeyMaps = 1303;
constexpr std::uint32_t kTrayIconId = 10;
constexpr std::uint32_t kTrayCallbackMessage = 1001;

// The whole life of the process: gives the process exit code.
int RunRemoteControl(System& sys);

// The main window's procedure (ctx is the System).
std::intptr_t MainWindowProc(void* ctx, Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                             std::intptr_t lParam);

}  // namespace rc
