// Reading dropped text: splitting it into lines and turning file URIs into paths.
#include "platform/common/dropped_text.h"

#include <optional>

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// %XX escapes to bytes; a '%' that starts no escape stays as it is.
std::string PercentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() && text[i] == '%' ? HexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool StartsWithFileScheme(std::string_view line) {
    constexpr std::string_view scheme = "file:";
    if (line.size() < scheme.size()) return false;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        const char c = line[i];
        if ((c >= 'A' && c <= 'Z' ? c + 32 : c) != scheme[i]) return false;
    }
    return true;
}

// file:///path, file://host/path and file:/path to the still encoded path.
std::optional<std::string_view> UriPath(std::string_view uri) {
    std::string_view rest = uri.substr(5);
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        if (slash == std::string_view::npos) return std::nullopt;
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest.front() != '/') return std::nullopt;
    return rest;
}

std::string_view TrimmedSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The path one line stands for, or "" when it stands for none.
std::string PathOfLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string path;
    if (StartsWithFileScheme(TrimmedSpaces(line))) {
        // URIs hold no spaces; some senders pad them anyway.
        const std::optional<std::string_view> encoded = UriPath(TrimmedSpaces(line));
        if (encoded) path = PercentDecoded(*encoded);
    } else if (!line.empty() && line.front() == '/') {
        path = line;  // a plain path is taken as it is, '%' included
    }
    if (path.find('\0') != std::string::npos) return {};
    return path;
}

}  // namespace

std::string FirstDroppedPath(std::string_view text) {
    // Some senders count the C string's terminator into the data.
    text = text.substr(0, text.find('\0'));
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (line.empty() || line.front() != '#') {
            std::string path = PathOfLine(line);
            if (!path.empty()) return path;
        }
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return {};
}
