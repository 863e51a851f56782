// A C stdio stream that closes itself, so that every early return of an
// operation leaves nothing open. Closing explicitly reports whether buffered
// data reached the file.
#pragma once

#include <cstdio>

namespace dvx {

class Stream {
public:
    Stream() = default;
    ~Stream() { close(); }
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Opens `path` with a stdio mode string; false when it cannot be opened.
    // Unbuffered: every member moves in large blocks, which then reach the
    // file in one system call each, with no copy into a stream buffer and
    // no write held back until the close.
    bool open(const char* path, const char* mode) {
        close();
        file_ = std::fopen(path, mode);
        if (file_ != nullptr) std::setvbuf(file_, nullptr, _IONBF, 0);
        return file_ != nullptr;
    }

    // Closes the stream if one is open. False when the close failed, which
    // for a written file means that what was written may be lost.
    bool close() {
        if (file_ == nullptr) return true;
        const int status = std::fclose(file_);
        file_ = nullptr;
        return status == 0;
    }

    bool isOpen() const { return file_ != nullptr; }
    std::FILE* get() const { return file_; }

private:
    std::FILE* file_ = nullptr;
};

}  // namespace dvx
