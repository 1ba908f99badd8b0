// Detection of the tuner stick: its DirectShow filter, looked up by exact
// friendly name in the system device enumerator's categories. Nothing is
// cached; every call walks the categories afresh, so the same call doubles as
// the presence check of the poll and the watchdog.
#include <cstring>

#include "receiver/receiver.h"
#include "shell/debug_trace.h"
#include "shell/system.h"

namespace rc {

namespace {

struct Probe {
    const char* friendlyName;
    const Guid* category;
    std::uint32_t chipType;
    const char* trace;  // written when the probe decides, or null
};

// Tried in this order; the first probe that finds its filter decides.
constexpr Probe kProbes[] = {
    {"AF9015 BDA Filter", &kBdaNetworkTunerCategory, kChipAf9015, "Find 9015 Device"},
    {"IT9135 BDA Filter", &kBdaNetworkTunerCategory, kChipIt9135, "Find 9030 Device"},
    {"Conexant Polaris Crossbar", &kCrossbarCategory, kChipConexant, nullptr},
    {"Conexant Polaris Viedo Capture", &kVideoInputDeviceCategory, kChipConexant, nullptr},
    {"REALTEK 2832U Filter", &kBdaNetworkTunerCategory, kChipRtl2832u, nullptr},
    {"USB DVB-T Capture Filter", &kBdaNetworkTunerCategory, kChipRtl2832u, nullptr},
    {"USB Digital TV", &kBdaNetworkTunerCategory, kChipRtl2832u, nullptr},
    {"DVB-T Dongle", &kBdaNetworkTunerCategory, kChipRtl2832u, nullptr},
    {"USB 2832U Digital Tuner", &kBdaNetworkTunerCategory, kChipRtl2832u, nullptr},
};

constexpr int kFriendlyNameSize = 80;

// Walks the category's devices for the first one named exactly like the
// probe and binds its filter. Gives the filter, or 0. Only the first device
// with the name is tried: if its binding fails, the probe fails.
Handle RunProbe(System& sys, const Probe& probe) {
    Handle monikers = sys.os.OpenDeviceCategory(*probe.category);
    if (monikers == 0) {
        return 0;
    }
    Handle filter = 0;
    while (Handle moniker = sys.os.NextDeviceMoniker(monikers)) {
        char name[kFriendlyNameSize] = {};
        bool match = sys.os.ReadFriendlyName(moniker, name, kFriendlyNameSize) &&
                     std::strncmp(name, probe.friendlyName, kFriendlyNameSize) == 0;
        if (match) {
            filter = sys.os.BindFilter(moniker);
            sys.os.ReleaseMoniker(moniker);
            break;
        }
        sys.os.ReleaseMoniker(moniker);
    }
    sys.os.ReleaseDeviceCategory(monikers);
    return filter;
}

// COM on the GUI thread, which the shell and the vendor libraries use too.
// Every search initialises it and every ReleaseFilter undoes an
// initialisation, but only one that a search made and nothing has undone:
// the program never tears down COM that others initialised (a Conexant
// stick's removal releases without having searched). The first search's
// initialisation stays for the life of the process, so that COM is not set
// up and torn down on every poll tick; a search that no ReleaseFilter follows
// (the start-up search, a stick found gone, the RTL2832U bring-ups) has its
// initialisation undone by the next search.
constexpr int kLastingComInits = 1;

void UninitializeCom(System& sys) {
    if (sys.comInits > kLastingComInits) {
        sys.os.CoUninitialize();
        --sys.comInits;
    }
}

void InitializeCom(System& sys) {
    if (sys.os.CoInitialize() < 0) {
        return;  // RPC_E_CHANGED_MODE: nothing to undo
    }
    ++sys.comInits;
    if (sys.comInits > kLastingComInits + 1) {
        UninitializeCom(sys);
    }
}

void DropHeldFilter(System& sys) {
    if (sys.filter != 0) {
        sys.os.ReleaseFilterObject(sys.filter);
        sys.filter = 0;
    }
}

}  // namespace

int FindFilter(System& sys) {
    InitializeCom(sys);
    // Some callers search again without releasing (the RTL2832U bring-ups):
    // the filter still held goes before a new one is taken, so none leaks.
    DropHeldFilter(sys);

    for (const Probe& probe : kProbes) {
        Handle filter = RunProbe(sys, probe);
        if (filter != 0) {
            sys.chipType = probe.chipType;
            if (probe.trace != nullptr) {
                DebugTrace(sys, probe.trace);
            }
            sys.filter = filter;
            return 1;
        }
    }
    DebugTrace(sys, "Can't find Device");
    sys.chipType = kChipNone;
    return 0;
}

void ReleaseFilter(System& sys) {
    DropHeldFilter(sys);
    UninitializeCom(sys);
}

}  // namespace rc
