// A full disk at every write position that matters. A file-size limit in
// the tool's process (SIGXFSZ ignored) makes each write past it fail, just
// as a disk that fills up there would.
#include <gtest/gtest.h>

#include <set>

#include "expected_archive.h"
#include "workspace.h"

namespace dvx {
namespace test {
namespace {

TEST(DiskFull, RebuildLeavesNoNewArchiveWhereverTheDiskFillsUp) {
    const Image source(sample::defaultMembers(1, 3000));
    const Bytes grown = sample::patternData(9, source.size(30) + 4000);  // moves 31 to 131
    Expected expected(source);
    expected.grow(30, grown);
    const Bytes rebuilt = expected.bytes();

    std::set<std::uint64_t> limits = {1, 64, 4096, kDirectoryEnd - 1, kDirectoryEnd, kDataStart - 1, kDataStart};
    for (int k = kFirstMember; k <= kLastMember; ++k) {
        const std::uint64_t start = expected.offsets[k];
        const std::uint64_t end = start + expected.data[k].size();
        for (std::uint64_t limit : {start, start + 1, (start + end) / 2, end - 1, end}) limits.insert(limit);
    }
    limits.insert(rebuilt.size() - 100);  // inside the final fill
    limits.insert(rebuilt.size() - 1);

    for (const std::uint64_t limit : limits) {
        ASSERT_LT(limit, rebuilt.size());
        Workspace work(source);
        work.makeMemberFolders();
        writeFile(work.memberPath(30), grown);
        RunOptions options;
        options.fileSizeLimit = limit;
        const RunResult run = work.run({"i"}, options);
        EXPECT_EQ(run.status, 21) << "limit " << limit;
        EXPECT_EQ(run.out, listingOf(source.bytes) + kNewWriteFailed) << "limit " << limit;
        EXPECT_FALSE(fileExists(work.path(kNewArchiveName))) << "limit " << limit;
        work.expectArchiveUnchanged();
    }

    // A disk with exactly enough room is not full.
    Workspace work(source);
    work.makeMemberFolders();
    writeFile(work.memberPath(30), grown);
    RunOptions options;
    options.fileSizeLimit = rebuilt.size();
    ASSERT_EQ(work.run({"i"}, options).status, 0);
    EXPECT_TRUE(sameBytes(readFile(work.path(kNewArchiveName)), rebuilt));
    std::printf("rebuild: %zu limits tried\n", limits.size() + 1);
}

TEST(DiskFull, ExtractionStopsAtTheFirstMemberThatDoesNotFit) {
    const Image source(sample::defaultMembers(1, 3000));
    std::set<std::uint64_t> limits = {1};  // a limit of 0 would be none at all
    for (int k = kFirstMember; k <= kLastMember; ++k) {
        if (source.size(k) > 1) limits.insert(source.size(k) - 1);
    }

    for (const std::uint64_t limit : limits) {
        int first = kFirstMember;  // the first member too large for the limit
        while (first <= kLastMember && source.size(first) <= limit) ++first;
        if (first > kLastMember) continue;
        Workspace work(source);
        work.makeMemberFolders();
        RunOptions options;
        options.fileSizeLimit = limit;
        const RunResult run = work.run({"x"}, options);
        EXPECT_EQ(run.status, 11) << "limit " << limit;
        EXPECT_EQ(run.out, listingOf(source.bytes) + kOutputWriteFailed) << "limit " << limit;
        for (int k = kFirstMember; k < first; ++k) {
            EXPECT_TRUE(readFile(work.memberPath(k)) == source.memberData(k)) << k << " at limit " << limit;
        }
        const Bytes whole = source.memberData(first);
        EXPECT_TRUE(readFile(work.memberPath(first)) == Bytes(whole.begin(), whole.begin() + limit)) << limit;
        for (int k = first + 1; k <= kLastMember; ++k) {
            EXPECT_FALSE(fileExists(work.memberPath(k))) << k << " at limit " << limit;
        }
        work.expectArchiveUnchanged();
    }
    std::printf("extraction: %zu limits tried\n", limits.size());
}

}  // namespace
}  // namespace test
}  // namespace dvx
