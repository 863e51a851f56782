// The entry point: choose the action, run it on dralvenix.dat, report.
#include <cstdio>

#include "archive/archive_file.h"
#include "console/choice.h"
#include "console/messages.h"
#include "platform/platform.h"

namespace {

// Each text is flushed on its own, so the whole prompt is on the screen
// before the tool waits for the answer.
void show(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

// The first answer character that is not white space, or 0 when the input
// ends first.
char readAnswer() {
    char answer = 0;
    if (std::scanf(" %c", &answer) != 1) return 0;
    return answer;
}

dvx::ResultCode runAction(dvx::ArchiveFile& archive, dvx::Action action) {
    switch (action) {
        case dvx::Action::extract: return archive.extractMembers();
        case dvx::Action::rebuild: return archive.rebuildArchive();
        case dvx::Action::none: break;
    }
    return dvx::kInvalidChoice;
}

}  // namespace

int main(int argc, char** argv) {
    dvx::ArchiveFile archive;
    const bool commandLine = argc == 2;
    char answer = 0;
    if (!commandLine) {
        show(dvx::kBannerTitle);
        show(dvx::kBannerFolders);
        show(dvx::kPrompt);
        answer = readAnswer();
        // Nothing to act on, and nobody at the keyboard to pause for.
        if (answer == 0) return dvx::kNotOpen;
    }

    if (!archive.open(dvx::kArchiveName)) {
        show(dvx::resultMessage(dvx::kNotOpen));
        dvx::platform::pauseConsole();
        return dvx::kNotOpen;
    }
    const dvx::Action action =
        commandLine ? dvx::actionFromArgument(argv[1]) : dvx::actionFromAnswer(answer);
    const dvx::ResultCode result = runAction(archive, action);
    show(dvx::resultMessage(result));
    archive.close();
    dvx::platform::pauseConsole();
    return result;
}
