// The Setting and About dialogs of the tray menu (their placement, shared
// with the Shut Down confirmation: core/place_dialog.h).
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;

void ShowAboutDialog(System& sys, Hwnd owner);
void ShowSettingDialog(System& sys, Hwnd owner);

// The dialog procedures (ctx is the System).
std::intptr_t AboutDialogProc(void* ctx, Hwnd dlg, std::uint32_t msg, std::uintptr_t wParam,
                              std::intptr_t lParam);
std::intptr_t SettingDialogProc(void* ctx, Hwnd dlg, std::uint32_t msg, std::uintptr_t wParam,
                                std::intptr_t lParam);

}  // namespace rc
