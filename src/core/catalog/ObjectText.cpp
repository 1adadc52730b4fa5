#include "catalog/ObjectText.h"

#include "catalog/CatalogTarget.h"
#include "common/LineEnds.h"
#include "common/TextCompare.h"
#include "common/Utf8.h"
#include "execution/BatchText.h"

namespace veltro {

namespace {

constexpr std::string_view objectTextPrefix = "sp_helptext ";

std::string allSourceQuery(std::string_view type, std::string_view name) {
    return "select TEXT from ALL_SOURCE where type = '" + std::string(type) +
           "' and NAME = " + sqlStringLiteral(name);
}

std::string schemaCondition(std::string_view column, std::string_view owner) {
    return owner.empty() ? std::string()
                         : " AND " + std::string(column) + " = " + sqlStringLiteral(owner);
}

// The source text of an object on the DBMSs of this platform, the names as literals.
std::string postgresViewQuery(std::string_view name, std::string_view owner) {
    return "SELECT format('CREATE OR REPLACE VIEW %I.%I AS', n.nspname, c.relname) || chr(10) || "
           "pg_catalog.pg_get_viewdef(c.oid, true) FROM pg_catalog.pg_class c "
           "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace WHERE c.relname = " +
           sqlStringLiteral(name) + schemaCondition("n.nspname", owner);
}

std::string postgresFunctionQuery(std::string_view name, std::string_view owner) {
    return "SELECT pg_catalog.pg_get_functiondef(p.oid) FROM pg_catalog.pg_proc p "
           "JOIN pg_catalog.pg_namespace n ON n.oid = p.pronamespace WHERE p.proname = " +
           sqlStringLiteral(name) + " AND p.prokind <> 'a'" + schemaCondition("n.nspname", owner);
}

std::string sqliteSourceQuery(std::string_view name) {
    return "SELECT sql FROM sqlite_master WHERE name = " + sqlStringLiteral(name);
}

bool hasOwnSourceQuery(const CatalogTarget& target) {
    return target.isPostgres() || target.isSqlite();
}

// The line end the editor's text already uses (its first one), so that appended text does not
// mix CR LF into LF lines or the reverse; LF for a text without one.
std::string_view lineEndOf(std::string_view text) {
    const std::size_t feed = text.find('\n');
    return feed != std::string_view::npos && feed > 0 && text[feed - 1] == '\r' ? "\r\n" : "\n";
}

} // namespace

ViewText viewTextStatement(const CatalogTarget& target, std::string_view shownName,
                           std::string_view owner) {
    const std::string bare = target.quoting.bareName(shownName);
    if (target.isOracle()) {
        return {allSourceQuery("VIEW", bare), bare};
    }
    // Execute takes the name from the statement as it stands.
    if (target.isSqlServerFamily) {
        return {std::string(objectTextPrefix) + std::string(shownName), std::string(shownName)};
    }
    if (target.isJetDriver) {
        return {bare, bare};
    }
    if (target.isPostgres()) {
        return {postgresViewQuery(bare, owner), bare};
    }
    if (target.isSqlite()) {
        return {sqliteSourceQuery(bare), bare};
    }
    return {std::string(shownName) + " // View text not supported", bare};
}

std::string procedureTextStatement(const CatalogTarget& target, std::string_view shownName,
                                   std::string_view owner) {
    const std::string name(shownName);
    const std::string bare = target.quoting.bareName(shownName);
    std::string statement;
    if (target.isSqlServerFamily) {
        statement = std::string(objectTextPrefix) + name;
    } else if (target.isOracle()) {
        statement = allSourceQuery("PROCEDURE", bare);
    } else if (target.isPostgres()) {
        statement = postgresFunctionQuery(bare, owner);
    } else if (target.isSqlite()) {
        statement = sqliteSourceQuery(bare);
    } else if (!target.isJetDriver) {
        statement = name + " // Procedure text not supported";
    } else {
        statement = name;
    }
    if (target.isJetDriver) {
        statement += queryDefComment;
    }
    return statement;
}

ObjectCommandResult tablesCommandResult(const CatalogTarget& target, std::string_view editorText,
                                        const TablesChoice& choice) {
    const bool viewText = choice.textOnly && equalsNoCase(choice.objectType, "VIEW");
    const std::string_view lineEnd = lineEndOf(editorText);
    ObjectCommandResult result;
    result.editorText = std::string(editorText) +
                        (lineEnd == "\n" ? choice.resultText : textWithCrLf(choice.resultText));
    if (viewText && target.isJetDriver) {
        result.editorText += queryDefComment;
    }
    // The selection leaves out the two line ends that begin the dialog's text.
    result.selectionStart = utf8Length(editorText) + 2 * lineEnd.size();
    result.selectionEnd = utf8Length(result.editorText);
    result.objectText = viewText && (target.isSqlServerFamily || target.isOracle() ||
                                     target.isJetDriver || hasOwnSourceQuery(target));
    if (result.objectText) {
        result.paneTitle = choice.objectName;
    }
    return result;
}

ObjectCommandResult proceduresCommandResult(const CatalogTarget& target,
                                            std::string_view editorText, std::string_view shownName,
                                            std::string_view owner) {
    ObjectCommandResult result;
    const std::string_view lineEnd = lineEndOf(editorText);
    result.editorText = std::string(editorText);
    result.editorText.append(lineEnd).append(lineEnd);
    result.selectionStart = utf8Length(result.editorText);
    result.editorText += procedureTextStatement(target, shownName, owner);
    result.selectionEnd = utf8Length(result.editorText);
    result.objectText = true;
    result.paneTitle =
        target.isSqlServerFamily ? std::string(shownName) : target.quoting.bareName(shownName);
    return result;
}

} // namespace veltro
