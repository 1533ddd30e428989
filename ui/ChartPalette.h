// Colours and fonts the pictures share with the tables, taken from the
// widget's palette so the pictures follow a light or a dark desktop.
#pragma once

#include <QColor>
#include <QPalette>

#include "workspace/Grid.h"

namespace quillprint {

// True when the palette's window colour is dark.
bool IsDarkPalette(const QPalette& palette);
// The score colour of the tables (green, blue; grey for the ordinary band),
// lightened on a dark palette so it keeps its contrast.
QColor BandColour(TScoreColour colour, const QPalette& palette);
// A shade from the palette's base colour (0) to the "Most likely" green
// (1), for cells whose value is a probability.
QColor ProbabilityShade(double fraction, const QPalette& palette);
// Black or white, whichever reads better on `background`.
QColor TextOn(const QColor& background);

}  // namespace quillprint
