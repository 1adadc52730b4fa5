#pragma once

#include "session/SessionCapabilities.h"
#include "settings/PaneFont.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace veltro {

class CRecordsetEx;
class OdbcConnection;
class SessionHost;
class SettingsStore;

inline constexpr const char* resultInfoClosedText = "CDatabase::IsOpen = FALSE";
inline constexpr const char* resultInfoOpenText = "CDatabase::IsOpen == TRUE";
inline constexpr const char* establishingConnectionText = "Establishing new connection...";
inline constexpr const char* readyText = "Ready";
inline constexpr const char* messagesInfoText = "Messages";

// One session's connection and what its status panes say: what the driver is and can do,
// the configured timeouts and the worker priority, and the status texts. It belongs to the
// thread of the session's window (or of the headless run) alone; the current batch's state
// belongs to that thread's ExecutionControl. A batch's worker gets what it reads by value
// (WorkerContext) and hands what it produces back through that thread (WorkerHost); the
// recordset and the grids it fills carry their own locks.
class Session {
public:
    // Reads the "Configure" settings and the grid font.
    Session(const SettingsStore& settings, SessionHost& host);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Connects with the connect string, or after prompting for a data source when there
    // is none, and records the driver's capabilities. False on failure; the failure text
    // was offered to the host, whose retry answer prompts for a data source again.
    bool Connect(const std::optional<std::string>& connectString,
                 const std::optional<std::string>& database);

    // Called after the user changed the options: a new query timeout for this connection
    // (when connected) and a new worker priority. The login timeout stays as it was.
    void ApplySettings(int newQueryTimeout, const std::string& threadPriorityText);

    // Whether the driver names its DBMS "Text"; asked anew each time.
    bool IsTextDriver() const;

    bool isConnected() const;

    // Shows the time since startTicks in the execution-time pane.
    void UpdateExecTime();

    // The window is going: nothing is shown from now on.
    void detachHost();

    // Connection and identity.
    std::shared_ptr<OdbcConnection> connection;
    std::shared_ptr<CRecordsetEx> batchRecordset;
    std::string connectString;

    const SessionCapabilities& capabilities() const { return caps; }

    // Settings.
    int threadPriority = 0;
    int queryTimeout = 0;
    int loginTimeout = 0;

    // Status texts.
    std::string resultInfoText = resultInfoClosedText;
    std::string execTimeText;
    std::uint64_t startTicks = 0;
    std::string statusText = readyText;

    // The database the session believes current: as the server names it, or as the user
    // picked it in the database box (brackets included).
    std::string currentDatabase;

    // Applied to every new grid; a height of 0 means none is stored.
    LogicalFont gridFont;
    GridFontExtras gridFontExtras;

    // Whether the results pane shows the messages.
    bool showsMessages() const;

private:
    void openAndDescribe(const std::optional<std::string>& connectString,
                         const std::optional<std::string>& database);
    SessionHost* host;
    SessionCapabilities caps;
};

} // namespace veltro
