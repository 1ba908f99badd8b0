// All process-wide state of Remote Control, in one place.
//
// The program keeps one System for its whole life; a test builds a fresh one
// over a simulated desktop with `System sys(desk);`. Every operation of the
// system takes the System as its first argument.
//
// The state sits below every subsystem and includes nothing but the platform
// seam. Building a System wires the subsystems together (the controlled
// applications are discovered, the timer slots get their callbacks), so its
// constructor and destructor are defined on top of them, in
// shell/system_wiring.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/platform.h"
#include "core/chip_library_table.h"

namespace rc {

// AppIds of the controlled applications.
enum AppId : std::uint32_t {
    kPowerCinema = 1,
    kPallamo = 2,
    kMediaCenter = 4,
    kTotalMedia = 5,
    kLumetraPanel = 6,
    kLumetraCenter = 9,
};

// Remote layouts (nIRKEYType).
enum Layout : std::uint32_t {
    k44Key = 0,
    k32Key = 3,
    k50Key = 4,
    k35Key = 5,
};

// ChipType.
enum ChipType : std::uint32_t {
    kChipNone = 0,
    kChipAf9015 = 1,
    kChipIt9135 = 2,
    kChipConexant = 3,
    kChipRtl2832u = 4,
};

// Room for the built-in applications' state.
constexpr std::size_t kMaxBuiltInApps = 8;

// The state of one controlled application.
struct TargetApp {
    bool bInstalled = false;
    bool bLaunched = false;
    char szInstallDir[128] = {};
    char szExeName[64] = {};
    char szClassName[64] = {};
    char szWindowName[64] = {};
    Hwnd hWnd = 0;
    Hwnd hPopup = 0;  // Lumetra Center and Pallamo only
};

// One window timer.
struct TimerSlot {
    bool armed = false;
    std::uint32_t id = 0;
    Hwnd window = 0;
    std::uint32_t period = 0;
    TimerProc callback = nullptr;
};

// State of the repeat filter.
struct RepeatFilter {
    std::uint32_t lastKeyCode = 0;
    std::uint32_t lastTime = 0;
    std::uint32_t holdStart = 0;  // GetTickCount of the press that began the hold
    bool bRepeatKey = false;
    std::uint32_t nRepeatNum = 0;
    bool bRepeatPowerKey = false;
};

// Screen rectangle and step sizes of the mouse emulation.
struct PointerArea {
    std::int32_t largeStep = 0;
    std::int32_t smallStep = 0;
    std::int32_t runCounter = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// The Conexant receiver's HID channel.
struct HidChannel {
    Guid hidGuid{};
    Handle deviceInfoSet = kInvalidHandle;  // open from a successful open until destroyed
    Handle hidHandle = 0;                   // 0 = not open
};

// The on-screen display's window and where its line is (shell/osd.cpp).
struct OnScreenDisplay {
    Hwnd window = 0;  // made at the first press shown
    bool shown = false;
    int alpha = 0;             // the opacity set last
    std::uint32_t frames = 0;  // of the press shown, with the held frames that acted
};

struct UserApps;
struct ButtonMonitor;
struct KeyMapsDialog;
struct Press;
struct PressOutcome;

struct System {
    explicit System(Platform& platform);
    ~System();
    System(const System&) = delete;
    System& operator=(const System&) = delete;

    Platform& os;

    // --- Shell ---
    Handle instance = 0;
    Hwnd mainWindow = 0;
    char windowTitle[100] = {};
    char windowClass[100] = {};
    TrayIconData trayIcon{};
    Handle popupMenu = 0;
    std::uint32_t taskbarCreatedMessage = 0;
    int trayRetriesLeft = 0;  // adds of the tray icon still to try, every 2 s
    TimerSlot gpioTimer;      // id 1, 65 ms: the poll
    TimerSlot appWatchTimer;  // id 2, 500 ms: the application watch
    TimerSlot chkUsbTimer;    // id 3, 3000 ms: the device watchdog
    bool traceOn = false;     // DBM

    // --- Settings ---
    std::uint32_t nCurRemoteTV = kLumetraCenter;
    bool alwaysRemoteOff = false;
    std::uint32_t nIRKEYType = k32Key;
    std::uint32_t bLaunchap = 0;

    // --- Receiver ---
    std::uint32_t chipType = kChipNone;
    bool bDeviceReady = true;
    Handle filter = 0;             // the filter held by detection
    int comInits = 0;              // detection's CoInitialize calls not undone yet
    bool watchdogRunning = false;  // a watchdog tick has not returned yet
    HidChannel hid;
    ChipLibraries libs;
    // Called by the device watchdog each time it has brought the receiver
    // back, before polling resumes. The receiver knows nothing above it: the
    // System's constructor wires this to the automatic launch. Null does
    // nothing.
    void (*onReceiverBack)(System& sys) = nullptr;
    // Called each time the receiver may have come or gone (a watchdog tick,
    // a removal, a release): the roof wires it to the tray icon's tip. Null
    // does nothing.
    void (*onReceiverChange)(System& sys) = nullptr;
    // Who may use the receiver: not while the computer sleeps, and only the
    // copy in the session that the physical console shows (one copy runs in
    // each logged-on user's session).
    bool suspended = false;         // from PBT_APMSUSPEND to the resume
    bool awayFromConsole = false;   // this session is not at the console, or is remote
    std::uint32_t sessionId = 0;    // this process's session
    bool sessionKnown = false;      // sessionId could be read
    std::uint32_t resumesSeen = 0;  // the resume messages since the last suspend (bits)
    std::uint32_t releases = 0;     // times the receiver was let go (ReleaseReceiver)
    bool launchAtHandOver = true;   // the watchdog's hand-over runs onReceiverBack

    // --- Remote keys ---
    RepeatFilter repeat;
    PressOutcome* pressOutcome = nullptr;  // of the press being routed (core/press.h)
    // Called by the poll once a press read has been handled, with what it
    // did; the roof wires it to what shows presses. Null does nothing.
    void (*onPressDone)(System& sys, const Press& press, const PressOutcome& outcome) = nullptr;
    // Offered each press read before the Shut Down confirmation and the
    // router; true when it took the press (and wrote what it did into the
    // outcome), which then goes nowhere else. The roof wires it to the Key
    // maps dialog, which takes the presses made while it is in front. Null
    // takes none.
    bool (*takePress)(System& sys, const Press& press, PressOutcome* outcome) = nullptr;
    bool bIsShutDownDlg = false;
    Hwnd shutdownDialog = 0;
    PointerArea pointer;
    bool buttonHeld = false;

    // --- On-screen display ---
    bool showButtons = false;  // ShowButtons, the user's own option
    OnScreenDisplay osd;

    // --- Controlled applications ---
    // The state and the AppWatch mark of each built-in application, at its
    // place in the list of applications (apps/app_record.h).
    TargetApp apps[kMaxBuiltInApps];
    bool watchMark[kMaxBuiltInApps] = {};
    bool launchBoxOpen = false;  // a box of a launch attempt is open (ShowLaunchBox)
    bool bMceClassOnly = false;
    bool bPlaybackBgFound = false;       // Lumetra Center skin probe
    Hwnd lumetraCenterSlots[7] = {};     // Lumetra Center's secondary-window search
    Hwnd pallamoSlots[7] = {};           // Pallamo's secondary-form search
    std::unique_ptr<UserApps> userApps;  // the user's applications file, as last read

    // --- Button monitor ---
    std::unique_ptr<ButtonMonitor> monitor;  // the presses kept and their window
    std::unique_ptr<KeyMapsDialog> keyMaps;  // the Key maps dialog and the file it edits

    // --- Setting dialog ---
    int rememberedListPosition = -1;
    char selectionText[128] = {};
};

}  // namespace rc
