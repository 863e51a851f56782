#include "archive/archive_file.h"

#include <cinttypes>
#include <cstring>

#include "platform/platform.h"

namespace dvx {

int ArchiveFile::open(const char* fileName) {
    // The tool never writes the archive, so reading is all it asks for; a
    // write-protected archive works as well as any other.
    if (!archiveStream.open(fileName, "rb")) return 0;
    if (!platform::identifyStream(archiveStream.get(), archiveIdentity) || !archiveIdentity.regular) {
        archiveStream.close();
        return 0;
    }
    return 1;
}

int ArchiveFile::close() {
    archiveStream.close();
    return 1;
}

static bool hasSignature(const unsigned char* nameField) {
    const std::size_t length = sizeof kSignature - 1;
    return nameLength(nameField) == length && std::memcmp(nameField, kSignature, length) == 0;
}

ResultCode ArchiveFile::readDirectory() {
    if (!archiveStream.isOpen()) return kNotOpen;
    std::FILE* archive = archiveStream.get();
    for (int i = 0; i < kRecordCount; ++i) {
        unsigned char record[kRecordSize];
        if (!platform::seekTo(archive, static_cast<std::uint64_t>(i) * kRecordSize)) {
            return kSeekError;
        }
        if (std::fread(record, 1, kRecordSize, archive) != kRecordSize) return kReadError;

        // On a failed signature only the name is taken, so that the rest of
        // the table keeps what it held.
        std::memcpy(entries[i].name, record, kNameWidth);
        if (i == 0 && !hasSignature(entries[0].name)) return kDamaged;
        entries[i] = decodeRecord(record);

        std::printf("Dateiname: %.*s Offset: %" PRIx32 " Groesse: %" PRIx32 " \n",
                    static_cast<int>(nameLength(entries[i].name)),
                    reinterpret_cast<const char*>(entries[i].name), entries[i].offset,
                    entries[i].size);
    }
    return kSuccess;
}

std::int64_t ArchiveFile::fileLength(std::FILE* stream) {
    if (!platform::seekToEnd(stream)) return -1;
    return platform::tellPosition(stream);
}

}  // namespace dvx
