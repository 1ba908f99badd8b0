// The shutdown confirmation (dialog 107).
#pragma once

#include <cstdint>

#include "core/press.h"
#include "platform/platform.h"

namespace rc {

struct System;

// Asks, in a modal dialog, whether to switch the computer off; returns when
// the dialog has ended. The remote answers through the poll's nested ticks.
void OpenShutdownDialog(System& sys, Hwnd owner);
// A press while the dialog is open: the power key of the layout confirms
// (Enter), a power key of another layout does nothing, any other fresh press
// cancels (Escape); a held button's frames do nothing.
PressOutcome AnswerShutdownDialog(System& sys, const Press& press);
// The dialog procedure (ctx is the System).
std::intptr_t ShutdownDialogProc(void* ctx, Hwnd dlg, std::uint32_t msg, std::uintptr_t wParam,
                                 std::intptr_t lParam);
void ShutDownComputer(System& sys);

}  // namespace rc
