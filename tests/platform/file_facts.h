// How Windows reads and writes the key-map file through the seam
// (ReadWholeFileW, GetFileAttributesExW, WriteWholeFileW, WideCharToMultiByte),
// and how folders are made and files copied, stated
// once and checked on both sides of it: the simulated desktop
// (sim_desktop_test) and the real calls (win32_platform_test, under Wine).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace rc::test {

// The file both tests read: a byte-order mark, a NUL, a letter outside any
// ANSI code page of Western Europe; its name has Cyrillic letters too.
inline const std::string kFileBytes = std::string("\xEF\xBB\xBF[One]\r\nk=\xD0\x96\r\n\0end", 20);
inline const char16_t kFileName[] = u"rc_\u0444\u0430\u0439\u043B.ini";

inline void CheckFileFacts(Platform& os, const std::u16string& path,
                           const std::u16string& missingPath) {
    std::uint8_t buffer[64] = {};
    std::uint32_t read = 99;
    EXPECT_EQ(os.ReadWholeFileW(path.c_str(), buffer, sizeof buffer, &read), 0u);
    ASSERT_EQ(read, kFileBytes.size());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), read), kFileBytes);
    // A short buffer: the first bytes, no error.
    EXPECT_EQ(os.ReadWholeFileW(path.c_str(), buffer, 4, &read), 0u);
    EXPECT_EQ(read, 4u);
    EXPECT_EQ(os.ReadWholeFileW(missingPath.c_str(), buffer, sizeof buffer, &read), 2u);
    EXPECT_EQ(read, 0u);

    FileInfo info{};
    ASSERT_TRUE(os.GetFileAttributesExW(path.c_str(), &info));
    EXPECT_EQ(info.size, kFileBytes.size());
    EXPECT_NE(info.lastWriteTime, 0u);
    EXPECT_EQ(info.attributes & 0x10, 0u);  // not a folder
    EXPECT_FALSE(os.GetFileAttributesExW(missingPath.c_str(), &info));

    char16_t folder[260] = {};
    EXPECT_EQ(os.SHGetFolderPathW(0x001A, folder), 0);  // CSIDL_APPDATA
    EXPECT_NE(folder[0], u'\0');
}

// folder: an existing folder without "sub", path: a file holding kFileBytes
// (both ASCII paths).
inline void CheckFolderAndCopyFacts(Platform& os, const std::string& folder,
                                    const std::string& path) {
    const std::string sub = folder + "\\sub", copy = sub + "\\copy.ini";
    EXPECT_FALSE(os.CreateDirectoryA((folder + "\\none\\sub").c_str())) << "no folder above";
    EXPECT_FALSE(os.CopyFileA(path.c_str(), copy.c_str(), true)) << "no folder yet";
    ASSERT_TRUE(os.CreateDirectoryA(sub.c_str()));
    EXPECT_EQ(os.GetFileAttributesA(sub.c_str()) & 0x10, 0x10u);
    EXPECT_FALSE(os.CreateDirectoryA(sub.c_str())) << "already there";

    EXPECT_FALSE(os.CopyFileA((folder + "\\missing.ini").c_str(), copy.c_str(), true));
    ASSERT_TRUE(os.CopyFileA(path.c_str(), copy.c_str(), true));
    const std::u16string wideCopy(copy.begin(), copy.end());
    std::uint8_t buffer[64] = {};
    std::uint32_t read = 0;
    EXPECT_EQ(os.ReadWholeFileW(wideCopy.c_str(), buffer, sizeof buffer, &read), 0u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), read), kFileBytes);
    // Fail-if-exists leaves the file there alone, whatever the source.
    EXPECT_FALSE(os.CopyFileA(copy.c_str(), copy.c_str(), true));
    EXPECT_TRUE(os.CopyFileA(path.c_str(), copy.c_str(), false));

    char program[260];
    const std::uint32_t length = os.GetModuleFileNameA(program, sizeof program);
    ASSERT_GT(length, 4u);
    ASSERT_LT(length, sizeof program);
    EXPECT_EQ(std::string(program + length - 4), ".exe");
    EXPECT_EQ(os.GetModuleFileNameA(program, 4), 4u) << "cut";
}

// folder: an existing folder the user may write in, without a trailing
// backslash. The code page of CP_ACP is Windows-1252 on both sides.
inline void CheckWriteFacts(Platform& os, const std::u16string& folder) {
    auto write = [&](const std::u16string& path, const std::string& bytes) {
        return os.WriteWholeFileW(path.c_str(), reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                  static_cast<std::uint32_t>(bytes.size()));
    };
    const std::u16string path = folder + u"\\" + kFileName;
    const std::string shorter = "[Two]\r\n";
    FileInfo before{}, after{};
    EXPECT_EQ(write(path, kFileBytes), 0u) << "a new file";
    ASSERT_TRUE(os.GetFileAttributesExW(path.c_str(), &before));
    EXPECT_EQ(before.size, kFileBytes.size());
    EXPECT_EQ(write(path, shorter), 0u) << "replaced";
    ASSERT_TRUE(os.GetFileAttributesExW(path.c_str(), &after));
    EXPECT_EQ(after.size, shorter.size());
    EXPECT_GE(after.lastWriteTime, before.lastWriteTime);
    std::uint8_t buffer[64] = {};
    std::uint32_t read = 0;
    EXPECT_EQ(os.ReadWholeFileW(path.c_str(), buffer, sizeof buffer, &read), 0u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), read), shorter);
    EXPECT_FALSE(os.GetFileAttributesExW((path + u".new").c_str(), &after)) << "none left over";
    EXPECT_EQ(write(folder + u"\\none\\x.ini", shorter), 3u) << "no folder";
    EXPECT_EQ(write(folder, shorter), 5u) << "a folder";
    EXPECT_FALSE(os.GetFileAttributesExW((folder + u".new").c_str(), &after)) << "none left over";

    char out[8] = {};
    bool usedDefault = true;
    EXPECT_EQ(os.WideCharToMultiByte(0, u"ab\u00E9\u20AC", 4, out, 0, &usedDefault), 4) << "size";
    EXPECT_EQ(os.WideCharToMultiByte(0, u"ab\u00E9\u20AC", 4, out, sizeof out, &usedDefault), 4);
    EXPECT_EQ(std::string(out, 4), "ab\xE9\x80");
    EXPECT_FALSE(usedDefault);
    EXPECT_EQ(os.WideCharToMultiByte(0, u"a\u0101", 2, out, sizeof out, &usedDefault), 2);
    EXPECT_EQ(std::string(out, 2), "a?") << "no look-alike";
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(os.WideCharToMultiByte(0, u"abc", 3, out, 2, &usedDefault), 0) << "too small";
}

}  // namespace rc::test
