#pragma once

#include <string>
#include <string_view>

namespace veltro {

// The text a batch runs: the selection when there is one, else the whole text. Positions
// are character positions.
std::string batchTextOf(std::string_view wholeText, std::size_t selectionStart,
                        std::size_t selectionEnd);

// The 1-based line of the whole text on which that batch begins.
int batchFirstLine(std::string_view wholeText, std::size_t selectionStart,
                   std::size_t selectionEnd);

// The document title with " - (" + a preview of the batch + ")": line breaks shown as blanks,
// at most 15 characters, longer previews ending in "...)".
std::string titleWithPreview(std::string_view documentTitle, std::string_view batchText);

// An object-text batch asks for the source text of a named object ("sp_helptext name").
struct ObjectTextBatch {
    bool isObjectText = false;
    std::string objectName;
    std::string batchText; // the text to run; rewritten for the Anywhere products
};

ObjectTextBatch detectObjectTextBatch(std::string_view batchText, bool isSqlServerFamily,
                                      std::string_view dbmsName);

// The text as an SQL string literal: in single quotes, inner quotes doubled.
std::string sqlStringLiteral(std::string_view text);

// Whether a batch may have switched the database: "USE " anywhere, in any letter case.
bool batchMentionsUse(std::string_view batchText);

} // namespace veltro
