// Input, screen, the shell, the system and its files: keystrokes and mouse
// events, the cursor, launches, the version, files, trace lines, shutdown.
#include <algorithm>
#include <cstring>
#include <map>

#include "core/text.h"
#include "platform/win_defs.h"
#include "support/sim_desktop.h"
#include "support/sim_desktop_state.h"
#include "support/sim_text.h"

namespace rc {

using sim::CopyTruncated;
using sim::Lower;
using sim::SameText;
using sim::Text;

namespace {

constexpr std::size_t kMaxPath = 260;  // MAX_PATH, with the NUL
constexpr std::uint32_t kMouseEventMove = 0x0001;
constexpr std::uint32_t kMouseEventAbsolute = 0x8000;

}  // namespace

// ===== Input and screen ==========================================================

void SimDesktop::keybd_event(std::uint8_t vk, std::uint8_t /*scan*/, std::uint32_t flags,
                             std::uintptr_t /*extraInfo*/) {
    auto& e = log_.Add(SimEvent::Kind::KeybdEvent);
    e.a = vk;
    e.b = flags;
}

void SimDesktop::mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                             std::int32_t data, std::uintptr_t /*extraInfo*/) {
    auto& e = log_.Add(SimEvent::Kind::MouseEvent);
    e.a = flags;
    e.b = dx;
    e.c = dy;
    e.d = data;
    if ((flags & kMouseEventMove) && !(flags & kMouseEventAbsolute)) {
        SetCursor({s_->cursor.x + dx, s_->cursor.y + dy});
    }
}

std::intptr_t SimDesktop::GetMessageExtraInfo() {
    return messageExtraInfo;
}

std::uint32_t SimDesktop::MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) {
    // A few scan codes of a US keyboard; every other key has none here.
    static const std::map<std::uint32_t, std::uint32_t> kScanCodes = {
        {0x08, 0x0E}, {0x09, 0x0F}, {0x0D, 0x1C}, {0x10, 0x2A}, {0x11, 0x1D}, {0x12, 0x38},
        {0x1B, 0x01}, {0x20, 0x39}, {0x25, 0x4B}, {0x26, 0x48}, {0x27, 0x4D}, {0x28, 0x50},
        {'F', 0x21},  {'M', 0x32},  {'P', 0x19},  {'S', 0x1F},  {0x73, 0x3E}};
    if (mapType != win::kMapVkVkToVsc) {
        return 0;
    }
    auto it = kScanCodes.find(code);
    return it == kScanCodes.end() ? 0 : it->second;
}

bool SimDesktop::SetCursorPos(int x, int y) {
    auto& e = log_.Add(SimEvent::Kind::SetCursorPos);
    e.a = x;
    e.b = y;
    SetCursor({x, y});
    return true;
}

bool SimDesktop::GetCursorPos(Point* point) {
    if (!point) {
        return false;
    }
    *point = s_->cursor;
    return true;
}

void SimDesktop::SetCursor(Point p) {
    // Windows keeps the pointer on the screen.
    int right = std::max(0, GetSystemMetrics(win::kSmCxScreen) - 1);
    int bottom = std::max(0, GetSystemMetrics(win::kSmCyScreen) - 1);
    s_->cursor = {std::clamp(p.x, 0, right), std::clamp(p.y, 0, bottom)};
}

Point SimDesktop::Cursor() const {
    return s_->cursor;
}

int SimDesktop::GetSystemMetrics(int index) {
    auto it = s_->metrics.find(index);
    return it == s_->metrics.end() ? 0 : it->second;
}

void SimDesktop::SetSystemMetric(int index, int value) {
    s_->metrics[index] = value;
}

// ===== Shell, system, trace, shutdown ============================================

void SimDesktop::OutputDebugStringA(const char* text) {
    log_.Add(SimEvent::Kind::Trace).text = Text(text);
}

std::intptr_t SimDesktop::ShellExecuteA(Hwnd /*owner*/, const char* verb, const char* file,
                                        const char* parameters, const char* directory,
                                        int showCmd) {
    auto& e = log_.Add(SimEvent::Kind::ShellExecute);
    e.text = Text(file);
    e.text2 = Text(verb) + "|" + Text(parameters);
    e.text3 = Text(directory);
    e.a = showCmd;
    std::string f = Text(file), p = Text(parameters);
    if (onShellExecute) {
        onShellExecute(f, p);
    }
    return shellExecuteResult;
}

bool SimDesktop::GetVersionExA(OsVersion* v, bool extended) {
    if (!v || (extended ? failVersionEx : failVersionBasic)) {
        return false;
    }
    *v = version;
    return true;
}

std::uint32_t SimDesktop::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    const auto length = static_cast<std::uint32_t>(windowsDirectory.size());
    if (!buffer || size < length + 1) {
        return length + 1;
    }
    std::memcpy(buffer, windowsDirectory.c_str(), length + 1);
    return length;
}

std::uint32_t SimDesktop::GetSystemDirectoryA(char* buffer, std::uint32_t size) {
    const auto length = static_cast<std::uint32_t>(systemDirectory.size());
    if (!buffer || size < length + 1) {
        return length + 1;
    }
    std::memcpy(buffer, systemDirectory.c_str(), length + 1);
    return length;
}

void SimDesktop::AddFile(const std::string& path) {
    s_->files.insert(Lower(path));
}

void SimDesktop::RemoveFile(const std::string& path) {
    s_->files.erase(Lower(path));
    s_->textFiles.erase(Lower(path));
}

void SimDesktop::SetFileText(const std::string& path, const std::string& text,
                             std::uint64_t writeTime) {
    if (writeTime == 0) {
        writeTime = s_->lastWriteTime + 10000000;  // a second later
    }
    s_->lastWriteTime = std::max(s_->lastWriteTime, writeTime);
    s_->files.insert(Lower(path));
    s_->textFiles[Lower(path)] = {text, writeTime};
}

long SimDesktop::SHGetFolderPathA(int csidl, char* path) {
    constexpr long kEFail = static_cast<long>(0x80004005u);
    path[0] = '\0';
    if (csidl != win::kCsidlAppData || appDataFolder.empty() ||
        appDataFolder.size() >= win::kMaxPath) {
        return kEFail;
    }
    CopyTruncated(appDataFolder, path, static_cast<int>(win::kMaxPath));
    return 0;
}

bool SimDesktop::GetFileAttributesExA(const char* path, FileInfo* info) {
    auto it = path ? s_->textFiles.find(Lower(path)) : s_->textFiles.end();
    if (it == s_->textFiles.end()) {
        return false;
    }
    *info = {win::kFileAttributeArchive, it->second.writeTime, it->second.text.size()};
    return true;
}

std::uint32_t SimDesktop::GetFileAttributesA(const char* path) {
    if (!path || std::strlen(path) >= kMaxPath) {
        return win::kInvalidFileAttributes;
    }
    const std::string p = Lower(path);
    if (s_->files.count(p)) {
        return win::kFileAttributeArchive;
    }
    return IsFolder(p) ? win::kFileAttributeDirectory : win::kInvalidFileAttributes;
}

bool SimDesktop::IsFolder(const std::string& lowerPath) const {
    const std::string& p = lowerPath;
    if ((p.size() == 2 && p[1] == ':') || s_->folders.count(p) ||
        (!appDataFolder.empty() && Lower(appDataFolder).rfind(p, 0) == 0 &&
         (p.size() == appDataFolder.size() || appDataFolder[p.size()] == '\\'))) {
        return true;
    }
    for (const std::set<std::string>* set : {&s_->files, &s_->folders}) {
        auto above = set->lower_bound(p + "\\");
        if (above != set->end() && above->rfind(p + "\\", 0) == 0) {
            return true;
        }
    }
    return false;
}

bool SimDesktop::OpenProcessToken(Handle* token) {
    if (!token || failOpenProcessToken) {
        return false;
    }
    *token = devices.NewKernelObject();
    s_->tokens.insert(*token);
    return true;
}

std::uint32_t SimDesktop::AdjustShutdownPrivilege(Handle token) {
    if (!s_->tokens.count(token)) {
        return static_cast<std::uint32_t>(win::kErrorInvalidHandle);
    }
    return adjustPrivilegeError;
}

bool SimDesktop::ExitWindowsEx(std::uint32_t flags, std::uint32_t /*reason*/) {
    log_.Add(SimEvent::Kind::ExitWindows).a = flags;
    return !failExitWindows;
}

bool SimDesktop::CloseHandle(Handle handle) {
    return s_->tokens.erase(handle) != 0 || devices.CloseHandle(handle);
}

// ===== The program's folder, folders and copies ======================================

namespace {

// The folder a path is in ("" for a path without one).
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

void SimDesktop::AddFolder(const std::string& path) {
    s_->folders.insert(Lower(path));
}

std::string SimDesktop::FileText(const std::string& path) const {
    auto it = s_->textFiles.find(Lower(path));
    return it == s_->textFiles.end() ? std::string() : it->second.text;
}

std::uint32_t SimDesktop::GetModuleFileNameA(char* buffer, std::uint32_t size) {
    if (modulePath.empty() || buffer == nullptr || size == 0) {
        return 0;
    }
    if (modulePath.size() >= size) {
        CopyTruncated(modulePath, buffer, static_cast<int>(size));
        return size;
    }
    std::memcpy(buffer, modulePath.c_str(), modulePath.size() + 1);
    return static_cast<std::uint32_t>(modulePath.size());
}

bool SimDesktop::CreateDirectoryA(const char* path) {
    if (path == nullptr || std::strlen(path) >= kMaxPath) {
        return false;
    }
    const std::string p = Lower(path);
    if (s_->files.count(p) || IsFolder(p) || !IsFolder(FolderOf(p))) {
        return false;
    }
    s_->folders.insert(p);
    log_.Add(SimEvent::Kind::FileWrite).text = Text(path);
    return true;
}

bool SimDesktop::CopyFileA(const char* existingFile, const char* newFile, bool failIfExists) {
    if (existingFile == nullptr || newFile == nullptr || std::strlen(newFile) >= kMaxPath) {
        return false;
    }
    const std::string from = Lower(existingFile), to = Lower(newFile);
    if (!s_->files.count(from) || IsFolder(to) || !IsFolder(FolderOf(to)) ||
        (failIfExists && s_->files.count(to))) {
        return false;
    }
    s_->files.insert(to);
    auto text = s_->textFiles.find(from);
    if (text != s_->textFiles.end()) {
        s_->textFiles[to] = text->second;
    } else {
        s_->textFiles.erase(to);
    }
    auto& e = log_.Add(SimEvent::Kind::FileWrite);
    e.text = Text(newFile);
    e.text2 = Text(existingFile);
    return true;
}

std::uint32_t SimDesktop::WriteWholeFileW(const char16_t* path, const std::uint8_t* bytes,
                                          std::uint32_t size) {
    if (path == nullptr) {
        return static_cast<std::uint32_t>(win::kErrorPathNotFound);
    }
    const std::string wide = Utf16ToUtf8(path);
    const std::string p = Lower(wide);
    if (!IsFolder(FolderOf(p))) {
        return static_cast<std::uint32_t>(win::kErrorPathNotFound);
    }
    if (IsFolder(p)) {
        return static_cast<std::uint32_t>(win::kErrorAccessDenied);
    }
    if (fileWriteError != 0) {
        return fileWriteError;
    }
    // The clock's milliseconds in FILETIME units, from the simulation's first
    // time stamp on.
    const std::uint64_t stamp = 0x01D0000000000000ull + s_->clock64 * 10000;
    s_->lastWriteTime = std::max(s_->lastWriteTime, stamp);
    s_->files.insert(p);
    s_->textFiles[p] = {std::string(reinterpret_cast<const char*>(bytes), size), stamp};
    log_.Add(SimEvent::Kind::FileWrite).text = wide;
    return 0;
}

// ===== Sessions ==================================================================

bool SimDesktop::WTSRegisterSessionNotification(Hwnd hwnd, std::uint32_t flags) {
    if (failSessionRegistration || flags != win::kNotifyForThisSession || !s_->FindWin(hwnd)) {
        return false;
    }
    s_->sessionWindow = hwnd;
    return true;
}

bool SimDesktop::WTSUnRegisterSessionNotification(Hwnd hwnd) {
    if (hwnd == 0 || hwnd != s_->sessionWindow) {
        return false;
    }
    s_->sessionWindow = 0;
    return true;
}

Hwnd SimDesktop::SessionWindow() const {
    return s_->sessionWindow;
}

std::uint32_t SimDesktop::WTSGetActiveConsoleSessionId() {
    return consoleSession;
}

std::uint32_t SimDesktop::GetCurrentProcessId() {
    return kOurProcess;
}

bool SimDesktop::ProcessIdToSessionId(std::uint32_t processId, std::uint32_t* sessionId) {
    if (failProcessSession || processId != kOurProcess || sessionId == nullptr) {
        return false;
    }
    *sessionId = processSession;
    return true;
}

void SimDesktop::SwitchConsole(std::uint32_t session) {
    if (session == consoleSession) {
        return;
    }
    const bool leaves = consoleSession == processSession;
    const bool comes = session == processSession;
    consoleSession = session;
    if (leaves) {
        s_->PostSessionEvent(win::kWtsConsoleDisconnect, processSession);
    }
    if (comes) {
        if (GetSystemMetrics(win::kSmRemoteSession) != 0) {
            s_->PostSessionEvent(win::kWtsRemoteDisconnect, processSession);
            SetSystemMetric(win::kSmRemoteSession, 0);
        }
        s_->PostSessionEvent(win::kWtsConsoleConnect, processSession);
    }
}

void SimDesktop::ConnectRemote() {
    if (consoleSession == processSession) {
        consoleSession = processSession + 1;  // the logon screen, in a session of its own
        s_->PostSessionEvent(win::kWtsConsoleDisconnect, processSession);
    }
    SetSystemMetric(win::kSmRemoteSession, 1);
    s_->PostSessionEvent(win::kWtsRemoteConnect, processSession);
}

}  // namespace rc
