#include "editor/TextAids.h"

#include <locale>

namespace veltro {

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at pos, 0 when the bytes there are not one.
std::size_t sequenceLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    if (lead < 0x80) {
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!isContinuation(static_cast<unsigned char>(text[pos + i]))) {
            return 0;
        }
    }
    return length;
}

char32_t decode(std::string_view sequence) {
    const auto lead = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1) {
        return lead;
    }
    const unsigned char leadMask =
        sequence.size() == 2 ? 0x1F : (sequence.size() == 3 ? 0x0F : 0x07);
    char32_t code = lead & leadMask;
    for (std::size_t i = 1; i < sequence.size(); ++i) {
        code = (code << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
    }
    return code;
}

void encode(char32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Case tables of a UTF-8 locale, so that letters beyond ASCII change case whatever locale
// the program was started in; the global locale serves when that one is missing.
const std::ctype<wchar_t>& caseTables() {
    static const std::locale locale = [] {
        try {
            return std::locale("C.UTF-8");
        } catch (const std::runtime_error&) {
            return std::locale();
        }
    }();
    return std::use_facet<std::ctype<wchar_t>>(locale);
}

std::string changeCase(std::string_view text, bool upper) {
    const std::ctype<wchar_t>& tables = caseTables();
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t length = sequenceLength(text, pos);
        if (length == 0) {
            // A stray byte is kept as it is.
            out += text[pos++];
            continue;
        }
        const auto code = static_cast<wchar_t>(decode(text.substr(pos, length)));
        const wchar_t mapped = upper ? tables.toupper(code) : tables.tolower(code);
        encode(static_cast<char32_t>(mapped), out);
        pos += length;
    }
    return out;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t found = text.find(from, pos);
        if (found == std::string_view::npos) {
            out.append(text.substr(pos));
            return out;
        }
        out.append(text.substr(pos, found - pos));
        out.append(to);
        pos = found + from.size();
    }
}

} // namespace

std::string applyTextAid(TextAid aid, std::string_view text) {
    const std::string blanks(tabWidth, ' ');
    switch (aid) {
    case TextAid::upperCase:
        return changeCase(text, true);
    case TextAid::lowerCase:
        return changeCase(text, false);
    case TextAid::tabify:
        return replaceAll(text, blanks, "\t");
    case TextAid::untabify:
        return replaceAll(text, "\t", blanks);
    }
    return std::string(text);
}

SelectionEdit editSelection(TextAid aid, std::string_view selectedText,
                            std::size_t selectionStart) {
    SelectionEdit edit;
    edit.replacement = applyTextAid(aid, selectedText);
    edit.selectionStart = selectionStart;
    edit.selectionEnd = selectionStart + characterCount(edit.replacement);
    return edit;
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        if (!isContinuation(static_cast<unsigned char>(c))) {
            ++count;
        }
    }
    return count;
}

std::size_t byteOffsetOfCharacter(std::string_view text, std::size_t characters) {
    std::size_t seen = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (!isContinuation(static_cast<unsigned char>(text[pos]))) {
            if (seen == characters) {
                return pos;
            }
            ++seen;
        }
    }
    return text.size();
}

} // namespace veltro
