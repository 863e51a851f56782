#include "archive/member_path.h"

#include <cstring>

#include "platform/platform.h"

namespace dvx {

static bool isSeparator(char c) { return c == '/' || c == '\\'; }

static bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

static bool hasParentComponent(const char* text, std::size_t length) {
    std::size_t start = 0;
    while (start <= length) {
        std::size_t end = start;
        while (end < length && !isSeparator(text[end])) ++end;
        if (end - start == 2 && text[start] == '.' && text[start + 1] == '.') return true;
        start = end + 1;
    }
    return false;
}

bool memberPath(const unsigned char* nameField, MemberPath& path) {
    const std::size_t length = nameLength(nameField);
    std::memcpy(path.text, nameField, length);
    path.text[length] = '\0';

    if (length == 0) return false;
    if (isSeparator(path.text[0])) return false;
    if (length >= 2 && isAsciiLetter(path.text[0]) && path.text[1] == ':') return false;
    if (hasParentComponent(path.text, length)) return false;

    if (platform::kTranslateBackslash) {
        for (std::size_t i = 0; i < length; ++i) {
            if (path.text[i] == '\\') path.text[i] = '/';
        }
    }
    return true;
}

}  // namespace dvx
