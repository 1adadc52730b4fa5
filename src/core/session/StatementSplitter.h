#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace veltro {

// One statement of a batch: where its text lies in the batch text, in bytes. The text runs
// from its first to its last token: blanks and comments around it are not part of it.
struct SqlStatement {
    std::size_t offset = 0;
    std::size_t length = 0;
};

// The statements of a batch, in order, for a driver that takes one statement at a time.
// The batch is split at semicolons outside of quoted strings and identifiers ('..', "..",
// [..], `..`, doubled quotes included), comments (--, and /* */ nested), dollar-quoted
// text ($$..$$, $tag$..$tag$) and the BEGIN .. END body of a CREATE TRIGGER. A statement
// of blanks and comments alone is dropped. Whatever is not closed runs to the end.
std::vector<SqlStatement> splitStatements(std::string_view batch);

// The 1-based line of the byte at that offset. Lines end at LF, CR LF or a lone CR, as in
// the query editor.
int lineAtOffset(std::string_view text, std::size_t offset);

} // namespace veltro
