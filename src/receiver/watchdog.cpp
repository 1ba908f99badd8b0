// Bringing the receiver into service: once while the main window is being
// created, and on every tick of the ChkUSB timer (3000 ms) while no working
// stick is known. The watchdog hands polling back to the GPIO timer when it
// has brought a stick up.
#include "core/debug_trace.h"
#include "core/system.h"
#include "core/timer_slots.h"
#include "receiver/chip_family.h"
#include "receiver/receiver.h"

namespace rc {

namespace {

// The RTL2832U bring-up, shared by start-up and the watchdog, which differ
// only in their trace texts.
struct RtlTraces {
    const char* load;
    const char* ready;
    const char* fail;
};
constexpr RtlTraces kStartupRtlTraces{"load RTL283XACCESS.dll ", "Rtl device status is Ready",
                                      "Rtl device status is Fail"};
constexpr RtlTraces kWatchdogRtlTraces{"USB load RTL283XACCESS.dll ",
                                       "USB Rtl device status is Ready",
                                       "USB Rtl device status is Fail"};

// Searches once more (the filter is kept), loads the library and starts the
// device. Sets bDeviceReady.
void BringUpRtl2832u(System& sys, Hwnd mainWindow, const RtlTraces& traces) {
    if (!FindFilter(sys)) {
        sys.bDeviceReady = false;
        return;
    }
    DebugTrace(sys, traces.load);
    if (!LoadRtlLibrary(sys)) {
        sys.bDeviceReady = false;
        return;
    }
    DebugTrace(sys, "Initial Filter");
    if (InitRtl2832u(sys, mainWindow)) {
        DebugTrace(sys, traces.ready);
        sys.bDeviceReady = true;
    } else {
        DebugTrace(sys, traces.fail);
        sys.bDeviceReady = false;
    }
}

// The stick is let go: the Conexant channel closes (it is opened
// exclusively) and nothing may be polled.
void LetGoOfStick(System& sys) {
    DestroyHidDeviceInfoSet(sys);
    CloseHidHandle(sys);
    sys.bDeviceReady = false;
}

// Polling goes back to the GPIO timer, after the hook of a receiver that is
// back (the automatic launch, when the settings ask for it). releases: the
// count of ReleaseReceiver when the tick began.
void HandOverToPoll(System& sys, std::uint32_t releases) {
    const bool launch = sys.launchAtHandOver;
    sys.launchAtHandOver = true;
    if (launch && sys.onReceiverBack != nullptr) {
        sys.onReceiverBack(sys);
    }
    // A box of the launch keeps dispatching: the computer may have gone to
    // sleep, or the console to another session, meanwhile. What this tick
    // brought up is then stale, and whoever took the receiver away decides
    // what runs next.
    if (sys.releases != releases) {
        LetGoOfStick(sys);
        return;
    }
    KillChkUsbTimer(sys);
    ArmGpioTimer(sys);
}

void WatchdogTick(System& sys, Hwnd mainWindow) {
    const std::uint32_t releases = sys.releases;
    if (!FindFilter(sys)) {
        ReleaseFilter(sys);
        CloseHidHandle(sys);
        sys.bDeviceReady = false;
        // A stick that comes later is plugged in: its bring-up launches.
        sys.launchAtHandOver = true;
        return;  // the ChkUSB timer keeps running
    }
    ReleaseFilter(sys);

    switch (sys.chipType) {
        case kChipAf9015:
            DebugTrace(sys, "USB Init Afa9015");
            if (!InitAf9015(sys)) {
                ExitAf9015(sys);
                sys.bDeviceReady = false;
                return;
            }
            sys.bDeviceReady = true;
            break;
        case kChipIt9135:
            DebugTrace(sys, "USB Init Ite9037");
            if (!InitIt9135(sys)) {
                ExitIt9135(sys);
                sys.bDeviceReady = false;
                return;
            }
            sys.bDeviceReady = true;
            break;
        case kChipConexant:
            DebugTrace(sys, "USB Init Conexant");
            if (OpenDeviceInterface(sys) == 0) {
                DebugTrace(sys, "Usb Conexant device status is Fail");
                DestroyHidDeviceInfoSet(sys);
                CloseHidHandle(sys);
                sys.bDeviceReady = false;
                return;
            }
            DebugTrace(sys, "device status is Ready");
            sys.bDeviceReady = true;
            break;
        case kChipRtl2832u:
            // Hands over whatever the outcome; a failed device is then polled
            // with bDeviceReady 0.
            DebugTrace(sys, "USB Init Rtl ");
            BringUpRtl2832u(sys, mainWindow, kWatchdogRtlTraces);
            break;
        default:
            sys.bDeviceReady = false;
            break;
    }
    HandOverToPoll(sys, releases);
}

}  // namespace

void NoteReceiverChange(System& sys) {
    if (sys.onReceiverChange != nullptr) {
        sys.onReceiverChange(sys);
    }
}

void StartupBringUp(System& sys, Hwnd mainWindow) {
    // Opened whatever stick is plugged in; a Conexant stick reads through it.
    OpenDeviceInterface(sys);
    DebugTrace(sys, "WM_CREATE");
    if (!FindFilter(sys)) {
        DebugTrace(sys, "WM_CREATE_Init Filter Fail");
        ExitAf9015(sys);
        ExitIt9135(sys);
        sys.bDeviceReady = false;
    }
    DebugTrace(sys, "WM_CREATE_Find Filter");

    switch (sys.chipType) {
        case kChipAf9015:
            DebugTrace(sys, "Init Afa9015");
            if (!InitAf9015(sys)) {
                ExitAf9015(sys);
                sys.bDeviceReady = false;
                DebugTrace(sys, "Init Afa9015 is fail");
            }
            break;
        case kChipIt9135:
            DebugTrace(sys, "Init Ite9037");
            if (!InitIt9135(sys)) {
                ExitIt9135(sys);
                sys.bDeviceReady = false;
                DebugTrace(sys, "Init Ite9037 is fail");
            }
            break;
        case kChipConexant:
            DebugTrace(sys, "Init Conexant");
            if (!FindFilter(sys)) {
                DebugTrace(sys, "Can't find the Conexant Video Capture Filter");
                sys.bDeviceReady = false;
            }
            ReleaseFilter(sys);
            break;
        case kChipRtl2832u:
            DebugTrace(sys, "Init Rtl ");
            BringUpRtl2832u(sys, mainWindow, kStartupRtlTraces);
            break;
        default:
            sys.bDeviceReady = false;
            break;
    }
}

void OnChkUsbTimer(void* ctx, Hwnd hwnd, std::uintptr_t) {
    System& sys = *static_cast<System*>(ctx);
    // The ChkUSB timer stays armed until the hand-over's end, so a message
    // box opened inside a tick (a launch that failed, a HID error) dispatches
    // further ticks. Such a tick is skipped: it would bring the stick up and
    // launch again on top of the running one, piling up boxes every 3000 ms
    // and letting the poll run inside the watchdog.
    if (sys.watchdogRunning) {
        return;
    }
    sys.watchdogRunning = true;
    WatchdogTick(sys, hwnd);
    sys.watchdogRunning = false;
    NoteReceiverChange(sys);
}

void ReleaseReceiver(System& sys) {
    KillGpioTimer(sys);
    KillChkUsbTimer(sys);
    LetGoOfStick(sys);
    ++sys.releases;
    NoteReceiverChange(sys);
}

void BringUpReceiver(System& sys, bool launch) {
    ReleaseReceiver(sys);
    sys.launchAtHandOver = launch;
    ArmChkUsbTimer(sys);
}

void RunWatchdogNow(System& sys, Hwnd mainWindow) {
    if (sys.chkUsbTimer.armed) {
        OnChkUsbTimer(&sys, mainWindow, kChkUsbTimerId);
    }
}

}  // namespace rc
