#include "keys/mouse.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/system.h"
#include "support/sim_desktop.h"
#include "platform/win_defs.h"
#include "receiver/receiver_fixture.h"

namespace rc::test {
namespace {

using Kind = SimEvent::Kind;
using Ints = std::vector<std::int64_t>;

// Keeps the extra information of every mouse event; each GetMessageExtraInfo
// call gives a fresh value.
class ExtraInfoDesk : public SimDesktop {
  public:
    std::intptr_t GetMessageExtraInfo() override { return ++extraInfoCalls * 0x100; }
    void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                     std::uintptr_t extraInfo) override {
        extraInfos.push_back(static_cast<std::int64_t>(extraInfo));
        SimDesktop::mouse_event(flags, dx, dy, data, extraInfo);
    }
    std::intptr_t extraInfoCalls = 0;
    Ints extraInfos;
};

class MouseTest : public ::testing::Test {
  protected:
    MouseTest() : sys(desk) {
        ComputePointerArea(sys, 1024, 768);  // steps 6 and 12
        desk.SetCursor({500, 400});
    }
    // Field a (x) or b (y) of every cursor move.
    Ints Moves(bool y = false) const {
        Ints out;
        for (const SimEvent& e : desk.Events(Kind::SetCursorPos)) {
            out.push_back(y ? e.b : e.a);
        }
        return out;
    }
    Ints MouseFlags() const {
        Ints out;
        for (const SimEvent& e : desk.Events(Kind::MouseEvent)) {
            out.push_back(e.a);
        }
        return out;
    }

    ExtraInfoDesk desk;
    System sys;
};

TEST_F(MouseTest, PointerAreaFromMetricsAndDisplayChange) {
    EXPECT_EQ(sys.pointer.right, 1023);
    EXPECT_EQ(sys.pointer.bottom, 767);
    EXPECT_EQ(sys.pointer.smallStep, 6);
    EXPECT_EQ(sys.pointer.largeStep, 12);

    // Only the metrics get the odd-height correction.
    desk.SetSystemMetric(win::kSmCxFullScreen, 1280);
    desk.SetSystemMetric(win::kSmCyFullScreen, 705);
    ComputePointerAreaFromMetrics(sys);
    EXPECT_EQ(sys.pointer.bottom, 723);
    EXPECT_EQ(sys.pointer.right, 1279);
    desk.SetSystemMetric(win::kSmCyFullScreen, 706);
    ComputePointerAreaFromMetrics(sys);
    EXPECT_EQ(sys.pointer.bottom, 705);
    ComputePointerArea(sys, 1366, 705);
    EXPECT_EQ(sys.pointer.bottom, 704);
    EXPECT_EQ(sys.pointer.left, 0);
    EXPECT_EQ(sys.pointer.top, 0);
}

TEST_F(MouseTest, DirectionsMoveStrictlyInsideAndAreNeverClamped) {
    for (std::uint32_t key : {1u, 2u, 3u, 4u, 6u, 7u, 8u, 9u}) {
        desk.SetCursor({500, 400});
        sys.pointer.runCounter = 0;
        EmulateMouse(sys, Press{key});
    }
    EXPECT_EQ(Moves(), (Ints{499, 500, 501, 499, 501, 499, 500, 501}));
    EXPECT_EQ(Moves(true), (Ints{399, 399, 399, 400, 400, 401, 401, 401}));

    // Onto an edge or beyond, even on one axis only: no move, the run restarts.
    const struct {
        Point from;
        std::uint32_t key;
    } refused[] = {{{1, 400}, 4}, {{500, 1}, 2}, {{1022, 400}, 6}, {{500, 766}, 8}, {{1, 400}, 7}};
    desk.ClearLog();
    for (const auto& r : refused) {
        desk.SetCursor(r.from);
        sys.pointer.runCounter = 3;
        EmulateMouse(sys, Press{r.key});
        EXPECT_EQ(sys.pointer.runCounter, 0) << r.key;
    }
    EXPECT_TRUE(Moves().empty());
}

TEST_F(MouseTest, APointerOutsideTheAreaIsBroughtOntoItsEdge) {
    ComputePointerArea(sys, 1024, 728);  // the taskbar below: bottom 727
    desk.SetCursor({500, 750});
    EmulateMouse(sys, Press{2});  // up: 749, clamped onto the area
    EmulateMouse(sys, Press{2});  // the edge is not inside yet: one more clamped move
    desk.SetCursor({0, 0});
    EmulateMouse(sys, Press{6});  // the corner is not inside either
    EXPECT_EQ(Moves(), (Ints{500, 500, 1}));
    EXPECT_EQ(Moves(true), (Ints{727, 726, 0}));
    EXPECT_EQ(sys.pointer.runCounter, 3);
}

TEST_F(MouseTest, RepeatsOfAnythingButADirectionDoNothing) {
    for (std::uint32_t held : {0u, 5u, 10u, 12u, 255u}) {
        EmulateMouse(sys, Press{held, true});
    }
    EmulateMouse(sys, Press{255, false});  // an unknown scan code, not a repeat
    for (std::uint32_t key : {11u, 37u, 254u}) {
        EmulateMouse(sys, Press{key});
    }
    EXPECT_TRUE(desk.Log().empty());
}

TEST_F(MouseTest, ClicksAndTheHoldToggle) {
    desk.SetSystemMetric(win::kSmSwapButton, 1);
    EmulateMouse(sys, Press{0});  // clicks keep their physical buttons
    EmulateMouse(sys, Press{10});
    EXPECT_EQ(MouseFlags(), (Ints{2, 4, 8, 16}));
    for (const SimEvent& e : desk.Events(Kind::MouseEvent)) {
        EXPECT_EQ(e.b, 500);
        EXPECT_EQ(e.c, 400);
        EXPECT_EQ(e.d, 0);
    }
    // Each event carries the extra information read right before it.
    EXPECT_EQ(desk.extraInfos, (Ints{0x100, 0x200, 0x300, 0x400}));

    // The hold presses and releases the primary button, dragging in between.
    desk.ClearLog();
    desk.SetSystemMetric(win::kSmSwapButton, 0);
    EmulateMouse(sys, Press{5});
    EXPECT_TRUE(sys.buttonHeld);
    EmulateMouse(sys, Press{6});
    EmulateMouse(sys, Press{5});
    EXPECT_FALSE(sys.buttonHeld);
    desk.SetSystemMetric(win::kSmSwapButton, 1);
    EmulateMouse(sys, Press{5});
    EmulateMouse(sys, Press{5});
    EXPECT_EQ(MouseFlags(), (Ints{2, 4, 8, 16}));
    EXPECT_EQ(desk.Events(Kind::MouseEvent)[1].b, 501);
}

// --- Driven by the remote, through the poll and the router --------------------------

class RemoteMouseTest : public ReceiverTest {
  protected:
    RemoteMouseTest() {
        InstallAf9100(desk);
        PlugIt9135();
        Start();
        desk.SetNow(100000);
        ComputePointerArea(sys, 1024, 768);
    }
    // One frame of a button, read by the next tick (65 ms: a repeat when the
    // same button came last).
    void Frame(std::uint32_t keyCode) {
        desk.af9100Words.push_back({keyCode << 8});
        desk.Advance(65);
    }
};

TEST_F(RemoteMouseTest, HeldDirectionAcceleratesUntilTheEdge) {
    desk.SetCursor({990, 300});
    for (int frame = 0; frame < 14; ++frame) {
        Frame(6);
    }
    // 1, 1, 1, 1, then steps of 6 up to 1018; the step to 1024 would cross
    // the right edge (1023) and is dropped; single pixels again reach 1022.
    Ints xs;
    for (const SimEvent& e : desk.Events(Kind::SetCursorPos)) {
        xs.push_back(e.a);
    }
    EXPECT_EQ(xs, (Ints{991, 992, 993, 994, 1000, 1006, 1012, 1018, 1019, 1020, 1021, 1022}));

    // Held long enough for the large step; a new press starts over.
    desk.SetCursor({100, 300});
    desk.Advance(300);
    for (int frame = 0; frame < 11; ++frame) {
        Frame(8);
    }
    EXPECT_EQ(desk.Cursor().y, 300 + 4 + 5 * 6 + 2 * 12);
    desk.Advance(300);
    Frame(8);
    EXPECT_EQ(desk.Cursor().y, 300 + 4 + 5 * 6 + 2 * 12 + 1);

    // A held click button clicks once.
    desk.ClearLog();
    Frame(0);
    Frame(0);
    Frame(0);
    EXPECT_EQ(desk.Events(Kind::MouseEvent).size(), 2u);
}

}  // namespace
}  // namespace rc::test
