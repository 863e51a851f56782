#include "test_support.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "platform/platform.h"

namespace dvx {
namespace test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    std::random_device random;
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = base / ("dvxtool-test-" + std::to_string(random()));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            path_ = candidate.generic_string();
            return;
        }
    }
    throw std::runtime_error("cannot create a scratch folder");
}

ScratchDir::~ScratchDir() {
    std::error_code error;
    fs::remove_all(path_, error);  // links are removed, never followed
}

Bytes readFile(const std::string& path) { return readRange(path, 0, SIZE_MAX); }

Bytes readRange(const std::string& path, std::uint64_t offset, std::size_t length) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) throw std::runtime_error("cannot read " + path);
    Bytes data;
    if (platform::seekTo(file, offset)) {
        unsigned char chunk[65536];
        std::size_t got;
        while (data.size() < length &&
               (got = std::fread(chunk, 1, std::min(sizeof chunk, length - data.size()), file)) > 0) {
            data.insert(data.end(), chunk, chunk + got);
        }
    }
    std::fclose(file);
    return data;
}

std::uint64_t fileSize(const std::string& path) { return fs::file_size(path); }

bool fileExists(const std::string& path) {
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found && !error;
}

void writeFile(const std::string& path, const Bytes& data) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) throw std::runtime_error("cannot write " + path);
    const bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    if (std::fclose(file) != 0 || !written) throw std::runtime_error("cannot write " + path);
}

void writeFile(const std::string& path, const std::string& text) {
    writeFile(path, Bytes(text.begin(), text.end()));
}

void makeDir(const std::string& path) {
    if (!fs::create_directory(path)) throw std::runtime_error("cannot create " + path);
}

std::map<std::string, std::uint64_t> listTree(const std::string& root) {
    std::map<std::string, std::uint64_t> tree;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        std::string relative = fs::relative(entry.path(), root).generic_string();
        const fs::file_status status = entry.symlink_status();
        if (fs::is_directory(status)) relative += "/";
        tree[relative] = fs::is_regular_file(status) ? entry.file_size() : 0;
    }
    return tree;
}

std::string toText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace test
}  // namespace dvx
