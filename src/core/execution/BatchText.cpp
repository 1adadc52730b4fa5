#include "execution/BatchText.h"

#include "common/Quoting.h"
#include "common/TextCompare.h"
#include "common/Utf8.h"
#include "execution/StatementSplitter.h"

#include <algorithm>

namespace veltro {

namespace {

constexpr std::size_t previewLength = 15;
constexpr std::string_view objectTextPrefix = "sp_helptext ";

// Byte offset of a character position in UTF-8 text (the end when beyond it).
std::size_t byteOffsetOf(std::string_view text, std::size_t characters) {
    return utf8Prefix(text, characters).size();
}

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The object name at the start of a text: up to the first blank or line break, or, for a
// name in square brackets, up to its closing bracket (a doubled one is inside the name).
std::string_view leadingObjectName(std::string_view text) {
    if (text.starts_with('[')) {
        for (std::size_t i = 1; i < text.size(); ++i) {
            if (text[i] != ']') {
                continue;
            }
            if (i + 1 < text.size() && text[i + 1] == ']') {
                ++i;
                continue;
            }
            return text.substr(0, i + 1);
        }
    }
    return text.substr(0, text.find_first_of("\n\r\t "));
}

bool containsNoCase(std::string_view text, std::string_view word) {
    const auto found = std::search(text.begin(), text.end(), word.begin(), word.end(),
                                   [](char a, char b) { return upperAscii(a) == upperAscii(b); });
    return found != text.end();
}

} // namespace

std::string sqlStringLiteral(std::string_view text) {
    return enclosedDoubling(text, '\'', '\'');
}

std::string batchTextOf(std::string_view wholeText, std::size_t selectionStart,
                        std::size_t selectionEnd) {
    const std::size_t start = std::min(selectionStart, selectionEnd);
    const std::size_t end = std::max(selectionStart, selectionEnd);
    if (start == end) {
        return std::string(wholeText);
    }
    const std::size_t from = byteOffsetOf(wholeText, start);
    const std::size_t to = byteOffsetOf(wholeText, end);
    return std::string(wholeText.substr(from, to - from));
}

int batchFirstLine(std::string_view wholeText, std::size_t selectionStart,
                   std::size_t selectionEnd) {
    if (selectionStart == selectionEnd) {
        return 1;
    }
    return lineAtOffset(wholeText, byteOffsetOf(wholeText, std::min(selectionStart, selectionEnd)));
}

std::string titleWithPreview(std::string_view documentTitle, std::string_view batchText) {
    const std::size_t cut = documentTitle.find(" - (");
    std::string title(documentTitle.substr(0, cut));
    std::string copy(batchText);
    std::replace(copy.begin(), copy.end(), '\n', ' ');
    std::replace(copy.begin(), copy.end(), '\r', ' ');
    const std::string preview = utf8Prefix(copy, previewLength);
    title += " - (";
    title += preview;
    title += preview.size() == copy.size() ? ")" : "...)";
    return title;
}

ObjectTextBatch detectObjectTextBatch(std::string_view batchText, bool isSqlServerFamily,
                                      std::string_view dbmsName) {
    ObjectTextBatch batch;
    batch.batchText = std::string(batchText);
    if (!isSqlServerFamily || batchText.substr(0, objectTextPrefix.size()) != objectTextPrefix) {
        return batch;
    }
    batch.isObjectText = true;
    batch.objectName = std::string(leadingObjectName(batchText.substr(objectTextPrefix.size())));
    if (equalsNoCase(dbmsName, "Sybase SQL Anywhere") ||
        equalsNoCase(dbmsName, "Adaptive Server Anywhere")) {
        batch.batchText = "SELECT text FROM syscomments where id = object_id(" +
                          sqlStringLiteral(batch.objectName) + ") order by number, colid2, colid";
    }
    return batch;
}

bool batchMentionsUse(std::string_view batchText) {
    return containsNoCase(batchText, "USE ");
}

} // namespace veltro
