#include "execution/BatchText.h"
#include "session/MessageText.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

TEST(BatchText, SelectionOrWholeText) {
    EXPECT_EQ(batchTextOf("select 1; select 2", 0, 0), "select 1; select 2");
    EXPECT_EQ(batchTextOf("select 1; select 2", 10, 18), "select 2");
    EXPECT_EQ(batchTextOf("select 1; select 2", 8, 0), "select 1");
    // Positions count characters, not bytes.
    EXPECT_EQ(batchTextOf("select 'äö', 1", 8, 10), "äö");
    const std::string big(30000, 'x');
    EXPECT_EQ(batchTextOf(big + "tail", 5, 20006).size(), 20001u);
}

TEST(BatchText, TitlePreviewOf15Characters) {
    EXPECT_EQ(titleWithPreview("Query_1 - (New Query)", "select * from t"),
              "Query_1 - (select * from t)");
    EXPECT_EQ(titleWithPreview("Query_1 - (old)", "select * from tt"),
              "Query_1 - (select * from t...)");
    EXPECT_EQ(titleWithPreview("orders.qry", "a\nb\rc"), "orders.qry - (a b c)");
    EXPECT_EQ(titleWithPreview("q", "äöüäöüäöüäöüäöüä"), "q - (äöüäöüäöüäöüäöü...)");
}

TEST(BatchText, ObjectTextBatchesOnlyWithLowerCasePrefixOnSqlServerFamily) {
    const ObjectTextBatch lower =
        detectObjectTextBatch("sp_helptext dbo.p1\nGO", true, "SQL Server");
    EXPECT_TRUE(lower.isObjectText);
    EXPECT_EQ(lower.objectName, "dbo.p1");
    EXPECT_EQ(lower.batchText, "sp_helptext dbo.p1\nGO");

    // A bracketed name is one name, blanks and all.
    EXPECT_EQ(detectObjectTextBatch("sp_helptext [Recent Orders]\n", true, "SQL Server").objectName,
              "[Recent Orders]");
    EXPECT_EQ(detectObjectTextBatch("sp_helptext [a]]b] x", true, "SQL Server").objectName,
              "[a]]b]");

    EXPECT_FALSE(detectObjectTextBatch("SP_HELPTEXT p1", true, "SQL Server").isObjectText);
    EXPECT_FALSE(detectObjectTextBatch(" sp_helptext p1", true, "SQL Server").isObjectText);
    EXPECT_FALSE(detectObjectTextBatch("sp_helptext p1", false, "PostgreSQL").isObjectText);

    const ObjectTextBatch anywhere =
        detectObjectTextBatch("sp_helptext view_1\tx", true, "adaptive server anywhere");
    EXPECT_TRUE(anywhere.isObjectText);
    EXPECT_EQ(anywhere.batchText, "SELECT text FROM syscomments where id = object_id('view_1') "
                                  "order by number, colid2, colid");
    // A quote in the name stays inside the literal.
    EXPECT_EQ(detectObjectTextBatch("sp_helptext o'x')--", true, "Sybase SQL Anywhere").batchText,
              "SELECT text FROM syscomments where id = object_id('o''x'')--') "
              "order by number, colid2, colid");
}

TEST(BatchText, UseAnywhereInAnyCase) {
    EXPECT_TRUE(batchMentionsUse("use master"));
    EXPECT_TRUE(batchMentionsUse("select 1 -- because "));
    EXPECT_FALSE(batchMentionsUse("select user"));
    EXPECT_FALSE(batchMentionsUse("use\tmaster"));
}

TEST(MessageText, TextsAreSeparatedByABlankLine) {
    std::string buffer;
    appendMessage(buffer, "");
    EXPECT_EQ(buffer, "");
    appendMessage(buffer, "one");
    appendMessage(buffer, "");
    appendMessage(buffer, "two");
    EXPECT_EQ(buffer, "one\n\n\n\ntwo");
}

} // namespace
} // namespace veltro
