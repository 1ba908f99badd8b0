// The simulated desktop's log, as the applications would see it: one token
// per activation, keystroke, posted or sent message and pause, joined by
// blanks. Windows are named by their title, or by their class when untitled.
//
//   fg:W active:W top:W     SetForegroundWindow, SetActiveWindow, BringWindowToTop
//   17d 17u                 keybd_event down (flags 1) and up (flags 3)
//   post:W:msg:wParam       PostMessageA, lParam 0 (":lParam" in hex otherwise)
//   send:W:msg:wParam       SendMessageA
//   sleep:ms                Sleep
#pragma once

#include <cstdio>
#include <string>

#include "support/sim_desktop.h"

namespace rc::test {

// The parts appended in turn to one string. Tests build their texts with it
// rather than with `"text" + std::string`: that form makes GCC 12 report a
// false overlap (-Wrestrict) in optimised builds.
template <typename... Parts>
std::string Cat(const Parts&... parts) {
    std::string out;
    (out += ... += parts);
    return out;
}

inline std::string WindowName(const SimDesktop& desk, Hwnd hwnd) {
    if (hwnd == 0) {
        return "none";
    }
    if (!desk.WindowExists(hwnd)) {
        return Cat("#", std::to_string(hwnd));
    }
    std::string title = desk.WindowTitle(hwnd);
    return title.empty() ? desk.WindowClass(hwnd) : title;
}

inline std::string Message(const char* what, const SimDesktop& desk, const SimEvent& e) {
    std::string text = std::string(what) + ":" + WindowName(desk, e.hwnd) + ":" +
                       std::to_string(e.a) + ":" + std::to_string(e.b);
    if (e.c != 0) {
        char hex[32];
        std::snprintf(hex, sizeof hex, ":%llx", static_cast<unsigned long long>(e.c));
        text += hex;
    }
    return text;
}

inline std::string Script(const SimDesktop& desk) {
    std::string out;
    for (const SimEvent& e : desk.Log()) {
        std::string token;
        switch (e.kind) {
            case SimEvent::Kind::SetForeground:
                token = "fg:" + WindowName(desk, e.hwnd);
                break;
            case SimEvent::Kind::SetActive:
                token = "active:" + WindowName(desk, e.hwnd);
                break;
            case SimEvent::Kind::BringToTop:
                token = "top:" + WindowName(desk, e.hwnd);
                break;
            case SimEvent::Kind::KeybdEvent:
                token = e.b == 1   ? Cat(std::to_string(e.a), "d")
                        : e.b == 3 ? Cat(std::to_string(e.a), "u")
                                   : Cat(std::to_string(e.a), ":", std::to_string(e.b));
                break;
            case SimEvent::Kind::PostMessage:
                token = Message("post", desk, e);
                break;
            case SimEvent::Kind::SendMessage:
                token = Message("send", desk, e);
                break;
            case SimEvent::Kind::Sleep:
                token = "sleep:" + std::to_string(e.a);
                break;
            default:
                continue;
        }
        if (!out.empty()) {
            out += ' ';
        }
        out += token;
    }
    return out;
}

}  // namespace rc::test
