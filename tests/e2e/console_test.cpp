// The front end as a user meets it: modes, choices, the three ends of a run.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#endif

#include "workspace.h"

namespace dvx {
namespace test {
namespace {

sample::Image smallArchive() { return sample::Image(sample::defaultMembers(1, 400)); }

// A damaged header stops every action right after the choice, so the
// front end's part of a run can be seen on its own.
sample::Image damagedArchive() {
    sample::Image image = smallArchive();
    image.setName(0, "DVX V2.0");
    return image;
}
constexpr char kDamagedMessage[] = "\nDatei beschaedigt\n";

TEST(Console, EndsWithStatusOneWhenNoAnswerArrives) {
    const std::string inputs[] = {"", " \n\n\t\r\v\f  ", std::string("\n \0x", 4)};
    for (const std::string& input : inputs) {
        Workspace work(smallArchive());
        RunOptions options;
        options.input = input;
        const RunResult run = work.run({}, options);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, kBanner);  // no message, no pause
        EXPECT_EQ(run.pause, "");
        EXPECT_EQ(run.err, "");
        work.expectArchiveUnchanged();
        EXPECT_EQ(listTree(work.dir).size(), 1u);
    }
    ScratchDir empty;  // no archive at all: it is not even looked for
    const RunResult run = runTool(empty.path(), {"a", "b"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, kBanner);
}

TEST(Console, ReportsAnArchiveThatCannotBeOpenedWithStatusOne) {
    ScratchDir empty;
    RunOptions options;
    options.input = "q";
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {{{"X"}, kNotOpened}, {{"nonsense"}, kNotOpened}, {{}, std::string(kBanner) + kNotOpened}};
    for (const Case& c : cases) {
        const RunResult run = runTool(empty.path(), c.args, options);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, "");
        expectPaused(run);
    }
    makeDir(empty / kArchiveName);  // a folder is no archive
    const RunResult run = runTool(empty.path(), {"x"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, kNotOpened);
}

TEST(Console, ComparesTheArgumentWholeAndCaseSensitively) {
    const Workspace work(damagedArchive());
    for (const char* arg : {"X", "x", "i", "I"}) {
        const RunResult run = work.run({arg});
        EXPECT_EQ(run.status, 4) << arg;
        EXPECT_EQ(run.out, kDamagedMessage) << arg;  // no banner, no prompt
    }
    const char* invalid[] = {"", "x ", " x", "xx", "-x", "/I", "e", "ix"};
    for (const char* arg : invalid) {
        const RunResult run = work.run({arg});
        EXPECT_EQ(run.status, 5) << arg;
        EXPECT_EQ(run.out, "\nUngueltige Auswahl: 'X' zum Entpacken, 'I' zum Einfuegen\n") << arg;
        EXPECT_EQ(run.err, "");
        expectPaused(run);
    }
    work.expectArchiveUnchanged();
    EXPECT_EQ(listTree(work.dir).size(), 1u);
}

TEST(Console, ReadsTheFirstAnswerCharacterAfterWhiteSpace) {
    const Workspace work(damagedArchive());
    struct Case {
        std::vector<std::string> args;
        std::string input;
        int status;
    };
    const Case cases[] = {
        {{}, "\n\n   \ti\n", 4},
        {{}, "xylophone\n", 4},
        {{"X", "x"}, "q\n", 5},  // two arguments: the prompt decides
        {{"x", "I", "i"}, "I", 4},
        {{}, "?", 5},
    };
    for (const Case& c : cases) {
        RunOptions options;
        options.input = c.input;
        const RunResult run = work.run(c.args, options);
        EXPECT_EQ(run.status, c.status) << c.input;
        const std::string message =
            c.status == 4 ? kDamagedMessage : "\nUngueltige Auswahl: 'X' zum Entpacken, 'I' zum Einfuegen\n";
        EXPECT_EQ(run.out, kBanner + message) << c.input;
    }
}

TEST(Console, ListsEveryRecordBeforeTheResult) {
    sample::Image image = smallArchive();
    const unsigned char name[48] = {'a', 'b', 'c', 0, 'h', 'i', 'd', 'd', 'e', 'n'};
    image.setNameField(kTrailingRecord, name);
    image.setOffset(kTrailingRecord, 0x2200);
    image.setSize(kTrailingRecord, 0x1000);
    image.setName(131, std::string(48, 'L'));  // no NUL in the field
    image.setOffset(130, 0x80000000u);          // unsigned, never negative
    image.setSize(130, 0);
    image.record(5)[60] = 0x5a;  // reserved bytes change nothing
    Workspace work(image);
    work.makeMemberFolders();
    RunOptions options;
    options.input = "  x";
    const RunResult run = work.run({}, options);
    EXPECT_EQ(run.status, 0);
    const std::string listing = listingOf(image.bytes);
    EXPECT_EQ(run.out, kBanner + listing + kDone);
    EXPECT_NE(listing.find("Dateiname: abc Offset: 2200 Groesse: 1000 \n"), std::string::npos);
    EXPECT_NE(listing.find("Dateiname: " + std::string(48, 'L') + " Offset: "), std::string::npos);
    EXPECT_NE(listing.find(" Offset: 80000000 Groesse: 0 \n"), std::string::npos);
    EXPECT_EQ(run.err, "");
}

TEST(Console, StopsAtADirectoryThatCannotBeReadWhole) {
    const sample::Image image = smallArchive();
    struct Case {
        std::size_t length;
        int lines;
    };
    for (const Case& c : {Case{0, 0}, Case{8511, 132}}) {
        sample::Image cut = image;
        cut.bytes.resize(c.length);
        Workspace work(cut);
        const RunResult run = work.run({"x"});
        EXPECT_EQ(run.status, 3);
        EXPECT_EQ(run.out, listingOf(image.bytes, c.lines) + "\nREAD_ERROR in dralvenix.dat\n");
        EXPECT_EQ(listTree(work.dir).size(), 1u);
    }
    sample::Image directoryOnly = image;
    directoryOnly.bytes.resize(kDirectoryEnd);
    for (int k = 1; k <= kLastMember; ++k) directoryOnly.setSize(k, 0);
    Workspace work(directoryOnly);
    work.makeMemberFolders();
    const RunResult run = work.run({"X"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, listingOf(directoryOnly.bytes) + kDone);
}

// The cases below need POSIX: an address-space limit and a pseudo-terminal.
#ifndef _WIN32

// Under an address-space limit the transfer buffer cannot be had. Somewhere
// between "too small to start at all" and "enough for everything" lies a
// limit where the tool starts but gets no buffer; there it must say so and
// write nothing, never crash or report success.
TEST(Console, ReportsATransferBufferThatCannotBeAllocated) {
#ifdef DVX_SANITIZED
    GTEST_SKIP() << "the sanitizers' own reservations need far more address space";
#endif
    const sample::Image image = smallArchive();
    for (const char* action : {"x", "i"}) {
        int refusals = 0;
        for (std::uint64_t megabytes = 1; megabytes <= 64; ++megabytes) {
            Workspace work(image);
            work.makeMemberFolders();
            RunOptions options;
            options.addressLimit = megabytes << 20;
            const RunResult run = work.run({action}, options);
            if (run.status == 6) {
                ++refusals;
                EXPECT_EQ(run.out, "\nNicht genug Arbeitsspeicher fuer den Datenpuffer\n");
                EXPECT_EQ(listTree(work.dir).size(), 3u) << megabytes;  // archive, gfx/, sfx/
            } else if (run.status == 0) {
                EXPECT_EQ(run.out, listingOf(image.bytes) + kDone);
            } else {
                EXPECT_EQ(run.out, "") << "status " << run.status << " at " << megabytes << " MiB";
            }
            work.expectArchiveUnchanged();
        }
        EXPECT_GT(refusals, 0) << action;
    }
}

// Reads from the terminal's master side until `wanted` has arrived, the
// other side is gone, or ten seconds have passed.
std::string readTerminalUntil(int master, const std::string& wanted) {
    std::string text;
    while (text.find(wanted) == std::string::npos) {
        struct pollfd ready = {master, POLLIN, 0};
        if (poll(&ready, 1, 10000) <= 0) break;
        char chunk[4096];
        const ssize_t got = read(master, chunk, sizeof chunk);
        if (got <= 0) break;
        text.append(chunk, static_cast<std::size_t>(got));
    }
    return text;
}

TEST(Console, WaitsForOneKeyOnATerminalAndRestoresIt) {
    const Workspace work(smallArchive());
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string slaveName = ptsname(master);
    const int slave = open(slaveName.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setsid();
        const int terminal = open(slaveName.c_str(), O_RDWR);
        dup2(terminal, 0);
        dup2(terminal, 1);
        dup2(terminal, 2);
        if (chdir(work.dir.c_str()) != 0) _exit(126);
        execl(DVXTOOL_PATH, DVXTOOL_PATH, "?", static_cast<char*>(nullptr));
        _exit(127);
    }
    const std::string prompt = "Druecken Sie eine beliebige Taste . . . ";
    const std::string before = readTerminalUntil(master, prompt);
    EXPECT_EQ(before, "\r\nUngueltige Auswahl: 'X' zum Entpacken, 'I' zum Einfuegen\r\n" + prompt);
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, WNOHANG), 0) << "did not wait for a key";

    ASSERT_EQ(write(master, "k", 1), 1);  // one key, no Enter
    const std::string after = readTerminalUntil(master, "\r\n");
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 5);
    EXPECT_EQ(after, "\r\n");  // the key is not echoed

    struct termios mode;
    ASSERT_EQ(tcgetattr(slave, &mode), 0);
    EXPECT_NE(mode.c_lflag & ICANON, 0u);
    EXPECT_NE(mode.c_lflag & ECHO, 0u);
    close(slave);
    close(master);
}

#endif  // _WIN32

}  // namespace
}  // namespace test
}  // namespace dvx
