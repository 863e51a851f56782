// Extraction: each member's data into the file that its name gives.
#include "archive/archive_file.h"
#include "archive/member_path.h"
#include "archive/transfer.h"
#include "platform/platform.h"

namespace dvx {

ResultCode ArchiveFile::extractMembers() {
    TransferBuffer buffer;
    if (!buffer.allocate()) return kNoMemory;
    const ResultCode directory = readDirectory();
    if (directory != kSuccess) return directory;

    // The first of 10 or 12 to happen is the one reported; a short write
    // (11) ends the run at once, since the disk is probably full.
    ResultCode result = kSuccess;
    for (int record = kFirstMember; record <= kLastMember; ++record) {
        const ResultCode member = extractMember(record, buffer);
        if (member == kOutputWriteFailed) return member;
        if (result == kSuccess) result = member;
    }
    return result;
}

ResultCode ArchiveFile::extractMember(int record, const TransferBuffer& buffer) {
    const DirectoryEntry& entry = entries[record];
    MemberPath path;
    if (!memberPath(entry.name, path)) return kOutputOpenFailed;
    // Opening with "wb" cuts the file at once, so the archive itself must be
    // recognised before that, whatever name or link leads to it.
    if (platform::leadsTo(path.text, archiveIdentity)) return kOutputOpenFailed;
    if (!memberStream.open(path.text, "wb")) return kOutputOpenFailed;

    CopyOutcome copy;
    if (platform::seekTo(archiveStream.get(), entry.offset)) {
        copy = copyBytes(archiveStream.get(), memberStream.get(), entry.size, buffer);
    } else {
        copy.readShort = entry.size > 0;
    }
    // A close that fails may have lost what was written: as bad as a short write.
    const bool closed = memberStream.close();
    if (copy.writeShort || !closed) return kOutputWriteFailed;
    return copy.readShort ? kMemberReadShort : kSuccess;
}

}  // namespace dvx
