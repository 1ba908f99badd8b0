// What several tests share: the prefix of the trace lines, and a registry
// with all six applications installed.
#pragma once

#include <string>

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

}  // namespace rc::test
