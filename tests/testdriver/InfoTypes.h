#pragma once

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <string>
#include <string_view>

namespace veltro::testdriver {

// The C type SQLGetInfo writes for an info type.
enum class InfoKind { String, UShort, UInteger };

struct InfoValue {
    InfoKind kind = InfoKind::String;
    std::string text;
    SQLUINTEGER number = 0;
};

struct InfoType {
    const char* name;
    SQLUSMALLINT id;
    InfoKind kind;
};

// Finds an info type by number or by name, with or without the SQL_ prefix.
const InfoType* findInfoType(std::string_view nameOrNumber);
const InfoType* findInfoType(SQLUSMALLINT id);

// Parses an override key ("SQL_DBMS_NAME", "DBMS_NAME", "17") to an info number,
// also for numbers the table does not know.
std::optional<SQLUSMALLINT> infoIdFromKey(std::string_view key);

// Parses "text", "42", "0x1F", or an explicit "str:", "u16:", "u32:" prefix; without a
// prefix the kind of the known info type is used (strings for unknown numbers).
std::optional<InfoValue> parseInfoValue(SQLUSMALLINT id, std::string_view text);

// The answer of the driver when neither profile nor connection override an info type.
std::optional<InfoValue> defaultInfoValue(SQLUSMALLINT id);

} // namespace veltro::testdriver
