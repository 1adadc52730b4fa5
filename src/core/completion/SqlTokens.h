#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace veltro {

// A piece of SQL text as completion reads it: enough to tell names from strings and
// comments, and to find the statement around the caret.
enum class TokenKind {
    word,
    quotedName,
    string,
    comment,
    number,
    dot,
    comma,
    semicolon,
    open,
    close,
    other
};

struct SqlToken {
    TokenKind kind = TokenKind::other;
    std::size_t begin = 0;
    std::size_t end = 0;
    // A quote or block comment that the text ends inside of.
    bool closed = true;
    // A "--" comment: it runs to the end of its line, so a caret at its end is still in it.
    bool toLineEnd = false;
};

// Whether a byte may stand inside an unquoted name (any byte of a UTF-8 sequence may).
bool continuesWord(char c);

// The tokens of a text, blanks left out. Strings and quoted names ("..", [..], `..`) take
// doubled closing quotes as part of them.
std::vector<SqlToken> tokenizeSql(std::string_view text);

// A word or quoted name as the catalog knows it: quotes removed, doubled quotes single.
std::string bareName(std::string_view text, const SqlToken& token);

// The word in upper case, for comparing with keywords.
std::string upperWord(std::string_view text, const SqlToken& token);

} // namespace veltro
