// The bytes a rebuilt archive must hold, worked out from the source image
// and what the test says moved, independently of the tool's own code.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "archive/format.h"
#include "sample_archive.h"

namespace dvx {
namespace test {

using sample::Bytes;
using sample::Image;

// What a rebuilt archive must hold, byte for byte: the source's name fields,
// the given offsets and data, zeros everywhere else, and a length that is
// the first multiple of 256 at or after the data and the trailing offset.
struct Expected {
    explicit Expected(const Image& source) : source(source) {
        for (int k = kFirstMember; k <= kLastMember; ++k) {
            offsets[k] = source.offset(k);
            data[k] = source.memberData(k);
        }
    }

    void replace(int record, const Bytes& replacement) { data[record] = replacement; }
    void move(int from, std::uint32_t distance) {
        for (int k = from; k <= kLastMember; ++k) offsets[k] += distance;
    }

    // Replaces a member's data: when its new end, raised to a
    // multiple of 256, passes the next member's offset, every later member
    // moves by the difference. Returns that distance.
    std::uint32_t grow(int record, const Bytes& replacement) {
        replace(record, replacement);
        const std::uint64_t end = alignUp(offsets[record] + replacement.size());
        if (record == kLastMember || end <= offsets[record + 1]) return 0;
        const std::uint32_t distance = static_cast<std::uint32_t>(end - offsets[record + 1]);
        move(record + 1, distance);
        return distance;
    }

    Bytes bytes() const {
        const std::uint64_t end = std::max<std::uint64_t>(offsets[kLastMember] + data[kLastMember].size(),
                                                          source.offset(kTrailingRecord));
        Bytes file(alignUp(end), 0);
        for (int i = 0; i < kRecordCount; ++i) {
            unsigned char* record = file.data() + i * kRecordSize;
            std::copy_n(source.bytes.data() + i * kRecordSize, kNameWidth, record);
            const bool member = i >= kFirstMember && i <= kLastMember;
            storeLe32(record + kOffsetField, member ? offsets[i] : source.offset(i));
            storeLe32(record + kSizeField,
                      member ? static_cast<std::uint32_t>(data[i].size()) : source.size(i));
        }
        for (int k = kFirstMember; k <= kLastMember; ++k) {
            std::copy(data[k].begin(), data[k].end(), file.begin() + offsets[k]);
        }
        return file;
    }

    const Image& source;
    std::uint32_t offsets[kRecordCount] = {};
    Bytes data[kRecordCount];
};

// Compares whole files, reporting the first difference rather than both.
inline ::testing::AssertionResult sameBytes(const Bytes& actual, const Bytes& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    const auto diff = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    return ::testing::AssertionFailure() << "lengths " << actual.size() << " and " << expected.size()
                                         << ", first difference at " << (diff.first - actual.begin());
}

}  // namespace test
}  // namespace dvx
