// The one seam between Remote Control and the operating system.
//
// Every call the system makes into Windows goes through this interface. Two
// implementations exist: Win32Platform (the only code that includes
// <windows.h>) and SimDesktop (a simulated desktop for the host tests). The
// methods mirror the Windows calls they stand for, with the same argument
// order, values and results, so the code above reads like the Windows code it
// is. Numeric constants live in win_defs.h.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rc {

using Hwnd = std::uintptr_t;    // window handle, 0 = none
using Handle = std::uintptr_t;  // any other handle (key, menu, icon, file, module...), 0 = none
constexpr Handle kInvalidHandle = ~Handle{0};  // INVALID_HANDLE_VALUE

struct Guid {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
    friend bool operator==(const Guid&, const Guid&) = default;
};

struct Point {
    std::int32_t x;
    std::int32_t y;
};

// A window's rectangle in screen coordinates (RECT).
struct Rect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// The wall-clock time of GetLocalTime (the SYSTEMTIME fields the system reads).
struct LocalTime {
    std::uint16_t hour;
    std::uint16_t minute;
    std::uint16_t second;
    std::uint16_t milliseconds;
};

// What GetVersionExA reports.
struct OsVersion {
    std::uint32_t major;
    std::uint32_t minor;
    std::uint32_t build;
    std::uint32_t platformId;  // 1 VER_PLATFORM_WIN32_WINDOWS, 2 VER_PLATFORM_WIN32_NT
};

// The fields of the first version of NOTIFYICONDATA the system fills; szTip
// is UTF-8 (its lines separated by '\n').
struct TrayIconData {
    std::uint32_t cbSize;
    Hwnd hWnd;
    std::uint32_t uID;
    std::uint32_t uFlags;
    std::uint32_t uCallbackMessage;
    Handle hIcon;
    char szTip[64];
};

// What GetFileAttributesExA reports of a file (WIN32_FILE_ATTRIBUTE_DATA).
struct FileInfo {
    std::uint32_t attributes;
    std::uint64_t lastWriteTime;  // FILETIME, 100 ns units
    std::uint64_t size;           // bytes
};

// One keyboard event of SendInput (the KEYBDINPUT fields the system fills).
struct KeyInput {
    std::uint16_t vk;
    std::uint16_t scan;
    std::uint32_t flags;  // KEYEVENTF_EXTENDEDKEY 1, KEYEVENTF_KEYUP 2
};

// The HIDP_CAPS fields the system looks at.
struct HidCaps {
    std::uint16_t usage;
    std::uint16_t usagePage;
};

// The NMHDR that a WM_NOTIFY's lParam points to (its first fields): the
// control that sends it, the control's id and the notification code.
struct NotifyHeader {
    Hwnd hwndFrom;
    std::uintptr_t idFrom;
    std::uint32_t code;
};

// Window and dialog procedures carry a context pointer so that they can reach
// the system's state without globals. The Win32 implementation keeps the
// context and calls back through its own WNDPROC/DLGPROC.
using WndProc = std::intptr_t (*)(void* ctx, Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                  std::intptr_t lParam);
using DlgProc = std::intptr_t (*)(void* ctx, Hwnd dlg, std::uint32_t msg, std::uintptr_t wParam,
                                  std::intptr_t lParam);
// A window timer's callback: the window and timer id it was set with.
using TimerProc = void (*)(void* ctx, Hwnd hwnd, std::uintptr_t id);

class Platform {
  public:
    virtual ~Platform() = default;

    // --- Resources ---------------------------------------------------------
    virtual int LoadStringA(std::uint32_t id, char* buffer, int bufferMax) = 0;
    virtual Handle LoadIconA(std::uint32_t id) = 0;
    virtual Handle LoadAcceleratorsA(std::uint32_t id) = 0;

    // --- Main window and message loop ---------------------------------------
    // RegisterClassExA with the style, icon (large and small), cursor and
    // brush of the main window class; the procedure gets ctx on every call.
    virtual bool RegisterMainClass(const char* className, std::uint32_t iconId, WndProc proc,
                                   void* ctx) = 0;
    // CreateWindowExA of a WS_OVERLAPPEDWINDOW window of a registered class;
    // WM_CREATE runs inside. Gives 0 when creation fails.
    virtual Hwnd CreateMainWindow(const char* className, const char* title) = 0;
    virtual bool ShowWindow(Hwnd hwnd, int cmdShow) = 0;
    virtual bool UpdateWindow(Hwnd hwnd) = 0;
    virtual bool DestroyWindow(Hwnd hwnd) = 0;
    virtual std::intptr_t DefWindowProcA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                         std::intptr_t lParam) = 0;
    // GetMessageA / TranslateAcceleratorA / TranslateMessage / DispatchMessageA
    // until WM_QUIT; gives the quit message's wParam.
    virtual int RunMessageLoop(Handle accelerators) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;
    virtual std::uint32_t RegisterWindowMessageA(const char* name) = 0;

    // --- Window search and activation --------------------------------------
    virtual Hwnd FindWindowA(const char* className, const char* title) = 0;
    virtual Hwnd FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className,
                               const char* title) = 0;
    virtual Hwnd GetDesktopWindow() = 0;
    virtual Hwnd GetWindow(Hwnd hwnd, std::uint32_t cmd) = 0;
    virtual int GetClassNameA(Hwnd hwnd, char* buffer, int bufferMax) = 0;
    // GetWindowTextA: the window's title into buffer (bufferMax bytes with
    // the NUL), cut to fit. Gives the length copied; 0 for an empty title or
    // no window (buffer then holds "" when bufferMax is not 0).
    virtual int GetWindowTextA(Hwnd hwnd, char* buffer, int bufferMax) = 0;
    virtual bool IsWindowVisible(Hwnd hwnd) = 0;
    virtual bool IsWindow(Hwnd hwnd) = 0;
    virtual bool SetForegroundWindow(Hwnd hwnd) = 0;
    virtual Hwnd SetActiveWindow(Hwnd hwnd) = 0;
    virtual bool BringWindowToTop(Hwnd hwnd) = 0;
    virtual Hwnd GetForegroundWindow() = 0;
    // GetWindowThreadProcessId without the process id: the window's thread
    // id, 0 for no window.
    virtual std::uint32_t GetWindowThreadProcessId(Hwnd hwnd) = 0;
    // GetWindowThreadProcessId's process id: the process that made the
    // window, 0 for no window.
    virtual std::uint32_t GetWindowProcessId(Hwnd hwnd) = 0;
    virtual std::uint32_t GetCurrentThreadId() = 0;
    // IsHungAppWindow: true when the window's thread has not taken its
    // messages for a while (5 s); false for a responsive window or none.
    virtual bool IsHungAppWindow(Hwnd hwnd) = 0;
    virtual bool AttachThreadInput(std::uint32_t idAttach, std::uint32_t idAttachTo,
                                   bool attach) = 0;
    virtual bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                              std::uint32_t flags) = 0;
    virtual bool PostMessageA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                              std::intptr_t lParam) = 0;
    virtual std::intptr_t SendMessageA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                       std::intptr_t lParam) = 0;

    // --- Input synthesis and screen ------------------------------------------
    virtual void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                             std::uintptr_t extraInfo) = 0;
    virtual void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                             std::int32_t data, std::uintptr_t extraInfo) = 0;
    virtual std::intptr_t GetMessageExtraInfo() = 0;
    // MapVirtualKeyA: with mapType MAPVK_VK_TO_VSC (0), the scan code of a
    // virtual key on the current keyboard layout; 0 when it has none.
    virtual std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) = 0;
    virtual bool SetCursorPos(int x, int y) = 0;
    virtual bool GetCursorPos(Point* point) = 0;
    virtual int GetSystemMetrics(int index) = 0;

    // --- Timers, clock, pauses, trace ------------------------------------------
    // SetTimer with a callback; gives the timer id, 0 on failure.
    virtual std::uintptr_t SetTimer(Hwnd hwnd, std::uintptr_t id, std::uint32_t elapse,
                                    TimerProc proc, void* ctx) = 0;
    virtual bool KillTimer(Hwnd hwnd, std::uintptr_t id) = 0;
    virtual std::uint32_t GetTickCount() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    virtual void OutputDebugStringA(const char* text) = 0;

    // --- Tray icon and popup menu ------------------------------------------------
    // Shell_NotifyIconW(message, the record): the tip is turned from UTF-8
    // into the wide record's text, so that it shows the same in every
    // code page (an em dash is no ANSI character everywhere). cbSize 88
    // stands for the first version's size. False when the notification area
    // refused or did not answer in time (NIM_MODIFY: no such icon).
    virtual bool Shell_NotifyIconW(std::uint32_t message, const TrayIconData& data) = 0;
    virtual Handle CreatePopupMenu() = 0;
    virtual bool AppendMenuA(Handle menu, std::uint32_t flags, std::uintptr_t id,
                             const char* text) = 0;
    virtual bool DestroyMenu(Handle menu) = 0;
    // TrackPopupMenu (flags 0, no rectangle): the chosen item arrives as
    // WM_COMMAND at the owner. Gives the Windows result.
    virtual int TrackPopupMenu(Handle menu, std::uint32_t flags, int x, int y, Hwnd owner) = 0;

    // --- Dialogs and message boxes -------------------------------------------
    // DialogBoxParamA with a dialog template of the program's resources.
    virtual std::intptr_t DialogBoxParamA(std::uint32_t templateId, Hwnd owner, DlgProc proc,
                                          void* ctx) = 0;
    virtual bool EndDialog(Hwnd dlg, std::intptr_t result) = 0;
    virtual std::intptr_t SendDlgItemMessageA(Hwnd dlg, int itemId, std::uint32_t msg,
                                              std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual int MessageBoxA(Hwnd owner, const char* text, const char* caption,
                            std::uint32_t type) = 0;

    // --- Shell, system information, shutdown ----------------------------------
    virtual std::intptr_t ShellExecuteA(Hwnd owner, const char* verb, const char* file,
                                        const char* parameters, const char* directory,
                                        int showCmd) = 0;
    // GetVersionExA with OSVERSIONINFOEXA (extended) or OSVERSIONINFOA.
    virtual bool GetVersionExA(OsVersion* version, bool extended) = 0;
    virtual std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) = 0;
    // GetSystemDirectoryA: the system folder (System32; SysWOW64 for a 32-bit
    // program on 64-bit Windows). Gives the length without the NUL, or the
    // size needed with it when the buffer is too small, 0 on failure.
    virtual std::uint32_t GetSystemDirectoryA(char* buffer, std::uint32_t size) = 0;
    // GetFileAttributesA: the attributes (0x10 FILE_ATTRIBUTE_DIRECTORY for
    // a folder), or 0xFFFFFFFF INVALID_FILE_ATTRIBUTES when the path does not
    // exist or can't be read. Takes paths of up to MAX_PATH - 1 characters
    // (OpenFile, the older test, only up to 127).
    virtual std::uint32_t GetFileAttributesA(const char* path) = 0;
    // OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY).
    virtual bool OpenProcessToken(Handle* token) = 0;
    // LookupPrivilegeValueA("SeShutdownPrivilege") and AdjustTokenPrivileges
    // enabling it; gives GetLastError() as read right after.
    virtual std::uint32_t AdjustShutdownPrivilege(Handle token) = 0;
    virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) = 0;
    virtual bool CloseHandle(Handle handle) = 0;

    // --- Files --------------------------------------------------------------------
    // SHGetFolderPathA(no window, csidl, no token, SHGFP_TYPE_CURRENT): the
    // folder's path into path, which holds MAX_PATH (260) bytes. Gives S_OK
    // (0), or a failure HRESULT with path empty.
    virtual long SHGetFolderPathA(int csidl, char* path) = 0;
    // GetFileAttributesExA(path, GetFileExInfoStandard): false when the file
    // does not exist or can't be reached.
    virtual bool GetFileAttributesExA(const char* path, FileInfo* info) = 0;

    // --- Registry --------------------------------------------------------------
    // root is kHkeyLocalMachine, or kHkeyCurrentUser for the per-user
    // options (a standard user may write below it); results are Windows error codes (0 success).
    // An open or create asking rights the user lacks fails with
    // ERROR_ACCESS_DENIED (5): a standard user may read HKEY_LOCAL_MACHINE but
    // not write below SOFTWARE\Microsoft\Windows, SOFTWARE\Microsoft\Windows NT
    // or SYSTEM, whose writes Windows never virtualises.
    virtual long RegOpenKeyExA(Handle root, const char* subKey, std::uint32_t access,
                               Handle* key) = 0;
    virtual long RegCreateKeyExA(Handle root, const char* subKey, std::uint32_t access,
                                 Handle* key) = 0;
    // RegEnumKeyExA without class or time: the index-th subkey's name into
    // name, whose size in characters (with the NUL) *nameSize gives; on
    // success *nameSize is the name's length.
    virtual long RegEnumKeyExA(Handle key, std::uint32_t index, char* name,
                               std::uint32_t* nameSize) = 0;
    virtual long RegQueryValueExA(Handle key, const char* valueName, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) = 0;
    virtual long RegSetValueExA(Handle key, const char* valueName, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t size) = 0;
    virtual long RegFlushKey(Handle key) = 0;
    virtual long RegCloseKey(Handle key) = 0;

    // --- COM and DirectShow device enumeration ------------------------------------
    // CoInitialize(nullptr): S_OK (0) for the thread's first initialisation,
    // S_FALSE (1) for a further one; both must be undone by one
    // CoUninitialize each. A negative HRESULT (RPC_E_CHANGED_MODE) initialised
    // nothing and must not be undone.
    virtual long CoInitialize() = 0;
    // CoUninitialize: undoes one initialisation of the thread; the last one
    // tears COM down for every user of the thread. Called without a matching
    // CoInitialize it tears down what others initialised.
    virtual void CoUninitialize() = 0;
    // A fresh system device enumerator, CreateClassEnumerator(category, 0),
    // the device enumerator released, the moniker enumerator Reset. Gives the
    // moniker enumerator, or 0 when any step fails or the category is empty
    // (S_FALSE with no enumerator).
    virtual Handle OpenDeviceCategory(const Guid& category) = 0;
    // IEnumMoniker::Next with a count of 1: the next moniker, 0 when not S_OK.
    virtual Handle NextDeviceMoniker(Handle enumerator) = 0;
    // BindToStorage for IPropertyBag, Read "FriendlyName" into a VARIANT
    // zeroed in full (its type not preset: the bag gives the stored type),
    // WideCharToMultiByte(CP_ACP) into buffer, VariantClear only when Read
    // filled the VARIANT, release the bag. False when the bag or the property
    // can't be had, or the name is not a VT_BSTR.
    virtual bool ReadFriendlyName(Handle moniker, char* buffer, int bufferSize) = 0;
    // BindToObject for IBaseFilter: the filter, or 0.
    virtual Handle BindFilter(Handle moniker) = 0;
    virtual void ReleaseMoniker(Handle moniker) = 0;
    virtual void ReleaseDeviceCategory(Handle enumerator) = 0;
    virtual void ReleaseFilterObject(Handle filter) = 0;

    // --- Device setup and HID ---------------------------------------------------------
    virtual void HidD_GetHidGuid(Guid* guid) = 0;
    // SetupDiGetClassDevsA(guid, no enumerator, no window, flags); kInvalidHandle on failure.
    virtual Handle SetupDiGetClassDevsA(const Guid& guid, std::uint32_t flags) = 0;
    // SetupDiEnumDeviceInterfaces(set, no element, guid, index).
    virtual bool SetupDiEnumDeviceInterfaces(Handle deviceInfoSet, const Guid& guid,
                                             std::uint32_t index) = 0;
    // SetupDiGetDeviceInterfaceDetailA without a buffer: the required size of
    // the detail record, 0 when the query fails.
    virtual std::uint32_t GetDeviceInterfaceDetailSize(Handle deviceInfoSet, const Guid& guid,
                                                       std::uint32_t index) = 0;
    // SetupDiGetDeviceInterfaceDetailA into a caller's buffer of the required
    // size (its size field set to the record's own size); on success the
    // device path is copied to path (at most pathMax bytes with the NUL).
    virtual bool GetDeviceInterfaceDetail(Handle deviceInfoSet, const Guid& guid,
                                          std::uint32_t index, void* detail,
                                          std::uint32_t detailSize, char* path,
                                          std::uint32_t pathMax) = 0;
    virtual bool SetupDiDestroyDeviceInfoList(Handle deviceInfoSet) = 0;
    // CreateFileA(path, access, share, no security, disposition, flags, no template).
    virtual Handle CreateFileA(const char* path, std::uint32_t access, std::uint32_t shareMode,
                               std::uint32_t disposition, std::uint32_t flags) = 0;
    virtual bool HidD_GetPreparsedData(Handle device, Handle* preparsed) = 0;
    virtual long HidP_GetCaps(Handle preparsed, HidCaps* caps) = 0;
    virtual bool HidD_FreePreparsedData(Handle preparsed) = 0;
    virtual bool HidD_GetFeature(Handle device, std::uint8_t* report, std::uint32_t length) = 0;

    // --- Libraries -------------------------------------------------------------------
    // LoadLibraryA: a bare name is looked for in the program's folder and the
    // system folders, then (unless one of the two calls below removed it) the
    // current folder, then PATH. 0 when not found.
    virtual Handle LoadLibraryA(const char* name) = 0;
    virtual void* GetProcAddress(Handle module, const char* name) = 0;
    // kernel32's SetDefaultDllDirectories, looked up at run time: false when
    // the system lacks it (XP, Windows 7 without its update KB2533623) or it
    // fails. With LOAD_LIBRARY_SEARCH_DEFAULT_DIRS (0x1000) a bare name is
    // looked for only in the program's folder and the system folders.
    virtual bool SetDefaultDllDirectories(std::uint32_t directoryFlags) = 0;
    // SetDllDirectoryA: "" takes the current folder out of the search
    // (PATH stays). False on failure.
    virtual bool SetDllDirectoryA(const char* path) = 0;

    // --- Wide-character calls: text in any script, the key-map file ---------------
    // Strings are UTF-16, as the W calls take them (char16_t is wchar_t's size
    // on Windows).
    //
    // SHGetFolderPathW(no window, csidl, no token, SHGFP_TYPE_CURRENT): the
    // folder's path into path, which holds MAX_PATH (260) characters. Gives
    // S_OK (0), or a failure HRESULT with path empty.
    virtual long SHGetFolderPathW(int csidl, char16_t* path) = 0;
    // GetFileAttributesExW(path, GetFileExInfoStandard): false when the file
    // does not exist or can't be reached.
    virtual bool GetFileAttributesExW(const char16_t* path, FileInfo* info) = 0;
    // CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE |
    // FILE_SHARE_DELETE, OPEN_EXISTING), ReadFile until the file ends or size
    // bytes are read, CloseHandle. *read gives the bytes read. Gives 0, or
    // GetLastError() of the step that failed: ERROR_FILE_NOT_FOUND (2) or
    // ERROR_PATH_NOT_FOUND (3) for a missing file, ERROR_ACCESS_DENIED (5),
    // ERROR_SHARING_VIOLATION (32) while another program holds the file open
    // without sharing it (an editor saving, an antivirus scanning it),
    // ERROR_LOCK_VIOLATION (33); *read is then 0.
    virtual std::uint32_t ReadWholeFileW(const char16_t* path, std::uint8_t* buffer,
                                         std::uint32_t size, std::uint32_t* read) = 0;
    // Replaces the file's bytes so that no reader ever sees half a file: the
    // bytes go to a temporary file beside it (the path and ".new": CreateFileW
    // GENERIC_WRITE, no sharing, CREATE_ALWAYS; WriteFile, FlushFileBuffers,
    // CloseHandle), which then takes the file's place with MoveFileExW(
    // MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH); a missing file is
    // made. The file's last-write time becomes the time of the write (two
    // writes within one tick of the system clock may get the same one) and
    // its size that of the bytes. Gives 0, or GetLastError() of the step that
    // failed, the file then as it was and the temporary file deleted:
    // ERROR_PATH_NOT_FOUND (3) when the folder is missing, ERROR_ACCESS_DENIED
    // (5) when the folder is not the user's to write or the path is a folder
    // or a read-only file, ERROR_ACCESS_DENIED or ERROR_SHARING_VIOLATION
    // (32) while another program holds the file open without sharing its
    // deletion (Wine gives 5), ERROR_SHARING_VIOLATION while a save of ours
    // holds the temporary one, ERROR_DISK_FULL (112).
    virtual std::uint32_t WriteWholeFileW(const char16_t* path, const std::uint8_t* bytes,
                                          std::uint32_t size) = 0;
    // MultiByteToWideChar(codePage, 0, text, length, out, outMax): text in a
    // code page (CP_ACP 0: the system's ANSI code page) as UTF-16. Gives the
    // characters written, 0 on failure (out too small).
    virtual int MultiByteToWideChar(std::uint32_t codePage, const char* text, int length,
                                    char16_t* out, int outMax) = 0;
    // WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text, length, out,
    // outMax, no default character of ours, usedDefaultChar): UTF-16 as text
    // in a code page (CP_ACP 0). A character the code page lacks becomes the
    // code page's default character ('?'), never a look-alike (no best fit:
    // 'a' for U+0101), and sets *usedDefaultChar; it is false otherwise. Gives
    // the bytes written, with outMax 0 the bytes needed; 0 on failure: out too
    // small (ERROR_INSUFFICIENT_BUFFER 122), or a code page that takes no
    // such flag or report, UTF-8 (65001) among them, as CP_ACP is on a system
    // set to use UTF-8 (ERROR_INVALID_FLAGS 1004, ERROR_INVALID_PARAMETER 87).
    virtual int WideCharToMultiByte(std::uint32_t codePage, const char16_t* text, int length,
                                    char* out, int outMax, bool* usedDefaultChar) = 0;
    // GetWindowTextW and GetClassNameW: as their A calls, in characters.
    virtual int GetWindowTextW(Hwnd hwnd, char16_t* buffer, int bufferMax) = 0;
    virtual int GetClassNameW(Hwnd hwnd, char16_t* buffer, int bufferMax) = 0;
    // OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION) and
    // QueryFullProcessImageNameW: the full path of the process's executable
    // into buffer (bufferMax characters with the NUL). Gives the path's
    // length, 0 when the process can't be opened (gone, or not ours to query)
    // or the path does not fit.
    virtual int GetProcessImageNameW(std::uint32_t processId, char16_t* buffer, int bufferMax) = 0;
    // ShellExecuteW: as ShellExecuteA. Gives a value over 32 on success, an
    // error code (2 file not found...) otherwise.
    virtual std::intptr_t ShellExecuteW(Hwnd owner, const char16_t* verb, const char16_t* file,
                                        const char16_t* parameters, const char16_t* directory,
                                        int showCmd) = 0;
    // GetLastError: the calling thread's last error, as the call before it
    // left it. PostMessageA to a window of a process at a higher integrity
    // level (an elevated program) fails with ERROR_ACCESS_DENIED (5): User
    // Interface Privilege Isolation, which Wine lacks.
    virtual std::uint32_t GetLastError() = 0;
    // SendInput with one INPUT_KEYBOARD record per entry (no time, no extra
    // information; at most 16 entries, more fail with
    // ERROR_INVALID_PARAMETER), in one call so no other input comes between
    // them. Gives
    // the number of events inserted; fewer than count (0) when Windows
    // refuses them, as it does while the foreground window is of a process
    // at a higher integrity level (GetLastError then gives
    // ERROR_ACCESS_DENIED, 5).
    virtual std::uint32_t SendInput(const KeyInput* inputs, std::uint32_t count) = 0;

    // --- Message filter -----------------------------------------------------------------
    // user32's ChangeWindowMessageFilterEx(hwnd, message, action, nullptr),
    // looked up at run time: false when the system lacks it (before Windows 7)
    // or it fails. Action 1 (MSGFLT_ALLOW) lets the message reach the window
    // from processes of a lower integrity level (an elevated program otherwise
    // never hears Explorer's "TaskbarCreated").
    virtual bool ChangeWindowMessageFilterEx(Hwnd hwnd, std::uint32_t message,
                                             std::uint32_t action) = 0;

    // --- The program's folder, folders and copies -----------------------------------
    // GetModuleFileNameA(no module): the full path of the program's own
    // executable into buffer (size bytes). Gives the path's length, 0 on
    // failure; a path that does not fit is cut and gives size (Windows XP
    // then leaves it without its NUL).
    virtual std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) = 0;
    // CreateDirectoryA(path, no security attributes): false when the folder
    // or a file of that name exists (ERROR_ALREADY_EXISTS), the folder above
    // it is missing (ERROR_PATH_NOT_FOUND) or the user may not write there
    // (ERROR_ACCESS_DENIED).
    virtual bool CreateDirectoryA(const char* path) = 0;
    // CopyFileA: the file, its time stamp and its attributes copied to
    // newFile. False when the source is missing, the target's folder is
    // missing or not the user's to write, or (failIfExists) the target exists
    // (ERROR_FILE_EXISTS); a target that exists is never touched then.
    virtual bool CopyFileA(const char* existingFile, const char* newFile, bool failIfExists) = 0;

    // --- Sessions ------------------------------------------------------------------------
    // Which Windows session this process runs in and which one the physical
    // console shows. Fast user switching gives each logged-on user a session
    // of their own; a remote-desktop client takes a session away from the
    // console. The remote-desktop test is GetSystemMetrics(SM_REMOTESESSION).
    //
    // wtsapi32's WTSRegisterSessionNotification(hwnd, flags): the window then
    // receives WM_WTSSESSION_CHANGE (0x02B1; wParam the event, lParam the
    // session); flags 0 (NOTIFY_FOR_THIS_SESSION): only the events of the
    // window's own session. False on failure (RPC_S_INVALID_BINDING when
    // Terminal Services are not running yet).
    virtual bool WTSRegisterSessionNotification(Hwnd hwnd, std::uint32_t flags) = 0;
    // WTSUnRegisterSessionNotification(hwnd), before the window goes. False
    // on failure.
    virtual bool WTSUnRegisterSessionNotification(Hwnd hwnd) = 0;
    // WTSGetActiveConsoleSessionId: the session attached to the physical
    // console, 0xFFFFFFFF while none is (during a switch).
    virtual std::uint32_t WTSGetActiveConsoleSessionId() = 0;
    virtual std::uint32_t GetCurrentProcessId() = 0;
    // ProcessIdToSessionId(processId, sessionId): false when the process
    // can't be queried (gone, or not ours to query); *sessionId is then left
    // alone.
    virtual bool ProcessIdToSessionId(std::uint32_t processId, std::uint32_t* sessionId) = 0;

    // --- Windows of the program's own classes, their controls, the clipboard ---------
    // RegisterClassExA of a top-level window class with its own procedure
    // (which gets ctx on every call), the icon (large and small), the arrow
    // cursor and the dialog colour (COLOR_BTNFACE). False on failure
    // (ERROR_CLASS_ALREADY_EXISTS for a class registered before).
    virtual bool RegisterWindowClass(const char* className, std::uint32_t iconId, WndProc proc,
                                     void* ctx) = 0;
    // CreateWindowExA with the program's instance: id is a child window's id
    // (the HMENU of a WS_CHILD window), 0 for a top-level one. A window of a
    // class registered above runs WM_CREATE inside. 0 on failure (a class
    // that is not registered: a common control before InitCommonControlsEx).
    virtual Hwnd CreateWindowExA(std::uint32_t exStyle, const char* className, const char* title,
                                 std::uint32_t style, int x, int y, int width, int height,
                                 Hwnd parent, std::uint32_t id) = 0;
    // SetFocus: the keyboard focus to a window of this thread; gives the
    // window that had it, 0 when none did or the call failed.
    virtual Hwnd SetFocus(Hwnd hwnd) = 0;
    // SetWindowTextW: a window's title, or a control's text. False on failure.
    virtual bool SetWindowTextW(Hwnd hwnd, const char16_t* text) = 0;
    // GetWindowRect: the window's rectangle in screen coordinates. False for
    // no window.
    virtual bool GetWindowRect(Hwnd hwnd, Rect* rect) = 0;
    // InitCommonControlsEx with the classes to register (ICC_LISTVIEW_CLASSES
    // 1: SysListView32). False on failure.
    virtual bool InitCommonControlsEx(std::uint32_t classes) = 0;
    // LVM_INSERTCOLUMNW of a column with LVCF_TEXT | LVCF_WIDTH: gives the
    // column's index, -1 on failure.
    virtual int ListViewInsertColumnW(Hwnd list, int index, const char16_t* text, int width) = 0;
    // LVM_INSERTITEMW of an item with LVIF_TEXT: gives its index, -1 on failure.
    virtual int ListViewInsertItemW(Hwnd list, int index, const char16_t* text) = 0;
    // LVM_SETITEMTEXTW of a subitem (column subItem, 1 and up). False on failure.
    virtual bool ListViewSetItemTextW(Hwnd list, int item, int subItem, const char16_t* text) = 0;
    // LVM_SETITEMSTATE of LVIS_SELECTED | LVIS_FOCUSED: the item selected
    // and focused, every other one not (item -1: none selected). The list
    // reports it as LVN_ITEMCHANGED (WM_NOTIFY) to its parent. False on
    // failure. LVM_GETNEXTITEM(-1, LVNI_SELECTED) by SendMessageA gives the
    // selected item, -1 for none.
    virtual bool ListViewSelectItem(Hwnd list, int item) = 0;
    // SendMessageW with a string as lParam: CB_ADDSTRING, LB_ADDSTRING and
    // LB_INSERTSTRING (the item's index, CB_ERR/LB_ERR -1 on failure), and
    // any other message that takes a text. Gives the message's result.
    virtual std::intptr_t SendMessageTextW(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                           const char16_t* text) = 0;
    // MessageBoxW: as MessageBoxA, with texts in any script (a section's name).
    virtual int MessageBoxW(Hwnd owner, const char16_t* text, const char16_t* caption,
                            std::uint32_t type) = 0;
    // WM_GETMINMAXINFO's answer: ptMinTrackSize of the MINMAXINFO at lParam
    // set to the smallest size (in pixels, with the frame) the user may drag
    // the window to. False for no record.
    virtual bool SetMinTrackSize(std::intptr_t minMaxInfo, int width, int height) = 0;
    // OpenClipboard(owner), EmptyClipboard, SetClipboardData(CF_UNICODETEXT)
    // of a GlobalAlloc(GMEM_MOVEABLE) copy of the text, CloseClipboard. False
    // when a step fails (another program holds the clipboard open); the copy
    // is freed then and the clipboard closed if it was opened.
    virtual bool SetClipboardTextW(Hwnd owner, const char16_t* text) = 0;
    // GetLocalTime: the wall-clock time.
    virtual void GetLocalTime(LocalTime* time) = 0;
    // SystemParametersInfoW(SPI_GETNONCLIENTMETRICS) and CreateFontIndirectW
    // of its lfMessageFont: the font of message boxes, at the user's size and
    // DPI. 0 on failure. DeleteObject frees it.
    virtual Handle CreateMessageFont() = 0;
    virtual bool DeleteObject(Handle object) = 0;
    // GetDeviceCaps(LOGPIXELSY) of the screen (GetDC(0), ReleaseDC): the
    // system DPI, 96 at 100 %, 144 at 150 %.
    virtual int GetScreenDpi() = 0;

    // --- On-screen display ------------------------------------------------------------
    // MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY) and GetMonitorInfoA:
    // the work area (the monitor less the taskbar and docked bars) of the
    // monitor that holds most of the window, the primary monitor's for no
    // window, in pixels of this DPI-aware program. False when GetMonitorInfoA
    // fails (*work is then left alone).
    virtual bool GetMonitorWorkArea(Hwnd hwnd, Rect* work) = 0;
    // RegisterClassExW of className on its first use, then
    // CreateWindowExW(exStyle, className, L"", WS_POPUP, 0, 0, 0, 0, owner):
    // a hidden text panel (an owned window never gets a taskbar button). Its procedure, the Win32
    // side's own, paints the window text in one line, centred, light grey on near black, in the
    // panel font (5/8 of the window's height), repaints when the text is set,
    // and is transparent to the mouse (HTTRANSPARENT, MA_NOACTIVATE). Gives 0
    // when registering or creating fails.
    virtual Hwnd CreateTextPanel(const char* className, std::uint32_t exStyle, Hwnd owner) = 0;
    // GetTextExtentPoint32W of text in the panel font for a panel of this
    // height: the text's width in pixels, 0 on failure.
    virtual int MeasurePanelText(const char16_t* text, int panelHeight) = 0;
    // SetLayeredWindowAttributes(hwnd, colorKey, alpha, flags) of a window
    // with WS_EX_LAYERED, which shows nothing before this call; with
    // LWA_ALPHA (2) the whole window at alpha/255 opacity. False on failure.
    virtual bool SetLayeredWindowAttributes(Hwnd hwnd, std::uint32_t colorKey, std::uint8_t alpha,
                                            std::uint32_t flags) = 0;

    // --- Other programs' windows, picking a program -------------------------------------
    // GetWindowLongA(hwnd, index) of GWL_STYLE (-16) or GWL_EXSTYLE (-20): the
    // window's styles (WS_EX_TOOLWINDOW 0x80, WS_EX_APPWINDOW 0x40000...). 0
    // for no window.
    virtual std::uint32_t GetWindowLongA(Hwnd hwnd, int index) = 0;
    // dwmapi's DwmGetWindowAttribute(hwnd, DWMWA_CLOAKED), looked up at run
    // time: true when the window is cloaked, so not shown although
    // IsWindowVisible says it is (a suspended Store app, a window on another
    // virtual desktop). False when it is not, or the system lacks the call
    // (before Windows 8 it reports no cloaking) or it fails.
    virtual bool IsWindowCloaked(Hwnd hwnd) = 0;
    // The window's small icon: SendMessageTimeoutW(WM_GETICON) of ICON_SMALL2,
    // then ICON_SMALL (SMTO_ABORTIFHUNG, 200 ms each: a window that does not
    // answer is not waited for), then its class's GCLP_HICONSM and GCLP_HICON,
    // and the system's IDI_APPLICATION when none of them gives one. The icon
    // stays the window's or the system's: it is not destroyed by the caller.
    virtual Handle GetWindowSmallIcon(Hwnd hwnd) = 0;
    // ImageList_Create(cx, cy, flags, initial, grow): an empty image list of
    // cx by cy images (ILC_COLOR32 0x20 | ILC_MASK 1), 0 on failure. A list
    // view given it by LVM_SETIMAGELIST destroys it when it is destroyed
    // (unless LVS_SHAREIMAGELISTS).
    virtual Handle ImageList_Create(int cx, int cy, std::uint32_t flags, int initial, int grow) = 0;
    // ImageList_ReplaceIcon(list, index, icon): a copy of the icon, scaled to
    // the list's size, at index, or added at the end for index -1. Gives the
    // image's index, -1 on failure.
    virtual int ImageList_ReplaceIcon(Handle list, int index, Handle icon) = 0;
    // LVM_SETITEMW of an item's LVIF_IMAGE: the image of the list view's
    // small image list it shows. False on failure.
    virtual bool ListViewSetItemImage(Hwnd list, int item, int image) = 0;
    // GetDlgItem: the control of a dialog with that id, 0 when it has none.
    virtual Hwnd GetDlgItem(Hwnd dlg, int itemId) = 0;
    // comdlg32's GetOpenFileNameW with an OPENFILENAMEW of: hwndOwner owner
    // (which is disabled while the dialog is open), lpstrFilter filter (pairs
    // of texts, each ended by a NUL, the whole ended by one more NUL),
    // nFilterIndex 1, lpstrFile file (fileMax characters; the name it holds
    // on entry is the one first shown), lpstrInitialDir initialDir (null:
    // the system's choice), Flags flags (OFN_FILEMUSTEXIST 0x1000...). True
    // with the chosen file's full path in file; false when the user cancels
    // or the dialog fails (FNERR_BUFFERTOOSMALL: the path does not fit).
    virtual bool GetOpenFileNameW(Hwnd owner, const char16_t* filter, const char16_t* initialDir,
                                  std::uint32_t flags, char16_t* file, std::uint32_t fileMax) = 0;
};

}  // namespace rc
