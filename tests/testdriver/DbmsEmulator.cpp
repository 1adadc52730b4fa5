#include "DbmsEmulator.h"

#include "Connection.h"
#include "StringUtil.h"

#include <regex>

namespace veltro::testdriver {

namespace {

constexpr auto icase = std::regex::ECMAScript | std::regex::icase;
// Every pattern allows blanks around and one trailing semicolon.
#define VELTRO_STATEMENT(body) R"(^\s*)" body R"(\s*;?\s*$)"

const std::regex& sysdatabases() {
    static const std::regex pattern(
        VELTRO_STATEMENT(R"(SELECT\s+name\s+FROM\s+master\.\.sysdatabases\s+ORDER\s+BY\s+name)"),
        icase);
    return pattern;
}

const std::regex& dbName() {
    static const std::regex pattern(VELTRO_STATEMENT(R"(select\s+db_name\(\)\s+dbname)"), icase);
    return pattern;
}

const std::regex& useDatabase() {
    static const std::regex pattern(VELTRO_STATEMENT(R"(use\s+([^;]+?))"), icase);
    return pattern;
}

const std::regex& helpText() {
    static const std::regex pattern(VELTRO_STATEMENT(R"(sp_helptext\s+([^;]+?))"), icase);
    return pattern;
}

const std::regex& syscomments() {
    static const std::regex pattern(
        VELTRO_STATEMENT(R"(SELECT\s+text\s+FROM\s+syscomments\s+where\s+id\s*=\s*)"
                         R"(object_id\s*\(\s*'([^']*)'\s*\)\s+order\s+by\s+number\s*,\s*)"
                         R"(colid2\s*,\s*colid)"),
        icase);
    return pattern;
}

const std::regex& allSource() {
    static const std::regex pattern(
        VELTRO_STATEMENT(R"(select\s+TEXT\s+from\s+ALL_SOURCE\s+where\s+type\s*=\s*)"
                         R"('(?:VIEW|PROCEDURE)'\s+and\s+NAME\s*=\s*'([^']*)')"),
        icase);
    return pattern;
}

const std::regex& statsSelect() {
    static const std::regex pattern(VELTRO_STATEMENT(R"(select\s+\*\s+from\s+veltro_driver_stats)"),
                                    icase);
    return pattern;
}

const std::regex& statsReset() {
    static const std::regex pattern(VELTRO_STATEMENT(R"(delete\s+from\s+veltro_driver_stats)"),
                                    icase);
    return pattern;
}

#undef VELTRO_STATEMENT

ResultSet oneColumn(const char* name, const std::vector<std::string>& values) {
    ResultBuilder builder;
    builder.column(name, SQL_VARCHAR, 255);
    for (const auto& value : values)
        builder.row({value});
    return builder.take();
}

} // namespace

std::optional<Outcome> DbmsEmulator::run(std::string_view statement) {
    const std::string text(statement);
    const Profile& profile = connection_.profile();
    std::smatch match;
    if (std::regex_match(text, sysdatabases())) {
        if (profile.databasesError)
            return Outcome::failure(*profile.databasesError);
        return Outcome::of(oneColumn("name", profile.databases));
    }
    if (std::regex_match(text, dbName()))
        return Outcome::of(oneColumn("dbname", {connection_.currentDatabase()}));
    if (std::regex_match(text, match, useDatabase())) {
        const std::string name = unquoteName(match[1].str());
        if (!connection_.useDatabase(name))
            return Outcome::failure(
                {"08004", 911,
                 std::string(messagePrefix) + "Database '" + name + "' does not exist."});
        return Outcome::of({});
    }
    if (std::regex_match(text, match, helpText()))
        return sourceRows(unquoteName(match[1].str()), "Text", true);
    if (std::regex_match(text, match, syscomments()))
        return sourceRows(match[1].str(), "text", false);
    if (std::regex_match(text, match, allSource()))
        return sourceRows(match[1].str(), "TEXT", false);
    if (std::regex_match(text, statsSelect()))
        return stats();
    if (std::regex_match(text, statsReset())) {
        Counters::resetProcess();
        ResultSet result;
        result.rowCount = 0;
        return Outcome::of(std::move(result));
    }
    return std::nullopt;
}

Outcome DbmsEmulator::sourceRows(std::string_view name, const char* columnName,
                                 bool failWhenUnknown) {
    const auto& sources = connection_.profile().sources;
    // "dbo.View" names the same object as "View", in the request and in the profile.
    const auto lastPart = [](std::string_view full) {
        const size_t dot = full.rfind('.');
        return dot == std::string_view::npos ? full : full.substr(dot + 1);
    };
    auto it = sources.find(name);
    for (auto candidate = sources.begin(); it == sources.end() && candidate != sources.end();
         ++candidate) {
        if (iequals(lastPart(candidate->first), lastPart(name)))
            it = candidate;
    }
    if (it != sources.end())
        return Outcome::of(oneColumn(columnName, it->second));
    if (failWhenUnknown)
        return Outcome::failure({"42000", 15009,
                                 std::string(messagePrefix) + "The object '" + std::string(name) +
                                     "' does not exist in database '" +
                                     connection_.currentDatabase() + "'."});
    return Outcome::of(oneColumn(columnName, {}));
}

Outcome DbmsEmulator::stats() {
    ResultBuilder builder;
    builder.column("counter", SQL_VARCHAR, 64)
        .column("connection_value", SQL_INTEGER)
        .column("process_value", SQL_INTEGER);
    for (size_t i = 0; i < counterCount; ++i) {
        const auto counter = static_cast<Counter>(i);
        builder.row({Counters::nameOf(counter),
                     std::to_string(connection_.counters().connectionValue(counter)),
                     std::to_string(Counters::processValue(counter))});
    }
    return Outcome::of(builder.take());
}

} // namespace veltro::testdriver
