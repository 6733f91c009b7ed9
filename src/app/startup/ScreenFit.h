#pragma once
// Shrinks the whole program uniformly when the main window is larger than the screen it opens on: the skin's
// window has one fixed size, and cutting off its bottom row (OK, Cancel, Apply) would leave it unusable.

#include <QString>

namespace ombrel {

// The factor the main window (its background in `skinFolder`) must shrink by to fit the primary screen's
// available area; 1 when it fits or the sizes are unknown.
double MainWindowFitScale(const QString& skinFolder);

// Sets the skin's window scale to that factor and scales the application's font with it, so every window, font,
// picture and hit area shrinks together. Call once, before the first window is made. Returns the factor.
double FitProgramToScreen(const QString& skinFolder);

} // namespace ombrel
