#include "shell/debug_trace.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/sim_desktop.h"
#include "shell/system.h"

namespace rc {
namespace {

const std::string kPrefix = "<Remote Control>  ";

class DebugTraceTest : public ::testing::Test {
  protected:
    DebugTraceTest() { sys.traceOn = true; }
    std::string OnlyLine() {
        auto lines = desk.Traces();
        EXPECT_EQ(lines.size(), 1u);
        return lines.empty() ? std::string() : lines.front();
    }
    SimDesktop desk;
    System sys{desk};
};

TEST_F(DebugTraceTest, TextFollowsThePrefixWithoutLineEnd) {
    DebugTrace(sys, "WM_CREATE");
    EXPECT_EQ(OnlyLine(), kPrefix + "WM_CREATE");
}

TEST_F(DebugTraceTest, EmptyAndBlankTexts) {
    DebugTrace(sys, "");
    DebugTrace(sys, " ");
    auto lines = desk.Traces();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "<Remote Control>  ");
    EXPECT_EQ(lines[1], "<Remote Control>   ");  // the poll's tick line: three blanks in all
}

TEST_F(DebugTraceTest, NullTextGivesThePrefixAlone) {
    DebugTrace(sys, nullptr);
    EXPECT_EQ(OnlyLine(), kPrefix);
}

TEST_F(DebugTraceTest, ValueIsUpperCaseHexInParentheses) {
    DebugTrace(sys, "ACK=> Code = ", 12);
    DebugTrace(sys, "v", 0);
    DebugTrace(sys, "v", 255);
    DebugTrace(sys, "v", 0xABCDEF);
    DebugTrace(sys, "v", static_cast<std::uint32_t>(-1));
    auto lines = desk.Traces();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], kPrefix + "ACK=> Code =  (C)");
    EXPECT_EQ(lines[1], kPrefix + "v (0)");
    EXPECT_EQ(lines[2], kPrefix + "v (FF)");
    EXPECT_EQ(lines[3], kPrefix + "v (ABCDEF)");
    EXPECT_EQ(lines[4], kPrefix + "v (FFFFFFFF)");
}

TEST_F(DebugTraceTest, SwitchOffWritesNothing) {
    sys.traceOn = false;
    DebugTrace(sys, "WM_CREATE");
    DebugTrace(sys, "ACK=> Code = ", 12);
    DebugTrace(sys, "");
    EXPECT_TRUE(desk.Traces().empty());
    EXPECT_TRUE(desk.Events(SimEvent::Kind::Trace).empty());
}

TEST_F(DebugTraceTest, SwitchIsReadAtEveryCall) {
    DebugTrace(sys, "one");
    sys.traceOn = false;
    DebugTrace(sys, "two");
    sys.traceOn = true;
    DebugTrace(sys, "three");
    auto lines = desk.Traces();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], kPrefix + "one");
    EXPECT_EQ(lines[1], kPrefix + "three");
}

// The line holds 511 characters and its terminator; longer texts are cut.
TEST_F(DebugTraceTest, TooLongTextIsCutToTheLine) {
    const std::size_t room = 511 - kPrefix.size();
    DebugTrace(sys, std::string(room, 'a').c_str());
    DebugTrace(sys, std::string(room + 1, 'b').c_str());
    DebugTrace(sys, std::string(5000, 'c').c_str());
    auto lines = desk.Traces();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], kPrefix + std::string(room, 'a'));
    EXPECT_EQ(lines[1], kPrefix + std::string(room, 'b'));
    EXPECT_EQ(lines[2], kPrefix + std::string(room, 'c'));
}

TEST_F(DebugTraceTest, ValueIsCutWhenTheTextFillsTheLine) {
    const std::size_t room = 511 - kPrefix.size();
    DebugTrace(sys, std::string(room - 3, 'x').c_str(), 0x1234);
    DebugTrace(sys, std::string(600, 'y').c_str(), 1);
    auto lines = desk.Traces();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], kPrefix + std::string(room - 3, 'x') + " (1");
    EXPECT_EQ(lines[1], kPrefix + std::string(room, 'y'));
}

}  // namespace
}  // namespace rc
