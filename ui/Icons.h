// Icons of the window's commands: the desktop theme's icon where the theme
// has one, our own SVG drawing otherwise.
#pragma once

#include <QIcon>

namespace quillprint {

QIcon CalculateIcon();
QIcon NewIcon();
QIcon OpenFolderIcon();
QIcon HelpIcon();
QIcon ApplicationIcon();

}  // namespace quillprint
