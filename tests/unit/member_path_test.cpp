#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "archive/member_path.h"
#include "platform/platform.h"

namespace dvx {
namespace {

std::string hostForm(std::string name) {
    if (platform::kTranslateBackslash) {
        for (char& c : name) {
            if (c == '\\') c = '/';
        }
    }
    return name;
}

bool pathOf(const std::string& name, std::string& path) {
    unsigned char field[kNameWidth] = {};
    std::memcpy(field, name.data(), std::min(name.size(), kNameWidth));
    MemberPath result;
    const bool accepted = memberPath(field, result);
    path = result.text;
    return accepted;
}

TEST(MemberPath, AcceptsRelativeNamesAndTranslatesSeparators) {
    const char* accepted[] = {"gfx\\bild001.bmp", "sfx/klang.wav", "plain.txt", "a\\b\\c",
                              "..hidden", "x..", "gfx\\...", "C", "1:x", "dir\\c:x"};
    for (const char* name : accepted) {
        std::string path;
        EXPECT_TRUE(pathOf(name, path)) << name;
        EXPECT_EQ(path, hostForm(name)) << name;
    }
}

TEST(MemberPath, RefusesNamesThatLeaveTheWorkingFolder) {
    const char* refused[] = {"",         "/etc/passwd", "\\windows\\x", "C:",        "c:x",
                             "Z:\\a",    "..",          "..\\x",        "../x",      "gfx\\..",
                             "gfx/../x", "a\\..\\..\\b", "gfx\\../b",   "\\\\server\\share"};
    for (const char* name : refused) {
        std::string path;
        EXPECT_FALSE(pathOf(name, path)) << name;
    }
}

TEST(MemberPath, TakesAllFortyEightBytesWhenThereIsNoNul) {
    const std::string name(48, 'n');
    std::string path;
    EXPECT_TRUE(pathOf(name, path));
    EXPECT_EQ(path, name);
}

}  // namespace
}  // namespace dvx
