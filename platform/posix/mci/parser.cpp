// The command-string grammar: tokens separated by any white space, an element or alias either
// bare or in double quotes, keywords in any letter case.
#include "platform/posix/mci/parser.h"

#include <optional>
#include <vector>

#include "platform/mci.h"

namespace mci::posix {
namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Splits the command into tokens. A double quote may only open a token and, at its end, close
// it: a quote inside a word, or a closing quote with text glued to it, is an error, so a path
// that itself contains a double quote can never be read as some other path.
std::uint32_t Tokenize(std::string_view text, std::vector<Token>& tokens) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsSpace(text[i])) {
            ++i;
            continue;
        }
        Token token;
        if (text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos) return MCIERR_NO_CLOSING_QUOTE;
            token.text = std::string(text.substr(i + 1, close - i - 1));
            token.quoted = true;
            i = close + 1;
            if (i < text.size() && !IsSpace(text[i])) return MCIERR_EXTRA_CHARACTERS;
        } else {
            const std::size_t start = i;
            while (i < text.size() && !IsSpace(text[i])) {
                if (text[i] == '"') return MCIERR_EXTRA_CHARACTERS;
                ++i;
            }
            token.text = std::string(text.substr(start, i - start));
        }
        tokens.push_back(std::move(token));
    }
    return 0;
}

// Walks the tokens after the device name.
class Cursor {
  public:
    explicit Cursor(const std::vector<Token>& tokens) : tokens_(tokens) {}
    bool AtEnd() const { return next_ >= tokens_.size(); }
    const Token& Take() { return tokens_[next_++]; }

  private:
    const std::vector<Token>& tokens_;
    std::size_t next_ = 2;
};

bool IsKeyword(const Token& token, std::string_view word) {
    return !token.quoted && SameWord(token.text, word);
}

// Milliseconds as a 32-bit unsigned decimal number, digits only.
std::uint32_t ToNumber(const std::string& text, std::uint32_t& value) {
    if (text.empty()) return MCIERR_BAD_INTEGER;
    std::uint64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return MCIERR_BAD_INTEGER;
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
        if (number > 0xFFFFFFFFu) return MCIERR_BAD_INTEGER;
    }
    value = static_cast<std::uint32_t>(number);
    return 0;
}

std::uint32_t ReadNumber(Cursor& cursor, std::uint32_t& value) {
    if (cursor.AtEnd()) return MCIERR_MISSING_PARAMETER;
    return ToNumber(cursor.Take().text, value);
}

std::optional<Verb> VerbOf(const Token& token) {
    static constexpr struct {
        std::string_view word;
        Verb verb;
    } verbs[] = {{"open", Verb::Open},   {"close", Verb::Close},   {"set", Verb::Set},
                 {"seek", Verb::Seek},   {"status", Verb::Status}, {"play", Verb::Play},
                 {"pause", Verb::Pause}, {"resume", Verb::Resume}, {"stop", Verb::Stop}};
    for (const auto& entry : verbs) {
        if (IsKeyword(token, entry.word)) return entry.verb;
    }
    return std::nullopt;
}

// Each Parse* reads the keywords of one verb; "wait" and "notify" are read by the caller.
std::uint32_t ParseOpen(const Token& keyword, Cursor& cursor, Command& command, bool& typeSeen) {
    if (IsKeyword(keyword, "alias")) {
        if (!command.alias.empty()) return MCIERR_DUPLICATE_FLAGS;
        if (cursor.AtEnd()) return MCIERR_MISSING_STRING_ARGUMENT;
        command.alias = cursor.Take().text;
        if (command.alias.empty()) return MCIERR_MISSING_STRING_ARGUMENT;
        if (SameWord(command.alias, "all")) return MCIERR_CANNOT_USE_ALL;
        return 0;
    }
    if (IsKeyword(keyword, "type")) {
        if (typeSeen) return MCIERR_DUPLICATE_FLAGS;
        typeSeen = true;
        if (cursor.AtEnd()) return MCIERR_MISSING_STRING_ARGUMENT;
        // The one device type there is; MCI would pick it for .mp3 files anyway.
        return SameWord(cursor.Take().text, "mpegvideo") ? 0 : MCIERR_INVALID_DEVICE_NAME;
    }
    if (IsKeyword(keyword, "shareable")) return 0;
    return MCIERR_UNRECOGNIZED_KEYWORD;
}

std::uint32_t ParseSet(const Token& keyword, Cursor& cursor, bool& formatSeen) {
    if (!IsKeyword(keyword, "time")) return MCIERR_UNRECOGNIZED_KEYWORD;
    if (formatSeen) return MCIERR_DUPLICATE_FLAGS;
    formatSeen = true;
    if (cursor.AtEnd() || !IsKeyword(cursor.Take(), "format")) return MCIERR_UNRECOGNIZED_KEYWORD;
    if (cursor.AtEnd()) return MCIERR_MISSING_PARAMETER;
    const Token& format = cursor.Take();
    if (IsKeyword(format, "ms") || IsKeyword(format, "milliseconds")) return 0;
    return MCIERR_BAD_TIME_FORMAT;
}

std::uint32_t ParseSeek(const Token& keyword, Cursor& cursor, Command& command, bool& toSeen) {
    if (!IsKeyword(keyword, "to")) return MCIERR_UNRECOGNIZED_KEYWORD;
    if (toSeen) return MCIERR_DUPLICATE_FLAGS;
    toSeen = true;
    if (cursor.AtEnd()) return MCIERR_MISSING_PARAMETER;
    const Token& target = cursor.Take();
    if (IsKeyword(target, "start")) {
        command.seekTarget = SeekTarget::Start;
        return 0;
    }
    if (IsKeyword(target, "end")) {
        command.seekTarget = SeekTarget::End;
        return 0;
    }
    command.seekTarget = SeekTarget::Position;
    return ToNumber(target.text, command.seekMs);
}

std::uint32_t ParseStatus(const Token& keyword, Command& command, bool& itemSeen) {
    static constexpr struct {
        std::string_view word;
        StatusItem item;
    } items[] = {{"position", StatusItem::Position},
                 {"length", StatusItem::Length},
                 {"mode", StatusItem::Mode},
                 {"ready", StatusItem::Ready}};
    for (const auto& entry : items) {
        if (IsKeyword(keyword, entry.word)) {
            if (itemSeen) return MCIERR_FLAGS_NOT_COMPATIBLE;
            itemSeen = true;
            command.statusItem = entry.item;
            return 0;
        }
    }
    return MCIERR_UNRECOGNIZED_KEYWORD;
}

std::uint32_t ParsePlay(const Token& keyword, Cursor& cursor, Command& command) {
    const bool from = IsKeyword(keyword, "from");
    if (!from && !IsKeyword(keyword, "to")) return MCIERR_UNRECOGNIZED_KEYWORD;
    bool& seen = from ? command.hasFrom : command.hasTo;
    if (seen) return MCIERR_DUPLICATE_FLAGS;
    seen = true;
    return ReadNumber(cursor, from ? command.fromMs : command.toMs);
}

}  // namespace

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

ParseResult ParseCommand(std::string_view text) {
    ParseResult result;
    std::vector<Token> tokens;
    if ((result.error = Tokenize(text, tokens)) != 0) return result;
    if (tokens.empty()) {
        result.error = MCIERR_MISSING_COMMAND_STRING;
        return result;
    }
    const std::optional<Verb> verb = VerbOf(tokens[0]);
    if (!verb) {
        result.error = MCIERR_UNRECOGNIZED_COMMAND;
        return result;
    }
    Command& command = result.command;
    command.verb = *verb;
    if (tokens.size() < 2 || tokens[1].text.empty()) {
        result.error = MCIERR_MISSING_DEVICE_NAME;
        return result;
    }
    command.device = tokens[1].text;
    if (command.verb != Verb::Open && command.verb != Verb::Close && !tokens[1].quoted &&
        SameWord(command.device, "all")) {
        result.error = MCIERR_CANNOT_USE_ALL;
        return result;
    }

    bool typeSeen = false, formatSeen = false, toSeen = false, itemSeen = false;
    Cursor cursor(tokens);
    std::uint32_t error = 0;
    while (error == 0 && !cursor.AtEnd()) {
        const Token& keyword = cursor.Take();
        if (IsKeyword(keyword, "wait") || IsKeyword(keyword, "notify")) {
            bool& flag = IsKeyword(keyword, "wait") ? command.wait : command.notify;
            error = flag ? MCIERR_DUPLICATE_FLAGS : 0;
            flag = true;
            continue;
        }
        switch (command.verb) {
            case Verb::Open:
                error = ParseOpen(keyword, cursor, command, typeSeen);
                break;
            case Verb::Set:
                error = ParseSet(keyword, cursor, formatSeen);
                break;
            case Verb::Seek:
                error = ParseSeek(keyword, cursor, command, toSeen);
                break;
            case Verb::Status:
                error = ParseStatus(keyword, command, itemSeen);
                break;
            case Verb::Play:
                error = ParsePlay(keyword, cursor, command);
                break;
            default:
                error = MCIERR_UNRECOGNIZED_KEYWORD;
                break;
        }
    }
    if (error == 0) {
        const bool missing = (command.verb == Verb::Set && !formatSeen) ||
                             (command.verb == Verb::Seek && !toSeen) ||
                             (command.verb == Verb::Status && !itemSeen);
        if (missing) error = MCIERR_MISSING_PARAMETER;
    }
    result.error = error;
    return result;
}

}  // namespace mci::posix
