#include "TestApplication.h"

#include "app/DataSourceDialog.h"
#include "odbc/OdbcConnection.h"

#include <QLineEdit>
#include <QListWidget>

#include <gtest/gtest.h>
#include <sqlext.h>

#include <filesystem>

namespace veltro {
namespace {

TEST(DataSourceDialog, BuildsAConnectStringThatKeepsAnAwkwardPassword) {
    test::testApplication();
    std::filesystem::create_directories(VELTRO_TEST_WORK_DIR);
    DataSourceDialog dialog;
    const auto found = dialog.dataSources()->findItems("veltro_sqlite  (user)", Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    dialog.dataSources()->setCurrentItem(found.front());
    dialog.userField()->setText("alice");
    dialog.passwordField()->setText("p;w}d=x");
    const std::string text = dialog.connectString();
    EXPECT_EQ(text, "DSN=veltro_sqlite;UID=alice;PWD={p;w}}d=x}");
    OdbcConnection connection;
    ASSERT_TRUE(connection.open(text, nullptr));
    EXPECT_EQ(connection.infoText(SQL_DBMS_NAME), "SQLite");
}

TEST(DataSourceDialog, ADriverOrATypedStringServesToo) {
    test::testApplication();
    DataSourceDialog dialog;
    const auto drivers = dialog.drivers()->findItems("SQLite3", Qt::MatchExactly);
    ASSERT_EQ(drivers.size(), 1);
    dialog.drivers()->setCurrentItem(drivers.front());
    EXPECT_EQ(dialog.dataSources()->currentItem(), nullptr);
    dialog.moreField()->setText("Database=/tmp/x.db");
    EXPECT_EQ(dialog.connectString(), "Driver={SQLite3};Database=/tmp/x.db");

    dialog.showTypedPage();
    dialog.typedField()->setText("  DSN=other;UID=bob  ");
    EXPECT_EQ(dialog.connectString(), "DSN=other;UID=bob");
}

} // namespace
} // namespace veltro
