#include <gtest/gtest.h>

#include "archive/layout_plan.h"

namespace dvx {
namespace {

// Members of 1000 bytes, each at the next multiple of 256 (1024 apart),
// the trailing record's offset right behind member 131.
LayoutPlan soundPlan() {
    LayoutPlan plan;
    std::uint64_t offset = kDataStart;
    for (int record = kFirstMember; record <= kLastMember; ++record) {
        plan.records[record].offset = plan.records[record].sourceOffset = offset;
        plan.records[record].size = 1000;
        offset += 1024;
    }
    plan.records[kTrailingRecord].offset = offset;
    return plan;
}

std::uint64_t offsetOf(const LayoutPlan& plan, int record) { return plan.records[record].offset; }

TEST(GrowMember, MovesLaterMembersOnlyWhenTheAlignedEndPassesTheNext) {
    struct Case {
        int record;
        std::uint64_t newSize;
        std::uint64_t move;  // of every member behind `record`
    };
    const Case cases[] = {
        {5, 900, 0},           // shorter
        {5, 1000, 0},          // same size
        {5, 0, 0},             // empty
        {5, 1024, 0},          // longer, within the slack
        {5, 1025, 256},        // one byte past the next member
        {5, 1024 + 564, 768},  // ends 564 past the next, raised to 768
        {1, 5000, 4096},
    };
    for (const Case& c : cases) {
        LayoutPlan plan = soundPlan();
        const LayoutPlan before = plan;
        growMember(plan, c.record, c.newSize);
        EXPECT_EQ(plan.records[c.record].size, c.newSize);
        for (int record = kFirstMember; record <= c.record; ++record) {
            EXPECT_EQ(offsetOf(plan, record), offsetOf(before, record));
        }
        for (int record = c.record + 1; record <= kLastMember; ++record) {
            EXPECT_EQ(offsetOf(plan, record), offsetOf(before, record) + c.move) << c.newSize;
        }
        EXPECT_EQ(offsetOf(plan, kTrailingRecord), offsetOf(before, kTrailingRecord));
        EXPECT_TRUE(isWritableLayout(plan)) << c.newSize;
    }
}

TEST(GrowMember, MovesAddUpAndTheLastMemberMovesNothing) {
    LayoutPlan plan = soundPlan();
    const LayoutPlan before = plan;
    growMember(plan, 10, 2000);  // ends 976 past the next: moves 1024
    growMember(plan, 20, 1100);  // from its moved offset: moves 256 more
    growMember(plan, kLastMember, 100000);
    EXPECT_EQ(offsetOf(plan, 15), offsetOf(before, 15) + 1024);
    EXPECT_EQ(offsetOf(plan, 21), offsetOf(before, 21) + 1024 + 256);
    EXPECT_EQ(offsetOf(plan, kLastMember), offsetOf(before, kLastMember) + 1024 + 256);
    EXPECT_EQ(offsetOf(plan, kTrailingRecord), offsetOf(before, kTrailingRecord));
    EXPECT_TRUE(isWritableLayout(plan));
}

TEST(IsWritableLayout, RefusesLayoutsTheWriterCannotKeep) {
    LayoutPlan firstNotAtDataStart = soundPlan();
    firstNotAtDataStart.records[1].offset = kDataStart + 256;
    LayoutPlan overlapping = soundPlan();
    overlapping.records[30].offset -= 256;
    LayoutPlan outOfOrder = soundPlan();
    std::swap(outOfOrder.records[30].offset, outOfOrder.records[31].offset);
    LayoutPlan offsetTooLarge = soundPlan();
    growMember(offsetTooLarge, 2, 0xfffff000ull);  // pushes later offsets past 32 bits
    LayoutPlan sizeTooLarge = soundPlan();
    sizeTooLarge.records[kLastMember].size = 0x100000000ull;

    EXPECT_FALSE(isWritableLayout(firstNotAtDataStart));
    EXPECT_FALSE(isWritableLayout(overlapping));
    EXPECT_FALSE(isWritableLayout(outOfOrder));
    EXPECT_FALSE(isWritableLayout(offsetTooLarge));
    EXPECT_FALSE(isWritableLayout(sizeTooLarge));
}

TEST(IsWritableLayout, LetsEmptyMembersCarryAnyOffset) {
    LayoutPlan plan = soundPlan();
    plan.records[1].size = 0;
    plan.records[1].offset = 0;  // not 8704, but holds no data
    plan.records[40].size = 0;
    plan.records[40].offset = 12;
    EXPECT_TRUE(isWritableLayout(plan));
}

}  // namespace
}  // namespace dvx
