// The simulated desktop's own state, shared by its sources (sim_desktop.cpp,
// sim_windows.cpp, sim_clock.cpp, sim_dialogs.cpp, sim_system.cpp) and by
// nothing else.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/win_defs.h"
#include "support/sim_desktop.h"

namespace rc {

namespace sim {

constexpr Hwnd kDesktop = 0x10010;
constexpr Hwnd kFirstWindow = 0x20000;
constexpr Handle kFirstMenu = 0x5000;

}  // namespace sim

struct SimDesktop::State {
    // --- Windows ---
    struct Window {
        Hwnd hwnd;
        std::string className;
        std::string title;
        bool visible;
        bool topmost = false;
        Point position{0, 0};
        std::uint32_t process = 0;  // 0: a process of its own
        std::uint32_t exStyle = 0;  // a text panel's extended styles (0 for the others)
        Point size{0, 0};           // last SetWindowPos cx, cy
        int alpha = -1;             // last SetLayeredWindowAttributes alpha, -1 none
        bool cloaked = false;
        Handle icon = 0;  // its small icon, 0 none
        Hwnd owner = 0;   // a dialog's owner (GetWindow GW_OWNER), 0 none
    };
    std::vector<Window> windows;  // the desktop's children, in list order
    Hwnd nextHwnd = sim::kFirstWindow;
    Hwnd foreground = 0;
    Hwnd active = 0;
    Hwnd pendingForeground = 0;       // a delayed foreground change on its way
    std::uint64_t foregroundDue = 0;  // when it lands
    std::set<std::pair<std::uint32_t, std::uint32_t>> attachedInputs;
    std::set<Hwnd> hungWindows;
    std::map<std::uint32_t, std::string> processImages;

    // --- Main window and messages ---
    struct WindowClass {
        std::string name;
        std::uint32_t iconId;
        WndProc proc;
        void* ctx;
    };
    std::vector<WindowClass> classes;
    Hwnd mainWindow = 0;
    int textPanels = 0;                            // CreateTextPanel calls that made one
    std::vector<std::pair<Hwnd, Rect>> monitorOf;  // windows on another monitor
    WndProc mainProc = nullptr;
    void* mainCtx = nullptr;

    struct Posted {
        Hwnd hwnd;
        std::uint32_t msg;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    std::deque<Posted> queue;
    bool quitPosted = false;
    int quitCode = 0;
    std::map<std::string, std::uint32_t> registeredMessages;
    std::map<std::pair<Hwnd, std::uint32_t>, bool> messageFilter;
    int acceleratorsLoaded = 0;

    // --- Clock and timers ---
    std::uint32_t now = 100000;
    struct Timer {
        std::uint32_t period;
        TimerProc proc;
        void* ctx;
        std::uint64_t due;
        std::uint64_t serial;  // order of setting: breaks ties, tells a replaced timer
    };
    std::map<std::pair<Hwnd, std::uintptr_t>, Timer> timers;
    std::uint64_t nextSerial = 1;
    std::uint64_t clock64 = 100000;  // the clock without wrap-around, for due times
    int setTimerCalls = 0;
    int killTimerCalls = 0;

    // --- Tray and menus ---
    std::vector<TrayIconData> trayIcons;
    std::map<Handle, std::vector<SimMenuItem>> menus;
    Handle nextMenu = sim::kFirstMenu;
    std::vector<SimMenuItem> lastMenu;

    // --- Dialogs ---
    struct Control {
        std::vector<std::string> items;
        int selection = -1;
        std::uintptr_t check = 0;
        bool checkBox = false;
    };
    struct Dialog {
        std::uint32_t templateId;
        DlgProc proc;
        void* ctx;
        bool open = true;
        bool ended = false;
        std::intptr_t result = 0;
        std::map<int, Control> controls;
    };
    std::map<Hwnd, Dialog> dialogs;  // kept after closing, for inspection
    std::vector<Hwnd> dialogStack;   // open dialogs, innermost last

    // --- Screen ---
    std::map<int, int> metrics = {{win::kSmCxScreen, 1024},
                                  {win::kSmCyScreen, 768},
                                  {win::kSmCxFullScreen, 1024},
                                  {win::kSmCyFullScreen, 742},
                                  {win::kSmSwapButton, 0}};
    Point cursor{512, 384};

    // --- Files, tokens ---
    std::set<std::string> files;  // lower case
    struct TextFile {
        std::string text;
        std::uint64_t writeTime;
    };
    std::map<std::string, TextFile> textFiles;  // by lower-case path
    std::set<std::string> folders;              // made ones, lower case
    std::uint64_t lastWriteTime = 0x01D0000000000000ull;
    std::set<Handle> tokens;

    // --- Sessions ---
    Hwnd sessionWindow = 0;  // registered for session events

    // Windows posts a session event to the registered window.
    void PostSessionEvent(std::uintptr_t event, std::uint32_t session) {
        if (sessionWindow != 0 && sessionWindow == mainWindow) {
            queue.push_back({sessionWindow, win::kWmWtsSessionChange, event,
                             static_cast<std::intptr_t>(session)});
        }
    }

    // --- Windows of the program's own classes and their controls (sim_controls.cpp) ---
    struct OwnWindow {
        WndProc proc;
        void* ctx;
        std::uint32_t style;
        std::uint32_t exStyle;
        Rect rect;
    };
    std::map<Hwnd, OwnWindow> ownWindows;  // top-level, also in windows
    struct ChildControl {
        Hwnd parent;
        std::string className;
        std::uint32_t id;
        std::uint32_t style;
        std::string text;
        Handle font = 0;
        std::vector<std::string> columns;
        std::vector<std::vector<std::string>> rows;
        int inView = -1;  // the last item LVM_ENSUREVISIBLE asked for
        bool visible = true;
        std::vector<std::string> items;  // of a combo box or list box
        int selection = -1;              // its selected item; a list view's selected row
        std::uintptr_t check = 0;        // BM_SETCHECK's state
        std::uint32_t hotkey = 0;        // HKM_SETHOTKEY's key and modifiers
        Handle imageList = 0;            // LVM_SETIMAGELIST's small image list
        std::vector<int> rowImages;      // each row's image, -1 none
    };
    std::map<Hwnd, ChildControl> controls;
    bool commonControls = false;  // InitCommonControlsEx(ICC_LISTVIEW_CLASSES) ran
    bool hotkeyControls = false;  // InitCommonControlsEx(ICC_HOTKEY_CLASS) ran
    Point minTrackSize{};         // the last SetMinTrackSize's
    std::string clipboard;
    int fonts = 0;  // made and not deleted
    Hwnd focus = 0;

    // --- Picking a program (sim_picking.cpp) ---
    std::map<Handle, std::vector<Handle>> imageLists;  // their icons
    Handle nextImageList = 0x9000;

    Window* FindWin(Hwnd h) {
        for (auto& w : windows) {
            if (w.hwnd == h) {
                return &w;
            }
        }
        return nullptr;
    }
    const Window* FindWin(Hwnd h) const { return const_cast<State*>(this)->FindWin(h); }
    Dialog* OpenDlg(Hwnd h) {
        auto it = dialogs.find(h);
        return it != dialogs.end() && it->second.open ? &it->second : nullptr;
    }

    void SetClock(std::uint64_t t) {
        clock64 = t;
        now = static_cast<std::uint32_t>(t);
    }

    // A delayed foreground change lands once its time has come.
    void SettleForeground() {
        if (pendingForeground != 0 && clock64 >= foregroundDue) {
            if (FindWin(pendingForeground) != nullptr) {
                foreground = pendingForeground;
                active = pendingForeground;
            }
            pendingForeground = 0;
        }
    }
};

}  // namespace rc
