#include "IniFile.h"

#include "StringUtil.h"

#include <fstream>
#include <sstream>

namespace veltro::testdriver {

IniFile IniFile::parse(std::string_view text) {
    IniFile file;
    std::istringstream input{std::string(text)};
    std::string raw;
    int lineNumber = 0;
    while (std::getline(input, raw)) {
        ++lineNumber;
        const std::string line = trim(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            file.sections_.push_back({trim(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        if (file.sections_.empty())
            file.sections_.push_back({"", {}});
        const size_t equals = line.find('=');
        IniEntry entry;
        entry.line = lineNumber;
        entry.key = trim(line.substr(0, equals));
        if (equals != std::string::npos) {
            entry.value = trim(line.substr(equals + 1));
            if (entry.value.size() >= 2 && entry.value.front() == '"' && entry.value.back() == '"')
                entry.value = entry.value.substr(1, entry.value.size() - 2);
        }
        file.sections_.back().entries.push_back(std::move(entry));
    }
    return file;
}

std::optional<IniFile> IniFile::load(const std::string& path) {
    std::ifstream input(path);
    if (!input)
        return std::nullopt;
    std::ostringstream text;
    text << input.rdbuf();
    return parse(text.str());
}

const IniSection* IniFile::find(std::string_view name) const {
    for (const auto& section : sections_) {
        if (iequals(section.name, name))
            return &section;
    }
    return nullptr;
}

} // namespace veltro::testdriver
