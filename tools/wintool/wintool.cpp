// wintool: looks at and pokes the windows of a running Wine (or Windows)
// desktop from the command line, for the scripted tests of RemoteControl.exe.
//
//   wintool find CLASS               "found 0x... visible=0|1", exit 0; "none", exit 1
//   wintool count CLASS              prints how many top-level windows have the class
//   wintool wait CLASS MS            exit 0 once a window of the class exists, 1 after MS ms
//   wintool gone CLASS MS            exit 0 once no window of the class exists, 1 after MS ms
//   wintool sync CLASS MS            exit 0 once the window's thread answers a sent WM_NULL
//                                    (it runs a message loop), 1 after MS ms
//   wintool post CLASS MSG WPARAM LPARAM   PostMessageA to the window, exit 0 when posted
//   wintool hold FILE MS             opens FILE for reading, shared for reading only (so that
//                                    nobody may write, rename or delete it), prints "held",
//                                    keeps it so for MS ms; exit 1 when it can't be opened
//
// Numbers may be decimal or 0x-hexadecimal. Every wait is bounded.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct CountContext {
    const char* className;
    int count;
};

BOOL CALLBACK CountWindows(HWND hwnd, LPARAM lParam) {
    auto* ctx = reinterpret_cast<CountContext*>(lParam);
    char name[256] = {};
    if (GetClassNameA(hwnd, name, sizeof name) > 0 && std::strcmp(name, ctx->className) == 0) {
        ++ctx->count;
    }
    return TRUE;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: wintool find|count CLASS | wait|gone|sync CLASS MS |"
                 " post CLASS MSG WPARAM LPARAM | hold FILE MS\n");
    return 2;
}

unsigned long Number(const char* text) {
    return std::strtoul(text, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return Usage();
    }
    const char* command = argv[1];
    const char* className = argv[2];

    if (std::strcmp(command, "hold") == 0) {
        if (argc < 4) {
            return Usage();
        }
        HANDLE file = CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "wintool hold: cannot open %s\n", argv[2]);
            return 1;
        }
        std::printf("held\n");
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(Number(argv[3])));
        CloseHandle(file);
        return 0;
    }
    if (std::strcmp(command, "find") == 0) {
        HWND hwnd = FindWindowA(className, nullptr);
        if (hwnd == nullptr) {
            std::printf("none\n");
            return 1;
        }
        std::printf("found %p visible=%d\n", static_cast<void*>(hwnd),
                    IsWindowVisible(hwnd) ? 1 : 0);
        return 0;
    }
    if (std::strcmp(command, "count") == 0) {
        CountContext ctx{className, 0};
        EnumWindows(CountWindows, reinterpret_cast<LPARAM>(&ctx));
        std::printf("%d\n", ctx.count);
        return 0;
    }
    if (std::strcmp(command, "wait") == 0 || std::strcmp(command, "gone") == 0 ||
        std::strcmp(command, "sync") == 0) {
        if (argc < 4) {
            return Usage();
        }
        const DWORD limit = Number(argv[3]);
        const bool wantGone = std::strcmp(command, "gone") == 0;
        const DWORD start = GetTickCount();
        for (;;) {
            HWND hwnd = FindWindowA(className, nullptr);
            const DWORD elapsed = GetTickCount() - start;
            if (wantGone && hwnd == nullptr) {
                return 0;
            }
            if (!wantGone && hwnd != nullptr) {
                if (command[0] == 'w') {
                    return 0;
                }
                DWORD_PTR answer = 0;
                const UINT left = elapsed < limit ? limit - elapsed : 1;
                if (SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, left, &answer) != 0) {
                    return 0;
                }
            }
            if (GetTickCount() - start >= limit) {
                std::fprintf(stderr, "wintool %s \"%s\": timed out after %lu ms\n", command,
                             className, static_cast<unsigned long>(limit));
                return 1;
            }
            Sleep(50);
        }
    }
    if (std::strcmp(command, "post") == 0) {
        if (argc < 6) {
            return Usage();
        }
        HWND hwnd = FindWindowA(className, nullptr);
        if (hwnd == nullptr) {
            std::fprintf(stderr, "wintool post: no window of class \"%s\"\n", className);
            return 1;
        }
        const UINT msg = static_cast<UINT>(Number(argv[3]));
        const WPARAM wParam = static_cast<WPARAM>(Number(argv[4]));
        const LPARAM lParam = static_cast<LPARAM>(Number(argv[5]));
        return PostMessageA(hwnd, msg, wParam, lParam) ? 0 : 1;
    }
    return Usage();
}
