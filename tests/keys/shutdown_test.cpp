#include "keys/shutdown.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/sim_desktop.h"
#include "platform/win_defs.h"
#include "resources/resource.h"
#include "shell/system.h"

namespace rc {
namespace {

using Kind = SimEvent::Kind;

constexpr std::uint32_t kPowerOffIfHung = win::kEwxPowerOff | win::kEwxForceIfHung;

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

    // The kinds of the events that matter here, in order.
    std::vector<Kind> Story() const {
        std::vector<Kind> kinds;
        for (const SimEvent& e : desk.Log()) {
            if (e.kind == Kind::DialogEnded || e.kind == Kind::ExitWindows ||
                e.kind == Kind::MessageBox) {
                kinds.push_back(e.kind);
            }
        }
        return kinds;
    }

    SimDesktop desk;
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

TEST_F(ShutdownTest, EnterAndOkShutDownAfterTheDialogHasEnded) {
    Open([&](Hwnd dlg) {
        EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmKeyDown, win::kVkReturn, 0), 1);
        EXPECT_EQ(sys.bIsShutDownDlg, 0);
    });
    Open([&](Hwnd dlg) { desk.ClickDialogItem(dlg, win::kIdOk); });

    EXPECT_EQ(DialogResults(), (std::vector<std::int64_t>{13, 1}));
    EXPECT_EQ(Story(), (std::vector<Kind>{Kind::DialogEnded, Kind::ExitWindows, Kind::DialogEnded,
                                          Kind::ExitWindows}));
    for (const SimEvent& e : desk.Events(Kind::ExitWindows)) {
        EXPECT_EQ(e.a, kPowerOffIfHung);
    }
    EXPECT_EQ(sys.bIsShutDownDlg, 0);
}

TEST_F(ShutdownTest, EscapeCancelAndCloseBoxCancel) {
    Open([&](Hwnd dlg) {
        // Keys other than Enter and Escape leave the dialog open.
        EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmKeyDown, 'A', 0), 0);
        EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmCommand, 11, 0), 0);
        EXPECT_EQ(desk.OpenDialog(), dlg);
        EXPECT_EQ(desk.SendDialogMessage(dlg, win::kWmKeyDown, win::kVkEscape, 0), 1);
    });
    Open([&](Hwnd dlg) { desk.ClickDialogItem(dlg, win::kIdCancel); });
    Open([&](Hwnd) {});  // closed by its close box

    EXPECT_EQ(DialogResults(), (std::vector<std::int64_t>{27, 2, 2}));
    EXPECT_TRUE(desk.Events(Kind::ExitWindows).empty());
    EXPECT_EQ(sys.bIsShutDownDlg, 0);
    EXPECT_EQ(sys.shutdownDialog, dialog);  // kept after closing
}

TEST_F(ShutdownTest, RefusedPrivilegeClosesTheDialogSilently) {
    desk.adjustPrivilegeError = 1300;  // ERROR_NOT_ALL_ASSIGNED
    Open([&](Hwnd dlg) { desk.ClickDialogItem(dlg, win::kIdOk); });
    EXPECT_EQ(DialogResults(), (std::vector<std::int64_t>{1}));
    EXPECT_EQ(Story(), (std::vector<Kind>{Kind::DialogEnded}));
    EXPECT_EQ(desk.OpenDialog(), 0u);

    desk.adjustPrivilegeError = 0;
    desk.failOpenProcessToken = true;
    ShutDownComputer(sys);
    EXPECT_EQ(Story(), (std::vector<Kind>{Kind::DialogEnded}));
}

TEST_F(ShutdownTest, RefusedExitWindowsIsReportedOnTheNtFamilyOnly) {
    desk.failExitWindows = true;
    ShutDownComputer(sys);
    std::vector<SimEvent> boxes = desk.Events(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].hwnd, 0u);
    EXPECT_EQ(boxes[0].text, "Can't run ExitWindowsEx.");
    EXPECT_EQ(boxes[0].text2, "Remote Control");
    EXPECT_EQ(boxes[0].a, win::kMbOk);

    desk.ClearLog();
    desk.version = OsVersion{4, 10, 2222, win::kVerPlatformWin32Windows};
    ShutDownComputer(sys);
    std::vector<SimEvent> exits = desk.Events(Kind::ExitWindows);
    ASSERT_EQ(exits.size(), 1u);
    EXPECT_EQ(exits[0].a, win::kEwxShutdown);
    EXPECT_TRUE(desk.Events(Kind::MessageBox).empty());
}

}  // namespace
}  // namespace rc
