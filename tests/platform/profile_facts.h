// How Windows' profile API reads an ini file, and how folders are made and
// files copied, stated once and checked on both sides of the seam: the simulated desktop
// (sim_desktop_test) and the real calls (win32_platform_test, under Wine).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace rc::test {

// The file both tests read.
inline const std::string kProfileText =
    "; a comment before any section\r\n"
    "[One]\r\n"
    "  key  =  value ; not a comment here  \r\n"
    "\r\n"
    "   ; a comment line\r\n"
    "flag\r\n"
    "[Two]\r\n"
    "k2=v2\r\n";

// The list a profile call left in the buffer, NULs shown as '|'.
inline std::string ListText(const char* buffer, std::uint32_t count) {
    std::string text(buffer, count);
    for (char& c : text) {
        c = c == '\0' ? '|' : c;
    }
    return text;
}

inline void CheckProfileFacts(Platform& os, const char* path, const char* missingPath) {
    char buffer[64];
    EXPECT_EQ(os.GetPrivateProfileSectionNamesA(buffer, sizeof buffer, path), 8u);
    EXPECT_EQ(ListText(buffer, 9), "One|Two||");
    // Cut: the last name is cut, and ended.
    EXPECT_EQ(os.GetPrivateProfileSectionNamesA(buffer, 7, path), 5u);
    EXPECT_EQ(ListText(buffer, 6), "One|T|");

    // Keys and values trimmed, a later ';' kept, a line without '=' as it is.
    EXPECT_EQ(os.GetPrivateProfileSectionA("one", buffer, sizeof buffer, path), 36u);
    EXPECT_EQ(ListText(buffer, 37), "key=value ; not a comment here|flag||");
    EXPECT_EQ(os.GetPrivateProfileSectionA("One", buffer, 10, path), 8u);
    EXPECT_EQ(ListText(buffer, 10), "key=valu||");

    EXPECT_EQ(os.GetPrivateProfileSectionA("Three", buffer, sizeof buffer, path), 0u);
    EXPECT_EQ(ListText(buffer, 2), "||");
    EXPECT_EQ(os.GetPrivateProfileSectionNamesA(buffer, sizeof buffer, missingPath), 0u);
    EXPECT_EQ(buffer[0], '\0');

    FileInfo info{};
    ASSERT_TRUE(os.GetFileAttributesExA(path, &info));
    EXPECT_EQ(info.size, kProfileText.size());
    EXPECT_NE(info.lastWriteTime, 0u);
    EXPECT_EQ(info.attributes & 0x10, 0u);  // not a folder
    EXPECT_FALSE(os.GetFileAttributesExA(missingPath, &info));
}

// folder: an existing folder without "sub"; path: kProfileText's file.
inline void CheckFolderAndCopyFacts(Platform& os, const std::string& folder, const char* path) {
    const std::string sub = folder + "\\sub", copy = sub + "\\copy.ini";
    EXPECT_FALSE(os.CreateDirectoryA((folder + "\\none\\sub").c_str())) << "no folder above";
    EXPECT_FALSE(os.CopyFileA(path, copy.c_str(), true)) << "no folder yet";
    ASSERT_TRUE(os.CreateDirectoryA(sub.c_str()));
    EXPECT_EQ(os.GetFileAttributesA(sub.c_str()) & 0x10, 0x10u);
    EXPECT_FALSE(os.CreateDirectoryA(sub.c_str())) << "already there";

    EXPECT_FALSE(os.CopyFileA((folder + "\\missing.ini").c_str(), copy.c_str(), true));
    ASSERT_TRUE(os.CopyFileA(path, copy.c_str(), true));
    char buffer[64];
    EXPECT_EQ(os.GetPrivateProfileSectionNamesA(buffer, sizeof buffer, copy.c_str()), 8u);
    EXPECT_EQ(ListText(buffer, 9), "One|Two||");
    // Fail-if-exists leaves the file there alone, whatever the source.
    EXPECT_FALSE(os.CopyFileA(copy.c_str(), copy.c_str(), true));
    EXPECT_TRUE(os.CopyFileA(path, copy.c_str(), false));

    char program[260];
    const std::uint32_t length = os.GetModuleFileNameA(program, sizeof program);
    ASSERT_GT(length, 4u);
    ASSERT_LT(length, sizeof program);
    EXPECT_EQ(std::string(program + length - 4), ".exe");
    EXPECT_EQ(os.GetModuleFileNameA(program, 4), 4u) << "cut";
}

}  // namespace rc::test
