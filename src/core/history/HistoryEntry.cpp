#include "history/HistoryEntry.h"

#include "common/Utf8.h"

#include <algorithm>
#include <cctype>

namespace veltro {

namespace {

bool isPasswordKey(std::string_view key) {
    std::string name;
    for (const char c : key) {
        if (c != ' ' && c != '\t') {
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return name == "PWD" || name == "PASSWORD";
}

} // namespace

std::string_view outcomeName(BatchOutcome outcome) {
    switch (outcome) {
    case BatchOutcome::completedWithErrors:
        return "completed with errors";
    case BatchOutcome::cancelled:
        return "cancelled";
    case BatchOutcome::completed:
        break;
    }
    return "completed";
}

BatchOutcome outcomeFromName(std::string_view name) {
    for (const BatchOutcome outcome :
         {BatchOutcome::completedWithErrors, BatchOutcome::cancelled}) {
        if (outcomeName(outcome) == name) {
            return outcome;
        }
    }
    return BatchOutcome::completed;
}

std::string textPreview(std::string_view text, std::size_t maxCharacters) {
    std::string preview;
    std::size_t characters = 0;
    bool blank = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
            blank = !preview.empty();
            continue;
        }
        const bool starts = startsCharacter(c);
        if (starts && characters + (blank ? 2 : 1) > maxCharacters) {
            break;
        }
        if (blank) {
            preview += ' ';
            ++characters;
            blank = false;
        }
        preview += c;
        characters += starts ? 1 : 0;
    }
    return preview;
}

// Attributes are "key=value" separated by ';'; a value in braces may hold ';' and '}}'.
std::string withoutPassword(std::string_view connectString) {
    std::string kept;
    std::size_t position = 0;
    while (position < connectString.size()) {
        const std::size_t equals = connectString.find('=', position);
        std::size_t end = connectString.find(';', position);
        if (equals != std::string_view::npos && (end == std::string_view::npos || equals < end) &&
            equals + 1 < connectString.size() && connectString[equals + 1] == '{') {
            std::size_t close = equals + 2;
            while (close < connectString.size()) {
                if (connectString[close] == '}') {
                    if (close + 1 < connectString.size() && connectString[close + 1] == '}') {
                        close += 2;
                        continue;
                    }
                    break;
                }
                ++close;
            }
            end = connectString.find(';', std::min(close, connectString.size()));
        }
        if (end == std::string_view::npos) {
            end = connectString.size();
        }
        const std::string_view attribute = connectString.substr(position, end - position);
        const std::string_view key = attribute.substr(0, attribute.find('='));
        if (!attribute.empty() && !isPasswordKey(key)) {
            if (!kept.empty()) {
                kept += ';';
            }
            kept.append(attribute);
        }
        position = end + 1;
    }
    return kept;
}

} // namespace veltro
