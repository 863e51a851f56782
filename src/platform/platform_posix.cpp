// POSIX hosts (Linux and friends).
#include "platform/platform.h"

#include <cerrno>

#include <sys/stat.h>
#include <sys/types.h>
#include <termios.h>
#include <unistd.h>

namespace dvx {
namespace platform {

bool seekTo(std::FILE* stream, std::uint64_t position) {
    if (position > static_cast<std::uint64_t>(INT64_MAX)) return false;
    return fseeko(stream, static_cast<off_t>(position), SEEK_SET) == 0;
}

bool seekToEnd(std::FILE* stream) { return fseeko(stream, 0, SEEK_END) == 0; }

std::int64_t tellPosition(std::FILE* stream) {
    const off_t position = ftello(stream);
    return position < 0 ? -1 : static_cast<std::int64_t>(position);
}

static void fillIdentity(const struct stat& status, FileIdentity& identity) {
    identity.volume = static_cast<std::uint64_t>(status.st_dev);
    identity.index = static_cast<std::uint64_t>(status.st_ino);
    identity.regular = S_ISREG(status.st_mode);
}

bool identifyPath(const char* path, FileIdentity& identity) {
    struct stat status;
    if (stat(path, &status) != 0) return false;
    fillIdentity(status, identity);
    return true;
}

bool identifyStream(std::FILE* stream, FileIdentity& identity) {
    struct stat status;
    if (fstat(fileno(stream), &status) != 0) return false;
    fillIdentity(status, identity);
    return true;
}

bool removeFile(const char* path) { return unlink(path) == 0; }

// There is no PAUSE command here. On a terminal we ask for one key press
// ourselves; from a pipe or a script we return at once, so nothing hangs and
// the output stays the tool's own.
void pauseConsole() {
    if (!isatty(STDIN_FILENO)) return;

    // The terminal is switched before the prompt shows, so that a key
    // pressed the moment it appears is neither echoed nor held for Enter.
    struct termios saved;
    const bool haveTerminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (haveTerminal) {
        struct termios raw = saved;
        raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    }
    std::fputs("Druecken Sie eine beliebige Taste . . . ", stdout);
    std::fflush(stdout);
    unsigned char key;
    while (read(STDIN_FILENO, &key, 1) < 0 && errno == EINTR) {
    }
    if (haveTerminal) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::fputs("\n", stdout);
    std::fflush(stdout);
}

}  // namespace platform
}  // namespace dvx
