// Message texts broken into lines no wider than a message window may be: at spaces where a
// line has them, and inside a word (after a path separator where one fits) where a single
// word is wider than the line, as a long path is.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The lines of `text` (UTF-8, lines separated by '\n') at most maxWidth wide, where width(c)
// gives the width of one character c (one UTF-8 sequence) in the same unit. A character wider
// than the whole line gets a line of its own. Sequences are never split.
std::vector<std::string> WrapText(std::string_view text, int maxWidth,
                                  const std::function<int(std::string_view)>& width);
