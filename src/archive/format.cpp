#include "archive/format.h"

#include <cstring>

namespace dvx {

std::uint32_t loadLe32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) |
           static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 |
           static_cast<std::uint32_t>(bytes[3]) << 24;
}

void storeLe32(unsigned char* bytes, std::uint32_t value) {
    bytes[0] = static_cast<unsigned char>(value);
    bytes[1] = static_cast<unsigned char>(value >> 8);
    bytes[2] = static_cast<unsigned char>(value >> 16);
    bytes[3] = static_cast<unsigned char>(value >> 24);
}

std::size_t nameLength(const unsigned char* nameField) {
    const void* nul = std::memchr(nameField, 0, kNameWidth);
    return nul ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - nameField)
               : kNameWidth;
}

std::uint64_t alignUp(std::uint64_t position) {
    return (position + kAlignment - 1) / kAlignment * kAlignment;
}

}  // namespace dvx
