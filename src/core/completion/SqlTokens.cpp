#include "completion/SqlTokens.h"

#include <cctype>

namespace veltro {

namespace {

bool startsWord(char c) {
    const auto b = static_cast<unsigned char>(c);
    return std::isalpha(b) != 0 || c == '_' || c == '@' || c == '#' || b >= 0x80;
}

char closingQuote(char open) {
    switch (open) {
    case '[':
        return ']';
    default:
        return open;
    }
}

// Past the closing quote, a doubled one being part of the text; text.size() when unclosed.
std::size_t quoteEnd(std::string_view text, std::size_t from, char close, bool& closed) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] != close) {
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == close) {
            ++i;
            continue;
        }
        closed = true;
        return i + 1;
    }
    closed = false;
    return text.size();
}

TokenKind punctuation(char c) {
    switch (c) {
    case '.':
        return TokenKind::dot;
    case ',':
        return TokenKind::comma;
    case ';':
        return TokenKind::semicolon;
    case '(':
        return TokenKind::open;
    case ')':
        return TokenKind::close;
    default:
        return TokenKind::other;
    }
}

} // namespace

bool continuesWord(char c) {
    return startsWord(c) || std::isdigit(static_cast<unsigned char>(c)) != 0 || c == '$';
}

std::vector<SqlToken> tokenizeSql(std::string_view text) {
    std::vector<SqlToken> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            ++i;
            continue;
        }
        SqlToken token;
        token.begin = i;
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c == '-' && next == '-') {
            token.kind = TokenKind::comment;
            token.toLineEnd = true;
            const std::size_t lineEnd = text.find_first_of("\r\n", i);
            token.end = lineEnd == std::string_view::npos ? text.size() : lineEnd;
        } else if (c == '/' && next == '*') {
            token.kind = TokenKind::comment;
            const std::size_t close = text.find("*/", i + 2);
            token.closed = close != std::string_view::npos;
            token.end = token.closed ? close + 2 : text.size();
        } else if (c == '\'') {
            token.kind = TokenKind::string;
            token.end = quoteEnd(text, i + 1, '\'', token.closed);
        } else if (c == '"' || c == '[' || c == '`') {
            token.kind = TokenKind::quotedName;
            token.end = quoteEnd(text, i + 1, closingQuote(c), token.closed);
        } else if (startsWord(c)) {
            token.kind = TokenKind::word;
            token.end = i + 1;
            while (token.end < text.size() && continuesWord(text[token.end])) {
                ++token.end;
            }
        } else if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            token.kind = TokenKind::number;
            token.end = i + 1;
            while (token.end < text.size() &&
                   (continuesWord(text[token.end]) || text[token.end] == '.')) {
                ++token.end;
            }
        } else {
            token.kind = punctuation(c);
            token.end = i + 1;
        }
        tokens.push_back(token);
        i = token.end;
    }
    return tokens;
}

std::string bareName(std::string_view text, const SqlToken& token) {
    const std::string_view whole = text.substr(token.begin, token.end - token.begin);
    if (token.kind != TokenKind::quotedName || whole.empty()) {
        return std::string(whole);
    }
    const char close = closingQuote(whole.front());
    std::string_view inner = whole.substr(1);
    if (token.closed && !inner.empty()) {
        inner.remove_suffix(1);
    }
    std::string name;
    for (std::size_t i = 0; i < inner.size(); ++i) {
        name += inner[i];
        if (inner[i] == close && i + 1 < inner.size() && inner[i + 1] == close) {
            ++i;
        }
    }
    return name;
}

std::string upperWord(std::string_view text, const SqlToken& token) {
    std::string word(text.substr(token.begin, token.end - token.begin));
    for (char& c : word) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return word;
}

} // namespace veltro
