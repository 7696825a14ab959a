// Directory enumeration by handle number. Each examination reads the whole folder at once and
// sorts it the way a file manager lists names, so nested scans may each hold their own handle.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/posix/system/natural_order.h"
#include "platform/system.h"

namespace sys {
namespace {

constexpr int HandleCount = 64;

// One folder's entries, sorted. The names sit end to end in one text and the sort moves small
// records: a music folder holds thousands of entries, and a string each cost more than the sort.
struct Listing {
    struct Entry {
        std::uint32_t offset = 0;  // of the name in names
        std::uint32_t size = 0;
        bool isDirectory = false;
        bool isFile = false;
    };
    std::string names;
    std::vector<Entry> entries;
    std::size_t next = 0;
    bool open = false;

    std::string_view Name(const Entry& entry) const {
        return std::string_view(names.data() + entry.offset, entry.size);
    }
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

struct EntryKind {
    bool isDirectory = false;
    bool isFile = false;
};

// A link counts as what it points to; a link pointing nowhere is neither.
EntryKind KindOf(int folder, const dirent& entry) {
    if (entry.d_type == DT_DIR) return {true, false};
    if (entry.d_type == DT_REG) return {false, true};
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return {};
    struct stat info {};
    if (fstatat(folder, entry.d_name, &info, 0) != 0) return {};
    return {S_ISDIR(info.st_mode), S_ISREG(info.st_mode)};
}

bool DotName(std::string_view name) {
    return name == "." || name == "..";
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
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (listing->names.size() + name.size() > UINT32_MAX) break;  // no folder is that large
        const EntryKind kind = KindOf(folder, *entry);
        listing->entries.push_back({std::uint32_t(listing->names.size()),
                                    std::uint32_t(name.size()), kind.isDirectory, kind.isFile});
        listing->names += name;
    }
    // "." and ".." first, then everything in natural order.
    std::sort(listing->entries.begin(), listing->entries.end(),
              [listing](const Listing::Entry& a, const Listing::Entry& b) {
                  const std::string_view nameA = listing->Name(a), nameB = listing->Name(b);
                  const bool dotA = DotName(nameA), dotB = DotName(nameB);
                  if (dotA != dotB) return dotA;
                  if (dotA) return nameA.size() < nameB.size();
                  return NaturalLess(nameA, nameB);
              });
    listing->open = true;
    return true;
}

bool NextDirectoryEntry(int handle, DirEntry& entry) {
    Listing* listing = ListingFor(handle);
    if (!listing || !listing->open || listing->next >= listing->entries.size()) return false;
    const Listing::Entry& next = listing->entries[listing->next++];
    entry.name.assign(listing->Name(next));
    entry.isDirectory = next.isDirectory;
    entry.isFile = next.isFile;
    return true;
}

void FinishDirectory(int handle) {
    if (Listing* listing = ListingFor(handle)) *listing = Listing{};
}

}  // namespace sys
