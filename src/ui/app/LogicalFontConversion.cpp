#include "app/LogicalFontConversion.h"

#include "common/Utf8.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace veltro {

namespace {

// Cell height holds the internal leading above the characters, roughly a fifth of it.
int characterPixels(int height) {
    return height < 0 ? -height : std::max(1, static_cast<int>(std::lround(height * 0.8)));
}

double logicalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
}

} // namespace

QFont fontFromLogical(const LogicalFont& logical) {
    QFont font(QString::fromStdString(logical.faceName));
    font.setPixelSize(characterPixels(logical.height == 0 ? -15 : logical.height));
    font.setWeight(logical.weight > 0
                       ? static_cast<QFont::Weight>(std::clamp(logical.weight, 1, 1000))
                       : QFont::Normal);
    font.setItalic(logical.italic != 0);
    font.setUnderline(logical.underline != 0);
    font.setStrikeOut(logical.strikeOut != 0);
    const bool fixed = (logical.pitchAndFamily & fixedPitch) != 0 ||
                       (logical.pitchAndFamily & 0xF0) == familyModern ||
                       logical.faceName == "Courier";
    if (fixed) {
        // Linux rarely has "Courier" itself; any fixed-width face serves.
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    return font;
}

LogicalFont logicalFromFont(const QFont& font) {
    LogicalFont logical;
    if (font.pixelSize() > 0) {
        logical.height = -font.pixelSize();
    } else {
        logical.height = -static_cast<int>(std::lround(font.pointSizeF() * logicalDpi() / 72.0));
    }
    if (logical.height == 0) {
        logical.height = -1;
    }
    logical.weight = font.weight();
    logical.italic = font.italic() ? 1 : 0;
    logical.underline = font.underline() ? 1 : 0;
    logical.charSet = defaultCharSet;
    logical.pitchAndFamily = QFontInfo(font).fixedPitch() ? (fixedPitch | familyModern) : 0;
    logical.faceName = utf8Prefix(font.family().toStdString(), maxFaceNameLength);
    return logical;
}

QFont drawnFont(const QFont& requested) {
    QFont shown = requested;
    const QFontInfo drawn(requested);
    shown.setFamily(drawn.family());
    shown.setStyleName(drawn.styleName());
    return shown;
}

} // namespace veltro
