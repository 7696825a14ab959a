// Texts for the desktop bus, which accepts only valid UTF-8 (utf8::Repaired makes file names
// and tags safe): a song's path as a file:// address. Any thread.
#pragma once

#include <string>
#include <string_view>

namespace media::posix {

// "file://" and the absolute path, every byte outside the unreserved characters and '/'
// percent-encoded (so spaces, umlauts and '%' itself travel safely).
std::string FileUri(std::string_view absolutePath);

}  // namespace media::posix
