// Shared state of the virtual tuner stick.
//
// The three stand-in vendor libraries and the `tuner` control command meet in
// one folder, by default C:\virtual_tuner (the environment variable
// VIRTUAL_TUNER_DIR, a Windows path, overrides it):
//   plugged   the family whose stick is plugged in: "af9015", "it9135" or
//             "rtl2832u"; missing or empty when no stick is plugged.
//   button    the latest button event, one line "SEQ SCAN HOLD_MS [AT_US]": a
//             new SEQ starts a new press of raw scan code SCAN, held for
//             HOLD_MS milliseconds (0: pressed once). With AT_US the code
//             reaches the receiver only at that moment (microseconds since
//             1970, the system clock), not as soon as the file is seen. A
//             line whose SCAN is not a number ("SEQ none 0", written when a
//             stick is plugged in) latches nothing. The control replaces the
//             file as a whole.
//   fail      optional; names of entry points that must report failure, one a
//             line (for example af9100_initIRDev).
//   setup     optional; "lost" while the chip has lost its IR set-up, as after
//             the computer slept: the stick stays listed, but reads give
//             nothing (a press made meanwhile is lost) until the family's
//             library initialises the receiver again (af15_init,
//             af9100_initIRDev, RTK_InitialAPModeIRParameter), which removes
//             the file.
//   calls.log appended by the libraries: every init and exit call with its
//             result and every delivered frame, with the moment it was read
//             (read_us=) and, for a press given a moment, the moment the frame
//             reached the receiver (ready_us=), both in microseconds since
//             1970 on the system clock that the stand-in application's log
//             and the benchmark use.
//
// A held button is delivered as a real remote sends it: one frame at once,
// then one frame every kFramePeriodMs until the hold time has passed. The
// receiver latches the newest frame; a read takes it, and a frame that was
// overtaken before it was read is lost.
#pragma once

#include <cstdint>

// The entry points' calling convention. Nothing documents the vendors' own, so
// the libraries are built both ways: __stdcall in bin/, cdecl (VT_CDECL) in
// bin/cdecl/. The two differ only on 32-bit Windows.
#ifdef VT_CDECL
#define VT_CALL __cdecl
#else
#define VT_CALL __stdcall
#endif

namespace vt {

constexpr std::uint32_t kFramePeriodMs = 108;

enum class Family { kAf9015, kIt9135, kRtl2832u };

// True when the stick of this family is the one plugged in.
bool IsPlugged(Family family);

// True when the entry point is listed in the fail file.
bool MustFail(const char* entryPoint);

// The frame due now for this family, if any: true and the raw scan code.
// Nothing is delivered while the family's stick is not plugged in, or while
// its chip has lost its IR set-up.
bool TakeFrame(Family family, std::uint8_t* scan);

// The receiver's initialisation succeeded: a lost IR set-up is back.
void RestoreSetup();

// Appends "time pid text" to calls.log.
void LogCall(const char* text);

// Formats "name -> result" into calls.log and gives the result back.
int LogResult(const char* entryPoint, int result);

// Called once when a library is loaded: presses made before the program
// started are not delivered to it.
void OnLoad();

}  // namespace vt
