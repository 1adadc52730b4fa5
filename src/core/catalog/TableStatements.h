#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltro {

struct CatalogTarget;

// The columns of one table as a column list ("a, b, [c d]"). ok is false only after a
// database error; other failures keep the list built so far. errorText is what the user is
// shown, empty when nothing failed.
struct ColumnList {
    bool ok = true;
    std::string columns;
    std::string errorText;
};

// tableName as the Tables dialog lists it. On a "Text" data source a name longer than 8
// characters is described by a query that returns no rows; otherwise through SQLColumns,
// the name escaped so that it matches itself only.
ColumnList BuildColumnList(const CatalogTarget& target, std::string_view tableName);

// A row the user chose in the Tables dialog, its cells as listed.
struct ChosenTable {
    std::string name;
    std::string type;
    std::string owner;
};

// The Tables dialog's output: two line feeds, then the source-text statement of the first
// row's view (textOnly), or one SELECT of every column per row, each followed by two line
// feeds except the last. columnList gives a table's column list, or nothing to stop.
struct TablesText {
    bool complete = false;
    std::string resultText;
    std::string objectType;
    std::string objectName;
};
TablesText
composeTablesText(const CatalogTarget& target, const std::vector<ChosenTable>& rows, bool textOnly,
                  const std::function<std::optional<std::string>(const std::string&)>& columnList);

} // namespace veltro
