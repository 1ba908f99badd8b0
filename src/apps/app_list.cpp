// The one ordered list of the built-in applications.
#include <iterator>

#include "apps/app_record.h"
#include "apps/lumetra_center.h"
#include "apps/lumetra_panel.h"
#include "apps/media_center.h"
#include "apps/pallamo.h"
#include "apps/power_cinema.h"
#include "apps/total_media.h"
#include "core/system.h"

namespace rc {

namespace {

// The application order.
constexpr const AppRecord* kBuiltInApps[] = {
    &kPowerCinemaApp,  &kPallamoApp,    &kMediaCenterApp,
    &kLumetraPanelApp, &kTotalMediaApp, &kLumetraCenterApp,
};
static_assert(std::size(kBuiltInApps) <= kMaxBuiltInApps);

std::size_t PlaceOf(const AppRecord& app) {
    std::size_t place = 0;
    while (kBuiltInApps[place] != &app) {
        ++place;
    }
    return place;
}

}  // namespace

std::span<const AppRecord* const> BuiltInApps() {
    return kBuiltInApps;
}

const AppRecord* FindAppRecord(std::uint32_t appId) {
    for (const AppRecord* app : kBuiltInApps) {
        if (app->appId == appId) {
            return app;
        }
    }
    return nullptr;
}

TargetApp& StateOf(System& sys, const AppRecord& app) {
    return sys.apps[PlaceOf(app)];
}

TargetApp* App(System& sys, std::uint32_t appId) {
    const AppRecord* app = FindAppRecord(appId);
    return app == nullptr ? nullptr : &StateOf(sys, *app);
}

bool& WatchMarkOf(System& sys, const AppRecord& app) {
    return sys.watchMark[PlaceOf(app)];
}

}  // namespace rc
