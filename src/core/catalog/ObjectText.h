#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veltro {

struct CatalogTarget;

inline constexpr const char* queryDefComment = " // CDaoQueryDef::GetSQL()";

// The statement that returns a view's source text on the data source, and the name the view
// goes by afterwards (the results pane's title): as listed on the SQL Server family, whose
// Execute reads it from the statement, elsewhere without quotes.
struct ViewText {
    std::string statement;
    std::string objectName;
};
ViewText viewTextStatement(const CatalogTarget& target, std::string_view shownName,
                           std::string_view owner);

// The statement of the Procedures command for a procedure, comment included.
std::string procedureTextStatement(const CatalogTarget& target, std::string_view shownName,
                                   std::string_view owner);

// What the Tables dialog chose, as the Tables command reads it.
struct TablesChoice {
    std::string resultText; // begins with two line feeds
    std::string objectType;
    std::string objectName;
    bool textOnly = false;
};

// What an object command does to the editor and the session: the editor's new text, the
// selection (character positions) that Execute then runs, and whether that is an
// object-text batch with the results pane titled paneTitle.
struct ObjectCommandResult {
    std::string editorText;
    std::size_t selectionStart = 0;
    std::size_t selectionEnd = 0;
    bool objectText = false;
    std::string paneTitle;
};

ObjectCommandResult tablesCommandResult(const CatalogTarget& target, std::string_view editorText,
                                        const TablesChoice& choice);
ObjectCommandResult proceduresCommandResult(const CatalogTarget& target,
                                            std::string_view editorText, std::string_view shownName,
                                            std::string_view owner);

} // namespace veltro
