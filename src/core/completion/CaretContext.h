#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltro {

// A table as a statement names it, with the alias it is given there.
struct TableReference {
    std::string schema;
    std::string table;
    std::string alias;
};

// What kind of name is wanted at the caret, and where the name being typed begins.
struct CaretContext {
    enum class Kind {
        none,             // in a string or comment, or nothing to complete
        keywords,         // a keyword
        tables,           // after FROM, JOIN, INTO, UPDATE, TABLE (narrowed to schema)
        procedures,       // after EXEC, EXECUTE, CALL
        qualifiedColumns, // after "name." or "alias.": the columns of columnsOf
        statementColumns, // select list, WHERE and the like: the statement's columns, keywords
    };
    Kind kind = Kind::none;
    // The part of the name before the caret, without an opening quote.
    std::string prefix;
    // Where the text that a chosen name replaces begins (the opening quote, if any).
    std::size_t replaceFrom = 0;
    // The caret stands right after a dot.
    bool afterDot = false;
    // For tables: the schema written before the dot; empty for none.
    std::string schema;
    // For qualifiedColumns: the table the qualifier names, an alias resolved.
    TableReference columnsOf;
    // The tables that the statement around the caret names.
    std::vector<TableReference> statementTables;
};

// The caret is a byte offset into text. The statement around it ends at semicolons.
CaretContext caretContext(std::string_view text, std::size_t caret);

// Whether a batch holds a statement that changes what the catalog lists: CREATE, ALTER,
// DROP or RENAME.
bool changesSchema(std::string_view batch);

// The ODBC reserved words, upper case, sorted.
const std::vector<std::string>& odbcKeywords();

} // namespace veltro
