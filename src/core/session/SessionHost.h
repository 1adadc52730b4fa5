#pragma once

#include "odbc/DataSourcePrompt.h"

#include <optional>
#include <string>

namespace veltro {

class Session;

// What a session asks of the window that shows it while it connects. The defaults do
// nothing and answer "no", which is what a run without a window needs.
class SessionHost : public DataSourcePrompt {
public:
    // The main frame's status pane 0.
    virtual void setFrameStatusText(const std::string& text) { (void)text; }
    virtual void beginWaitCursor() {}
    virtual void endWaitCursor() {}

    // The session's execution-time pane.
    virtual void setExecTimeText(const std::string& text) { (void)text; }

    // A connect failed with this text: true to try again with a data source prompt.
    virtual bool askRetryConnect(const std::string& errorText) {
        (void)errorText;
        return false;
    }

    // The connection is open and described: switch to the requested database and fill the
    // database box on the SQL Server family, otherwise show that it is not supported.
    virtual void setupDatabaseContext(Session& session,
                                      const std::optional<std::string>& database) {
        (void)session;
        (void)database;
    }

    std::optional<std::string> promptConnectString() override { return std::nullopt; }
};

} // namespace veltro
