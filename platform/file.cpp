// The file services of platform/file.h over the C library, with POSIX or Windows calls where
// the C library has no portable answer (size, regular-file test, flushing, atomic rename).
#include "platform/file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

std::filesystem::path ToPath(const std::string& utf8Path) {
#ifdef _WIN32
    return std::filesystem::path(Utf8ToWide(utf8Path));
#else
    return std::filesystem::path(utf8Path);
#endif
}

// Writes all of data to descriptor fd; false on any short or failed write.
bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
#ifdef _WIN32
        const unsigned chunk = data.size() > (1u << 30) ? (1u << 30) : unsigned(data.size());
        const int written = _write(fd, data.data(), chunk);
#else
        const ssize_t written = write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR) continue;
#endif
        if (written <= 0) return false;
        data.remove_prefix(std::size_t(written));
    }
    return true;
}

}  // namespace

#ifdef _WIN32
std::wstring Utf8ToWide(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        int extra = lead < 0x80         ? 0
                    : (lead >> 5) == 6  ? 1
                    : (lead >> 4) == 14 ? 2
                    : (lead >> 3) == 30 ? 3
                                        : -1;
        char32_t cp = extra == 0   ? lead
                      : extra == 1 ? (lead & 0x1F)
                      : extra == 2 ? (lead & 0x0F)
                                   : (lead & 0x07);
        bool valid = extra >= 0 && i + std::size_t(extra) < utf8.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const unsigned char c = static_cast<unsigned char>(utf8[i + std::size_t(k)]);
            if ((c & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        static constexpr char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (valid && (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            valid = false;
        if (!valid) {
            out.push_back(wchar_t(0xFFFD));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(wchar_t(0xD800 + (cp >> 10)));
            out.push_back(wchar_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(wchar_t(cp));
        }
        i += std::size_t(extra) + 1;
    }
    return out;
}
#endif

#ifdef _WIN32
std::string NativeTextToUtf8(std::string_view text) {
    if (text.empty() || text.size() > (1u << 30)) return std::string(text);
    const int wideSize = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(wideSize), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), wideSize);
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    std::string utf8(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::optional<std::string> Utf8ToNativeText(std::string_view utf8) {
    const std::wstring wide = Utf8ToWide(utf8);
    if (wide.empty()) return std::string();
    // No best-fit replacements ("ā" as "a"): the way back must give the same characters.
    // https://learn.microsoft.com/windows/win32/api/stringapiset/nf-stringapiset-widechartomultibyte
    BOOL lost = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                         int(wide.size()), nullptr, 0, nullptr, &lost);
    std::string text(std::size_t(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), text.data(),
                        size, nullptr, &lost);
    if (lost || size == 0 || NativeTextToUtf8(text) != utf8) return std::nullopt;
    return text;
}
#else
std::string NativeTextToUtf8(std::string_view text) {
    return std::string(text);
}
std::optional<std::string> Utf8ToNativeText(std::string_view utf8) {
    return std::string(utf8);
}
#endif

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        Close();
        file_ = other.file_;
        other.file_ = nullptr;
    }
    return *this;
}

bool ReadOnlyFile::Open(const std::string& utf8Path) {
    Close();
#ifdef _WIN32
    std::FILE* f = _wfopen(Utf8ToWide(utf8Path).c_str(), L"rb");
    if (!f) return false;
    struct _stat64 info;
    if (_fstat64(_fileno(f), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
        std::fclose(f);
        return false;
    }
#else
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
#endif
    // Callers read in blocks of their own; a stdio buffer would only copy twice.
    std::setvbuf(f, nullptr, _IONBF, 0);
    file_ = f;
    return true;
}

void ReadOnlyFile::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

std::int64_t ReadOnlyFile::Size() const {
    if (!file_) return -1;
#ifdef _WIN32
    struct _stat64 info;
    if (_fstat64(_fileno(file_), &info) != 0) return -1;
#else
    struct stat info;
    if (fstat(fileno(file_), &info) != 0) return -1;
#endif
    return std::int64_t(info.st_size);
}

bool ReadOnlyFile::Seek(std::int64_t offset) {
    if (!file_ || offset < 0) return false;
#ifdef _WIN32
    return _fseeki64(file_, offset, SEEK_SET) == 0;
#else
    return fseeko(file_, off_t(offset), SEEK_SET) == 0;
#endif
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

bool ReplaceFileAtomically(const std::string& utf8Path, std::string_view contents) {
    // The temporary file lives in the same folder, so the rename never crosses file systems.
    for (int attempt = 0; attempt < 16; ++attempt) {
#ifdef _WIN32
        const std::string temp = utf8Path + ".tmp" + std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(attempt);
        const std::wstring wideTemp = Utf8ToWide(temp);
        const int fd = _wopen(wideTemp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                              _S_IREAD | _S_IWRITE);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        const bool written = WriteAll(fd, contents) && _commit(fd) == 0;
        const bool closed = _close(fd) == 0;
        if (written && closed &&
            MoveFileExW(wideTemp.c_str(), Utf8ToWide(utf8Path).c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        _wremove(wideTemp.c_str());
        return false;
#else
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
#endif
    }
    return false;
}

bool FileExists(const std::string& utf8Path) {
    std::error_code error;
    return std::filesystem::is_regular_file(ToPath(utf8Path), error);
}

bool FolderExists(const std::string& utf8Path) {
    std::error_code error;
    return !utf8Path.empty() && std::filesystem::is_directory(ToPath(utf8Path), error);
}

bool FolderIsWritable(const std::string& utf8Path) {
    if (!FolderExists(utf8Path)) return false;
#ifdef _WIN32
    std::string folder = utf8Path;
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::wstring probe =
            Utf8ToWide(folder + "MP3Klingtal.probe" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(attempt));
        // Removed by the system when the handle closes, also if we are ended before.
        // https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-createfilew
        HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return false;
#else
    return access(utf8Path.c_str(), W_OK | X_OK) == 0;
#endif
}

bool FileCanBeReplaced(const std::string& utf8Path) {
    if (!FileExists(utf8Path)) return false;
#ifdef _WIN32
    const std::size_t cut = utf8Path.find_last_of("\\/");
#else
    const std::size_t cut = utf8Path.rfind('/');
#endif
    if (!FolderIsWritable(cut == std::string::npos ? "." : utf8Path.substr(0, cut + 1)))
        return false;
#ifdef _WIN32
    // The read-only attribute refuses the rename over the file. Opening for writing and removal
    // changes nothing yet fails where the access rules forbid either, as the rename would.
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(utf8Path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return false;
    HANDLE file = CreateFileW(Utf8ToWide(utf8Path).c_str(), GENERIC_WRITE | DELETE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
#endif
    // Elsewhere a rename needs only the folder's permission, whatever the file's own.
    return true;
}

bool CreateFolders(const std::string& utf8Path) {
    if (utf8Path.empty()) return false;
    std::error_code error;
    std::filesystem::create_directories(ToPath(utf8Path), error);
    return FolderExists(utf8Path);
}

}  // namespace platform
