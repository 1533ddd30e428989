// The window's font: Tahoma with a character height of 11 pixels (8 points
// at 96 dpi), or the desktop's sans font of that size where there is no Tahoma.
#pragma once

#include <QFont>

namespace quillprint {

QFont WindowFont();

}  // namespace quillprint
