// Windows system services: the program's folder, the Windows name, directory listing in the
// file system's own order, sleeping and opening a web page. Paths are UTF-8 in the program and
// UTF-16 at the ...W calls, so every file name works whatever the ANSI code page.
#include "platform/system.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <array>
#include <cstdio>
#include <optional>

#include "platform/common/os_name.h"
#include "platform/win32/handle_win32.h"
#include "platform/win32/text_win32.h"

namespace sys {

std::string ProgramDirectory() {
    // 500 characters hold any ordinary path; a deeper folder gets a larger buffer rather than a
    // truncated name, which would put the settings file somewhere else.
    // https://learn.microsoft.com/windows/win32/api/libloaderapi/nf-libloaderapi-getmodulefilenamew
    std::wstring name(500, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return "";
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        if (name.size() >= 32768) return "";
        name.resize(name.size() * 2);
    }
    std::size_t cut = name.rfind(L'\\');
    if (cut == std::wstring::npos) return "";
    return win32::WideToUtf8(std::wstring_view(name).substr(0, cut + 1));
}

std::string OperatingSystemName() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    OsVersion version;
    if (GetVersionExA(&info)) {
        version.known = true;
        version.platform = static_cast<int>(info.dwPlatformId);
        version.major = static_cast<int>(info.dwMajorVersion);
        version.minor = static_cast<int>(info.dwMinorVersion);
    }
    return OsNameFromVersion(version);
}

std::string DefaultMusicFolder() {
    return "C:\\";
}

std::string UserAppDataFolder() {
    std::wstring folder;
    // SHGetKnownFolderPath came with Vista; Windows XP has SHGetFolderPathW only, so the newer
    // call is looked up at run time.
    // https://learn.microsoft.com/windows/win32/api/shlobj_core/nf-shlobj_core-shgetknownfolderpath
    using KnownFolderPath = HRESULT(WINAPI*)(const GUID&, DWORD, HANDLE, PWSTR*);
    static constexpr GUID RoamingAppData = {// FOLDERID_RoamingAppData
                                            0x3EB685DB,
                                            0x65F9,
                                            0x4CF6,
                                            {0xA0, 0x3A, 0xE3, 0xEF, 0x65, 0x72, 0x9F, 0x3D}};
    HMODULE shell32 = GetModuleHandleW(L"shell32.dll");  // linked in, so always loaded
    auto known = shell32 != nullptr ? reinterpret_cast<KnownFolderPath>(reinterpret_cast<void*>(
                                          GetProcAddress(shell32, "SHGetKnownFolderPath")))
                                    : nullptr;
    PWSTR path = nullptr;
    if (known != nullptr && SUCCEEDED(known(RoamingAppData, 0, nullptr, &path)) && path) {
        folder = path;
    } else {
        // https://learn.microsoft.com/windows/win32/api/shlobj_core/nf-shlobj_core-shgetfolderpathw
        wchar_t old[MAX_PATH] = {};
        if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, old)))
            folder = old;
    }
    CoTaskMemFree(path);  // the known-folder call allocates even when it fails
    if (folder.empty()) return "";
    if (folder.back() != L'\\') folder += L'\\';
    return win32::WideToUtf8(folder);
}

namespace {

struct Listing {
    win32::FindHandle find;
    std::optional<WIN32_FIND_DATAW> pending;  // the entry FindFirstFileW already returned
    std::wstring folder;                      // ending in a separator, for links' targets
};
std::array<Listing, 64> listings;

Listing* ListingFor(int handle) {
    if (handle < 0 || handle >= static_cast<int>(listings.size())) return nullptr;
    return &listings[static_cast<std::size_t>(handle)];
}

std::string WithSeparator(const std::string& path) {
    if (path.empty() || path.back() == '\\' || path.back() == '/') return path;
    return path + '\\';
}

// Reparse tags of entries that are no files: sockets and the Linux subsystem's pipes and
// devices. (Older headers lack the names.)
// https://learn.microsoft.com/windows/win32/fileio/reparse-point-tags
constexpr DWORD NotFileTags[] = {0x80000023, 0x80000024, 0x80000025, 0x80000026};
constexpr DWORD SymbolicLinkTag = 0xA000000C;  // IO_REPARSE_TAG_SYMLINK

// A symbolic link counts as what it points to: a file on a disk, not a folder, device or pipe.
bool LinkLeadsToFile(const std::wstring& path) {
    win32::FileHandle target(CreateFileW(path.c_str(), 0,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    return target && GetFileType(target.Get()) == FILE_TYPE_DISK &&
           GetFileInformationByHandle(target.Get(), &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A regular file: no folder, no device, and no reparse point that stands for something else.
// Other reparse points (cloud placeholders, deduplicated files) are files.
bool IsFile(const Listing& listing, const WIN32_FIND_DATAW& data) {
    const DWORD attributes = data.dwFileAttributes;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return false;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return true;
    for (DWORD tag : NotFileTags)
        if (data.dwReserved0 == tag) return false;
    if (data.dwReserved0 == SymbolicLinkTag)
        return LinkLeadsToFile(listing.folder + data.cFileName);
    return true;
}

}  // namespace

bool ExamineDirectory(int handle, const std::string& path) {
    Listing* listing = ListingFor(handle);
    if (listing == nullptr) return false;
    listing->pending.reset();
    WIN32_FIND_DATAW data{};
    listing->folder = win32::Utf8ToWide(WithSeparator(path));
    std::wstring pattern = listing->folder + L"*.*";
    listing->find.Reset(FindFirstFileW(pattern.c_str(), &data));
    if (!listing->find) return false;
    listing->pending = data;
    return true;
}

bool NextDirectoryEntry(int handle, DirEntry& entry) {
    Listing* listing = ListingFor(handle);
    if (listing == nullptr || !listing->find) return false;
    WIN32_FIND_DATAW data{};
    if (listing->pending) {
        data = *listing->pending;
        listing->pending.reset();
    } else if (!FindNextFileW(listing->find.Get(), &data)) {
        listing->find.Reset(INVALID_HANDLE_VALUE);
        return false;
    }
    entry.name = win32::WideToUtf8(data.cFileName);
    entry.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.isFile = IsFile(*listing, data);
    return true;
}

void FinishDirectory(int handle) {
    if (Listing* listing = ListingFor(handle)) {
        listing->find.Reset(INVALID_HANDLE_VALUE);
        listing->pending.reset();
    }
}

std::string DirectoryIdentity(const std::string& path) {
    // Directories open only with backup semantics; no access rights are needed for the query.
    win32::FileHandle dir(CreateFileW(win32::Utf8ToWide(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!dir) return "";
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(dir.Get(), &info)) return "";
    char text[40];
    std::snprintf(text, sizeof(text), "%08lx:%08lx%08lx",
                  static_cast<unsigned long>(info.dwVolumeSerialNumber),
                  static_cast<unsigned long>(info.nFileIndexHigh),
                  static_cast<unsigned long>(info.nFileIndexLow));
    return text;
}

void SleepMs(int milliseconds) {
    Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

void OpenUrl(std::string_view url) {
    // Web addresses are plain ASCII, which every code page holds.
    std::string file = win32::Utf8ToAnsi(url);
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;  // a missing browser is not reported
    info.lpVerb = "Open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
}

std::vector<std::string> CommandLineArguments(int, char**) {
    // https://learn.microsoft.com/windows/win32/api/shellapi/nf-shellapi-commandlinetoargvw
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return {};
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(::win32::WideToUtf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

std::string AbsolutePath(const std::string& path) {
    const std::wstring wide = ::win32::Utf8ToWide(path);
    const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (path.empty() || length == 0) return path;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) return path;
    full.resize(written);
    return ::win32::WideToUtf8(full);
}

}  // namespace sys
