#include "keys/mouse.h"

#include <algorithm>

#include "core/press.h"
#include "core/system.h"
#include "platform/win_defs.h"

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

void Click(System& sys, std::uint32_t downFlag, std::uint32_t upFlag, const char* text) {
    Point at{};
    sys.os.GetCursorPos(&at);
    SendMouseEvent(sys, downFlag, at);
    SendMouseEvent(sys, upFlag, at);
    NoteSent(sys, text);
}

void ToggleHold(System& sys) {
    int swapped = sys.os.GetSystemMetrics(win::kSmSwapButton);
    Point at{};
    sys.os.GetCursorPos(&at);
    if (sys.buttonHeld) {
        sys.buttonHeld = false;
        SendMouseEvent(sys, swapped != 0 ? win::kMouseEventRightUp : win::kMouseEventLeftUp, at);
        NoteSent(sys, "button released");
    } else {
        sys.buttonHeld = true;
        SendMouseEvent(sys, swapped != 0 ? win::kMouseEventRightDown : win::kMouseEventLeftDown,
                       at);
        NoteSent(sys, "button held down");
    }
}

// The keypad layout: 1 2 3 up, 4 6 sideways, 7 8 9 down.
constexpr const char* kMoveTexts[10] = {
    nullptr, "pointer up-left", "pointer up",        "pointer up-right", "pointer left",
    nullptr, "pointer right",   "pointer down-left", "pointer down",     "pointer down-right",
};

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
        NoteSent(sys, kMoveTexts[direction]);
    } else if (StrictlyInside(area, x, y)) {
        sys.os.SetCursorPos(x, y);
        NoteSent(sys, kMoveTexts[direction]);
    } else {
        // From inside, never clamped to the edge: the move is dropped and the
        // run starts over.
        area.runCounter = 0;
        NoteNotSent(sys, "the pointer is at the edge");
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

void EmulateMouse(System& sys, const Press& press) {
    NoteTaker(sys, PressTaker::kPointer);
    // A held direction button goes on moving: the repeat filter leaves the
    // run counter alone, so the run speeds up. Its other repeats do nothing.
    if (press.repeat) {
        if (IsDirection(press.keyCode)) {
            Move(sys, press.keyCode);
        } else {
            NoteNotSent(sys, "a held button that does not move the pointer");
        }
        return;
    }
    const std::uint32_t keyCode = press.keyCode;
    if (keyCode == 0) {
        Click(sys, win::kMouseEventLeftDown, win::kMouseEventLeftUp, "left click");
    } else if (keyCode == 5) {
        ToggleHold(sys);
    } else if (keyCode == 10) {
        Click(sys, win::kMouseEventRightDown, win::kMouseEventRightUp, "right click");
    } else if (IsDirection(keyCode)) {
        Move(sys, keyCode);
    } else {
        NoteNotSent(sys, "no pointer action for this button");
    }
}

}  // namespace rc
