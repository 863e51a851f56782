// Scratch folders, files and running the built tool, for the tests.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sample_archive.h"

namespace dvx {
namespace test {

using sample::Bytes;

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

private:
    std::string path_;
};

Bytes readFile(const std::string& path);
Bytes readRange(const std::string& path, std::uint64_t offset, std::size_t length);
std::uint64_t fileSize(const std::string& path);
bool fileExists(const std::string& path);
void writeFile(const std::string& path, const Bytes& data);
void writeFile(const std::string& path, const std::string& text);
void makeDir(const std::string& path);

// Every file and folder under `root` (folders end in '/'), with its length
// for files, so that a test can see everything an action left behind.
std::map<std::string, std::uint64_t> listTree(const std::string& root);

struct RunOptions {
    std::string input;               // standard input; empty input is end of input
    std::uint64_t fileSizeLimit = 0; // RLIMIT_FSIZE with SIGXFSZ ignored; 0 for none (POSIX)
    std::uint64_t addressLimit = 0;  // RLIMIT_AS; 0 for none (POSIX)
    bool asUnprivileged = false;     // uid and gid 65534 when run as root (POSIX)
};

struct RunResult {
    int status = -1;  // the exit status, or 128 + signal number
    std::string out;    // the tool's own output, line ends as on Linux
    std::string err;
    std::string pause;  // what the command interpreter's PAUSE printed (Windows)
};

// Runs the built dvxtool in `dir` with the given arguments.
RunResult runTool(const std::string& dir, const std::vector<std::string>& args,
                  const RunOptions& options = RunOptions());

// Hands the folder (and all in it) to the unprivileged user, when we are root.
void giveToUnprivileged(const std::string& path);
bool runningAsRoot();

std::string toText(const Bytes& bytes);

}  // namespace test
}  // namespace dvx
