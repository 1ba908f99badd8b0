#include <string>
#include <vector>

#include "receiver/receiver_fixture.h"

namespace rc::test {
namespace {

SimDesktop::HidDevice Device(const std::string& path, std::uint16_t usagePage,
                             std::uint16_t usage) {
    SimDesktop::HidDevice d;
    d.path = path;
    d.usagePage = usagePage;
    d.usage = usage;
    return d;
}

class HidChannelTest : public ReceiverTest {
  protected:
    // The message boxes shown, as "caption|text|owner|type".
    std::vector<std::string> Boxes() const {
        std::vector<std::string> out;
        for (const SimEvent& e : desk.Events(SimEvent::Kind::MessageBox)) {
            out.push_back(e.text2 + "|" + e.text + "|" + std::to_string(e.hwnd) + "|" +
                          std::to_string(e.a));
        }
        return out;
    }
};

TEST_F(HidChannelTest, OnlyTheReceiversCollectionIsKeptOpen) {
    desk.AddHidDevice(Device("kbd", 0x01, 0x06));
    desk.AddHidDevice(Device("other-usage", 0xFFAA, 0x78));
    SimDesktop::HidDevice held = ConexantReceiver();
    held.openFails = true;  // another process holds it: skipped silently
    desk.AddHidDevice(held);
    SimDesktop::HidDevice noDetail = Device("no-detail", 0xFFAA, 0x77);
    noDetail.detailFails = true;
    desk.AddHidDevice(noDetail);
    EXPECT_EQ(OpenDeviceInterface(sys), 0u);
    EXPECT_EQ(desk.OpenHidSets(), 0);
    EXPECT_EQ(desk.OpenHidHandles(), 0);

    desk.AddHidDevice(Device("receiver", 0xFFAA, 0x77));
    Handle h = OpenDeviceInterface(sys);
    EXPECT_NE(h, 0u);
    EXPECT_EQ(sys.hid.hidHandle, h);
    EXPECT_EQ(desk.OpenHidSets(), 1) << "the device information set is held with it";
    EXPECT_EQ(desk.OpenHidHandles(), 1);
    EXPECT_TRUE(Boxes().empty());

    OpenDeviceInterface(sys);  // a new open lets go of the stale channel first
    EXPECT_EQ(desk.OpenHidSets(), 1);
    EXPECT_EQ(desk.OpenHidHandles(), 1);
}

TEST_F(HidChannelTest, FailuresShowTheirMessageAsTheTitle) {
    SimDesktop::HidDevice noPreparsed = Device("a", 0x01, 0x06);
    noPreparsed.preparsedFails = true;
    desk.AddHidDevice(noPreparsed);
    SimDesktop::HidDevice noCaps = Device("b", 0x01, 0x06);
    noCaps.capsFails = true;
    desk.AddHidDevice(noCaps);
    desk.AddHidDevice(ConexantReceiver());
    EXPECT_NE(OpenDeviceInterface(sys), 0u) << "the search goes on after a failed device";

    desk.failGetClassDevs = true;
    EXPECT_EQ(OpenDeviceInterface(sys), 0u);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Error: HidD_GetPreparsedData failede||0|0",
                                                 "Error: HidP_GetCaps failed||0|0",
                                                 "OpenDeviceInterface: malloc failed\n||0|0"}));
}

TEST_F(HidChannelTest, FeatureReadAsksForReportFiveAndKeepsTheCodeOnFailure) {
    int id = desk.AddHidDevice(ConexantReceiver());
    desk.Hid(id).featureCodes = {0x10};
    desk.Hid(id).idleReads = false;
    Handle h = OpenDeviceInterface(sys);

    std::uint8_t code = 0xFE;
    EXPECT_EQ(GetFeatureCode(sys, h, &code), 1);
    EXPECT_EQ(code, 0x10);
    EXPECT_EQ(desk.LastFeatureReport(), (std::vector<std::uint8_t>{5, 0, 0}));
    EXPECT_EQ(GetFeatureCode(sys, h, &code), 0);
    EXPECT_EQ(code, 0x10);
}

TEST_F(HidChannelTest, TheTwoCloseStepsAreIndependentAndRepeatable) {
    desk.AddHidDevice(ConexantReceiver());
    OpenDeviceInterface(sys);
    DestroyHidDeviceInfoSet(sys);
    DestroyHidDeviceInfoSet(sys);
    EXPECT_EQ(desk.OpenHidSets(), 0);
    EXPECT_EQ(desk.OpenHidHandles(), 1);
    CloseHidHandle(sys);
    CloseHidHandle(sys);
    EXPECT_EQ(desk.OpenHidHandles(), 0);
}

}  // namespace
}  // namespace rc::test
