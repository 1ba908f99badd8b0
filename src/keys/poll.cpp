#include "keys/poll.h"

#include "shell/system.h"

namespace rc {

void OnGpioTimer(void* ctx, Hwnd hwnd, std::uintptr_t) {
    PollTick(*static_cast<System*>(ctx), hwnd);
}
void PollTick(System&, Hwnd) {}
std::uint32_t FilterRepeat(System&, std::uint32_t keyCode) {
    return keyCode;
}
void SendShutdownKey(System&, std::uint32_t) {}

}  // namespace rc
