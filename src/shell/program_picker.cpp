#include "shell/program_picker.h"

namespace rc {

std::optional<WindowFacts> PickProgramWindow(System&, Hwnd) {
    return std::nullopt;
}

std::optional<std::string> BrowseForProgram(System&, Hwnd, std::string_view) {
    return std::nullopt;
}

std::string TryKeyMapAction(System&, std::string_view section, const ProgramMatch&,
                            const UserAction&) {
    return std::string(section) + " is not running.";
}

}  // namespace rc
