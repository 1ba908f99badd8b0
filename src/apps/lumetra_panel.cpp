#include "apps/lumetra_panel.h"

#include "shell/system.h"

namespace rc {

void LumetraPanelKeyMap(System&, std::uint32_t) {}
void LumetraPanelCommand(System&, std::uint32_t) {}

}  // namespace rc
