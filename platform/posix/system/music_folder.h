// Where a fresh installation looks for music on Linux: the folder the desktop's user-dirs.dirs
// names as XDG_MUSIC_DIR, else ~/Music, else the home folder.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace sys {

// The XDG_MUSIC_DIR value in the text of a user-dirs.dirs file, "$HOME" expanded to home, or ""
// when the text names none, or names a path that is neither absolute nor under $HOME. The last
// assignment wins, as it would when the file is sourced by a shell.
std::string MusicDirFromUserDirs(std::string_view fileText, std::string_view home);

// The first existing folder of: the user-dirs.dirs music folder, home + "/Music", home; "/" if
// none exists. The result always ends in '/'. isDirectory is asked about each candidate.
std::string ChooseMusicFolder(std::string_view userDirsText, std::string_view home,
                              const std::function<bool(const std::string&)>& isDirectory);

}  // namespace sys
