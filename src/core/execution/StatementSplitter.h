#pragma once

#include "execution/SqlDialect.h"

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

// The statements of a batch, in order, as the dialect's command-line client finds them:
// split at semicolons (or a MySQL DELIMITER) outside of quoted strings and identifiers,
// comments and bodies. A statement of blanks and comments alone is dropped; a directive line
// is no statement. A comment or quote that is not closed runs to the end and is part of the
// statement it begins or ends, so that the DBMS names it: no text is ever dropped unseen.
std::vector<SqlStatement> splitStatements(std::string_view batch, SqlDialect dialect);

// The 1-based line of the byte at that offset. Lines end at LF, CR LF or a lone CR, as in
// the query editor.
int lineAtOffset(std::string_view text, std::size_t offset);

} // namespace veltro
