// The one step of the file services that differs between the systems yet is needed by the part
// they share: a UTF-8 path as the standard library's path. Each system's file backend defines
// it. Any thread.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

std::filesystem::path FilePath(const std::string& utf8Path);

}  // namespace platform
