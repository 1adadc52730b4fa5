#include "ConnectionString.h"

#include "StringUtil.h"

namespace veltro::testdriver {

ConnectionString ConnectionString::parse(std::string_view text) {
    ConnectionString result;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t equals = text.find('=', pos);
        if (equals == std::string_view::npos)
            break;
        std::string key = trim(text.substr(pos, equals - pos));
        pos = equals + 1;
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        std::string value;
        if (pos < text.size() && text[pos] == '{') {
            ++pos;
            while (pos < text.size()) {
                if (text[pos] == '}') {
                    if (pos + 1 < text.size() && text[pos + 1] == '}') {
                        value.push_back('}');
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                value.push_back(text[pos++]);
            }
            const size_t semicolon = text.find(';', pos);
            pos = semicolon == std::string_view::npos ? text.size() : semicolon + 1;
        } else {
            const size_t semicolon = text.find(';', pos);
            const size_t end = semicolon == std::string_view::npos ? text.size() : semicolon;
            value = trim(text.substr(pos, end - pos));
            pos = end == text.size() ? end : end + 1;
        }
        // Separators between pairs may leave blanks in front of the next key.
        if (!key.empty())
            result.set(std::move(key), std::move(value));
    }
    return result;
}

std::optional<std::string> ConnectionString::find(std::string_view key) const {
    for (const auto& [name, value] : attributes_) {
        if (iequals(name, key))
            return value;
    }
    return std::nullopt;
}

void ConnectionString::set(std::string key, std::string value) {
    for (auto& attribute : attributes_) {
        if (iequals(attribute.first, key)) {
            attribute.second = std::move(value);
            return;
        }
    }
    attributes_.emplace_back(std::move(key), std::move(value));
}

} // namespace veltro::testdriver
