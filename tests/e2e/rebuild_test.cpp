// The rebuild as a user meets it: dralvenix.new from the archive and the
// replacement files, or no dralvenix.new at all.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>

#include "expected_archive.h"
#include "workspace.h"

namespace dvx {
namespace test {
namespace {

using sample::Image;

constexpr int kWhole = 20;  // ends exactly at the next member's offset
constexpr int kSlack = 21;  // leaves 24 bytes before the next member

Image sourceArchive() {
    std::vector<sample::Member> members = sample::defaultMembers(1, 3000);
    members[kWhole - 1].data = sample::patternData(kWhole, 1024);
    members[kSlack - 1].data = sample::patternData(kSlack, 1000);
    return Image(members);
}

std::string newArchive(const Workspace& work) { return work.path(kNewArchiveName); }

void expectNoNewArchive(const Workspace& work) { EXPECT_FALSE(fileExists(newArchive(work))); }

TEST(Rebuild, CopiesTheArchiveWithoutReplacementsAndCleansItsGaps) {
    const Image clean = sourceArchive();
    Image dirty = clean;
    const unsigned char field[kNameWidth] = {'g', 'f', 'x', '\\', 'a', 0, 'k', 'e', 'p', 't'};
    dirty.setNameField(3, field);  // bytes after the NUL are carried along
    for (int i = 0; i < kRecordCount; ++i) std::fill_n(dirty.record(i) + 56, 8, 0xa5);
    std::fill(dirty.bytes.begin() + kDirectoryEnd, dirty.bytes.begin() + kDataStart, 0x11);
    for (int k = kFirstMember; k <= kLastMember; ++k) {
        const std::uint32_t end = clean.offset(k) + clean.size(k);
        std::fill(dirty.bytes.begin() + end, dirty.bytes.begin() + clean.offset(k + 1), 0x22);
    }
    dirty.bytes.insert(dirty.bytes.end(), 300, 0x33);  // beyond the trailing offset
    Workspace work(dirty);
    // Files named like the header and trailing records are never replacements.
    writeFile(work.path("DVX V1.0"), std::string("header"));
    writeFile(work.path("ENDE"), std::string("trailer"));

    const RunResult run = work.run({"i"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, listingOf(dirty.bytes) + kDone);
    EXPECT_EQ(run.err, "");
    Image expectedImage = clean;
    expectedImage.setNameField(3, field);
    EXPECT_TRUE(sameBytes(readFile(newArchive(work)), Expected(expectedImage).bytes()));
    work.expectArchiveUnchanged();
    work.expectNothingOutside();
}

TEST(Rebuild, PlacesOneReplacementAndMovesLaterMembersOnlyWhenNeeded) {
    struct Case {
        const char* what;
        int record;
        std::size_t size;
        int move;  // -1: depends on the sample's sizes
    };
    const Case cases[] = {
        {"same size", kWhole, 1024, 0},
        {"shorter", kWhole, 100, 0},
        {"empty", kWhole, 0, 0},
        {"longer within the slack", kSlack, 1024, 0},
        {"one byte past the next member", kSlack, 1025, 256},
        {"564 bytes longer", kWhole, 1024 + 564, 768},
        {"first member", 1, 9000, -1},
    };
    const Image source = sourceArchive();
    for (const Case& c : cases) {
        Workspace work(source);
        work.makeMemberFolders();
        const Bytes replacement = sample::patternData(1000 + static_cast<std::uint32_t>(c.size), c.size);
        writeFile(work.memberPath(c.record), replacement);
        Expected expected(source);
        const std::uint32_t move = expected.grow(c.record, replacement);
        if (c.move >= 0) {
            EXPECT_EQ(move, static_cast<std::uint32_t>(c.move)) << c.what;
        }

        const RunResult run = work.run({"I"});
        EXPECT_EQ(run.status, 0) << c.what;
        EXPECT_EQ(run.out, listingOf(source.bytes) + kDone) << c.what;
        const Bytes rebuilt = readFile(newArchive(work));
        EXPECT_TRUE(sameBytes(rebuilt, expected.bytes())) << c.what;
        if (c.move == 768) {
            // The grown member's data, 204 zeros, then the next member.
            const std::size_t next = expected.offsets[c.record + 1];
            EXPECT_EQ(next, source.offset(c.record) + c.size + 204);
            EXPECT_TRUE(std::all_of(rebuilt.begin() + next - 204, rebuilt.begin() + next,
                                    [](unsigned char b) { return b == 0; }));
        }
        work.expectArchiveUnchanged();
    }
}

TEST(Rebuild, AddsUpTheMovesOfTwoGrownMembers) {
    const Image source = sourceArchive();
    Workspace work(source);
    work.makeMemberFolders();
    const Bytes first = sample::patternData(1, source.size(10) + 3000);
    const Bytes second = sample::patternData(2, source.size(60) + 700);
    writeFile(work.memberPath(10), first);
    writeFile(work.memberPath(60), second);
    Expected expected(source);
    EXPECT_GT(expected.grow(10, first), 0u);
    EXPECT_GT(expected.grow(60, second), 0u);  // from its moved offset
    ASSERT_EQ(work.run({"i"}).status, 0);
    EXPECT_TRUE(sameBytes(readFile(newArchive(work)), expected.bytes()));
}

TEST(Rebuild, LetsTheLastMemberGrowPastTheTrailingOffset) {
    const Image source = sourceArchive();
    Workspace work(source);
    work.makeMemberFolders();
    const Bytes grown = sample::patternData(131, source.size(kLastMember) + 5001);
    writeFile(work.memberPath(kLastMember), grown);
    Expected expected(source);
    expected.replace(kLastMember, grown);
    ASSERT_EQ(work.run({"i"}).status, 0);
    const Bytes rebuilt = readFile(newArchive(work));
    EXPECT_TRUE(sameBytes(rebuilt, expected.bytes()));
    EXPECT_EQ(rebuilt.size(), alignUp(source.offset(kLastMember) + grown.size()));
    EXPECT_EQ(loadLe32(rebuilt.data() + kTrailingRecord * kRecordSize + kOffsetField),
              source.offset(kTrailingRecord));
}

TEST(Rebuild, MovesMembersOverTheBufferSizeInPieces) {
    std::vector<sample::Member> members = sample::defaultMembers(1, 500);
    members[6].data = sample::patternData(7, 7000000);  // from the archive, in two pieces
    const Image source(members);
    Workspace work(source);
    work.makeMemberFolders();
    const Bytes big = sample::patternData(99, 12000001);
    writeFile(work.memberPath(40), big);
    Expected expected(source);
    expected.grow(40, big);
    ASSERT_EQ(work.run({"i"}).status, 0);
    EXPECT_TRUE(sameBytes(readFile(newArchive(work)), expected.bytes()));
}

TEST(Rebuild, IgnoresWhatIsNoReplacementFile) {
    Image source = sourceArchive();
    source.setName(30, "..\\outside.bin");
    source.setName(31, "gfx\\a.bin");  // a folder of that name
    source.setName(32, "gfx\\b.bin");  // a link to the archive
    source.setName(33, "gfx\\c.bin");  // a link to the new archive
    Workspace work(source);
    work.makeMemberFolders();
    writeFile(work.scratch / "outside.bin", std::string("not mine"));
    makeDir(work.path("gfx/a.bin"));
#ifndef _WIN32
    ASSERT_EQ(symlink("../dralvenix.dat", work.path("gfx/b.bin").c_str()), 0);
    ASSERT_EQ(symlink("../dralvenix.new", work.path("gfx/c.bin").c_str()), 0);
#endif
    ASSERT_EQ(work.run({"i"}).status, 0);
    EXPECT_TRUE(sameBytes(readFile(newArchive(work)), Expected(source).bytes()));
    work.expectArchiveUnchanged();
}

TEST(Rebuild, ReportsANewArchiveThatCannotBeCreated) {
    Workspace work(sourceArchive());
    makeDir(newArchive(work));
    RunResult run = work.run({"i"});
    EXPECT_EQ(run.status, 20);
    EXPECT_EQ(run.out, listingOf(work.image.bytes) + kNewNotCreated);
    EXPECT_EQ(listTree(newArchive(work)).size(), 0u);  // still an empty folder

#ifndef _WIN32
    // A new archive that is the source under another name would cut it.
    Workspace linked(sourceArchive());
    ASSERT_EQ(symlink(kArchiveName, newArchive(linked).c_str()), 0);
    run = linked.run({"i"});
    EXPECT_EQ(run.status, 20);
    linked.expectArchiveUnchanged();
#endif
}

TEST(Rebuild, RefusesASourceCutShortOrOverlapping) {
    const Image source = sourceArchive();
    Image cut = source;
    cut.bytes.resize(source.offset(100) + 10);
    Image overlapping = source;
    overlapping.setOffset(30, source.offset(29) + 16);
    Image misplacedFirst = source;
    misplacedFirst.setOffset(1, kDataStart + 256);
    struct Case {
        const Image& image;
        int status;
        const char* message;
    };
    for (const Case& c : {Case{cut, 12, kReadShort}, Case{overlapping, 22, kLayoutInvalid},
                          Case{misplacedFirst, 22, kLayoutInvalid}}) {
        Workspace work(c.image);
        writeFile(newArchive(work), std::string("an older one"));
        const RunResult run = work.run({"i"});
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, listingOf(c.image.bytes) + c.message);
        expectNoNewArchive(work);
        work.expectArchiveUnchanged();
    }
}

TEST(Rebuild, LeavesAnOlderNewArchiveAloneWhenTheDirectoryFails) {
    Image damaged = sourceArchive();
    damaged.setName(0, "kaputt");
    Workspace work(damaged);
    writeFile(newArchive(work), std::string("an older one"));
    const RunResult run = work.run({"i"});
    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(toText(readFile(newArchive(work))), "an older one");
}

TEST(Rebuild, GivesBackTheReplacementsWhenTheNewArchiveIsExtracted) {
    const Image source = sourceArchive();
    Workspace work(source);
    work.makeMemberFolders();
    const std::pair<int, std::size_t> replaced[] = {{2, 0}, {kWhole, 7000}, {77, 10}, {kLastMember, 4000}};
    for (const auto& r : replaced) {
        writeFile(work.memberPath(r.first), sample::patternData(500 + static_cast<std::uint32_t>(r.first), r.second));
    }
    ASSERT_EQ(work.run({"i"}).status, 0);

    Image rebuilt = source;
    rebuilt.bytes = readFile(newArchive(work));
    Workspace again(rebuilt);
    again.makeMemberFolders();
    ASSERT_EQ(again.run({"x"}).status, 0);
    for (int k = kFirstMember; k <= kLastMember; ++k) {
        const Bytes expected = fileExists(work.memberPath(k)) ? readFile(work.memberPath(k)) : source.memberData(k);
        EXPECT_TRUE(readFile(again.memberPath(k)) == expected) << k;
    }
}

// The cases below need POSIX: sparse files, another user, a file-size limit.
#ifndef _WIN32

// Members 5 to 131 of a sparse source lie past 2 GiB; a grown member 3 moves
// them further. The new archive is real (2.4 GB of mostly zeros), so only
// its directory and the members' data are read back.
TEST(Rebuild, WritesPositionsPastTwoGibibytes) {
    const Image small(sample::defaultMembers(1, 3000));
    const std::uint32_t far = 0x90000000u;
    const std::uint32_t shift = far - small.offset(5);
    Image source = small;
    for (int i = 5; i <= kTrailingRecord; ++i) source.setOffset(i, small.offset(i) + shift);
    Workspace work(source);
    work.makeMemberFolders();
    {
        std::FILE* file = std::fopen(work.archivePath().c_str(), "wb");
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(std::fwrite(source.bytes.data(), 1, small.offset(5), file), small.offset(5));
        ASSERT_EQ(fseeko(file, far, SEEK_SET), 0);
        const std::size_t tail = small.bytes.size() - small.offset(5);
        ASSERT_EQ(std::fwrite(small.bytes.data() + small.offset(5), 1, tail, file), tail);
        ASSERT_EQ(std::fclose(file), 0);
    }
    const Bytes grown = sample::patternData(3, small.size(3) + 1000);
    writeFile(work.memberPath(3), grown);

    const RunResult run = work.run({"i"});
    ASSERT_EQ(run.status, 0);
    const std::string rebuilt = work.path(kNewArchiveName);
    const Bytes directory = readRange(rebuilt, 0, kDataStart);
    const std::uint32_t move = static_cast<std::uint32_t>(alignUp(small.offset(3) + grown.size()) - small.offset(4));
    EXPECT_EQ(fileSize(rebuilt), std::uint64_t{source.offset(kTrailingRecord)} + move);
    EXPECT_TRUE(readRange(rebuilt, small.offset(3), grown.size()) == grown);
    for (int k = 4; k <= kLastMember; ++k) {
        const std::uint32_t offset = loadLe32(directory.data() + k * kRecordSize + kOffsetField);
        EXPECT_EQ(offset, source.offset(k) + move) << k;
        EXPECT_TRUE(readRange(rebuilt, offset, small.size(k)) == small.memberData(k)) << k;
    }
    std::remove(rebuilt.c_str());
}

TEST(Rebuild, TakesAWriteProtectedReplacementWholeAsAnOrdinaryUser) {
    const Image source = sourceArchive();
    Workspace work(source);
    work.makeMemberFolders();
    const Bytes grown = sample::patternData(5, source.size(kWhole) + 2000);
    writeFile(work.memberPath(kWhole), grown);
    ASSERT_EQ(chmod(work.memberPath(kWhole).c_str(), 0444), 0);
    ASSERT_EQ(chmod(work.archivePath().c_str(), 0444), 0);
    giveToUnprivileged(work.dir);
    RunOptions options;
    options.asUnprivileged = true;
    ASSERT_EQ(work.run({"i"}, options).status, 0);
    Expected expected(source);
    expected.grow(kWhole, grown);
    EXPECT_TRUE(sameBytes(readFile(newArchive(work)), expected.bytes()));
    EXPECT_TRUE(readFile(work.memberPath(kWhole)) == grown);
}

TEST(Rebuild, LeavesNoNewArchiveWhenADiskFillsUp) {
    const Image source = sourceArchive();
    const std::uint32_t limits[] = {1,
                                    4096,
                                    kDirectoryEnd,
                                    kDataStart,
                                    kDataStart + 1,
                                    source.offset(50) + source.size(50) / 2,
                                    source.offset(kLastMember) + source.size(kLastMember) - 1,
                                    source.offset(kTrailingRecord) - 1};
    for (const std::uint32_t limit : limits) {
        Workspace work(source);
        writeFile(newArchive(work), std::string("an older one"));
        RunOptions options;
        options.fileSizeLimit = limit;
        const RunResult run = work.run({"i"}, options);
        EXPECT_EQ(run.status, 21) << limit;
        EXPECT_EQ(run.out, listingOf(source.bytes) + kNewWriteFailed) << limit;
        expectNoNewArchive(work);
        work.expectArchiveUnchanged();
    }
}

#endif  // _WIN32

}  // namespace
}  // namespace test
}  // namespace dvx
