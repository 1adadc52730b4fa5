#include "session/StatementSplitter.h"

#include <algorithm>
#include <string_view>

namespace veltro {

namespace {

constexpr std::size_t none = std::string_view::npos;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isLetter(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == '_' || b >= 0x80;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Words take in '$' as PostgreSQL identifiers do, so "a$$" is no dollar quote.
bool isWordByte(char c) {
    return isLetter(c) || isDigit(c) || c == '$';
}

bool isKeyword(std::string_view token, std::string_view upperWord) {
    return token.size() == upperWord.size() &&
           std::equal(token.begin(), token.end(), upperWord.begin(), [](char a, char b) {
               return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
           });
}

// Where a statement's first words say it is: only CREATE [TEMP|TEMPORARY] TRIGGER matters.
enum class Lead { first, afterCreate, afterTemp, done };

// Inside a trigger: a body runs from BEGIN to an END that follows a semicolon, and its
// semicolons end no statement. A trigger without BEGIN (PostgreSQL's) ends as any other.
enum class Trigger { none, header, body, afterSemicolon, afterEnd };

class Splitter {
public:
    explicit Splitter(std::string_view batch) : text(batch) {}

    std::vector<SqlStatement> run() const {
        std::vector<SqlStatement> statements;
        std::size_t pos = 0;
        for (;;) {
            pos = skipBlanksAndComments(pos);
            if (pos >= text.size()) {
                return statements;
            }
            if (text[pos] == ';') {
                ++pos;
                continue;
            }
            const std::size_t start = pos;
            const std::size_t end = scanStatement(pos);
            statements.push_back({start, end - start});
        }
    }

private:
    // From the first token of a statement to the semicolon or end that ends it; returns the
    // end of its last token.
    std::size_t scanStatement(std::size_t& pos) const {
        Lead lead = Lead::first;
        Trigger trigger = Trigger::none;
        std::size_t end = pos;
        for (;;) {
            pos = skipBlanksAndComments(pos);
            if (pos >= text.size()) {
                return end;
            }
            if (text[pos] == ';') {
                if (trigger != Trigger::body && trigger != Trigger::afterSemicolon) {
                    return end;
                }
                trigger = Trigger::afterSemicolon;
                end = ++pos;
                continue;
            }
            const std::size_t tokenEnd = skipToken(pos);
            const std::string_view token = text.substr(pos, tokenEnd - pos);
            if (lead != Lead::done) {
                lead = nextLead(lead, token, trigger);
            } else if (trigger != Trigger::none) {
                trigger = nextTrigger(trigger, token);
            }
            pos = end = tokenEnd;
        }
    }

    static Lead nextLead(Lead lead, std::string_view token, Trigger& trigger) {
        if (lead == Lead::first) {
            return isKeyword(token, "CREATE") ? Lead::afterCreate : Lead::done;
        }
        if (lead == Lead::afterCreate &&
            (isKeyword(token, "TEMP") || isKeyword(token, "TEMPORARY"))) {
            return Lead::afterTemp;
        }
        if (isKeyword(token, "TRIGGER")) {
            trigger = Trigger::header;
        }
        return Lead::done;
    }

    // The state after a token other than a semicolon, inside a trigger.
    static Trigger nextTrigger(Trigger trigger, std::string_view token) {
        if (trigger == Trigger::header) {
            return isKeyword(token, "BEGIN") ? Trigger::body : Trigger::header;
        }
        if (trigger == Trigger::afterSemicolon && isKeyword(token, "END")) {
            return Trigger::afterEnd;
        }
        return Trigger::body;
    }

    std::size_t skipBlanksAndComments(std::size_t pos) const {
        while (pos < text.size()) {
            const char c = text[pos];
            const char next = pos + 1 < text.size() ? text[pos + 1] : '\0';
            if (isBlank(c)) {
                ++pos;
            } else if (c == '-' && next == '-') {
                const std::size_t lineEnd = text.find('\n', pos + 2);
                pos = lineEnd == none ? text.size() : lineEnd + 1;
            } else if (c == '/' && next == '*') {
                pos = skipBlockComment(pos);
            } else {
                break;
            }
        }
        return pos;
    }

    // A token at pos, which holds no blank, comment or semicolon.
    std::size_t skipToken(std::size_t pos) const {
        const char c = text[pos];
        switch (c) {
        case '\'':
        case '"':
        case '`':
            return skipQuoted(pos, c);
        case '[':
            return skipQuoted(pos, ']');
        case '$':
            if (const std::size_t end = skipDollarQuote(pos); end != none) {
                return end;
            }
            break;
        default:
            break;
        }
        if (!isWordByte(c)) {
            return pos + 1;
        }
        while (pos < text.size() && isWordByte(text[pos])) {
            ++pos;
        }
        return pos;
    }

    // A closing quote written twice stands for itself.
    std::size_t skipQuoted(std::size_t pos, char close) const {
        std::size_t i = pos + 1;
        for (;;) {
            i = text.find(close, i);
            if (i == none) {
                return text.size();
            }
            if (i + 1 < text.size() && text[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
    }

    std::size_t skipBlockComment(std::size_t pos) const {
        int depth = 1;
        std::size_t i = pos + 2;
        for (;;) {
            i = text.find_first_of("/*", i);
            if (i == none || i + 1 >= text.size()) {
                return text.size();
            }
            if (text[i] == '*' && text[i + 1] == '/') {
                i += 2;
                if (--depth == 0) {
                    return i;
                }
            } else if (text[i] == '/' && text[i + 1] == '*') {
                i += 2;
                ++depth;
            } else {
                ++i;
            }
        }
    }

    // $$ or $tag$ at pos: the end of the text it quotes, up to the same mark; none when pos
    // holds no such mark (a parameter such as $1, say).
    std::size_t skipDollarQuote(std::size_t pos) const {
        std::size_t i = pos + 1;
        if (i < text.size() && isLetter(text[i])) {
            while (i < text.size() && (isLetter(text[i]) || isDigit(text[i]))) {
                ++i;
            }
        }
        if (i >= text.size() || text[i] != '$') {
            return none;
        }
        const std::string_view mark = text.substr(pos, i + 1 - pos);
        const std::size_t close = text.find(mark, i + 1);
        return close == none ? text.size() : close + mark.size();
    }

    std::string_view text;
};

} // namespace

std::vector<SqlStatement> splitStatements(std::string_view batch) {
    return Splitter(batch).run();
}

int lineAtOffset(std::string_view text, std::size_t offset) {
    const std::size_t end = std::min(offset, text.size());
    int line = 1;
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++line;
        }
    }
    return line;
}

} // namespace veltro
