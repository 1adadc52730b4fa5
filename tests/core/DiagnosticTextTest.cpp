#include "odbc/DiagnosticText.h"
#include "common/AppError.h"
#include "common/ErrorText.h"
#include "odbc/DatabaseError.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace veltro {
namespace {

TEST(OriginTags, LeadingTagsAndOneBlankAreSplitOff) {
    const OriginSplit dm = splitOriginTags("[unixODBC][Driver Manager]Data source name not found");
    EXPECT_EQ(dm.origin, "[unixODBC][Driver Manager]");
    EXPECT_EQ(dm.message, "Data source name not found");

    const OriginSplit blank = splitOriginTags("[Veltro][TestDriver]  two blanks");
    EXPECT_EQ(blank.origin, "[Veltro][TestDriver]");
    EXPECT_EQ(blank.message, " two blanks");

    const OriginSplit inner = splitOriginTags("no tags here [x]");
    EXPECT_EQ(inner.origin, "");
    EXPECT_EQ(inner.message, "no tags here [x]");

    const OriginSplit unclosed = splitOriginTags("[vendor][unclosed text");
    EXPECT_EQ(unclosed.origin, "[vendor]");
    EXPECT_EQ(unclosed.message, "[unclosed text");
}

TEST(OriginTags, StateLineShape) {
    EXPECT_EQ(stateLine("42601", 7, "[a][b]"), "State:42601,Native:7,Origin:[a][b]\n");
    EXPECT_EQ(stateLine("S1000", -1, ""), "State:S1000,Native:-1,Origin:\n");
}

TEST(ErrorTexts, EachKindOfFailureHasItsText) {
    const auto textOf = [](auto failure, const char* oom = outOfMemorySessionText) {
        return errorTextFor(std::make_exception_ptr(failure), oom);
    };
    EXPECT_EQ(textOf(DatabaseError(SQL_ERROR, "bad\n", "State:42000,Native:1,Origin:[x]\n")),
              "bad\nState:42000,Native:1,Origin:[x]\n");
    EXPECT_EQ(textOf(DatabaseError(SQL_ERROR, "", "State:1\n")), "State:1\n");
    EXPECT_EQ(textOf(DatabaseError(SQL_ERROR, "", "")), "Errors occurred.");
    EXPECT_EQ(textOf(std::bad_alloc()), "Out-of-Memory.");
    EXPECT_EQ(textOf(std::bad_alloc(), outOfMemoryDialogText), "Out-of-memory.");
    EXPECT_EQ(textOf(AppError("Failed to create grid control.")), "Failed to create grid control.");
    EXPECT_EQ(textOf(AppError(std::string(300, 'x'))), std::string(254, 'x'));
    std::string e300;
    for (int i = 0; i < 300; ++i) {
        e300 += "é";
    }
    EXPECT_EQ(textOf(AppError(e300)), e300.substr(0, 254 * 2));
    EXPECT_EQ(textOf(AppError("")), "Errors occurred.");
    EXPECT_EQ(textOf(std::runtime_error("internal detail")), "Errors occurred.");
    EXPECT_EQ(textOf(42), "Errors occurred.");
}

TEST(ErrorTexts, DatabaseErrorDisplayJoinsTexts) {
    const DatabaseError error(SQL_ERROR, "one\ntwo\n", "State:A\nState:B\n");
    EXPECT_EQ(error.displayText(), "one\ntwo\nState:A\nState:B\n");
    EXPECT_STREQ(error.what(), "one\ntwo\nState:A\nState:B\n");
    EXPECT_EQ(error.returnCode(), SQL_ERROR);
}

} // namespace
} // namespace veltro
