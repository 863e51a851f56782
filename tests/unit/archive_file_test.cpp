#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "archive/archive_file.h"
#include "test_support.h"

namespace dvx {
namespace {

using sample::Image;
using test::ScratchDir;

Image smallImage() { return Image(sample::defaultMembers(1, 300)); }

// Runs readDirectory on a file holding `bytes`, keeping the listing.
ResultCode readDirectoryOf(const test::Bytes& bytes, std::string& listing, ArchiveFile& archive) {
    ScratchDir dir;
    test::writeFile(dir / "a.dat", bytes);
    EXPECT_EQ(archive.open((dir / "a.dat").c_str()), 1);
    testing::internal::CaptureStdout();
    const ResultCode result = archive.readDirectory();
    listing = testing::internal::GetCapturedStdout();
    return result;
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(ArchiveFileOpen, OpensOnlyExistingRegularFiles) {
    ScratchDir dir;
    ArchiveFile archive;
    EXPECT_EQ(archive.open((dir / "missing.dat").c_str()), 0);
    EXPECT_EQ(archive.open(dir.path().c_str()), 0);  // a folder
    EXPECT_EQ(archive.readDirectory(), kNotOpen);
    test::writeFile(dir / "a.dat", test::Bytes());
    EXPECT_EQ(archive.open((dir / "a.dat").c_str()), 1);
    EXPECT_EQ(archive.close(), 1);
    EXPECT_EQ(archive.readDirectory(), kNotOpen);
    EXPECT_EQ(archive.close(), 1);  // nothing open: still 1
}

TEST(ReadDirectory, NeedsAllOf8512Bytes) {
    const Image image = smallImage();
    struct Case {
        std::size_t length;
        ResultCode result;
        std::size_t lines;
    };
    const Case cases[] = {{0, kReadError, 0}, {8511, kReadError, 132}, {8512, kSuccess, 133}};
    for (const Case& c : cases) {
        ArchiveFile archive;
        std::string listing;
        test::Bytes bytes(image.bytes.begin(), image.bytes.begin() + static_cast<std::ptrdiff_t>(c.length));
        EXPECT_EQ(readDirectoryOf(bytes, listing, archive), c.result) << c.length;
        EXPECT_EQ(lineCount(listing), c.lines) << c.length;
    }
}

TEST(ReadDirectory, PassesOnlyTheExactSignature) {
    struct Case {
        std::string name;
        ResultCode result;
    };
    const Case cases[] = {{"DVX V1.0", kSuccess},  {std::string("DVX V1.0\0junk", 13), kSuccess},
                          {"dvx v1.0", kDamaged},  {"DVX V1.0 ", kDamaged},
                          {"DVX V1.", kDamaged},   {"", kDamaged}};
    for (const Case& c : cases) {
        Image image = smallImage();
        image.setName(0, c.name);
        ArchiveFile archive;
        std::string listing;
        EXPECT_EQ(readDirectoryOf(image.bytes, listing, archive), c.result) << c.name.c_str();
        if (c.result == kDamaged) {
            EXPECT_EQ(listing, "") << c.name.c_str();
        }
    }
}

TEST(ReadDirectory, FillsTheTableAndKeepsNameBytesAfterTheNul) {
    Image image = smallImage();
    const unsigned char field[kNameWidth] = {'a', 'b', 'c', 0, 'x', 'y'};
    image.setNameField(7, field);
    image.setOffset(7, 0x80000000u);
    ArchiveFile archive;
    std::string listing;
    ASSERT_EQ(readDirectoryOf(image.bytes, listing, archive), kSuccess);
    EXPECT_EQ(std::memcmp(archive.entry(7).name, field, kNameWidth), 0);
    EXPECT_EQ(archive.entry(7).offset, 0x80000000u);
    EXPECT_EQ(archive.entry(7).size, image.size(7));
    EXPECT_NE(listing.find("Dateiname: abc Offset: 80000000 Groesse: "), std::string::npos);
}

TEST(ReadDirectory, LeavesTheTableAloneWhereItFailed) {
    Image first = smallImage();
    ArchiveFile archive;
    std::string listing;
    ASSERT_EQ(readDirectoryOf(first.bytes, listing, archive), kSuccess);
    const DirectoryEntry before = archive.entry(100);

    Image second(sample::defaultMembers(400, 900));
    second.bytes.resize(100 * kRecordSize + 10);  // record 100 is cut short
    ASSERT_EQ(readDirectoryOf(second.bytes, listing, archive), kReadError);
    EXPECT_EQ(archive.entry(99).size, second.size(99));
    EXPECT_EQ(std::memcmp(&archive.entry(100), &before, sizeof before), 0);
}

TEST(FileLength, MeasuresAndLeavesTheStreamAtItsEnd) {
    ScratchDir dir;
    for (std::size_t length : {0u, 4096u}) {
        test::writeFile(dir / "f", test::Bytes(length, 7));
        std::FILE* file = std::fopen((dir / "f").c_str(), "rb");
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(ArchiveFile::fileLength(file), static_cast<std::int64_t>(length));
        EXPECT_EQ(std::fgetc(file), EOF);
        std::fclose(file);
    }
}

}  // namespace
}  // namespace dvx
