// The simulated desktop's chip-vendor libraries: af15bdaex.dll, af9100ex.dll
// and RTL283XACCESS.dll as LoadLibraryA and GetProcAddress find them, with
// each entry point's results scripted call by call and every call logged.
// The entry points are described here on their own (names and arguments, in
// sim_libraries.cpp), not taken from the receiver that calls them.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "support/sim_event_log.h"

namespace rc {

// An entry point's scripted results: each call takes the front of the queue;
// an empty queue gives the default. The default is 0 for every entry point,
// initialisations and device checks included (0 means failure for them): a
// test that wants a working chip says so.
struct SimEntryPoint {
    bool exported = true;
    int defaultResult = 0;
    std::deque<int> results;
};

class SimLibraries {
  public:
    // Library calls go to log.
    explicit SimLibraries(SimEventLog& log);
    ~SimLibraries();
    SimLibraries(const SimLibraries&) = delete;
    SimLibraries& operator=(const SimLibraries&) = delete;

    // ===== Test controls
    // Makes LoadLibraryA of this name succeed (names compare case-insensitively).
    // The three chip libraries export their entry points (export names compare
    // exactly); the RTK entry points that are never called take no arguments.
    void InstallLibrary(const std::string& name);
    void UninstallLibrary(const std::string& name);
    // Puts a library of this name (not installed) in the current folder:
    // LoadLibraryA finds it until SetDefaultDllDirectories with
    // LOAD_LIBRARY_SEARCH_DEFAULT_DIRS or SetDllDirectoryA("") takes that
    // folder out of the search.
    void PlantLibrary(const std::string& name);
    bool lacksDefaultDllDirectories = false;  // XP, Windows 7 without its update
    bool CurrentFolderSearched() const;
    // The scripted results of one entry point (created on first use, exported).
    SimEntryPoint& Entry(const std::string& name);
    // What the next af15_GetIR, af9100_ReadRawIR, RTK_GetAPModeIRCode calls write.
    std::deque<std::vector<std::uint8_t>> af15Buffers;                         // up to 8 bytes each
    std::deque<std::vector<std::uint32_t>> af9100Words;                        // up to 8 words each
    std::deque<std::pair<std::uint32_t, std::vector<std::uint8_t>>> rtkCodes;  // count, bytes
    Hwnd LastRtkFilterInitWindow() const;
    int LoadLibraryCount(const std::string& name) const;  // LoadLibraryA calls, failed ones too

    // ===== The seam's library calls (see platform.h)
    Handle LoadLibraryA(const char* name);
    void* GetProcAddress(Handle module, const char* name);
    bool SetDefaultDllDirectories(std::uint32_t directoryFlags);
    bool SetDllDirectoryA(const char* path);

  private:
    // The exported functions are plain functions: they find the libraries
    // whose entry points are being called through Current().
    friend struct SimEntryCalls;
    static SimLibraries* Current();
    // One call of an entry point: its scripted result, logged.
    int Call(const char* name);

    SimEventLog& log_;
    std::vector<std::string> installed_;  // lower case, in order of installing
    std::set<std::string> planted_;       // lower case
    bool currentFolderSearched_ = true;
    std::map<std::string, int> loadCounts_;
    std::map<std::string, SimEntryPoint> entries_;
    Hwnd rtkFilterInitWindow_ = 0;
};

}  // namespace rc
