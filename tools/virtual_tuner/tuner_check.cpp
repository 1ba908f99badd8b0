// Reads the virtual tuner the way the program's poll does, to check the
// stand-in libraries on their own:
//
//   tuner_check FAMILY MS
//
// loads the family's library (af9015, it9135, rtl2832u), runs its bring-up,
// then polls it every 65 ms for MS milliseconds and prints one line per code
// read: "frame at=<ms since start> scan=0x.." (the raw scan code, decoded as
// the chip delivers it). The first line is "init=<1|0>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using IntFn = int(__stdcall*)();
using Af15GetIR = int(__stdcall*)(unsigned char*);
using Af9100ReadRawIR = int(__stdcall*)(unsigned int*);
using RtkBdaFilterInit = int(__stdcall*)(HWND);
using RtkGetAPModeIRCode = int(__stdcall*)(unsigned int*, unsigned char*, unsigned int);

template <typename T>
T Entry(HMODULE module, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tuner_check af9015|it9135|rtl2832u MS\n");
        return 2;
    }
    const char* family = argv[1];
    DWORD duration = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
    const char* dll = std::strcmp(family, "af9015") == 0   ? "af15bdaex.dll"
                      : std::strcmp(family, "it9135") == 0 ? "af9100ex.dll"
                                                           : "RTL283XACCESS.dll";
    HMODULE module = LoadLibraryA(dll);
    if (module == nullptr) {
        std::printf("init=0 (cannot load %s)\n", dll);
        return 1;
    }
    int init = 0;
    if (std::strcmp(family, "af9015") == 0) {
        init = Entry<IntFn>(module, "af15_init")() & 0xFF;
    } else if (std::strcmp(family, "it9135") == 0) {
        init = (Entry<IntFn>(module, "af9100_init")() & 0xFF) != 0 &&
               (Entry<IntFn>(module, "af9100_initIRDev")() & 0xFFFF) != 0;
    } else {
        Entry<RtkBdaFilterInit>(module, "RTK_BDAFilterInit")(nullptr);
        init = Entry<IntFn>(module, "RTK_DeviceIsOk")() != 0 &&
               Entry<IntFn>(module, "RTK_InitialAPModeIRParameter")() != 0;
    }
    std::printf("init=%d\n", init ? 1 : 0);
    std::fflush(stdout);

    DWORD start = GetTickCount();
    while (GetTickCount() - start < duration) {
        int scan = -1;
        if (std::strcmp(family, "af9015") == 0) {
            unsigned char buffer[8];
            std::memset(buffer, 0xFF, sizeof buffer);
            int r = Entry<Af15GetIR>(module, "af15_GetIR")(buffer);
            if ((r & 0xFF) == 1 && buffer[0] == 7 && buffer[2] != 0xFF) {
                scan = buffer[2];
            }
        } else if (std::strcmp(family, "it9135") == 0) {
            unsigned int words[8];
            for (unsigned int& w : words) {
                w = 255;
            }
            Entry<Af9100ReadRawIR>(module, "af9100_ReadRawIR")(words);
            if (words[0] != 255) {
                scan = static_cast<int>((words[0] >> 8) & 0xFF);
            }
        } else {
            unsigned int count = 0;
            unsigned char buffer[128] = {};
            int r = Entry<RtkGetAPModeIRCode>(module, "RTK_GetAPModeIRCode")(&count, buffer, 128);
            if (r != 0 && (count & 0xFFFF) != 0) {
                scan = buffer[1];
            }
        }
        if (scan >= 0) {
            std::printf("frame at=%lu scan=0x%02X\n", GetTickCount() - start, scan);
            std::fflush(stdout);
        }
        Sleep(65);
    }
    return 0;
}
