#include "apps/user_apps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "apps/app_record.h"
#include "apps/app_script.h"
#include "apps/button_names.h"
#include "apps/media_center.h"
#include "apps/pallamo.h"
#include "apps/target_app.h"
#include "apps/total_media.h"
#include "core/system.h"
#include "core/text.h"
#include "keys/mouse.h"
#include "keys/poll.h"
#include "keys/router.h"
#include "support/test_support.h"

namespace rc {
namespace {

using Lines = std::vector<std::string>;

constexpr char kFile[] = "C:\\Users\\Ada\\AppData\\Roaming\\Remote Control\\applications.ini";
constexpr char kRead[] =
    "User applications read from "
    "C:\\Users\\Ada\\AppData\\Roaming\\Remote Control\\applications.ini";

class UserAppsTest : public ::testing::Test {
  protected:
    UserAppsTest() {
        sys.traceOn = true;
        sys.nIRKEYType = k32Key;
        ComputePointerAreaFromMetrics(sys);
    }
    // A player window in front, of a process whose executable is exe.
    Hwnd OpenPlayer(const std::string& cls = "PlayerClass", const std::string& title = "My Player",
                    const std::string& exe = "C:\\Tools\\player.exe") {
        Hwnd window = desk.AddWindow(cls, title);
        desk.SetProcessImage(desk.GetWindowProcessId(window), exe);
        desk.SetForegroundWindow(window);
        desk.ClearLog();
        return window;
    }
    PressOutcome Press(std::uint32_t keyCode) { return RouteKey(sys, rc::Press{keyCode}, 0); }
    // A button held: a frame every 108 ms through the repeat filter, as the
    // poll reads them; then let go for a second.
    void Hold(std::uint32_t keyCode, int frames) {
        for (int i = 0; i < frames; ++i) {
            desk.SetNow(desk.Now() + 108);
            RouteKey(sys, FilterRepeat(sys, keyCode), 0);
        }
        desk.SetNow(desk.Now() + 1000);
    }
    // The lines about the file and the user applications.
    Lines FileTraces() const {
        Lines lines;
        for (const std::string& t : desk.Traces()) {
            std::string text = test::Untraced(t);
            if (text.starts_with("applications.ini") || text.starts_with("User application")) {
                lines.push_back(text);
            }
        }
        return lines;
    }
    std::string Script() const { return test::Script(desk); }
    // The file as Notepad saves it "Unicode": UTF-16 LE after its byte-order mark.
    static std::string Utf16File(std::string_view text) {
        std::string bytes = "\xFF\xFE";
        for (char16_t unit : Utf8ToUtf16(text)) {
            bytes += static_cast<char>(unit & 0xFF);
            bytes += static_cast<char>(unit >> 8);
        }
        return bytes;
    }

    SimDesktop desk;
    System sys{desk};
};

TEST_F(UserAppsTest, WithoutTheFileNothingChanges) {
    OpenPlayer();
    Press(6);  // 32KEY num6: the mouse moves right
    EXPECT_EQ(desk.Events(SimEvent::Kind::SetCursorPos).size(), 1u);
    EXPECT_EQ(Script(), "");
    EXPECT_EQ(FileTraces(), Lines{});
}

TEST_F(UserAppsTest, SectionsMatchByExeThenClassThenTitle) {
    desk.SetFileText(kFile,
                     "[ByTitle]\nTitle = player\nok = command 1\n"
                     "[ByClass]\nClass = playerclass\nok = command 2\n"
                     "[ExeAndTitle]\nExe = player.exe\nTitle = Other\nok = command 3\n"
                     "[ByExe]\nExe = C:\\Somewhere\\PLAYER.EXE\nok = command 4\n");
    Hwnd player = OpenPlayer();
    Press(18);
    EXPECT_EQ(Script(), "post:My Player:273:4") << "every line a section gives must match";

    desk.ClearLog();
    desk.SetProcessImage(desk.GetWindowProcessId(player), "C:\\Tools\\other.exe");
    Press(18);
    EXPECT_EQ(Script(), "post:My Player:273:2");

    OpenPlayer("OtherClass", "The Player window", "C:\\Tools\\other.exe");
    Press(18);
    EXPECT_EQ(Script(), "post:The Player window:273:1") << "a title that contains the text";

    OpenPlayer("OtherClass", "Editor", "C:\\Tools\\other.exe");
    Press(18);
    EXPECT_EQ(Script(), "");
}

TEST_F(UserAppsTest, EveryActionKindReachesTheWindowInFront) {
    desk.SetFileText(kFile,
                     "[Player]\n"
                     "Exe = player.exe\n"
                     "ok = keys Ctrl+Shift+P    ; a chord\n"
                     "down = keys Up\n"
                     "volup = appcommand VOLUME_UP\n"
                     "voldown = appcommand 9\n"
                     "mute = post 0x8001 7 0xFFFFFFFF\n"
                     "play = command 4001\n"
                     "stop = close\n"
                     "tv = launch \"C:\\Program Files\\Tool\\tool.exe\" --channel 5\n"
                     "num5 = none\n");
    Hwnd player = OpenPlayer();
    std::string w = std::to_string(player);
    Lines said;
    for (std::uint32_t keyCode : {18, 25, 14, 19, 23, 22, 21, 30, 5}) {
        PressOutcome outcome = Press(keyCode);
        EXPECT_EQ(outcome.taker, PressTaker::kUserApp);
        EXPECT_EQ(outcome.name, "Player");
        said.push_back(outcome.sent.empty() ? outcome.why : outcome.sent);
    }
    EXPECT_EQ(said,
              (Lines{"Ctrl+Shift+P", "Up", "WM_APPCOMMAND VOLUME_UP", "WM_APPCOMMAND VOLUME_DOWN",
                     "message 32769 (7, 4294967295)", "WM_COMMAND 4001", "Alt+F4",
                     "launch tool.exe", "Player takes this button and does nothing with it"}));
    EXPECT_EQ(Script(),
              "fg:My Player active:My Player 17:0 16:0 80:0 80:2 16:2 17:2 "
              "fg:My Player active:My Player 38d 38u "
              "post:My Player:793:" +
                  w + ":a0000 post:My Player:793:" + w +
                  ":90000 "
                  "post:My Player:32769:7:ffffffffffffffff post:My Player:273:4001 "
                  "fg:My Player active:My Player 18:0 115:0 115:2 18:2");
    auto launches = desk.Events(SimEvent::Kind::ShellExecute);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].text, "C:\\Program Files\\Tool\\tool.exe");
    EXPECT_EQ(launches[0].text2, "open|--channel 5");
    EXPECT_EQ(launches[0].text3, "C:\\Program Files\\Tool") << "started in its own folder";
    EXPECT_TRUE(desk.Events(SimEvent::Kind::MouseEvent).empty()) << "none: not even the mouse";
    EXPECT_EQ(FileTraces().back(), "User application Player: KeyCode (5)");

    desk.ClearLog();
    Press(6);  // not named: the mouse, as before
    EXPECT_EQ(desk.Events(SimEvent::Kind::SetCursorPos).size(), 1u);
}

TEST_F(UserAppsTest, HeldButtonsUnderRepeatActAtThePressThenOnEveryFrameAfterTheDelay) {
    desk.SetFileText(kFile,
                     "[Player]\nExe = player.exe\n"
                     "volup = command 1\nok = command 2\nvoldown = command 3\n"
                     "Repeat = volup, 19\n");
    OpenPlayer();
    Hold(14, 8);  // volup: held 0 to 756 ms, acts at 0, 432, 540, 648 and 756
    Hold(18, 4);  // ok: not listed, the press only
    Hold(19, 5);  // voldown, listed by its KeyCode: held 0 to 432 ms
    EXPECT_EQ(Script(),
              "post:My Player:273:1 post:My Player:273:1 post:My Player:273:1 "
              "post:My Player:273:1 post:My Player:273:1 post:My Player:273:2 "
              "post:My Player:273:3 post:My Player:273:3");
}

TEST_F(UserAppsTest, AFrameInsideTheDelaySendsNothingElsewhereAndSaysWhy) {
    desk.SetFileText(kFile, "[Player]\nExe = player.exe\nnum6 = command 6\nRepeat = num6\n");
    OpenPlayer();
    desk.SetNow(5000);
    RouteKey(sys, FilterRepeat(sys, 6), 0);
    desk.SetNow(5108);
    PressOutcome held = RouteKey(sys, FilterRepeat(sys, 6), 0);
    EXPECT_EQ(held.taker, PressTaker::kUserApp);
    EXPECT_EQ(held.sent, "");
    EXPECT_EQ(held.why, "Player repeats a held button after 400 ms");
    EXPECT_TRUE(desk.Events(SimEvent::Kind::SetCursorPos).empty())
        << "num6 is also the pointer's right: a waiting frame must not move it";
    EXPECT_EQ(Script(), "post:My Player:273:6");
}

TEST_F(UserAppsTest, EachSectionHasItsOwnRepeatDelayAndZeroRepeatsOnEveryFrame) {
    desk.SetFileText(kFile,
                     "[Player]\nExe = player.exe\nRepeatDelay = 0\nvolup = command 1\n"
                     "Repeat = volup\n"
                     "[Other]\nExe = other.exe\nvolup = command 2\nRepeat = volup\n"
                     "RepeatDelay = 200  ; channel keys\n");
    OpenPlayer();
    Hold(14, 4);
    EXPECT_EQ(Script(),
              "post:My Player:273:1 post:My Player:273:1 post:My Player:273:1 "
              "post:My Player:273:1");
    OpenPlayer("OtherClass", "Other", "C:\\Tools\\other.exe");
    Hold(14, 4);  // held 0 to 324 ms: acts at 0, 216 and 324
    EXPECT_EQ(Script(), "post:Other:273:2 post:Other:273:2 post:Other:273:2");
}

TEST_F(UserAppsTest, ABadRepeatDelayIsSkippedWithATraceAndTheDefaultKept) {
    desk.SetFileText(kFile,
                     "[Player]\nExe = player.exe\nRepeatDelay = soon\nRepeatDelay = -5\n"
                     "RepeatDelay = 5001\nRepeatDelay =\nvolup = command 1\nRepeat = volup\n");
    OpenPlayer();
    Hold(14, 5);  // held 0 to 432 ms: acts at 0 and 432
    EXPECT_EQ(Script(), "post:My Player:273:1 post:My Player:273:1");
    const std::string skipped = ": skipped, not a delay from 0 to 5000 ms";
    EXPECT_EQ(FileTraces(), (Lines{
                                "applications.ini [Player] \"RepeatDelay=soon\"" + skipped,
                                "applications.ini [Player] \"RepeatDelay=-5\"" + skipped,
                                "applications.ini [Player] \"RepeatDelay=5001\"" + skipped,
                                "applications.ini [Player] \"RepeatDelay=\"" + skipped,
                                std::string(kRead) + " (1)",
                                "User application Player: KeyCode (E)",
                                "User application Player: KeyCode (E)",
                            }));
}

TEST_F(UserAppsTest, ANewPressAfterLettingGoWaitsTheWholeDelayAgain) {
    desk.SetFileText(kFile, "[Player]\nExe = player.exe\nvolup = command 1\nRepeat = volup\n");
    OpenPlayer();
    // Held to 432 ms, let go for 200 ms, pressed and held again to 324 ms.
    for (std::uint32_t t : {0, 108, 216, 324, 432, 632, 740, 848, 956}) {
        desk.SetNow(10000 + t);
        RouteKey(sys, FilterRepeat(sys, 14), 0);
    }
    EXPECT_EQ(Script(), "post:My Player:273:1 post:My Player:273:1 post:My Player:273:1");
}

TEST_F(UserAppsTest, TheProblemsOfTheLastReadAreKeptWithTheirTraceTexts) {
    desk.SetFileText(kFile, "[Player]\nExe = player.exe\nplya = keys Space\nleft\n");
    WatchUserApps(sys);
    EXPECT_EQ(sys.userApps->problems,
              (Lines{"applications.ini [Player] \"plya=keys Space\": skipped, unknown button",
                     "applications.ini [Player] \"left\": skipped, no '='"}));
    Lines traced = FileTraces();
    EXPECT_EQ(Lines(traced.begin(), traced.begin() + 2), sys.userApps->problems);

    desk.SetFileText(kFile, "[Player]\nExe = player.exe\nplay = keys Space\n");
    desk.Advance(600);
    WatchUserApps(sys);
    EXPECT_TRUE(sys.userApps->problems.empty()) << "the corrected file has none";
}

TEST_F(UserAppsTest, BadLinesAreSkippedWithATraceAndTheRestKept) {
    desk.SetFileText(kFile,
                     "; Remote Control's applications\n"
                     "[Player]\n"
                     "Exe = player.exe        ; the player\n"
                     "plya = keys Space\n"
                     "ok = kees Space\n"
                     "up = keys Ctrl+Spacebar\n"
                     "down = keys P+Ctrl\n"
                     "left\n"
                     "right = command 70000\n"
                     "volup = appcommand VOLUME_UPP\n"
                     "ok = keys Enter\n"
                     "back = keys Backspace\n"
                     "back = keys Escape\n"
                     "Repeat = back sideways\n"
                     "RepeatDelay = 0\n"
                     "RepeatDelay = 200\n"
                     "Exe = other.exe\n"
                     "chup = launch C:\\" +
                         std::string(300, 'x') +
                         "\n"
                         "[Nothing]\n"
                         "ok = keys Enter\n"
                         "[player]\n"
                         "Title = x\n");
    WatchUserApps(sys);
    const std::string tooLong = "\"chup=launch C:\\" + std::string(85, 'x') + "...\"";
    EXPECT_EQ(FileTraces(),
              (Lines{
                  "applications.ini [Player] \"plya=keys Space\": skipped, unknown button",
                  "applications.ini [Player] \"ok=kees Space\": skipped, unknown action",
                  "applications.ini [Player] \"up=keys Ctrl+Spacebar\": skipped, unknown key",
                  "applications.ini [Player] \"down=keys P+Ctrl\": skipped, more than one key, or "
                  "a modifier after the key",
                  "applications.ini [Player] \"left\": skipped, no '='",
                  "applications.ini [Player] \"right=command 70000\": skipped, a command id that "
                  "is not a number from 0 to 65535",
                  "applications.ini [Player] \"volup=appcommand VOLUME_UPP\": skipped, unknown app "
                  "command",
                  "applications.ini [Player] \"back=keys Escape\": skipped, the button has a line "
                  "already",
                  "applications.ini [Player] \"Repeat=back sideways\": left out, no button: "
                  "sideways",
                  "applications.ini [Player] \"RepeatDelay=200\": skipped, a second line of "
                  "this kind",
                  "applications.ini [Player] \"Exe=other.exe\": skipped, a second line of this "
                  "kind",
                  "applications.ini [Player] " + tooLong + ": skipped, the value is too long",
                  "applications.ini [Nothing] skipped: no Exe, Class or Title line",
                  "applications.ini [player] skipped: a second section of this name",
                  std::string(kRead) + " (1)",
              }));
    OpenPlayer();
    Press(18);
    Press(28);
    EXPECT_EQ(desk.KeyText(), "13:0 13:2 8:0 8:2");
}

TEST_F(UserAppsTest, AnOversizedSectionIsCutBeforeItsLastLine) {
    std::string text = "[Player]\nExe = player.exe\n";
    for (int keyCode = 0; keyCode < 250; ++keyCode) {
        text += std::to_string(keyCode) + " = launch C:\\" + std::string(150, 'a') + "\n";
    }
    desk.SetFileText(kFile, text);
    OpenPlayer();
    Press(24);   // in the part read
    Press(249);  // beyond the 32 KB the section is read with
    EXPECT_EQ(desk.Events(SimEvent::Kind::ShellExecute).size(), 1u);
    EXPECT_EQ(FileTraces().front(),
              "applications.ini [Player] too long: cut, its last line is left out");
}

TEST_F(UserAppsTest, AnEditIsReadAgainWithin500MsAndAGoneFileIsForgotten) {
    desk.SetFileText(kFile, "[Player]\nExe = player.exe\nok = command 1\n");
    OpenPlayer();
    Press(18);
    desk.SetFileText(kFile, "[Player]\nExe = player.exe\nok = command 2\n");
    Press(18);  // the file was looked at just now
    desk.SetNow(desk.Now() + 500);
    Press(18);
    EXPECT_EQ(Script(), "post:My Player:273:1 post:My Player:273:1 post:My Player:273:2");

    // The same time stamp (a coarse file system), another size: the
    // application watch's tick reads it.
    desk.ClearLog();
    std::uint64_t time = 0x01D0000000000000ull;
    desk.SetFileText(kFile, "[Player]\nExe = player.exe\nok = command 3\n", time);
    desk.SetFileText(kFile, "[Player]\nExe = player.exe\nok = command 33\n", time);
    OnAppWatchTimer(&sys, 0, 2);
    Press(18);
    EXPECT_EQ(Script(), "sleep:2000 post:My Player:273:33");

    desk.ClearLog();
    desk.RemoveFile(kFile);
    desk.SetNow(desk.Now() + 500);
    Press(18);
    EXPECT_EQ(Script(), "");
    EXPECT_EQ(FileTraces(), Lines{"User applications: applications.ini is gone"});
}

TEST_F(UserAppsTest, EveryEncodingNotepadSavesIsRead) {
    // The first section matters: a byte-order mark must not hide it.
    const std::string text =
        "[Caf\u00E9]\r\nTitle = Caf\u00E9 \u041F\u043B\u0435\u0435\u0440\r\nok = command 1\r\n";
    // ANSI: é is 0xE9 in Windows-1252, which has no Cyrillic letters.
    const std::string ansi = "[Caf\xE9]\r\nTitle = Caf\xE9\r\nok = command 1\r\n";
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"UTF-16 LE", Utf16File(text)},
        {"UTF-8 with a byte-order mark", std::string("\xEF\xBB\xBF").append(text)},
        {"UTF-8", text},
        {"ANSI", ansi},
    };
    OpenPlayer("PlayerClass", "Caf\u00E9 \u041F\u043B\u0435\u0435\u0440");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        desk.ClearLog();
        desk.SetFileText(kFile, c.bytes);
        WatchUserApps(sys);
        Press(18);
        EXPECT_EQ(Script(), "post:Caf\u00E9 \u041F\u043B\u0435\u0435\u0440:273:1");
        EXPECT_EQ(FileTraces().front(), std::string(kRead) + " (1)");
    }
}

TEST_F(UserAppsTest, NamesMatchInAnyScriptAndOnlyTheirOwnLetters) {
    // With the ANSI calls both titles read "????? ?" and the first section
    // took both players.
    desk.SetFileText(kFile, Utf16File("[\u041F\u043B\u0435\u0435\u0440 \u0410]\n"
                                      "Title = \u043F\u043B\u0435\u0435\u0440 \u0430\n"
                                      "ok = command 1\n"
                                      "[\u041F\u043B\u0435\u0435\u0440 \u0411]\n"
                                      "Title = \u043F\u043B\u0435\u0435\u0440 \u0431\n"
                                      "ok = command 2\n"
                                      "[\u03A0\u03BB\u03AD\u03B9\u03B5\u03C1]\n"
                                      "Exe = \u03C0\u03BB\u03AD\u03B9\u03B5\u03C1.EXE\n"
                                      "Class = \u00C9CRAN\n"
                                      "ok = command 3\n"));
    Lines took;
    OpenPlayer("PlayerClass", "\u041F\u041B\u0415\u0415\u0420 \u0411 - video.mkv");
    took.push_back(Press(18).name);
    OpenPlayer("PlayerClass", "\u041F\u041B\u0415\u0415\u0420 \u0410");
    took.push_back(Press(18).name);
    OpenPlayer("\u00E9cran", "Player", "C:\\\u03A0\u03BB\u03AD\u03B9\u03B5\u03C1.exe");
    took.push_back(Press(18).name);
    EXPECT_EQ(took, (Lines{"\u041F\u043B\u0435\u0435\u0440 \u0411",
                           "\u041F\u043B\u0435\u0435\u0440 \u0410",
                           "\u03A0\u03BB\u03AD\u03B9\u03B5\u03C1"}));
}

TEST_F(UserAppsTest, BrokenBytesAreReadAsFarAsTheyGoAndTheRestKept) {
    OpenPlayer();
    desk.SetFileText(kFile,
                     "\xEF\xBB\xBF[Player]\nExe = player.exe\nok = command 1\xC3\n"
                     "up = command 2\n[Caf\xE9]\n");
    WatchUserApps(sys);
    Lines traces = FileTraces();
    desk.SetFileText(kFile, Utf16File("[Player]\nExe = player.exe\nup = command 3\n") + "\x41");
    Press(24);
    desk.SetNow(desk.Now() + 500);
    Press(24);
    EXPECT_EQ(Script(), "post:My Player:273:2 post:My Player:273:3");
    ASSERT_EQ(traces.size(), 3u);
    EXPECT_EQ(traces[0],
              "applications.ini [Player] \"ok=command 1\uFFFD\": skipped, a command id that is "
              "not a number from 0 to 65535");
    EXPECT_EQ(traces[1], "applications.ini [Caf\uFFFD] skipped: no Exe, Class or Title line");
}

TEST_F(UserAppsTest, AFileOver4MbIsReadUpToThereWithATrace) {
    std::string text = "[Player]\nExe = player.exe\nok = command 1\n";
    while (text.size() <= kMaxFileBytes) {
        text.append("; ").append(1000, 'x').append("\n");
    }
    desk.SetFileText(kFile, text + "up = command 2\n");
    OpenPlayer();
    Press(18);
    Press(24);
    EXPECT_EQ(Script(), "post:My Player:273:1");
    EXPECT_EQ(FileTraces().front(),
              "applications.ini is too big: read up to 4 MB, the line cut there is left out");
}

TEST_F(UserAppsTest, AFileThatCantBeReadJustNowKeepsTheKeyMapAndIsReadAgain) {
    desk.SetFileText(kFile, "[Player]\nExe = player.exe\nok = command 1\n");
    OpenPlayer();
    Press(18);
    // An editor saving it, then an antivirus scanning it: held without sharing.
    desk.SetFileText(kFile, "[Player]\nExe = player.exe\nok = command 2\n");
    desk.fileReadError = 32;
    for (int i = 0; i < 2; ++i) {
        desk.SetNow(desk.Now() + 500);
        Press(18);
    }
    desk.fileReadError = 0;
    desk.SetNow(desk.Now() + 500);
    Press(18);
    EXPECT_EQ(Script(),
              "post:My Player:273:1 post:My Player:273:1 post:My Player:273:1 "
              "post:My Player:273:2");
    Lines traces = FileTraces();
    traces.erase(std::remove_if(traces.begin(), traces.end(),
                                [](const std::string& t) { return t.find("KeyCode") != t.npos; }),
                 traces.end());
    EXPECT_EQ(traces, (Lines{std::string(kRead) + " (1)",
                             "User applications: applications.ini can't be read just now, the "
                             "last key map is kept; error 32",
                             std::string(kRead) + " (1)"}));
}

TEST_F(UserAppsTest, LaunchStartsInTheFolderOfTheProgramsPath) {
    desk.SetFileText(kFile,
                     "[Player]\nExe = player.exe\n"
                     "ok = launch C:\\tool.exe\n"
                     "up = launch tool.exe\n"
                     "down = launch \"D:\\\u041C\u0443\u0437\u044B\u043A\u0430\\p.exe\"\n");
    OpenPlayer();
    Press(18);
    Press(24);
    Press(25);
    Lines folders;
    for (const SimEvent& e : desk.Events(SimEvent::Kind::ShellExecute)) {
        folders.push_back(e.text + " in " + e.text3);
    }
    EXPECT_EQ(folders, (Lines{"C:\\tool.exe in C:\\", "tool.exe in ",
                              "D:\\\u041C\u0443\u0437\u044B\u043A\u0430\\p.exe in "
                              "D:\\\u041C\u0443\u0437\u044B\u043A\u0430"}));
}

TEST_F(UserAppsTest, AnElevatedWindowsRefusalIsTracedWithItsError) {
    desk.SetFileText(kFile, "[Player]\nExe = player.exe\nok = keys Ctrl+P\nup = command 7\n");
    Hwnd player = OpenPlayer();
    desk.SetWindowElevated(player);
    EXPECT_EQ(Press(18).why, "Player did not get Ctrl+P: Windows refused it (error 5)");
    EXPECT_EQ(Press(24).why, "Player did not get WM_COMMAND 7: Windows refused it (error 5)");
    EXPECT_EQ(desk.KeyText(), "");
    Lines traces = FileTraces();
    EXPECT_EQ(traces.back(), "User application: WM_COMMAND 7 not posted, error 5");
    Lines all;
    for (const std::string& t : desk.Traces()) {
        all.push_back(test::Untraced(t));
    }
    EXPECT_NE(std::find(all.begin(), all.end(), "Keys not sent: Windows refused them, error 5"),
              all.end());

    desk.elevated = true;  // a program as elevated as the window may
    desk.ClearLog();
    Press(18);
    EXPECT_EQ(desk.KeyText(), "17:0 80:0 80:2 17:2");
}

TEST_F(UserAppsTest, TheExampleFileReadsEveryLineOfItsSixPlayers) {
    std::string path = __FILE__;
    path = path.substr(0, path.find_last_of("\\/") + 1) + "../../resources/applications.ini";
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        GTEST_SKIP() << "no " << path;
    }
    desk.SetFileText(kFile, std::string(std::istreambuf_iterator<char>(file), {}));
    WatchUserApps(sys);
    EXPECT_EQ(FileTraces(), Lines{std::string(kRead) + " (6)"}) << "every line is understood";
    Lines sections;
    for (const UserApp& app : sys.userApps->apps) {
        sections.push_back(app.name);
    }
    EXPECT_EQ(sections,
              (Lines{"VLC", "MPC-HC", "MPC-BE", "PotPlayer", "Kodi", "Windows Media Player"}));
}

// Each button name does on its layout what its name says in Media Center,
// TotalMedia or Pallamo (whichever has a map there says so).
TEST(ButtonNames, FollowTheKeyMaps) {
    struct Meaning {
        std::string name, mce, totalMedia, pallamo;
    };
    std::vector<Meaning> meanings = {
        {"ok", "13d 13u", "13d 13u", "3000:35005"},
        {"up", "38d 38u", "38d 38u", "3000:35002"},
        {"down", "40d 40u", "40d 40u", "3000:35004"},
        {"left", "37d 37u", "37d 37u", "3000:35001"},
        {"right", "39d 39u", "39d 39u", "3000:35003"},
        {"back", "8d 8u", "8d 8u", "3000:5"},
        {"chup", "33d 33u", "107d 107u", "3000:4001"},
        {"chdown", "34d 34u", "109d 109u", "3000:4002"},
        {"volup", "121d 121u", "121d 121u", "3000:401"},
        {"voldown", "120d 120u", "120d 120u", "3000:402"},
        {"mute", "119d 119u", "119d 119u", "3000:403"},
        {"play", "17d 80d 80u 17u", "17d 80d 80u 17u", "3000:3000"},
        {"stop", "17d 16d 83d 83u 16u 17u", "17d 83d 83u 17u", "3000:1002"},
        {"record", "17d 82d 82u 17u", "17d 82d 82u 17u", "3000:1001"},
        {"next", "17d 70d 70u 17u", "17d 16d 70d 70u 16u 17u", "3000:1004"},
        {"prev", "17d 66d 66u 17u", "17d 16d 68d 68u 16u 17u", "3000:1005"},
        {"ffwd", "17d 16d 70d 70u 16u 17u", "-", "-"},
        {"rewind", "17d 16d 66d 66u 16u 17u", "-", "-"},
        {"tv", "17d 84d 84u 17u", "115d 115u", "-"},
        {"fullscreen", "18d 13d 13u 18u", "18d 13d 13u 18u", "3000:3"},
        {"guide", "17d 71d 71u 17u", "17d 71d 71u 17u", "-"},
        {"dvdmenu", "17d 16d 77d 77u 16u 17u", "17d 73d 73u 17u", "-"},
        {"teletext", "18d 17d 84d 84u 17u 18u", "17d 76d 76u 17u", "-"},
        {"red", "18d 17d 82d 82u 17u 18u", "-", "-"},
        {"green", "18d 17d 71d 71u 17u 18u", "-", "-"},
        {"yellow", "18d 17d 89d 89u 17u 18u", "-", "-"},
        {"blue", "18d 17d 66d 66u 17u 18u", "-", "-"},
    };
    for (int d = 0; d <= 9; ++d) {
        std::string vk = std::to_string(0x60 + d);
        meanings.push_back({"num" + std::to_string(d), "256:" + vk, vk + "d " + vk + "u",
                            "3000:" + std::to_string(10000 + d)});
    }
    SimDesktop desk;
    System sys(desk);
    test::OpenAppWindow(desk, kMediaCenter);
    test::OpenAppWindow(desk, kTotalMedia);
    test::OpenAppWindow(desk, kPallamo);
    // What a map sent: keystrokes, and posted messages as "message:wParam".
    auto sent = [&](auto map, std::uint32_t layout, std::uint32_t keyCode) {
        desk.ClearLog();
        map(sys, layout, keyCode);
        std::string out;
        for (const SimEvent& e : desk.Log()) {
            if (e.kind == SimEvent::Kind::KeybdEvent) {
                out += std::to_string(e.a) + ((e.b & 2) != 0 ? "u " : "d ");
            } else if (e.kind == SimEvent::Kind::PostMessage) {
                out += std::to_string(e.a) + ":" + std::to_string(e.b) + " ";
            }
        }
        return out.empty() ? out : out.substr(0, out.size() - 1);
    };
    int checked = 0;
    for (std::uint32_t layout : {k44Key, k32Key, k50Key, k35Key}) {
        for (const Meaning& m : meanings) {
            int index = FindButtonName(m.name);
            ASSERT_NE(index, kNoButtonName) << m.name;
            for (std::uint32_t keyCode = 0; keyCode < 255; ++keyCode) {
                if (!ButtonSends(index, layout, keyCode)) {
                    continue;
                }
                SCOPED_TRACE(m.name + " on layout " + std::to_string(layout) + ", KeyCode " +
                             std::to_string(keyCode));
                EXPECT_TRUE(sent(MediaCenterKeyMap, layout, keyCode) == m.mce ||
                            sent(TotalMediaKeyMap, layout, keyCode) == m.totalMedia ||
                            sent(PallamoKeyMap, layout, keyCode) == m.pallamo);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 100);
}

}  // namespace
}  // namespace rc
