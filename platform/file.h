// Files as the core sees them: a read-only file opened by UTF-8 path with 64-bit sizes, whole
// small files read at once, and a file replaced atomically. Every file access of the core goes
// through here, so the core never needs a system header. Backends: common/file_shared.cpp with
// posix/system/file.cpp or win32/system/file.cpp. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A regular file opened for reading; anything else (folder, pipe, device) does not open, so a
// strange entry in a music folder can neither block nor confuse the readers.
class ReadOnlyFile {
  public:
    ReadOnlyFile() = default;
    explicit ReadOnlyFile(const std::string& utf8Path) { Open(utf8Path); }
    ~ReadOnlyFile() { Close(); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ReadOnlyFile(ReadOnlyFile&& other) noexcept : file_(other.file_) { other.file_ = nullptr; }
    ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;

    bool Open(const std::string& utf8Path);  // closes a file already open first
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // Length in bytes, -1 when it cannot be taken.
    std::int64_t Size() const;
    // Absolute position from the start; false for a negative offset or a failed seek.
    bool Seek(std::int64_t offset);
    // Reads up to count bytes at the current position; returns how many were read (0 at the
    // end, on an error or when the file is not open).
    std::size_t Read(void* destination, std::size_t count);

  private:
    bool Adopt(std::FILE* file);  // takes an opened regular file; true

    std::FILE* file_ = nullptr;
};

// The whole file into contents, at most maxBytes of it. False when it cannot be opened.
bool ReadWholeFile(const std::string& utf8Path, std::string& contents,
                   std::size_t maxBytes = 16u << 20);

// Writes contents to a new file in the same folder, flushes it to the disk and renames it over
// utf8Path. On any failure the old file is left as it was and false is returned.
bool ReplaceFileAtomically(const std::string& utf8Path, std::string_view contents);

bool FileExists(const std::string& utf8Path);  // a regular file
bool FolderExists(const std::string& utf8Path);
// Whether new files can be created in the folder (it exists and we may write there). On
// Windows a file is created and deleted again to find out: neither the read-only attribute
// nor the access rules alone tell it, and a read-only medium says so only when written to.
bool FolderIsWritable(const std::string& utf8Path);
// Whether ReplaceFileAtomically can put a new file in the place of this existing one: its
// folder takes new files and, on Windows, the file itself may be overwritten and removed.
bool FileCanBeReplaced(const std::string& utf8Path);
// Creates the folder and every missing parent; true when it exists afterwards.
bool CreateFolders(const std::string& utf8Path);

// Text files of the system's 8-bit character set (the settings file) to and from the UTF-8 the
// program holds. Windows: the ANSI code page, so existing files keep working; elsewhere files
// are UTF-8 already and nothing changes. Nothing when a character has no place in the code
// page (it would come back as another one).
std::string NativeTextToUtf8(std::string_view text);
std::optional<std::string> Utf8ToNativeText(std::string_view utf8);
// 8-bit text of no declared character set (old tags) read in the ANSI code page, as UTF-8;
// nothing on systems that have no such code page (all but Windows).
std::optional<std::string> AnsiCodePageToUtf8(std::string_view text);

}  // namespace platform
