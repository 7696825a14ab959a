// Texts for the desktop bus, which accepts only valid UTF-8: file names and tags made safe, and
// a song's path as a file:// address. Any thread.
#pragma once

#include <string>
#include <string_view>

namespace media::posix {

// The text with every byte that is not part of a valid UTF-8 sequence replaced by U+FFFD
// (a file name on Linux is any bytes but '/' and NUL).
std::string ValidUtf8(std::string_view text);

// "file://" and the absolute path, every byte outside the unreserved characters and '/'
// percent-encoded (so spaces, umlauts and '%' itself travel safely).
std::string FileUri(std::string_view absolutePath);

}  // namespace media::posix
