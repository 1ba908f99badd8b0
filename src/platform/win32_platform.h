// The platform seam on real Windows: every method is the Windows call it
// names, with the program's instance handle where the call needs one.
//
// Window, dialog and timer procedures of the system carry a context pointer;
// this implementation keeps (procedure, context) and calls them back through
// Windows procedures of its own. Only win32_platform.cpp includes <windows.h>.
#pragma once

#include "platform/platform.h"

namespace rc {

class Win32Platform : public Platform {
  public:
    // instance: the HINSTANCE given to WinMain.
    explicit Win32Platform(Handle instance);
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    Handle Instance() const { return instance_; }

    int LoadStringA(std::uint32_t id, char* buffer, int bufferMax) override;
    Handle LoadIconA(std::uint32_t id) override;
    Handle LoadAcceleratorsA(std::uint32_t id) override;

    bool RegisterMainClass(const char* className, std::uint32_t iconId, WndProc proc,
                           void* ctx) override;
    Hwnd CreateMainWindow(const char* className, const char* title) override;
    bool ShowWindow(Hwnd hwnd, int cmdShow) override;
    bool UpdateWindow(Hwnd hwnd) override;
    bool DestroyWindow(Hwnd hwnd) override;
    std::intptr_t DefWindowProcA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                 std::intptr_t lParam) override;
    int RunMessageLoop(Handle accelerators) override;
    void PostQuitMessage(int exitCode) override;
    std::uint32_t RegisterWindowMessageA(const char* name) override;

    Hwnd FindWindowA(const char* className, const char* title) override;
    Hwnd FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className,
                       const char* title) override;
    Hwnd GetDesktopWindow() override;
    Hwnd GetWindow(Hwnd hwnd, std::uint32_t cmd) override;
    int GetClassNameA(Hwnd hwnd, char* buffer, int bufferMax) override;
    int GetWindowTextA(Hwnd hwnd, char* buffer, int bufferMax) override;
    bool IsWindowVisible(Hwnd hwnd) override;
    bool IsWindow(Hwnd hwnd) override;
    bool SetForegroundWindow(Hwnd hwnd) override;
    Hwnd SetActiveWindow(Hwnd hwnd) override;
    bool BringWindowToTop(Hwnd hwnd) override;
    Hwnd GetForegroundWindow() override;
    std::uint32_t GetWindowThreadProcessId(Hwnd hwnd) override;
    std::uint32_t GetWindowProcessId(Hwnd hwnd) override;
    std::uint32_t GetCurrentThreadId() override;
    bool IsHungAppWindow(Hwnd hwnd) override;
    bool AttachThreadInput(std::uint32_t idAttach, std::uint32_t idAttachTo, bool attach) override;
    bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                      std::uint32_t flags) override;
    bool PostMessageA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                      std::intptr_t lParam) override;
    std::intptr_t SendMessageA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                               std::intptr_t lParam) override;

    void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;
    void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                     std::uintptr_t extraInfo) override;
    std::intptr_t GetMessageExtraInfo() override;
    std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) override;
    bool SetCursorPos(int x, int y) override;
    bool GetCursorPos(Point* point) override;
    int GetSystemMetrics(int index) override;

    std::uintptr_t SetTimer(Hwnd hwnd, std::uintptr_t id, std::uint32_t elapse, TimerProc proc,
                            void* ctx) override;
    bool KillTimer(Hwnd hwnd, std::uintptr_t id) override;
    std::uint32_t GetTickCount() override;
    void Sleep(std::uint32_t milliseconds) override;
    void OutputDebugStringA(const char* text) override;

    bool Shell_NotifyIconW(std::uint32_t message, const TrayIconData& data) override;
    Handle CreatePopupMenu() override;
    bool AppendMenuA(Handle menu, std::uint32_t flags, std::uintptr_t id,
                     const char* text) override;
    bool DestroyMenu(Handle menu) override;
    int TrackPopupMenu(Handle menu, std::uint32_t flags, int x, int y, Hwnd owner) override;

    std::intptr_t DialogBoxParamA(std::uint32_t templateId, Hwnd owner, DlgProc proc,
                                  void* ctx) override;
    bool EndDialog(Hwnd dlg, std::intptr_t result) override;
    std::intptr_t SendDlgItemMessageA(Hwnd dlg, int itemId, std::uint32_t msg,
                                      std::uintptr_t wParam, std::intptr_t lParam) override;
    int MessageBoxA(Hwnd owner, const char* text, const char* caption, std::uint32_t type) override;

    std::intptr_t ShellExecuteA(Hwnd owner, const char* verb, const char* file,
                                const char* parameters, const char* directory,
                                int showCmd) override;
    bool GetVersionExA(OsVersion* version, bool extended) override;
    std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override;
    std::uint32_t GetSystemDirectoryA(char* buffer, std::uint32_t size) override;
    std::uint32_t GetFileAttributesA(const char* path) override;
    bool OpenProcessToken(Handle* token) override;
    std::uint32_t AdjustShutdownPrivilege(Handle token) override;
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
    bool CloseHandle(Handle handle) override;
    long SHGetFolderPathA(int csidl, char* path) override;
    bool GetFileAttributesExA(const char* path, FileInfo* info) override;

    long RegOpenKeyExA(Handle root, const char* subKey, std::uint32_t access, Handle* key) override;
    long RegCreateKeyExA(Handle root, const char* subKey, std::uint32_t access,
                         Handle* key) override;
    long RegEnumKeyExA(Handle key, std::uint32_t index, char* name,
                       std::uint32_t* nameSize) override;
    long RegQueryValueExA(Handle key, const char* valueName, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size) override;
    long RegSetValueExA(Handle key, const char* valueName, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size) override;
    long RegFlushKey(Handle key) override;
    long RegCloseKey(Handle key) override;

    long CoInitialize() override;
    void CoUninitialize() override;
    Handle OpenDeviceCategory(const Guid& category) override;
    Handle NextDeviceMoniker(Handle enumerator) override;
    bool ReadFriendlyName(Handle moniker, char* buffer, int bufferSize) override;
    Handle BindFilter(Handle moniker) override;
    void ReleaseMoniker(Handle moniker) override;
    void ReleaseDeviceCategory(Handle enumerator) override;
    void ReleaseFilterObject(Handle filter) override;

    void HidD_GetHidGuid(Guid* guid) override;
    Handle SetupDiGetClassDevsA(const Guid& guid, std::uint32_t flags) override;
    bool SetupDiEnumDeviceInterfaces(Handle deviceInfoSet, const Guid& guid,
                                     std::uint32_t index) override;
    std::uint32_t GetDeviceInterfaceDetailSize(Handle deviceInfoSet, const Guid& guid,
                                               std::uint32_t index) override;
    bool GetDeviceInterfaceDetail(Handle deviceInfoSet, const Guid& guid, std::uint32_t index,
                                  void* detail, std::uint32_t detailSize, char* path,
                                  std::uint32_t pathMax) override;
    bool SetupDiDestroyDeviceInfoList(Handle deviceInfoSet) override;
    Handle CreateFileA(const char* path, std::uint32_t access, std::uint32_t shareMode,
                       std::uint32_t disposition, std::uint32_t flags) override;
    bool HidD_GetPreparsedData(Handle device, Handle* preparsed) override;
    long HidP_GetCaps(Handle preparsed, HidCaps* caps) override;
    bool HidD_FreePreparsedData(Handle preparsed) override;
    bool HidD_GetFeature(Handle device, std::uint8_t* report, std::uint32_t length) override;

    Handle LoadLibraryA(const char* name) override;
    void* GetProcAddress(Handle module, const char* name) override;
    bool SetDefaultDllDirectories(std::uint32_t directoryFlags) override;
    bool SetDllDirectoryA(const char* path) override;
    bool ChangeWindowMessageFilterEx(Hwnd hwnd, std::uint32_t message,
                                     std::uint32_t action) override;

    std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) override;
    bool CreateDirectoryA(const char* path) override;
    bool CopyFileA(const char* existingFile, const char* newFile, bool failIfExists) override;

    bool WTSRegisterSessionNotification(Hwnd hwnd, std::uint32_t flags) override;
    bool WTSUnRegisterSessionNotification(Hwnd hwnd) override;
    std::uint32_t WTSGetActiveConsoleSessionId() override;
    std::uint32_t GetCurrentProcessId() override;
    bool ProcessIdToSessionId(std::uint32_t processId, std::uint32_t* sessionId) override;

    bool RegisterWindowClass(const char* className, std::uint32_t iconId, WndProc proc,
                             void* ctx) override;
    Hwnd CreateWindowExA(std::uint32_t exStyle, const char* className, const char* title,
                         std::uint32_t style, int x, int y, int width, int height, Hwnd parent,
                         std::uint32_t id) override;
    Hwnd SetFocus(Hwnd hwnd) override;
    bool SetWindowTextW(Hwnd hwnd, const char16_t* text) override;
    bool GetWindowRect(Hwnd hwnd, Rect* rect) override;
    bool InitCommonControlsEx(std::uint32_t classes) override;
    int ListViewInsertColumnW(Hwnd list, int index, const char16_t* text, int width) override;
    int ListViewInsertItemW(Hwnd list, int index, const char16_t* text) override;
    bool ListViewSetItemTextW(Hwnd list, int item, int subItem, const char16_t* text) override;
    bool ListViewSelectItem(Hwnd list, int item) override;
    std::intptr_t SendMessageTextW(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                   const char16_t* text) override;
    int MessageBoxW(Hwnd owner, const char16_t* text, const char16_t* caption,
                    std::uint32_t type) override;
    bool SetMinTrackSize(std::intptr_t minMaxInfo, int width, int height) override;
    bool SetClipboardTextW(Hwnd owner, const char16_t* text) override;
    void GetLocalTime(LocalTime* time) override;
    Handle CreateMessageFont() override;
    bool DeleteObject(Handle object) override;
    int GetScreenDpi() override;
    bool GetMonitorWorkArea(Hwnd hwnd, Rect* work) override;
    Hwnd CreateTextPanel(const char* className, std::uint32_t exStyle, Hwnd owner) override;
    int MeasurePanelText(const char16_t* text, int panelHeight) override;
    bool SetLayeredWindowAttributes(Hwnd hwnd, std::uint32_t colorKey, std::uint8_t alpha,
                                    std::uint32_t flags) override;
    // Other programs' windows, picking a program.
    std::uint32_t GetWindowLongA(Hwnd hwnd, int index) override;
    bool IsWindowCloaked(Hwnd hwnd) override;
    Handle GetWindowSmallIcon(Hwnd hwnd) override;
    Handle ImageList_Create(int cx, int cy, std::uint32_t flags, int initial, int grow) override;
    int ImageList_ReplaceIcon(Handle list, int index, Handle icon) override;
    bool ListViewSetItemImage(Hwnd list, int item, int image) override;
    Hwnd GetDlgItem(Hwnd dlg, int itemId) override;
    bool GetOpenFileNameW(Hwnd owner, const char16_t* filter, const char16_t* initialDir,
                          std::uint32_t flags, char16_t* file, std::uint32_t fileMax) override;
    // Wide-character calls, the key-map file.
    long SHGetFolderPathW(int csidl, char16_t* path) override;
    bool GetFileAttributesExW(const char16_t* path, FileInfo* info) override;
    std::uint32_t ReadWholeFileW(const char16_t* path, std::uint8_t* buffer, std::uint32_t size,
                                 std::uint32_t* read) override;
    std::uint32_t WriteWholeFileW(const char16_t* path, const std::uint8_t* bytes,
                                  std::uint32_t size) override;
    int MultiByteToWideChar(std::uint32_t codePage, const char* text, int length, char16_t* out,
                            int outMax) override;
    int WideCharToMultiByte(std::uint32_t codePage, const char16_t* text, int length, char* out,
                            int outMax, bool* usedDefaultChar) override;
    int GetWindowTextW(Hwnd hwnd, char16_t* buffer, int bufferMax) override;
    int GetClassNameW(Hwnd hwnd, char16_t* buffer, int bufferMax) override;
    int GetProcessImageNameW(std::uint32_t processId, char16_t* buffer, int bufferMax) override;
    std::intptr_t ShellExecuteW(Hwnd owner, const char16_t* verb, const char16_t* file,
                                const char16_t* parameters, const char16_t* directory,
                                int showCmd) override;
    std::uint32_t GetLastError() override;
    std::uint32_t SendInput(const KeyInput* inputs, std::uint32_t count) override;

  private:
    Handle instance_;
};

}  // namespace rc
