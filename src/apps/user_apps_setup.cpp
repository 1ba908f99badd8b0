#include "apps/user_apps_setup.h"

#include <string>

#include "core/debug_trace.h"
#include "core/system.h"
#include "platform/win_defs.h"

namespace rc {

namespace {

constexpr char kExampleName[] = "applications.example.ini";
constexpr char kFolderName[] = "\\Remote Control";
constexpr char kFileName[] = "\\applications.ini";

// The example's path: the program's folder and its name; empty when the
// program's path can't be had whole.
std::string ExamplePath(Platform& os) {
    char program[win::kMaxPath] = {};
    const std::uint32_t length = os.GetModuleFileNameA(program, sizeof program);
    if (length == 0 || length >= sizeof program) {
        return {};
    }
    std::string path(program, length);
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos) {
        return {};
    }
    path.resize(slash + 1);
    path += kExampleName;
    return path.size() < win::kMaxPath ? path : std::string();
}

}  // namespace

bool CopyExampleUserApps(System& sys) {
    Platform& os = sys.os;
    char appData[win::kMaxPath] = {};
    if (os.SHGetFolderPathA(win::kCsidlAppData, appData) != 0) {
        return false;
    }
    appData[win::kMaxPath - 1] = '\0';
    std::string folder = appData;
    folder += kFolderName;
    std::string file = folder;
    file += kFileName;
    if (file.size() >= win::kMaxPath ||
        os.GetFileAttributesA(file.c_str()) != win::kInvalidFileAttributes) {
        return false;
    }
    const std::string example = ExamplePath(os);
    if (example.empty() || os.GetFileAttributesA(example.c_str()) == win::kInvalidFileAttributes) {
        return false;
    }
    // Already there but for the file: the folder can't be made again.
    os.CreateDirectoryA(folder.c_str());
    std::string text = "User applications: ";
    text += kExampleName;
    if (!os.CopyFileA(example.c_str(), file.c_str(), true)) {
        text += " could not be copied to ";
        text += file;
        DebugTrace(sys, text.c_str());
        return false;
    }
    text += " copied to ";
    text += file;
    DebugTrace(sys, text.c_str());
    return true;
}

}  // namespace rc
