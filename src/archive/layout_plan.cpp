#include "archive/layout_plan.h"

#include <algorithm>

namespace dvx {

void growMember(LayoutPlan& plan, int record, std::uint64_t newSize) {
    MemberPlan& member = plan.records[record];
    if (newSize > member.size && record < kLastMember) {
        const std::uint64_t end = alignUp(member.offset + newSize);
        const std::uint64_t next = plan.records[record + 1].offset;
        if (end > next) {
            for (int later = record + 1; later <= kLastMember; ++later) {
                plan.records[later].offset += end - next;
            }
        }
    }
    member.size = newSize;
}

bool isWritableLayout(const LayoutPlan& plan) {
    std::uint64_t position = kDataStart;
    for (int record = kFirstMember; record <= kLastMember; ++record) {
        const MemberPlan& member = plan.records[record];
        if (member.offset > UINT32_MAX || member.size > UINT32_MAX) return false;
        if (member.size > 0 && member.offset != position) return false;
        position = std::max(position + member.size, plan.records[record + 1].offset);
    }
    return true;
}

}  // namespace dvx
