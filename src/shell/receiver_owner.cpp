// The receiver follows the computer's sleep and the Windows sessions.
//
// While the computer sleeps the stick loses power; at the resume Windows
// enumerates it again and its chip has forgotten its set-up, although
// detection still finds its filter. So the suspend stops every use of the
// receiver, and the resume brings it up from scratch through the watchdog,
// as after a re-plug.
//
// With fast user switching one copy runs in each logged-on user's session,
// and all of them would read the one receiver: whichever read first would
// take the press, for a session nobody may be looking at. Only the copy whose
// session the physical console shows uses it; a copy in a remote-desktop
// session never does.
#include "shell/receiver_owner.h"

#include "core/debug_trace.h"
#include "core/system.h"
#include "keys/poll.h"
#include "platform/win_defs.h"
#include "receiver/receiver.h"

namespace rc {

namespace {

// The resume messages, as bits of resumesSeen.
constexpr std::uint32_t kResumeAutomaticSeen = 1;
constexpr std::uint32_t kResumeSuspendSeen = 2;

// The receiver from scratch, as after a re-plug; the first press read
// afterwards is a new press.
void BringUp(System& sys, Hwnd mainWindow, bool launch) {
    DebugTrace(sys, "Bring the receiver up");
    ForgetLastPress(sys);
    BringUpReceiver(sys, launch);
    // The first tick runs from the queue: Windows waits for the answer to
    // WM_POWERBROADCAST, and an automatic launch takes seconds.
    sys.os.PostMessageA(mainWindow, kWatchdogNowMessage, 0, 0);
}

void Release(System& sys) {
    DebugTrace(sys, "Release the receiver");
    ReleaseReceiver(sys);
}

bool RemoteSession(System& sys) {
    return sys.os.GetSystemMetrics(win::kSmRemoteSession) != 0;
}

}  // namespace

void WatchSessions(System& sys, Hwnd mainWindow) {
    Platform& os = sys.os;
    // Registered before the look below, so that a switch right after it
    // arrives as a message.
    const bool watched = os.WTSRegisterSessionNotification(mainWindow, win::kNotifyForThisSession);
    sys.sessionKnown = os.ProcessIdToSessionId(os.GetCurrentProcessId(), &sys.sessionId);
    if (!watched || !sys.sessionKnown) {
        // Unable to follow the console, the copy uses the receiver as if it
        // were alone, except in a remote-desktop session.
        DebugTrace(sys, "Sessions not followed");
        sys.awayFromConsole = RemoteSession(sys);
        return;
    }
    sys.awayFromConsole = RemoteSession(sys) || os.WTSGetActiveConsoleSessionId() != sys.sessionId;
}

void StopWatchingSessions(System& sys, Hwnd mainWindow) {
    sys.os.WTSUnRegisterSessionNotification(mainWindow);
}

// PBT_APMSUSPEND: nothing calls the chip library until the resume.
// PBT_APMRESUMEAUTOMATIC comes at every resume, PBT_APMRESUMESUSPEND as well
// when a person woke the computer (or touches it later); in either order they
// are one resume and give one bring-up. The same message twice is a new
// resume whose suspend went unheard (as is a resume with no suspend at all),
// and brings the receiver up again.
void OnPowerBroadcast(System& sys, Hwnd mainWindow, std::uintptr_t event) {
    std::uint32_t seen = 0;
    switch (event) {
        case win::kPbtApmSuspend:
            DebugTrace(sys, "PBT_APMSUSPEND");
            sys.suspended = true;
            sys.resumesSeen = 0;
            Release(sys);
            return;
        case win::kPbtApmResumeAutomatic:
            DebugTrace(sys, "PBT_APMRESUMEAUTOMATIC");
            seen = kResumeAutomaticSeen;
            break;
        case win::kPbtApmResumeSuspend:
            DebugTrace(sys, "PBT_APMRESUMESUSPEND");
            seen = kResumeSuspendSeen;
            break;
        default:
            return;
    }
    const bool sameResume = sys.resumesSeen != 0 && (sys.resumesSeen & seen) == 0;
    sys.resumesSeen = sameResume ? (sys.resumesSeen | seen) : seen;
    sys.suspended = false;
    if (!sameResume && !sys.awayFromConsole) {
        BringUp(sys, mainWindow, true);  // the automatic launch as after a re-plug
    }
}

// The window hears the events of its own session only:
// - WTS_CONSOLE_CONNECT: the console shows this session again. The receiver
//   is brought up, without the automatic launch: the user comes back to
//   the desktop as they left it. Not in a remote-desktop session, and not
//   while the computer sleeps (the resume brings it up).
// - WTS_CONSOLE_DISCONNECT: another session has the console (a switch of
//   user, or a remote-desktop client took this one). The receiver is let go
//   as on a removal, without the watchdog, for the copy at the console.
// - WTS_REMOTE_CONNECT: this session shows on a remote-desktop client; let
//   go as well, should the console's disconnect have gone unheard.
// - Everything else (WTS_REMOTE_DISCONNECT, logon, logoff, lock, unlock...)
//   changes nothing: a locked session keeps the console and the receiver.
void OnSessionChange(System& sys, Hwnd mainWindow, std::uintptr_t event, std::intptr_t session) {
    DebugTrace(sys, "WM_WTSSESSION_CHANGE", static_cast<std::uint32_t>(event));
    if (!sys.sessionKnown || static_cast<std::uint32_t>(session) != sys.sessionId) {
        return;
    }
    switch (event) {
        case win::kWtsConsoleConnect:
            if (sys.awayFromConsole && !RemoteSession(sys)) {
                sys.awayFromConsole = false;
                if (!sys.suspended) {
                    BringUp(sys, mainWindow, false);
                }
            }
            break;
        case win::kWtsConsoleDisconnect:
        case win::kWtsRemoteConnect:
            if (!sys.awayFromConsole) {
                sys.awayFromConsole = true;
                Release(sys);
            }
            break;
        default:
            break;
    }
}

}  // namespace rc
