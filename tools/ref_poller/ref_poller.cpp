// The least a poller of the virtual tuner can do, as the benchmark's floor
// (scripts/bench):
//
//   refpoll FAMILY MS
//
// loads the family's library (af9015, it9135, rtl2832u), brings it up once,
// then, from a hidden window with a 65 ms SetTimer, makes one call to the
// library's read entry point per tick, and nothing else: no presence check,
// no translation, no trace. It ends after MS milliseconds (or on WM_CLOSE)
// and prints "init=<1|0> ticks=N codes=M".
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

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT_PTR kEndTimer = 2;
constexpr UINT kPollMs = 65;

enum class Family { kAf9015, kIt9135, kRtl2832u };

Family g_family = Family::kAf9015;
Af15GetIR g_af15GetIR = nullptr;
Af9100ReadRawIR g_af9100ReadRawIR = nullptr;
RtkGetAPModeIRCode g_rtkGetAPModeIRCode = nullptr;
unsigned long g_ticks = 0;
unsigned long g_codes = 0;

template <typename T>
T Entry(HMODULE module, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// One read call; true when it gave a code.
bool ReadOnce() {
    switch (g_family) {
        case Family::kAf9015: {
            unsigned char buffer[8];
            return (g_af15GetIR(buffer) & 0xFF) == 1;
        }
        case Family::kIt9135: {
            unsigned int words[8];
            words[0] = 255;
            g_af9100ReadRawIR(words);
            return words[0] != 255;
        }
        case Family::kRtl2832u: {
            unsigned int count = 0;
            unsigned char buffer[128];
            return g_rtkGetAPModeIRCode(&count, buffer, sizeof buffer) != 0 && count != 0;
        }
    }
    return false;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kPollTimer) {
        ++g_ticks;
        if (ReadOnce()) {
            ++g_codes;
        }
        return 0;
    }
    if ((msg == WM_TIMER && wParam == kEndTimer) || msg == WM_CLOSE) {
        DestroyWindow(hwnd);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: refpoll af9015|it9135|rtl2832u MS\n");
        return 2;
    }
    const char* family = argv[1];
    const char* dll = nullptr;
    if (std::strcmp(family, "af9015") == 0) {
        g_family = Family::kAf9015;
        dll = "af15bdaex.dll";
    } else if (std::strcmp(family, "it9135") == 0) {
        g_family = Family::kIt9135;
        dll = "af9100ex.dll";
    } else if (std::strcmp(family, "rtl2832u") == 0) {
        g_family = Family::kRtl2832u;
        dll = "RTL283XACCESS.dll";
    } else {
        std::fprintf(stderr, "refpoll: unknown family '%s'\n", family);
        return 2;
    }
    UINT duration = static_cast<UINT>(std::strtoul(argv[2], nullptr, 10));
    HMODULE module = LoadLibraryA(dll);
    if (module == nullptr) {
        std::printf("init=0 (cannot load %s)\n", dll);
        return 1;
    }
    g_af15GetIR = Entry<Af15GetIR>(module, "af15_GetIR");
    g_af9100ReadRawIR = Entry<Af9100ReadRawIR>(module, "af9100_ReadRawIR");
    g_rtkGetAPModeIRCode = Entry<RtkGetAPModeIRCode>(module, "RTK_GetAPModeIRCode");

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RefPoller";
    RegisterClassA(&wc);
    // Never shown, like the program's own main window.
    HWND window = CreateWindowExA(0, wc.lpszClassName, "refpoll", WS_OVERLAPPED, 0, 0, 10, 10,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    if (window == nullptr) {
        std::printf("init=0 (no window)\n");
        return 1;
    }

    int init = 0;
    switch (g_family) {
        case Family::kAf9015:
            init = (Entry<IntFn>(module, "af15_init")() & 0xFF) != 0;
            break;
        case Family::kIt9135:
            init = (Entry<IntFn>(module, "af9100_init")() & 0xFF) != 0 &&
                   (Entry<IntFn>(module, "af9100_initIRDev")() & 0xFFFF) != 0;
            break;
        case Family::kRtl2832u:
            Entry<RtkBdaFilterInit>(module, "RTK_BDAFilterInit")(window);
            init = Entry<IntFn>(module, "RTK_DeviceIsOk")() != 0 &&
                   Entry<IntFn>(module, "RTK_InitialAPModeIRParameter")() != 0;
            break;
    }

    SetTimer(window, kPollTimer, kPollMs, nullptr);
    if (duration > 0) {
        SetTimer(window, kEndTimer, duration, nullptr);
    }
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        DispatchMessageA(&m);
    }
    std::printf("init=%d ticks=%lu codes=%lu\n", init ? 1 : 0, g_ticks, g_codes);
    return init ? 0 : 1;
}
