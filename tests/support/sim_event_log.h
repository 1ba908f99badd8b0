// The simulated desktop's log: one ordered list of everything the system sent
// out (keystrokes, mouse events, cursor moves, posted and sent messages,
// launches, message boxes, trace lines, activations, pauses, library calls...),
// each stamped with the desktop's clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace rc {

// One entry of the log.
struct SimEvent {
    enum class Kind {
        KeybdEvent,     // a = vk, b = flags
        MouseEvent,     // a = flags, b = dx, c = dy
        SetCursorPos,   // a = x, b = y
        PostMessage,    // hwnd, a = msg, b = wParam, c = lParam
        SendMessage,    // hwnd, a = msg, b = wParam, c = lParam
        ShellExecute,   // text = file, text2 = "verb|parameters", text3 = folder, a = show
        MessageBox,     // hwnd = owner, text = text, text2 = caption, a = type
        Trace,          // text = the line given to OutputDebugStringA
        SetForeground,  // hwnd, a = 1 when it succeeded, 0 when refused
        SetActive,      // hwnd (only the active window changes, not the foreground)
        BringToTop,     // hwnd
        SetWindowPos,   // hwnd, a = insertAfter, b = x, c = y, d = flags
        Sleep,          // a = milliseconds
        TrayIcon,       // a = NIM_ message, hwnd, b = uID, c = uFlags, d = callback, text = tip
        LibraryCall,    // text = entry point name, a = result
        ExitWindows,    // a = flags
        DialogOpened,   // hwnd = dialog, a = template id, b = owner
        DialogEnded,    // hwnd = dialog, a = result
        MenuTracked,    // a = x, b = y, text = the item labels joined by '|'
        TimerSet,       // hwnd, a = id, b = elapse
        TimerKilled,    // hwnd, a = id
        FileWrite,      // text = the folder made or the file written, text2 = the file copied
    };
    Kind kind;
    std::uint32_t time;  // the clock when it happened
    Hwnd hwnd = 0;
    std::int64_t a = 0, b = 0, c = 0, d = 0;
    std::string text, text2, text3;
};

class SimEventLog {
  public:
    // clock: the desktop's millisecond clock, read at each Add.
    explicit SimEventLog(const std::uint32_t& clock) : clock_(clock) {}

    // Appends an event stamped with the clock; the caller fills in its fields
    // (before anything else is logged: the reference does not outlive that).
    SimEvent& Add(SimEvent::Kind kind, Hwnd hwnd = 0);

    const std::vector<SimEvent>& All() const { return events_; }
    void Clear() { events_.clear(); }
    std::vector<SimEvent> Events(SimEvent::Kind kind) const;
    std::vector<std::string> Traces() const;        // trace lines in order
    std::vector<std::string> LibraryCalls() const;  // entry point names in order
    // Keystrokes as text, one "vk down"/"vk up" token per event joined by
    // blanks, e.g. "17d 84d 84u 17u"; flags other than 1 (down) and 3 (up)
    // are shown as "vk:flags".
    std::string KeyText() const;

  private:
    std::vector<std::string> Texts(SimEvent::Kind kind) const;

    const std::uint32_t& clock_;
    std::vector<SimEvent> events_;
};

}  // namespace rc
