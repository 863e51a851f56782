// The one object through which the tool works on dralvenix.dat: its open
// stream, the streams an action opens while it works, and the directory.
#pragma once

#include <cstdint>
#include <cstdio>

#include "archive/directory_record.h"
#include "archive/format.h"
#include "archive/result_code.h"
#include "archive/stream.h"
#include "platform/platform.h"

namespace dvx {

struct LayoutPlan;
class TransferBuffer;

class ArchiveFile {
public:
    ArchiveFile() = default;
    virtual ~ArchiveFile() = default;  // the archive stream closes itself

    // Opens the named archive for reading only. Returns 1 when it is open,
    // 0 when it is missing, unreadable or not a regular file.
    int open(const char* fileName);

    // Closes the archive if one is open. Always returns 1.
    int close();

    // Reads the 133 directory records into `entries`, tests the header's
    // signature and lists each record on standard output as it goes.
    // Returns 0, or 1 (nothing open), 2 (seek), 3 (short record), 4 (damaged).
    ResultCode readDirectory();

    // The length of an open stream in bytes, leaving it at its end;
    // -1 when its position cannot be told.
    static std::int64_t fileLength(std::FILE* stream);

    // Writes every member into the file its name gives. Returns the result
    // of readDirectory, or 0, 6, 10, 11 or 12.
    ResultCode extractMembers();

    // Writes dralvenix.new from the replacement files and the archive.
    // Returns the result of readDirectory, or 0, 6, 12, 20, 21 or 22;
    // dralvenix.new is left behind only after 0.
    ResultCode rebuildArchive();

    const DirectoryEntry& entry(int record) const { return entries[record]; }

private:
    ResultCode extractMember(int record, const TransferBuffer& buffer);
    bool openReplacement(int record);
    ResultCode planLayout(LayoutPlan& plan);
    ResultCode writeNewArchive(const LayoutPlan& plan, const TransferBuffer& buffer);
    ResultCode copyMember(int record, const LayoutPlan& plan, const TransferBuffer& buffer,
                          std::uint64_t& position);

    Stream outputStream;
    Stream archiveStream;
    Stream memberStream;
    DirectoryEntry entries[kRecordCount] = {};
    // Which files the archive and the new archive are, so that no member is
    // ever written over them or read back from them.
    platform::FileIdentity archiveIdentity;
    platform::FileIdentity outputIdentity;
};

}  // namespace dvx
