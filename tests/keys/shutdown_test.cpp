#include "keys/shutdown.h"

#include "keys/mouse.h"
#include "receiver/receiver_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/sim_desktop.h"
#include "platform/win_defs.h"
#include "resources/resource.h"
#include "shell/system.h"

namespace rc {
namespace {

using Kind = SimEvent::Kind;

constexpr std::uint32_t kPowerOffIfHung = win::kEwxPowerOff | win::kEwxForceIfHung;

// Records the calls that end the dialog and shut down, in order, and which
// token handles are still open.
class RecordingDesk : public SimDesktop {
  public:
    bool EndDialog(Hwnd dlg, std::intptr_t result) override {
        calls.push_back("EndDialog " + std::to_string(result));
        return SimDesktop::EndDialog(dlg, result);
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
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override {
        calls.push_back("ExitWindowsEx " + std::to_string(flags));
        return SimDesktop::ExitWindowsEx(flags, reason);
    }
    int MessageBoxA(Hwnd owner, const char* text, const char* caption,
                    std::uint32_t type) override {
        calls.push_back(std::string("MessageBox ") + text);
        return SimDesktop::MessageBoxA(owner, text, caption, type);
    }
    std::intptr_t DialogBoxParamA(std::uint32_t templateId, Hwnd owner, DlgProc proc,
                                  void* ctx) override {
        return failDialog ? -1 : SimDesktop::DialogBoxParamA(templateId, owner, proc, ctx);
    }
    std::vector<std::string> calls;
    std::set<Handle> openTokens;
    bool failDialog = false;
};

class ShutdownTest : public ::testing::Test {
  protected:
    ShutdownTest() : sys(desk) {
        owner = desk.AddWindow("Remote Control", "Remote Control", false);
        desk.SetSystemMetric(win::kSmCxFullScreen, 1280);
    }

    // Opens the confirmation; the script runs while it is open.
    void Open(std::function<void(Hwnd)> script) {
        desk.onDialog = [this, script](Hwnd dlg, std::uint32_t templateId) {
            ASSERT_EQ(templateId, static_cast<std::uint32_t>(IDD_SHUTDOWN));
            dialog = dlg;
            EXPECT_EQ(sys.bIsShutDownDlg, 1);
            EXPECT_EQ(sys.shutdownDialog, dlg);
            script(dlg);
        };
        OpenShutdownDialog(sys, owner);
    }

    std::vector<std::int64_t> DialogResults() const {
        std::vector<std::int64_t> results;
        for (const SimEvent& e : desk.Events(Kind::DialogEnded)) {
            results.push_back(e.a);
        }
        return results;
    }

    RecordingDesk desk;
    System sys;
    Hwnd owner = 0;
    Hwnd dialog = 0;
};

TEST_F(ShutdownTest, PlacedByScreenWidthAndKeptOnTop) {
    const struct {
        int width, x, y;
    } placements[] = {{640, 160, 200},  {800, 280, 250},  {1024, 350, 300},
                      {1152, 420, 300}, {1280, 420, 300}, {1600, 580, 340}};
    for (const auto& p : placements) {
        desk.SetSystemMetric(win::kSmCxFullScreen, p.width);
        desk.ClearLog();
        Open([&](Hwnd dlg) {
            EXPECT_TRUE(desk.IsTopmost(dlg)) << p.width;
            EXPECT_EQ(desk.WindowPosition(dlg).x, p.x) << p.width;
            EXPECT_EQ(desk.WindowPosition(dlg).y, p.y) << p.width;
            EXPECT_EQ(desk.Foreground(), dlg);
        });
        std::vector<SimEvent> moves = desk.Events(Kind::SetWindowPos);
        ASSERT_EQ(moves.size(), 1u);
        EXPECT_EQ(static_cast<Hwnd>(moves[0].a), win::kHwndTopmost);
        EXPECT_EQ(moves[0].d, win::kSwpNoSize);
    }
}

TEST_F(ShutdownTest, UnlistedWidthLeavesTheDialogWhereItIs) {
    desk.SetSystemMetric(win::kSmCxFullScreen, 1366);
    Open([&](Hwnd dlg) { EXPECT_FALSE(desk.IsTopmost(dlg)); });
    EXPECT_TRUE(desk.Events(Kind::SetWindowPos).empty());
}

using Calls = std::vector<std::string>;

TEST_F(ShutdownTest, EnterAndOkEndTheDialogThenPowerOff) {
    Open([&](Hwnd dlg) {
        EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmKeyDown, win::kVkReturn, 0), 1);
        EXPECT_EQ(sys.bIsShutDownDlg, 0);
    });
    Open([&](Hwnd dlg) { desk.ClickDialogItem(dlg, win::kIdOk); });

    // Power off with a chance for every program to save (24 = EWX_POWEROFF |
    // EWX_FORCEIFHUNG), never EWX_FORCE.
    EXPECT_EQ(desk.calls,
              (Calls{"EndDialog 13", "ExitWindowsEx 24", "EndDialog 1", "ExitWindowsEx 24"}));
    EXPECT_EQ(DialogResults(), (std::vector<std::int64_t>{13, 1}));
    EXPECT_EQ(sys.bIsShutDownDlg, 0);
    EXPECT_TRUE(desk.openTokens.empty());
}

TEST_F(ShutdownTest, EscapeCancelAndCloseBoxCancel) {
    Open([&](Hwnd dlg) {
        // Keys other than Enter and Escape leave the dialog open.
        EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmKeyDown, 'A', 0), 0);
        EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmKeyDown, win::kVkSpace, 0), 0);
        EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmCommand, 11, 0), 0);
        EXPECT_EQ(desk.OpenDialog(), dlg);
        EXPECT_EQ(sys.bIsShutDownDlg, 1);
        EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmKeyDown, win::kVkEscape, 0), 1);
    });
    Open([&](Hwnd dlg) { desk.ClickDialogItem(dlg, win::kIdCancel); });
    Open([&](Hwnd) {});  // closed by its close box

    EXPECT_EQ(desk.calls, (Calls{"EndDialog 27", "EndDialog 2", "EndDialog 2"}));
    EXPECT_EQ(DialogResults(), (std::vector<std::int64_t>{27, 2, 2}));
    EXPECT_EQ(sys.bIsShutDownDlg, 0);
    EXPECT_EQ(sys.shutdownDialog, dialog);  // kept after closing
}

TEST_F(ShutdownTest, ADialogThatCannotOpenLeavesTheRemoteFree) {
    desk.failDialog = true;
    OpenShutdownDialog(sys, owner);
    EXPECT_EQ(sys.bIsShutDownDlg, 0);
    EXPECT_TRUE(desk.calls.empty());
}

TEST_F(ShutdownTest, RefusedPrivilegeClosesTheDialogSilently) {
    desk.adjustPrivilegeError = 1300;  // ERROR_NOT_ALL_ASSIGNED
    Open([&](Hwnd dlg) { desk.ClickDialogItem(dlg, win::kIdOk); });
    EXPECT_EQ(desk.calls, (Calls{"EndDialog 1"}));
    EXPECT_EQ(DialogResults(), (std::vector<std::int64_t>{1}));
    EXPECT_EQ(desk.OpenDialog(), 0u);
    EXPECT_TRUE(desk.openTokens.empty());

    desk.adjustPrivilegeError = 0;
    desk.failOpenProcessToken = true;
    ShutDownComputer(sys);
    EXPECT_EQ(desk.calls, (Calls{"EndDialog 1"}));
}

TEST_F(ShutdownTest, RefusedExitWindowsIsReportedOnTheNtFamilyOnly) {
    desk.failExitWindows = true;
    ShutDownComputer(sys);
    EXPECT_EQ(desk.calls, (Calls{"ExitWindowsEx 24", "MessageBox Can't run ExitWindowsEx."}));
    std::vector<SimEvent> boxes = desk.Events(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].hwnd, 0u);
    EXPECT_EQ(boxes[0].text2, "Remote Control");
    EXPECT_EQ(boxes[0].a, win::kMbOk);
    EXPECT_TRUE(desk.openTokens.empty());

    // The 9x family: a plain shutdown, no token, a refusal goes unreported.
    desk.calls.clear();
    desk.version = OsVersion{4, 10, 2222, win::kVerPlatformWin32Windows};
    desk.failOpenProcessToken = true;
    ShutDownComputer(sys);
    EXPECT_EQ(desk.calls, (Calls{"ExitWindowsEx 1"}));
}

}  // namespace
}  // namespace rc

// --- Answered by the remote, through the poll's nested ticks ------------------------

namespace rc::test {
namespace {

class RemoteShutdownTest : public ReceiverTest {
  protected:
    RemoteShutdownTest() {
        InstallAf9100(desk);
        PlugIt9135();
        Start();
        desk.SetNow(100000);
        desk.SetSystemMetric(win::kSmCxFullScreen, 1024);
        desk.SetSystemMetric(win::kSmCyFullScreen, 768);
        ComputePointerArea(sys, 1024, 768);
        desk.SetCursor({500, 400});
    }

    // The button is seen by the next tick.
    void Press(std::uint32_t keyCode) {
        desk.af9100Words.push_back({keyCode << 8});
        desk.Advance(65);
    }

    // Opens the confirmation with the 1-3 button of the layout; the buttons
    // are pressed while it is open, each at least 200 ms after the last
    // (a fresh press), or 65 ms after it when marked as a held frame (-1).
    void Ask(std::uint32_t layout, std::uint32_t oneThree, std::vector<int> buttons) {
        sys.nIRKEYType = layout;
        desk.onDialog = [this, buttons](Hwnd dlg, std::uint32_t) {
            EXPECT_EQ(sys.shutdownDialog, dlg);
            int last = -1;
            for (int b : buttons) {
                if (b >= 0) {
                    desk.Advance(200);
                    last = b;
                }
                Press(static_cast<std::uint32_t>(last));
            }
        };
        desk.Advance(200);
        Press(oneThree);
        desk.onDialog = nullptr;
    }

    std::vector<std::int64_t> Results() const {
        std::vector<std::int64_t> results;
        for (const SimEvent& e : desk.Events(SimEvent::Kind::DialogEnded)) {
            results.push_back(e.a);
        }
        return results;
    }
    std::size_t Shutdowns() const { return desk.Events(SimEvent::Kind::ExitWindows).size(); }
};

TEST_F(RemoteShutdownTest, ThePowerKeyOfTheLayoutConfirms) {
    const struct {
        std::uint32_t layout, oneThree, power;
    } layouts[] = {{k44Key, 29, 12}, {k32Key, 3, 67}, {k50Key, 12, 13}, {k50Key, 12, 50}};
    for (const auto& l : layouts) {
        SCOPED_TRACE("layout " + std::to_string(l.layout) + " power " + std::to_string(l.power));
        desk.ClearLog();
        Ask(l.layout, l.oneThree, {static_cast<int>(l.power)});
        EXPECT_EQ(Results(), (std::vector<std::int64_t>{13}));
        ASSERT_EQ(Shutdowns(), 1u);
        EXPECT_EQ(desk.Events(SimEvent::Kind::ExitWindows)[0].a, 24);
        EXPECT_EQ(sys.bIsShutDownDlg, 0);
    }
}

TEST_F(RemoteShutdownTest, AnyOtherButtonCancels) {
    const struct {
        std::uint32_t layout, oneThree, other;
    } layouts[] = {{k44Key, 29, 4}, {k32Key, 3, 5}, {k50Key, 12, 29}, {k50Key, 12, 0}};
    for (const auto& l : layouts) {
        SCOPED_TRACE("layout " + std::to_string(l.layout));
        desk.ClearLog();
        Ask(l.layout, l.oneThree, {static_cast<int>(l.other)});
        EXPECT_EQ(Results(), (std::vector<std::int64_t>{27}));
        EXPECT_EQ(Shutdowns(), 0u);
    }
}

TEST_F(RemoteShutdownTest, PowerKeyOfAnotherLayoutWaitsAndItsRepeatCancels) {
    // On the 44-key remote 67 is nobody's power key: nothing happens; held,
    // its second frame is a repeat (255), which cancels.
    Ask(k44Key, 29, {67, -1});
    EXPECT_EQ(Results(), (std::vector<std::int64_t>{27}));
    EXPECT_EQ(Shutdowns(), 0u);

    // Holding the power key: the first frame confirms, the rest are routed.
    desk.ClearLog();
    Ask(k32Key, 3, {67, -1, -1});
    EXPECT_EQ(Results(), (std::vector<std::int64_t>{13}));
    EXPECT_EQ(Shutdowns(), 1u);
}

TEST_F(RemoteShutdownTest, TheNextButtonAfterClosingIsRoutedAgain) {
    Ask(k44Key, 29, {0});
    EXPECT_EQ(Results(), (std::vector<std::int64_t>{27}));
    // No application open: the buttons drive the pointer again.
    desk.Advance(200);
    Press(6);
    EXPECT_EQ(desk.Cursor().x, 501);
    EXPECT_TRUE(desk.Events(SimEvent::Kind::DialogOpened).size() == 1u);
}

}  // namespace
}  // namespace rc::test
