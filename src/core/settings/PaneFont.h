#pragma once

#include <cstdint>
#include <string>

namespace veltro {

class SettingsStore;

inline constexpr const char* queryFontSection = "Query\\Font";
inline constexpr const char* resultFontSection = "Result\\Font";
inline constexpr const char* gridFontSection = "Grid\\Font";

inline constexpr std::size_t maxFaceNameLength = 31;

// A logical font description. Only height, weight, italic, underline, pitch and family,
// character set and face name are stored; the other fields stay as the caller set them.
struct LogicalFont {
    int height = 0; // negative: character height, positive: cell height, 0: nothing stored
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string faceName;
};

// The extra entries that only the grid font keeps.
struct GridFontExtras {
    int bold = 0;
    int size = 0;
};

// Fills the font from its section. When "Height" is 0 or missing nothing is stored and
// the font keeps what the caller prepared; the result is then false.
bool readPaneFont(const SettingsStore& store, const std::string& section, LogicalFont& font,
                  GridFontExtras* gridExtras = nullptr);

// Stores the font in its section; a font of height 0 writes nothing.
void writePaneFont(SettingsStore& store, const std::string& section, const LogicalFont& font,
                   const GridFontExtras* gridExtras = nullptr);

} // namespace veltro
