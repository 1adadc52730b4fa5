#pragma once

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

// One session's connection and the record that its window, its threads and the other
// subsystems share: what the driver is and can do, the configured timeouts and the
// worker priority.
class Session {
public:
    // Reads the "Configure" settings.
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

    // Connection and identity.
    std::shared_ptr<OdbcConnection> connection;
    std::shared_ptr<CRecordsetEx> batchRecordset;
    std::string connectString;
    std::string dataSourceName;
    std::string dbmsName;

    // Capabilities, tested once per successful connect.
    bool isSqlServerFamily = false;
    bool isJetDriver = false;
    bool supportsMultipleResults = false;
    bool supportsCancel = false;
    bool supportsRowCount = false;

    // Settings.
    int threadPriority = 0;
    int queryTimeout = 0;
    int loginTimeout = 0;

    // Status texts.
    std::string resultInfoText = resultInfoClosedText;
    std::string execTimeText;
    std::uint64_t startTicks = 0;

private:
    void openAndDescribe(const std::optional<std::string>& connectString,
                         const std::optional<std::string>& database);
    void UpdateExecTime();

    SessionHost& host;
};

} // namespace veltro
