#include "apps/lumetra_center.h"

#include "shell/system.h"

namespace rc {

void LumetraCenterKeyMap(System&, std::uint32_t, std::uint32_t) {}
void LumetraCenterCommand(System&, std::uint32_t) {}
void ProbeLumetraCenterSkin(System&) {}

}  // namespace rc
