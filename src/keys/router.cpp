#include "keys/router.h"

#include "shell/system.h"

namespace rc {

void RouteKey(System&, std::uint32_t, Hwnd) {}

}  // namespace rc
