#pragma once
// How far a window of fixed size must shrink to fit the screen area it is shown in. A plain function so the rule
// is tested without a screen.

namespace ombrel {

// 1 when a window of windowWidth x windowHeight fits the area; otherwise the largest factor, in whole hundredths
// and never above the exact one, that makes it fit both ways. An empty window or area gives 1 (nothing to fit).
double WindowFitScale(int windowWidth, int windowHeight, int areaWidth, int areaHeight);

} // namespace ombrel
