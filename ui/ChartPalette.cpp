#include "ui/ChartPalette.h"

#include <algorithm>

namespace quillprint {

bool IsDarkPalette(const QPalette& palette) { return palette.color(QPalette::Window).lightness() < 128; }

QColor BandColour(TScoreColour colour, const QPalette& palette) {
    const bool dark = IsDarkPalette(palette);
    switch (colour) {
    case TScoreColour::GreenBold: return dark ? QColor(60, 190, 60) : QColor(kScoreGreen.R, kScoreGreen.G, kScoreGreen.B);
    case TScoreColour::Blue: return dark ? QColor(100, 150, 255) : QColor(kScoreBlue.R, kScoreBlue.G, kScoreBlue.B);
    case TScoreColour::Ordinary: break;
    }
    return dark ? QColor(130, 130, 130) : QColor(170, 170, 170);
}

QColor ProbabilityShade(double fraction, const QPalette& palette) {
    const double f = std::clamp(fraction, 0.0, 1.0);
    const QColor from = palette.color(QPalette::Base);
    const QColor to = BandColour(TScoreColour::GreenBold, palette);
    auto mix = [f](int a, int b) { return static_cast<int>(a + (b - a) * f + 0.5); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()));
}

QColor TextOn(const QColor& background) { return background.lightness() < 140 ? Qt::white : Qt::black; }

}  // namespace quillprint
