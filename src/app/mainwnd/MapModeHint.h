#pragma once
// One line over the keyboard map that says what a click on a key does now (change its function, mark it, paint
// it, or nothing while the lighting is previewed), with the pointer over the keys to match.

#include "KeyboardMap.h"

#include <QLabel>

namespace ombrel {

class WindowContext;

class MapModeHint : public QLabel {
    Q_OBJECT
public:
    MapModeHint(WindowContext& context, KeyboardMap& map);

    // `paints`: in the lighting mode, whether a click paints the key (the user effect) or does nothing.
    void showMode(bool paints);
    void applyTexts() { showMode(m_paints); }

private:
    WindowContext& m_context;
    KeyboardMap& m_map;
    bool m_paints = false;
};

} // namespace ombrel
