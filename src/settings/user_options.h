// The per-user options, under HKEY_CURRENT_USER
// "Software\Orvalix Multimedia\Remote Control": each user's own, which a
// standard user may write (the settings under HKEY_LOCAL_MACHINE are the
// machine's).
#pragma once

namespace rc {

struct System;

constexpr const char* kUserOptionsKey = "Software\\Orvalix Multimedia\\Remote Control";

// Reads the options into the System; a missing key or value leaves an
// option off.
void LoadUserOptions(System& sys);
// Writes ShowButtons (0/1) from sys.showButtons, making the key when it is
// missing. False when the registry refuses (traced).
bool SaveShowButtons(System& sys);

}  // namespace rc
