#include "app/IconFactory.h"

#include <QPainter>
#include <QPixmap>
#include <QStandardPaths>

// The resources live in a static library: nothing would pull them in by itself.
static void loadIconResources() {
    Q_INIT_RESOURCE(veltro);
}

namespace veltro {

namespace {

// Icon themes from Debian with the standard action names: Breeze draws them with enough
// contrast that an enabled button is told from a disabled one at a glance (Adwaita's
// legacy action icons are pale grey either way); Adwaita stands in for names it lacks.
constexpr const char* standardTheme = "breeze";
constexpr const char* fallbackTheme = "Adwaita";

QIcon makeToolIcon(const QString& glyph, const QColor& color) {
    QIcon icon;
    for (const int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 5.0, size / 5.0);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(glyph.size() > 1 ? size * 4 / 10 : size * 6 / 10);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, glyph);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon themedIcon(const QString& name, const QString& glyph, const QColor& color) {
    if (QIcon::hasThemeIcon(name)) {
        return QIcon::fromTheme(name);
    }
    return makeToolIcon(glyph, color);
}

QIcon applicationIcon() {
    static const QIcon icon = [] {
        loadIconResources();
        return QIcon(QStringLiteral(":/veltro/veltro.svg"));
    }();
    return icon;
}

void setUpIconTheme() {
    // hicolor holds application icons only; a theme named by the desktop stays in charge,
    // with the standard theme behind it for names it lacks.
    const QString named = QIcon::themeName();
    if (named.isEmpty() || named == QLatin1String("hicolor")) {
        QIcon::setThemeName(QString::fromLatin1(standardTheme));
    }
    QIcon::setFallbackThemeName(QString::fromLatin1(fallbackTheme));
    // Some platforms (offscreen among them) name no folders to look for themes in.
    QStringList folders = QIcon::themeSearchPaths();
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString icons = data + QStringLiteral("/icons");
        if (!folders.contains(icons)) {
            folders << icons;
        }
    }
    QIcon::setThemeSearchPaths(folders);
}

} // namespace veltro
