// Greedy line breaking over the widths of single characters: each character is measured once,
// so a message of 100,000 characters costs 100,000 measurements.
#include "platform/common/wrapped_text.h"

#include <algorithm>
#include <cstddef>

#include "platform/utf8.h"

namespace {

// One line being filled: its bytes, and where each character starts and how wide it is.
class Line {
  public:
    void Add(std::string_view c, int width) {
        chars_.push_back({text_.size(), width});
        text_ += c;
        width_ += width;
    }
    int Width() const { return width_; }
    bool Empty() const { return text_.empty(); }

    std::string TakeAll() {
        std::string done = std::move(text_);
        text_.clear();
        chars_.clear();
        width_ = 0;
        return done;
    }

    // Gives away the part before the best break and keeps the rest: after the last space
    // (which goes), else after the last path separator, else everything.
    std::string Break() {
        std::size_t cut = text_.size(), resume = text_.size();
        for (std::size_t i = chars_.size(); i-- > 1;) {
            if (text_[chars_[i].offset] == ' ') {
                cut = chars_[i].offset;
                resume = cut + 1;
                break;
            }
        }
        if (resume == text_.size()) {
            for (std::size_t i = chars_.size(); i-- > 1;) {
                const char c = text_[chars_[i - 1].offset];
                if (c == '/' || c == '\\') {
                    cut = resume = chars_[i].offset;
                    break;
                }
            }
        }
        std::string done = text_.substr(0, cut);
        Keep(resume);
        return done;
    }

  private:
    struct Char {
        std::size_t offset;
        int width;
    };

    void Keep(std::size_t from) {
        std::vector<Char> kept;
        width_ = 0;
        for (const Char& c : chars_) {
            if (c.offset < from) continue;
            kept.push_back({c.offset - from, c.width});
            width_ += c.width;
        }
        chars_ = std::move(kept);
        text_.erase(0, from);
    }

    std::string text_;
    std::vector<Char> chars_;
    int width_ = 0;
};

}  // namespace

std::vector<std::string> WrapText(std::string_view text, int maxWidth,
                                  const std::function<int(std::string_view)>& width) {
    std::vector<std::string> lines;
    int asciiWidth[128];
    for (int& w : asciiWidth) w = -1;
    Line line;
    for (std::size_t i = 0; i <= text.size();) {
        if (i == text.size() || text[i] == '\n') {
            lines.push_back(line.TakeAll());
            ++i;
            continue;
        }
        // As many bytes as the first announces, valid or not, so no sequence is ever split.
        const std::size_t length =
            std::min(utf8::AnnouncedLength(static_cast<unsigned char>(text[i])), text.size() - i);
        const std::string_view c = text.substr(i, length);
        const auto lead = static_cast<unsigned char>(c[0]);
        int w = 0;
        if (lead < 128) {
            if (asciiWidth[lead] < 0) asciiWidth[lead] = width(c);
            w = asciiWidth[lead];
        } else {
            w = width(c);
        }
        i += length;
        if (c == " " && !line.Empty() && line.Width() + w > maxWidth) {
            lines.push_back(line.TakeAll());  // a space that ends a full line is its break
            continue;
        }
        while (!line.Empty() && line.Width() + w > maxWidth) lines.push_back(line.Break());
        line.Add(c, w);
    }
    return lines;
}
