#include <gtest/gtest.h>

#include <cstring>

#include "archive/directory_record.h"
#include "archive/format.h"

namespace dvx {
namespace {

TEST(Le32, DecodesAndEncodesKnownBytes) {
    const unsigned char bytes[] = {0x00, 0x22, 0x00, 0x00, 0x78, 0x56, 0x34, 0x12, 0xff, 0xff, 0xff, 0xff};
    EXPECT_EQ(loadLe32(bytes), 0x2200u);
    EXPECT_EQ(loadLe32(bytes + 4), 0x12345678u);
    EXPECT_EQ(loadLe32(bytes + 8), 0xffffffffu);

    unsigned char stored[4];
    storeLe32(stored, 0x80000001u);
    const unsigned char expected[] = {0x01, 0x00, 0x00, 0x80};
    EXPECT_EQ(std::memcmp(stored, expected, 4), 0);
}

TEST(DirectoryRecord, DecodesOffsetAndSizeAndIgnoresReserved) {
    unsigned char record[kRecordSize];
    std::memset(record, 0xee, sizeof record);  // reserved bytes full of junk
    std::memcpy(record, "abc\0tail", 8);
    const unsigned char fields[] = {0x00, 0x22, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00};
    std::memcpy(record + 48, fields, sizeof fields);

    const DirectoryEntry entry = decodeRecord(record);
    EXPECT_EQ(entry.offset, 8704u);
    EXPECT_EQ(entry.size, 4096u);
    EXPECT_EQ(std::memcmp(entry.name, record, kNameWidth), 0);  // bytes after the NUL kept
    EXPECT_EQ(nameLength(entry.name), 3u);

    unsigned char written[kRecordSize];
    encodeRecord(entry, written);
    EXPECT_EQ(std::memcmp(written, record, 56), 0);
    const unsigned char zeros[8] = {};
    EXPECT_EQ(std::memcmp(written + 56, zeros, 8), 0);
}

TEST(NameLength, StopsAtTheNulOrTheEndOfTheField) {
    unsigned char field[kNameWidth + 4];
    std::memset(field, 'a', sizeof field);  // nothing past 48 may count
    EXPECT_EQ(nameLength(field), 48u);
    field[47] = 0;
    EXPECT_EQ(nameLength(field), 47u);
    field[0] = 0;
    EXPECT_EQ(nameLength(field), 0u);
}

TEST(AlignUp, RoundsToTheNextMultipleOf256) {
    const std::uint64_t cases[][2] = {{0, 0}, {1, 256}, {255, 256}, {256, 256}, {257, 512},
                                      {0xffffff01ull, 0x100000000ull}};
    for (const auto& c : cases) EXPECT_EQ(alignUp(c[0]), c[1]) << c[0];
}

}  // namespace
}  // namespace dvx
