#include <set>
#include <string>
#include <vector>

#include "receiver/chip_family.h"
#include "receiver/receiver_fixture.h"

namespace rc::test {
namespace {

using Lines_ = std::vector<std::string>;

TEST(ScanCodeTables, Af9015KnowsThirtyTwoCodesEachToItsOwnKey) {
    std::set<std::uint32_t> keys;
    for (int scan = 0; scan < 256; ++scan) {
        std::uint32_t key = Af9015KeyCode(static_cast<std::uint8_t>(scan));
        if (key != 255) {
            EXPECT_TRUE(keys.insert(key).second) << scan;
        }
    }
    EXPECT_EQ(keys.size(), 32u);
    EXPECT_EQ(Af9015KeyCode(0x13), 67u);
    EXPECT_EQ(Af9015KeyCode(0x52), 9u);
    EXPECT_EQ(Af9015KeyCode(0x06), 255u);
}

TEST(ScanCodeTables, RtlFollowsTheBitReversalWithThreeExceptions) {
    int known = 0;
    for (int scan = 0; scan < 256; ++scan) {
        std::uint8_t s = static_cast<std::uint8_t>(scan);
        std::uint32_t r = 0;
        for (int i = 0; i < 8; ++i) {
            r |= ((s >> i) & 1u) << (7 - i);
        }
        std::uint32_t key = Rtl2832uKeyCode(s);
        known += key != 255;
        EXPECT_NE(key, 13u) << scan;
        bool byRule =
            r <= 12 || (r >= 14 && r <= 35) || (r >= 64 && r <= 68) || (r >= 72 && r <= 75);
        if (s != 0x45 && s != 0x47 && s != 0xFF) {
            EXPECT_EQ(key, byRule ? r : 255u) << scan;
        }
    }
    EXPECT_EQ(known, 47);
    EXPECT_EQ(Rtl2832uKeyCode(0x80), 1u);
    EXPECT_EQ(Rtl2832uKeyCode(0x00), 0u);
    EXPECT_EQ(Rtl2832uKeyCode(0x45), 66u);
    EXPECT_EQ(Rtl2832uKeyCode(0x42), 66u);
    EXPECT_EQ(Rtl2832uKeyCode(0x47), 71u);
    EXPECT_EQ(Rtl2832uKeyCode(0xFF), 70u);
    EXPECT_EQ(Rtl2832uKeyCode(0x0C), 255u);
}

class CodeReaderTest : public ReceiverTest {
  protected:
    // A stick brought up and polled, the log cleared.
    void Ready(std::uint32_t chipType) {
        BindChipLibraries(sys);
        sys.chipType = chipType;
        ArmGpioTimer(sys);
        desk.ClearLog();
    }
    void ExpectHandedOver() {
        EXPECT_FALSE(Polling());
        EXPECT_TRUE(Watching());
        EXPECT_EQ(sys.bDeviceReady, 0);
    }
};

TEST_F(CodeReaderTest, Af9015TakesOnlyFramesOfType7) {
    InstallAf15(desk);
    PlugAf9015();
    Ready(kChipAf9015);
    desk.af15Buffers = {{7, 0, 0x13}, {6, 0, 0x13}, {7, 0, 0x06}, {7, 0, 0x13}};
    desk.Entry("af15_GetIR").results = {1, 1, 0x301, 0};
    desk.Entry("af15_GetIR").defaultResult = 1;

    EXPECT_EQ(ReadKeyCode(sys), 67);
    EXPECT_EQ(ReadKeyCode(sys), std::nullopt);
    EXPECT_EQ(ReadKeyCode(sys), 255) << "an unknown scan code is passed on";
    EXPECT_EQ(ReadKeyCode(sys), std::nullopt) << "the library reported nothing";
    EXPECT_EQ(ReadKeyCode(sys), std::nullopt) << "the preset buffer";
    EXPECT_EQ(desk.CoInitCount(), 1) << "the first search's COM lasts, each later one is undone";
    EXPECT_TRUE(Polling());
}

TEST_F(CodeReaderTest, It9135TakesTheSecondByteOfWordZero) {
    InstallAf9100(desk);
    PlugIt9135();
    Ready(kChipIt9135);
    desk.af9100Words = {{0xABCD1A42}, {0}};

    EXPECT_EQ(ReadKeyCode(sys), 26);
    EXPECT_EQ(Lines(), (Lines_{"Chip_Ite9037", "Find 9030 Device", "irulData[0] (ABCD1A42)",
                               "ScanCode (1A)"}));
    EXPECT_EQ(ReadKeyCode(sys), 0);
    EXPECT_EQ(ReadKeyCode(sys), std::nullopt) << "word 0 left at 255";
}

TEST_F(CodeReaderTest, ConexantReadsTheFeatureReportUntilAReadFails) {
    int hid = desk.AddHidDevice(ConexantReceiver());
    desk.Hid(hid).featureCodes = {0x10, 0xFF};
    OpenDeviceInterface(sys);
    desk.CoInitialize();  // COM that the shell initialised on this thread
    Ready(kChipConexant);

    EXPECT_EQ(ReadKeyCode(sys), 16);
    EXPECT_EQ(ReadKeyCode(sys), std::nullopt);
    EXPECT_EQ(Lines(),
              (Lines_{"Chip_Conexant", "GetCode1 =  (10)", "GetCode2 =  (FE)", "Chip_Conexant"}));
    EXPECT_EQ(desk.CategoryOpenCount(), 0) << "no DirectShow search for this family";

    desk.RemoveHidDevice(hid);
    desk.ClearLog();
    EXPECT_EQ(ReadKeyCode(sys), std::nullopt);
    ExpectHandedOver();
    EXPECT_EQ(Lines(), (Lines_{"Chip_Conexant", "GetCode1 =  (FE)", "GetCode2 =  (FE)"}));
    EXPECT_EQ(desk.OpenHidSets(), 0);
    EXPECT_EQ(desk.OpenHidHandles(), 0);
    EXPECT_EQ(desk.CoInitCount(), 1) << "no search of ours initialised it: it stays";

    ArmGpioTimer(sys);
    desk.ClearLog();
    EXPECT_EQ(ReadKeyCode(sys), std::nullopt);
    ExpectHandedOver();
    EXPECT_EQ(Lines(), Lines_{"Chip_Conexant"}) << "a closed channel is not read";
}

TEST_F(CodeReaderTest, RtlReadsByteOneOfACountedBufferOnceLoaded) {
    InstallRtk(desk);
    PlugRtl2832u();
    Ready(kChipRtl2832u);
    EXPECT_EQ(ReadKeyCode(sys), std::nullopt);
    EXPECT_TRUE(desk.LibraryCalls().empty()) << "not loaded yet";

    LoadRtlLibrary(sys);
    desk.Entry("RTK_GetAPModeIRCode").results = {1, 1, 1, 0};
    desk.rtkCodes = {{2, {0, 0x45}}, {0, {0, 0x80}}, {0x10000, {0, 0x80}}, {1, {0, 0x80}}};
    EXPECT_EQ(ReadKeyCode(sys), 66);
    EXPECT_EQ(ReadKeyCode(sys), std::nullopt) << "a zero count";
    EXPECT_EQ(ReadKeyCode(sys), std::nullopt) << "only the count's low 16 bits count";
    EXPECT_EQ(ReadKeyCode(sys), std::nullopt) << "the library said no";
}

TEST_F(CodeReaderTest, APulledStickHandsOverWithoutReleasingTheSearch) {
    InstallAf15(desk);
    Ready(kChipAf9015);
    EXPECT_EQ(ReadKeyCode(sys), std::nullopt);
    ExpectHandedOver();
    EXPECT_EQ(Lines(),
              (Lines_{"Chip_Afa9015", "Can't find Device", "GPIOTime-Maybe the USB has removed...",
                      "GPIOTime-StartChkUSBTimer."}));
    EXPECT_TRUE(desk.LibraryCalls().empty());
    EXPECT_EQ(desk.CoInitCount(), 1);
}

TEST_F(CodeReaderTest, WithNoChipKnownTheReaderOnlyLooks) {
    InstallAf15(desk);
    PlugAf9015();
    Ready(99);
    EXPECT_EQ(ReadKeyCode(sys), std::nullopt);
    EXPECT_EQ(Lines(), (Lines_{"Can't Find any Device", "Find 9015 Device"}));
    EXPECT_EQ(sys.chipType, kChipAf9015) << "the next tick reads with it";
    EXPECT_TRUE(desk.LibraryCalls().empty());
    EXPECT_EQ(desk.HeldFilters(), 0);
}

}  // namespace
}  // namespace rc::test
