#include "support/sim_libraries.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "platform/win_defs.h"
#include "support/sim_text.h"

namespace rc {

using sim::Lower;

namespace {

constexpr Handle kFirstModule = 0x10000000;
constexpr Handle kModuleStep = 0x10000;

SimLibraries* g_current = nullptr;

// ===== The entry points ==========================================================
//
// What the three libraries export, as this desktop knows them: the name and
// the arguments of each entry point. Every one returns a 32-bit int (its
// scripted result) and is a plain function of this program, which the
// receiver calls as it calls either calling convention.

// The arguments an entry point takes, and what it does with them.
enum class Args {
    None,          // ()
    IrBytes,       // (unsigned char* buffer8): writes the next of af15Buffers
    IrWords,       // (unsigned int* words8): writes the next of af9100Words
    Window,        // (Hwnd window): the window told of the filter (LastRtkFilterInitWindow)
    CountAndCode,  // (unsigned int* count, unsigned char* buffer128, unsigned int size):
                   // writes the next of rtkCodes, at most size bytes
};

struct Export {
    const char* library;  // the file name, lower case
    const char* name;     // the export name, compared exactly
    Args args;
};

constexpr const char* kAf15 = "af15bdaex.dll";
constexpr const char* kAf9100 = "af9100ex.dll";
constexpr const char* kRtk = "rtl283xaccess.dll";

// RTL283XACCESS.dll's entry points that the receiver never calls (it fetches
// all twenty) take no arguments here.
constexpr Export kExports[] = {
    {kAf15, "af15_init", Args::None},
    {kAf15, "af15_GetIR", Args::IrBytes},
    {kAf15, "af15_exit", Args::None},
    {kAf9100, "af9100_init", Args::None},
    {kAf9100, "af9100_initIRDev", Args::None},
    {kAf9100, "af9100_ReadRawIR", Args::IrWords},
    {kAf9100, "af9100_exit", Args::None},
    {kRtk, "RTK_BDAFilterInit", Args::Window},
    {kRtk, "RTK_BDAFilterRelease", Args::None},
    {kRtk, "RTK_HaveAtLeastOneDevice", Args::None},
    {kRtk, "RTK_DeviceIsOk", Args::None},
    {kRtk, "RTK_DeviceIsOnProcess", Args::None},
    {kRtk, "RTK_DeviceIsOffProcess", Args::None},
    {kRtk, "RTK_IR_Read", Args::None},
    {kRtk, "RTK_IR_Write", Args::None},
    {kRtk, "RTK_Get_Suspend_Status", Args::None},
    {kRtk, "RTK_I2C_Read", Args::None},
    {kRtk, "RTK_I2C_Write", Args::None},
    {kRtk, "RTK_USB_Byte_Read", Args::None},
    {kRtk, "RTK_USB_Byte_Write", Args::None},
    {kRtk, "RTK_SYS_Byte_Read", Args::None},
    {kRtk, "RTK_SYS_Byte_Write", Args::None},
    {kRtk, "RTK_Demod_Byte_Read", Args::None},
    {kRtk, "RTK_Demod_Byte_Write", Args::None},
    {kRtk, "RTK_InitialAPModeIRParameter", Args::None},
    {kRtk, "RTK_GetAPModeIRCode", Args::CountAndCode},
    {kRtk, "RTK_GetAPModeIRCurrentIRType", Args::None},
};
constexpr int kExportCount = static_cast<int>(std::size(kExports));

// The export of a library by name, -1 when it has none of that name.
int FindExport(const std::string& library, const std::string& name) {
    for (int i = 0; i < kExportCount; ++i) {
        if (library == kExports[i].library && name == kExports[i].name) {
            return i;
        }
    }
    return -1;
}

}  // namespace

// The exported functions, one per entry of kExports (N its index): each
// takes the arguments its entry says and gives the scripted result.
struct SimEntryCalls {
    template <int N>
    static int Result() {
        SimLibraries* libs = SimLibraries::Current();
        return libs ? libs->Call(kExports[N].name) : 0;
    }

    template <int N>
    static int NoArgs() {
        return Result<N>();
    }

    template <int N>
    static int IrBytes(unsigned char* buffer8) {
        SimLibraries* libs = SimLibraries::Current();
        if (libs && !libs->af15Buffers.empty()) {
            const auto bytes = std::move(libs->af15Buffers.front());
            libs->af15Buffers.pop_front();
            std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), 8), buffer8);
        }
        return Result<N>();
    }

    template <int N>
    static int IrWords(unsigned int* words8) {
        SimLibraries* libs = SimLibraries::Current();
        if (libs && !libs->af9100Words.empty()) {
            const auto words = std::move(libs->af9100Words.front());
            libs->af9100Words.pop_front();
            std::copy_n(words.begin(), std::min<std::size_t>(words.size(), 8), words8);
        }
        return Result<N>();
    }

    template <int N>
    static int Window(Hwnd window) {
        if (SimLibraries* libs = SimLibraries::Current()) {
            libs->rtkFilterInitWindow_ = window;
        }
        return Result<N>();
    }

    template <int N>
    static int CountAndCode(unsigned int* count, unsigned char* buffer128, unsigned int size) {
        SimLibraries* libs = SimLibraries::Current();
        if (libs && !libs->rtkCodes.empty()) {
            const auto code = std::move(libs->rtkCodes.front());
            libs->rtkCodes.pop_front();
            if (count) {
                *count = code.first;
            }
            if (buffer128) {
                std::copy_n(code.second.begin(), std::min<std::size_t>(code.second.size(), size),
                            buffer128);
            }
        }
        return Result<N>();
    }

    // The function of export N.
    template <int N>
    static void* Function() {
        constexpr Args args = kExports[N].args;
        if constexpr (args == Args::None) {
            return Ptr(&NoArgs<N>);
        } else if constexpr (args == Args::IrBytes) {
            return Ptr(&IrBytes<N>);
        } else if constexpr (args == Args::IrWords) {
            return Ptr(&IrWords<N>);
        } else if constexpr (args == Args::Window) {
            return Ptr(&Window<N>);
        } else {
            return Ptr(&CountAndCode<N>);
        }
    }

    template <int... N>
    static void* FunctionAt(int index, std::integer_sequence<int, N...>) {
        void* const table[] = {Function<N>()...};
        return table[index];
    }

    template <class F>
    static void* Ptr(F f) {
        return reinterpret_cast<void*>(f);
    }
};

SimLibraries::SimLibraries(SimEventLog& log) : log_(log) {
    g_current = this;
}

SimLibraries::~SimLibraries() {
    if (g_current == this) {
        g_current = nullptr;
    }
}

SimLibraries* SimLibraries::Current() {
    return g_current;
}

int SimLibraries::Call(const char* name) {
    SimEntryPoint& entry = Entry(name);
    int result = entry.defaultResult;
    if (!entry.results.empty()) {
        result = entry.results.front();
        entry.results.pop_front();
    }
    auto& e = log_.Add(SimEvent::Kind::LibraryCall);
    e.text = name;
    e.a = result;
    return result;
}

// ===== Test controls =============================================================

void SimLibraries::InstallLibrary(const std::string& name) {
    std::string n = Lower(name);
    if (std::find(installed_.begin(), installed_.end(), n) == installed_.end()) {
        installed_.push_back(n);
    }
}

void SimLibraries::UninstallLibrary(const std::string& name) {
    installed_.erase(std::remove(installed_.begin(), installed_.end(), Lower(name)),
                     installed_.end());
}

void SimLibraries::PlantLibrary(const std::string& name) {
    InstallLibrary(name);
    planted_.insert(Lower(name));
}

bool SimLibraries::CurrentFolderSearched() const {
    return currentFolderSearched_;
}

SimEntryPoint& SimLibraries::Entry(const std::string& name) {
    return entries_[name];
}

Hwnd SimLibraries::LastRtkFilterInitWindow() const {
    return rtkFilterInitWindow_;
}

int SimLibraries::LoadLibraryCount(const std::string& name) const {
    auto it = loadCounts_.find(Lower(name));
    return it == loadCounts_.end() ? 0 : it->second;
}

// ===== The seam's calls ==========================================================

bool SimLibraries::SetDefaultDllDirectories(std::uint32_t directoryFlags) {
    if (lacksDefaultDllDirectories) {
        return false;
    }
    if (directoryFlags & win::kLoadLibrarySearchDefaultDirs) {
        currentFolderSearched_ = false;
    }
    return true;
}

bool SimLibraries::SetDllDirectoryA(const char* path) {
    if (path && path[0] == '\0') {
        currentFolderSearched_ = false;
    } else if (!path) {
        currentFolderSearched_ = true;
    }
    return true;
}

Handle SimLibraries::LoadLibraryA(const char* name) {
    if (!name) {
        return 0;
    }
    std::string n = Lower(name);
    ++loadCounts_[n];
    auto it = std::find(installed_.begin(), installed_.end(), n);
    if (it == installed_.end() || (planted_.count(n) && !currentFolderSearched_)) {
        return 0;
    }
    return kFirstModule + static_cast<Handle>(it - installed_.begin()) * kModuleStep;
}

void* SimLibraries::GetProcAddress(Handle module, const char* name) {
    if (!name || module < kFirstModule || (module - kFirstModule) % kModuleStep != 0) {
        return nullptr;
    }
    std::size_t index = (module - kFirstModule) / kModuleStep;
    if (index >= installed_.size()) {
        return nullptr;
    }
    const int found = FindExport(installed_[index], name);
    if (found < 0 || !Entry(name).exported) {
        return nullptr;
    }
    return SimEntryCalls::FunctionAt(found, std::make_integer_sequence<int, kExportCount>());
}

}  // namespace rc
