#include "shell/press_trace.h"

#include "apps/button_names.h"
#include "core/debug_trace.h"
#include "core/system.h"

namespace rc {

namespace {

constexpr char kArrow[] = " \xE2\x86\x92 ";  // →

}  // namespace

std::string PressTraceText(const System& sys, const Press& press, const PressOutcome& outcome) {
    std::string line;
    if (const char* name = ButtonNameOf(sys.nIRKEYType, press.keyCode)) {
        line = name;
    } else {
        line = "KeyCode ";
        line += std::to_string(press.keyCode);
    }
    if (outcome.sent.empty()) {
        line += ": ";
        line += outcome.why.empty() ? "nothing to do" : outcome.why;
        return line;
    }
    line += kArrow;
    switch (outcome.taker) {
        case PressTaker::kPointer:
            line += "pointer";
            break;
        case PressTaker::kShutdownDialog:
            line += "Shut Down dialog";
            break;
        default:
            line += outcome.name.empty() ? outcome.sent : outcome.name;
            break;
    }
    return line;
}

void TracePress(System& sys, const Press& press, const PressOutcome& outcome) {
    if (!sys.traceOn) {
        return;
    }
    std::string line = "Press: ";
    line += PressTraceText(sys, press, outcome);
    if (!outcome.sent.empty()) {
        line += " [";
        line += outcome.sent;
        line += ']';
    }
    if (press.repeat) {
        line += " (held)";
    }
    DebugTrace(sys, line.c_str());
}

}  // namespace rc
