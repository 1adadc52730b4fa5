#include "settings/PaneFont.h"

#include "common/Utf8.h"
#include "settings/SettingsStore.h"

namespace veltro {

namespace {

constexpr int defaultCharSet = 1;
constexpr const char* defaultFaceName = "System";

std::uint8_t byteOf(int value) {
    return static_cast<std::uint8_t>(value);
}

} // namespace

bool readPaneFont(const SettingsStore& store, const std::string& section, LogicalFont& font,
                  GridFontExtras* gridExtras) {
    const int height = store.readInt(section, "Height", 0);
    if (height == 0) {
        return false;
    }
    font.height = height;
    font.weight = store.readInt(section, "Weight", 0);
    font.italic = byteOf(store.readInt(section, "Italic", 0));
    font.underline = byteOf(store.readInt(section, "Underline", 0));
    font.pitchAndFamily = byteOf(store.readInt(section, "PitchAndFamily", 0));
    font.charSet = byteOf(store.readInt(section, "CharSet", defaultCharSet));
    font.faceName =
        utf8Prefix(store.readText(section, "FaceName", defaultFaceName), maxFaceNameLength);
    if (gridExtras != nullptr) {
        gridExtras->bold = store.readInt(section, "Bold", 0);
        gridExtras->size = store.readInt(section, "Size", 0);
    }
    return true;
}

void writePaneFont(SettingsStore& store, const std::string& section, const LogicalFont& font,
                   const GridFontExtras* gridExtras) {
    if (font.height == 0) {
        return;
    }
    store.writeInt(section, "Height", font.height);
    store.writeInt(section, "Weight", font.weight);
    store.writeInt(section, "Italic", font.italic);
    store.writeInt(section, "Underline", font.underline);
    store.writeInt(section, "PitchAndFamily", font.pitchAndFamily);
    store.writeInt(section, "CharSet", font.charSet);
    store.writeText(section, "FaceName", utf8Prefix(font.faceName, maxFaceNameLength));
    if (gridExtras != nullptr) {
        store.writeInt(section, "Bold", gridExtras->bold);
        store.writeInt(section, "Size", gridExtras->size);
    }
}

} // namespace veltro
