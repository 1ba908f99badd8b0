#include "shell/press_trace.h"

#include "apps/button_names.h"
#include "core/debug_trace.h"
#include "core/system.h"

namespace rc {

namespace {

constexpr char kArrow[] = " \xE2\x86\x92 ";  // →

}  // namespace

std::string PressText(const char* button, std::uint32_t keyCode, const PressOutcome& outcome,
                      bool sayLaunch) {
    std::string line;
    if (button != nullptr) {
        line = button;
    } else {
        line = "KeyCode ";
        line += std::to_string(keyCode);
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
            if (sayLaunch && outcome.sent == "launch") {
                line += "launch ";
            }
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
    line += PressText(ButtonNameOf(sys.nIRKEYType, press.keyCode), press.keyCode, outcome, false);
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
