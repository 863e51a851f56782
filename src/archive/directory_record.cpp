#include "archive/directory_record.h"

#include <cstring>

namespace dvx {

DirectoryEntry decodeRecord(const unsigned char* record) {
    DirectoryEntry entry;
    std::memcpy(entry.name, record, kNameWidth);
    entry.offset = loadLe32(record + kOffsetField);
    entry.size = loadLe32(record + kSizeField);
    return entry;
}

void encodeRecord(const DirectoryEntry& entry, unsigned char* record) {
    std::memcpy(record, entry.name, kNameWidth);
    storeLe32(record + kOffsetField, entry.offset);
    storeLe32(record + kSizeField, entry.size);
    std::memset(record + kSizeField + 4, 0, kRecordSize - kSizeField - 4);
}

}  // namespace dvx
