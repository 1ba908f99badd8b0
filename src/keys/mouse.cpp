#include "keys/mouse.h"

#include <algorithm>

#include "platform/win_defs.h"
#include "shell/system.h"

namespace rc {

namespace {

// Moves of a run made with 1-pixel steps; then small steps up to the
// kLargeFrom-th move, large steps from there on.
constexpr std::int32_t kSmallFrom = 5;
constexpr std::int32_t kLargeFrom = 10;

bool StrictlyInside(const PointerArea& area, std::int32_t x, std::int32_t y) {
    return area.left < x && x < area.right && area.top < y && y < area.bottom;
}

bool IsDirection(std::uint32_t keyCode) {
    return keyCode >= 1 && keyCode <= 9 && keyCode != 5;
}

// One mouse_event at the cursor position read at the start of the action;
// the position does not move the pointer (no move flag).
void SendMouseEvent(System& sys, std::uint32_t flags, Point at) {
    std::uintptr_t extra = static_cast<std::uintptr_t>(sys.os.GetMessageExtraInfo());
    sys.os.mouse_event(flags, at.x, at.y, 0, extra);
}

void Click(System& sys, std::uint32_t downFlag, std::uint32_t upFlag) {
    Point at{};
    sys.os.GetCursorPos(&at);
    SendMouseEvent(sys, downFlag, at);
    SendMouseEvent(sys, upFlag, at);
}

void ToggleHold(System& sys) {
    int swapped = sys.os.GetSystemMetrics(win::kSmSwapButton);
    Point at{};
    sys.os.GetCursorPos(&at);
    if (sys.buttonHeld == 1) {
        sys.buttonHeld = 0;
        SendMouseEvent(sys, swapped != 0 ? win::kMouseEventRightUp : win::kMouseEventLeftUp, at);
    } else {
        sys.buttonHeld = 1;
        SendMouseEvent(sys, swapped != 0 ? win::kMouseEventRightDown : win::kMouseEventLeftDown,
                       at);
    }
}

void Move(System& sys, std::uint32_t direction) {
    PointerArea& area = sys.pointer;
    std::int32_t n = ++area.runCounter;
    std::int32_t step = n < kSmallFrom ? 1 : (n < kLargeFrom ? area.smallStep : area.largeStep);

    Point at{};
    sys.os.GetCursorPos(&at);
    std::int32_t x = at.x;
    std::int32_t y = at.y;
    // The keypad layout: 1 2 3 up, 4 6 sideways, 7 8 9 down.
    if (direction == 1 || direction == 4 || direction == 7) {
        x -= step;
    }
    if (direction == 3 || direction == 6 || direction == 9) {
        x += step;
    }
    if (direction <= 3) {
        y -= step;
    }
    if (direction >= 7) {
        y += step;
    }

    if (!StrictlyInside(area, at.x, at.y)) {
        // The pointer is outside the area (on the taskbar, on a second
        // monitor, on the edge): the move is made, clamped onto the area, so
        // that the remote can always bring the pointer back.
        sys.os.SetCursorPos(std::max(area.left, std::min(x, area.right)),
                            std::max(area.top, std::min(y, area.bottom)));
    } else if (StrictlyInside(area, x, y)) {
        sys.os.SetCursorPos(x, y);
    } else {
        // From inside, never clamped to the edge: the move is dropped and the
        // run starts over.
        area.runCounter = 0;
    }
}

}  // namespace

void ComputePointerAreaFromMetrics(System& sys) {
    int height = sys.os.GetSystemMetrics(win::kSmCyFullScreen);
    if (height % 2 != 0) {
        height += 19;
    }
    int width = sys.os.GetSystemMetrics(win::kSmCxFullScreen);
    ComputePointerArea(sys, width, height);
}

void ComputePointerArea(System& sys, int width, int height) {
    PointerArea& area = sys.pointer;
    area.left = 0;
    area.top = 0;
    area.right = width - 1;
    area.bottom = height - 1;
    area.smallStep = width / 160;
    area.largeStep = width / 80;
}

void EmulateMouse(System& sys, std::uint32_t keyCode) {
    // A held direction button: the repeat filter turns its frames into 255
    // but keeps the button in lastKeyCode and leaves the run counter alone,
    // so the run goes on and speeds up.
    if (keyCode == 255 && sys.repeat.bRepeatKey && IsDirection(sys.repeat.lastKeyCode)) {
        Move(sys, sys.repeat.lastKeyCode);
        return;
    }
    if (keyCode == 0) {
        Click(sys, win::kMouseEventLeftDown, win::kMouseEventLeftUp);
    } else if (keyCode == 5) {
        ToggleHold(sys);
    } else if (keyCode == 10) {
        Click(sys, win::kMouseEventRightDown, win::kMouseEventRightUp);
    } else if (IsDirection(keyCode)) {
        Move(sys, keyCode);
    }
}

}  // namespace rc
