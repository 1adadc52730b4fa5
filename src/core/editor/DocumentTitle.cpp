#include "editor/DocumentTitle.h"

#include "execution/BatchText.h"

namespace veltro {

namespace {

// What every composed title holds and a file name practically never does.
constexpr std::string_view previewMarker = " - (";

} // namespace

std::string titlePreviewSource(std::string_view wholeText, std::size_t selectionStart,
                               std::size_t selectionEnd) {
    std::string preview = batchTextOf(wholeText, selectionStart, selectionEnd);
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
    std::string base(connectionName);
    base += " - ";
    base += proposedTitle;
    return titleWithPreview(base, previewSource);
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
