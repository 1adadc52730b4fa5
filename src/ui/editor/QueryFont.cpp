#include "editor/QueryFont.h"

#include "settings/SettingsStore.h"

namespace veltro {

LogicalFont defaultQueryLogicalFont() {
    LogicalFont font;
    font.height = -15;
    font.faceName = "Courier";
    return font;
}

QFont readQueryFont(const SettingsStore& store) {
    LogicalFont logical = defaultQueryLogicalFont();
    readPaneFont(store, queryFontSection, logical);
    return fontFromLogical(logical);
}

void writeQueryFont(SettingsStore& store, const QFont& font) {
    writePaneFont(store, queryFontSection, logicalFromFont(font));
}

} // namespace veltro
