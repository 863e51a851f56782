// Turning a member's name into the path of its file in the working folder.
// Extraction writes there and the rebuild looks for replacement files there,
// so both go through this one function.
#pragma once

#include "archive/format.h"

namespace dvx {

// A host path of at most 48 characters and its NUL.
struct MemberPath {
    char text[kNameWidth + 1];
};

// Fills `path` from a 48-byte name field and returns true, or returns false
// when the name is refused: empty, absolute ('/' or '\' first), starting with
// a drive letter and ':', or holding a ".." component, with '/' and '\' both
// counting as separators on every host. A refused name leads nowhere, so no
// member can reach outside the working folder.
bool memberPath(const unsigned char* nameField, MemberPath& path);

}  // namespace dvx
