// Directory enumeration by handle number. Each examination reads the whole folder at once and
// sorts it the way a file manager lists names, so nested scans may each hold their own handle.
#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/posix/system_natural_order.h"
#include "platform/system.h"

namespace sys {
namespace {

constexpr int HandleCount = 64;

struct Listing {
    std::vector<DirEntry> entries;
    std::size_t next = 0;
    bool open = false;
};

std::array<Listing, HandleCount>& Listings() {
    static std::array<Listing, HandleCount> listings;
    return listings;
}

Listing* ListingFor(int handle) {
    if (handle < 0 || handle >= HandleCount) return nullptr;
    return &Listings()[static_cast<std::size_t>(handle)];
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// A link counts as what it points to; a link pointing nowhere is a file.
bool EntryIsDirectory(int folder, const dirent& entry) {
    if (entry.d_type == DT_DIR) return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
    struct stat info {};
    return fstatat(folder, entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

bool DotName(const std::string& name) {
    return name == "." || name == "..";
}

// "." and ".." first, then everything in natural order.
bool ListedBefore(const DirEntry& a, const DirEntry& b) {
    const bool dotA = DotName(a.name);
    const bool dotB = DotName(b.name);
    if (dotA != dotB) return dotA;
    if (dotA) return a.name.size() < b.name.size();
    return NaturalLess(a.name, b.name);
}

}  // namespace

bool ExamineDirectory(int handle, const std::string& path) {
    Listing* listing = ListingFor(handle);
    if (!listing) return false;
    *listing = Listing{};
    if (path.empty()) return false;
    DirHandle dir(opendir(path.c_str()));
    if (!dir) return false;
    const int folder = dirfd(dir.get());
    std::vector<DirEntry> entries;
    while (const dirent* entry = readdir(dir.get())) {
        DirEntry item;
        item.name = entry->d_name;
        item.isDirectory = EntryIsDirectory(folder, *entry);
        entries.push_back(std::move(item));
    }
    std::sort(entries.begin(), entries.end(), ListedBefore);
    listing->entries = std::move(entries);
    listing->open = true;
    return true;
}

bool NextDirectoryEntry(int handle, DirEntry& entry) {
    Listing* listing = ListingFor(handle);
    if (!listing || !listing->open || listing->next >= listing->entries.size()) return false;
    entry = listing->entries[listing->next++];
    return true;
}

void FinishDirectory(int handle) {
    if (Listing* listing = ListingFor(handle)) *listing = Listing{};
}

}  // namespace sys
