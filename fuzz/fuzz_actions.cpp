// libFuzzer target: the input is dralvenix.dat. Both actions run on it in a
// private folder, with replacement files chosen by the input, and every
// promise the tool makes is checked afterwards, so that a silent corruption
// fails as loudly as a crash.
//
// The replacement files are chosen by bytes 8512 to 8520, in the zero fill
// that the tool itself never reads: three groups of three bytes, each a
// member (0 for none, else (byte - 1) % 131 + 1) and the length of its
// replacement file (two bytes, little-endian).
#include <dirent.h>
#include <ftw.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "archive/archive_file.h"
#include "archive/member_path.h"
#include "sample_archive.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr rlim_t kFileSizeLimit = 16 << 20;

std::string gScratch;  // holds only the working folder
std::string gWork;

#define CHECK(condition)                                                          \
    do {                                                                          \
        if (!(condition)) {                                                       \
            std::fprintf(stderr, "invariant broken at line %d: %s\n", __LINE__, #condition); \
            std::abort();                                                         \
        }                                                                         \
    } while (0)

bool readWhole(const char* path, Bytes& data) {
    data.clear();
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    unsigned char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) data.insert(data.end(), chunk, chunk + got);
    std::fclose(file);
    return true;
}

void writeWhole(const char* path, const unsigned char* data, std::size_t length) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return;
    std::fwrite(data, 1, length, file);
    std::fclose(file);
}

int removeEntry(const char* path, const struct stat*, int, struct FTW*) {
    if (gWork != path) std::remove(path);
    return 0;
}

void emptyWorkFolder() { nftw(gWork.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS); }

bool isRegular(const char* path, struct stat& status) {
    return stat(path, &status) == 0 && S_ISREG(status.st_mode);
}

// The bytes a member's data must have: its replacement file, or the source's
// bytes at its offset. False when no expectation can be stated (the member
// lies outside the source).
bool sourceData(const Bytes& source, std::uint32_t offset, std::uint32_t size, Bytes& data) {
    data.clear();
    if (size == 0) return true;  // may carry any offset
    if (std::uint64_t{offset} + size > source.size()) return false;
    data.assign(source.begin() + offset, source.begin() + offset + size);
    return true;
}

void placeReplacements(const Bytes& source, const dvx::ArchiveFile& directory) {
    if (source.size() < dvx::kDataStart) return;
    for (int j = 0; j < 3; ++j) {
        const unsigned char* group = source.data() + dvx::kDirectoryEnd + 3 * j;
        if (group[0] == 0) continue;
        const int record = (group[0] - 1) % dvx::kLastMember + 1;
        dvx::MemberPath path;
        if (!dvx::memberPath(directory.entry(record).name, path)) continue;
        struct stat target;
        struct stat archive;
        // The archive is the input; it must stay what the input says.
        if (stat(path.text, &target) == 0 && stat(dvx::kArchiveName, &archive) == 0 &&
            target.st_ino == archive.st_ino) {
            continue;
        }
        const std::size_t length = group[1] | std::size_t{group[2]} << 8;
        const Bytes data = dvx::sample::patternData(group[0], length);
        writeWhole(path.text, data.data(), data.size());
    }
}

void checkNothingOutside() {
    DIR* folder = opendir(gScratch.c_str());
    CHECK(folder != nullptr);
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        CHECK(name == "." || name == ".." || name == "work");
    }
    closedir(folder);
}

// The directory table of an archive, read without the listing's noise.
bool readTable(const char* path, dvx::ArchiveFile& archive) {
    return archive.open(path) == 1 && archive.readDirectory() == dvx::kSuccess;
}

void checkRebuilt(const Bytes& source, const dvx::ArchiveFile& old) {
    Bytes rebuilt;
    CHECK(readWhole(dvx::kNewArchiveName, rebuilt));
    CHECK(rebuilt.size() % dvx::kAlignment == 0);
    dvx::ArchiveFile fresh;
    CHECK(readTable(dvx::kNewArchiveName, fresh));
    struct stat archiveStatus;
    struct stat newStatus;
    CHECK(stat(dvx::kArchiveName, &archiveStatus) == 0 && stat(dvx::kNewArchiveName, &newStatus) == 0);
    for (int record : {0, dvx::kTrailingRecord}) {
        CHECK(std::memcmp(&fresh.entry(record), &old.entry(record), sizeof(dvx::DirectoryEntry)) == 0);
    }
    for (int k = dvx::kFirstMember; k <= dvx::kLastMember; ++k) {
        const dvx::DirectoryEntry& entry = fresh.entry(k);
        CHECK(std::memcmp(entry.name, old.entry(k).name, dvx::kNameWidth) == 0);
        dvx::MemberPath path;
        struct stat status;
        Bytes expected;
        const bool replaced = dvx::memberPath(entry.name, path) && isRegular(path.text, status) &&
                              status.st_ino != archiveStatus.st_ino && status.st_ino != newStatus.st_ino;
        if (replaced) {
            CHECK(readWhole(path.text, expected));
        } else {
            CHECK(sourceData(source, old.entry(k).offset, old.entry(k).size, expected));
        }
        CHECK(entry.size == expected.size());
        CHECK(entry.size == 0 || std::uint64_t{entry.offset} + entry.size <= rebuilt.size());
        CHECK(expected.empty() || std::memcmp(rebuilt.data() + entry.offset, expected.data(), expected.size()) == 0);
    }
    // As long as the members' data and the zero fill up to each record's
    // offset demand, and no longer.
    std::uint64_t end = dvx::kDataStart;
    for (int k = dvx::kFirstMember; k <= dvx::kTrailingRecord; ++k) {
        const dvx::DirectoryEntry& entry = fresh.entry(k);
        if (k > dvx::kFirstMember) end = std::max<std::uint64_t>(end, entry.offset);
        if (k <= dvx::kLastMember && entry.size > 0) end = std::max<std::uint64_t>(end, std::uint64_t{entry.offset} + entry.size);
    }
    CHECK(rebuilt.size() == dvx::alignUp(end));
}

void checkExtracted(const Bytes& source, const dvx::ArchiveFile& table) {
    ino_t files[dvx::kRecordCount];
    for (int k = dvx::kFirstMember; k <= dvx::kLastMember; ++k) {
        dvx::MemberPath path;
        struct stat status;
        CHECK(dvx::memberPath(table.entry(k).name, path) && isRegular(path.text, status));
        files[k] = status.st_ino;
    }
    for (int k = dvx::kFirstMember; k <= dvx::kLastMember; ++k) {
        bool overwritten = false;  // a later member of the same file wins
        for (int later = k + 1; later <= dvx::kLastMember; ++later) overwritten |= files[later] == files[k];
        if (overwritten) continue;
        dvx::MemberPath path;
        dvx::memberPath(table.entry(k).name, path);
        Bytes expected;
        Bytes written;
        CHECK(sourceData(source, table.entry(k).offset, table.entry(k).size, expected));
        CHECK(readWhole(path.text, written));
        CHECK(written == expected);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/dvxtool-fuzz-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) std::abort();
    gScratch = pattern;
    gWork = gScratch + "/work";
    if (mkdir(gWork.c_str(), 0755) != 0 || chdir(gWork.c_str()) != 0) std::abort();
    // A damaged trailing offset may ask for gigabytes of zero fill. A file-size
    // limit turns that into a full disk, whose handling is checked as well.
    signal(SIGXFSZ, SIG_IGN);
    const struct rlimit limit = {kFileSizeLimit, kFileSizeLimit};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) std::abort();
    // The listing is the tool's own business; here it is noise.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes source(data, data + size);
    emptyWorkFolder();
    writeWhole(dvx::kArchiveName, data, size);
    mkdir("gfx", 0755);
    mkdir("sfx", 0755);

    dvx::ArchiveFile table;
    const bool readable = readTable(dvx::kArchiveName, table);
    if (readable) placeReplacements(source, table);

    dvx::ArchiveFile rebuild;
    CHECK(rebuild.open(dvx::kArchiveName) == 1);
    const dvx::ResultCode rebuilt = rebuild.rebuildArchive();
    rebuild.close();
    struct stat status;
    CHECK((rebuilt == dvx::kSuccess) == (stat(dvx::kNewArchiveName, &status) == 0));
    if (rebuilt == dvx::kSuccess) checkRebuilt(source, table);

    dvx::ArchiveFile extract;
    CHECK(extract.open(dvx::kArchiveName) == 1);
    const dvx::ResultCode extracted = extract.extractMembers();
    extract.close();
    if (extracted == dvx::kSuccess) checkExtracted(source, table);

    Bytes after;
    CHECK(readWhole(dvx::kArchiveName, after) && after == source);
    checkNothingOutside();
    return 0;
}
