#include "results/ResultFonts.h"

#include <algorithm>
#include <cmath>

namespace veltro {

namespace {

constexpr int boldWeight = 700;

QFont::Weight qtWeight(int weight) {
    return static_cast<QFont::Weight>(std::clamp(weight, 1, 1000));
}

double pointSize(const QFont& font, int dpiY) {
    if (font.pointSizeF() > 0) {
        return font.pointSizeF();
    }
    return font.pixelSize() * 72.0 / std::max(dpiY, 1);
}

} // namespace

LogicalFont defaultResultFont() {
    LogicalFont font;
    font.faceName = "Courier";
    font.height = -15;
    font.weight = 400;
    font.pitchAndFamily = fixedPitch | familyModern;
    return font;
}

QFont fontFromGridProperties(const GridFontProperties& properties, const QFont& base) {
    QFont font = base;
    if (!properties.name.empty()) {
        font.setFamily(QString::fromStdString(properties.name));
    }
    if (properties.size > 0) {
        font.setPointSizeF(static_cast<double>(properties.size) / 10000.0);
    }
    font.setBold(properties.bold);
    font.setItalic(properties.italic);
    font.setUnderline(properties.underline);
    font.setStrikeOut(properties.strikethrough);
    // The weight is set after the bold flag and wins, as it does in the grid's font.
    if (properties.weight > 0) {
        font.setWeight(qtWeight(properties.weight));
    }
    return font;
}

GridFontProperties gridPropertiesFromFont(const QFont& font, int dpiY) {
    GridFontProperties properties;
    properties.name = font.family().toStdString();
    const auto tenths = static_cast<std::int64_t>(std::lround(pointSize(font, dpiY) * 10.0));
    properties.size = tenths * 1000;
    properties.weight = static_cast<int>(font.weight());
    properties.bold = properties.weight == boldWeight;
    properties.italic = font.italic();
    properties.underline = font.underline();
    properties.strikethrough = font.strikeOut();
    properties.charset = defaultCharSet;
    return properties;
}

} // namespace veltro
