// The tray icon's tip: the program's name, and on a second line the
// receiver's state, kept up to date as the receiver comes and goes.
#pragma once

#include <string>

namespace rc {

struct System;

// "Remote Control" and, after a line break, one of "AF9015 ready" (the
// family in service), "no receiver — waiting for the stick" or
// "receiver off (AlwaysRemoteOff)".
std::string TrayTipText(const System& sys);

// Puts the tip's text into the tray icon's record and, when it changed and
// the icon has been added, shows it (NIM_MODIFY). The receiver calls it
// through System::onReceiverChange.
void RefreshTrayTip(System& sys);

}  // namespace rc
