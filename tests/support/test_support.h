// What several tests share: the prefix of the trace lines, a registry with
// all six applications installed, and the main window of each application.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "core/system.h"
#include "support/sim_desktop.h"

namespace rc::test {

// The prefix of every trace line.
inline constexpr char kTracePrefix[] = "<Remote Control>  ";

// A trace line without its prefix.
inline std::string Untraced(const std::string& line) {
    return line.substr(sizeof kTracePrefix - 1);
}

// The registry of a machine with all six applications installed, Media
// Center launched by mceCommand; it must be in place before the System reads
// it.
inline void InstallAllApps(SimDesktop& desk,
                           const std::string& mceCommand = "C:\\windows\\ehome\\ehshell.exe") {
    desk.SetRegString("SOFTWARE\\CyberLink\\PowerCinema", "InstallPath", "C:\\PC");
    desk.SetRegString("Software\\Orvalix Multimedia\\Nurvel", "AppPath", "C:\\Pallamo");
    desk.SetRegString("SOFTWARE\\Classes\\Applications\\ehshell.exe\\shell\\open\\command", "",
                      mceCommand);
    desk.SetRegString("SOFTWARE\\ArcSoft\\TotalMedia\\3.0", "AppPath", "C:\\TM");
    desk.SetRegString("Software\\Orvalix Multimedia\\Corvane\\Sorvane", "AppPath", "C:\\Panel");
    desk.SetRegString("Software\\Orvalix Multimedia\\Halvex\\Sorvane", "AppPath", "C:\\Center");
}

// Opens the main window of a built-in application (by AppId): the class and
// title its own commands look for, which the key router, the tray menu and
// the application watch find as well (titles match without regard to case):
//
//   PowerCinema     "PCMainFrame"                          "PowerCinema"
//   Pallamo         "TMainForm"                            "Tessaryn"
//   Media Center    "eHome Render Window"                  "Windows Media Center"
//   TotalMedia      "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS"   "ArcSoft TotalMedia"
//   Lumetra panel   "OrvalixMainPanel_Class"               "Mirvo"
//   Lumetra Center  "OrvalixMainPanel_Class"               "Lumetra Center"
//
// PowerCinema and Pallamo are looked for by title alone, so any class would
// do. A test about a window of another class or title opens that window
// itself.
inline Hwnd OpenAppWindow(SimDesktop& desk, std::uint32_t appId) {
    switch (appId) {
        case kPowerCinema:
            return desk.AddWindow("PCMainFrame", "PowerCinema");
        case kPallamo:
            return desk.AddWindow("TMainForm", "Tessaryn");
        case kMediaCenter:
            return desk.AddWindow("eHome Render Window", "Windows Media Center");
        case kTotalMedia:
            return desk.AddWindow("ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "ArcSoft TotalMedia");
        case kLumetraPanel:
            return desk.AddWindow("OrvalixMainPanel_Class", "Mirvo");
        case kLumetraCenter:
            return desk.AddWindow("OrvalixMainPanel_Class", "Lumetra Center");
        default:
            throw std::invalid_argument("OpenAppWindow: not the AppId of a built-in application");
    }
}

}  // namespace rc::test
