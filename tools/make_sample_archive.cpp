// make_sample_archive [MIN-SIZE MAX-SIZE [LARGE-COUNT LARGE-SIZE]] PATH
// Writes a well-formed archive of 131 members under gfx\ and sfx\ to PATH,
// with member sizes spread between MIN-SIZE and MAX-SIZE bytes (1 and 3000
// by default); LARGE-COUNT members, spread over the archive, are
// LARGE-SIZE bytes instead.
#include <cstdio>
#include <cstdlib>

#include "archive/format.h"
#include "sample_archive.h"

static int usage() {
    std::fputs("usage: make_sample_archive [MIN-SIZE MAX-SIZE [LARGE-COUNT LARGE-SIZE]] PATH\n", stderr);
    return 2;
}

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4 && argc != 6) return usage();
    const std::size_t minSize = argc >= 4 ? std::strtoull(argv[1], nullptr, 10) : 1;
    const std::size_t maxSize = argc >= 4 ? std::strtoull(argv[2], nullptr, 10) : 3000;
    const std::size_t largeCount = argc == 6 ? std::strtoull(argv[3], nullptr, 10) : 0;
    const std::size_t largeSize = argc == 6 ? std::strtoull(argv[4], nullptr, 10) : 0;
    if (minSize > maxSize || largeCount > dvx::kLastMember) return usage();

    std::vector<dvx::sample::Member> members = dvx::sample::defaultMembers(minSize, maxSize);
    for (std::size_t i = 0; i < largeCount; ++i) {
        const std::size_t index = i * members.size() / largeCount;
        members[index].data = dvx::sample::patternData(static_cast<std::uint32_t>(index + 1000), largeSize);
    }
    const dvx::sample::Image image(members);
    if (!image.writeTo(argv[argc - 1])) {
        std::fprintf(stderr, "make_sample_archive: cannot write %s\n", argv[argc - 1]);
        return 1;
    }
    return 0;
}
