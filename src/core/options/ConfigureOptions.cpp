#include "options/ConfigureOptions.h"

#include "common/LeadingInteger.h"
#include "common/TextCompare.h"
#include "session/ThreadPriority.h"
#include "settings/SettingsStore.h"

namespace veltro {

namespace {

constexpr const char* blanks = " \t\r\n\f\v";

} // namespace

int loadNumberOption(const SettingsStore& settings, const NumberOption& option) {
    const int value = settings.readInt(optionsSection, option.entry, option.defaultValue);
    return value < option.loadMinimum || value > option.loadMaximum ? option.defaultValue : value;
}

std::string loadThreadPriority(const SettingsStore& settings) {
    std::string name = trimBlanks(settings.readText(optionsSection, threadPriorityEntry, ""));
    return name.empty() ? std::string(lowestPriorityName) : name;
}

bool loadAutoComplete(const SettingsStore& settings) {
    return settings.readInt(optionsSection, autoCompleteEntry, 1) != 0;
}

std::optional<std::size_t> threadPriorityPosition(std::string_view text) {
    for (std::size_t i = 0; i < std::size(threadPriorityNames); ++i) {
        if (startsWithNoCase(threadPriorityNames[i].name, text)) {
            return i;
        }
    }
    return std::nullopt;
}

bool priorityNeedsConfirmation(std::string_view name) {
    return !equalsNoCase(name, lowestPriorityName);
}

std::string trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

NumberBoxCheck checkNumberBoxes(const std::vector<NumberBoxText>& boxes) {
    NumberBoxCheck check;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i].text.size() > boxes[i].option->maxCharacters) {
            check.problem = {i, "Please enter no more than " +
                                    std::to_string(boxes[i].option->maxCharacters) +
                                    " characters."};
            return check;
        }
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (trimBlanks(boxes[i].text).empty()) {
            check.problem = {i, boxes[i].option->requiredMessage};
            return check;
        }
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const NumberOption& option = *boxes[i].option;
        const int value = leadingInteger(trimBlanks(boxes[i].text));
        if (value < option.minimum || value > option.maximum) {
            check.problem = {i, "Please enter an integer between " +
                                    std::to_string(option.minimum) + " and " +
                                    std::to_string(option.maximum) + "."};
            check.values.clear();
            return check;
        }
        check.values.push_back(value);
    }
    return check;
}

} // namespace veltro
