// One 64-byte directory record: a 48-byte name field, then `offset` and
// `size`, then 8 reserved bytes that are never read and written as zeros.
#pragma once

#include <cstdint>

#include "archive/format.h"

namespace dvx {

struct DirectoryEntry {
    unsigned char name[kNameWidth];  // whole field, bytes after the NUL included
    std::uint32_t offset;
    std::uint32_t size;
};

DirectoryEntry decodeRecord(const unsigned char* record);
void encodeRecord(const DirectoryEntry& entry, unsigned char* record);

}  // namespace dvx
