// Where each member of a rebuilt archive comes from and where it goes,
// worked out in 64 bits so that nothing wraps before it is checked.
#pragma once

#include <cstdint>

#include "archive/format.h"

namespace dvx {

struct MemberPlan {
    std::uint64_t sourceOffset = 0;  // where the data lies in dralvenix.dat
    std::uint64_t offset = 0;        // where it goes in dralvenix.new
    std::uint64_t size = 0;
    bool replaced = false;  // taken from a replacement file, not the archive
};

// Indexed by record number like the directory; the header and trailing
// records are carried along unchanged.
struct LayoutPlan {
    MemberPlan records[kRecordCount];
};

// Moves every member behind a grown one so that nothing overlaps: the next
// member then starts at the first multiple of 256 at or after the grown
// member's end, and all later ones move by the same distance.
void growMember(LayoutPlan& plan, int record, std::uint64_t newSize);

// True when a writer that appends the members in order, each followed by
// zeros up to the next record's offset, puts every member with data exactly
// at its offset, and every offset and size fits the directory's 32 bits.
bool isWritableLayout(const LayoutPlan& plan);

}  // namespace dvx
