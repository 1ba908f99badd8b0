#include <string>
#include <vector>

#include "platform/win_defs.h"
#include "receiver/receiver_fixture.h"

namespace rc::test {
namespace {

SimDesktop::HidDevice Keyboard() {
    SimDesktop::HidDevice d;
    d.path = "\\\\?\\hid#vid_046d&pid_c31c#keyboard";
    d.usagePage = 0x01;
    d.usage = 0x06;
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

TEST_F(HidChannelTest, OpensTheReceiversCollectionAndClosesTheOthers) {
    desk.AddHidDevice(Keyboard());
    desk.AddHidDevice(ConexantReceiver());

    Handle h = OpenDeviceInterface(sys);
    EXPECT_NE(h, 0u);
    EXPECT_NE(h, kInvalidHandle);
    EXPECT_EQ(sys.hid.hidHandle, h);
    EXPECT_EQ(desk.OpenHidHandles(), 1) << "the keyboard was opened and closed again";
    EXPECT_EQ(desk.OpenHidSets(), 1) << "the device information set is held with the handle";
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(HidChannelTest, WithoutTheReceiverNothingStaysOpen) {
    desk.AddHidDevice(Keyboard());
    SimDesktop::HidDevice otherUsage = ConexantReceiver();
    otherUsage.usage = 0x78;
    desk.AddHidDevice(otherUsage);
    SimDesktop::HidDevice otherPage = ConexantReceiver();
    otherPage.usagePage = 0xFFAB;
    desk.AddHidDevice(otherPage);

    EXPECT_EQ(OpenDeviceInterface(sys), 0u);
    EXPECT_EQ(sys.hid.hidHandle, 0u);
    EXPECT_EQ(desk.OpenHidSets(), 0);
    EXPECT_EQ(desk.OpenHidHandles(), 0);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(HidChannelTest, DevicesThatCannotBeOpenedOrDescribedAreSkippedSilently) {
    SimDesktop::HidDevice held = ConexantReceiver();
    held.openFails = true;  // another process holds it
    desk.AddHidDevice(held);
    SimDesktop::HidDevice noDetail = ConexantReceiver();
    noDetail.path += "2";
    noDetail.detailFails = true;
    desk.AddHidDevice(noDetail);

    EXPECT_EQ(OpenDeviceInterface(sys), 0u);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(desk.OpenHidSets(), 0);
}

TEST_F(HidChannelTest, CapabilityFailuresShowTheirBoxAndTheSearchGoesOn) {
    SimDesktop::HidDevice noPreparsed = Keyboard();
    noPreparsed.preparsedFails = true;
    desk.AddHidDevice(noPreparsed);
    SimDesktop::HidDevice noCaps = Keyboard();
    noCaps.path += "2";
    noCaps.capsFails = true;
    desk.AddHidDevice(noCaps);
    desk.AddHidDevice(ConexantReceiver());

    EXPECT_NE(OpenDeviceInterface(sys), 0u);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Error: HidD_GetPreparsedData failede||0|0",
                                                 "Error: HidP_GetCaps failed||0|0"}));
    EXPECT_EQ(desk.OpenHidHandles(), 1);
}

TEST_F(HidChannelTest, AFailedDeviceListShowsItsBox) {
    desk.AddHidDevice(ConexantReceiver());
    desk.failGetClassDevs = true;
    EXPECT_EQ(OpenDeviceInterface(sys), 0u);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"OpenDeviceInterface: malloc failed\n||0|0"});
}

TEST_F(HidChannelTest, AnOpenLetsGoOfTheChannelItStillHolds) {
    desk.AddHidDevice(ConexantReceiver());
    Handle first = OpenDeviceInterface(sys);
    Handle second = OpenDeviceInterface(sys);
    EXPECT_NE(second, 0u);
    EXPECT_NE(second, first);
    EXPECT_EQ(desk.OpenHidHandles(), 1);
    EXPECT_EQ(desk.OpenHidSets(), 1);
}

TEST_F(HidChannelTest, FeatureReadAsksForReportFiveAndKeepsTheCodeOnFailure) {
    int id = desk.AddHidDevice(ConexantReceiver());
    desk.Hid(id).featureCodes = {0x10};
    desk.Hid(id).idleReads = false;
    Handle h = OpenDeviceInterface(sys);

    std::uint8_t code = 0xFE;
    EXPECT_EQ(GetFeatureCode(sys, h, &code), 1);
    EXPECT_EQ(code, 0x10);
    ASSERT_EQ(desk.LastFeatureReport().size(), 3u);
    EXPECT_EQ(desk.LastFeatureReport()[0], 5);

    code = 0x42;
    EXPECT_EQ(GetFeatureCode(sys, h, &code), 0);
    EXPECT_EQ(code, 0x42);
}

TEST_F(HidChannelTest, TheTwoCloseStepsAreIndependentAndRepeatable) {
    desk.AddHidDevice(ConexantReceiver());
    OpenDeviceInterface(sys);

    DestroyHidDeviceInfoSet(sys);
    EXPECT_EQ(desk.OpenHidSets(), 0);
    EXPECT_EQ(desk.OpenHidHandles(), 1);
    DestroyHidDeviceInfoSet(sys);

    CloseHidHandle(sys);
    CloseHidHandle(sys);
    EXPECT_EQ(desk.OpenHidHandles(), 0);
    EXPECT_EQ(sys.hid.hidHandle, 0u);
    EXPECT_EQ(sys.hid.deviceInfoSet, kInvalidHandle);
}

}  // namespace
}  // namespace rc::test
