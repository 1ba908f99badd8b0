// Desktop probe for the Wine end-to-end tests and the demo: looks at and
// pokes the windows of one Wine desktop from the command line.
//
//   wprobe [--desktop NAME] COMMAND ARGS...
//
// Commands (CLASS or TITLE "-" means any; exit code 0 on success, 1 when the
// window was not found or the wait timed out, 2 on a usage error):
//   list                              every top-level window: handle, visible, class, title
//   find CLASS TITLE                  print the first matching window's handle
//   wait CLASS TITLE MS               wait until such a window exists
//   waitgone CLASS TITLE MS           wait until no such window exists
//   visible CLASS TITLE               exit 0 when such a window is visible
//   post CLASS TITLE MSG WPARAM LPARAM
//   send CLASS TITLE MSG WPARAM LPARAM  print the result
//   sendchild CLASS TITLE CHILDCLASS MSG WPARAM LPARAM
//                                     send to the window's first child of CHILDCLASS
//                                     (a control: SysListView32...), print the result
//   sendid CLASS TITLE ID MSG WPARAM LPARAM
//                                     send to the window's child of that control id, print
//                                     the result as a signed number (LVM_GETNEXTITEM's -1)
//   cursor                            print the pointer position "X Y"
//   setcursor X Y
//   keys VK [VK...]                   press the keys in order, release in reverse
//   foreground                        print the foreground window's class and title
//   activate CLASS TITLE              bring the window to the foreground
//   metrics                           print SM_CXSCREEN SM_CYSCREEN SM_CXFULLSCREEN SM_CYFULLSCREEN
//   rect CLASS TITLE                  print the window's screen rectangle "L T R B"
//   info CLASS TITLE                  print the window's extended styles, visibility and
//                                     text, read through the wide call and printed as
//                                     UTF-8: exstyle=0x... visible=N text="..."
//   idle MS                           keep a hidden window on the desktop for MS ms (or until
//                                     WM_CLOSE), so that the desktop stays up meanwhile
//   filters [CATEGORY]                print the friendly names of the DirectShow filters
//                                     of a device category (default: BDA network tuners)
//   handles EXE                       print "pid=N handles=M" for the first process whose
//                                     executable is named EXE (GetProcessHandleCount), or
//                                     "pid=N handles=not available" where the system does
//                                     not count them
//
// The desktop (or the environment variable WPROBE_DESKTOP) selects the Wine
// desktop started with `explorer /desktop=NAME`; windows of other desktops
// cannot be seen.
#include <windows.h>
#include <tlhelp32.h>
#include <ole2.h>
#include <oleauto.h>
#include <strmif.h>
#include <uuids.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* OrNull(const char* text) {
    return std::strcmp(text, "-") == 0 ? nullptr : text;
}

long Number(const char* text) {
    return std::strtol(text, nullptr, 0);
}

HWND Find(const char* cls, const char* title) {
    return FindWindowExA(GetDesktopWindow(), nullptr, OrNull(cls), OrNull(title));
}

int List() {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr;
         w = GetWindow(w, GW_HWNDNEXT)) {
        char cls[256] = {};
        char title[256] = {};
        GetClassNameA(w, cls, sizeof cls);
        GetWindowTextA(w, title, sizeof title);
        std::printf("%p visible=%d class=\"%s\" title=\"%s\"\n", static_cast<void*>(w),
                    IsWindowVisible(w) ? 1 : 0, cls, title);
    }
    return 0;
}

int Wait(const char* cls, const char* title, long ms, bool gone) {
    DWORD start = GetTickCount();
    for (;;) {
        bool found = Find(cls, title) != nullptr;
        if (found != gone) {
            return 0;
        }
        if (static_cast<long>(GetTickCount() - start) >= ms) {
            return 1;
        }
        Sleep(50);
    }
}

int Filters(const char* category) {
    CLSID cat = {0x71985F48, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
    if (category != nullptr) {
        wchar_t wide[64];
        MultiByteToWideChar(CP_ACP, 0, category, -1, wide, 64);
        if (FAILED(CLSIDFromString(wide, &cat))) {
            return 2;
        }
    }
    CoInitialize(nullptr);
    ICreateDevEnum* devEnum = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ICreateDevEnum, reinterpret_cast<void**>(&devEnum)))) {
        return 1;
    }
    IEnumMoniker* monikers = nullptr;
    HRESULT hr = devEnum->CreateClassEnumerator(cat, &monikers, 0);
    devEnum->Release();
    if (hr != S_OK || monikers == nullptr) {
        return 0;  // an empty category
    }
    IMoniker* moniker = nullptr;
    while (monikers->Next(1, &moniker, nullptr) == S_OK) {
        IPropertyBag* bag = nullptr;
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                             reinterpret_cast<void**>(&bag)))) {
            VARIANT v;
            VariantInit(&v);
            v.vt = VT_BSTR;
            if (SUCCEEDED(bag->Read(L"FriendlyName", &v, nullptr))) {
                char name[256];
                WideCharToMultiByte(CP_ACP, 0, v.bstrVal, -1, name, sizeof name, nullptr, nullptr);
                IBaseFilter* filter = nullptr;
                bool binds = SUCCEEDED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                                             reinterpret_cast<void**>(&filter)));
                if (filter != nullptr) {
                    filter->Release();
                }
                std::printf("%s%s\n", name, binds ? "" : " (does not bind)");
                VariantClear(&v);
            }
            bag->Release();
        }
        moniker->Release();
    }
    monikers->Release();
    return 0;
}

int Idle(long ms) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "WProbeIdle";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, wc.lpszClassName, "wprobe idle", WS_OVERLAPPED, 0, 0, 10, 10,
                             nullptr, nullptr, wc.hInstance, nullptr);
    if (w == nullptr) {
        return 1;
    }
    SetTimer(w, 1, static_cast<UINT>(ms), nullptr);
    MSG m;
    while (IsWindow(w) && GetMessageA(&m, nullptr, 0, 0) > 0) {
        if (m.message == WM_TIMER && m.hwnd == w) {
            DestroyWindow(w);
            break;
        }
        DispatchMessageA(&m);
    }
    return 0;
}

int Handles(const char* exe) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return 1;
    }
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    DWORD pid = 0;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exe) == 0) {
            pid = entry.th32ProcessID;
            break;
        }
    }
    CloseHandle(snapshot);
    if (pid == 0) {
        return 1;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    DWORD count = 0;
    // A running process holds at least one handle: 0 means the count is not kept.
    bool counted = process != nullptr && GetProcessHandleCount(process, &count) && count != 0;
    if (process != nullptr) {
        CloseHandle(process);
    }
    if (counted) {
        std::printf("pid=%lu handles=%lu\n", pid, count);
    } else {
        std::printf("pid=%lu handles=not available\n", pid);
    }
    return 0;
}

int Usage() {
    std::fprintf(
        stderr,
        "usage: wprobe [--desktop NAME] list|find|wait|waitgone|visible|post|send|sendchild|sendid|"
        "setcursor|keys|foreground|activate|metrics|rect|info|idle|filters|handles ...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int i = 1;
    const char* desktop = std::getenv("WPROBE_DESKTOP");
    if (i + 1 < argc && std::strcmp(argv[i], "--desktop") == 0) {
        desktop = argv[i + 1];
        i += 2;
    }
    if (desktop != nullptr && desktop[0] != '\0') {
        HDESK d = OpenDesktopA(desktop, 0, FALSE, GENERIC_ALL);
        if (d == nullptr || !SetThreadDesktop(d)) {
            std::fprintf(stderr, "wprobe: cannot join desktop %s (error %lu)\n", desktop,
                         GetLastError());
            return 2;
        }
    }
    if (i >= argc) {
        return Usage();
    }
    const char* cmd = argv[i++];
    int n = argc - i;
    char** a = argv + i;

    if (std::strcmp(cmd, "list") == 0) {
        return List();
    }
    if (std::strcmp(cmd, "find") == 0 && n == 2) {
        HWND w = Find(a[0], a[1]);
        if (w == nullptr) {
            return 1;
        }
        std::printf("%p\n", static_cast<void*>(w));
        return 0;
    }
    if ((std::strcmp(cmd, "wait") == 0 || std::strcmp(cmd, "waitgone") == 0) && n == 3) {
        return Wait(a[0], a[1], Number(a[2]), cmd[4] == 'g');
    }
    if (std::strcmp(cmd, "visible") == 0 && n == 2) {
        HWND w = Find(a[0], a[1]);
        return (w != nullptr && IsWindowVisible(w)) ? 0 : 1;
    }
    if ((std::strcmp(cmd, "post") == 0 || std::strcmp(cmd, "send") == 0) && n == 5) {
        HWND w = Find(a[0], a[1]);
        if (w == nullptr) {
            return 1;
        }
        UINT msg = static_cast<UINT>(Number(a[2]));
        WPARAM wp = static_cast<WPARAM>(Number(a[3]));
        LPARAM lp = static_cast<LPARAM>(Number(a[4]));
        if (cmd[0] == 'p') {
            return PostMessageA(w, msg, wp, lp) ? 0 : 1;
        }
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(w, msg, wp, lp, SMTO_NORMAL, 5000, &result)) {
            return 1;
        }
        std::printf("%lu\n", static_cast<unsigned long>(result));
        return 0;
    }
    if (std::strcmp(cmd, "sendchild") == 0 && n == 6) {
        HWND w = Find(a[0], a[1]);
        HWND child = w != nullptr ? FindWindowExA(w, nullptr, a[2], nullptr) : nullptr;
        if (child == nullptr) {
            return 1;
        }
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(child, static_cast<UINT>(Number(a[3])),
                                 static_cast<WPARAM>(Number(a[4])),
                                 static_cast<LPARAM>(Number(a[5])), SMTO_NORMAL, 5000, &result)) {
            return 1;
        }
        std::printf("%lu\n", static_cast<unsigned long>(result));
        return 0;
    }
    if (std::strcmp(cmd, "sendid") == 0 && n == 6) {
        HWND w = Find(a[0], a[1]);
        HWND child = w != nullptr ? GetDlgItem(w, static_cast<int>(Number(a[2]))) : nullptr;
        if (child == nullptr) {
            return 1;
        }
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(child, static_cast<UINT>(Number(a[3])),
                                 static_cast<WPARAM>(Number(a[4])),
                                 static_cast<LPARAM>(Number(a[5])), SMTO_NORMAL, 5000, &result)) {
            return 1;
        }
        std::printf("%ld\n", static_cast<long>(result));
        return 0;
    }
    if (std::strcmp(cmd, "cursor") == 0 && n == 0) {
        POINT p;
        if (!GetCursorPos(&p)) {
            return 1;
        }
        std::printf("%ld %ld\n", p.x, p.y);
        return 0;
    }
    if (std::strcmp(cmd, "setcursor") == 0 && n == 2) {
        return SetCursorPos(static_cast<int>(Number(a[0])), static_cast<int>(Number(a[1]))) ? 0 : 1;
    }
    if (std::strcmp(cmd, "keys") == 0 && n >= 1) {
        for (int k = 0; k < n; ++k) {
            keybd_event(static_cast<BYTE>(Number(a[k])), 0, 0, 0);
        }
        for (int k = n - 1; k >= 0; --k) {
            keybd_event(static_cast<BYTE>(Number(a[k])), 0, KEYEVENTF_KEYUP, 0);
        }
        return 0;
    }
    if (std::strcmp(cmd, "foreground") == 0 && n == 0) {
        HWND w = GetForegroundWindow();
        if (w == nullptr) {
            return 1;
        }
        char cls[256] = {};
        char title[256] = {};
        GetClassNameA(w, cls, sizeof cls);
        GetWindowTextA(w, title, sizeof title);
        std::printf("class=\"%s\" title=\"%s\"\n", cls, title);
        return 0;
    }
    if (std::strcmp(cmd, "activate") == 0 && n == 2) {
        HWND w = Find(a[0], a[1]);
        return w != nullptr && SetForegroundWindow(w) ? 0 : 1;
    }
    if (std::strcmp(cmd, "metrics") == 0 && n == 0) {
        std::printf("%d %d %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                    GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN));
        return 0;
    }
    if (std::strcmp(cmd, "rect") == 0 && n == 2) {
        HWND w = Find(a[0], a[1]);
        RECT r;
        if (w == nullptr || !GetWindowRect(w, &r)) {
            return 1;
        }
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    if (std::strcmp(cmd, "info") == 0 && n == 2) {
        HWND w = Find(a[0], a[1]);
        if (w == nullptr) {
            return 1;
        }
        wchar_t wide[256] = {};
        char text[1024] = {};
        GetWindowTextW(w, wide, 256);
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        std::printf("exstyle=0x%08lx visible=%d text=\"%s\"\n",
                    static_cast<unsigned long>(GetWindowLongA(w, GWL_EXSTYLE)),
                    IsWindowVisible(w) ? 1 : 0, text);
        return 0;
    }
    if (std::strcmp(cmd, "idle") == 0 && n == 1) {
        return Idle(Number(a[0]));
    }
    if (std::strcmp(cmd, "filters") == 0 && n <= 1) {
        return Filters(n == 1 ? a[0] : nullptr);
    }
    if (std::strcmp(cmd, "handles") == 0 && n == 1) {
        return Handles(a[0]);
    }
    return Usage();
}
