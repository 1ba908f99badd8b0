#include "apps/mce_presence.h"

#include "shell/system.h"

namespace rc {

int IsMceInstalled(System&) {
    return 0;
}
Hwnd FindMceWindow(System&) {
    return 0;
}

}  // namespace rc
