#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veltro {

// The preview shown in a document title when the editor holds no text.
inline constexpr std::string_view emptyQueryPreview = "New Query";

// The text a title previews: the editor's selection (character positions) when it is not
// empty, else the whole text; "New Query" when that is empty too.
std::string titlePreviewSource(std::string_view wholeText, std::size_t selectionStart,
                               std::size_t selectionEnd);

// The window title for a proposed base title (a file name or an untitled name):
// connection name + " - " + base + " - (" + preview + ")", the preview cut to 15 characters
// followed by "...)" when longer, its line breaks shown as blanks. A title that was
// composed before, or a session without a connection name, keeps the proposed title.
std::string composeTitle(std::string_view proposedTitle, std::string_view connectionName,
                         std::string_view previewSource);

// The file part of a composed title, as a save dialog should propose it:
// "conn - orders.qry - (select...)" gives "orders.qry".
std::string bareFileTitle(std::string_view title);

} // namespace veltro
