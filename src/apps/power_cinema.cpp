#include "apps/power_cinema.h"

#include "shell/system.h"

namespace rc {

void PowerCinemaKeyMap(System&, std::uint32_t) {}
void PowerCinemaCtrlT(System&) {}

}  // namespace rc
