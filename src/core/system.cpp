#include "core/system.h"

namespace rc {

TargetApp* System::App(std::uint32_t appId) {
    switch (appId) {
        case kPowerCinema:
            return &powerCinema;
        case kPallamo:
            return &pallamo;
        case kMediaCenter:
            return &mediaCenter;
        case kTotalMedia:
            return &totalMedia;
        case kLumetraPanel:
            return &lumetraPanel;
        case kLumetraCenter:
            return &lumetraCenter;
        default:
            return nullptr;
    }
}

}  // namespace rc
