#include <string>
#include <vector>

#include "keys/poll.h"
#include "keys/shutdown.h"
#include "receiver/receiver_fixture.h"

namespace rc::test {
namespace {

using Lines_ = std::vector<std::string>;

class RepeatFilterTest : public ReceiverTest {
  protected:
    std::uint32_t At(std::uint32_t time, std::uint32_t keyCode) {
        desk.SetNow(time);
        return MapCode(FilterRepeat(sys, keyCode));
    }
};

TEST_F(RepeatFilterTest, TheSameKeyWithin150MsIsARepeat) {
    EXPECT_EQ(At(10000, 5), 5u);
    EXPECT_EQ(At(10149, 5), 255u);
    EXPECT_TRUE(sys.repeat.bRepeatKey);
    EXPECT_EQ(At(10299, 5), 5u) << "150 ms after the repeat, which moved the last time on";
    EXPECT_FALSE(sys.repeat.bRepeatKey);
    EXPECT_EQ(sys.repeat.nRepeatNum, 0u);
}

TEST_F(RepeatFilterTest, KeyCode10HasA380MsWindow) {
    EXPECT_EQ(At(10000, 10), 10u);
    EXPECT_EQ(At(10379, 10), 255u);
    EXPECT_EQ(At(10759, 10), 10u);
    EXPECT_EQ(At(10959, 11), 11u);
    EXPECT_EQ(At(11159, 11), 11u) << "other keys keep the 150 ms window";
}

TEST_F(RepeatFilterTest, ANewKeyStartsANewRunAndOnlyRepeatsKeepTheMouseRun) {
    sys.pointer.runCounter = 7;
    At(10000, 3);
    EXPECT_EQ(sys.pointer.runCounter, 0) << "a new key";

    sys.pointer.runCounter = 7;
    At(10100, 3);
    EXPECT_EQ(sys.pointer.runCounter, 7) << "a repeat keeps the held direction's run";
    EXPECT_TRUE(sys.repeat.bRepeatKey);
    EXPECT_EQ(sys.repeat.lastKeyCode, 3u);

    At(10300, 3);
    EXPECT_EQ(sys.pointer.runCounter, 0) << "the same key pressed again";
    EXPECT_FALSE(sys.repeat.bRepeatKey);

    At(10350, 3);
    sys.pointer.runCounter = 7;
    EXPECT_EQ(At(10360, 255), 255u) << "a different key (255 included) passes at once";
    EXPECT_EQ(sys.repeat.nRepeatNum, 0u);
    EXPECT_EQ(sys.pointer.runCounter, 0);
    EXPECT_EQ(At(10370, 255), 255u);
    EXPECT_EQ(sys.repeat.nRepeatNum, 1u) << "and is filtered like any other";
}

TEST_F(RepeatFilterTest, AHeldButtonGivesOneCommand) {
    int passed = 0;
    int firstLongRunTrace = -1;
    std::uint32_t now = 10000;
    for (int frame = 0; frame < 40; ++frame) {
        now += frame % 2 ? 65 : 130;
        desk.ClearLog();
        if (At(now, 7) != 255) {
            ++passed;
        }
        if (firstLongRunTrace < 0 && Traced("nRepeatNum>10")) {
            firstLongRunTrace = frame;
        }
    }
    EXPECT_EQ(passed, 1);
    EXPECT_EQ(sys.repeat.nRepeatNum, 39u);
    EXPECT_EQ(firstLongRunTrace, 11) << "from the eleventh repeat on";
}

TEST_F(RepeatFilterTest, ARepeatIsTracedAndNulled) {
    At(10000, 5);
    desk.ClearLog();
    EXPECT_EQ(At(10100, 5), 255u);
    EXPECT_EQ(Lines(),
              (Lines_{"bRepeatKey", "If it's  nRepeatNum key  Number =  (1)",
                      "If it's  bRepeatPowerKey key  Number =  (0)",
                      "If it's a repeat key  than Code =  (5)", "dwGPIO => 0xff,key is Null "}));

    desk.ClearLog();
    EXPECT_EQ(At(20000, 6), 6u);
    EXPECT_TRUE(Lines().empty()) << "a new key writes nothing";
}

TEST_F(RepeatFilterTest, ThePowerKeyWindowIs999Ms) {
    At(10000, 12);
    desk.ClearLog();
    EXPECT_EQ(At(10999, 12), 12u);
    EXPECT_EQ(Lines(), Lines_{"If it's  bRepeatPowerKey key  Number =  (0)"});
    EXPECT_TRUE(sys.repeat.bRepeatPowerKey);

    desk.ClearLog();
    At(11998, 12);
    EXPECT_EQ(Lines(), Lines_{"If it's  bRepeatPowerKey key  Number =  (1)"});

    At(12100, 13);
    EXPECT_TRUE(sys.repeat.bRepeatPowerKey) << "a different key leaves it";

    desk.ClearLog();
    At(13100, 13);
    EXPECT_TRUE(Lines().empty());
    EXPECT_FALSE(sys.repeat.bRepeatPowerKey);
}

TEST_F(RepeatFilterTest, ARepeatCarriesHowLongItsButtonHasBeenHeld) {
    auto heldFor = [&](std::uint32_t time, std::uint32_t keyCode) {
        desk.SetNow(time);
        Press press = FilterRepeat(sys, keyCode);
        return press.repeat ? static_cast<int>(press.heldFor) : -1;
    };
    EXPECT_EQ(heldFor(0xFFFFFF00u, 5), -1) << "the press";
    EXPECT_EQ(heldFor(0xFFFFFF6Cu, 5), 108);
    EXPECT_EQ(heldFor(0xFFFFFFD8u, 5), 216);
    EXPECT_EQ(heldFor(0x00000044u, 5), 324) << "across the clock's wrap";
    EXPECT_EQ(heldFor(0x00000200u, 5), -1) << "let go for more than 150 ms: a new press";
    EXPECT_EQ(heldFor(0x00000265u, 5), 101) << "timed from the new press";
    EXPECT_EQ(heldFor(0x00000270u, 6), -1) << "another button";
    EXPECT_EQ(heldFor(0x00000280u, 6), 16);
}

TEST_F(RepeatFilterTest, TheClockWrapDoesNotDisturbTheFilter) {
    EXPECT_EQ(At(0xFFFFFFF0u, 5), 5u);
    EXPECT_EQ(At(0x00000050u, 5), 255u) << "96 ms across the wrap";
    EXPECT_EQ(At(0x00000050u + 150, 5), 5u);
    EXPECT_EQ(At(0xFFFFFF00u, 5), 5u) << "a clock far behind is a long pause";
}

// --- The tick ---------------------------------------------------------------------

class PollTickTest : public ReceiverTest {
  protected:
    Hwnd dialog = 0;

    void StartAf9015() {
        InstallAf15(desk);
        PlugAf9015();
        Start();
        desk.SetNow(100000);
        desk.ClearLog();
    }
    // The calls made on the shutdown confirmation, as text.
    std::vector<std::string> DialogCalls() const {
        std::vector<std::string> out;
        for (const SimEvent& e : desk.Log()) {
            if (e.hwnd != dialog) {
                continue;
            }
            switch (e.kind) {
                case SimEvent::Kind::SetForeground:
                    out.push_back("foreground");
                    break;
                case SimEvent::Kind::SetActive:
                    out.push_back("active");
                    break;
                case SimEvent::Kind::SendMessage:
                    out.push_back("send " + std::to_string(e.a) + " " + std::to_string(e.b) + " " +
                                  std::to_string(e.c));
                    break;
                default:
                    break;
            }
        }
        return out;
    }
    void OpenShutdownDialog(std::uint32_t layout) {
        dialog = desk.AddWindow("#32770", "Shut Down");
        sys.bIsShutDownDlg = 1;
        sys.shutdownDialog = dialog;
        sys.nIRKEYType = layout;
    }
};

const std::vector<std::string> kEnter{"foreground", "active", "send 256 13 0"};
const std::vector<std::string> kEscape{"foreground", "active", "send 256 27 0"};

TEST_F(PollTickTest, ATickWithoutAKeyWritesOnlyTheReadersLines) {
    StartAf9015();
    desk.Advance(65);
    EXPECT_EQ(Lines(), (Lines_{" ", "Chip_Afa9015", "Find 9015 Device"}));
    EXPECT_EQ(desk.Traces()[0], "<Remote Control>   ");
}

TEST_F(PollTickTest, ATickWithAKeyAcknowledgesItBeforeFiltering) {
    StartAf9015();
    desk.af15Buffers = {{7, 0, 0x13}};
    desk.Entry("af15_GetIR").results = {1};
    desk.Advance(65);
    Lines_ lines = Lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(Lines_(lines.begin(), lines.begin() + 4),
              (Lines_{" ", "Chip_Afa9015", "Find 9015 Device", "ACK=> Code =  (43)"}));
    EXPECT_EQ(sys.repeat.lastKeyCode, 67u);
    EXPECT_EQ(sys.repeat.lastTime, 100065u);
}

// What shows presses hears of each press read, once, with what it did.
std::vector<std::string> heard;
void Hear(System&, const Press& press, const PressOutcome& outcome) {
    heard.push_back(std::to_string(press.keyCode) + (press.repeat ? " repeat " : " ") +
                    std::to_string(static_cast<int>(outcome.taker)));
}

TEST_F(PollTickTest, EveryPressReadIsPassedOnWithItsOutcome) {
    StartAf9015();
    heard.clear();
    sys.onPressDone = Hear;
    desk.Advance(65);  // nothing read
    desk.af15Buffers = {{7, 0, 0x13}, {7, 0, 0x13}};
    desk.Entry("af15_GetIR").results = {1, 1};
    desk.Advance(65);
    desk.Advance(65);  // the same button 65 ms later: a repeat
    // 67 is the 32-key remote's power key: the current application's launch.
    const std::string app = std::to_string(static_cast<int>(PressTaker::kBuiltInApp));
    const std::string pointer = std::to_string(static_cast<int>(PressTaker::kPointer));
    EXPECT_EQ(heard, (std::vector<std::string>{"67 " + app, "67 repeat " + pointer}));
}

// With ShowButtons on, the poll's presses reach the on-screen display: a
// held power key shows its press's line once, in one window, and the held
// frame, which does nothing, keeps that line.
TEST_F(PollTickTest, HeldButtonShowsItsPressOnScreenOnce) {
    StartAf9015();
    sys.showButtons = true;
    const Hwnd editor = desk.AddWindow("Notepad", "Editor");
    desk.SetForegroundWindow(editor);
    desk.af15Buffers = {{7, 0, 0x13}, {7, 0, 0x13}};
    desk.Entry("af15_GetIR").results = {1, 1};
    desk.Advance(65);
    const Hwnd panel = desk.FindWindowA("Remote Control OSD", nullptr);
    ASSERT_NE(panel, 0u);
    const std::string line = desk.WindowTitle(panel);
    EXPECT_EQ(line, "Power: Lumetra Center is not installed");
    desk.Advance(65);
    EXPECT_EQ(desk.WindowTitle(panel), line);
    EXPECT_EQ(desk.TextPanelsCreated(), 1);
    EXPECT_TRUE(desk.IsWindowVisible(panel));
    EXPECT_EQ(desk.Foreground(), editor);
}

TEST_F(PollTickTest, TheOpenConfirmationGetsEnterOrEscapeFromTheTick) {
    StartAf9015();
    OpenShutdownDialog(k32Key);
    desk.af15Buffers = {{7, 0, 0x13}, {7, 0, 0x13}};
    desk.Entry("af15_GetIR").results = {1, 1};

    desk.Advance(65);
    EXPECT_EQ(DialogCalls(), kEnter) << "67 confirms on the 32-key remote";
    EXPECT_TRUE(Traced("bIsShutDownDlg"));

    desk.ClearLog();
    desk.Advance(65);
    EXPECT_TRUE(DialogCalls().empty()) << "a held frame (a repeat) is no answer";
    EXPECT_TRUE(Traced("bIsShutDownDlg"));

    desk.af15Buffers = {{7, 0, 0x06}};
    desk.Entry("af15_GetIR").results = {1};
    desk.ClearLog();
    desk.Advance(65);
    EXPECT_EQ(DialogCalls(), kEscape) << "a button the table does not know (255) cancels";
}

TEST_F(PollTickTest, ConfirmKeysDependOnTheLayout) {
    struct Case {
        std::uint32_t layout;
        std::uint32_t keyCode;
        const std::vector<std::string>* expected;  // null: nothing done
    };
    const Case cases[] = {
        {k32Key, 67, &kEnter},   {k32Key, 12, nullptr}, {k32Key, 5, &kEscape},
        {k32Key, 255, &kEscape}, {k35Key, 12, &kEnter}, {k35Key, 22, &kEscape},
        {k35Key, 13, nullptr},   {k50Key, 13, &kEnter}, {k50Key, 50, &kEnter},
        {k50Key, 12, nullptr},   {k44Key, 12, &kEnter}, {k44Key, 67, nullptr},
        {k44Key, 0, &kEscape},   {7, 12, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("layout " + std::to_string(c.layout) + " key " + std::to_string(c.keyCode));
        desk.ClearLog();
        OpenShutdownDialog(c.layout);
        PressOutcome outcome = AnswerShutdownDialog(sys, Press{c.keyCode});
        EXPECT_EQ(DialogCalls(), c.expected ? *c.expected : std::vector<std::string>{});
        EXPECT_EQ(outcome.sent, c.expected == &kEnter    ? "Enter"
                                : c.expected == &kEscape ? "Esc"
                                                         : "");
        EXPECT_EQ(Lines(), Lines_{"bIsShutDownDlg"});
    }
}

}  // namespace
}  // namespace rc::test
