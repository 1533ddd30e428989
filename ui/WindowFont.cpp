#include "ui/WindowFont.h"

#include <QFile>
#include <QFontDatabase>

namespace quillprint {

namespace {

const QString Tahoma = QStringLiteral("Tahoma");

// Debian's fonts-wine installs a Tahoma for Wine only, outside the fonts the
// desktop knows; register it with the application when it is there. Only the
// regular face: Wine's bold face is hardly heavier at 11 pixels, while the
// bold Qt derives from the regular face reads as bold, as the tables need.
bool EnsureTahoma() {
    if (QFontDatabase::families().contains(Tahoma)) return true;
    const QString path = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    return QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0 &&
           QFontDatabase::families().contains(Tahoma);
}

}  // namespace

QFont WindowFont() {
    QFont font = EnsureTahoma() ? QFont(Tahoma) : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(11);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

}  // namespace quillprint
