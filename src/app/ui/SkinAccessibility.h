#pragma once
// Accessible interfaces of the skinned controls, so a screen reader hears buttons, check boxes, radio buttons and
// sliders (with their values) where the skin draws pictures, and nothing of controls that are not shown.

namespace ombrel {

// Installs the interface factory; call once after the QApplication exists.
void InstallSkinAccessibility();

} // namespace ombrel
