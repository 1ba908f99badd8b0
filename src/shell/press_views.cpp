#include "shell/press_views.h"

#include "core/system.h"
#include "shell/press_trace.h"
#include "shell/monitor.h"
#include "shell/osd.h"

namespace rc {

void ShowPress(System& sys, const Press& press, const PressOutcome& outcome) {
    TracePress(sys, press, outcome);
    AddMonitorRow(sys, press, outcome);
    ShowOnScreen(sys, press, outcome);
}

}  // namespace rc
