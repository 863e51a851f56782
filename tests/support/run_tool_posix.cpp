// Running the built tool on POSIX hosts: fork and exec, with the limits and
// the user that a test asks for.
#include <fcntl.h>
#include <ftw.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "test_support.h"

#ifndef DVXTOOL_PATH
#error "DVXTOOL_PATH must name the built tool"
#endif

namespace dvx {
namespace test {

constexpr uid_t kUnprivileged = 65534;

static std::string slurp(int fd) {
    std::string text;
    char chunk[65536];
    lseek(fd, 0, SEEK_SET);
    ssize_t got;
    while ((got = read(fd, chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<std::size_t>(got));
    return text;
}

static int scratchFile(const std::string& content) {
    char name[] = "/tmp/dvxtool-io-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) throw std::runtime_error("mkstemp failed");
    unlink(name);
    if (!content.empty() && write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size())) {
        throw std::runtime_error("cannot write input");
    }
    lseek(fd, 0, SEEK_SET);
    return fd;
}

[[noreturn]] static void startChild(const std::string& dir, const std::vector<std::string>& args,
                                    const RunOptions& options, int in, int out, int err) {
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (chdir(dir.c_str()) != 0) _exit(126);
    if (options.fileSizeLimit > 0) {
        // As on a full disk: the write fails instead of the process dying.
        signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {options.fileSizeLimit, options.fileSizeLimit};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
    }
    if (options.addressLimit > 0) {
        const struct rlimit limit = {options.addressLimit, options.addressLimit};
        if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(126);
    }
    if (options.asUnprivileged && geteuid() == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(kUnprivileged) != 0 || setuid(kUnprivileged) != 0) _exit(126);
    }
    std::vector<char*> argv;
    std::string program = DVXTOOL_PATH;
    argv.push_back(&program[0]);
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
}

// Standard output goes through a pipe, which a file-size limit does not
// touch; standard error, expected empty, goes to a file.
RunResult runTool(const std::string& dir, const std::vector<std::string>& args, const RunOptions& options) {
    const int in = scratchFile(options.input);
    const int err = scratchFile("");
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe failed");
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        close(out[0]);
        startChild(dir, args, options, in, out[1], err);
    }
    close(out[1]);
    RunResult result;
    char chunk[65536];
    ssize_t got;
    while ((got = read(out[0], chunk, sizeof chunk)) != 0) {
        if (got > 0) result.out.append(chunk, static_cast<std::size_t>(got));
        else if (errno != EINTR) break;
    }
    close(out[0]);

    int wstatus = 0;
    waitpid(child, &wstatus, 0);
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    result.err = slurp(err);
    close(in);
    close(err);
    return result;
}

bool runningAsRoot() { return geteuid() == 0; }

static int chownEntry(const char* path, const struct stat*, int, struct FTW*) {
    if (lchown(path, kUnprivileged, kUnprivileged) != 0) return 1;
    return 0;
}

void giveToUnprivileged(const std::string& path) {
    if (!runningAsRoot()) return;
    if (nftw(path.c_str(), chownEntry, 16, FTW_PHYS) != 0) throw std::runtime_error("chown failed");
}

}  // namespace test
}  // namespace dvx
