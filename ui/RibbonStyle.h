// The ribbon's colour scheme, after the blue "Luna" look of office ribbons.
#pragma once

#include <QString>

namespace quillprint {

QString RibbonLunaStyleSheet();

}  // namespace quillprint
