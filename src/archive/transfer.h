// The one heap block of an action, and moving bytes through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace dvx {

class TransferBuffer {
public:
    // A member up to this size moves in exactly one read and one write;
    // larger ones move through the same block in pieces of this size.
    static constexpr std::size_t kSize = 5000000;

    // False when the block cannot be had; nothing is thrown.
    bool allocate();
    unsigned char* data() const { return block_.get(); }

private:
    std::unique_ptr<unsigned char[]> block_;
};

struct CopyOutcome {
    std::uint64_t bytesRead = 0;  // all of them were handed to the target
    bool readShort = false;       // the source ended or failed before `length`
    bool writeShort = false;      // the target took fewer bytes than it was given
};

// Copies `length` bytes from the current position of `source` to `target`.
// Only bytes actually read are written, so a short source never produces
// stale buffer contents or padding. Stops at the first short write.
CopyOutcome copyBytes(std::FILE* source, std::FILE* target, std::uint64_t length,
                      const TransferBuffer& buffer);

// Appends `count` zero bytes; false when the target took fewer.
bool writeZeros(std::FILE* target, std::uint64_t count);

}  // namespace dvx
