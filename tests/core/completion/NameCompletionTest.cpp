// Names listed at the caret from the catalog of real drivers and of the test driver playing
// SQL Server, read by the catalog reader on its own connection.
#include "RealDrivers.h"
#include "TestConnection.h"
#include "TestDriver.h"

#include "completion/CatalogReader.h"
#include "completion/NameCache.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <variant>

namespace veltro {
namespace {

using Result = std::variant<CatalogNames, CatalogColumns>;

// A reader whose results the test takes as they come.
class ReaderUnderTest {
public:
    explicit ReaderUnderTest(CatalogReader::Source source)
        : reader(
              std::move(source), [this](CatalogNames n) { arrive(std::move(n)); },
              [this](CatalogColumns c) { arrive(std::move(c)); }) {}

    // Reads what the list at the caret needs until it needs nothing more.
    NameCache::List list(NameCache& cache, const std::string& marked) {
        std::string text = marked;
        const std::size_t caret = text.find('|');
        text.erase(caret, 1);
        const CaretContext context = caretContext(text, caret);
        for (;;) {
            NameCache::List list = cache.listFor(context);
            if (list.needs.names) {
                const CatalogNames names = this->names();
                EXPECT_EQ(names.errorText, "");
                cache.setNames(names.quoting, names.tables, names.procedures, names.keywords);
            } else if (!list.needs.columnsOf.empty()) {
                for (const CatalogName& table : list.needs.columnsOf) {
                    reader.readColumns(1, table);
                    const auto columns = std::get<CatalogColumns>(next());
                    EXPECT_EQ(columns.errorText, "");
                    cache.setColumns(columns.table, columns.columns);
                }
            } else {
                return list;
            }
        }
    }

    CatalogNames names() {
        reader.readNames(1);
        return std::get<CatalogNames>(next());
    }

    Result next() {
        std::unique_lock guard(lock);
        const bool arrived =
            ready.wait_for(guard, std::chrono::seconds(30), [this] { return !results.empty(); });
        if (!arrived) {
            throw std::runtime_error("no catalog result");
        }
        Result result = std::move(results.front());
        results.pop_front();
        return result;
    }

private:
    void arrive(Result result) {
        {
            const std::lock_guard guard(lock);
            results.push_back(std::move(result));
        }
        ready.notify_all();
    }

    std::mutex lock;
    std::condition_variable ready;
    std::deque<Result> results;
    CatalogReader reader;
};

struct Driver {
    std::string name;
    std::string connectString;
    bool sqlServer = false;
    char open = '"';
    char close = '"';
};

using test::connect;
using test::run;

// The tables of the cases; PostgreSQL adds a schema and a procedure.
void createTables(const Driver& driver) {
    const auto connection = connect(driver.connectString);
    const bool postgres = driver.name == "PostgreSQL";
    for (const char* drop : {"drop table cpl_orders", "drop table cpl_customers",
                             "drop table \"cpl order details\"", "drop table cpl_zebra"}) {
        try {
            run(connection, drop);
        } catch (const std::exception&) {
            // Not there yet.
        }
    }
    run(connection, "create table cpl_orders (id int, customer int, total int)");
    run(connection, "create table cpl_customers (id int, name varchar(20))");
    run(connection, "create table \"cpl order details\" (order_id int, qty int)");
    if (postgres) {
        run(connection, "drop schema if exists cpl_sales cascade");
        run(connection, "create schema cpl_sales");
        run(connection, "create table cpl_sales.zz_cpl_invoices (id int, amount int)");
        run(connection, "create or replace procedure cpl_add_order() language sql as 'select 1'");
    }
}

class NameCompletion : public testing::TestWithParam<test::RealDriver> {
protected:
    Driver driver() {
        Driver d;
        d.name = test::realDriverName({GetParam(), 0});
        d.connectString = test::realDriverConnectString(GetParam(), "completion");
        return d;
    }
};

struct ListCase {
    const char* text;
    std::vector<std::string> first; // "<" and ">" stand for the driver's quotes
    int count;
};

std::string quoted(std::string entry, const Driver& driver) {
    for (char& c : entry) {
        c = c == '<' ? driver.open : c == '>' ? driver.close : c;
    }
    return entry;
}

void expectLists(const Driver& driver, const std::vector<ListCase>& cases,
                 const std::string& attributes = "") {
    ReaderUnderTest reader({driver.connectString + attributes, driver.sqlServer, false, 0});
    NameCache cache;
    for (const ListCase& c : cases) {
        const auto list = reader.list(cache, c.text);
        std::vector<std::string> first(
            list.entries.begin(), list.entries.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                             list.entries.size(), c.first.size())));
        std::vector<std::string> expected;
        for (const std::string& entry : c.first) {
            expected.push_back(quoted(entry, driver));
        }
        EXPECT_EQ(first, expected) << driver.name << ": " << c.text;
        if (c.count >= 0) {
            EXPECT_EQ(list.entries.size(), static_cast<std::size_t>(c.count))
                << driver.name << ": " << c.text;
        }
    }
}

// The cases every driver answers alike.
const std::vector<ListCase> commonCases = {
    {"select o.| from cpl_orders o", {"customer", "id", "total"}, 3},
    {"select O.TO| from CPL_ORDERS O", {"total"}, 1},
    {"select * from cpl_orders as o join cpl_customers c on c.| = o.id", {"id", "name"}, 2},
    {"select d.| from \"cpl order details\" d", {"order_id", "qty"}, 2},
    {"select * from cpl|", {"<cpl order details>", "cpl_customers", "cpl_orders"}, 3},
    {"select * from CPL_O|", {"cpl_orders"}, 1},
    {"select * from \"cpl o|", {"<cpl order details>"}, 1},
    {"select na| from cpl_orders o, cpl_customers", {"name", "names", "national", "natural"}, -1},
    {"select 'o.|' from cpl_orders o", {}, 0},
    {"select 1 -- o.|\nfrom cpl_orders o", {}, 0},
    {"select c.name from cpl_customers c; select c.| from cpl_orders c",
     {"customer", "id", "total"},
     3},
    {"sel|", {"select"}, -1},
};

TEST_P(NameCompletion, ListsAtTheCaret) {
    const Driver d = driver();
    VELTRO_REQUIRE_REAL_DRIVER_OR_SKIP(GetParam(), d.connectString);
    createTables(d);
    std::vector<ListCase> cases = commonCases;
    if (d.name == "PostgreSQL") {
        cases.push_back({"select * from cpl_sales.|", {"zz_cpl_invoices"}, 1});
        cases.push_back({"select i.| from cpl_sales.zz_cpl_invoices i", {"amount", "id"}, 2});
        cases.push_back({"call cpl_a|", {"cpl_add_order"}, 1});
    }
    expectLists(d, cases);
}

TEST_P(NameCompletion, RefreshAfterCreateTableListsTheNewTable) {
    const Driver d = driver();
    VELTRO_REQUIRE_REAL_DRIVER_OR_SKIP(GetParam(), d.connectString);
    createTables(d);
    ReaderUnderTest reader({d.connectString, false, false, 0});
    NameCache cache;
    EXPECT_TRUE(reader.list(cache, "select * from cpl_z|").entries.empty());
    const std::string ddl = "create table cpl_zebra (stripe int)";
    run(connect(d.connectString), ddl);
    ASSERT_TRUE(changesSchema(ddl));
    cache.clear();
    EXPECT_EQ(reader.list(cache, "select * from cpl_z|").entries,
              std::vector<std::string>{"cpl_zebra"});
    EXPECT_EQ(reader.list(cache, "select z.| from cpl_zebra z").entries,
              std::vector<std::string>{"stripe"});
}

VELTRO_ON_REAL_DRIVERS(NameCompletion);

Driver sqlServer(const std::string& name) {
    Driver d;
    d.name = "SQL Server";
    d.connectString = test::testDriver("DBMS_NAME=Microsoft SQL Server;Schema=dbo;Database=" +
                                       (test::workFolder(name) / "catalog.db").string());
    d.sqlServer = true;
    d.open = '[';
    d.close = ']';
    return d;
}

TEST(NameCompletionTestDriver, SqlServerFamilyBracketsAndOwners) {
    const Driver d = sqlServer("completion-sqlserver");
    createTables(d);
    std::vector<ListCase> cases = commonCases;
    cases.push_back({"select * from dbo.cpl_c|", {"cpl_customers"}, 1});
    cases.push_back({"select x.| from dbo.cpl_customers x", {"id", "name"}, 2});
    expectLists(d, cases);
}

TEST(NameCompletionTestDriver, WithoutSqlColumnsTablesStillComplete) {
    const Driver d = sqlServer("completion-nocolumns");
    createTables(d);
    expectLists(d,
                {{"select o.| from cpl_orders o", {}, 0},
                 {"select * from cpl|", {"[cpl order details]", "cpl_customers", "cpl_orders"}, 3},
                 {"select cust| from cpl_orders", {}, 0}},
                ";Missing=SQLColumns");
}

TEST(NameCompletionTestDriver, WithoutSqlTablesOnlyKeywordsComplete) {
    const Driver d = sqlServer("completion-notables");
    createTables(d);
    expectLists(d,
                {{"select * from cpl_o|", {}, 0},
                 {"select o.| from cpl_orders o", {}, 0},
                 {"SEL|", {"SELECT"}, -1}},
                ";Missing=SQLTables,SQLColumns,SQLProcedures");
}

TEST(NameCompletionTestDriver, CatalogFailureIsAnErrorTextNotAnException) {
    ReaderUnderTest reader(
        {test::testDriver("FailConnect=28000|18456|Login failed"), true, false, 0});
    const CatalogNames names = reader.names();
    EXPECT_NE(names.errorText.find("Login failed"), std::string::npos) << names.errorText;
    EXPECT_TRUE(names.tables.empty());

    ReaderUnderTest failing(
        {test::testDriver("FailCatalog=*;Error=42S02|208|Catalog is offline"), true, false, 0});
    EXPECT_EQ(failing.names().errorText,
              "Catalog is offline\nState:S0002,Native:208,Origin:[Veltro][TestDriver]\n");
}

} // namespace
} // namespace veltro
