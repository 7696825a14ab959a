// Windows-1252 text (the 8-bit text of ID3 tags) to UTF-8. Any thread.
#pragma once

#include <string>
#include <string_view>

// Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, which the code page leaves undefined, become U+FFFD.
std::string Windows1252ToUtf8(std::string_view text);
