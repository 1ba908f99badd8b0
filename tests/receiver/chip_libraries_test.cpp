#include <string>
#include <vector>

#include "receiver/chip_family.h"
#include "receiver/receiver_fixture.h"

namespace rc::test {
namespace {

// Records the names asked of GetProcAddress.
class FetchRecordingDesktop : public SimDesktop {
  public:
    std::vector<std::string> fetched;
    void* GetProcAddress(Handle module, const char* name) override {
        fetched.push_back(name);
        return SimDesktop::GetProcAddress(module, name);
    }
};

using ChipLibrariesTest = ReceiverTest;

TEST_F(ChipLibrariesTest, BindsBothLibrariesAtStartAndLeavesTheRtlLibraryForLater) {
    InstallAf15(desk);
    InstallAf9100(desk);
    InstallRtk(desk);
    BindChipLibraries(sys);

    EXPECT_EQ(desk.LoadLibraryCount("af15bdaex.dll"), 1);
    EXPECT_EQ(desk.LoadLibraryCount("af9100ex.dll"), 1);
    EXPECT_EQ(desk.LoadLibraryCount("RTL283XACCESS.dll"), 0);
    EXPECT_NE(sys.libs.af15_init, nullptr);
    EXPECT_NE(sys.libs.af15_GetIR, nullptr);
    EXPECT_NE(sys.libs.af15_exit, nullptr);
    EXPECT_NE(sys.libs.af9100_init, nullptr);
    EXPECT_NE(sys.libs.af9100_initIRDev, nullptr);
    EXPECT_NE(sys.libs.af9100_ReadRawIR, nullptr);
    EXPECT_NE(sys.libs.af9100_exit, nullptr);
    EXPECT_EQ(sys.libs.RTK_GetAPModeIRCode, nullptr);
    EXPECT_TRUE(desk.LibraryCalls().empty()) << "binding calls nothing";
}

TEST_F(ChipLibrariesTest, MissingLibrariesLeaveNullsAndTheBringUpsFailWithoutCalls) {
    BindChipLibraries(sys);

    EXPECT_EQ(sys.libs.af15Module, 0u);
    EXPECT_EQ(sys.libs.af15_init, nullptr);
    EXPECT_EQ(sys.libs.af9100_ReadRawIR, nullptr);
    EXPECT_EQ(InitAf9015(sys), 0);
    EXPECT_EQ(InitIt9135(sys), 0);
    ExitAf9015(sys);
    ExitIt9135(sys);
    EXPECT_TRUE(desk.LibraryCalls().empty());
}

TEST_F(ChipLibrariesTest, AMissingEntryPointFailsItsFamilyBeforeAnyCall) {
    InstallAf15(desk);
    InstallAf9100(desk);
    desk.Entry("af9100_initIRDev").exported = false;
    desk.Entry("af15_GetIR").exported = false;
    BindChipLibraries(sys);

    EXPECT_EQ(sys.libs.af9100_initIRDev, nullptr);
    EXPECT_NE(sys.libs.af9100_init, nullptr);
    EXPECT_EQ(InitIt9135(sys), 0);
    EXPECT_EQ(InitAf9015(sys), 0) << "a family that cannot read is of no use";
    EXPECT_TRUE(desk.LibraryCalls().empty());
}

TEST_F(ChipLibrariesTest, ReadyTestsLookAtTheLowBitsOnly) {
    InstallAf15(desk);
    InstallAf9100(desk);
    BindChipLibraries(sys);

    desk.Entry("af15_init").results = {0x100, 0x201};
    EXPECT_EQ(InitAf9015(sys), 0);
    EXPECT_EQ(InitAf9015(sys), 1);

    desk.Entry("af9100_init").results = {0x100, 0x1, 0x1};
    desk.Entry("af9100_initIRDev").results = {0x10000, 0x8000};
    EXPECT_EQ(InitIt9135(sys), 0);
    EXPECT_EQ(InitIt9135(sys), 0);
    EXPECT_EQ(InitIt9135(sys), 1);
    EXPECT_EQ(desk.LibraryCalls(),
              (std::vector<std::string>{"af15_init", "af15_init", "af9100_init", "af9100_init",
                                        "af9100_initIRDev", "af9100_init", "af9100_initIRDev"}))
        << "af9100_initIRDev only after a successful af9100_init";
}

TEST(LoadRtlLibrary, FetchesTheTwentyNamesInOrder) {
    FetchRecordingDesktop desk;
    System sys(desk);
    InstallRtk(desk);
    desk.Entry("RTK_IR_Write").exported = false;  // a missing name is no error

    EXPECT_EQ(LoadRtlLibrary(sys), 1);
    EXPECT_EQ(desk.fetched, (std::vector<std::string>{"RTK_BDAFilterInit",
                                                      "RTK_BDAFilterRelease",
                                                      "RTK_HaveAtLeastOneDevice",
                                                      "RTK_DeviceIsOk",
                                                      "RTK_DeviceIsOnProcess",
                                                      "RTK_DeviceIsOffProcess",
                                                      "RTK_IR_Read",
                                                      "RTK_IR_Write",
                                                      "RTK_Get_Suspend_Status",
                                                      "RTK_I2C_Read",
                                                      "RTK_I2C_Write",
                                                      "RTK_USB_Byte_Read",
                                                      "RTK_USB_Byte_Write",
                                                      "RTK_SYS_Byte_Read",
                                                      "RTK_SYS_Byte_Write",
                                                      "RTK_Demod_Byte_Read",
                                                      "RTK_Demod_Byte_Write",
                                                      "RTK_InitialAPModeIRParameter",
                                                      "RTK_GetAPModeIRCode",
                                                      "RTK_GetAPModeIRCurrentIRType"}));
    EXPECT_EQ(sys.libs.rtk[7], nullptr);
    EXPECT_NE(sys.libs.rtk[19], nullptr);
    EXPECT_NE(sys.libs.RTK_BDAFilterInit, nullptr);
    EXPECT_NE(sys.libs.RTK_DeviceIsOk, nullptr);
    EXPECT_NE(sys.libs.RTK_InitialAPModeIRParameter, nullptr);
    EXPECT_NE(sys.libs.RTK_GetAPModeIRCode, nullptr);
    EXPECT_TRUE(desk.LibraryCalls().empty());
}

TEST_F(ChipLibrariesTest, AFailedRtlLoadGivesZeroAfterClearingTheFirstNine) {
    int marker = 0;
    for (void*& entry : sys.libs.rtk) {
        entry = &marker;
    }
    EXPECT_EQ(LoadRtlLibrary(sys), 0);
    EXPECT_EQ(desk.LoadLibraryCount("RTL283XACCESS.dll"), 1);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(sys.libs.rtk[i], nullptr) << i;
    }
    for (int i = 9; i < 20; ++i) {
        EXPECT_EQ(sys.libs.rtk[i], &marker) << i;
    }
    EXPECT_EQ(sys.libs.RTK_BDAFilterInit, nullptr);
    EXPECT_EQ(sys.libs.RTK_DeviceIsOk, nullptr);
    EXPECT_EQ(InitRtl2832u(sys, mainWindow), 0);
}

TEST_F(ChipLibrariesTest, RtlInitialisationCallsInOrderAndStopsAtABadDevice) {
    InstallRtk(desk);
    ASSERT_EQ(LoadRtlLibrary(sys), 1);

    EXPECT_EQ(InitRtl2832u(sys, mainWindow), 1);
    EXPECT_EQ(desk.LastRtkFilterInitWindow(), mainWindow);
    desk.Entry("RTK_DeviceIsOk").results = {0};
    EXPECT_EQ(InitRtl2832u(sys, mainWindow), 0);
    desk.Entry("RTK_InitialAPModeIRParameter").results = {0};
    EXPECT_EQ(InitRtl2832u(sys, mainWindow), 0);
    EXPECT_EQ(desk.LibraryCalls(),
              (std::vector<std::string>{"RTK_BDAFilterInit", "RTK_DeviceIsOk",
                                        "RTK_InitialAPModeIRParameter", "RTK_BDAFilterInit",
                                        "RTK_DeviceIsOk", "RTK_BDAFilterInit", "RTK_DeviceIsOk",
                                        "RTK_InitialAPModeIRParameter"}));
}

TEST_F(ChipLibrariesTest, ALibraryWithoutItsReadEntryIsNotBroughtUp) {
    InstallRtk(desk);
    desk.Entry("RTK_GetAPModeIRCode").exported = false;
    ASSERT_EQ(LoadRtlLibrary(sys), 1);
    EXPECT_EQ(InitRtl2832u(sys, mainWindow), 0);
    EXPECT_TRUE(desk.LibraryCalls().empty());
}

}  // namespace
}  // namespace rc::test
