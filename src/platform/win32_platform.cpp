#include "platform/win32_platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <dshow.h>
#include <setupapi.h>
// The MinGW HID headers declare C functions without extern "C".
extern "C" {
#include <hidsdi.h>
}
#include <wtsapi32.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstddef>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <map>
#include <string>
#include <utility>

namespace rc {
namespace {

static_assert(sizeof(GUID) == sizeof(Guid), "Guid must have GUID's layout");
// The record sizes the system relies on, on the 32-bit build.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88);
static_assert(sizeof(void*) != 4 || sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) == 5);
static_assert(sizeof(void*) != 4 || sizeof(OSVERSIONINFOEXA) == 156);
static_assert(sizeof(OSVERSIONINFOA) == 148);
static_assert(sizeof(NMHDR) == sizeof(NotifyHeader) &&
                  offsetof(NMHDR, code) == offsetof(NotifyHeader, code),
              "NotifyHeader must have NMHDR's layout");

HWND ToHwnd(Hwnd h) {
    return reinterpret_cast<HWND>(h);
}
Hwnd FromHwnd(HWND h) {
    return reinterpret_cast<Hwnd>(h);
}
template <typename T>
T To(Handle h) {
    return reinterpret_cast<T>(h);
}
template <typename T>
Handle FromPtr(T* p) {
    return reinterpret_cast<Handle>(p);
}

GUID ToGuid(const Guid& g) {
    GUID out;
    std::memcpy(&out, &g, sizeof out);
    return out;
}

// The predefined registry roots are 32-bit values with the top bit set
// (HKEY_LOCAL_MACHINE is 0x80000002); a 64-bit HKEY carries them sign-extended.
HKEY ToHkey(Handle h) {
    if constexpr (sizeof(Handle) > 4) {
        if (h >= 0x80000000u && h <= 0x800000FFu) {
            return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(
                static_cast<std::int32_t>(static_cast<std::uint32_t>(h))));
        }
    }
    return reinterpret_cast<HKEY>(h);
}

// --- Procedure trampolines -------------------------------------------------

// The main window class's procedure: one class, registered once.
struct MainProcRecord {
    WndProc proc = nullptr;
    void* ctx = nullptr;
};
MainProcRecord g_mainProc;

LRESULT CALLBACK MainWindowTrampoline(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (g_mainProc.proc == nullptr) {
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    return g_mainProc.proc(g_mainProc.ctx, FromHwnd(hwnd), msg, wParam, lParam);
}

// The procedures of the program's other window classes, by class atom.
std::map<ATOM, MainProcRecord> g_classProcs;

LRESULT CALLBACK ClassTrampoline(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto atom = static_cast<ATOM>(::GetClassLongPtrA(hwnd, GCW_ATOM));
    auto it = g_classProcs.find(atom);
    if (it == g_classProcs.end() || it->second.proc == nullptr) {
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    return it->second.proc(it->second.ctx, FromHwnd(hwnd), msg, wParam, lParam);
}

// Tab, the arrow keys, Enter and Esc move between the controls of a window
// of those classes, as in a dialog.
bool IsOwnWindowMessage(MSG& msg) {
    if (g_classProcs.empty() || msg.hwnd == nullptr) {
        return false;
    }
    HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    if (root == nullptr) {
        return false;
    }
    const auto atom = static_cast<ATOM>(::GetClassLongPtrA(root, GCW_ATOM));
    return g_classProcs.count(atom) != 0 && ::IsDialogMessageW(root, &msg) != FALSE;
}

// A dialog's procedure and context live on the stack of the DialogBoxParamA
// call that runs it, so nested dialogs each have their own. The record's
// address travels as the dialog's init parameter and is kept in DWLP_USER.
struct DialogRecord {
    DlgProc proc;
    void* ctx;
};

INT_PTR CALLBACK DialogTrampoline(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    DialogRecord* record = nullptr;
    if (msg == WM_INITDIALOG) {
        record = reinterpret_cast<DialogRecord*>(lParam);
        ::SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        lParam = 0;  // the system's dialogs are opened with parameter 0
    } else {
        record = reinterpret_cast<DialogRecord*>(::GetWindowLongPtrA(dlg, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT and the like) go unhandled.
    if (record == nullptr || record->proc == nullptr) {
        return FALSE;
    }
    return record->proc(record->ctx, FromHwnd(dlg), msg, wParam, lParam);
}

// Window timers by (window, id).
struct TimerRecord {
    TimerProc proc;
    void* ctx;
};
std::map<std::pair<HWND, UINT_PTR>, TimerRecord> g_timers;

VOID CALLBACK TimerTrampoline(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    auto it = g_timers.find({hwnd, id});
    if (it == g_timers.end()) {
        return;
    }
    // The callback may kill or re-set its own timer: call through a copy.
    const TimerRecord record = it->second;
    if (record.proc != nullptr) {
        record.proc(record.ctx, FromHwnd(hwnd), id);
    }
}

}  // namespace

Win32Platform::Win32Platform(Handle instance) : instance_(instance) {}

Win32Platform::~Win32Platform() {
    g_mainProc = {};
    g_classProcs.clear();
    g_timers.clear();
}

// --- Resources ---------------------------------------------------------------

int Win32Platform::LoadStringA(std::uint32_t id, char* buffer, int bufferMax) {
    return ::LoadStringA(To<HINSTANCE>(instance_), id, buffer, bufferMax);
}

Handle Win32Platform::LoadIconA(std::uint32_t id) {
    return FromPtr(::LoadIconA(To<HINSTANCE>(instance_), MAKEINTRESOURCEA(id)));
}

Handle Win32Platform::LoadAcceleratorsA(std::uint32_t id) {
    return FromPtr(::LoadAcceleratorsA(To<HINSTANCE>(instance_), MAKEINTRESOURCEA(id)));
}

// --- Main window and message loop --------------------------------------------

bool Win32Platform::RegisterMainClass(const char* className, std::uint32_t iconId, WndProc proc,
                                      void* ctx) {
    g_mainProc = {proc, ctx};
    HINSTANCE instance = To<HINSTANCE>(instance_);
    HICON icon = ::LoadIconA(instance, MAKEINTRESOURCEA(iconId));
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowTrampoline;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = className;
    wc.hIconSm = icon;
    return ::RegisterClassExA(&wc) != 0;
}

Hwnd Win32Platform::CreateMainWindow(const char* className, const char* title) {
    return FromHwnd(::CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                                      CW_USEDEFAULT, 0, nullptr, nullptr, To<HINSTANCE>(instance_),
                                      nullptr));
}

bool Win32Platform::ShowWindow(Hwnd hwnd, int cmdShow) {
    return ::ShowWindow(ToHwnd(hwnd), cmdShow) != FALSE;
}

bool Win32Platform::UpdateWindow(Hwnd hwnd) {
    return ::UpdateWindow(ToHwnd(hwnd)) != FALSE;
}

bool Win32Platform::DestroyWindow(Hwnd hwnd) {
    return ::DestroyWindow(ToHwnd(hwnd)) != FALSE;
}

std::intptr_t Win32Platform::DefWindowProcA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
    return ::DefWindowProcA(ToHwnd(hwnd), msg, wParam, lParam);
}

int Win32Platform::RunMessageLoop(Handle accelerators) {
    HACCEL accel = To<HACCEL>(accelerators);
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            break;
        }
        if (got == -1) {
            // Only an invalid argument makes GetMessageA fail; none is passed.
            return 0;
        }
        if (IsOwnWindowMessage(msg)) {
            continue;
        }
        if (::TranslateAcceleratorA(msg.hwnd, accel, &msg) == 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

void Win32Platform::PostQuitMessage(int exitCode) {
    ::PostQuitMessage(exitCode);
}

std::uint32_t Win32Platform::RegisterWindowMessageA(const char* name) {
    return ::RegisterWindowMessageA(name);
}

// --- Window search and activation ---------------------------------------------

Hwnd Win32Platform::FindWindowA(const char* className, const char* title) {
    return FromHwnd(::FindWindowA(className, title));
}

Hwnd Win32Platform::FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className,
                                  const char* title) {
    return FromHwnd(::FindWindowExA(ToHwnd(parent), ToHwnd(childAfter), className, title));
}

Hwnd Win32Platform::GetDesktopWindow() {
    return FromHwnd(::GetDesktopWindow());
}

Hwnd Win32Platform::GetWindow(Hwnd hwnd, std::uint32_t cmd) {
    return FromHwnd(::GetWindow(ToHwnd(hwnd), cmd));
}

int Win32Platform::GetClassNameA(Hwnd hwnd, char* buffer, int bufferMax) {
    return ::GetClassNameA(ToHwnd(hwnd), buffer, bufferMax);
}

int Win32Platform::GetWindowTextA(Hwnd hwnd, char* buffer, int bufferMax) {
    return ::GetWindowTextA(ToHwnd(hwnd), buffer, bufferMax);
}

bool Win32Platform::IsWindowVisible(Hwnd hwnd) {
    return ::IsWindowVisible(ToHwnd(hwnd)) != FALSE;
}

bool Win32Platform::IsWindow(Hwnd hwnd) {
    return ::IsWindow(ToHwnd(hwnd)) != FALSE;
}

bool Win32Platform::SetForegroundWindow(Hwnd hwnd) {
    return ::SetForegroundWindow(ToHwnd(hwnd)) != FALSE;
}

Hwnd Win32Platform::SetActiveWindow(Hwnd hwnd) {
    return FromHwnd(::SetActiveWindow(ToHwnd(hwnd)));
}

bool Win32Platform::BringWindowToTop(Hwnd hwnd) {
    return ::BringWindowToTop(ToHwnd(hwnd)) != FALSE;
}

Hwnd Win32Platform::GetForegroundWindow() {
    return FromHwnd(::GetForegroundWindow());
}

std::uint32_t Win32Platform::GetWindowThreadProcessId(Hwnd hwnd) {
    return ::GetWindowThreadProcessId(ToHwnd(hwnd), nullptr);
}

std::uint32_t Win32Platform::GetWindowProcessId(Hwnd hwnd) {
    DWORD processId = 0;
    if (::GetWindowThreadProcessId(ToHwnd(hwnd), &processId) == 0) {
        return 0;
    }
    return processId;
}

std::uint32_t Win32Platform::GetCurrentThreadId() {
    return ::GetCurrentThreadId();
}

bool Win32Platform::IsHungAppWindow(Hwnd hwnd) {
    return hwnd != 0 && ::IsHungAppWindow(ToHwnd(hwnd)) != FALSE;
}

bool Win32Platform::AttachThreadInput(std::uint32_t idAttach, std::uint32_t idAttachTo,
                                      bool attach) {
    return ::AttachThreadInput(idAttach, idAttachTo, attach ? TRUE : FALSE) != FALSE;
}

bool Win32Platform::SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                                 std::uint32_t flags) {
    return ::SetWindowPos(ToHwnd(hwnd), ToHwnd(insertAfter), x, y, cx, cy, flags) != FALSE;
}

bool Win32Platform::PostMessageA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    return ::PostMessageA(ToHwnd(hwnd), msg, wParam, lParam) != FALSE;
}

std::intptr_t Win32Platform::SendMessageA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                          std::intptr_t lParam) {
    return ::SendMessageA(ToHwnd(hwnd), msg, wParam, lParam);
}

// --- Input synthesis and screen --------------------------------------------------

void Win32Platform::keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                                std::uintptr_t extraInfo) {
    ::keybd_event(vk, scan, flags, extraInfo);
}

void Win32Platform::mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                                std::int32_t data, std::uintptr_t extraInfo) {
    ::mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), static_cast<DWORD>(data),
                  extraInfo);
}

std::intptr_t Win32Platform::GetMessageExtraInfo() {
    return ::GetMessageExtraInfo();
}

std::uint32_t Win32Platform::MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) {
    return ::MapVirtualKeyA(code, mapType);
}

bool Win32Platform::SetCursorPos(int x, int y) {
    return ::SetCursorPos(x, y) != FALSE;
}

bool Win32Platform::GetCursorPos(Point* point) {
    POINT p{};
    const bool ok = ::GetCursorPos(&p) != FALSE;
    if (point != nullptr) {
        point->x = p.x;
        point->y = p.y;
    }
    return ok;
}

int Win32Platform::GetSystemMetrics(int index) {
    return ::GetSystemMetrics(index);
}

// --- Timers, clock, pauses, trace ---------------------------------------------------

std::uintptr_t Win32Platform::SetTimer(Hwnd hwnd, std::uintptr_t id, std::uint32_t elapse,
                                       TimerProc proc, void* ctx) {
    HWND window = ToHwnd(hwnd);
    const UINT_PTR result = ::SetTimer(window, id, elapse, TimerTrampoline);
    if (result != 0) {
        // A window timer keeps the caller's id; a timer without a window gets
        // a new id from Windows.
        g_timers[{window, window != nullptr ? id : result}] = {proc, ctx};
    }
    return result;
}

bool Win32Platform::KillTimer(Hwnd hwnd, std::uintptr_t id) {
    g_timers.erase({ToHwnd(hwnd), id});
    return ::KillTimer(ToHwnd(hwnd), id) != FALSE;
}

std::uint32_t Win32Platform::GetTickCount() {
    return ::GetTickCount();
}

void Win32Platform::Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

void Win32Platform::OutputDebugStringA(const char* text) {
    ::OutputDebugStringA(text);
}

// --- Tray icon and popup menu ---------------------------------------------------------

bool Win32Platform::Shell_NotifyIconW(std::uint32_t message, const TrayIconData& data) {
    NOTIFYICONDATAW nid{};
    // 88 is the size of the first version of the ANSI record on a 32-bit
    // build: the wide record of the same version has its own size.
    DWORD size = data.cbSize;
    if (size == 88) {
        size = NOTIFYICONDATAW_V1_SIZE;
    }
    if (size > sizeof nid) {
        size = sizeof nid;
    }
    nid.cbSize = size;
    nid.hWnd = ToHwnd(data.hWnd);
    nid.uID = data.uID;
    nid.uFlags = data.uFlags;
    nid.uCallbackMessage = data.uCallbackMessage;
    nid.hIcon = To<HICON>(data.hIcon);
    // The first version's tip holds 64 characters with the terminator.
    static_assert(sizeof nid.szTip / sizeof nid.szTip[0] >= sizeof data.szTip);
    const int length = static_cast<int>(strnlen(data.szTip, sizeof data.szTip));
    const int written = ::MultiByteToWideChar(CP_UTF8, 0, data.szTip, length, nid.szTip,
                                              static_cast<int>(sizeof data.szTip) - 1);
    nid.szTip[written > 0 ? written : 0] = L'\0';
    return ::Shell_NotifyIconW(message, &nid) != FALSE;
}

Handle Win32Platform::CreatePopupMenu() {
    return FromPtr(::CreatePopupMenu());
}

bool Win32Platform::AppendMenuA(Handle menu, std::uint32_t flags, std::uintptr_t id,
                                const char* text) {
    return ::AppendMenuA(To<HMENU>(menu), flags, id, text) != FALSE;
}

bool Win32Platform::DestroyMenu(Handle menu) {
    return ::DestroyMenu(To<HMENU>(menu)) != FALSE;
}

int Win32Platform::TrackPopupMenu(Handle menu, std::uint32_t flags, int x, int y, Hwnd owner) {
    return ::TrackPopupMenu(To<HMENU>(menu), flags, x, y, 0, ToHwnd(owner), nullptr);
}

// --- Dialogs and message boxes -----------------------------------------------------------

std::intptr_t Win32Platform::DialogBoxParamA(std::uint32_t templateId, Hwnd owner, DlgProc proc,
                                             void* ctx) {
    DialogRecord record{proc, ctx};
    return ::DialogBoxParamA(To<HINSTANCE>(instance_), MAKEINTRESOURCEA(templateId), ToHwnd(owner),
                             DialogTrampoline, reinterpret_cast<LPARAM>(&record));
}

bool Win32Platform::EndDialog(Hwnd dlg, std::intptr_t result) {
    return ::EndDialog(ToHwnd(dlg), result) != FALSE;
}

std::intptr_t Win32Platform::SendDlgItemMessageA(Hwnd dlg, int itemId, std::uint32_t msg,
                                                 std::uintptr_t wParam, std::intptr_t lParam) {
    return ::SendDlgItemMessageA(ToHwnd(dlg), itemId, msg, wParam, lParam);
}

int Win32Platform::MessageBoxA(Hwnd owner, const char* text, const char* caption,
                               std::uint32_t type) {
    return ::MessageBoxA(ToHwnd(owner), text, caption, type);
}

// --- Shell, system information, shutdown ---------------------------------------------------

std::intptr_t Win32Platform::ShellExecuteA(Hwnd owner, const char* verb, const char* file,
                                           const char* parameters, const char* directory,
                                           int showCmd) {
    return reinterpret_cast<std::intptr_t>(
        ::ShellExecuteA(ToHwnd(owner), verb, file, parameters, directory, showCmd));
}

bool Win32Platform::GetVersionExA(OsVersion* version, bool extended) {
    BOOL ok = FALSE;
    DWORD major = 0, minor = 0, build = 0, platformId = 0;
    if (extended) {
        OSVERSIONINFOEXA info{};
        info.dwOSVersionInfoSize = sizeof info;  // 156
        ok = ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
        major = info.dwMajorVersion;
        minor = info.dwMinorVersion;
        build = info.dwBuildNumber;
        platformId = info.dwPlatformId;
    } else {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;  // 148
        ok = ::GetVersionExA(&info);
        major = info.dwMajorVersion;
        minor = info.dwMinorVersion;
        build = info.dwBuildNumber;
        platformId = info.dwPlatformId;
    }
    if (ok && version != nullptr) {
        version->major = major;
        version->minor = minor;
        version->build = build;
        version->platformId = platformId;
    }
    return ok != FALSE;
}

std::uint32_t Win32Platform::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    return ::GetWindowsDirectoryA(buffer, size);
}

std::uint32_t Win32Platform::GetSystemDirectoryA(char* buffer, std::uint32_t size) {
    return ::GetSystemDirectoryA(buffer, size);
}

std::uint32_t Win32Platform::GetFileAttributesA(const char* path) {
    return ::GetFileAttributesA(path);
}

bool Win32Platform::OpenProcessToken(Handle* token) {
    HANDLE handle = nullptr;
    const BOOL ok =
        ::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &handle);
    if (token != nullptr) {
        *token = ok ? FromPtr(handle) : 0;
    }
    return ok != FALSE;
}

std::uint32_t Win32Platform::AdjustShutdownPrivilege(Handle token) {
    TOKEN_PRIVILEGES tp{};
    ::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &tp.Privileges[0].Luid);
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    ::AdjustTokenPrivileges(To<HANDLE>(token), FALSE, &tp, 0, nullptr, nullptr);
    return ::GetLastError();
}

bool Win32Platform::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    return ::ExitWindowsEx(flags, reason) != FALSE;
}

bool Win32Platform::CloseHandle(Handle handle) {
    return ::CloseHandle(To<HANDLE>(handle)) != FALSE;
}

long Win32Platform::SHGetFolderPathA(int csidl, char* path) {
    path[0] = '\0';
    HRESULT result = ::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    if (result != S_OK) {
        path[0] = '\0';
    }
    return result;
}

namespace {

void ToFileInfo(const WIN32_FILE_ATTRIBUTE_DATA& data, FileInfo* info) {
    info->attributes = data.dwFileAttributes;
    info->lastWriteTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                          data.ftLastWriteTime.dwLowDateTime;
    info->size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

bool Win32Platform::GetFileAttributesExA(const char* path, FileInfo* info) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        return false;
    }
    ToFileInfo(data, info);
    return true;
}

// --- Registry ---------------------------------------------------------------------------------

long Win32Platform::RegOpenKeyExA(Handle root, const char* subKey, std::uint32_t access,
                                  Handle* key) {
    HKEY out = nullptr;
    const LONG result = ::RegOpenKeyExA(ToHkey(root), subKey, 0, access, &out);
    if (key != nullptr) {
        *key = result == ERROR_SUCCESS ? FromPtr(out) : 0;
    }
    return result;
}

long Win32Platform::RegCreateKeyExA(Handle root, const char* subKey, std::uint32_t access,
                                    Handle* key) {
    HKEY out = nullptr;
    const LONG result =
        ::RegCreateKeyExA(ToHkey(root), subKey, 0, nullptr, 0, access, nullptr, &out, nullptr);
    if (key != nullptr) {
        *key = result == ERROR_SUCCESS ? FromPtr(out) : 0;
    }
    return result;
}

long Win32Platform::RegEnumKeyExA(Handle key, std::uint32_t index, char* name,
                                  std::uint32_t* nameSize) {
    DWORD size = nameSize != nullptr ? *nameSize : 0;
    const LONG result =
        ::RegEnumKeyExA(ToHkey(key), index, name, nameSize != nullptr ? &size : nullptr, nullptr,
                        nullptr, nullptr, nullptr);
    if (nameSize != nullptr) {
        *nameSize = size;
    }
    return result;
}

long Win32Platform::RegQueryValueExA(Handle key, const char* valueName, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* size) {
    DWORD typeOut = 0;
    DWORD sizeInOut = size != nullptr ? *size : 0;
    const LONG result =
        ::RegQueryValueExA(ToHkey(key), valueName, nullptr, type != nullptr ? &typeOut : nullptr,
                           data, size != nullptr ? &sizeInOut : nullptr);
    if (type != nullptr) {
        *type = typeOut;
    }
    if (size != nullptr) {
        *size = sizeInOut;
    }
    return result;
}

long Win32Platform::RegSetValueExA(Handle key, const char* valueName, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
    return ::RegSetValueExA(ToHkey(key), valueName, 0, type, data, size);
}

long Win32Platform::RegFlushKey(Handle key) {
    return ::RegFlushKey(ToHkey(key));
}

long Win32Platform::RegCloseKey(Handle key) {
    return ::RegCloseKey(ToHkey(key));
}

// --- COM and DirectShow device enumeration ---------------------------------------------------

long Win32Platform::CoInitialize() {
    return ::CoInitialize(nullptr);
}

void Win32Platform::CoUninitialize() {
    ::CoUninitialize();
}

Handle Win32Platform::OpenDeviceCategory(const Guid& category) {
    ICreateDevEnum* devices = nullptr;
    HRESULT hr = ::CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_ICreateDevEnum, reinterpret_cast<void**>(&devices));
    if (FAILED(hr) || devices == nullptr) {
        return 0;
    }
    IEnumMoniker* monikers = nullptr;
    const GUID guid = ToGuid(category);
    hr = devices->CreateClassEnumerator(guid, &monikers, 0);
    devices->Release();
    // An empty category gives S_FALSE and no enumerator.
    if (hr != S_OK || monikers == nullptr) {
        if (monikers != nullptr) {
            monikers->Release();
        }
        return 0;
    }
    monikers->Reset();
    return FromPtr(monikers);
}

Handle Win32Platform::NextDeviceMoniker(Handle enumerator) {
    if (enumerator == 0) {
        return 0;
    }
    IMoniker* moniker = nullptr;
    const HRESULT hr = To<IEnumMoniker*>(enumerator)->Next(1, &moniker, nullptr);
    if (hr != S_OK || moniker == nullptr) {
        if (moniker != nullptr) {
            moniker->Release();
        }
        return 0;
    }
    return FromPtr(moniker);
}

bool Win32Platform::ReadFriendlyName(Handle moniker, char* buffer, int bufferSize) {
    if (moniker == 0 || buffer == nullptr || bufferSize <= 0) {
        return false;
    }
    buffer[0] = '\0';
    IPropertyBag* bag = nullptr;
    HRESULT hr = To<IMoniker*>(moniker)->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                                       reinterpret_cast<void**>(&bag));
    if (FAILED(hr) || bag == nullptr) {
        return false;
    }
    // Zeroed in full: VariantInit on Windows 7 and older sets only the type,
    // and a Read that fails leaves the VARIANT as it was. The type is not
    // preset, so the bag gives the stored one; a name of another type counts
    // as none.
    VARIANT name;
    std::memset(&name, 0, sizeof name);
    hr = bag->Read(L"FriendlyName", &name, nullptr);
    const bool filled = SUCCEEDED(hr);
    const bool ok = filled && name.vt == VT_BSTR && name.bstrVal != nullptr;
    if (ok) {
        // Convert in full, then keep what fits: a name longer than the buffer
        // arrives cut, never unterminated.
        const int needed =
            ::WideCharToMultiByte(CP_ACP, 0, name.bstrVal, -1, nullptr, 0, nullptr, nullptr);
        if (needed > 0) {
            std::string text(static_cast<std::size_t>(needed), '\0');
            ::WideCharToMultiByte(CP_ACP, 0, name.bstrVal, -1, text.data(), needed, nullptr,
                                  nullptr);
            const std::size_t length = std::strlen(text.c_str());
            const std::size_t kept = length < static_cast<std::size_t>(bufferSize - 1)
                                         ? length
                                         : static_cast<std::size_t>(bufferSize - 1);
            std::memcpy(buffer, text.data(), kept);
            buffer[kept] = '\0';
        }
    }
    if (filled) {
        ::VariantClear(&name);
    }
    bag->Release();
    return ok;
}

Handle Win32Platform::BindFilter(Handle moniker) {
    if (moniker == 0) {
        return 0;
    }
    IBaseFilter* filter = nullptr;
    const HRESULT hr = To<IMoniker*>(moniker)->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                                            reinterpret_cast<void**>(&filter));
    if (FAILED(hr) || filter == nullptr) {
        return 0;
    }
    return FromPtr(filter);
}

void Win32Platform::ReleaseMoniker(Handle moniker) {
    if (moniker != 0) {
        To<IMoniker*>(moniker)->Release();
    }
}

void Win32Platform::ReleaseDeviceCategory(Handle enumerator) {
    if (enumerator != 0) {
        To<IEnumMoniker*>(enumerator)->Release();
    }
}

void Win32Platform::ReleaseFilterObject(Handle filter) {
    if (filter != 0) {
        To<IBaseFilter*>(filter)->Release();
    }
}

// --- Device setup and HID ------------------------------------------------------------------------

namespace {

bool EnumInterface(Handle deviceInfoSet, const Guid& guid, std::uint32_t index,
                   SP_DEVICE_INTERFACE_DATA* data) {
    GUID g = ToGuid(guid);
    *data = {};
    data->cbSize = sizeof *data;
    return ::SetupDiEnumDeviceInterfaces(To<HDEVINFO>(deviceInfoSet), nullptr, &g, index, data) !=
           FALSE;
}

}  // namespace

void Win32Platform::HidD_GetHidGuid(Guid* guid) {
    GUID g{};
    ::HidD_GetHidGuid(&g);
    if (guid != nullptr) {
        std::memcpy(guid, &g, sizeof g);
    }
}

Handle Win32Platform::SetupDiGetClassDevsA(const Guid& guid, std::uint32_t flags) {
    const GUID g = ToGuid(guid);
    HDEVINFO set = ::SetupDiGetClassDevsA(&g, nullptr, nullptr, flags);
    return set == INVALID_HANDLE_VALUE ? kInvalidHandle : FromPtr(set);
}

bool Win32Platform::SetupDiEnumDeviceInterfaces(Handle deviceInfoSet, const Guid& guid,
                                                std::uint32_t index) {
    SP_DEVICE_INTERFACE_DATA data;
    return EnumInterface(deviceInfoSet, guid, index, &data);
}

std::uint32_t Win32Platform::GetDeviceInterfaceDetailSize(Handle deviceInfoSet, const Guid& guid,
                                                          std::uint32_t index) {
    SP_DEVICE_INTERFACE_DATA data;
    if (!EnumInterface(deviceInfoSet, guid, index, &data)) {
        return 0;
    }
    DWORD required = 0;
    // Without a buffer the call fails with ERROR_INSUFFICIENT_BUFFER and
    // reports the size it needs.
    ::SetupDiGetDeviceInterfaceDetailA(To<HDEVINFO>(deviceInfoSet), &data, nullptr, 0, &required,
                                       nullptr);
    return required;
}

bool Win32Platform::GetDeviceInterfaceDetail(Handle deviceInfoSet, const Guid& guid,
                                             std::uint32_t index, void* detail,
                                             std::uint32_t detailSize, char* path,
                                             std::uint32_t pathMax) {
    if (path != nullptr && pathMax > 0) {
        path[0] = '\0';
    }
    if (detail == nullptr || detailSize < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) {
        return false;
    }
    SP_DEVICE_INTERFACE_DATA data;
    if (!EnumInterface(deviceInfoSet, guid, index, &data)) {
        return false;
    }
    auto* record = static_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(detail);
    record->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);  // 5 on a 32-bit build
    if (!::SetupDiGetDeviceInterfaceDetailA(To<HDEVINFO>(deviceInfoSet), &data, record, detailSize,
                                            nullptr, nullptr)) {
        return false;
    }
    if (path != nullptr && pathMax > 0) {
        const std::size_t room =
            detailSize - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
        const std::size_t length = strnlen(record->DevicePath, room);
        const std::size_t kept = length < pathMax - 1 ? length : pathMax - 1;
        std::memcpy(path, record->DevicePath, kept);
        path[kept] = '\0';
    }
    return true;
}

bool Win32Platform::SetupDiDestroyDeviceInfoList(Handle deviceInfoSet) {
    return ::SetupDiDestroyDeviceInfoList(To<HDEVINFO>(deviceInfoSet)) != FALSE;
}

Handle Win32Platform::CreateFileA(const char* path, std::uint32_t access, std::uint32_t shareMode,
                                  std::uint32_t disposition, std::uint32_t flags) {
    HANDLE file = ::CreateFileA(path, access, shareMode, nullptr, disposition, flags, nullptr);
    return file == INVALID_HANDLE_VALUE ? kInvalidHandle : FromPtr(file);
}

bool Win32Platform::HidD_GetPreparsedData(Handle device, Handle* preparsed) {
    PHIDP_PREPARSED_DATA data = nullptr;
    const bool ok = ::HidD_GetPreparsedData(To<HANDLE>(device), &data) != FALSE;
    if (preparsed != nullptr) {
        *preparsed = ok ? FromPtr(data) : 0;
    }
    return ok;
}

long Win32Platform::HidP_GetCaps(Handle preparsed, HidCaps* caps) {
    HIDP_CAPS out{};
    const NTSTATUS status = ::HidP_GetCaps(To<PHIDP_PREPARSED_DATA>(preparsed), &out);
    if (caps != nullptr) {
        caps->usage = out.Usage;
        caps->usagePage = out.UsagePage;
    }
    return status;
}

bool Win32Platform::HidD_FreePreparsedData(Handle preparsed) {
    return ::HidD_FreePreparsedData(To<PHIDP_PREPARSED_DATA>(preparsed)) != FALSE;
}

bool Win32Platform::HidD_GetFeature(Handle device, std::uint8_t* report, std::uint32_t length) {
    return ::HidD_GetFeature(To<HANDLE>(device), report, length) != FALSE;
}

// --- Libraries
// ------------------------------------------------------------------------------------

Handle Win32Platform::LoadLibraryA(const char* name) {
    return FromPtr(::LoadLibraryA(name));
}

void* Win32Platform::GetProcAddress(Handle module, const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(To<HMODULE>(module), name));
}

namespace {

// An export of a system DLL that older Windows versions lack: looked up at
// run time, so that the program still starts there.
template <typename Fn>
Fn SystemExport(const char* dll, const char* name) {
    HMODULE module = ::GetModuleHandleA(dll);
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

bool Win32Platform::SetDefaultDllDirectories(std::uint32_t directoryFlags) {
    using Fn = BOOL(WINAPI*)(DWORD);
    const Fn set = SystemExport<Fn>("kernel32.dll", "SetDefaultDllDirectories");
    return set != nullptr && set(directoryFlags) != FALSE;
}

bool Win32Platform::SetDllDirectoryA(const char* path) {
    return ::SetDllDirectoryA(path) != FALSE;
}

bool Win32Platform::ChangeWindowMessageFilterEx(Hwnd hwnd, std::uint32_t message,
                                                std::uint32_t action) {
    using Fn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    const Fn change = SystemExport<Fn>("user32.dll", "ChangeWindowMessageFilterEx");
    return change != nullptr && change(ToHwnd(hwnd), message, action, nullptr) != FALSE;
}

// --- The program's folder, folders and copies -----------------------------------------------

std::uint32_t Win32Platform::GetModuleFileNameA(char* buffer, std::uint32_t size) {
    return ::GetModuleFileNameA(nullptr, buffer, size);
}

bool Win32Platform::CreateDirectoryA(const char* path) {
    return ::CreateDirectoryA(path, nullptr) != FALSE;
}

bool Win32Platform::CopyFileA(const char* existingFile, const char* newFile, bool failIfExists) {
    return ::CopyFileA(existingFile, newFile, failIfExists ? TRUE : FALSE) != FALSE;
}

// --- Sessions -----------------------------------------------------------------------------

bool Win32Platform::WTSRegisterSessionNotification(Hwnd hwnd, std::uint32_t flags) {
    return ::WTSRegisterSessionNotification(ToHwnd(hwnd), flags) != FALSE;
}

bool Win32Platform::WTSUnRegisterSessionNotification(Hwnd hwnd) {
    return ::WTSUnRegisterSessionNotification(ToHwnd(hwnd)) != FALSE;
}

std::uint32_t Win32Platform::WTSGetActiveConsoleSessionId() {
    return ::WTSGetActiveConsoleSessionId();
}

std::uint32_t Win32Platform::GetCurrentProcessId() {
    return ::GetCurrentProcessId();
}

bool Win32Platform::ProcessIdToSessionId(std::uint32_t processId, std::uint32_t* sessionId) {
    DWORD session = 0;
    if (sessionId == nullptr || !::ProcessIdToSessionId(processId, &session)) {
        return false;
    }
    *sessionId = session;
    return true;
}

// --- On-screen display ---------------------------------------------------------------------------

namespace {

constexpr COLORREF kPanelText = RGB(240, 240, 240);
constexpr COLORREF kPanelBack = RGB(24, 24, 24);

// The panel font for a panel of this height, made once per height (a
// panel keeps its height while the monitor does).
HFONT PanelFont(int panelHeight) {
    static std::map<int, HFONT> fonts;
    auto it = fonts.find(panelHeight);
    if (it != fonts.end()) {
        return it->second;
    }
    const int pixels = panelHeight * 5 / 8;
    HFONT font = ::CreateFontW(-pixels, 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                               DEFAULT_PITCH | FF_SWISS, L"Segoe UI");
    if (font != nullptr) {
        fonts[panelHeight] = font;
    }
    return font;
}

void PaintPanel(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    RECT client;
    ::GetClientRect(hwnd, &client);
    HBRUSH back = ::CreateSolidBrush(kPanelBack);
    ::FillRect(dc, &client, back);
    ::DeleteObject(back);
    wchar_t text[256];
    const int length = ::GetWindowTextW(hwnd, text, 256);
    HGDIOBJ oldFont = ::SelectObject(dc, PanelFont(client.bottom - client.top));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kPanelText);
    ::DrawTextW(dc, text, length, &client,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(dc, oldFont);
    ::EndPaint(hwnd, &ps);
}

// The panel never takes a click or the activation: the mouse goes through
// to the window below it.
LRESULT CALLBACK TextPanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            PaintPanel(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_SETTEXT: {
            const LRESULT result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
            ::InvalidateRect(hwnd, nullptr, FALSE);
            return result;
        }
        default:
            return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

bool Win32Platform::GetMonitorWorkArea(Hwnd hwnd, Rect* work) {
    HMONITOR monitor = ::MonitorFromWindow(ToHwnd(hwnd), MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (work == nullptr || !::GetMonitorInfoA(monitor, &info)) {
        return false;
    }
    *work = {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    return true;
}

Hwnd Win32Platform::CreateTextPanel(const char* className, std::uint32_t exStyle, Hwnd owner) {
    HINSTANCE instance = To<HINSTANCE>(instance_);
    std::wstring wideClass;
    for (const char* c = className; c != nullptr && *c != '\0'; ++c) {
        wideClass += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    }
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!::GetClassInfoExW(instance, wideClass.c_str(), &existing)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = TextPanelProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        wc.lpszClassName = wideClass.c_str();
        if (::RegisterClassExW(&wc) == 0) {
            return 0;
        }
    }
    return FromHwnd(::CreateWindowExW(exStyle, wideClass.c_str(), L"", WS_POPUP, 0, 0, 0, 0,
                                      ToHwnd(owner), nullptr, instance, nullptr));
}

int Win32Platform::MeasurePanelText(const char16_t* text, int panelHeight) {
    if (text == nullptr) {
        return 0;
    }
    HDC dc = ::GetDC(nullptr);
    if (dc == nullptr) {
        return 0;
    }
    HGDIOBJ oldFont = ::SelectObject(dc, PanelFont(panelHeight));
    const auto* wide = reinterpret_cast<const wchar_t*>(text);
    SIZE size{};
    const BOOL ok = ::GetTextExtentPoint32W(dc, wide, static_cast<int>(std::wcslen(wide)), &size);
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(nullptr, dc);
    return ok ? size.cx : 0;
}

bool Win32Platform::SetLayeredWindowAttributes(Hwnd hwnd, std::uint32_t colorKey,
                                               std::uint8_t alpha, std::uint32_t flags) {
    return ::SetLayeredWindowAttributes(ToHwnd(hwnd), colorKey, alpha, flags) != FALSE;
}

// --- Wide-character calls, the key-map file -----------------------------------------------------

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the W calls take UTF-16");

namespace {

const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}
wchar_t* Wide(char16_t* text) {
    return reinterpret_cast<wchar_t*>(text);
}

}  // namespace

long Win32Platform::SHGetFolderPathW(int csidl, char16_t* path) {
    path[0] = u'\0';
    HRESULT result = ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, Wide(path));
    if (result != S_OK) {
        path[0] = u'\0';
    }
    return result;
}

bool Win32Platform::GetFileAttributesExW(const char16_t* path, FileInfo* info) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data)) {
        return false;
    }
    ToFileInfo(data, info);
    return true;
}

std::uint32_t Win32Platform::ReadWholeFileW(const char16_t* path, std::uint8_t* buffer,
                                            std::uint32_t size, std::uint32_t* read) {
    *read = 0;
    HANDLE file = ::CreateFileW(Wide(path), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return ::GetLastError();
    }
    std::uint32_t total = 0;
    DWORD error = ERROR_SUCCESS;
    while (total < size) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer + total, size - total, &got, nullptr)) {
            error = ::GetLastError();
            break;
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    ::CloseHandle(file);
    *read = error == ERROR_SUCCESS ? total : 0;
    return error;
}

std::uint32_t Win32Platform::WriteWholeFileW(const char16_t* path, const std::uint8_t* bytes,
                                             std::uint32_t size) {
    std::u16string temporary = path;
    temporary += u".new";
    HANDLE file = ::CreateFileW(Wide(temporary.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return ::GetLastError();
    }
    DWORD error = ERROR_SUCCESS;
    std::uint32_t total = 0;
    while (total < size && error == ERROR_SUCCESS) {
        DWORD written = 0;
        if (!::WriteFile(file, bytes + total, size - total, &written, nullptr)) {
            error = ::GetLastError();
        } else if (written == 0) {
            error = ERROR_DISK_FULL;  // no progress: never loop forever
        }
        total += written;
    }
    if (error == ERROR_SUCCESS && !::FlushFileBuffers(file)) {
        error = ::GetLastError();
    }
    ::CloseHandle(file);
    if (error == ERROR_SUCCESS &&
        !::MoveFileExW(Wide(temporary.c_str()), Wide(path),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = ::GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        ::DeleteFileW(Wide(temporary.c_str()));
    }
    return error;
}

int Win32Platform::MultiByteToWideChar(std::uint32_t codePage, const char* text, int length,
                                       char16_t* out, int outMax) {
    return ::MultiByteToWideChar(codePage, 0, text, length, Wide(out), outMax);
}

int Win32Platform::WideCharToMultiByte(std::uint32_t codePage, const char16_t* text, int length,
                                       char* out, int outMax, bool* usedDefaultChar) {
    BOOL usedDefault = FALSE;
    int count = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, Wide(text), length, out,
                                      outMax, nullptr, &usedDefault);
    *usedDefaultChar = usedDefault != FALSE;
    return count;
}

int Win32Platform::GetWindowTextW(Hwnd hwnd, char16_t* buffer, int bufferMax) {
    return ::GetWindowTextW(ToHwnd(hwnd), Wide(buffer), bufferMax);
}

int Win32Platform::GetClassNameW(Hwnd hwnd, char16_t* buffer, int bufferMax) {
    return ::GetClassNameW(ToHwnd(hwnd), Wide(buffer), bufferMax);
}

int Win32Platform::GetProcessImageNameW(std::uint32_t processId, char16_t* buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax <= 0) {
        return 0;
    }
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        return 0;
    }
    DWORD size = static_cast<DWORD>(bufferMax);
    BOOL ok = ::QueryFullProcessImageNameW(process, 0, Wide(buffer), &size);
    ::CloseHandle(process);
    if (!ok) {
        buffer[0] = u'\0';
        return 0;
    }
    return static_cast<int>(size);
}

std::intptr_t Win32Platform::ShellExecuteW(Hwnd owner, const char16_t* verb, const char16_t* file,
                                           const char16_t* parameters, const char16_t* directory,
                                           int showCmd) {
    return reinterpret_cast<std::intptr_t>(::ShellExecuteW(
        ToHwnd(owner), Wide(verb), Wide(file), Wide(parameters), Wide(directory), showCmd));
}

std::uint32_t Win32Platform::GetLastError() {
    return ::GetLastError();
}

std::uint32_t Win32Platform::SendInput(const KeyInput* inputs, std::uint32_t count) {
    constexpr std::uint32_t kMaxInputs = 16;
    if (count > kMaxInputs) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    INPUT records[kMaxInputs] = {};
    for (std::uint32_t i = 0; i < count; ++i) {
        records[i].type = INPUT_KEYBOARD;
        records[i].ki.wVk = inputs[i].vk;
        records[i].ki.wScan = inputs[i].scan;
        records[i].ki.dwFlags = inputs[i].flags;
    }
    return ::SendInput(count, records, sizeof(INPUT));
}

// --- Windows of the program's own classes, their controls, the clipboard ---------

bool Win32Platform::RegisterWindowClass(const char* className, std::uint32_t iconId, WndProc proc,
                                        void* ctx) {
    HINSTANCE instance = To<HINSTANCE>(instance_);
    HICON icon = ::LoadIconA(instance, MAKEINTRESOURCEA(iconId));
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ClassTrampoline;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = className;
    wc.hIconSm = icon;
    const ATOM atom = ::RegisterClassExA(&wc);
    if (atom == 0) {
        return false;
    }
    g_classProcs[atom] = {proc, ctx};
    return true;
}

Hwnd Win32Platform::CreateWindowExA(std::uint32_t exStyle, const char* className, const char* title,
                                    std::uint32_t style, int x, int y, int width, int height,
                                    Hwnd parent, std::uint32_t id) {
    HMENU menu =
        (style & WS_CHILD) != 0 ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    return FromHwnd(::CreateWindowExA(exStyle, className, title, style, x, y, width, height,
                                      ToHwnd(parent), menu, To<HINSTANCE>(instance_), nullptr));
}

Hwnd Win32Platform::SetFocus(Hwnd hwnd) {
    return FromHwnd(::SetFocus(ToHwnd(hwnd)));
}

bool Win32Platform::SetWindowTextW(Hwnd hwnd, const char16_t* text) {
    return ::SetWindowTextW(ToHwnd(hwnd), Wide(text)) != FALSE;
}

bool Win32Platform::GetWindowRect(Hwnd hwnd, Rect* rect) {
    RECT r{};
    if (rect == nullptr || !::GetWindowRect(ToHwnd(hwnd), &r)) {
        return false;
    }
    *rect = {r.left, r.top, r.right, r.bottom};
    return true;
}

bool Win32Platform::InitCommonControlsEx(std::uint32_t classes) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = classes;
    return ::InitCommonControlsEx(&icc) != FALSE;
}

int Win32Platform::ListViewInsertColumnW(Hwnd list, int index, const char16_t* text, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(Wide(text));
    return static_cast<int>(::SendMessageW(ToHwnd(list), LVM_INSERTCOLUMNW,
                                           static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(&column)));
}

int Win32Platform::ListViewInsertItemW(Hwnd list, int index, const char16_t* text) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(Wide(text));
    return static_cast<int>(
        ::SendMessageW(ToHwnd(list), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool Win32Platform::ListViewSetItemTextW(Hwnd list, int item, int subItem, const char16_t* text) {
    LVITEMW record{};
    record.iSubItem = subItem;
    record.pszText = const_cast<wchar_t*>(Wide(text));
    return ::SendMessageW(ToHwnd(list), LVM_SETITEMTEXTW, static_cast<WPARAM>(item),
                          reinterpret_cast<LPARAM>(&record)) != FALSE;
}

bool Win32Platform::ListViewSelectItem(Hwnd list, int item) {
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    const HWND h = ToHwnd(list);
    if (!::SendMessageW(h, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(&none))) {
        return false;
    }
    if (item < 0) {
        return true;
    }
    LVITEMW chosen{};
    chosen.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    chosen.state = LVIS_SELECTED | LVIS_FOCUSED;
    return ::SendMessageW(h, LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                          reinterpret_cast<LPARAM>(&chosen)) != FALSE;
}

std::intptr_t Win32Platform::SendMessageTextW(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                              const char16_t* text) {
    return ::SendMessageW(ToHwnd(hwnd), msg, wParam, reinterpret_cast<LPARAM>(Wide(text)));
}

int Win32Platform::MessageBoxW(Hwnd owner, const char16_t* text, const char16_t* caption,
                               std::uint32_t type) {
    return ::MessageBoxW(ToHwnd(owner), Wide(text), Wide(caption), type);
}

bool Win32Platform::SetMinTrackSize(std::intptr_t minMaxInfo, int width, int height) {
    auto* info = reinterpret_cast<MINMAXINFO*>(minMaxInfo);
    if (info == nullptr) {
        return false;
    }
    info->ptMinTrackSize.x = width;
    info->ptMinTrackSize.y = height;
    return true;
}

bool Win32Platform::SetClipboardTextW(Hwnd owner, const char16_t* text) {
    std::size_t length = 0;
    while (text[length] != u'\0') {
        ++length;
    }
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (length + 1) * sizeof(wchar_t));
    if (memory == nullptr) {
        return false;
    }
    void* bytes = ::GlobalLock(memory);
    if (bytes == nullptr) {
        ::GlobalFree(memory);
        return false;
    }
    std::memcpy(bytes, text, (length + 1) * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    if (!::OpenClipboard(ToHwnd(owner))) {
        ::GlobalFree(memory);
        return false;
    }
    // Once SetClipboardData has it, the memory is the clipboard's.
    const bool set = ::EmptyClipboard() && ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!set) {
        ::GlobalFree(memory);
    }
    ::CloseClipboard();
    return set;
}

void Win32Platform::GetLocalTime(LocalTime* time) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    *time = {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

Handle Win32Platform::CreateMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return 0;
    }
    return FromPtr(::CreateFontIndirectW(&metrics.lfMessageFont));
}

bool Win32Platform::DeleteObject(Handle object) {
    return ::DeleteObject(To<HGDIOBJ>(object)) != FALSE;
}

int Win32Platform::GetScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) {
        return 96;
    }
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

// --- Other programs' windows, picking a program ----------------------------------------------

std::uint32_t Win32Platform::GetWindowLongA(Hwnd hwnd, int index) {
    return static_cast<std::uint32_t>(::GetWindowLongA(ToHwnd(hwnd), index));
}

bool Win32Platform::IsWindowCloaked(Hwnd hwnd) {
    // dwmapi is not loaded by the program otherwise: loaded once, by its full
    // path in the system folder.
    using Fn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    static const Fn get = []() -> Fn {
        wchar_t path[MAX_PATH];
        const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
        constexpr wchar_t kName[] = L"\\dwmapi.dll";
        if (length == 0 || length + std::size(kName) > MAX_PATH) {
            return nullptr;
        }
        std::wcscpy(path + length, kName);
        HMODULE module = ::LoadLibraryW(path);
        return module == nullptr ? nullptr
                                 : reinterpret_cast<Fn>(reinterpret_cast<void*>(
                                       ::GetProcAddress(module, "DwmGetWindowAttribute")));
    }();
    constexpr DWORD kDwmwaCloaked = 14;
    DWORD cloaked = 0;
    return get != nullptr && get(ToHwnd(hwnd), kDwmwaCloaked, &cloaked, sizeof cloaked) == S_OK &&
           cloaked != 0;
}

Handle Win32Platform::GetWindowSmallIcon(Hwnd hwnd) {
    const HWND window = ToHwnd(hwnd);
    constexpr WPARAM kIconSmall2 = 2;
    for (const WPARAM kind : {kIconSmall2, static_cast<WPARAM>(ICON_SMALL)}) {
        DWORD_PTR icon = 0;
        if (::SendMessageTimeoutW(window, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, 200, &icon) != 0 &&
            icon != 0) {
            return static_cast<Handle>(icon);
        }
    }
    for (const int index : {GCLP_HICONSM, GCLP_HICON}) {
        if (const ULONG_PTR icon = ::GetClassLongPtrW(window, index); icon != 0) {
            return static_cast<Handle>(icon);
        }
    }
    return FromPtr(::LoadIconW(nullptr, MAKEINTRESOURCEW(32512)));  // IDI_APPLICATION
}

Handle Win32Platform::ImageList_Create(int cx, int cy, std::uint32_t flags, int initial, int grow) {
    return FromPtr(::ImageList_Create(cx, cy, flags, initial, grow));
}

int Win32Platform::ImageList_ReplaceIcon(Handle list, int index, Handle icon) {
    return ::ImageList_ReplaceIcon(To<HIMAGELIST>(list), index, To<HICON>(icon));
}

bool Win32Platform::ListViewSetItemImage(Hwnd list, int item, int image) {
    LVITEMW record{};
    record.mask = LVIF_IMAGE;
    record.iItem = item;
    record.iImage = image;
    return ::SendMessageW(ToHwnd(list), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&record)) !=
           FALSE;
}

Hwnd Win32Platform::GetDlgItem(Hwnd dlg, int itemId) {
    return FromHwnd(::GetDlgItem(ToHwnd(dlg), itemId));
}

bool Win32Platform::GetOpenFileNameW(Hwnd owner, const char16_t* filter, const char16_t* initialDir,
                                     std::uint32_t flags, char16_t* file, std::uint32_t fileMax) {
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = ToHwnd(owner);
    ofn.lpstrFilter = Wide(filter);
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = Wide(file);
    ofn.nMaxFile = fileMax;
    ofn.lpstrInitialDir = initialDir != nullptr ? Wide(initialDir) : nullptr;
    ofn.Flags = flags;
    return ::GetOpenFileNameW(&ofn) != FALSE;
}

}  // namespace rc
