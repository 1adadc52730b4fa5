#include "catalog/TableStatements.h"

#include "catalog/CColumns.h"
#include "catalog/CatalogTarget.h"
#include "catalog/ObjectText.h"
#include "common/ErrorText.h"
#include "common/TextCompare.h"
#include "common/Utf8.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcConnection.h"

#include <sqlext.h>

namespace veltro {

namespace {

constexpr std::string_view separator = ", ";
constexpr std::size_t longestCatalogFileName = 8;

bool isTextDbms(const OdbcConnection& connection) {
    try {
        return equalsNoCase(connection.infoText(SQL_DBMS_NAME), "Text");
    } catch (const DatabaseError&) {
        return false;
    }
}

// Text files described by a query that returns their columns and no rows.
void appendResultColumns(const CatalogTarget& target, const std::string& bare,
                         std::string& columns) {
    CRecordsetEx recordset(target.connection);
    if (!recordset.Execute("SELECT * FROM " + target.quoting.enclosed(bare) + " WHERE 1=2")) {
        return;
    }
    for (int i = 0; i < recordset.resultColumnCount(); ++i) {
        columns += target.quoting.enclosed(recordset.GetColumnInfo(i).name);
        columns += separator;
    }
}

void appendCatalogColumns(const CatalogTarget& target, const std::string& bare,
                          std::string& columns) {
    CColumns catalog(target.connection);
    if (!catalog.Open(std::nullopt, std::nullopt, searchPatternEscaped(bare, target.searchEscape),
                      std::nullopt)) {
        return;
    }
    for (; !catalog.IsEOF(); catalog.MoveNext()) {
        columns += target.quoting.columnName(catalog.columnName());
        columns += separator;
    }
}

} // namespace

ColumnList BuildColumnList(const CatalogTarget& target, std::string_view tableName) {
    ColumnList list;
    const std::string bare = target.quoting.bareName(tableName);
    try {
        if (utf8Length(bare) > longestCatalogFileName && isTextDbms(*target.connection)) {
            appendResultColumns(target, bare, list.columns);
        } else {
            appendCatalogColumns(target, bare, list.columns);
        }
    } catch (const DatabaseError&) {
        list.ok = false;
        list.errorText = errorTextFor(std::current_exception(), outOfMemoryDialogText);
    } catch (...) {
        list.errorText = errorTextFor(std::current_exception(), outOfMemoryDialogText);
    }
    if (list.columns.ends_with(separator)) {
        list.columns.resize(list.columns.size() - separator.size());
    }
    return list;
}

TablesText
composeTablesText(const CatalogTarget& target, const std::vector<ChosenTable>& rows, bool textOnly,
                  const std::function<std::optional<std::string>(const std::string&)>& columnList) {
    TablesText text;
    if (rows.empty()) {
        return text;
    }
    text.resultText = "\n\n";
    text.objectType = rows.front().type;
    if (textOnly && equalsNoCase(text.objectType, "VIEW")) {
        const ViewText view = viewTextStatement(target, rows.front().name, rows.front().owner);
        text.resultText += view.statement + "\n\n";
        text.objectName = view.objectName;
    } else {
        const bool semicolons = !equalsNoCase(target.dbmsName, "Visual FoxPro");
        for (const ChosenTable& row : rows) {
            const std::optional<std::string> columns = columnList(row.name);
            if (!columns) {
                return {};
            }
            text.resultText +=
                "SELECT " + *columns + " FROM " + row.name + (semicolons ? ";" : "") + "\n\n";
        }
    }
    text.resultText.resize(text.resultText.size() - 2);
    text.complete = true;
    return text;
}

} // namespace veltro
