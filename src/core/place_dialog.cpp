#include "core/place_dialog.h"

#include "core/system.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

struct Placement {
    int width;  // SM_CXFULLSCREEN
    int x;
    int y;
};

constexpr Placement kPlacements[] = {
    {640, 160, 200},  {800, 280, 250},  {1024, 350, 300},
    {1152, 420, 300}, {1280, 420, 300}, {1600, 580, 340},
};

}  // namespace

void PlaceDialog(System& sys, Hwnd dlg) {
    int width = sys.os.GetSystemMetrics(win::kSmCxFullScreen);
    for (const Placement& p : kPlacements) {
        if (p.width == width) {
            sys.os.SetWindowPos(dlg, win::kHwndTopmost, p.x, p.y, 0, 0, win::kSwpNoSize);
            return;
        }
    }
}

}  // namespace rc
