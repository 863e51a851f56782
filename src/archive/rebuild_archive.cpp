// The rebuild: dralvenix.new from the replacement files and the archive.
#include <cstring>

#include "archive/archive_file.h"
#include "archive/layout_plan.h"
#include "archive/member_path.h"
#include "archive/transfer.h"
#include "platform/platform.h"

namespace dvx {

ResultCode ArchiveFile::rebuildArchive() {
    TransferBuffer buffer;
    if (!buffer.allocate()) return kNoMemory;
    const ResultCode directory = readDirectory();
    if (directory != kSuccess) return directory;

    // "wb" cuts the file it opens; through a link that could be the archive.
    if (platform::leadsTo(kNewArchiveName, archiveIdentity) || !outputStream.open(kNewArchiveName, "wb")) {
        return kNewCreateFailed;
    }
    if (!platform::identifyStream(outputStream.get(), outputIdentity)) {
        outputStream.close();
        platform::removeFile(kNewArchiveName);
        return kNewCreateFailed;
    }
    LayoutPlan plan;
    ResultCode result = planLayout(plan);
    if (result == kSuccess) result = writeNewArchive(plan, buffer);
    const bool closed = outputStream.close();
    if (result == kSuccess && !closed) result = kNewWriteFailed;
    // A half-written archive must not look usable.
    if (result != kSuccess) platform::removeFile(kNewArchiveName);
    return result;
}

// Opens the member's replacement file as `memberStream`: a regular file at
// the member's path that is neither the archive nor the new archive.
bool ArchiveFile::openReplacement(int record) {
    MemberPath path;
    if (!memberPath(entries[record].name, path)) return false;
    if (!memberStream.open(path.text, "rb")) return false;
    platform::FileIdentity identity;
    if (!platform::identifyStream(memberStream.get(), identity) || !identity.regular ||
        platform::sameFile(identity, archiveIdentity) || platform::sameFile(identity, outputIdentity)) {
        memberStream.close();
        return false;
    }
    return true;
}

ResultCode ArchiveFile::planLayout(LayoutPlan& plan) {
    for (int record = 0; record < kRecordCount; ++record) {
        MemberPlan& member = plan.records[record];
        member.sourceOffset = member.offset = entries[record].offset;
        member.size = entries[record].size;
    }
    for (int record = kFirstMember; record <= kLastMember; ++record) {
        if (!openReplacement(record)) continue;
        const std::int64_t length = fileLength(memberStream.get());
        memberStream.close();
        if (length < 0) return kMemberReadShort;
        plan.records[record].replaced = true;
        growMember(plan, record, static_cast<std::uint64_t>(length));
    }
    if (!isWritableLayout(plan)) return kLayoutInvalid;

    // A member that the archive cannot deliver whole is found now, before a
    // byte is written, not as a hole in the new archive.
    const std::int64_t archiveLength = fileLength(archiveStream.get());
    for (int record = kFirstMember; record <= kLastMember; ++record) {
        const MemberPlan& member = plan.records[record];
        if (member.replaced || member.size == 0) continue;
        if (archiveLength < 0 ||
            member.sourceOffset + member.size > static_cast<std::uint64_t>(archiveLength)) {
            return kMemberReadShort;
        }
    }
    for (int record = kFirstMember; record <= kLastMember; ++record) {
        entries[record].offset = static_cast<std::uint32_t>(plan.records[record].offset);
        entries[record].size = static_cast<std::uint32_t>(plan.records[record].size);
    }
    return kSuccess;
}

ResultCode ArchiveFile::writeNewArchive(const LayoutPlan& plan, const TransferBuffer& buffer) {
    // The directory and its zero fill go out as one block, built in the
    // transfer buffer before any member needs it.
    unsigned char* head = buffer.data();
    std::memset(head, 0, kDataStart);
    for (int record = 0; record < kRecordCount; ++record) {
        encodeRecord(entries[record], head + record * kRecordSize);
    }
    if (std::fwrite(head, 1, kDataStart, outputStream.get()) != kDataStart) return kNewWriteFailed;

    // The position is counted, not asked for: the file is written strictly
    // front to back and never seeks.
    std::uint64_t position = kDataStart;
    for (int record = kFirstMember; record <= kLastMember; ++record) {
        const ResultCode result = copyMember(record, plan, buffer, position);
        if (result != kSuccess) return result;
    }
    if (!writeZeros(outputStream.get(), alignUp(position) - position)) return kNewWriteFailed;
    return kSuccess;
}

ResultCode ArchiveFile::copyMember(int record, const LayoutPlan& plan, const TransferBuffer& buffer,
                                   std::uint64_t& position) {
    const MemberPlan& member = plan.records[record];
    std::FILE* source = archiveStream.get();
    if (member.replaced) {
        // The file was there a moment ago; gone now, its data cannot be read.
        if (!openReplacement(record)) return kMemberReadShort;
        source = memberStream.get();
    } else if (member.size > 0 && !platform::seekTo(source, member.sourceOffset)) {
        return kMemberReadShort;
    }
    const CopyOutcome copy = copyBytes(source, outputStream.get(), member.size, buffer);
    memberStream.close();
    if (copy.writeShort) return kNewWriteFailed;
    if (copy.readShort) return kMemberReadShort;

    position += member.size;
    const std::uint64_t next = plan.records[record + 1].offset;
    if (position < next) {
        if (!writeZeros(outputStream.get(), next - position)) return kNewWriteFailed;
        position = next;
    }
    return kSuccess;
}

}  // namespace dvx
