// Splitting a script into statements for drivers that take one statement at a time.
#include "session/StatementSplitter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace veltro {
namespace {

struct Expected {
    std::string text;
    int line;
};

std::vector<Expected> split(const std::string& script) {
    std::vector<Expected> found;
    for (const SqlStatement& s : splitStatements(script)) {
        found.push_back({script.substr(s.offset, s.length), lineAtOffset(script, s.offset)});
    }
    return found;
}

bool operator==(const Expected& a, const Expected& b) {
    return a.text == b.text && a.line == b.line;
}

void PrintTo(const Expected& e, std::ostream* os) {
    *os << "{\"" << e.text << "\", line " << e.line << "}";
}

TEST(StatementSplitter, SplitsOnlyAtSemicolonsOutsideEveryConstruct) {
    struct Case {
        const char* name;
        std::string script;
        std::vector<Expected> statements;
    };
    const std::vector<Case> cases{
        {"plain, blanks and empty statements dropped",
         " SELECT 1 ;;\n\tSELECT 2;\n ; \n",
         {{"SELECT 1", 1}, {"SELECT 2", 2}}},
        {"no final semicolon", "SELECT 1;\nSELECT 2", {{"SELECT 1", 1}, {"SELECT 2", 2}}},
        {"strings with ; and doubled quotes",
         "INSERT INTO t VALUES ('a;b', 'it''s;');SELECT \"x;\"\"y\" FROM t",
         {{"INSERT INTO t VALUES ('a;b', 'it''s;')", 1}, {"SELECT \"x;\"\"y\" FROM t", 1}}},
        {"bracketed and backquoted identifiers",
         "SELECT [a]];b] FROM t; SELECT `c;``d` FROM u",
         {{"SELECT [a]];b] FROM t", 1}, {"SELECT `c;``d` FROM u", 1}}},
        {"comments: line, block, nested, and statements of comments alone dropped",
         "-- lead; in\nSELECT 1 -- tail;\n; /* a; /* b; */ c; */ SELECT 2 /* x; */ + 3;\n"
         "/* only; */ -- comment\n;",
         {{"SELECT 1", 2}, {"SELECT 2 /* x; */ + 3", 3}}},
        {"dollar quotes, with and without tags",
         "CREATE FUNCTION f() RETURNS int AS $$ SELECT 1; $$ LANGUAGE sql;\n"
         "DO $body$ BEGIN RAISE NOTICE '$$;'; END $body$; SELECT $1, a$$b",
         {{"CREATE FUNCTION f() RETURNS int AS $$ SELECT 1; $$ LANGUAGE sql", 1},
          {"DO $body$ BEGIN RAISE NOTICE '$$;'; END $body$", 2},
          {"SELECT $1, a$$b", 2}}},
        {"trigger body with semicolons, CASE .. END and comments inside",
         "CREATE TEMP TRIGGER IF NOT EXISTS trg AFTER INSERT ON t BEGIN\n"
         "  UPDATE t SET a = CASE WHEN new.a > 0 THEN 1 ELSE 2 END;\n"
         "  INSERT INTO log VALUES ('x;'); -- done;\n"
         "end\n;\nSELECT 1",
         {{"CREATE TEMP TRIGGER IF NOT EXISTS trg AFTER INSERT ON t BEGIN\n"
           "  UPDATE t SET a = CASE WHEN new.a > 0 THEN 1 ELSE 2 END;\n"
           "  INSERT INTO log VALUES ('x;'); -- done;\n"
           "end",
           1},
          {"SELECT 1", 6}}},
        {"a trigger without BEGIN, and BEGIN outside a trigger",
         "CREATE TRIGGER t BEFORE UPDATE ON x FOR EACH ROW EXECUTE FUNCTION f(); BEGIN; END",
         {{"CREATE TRIGGER t BEFORE UPDATE ON x FOR EACH ROW EXECUTE FUNCTION f()", 1},
          {"BEGIN", 1},
          {"END", 1}}},
        {"unclosed string runs to the end",
         "SELECT 1;\r\nSELECT 'a;\rb;",
         {{"SELECT 1", 1}, {"SELECT 'a;\rb;", 2}}},
        {"line ends of every kind",
         "SELECT 1;\rSELECT 2;\r\nSELECT 3;\n\r\nSELECT 4",
         {{"SELECT 1", 1}, {"SELECT 2", 2}, {"SELECT 3", 3}, {"SELECT 4", 5}}},
        {"nothing but comments", "-- a;\n/* b; */ ;", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(split(c.script), c.statements) << c.name;
    }
}

// Scripts built from statements whose texts are known, joined by semicolons, blanks and
// comments: splitting must give back exactly those texts at their offsets.
class ScriptGenerator {
public:
    explicit ScriptGenerator(unsigned seed) : random(seed) {}

    struct Script {
        std::string text;
        std::vector<SqlStatement> statements;
    };

    Script next() {
        Script script;
        script.text = gap(false);
        const int count = pick(0, 6);
        for (int i = 0; i < count; ++i) {
            if (i > 0) {
                script.text += gap(true);
            }
            const std::string statement = anyStatement();
            script.statements.push_back({script.text.size(), statement.size()});
            script.text += statement;
        }
        script.text += gap(false);
        return script;
    }

    // Noise from the characters that matter, for the checks that hold for any text.
    std::string noise() {
        static const std::vector<std::string> pieces{
            "'",   "\"",    "[",      "]",       "`",  "$",  "$t$", ";", "-",
            "--",  "/",     "*",      "/*",      "*/", "\n", "\r",  " ", "a",
            "END", "BEGIN", "CREATE", "TRIGGER", "x$", "$$", "''",  "E", "\t"};
        std::string text;
        const int count = pick(0, 40);
        for (int i = 0; i < count; ++i) {
            text += pieces[pick(0, static_cast<int>(pieces.size()) - 1)];
        }
        return text;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    std::string comment() {
        if (chance(50)) {
            return "-- " + content("\n") + "\n";
        }
        return blockComment(pick(0, 2));
    }

    std::string blockComment(int depth) {
        std::string text = "/*" + content("*/");
        if (depth > 0) {
            text += blockComment(depth - 1) + content("*/");
        }
        return text + "*/";
    }

    // Random text of the characters that matter elsewhere, none of those forbidden, nor a
    // "/*" or "*/" that would change a comment's depth.
    std::string content(const std::string& forbidden) {
        static const std::string alphabet = ";'\"[]`$-/* \nabE";
        std::string text;
        const int length = pick(0, 12);
        while (static_cast<int>(text.size()) < length) {
            const char c = alphabet[pick(0, static_cast<int>(alphabet.size()) - 1)];
            if (forbidden.find(c) != std::string::npos) {
                continue;
            }
            if (!text.empty() &&
                ((text.back() == '/' && c == '*') || (text.back() == '*' && c == '/'))) {
                continue;
            }
            text += c;
        }
        if (!text.empty() && (text.back() == '/' || text.back() == '*')) {
            text += 'x';
        }
        return text;
    }

    std::string quoted(char open, char close) {
        std::string text(1, open);
        for (int i = pick(0, 3); i > 0; --i) {
            text += content(std::string(1, close)) + std::string(2, close);
        }
        return text + content(std::string(1, close)) + close;
    }

    std::string dollarQuoted() {
        static const std::vector<std::string> tags{"", "t", "body_1", "x9"};
        const std::string mark = "$" + tags[pick(0, static_cast<int>(tags.size()) - 1)] + "$";
        for (;;) {
            const std::string body = content("") + (chance(30) ? "$$ $t$" : "") + content("");
            if ((body + mark).find(mark) == body.size()) {
                return mark + body + mark;
            }
        }
    }

    // A piece of a statement: never a semicolon outside quotes.
    std::string piece(bool allowBegin) {
        static const std::vector<std::string> words{"x",
                                                    "a1",
                                                    "_b",
                                                    "a$b$",
                                                    "$1",
                                                    "42",
                                                    "(",
                                                    ")",
                                                    ",",
                                                    "=",
                                                    "-",
                                                    "/",
                                                    "*",
                                                    "END",
                                                    "TRIGGER",
                                                    "BEGIN",
                                                    "CASE WHEN a THEN 1 END"};
        switch (pick(0, 7)) {
        case 0:
            return quoted('\'', '\'');
        case 1:
            return quoted('"', '"');
        case 2:
            return quoted('[', ']');
        case 3:
            return quoted('`', '`');
        case 4:
            return dollarQuoted();
        case 5:
            return comment();
        default: {
            std::string word = words[pick(0, static_cast<int>(words.size()) - 1)];
            return word == "BEGIN" && !allowBegin ? "x" : word;
        }
        }
    }

    // Blanks and comments, with a semicolon at least when separating.
    std::string gap(bool separating) {
        std::string text = " ";
        const int semicolons = pick(separating ? 1 : 0, 3);
        for (int i = 0; i < semicolons || chance(30); ++i) {
            text += chance(50) ? comment() + " " : std::string("\n\t ");
            if (i < semicolons) {
                text += "; ";
            }
        }
        return text;
    }

    std::string body(const std::string& first, bool allowBegin) {
        std::string text = first;
        for (int i = pick(0, 6); i > 0; --i) {
            text += " " + piece(allowBegin) + " ";
        }
        return text + (chance(50) ? " x" : " 'end'");
    }

    std::string anyStatement() {
        switch (pick(0, 5)) {
        case 0: {
            static const std::vector<std::string> creates{"CREATE", "create temp",
                                                          "Create Temporary"};
            std::string text = creates[pick(0, 2)] + " TRIGGER trg AFTER INSERT ON t " +
                               (chance(50) ? "WHEN new.a = 1 " : "") + "BEGIN ";
            for (int i = pick(1, 3); i > 0; --i) {
                text += body(chance(50) ? "UPDATE" : "INSERT", true) + " ; ";
                if (chance(30)) {
                    text += comment() + " ";
                }
            }
            return text + (chance(50) ? "END" : "end");
        }
        case 1:
            return body("CREATE TRIGGER trg BEFORE UPDATE ON t EXECUTE FUNCTION f ( )", false);
        case 2:
            return body("BEGIN", true);
        default:
            return body(chance(50) ? "SELECT" : "'s'", true);
        }
    }

    std::mt19937 random;
};

TEST(StatementSplitter, GivesBackTheStatementsOfRandomScriptsExactly) {
    ScriptGenerator generator(20240501);
    for (int i = 0; i < 5000; ++i) {
        const ScriptGenerator::Script script = generator.next();
        const std::vector<SqlStatement> found = splitStatements(script.text);
        ASSERT_EQ(found.size(), script.statements.size()) << script.text;
        for (std::size_t k = 0; k < found.size(); ++k) {
            ASSERT_EQ(script.text.substr(found[k].offset, found[k].length),
                      script.text.substr(script.statements[k].offset, script.statements[k].length))
                << script.text;
            ASSERT_EQ(found[k].offset, script.statements[k].offset) << script.text;
        }
    }
}

// What lies between statements: semicolons, blanks and comments, read independently.
bool onlySeparators(std::string_view gap) {
    std::size_t i = 0;
    while (i < gap.size()) {
        if (gap[i] == ';' ||
            std::string_view(" \t\n\r\f\v").find(gap[i]) != std::string_view::npos) {
            ++i;
        } else if (gap.substr(i, 2) == "--") {
            const std::size_t end = gap.find('\n', i);
            i = end == std::string_view::npos ? gap.size() : end + 1;
        } else if (gap.substr(i, 2) == "/*") {
            int depth = 0;
            do {
                if (gap.substr(i, 2) == "/*") {
                    ++depth;
                    i += 2;
                } else if (gap.substr(i, 2) == "*/") {
                    --depth;
                    i += 2;
                } else {
                    ++i;
                }
            } while (depth > 0 && i < gap.size());
        } else {
            return false;
        }
    }
    return true;
}

TEST(StatementSplitter, NeverLosesOrReordersAByteOfNoise) {
    ScriptGenerator generator(7);
    for (int i = 0; i < 20000; ++i) {
        const std::string text = generator.noise();
        std::size_t covered = 0;
        for (const SqlStatement& s : splitStatements(text)) {
            ASSERT_GE(s.offset, covered) << text;
            ASSERT_GT(s.length, 0u) << text;
            ASSERT_LE(s.offset + s.length, text.size()) << text;
            ASSERT_TRUE(onlySeparators(std::string_view(text).substr(covered, s.offset - covered)))
                << text;
            // A statement alone splits into itself.
            const std::string statement = text.substr(s.offset, s.length);
            const std::vector<SqlStatement> again = splitStatements(statement);
            ASSERT_EQ(again.size(), 1u) << text;
            ASSERT_EQ(again[0].offset, 0u) << text;
            ASSERT_EQ(again[0].length, statement.size()) << text;
            covered = s.offset + s.length;
        }
        ASSERT_TRUE(onlySeparators(std::string_view(text).substr(covered))) << text;
    }
}

} // namespace
} // namespace veltro
