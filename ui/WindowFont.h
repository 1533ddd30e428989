// The window's font: the desktop's own font, family, size and resolution, so
// the window reads like every other program on the desktop. A user who wants
// the classic look sets "ClassicFont" to true in the program's settings; the
// window then uses Tahoma at 8 points where Tahoma is installed.
#pragma once

#include <QFont>
#include <QStringList>

namespace quillprint {

// The settings key that asks for Tahoma.
inline constexpr char kClassicFontKey[] = "ClassicFont";

// The font for `desktopFont` (the desktop's default) when the user does or
// does not ask for Tahoma and the font families `installed` are available.
QFont ChooseWindowFont(const QFont& desktopFont, bool classicWanted, const QStringList& installed);

// ChooseWindowFont for this desktop and the user's settings.
QFont WindowFont();

}  // namespace quillprint
