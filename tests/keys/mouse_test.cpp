#include "keys/mouse.h"

#include "keys/poll.h"
#include "receiver/receiver_fixture.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/sim_desktop.h"
#include "platform/win_defs.h"
#include "shell/system.h"

namespace rc {
namespace {

using Kind = SimEvent::Kind;

// Keeps the extra information that each mouse event carried; every
// GetMessageExtraInfo call gives a fresh value.
class ExtraInfoDesk : public SimDesktop {
  public:
    std::intptr_t GetMessageExtraInfo() override { return ++extraInfoCalls * 0x100; }
    void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                     std::uintptr_t extraInfo) override {
        extraInfos.push_back(extraInfo);
        SimDesktop::mouse_event(flags, dx, dy, data, extraInfo);
    }
    std::intptr_t extraInfoCalls = 0;
    std::vector<std::uintptr_t> extraInfos;
};

class MouseTest : public ::testing::Test {
  protected:
    MouseTest() : sys(desk) {
        ComputePointerArea(sys, 1024, 768);  // steps 6 and 12
        desk.SetCursor({500, 400});
        desk.ClearLog();
    }

    // The cursor moves made so far, as (x, y).
    std::vector<Point> Moves() const {
        std::vector<Point> moves;
        for (const SimEvent& e : desk.Events(Kind::SetCursorPos)) {
            moves.push_back({static_cast<std::int32_t>(e.a), static_cast<std::int32_t>(e.b)});
        }
        return moves;
    }

    // What the poll hands on while a button is held: the first frame as a
    // fresh press (which restarts the run), every later frame as 255.
    void PressFresh(std::uint32_t keyCode) {
        sys.repeat.lastKeyCode = keyCode;
        sys.repeat.bRepeatKey = false;
        sys.pointer.runCounter = 0;
        EmulateMouse(sys, keyCode);
    }
    void HoldFrame() {
        sys.repeat.bRepeatKey = true;
        EmulateMouse(sys, 255);
    }

    ExtraInfoDesk desk;
    System sys;
};

TEST_F(MouseTest, PointerAreaFollowsDisplayChange) {
    ComputePointerArea(sys, 1024, 768);
    EXPECT_EQ(sys.pointer.left, 0);
    EXPECT_EQ(sys.pointer.top, 0);
    EXPECT_EQ(sys.pointer.right, 1023);
    EXPECT_EQ(sys.pointer.bottom, 767);
    EXPECT_EQ(sys.pointer.smallStep, 6);
    EXPECT_EQ(sys.pointer.largeStep, 12);

    // A display change is taken as given, odd height included.
    ComputePointerArea(sys, 1366, 705);
    EXPECT_EQ(sys.pointer.right, 1365);
    EXPECT_EQ(sys.pointer.bottom, 704);
    EXPECT_EQ(sys.pointer.smallStep, 8);
    EXPECT_EQ(sys.pointer.largeStep, 17);
}

TEST_F(MouseTest, PointerAreaFromMetricsCorrectsAnOddHeight) {
    desk.SetSystemMetric(win::kSmCxFullScreen, 1280);
    desk.SetSystemMetric(win::kSmCyFullScreen, 705);
    ComputePointerAreaFromMetrics(sys);
    EXPECT_EQ(sys.pointer.right, 1279);
    EXPECT_EQ(sys.pointer.bottom, 723);
    EXPECT_EQ(sys.pointer.smallStep, 8);
    EXPECT_EQ(sys.pointer.largeStep, 16);

    desk.SetSystemMetric(win::kSmCyFullScreen, 706);
    ComputePointerAreaFromMetrics(sys);
    EXPECT_EQ(sys.pointer.bottom, 705);
}

TEST_F(MouseTest, EightDirectionsMoveByOnePixelAtTheStartOfARun) {
    const struct {
        std::uint32_t key;
        int dx, dy;
    } cases[] = {{1, -1, -1}, {2, 0, -1}, {3, 1, -1}, {4, -1, 0},
                 {6, 1, 0},   {7, -1, 1}, {8, 0, 1},  {9, 1, 1}};
    for (const auto& c : cases) {
        desk.SetCursor({500, 400});
        desk.ClearLog();
        PressFresh(c.key);
        ASSERT_EQ(Moves().size(), 1u) << "key " << c.key;
        EXPECT_EQ(Moves()[0].x, 500 + c.dx) << "key " << c.key;
        EXPECT_EQ(Moves()[0].y, 400 + c.dy) << "key " << c.key;
        EXPECT_EQ(sys.pointer.runCounter, 1);
        EXPECT_TRUE(desk.Events(Kind::MouseEvent).empty());
    }
}

TEST_F(MouseTest, MoveOntoOrBeyondTheEdgeIsDroppedAndRestartsTheRun) {
    const struct {
        Point from;
        std::uint32_t key;
    } refused[] = {
        {{1, 400}, 4},     // onto left (x = 0)
        {{500, 1}, 2},     // onto top
        {{1022, 400}, 6},  // onto right (1023)
        {{500, 766}, 8},   // onto bottom (767)
        {{1, 400}, 7},     // diagonal: only x would leave, still not moved at all
        {{1022, 1}, 3},
    };
    for (const auto& r : refused) {
        desk.SetCursor(r.from);
        desk.ClearLog();
        sys.pointer.runCounter = 3;
        EmulateMouse(sys, r.key);
        EXPECT_TRUE(Moves().empty()) << "key " << r.key;
        EXPECT_EQ(sys.pointer.runCounter, 0) << "key " << r.key;
        EXPECT_EQ(desk.Cursor().x, r.from.x);
        EXPECT_EQ(desk.Cursor().y, r.from.y);
    }

    // One pixel short of the edge is still inside.
    desk.SetCursor({2, 2});
    EmulateMouse(sys, 1);
    ASSERT_EQ(Moves().size(), 1u);
    EXPECT_EQ(Moves()[0].x, 1);
    EXPECT_EQ(Moves()[0].y, 1);
}

TEST_F(MouseTest, HeldDirectionAcceleratesAndStopsShortOfTheEdge) {
    desk.SetCursor({100, 400});
    PressFresh(6);
    for (int frame = 0; frame < 11; ++frame) {
        HoldFrame();
    }
    // Moves 1-4 by 1 pixel, 5-9 by the small step, 10-12 by the large step.
    std::vector<int> xs;
    for (const Point& p : Moves()) {
        xs.push_back(p.x);
        EXPECT_EQ(p.y, 400);
    }
    EXPECT_EQ(xs, (std::vector<int>{101, 102, 103, 104, 110, 116, 122, 128, 134, 146, 158, 170}));
    EXPECT_EQ(sys.pointer.runCounter, 12);

    // Held to the left edge: the big step that would cross it is dropped, the
    // run starts again with single pixels, and the pointer never reaches x = 0.
    desk.SetCursor({30, 400});
    desk.ClearLog();
    PressFresh(4);
    for (int frame = 0; frame < 40; ++frame) {
        HoldFrame();
    }
    std::vector<Point> moves = Moves();
    ASSERT_FALSE(moves.empty());
    for (const Point& p : moves) {
        EXPECT_GT(p.x, 0);
    }
    EXPECT_EQ(moves[0].x, 29);
    EXPECT_EQ(moves[4].x, 20);  // the first small step
    EXPECT_EQ(desk.Cursor().x, 1);
    EXPECT_LT(moves.size(), 41u);  // some frames were refused
}

TEST_F(MouseTest, HeldButtonThroughTheRepeatFilter) {
    // Frames of a held button every 65 to 130 ms: the filter makes repeats of
    // them (255) and the run goes on; a pause and a new press start over.
    desk.SetCursor({100, 400});
    std::uint32_t now = 50000;
    auto frame = [&](std::uint32_t keyCode, std::uint32_t gap) {
        now += gap;
        desk.SetNow(now);
        EmulateMouse(sys, FilterRepeat(sys, keyCode));
    };
    frame(6, 0);
    for (int i = 0; i < 10; ++i) {
        frame(6, i % 2 ? 65 : 130);
    }
    EXPECT_EQ(desk.Cursor().x, 100 + 4 + 5 * 6 + 2 * 12);
    frame(6, 400);  // released and pressed again
    EXPECT_EQ(desk.Cursor().x, 100 + 4 + 5 * 6 + 2 * 12 + 1);
    frame(2, 65);  // another direction at once: a new run
    EXPECT_EQ(desk.Cursor().y, 399);
    EXPECT_EQ(sys.pointer.runCounter, 1);

    // A held click button clicks once.
    desk.ClearLog();
    frame(0, 300);
    frame(0, 65);
    frame(0, 65);
    EXPECT_EQ(desk.Events(Kind::MouseEvent).size(), 2u);
}

TEST_F(MouseTest, NewPressRestartsTheRunAtOnePixel) {
    desk.SetCursor({500, 400});
    PressFresh(8);
    for (int frame = 0; frame < 9; ++frame) {
        HoldFrame();
    }
    EXPECT_EQ(desk.Cursor().y, 400 + 4 + 5 * 6 + 12);
    desk.ClearLog();
    PressFresh(8);
    ASSERT_EQ(Moves().size(), 1u);
    EXPECT_EQ(Moves()[0].y, 400 + 4 + 5 * 6 + 12 + 1);
    EXPECT_EQ(sys.pointer.runCounter, 1);
}

TEST_F(MouseTest, RepeatsOfAnythingButADirectionDoNothing) {
    for (std::uint32_t held : {0u, 5u, 10u, 11u, 12u, 29u, 255u}) {
        sys.repeat.lastKeyCode = held;
        sys.repeat.bRepeatKey = true;
        EmulateMouse(sys, 255);
    }
    // 255 that is not a repeat (a scan code missing from the table).
    sys.repeat.lastKeyCode = 6;
    sys.repeat.bRepeatKey = false;
    EmulateMouse(sys, 255);
    for (std::uint32_t key : {11u, 12u, 37u, 64u, 254u}) {
        EmulateMouse(sys, key);
    }
    EXPECT_TRUE(desk.Log().empty());
    EXPECT_EQ(sys.buttonHeld, 0);
}

TEST_F(MouseTest, ClicksUseThePhysicalButtonsAtTheCursor) {
    desk.SetSystemMetric(win::kSmSwapButton, 1);
    EmulateMouse(sys, 0);
    EmulateMouse(sys, 10);
    std::vector<SimEvent> events = desk.Events(Kind::MouseEvent);
    ASSERT_EQ(events.size(), 4u);
    const std::int64_t flags[] = {win::kMouseEventLeftDown, win::kMouseEventLeftUp,
                                  win::kMouseEventRightDown, win::kMouseEventRightUp};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(events[i].a, flags[i]);
        EXPECT_EQ(events[i].b, 500);
        EXPECT_EQ(events[i].c, 400);
        EXPECT_EQ(events[i].d, 0);  // no wheel data
    }
    // Each event carries the extra information read right before it.
    EXPECT_EQ(desk.extraInfos, (std::vector<std::uintptr_t>{0x100, 0x200, 0x300, 0x400}));
    EXPECT_TRUE(Moves().empty());
}

TEST_F(MouseTest, HoldTogglePressesAndReleasesThePrimaryButton) {
    EmulateMouse(sys, 5);
    EXPECT_EQ(sys.buttonHeld, 1);
    PressFresh(6);  // dragging with the button down
    EmulateMouse(sys, 5);
    EXPECT_EQ(sys.buttonHeld, 0);

    desk.SetSystemMetric(win::kSmSwapButton, 1);
    EmulateMouse(sys, 5);
    EmulateMouse(sys, 5);

    std::vector<std::int64_t> flags;
    std::vector<std::int64_t> xs;
    for (const SimEvent& e : desk.Events(Kind::MouseEvent)) {
        flags.push_back(e.a);
        xs.push_back(e.b);
    }
    EXPECT_EQ(flags,
              (std::vector<std::int64_t>{win::kMouseEventLeftDown, win::kMouseEventLeftUp,
                                         win::kMouseEventRightDown, win::kMouseEventRightUp}));
    EXPECT_EQ(xs, (std::vector<std::int64_t>{500, 501, 501, 501}));
}

}  // namespace
}  // namespace rc

// --- Driven by the remote, through the poll and the router -------------------------

namespace rc::test {
namespace {

class RemoteMouseTest : public ReceiverTest {
  protected:
    RemoteMouseTest() {
        InstallAf9100(desk);
        PlugIt9135();
        Start();
        desk.SetNow(100000);
        ComputePointerArea(sys, 1024, 768);
    }
    // One frame of the button, read by the next tick.
    void Frame(std::uint32_t keyCode) {
        desk.af9100Words.push_back({keyCode << 8});
        desk.Advance(65);
    }
};

TEST_F(RemoteMouseTest, HeldDirectionButtonAcceleratesUntilTheEdge) {
    desk.SetCursor({990, 300});
    for (int frame = 0; frame < 14; ++frame) {
        Frame(6);
    }
    // 1, 1, 1, 1, then steps of 6 up to 1018; the step to 1024 would cross
    // the right edge (1023) and is dropped; single pixels again reach 1022.
    std::vector<std::int64_t> xs;
    for (const SimEvent& e : desk.Events(SimEvent::Kind::SetCursorPos)) {
        xs.push_back(e.a);
    }
    EXPECT_EQ(xs, (std::vector<std::int64_t>{991, 992, 993, 994, 1000, 1006, 1012, 1018, 1019, 1020,
                                             1021, 1022}));
    EXPECT_EQ(desk.Cursor().x, 1022);

    // Let go and press another direction: a fresh run.
    desk.Advance(300);
    Frame(2);
    EXPECT_EQ(desk.Cursor().y, 299);
    EXPECT_EQ(sys.pointer.runCounter, 1);
}

TEST_F(RemoteMouseTest, AnOpenApplicationTakesTheHeldButtonInstead) {
    desk.AddWindow("OrvalixMainPanel_Class", "Mirvo");
    desk.SetCursor({500, 300});
    for (int frame = 0; frame < 5; ++frame) {
        Frame(6);
    }
    EXPECT_TRUE(desk.Events(SimEvent::Kind::SetCursorPos).empty());
    EXPECT_EQ(sys.lumetraPanel.bLaunched, 1);
}

}  // namespace
}  // namespace rc::test
