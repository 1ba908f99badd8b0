#include "core/debug_trace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/system.h"
#include "support/sim_desktop.h"
#include "support/test_support.h"

namespace rc {
namespace {

const std::string P = test::kTracePrefix;
const std::size_t kRoom = 511 - P.size();  // the line holds 511 characters and a terminator

class DebugTraceTest : public ::testing::Test {
  protected:
    DebugTraceTest() { sys.traceOn = true; }
    SimDesktop desk;
    System sys{desk};
};

TEST_F(DebugTraceTest, PrefixTextAndValue) {
    DebugTrace(sys, "WM_CREATE");
    DebugTrace(sys, "");
    DebugTrace(sys, " ");  // the poll's tick line: three blanks in all
    DebugTrace(sys, nullptr);
    DebugTrace(sys, "ACK=> Code = ", 12);
    DebugTrace(sys, "v", 0);
    DebugTrace(sys, "v", 255);
    DebugTrace(sys, "v", 0xABCDEF);
    DebugTrace(sys, "v", static_cast<std::uint32_t>(-1));
    EXPECT_EQ(desk.Traces(), (std::vector<std::string>{
                                 P + "WM_CREATE", P, P + " ", P, P + "ACK=> Code =  (C)",
                                 P + "v (0)", P + "v (FF)", P + "v (ABCDEF)", P + "v (FFFFFFFF)"}));
}

TEST_F(DebugTraceTest, SwitchOffWritesNothingAndIsReadAtEveryCall) {
    sys.traceOn = false;
    DebugTrace(sys, "WM_CREATE");
    DebugTrace(sys, "ACK=> Code = ", 12);
    EXPECT_TRUE(desk.Events(SimEvent::Kind::Trace).empty());
    sys.traceOn = true;
    DebugTrace(sys, "on");
    EXPECT_EQ(desk.Traces(), std::vector<std::string>{P + "on"});
}

TEST_F(DebugTraceTest, TooLongTextIsCutToTheLine) {
    DebugTrace(sys, std::string(kRoom, 'a').c_str());
    DebugTrace(sys, std::string(kRoom + 1, 'b').c_str());
    DebugTrace(sys, std::string(5000, 'c').c_str());
    DebugTrace(sys, std::string(kRoom - 3, 'x').c_str(), 0x1234);  // the value is cut too
    DebugTrace(sys, std::string(600, 'y').c_str(), 1);
    EXPECT_EQ(
        desk.Traces(),
        (std::vector<std::string>{
            P + std::string(kRoom, 'a'), P + std::string(kRoom, 'b'), P + std::string(kRoom, 'c'),
            P + std::string(kRoom - 3, 'x') + " (1", P + std::string(kRoom, 'y')}));
}

}  // namespace
}  // namespace rc
