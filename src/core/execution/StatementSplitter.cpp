#include "execution/StatementSplitter.h"

#include "common/TextCompare.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace veltro {

namespace {

constexpr std::size_t none = std::string_view::npos;

// What each dialect's client knows of the text between statements and inside them.
struct Rules {
    bool nestedComments = false;
    bool crEndsLineComment = false;
    bool dashCommentNeedsBlank = false;
    bool hashComments = false;
    // "/*! .. */" is text the server runs, never a comment.
    bool executableComments = false;
    bool backslashEscapes = false;
    bool escapeStrings = false;
    bool dollarQuotes = false;
    bool brackets = false;
    bool backquotes = false;
    bool delimiterDirective = false;
    // psql's \restrict and \unrestrict lines, which pg_dump writes around a dump.
    bool dumpGuards = false;
    // CREATE TRIGGER .. BEGIN .. ; END
    bool triggerBodies = false;
    // CREATE FUNCTION|PROCEDURE .. BEGIN ATOMIC .. ; END, and semicolons inside parentheses.
    bool routineBodies = false;
};

Rules rulesOf(SqlDialect dialect) {
    Rules rules;
    switch (dialect) {
    case SqlDialect::postgres:
        rules.nestedComments = true;
        rules.crEndsLineComment = true;
        rules.escapeStrings = true;
        rules.dollarQuotes = true;
        rules.routineBodies = true;
        rules.dumpGuards = true;
        break;
    case SqlDialect::mysql:
        rules.dashCommentNeedsBlank = true;
        rules.hashComments = true;
        rules.executableComments = true;
        rules.backslashEscapes = true;
        rules.backquotes = true;
        rules.delimiterDirective = true;
        break;
    case SqlDialect::sqlite:
        rules.brackets = true;
        rules.backquotes = true;
        rules.triggerBodies = true;
        break;
    case SqlDialect::portable:
        break;
    }
    return rules;
}

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

// Words take in '$' as PostgreSQL and MySQL identifiers do, so "a$$" is no dollar quote.
bool isWordByte(char c) {
    return isLetter(c) || isDigit(c) || c == '$';
}

bool isKeyword(std::string_view token, std::string_view upperWord) {
    return equalsNoCase(token, upperWord);
}

// The shape of one statement as its tokens come: whether a semicolon ends it or lies inside
// a body or parentheses.
class StatementShape {
public:
    explicit StatementShape(const Rules& dialectRules) : rules(dialectRules) {}

    bool semicolonEnds() const {
        return trigger != Trigger::body && trigger != Trigger::afterSemicolon && depth == 0 &&
               parentheses == 0;
    }

    void take(std::string_view token) {
        if (leadCount < lead.size()) {
            lead[leadCount++] = token;
            classify();
        }
        if (rules.triggerBodies) {
            trigger = nextTrigger(token);
        }
        if (rules.routineBodies) {
            countRoutine(token);
        }
    }

private:
    // Inside a trigger: a body runs from BEGIN to an END that follows a semicolon, and its
    // semicolons end no statement. A trigger without BEGIN (PostgreSQL's) ends as any other.
    enum class Trigger { none, started, header, body, afterSemicolon, afterEnd };

    // CREATE [TEMP|TEMPORARY] TRIGGER; CREATE [OR REPLACE] FUNCTION|PROCEDURE.
    void classify() {
        if (!isKeyword(lead[0], "CREATE")) {
            return;
        }
        const std::size_t last = leadCount - 1;
        const std::string_view word = lead[last];
        const bool temp =
            last == 2 && (isKeyword(lead[1], "TEMP") || isKeyword(lead[1], "TEMPORARY"));
        if (rules.triggerBodies && (last == 1 || temp) && isKeyword(word, "TRIGGER")) {
            trigger = Trigger::started;
        }
        const bool orReplace =
            last == 3 && isKeyword(lead[1], "OR") && isKeyword(lead[2], "REPLACE");
        if ((last == 1 || orReplace) &&
            (isKeyword(word, "FUNCTION") || isKeyword(word, "PROCEDURE"))) {
            routine = true;
        }
    }

    Trigger nextTrigger(std::string_view token) const {
        switch (trigger) {
        case Trigger::none:
            return Trigger::none;
        case Trigger::started:
            return Trigger::header;
        case Trigger::header:
            return isKeyword(token, "BEGIN") ? Trigger::body : Trigger::header;
        default:
            if (token == ";") {
                return Trigger::afterSemicolon;
            }
            return trigger == Trigger::afterSemicolon && isKeyword(token, "END") ? Trigger::afterEnd
                                                                                 : Trigger::body;
        }
    }

    // As psql counts: BEGIN opens a body, CASE inside one also ends with END.
    void countRoutine(std::string_view token) {
        if (token == "(") {
            ++parentheses;
        } else if (token == ")") {
            parentheses = std::max(parentheses - 1, 0);
        } else if (routine && parentheses == 0) {
            if (isKeyword(token, "BEGIN") || (depth > 0 && isKeyword(token, "CASE"))) {
                ++depth;
            } else if (isKeyword(token, "END") && depth > 0) {
                --depth;
            }
        }
    }

    const Rules& rules;
    std::array<std::string_view, 4> lead;
    std::size_t leadCount = 0;
    Trigger trigger = Trigger::none;
    bool routine = false;
    int depth = 0;
    int parentheses = 0;
};

class Splitter {
public:
    Splitter(std::string_view batch, SqlDialect dialect) : text(batch), rules(rulesOf(dialect)) {}

    std::vector<SqlStatement> run() {
        std::vector<SqlStatement> statements;
        std::size_t pos = 0;
        for (;;) {
            pos = skipBlanksAndComments(pos);
            if (pos >= text.size()) {
                return statements;
            }
            if (atDelimiter(pos)) {
                pos += delimiter.size();
                continue;
            }
            if (const std::size_t end = skipClientCommand(pos); end != none) {
                pos = end;
                continue;
            }
            const std::size_t start = pos;
            const std::size_t end = scanStatement(pos);
            statements.push_back({start, end - start});
        }
    }

private:
    // From the first token of a statement to the delimiter or end that ends it; returns the
    // end of its last token.
    std::size_t scanStatement(std::size_t& pos) const {
        StatementShape shape(rules);
        std::size_t end = pos;
        for (;;) {
            pos = skipBlanksAndComments(pos);
            if (pos >= text.size() || (atDelimiter(pos) && shape.semicolonEnds())) {
                return end;
            }
            const std::size_t tokenEnd = skipToken(pos);
            shape.take(text.substr(pos, tokenEnd - pos));
            pos = end = tokenEnd;
        }
    }

    bool atDelimiter(std::size_t pos) const { return text.substr(pos).starts_with(delimiter); }

    // A command of the dialect's client at a statement's start, which the server never gets.
    // Where it ends, or none.
    std::size_t skipClientCommand(std::size_t pos) {
        if (rules.delimiterDirective) {
            // The sandbox command that mariadb-dump writes first is hidden from older clients
            // in a comment for a server version that never comes.
            if (text.substr(pos).starts_with("/*M!999999\\-")) {
                return skipBlockComment(pos);
            }
            return readDelimiterDirective(pos);
        }
        return rules.dumpGuards ? skipDumpGuard(pos) : none;
    }

    // "\restrict KEY" or "\unrestrict KEY" up to the end of its line. They shut off and on
    // psql's own backslash commands, which no statement here is; any other backslash command
    // reaches the server, which names it.
    std::size_t skipDumpGuard(std::size_t pos) const {
        for (const std::string_view command : {"\\restrict", "\\unrestrict"}) {
            std::size_t i = pos + command.size();
            if (!text.substr(pos).starts_with(command) || i >= text.size() ||
                (text[i] != ' ' && text[i] != '\t')) {
                continue;
            }
            const std::size_t lineEnd = std::min(text.find_first_of("\r\n", i), text.size());
            while (i < lineEnd && isBlank(text[i])) {
                ++i;
            }
            return i < lineEnd ? lineEnd : none;
        }
        return none;
    }

    // "DELIMITER x" at a statement's start, as the mysql client reads it: the rest of the line
    // is the directive's, and x (quoted or up to a blank) ends statements from then on. The
    // end of the line, or none when pos holds no such directive.
    std::size_t readDelimiterDirective(std::size_t pos) {
        constexpr std::string_view word = "DELIMITER";
        std::size_t i = pos + word.size();
        if (!startsWithNoCase(text.substr(pos), word) || i >= text.size() ||
            (text[i] != ' ' && text[i] != '\t')) {
            return none;
        }
        const std::size_t lineEnd = std::min(text.find_first_of("\r\n", i), text.size());
        while (i < lineEnd && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
        std::size_t argumentEnd = i;
        std::string_view argument;
        if (i < lineEnd && (text[i] == '\'' || text[i] == '"' || text[i] == '`')) {
            argumentEnd = text.find(text[i], i + 1);
            if (argumentEnd >= lineEnd) {
                return none;
            }
            argument = text.substr(i + 1, argumentEnd - i - 1);
        } else {
            while (argumentEnd < lineEnd && !isBlank(text[argumentEnd])) {
                ++argumentEnd;
            }
            argument = text.substr(i, argumentEnd - i);
        }
        // The client refuses these; the server then names the line.
        if (argument.empty() || argument.find('\\') != none) {
            return none;
        }
        delimiter = argument;
        return lineEnd;
    }

    bool startsLineComment(std::size_t pos) const {
        const char c = text[pos];
        if (c == '#') {
            return rules.hashComments;
        }
        if (c != '-' || pos + 1 >= text.size() || text[pos + 1] != '-') {
            return false;
        }
        return !rules.dashCommentNeedsBlank ||
               (pos + 2 < text.size() && static_cast<unsigned char>(text[pos + 2]) <= ' ');
    }

    bool startsBlockComment(std::size_t pos) const {
        return text.substr(pos).starts_with("/*") &&
               !(rules.executableComments &&
                 (text.substr(pos).starts_with("/*!") || text.substr(pos).starts_with("/*M!")));
    }

    // Up to the next token; an unclosed block comment is one, so that it reaches the DBMS.
    std::size_t skipBlanksAndComments(std::size_t pos) const {
        while (pos < text.size()) {
            if (isBlank(text[pos])) {
                ++pos;
            } else if (startsLineComment(pos)) {
                const std::size_t lineEnd =
                    text.find_first_of(rules.crEndsLineComment ? "\n\r" : "\n", pos + 1);
                pos = lineEnd == none ? text.size() : lineEnd + 1;
            } else if (startsBlockComment(pos)) {
                const std::size_t end = skipBlockComment(pos);
                if (end == none) {
                    break;
                }
                pos = end;
            } else {
                break;
            }
        }
        return pos;
    }

    // A token at pos, which holds no blank or closed comment.
    std::size_t skipToken(std::size_t pos) const {
        const char c = text[pos];
        switch (c) {
        case '\'':
        case '"':
            return skipQuoted(pos, c, rules.backslashEscapes);
        case '`':
            if (rules.backquotes) {
                return skipQuoted(pos, c, false);
            }
            break;
        case '[':
            if (rules.brackets) {
                return skipQuoted(pos, ']', false);
            }
            break;
        case '$':
            if (rules.dollarQuotes) {
                if (const std::size_t end = skipDollarQuote(pos); end != none) {
                    return end;
                }
            }
            break;
        case '/':
            if (text.substr(pos).starts_with("/*")) {
                const std::size_t end = skipBlockComment(pos);
                return end == none ? text.size() : end;
            }
            break;
        default:
            break;
        }
        if (!isWordByte(c)) {
            return pos + 1;
        }
        const std::size_t start = pos;
        // A delimiter such as $$ may follow a word at once, as in END$$.
        while (pos < text.size() && isWordByte(text[pos]) && (pos == start || !atDelimiter(pos))) {
            ++pos;
        }
        if (rules.escapeStrings && pos == start + 1 && (c == 'E' || c == 'e') &&
            pos < text.size() && text[pos] == '\'') {
            return skipQuoted(pos, '\'', true);
        }
        return pos;
    }

    // A closing quote written twice stands for itself, as does any byte after a backslash
    // where backslashes escape.
    std::size_t skipQuoted(std::size_t pos, char close, bool backslashes) const {
        const char stops[] = {close, backslashes ? '\\' : close, '\0'};
        std::size_t i = pos + 1;
        for (;;) {
            i = text.find_first_of(stops, i);
            if (i == none) {
                return text.size();
            }
            if (text[i] == close && (i + 1 >= text.size() || text[i + 1] != close)) {
                return i + 1;
            }
            i += 2;
        }
    }

    // The end of the comment at pos, or none when it is not closed.
    std::size_t skipBlockComment(std::size_t pos) const {
        int depth = 1;
        std::size_t i = pos + 2;
        for (;;) {
            i = text.find_first_of("/*", i);
            if (i == none || i + 1 >= text.size()) {
                return none;
            }
            if (text[i] == '*' && text[i + 1] == '/') {
                i += 2;
                if (--depth == 0) {
                    return i;
                }
            } else if (rules.nestedComments && text[i] == '/' && text[i + 1] == '*') {
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
    Rules rules;
    std::string delimiter = ";";
};

} // namespace

std::vector<SqlStatement> splitStatements(std::string_view batch, SqlDialect dialect) {
    return Splitter(batch, dialect).run();
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
