#include "StringUtil.h"

#include <algorithm>
#include <cctype>

namespace veltro::testdriver {

namespace {
char lowerChar(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}
} // namespace

std::string trim(std::string_view text) {
    const auto isBlank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

bool iequals(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerChar(x) == lowerChar(y);
           });
}

bool istartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && iequals(text.substr(0, prefix.size()), prefix);
}

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> fields;
    if (trim(text).empty())
        return fields;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        fields.push_back(trim(text.substr(start, end - start)));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return fields;
}

bool likeMatch(std::string_view pattern, std::string_view text, char escape) {
    if (pattern.empty())
        return text.empty();
    const char p = pattern.front();
    if (p == '%') {
        for (size_t skip = 0; skip <= text.size(); ++skip) {
            if (likeMatch(pattern.substr(1), text.substr(skip), escape))
                return true;
        }
        return false;
    }
    if (text.empty())
        return false;
    if (p == escape && pattern.size() > 1) {
        return lowerChar(pattern[1]) == lowerChar(text.front()) &&
               likeMatch(pattern.substr(2), text.substr(1), escape);
    }
    if (p != '_' && lowerChar(p) != lowerChar(text.front()))
        return false;
    return likeMatch(pattern.substr(1), text.substr(1), escape);
}

std::string toHex(std::string_view bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        hex.push_back(digits[byte >> 4]);
        hex.push_back(digits[byte & 0x0F]);
    }
    return hex;
}

std::string unquoteName(std::string_view name) {
    std::string text = trim(name);
    if (text.size() >= 2) {
        const char first = text.front();
        const char last = text.back();
        if ((first == '[' && last == ']') || (first == '"' && last == '"') ||
            (first == '\'' && last == '\''))
            return text.substr(1, text.size() - 2);
    }
    return text;
}

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return lowerChar(x) < lowerChar(y); });
}

} // namespace veltro::testdriver
