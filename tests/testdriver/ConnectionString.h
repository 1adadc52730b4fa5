#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veltro::testdriver {

// The key=value;... text an application passes to SQLDriverConnect. Values may be
// wrapped in braces to carry ';' (a '}' inside is written '}}').
class ConnectionString {
public:
    using Attribute = std::pair<std::string, std::string>;

    static ConnectionString parse(std::string_view text);

    const std::vector<Attribute>& attributes() const { return attributes_; }
    std::optional<std::string> find(std::string_view key) const;
    void set(std::string key, std::string value);

private:
    std::vector<Attribute> attributes_;
};

} // namespace veltro::testdriver
