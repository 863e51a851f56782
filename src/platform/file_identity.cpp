#include "platform/platform.h"

namespace dvx {
namespace platform {

bool mayBeOpenFile(const char* path, std::FILE* stream) {
    FileIdentity candidate;
    if (!identifyPath(path, candidate)) return false;  // nothing there to harm
    FileIdentity open;
    return !identifyStream(stream, open) || sameFile(open, candidate);
}

}  // namespace platform
}  // namespace dvx
