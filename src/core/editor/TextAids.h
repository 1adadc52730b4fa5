#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veltro {

// The editor's text aids on a selection.
enum class TextAid { upperCase, lowerCase, tabify, untabify };

// Blanks that one tab stands for; fixed, not a setting.
inline constexpr std::size_t tabWidth = 4;

// The text with the aid applied. Case changes map character for character, so the
// character count never changes; tabify turns each run of four blanks, scanned left to
// right without overlap, into a tab; untabify turns each tab into four blanks.
std::string applyTextAid(TextAid aid, std::string_view text);

// The result of an aid on a selection: the text that replaces the selection and the
// selection (character positions) that covers it afterwards.
struct SelectionEdit {
    std::string replacement;
    std::size_t selectionStart = 0;
    std::size_t selectionEnd = 0;
};

// selectedText is the text between the character positions selectionStart and its end.
SelectionEdit editSelection(TextAid aid, std::string_view selectedText, std::size_t selectionStart);

// Number of characters in UTF-8 text.
std::size_t characterCount(std::string_view text);

// Byte offset of a character position in UTF-8 text (the text's size when beyond it).
std::size_t byteOffsetOfCharacter(std::string_view text, std::size_t characters);

} // namespace veltro
