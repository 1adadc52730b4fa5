#include "editor/DocumentTitle.h"

#include "common/Utf8.h"
#include "editor/TextAids.h"

#include <algorithm>

namespace veltro {

namespace {

constexpr std::size_t previewLength = 15;

// What every composed title holds and a file name practically never does.
constexpr std::string_view previewMarker = " - (";

} // namespace

std::string titlePreviewSource(std::string_view wholeText, std::size_t selectionStart,
                               std::size_t selectionEnd) {
    const std::size_t start = std::min(selectionStart, selectionEnd);
    const std::size_t end = std::max(selectionStart, selectionEnd);
    std::string preview;
    if (start == end) {
        preview = std::string(wholeText);
    } else {
        const std::size_t from = byteOffsetOfCharacter(wholeText, start);
        const std::size_t to = byteOffsetOfCharacter(wholeText, end);
        preview = std::string(wholeText.substr(from, to - from));
    }
    if (preview.empty()) {
        preview = emptyQueryPreview;
    }
    return preview;
}

std::string composeTitle(std::string_view proposedTitle, std::string_view connectionName,
                         std::string_view previewSource) {
    if (proposedTitle.find(previewMarker) != std::string_view::npos || connectionName.empty()) {
        return std::string(proposedTitle);
    }
    std::string preview(previewSource);
    std::replace(preview.begin(), preview.end(), '\n', ' ');
    std::replace(preview.begin(), preview.end(), '\r', ' ');
    std::string title(connectionName);
    title += " - ";
    title += proposedTitle;
    title += previewMarker;
    if (characterCount(preview) > previewLength) {
        title += utf8Prefix(preview, previewLength);
        title += "...)";
    } else {
        title += preview;
        title += ")";
    }
    return title;
}

std::string bareFileTitle(std::string_view title) {
    std::string_view bare = title.substr(0, title.find(previewMarker));
    const std::size_t dash = bare.find("- ");
    if (dash != std::string_view::npos) {
        bare = bare.substr(dash + 2);
    }
    return std::string(bare);
}

} // namespace veltro
