#include "completion/CaretContext.h"

#include "common/TextCompare.h"
#include "completion/SqlTokens.h"
#include "driverinfo/IdentifiersModel.h"

#include <sqlext.h>

#include <algorithm>
#include <array>

namespace veltro {

namespace {

using Kind = CaretContext::Kind;

bool isName(const SqlToken& token) {
    return token.kind == TokenKind::word || token.kind == TokenKind::quotedName;
}

bool isOneOf(const std::string& word, std::initializer_list<std::string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

bool isKeyword(const std::string& upper) {
    const auto& keywords = odbcKeywords();
    // Words that end a table reference in the dialects in use beside the ODBC ones.
    return std::binary_search(keywords.begin(), keywords.end(), upper) ||
           isOneOf(upper, {"LIMIT", "OFFSET", "RETURNING", "WINDOW", "APPLY", "PIVOT"});
}

// The statement's tokens and the caret's place among them.
class Statement {
public:
    Statement(std::string_view text, std::vector<SqlToken> all, std::size_t caret)
        : text(text), tokens(std::move(all)) {
        std::size_t first = 0;
        std::size_t last = tokens.size();
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i].kind != TokenKind::semicolon) {
                continue;
            }
            if (tokens[i].end <= caret) {
                first = i + 1;
            } else {
                last = i;
                break;
            }
        }
        tokens = std::vector<SqlToken>(tokens.begin() + static_cast<std::ptrdiff_t>(first),
                                       tokens.begin() + static_cast<std::ptrdiff_t>(last));
        tokens.erase(std::remove_if(tokens.begin(), tokens.end(),
                                    [](const SqlToken& t) { return t.kind == TokenKind::comment; }),
                     tokens.end());
    }

    std::string upper(std::size_t i) const {
        return tokens[i].kind == TokenKind::word ? upperWord(text, tokens[i]) : std::string();
    }
    std::string name(std::size_t i) const { return bareName(text, tokens[i]); }

    // The tables named after FROM, JOIN, UPDATE and INTO, and after commas in a FROM list
    // (not those inside the parentheses of a join condition).
    std::vector<TableReference> tables() const {
        std::vector<TableReference> found;
        std::optional<int> fromDepth;
        int depth = 0;
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            depth += tokens[i].kind == TokenKind::open    ? 1
                     : tokens[i].kind == TokenKind::close ? -1
                                                          : 0;
            const std::string word = upper(i);
            const bool startsList = isOneOf(word, {"FROM", "JOIN", "UPDATE", "INTO"});
            const bool continuesList = fromDepth == depth && tokens[i].kind == TokenKind::comma;
            if (word == "FROM") {
                fromDepth = depth;
            } else if (isOneOf(word,
                               {"WHERE", "GROUP", "ORDER", "HAVING", "SELECT", "UNION", "EXCEPT",
                                "INTERSECT", "SET", "VALUES", "LIMIT", "RETURNING", "WINDOW"}) ||
                       (fromDepth && depth < *fromDepth)) {
                fromDepth.reset();
            }
            if (!startsList && !continuesList) {
                continue;
            }
            if (auto reference = referenceAt(i + 1)) {
                found.push_back(std::move(*reference));
            }
        }
        return found;
    }

    // The nearest word before token i that says which clause the caret is in.
    std::string clauseBefore(std::size_t i) const {
        int depth = 0;
        while (i-- > 0) {
            if (tokens[i].kind == TokenKind::close) {
                ++depth;
            } else if (tokens[i].kind == TokenKind::open && depth > 0) {
                --depth;
            }
            const std::string word = upper(i);
            if (depth == 0 &&
                isOneOf(word, {"SELECT", "FROM", "JOIN", "WHERE", "ON", "GROUP", "ORDER", "HAVING",
                               "SET", "VALUES", "INTO", "UPDATE", "USING"})) {
                return word;
            }
        }
        return {};
    }

    std::string_view text;
    std::vector<SqlToken> tokens;

private:
    std::optional<TableReference> referenceAt(std::size_t i) const {
        if (i >= tokens.size() || !isName(tokens[i]) ||
            (tokens[i].kind == TokenKind::word && isKeyword(upper(i)))) {
            return std::nullopt;
        }
        TableReference reference;
        reference.table = name(i);
        while (i + 2 < tokens.size() && tokens[i + 1].kind == TokenKind::dot &&
               isName(tokens[i + 2])) {
            reference.schema = reference.table;
            reference.table = name(i + 2);
            i += 2;
        }
        ++i;
        if (i < tokens.size() && upper(i) == "AS") {
            ++i;
        }
        if (i < tokens.size() && isName(tokens[i]) &&
            (tokens[i].kind == TokenKind::quotedName || !isKeyword(upper(i)))) {
            reference.alias = name(i);
        }
        return reference;
    }
};

TableReference resolve(const std::vector<std::string>& qualifier,
                       const std::vector<TableReference>& tables) {
    if (qualifier.size() >= 2) {
        return {qualifier[qualifier.size() - 2], qualifier.back(), {}};
    }
    for (const auto& byAlias : {true, false}) {
        for (const TableReference& reference : tables) {
            if (equalsNoCase(byAlias ? reference.alias : reference.table, qualifier.front())) {
                return reference;
            }
        }
    }
    return {{}, qualifier.front(), {}};
}

} // namespace

CaretContext caretContext(std::string_view text, std::size_t caret) {
    CaretContext context;
    caret = std::min(caret, text.size());
    context.replaceFrom = caret;
    std::vector<SqlToken> all = tokenizeSql(text);
    for (const SqlToken& token : all) {
        const bool inside =
            token.begin < caret &&
            (caret < token.end || (caret == token.end && (!token.closed || token.toLineEnd)));
        if (inside && (token.kind == TokenKind::string || token.kind == TokenKind::comment)) {
            return context;
        }
    }
    const Statement statement(text, std::move(all), caret);
    const auto& tokens = statement.tokens;
    // i: one past the last token that begins before the caret.
    std::size_t i = 0;
    while (i < tokens.size() && tokens[i].begin < caret) {
        ++i;
    }
    if (i > 0 && isName(tokens[i - 1]) && tokens[i - 1].end >= caret) {
        --i;
        SqlToken typed = tokens[i];
        typed.end = caret;
        typed.closed = tokens[i].closed && tokens[i].end == caret;
        context.prefix = bareName(text, typed);
        context.replaceFrom = typed.begin;
    }
    std::vector<std::string> qualifier;
    while (i >= 2 && tokens[i - 1].kind == TokenKind::dot && isName(tokens[i - 2])) {
        qualifier.insert(qualifier.begin(), statement.name(i - 2));
        i -= 2;
    }
    context.afterDot = !qualifier.empty() && context.prefix.empty();
    context.statementTables = statement.tables();
    const std::string previous = i > 0 ? statement.upper(i - 1) : std::string();
    const bool afterComma = i > 0 && tokens[i - 1].kind == TokenKind::comma;
    const std::string clause = statement.clauseBefore(i);
    if (isOneOf(previous, {"FROM", "JOIN", "INTO", "UPDATE", "TABLE"}) ||
        (afterComma && clause == "FROM")) {
        context.kind = Kind::tables;
        context.schema = qualifier.empty() ? std::string() : qualifier.back();
    } else if (isOneOf(previous, {"EXEC", "EXECUTE", "CALL"})) {
        context.kind = Kind::procedures;
    } else if (!qualifier.empty()) {
        context.kind = Kind::qualifiedColumns;
        context.columnsOf = resolve(qualifier, context.statementTables);
    } else if (isOneOf(clause, {"SELECT", "WHERE", "ON", "GROUP", "ORDER", "HAVING", "SET"})) {
        context.kind = Kind::statementColumns;
    } else {
        context.kind = Kind::keywords;
    }
    return context;
}

bool changesSchema(std::string_view batch) {
    const std::vector<SqlToken> tokens = tokenizeSql(batch);
    bool statementStart = true;
    for (const SqlToken& token : tokens) {
        if (token.kind == TokenKind::comment) {
            continue;
        }
        if (statementStart && token.kind == TokenKind::word &&
            isOneOf(upperWord(batch, token), {"CREATE", "ALTER", "DROP", "RENAME"})) {
            return true;
        }
        statementStart = token.kind == TokenKind::semicolon ||
                         (token.kind == TokenKind::word && upperWord(batch, token) == "GO");
    }
    return false;
}

const std::vector<std::string>& odbcKeywords() {
    static const std::vector<std::string> keywords = [] {
        std::vector<std::string> words = splitCommaList(SQL_ODBC_KEYWORDS);
        std::sort(words.begin(), words.end());
        return words;
    }();
    return keywords;
}

} // namespace veltro
