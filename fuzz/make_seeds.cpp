// make_seeds FOLDER: writes the fuzzer's seed corpus, made from the sample
// archive: sound archives, grown and shrunk replacements, damaged ones.
#include <cstdio>
#include <string>

#include "archive/format.h"
#include "sample_archive.h"

using dvx::sample::Image;

static void put(const std::string& folder, const std::string& name, const Image& image) {
    if (!image.writeTo(folder + "/" + name)) std::fprintf(stderr, "make_seeds: cannot write %s\n", name.c_str());
}

// Replacement j (0 to 2): member `record` from a file of `length` bytes.
static void replace(Image& image, int j, int record, unsigned length) {
    unsigned char* group = image.bytes.data() + dvx::kDirectoryEnd + 3 * j;
    group[0] = static_cast<unsigned char>(record);
    group[1] = static_cast<unsigned char>(length);
    group[2] = static_cast<unsigned char>(length >> 8);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_seeds FOLDER\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const Image sound(dvx::sample::defaultMembers(0, 80));
    put(folder, "sound", sound);

    Image grown = sound;
    replace(grown, 0, 7, 1500);  // far past its neighbour
    replace(grown, 1, 90, 3);    // shorter
    replace(grown, 2, 127, 0);   // empty
    put(folder, "grown", grown);

    Image last = sound;
    replace(last, 0, 1, 200);
    replace(last, 1, 131, 9000);  // past the trailing offset
    put(folder, "first-and-last", last);

    Image cut = sound;
    cut.bytes.resize(sound.offset(60) + 5);
    put(folder, "cut", cut);

    Image directoryOnly = sound;
    directoryOnly.bytes.resize(dvx::kDirectoryEnd);
    put(folder, "directory-only", directoryOnly);

    Image overlapping = sound;
    overlapping.setOffset(40, sound.offset(39));
    put(folder, "overlapping", overlapping);

    Image hugeFill = sound;  // asks for more zero fill than the disk holds
    hugeFill.setOffset(dvx::kTrailingRecord, 0x01800000u);
    put(folder, "huge-fill", hugeFill);

    Image hostile = sound;
    hostile.setName(3, "..\\aussen.bin");
    hostile.setName(4, "dralvenix.dat");
    hostile.setName(5, "dralvenix.new");
    hostile.setName(6, "gfx");
    hostile.setName(7, hostile.name(8));
    replace(hostile, 0, 8, 100);
    replace(hostile, 1, 5, 100);
    put(folder, "hostile", hostile);
    return 0;
}
