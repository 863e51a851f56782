// Makes well-formed archives (and, by patching them, damaged ones) for the
// demo, the tests, the fuzzer's seeds and the benchmark.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dvx {
namespace sample {

using Bytes = std::vector<unsigned char>;

struct Member {
    std::string name;  // as stored, with '\' between folder and file
    Bytes data;
};

// Data that differs from member to member and from byte to byte, so that a
// misplaced or mixed-up piece is always seen.
Bytes patternData(std::uint32_t seed, std::size_t length);

// 131 members under gfx\ and sfx\, of sizes spread between the two bounds.
std::vector<Member> defaultMembers(std::size_t minSize = 1, std::size_t maxSize = 3000);

// An archive image laid out as the tool's own writer lays one out: the
// directory, zeros up to 8704, member 1 there and every later member at the
// first multiple of 256 after the one before; the trailing record's offset
// is the end of the data, a multiple of 256.
class Image {
public:
    explicit Image(const std::vector<Member>& members);

    void setName(int record, const std::string& name);  // the whole 48-byte field
    void setNameField(int record, const unsigned char* field48);
    void setOffset(int record, std::uint32_t offset);
    void setSize(int record, std::uint32_t size);
    std::string name(int record) const;  // as text, up to its NUL
    std::uint32_t offset(int record) const;
    std::uint32_t size(int record) const;
    unsigned char* record(int number) { return bytes.data() + number * 64; }

    // The `size` bytes at the record's `offset`, as far as the image holds them.
    Bytes memberData(int record) const;

    bool writeTo(const std::string& path) const;

    Bytes bytes;
};

}  // namespace sample
}  // namespace dvx
