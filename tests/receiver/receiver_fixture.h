// A simulated desktop with a main window, the timer slots bound to it, the
// trace switched on, and helpers that plug and pull the four stick families.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/system.h"
#include "core/timer_slots.h"
#include "support/sim_desktop.h"
#include "support/test_support.h"
#include "receiver/receiver.h"

namespace rc::test {

// The vendor libraries, installed and answering "ready".
inline void InstallAf15(SimDesktop& desk) {
    desk.InstallLibrary("af15bdaex.dll");
    desk.Entry("af15_init").defaultResult = 1;
}
inline void InstallAf9100(SimDesktop& desk) {
    desk.InstallLibrary("af9100ex.dll");
    desk.Entry("af9100_init").defaultResult = 1;
    desk.Entry("af9100_initIRDev").defaultResult = 1;
}
inline void InstallRtk(SimDesktop& desk) {
    desk.InstallLibrary("RTL283XACCESS.dll");
    desk.Entry("RTK_DeviceIsOk").defaultResult = 1;
    desk.Entry("RTK_InitialAPModeIRParameter").defaultResult = 1;
}

inline SimDesktop::HidDevice ConexantReceiver() {
    SimDesktop::HidDevice d;
    d.path = "\\\\?\\hid#vid_1b80&pid_d3a0&mi_01#receiver";
    d.usagePage = 0xFFAA;
    d.usage = 0x77;
    return d;
}

class ReceiverTest : public ::testing::Test {
  protected:
    SimDesktop desk;
    System sys{desk};
    Hwnd mainWindow = 0;

    ReceiverTest() {
        sys.traceOn = true;
        mainWindow = desk.AddWindow("ReceiverTestWindow", "", false);
        BindTimerSlots(sys, mainWindow);
    }

    // The trace lines without their prefix.
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (const std::string& line : desk.Traces()) {
            EXPECT_EQ(line.rfind(kTracePrefix, 0), 0u) << line;
            out.push_back(Untraced(line));
        }
        return out;
    }
    bool Traced(const std::string& text) const {
        for (const std::string& line : Lines()) {
            if (line == text) {
                return true;
            }
        }
        return false;
    }
    int CallCount(const std::string& entry) const {
        int n = 0;
        for (const std::string& call : desk.LibraryCalls()) {
            n += call == entry ? 1 : 0;
        }
        return n;
    }

    bool Polling() const { return desk.TimerArmed(mainWindow, kGpioTimerId); }
    bool Watching() const { return desk.TimerArmed(mainWindow, kChkUsbTimerId); }

    // What start-up does with the receiver: bind the libraries, bring the
    // receiver up, and start the poll or the watchdog.
    void Start() {
        BindChipLibraries(sys);
        StartupBringUp(sys, mainWindow);
        if (sys.bDeviceReady == 1) {
            ArmGpioTimer(sys);
        } else {
            ArmChkUsbTimer(sys);
        }
    }

    // --- Sticks ---
    int PlugAf9015() { return desk.AddFilter(SimDesktop::kBdaNetworkTuner, "AF9015 BDA Filter"); }
    int PlugIt9135() { return desk.AddFilter(SimDesktop::kBdaNetworkTuner, "IT9135 BDA Filter"); }
    int PlugRtl2832u() {
        return desk.AddFilter(SimDesktop::kBdaNetworkTuner, "USB 2832U Digital Tuner");
    }
    // A Conexant stick: its crossbar filter and its receiver's HID collection.
    struct ConexantStick {
        int filter;
        int hid;
    };
    ConexantStick PlugConexant() {
        return {desk.AddFilter(SimDesktop::kCrossbar, "Conexant Polaris Crossbar"),
                desk.AddHidDevice(ConexantReceiver())};
    }
    void Pull(const ConexantStick& stick) {
        desk.RemoveFilter(stick.filter);
        desk.RemoveHidDevice(stick.hid);
    }
};

}  // namespace rc::test
