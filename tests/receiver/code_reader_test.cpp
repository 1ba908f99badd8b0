#include <set>
#include <string>
#include <vector>

#include "receiver/chip_family.h"
#include "receiver/receiver_fixture.h"

namespace rc::test {
namespace {

std::uint8_t Reverse(std::uint8_t b) {
    std::uint8_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (b & (1 << i)) {
            r |= static_cast<std::uint8_t>(0x80 >> i);
        }
    }
    return r;
}

TEST(ScanCodeTables, Af9015KnowsThirtyTwoCodesEachToItsOwnKey) {
    std::set<std::uint32_t> keys;
    int known = 0;
    for (int scan = 0; scan < 256; ++scan) {
        std::uint32_t key = Af9015KeyCode(static_cast<std::uint8_t>(scan));
        if (key != 255) {
            ++known;
            keys.insert(key);
        }
    }
    EXPECT_EQ(known, 32);
    EXPECT_EQ(keys.size(), 32u);
    EXPECT_EQ(Af9015KeyCode(0x13), 67u);
    EXPECT_EQ(Af9015KeyCode(0x05), 16u);
    EXPECT_EQ(Af9015KeyCode(0x3B), 1u);
    EXPECT_EQ(Af9015KeyCode(0x52), 9u);
    EXPECT_EQ(Af9015KeyCode(0x00), 255u);
    EXPECT_EQ(Af9015KeyCode(0x06), 255u);
    EXPECT_EQ(Af9015KeyCode(0xFF), 255u);
}

TEST(ScanCodeTables, RtlFollowsTheBitReversalWithThreeExceptions) {
    int known = 0;
    for (int scan = 0; scan < 256; ++scan) {
        std::uint8_t s = static_cast<std::uint8_t>(scan);
        std::uint32_t key = Rtl2832uKeyCode(s);
        if (key != 255) {
            ++known;
        }
        EXPECT_NE(key, 13u) << scan;
        if (s == 0x45 || s == 0x47 || s == 0xFF) {
            continue;
        }
        std::uint32_t r = Reverse(s);
        bool inRule =
            r <= 12 || (r >= 14 && r <= 35) || (r >= 64 && r <= 68) || (r >= 72 && r <= 75);
        EXPECT_EQ(key, inRule ? r : 255u) << scan;
    }
    EXPECT_EQ(known, 47);
    EXPECT_EQ(Rtl2832uKeyCode(0x80), 1u);
    EXPECT_EQ(Rtl2832uKeyCode(0x00), 0u);
    EXPECT_EQ(Rtl2832uKeyCode(0x45), 66u);
    EXPECT_EQ(Rtl2832uKeyCode(0x42), 66u);
    EXPECT_EQ(Rtl2832uKeyCode(0x47), 71u);
    EXPECT_EQ(Rtl2832uKeyCode(0xFF), 70u);
    EXPECT_EQ(Rtl2832uKeyCode(0x0C), 255u);
    EXPECT_EQ(Rtl2832uKeyCode(0xB0), 255u) << "reverses to 13";
}

class CodeReaderTest : public ReceiverTest {
  protected:
    // A stick brought up and polled (GPIO armed), the log cleared.
    void Ready(std::uint32_t chipType) {
        BindChipLibraries(sys);
        sys.chipType = chipType;
        ArmGpioTimer(sys);
        desk.ClearLog();
    }
    void ExpectRemovalHandOver() {
        EXPECT_FALSE(Polling());
        EXPECT_TRUE(Watching());
        EXPECT_EQ(sys.bDeviceReady, 0);
    }
};

TEST_F(CodeReaderTest, Af9015TakesOnlyFramesOfType7) {
    InstallAf15(desk);
    PlugAf9015();
    Ready(kChipAf9015);
    desk.af15Buffers = {{7, 0, 0x13}, {6, 0, 0x13}, {7, 0, 0x06}, {7, 0, 0xFF}, {7, 0, 0x13}};
    desk.Entry("af15_GetIR").results = {1, 1, 0x301, 1, 0};
    desk.Entry("af15_GetIR").defaultResult = 1;

    EXPECT_EQ(ReadKeyCode(sys), 67);
    EXPECT_EQ(ReadKeyCode(sys), kNoKey);
    EXPECT_EQ(ReadKeyCode(sys), 255) << "an unknown scan code is passed on";
    EXPECT_EQ(ReadKeyCode(sys), kNoKey);
    EXPECT_EQ(ReadKeyCode(sys), kNoKey) << "the library reported nothing";
    EXPECT_EQ(ReadKeyCode(sys), kNoKey) << "an untouched buffer";
    EXPECT_EQ(Lines()[0], "Chip_Afa9015");
    EXPECT_EQ(desk.HeldFilters(), 0);
    EXPECT_EQ(desk.CoInitCount(), 0) << "each presence check is released";
    EXPECT_TRUE(Polling());
}

TEST_F(CodeReaderTest, It9135TakesTheSecondByteOfWordZero) {
    InstallAf9100(desk);
    PlugIt9135();
    Ready(kChipIt9135);
    desk.af9100Words = {{0xABCD1A42}, {255}, {0}};

    EXPECT_EQ(ReadKeyCode(sys), 26);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Chip_Ite9037", "Find 9030 Device",
                                                 "irulData[0] (ABCD1A42)", "ScanCode (1A)"}));
    EXPECT_EQ(ReadKeyCode(sys), kNoKey);
    EXPECT_EQ(ReadKeyCode(sys), 0);
    EXPECT_EQ(ReadKeyCode(sys), kNoKey) << "the preset words when the library writes nothing";
    EXPECT_EQ(CallCount("af9100_ReadRawIR"), 4);
}

TEST_F(CodeReaderTest, ConexantReadsTheFeatureReport) {
    int hid = desk.AddHidDevice(ConexantReceiver());
    desk.Hid(hid).featureCodes = {0x10, 0xFF};
    OpenDeviceInterface(sys);
    Ready(kChipConexant);

    EXPECT_EQ(ReadKeyCode(sys), 16);
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"Chip_Conexant", "GetCode1 =  (10)", "GetCode2 =  (FE)"}));
    desk.ClearLog();
    EXPECT_EQ(ReadKeyCode(sys), kNoKey);
    EXPECT_EQ(Lines(), std::vector<std::string>{"Chip_Conexant"});
    EXPECT_EQ(desk.CategoryOpenCount(), 0) << "no DirectShow search for this family";
    EXPECT_TRUE(Polling());
}

TEST_F(CodeReaderTest, ConexantFailedReadClosesTheChannelAndHandsOver) {
    int hid = desk.AddHidDevice(ConexantReceiver());
    OpenDeviceInterface(sys);
    desk.CoInitialize();  // as left by the start-up searches
    Ready(kChipConexant);
    desk.RemoveHidDevice(hid);

    EXPECT_EQ(ReadKeyCode(sys), kNoKey);
    ExpectRemovalHandOver();
    EXPECT_EQ(desk.OpenHidSets(), 0);
    EXPECT_EQ(desk.OpenHidHandles(), 0);
    EXPECT_EQ(desk.CoInitCount(), 0);
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"Chip_Conexant", "GetCode1 =  (FE)", "GetCode2 =  (FE)"}))
        << "no GPIOTime- lines on this path";

    desk.ClearLog();
    ArmGpioTimer(sys);
    EXPECT_EQ(ReadKeyCode(sys), kNoKey);
    ExpectRemovalHandOver();
    EXPECT_EQ(Lines(), std::vector<std::string>{"Chip_Conexant"}) << "a closed channel is not read";
}

TEST_F(CodeReaderTest, RtlReadsByteOneOfACountedBuffer) {
    InstallRtk(desk);
    PlugRtl2832u();
    LoadRtlLibrary(sys);
    Ready(kChipRtl2832u);
    desk.Entry("RTK_GetAPModeIRCode").defaultResult = 1;
    desk.rtkCodes = {{1, {0x00, 0x80}},
                     {0, {0x00, 0x80}},
                     {0x10000, {0x00, 0x80}},
                     {2, {0x00, 0x45}},
                     {1, {0x00, 0x0C}}};

    EXPECT_EQ(ReadKeyCode(sys), 1);
    EXPECT_EQ(ReadKeyCode(sys), kNoKey) << "a zero count";
    EXPECT_EQ(ReadKeyCode(sys), kNoKey) << "only the low 16 bits of the count count";
    EXPECT_EQ(ReadKeyCode(sys), 66);
    EXPECT_EQ(ReadKeyCode(sys), 255);
    desk.Entry("RTK_GetAPModeIRCode").results = {0};
    desk.rtkCodes = {{1, {0x00, 0x80}}};
    EXPECT_EQ(ReadKeyCode(sys), kNoKey) << "the library said no";
    EXPECT_EQ(Lines()[0], "Chip_Rtl");
}

TEST_F(CodeReaderTest, RtlWithoutItsLibraryGivesNoKey) {
    PlugRtl2832u();
    Ready(kChipRtl2832u);
    EXPECT_EQ(ReadKeyCode(sys), kNoKey);
    EXPECT_TRUE(desk.LibraryCalls().empty());
    EXPECT_TRUE(Polling());
}

TEST_F(CodeReaderTest, APulledStickHandsOverWithoutReleasingTheSearch) {
    InstallAf15(desk);
    Ready(kChipAf9015);

    EXPECT_EQ(ReadKeyCode(sys), kNoKey);
    ExpectRemovalHandOver();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Chip_Afa9015", "Can't find Device",
                                                 "GPIOTime-Maybe the USB has removed...",
                                                 "GPIOTime-StartChkUSBTimer."}));
    EXPECT_TRUE(desk.LibraryCalls().empty());
    EXPECT_EQ(desk.CoInitCount(), 1);
}

TEST_F(CodeReaderTest, WithNoChipKnownTheReaderOnlyLooks) {
    InstallAf15(desk);
    PlugAf9015();
    Ready(kChipNone);
    EXPECT_EQ(ReadKeyCode(sys), kNoKey);
    EXPECT_EQ(sys.chipType, kChipAf9015) << "the next tick reads with it";
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Can't Find any Device", "Find 9015 Device"}));
    EXPECT_TRUE(desk.LibraryCalls().empty());
    EXPECT_EQ(desk.HeldFilters(), 0);
    EXPECT_TRUE(Polling());

    sys.chipType = 99;
    desk.ClearLog();
    EXPECT_EQ(ReadKeyCode(sys), kNoKey);
    EXPECT_EQ(Lines()[0], "Can't Find any Device");
}

}  // namespace
}  // namespace rc::test
