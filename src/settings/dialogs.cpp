#include "settings/dialogs.h"

#include "shell/system.h"

namespace rc {

void ShowAboutDialog(System&, Hwnd) {}
void ShowSettingDialog(System&, Hwnd) {}

}  // namespace rc
