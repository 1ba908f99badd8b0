// The code readers: on each poll tick the reader of the current ChipType
// checks that the stick is still there, fetches at most one raw code and
// translates it into a KeyCode. A stick found gone hands polling over to the
// watchdog.
#include <array>
#include <cstring>

#include "core/debug_trace.h"
#include "core/press.h"
#include "core/system.h"
#include "core/timer_slots.h"
#include "receiver/chip_family.h"
#include "receiver/chip_libraries.h"
#include "receiver/receiver.h"

namespace rc {

namespace {

// AF9015 scan code -> KeyCode.
struct ScanEntry {
    std::uint8_t scanCode;
    std::uint8_t keyCode;
};
constexpr ScanEntry kAf9015Scans[] = {
    {0x05, 16}, {0x07, 25}, {0x08, 18}, {0x0B, 3},  {0x0F, 26}, {0x13, 67}, {0x15, 27}, {0x16, 21},
    {0x18, 24}, {0x1E, 4},  {0x1F, 8},  {0x20, 2},  {0x21, 15}, {0x22, 5},  {0x23, 6},  {0x24, 12},
    {0x25, 13}, {0x26, 10}, {0x27, 17}, {0x2A, 22}, {0x2D, 30}, {0x2E, 31}, {0x36, 28}, {0x37, 29},
    {0x3B, 1},  {0x3C, 23}, {0x3E, 11}, {0x3F, 20}, {0x4F, 19}, {0x50, 14}, {0x51, 7},  {0x52, 9},
};

constexpr std::array<std::uint8_t, 256> MakeAf9015Table() {
    std::array<std::uint8_t, 256> table{};
    for (auto& keyCode : table) {
        keyCode = kNoKey;
    }
    for (const ScanEntry& entry : kAf9015Scans) {
        table[entry.scanCode] = entry.keyCode;
    }
    return table;
}
constexpr std::array<std::uint8_t, 256> kAf9015Table = MakeAf9015Table();

constexpr std::uint8_t ReverseBits(std::uint8_t b) {
    std::uint8_t r = 0;
    for (int i = 0; i < 8; ++i) {
        r = static_cast<std::uint8_t>((r << 1) | ((b >> i) & 1));
    }
    return r;
}

// The stick is gone: polling stops and the watchdog takes over.
KeyRead RemovalHandOver(System& sys) {
    DebugTrace(sys, "GPIOTime-Maybe the USB has removed...");
    KillGpioTimer(sys);
    DebugTrace(sys, "GPIOTime-StartChkUSBTimer.");
    ArmChkUsbTimer(sys);
    sys.bDeviceReady = false;
    NoteReceiverChange(sys);
    return std::nullopt;
}

// The DirectShow families' presence check: 1 when the stick being polled is
// still there. A stick found is released at once; a stick gone leads to the
// hand-over, which leaves the search's COM initialisation to the next search.
int StickPresent(System& sys) {
    const std::uint32_t polled = sys.chipType;
    if (!FindFilter(sys)) {
        RemovalHandOver(sys);
        return 0;
    }
    ReleaseFilter(sys);
    if (sys.chipType != polled) {
        // Another stick is plugged in as well, and the search now finds it
        // first: the polled one was pulled, or one of an earlier family came.
        // Its library was never started, so it is handed to the watchdog as
        // if the polled stick had gone.
        RemovalHandOver(sys);
        return 0;
    }
    return 1;
}

KeyRead ReadAf9015(System& sys) {
    if (!StickPresent(sys)) {
        return std::nullopt;
    }
    unsigned char buffer[8];
    std::memset(buffer, 0xFF, sizeof buffer);
    int result = 0;
    if (sys.libs.af15_GetIR != nullptr) {
        result = CallEntry(sys.libs.af15_GetIR, buffer);
    }
    if ((result & 0xFF) != 1 || buffer[2] == 0xFF || buffer[0] != 7) {
        return std::nullopt;
    }
    return Af9015KeyCode(buffer[2]);
}

KeyRead ReadIt9135(System& sys) {
    if (!StickPresent(sys)) {
        return std::nullopt;
    }
    unsigned int words[8];
    for (unsigned int& word : words) {
        word = 255;
    }
    if (sys.libs.af9100_ReadRawIR != nullptr) {
        CallEntry(sys.libs.af9100_ReadRawIR, words);
    }
    DebugTrace(sys, "irulData[0]", words[0]);
    if (words[0] == 255) {
        return std::nullopt;
    }
    std::uint32_t keyCode = (words[0] >> 8) & 0xFF;
    DebugTrace(sys, "ScanCode", keyCode);
    return keyCode;
}

// The Conexant stick is gone: the channel is closed and the watchdog takes
// over.
KeyRead ConexantRemoval(System& sys) {
    DestroyHidDeviceInfoSet(sys);
    sys.bDeviceReady = false;
    CloseHidHandle(sys);
    KillGpioTimer(sys);
    ReleaseFilter(sys);
    ArmChkUsbTimer(sys);
    NoteReceiverChange(sys);
    return std::nullopt;
}

KeyRead ReadConexant(System& sys) {
    if (sys.hid.hidHandle == 0) {
        return ConexantRemoval(sys);
    }
    constexpr std::uint8_t kNotRead = 0xFE;  // left in place by a failed read
    std::uint8_t code = kNotRead;
    GetFeatureCode(sys, sys.hid.hidHandle, &code);
    if (code == 0xFF) {
        return std::nullopt;
    }
    DebugTrace(sys, "GetCode1 = ", code);
    DebugTrace(sys, "GetCode2 = ", kNotRead);
    if (code == kNotRead) {
        return ConexantRemoval(sys);
    }
    return code;
}

KeyRead ReadRtl2832u(System& sys) {
    if (!StickPresent(sys)) {
        return std::nullopt;
    }
    // The library is called only once loaded.
    if (sys.libs.rtlModule == 0 || sys.libs.RTK_GetAPModeIRCode == nullptr) {
        return std::nullopt;
    }
    unsigned int count = 0;
    unsigned char buffer[128] = {};
    int result = CallEntry(sys.libs.RTK_GetAPModeIRCode, &count, buffer, sizeof buffer);
    if (result == 0 || (count & 0xFFFF) == 0) {
        return std::nullopt;
    }
    return Rtl2832uKeyCode(buffer[1]);
}

// No chip known: only look whether one has come; the next tick reads it.
KeyRead ReadNoChip(System& sys) {
    if (!FindFilter(sys)) {
        RemovalHandOver(sys);
    } else {
        ReleaseFilter(sys);
    }
    return std::nullopt;
}

struct Reader {
    const char* trace;
    KeyRead (*read)(System&);
};

const Reader& ReaderOf(std::uint32_t chipType) {
    static constexpr Reader kReaders[] = {
        {"Can't Find any Device", ReadNoChip},  // 0 and every unknown ChipType
        {"Chip_Afa9015", ReadAf9015},          {"Chip_Ite9037", ReadIt9135},
        {"Chip_Conexant", ReadConexant},       {"Chip_Rtl", ReadRtl2832u},
    };
    return chipType < std::size(kReaders) ? kReaders[chipType] : kReaders[0];
}

}  // namespace

std::uint32_t Af9015KeyCode(std::uint8_t scanCode) {
    return kAf9015Table[scanCode];
}

std::uint32_t Rtl2832uKeyCode(std::uint8_t scanCode) {
    switch (scanCode) {
        case 0x45:
            return 66;
        case 0x47:
            return 71;
        case 0xFF:
            return 70;
        default:
            break;
    }
    std::uint32_t r = ReverseBits(scanCode);
    bool known = r <= 12 || (r >= 14 && r <= 35) || (r >= 64 && r <= 68) || (r >= 72 && r <= 75);
    return known ? r : kNoKey;
}

KeyRead ReadKeyCode(System& sys) {
    const Reader& reader = ReaderOf(sys.chipType);
    DebugTrace(sys, reader.trace);
    return reader.read(sys);
}

}  // namespace rc
