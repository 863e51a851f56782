#include "platform/platform.h"

namespace dvx {
namespace platform {

bool leadsTo(const char* path, const FileIdentity& identity) {
    FileIdentity candidate;
    return identifyPath(path, candidate) && sameFile(candidate, identity);
}

}  // namespace platform
}  // namespace dvx
