#include "sample_archive.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "archive/format.h"

namespace dvx {
namespace sample {

Bytes patternData(std::uint32_t seed, std::size_t length) {
    Bytes data(length);
    std::uint32_t state = seed * 2654435761u + 0x9e3779b9u;
    for (unsigned char& byte : data) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<unsigned char>(state >> 24);
    }
    return data;
}

std::vector<Member> defaultMembers(std::size_t minSize, std::size_t maxSize) {
    std::vector<Member> members;
    const std::size_t span = maxSize - minSize + 1;
    for (int k = kFirstMember; k <= kLastMember; ++k) {
        char name[48];
        if (k <= 80) {
            std::snprintf(name, sizeof name, "gfx\\bild%03d.bmp", k);
        } else {
            std::snprintf(name, sizeof name, "sfx\\klang%03d.wav", k - 80);
        }
        const std::size_t size = minSize + (static_cast<std::size_t>(k) * 7919u * 104729u) % span;
        members.push_back(Member{name, patternData(static_cast<std::uint32_t>(k), size)});
    }
    return members;
}

Image::Image(const std::vector<Member>& members) : bytes(kDataStart, 0) {
    setName(0, kSignature);
    setOffset(0, 0);
    setSize(0, static_cast<std::uint32_t>(kDataStart));
    for (int k = kFirstMember; k <= kLastMember; ++k) {
        const Member& member = members.at(static_cast<std::size_t>(k - 1));
        bytes.resize(alignUp(bytes.size()), 0);
        setName(k, member.name);
        setOffset(k, static_cast<std::uint32_t>(bytes.size()));
        setSize(k, static_cast<std::uint32_t>(member.data.size()));
        bytes.insert(bytes.end(), member.data.begin(), member.data.end());
    }
    bytes.resize(alignUp(bytes.size()), 0);
    setName(kTrailingRecord, "ENDE");
    setOffset(kTrailingRecord, static_cast<std::uint32_t>(bytes.size()));
    setSize(kTrailingRecord, 0);
}

void Image::setName(int record, const std::string& name) {
    unsigned char field[kNameWidth] = {};
    std::memcpy(field, name.data(), std::min(name.size(), kNameWidth));
    setNameField(record, field);
}

void Image::setNameField(int record, const unsigned char* field48) {
    std::memcpy(this->record(record), field48, kNameWidth);
}

void Image::setOffset(int record, std::uint32_t offset) {
    storeLe32(this->record(record) + kOffsetField, offset);
}

void Image::setSize(int record, std::uint32_t size) {
    storeLe32(this->record(record) + kSizeField, size);
}

std::string Image::name(int record) const {
    const unsigned char* field = bytes.data() + record * kRecordSize;
    return std::string(reinterpret_cast<const char*>(field), nameLength(field));
}

std::uint32_t Image::offset(int record) const {
    return loadLe32(bytes.data() + record * kRecordSize + kOffsetField);
}

std::uint32_t Image::size(int record) const {
    return loadLe32(bytes.data() + record * kRecordSize + kSizeField);
}

Bytes Image::memberData(int record) const {
    const std::size_t start = std::min<std::size_t>(offset(record), bytes.size());
    const std::size_t end = std::min<std::size_t>(start + size(record), bytes.size());
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                 bytes.begin() + static_cast<std::ptrdiff_t>(end));
}

bool Image::writeTo(const std::string& path) const {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace sample
}  // namespace dvx
