#include "TestDatabases.h"
#include "TestDriver.h"

#include "odbc/CRecordsetEx.h"
#include "odbc/OdbcConnection.h"
#include "odbc/OdbcEnvironment.h"
#include "session/Session.h"
#include "session/SessionHost.h"
#include "settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

// Answers the session's questions as a test script says, and remembers what it was told.
class ScriptedHost : public SessionHost {
public:
    void setFrameStatusText(const std::string& text) override { frameStatus.push_back(text); }
    void beginWaitCursor() override { ++waitDepth; }
    void endWaitCursor() override { --waitDepth; }
    void setExecTimeText(const std::string& text) override { execTime = text; }
    bool askRetryConnect(const std::string& errorText) override {
        retryQuestions.push_back(errorText);
        return retryAnswers-- > 0;
    }
    std::optional<std::string> promptConnectString() override {
        ++prompts;
        return promptAnswer;
    }
    void setupDatabaseContext(Session&, const std::optional<std::string>& database) override {
        databaseAsked = database;
        ++databaseContextCalls;
    }

    std::vector<std::string> frameStatus;
    int waitDepth = 0;
    std::string execTime;
    std::vector<std::string> retryQuestions;
    int retryAnswers = 0;
    int prompts = 0;
    std::optional<std::string> promptAnswer;
    std::optional<std::string> databaseAsked;
    int databaseContextCalls = 0;
};

class SessionConnect : public testing::Test {
protected:
    std::string sqlite() { return test::sqliteConnectString(test::workFolder("session") / "s.db"); }

    MemorySettingsStore settings;
    ScriptedHost host;
};

TEST_F(SessionConnect, ConnectsAndRecordsWhatTheDriverIs) {
    Session session(settings, host);
    EXPECT_EQ(session.resultInfoText, "CDatabase::IsOpen = FALSE");
    const std::string connectString = sqlite();
    ASSERT_TRUE(session.Connect(connectString, std::string("ignored")));
    EXPECT_TRUE(session.isConnected());
    EXPECT_EQ(session.connectString, connectString);
    EXPECT_EQ(session.capabilities().dbmsName, "SQLite");
    // The driver reports no data source name: the DBMS name stands in for it.
    EXPECT_EQ(session.capabilities().dataSourceName, "SQLite");
    EXPECT_FALSE(session.capabilities().isSqlServerFamily);
    EXPECT_FALSE(session.capabilities().isJetDriver);
    EXPECT_FALSE(session.capabilities().supportsMultipleResults);
    EXPECT_TRUE(session.capabilities().supportsCancel);
    EXPECT_TRUE(session.capabilities().supportsRowCount);
    EXPECT_FALSE(session.IsTextDriver());
    ASSERT_NE(session.batchRecordset, nullptr);
    EXPECT_TRUE(session.batchRecordset->Execute("SELECT 1"));
    EXPECT_EQ(session.resultInfoText, "CDatabase::IsOpen == TRUE");
    EXPECT_EQ(session.execTimeText, "Exec time: 00:00:00");
    EXPECT_EQ(host.execTime, "Exec time: 00:00:00");
    EXPECT_EQ(host.databaseContextCalls, 1);
    EXPECT_EQ(host.databaseAsked, std::optional<std::string>("ignored"));
    EXPECT_EQ(host.waitDepth, 0);
    ASSERT_FALSE(host.frameStatus.empty());
    EXPECT_EQ(host.frameStatus.front(), "Establishing new connection...");
    EXPECT_EQ(host.frameStatus.back(), "");
    EXPECT_TRUE(host.retryQuestions.empty());
}

TEST_F(SessionConnect, PostgresReportsMultipleResults) {
    const std::string connectString = test::postgresConnectString();
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);
    Session session(settings, host);
    ASSERT_TRUE(session.Connect(connectString, std::nullopt));
    EXPECT_EQ(session.capabilities().dbmsName, "PostgreSQL");
    EXPECT_TRUE(session.capabilities().supportsMultipleResults);
}

TEST_F(SessionConnect, OutOfRangeLoginTimeoutConnectsWithZero) {
    for (const int stored : {100000, -5}) {
        settings.writeInt("Configure", "LoginTimeOut", stored);
        Session session(settings, host);
        EXPECT_EQ(session.loginTimeout, stored);
        ASSERT_TRUE(session.Connect(sqlite(), std::nullopt));
        EXPECT_EQ(session.loginTimeout, 0);
        EXPECT_EQ(session.connection->loginTimeout(), 0);
    }
    settings.writeInt("Configure", "LoginTimeOut", 99999);
    Session kept(settings, host);
    ASSERT_TRUE(kept.Connect(sqlite(), std::nullopt));
    EXPECT_EQ(kept.connection->loginTimeout(), 99999);
}

TEST_F(SessionConnect, ConfigureSettingsAreReadAtConstruction) {
    Session defaults(settings, host);
    EXPECT_EQ(defaults.threadPriority, -2);
    EXPECT_EQ(defaults.queryTimeout, 0);

    settings.writeText("Configure", "ThreadPriority", "above normal");
    settings.writeInt("Configure", "QueryTimeOut", 30);
    Session configured(settings, host);
    EXPECT_EQ(configured.threadPriority, 1);
    EXPECT_EQ(configured.queryTimeout, 30);
    ASSERT_TRUE(configured.Connect(sqlite(), std::nullopt));
    EXPECT_EQ(configured.connection->queryTimeout(), 30);
}

TEST_F(SessionConnect, ApplySettingsChangesQueryTimeoutOnlyWhenConnected) {
    Session session(settings, host);
    session.ApplySettings(12, "Highest");
    EXPECT_EQ(session.queryTimeout, 0);
    EXPECT_EQ(session.threadPriority, 2);

    ASSERT_TRUE(session.Connect(sqlite(), std::nullopt));
    session.ApplySettings(45, "nonsense");
    EXPECT_EQ(session.queryTimeout, 45);
    EXPECT_EQ(session.connection->queryTimeout(), 45);
    EXPECT_EQ(session.threadPriority, -2);
    // The timeout now goes on every new statement.
    EXPECT_TRUE(session.batchRecordset->Execute("SELECT 1"));
}

TEST_F(SessionConnect, BadConnectStringOffersDriverMessageAndState) {
    Session session(settings, host);
    EXPECT_FALSE(session.Connect(std::string("DSN=NoSuchDataSource"), std::nullopt));
    ASSERT_EQ(host.retryQuestions.size(), 1u);
    EXPECT_EQ(host.retryQuestions[0], "Data source name not found and no default driver specified\n"
                                      "State:IM002,Native:0,Origin:[unixODBC][Driver Manager]\n");
    EXPECT_EQ(host.prompts, 0);
    EXPECT_FALSE(session.isConnected());
    EXPECT_EQ(host.waitDepth, 0);
    EXPECT_EQ(host.frameStatus.back(), "");
}

TEST_F(SessionConnect, RetryPromptsForDataSourceEvenAfterAGivenString) {
    host.retryAnswers = 1;
    host.promptAnswer = sqlite();
    Session session(settings, host);
    ASSERT_TRUE(session.Connect(std::string("Driver={No Such Driver}"), std::nullopt));
    EXPECT_EQ(host.retryQuestions.size(), 1u);
    EXPECT_EQ(host.prompts, 1);
    // Without a given string the completed one is kept.
    EXPECT_EQ(session.connectString.rfind("ODBC;", 0), 0u) << session.connectString;
    EXPECT_NE(session.connectString.find("Database="), std::string::npos);
    EXPECT_FALSE(host.databaseAsked.has_value());
}

TEST_F(SessionConnect, CancelledPromptIsAQuietFailure) {
    host.retryAnswers = 5;
    Session session(settings, host);
    EXPECT_FALSE(session.Connect(std::nullopt, std::nullopt));
    EXPECT_EQ(host.prompts, 1);
    EXPECT_TRUE(host.retryQuestions.empty());
    EXPECT_TRUE(session.connectString.empty());
    EXPECT_FALSE(session.isConnected());
}

TEST_F(SessionConnect, OnlyALeadingOdbcPrefixIsDropped) {
    Session prefixed(settings, host);
    const std::string connectString = "ODBC;" + sqlite();
    ASSERT_TRUE(prefixed.Connect(connectString, std::nullopt));
    EXPECT_EQ(prefixed.connectString, connectString);

    // "ODBC;" further on is data: dropping five characters from the front would break the
    // string.
    const std::string inside = sqlite() + ";Description=Veltro via ODBC;";
    Session named(settings, host);
    ASSERT_TRUE(named.Connect(inside, std::nullopt));
    EXPECT_EQ(named.connectString, inside);
}

TEST_F(SessionConnect, EnvironmentIsSharedAndFreedWithTheLastConnection) {
    {
        Session first(settings, host);
        Session second(settings, host);
        ASSERT_TRUE(first.Connect(sqlite(), std::nullopt));
        ASSERT_TRUE(second.Connect(sqlite(), std::nullopt));
        EXPECT_EQ(first.connection->environmentHandle(), second.connection->environmentHandle());
        first.connection->close();
        EXPECT_TRUE(OdbcEnvironment::isAllocated());
    }
    EXPECT_FALSE(OdbcEnvironment::isAllocated());
}

TEST_F(SessionConnect, CapabilitiesFollowWhatTheDriverDeclares) {
    Session sqlServer(settings, host);
    ASSERT_TRUE(sqlServer.Connect(
        test::testDriver("DBMS_NAME=Microsoft SQL Server;Missing=SQLCancel,SQLRowCount"),
        std::nullopt));
    EXPECT_TRUE(sqlServer.capabilities().isSqlServerFamily);
    // A connection without a data source name is named after its DBMS.
    EXPECT_EQ(sqlServer.capabilities().dataSourceName, "Microsoft SQL Server");
    EXPECT_TRUE(sqlServer.capabilities().supportsMultipleResults);
    EXPECT_FALSE(sqlServer.capabilities().supportsCancel);
    EXPECT_FALSE(sqlServer.capabilities().supportsRowCount);
    EXPECT_FALSE(sqlServer.capabilities().isJetDriver);

    Session jet(settings, host);
    ASSERT_TRUE(jet.Connect(test::testDriver("DBMS_NAME=ACCESS;SQL_DRIVER_NAME=odbcjt32.dll;"
                                             "SQL_MULT_RESULT_SETS=y"),
                            std::nullopt));
    EXPECT_TRUE(jet.capabilities().isJetDriver);
    EXPECT_FALSE(jet.capabilities().isSqlServerFamily);
    // Only an upper-case "Y" counts.
    EXPECT_FALSE(jet.capabilities().supportsMultipleResults);

    for (const char* name : {"sybase sql anywhere", "Adaptive Server Anywhere", "SQL SERVER"}) {
        Session family(settings, host);
        ASSERT_TRUE(
            family.Connect(test::testDriver(std::string("DBMS_NAME=") + name), std::nullopt));
        EXPECT_TRUE(family.capabilities().isSqlServerFamily) << name;
    }
}

TEST_F(SessionConnect, TextDriverIsAskedEachTime) {
    Session text(settings, host);
    ASSERT_TRUE(text.Connect(test::testDriver("DBMS_NAME=TEXT"), std::nullopt));
    EXPECT_TRUE(text.IsTextDriver());
    text.connection->close();
    EXPECT_FALSE(text.IsTextDriver());
}

TEST_F(SessionConnect, DriverBelowApiLevelOneFailsWithoutText) {
    Session session(settings, host);
    EXPECT_FALSE(session.Connect(test::testDriver("SQL_ODBC_API_CONFORMANCE=0"), std::nullopt));
    ASSERT_EQ(host.retryQuestions.size(), 1u);
    EXPECT_EQ(host.retryQuestions[0], "Errors occurred.");
    EXPECT_FALSE(session.isConnected());
}

TEST_F(SessionConnect, DriverRefusalsGiveTheirTextsOrNothing) {
    Session refused(settings, host);
    EXPECT_FALSE(refused.Connect(
        test::testDriver("FailConnect={28000|18456|Login failed for user 'sa'.}"), std::nullopt));
    ASSERT_EQ(host.retryQuestions.size(), 1u);
    EXPECT_EQ(host.retryQuestions[0], "Login failed for user 'sa'.\n"
                                      "State:28000,Native:18456,Origin:[Veltro][TestDriver]\n");

    Session noData(settings, host);
    EXPECT_FALSE(noData.Connect(test::testDriver("FailConnect=NO_DATA"), std::nullopt));
    EXPECT_EQ(host.retryQuestions.size(), 1u);
    EXPECT_FALSE(noData.isConnected());
}

} // namespace
} // namespace veltro
