#pragma once

#include <sql.h>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace veltro::testdriver {

// Copies a string into an application buffer the ODBC way: null-terminated,
// truncated to fit, full length reported. Returns true when it was truncated.
template <typename LengthT>
bool copyOut(std::string_view text, SQLPOINTER buffer, SQLLEN bufferLength, LengthT* length) {
    if (length != nullptr)
        *length = static_cast<LengthT>(text.size());
    if (buffer == nullptr)
        return false;
    if (bufferLength <= 0)
        return !text.empty();
    const size_t copied = std::min(text.size(), static_cast<size_t>(bufferLength - 1));
    std::memcpy(buffer, text.data(), copied);
    static_cast<char*>(buffer)[copied] = '\0';
    return copied < text.size();
}

} // namespace veltro::testdriver
