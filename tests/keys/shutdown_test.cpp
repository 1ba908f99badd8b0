#include "keys/shutdown.h"

#include "keys/mouse.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/system.h"
#include "support/sim_desktop.h"
#include "platform/win_defs.h"
#include "receiver/receiver_fixture.h"
#include "resources/resource.h"

namespace rc::test {
namespace {

using Kind = SimEvent::Kind;
using Calls = std::vector<std::string>;
using Results = std::vector<std::int64_t>;

// Records, in order, the calls that end the dialog and shut down, and keeps
// track of the open token handles.
class RecordingDesk : public SimDesktop {
  public:
    bool EndDialog(Hwnd dlg, std::intptr_t result) override {
        calls.push_back("EndDialog " + std::to_string(result));
        return SimDesktop::EndDialog(dlg, result);
    }
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override {
        calls.push_back("ExitWindowsEx " + std::to_string(flags));
        return SimDesktop::ExitWindowsEx(flags, reason);
    }
    int MessageBoxA(Hwnd owner, const char* text, const char* caption,
                    std::uint32_t type) override {
        calls.push_back(std::string("MessageBox ") + text);
        return SimDesktop::MessageBoxA(owner, text, caption, type);
    }
    bool OpenProcessToken(Handle* token) override {
        bool opened = SimDesktop::OpenProcessToken(token);
        if (opened) {
            openTokens.insert(*token);
        }
        return opened;
    }
    bool CloseHandle(Handle handle) override {
        openTokens.erase(handle);
        return SimDesktop::CloseHandle(handle);
    }
    std::intptr_t DialogBoxParamA(std::uint32_t templateId, Hwnd owner, DlgProc proc,
                                  void* ctx) override {
        return failDialog ? -1 : SimDesktop::DialogBoxParamA(templateId, owner, proc, ctx);
    }
    Calls calls;
    std::set<Handle> openTokens;
    bool failDialog = false;
};

Results DialogResults(const SimDesktop& desk) {
    Results results;
    for (const SimEvent& e : desk.Events(Kind::DialogEnded)) {
        results.push_back(e.a);
    }
    return results;
}

class ShutdownTest : public ::testing::Test {
  protected:
    ShutdownTest() : sys(desk) { desk.SetSystemMetric(win::kSmCxFullScreen, 1280); }

    // Opens the confirmation; the script runs while it is open.
    void Open(std::function<void(Hwnd)> script) {
        desk.onDialog = [this, script](Hwnd dlg, std::uint32_t templateId) {
            EXPECT_EQ(templateId, static_cast<std::uint32_t>(IDD_SHUTDOWN));
            EXPECT_EQ(sys.bIsShutDownDlg, 1);
            EXPECT_EQ(sys.shutdownDialog, dlg);
            EXPECT_EQ(desk.Foreground(), dlg);
            script(dlg);
        };
        OpenShutdownDialog(sys, 0);
    }

    RecordingDesk desk;
    System sys;
};

TEST_F(ShutdownTest, PlacedByScreenWidthAndKeptOnTop) {
    const struct {
        int width, x, y;
    } placements[] = {{640, 160, 200},  {800, 280, 250},  {1024, 350, 300},
                      {1152, 420, 300}, {1280, 420, 300}, {1600, 580, 340}};
    for (const auto& p : placements) {
        desk.SetSystemMetric(win::kSmCxFullScreen, p.width);
        Open([&](Hwnd dlg) {
            EXPECT_TRUE(desk.IsTopmost(dlg)) << p.width;
            EXPECT_EQ(desk.WindowPosition(dlg).x, p.x) << p.width;
            EXPECT_EQ(desk.WindowPosition(dlg).y, p.y) << p.width;
        });
    }
    for (const SimEvent& e : desk.Events(Kind::SetWindowPos)) {
        EXPECT_EQ(e.d, win::kSwpNoSize);
    }
    desk.SetSystemMetric(win::kSmCxFullScreen, 1366);
    desk.ClearLog();
    Open([&](Hwnd dlg) { EXPECT_FALSE(desk.IsTopmost(dlg)); });
    EXPECT_TRUE(desk.Events(Kind::SetWindowPos).empty());
}

TEST_F(ShutdownTest, EnterAndOkEndTheDialogThenPowerOff) {
    Open([&](Hwnd dlg) {
        EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmKeyDown, win::kVkReturn, 0), 1);
        EXPECT_EQ(sys.bIsShutDownDlg, 0);
    });
    Open([&](Hwnd dlg) { desk.ClickDialogItem(dlg, win::kIdOk); });
    // 24 = EWX_POWEROFF | EWX_FORCEIFHUNG: programs may save their work.
    EXPECT_EQ(desk.calls,
              (Calls{"EndDialog 13", "ExitWindowsEx 24", "EndDialog 1", "ExitWindowsEx 24"}));
    EXPECT_EQ(DialogResults(desk), (Results{13, 1}));
    EXPECT_TRUE(desk.openTokens.empty());
}

TEST_F(ShutdownTest, EscapeCancelAndCloseBoxCancel) {
    Hwnd first = 0;
    Open([&](Hwnd dlg) {
        first = dlg;
        EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmKeyDown, 'A', 0), 0);
        EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmCommand, 11, 0), 0);
        EXPECT_EQ(sys.bIsShutDownDlg, 1);
        EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmKeyDown, win::kVkEscape, 0), 1);
    });
    Open([&](Hwnd dlg) { desk.ClickDialogItem(dlg, win::kIdCancel); });
    Open([&](Hwnd) {});  // the close box
    EXPECT_EQ(desk.calls, (Calls{"EndDialog 27", "EndDialog 2", "EndDialog 2"}));
    EXPECT_EQ(DialogResults(desk), (Results{27, 2, 2}));
    EXPECT_EQ(sys.bIsShutDownDlg, 0);
    EXPECT_NE(sys.shutdownDialog, first);  // the handle of the last one is kept

    desk.failDialog = true;  // a dialog that cannot open leaves the remote free
    OpenShutdownDialog(sys, 0);
    EXPECT_EQ(sys.bIsShutDownDlg, 0);
}

TEST_F(ShutdownTest, RefusalsOnTheWayToPowerOff) {
    desk.adjustPrivilegeError = 1300;  // ERROR_NOT_ALL_ASSIGNED: silent
    Open([&](Hwnd dlg) { desk.ClickDialogItem(dlg, win::kIdOk); });
    EXPECT_EQ(desk.calls, (Calls{"EndDialog 1"}));
    EXPECT_TRUE(desk.openTokens.empty());

    desk.adjustPrivilegeError = 0;
    desk.failOpenProcessToken = true;  // silent
    ShutDownComputer(sys);
    desk.failOpenProcessToken = false;
    desk.failExitWindows = true;  // reported
    ShutDownComputer(sys);
    EXPECT_EQ(desk.calls,
              (Calls{"EndDialog 1", "ExitWindowsEx 24", "MessageBox Can't run ExitWindowsEx."}));
    std::vector<SimEvent> boxes = desk.Events(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].hwnd, 0u);
    EXPECT_EQ(boxes[0].text2, "Remote Control");
    EXPECT_EQ(boxes[0].a, win::kMbOk);
    EXPECT_TRUE(desk.openTokens.empty());

    // The 9x family: a plain shutdown without a token; a refusal is not reported.
    desk.calls.clear();
    desk.version = OsVersion{4, 10, 2222, win::kVerPlatformWin32Windows};
    desk.failOpenProcessToken = true;
    ShutDownComputer(sys);
    EXPECT_EQ(desk.calls, (Calls{"ExitWindowsEx 1"}));
}

// --- Answered by the remote, through the poll's nested ticks ------------------------

class RemoteShutdownTest : public ReceiverTest {
  protected:
    RemoteShutdownTest() {
        InstallAf9100(desk);
        PlugIt9135();
        Start();
        desk.SetNow(100000);
        desk.SetSystemMetric(win::kSmCxFullScreen, 1024);
        ComputePointerArea(sys, 1024, 768);
    }
    // The button is seen by the next tick.
    void Press(std::uint32_t keyCode) {
        desk.af9100Words.push_back({keyCode << 8});
        desk.Advance(65);
    }
};

TEST_F(RemoteShutdownTest, ThePowerKeyConfirmsAnyOtherButtonCancels) {
    // While the confirmation is open, buttons come 200 ms apart (fresh
    // presses) or 65 ms after the last (-1: a held frame, a repeat).
    const struct {
        std::uint32_t layout, oneThree;
        std::vector<int> buttons;
        std::int64_t result;
    } cases[] = {
        {k44Key, 29, {12}, 13},        {k32Key, 3, {67}, 13},     {k50Key, 12, {13}, 13},
        {k50Key, 12, {50}, 13},        {k44Key, 29, {4}, 27},     {k32Key, 3, {5}, 27},
        {k50Key, 12, {29}, 27},        {k32Key, 3, {67, -1}, 13},  // the held frame goes on
        {k44Key, 29, {67, -1, 4}, 27},  // not this layout's power key, nor its repeat: waits
        {k32Key, 3, {12, 0}, 27},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("layout " + std::to_string(c.layout) + " first " +
                     std::to_string(c.buttons[0]));
        desk.ClearLog();
        sys.nIRKEYType = c.layout;
        desk.onDialog = [&](Hwnd, std::uint32_t) {
            int last = 0;
            for (int b : c.buttons) {
                if (b >= 0) {
                    desk.Advance(200);
                    last = b;
                }
                Press(static_cast<std::uint32_t>(last));
            }
        };
        desk.Advance(200);
        Press(c.oneThree);
        EXPECT_EQ(DialogResults(desk), (Results{c.result}));
        EXPECT_EQ(desk.Events(Kind::ExitWindows).size(), c.result == 13 ? 1u : 0u);
        EXPECT_EQ(sys.bIsShutDownDlg, 0);
    }
    // The 1-3 button held down goes on sending frames after the confirmation
    // has opened: they do not answer it.
    desk.ClearLog();
    sys.nIRKEYType = k44Key;
    desk.onDialog = [&](Hwnd, std::uint32_t) {
        Press(29);
        Press(29);
        EXPECT_NE(desk.OpenDialog(), 0u) << "still open while the button is held";
        desk.Advance(200);
        Press(12);
    };
    desk.Advance(200);
    Press(29);
    EXPECT_EQ(DialogResults(desk), (Results{13}));

    // Closed, the next button is routed again: no application open, so it
    // drives the pointer.
    desk.onDialog = nullptr;
    desk.SetCursor({500, 400});
    desk.Advance(200);
    Press(6);
    EXPECT_EQ(desk.Cursor().x, 501);
}

}  // namespace
}  // namespace rc::test
