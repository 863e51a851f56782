// make_sample_archive [MIN-SIZE MAX-SIZE] PATH
// Writes a well-formed archive of 131 members under gfx\ and sfx\ to PATH,
// with member sizes spread between MIN-SIZE and MAX-SIZE bytes.
#include <cstdio>
#include <cstdlib>

#include "sample_archive.h"

int main(int argc, char** argv) {
    std::size_t minSize = 1;
    std::size_t maxSize = 3000;
    if (argc == 4) {
        minSize = std::strtoull(argv[1], nullptr, 10);
        maxSize = std::strtoull(argv[2], nullptr, 10);
    } else if (argc != 2) {
        std::fputs("usage: make_sample_archive [MIN-SIZE MAX-SIZE] PATH\n", stderr);
        return 2;
    }
    if (minSize > maxSize) {
        std::fputs("make_sample_archive: MIN-SIZE is above MAX-SIZE\n", stderr);
        return 2;
    }
    const dvx::sample::Image image(dvx::sample::defaultMembers(minSize, maxSize));
    if (!image.writeTo(argv[argc - 1])) {
        std::fprintf(stderr, "make_sample_archive: cannot write %s\n", argv[argc - 1]);
        return 1;
    }
    return 0;
}
