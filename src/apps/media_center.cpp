#include "apps/media_center.h"

#include "shell/system.h"

namespace rc {

void MediaCenterKeyMap(System&, std::uint32_t, std::uint32_t) {}
void MediaCenterCtrlT(System&) {}

}  // namespace rc
