// The file services of platform/file.h on POSIX systems: paths are UTF-8 bytes as they are,
// text files are UTF-8 already, and a replacement is written, synced and renamed into place.
#include "platform/file.h"

#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/common/file_path.h"

namespace platform {

namespace {

// Writes all of data to descriptor fd; false on any short or failed write.
bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data.remove_prefix(std::size_t(written));
    }
    return true;
}

}  // namespace

std::filesystem::path FilePath(const std::string& utf8Path) {
    return std::filesystem::path(utf8Path);
}

std::string NativeTextToUtf8(std::string_view text) {
    return std::string(text);
}

std::optional<std::string> Utf8ToNativeText(std::string_view utf8) {
    return std::string(utf8);
}

std::optional<std::string> AnsiCodePageToUtf8(std::string_view) {
    return std::nullopt;
}

bool ReadOnlyFile::Open(const std::string& utf8Path) {
    Close();
    // O_NONBLOCK so that a named pipe cannot stall the open; it is refused just below.
    const int fd = open(utf8Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return false;
    }
    // O_NONBLOCK may stay: it does not change reading a regular file.
    std::FILE* f = fdopen(fd, "rb");
    if (!f) {
        close(fd);
        return false;
    }
    return Adopt(f);
}

std::int64_t ReadOnlyFile::Size() const {
    if (!file_) return -1;
    struct stat info;
    if (fstat(fileno(file_), &info) != 0) return -1;
    return std::int64_t(info.st_size);
}

bool ReadOnlyFile::Seek(std::int64_t offset) {
    if (!file_ || offset < 0) return false;
    return fseeko(file_, off_t(offset), SEEK_SET) == 0;
}

bool ReplaceFileAtomically(const std::string& utf8Path, std::string_view contents) {
    // The temporary file lives in the same folder, so the rename never crosses file systems.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string temp =
            utf8Path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
        // 0666 less the umask: the new file gets the permissions any newly written file gets.
        const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        const bool written = WriteAll(fd, contents) && fsync(fd) == 0;
        const bool closed = close(fd) == 0;
        if (written && closed && std::rename(temp.c_str(), utf8Path.c_str()) == 0) return true;
        unlink(temp.c_str());
        return false;
    }
    return false;
}

bool FolderIsWritable(const std::string& utf8Path) {
    if (!FolderExists(utf8Path)) return false;
    return access(utf8Path.c_str(), W_OK | X_OK) == 0;
}

bool FileCanBeReplaced(const std::string& utf8Path) {
    if (!FileExists(utf8Path)) return false;
    const std::size_t cut = utf8Path.rfind('/');
    // A rename needs only the folder's permission, whatever the file's own.
    return FolderIsWritable(cut == std::string::npos ? "." : utf8Path.substr(0, cut + 1));
}

}  // namespace platform
