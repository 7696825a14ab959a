// The file services of platform/file.h on Windows: UTF-8 paths become UTF-16 for the wide
// calls, so every file name works whatever the ANSI code page; text files are in the ANSI code
// page; a replacement is written, committed and moved into place.
#include "platform/file.h"

#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include "platform/common/file_path.h"
#include "platform/win32/text_win32.h"

namespace platform {

using win32::Utf8ToWide;

namespace {

// Writes all of data to descriptor fd; false on any short or failed write.
bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const unsigned chunk = data.size() > (1u << 30) ? (1u << 30) : unsigned(data.size());
        const int written = _write(fd, data.data(), chunk);
        if (written <= 0) return false;
        data.remove_prefix(std::size_t(written));
    }
    return true;
}

}  // namespace

std::filesystem::path FilePath(const std::string& utf8Path) {
    return std::filesystem::path(Utf8ToWide(utf8Path));
}

std::string NativeTextToUtf8(std::string_view text) {
    if (text.empty() || text.size() > (1u << 30)) return std::string(text);
    const int wideSize = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(wideSize), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), wideSize);
    return win32::WideToUtf8(wide);
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

std::optional<std::string> AnsiCodePageToUtf8(std::string_view text) {
    return NativeTextToUtf8(text);
}

bool ReadOnlyFile::Open(const std::string& utf8Path) {
    Close();
    std::FILE* f = _wfopen(Utf8ToWide(utf8Path).c_str(), L"rb");
    if (!f) return false;
    struct _stat64 info;
    if (_fstat64(_fileno(f), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
        std::fclose(f);
        return false;
    }
    return Adopt(f);
}

std::int64_t ReadOnlyFile::Size() const {
    if (!file_) return -1;
    struct _stat64 info;
    if (_fstat64(_fileno(file_), &info) != 0) return -1;
    return std::int64_t(info.st_size);
}

bool ReadOnlyFile::Seek(std::int64_t offset) {
    if (!file_ || offset < 0) return false;
    return _fseeki64(file_, offset, SEEK_SET) == 0;
}

bool ReplaceFileAtomically(const std::string& utf8Path, std::string_view contents) {
    // The temporary file lives in the same folder, so the rename never crosses file systems.
    for (int attempt = 0; attempt < 16; ++attempt) {
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
    }
    return false;
}

bool FolderIsWritable(const std::string& utf8Path) {
    if (!FolderExists(utf8Path)) return false;
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
}

bool FileCanBeReplaced(const std::string& utf8Path) {
    if (!FileExists(utf8Path)) return false;
    const std::size_t cut = utf8Path.find_last_of("\\/");
    if (!FolderIsWritable(cut == std::string::npos ? "." : utf8Path.substr(0, cut + 1)))
        return false;
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
    return true;
}

}  // namespace platform
