#include "apps/total_media.h"

#include "shell/system.h"

namespace rc {

void TotalMediaKeyMap(System&, std::uint32_t, std::uint32_t) {}
void TotalMediaCtrlT(System&) {}

}  // namespace rc
