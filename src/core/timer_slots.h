// The three window timers of the main window, each wrapped in a TimerSlot
// that remembers whether it is armed.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rc {

struct System;
struct TimerSlot;

constexpr std::uint32_t kGpioTimerId = 1;
constexpr std::uint32_t kAppWatchTimerId = 2;
constexpr std::uint32_t kChkUsbTimerId = 3;
constexpr std::uint32_t kGpioPeriod = 65;
constexpr std::uint32_t kAppWatchPeriod = 500;
constexpr std::uint32_t kChkUsbPeriod = 3000;

void ConstructTimerSlot(TimerSlot& slot, std::uint32_t id, TimerProc callback);
void BindTimerSlot(TimerSlot& slot, Hwnd window, std::uint32_t period);
// Gives SetTimer's result, or 0 when the slot was already armed.
std::uintptr_t ArmTimerSlot(System& sys, TimerSlot& slot);
void KillTimerSlot(System& sys, TimerSlot& slot);

void ArmGpioTimer(System& sys);
void KillGpioTimer(System& sys);
void ArmAppWatchTimer(System& sys);
void KillAppWatchTimer(System& sys);
void ArmChkUsbTimer(System& sys);
void KillChkUsbTimer(System& sys);
// Binds the three slots to the main window, in the order ChkUSB, GPIO,
// AppWatch, killing each after binding.
void BindTimerSlots(System& sys, Hwnd mainWindow);
// Process exit: kills the armed slots in the order ChkUSB, AppWatch, GPIO.
void DestroyTimerSlots(System& sys);

}  // namespace rc
