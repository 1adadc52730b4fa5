#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltro::testdriver {

std::string trim(std::string_view text);
std::string upper(std::string_view text);
bool iequals(std::string_view a, std::string_view b);
bool istartsWith(std::string_view text, std::string_view prefix);
// Splits on the separator and trims each field; an empty text gives no fields.
std::vector<std::string> split(std::string_view text, char separator);
// SQL LIKE-style match with % and _ (case-insensitive, as catalog patterns are).
bool likeMatch(std::string_view pattern, std::string_view text, char escape = '\\');
// Upper-case hex, two characters per byte, as ODBC converts binary to SQL_C_CHAR.
std::string toHex(std::string_view bytes);
// Removes one level of [..], ".." or '..' around an object name.
std::string unquoteName(std::string_view name);

struct CaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

} // namespace veltro::testdriver
