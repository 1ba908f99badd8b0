#include "shell/press_views.h"

#include "core/system.h"
#include "shell/osd.h"

namespace rc {

void ShowPress(System& sys, const Press& press, const PressOutcome& outcome) {
    ShowOnScreen(sys, press, outcome);
}

}  // namespace rc
