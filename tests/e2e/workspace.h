// One end-to-end case: a working folder with a generated dralvenix.dat, the
// built tool run in it, and the checks every case shares.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "archive/format.h"
#include "test_support.h"

namespace dvx {
namespace test {

constexpr char kBanner[] =
    "dvxtool - Dateien aus dralvenix.dat entpacken und einfuegen\n"
    "Die Unterordner gfx und sfx muessen zum Extrahieren vorher von Hand angelegt werden\n"
    "\nDruecken sie 'X' zum entpacken oder 'I' zum einfuegen von Dateien\n";
constexpr char kDone[] = "\nDateien erfolgreich extrahiert/eingefuegt\n";
constexpr char kNotOpened[] = "\nDatei konnte nicht geoeffnet werden\n";
constexpr char kOutputNotOpened[] = "\nAusgabedatei konnte nicht geoeffnet werden\n";
constexpr char kOutputWriteFailed[] = "\nFehler beim Schreiben der entpackten Dateien\n";
constexpr char kReadShort[] = "\nDateidaten konnten nicht vollstaendig gelesen werden\n";
constexpr char kNewNotCreated[] = "\nKonnte dralvenx.new nicht erstellen\n";
constexpr char kNewWriteFailed[] = "\nFehler beim Schreiben von dralvenix.new\n";
constexpr char kLayoutInvalid[] =
    "\nVerzeichnis von dralvenix.dat ungueltig, dralvenix.new nicht erstellt\n";

// The listing lines of the first `records` records of an archive image.
inline std::string listingOf(const Bytes& archive, int records = kRecordCount) {
    std::string listing;
    for (int i = 0; i < records; ++i) {
        const unsigned char* record = archive.data() + i * kRecordSize;
        char line[160];
        std::snprintf(line, sizeof line, "Dateiname: %.*s Offset: %x Groesse: %x \n",
                      static_cast<int>(nameLength(record)), reinterpret_cast<const char*>(record),
                      static_cast<unsigned>(loadLe32(record + kOffsetField)),
                      static_cast<unsigned>(loadLe32(record + kSizeField)));
        listing += line;
    }
    return listing;
}

inline std::string hostPath(std::string name) {
    for (char& c : name) {
        if (c == '\\') c = '/';
    }
    return name;
}

// After the result message comes the pause. On Windows the command
// interpreter prints its own prompt there; elsewhere, with no terminal on
// standard input, nothing at all.
inline void expectPaused(const RunResult& run) {
#ifdef _WIN32
    EXPECT_NE(run.pause, "");
#else
    EXPECT_EQ(run.pause, "");
#endif
}

class Workspace {
public:
    // The working folder is a subfolder of the scratch folder, so that a
    // write beside it is seen too.
    explicit Workspace(const sample::Image& archive) : image(archive), dir(scratch / "work") {
        makeDir(dir);
        writeFile(archivePath(), image.bytes);
    }

    std::string archivePath() const { return dir + "/" + kArchiveName; }
    std::string path(const std::string& relative) const { return dir + "/" + relative; }
    std::string memberPath(int record) const { return path(hostPath(image.name(record))); }
    void makeMemberFolders() const {
        makeDir(path("gfx"));
        makeDir(path("sfx"));
    }

    RunResult run(const std::vector<std::string>& args, const RunOptions& options = RunOptions()) const {
        return runTool(dir, args, options);
    }

    // The source archive is never written, whatever the run did.
    void expectArchiveUnchanged() const { EXPECT_TRUE(readFile(archivePath()) == image.bytes); }

    // Nothing appeared beside the working folder.
    void expectNothingOutside() const {
        const auto tree = listTree(scratch.path());
        for (const auto& entry : tree) {
            EXPECT_EQ(entry.first.rfind("work/", 0), 0u) << entry.first;
        }
    }

    ScratchDir scratch;
    sample::Image image;
    std::string dir;
};

}  // namespace test
}  // namespace dvx
