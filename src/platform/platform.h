// Everything that differs between hosts: 64-bit stream positions, file
// identity, the end-of-run pause and the path separator.
#pragma once

#include <cstdint>
#include <cstdio>

namespace dvx {
namespace platform {

// On hosts whose separator is '/', member names written with '\' must be
// translated; on Windows both separators are native and names pass unchanged.
#ifdef _WIN32
constexpr bool kTranslateBackslash = false;
#else
constexpr bool kTranslateBackslash = true;
#endif

// Plain fseek/ftell stop at 2^31 on some hosts; these never do.
bool seekTo(std::FILE* stream, std::uint64_t position);
bool seekToEnd(std::FILE* stream);
// The stream's position, or -1 when it cannot be told.
std::int64_t tellPosition(std::FILE* stream);

// What a file is on its volume, so that two paths (or a path and an open
// stream) can be recognised as the same file whatever names lead to them.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool regular = false;  // a plain file, not a folder, device or pipe
};

inline bool sameFile(const FileIdentity& a, const FileIdentity& b) {
    return a.volume == b.volume && a.index == b.index;
}

// False when the path does not lead to anything (links are followed).
bool identifyPath(const char* path, FileIdentity& identity);
bool identifyStream(std::FILE* stream, FileIdentity& identity);

// True when `path` leads to the file of that identity, by whatever name or link.
bool leadsTo(const char* path, const FileIdentity& identity);

// Removes a file; false when it could not be removed.
bool removeFile(const char* path);

// Waits for the user before the console window may close.
void pauseConsole();

}  // namespace platform
}  // namespace dvx
