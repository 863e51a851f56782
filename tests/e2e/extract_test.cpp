// Extraction as a user meets it: every member into its file, and only there.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdio>

#include "workspace.h"

namespace dvx {
namespace test {
namespace {

using sample::Image;

Image smallArchive() { return Image(sample::defaultMembers(1, 3000)); }

std::string expectedOut(const Image& image, const char* message) {
    return listingOf(image.bytes) + message;
}

// Every member's file holds exactly its data (for the records given).
void expectMembersExtracted(const Workspace& work, int first, int last) {
    for (int k = first; k <= last; ++k) {
        EXPECT_TRUE(readFile(work.memberPath(k)) == work.image.memberData(k)) << k;
    }
}

TEST(Extract, WritesEveryMemberByteForByte) {
    Image image = smallArchive();
    image.setSize(17, 0);  // an empty member is an empty file
    Workspace work(image);
    work.makeMemberFolders();
    writeFile(work.memberPath(3), std::string(10000, 'o'));  // overwritten, cut to size

    const RunResult run = work.run({"x"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expectedOut(image, kDone));
    EXPECT_EQ(run.err, "");
    expectPaused(run);
    expectMembersExtracted(work, 1, kLastMember);
    EXPECT_EQ(readFile(work.memberPath(17)).size(), 0u);

    // 131 files, two folders and the archive; nothing for records 0 and 132.
    const auto tree = listTree(work.dir);
    EXPECT_EQ(tree.size(), 131u + 3u);
    work.expectArchiveUnchanged();
    work.expectNothingOutside();
}

TEST(Extract, GoesOnPastAMissingFolderAndReportsIt) {
    Workspace work(smallArchive());
    makeDir(work.path("gfx"));  // no sfx
    const RunResult run = work.run({"X"});
    EXPECT_EQ(run.status, 10);
    EXPECT_EQ(run.out, expectedOut(work.image, kOutputNotOpened));
    expectMembersExtracted(work, 1, 80);
    EXPECT_FALSE(fileExists(work.path("sfx")));
    work.expectArchiveUnchanged();
}

TEST(Extract, LetsTheHigherRecordWinWhenNamesRepeat) {
    Image image = smallArchive();
    image.setName(90, image.name(12));
    Workspace work(image);
    work.makeMemberFolders();
    ASSERT_EQ(work.run({"x"}).status, 0);
    EXPECT_TRUE(readFile(work.memberPath(12)) == image.memberData(90));
}

TEST(Extract, WritesWhatCanBeReadOfAMemberCutShort) {
    const Image image = smallArchive();
    Image cut = image;
    const std::uint32_t end = image.offset(100) + image.size(100) / 2;
    cut.bytes.resize(end);
    Workspace work(cut);
    work.makeMemberFolders();
    const RunResult run = work.run({"x"});
    EXPECT_EQ(run.status, 12);
    EXPECT_EQ(run.out, expectedOut(cut, kReadShort));
    expectMembersExtracted(work, 1, 99);
    const Bytes whole = image.memberData(100);
    EXPECT_TRUE(readFile(work.memberPath(100)) == Bytes(whole.begin(), whole.begin() + image.size(100) / 2));
    // Later members are still visited; nothing of theirs could be read.
    for (int k = 101; k <= kLastMember; ++k) EXPECT_EQ(readFile(work.memberPath(k)).size(), 0u) << k;
}

TEST(Extract, KeepsTheFirstFailureOfAnOpenOrARead) {
    Image image = smallArchive();
    image.setSize(5, 0xfffffff0u);      // runs far past the end: 12 first
    image.setName(50, "ohne\\ordner");  // no such folder: 10 later
    Workspace work(image);
    work.makeMemberFolders();
    const RunResult run = work.run({"x"});
    EXPECT_EQ(run.status, 12);
    // The damaged size yields the bytes that were there, no padding.
    EXPECT_LT(readFile(work.memberPath(5)).size(), image.bytes.size());
    expectMembersExtracted(work, 6, 49);
}

TEST(Extract, MovesMembersOverTheBufferSizeInPieces) {
    std::vector<sample::Member> members = sample::defaultMembers(1, 500);
    members[2].data = sample::patternData(77, 12000001);  // three pieces
    members[3].data = sample::patternData(78, 5000000);   // exactly one
    Workspace work{Image(members)};
    work.makeMemberFolders();
    ASSERT_EQ(work.run({"x"}).status, 0);
    expectMembersExtracted(work, 1, kLastMember);
}

TEST(Extract, RefusesNamesThatLeadOutOfTheWorkingFolder) {
    Image image = smallArchive();
    const ScratchDir elsewhere;
    const std::string absolute = elsewhere / "absolut.bin";
    const char* hostile[] = {"..\\outside.txt", "../outside.txt", "gfx\\..\\..\\outside.txt", "C:outside.txt",
                             "\\outside.txt", ""};
    int record = 20;
    for (const char* name : hostile) image.setName(record++, name);
    image.setName(record++, absolute);
    Workspace work(image);
    work.makeMemberFolders();
    const RunResult run = work.run({"x"});
    EXPECT_EQ(run.status, 10);
    EXPECT_EQ(run.out, expectedOut(image, kOutputNotOpened));
    EXPECT_FALSE(fileExists(absolute));
    work.expectNothingOutside();
    expectMembersExtracted(work, 30, kLastMember);
    work.expectArchiveUnchanged();
}

TEST(Extract, NeverWritesTheArchiveItself) {
    Image image = smallArchive();
    image.setName(10, "dralvenix.dat");
    image.setName(11, "gfx\\..dralvenix");  // a link to the archive
    image.setName(12, "gfx\\hard.dat");     // a second name for it
    image.setName(13, "sfx\\ok.bin");
#ifdef _WIN32
    image.setName(11, "DRALVENIX.DAT");  // names are case-blind there
#endif
    Workspace work(image);
    work.makeMemberFolders();
#ifndef _WIN32
    ASSERT_EQ(symlink("../dralvenix.dat", work.path("gfx/..dralvenix").c_str()), 0);
    ASSERT_EQ(link(work.archivePath().c_str(), work.path("gfx/hard.dat").c_str()), 0);
#endif
    const RunResult run = work.run({"x"});
    EXPECT_EQ(run.status, 10);
    work.expectArchiveUnchanged();
    EXPECT_TRUE(readFile(work.path("sfx/ok.bin")) == image.memberData(13));
}

// The cases below need POSIX: /dev/full and a file-size limit, another user, sparse files.
#ifndef _WIN32

TEST(Extract, StopsAtOnceWhenAWriteFallsShort) {
    // A full disk two ways: /dev/full takes nothing (the loss shows when the
    // file is closed), and a file-size limit cuts a write in the middle.
    std::vector<sample::Member> members = sample::defaultMembers(1, 2000);
    members[39].data = sample::patternData(40, 2500);
    members[40].data = sample::patternData(41, 2500);
    const Image image(members);
    for (const bool devFull : {true, false}) {
        Workspace work(image);
        work.makeMemberFolders();
        RunOptions options;
        if (devFull) {
            ASSERT_EQ(symlink("/dev/full", work.memberPath(40).c_str()), 0);
        } else {
            options.fileSizeLimit = 2400;  // every earlier member is smaller
            for (int k = 1; k < 40; ++k) ASSERT_LT(image.size(k), 2400u) << k;
        }
        const RunResult run = work.run({"x"}, options);
        EXPECT_EQ(run.status, 11) << devFull;
        EXPECT_EQ(run.out, expectedOut(image, kOutputWriteFailed));
        expectMembersExtracted(work, 1, 39);
        if (!devFull) {
            const Bytes whole = image.memberData(40);
            EXPECT_TRUE(readFile(work.memberPath(40)) == Bytes(whole.begin(), whole.begin() + 2400));
        }
        for (int k = 41; k <= kLastMember; ++k) EXPECT_FALSE(fileExists(work.memberPath(k))) << k;
        work.expectArchiveUnchanged();
    }
}

TEST(Extract, ReadsAWriteProtectedArchiveAsAnOrdinaryUser) {
    Workspace work(smallArchive());
    work.makeMemberFolders();
    ASSERT_EQ(chmod(work.archivePath().c_str(), 0444), 0);
    giveToUnprivileged(work.dir);
    RunOptions options;
    options.asUnprivileged = true;
    const RunResult run = work.run({"x"}, options);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expectedOut(work.image, kDone));
    expectMembersExtracted(work, 1, kLastMember);
    work.expectArchiveUnchanged();
}

TEST(Extract, ReportsAnOutputFileThatMayNotBeWrittenAsAnOrdinaryUser) {
    Workspace work(smallArchive());
    work.makeMemberFolders();
    writeFile(work.memberPath(7), std::string("keep"));
    ASSERT_EQ(chmod(work.memberPath(7).c_str(), 0444), 0);
    giveToUnprivileged(work.dir);
    RunOptions options;
    options.asUnprivileged = true;
    const RunResult run = work.run({"x"}, options);
    EXPECT_EQ(run.status, 10);
    EXPECT_EQ(toText(readFile(work.memberPath(7))), "keep");
    expectMembersExtracted(work, 8, kLastMember);
}

TEST(Extract, ReachesMembersPastTwoGibibytesOfASparseArchive) {
    const Image image = smallArchive();
    Workspace work(image);
    work.makeMemberFolders();
    const std::uint64_t far = 0x90000000ull;
    const Bytes data = sample::patternData(5, 4097);
    Image moved = image;
    moved.setOffset(5, static_cast<std::uint32_t>(far));
    moved.setSize(5, static_cast<std::uint32_t>(data.size()));
    writeFile(work.archivePath(), moved.bytes);
    std::FILE* file = std::fopen(work.archivePath().c_str(), "r+b");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(fseeko(file, static_cast<off_t>(far), SEEK_SET), 0);
    ASSERT_EQ(std::fwrite(data.data(), 1, data.size(), file), data.size());
    ASSERT_EQ(std::fclose(file), 0);

    const RunResult run = work.run({"x"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expectedOut(moved, kDone));
    EXPECT_TRUE(readFile(work.memberPath(5)) == data);
    EXPECT_TRUE(readFile(work.memberPath(6)) == image.memberData(6));
}

#endif  // _WIN32

}  // namespace
}  // namespace test
}  // namespace dvx
