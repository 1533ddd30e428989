#include "ui/WindowFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QSettings>

namespace quillprint {

namespace {

const QString Tahoma = QStringLiteral("Tahoma");
// 11 pixels at 96 dpi; in points, so that it follows the screen's resolution.
constexpr int kClassicPointSize = 8;

}  // namespace

QFont ChooseWindowFont(const QFont& desktopFont, bool classicWanted, const QStringList& installed) {
    if (!classicWanted || !installed.contains(Tahoma)) return desktopFont;
    QFont font(Tahoma);
    font.setPointSize(kClassicPointSize);
    return font;
}

QFont WindowFont() {
    const bool classicWanted = QSettings().value(QLatin1String(kClassicFontKey), false).toBool();
    return ChooseWindowFont(QApplication::font(), classicWanted, QFontDatabase::families());
}

}  // namespace quillprint
