#include "apps/key_map_edit.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "apps/button_names.h"
#include "apps/user_apps.h"
#include "core/system.h"
#include "core/text.h"
#include "support/test_support.h"

namespace rc {
namespace {

constexpr char kFile[] = "C:\\Users\\Ada\\AppData\\Roaming\\Remote Control\\applications.ini";

// A file as a person keeps it: comments, blank lines, a comment after a
// value, aligned values, CR LF.
constexpr char kText[] =
    "; my remote\r\n"
    "\r\n"
    "[VLC]\r\n"
    "Exe = vlc.exe\r\n"
    "play = keys Space        ; play / pause\r\n"
    "\r\n"
    "; the volume\r\n"
    "volup = keys Ctrl+Up\r\n"
    "Repeat = volup voldown\r\n"
    "\r\n"
    "[Kodi]\r\n"
    "Class = Kodi\r\n";

std::uint16_t Named(const char* name) {
    return static_cast<std::uint16_t>(kNamedButton + FindButtonName(name));
}

UserAction Action(std::string_view text) {
    UserAction action;
    const char* why = "";
    EXPECT_TRUE(ParseUserAction(text, &action, &why)) << text << ": " << why;
    return action;
}

bool SameAction(const UserAction& a, const UserAction& b) {
    return a.kind == b.kind && a.keyCount == b.keyCount &&
           std::equal(a.keys, a.keys + a.keyCount, b.keys) && a.message == b.message &&
           a.wParam == b.wParam && a.lParam == b.lParam && a.file == b.file &&
           a.parameters == b.parameters;
}

// kText with one line replaced (or taken out, or a line put before it).
std::string Replaced(const std::string& from, const std::string& to) {
    std::string text = kText;
    std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

class KeyMapEditTest : public ::testing::Test {
  protected:
    KeyMapEditTest() { sys.traceOn = true; }
    KeyMapDocument Doc(std::string_view bytes = kText) { return ReadKeyMapDocument(desk, bytes); }
    std::string Bytes(KeyMapDocument& doc) { return KeyMapDocumentBytes(desk, doc); }
    std::vector<std::string> SaveTraces() const {
        std::vector<std::string> lines;
        for (const std::string& t : desk.Traces()) {
            std::string text = test::Untraced(t);
            if (text.starts_with("User applications")) {
                lines.push_back(text);
            }
        }
        return lines;
    }

    SimDesktop desk;
    System sys{desk};
};

// ----- The document's lines ------------------------------------------------------------

TEST_F(KeyMapEditTest, ANewActionRewritesOnlyTheValueOfItsLine) {
    KeyMapDocument doc = Doc();
    ButtonLine play = ButtonLineOf(doc, 0, Named("play"), k32Key);
    EXPECT_TRUE(play.present);
    EXPECT_EQ(play.value, "keys Space");
    EXPECT_TRUE(play.valid);
    EXPECT_TRUE(SameAction(play.action, Action("keys Space")));

    SetButtonAction(doc, 0, Named("play"), k32Key, Action("keys ctrl+p"));
    EXPECT_EQ(Bytes(doc), Replaced("play = keys Space        ;", "play = keys Ctrl+P        ;"))
        << "the key as written, the blanks and the comment kept";
    SetButtonAction(doc, 0, Named("play"), k32Key, Action("keys Ctrl+P"));
    EXPECT_EQ(Bytes(doc), Replaced("play = keys Space        ;", "play = keys Ctrl+P        ;"));
}

TEST_F(KeyMapEditTest, ANewButtonLineGoesAfterTheSectionsLastButtonLine) {
    KeyMapDocument doc = Doc();
    SetButtonAction(doc, 0, Named("stop"), k32Key, Action("keys S"));
    SetButtonAction(doc, 1, 77, k32Key, Action("close"));
    std::string want = Replaced("Repeat = volup", "stop = keys S\r\nRepeat = volup");
    want += "77 = close\r\n";  // no button line: after the Exe, Class and Title lines
    EXPECT_EQ(Bytes(doc), want);
}

TEST_F(KeyMapEditTest, NewLinesTakeTheFilesLineEndAndItsLastLineStaysAsItWas) {
    KeyMapDocument doc = Doc("[VLC]\nExe = vlc.exe\r\nplay = keys Space\nstop = keys S");
    SetButtonAction(doc, 0, Named("mute"), k32Key, Action("keys M"));
    SetRepeats(doc, 0, Named("mute"), k32Key, true);
    EXPECT_EQ(Bytes(doc),
              "[VLC]\nExe = vlc.exe\r\nplay = keys Space\nstop = keys S\nmute = keys M\n"
              "Repeat = mute");

    doc = Doc("[VLC]\r\nExe = vlc.exe\r");  // the last line's end a lone CR
    SetRepeatDelay(doc, 0, 100);
    EXPECT_EQ(Bytes(doc), "[VLC]\r\nExe = vlc.exe\r\nRepeatDelay = 100");

    KeyMapDocument empty = Doc("");
    EXPECT_EQ(AddSection(empty, "VLC", {"vlc.exe", "", "VLC media player"}), 0);
    EXPECT_EQ(Bytes(empty), "\xEF\xBB\xBF[VLC]\r\nExe = vlc.exe\r\nTitle = VLC media player\r\n")
        << "a new file: UTF-8 with a byte-order mark, CR LF";
}

TEST_F(KeyMapEditTest, ADefaultTakesEveryLineOfTheButtonAway) {
    KeyMapDocument doc = Doc();
    SetButtonAction(doc, 0, Named("volup"), k32Key, std::nullopt);
    EXPECT_EQ(Bytes(doc), Replaced("volup = keys Ctrl+Up\r\n", ""));
    EXPECT_FALSE(ButtonLineOf(doc, 0, Named("volup"), k32Key).present);
    SetButtonAction(doc, 0, Named("volup"), k32Key, std::nullopt);
    EXPECT_EQ(Bytes(doc), Replaced("volup = keys Ctrl+Up\r\n", "")) << "nothing left to take";
}

TEST_F(KeyMapEditTest, ANamedRowFindsTheLineOfItsKeyCodeOnTheLayout) {
    // 32KEY: volup sends 14; on 44KEY 14 is back.
    KeyMapDocument doc = Doc("[P]\nExe = p.exe\n14 = keys Up ; louder\nRepeat = 14\n");
    EXPECT_EQ(ButtonLineOf(doc, 0, Named("volup"), k32Key).value, "keys Up");
    EXPECT_TRUE(RepeatsOf(doc, 0, Named("volup"), k32Key));
    EXPECT_FALSE(ButtonLineOf(doc, 0, Named("volup"), k44Key).present);
    EXPECT_FALSE(RepeatsOf(doc, 0, Named("volup"), k44Key));
    EXPECT_FALSE(ButtonLineOf(doc, 0, 19, k32Key).present) << "a KeyCode row: its number only";

    SetButtonAction(doc, 0, Named("volup"), k32Key, Action("appcommand VOLUME_UP"));
    EXPECT_EQ(Bytes(doc), "[P]\nExe = p.exe\n14 = appcommand VOLUME_UP ; louder\nRepeat = 14\n");

    // Of several, the one the program acts on: the first that reads as an
    // action. An edit rewrites it and the row's other lines go.
    doc = Doc("[P]\nExe = p.exe\nvolup = keys Hyper\n14 = keys Up\nvolup = keys A\n");
    EXPECT_EQ(ButtonLineOf(doc, 0, Named("volup"), k32Key).value, "keys Up");
    SetButtonAction(doc, 0, Named("volup"), k32Key, Action("keys B"));
    EXPECT_EQ(Bytes(doc), "[P]\nExe = p.exe\n14 = keys B\n");
}

TEST_F(KeyMapEditTest, ALineThatIsNoActionIsFoundAndSaidSo) {
    KeyMapDocument doc = Doc("[P]\nExe = p.exe\nplay = keys Hyper\n");
    ButtonLine play = ButtonLineOf(doc, 0, Named("play"), k32Key);
    EXPECT_TRUE(play.present);
    EXPECT_EQ(play.value, "keys Hyper");
    EXPECT_FALSE(play.valid);
}

TEST_F(KeyMapEditTest, RepeatAddsToTheFirstRepeatLineAndTakesOutOfEveryOne) {
    KeyMapDocument doc = Doc();
    SetRepeats(doc, 0, Named("mute"), k32Key, true);
    SetRepeats(doc, 0, Named("mute"), k32Key, true);
    EXPECT_EQ(Bytes(doc), Replaced("volup voldown", "volup voldown mute"));
    SetRepeats(doc, 0, Named("volup"), k32Key, false);
    EXPECT_EQ(Bytes(doc), Replaced("volup voldown", "voldown mute"));
    EXPECT_FALSE(RepeatsOf(doc, 0, Named("volup"), k32Key));
    EXPECT_TRUE(RepeatsOf(doc, 0, Named("mute"), k32Key));
    SetRepeats(doc, 0, Named("voldown"), k32Key, false);
    SetRepeats(doc, 0, Named("mute"), k32Key, false);
    EXPECT_EQ(Bytes(doc), Replaced("Repeat = volup voldown\r\n", "")) << "an empty line goes";

    doc = Doc("[P]\nExe = p.exe\nRepeat = up, 19 ; held\nRepeat = down,volup\n");
    SetRepeats(doc, 0, Named("voldown"), k32Key, false);  // 19 on 32KEY
    SetRepeats(doc, 0, Named("volup"), k32Key, false);
    EXPECT_EQ(Bytes(doc), "[P]\nExe = p.exe\nRepeat = up ; held\nRepeat = down\n");
}

TEST_F(KeyMapEditTest, RepeatDelayIsSetAndRemoved) {
    KeyMapDocument doc = Doc();
    EXPECT_EQ(RepeatDelayOf(doc, 0), std::nullopt);
    SetRepeatDelay(doc, 0, 250);
    EXPECT_EQ(Bytes(doc), Replaced("Exe = vlc.exe\r\n", "Exe = vlc.exe\r\nRepeatDelay = 250\r\n"));
    SetRepeatDelay(doc, 0, 0);
    EXPECT_EQ(RepeatDelayOf(doc, 0), 0u);
    EXPECT_EQ(Bytes(doc), Replaced("Exe = vlc.exe\r\n", "Exe = vlc.exe\r\nRepeatDelay = 0\r\n"));
    SetRepeatDelay(doc, 0, std::nullopt);
    EXPECT_EQ(Bytes(doc), kText);

    doc = Doc("[P]\nExe = p.exe\nRepeatDelay = soon\n");
    EXPECT_EQ(RepeatDelayOf(doc, 0), std::nullopt) << "not a number: the default";
    doc = Doc("[P]\nExe = p.exe\nRepeatDelay = 9000\nRepeatDelay = 300\n");
    EXPECT_EQ(RepeatDelayOf(doc, 0), 300u)
        << "the reader skips a delay over 5000 and takes the next";
}

TEST_F(KeyMapEditTest, TheMatchLinesAreRewrittenAddedAndRemoved) {
    KeyMapDocument doc = Doc();
    EXPECT_EQ(MatchOf(doc, 1), (ProgramMatch{"", "Kodi", ""}));
    SetMatch(doc, 0, {"VLC.exe", "Qt5QWindowIcon", " VLC\n"});
    SetMatch(doc, 1, {"kodi.exe", "", ""});
    std::string want =
        Replaced("Exe = vlc.exe\r\n", "Exe = VLC.exe\r\nClass = Qt5QWindowIcon\r\nTitle = VLC\r\n");
    want.replace(want.find("Class = Kodi"), 12, "Exe = kodi.exe");
    EXPECT_EQ(Bytes(doc), want);
    EXPECT_EQ(MatchOf(doc, 0), (ProgramMatch{"VLC.exe", "Qt5QWindowIcon", "VLC"}));
}

TEST_F(KeyMapEditTest, SectionsAreRenamedRemovedAndAdded) {
    KeyMapDocument doc = Doc();
    EXPECT_EQ(SectionCount(doc), 2);
    EXPECT_FALSE(RenameSection(doc, 0, "KODI")) << "another section's name";
    EXPECT_FALSE(RenameSection(doc, 0, "V[L]C"));
    EXPECT_TRUE(RenameSection(doc, 0, "vlc")) << "its own, in other letters";
    EXPECT_TRUE(RenameSection(doc, 0, "VLC player"));
    EXPECT_EQ(Bytes(doc), Replaced("[VLC]", "[VLC player]"));

    EXPECT_EQ(AddSection(doc, "kodi", {}), -1);
    EXPECT_EQ(AddSection(doc, " ", {}), -1);
    EXPECT_EQ(AddSection(doc, "MPC-HC", {"", "MediaPlayerClassicW", ""}), 2);
    EXPECT_EQ(SectionName(doc, 2), "MPC-HC");
    EXPECT_EQ(Bytes(doc), Replaced("[VLC]", "[VLC player]") +
                              "\r\n[MPC-HC]\r\nClass = MediaPlayerClassicW\r\n");

    RemoveSection(doc, 0);
    EXPECT_EQ(Bytes(doc),
              "; my remote\r\n\r\n[Kodi]\r\nClass = Kodi\r\n"
              "\r\n[MPC-HC]\r\nClass = MediaPlayerClassicW\r\n");
    EXPECT_EQ(SectionName(doc, 0), "Kodi");
    RemoveSection(doc, 5);  // none such: nothing
    EXPECT_EQ(SectionCount(doc), 2);

    // The comment heading the next section stays with it.
    doc = Doc("[A]\nExe = a.exe\n\n[B]\nExe = b.exe\n\n; C's keys\n[C]\nExe = c.exe\n");
    RemoveSection(doc, 1);
    EXPECT_EQ(Bytes(doc), "[A]\nExe = a.exe\n\n; C's keys\n[C]\nExe = c.exe\n");

    // A name line holding more than the name: a rewrite would lose it.
    doc = Doc("[A] ; was [B]\nExe = a.exe\n");
    EXPECT_FALSE(RenameSection(doc, 0, "C"));
    EXPECT_EQ(Bytes(doc), "[A] ; was [B]\nExe = a.exe\n");
}

TEST_F(KeyMapEditTest, AnUnknownSectionOrButtonChangesNothing) {
    KeyMapDocument doc = Doc();
    for (int section : {-1, 2}) {
        SetButtonAction(doc, section, Named("play"), k32Key, Action("close"));
        SetRepeats(doc, section, Named("play"), k32Key, true);
        SetRepeatDelay(doc, section, 100);
        SetMatch(doc, section, {"x.exe", "", ""});
        EXPECT_FALSE(RenameSection(doc, section, "New"));
        RemoveSection(doc, section);
        EXPECT_EQ(SectionName(doc, section), "");
        EXPECT_EQ(MatchOf(doc, section), ProgramMatch{});
    }
    for (std::uint16_t button : {std::uint16_t{255}, std::uint16_t{kNamedButton + 999}}) {
        SetButtonAction(doc, 0, button, k32Key, Action("close"));
        SetRepeats(doc, 0, button, k32Key, true);
        EXPECT_FALSE(ButtonLineOf(doc, 0, button, k32Key).present);
    }
    EXPECT_EQ(Bytes(doc), kText);
}

// ----- Encodings -----------------------------------------------------------------------

std::string Utf16(std::string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : Utf8ToUtf16(text)) {
        char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST_F(KeyMapEditTest, AnUnchangedDocumentWritesBackByteForByte) {
    const std::string text = "; Grüße\r\n[Плеер]\nExe = p.exe\r\n\r\nplay = keys Space";
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
    };
    const Case cases[] = {
        {"UTF-16 LE", Utf16(text, false), TextEncoding::kUtf16Le},
        {"UTF-16 BE", Utf16(text, true), TextEncoding::kUtf16Be},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + text, TextEncoding::kUtf8Bom},
        {"UTF-8", text, TextEncoding::kUtf8},
        {"ANSI",
         "; Gr\xFC\xDF"
         "e \x80\r\n[Player]\nExe = p.exe\r\n",
         TextEncoding::kAnsi},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyMapDocument doc = Doc(c.bytes);
        EXPECT_EQ(doc.encoding, c.encoding);
        EXPECT_EQ(SectionName(doc, 0), c.encoding == TextEncoding::kAnsi ? "Player" : "Плеер");
        EXPECT_EQ(Bytes(doc), c.bytes);
    }
}

TEST_F(KeyMapEditTest, AnsiTextTheCodePageLacksIsWrittenAsUtf8WithItsMark) {
    KeyMapDocument doc =
        Doc("; Gr\xFC\xDF"
            "e\r\n[Player]\r\nExe = p.exe\r\n");
    SetMatch(doc, 0, {"p.exe", "", "Плеер"});
    EXPECT_EQ(Bytes(doc), "\xEF\xBB\xBF; Grüße\r\n[Player]\r\nExe = p.exe\r\nTitle = Плеер\r\n");
    EXPECT_EQ(doc.encoding, TextEncoding::kUtf8Bom);

    doc =
        Doc("; Gr\xFC\xDF"
            "e\r\n[Player]\r\nExe = p.exe\r\n");
    SetMatch(doc, 0, {"p.exe", "", "Café"});
    EXPECT_EQ(Bytes(doc),
              "; Gr\xFC\xDF"
              "e\r\n[Player]\r\nExe = p.exe\r\nTitle = Caf\xE9\r\n")
        << "a letter the code page has stays ANSI";
}

// ----- Actions -------------------------------------------------------------------------

TEST_F(KeyMapEditTest, EveryActionKindIsWrittenAsItIsRead) {
    struct Case {
        const char* read;
        const char* written;
    };
    const Case cases[] = {
        {"keys ctrl+shift+p", "keys Ctrl+Shift+P"},
        {"keys Control+Return", "keys Ctrl+Enter"},
        {"keys Shift", "keys Shift"},
        {"keys Win+f11", "keys Win+F11"},
        {"keys numpad5", "keys NumPad5"},
        {"keys MediaPlayPause", "keys MediaPlayPause"},
        {"keys Ctrl+vk 0xe2", "keys Ctrl+VK 0xE2"},  // a key without a name
        {"appcommand volume_up", "appcommand VOLUME_UP"},
        {"appcommand 9", "appcommand VOLUME_DOWN"},
        {"appcommand 53", "appcommand 53"},
        {"post 32769 7 0xFFFFFFFF", "post 0x8001 7 4294967295"},
        {"post 0x0111", "post 0x0111 0 0"},
        {"command 889", "command 889"},
        {"close", "close"},
        {"launch \"C:\\Program Files\\x.exe\" -f  --big",
         "launch \"C:\\Program Files\\x.exe\" -f  --big"},
        {"launch \"C:\\Tools\\x.exe\"", "launch C:\\Tools\\x.exe"},
        {"none", "none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.read);
        const UserAction action = Action(c.read);
        EXPECT_EQ(FormatUserAction(action), c.written);
        EXPECT_TRUE(SameAction(Action(FormatUserAction(action)), action));

        KeyMapDocument doc = Doc("[P]\r\nExe = p.exe\r\n");
        SetButtonAction(doc, 0, Named("ok"), k32Key, action);
        KeyMapDocument back = Doc(Bytes(doc));
        ButtonLine line = ButtonLineOf(back, 0, Named("ok"), k32Key);
        EXPECT_TRUE(line.valid);
        EXPECT_TRUE(SameAction(line.action, action));
    }
}

// ----- The file ------------------------------------------------------------------------

TEST_F(KeyMapEditTest, ASavedKeyMapActsAtOnceEvenWithinOneTick) {
    KeyMapFile file;
    ASSERT_EQ(LoadKeyMapFile(sys, &file), 0u);
    EXPECT_FALSE(file.existed);
    EXPECT_EQ(file.doc.lines.size(), 0u);
    ASSERT_EQ(AddSection(file.doc, "Player", {"player.exe", "", ""}), 0);
    SetButtonAction(file.doc, 0, Named("ok"), k32Key, Action("command 1"));
    std::uint32_t error = 99;
    EXPECT_EQ(SaveKeyMapFile(sys, file, false, &error), KeyMapSave::kSaved) << "the folder is made";
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(desk.FileText(kFile),
              "\xEF\xBB\xBF[Player]\r\nExe = player.exe\r\nok = command 1\r\n");
    EXPECT_EQ(file.bytesRead, desk.FileText(kFile));
    ASSERT_EQ(sys.userApps->apps.size(), 1u);
    EXPECT_EQ(sys.userApps->apps[0].bindings[0].action.message, 1u);

    // The same size at the same moment: the file's time stamp and size stay.
    SetButtonAction(file.doc, 0, Named("ok"), k32Key, Action("command 2"));
    EXPECT_EQ(SaveKeyMapFile(sys, file, false, &error), KeyMapSave::kSaved);
    EXPECT_EQ(sys.userApps->apps[0].bindings[0].action.message, 2u);
    const std::string saved =
        "User applications saved to C:\\Users\\Ada\\AppData\\Roaming\\Remote "
        "Control\\applications.ini (2F)";
    const std::string read =
        "User applications read from C:\\Users\\Ada\\AppData\\Roaming\\Remote "
        "Control\\applications.ini (1)";
    EXPECT_EQ(SaveTraces(), (std::vector<std::string>{saved, read, saved, read}));
}

TEST_F(KeyMapEditTest, AFileSavedElsewhereMeanwhileIsKeptUntilTheUserChooses) {
    desk.SetFileText(kFile, kText);
    KeyMapFile file;
    ASSERT_EQ(LoadKeyMapFile(sys, &file), 0u);
    EXPECT_TRUE(file.existed);
    SetButtonAction(file.doc, 0, Named("play"), k32Key, std::nullopt);
    const std::string other = Replaced("[Kodi]", "[Kodi 19]");
    desk.SetFileText(kFile, other);
    desk.ClearLog();

    std::uint32_t error = 99;
    EXPECT_EQ(SaveKeyMapFile(sys, file, false, &error), KeyMapSave::kChangedElsewhere);
    EXPECT_EQ(desk.FileText(kFile), other);
    EXPECT_TRUE(desk.Events(SimEvent::Kind::FileWrite).empty());
    EXPECT_EQ(SaveTraces(),
              (std::vector<std::string>{"User applications: applications.ini not saved: another "
                                        "program changed it since it was read"}));

    EXPECT_EQ(SaveKeyMapFile(sys, file, true, &error), KeyMapSave::kSaved);
    EXPECT_EQ(desk.FileText(kFile), Replaced("play = keys Space        ; play / pause\r\n", ""));
    EXPECT_EQ(SaveKeyMapFile(sys, file, false, &error), KeyMapSave::kSaved) << "ours now";

    desk.RemoveFile(kFile);
    EXPECT_EQ(SaveKeyMapFile(sys, file, false, &error), KeyMapSave::kChangedElsewhere)
        << "deleted meanwhile";
    desk.SetFileText(kFile, std::string(kMaxFileBytes + 1, ';'));
    EXPECT_EQ(SaveKeyMapFile(sys, file, false, &error), KeyMapSave::kChangedElsewhere)
        << "grown too big to be ours";
    EXPECT_EQ(error, 0u);
}

TEST_F(KeyMapEditTest, AFileThatCannotBeReadOrWrittenGivesTheWindowsError) {
    desk.SetFileText(kFile, kText);
    KeyMapFile file;
    desk.fileReadError = 32;  // held by another program
    EXPECT_EQ(LoadKeyMapFile(sys, &file), 32u);
    desk.fileReadError = 0;
    ASSERT_EQ(LoadKeyMapFile(sys, &file), 0u);

    SetButtonAction(file.doc, 0, Named("play"), k32Key, std::nullopt);
    desk.fileWriteError = 5;  // read-only
    std::uint32_t error = 0;
    EXPECT_EQ(SaveKeyMapFile(sys, file, false, &error), KeyMapSave::kFailed);
    EXPECT_EQ(error, 5u);
    EXPECT_EQ(desk.FileText(kFile), kText);
    EXPECT_EQ(file.bytesRead, kText) << "still what the file holds";
    EXPECT_EQ(SaveTraces().back(),
              "User applications: applications.ini could not be saved, error 5");

    desk.SetFileText(kFile, std::string(kMaxFileBytes + 1, ';'));
    EXPECT_EQ(LoadKeyMapFile(sys, &file), 223u) << "read in part, it would lose its end";
    EXPECT_EQ(file.bytesRead, kText) << "a failed read keeps what was read before";
    EXPECT_FALSE(ButtonLineOf(file.doc, 0, Named("play"), k32Key).present) << "and its edits";
}

}  // namespace
}  // namespace rc
