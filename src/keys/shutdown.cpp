#include "keys/shutdown.h"

#include "shell/system.h"

namespace rc {

void OpenShutdownDialog(System&, Hwnd) {}
void ShutDownComputer(System&) {}

}  // namespace rc
