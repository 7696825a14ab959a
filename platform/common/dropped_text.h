// The text an X11 file manager drops: one item per line, either a file:// URI (text/uri-list,
// percent-encoded) or a plain absolute path. Pure, so it can be tested and fuzzed anywhere.
#pragma once

#include <string>
#include <string_view>

// The first local path in the dropped text, decoded. Lines end in LF or CR LF. Skipped: empty
// lines, comments ('#'), other schemes, relative paths and anything that decodes to a NUL byte;
// a NUL byte in the text itself ends the text.
// A file URI's host (file://host/path) is dropped, since a file manager names only files it can
// reach. "" when no line holds a path.
std::string FirstDroppedPath(std::string_view text);
