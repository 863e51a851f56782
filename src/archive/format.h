// The on-disk shape of dralvenix.dat: a fixed directory of 133 records at the
// start, a zero fill up to 8704, then the members' data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dvx {

constexpr int kRecordCount = 133;         // records 0 to 132
constexpr int kFirstMember = 1;           // record 0 is the header record
constexpr int kLastMember = 131;          // record 132 is the trailing record
constexpr int kTrailingRecord = 132;
constexpr std::size_t kRecordSize = 64;
constexpr std::size_t kNameWidth = 48;
constexpr std::size_t kOffsetField = 48;  // byte position of `offset` in a record
constexpr std::size_t kSizeField = 52;    // byte position of `size` in a record
constexpr std::size_t kDirectoryEnd = kRecordCount * kRecordSize;  // 8512
constexpr std::size_t kDataStart = 0x2200;                         // 8704
constexpr std::size_t kAlignment = 256;

constexpr char kArchiveName[] = "dralvenix.dat";
constexpr char kNewArchiveName[] = "dralvenix.new";

// The header record of a sound archive carries exactly this name.
constexpr char kSignature[] = "DVX V1.0";

// Little-endian 32-bit values, built from unsigned bytes so that the host's
// byte order and alignment never matter.
std::uint32_t loadLe32(const unsigned char* bytes);
void storeLe32(unsigned char* bytes, std::uint32_t value);

// The length of a name field as text: up to its NUL, or all 48 bytes when
// the field holds no NUL. Never reads past the field.
std::size_t nameLength(const unsigned char* nameField);

// Smallest multiple of the alignment unit at or above `position`.
std::uint64_t alignUp(std::uint64_t position);

}  // namespace dvx
