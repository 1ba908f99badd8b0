#include "apps/pallamo.h"

#include "shell/system.h"

namespace rc {

void PallamoKeyMap(System&, std::uint32_t, std::uint32_t) {}
void PallamoCommand(System&, std::uint32_t) {}

}  // namespace rc
