#include "core/timer_slots.h"

#include "core/system.h"

namespace rc {

void ConstructTimerSlot(TimerSlot& slot, std::uint32_t id, TimerProc callback) {
    slot.armed = false;
    slot.id = id;
    slot.window = 0;
    slot.period = 0;
    slot.callback = callback;
}

void BindTimerSlot(TimerSlot& slot, Hwnd window, std::uint32_t period) {
    slot.window = window;
    slot.period = period;
}

std::uintptr_t ArmTimerSlot(System& sys, TimerSlot& slot) {
    if (slot.armed) {
        return 0;
    }
    std::uintptr_t result = sys.os.SetTimer(slot.window, slot.id, slot.period, slot.callback, &sys);
    // Armed whatever SetTimer said: the next arm does nothing until a kill.
    slot.armed = true;
    return result;
}

void KillTimerSlot(System& sys, TimerSlot& slot) {
    if (!slot.armed) {
        return;
    }
    sys.os.KillTimer(slot.window, slot.id);
    slot.armed = false;
}

void ArmGpioTimer(System& sys) {
    ArmTimerSlot(sys, sys.gpioTimer);
}
void KillGpioTimer(System& sys) {
    KillTimerSlot(sys, sys.gpioTimer);
}
void ArmAppWatchTimer(System& sys) {
    ArmTimerSlot(sys, sys.appWatchTimer);
}
void KillAppWatchTimer(System& sys) {
    KillTimerSlot(sys, sys.appWatchTimer);
}
void ArmChkUsbTimer(System& sys) {
    ArmTimerSlot(sys, sys.chkUsbTimer);
}
void KillChkUsbTimer(System& sys) {
    KillTimerSlot(sys, sys.chkUsbTimer);
}

void BindTimerSlots(System& sys, Hwnd mainWindow) {
    BindTimerSlot(sys.chkUsbTimer, mainWindow, kChkUsbPeriod);
    KillChkUsbTimer(sys);
    BindTimerSlot(sys.gpioTimer, mainWindow, kGpioPeriod);
    KillGpioTimer(sys);
    BindTimerSlot(sys.appWatchTimer, mainWindow, kAppWatchPeriod);
    KillAppWatchTimer(sys);
}

void DestroyTimerSlots(System& sys) {
    // Reverse order of construction.
    KillChkUsbTimer(sys);
    KillAppWatchTimer(sys);
    KillGpioTimer(sys);
}

}  // namespace rc
