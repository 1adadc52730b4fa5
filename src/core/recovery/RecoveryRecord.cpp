#include "recovery/RecoveryRecord.h"

#include <charconv>
#include <map>

namespace veltro {

namespace {

constexpr std::string_view magic = "Veltro recovery 1\n";

// Field values stay on their line: backslash and line ends are escaped.
std::string escapeValue(std::string_view value) {
    std::string out;
    for (const char c : value) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

std::string unescapeValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            out += value[i];
        }
    }
    return out;
}

template <typename Number> std::optional<Number> parseNumber(const std::string& text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string formatRecoveryRecord(const RecoveryRecord& record) {
    std::string out(magic);
    const auto field = [&out](std::string_view name, std::string_view value) {
        out.append(name).append(": ").append(escapeValue(value)).append("\n");
    };
    field("title", record.title);
    field("file", record.fileName);
    field("source", record.dataSource);
    field("changed", std::to_string(record.changedAt));
    field("encoding", record.encoding == QueryFileEncoding::latin1 ? "latin1" : "utf8");
    field("bytes", std::to_string(record.bytes.size()));
    out += "\n";
    out += record.bytes;
    return out;
}

std::optional<RecoveryRecord> parseRecoveryRecord(std::string_view data) {
    if (!data.starts_with(magic)) {
        return std::nullopt;
    }
    data.remove_prefix(magic.size());
    std::map<std::string, std::string, std::less<>> fields;
    while (true) {
        const std::size_t end = data.find('\n');
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view line = data.substr(0, end);
        data.remove_prefix(end + 1);
        if (line.empty()) {
            break;
        }
        const std::size_t colon = line.find(": ");
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        fields[std::string(line.substr(0, colon))] = unescapeValue(line.substr(colon + 2));
    }
    const auto size = parseNumber<std::size_t>(fields["bytes"]);
    const auto changed = parseNumber<std::int64_t>(fields["changed"]);
    const std::string& encoding = fields["encoding"];
    if (!size || !changed || *size != data.size() || (encoding != "utf8" && encoding != "latin1")) {
        return std::nullopt;
    }
    RecoveryRecord record;
    record.title = fields["title"];
    record.fileName = fields["file"];
    record.dataSource = fields["source"];
    record.changedAt = *changed;
    record.encoding = encoding == "latin1" ? QueryFileEncoding::latin1 : QueryFileEncoding::utf8;
    record.bytes = std::string(data);
    return record;
}

std::string firstTextLine(const RecoveryRecord& record) {
    const std::string text = decodeQueryText(record.bytes, record.encoding);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.find_first_not_of(" \t") != std::string::npos) {
            return line;
        }
        start = end + 1;
    }
    return {};
}

} // namespace veltro
