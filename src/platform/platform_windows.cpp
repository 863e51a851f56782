// Windows hosts (MinGW and MSVC runtimes).
#include "platform/platform.h"

#include <cstdlib>

#include <io.h>
#include <windows.h>

namespace dvx {
namespace platform {

bool seekTo(std::FILE* stream, std::uint64_t position) {
    if (position > static_cast<std::uint64_t>(INT64_MAX)) return false;
    return _fseeki64(stream, static_cast<__int64>(position), SEEK_SET) == 0;
}

bool seekToEnd(std::FILE* stream) { return _fseeki64(stream, 0, SEEK_END) == 0; }

std::int64_t tellPosition(std::FILE* stream) {
    const __int64 position = _ftelli64(stream);
    return position < 0 ? -1 : static_cast<std::int64_t>(position);
}

// st_ino means nothing on Windows; the volume serial number and the file
// index name a file uniquely while it exists.
static bool identifyHandle(HANDLE handle, FileIdentity& identity) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info)) return false;
    identity.volume = info.dwVolumeSerialNumber;
    identity.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    identity.regular = GetFileType(handle) == FILE_TYPE_DISK &&
                       (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    return true;
}

bool identifyPath(const char* path, FileIdentity& identity) {
    // Backup semantics let a folder be opened too, so that it is recognised
    // as one rather than mistaken for a missing file.
    HANDLE handle = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const bool known = identifyHandle(handle, identity);
    CloseHandle(handle);
    return known;
}

bool identifyStream(std::FILE* stream, FileIdentity& identity) {
    const intptr_t osHandle = _get_osfhandle(_fileno(stream));
    if (osHandle == -1) return false;
    return identifyHandle(reinterpret_cast<HANDLE>(osHandle), identity);
}

bool removeFile(const char* path) { return DeleteFileA(path) != 0; }

// The command interpreter prints its own prompt; our output must be on the
// screen before it does.
void pauseConsole() {
    std::fflush(stdout);
    const int ignored = std::system("PAUSE");
    (void)ignored;
}

}  // namespace platform
}  // namespace dvx
