#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltro::testdriver {

struct IniEntry {
    std::string key;
    std::string value;
    int line = 0;
};

struct IniSection {
    std::string name;
    // In file order; keys may repeat (one row per line in [typeinfo], [objects], ...).
    std::vector<IniEntry> entries;
};

// A small INI reader: [section], key = value, comments starting with ';' or '#'.
// A value wrapped in double quotes keeps its blanks.
class IniFile {
public:
    static IniFile parse(std::string_view text);
    static std::optional<IniFile> load(const std::string& path);

    const std::vector<IniSection>& sections() const { return sections_; }
    const IniSection* find(std::string_view name) const;

private:
    std::vector<IniSection> sections_;
};

} // namespace veltro::testdriver
