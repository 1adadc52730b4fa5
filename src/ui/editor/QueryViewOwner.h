#pragma once

#include <string>

namespace veltro {

// What the query editor and its document need of the session window that holds them.
// Execute and Cancel belong to the session; the editor only forwards them.
class QueryViewOwner {
public:
    virtual ~QueryViewOwner() = default;

    virtual void executeQuery() = 0;
    virtual void cancelQuery() = 0;
    // The session's own enabling rules: connected and not executing (Execute); connected,
    // executing, cancel supported and not yet requested (Cancel). The editor adds its own
    // condition that the text is not empty.
    virtual bool canExecute() const = 0;
    virtual bool canCancel() const = 0;

    // The connection name shown in the document title; empty before the connection.
    virtual std::string connectionName() const = 0;
    // The session's own status pane 0 ("Please wait..."; empty clears it).
    virtual void setStatusText(const std::string& text) = 0;
    // The caret or the selection of the editor moved, so the caret pane needs a refresh.
    virtual void caretMoved() = 0;
};

} // namespace veltro
