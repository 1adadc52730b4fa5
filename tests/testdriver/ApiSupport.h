#pragma once

#include "Connection.h"
#include "Diagnostics.h"
#include "Profile.h"
#include "Statement.h"

#include <exception>
#include <string>

namespace veltro::testdriver {

// Runs an entry point's body; no C++ exception may cross into the driver manager.
template <typename Body> SQLRETURN guarded(Diagnostics& diagnostics, Body&& body) {
    try {
        return body();
    } catch (const std::exception& error) {
        return diagnostics.error("HY000", std::string("Internal driver error: ") + error.what());
    }
}

inline std::string textArgument(const SQLCHAR* text, SQLINTEGER length) {
    if (text == nullptr)
        return {};
    const auto* chars = reinterpret_cast<const char*>(text);
    return length == SQL_NTS ? std::string(chars) : std::string(chars, static_cast<size_t>(length));
}

// Catalog arguments: a null pointer means "not given".
inline OptionalText optionalArgument(const SQLCHAR* text, SQLSMALLINT length) {
    if (text == nullptr)
        return std::nullopt;
    return textArgument(text, length);
}

} // namespace veltro::testdriver
