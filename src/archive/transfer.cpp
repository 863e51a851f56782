#include "archive/transfer.h"

#include <algorithm>
#include <new>

namespace dvx {

bool TransferBuffer::allocate() {
    block_.reset(new (std::nothrow) unsigned char[kSize]);
    return block_ != nullptr;
}

CopyOutcome copyBytes(std::FILE* source, std::FILE* target, std::uint64_t length,
                      const TransferBuffer& buffer) {
    CopyOutcome outcome;
    while (outcome.bytesRead < length) {
        const std::size_t wanted = static_cast<std::size_t>(
            std::min<std::uint64_t>(length - outcome.bytesRead, TransferBuffer::kSize));
        const std::size_t got = std::fread(buffer.data(), 1, wanted, source);
        if (got > 0 && std::fwrite(buffer.data(), 1, got, target) != got) {
            outcome.writeShort = true;
            return outcome;
        }
        outcome.bytesRead += got;
        if (got < wanted) {
            outcome.readShort = true;
            return outcome;
        }
    }
    return outcome;
}

bool writeZeros(std::FILE* target, std::uint64_t count) {
    // Zero-initialised static storage: no allocation, no clearing per call.
    static const unsigned char kZeros[64 * 1024] = {};
    while (count > 0) {
        const std::size_t piece =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, sizeof kZeros));
        if (std::fwrite(kZeros, 1, piece, target) != piece) return false;
        count -= piece;
    }
    return true;
}

}  // namespace dvx
