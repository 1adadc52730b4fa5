// Splitting a script into statements for drivers that take one statement at a time.
#include "execution/StatementSplitter.h"

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

std::vector<Expected> split(const std::string& script, SqlDialect dialect) {
    std::vector<Expected> found;
    for (const SqlStatement& s : splitStatements(script, dialect)) {
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

constexpr SqlDialect postgres = SqlDialect::postgres;
constexpr SqlDialect mysql = SqlDialect::mysql;
constexpr SqlDialect sqlite = SqlDialect::sqlite;
constexpr SqlDialect portable = SqlDialect::portable;
const std::vector<SqlDialect> allDialects{portable, postgres, mysql, sqlite};

std::string nameOf(SqlDialect dialect) {
    switch (dialect) {
    case postgres:
        return "PostgreSQL";
    case mysql:
        return "MySQL";
    case sqlite:
        return "SQLite";
    default:
        return "portable";
    }
}

TEST(StatementSplitter, FollowsEachDialectsClient) {
    struct Case {
        const char* name;
        std::string script;
        std::vector<SqlDialect> dialects;
        std::vector<Expected> statements;
    };
    const std::string nested = "insert into t values (0,0);\n"
                               "/* TODO /* fix */\n"
                               "insert into t values (1,1);\n"
                               "/* done */\n"
                               "insert into t values (2,2);";
    const std::vector<Case> cases{
        {"plain, blanks and empty statements dropped",
         " SELECT 1 ;;\n\tSELECT 2;\n ; \n",
         allDialects,
         {{"SELECT 1", 1}, {"SELECT 2", 2}}},
        {"no final semicolon",
         "SELECT 1;\nSELECT 2",
         allDialects,
         {{"SELECT 1", 1}, {"SELECT 2", 2}}},
        {"strings with ; and doubled quotes",
         "INSERT INTO t VALUES ('a;b', 'it''s;');SELECT \"x;\"\"y\" FROM t",
         allDialects,
         {{"INSERT INTO t VALUES ('a;b', 'it''s;')", 1}, {"SELECT \"x;\"\"y\" FROM t", 1}}},
        {"comments: line, block, and statements of comments alone dropped",
         "-- lead; in\nSELECT 1 -- tail;\n; /* a; */ SELECT 2 /* x; */ + 3;\n"
         "/* only; */ -- comment\n;",
         allDialects,
         {{"SELECT 1", 2}, {"SELECT 2 /* x; */ + 3", 3}}},
        {"unclosed string runs to the end",
         "SELECT 1;\r\nSELECT 'a;\rb;",
         allDialects,
         {{"SELECT 1", 1}, {"SELECT 'a;\rb;", 2}}},
        {"unclosed comment reaches the DBMS, alone or after a statement",
         "SELECT 1;\n/* open; SELECT 2;\nSELECT 3 /* open",
         allDialects,
         {{"SELECT 1", 1}, {"/* open; SELECT 2;\nSELECT 3 /* open", 2}}},
        {"line ends of every kind",
         "SELECT 1;\rSELECT 2;\r\nSELECT 3;\n\r\nSELECT 4",
         allDialects,
         {{"SELECT 1", 1}, {"SELECT 2", 2}, {"SELECT 3", 3}, {"SELECT 4", 5}}},
        {"nothing but comments", "-- a;\n/* b; */ ;", allDialects, {}},
        {"comments that do not nest",
         nested,
         {portable, mysql, sqlite},
         {{"insert into t values (0,0)", 1},
          {"insert into t values (1,1)", 3},
          {"insert into t values (2,2)", 5}}},
        {"comments that nest, left open",
         nested,
         {postgres},
         {{"insert into t values (0,0)", 1}, {nested.substr(28), 2}}},
        {"comments that nest, closed",
         "/* a; /* b; */ c; */ SELECT 1",
         {postgres},
         {{"SELECT 1", 1}}},
        {"dollar quotes, with and without tags",
         "CREATE FUNCTION f() RETURNS int AS $$ SELECT 1; $$ LANGUAGE sql;\n"
         "DO $body$ BEGIN RAISE NOTICE '$$;'; END $body$; SELECT $1, a$$b",
         {postgres},
         {{"CREATE FUNCTION f() RETURNS int AS $$ SELECT 1; $$ LANGUAGE sql", 1},
          {"DO $body$ BEGIN RAISE NOTICE '$$;'; END $body$", 2},
          {"SELECT $1, a$$b", 2}}},
        {"a dollar sign elsewhere quotes nothing",
         "SELECT $a$; SELECT 2",
         {portable, mysql, sqlite},
         {{"SELECT $a$", 1}, {"SELECT 2", 1}}},
        {"E strings escape with backslashes, others do not",
         "SELECT E'a\\';b', e'\\\\'; SELECT 'c\\'; SELECT 2",
         {postgres},
         {{"SELECT E'a\\';b', e'\\\\'", 1}, {"SELECT 'c\\'", 1}, {"SELECT 2", 1}}},
        {"BEGIN ATOMIC bodies with CASE .. END, and parentheses",
         "CREATE OR REPLACE FUNCTION f(a int) RETURNS int LANGUAGE sql\n"
         "BEGIN ATOMIC\n  SELECT CASE WHEN a > 0 THEN 1 ELSE 2 END;\n  SELECT a;\nEND;\n"
         "CREATE RULE r AS ON INSERT TO t DO ALSO (INSERT INTO a VALUES (1); DELETE FROM b);\n"
         "BEGIN; END",
         {postgres},
         {{"CREATE OR REPLACE FUNCTION f(a int) RETURNS int LANGUAGE sql\n"
           "BEGIN ATOMIC\n  SELECT CASE WHEN a > 0 THEN 1 ELSE 2 END;\n  SELECT a;\nEND",
           1},
          {"CREATE RULE r AS ON INSERT TO t DO ALSO (INSERT INTO a VALUES (1); DELETE FROM b)", 6},
          {"BEGIN", 7},
          {"END", 7}}},
        {"backslash escapes in strings",
         "INSERT INTO t VALUES ('it\\'s;', \"a\\\";\", '\\\\'); SELECT 1",
         {mysql},
         {{"INSERT INTO t VALUES ('it\\'s;', \"a\\\";\", '\\\\')", 1}, {"SELECT 1", 1}}},
        {"# comments, and -- only before a blank",
         "SELECT 1--1;\n# note; here\nSELECT 2 -- x;\n--\n;",
         {mysql},
         {{"SELECT 1--1", 1}, {"SELECT 2", 3}}},
        {"backquoted identifiers",
         "SELECT `c;``d` FROM u; SELECT 2",
         {mysql, sqlite},
         {{"SELECT `c;``d` FROM u", 1}, {"SELECT 2", 1}}},
        {"bracketed identifiers",
         "SELECT [a]];b] FROM t; SELECT 2",
         {sqlite},
         {{"SELECT [a]];b] FROM t", 1}, {"SELECT 2", 1}}},
        {"brackets elsewhere quote nothing",
         "SELECT [a;b]",
         {portable, postgres, mysql},
         {{"SELECT [a", 1}, {"b]", 1}}},
        {"client commands as mariadb-dump writes them, never sent",
         "/*M!999999\\- enable the sandbox mode */ \n"
         "/*!40101 SET NAMES utf8 */;\n"
         "DELIMITER ;;\n"
         "/*!50003 CREATE*/ /*!50003 TRIGGER trg BEFORE INSERT ON t FOR EACH ROW BEGIN\n"
         "  SET NEW.a = 1;\nEND */;;\n"
         "CREATE PROCEDURE p()\nBEGIN\n  SELECT ';;' FROM t;\nEND ;;\n"
         "delimiter $$ the rest is the directive's\n"
         "SELECT 1$$ SELECT 2 FROM u$$\n"
         "DELIMITER ';'\nCALL p();",
         {mysql},
         {{"/*!40101 SET NAMES utf8 */", 2},
          {"/*!50003 CREATE*/ /*!50003 TRIGGER trg BEFORE INSERT ON t FOR EACH ROW BEGIN\n"
           "  SET NEW.a = 1;\nEND */",
           4},
          {"CREATE PROCEDURE p()\nBEGIN\n  SELECT ';;' FROM t;\nEND", 7},
          {"SELECT 1", 12},
          {"SELECT 2 FROM u", 12},
          {"CALL p()", 14}}},
        {"a DELIMITER line without its argument, and an open sandbox command, reach the server",
         "DELIMITER\nSELECT 1;\n/*M!999999\\- open",
         {mysql},
         {{"DELIMITER\nSELECT 1", 1}, {"/*M!999999\\- open", 3}}},
        {"the guards pg_dump writes around a dump, never sent; other psql commands reach the "
         "server",
         "\\restrict k9Ab\r\nSET a = 1;\n\\unrestrict k9Ab\n\\connect other\nSELECT 1;\n"
         "\\restrictions;\n\\unrestrict",
         {postgres},
         {{"SET a = 1", 2},
          {"\\connect other\nSELECT 1", 4},
          {"\\restrictions", 6},
          {"\\unrestrict", 7}}},
        {"\\restrict is psql's",
         "\\restrict k\nSELECT 1;",
         {portable, mysql, sqlite},
         {{"\\restrict k\nSELECT 1", 1}}},
        {"DELIMITER is a MySQL client's",
         "DELIMITER ;;\nSELECT 1;;",
         {portable, postgres, sqlite},
         {{"DELIMITER", 1}, {"SELECT 1", 2}}},
        {"trigger body with semicolons, CASE .. END and comments inside",
         "CREATE TEMP TRIGGER IF NOT EXISTS trg AFTER INSERT ON t BEGIN\n"
         "  UPDATE t SET a = CASE WHEN new.a > 0 THEN 1 ELSE 2 END;\n"
         "  INSERT INTO log VALUES ('x;'); -- done;\n"
         "end\n;\nSELECT 1",
         {sqlite},
         {{"CREATE TEMP TRIGGER IF NOT EXISTS trg AFTER INSERT ON t BEGIN\n"
           "  UPDATE t SET a = CASE WHEN new.a > 0 THEN 1 ELSE 2 END;\n"
           "  INSERT INTO log VALUES ('x;'); -- done;\n"
           "end",
           1},
          {"SELECT 1", 6}}},
        {"a trigger without BEGIN, and BEGIN outside a trigger",
         "CREATE TRIGGER t BEFORE UPDATE ON x FOR EACH ROW EXECUTE FUNCTION f(); BEGIN; END",
         allDialects,
         {{"CREATE TRIGGER t BEFORE UPDATE ON x FOR EACH ROW EXECUTE FUNCTION f()", 1},
          {"BEGIN", 1},
          {"END", 1}}},
    };
    for (const Case& c : cases) {
        for (const SqlDialect dialect : c.dialects) {
            EXPECT_EQ(split(c.script, dialect), c.statements) << c.name << ", " << nameOf(dialect);
        }
    }
}

// Scripts built from statements whose texts are known, joined by delimiters, blanks and
// comments of the dialect: splitting must give back exactly those texts at their offsets.
class ScriptGenerator {
public:
    ScriptGenerator(unsigned seed, SqlDialect scriptDialect)
        : random(seed), dialect(scriptDialect) {}

    struct Script {
        std::string text;
        std::vector<SqlStatement> statements;
    };

    Script next() {
        delimiter = ";";
        Script script;
        script.text = gap(Gap::leading);
        const int count = pick(0, 6);
        for (int i = 0; i < count; ++i) {
            if (i > 0) {
                script.text += gap(Gap::between);
            }
            const std::string statement = anyStatement();
            script.statements.push_back({script.text.size(), statement.size()});
            script.text += statement;
        }
        script.text += gap(Gap::trailing);
        return script;
    }

    // Noise from the characters that matter, for the checks that hold for any text.
    std::string noise() {
        static const std::vector<std::string> pieces{
            "'",      "\"",      "[",  "]",  "`",  "$",  "$t$", ";", "-",   "--",
            "/",      "*",       "/*", "*/", "\n", "\r", " ",   "a", "END", "BEGIN",
            "CREATE", "TRIGGER", "x$", "$$", "''", "E",  "\t",  "#", "\\",  "/*!"};
        std::string text;
        const int count = pick(0, 40);
        for (int i = 0; i < count; ++i) {
            text += pieces[pick(0, static_cast<int>(pieces.size()) - 1)];
        }
        return text;
    }

private:
    enum class Gap { leading, between, trailing };

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    std::string comment() {
        if (dialect == mysql && chance(20)) {
            return "# " + content("\n") + "\n";
        }
        if (chance(50)) {
            return "-- " + content("\n") + "\n";
        }
        return blockComment(dialect == postgres ? pick(0, 2) : 0);
    }

    std::string blockComment(int depth) {
        std::string text = "/*" + content("*/!");
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

    // A piece of a statement: never a delimiter outside quotes, nor BEGIN or END where they
    // would open or close a body.
    std::string piece(bool inBody) {
        static const std::vector<std::string> words{
            "x", "a1", "_b", "a$b$", "$1",  "42",      "( x , 1 )", ",",
            "=", "-",  "/",  "*",    "END", "TRIGGER", "BEGIN",     "CASE WHEN a THEN 1 END"};
        switch (pick(0, 9)) {
        case 0:
            return quoted('\'', '\'');
        case 1:
            return quoted('"', '"');
        case 2:
            return dialect == sqlite ? quoted('[', ']') : "x";
        case 3:
            return dialect == sqlite || dialect == mysql ? quoted('`', '`') : "x";
        case 4:
            return dialect == postgres ? dollarQuoted() : "x";
        case 5:
            return comment();
        case 6:
            if (dialect == postgres) {
                return chance(50) ? "E'\\';" + content("'\\") + "'" : "( a ; b )";
            }
            return dialect == mysql ? "'it\\'s;" + content("'\\") + "'" : "x";
        default: {
            const std::string word = words[pick(0, static_cast<int>(words.size()) - 1)];
            return inBody && (word == "BEGIN" || word == "END") ? "x" : word;
        }
        }
    }

    // Blanks and comments, with a delimiter at least when separating; where a statement may
    // begin, a DELIMITER line in MySQL and a dump's guard line in PostgreSQL.
    std::string gap(Gap where) {
        std::string text = " ";
        const int delimiters = pick(where == Gap::between ? 1 : 0, 3);
        for (int i = 0; i < delimiters || chance(30); ++i) {
            text += chance(50) ? comment() + " " : std::string("\n\t ");
            if (i < delimiters) {
                text += delimiter + " ";
            }
        }
        if (dialect == mysql && where != Gap::trailing && chance(30)) {
            static const std::vector<std::string> choices{";", ";;", "$$", "//"};
            delimiter = choices[pick(0, static_cast<int>(choices.size()) - 1)];
            text += "\nDELIMITER " + delimiter + (chance(50) ? "\n" : " ignored\r\n");
        }
        if (dialect == postgres && where != Gap::trailing && chance(20)) {
            text += chance(50) ? "\n\\restrict k1\n" : "\n\\unrestrict k1\r\n";
        }
        return text;
    }

    std::string body(const std::string& first, bool inBody) {
        std::string text = first;
        for (int i = pick(0, 6); i > 0; --i) {
            text += " " + piece(inBody) + " ";
        }
        return text + (chance(50) ? " x" : " 'end'");
    }

    // BEGIN .. ; .. END, whose semicolons end no statement.
    std::string compound(const std::string& head) {
        std::string text = head + " BEGIN ";
        for (int i = pick(1, 3); i > 0; --i) {
            text += body(chance(50) ? "UPDATE" : "INSERT", true) + " ; ";
            if (chance(30)) {
                text += comment() + " ";
            }
        }
        return text + (chance(50) ? "END" : "end");
    }

    std::string anyStatement() {
        switch (pick(0, 5)) {
        case 0:
            if (dialect == sqlite) {
                static const std::vector<std::string> creates{"CREATE", "create temp",
                                                              "Create Temporary"};
                return compound(creates[pick(0, 2)] + " TRIGGER trg AFTER INSERT ON t " +
                                (chance(50) ? "WHEN new.a = 1" : ""));
            }
            if (dialect == postgres) {
                return compound(std::string(chance(50) ? "CREATE" : "create or replace") +
                                " FUNCTION f ( ) RETURNS int" + (chance(50) ? " ATOMIC" : ""));
            }
            if (dialect == mysql && delimiter != ";") {
                return compound("CREATE PROCEDURE p ( )");
            }
            return body("SELECT", false);
        case 1:
            return body("CREATE TRIGGER trg BEFORE UPDATE ON t EXECUTE FUNCTION f ( )", true);
        case 2:
            return body("BEGIN", false);
        default:
            return body(chance(50) ? "SELECT" : "'s'", false);
        }
    }

    std::mt19937 random;
    SqlDialect dialect;
    std::string delimiter = ";";
};

TEST(StatementSplitter, GivesBackTheStatementsOfRandomScriptsExactly) {
    for (const SqlDialect dialect : allDialects) {
        ScriptGenerator generator(20240501, dialect);
        for (int i = 0; i < 5000; ++i) {
            const ScriptGenerator::Script script = generator.next();
            const std::vector<SqlStatement> found = splitStatements(script.text, dialect);
            ASSERT_EQ(found.size(), script.statements.size()) << nameOf(dialect) << script.text;
            for (std::size_t k = 0; k < found.size(); ++k) {
                ASSERT_EQ(
                    script.text.substr(found[k].offset, found[k].length),
                    script.text.substr(script.statements[k].offset, script.statements[k].length))
                    << nameOf(dialect) << script.text;
                ASSERT_EQ(found[k].offset, script.statements[k].offset) << script.text;
            }
        }
    }
}

// What lies between statements: semicolons, blanks and closed comments, read independently.
bool onlySeparators(std::string_view gap, SqlDialect dialect) {
    std::size_t i = 0;
    while (i < gap.size()) {
        const std::string_view rest = gap.substr(i);
        if (gap[i] == ';' ||
            std::string_view(" \t\n\r\f\v").find(gap[i]) != std::string_view::npos) {
            ++i;
        } else if ((rest.starts_with("--") &&
                    (dialect != mysql ||
                     (rest.size() > 2 && static_cast<unsigned char>(rest[2]) <= ' '))) ||
                   (dialect == mysql && rest.starts_with("#"))) {
            const std::size_t end = gap.find_first_of(dialect == postgres ? "\n\r" : "\n", i);
            i = end == std::string_view::npos ? gap.size() : end + 1;
        } else if (rest.starts_with("/*") && !(dialect == mysql && rest.starts_with("/*!"))) {
            int depth = 0;
            do {
                if (gap.substr(i, 2) == "/*" && (depth == 0 || dialect == postgres)) {
                    ++depth;
                    i += 2;
                } else if (gap.substr(i, 2) == "*/") {
                    --depth;
                    i += 2;
                } else {
                    ++i;
                }
            } while (depth > 0 && i < gap.size());
            if (depth > 0) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

TEST(StatementSplitter, NeverLosesOrReordersAByteOfNoise) {
    for (const SqlDialect dialect : allDialects) {
        ScriptGenerator generator(7, dialect);
        for (int i = 0; i < 20000; ++i) {
            const std::string text = generator.noise();
            std::size_t covered = 0;
            for (const SqlStatement& s : splitStatements(text, dialect)) {
                ASSERT_GE(s.offset, covered) << text;
                ASSERT_GT(s.length, 0u) << text;
                ASSERT_LE(s.offset + s.length, text.size()) << text;
                ASSERT_TRUE(onlySeparators(
                    std::string_view(text).substr(covered, s.offset - covered), dialect))
                    << nameOf(dialect) << text;
                // A statement alone splits into itself.
                const std::string statement = text.substr(s.offset, s.length);
                const std::vector<SqlStatement> again = splitStatements(statement, dialect);
                ASSERT_EQ(again.size(), 1u) << nameOf(dialect) << text;
                ASSERT_EQ(again[0].offset, 0u) << text;
                ASSERT_EQ(again[0].length, statement.size()) << text;
                covered = s.offset + s.length;
            }
            ASSERT_TRUE(onlySeparators(std::string_view(text).substr(covered), dialect))
                << nameOf(dialect) << text;
        }
    }
}

} // namespace
} // namespace veltro
