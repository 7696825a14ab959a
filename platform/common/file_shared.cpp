// The file services of platform/file.h that are the same on every system: reading an open
// file, whole-file reads and the existence tests over the standard library. The system calls
// (opening, sizes, seeking, atomic replacement, permissions) are in the system's file backend.
#include <filesystem>
#include <system_error>

#include "platform/common/file_path.h"
#include "platform/file.h"

namespace platform {

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        Close();
        file_ = other.file_;
        other.file_ = nullptr;
    }
    return *this;
}

bool ReadOnlyFile::Adopt(std::FILE* file) {
    // Callers read in blocks of their own; a stdio buffer would only copy twice.
    std::setvbuf(file, nullptr, _IONBF, 0);
    file_ = file;
    return true;
}

void ReadOnlyFile::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

std::size_t ReadOnlyFile::Read(void* destination, std::size_t count) {
    if (!file_ || count == 0) return 0;
    return std::fread(destination, 1, count, file_);
}

bool ReadWholeFile(const std::string& utf8Path, std::string& contents, std::size_t maxBytes) {
    contents.clear();
    ReadOnlyFile file(utf8Path);
    if (!file.IsOpen()) return false;
    const std::int64_t size = file.Size();
    const std::size_t wanted =
        size > 0 && std::uint64_t(size) < maxBytes ? std::size_t(size) : maxBytes;
    contents.resize(wanted);
    contents.resize(file.Read(contents.data(), wanted));
    return true;
}

bool FileExists(const std::string& utf8Path) {
    std::error_code error;
    return std::filesystem::is_regular_file(FilePath(utf8Path), error);
}

bool FolderExists(const std::string& utf8Path) {
    std::error_code error;
    return !utf8Path.empty() && std::filesystem::is_directory(FilePath(utf8Path), error);
}

bool CreateFolders(const std::string& utf8Path) {
    if (utf8Path.empty()) return false;
    std::error_code error;
    std::filesystem::create_directories(FilePath(utf8Path), error);
    return FolderExists(utf8Path);
}

}  // namespace platform
