// What kind of name the caret wants, read from the statement around it.
#include "completion/CaretContext.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

using Kind = CaretContext::Kind;

struct Case {
    const char* text; // "|" marks the caret
    Kind kind;
    const char* prefix;
    // qualifiedColumns: schema.table that the qualifier names; tables: the schema.
    const char* target;
};

CaretContext at(const std::string& marked) {
    std::string text = marked;
    const std::size_t caret = text.find('|');
    text.erase(caret, 1);
    return caretContext(text, caret);
}

TEST(CaretContext, NamesWantedAtTheCaret) {
    const Case cases[] = {
        {"select o.| from orders o", Kind::qualifiedColumns, "", ".orders"},
        {"select o.cu| from orders o", Kind::qualifiedColumns, "cu", ".orders"},
        {"select * from orders as o join customers c on c.| = o.id", Kind::qualifiedColumns, "",
         ".customers"},
        {"select d.| from \"order details\" d", Kind::qualifiedColumns, "", ".order details"},
        {"select x.| from sales.invoices x", Kind::qualifiedColumns, "", "sales.invoices"},
        {"select orders.| from orders", Kind::qualifiedColumns, "", ".orders"},
        {"select sales.invoices.a| from sales.invoices", Kind::qualifiedColumns, "a",
         "sales.invoices"},
        {"update orders set | = 1", Kind::statementColumns, "", ""},
        {"select * from orders o where o.id = 1 and to|", Kind::statementColumns, "to", ""},
        {"select * from ord|", Kind::tables, "ord", ""},
        {"select * from \"order d|", Kind::tables, "order d", ""},
        {"select * from [order d|", Kind::tables, "order d", ""},
        {"select * from sales.inv|", Kind::tables, "inv", "sales"},
        {"select * from orders o, cus|", Kind::tables, "cus", ""},
        {"insert into |", Kind::tables, "", ""},
        {"select * from a join |", Kind::tables, "", ""},
        {"drop table |", Kind::tables, "", ""},
        {"exec add|", Kind::procedures, "add", ""},
        {"call |", Kind::procedures, "", ""},
        {"sel|", Kind::keywords, "sel", ""},
        {"select * from orders o wh|", Kind::keywords, "wh", ""},
        // Nothing inside strings and comments.
        {"select 'o.|' from orders o", Kind::none, "", ""},
        {"select 'it''s o.|", Kind::none, "", ""},
        {"select 1 -- from ord|\nfrom orders", Kind::none, "", ""},
        {"select 1 /* from ord| */", Kind::none, "", ""},
        {"select 1 /* from ord|", Kind::none, "", ""},
        // The statement is bounded by semicolons, also on one line.
        {"select c.x from customers c; select c.| from orders c", Kind::qualifiedColumns, "",
         ".orders"},
        {"select c.| from orders c; select 1 from customers c", Kind::qualifiedColumns, "",
         ".orders"},
        {"select 1; sel|", Kind::keywords, "sel", ""},
    };
    for (const Case& c : cases) {
        const CaretContext context = at(c.text);
        EXPECT_EQ(context.kind, c.kind) << c.text;
        EXPECT_EQ(context.prefix, c.prefix) << c.text;
        if (c.kind == Kind::qualifiedColumns) {
            EXPECT_EQ(context.columnsOf.schema + "." + context.columnsOf.table, c.target) << c.text;
        } else if (c.kind == Kind::tables) {
            EXPECT_EQ(context.schema, c.target) << c.text;
        }
    }
}

TEST(CaretContext, ChosenNameReplacesTheTypedNameWithItsQuote) {
    EXPECT_EQ(at("select * from \"order d|").replaceFrom, 14U);
    EXPECT_EQ(at("select o.cu| from orders o").replaceFrom, 9U);
    EXPECT_EQ(at("select o.| from orders o").replaceFrom, 9U);
    EXPECT_TRUE(at("select o.| from orders o").afterDot);
    EXPECT_FALSE(at("select 3.| from orders o").afterDot);
}

TEST(CaretContext, StatementTablesAndTheirAliases) {
    const CaretContext context =
        at("select | from orders o join \"order details\" as d on d.id = o.id, sales.x where 1=1");
    std::string seen;
    for (const TableReference& t : context.statementTables) {
        seen += t.schema + "." + t.table + "/" + t.alias + ";";
    }
    EXPECT_EQ(seen, ".orders/o;.order details/d;sales.x/;");
}

TEST(CaretContext, SchemaChangesAreStatementsThatBeginWithDdl) {
    const std::pair<const char*, bool> batches[] = {
        {"create table t(x int)", true},
        {"select 1; -- note\n  ALTER TABLE t ADD y int", true},
        {"select 1\ngo\ndrop view v", true},
        {"rename table a to b", true},
        {"select 'create table x' from t", false},
        {"select * from t where name = 'drop'", false},
        {"/* create table */ select 1", false},
        {"insert into created values (1)", false},
    };
    for (const auto& [batch, changes] : batches) {
        EXPECT_EQ(changesSchema(batch), changes) << batch;
    }
}

} // namespace
} // namespace veltro
