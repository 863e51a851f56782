// Running the built tool on Windows (and under Wine): CreateProcess with a
// file as standard input and a pipe as standard output. Standard output is a
// text stream there, so its CR LF line ends are checked and turned back into
// line feeds, and the command interpreter's pause text is split off.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "test_support.h"

#ifndef DVXTOOL_PATH
#error "DVXTOOL_PATH must name the built tool"
#endif

namespace dvx {
namespace test {

// The build knows the tool by its build-host path; Wine reaches that host's
// root as drive Z:.
static std::string windowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

static HANDLE inheritableFile(const std::string& content) {
    char folder[MAX_PATH];
    char name[MAX_PATH];
    if (GetTempPathA(MAX_PATH, folder) == 0 || GetTempFileNameA(folder, "dvx", 0, name) == 0) {
        throw std::runtime_error("no temporary file");
    }
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create a temporary file");
    DWORD written = 0;
    if (!content.empty()) WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    return file;
}

static std::string readAll(HANDLE handle) {
    std::string text;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(handle, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
    return text;
}

// CR LF back to line feeds; a bare line feed is a fault and shows as one.
static std::string fromConsoleText(const std::string& raw) {
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\n' && (i == 0 || raw[i - 1] != '\r')) return "<bare line feed in the output>";
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        text += raw[i];
    }
    return text;
}

RunResult runTool(const std::string& dir, const std::vector<std::string>& args, const RunOptions& options) {
    std::string commandLine = "\"" + windowsPath(DVXTOOL_PATH) + "\"";
    for (const std::string& arg : args) commandLine += " \"" + arg + "\"";

    HANDLE in = inheritableFile(options.input);
    HANDLE err = inheritableFile("");
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr;
    HANDLE outWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0)) throw std::runtime_error("no pipe");
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = outWrite;
    startup.hStdError = err;
    PROCESS_INFORMATION process = {};
    const std::string folder = windowsPath(dir);
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        throw std::runtime_error("cannot start " + commandLine);
    }
    CloseHandle(outWrite);
    const std::string raw = readAll(outRead);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(outRead);

    RunResult result;
    result.status = static_cast<int>(status);
    const std::size_t lastLine = raw.rfind('\n');
    const std::size_t toolEnd = lastLine == std::string::npos ? 0 : lastLine + 1;
    result.out = fromConsoleText(raw.substr(0, toolEnd));
    result.pause = raw.substr(toolEnd);
    SetFilePointer(err, 0, nullptr, FILE_BEGIN);
    result.err = readAll(err);
    CloseHandle(in);
    CloseHandle(err);
    return result;
}

bool runningAsRoot() { return false; }

void giveToUnprivileged(const std::string&) {}

}  // namespace test
}  // namespace dvx
