#include "catalog/NameQuoting.h"

#include "common/Quoting.h"

namespace veltro {

namespace {

bool isPlainCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

} // namespace

NameQuoting NameQuoting::forDataSource(bool isSqlServerFamily, bool isJetDriver,
                                       std::string_view identifierQuoteChar, Folding folding) {
    if (isJetDriver) {
        return NameQuoting(Style::jet, '[', ']', folding);
    }
    if (isSqlServerFamily || identifierQuoteChar.size() != 1 || identifierQuoteChar == " ") {
        return NameQuoting(Style::brackets, '[', ']', folding);
    }
    return NameQuoting(Style::quoteChar, identifierQuoteChar[0], identifierQuoteChar[0], folding);
}

bool NameQuoting::needsQuotes(std::string_view name) const {
    if (how != Style::quoteChar) {
        return name.find(' ') != std::string_view::npos;
    }
    for (const char c : name) {
        const bool folded = (folding == Folding::lower && c >= 'A' && c <= 'Z') ||
                            (folding == Folding::upper && c >= 'a' && c <= 'z');
        if (!isPlainCharacter(c) || folded) {
            return true;
        }
    }
    return false;
}

std::string NameQuoting::enclosed(std::string_view name) const {
    return enclosedDoubling(name, open, close);
}

std::string NameQuoting::tableName(std::string_view name) const {
    return how == Style::jet || needsQuotes(name) ? enclosed(name) : std::string(name);
}

std::string NameQuoting::procedureName(std::string_view name) const {
    const std::string_view base = name.substr(0, name.find(';'));
    return how != Style::jet && needsQuotes(base) ? enclosed(base) : std::string(base);
}

std::string NameQuoting::columnName(std::string_view name) const {
    if (how != Style::jet) {
        return needsQuotes(name) ? enclosed(name) : std::string(name);
    }
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos) {
        return enclosed(name);
    }
    return enclosed(name.substr(0, dot)) + "." + enclosed(name.substr(dot + 1));
}

std::string NameQuoting::bareName(std::string_view shown) const {
    if (shown.size() < 2 || shown.front() != open || shown.back() != close) {
        return std::string(shown);
    }
    std::string bare;
    const std::string_view inside = shown.substr(1, shown.size() - 2);
    for (std::size_t i = 0; i < inside.size(); ++i) {
        bare += inside[i];
        if (inside[i] == close && i + 1 < inside.size() && inside[i + 1] == close) {
            ++i;
        }
    }
    return bare;
}

std::string tableTypeList(bool views, bool systemTables) {
    std::string list = "'TABLE'";
    if (views) {
        list += ",'VIEW'";
    }
    if (systemTables) {
        list += ",'SYSTEM TABLE'";
    }
    return list;
}

std::string searchPatternEscaped(std::string_view name, std::string_view escape) {
    if (escape.empty() || escape == " ") {
        return std::string(name);
    }
    std::string pattern;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const bool isEscape = name.substr(i, escape.size()) == escape;
        if (name[i] == '_' || name[i] == '%' || isEscape) {
            pattern += escape;
        }
        if (isEscape) {
            pattern += escape;
            i += escape.size() - 1;
            continue;
        }
        pattern += name[i];
    }
    return pattern;
}

} // namespace veltro
