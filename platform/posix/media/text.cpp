// Making song paths fit for the desktop bus.
#include "platform/posix/media/text.h"

namespace media::posix {

namespace {

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string FileUri(std::string_view absolutePath) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char ch : absolutePath) {
        const auto c = static_cast<unsigned char>(ch);
        if (Unreserved(c)) {
            uri += ch;
        } else {
            uri += '%';
            uri += Hex[c >> 4];
            uri += Hex[c & 0x0F];
        }
    }
    return uri;
}

}  // namespace media::posix
