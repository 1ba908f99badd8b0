#include "shell/press_views.h"

#include "core/system.h"
#include "shell/monitor.h"

namespace rc {

void ShowPress(System& sys, const Press& press, const PressOutcome& outcome) {
    AddMonitorRow(sys, press, outcome);
}

}  // namespace rc
