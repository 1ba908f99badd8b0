// The Setting and About dialogs, and the placement that every dialog of the
// system shares.
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

// Moves a dialog to its fixed place for the common screen widths and keeps it
// on top; on any other width it stays where the dialog manager put it.
void PlaceDialog(System& sys, Hwnd dlg);

}  // namespace rc
