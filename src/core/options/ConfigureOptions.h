#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltro {

class SettingsStore;

inline constexpr const char* optionsSection = "Configure";
inline constexpr const char* threadPriorityEntry = "ThreadPriority";
inline constexpr std::string_view lowestPriorityName = "Lowest";
// Whether the query editor's name list opens by itself as names are typed (1) or only on
// Ctrl+Space (0).
inline constexpr const char* autoCompleteEntry = "AutoComplete";

inline constexpr const char* priorityWarningText =
    "Warning: Changing the query execution thread priority class "
    "other than the default (Lowest) may cause undesired results "
    "including system instability. Are you sure you want to "
    "change the priority class?";

// A number box of the Configure sheet and the setting it edits.
struct NumberOption {
    const char* entry;
    int defaultValue;
    // A stored value outside these is shown as the default.
    int loadMinimum;
    int loadMaximum;
    // What OK accepts.
    int minimum;
    int maximum;
    std::size_t maxCharacters;
    const char* requiredMessage;
};

inline constexpr NumberOption queryTimeoutOption{
    "QueryTimeOut",
    0,
    0,
    99999,
    0,
    99999,
    5,
    "<Query Timeout> is a required field. The default value is Zero."};
inline constexpr NumberOption rowsetSizeOption{
    "CacheSize", 100,    1, 999999,
    1,           349999, 6, "<Rowset Size> is a required field. The default value is 25."};
inline constexpr NumberOption loginTimeoutOption{
    "LoginTimeOut",
    0,
    0,
    99999,
    0,
    99999,
    5,
    "<Login Timeout> is a required field. The default value is Zero."};

// The value a page starts with: the stored one, or the default when it is missing or
// outside the load range.
int loadNumberOption(const SettingsStore& settings, const NumberOption& option);

// The stored priority name, trimmed of blanks; "Lowest" when missing or blank.
std::string loadThreadPriority(const SettingsStore& settings);

// Whether the name list opens by itself; it does when nothing is stored.
bool loadAutoComplete(const SettingsStore& settings);

// The position in the priority list of the first name that begins with text, without
// regard to case; none when no name does.
std::optional<std::size_t> threadPriorityPosition(std::string_view text);

// Choosing any priority but "Lowest" asks the user first.
bool priorityNeedsConfirmation(std::string_view name);

// Blanks removed from both ends.
std::string trimBlanks(std::string_view text);

// A number box's text as OK finds it.
struct NumberBoxText {
    const NumberOption* option;
    std::string text;
};

// What is wrong with a page's box: its position in the page's list and the message.
struct NumberBoxProblem {
    std::size_t box;
    std::string message;
};

struct NumberBoxCheck {
    std::optional<NumberBoxProblem> problem;
    // The boxes' numbers, in the page's order, when there is no problem.
    std::vector<int> values;
};

// Checks a page's boxes in the order OK takes them: every box for a text longer than it
// holds, then every box for an empty text (blanks trimmed), then every box's number (the
// text's leading decimal number) against its range.
NumberBoxCheck checkNumberBoxes(const std::vector<NumberBoxText>& boxes);

} // namespace veltro
