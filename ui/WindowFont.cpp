#include "ui/WindowFont.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace quillprint {

namespace {

const QString Tahoma = QStringLiteral("Tahoma");

// Folders where Wine keeps its own fonts (Debian's fonts-wine has a Tahoma
// there), which the desktop's font configuration does not include.
const char* const kWineFontFolders[] = {"/usr/share/wine/fonts", "/usr/local/share/wine/fonts",
                                        "/opt/wine/share/wine/fonts"};

// The file of Tahoma's regular face among Wine's fonts, found by fontconfig
// from the fonts' own family names, or empty.
QString WineTahomaFile() {
    FcConfig* config = FcConfigCreate();
    if (!config) return {};
    for (const char* folder : kWineFontFolders)
        FcConfigAppFontAddDir(config, reinterpret_cast<const FcChar8*>(folder));
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("Tahoma"));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* fonts = FcFontList(config, pattern, objects);
    QString file;
    FcChar8* path = nullptr;
    if (fonts && fonts->nfont > 0 && FcPatternGetString(fonts->fonts[0], FC_FILE, 0, &path) == FcResultMatch)
        file = QString::fromUtf8(reinterpret_cast<const char*>(path));
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    return file;
}

// A Tahoma the desktop knows comes through Qt's own font database (which
// asks fontconfig); otherwise Wine's is registered with the application.
// Only the regular face: Wine's bold face is hardly heavier at 11 pixels,
// while the bold Qt derives from the regular face reads as bold, as the
// tables need.
bool EnsureTahoma() {
    if (QFontDatabase::families().contains(Tahoma)) return true;
    const QString file = WineTahomaFile();
    return !file.isEmpty() && QFontDatabase::addApplicationFont(file) >= 0 &&
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
