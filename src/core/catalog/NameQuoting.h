#pragma once

#include <string>
#include <string_view>

namespace veltro {

// How generated SQL writes the names of tables, columns and procedures on one data source,
// and how a name so written is read back. The SQL Server family and the Jet driver take
// square brackets; other drivers take their own identifier quote character, since brackets
// are no quotes there. Inner closing quotes are doubled, so a name never ends its quotes.
class NameQuoting {
public:
    enum class Style { brackets, jet, quoteChar };
    // How the DBMS stores a name written without quotes (SQL_IDENTIFIER_CASE).
    enum class Folding { upper = 1, lower = 2, none = 3, mixed = 4 };

    // identifierQuoteChar is the driver's SQL_IDENTIFIER_QUOTE_CHAR; a driver without one
    // (" " or empty) gets brackets.
    static NameQuoting forDataSource(bool isSqlServerFamily, bool isJetDriver,
                                     std::string_view identifierQuoteChar,
                                     Folding folding = Folding::mixed);

    Style style() const { return how; }

    // A table name as the Tables dialog lists it: always bracketed on the Jet driver;
    // elsewhere quoted when it holds a blank, and with a quote character also when it holds
    // anything but letters, digits and "_", or letters that the DBMS would fold to another
    // case (then it would name another table).
    std::string tableName(std::string_view name) const;
    // A procedure name as the Procedures dialog lists it: without its version suffix (";1"),
    // never bracketed on the Jet driver, else quoted as a table name.
    std::string procedureName(std::string_view name) const;
    // A column as it goes into a column list: on the Jet driver always bracketed, on each
    // side of its first dot; elsewhere quoted as a table name.
    std::string columnName(std::string_view name) const;
    // Always enclosed.
    std::string enclosed(std::string_view name) const;
    // The name itself, from a name that one of the above may have enclosed.
    std::string bareName(std::string_view shown) const;

private:
    NameQuoting(Style style, char open, char close, Folding folding)
        : how(style), open(open), close(close), folding(folding) {}
    bool needsQuotes(std::string_view name) const;

    Style how;
    char open;
    char close;
    Folding folding;
};

// The table types the Tables dialog asks for: "'TABLE'", then ",'VIEW'" and
// ",'SYSTEM TABLE'" when wanted.
std::string tableTypeList(bool views, bool systemTables);

// A name as a catalog search pattern that matches only itself: "_", "%" and the escape
// character are escaped. Unchanged when the driver has no escape character.
std::string searchPatternEscaped(std::string_view name, std::string_view escape);

} // namespace veltro
