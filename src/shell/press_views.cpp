#include "shell/press_views.h"

#include "core/system.h"

namespace rc {

void ShowPress(System& sys, const Press& press, const PressOutcome& outcome) {
    (void)sys;
    (void)press;
    (void)outcome;
}

}  // namespace rc
