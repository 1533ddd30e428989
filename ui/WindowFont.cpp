#include "ui/WindowFont.h"

#include <QFile>
#include <QFontDatabase>

namespace quillprint {

namespace {

const QString Tahoma = QStringLiteral("Tahoma");

// Debian's fonts-wine installs a Tahoma for Wine only, outside the fonts the
// desktop knows; register it with the application when it is there.
bool EnsureTahoma() {
    if (QFontDatabase::families().contains(Tahoma)) return true;
    const QString folder = QStringLiteral("/usr/share/wine/fonts/");
    bool found = false;
    for (const char* file : {"tahoma.ttf", "tahomabd.ttf"}) {
        const QString path = folder + QLatin1String(file);
        if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0) found = true;
    }
    return found && QFontDatabase::families().contains(Tahoma);
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
