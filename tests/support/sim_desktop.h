// A simulated Windows desktop for the host tests.
//
// It implements the platform seam in memory. The desktop itself keeps
// top-level windows with class, title and visibility, the main window and its
// message queue, a millisecond clock whose window timers fire as a test
// advances it (also nested, from inside a modal dialog, message box or menu),
// dialogs, menus, the tray, the screen and files: these call each other from
// their modal loops. Its parts stand on their own, behind the same seam calls:
// the registry (sim_registry.h), the tuner filters and HID devices
// (sim_devices.h) and the chip-vendor libraries with results scripted call by
// call (sim_libraries.h). One ordered log (sim_event_log.h) holds everything
// the system sent out.
//
// The test controls of the parts are reachable here by the same names.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "support/sim_devices.h"
#include "support/sim_event_log.h"
#include "support/sim_libraries.h"
#include "support/sim_registry.h"

namespace rc {

// One item of a popup menu, as appended.
struct SimMenuItem {
    std::uint32_t flags;
    std::uintptr_t id;
    std::string text;
};

class SimDesktop : public Platform {
    // The desktop's own state (sim_desktop_state.h) and the log come first:
    // the parts are made with them.
    struct State;
    std::unique_ptr<State> s_;
    SimEventLog log_;
    bool IsFolder(const std::string& lowerPath) const;

  public:
    SimDesktop();
    ~SimDesktop() override;
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    // The desktop made last and not yet destroyed: the one whose library entry
    // points answer (they are plain functions, which find their libraries so).
    static SimDesktop* Current();

    // ===== The parts ============================================================
    SimRegistry registry;
    SimDevices devices;
    SimLibraries libraries;

    // ===== Test controls ======================================================

    // --- Windows (sim_windows.cpp) ---
    // Adds a top-level window at the end of the desktop's child list (the
    // order FindWindowExA and GetWindow walk). Gives its handle.
    Hwnd AddWindow(const std::string& className, const std::string& title, bool visible = true);
    void RemoveWindow(Hwnd hwnd);
    void SetWindowVisible(Hwnd hwnd, bool visible);
    bool WindowExists(Hwnd hwnd) const;
    std::string WindowTitle(Hwnd hwnd) const;
    std::string WindowClass(Hwnd hwnd) const;
    bool IsTopmost(Hwnd hwnd) const;
    Point WindowPosition(Hwnd hwnd) const;  // last SetWindowPos x, y (0, 0 at first)
    Hwnd Foreground() const;
    Hwnd MainWindow() const;  // the window made by CreateMainWindow, 0 before
    // Text panels (CreateTextPanel): windows of this program, hidden at
    // first, with their extended styles. ShowWindow with SW_SHOW or
    // SW_SHOWNORMAL activates a panel (it becomes the foreground window), as
    // Windows does; SW_SHOWNOACTIVATE and SW_SHOWNA leave the foreground
    // alone. Every monitor's work area is workArea unless SetWindowMonitor
    // puts a window on another monitor (GetMonitorWorkArea).
    std::uint32_t WindowExStyle(Hwnd hwnd) const;
    Point WindowSize(Hwnd hwnd) const;  // last SetWindowPos cx, cy
    int WindowAlpha(Hwnd hwnd) const;   // last SetLayeredWindowAttributes alpha, -1 none
    int TextPanelsCreated() const;
    Rect workArea{0, 0, 1920, 1040};
    void SetWindowMonitor(Hwnd hwnd, Rect work);
    // Makes SetForegroundWindow refuse (give false and change nothing), as
    // Windows does to a background process: it then succeeds only while our
    // input is attached to the foreground window's thread (AttachThreadInput),
    // and not even then with refuseForegroundAttached.
    bool refuseForeground = false;
    bool refuseForegroundAttached = false;
    // Makes a granted foreground change land only once the clock has moved
    // on by this many milliseconds, as when the window's thread is busy:
    // SetForegroundWindow succeeds at once, but GetForegroundWindow (and
    // Foreground) report the window in front before until then. A request
    // for the window already on its way keeps the first one's time.
    // kNeverLands: the change never lands.
    std::uint32_t foregroundDelay = 0;
    static constexpr std::uint32_t kNeverLands = 0xFFFFFFFF;
    // The thread of this program (main window and dialogs); every other
    // window has a thread of its own.
    static constexpr std::uint32_t kOurThread = 1;
    // Processes: the main window and dialogs are this program's; every other
    // window is a process of its own, whose id is its handle, until
    // SetWindowProcess puts it in another window's process (an application's
    // second window). GetProcessImageNameW gives what SetProcessImage set, and
    // fails for a process without one (as for another user's process).
    static constexpr std::uint32_t kOurProcess = 1;
    void SetWindowProcess(Hwnd hwnd, std::uint32_t processId);
    void SetProcessImage(std::uint32_t processId, const std::string& path);
    int AttachedInputs() const;  // AttachThreadInput attachments not undone
    // A window whose thread no longer takes its messages (IsHungAppWindow).
    // Attaching our input to its thread would make SetForegroundWindow wait
    // on it: such an attach is counted.
    void SetHung(Hwnd hwnd, bool hung);
    int attachesToHungThreads = 0;
    // Called when a message is posted or sent to a window other than the main
    // window and dialogs (a stand-in application reacting, e.g. closing itself).
    // Every PostMessageA/SendMessageA is logged, also to a window that does not
    // exist (the call then fails). Posts to the main window or an open dialog
    // wait in the queue for Pump/RunMessageLoop; sends call the procedure.
    // DestroyWindow works on the main window only (WM_DESTROY, its timers go);
    // BringWindowToTop leaves the list order alone.
    std::function<void(Hwnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam)>
        onAppMessage;

    // --- Main window messages (sim_windows.cpp) ---
    // Dispatches a message to the main window's procedure at once.
    std::intptr_t SendToMainWindow(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);
    // Runs RunMessageLoop's work for messages already posted (to the main
    // window or an open dialog; messages for windows that are gone are
    // dropped), including messages posted while it runs, until the queue is
    // empty. Gives the number of messages dispatched. RunMessageLoop does the
    // same and then gives the quit code; as on Windows, messages posted
    // before the quit are still dispatched.
    int Pump();
    int PostedCount() const;  // messages waiting in the queue
    bool QuitPosted() const;
    int QuitCode() const;
    int LoadedAccelerators() const;  // last accelerator table id loaded

    // --- Clock and timers (sim_clock.cpp) ---
    std::uint32_t Now() const;
    // Moves the clock without firing timers; armed timers keep their phase
    // (their due times move along).
    void SetNow(std::uint32_t now);
    // Moves the clock on by ms, firing every window timer that falls due, in
    // time order (equal due times in the order the timers were set; a timer
    // whose callback overran fires once more at most, as WM_TIMER does, and
    // runs on from there). Callbacks may call Advance again from a modal loop,
    // and may set or kill timers. A period under 10 ms counts as 10 ms.
    void Advance(std::uint32_t ms);
    bool TimerArmed(Hwnd hwnd, std::uintptr_t id) const;
    int SetTimerCount() const;   // SetTimer calls so far
    int KillTimerCount() const;  // KillTimer calls so far
    bool failSetTimer = false;   // SetTimer gives 0 (but the timer is not set)
    // Sleep advances the clock without firing timers (the thread is blocked).

    // --- Modal loops: dialogs, message boxes, menus (sim_dialogs.cpp) ---
    // Called once a dialog has run WM_INITDIALOG, while it is "open"; the test
    // may send it messages (SendDialogMessage, ClickDialogItem) or Advance the
    // clock. If the dialog is still open when the script returns, it is closed
    // by its close box: WM_COMMAND IDCANCEL goes to its procedure, and if that
    // does not end it, it ends with IDCANCEL (2). Dialogs are windows of class
    // "#32770" titled after their template (20, 21, 107, 120); another
    // template id gives -1. Template 120 ("Add a program") holds a list view
    // (id 1201, GetDlgItem finds it) and gives -1 before
    // InitCommonControlsEx(ICC_LISTVIEW_CLASSES). Control state stays
    // readable after the dialog has ended.
    std::function<void(Hwnd dlg, std::uint32_t templateId)> onDialog;
    // Called while a message box is shown; gives the button pressed (IDOK
    // when not set).
    std::function<int(const std::string& text, const std::string& caption)> onMessageBox;
    // Called while a popup menu is tracked; gives the chosen command id, 0 for
    // none. The chosen id is then posted to the owner as WM_COMMAND, as Windows
    // does (delivered by Pump/RunMessageLoop); an id that is not an item of the
    // menu counts as none.
    std::function<std::uintptr_t(const std::vector<SimMenuItem>& items)> onTrackPopupMenu;
    std::intptr_t SendDialogMessage(Hwnd dlg, std::uint32_t msg, std::uintptr_t wParam,
                                    std::intptr_t lParam);
    // A click on a dialog's button: WM_COMMAND with the id (check boxes flip
    // their state first).
    void ClickDialogItem(Hwnd dlg, int itemId);
    std::vector<std::string> ComboItems(Hwnd dlg, int itemId) const;
    int ComboSelection(Hwnd dlg, int itemId) const;
    void SetComboSelection(Hwnd dlg, int itemId, int index);  // no notification
    bool ItemChecked(Hwnd dlg, int itemId) const;
    Hwnd OpenDialog() const;  // the innermost open dialog, 0 when none
    std::vector<SimMenuItem> LastMenu() const;
    int OpenMenuCount() const;  // popup menus created and not destroyed

    // --- Tray (sim_dialogs.cpp) ---
    std::vector<TrayIconData> TrayIcons() const;  // icons currently shown
    // Explorer not ready at logon: the next NIM_ADD calls fail and add nothing.
    int failTrayAdds = 0;
    // Explorer answering late: NIM_ADD adds the icon but reports failure.
    bool trayAddTimesOut = false;
    // Explorer restarts: the notification area forgets its icons and
    // "TaskbarCreated" is sent to the main window, which an elevated program
    // hears only once its message filter allows it.
    void RestartExplorer();
    bool elevated = false;
    // ChangeWindowMessageFilterEx is missing (before Windows 7).
    bool lacksMessageFilter = false;
    // The message reaches the window from a non-elevated Explorer: allowed
    // with ChangeWindowMessageFilterEx (MSGFLT_ALLOW) and not reset since.
    bool MessageAllowed(Hwnd hwnd, std::uint32_t message) const;

    // --- Screen, cursor, mouse (sim_system.cpp) ---
    void SetSystemMetric(int index, int value);
    Point Cursor() const;
    void SetCursor(Point p);  // kept on the screen, as Windows does
    std::intptr_t messageExtraInfo = 0;

    // --- Shell, system and files (sim_system.cpp) ---
    // ShellExecuteA's result (default 42); onShellExecute may create windows.
    std::intptr_t shellExecuteResult = 42;
    std::function<void(const std::string& file, const std::string& parameters)> onShellExecute;
    OsVersion version{6, 1, 7601, 2};
    bool failVersionEx = false;     // the extended query fails
    bool failVersionBasic = false;  // the basic query fails
    std::string windowsDirectory = "C:\\windows";
    std::string systemDirectory = "C:\\windows\\system32";
    // Case-insensitive. The folders above a file exist too (GetFileAttributesA
    // gives FILE_ATTRIBUTE_DIRECTORY for them).
    void AddFile(const std::string& path);
    void RemoveFile(const std::string& path);  // also a file with a text
    // A file with its bytes (text, or any bytes) and its last-write time
    // (FILETIME units; 0: a time later than that of every earlier write).
    void SetFileText(const std::string& path, const std::string& text, std::uint64_t writeTime = 0);
    // WriteWholeFileW stamps a file with the clock (Now) as the system time,
    // so two writes at one Now get one time stamp, as within a tick of
    // Windows' clock. Nonzero: every WriteWholeFileW fails with this error
    // and leaves the file alone (ERROR_ACCESS_DENIED 5 for a read-only file
    // or one another program holds open).
    std::uint32_t fileWriteError = 0;
    // The folder SHGetFolderPathA gives for CSIDL_APPDATA; empty: the call
    // fails. Every other folder fails.
    std::string appDataFolder = "C:\\Users\\Ada\\AppData\\Roaming";
    // The program's own path (GetModuleFileNameA); empty: the call fails.
    // Folders: those made with AddFolder or CreateDirectoryA, those above a
    // file or folder, the drives ("C:") and appDataFolder.
    std::string modulePath = "C:\\Program Files\\Remote Control\\RemoteControl.exe";
    void AddFolder(const std::string& path);
    // A file's text ("" for a file without one or no file).
    std::string FileText(const std::string& path) const;
    bool failOpenProcessToken = false;
    std::uint32_t adjustPrivilegeError = 0;
    bool failExitWindows = false;

    // --- Sessions (sim_system.cpp) ---
    // This program's session and the one the physical console shows
    // (win::kNoConsoleSession: none). A remote-desktop session also answers
    // SM_REMOTESESSION (SetSystemMetric).
    std::uint32_t processSession = 1;
    std::uint32_t consoleSession = 1;
    bool failProcessSession = false;       // ProcessIdToSessionId fails
    bool failSessionRegistration = false;  // WTSRegisterSessionNotification fails
    // The window registered for session events, 0 when none is.
    Hwnd SessionWindow() const;
    // Fast user switching: the console goes to another session. As with
    // NOTIFY_FOR_THIS_SESSION, the registered window hears the events of its
    // own session only, posted: WTS_CONSOLE_DISCONNECT when the console
    // leaves it, WTS_CONSOLE_CONNECT when it comes to it (after
    // WTS_REMOTE_DISCONNECT and with SM_REMOTESESSION back to 0, when a
    // remote-desktop client had it).
    void SwitchConsole(std::uint32_t session);
    // A remote-desktop client takes this program's session: it leaves the
    // console (WTS_CONSOLE_DISCONNECT, and the console shows a session of its
    // own) and joins the remote terminal (WTS_REMOTE_CONNECT);
    // SM_REMOTESESSION becomes 1.
    void ConnectRemote();

    // --- The log (sim_event_log.h) ---
    const std::vector<SimEvent>& Log() const { return log_.All(); }
    void ClearLog() { log_.Clear(); }
    std::vector<SimEvent> Events(SimEvent::Kind kind) const { return log_.Events(kind); }
    std::vector<std::string> Traces() const { return log_.Traces(); }
    std::vector<std::string> LibraryCalls() const { return log_.LibraryCalls(); }
    std::string KeyText() const { return log_.KeyText(); }

    // --- The registry (sim_registry.h) ---
    void SetRegDword(const std::string& keyPath, const std::string& name, std::uint32_t value) {
        registry.SetRegDword(keyPath, name, value);
    }
    void SetRegString(const std::string& keyPath, const std::string& name,
                      const std::string& value) {
        registry.SetRegString(keyPath, name, value);
    }
    void SetRegBinary(const std::string& keyPath, const std::string& name,
                      const std::vector<std::uint8_t>& bytes, std::uint32_t type = 3) {
        registry.SetRegBinary(keyPath, name, bytes, type);
    }
    void CreateRegKey(const std::string& keyPath) { registry.CreateRegKey(keyPath); }
    void DeleteRegKey(const std::string& keyPath) { registry.DeleteRegKey(keyPath); }
    void DeleteRegValue(const std::string& keyPath, const std::string& name) {
        registry.DeleteRegValue(keyPath, name);
    }
    bool RegKeyExists(const std::string& keyPath) const { return registry.RegKeyExists(keyPath); }
    bool RegValueExists(const std::string& keyPath, const std::string& name) const {
        return registry.RegValueExists(keyPath, name);
    }
    std::uint32_t RegValueType(const std::string& keyPath, const std::string& name) const {
        return registry.RegValueType(keyPath, name);
    }
    std::vector<std::uint8_t> RegValueBytes(const std::string& keyPath,
                                            const std::string& name) const {
        return registry.RegValueBytes(keyPath, name);
    }
    std::uint32_t RegDword(const std::string& keyPath, const std::string& name) const {
        return registry.RegDword(keyPath, name);
    }
    std::vector<std::string> RegValueNames(const std::string& keyPath) const {
        return registry.RegValueNames(keyPath);
    }
    int OpenRegKeyCount() const { return registry.OpenRegKeyCount(); }
    int RegFlushCount() const { return registry.RegFlushCount(); }
    bool& refuseAllAccess = registry.refuseAllAccess;
    bool& standardUser = registry.standardUser;

    // --- DirectShow tuner filters and HID devices (sim_devices.h) ---
    static constexpr Guid kBdaNetworkTuner = SimDevices::kBdaNetworkTuner;
    static constexpr Guid kCrossbar = SimDevices::kCrossbar;
    static constexpr Guid kVideoInputDevice = SimDevices::kVideoInputDevice;
    int AddFilter(const Guid& category, const std::string& friendlyName, bool bindFails = false) {
        return devices.AddFilter(category, friendlyName, bindFails);
    }
    void RemoveFilter(int id) { devices.RemoveFilter(id); }
    void RemoveAllFilters() { devices.RemoveAllFilters(); }
    bool& failCreateEnumerator = devices.failCreateEnumerator;
    int CoInitCount() const { return devices.CoInitCount(); }
    int HeldFilters() const { return devices.HeldFilters(); }
    int OpenDeviceObjects() const { return devices.OpenDeviceObjects(); }
    int CategoryOpenCount() const { return devices.CategoryOpenCount(); }
    using HidDevice = SimHidDevice;
    int AddHidDevice(const HidDevice& device) { return devices.AddHidDevice(device); }
    HidDevice& Hid(int id) { return devices.Hid(id); }
    void RemoveHidDevice(int id) { devices.RemoveHidDevice(id); }
    bool& failGetClassDevs = devices.failGetClassDevs;
    int OpenHidSets() const { return devices.OpenHidSets(); }
    int OpenHidHandles() const { return devices.OpenHidHandles(); }
    std::vector<std::uint8_t> LastFeatureReport() const { return devices.LastFeatureReport(); }

    // --- Chip-vendor libraries (sim_libraries.h) ---
    void InstallLibrary(const std::string& name) { libraries.InstallLibrary(name); }
    void UninstallLibrary(const std::string& name) { libraries.UninstallLibrary(name); }
    void PlantLibrary(const std::string& name) { libraries.PlantLibrary(name); }
    bool& lacksDefaultDllDirectories = libraries.lacksDefaultDllDirectories;
    bool CurrentFolderSearched() const { return libraries.CurrentFolderSearched(); }
    SimEntryPoint& Entry(const std::string& name) { return libraries.Entry(name); }
    std::deque<std::vector<std::uint8_t>>& af15Buffers = libraries.af15Buffers;
    std::deque<std::vector<std::uint32_t>>& af9100Words = libraries.af9100Words;
    std::deque<std::pair<std::uint32_t, std::vector<std::uint8_t>>>& rtkCodes = libraries.rtkCodes;
    Hwnd LastRtkFilterInitWindow() const { return libraries.LastRtkFilterInitWindow(); }
    int LoadLibraryCount(const std::string& name) const { return libraries.LoadLibraryCount(name); }

    // --- Wide-character calls and the key-map file (sim_wide.cpp) ---
    // Window titles, classes and executable paths are held as UTF-8 and given
    // to the W calls as UTF-16; the ANSI code page (CP_ACP) is Windows-1252,
    // and WideCharToMultiByte writes '?' for a character it lacks.
    // Nonzero: every ReadWholeFileW fails with this error, as while another
    // program holds the file (ERROR_SHARING_VIOLATION, 32).
    std::uint32_t fileReadError = 0;
    // A window of an elevated program: a post to it fails with
    // ERROR_ACCESS_DENIED (5), and SendInput is refused while it is in front,
    // unless this program is elevated too (User Interface Privilege
    // Isolation; Wine has none).
    void SetWindowElevated(Hwnd hwnd);
    bool WindowElevated(Hwnd hwnd) const;

    // --- Windows of the program's own classes and their controls (sim_controls.cpp) ---
    // Windows made by CreateWindowExA of a class registered with
    // RegisterWindowClass are top-level windows of this program (FindWindowA
    // finds them); sends call their procedure, DestroyWindow sends WM_DESTROY
    // and takes them and their controls away. Controls (children) are not on
    // the desktop's list; the list view answers LVM_GETITEMCOUNT,
    // LVM_DELETEITEM and LVM_ENSUREVISIBLE.
    Hwnd FindControl(Hwnd parent, const std::string& className, int nth = 0) const;
    Hwnd ControlById(Hwnd parent, std::uint32_t id) const;
    std::string ControlText(Hwnd control) const;  // SetWindowTextW's, as UTF-8
    std::vector<std::string> ListColumns(Hwnd list) const;
    std::vector<std::vector<std::string>> ListRows(Hwnd list) const;
    int ListInView(Hwnd list) const;  // the last item kept in view, -1 none
    std::uint32_t WindowStyle(Hwnd hwnd) const;
    Rect WindowRect(Hwnd hwnd) const;
    // A click on a control: WM_COMMAND with its id (BN_CLICKED) to its parent
    // (an automatic check box flips its state first).
    void ClickControl(Hwnd control);
    // What a user does to a control, and the notification its parent gets
    // (WM_COMMAND with the code in the high word; a list view's WM_NOTIFY
    // LVN_ITEMCHANGED): typing a text (EN_CHANGE), choosing an item
    // of a combo box or list box, or a row of a list view (CBN_SELCHANGE,
    // LBN_SELCHANGE), pressing a chord in a hotkey control (EN_CHANGE; vk
    // and HOTKEYF_ modifiers).
    void NotifyControl(Hwnd control, std::uint32_t code);
    void TypeInto(Hwnd control, const std::string& text);
    void ChooseItem(Hwnd control, int index);
    void PressHotkey(Hwnd control, std::uint8_t vk, std::uint32_t modifiers);
    std::vector<std::string> ControlItems(Hwnd control) const;  // a combo box's or list box's
    int ControlSelection(Hwnd control) const;  // its selected item, a list view's row; -1 none
    bool ControlVisible(Hwnd control) const;
    bool ControlChecked(Hwnd control) const;
    std::uint32_t ControlHotkey(Hwnd control) const;  // HKM_GETHOTKEY's answer
    Point MinTrackSize() const;                       // the last SetMinTrackSize's
    std::string ClipboardText() const;                // as UTF-8
    bool clipboardBusy = false;  // another program holds it: SetClipboardTextW fails
    int OpenFonts() const;
    Hwnd Focus() const;  // the control or window SetFocus gave the focus
    LocalTime localTime{18, 4, 5, 120};
    int screenDpi = 96;

    // --- Other programs' windows, picking a program (sim_picking.cpp) ---
    // A window's extended styles (GetWindowLongA GWL_EXSTYLE), its cloaking
    // (IsWindowCloaked) and its small icon (GetWindowSmallIcon, which gives
    // kGenericIcon for a window without one). Image lists keep the icons
    // added to them; a list view keeps its small image list and each row's
    // image (-1: none).
    void SetWindowExStyle(Hwnd hwnd, std::uint32_t exStyle);
    void SetWindowCloaked(Hwnd hwnd, bool cloaked);
    void SetWindowIcon(Hwnd hwnd, Handle icon);
    static constexpr Handle kGenericIcon = 0x7F00;
    std::vector<Handle> ImageListIcons(Handle list) const;
    Handle ListImageList(Hwnd list) const;
    std::vector<int> ListRowImages(Hwnd list) const;
    // The Open dialog (GetOpenFileNameW): what it was last asked, and the
    // path the user chooses in it (nullopt: the user cancels).
    struct OpenFileAsk {
        Hwnd owner = 0;
        std::string filter;  // its texts joined by '|'
        std::string initialDir;
        std::string file;  // the name first shown
        std::uint32_t flags = 0;
    };
    std::optional<OpenFileAsk> openFileAsked;
    std::optional<std::string> openFileAnswer;

  private:
    std::vector<Hwnd> elevatedWindows_;
    std::uint32_t lastError_ = 0;

  public:
    // ===== The platform seam ====================================================
    // The desktop's own (sim_windows.cpp, sim_clock.cpp, sim_dialogs.cpp,
    // sim_system.cpp).
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
    bool IsHungAppWindow(Hwnd hwnd) override;
    std::uint32_t GetWindowThreadProcessId(Hwnd hwnd) override;
    std::uint32_t GetWindowProcessId(Hwnd hwnd) override;
    std::uint32_t GetCurrentThreadId() override;
    bool AttachThreadInput(std::uint32_t idAttach, std::uint32_t idAttachTo, bool attach) override;
    bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                      std::uint32_t flags) override;
    bool PostMessageA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                      std::intptr_t lParam) override;
    std::intptr_t SendMessageA(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam,
                               std::intptr_t lParam) override;
    bool ChangeWindowMessageFilterEx(Hwnd hwnd, std::uint32_t message,
                                     std::uint32_t action) override;
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

  private:
    // Sends to a window of the program's own classes or a control; false for
    // any other window.
    bool SendToOwn(Hwnd hwnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam,
                   std::intptr_t* result);
    bool DestroyOwn(Hwnd hwnd);
    void MoveOwn(Hwnd hwnd, int x, int y, int cx, int cy, std::uint32_t flags);

  public:
    // On-screen display (sim_windows.cpp); a panel's text is as wide as its
    // UTF-16 characters times 5/16 of the panel's height.
    bool GetMonitorWorkArea(Hwnd hwnd, Rect* work) override;
    Hwnd CreateTextPanel(const char* className, std::uint32_t exStyle, Hwnd owner) override;
    int MeasurePanelText(const char16_t* text, int panelHeight) override;
    bool SetLayeredWindowAttributes(Hwnd hwnd, std::uint32_t colorKey, std::uint8_t alpha,
                                    std::uint32_t flags) override;
    // Other programs' windows, picking a program (sim_picking.cpp).
    std::uint32_t GetWindowLongA(Hwnd hwnd, int index) override;
    bool IsWindowCloaked(Hwnd hwnd) override;
    Handle GetWindowSmallIcon(Hwnd hwnd) override;
    Handle ImageList_Create(int cx, int cy, std::uint32_t flags, int initial, int grow) override;
    int ImageList_ReplaceIcon(Handle list, int index, Handle icon) override;
    bool ListViewSetItemImage(Hwnd list, int item, int image) override;
    Hwnd GetDlgItem(Hwnd dlg, int itemId) override;
    bool GetOpenFileNameW(Hwnd owner, const char16_t* filter, const char16_t* initialDir,
                          std::uint32_t flags, char16_t* file, std::uint32_t fileMax) override;
    // Wide-character calls, the key-map file (sim_wide.cpp).
    long SHGetFolderPathW(int csidl, char16_t* path) override;
    bool GetFileAttributesExW(const char16_t* path, FileInfo* info) override;
    std::uint32_t ReadWholeFileW(const char16_t* path, std::uint8_t* buffer, std::uint32_t size,
                                 std::uint32_t* read) override;
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

    // The parts' (sim_desktop.cpp hands each call on).
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

    // The program's folder, folders and copies (sim_system.cpp).
    std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) override;
    bool CreateDirectoryA(const char* path) override;
    bool CopyFileA(const char* existingFile, const char* newFile, bool failIfExists) override;
    std::uint32_t WriteWholeFileW(const char16_t* path, const std::uint8_t* bytes,
                                  std::uint32_t size) override;
};

}  // namespace rc
