#include "session/Session.h"

#include "common/ErrorText.h"
#include "common/TextCompare.h"
#include "common/TickCount.h"
#include "odbc/CRecordsetEx.h"
#include "odbc/OdbcConnection.h"
#include "session/ExecTime.h"
#include "session/SessionHost.h"
#include "session/ThreadPriority.h"
#include "settings/SettingsStore.h"

#include <sqlext.h>

namespace veltro {

namespace {

constexpr const char* configureSection = "Configure";
constexpr int maxLoginTimeout = 99999;
constexpr std::string_view odbcPrefix = "ODBC;";

bool isSqlServerFamilyName(const std::string& dbms) {
    return equalsNoCase(dbms, "Sybase SQL Anywhere") ||
           equalsNoCase(dbms, "Adaptive Server Anywhere") || equalsNoCase(dbms, "SQL Server") ||
           equalsNoCase(dbms, "Microsoft SQL Server");
}

// Ends the wait cursor and clears the frame's status pane however Connect leaves.
class ConnectingIndicator {
public:
    explicit ConnectingIndicator(SessionHost& owner) : host(owner) {
        host.beginWaitCursor();
        host.setFrameStatusText(establishingConnectionText);
    }
    ~ConnectingIndicator() {
        host.setFrameStatusText("");
        host.endWaitCursor();
    }
    ConnectingIndicator(const ConnectingIndicator&) = delete;
    ConnectingIndicator& operator=(const ConnectingIndicator&) = delete;

private:
    SessionHost& host;
};

} // namespace

Session::Session(const SettingsStore& settings, SessionHost& sessionHost)
    : connection(std::make_shared<OdbcConnection>()), execTimeText(initialExecTimeText),
      host(&sessionHost) {
    threadPriority = threadPriorityLevel(settings.readText(configureSection, "ThreadPriority", ""));
    queryTimeout = settings.readInt(configureSection, "QueryTimeOut", 0);
    loginTimeout = settings.readInt(configureSection, "LoginTimeOut", 0);
    readPaneFont(settings, gridFontSection, gridFont, &gridFontExtras);
}

bool Session::showsMessages() const {
    return equalsNoCase(resultInfoText, messagesInfoText);
}

Session::~Session() {
    batchRecordset.reset();
    connection->close();
}

void Session::detachHost() {
    static SessionHost nothing;
    host = &nothing;
}

bool Session::isConnected() const {
    return connection->isOpen();
}

bool Session::Connect(const std::optional<std::string>& givenConnectString,
                      const std::optional<std::string>& database) {
    const ConnectingIndicator indicator(*host);
    startTicks = tickCount();
    std::string failureText;
    try {
        openAndDescribe(givenConnectString, database);
        if (connection->isOpen() && !connectString.empty()) {
            return true;
        }
    } catch (...) {
        failureText = errorTextFor(std::current_exception());
    }
    if (failureText.empty() || !host->askRetryConnect(failureText)) {
        return false;
    }
    connectString.clear();
    return Connect(std::nullopt, std::nullopt);
}

void Session::openAndDescribe(const std::optional<std::string>& givenConnectString,
                              const std::optional<std::string>& database) {
    if (loginTimeout > maxLoginTimeout || loginTimeout < 0) {
        loginTimeout = 0;
    }
    connection->setLoginTimeout(loginTimeout);
    // Statements of an earlier connection die with it.
    batchRecordset.reset();

    bool opened = false;
    if (givenConnectString) {
        std::string request = *givenConnectString;
        // Only a leading "ODBC;" is the connection-type prefix; the same five characters
        // elsewhere (inside a password, say) are data.
        if (request.compare(0, odbcPrefix.size(), odbcPrefix) == 0) {
            request.erase(0, odbcPrefix.size());
        }
        opened = connection->open(request, nullptr);
        connectString = *givenConnectString;
    } else {
        opened = connection->open("", host);
        connectString = opened ? connection->completedConnectString() : std::string();
    }
    if (!opened || connectString.empty()) {
        connectString.clear();
        return;
    }

    host->setFrameStatusText(establishingConnectionText);
    connection->setQueryTimeout(queryTimeout);

    caps = {};
    caps.dbmsName = connection->infoText(SQL_DBMS_NAME);
    caps.dataSourceName = connection->infoText(SQL_DATA_SOURCE_NAME);
    if (caps.dataSourceName.empty()) {
        caps.dataSourceName = caps.dbmsName;
    }
    caps.isJetDriver = equalsNoCase(connection->infoText(SQL_DRIVER_NAME), "ODBCJT32.DLL");
    caps.isSqlServerFamily = isSqlServerFamilyName(caps.dbmsName);

    batchRecordset = std::make_shared<CRecordsetEx>(connection);

    host->setupDatabaseContext(*this, database);

    caps.supportsMultipleResults = connection->infoText(SQL_MULT_RESULT_SETS) == "Y";
    caps.supportsCancel = connection->supportsFunction(SQL_API_SQLCANCEL);
    caps.supportsRowCount = connection->supportsFunction(SQL_API_SQLROWCOUNT);
    resultInfoText = resultInfoOpenText;

    UpdateExecTime();
}

void Session::UpdateExecTime() {
    execTimeText = formatExecTime(tickCount() - startTicks);
    host->setExecTimeText(execTimeText);
}

void Session::ApplySettings(int newQueryTimeout, const std::string& threadPriorityText) {
    if (connection->isOpen()) {
        connection->setQueryTimeout(newQueryTimeout);
        queryTimeout = newQueryTimeout;
    }
    threadPriority = threadPriorityLevel(threadPriorityText);
}

bool Session::IsTextDriver() const {
    if (!connection->isOpen()) {
        return false;
    }
    try {
        return equalsNoCase(connection->infoText(SQL_DBMS_NAME), "Text");
    } catch (...) {
        return false;
    }
}

} // namespace veltro
