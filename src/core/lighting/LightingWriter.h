#pragma once
// Every change of the lighting panel (and of `ombrelctl lighting set`), written at once: each change is one
// begin/end bracket with its fields at the shown profile's block (profile x 42 + field offset). The state follows
// the keyboard: a change the keyboard takes is applied to it; one it refuses or does not answer is not, and the
// block is read back so the state shows what the keyboard holds.

#include "device/DeviceCommands.h"
#include "lighting/LightingState.h"

#include <cstdint>
#include <span>

namespace ombrel {

class LightingWriter {
public:
    LightingWriter(DeviceCommands& commands, LightingState& state) : m_commands(commands), m_state(state) {}

    // The effect byte, and for the effects with a colourful switch that switch too. Counts as an effect choice
    // (the preview restarts) even when nothing needs writing.
    int selectEffect(LightingEffect effect);
    // 0..5; the current value writes nothing.
    int setBrightness(int level);
    // 0..4; the current value writes nothing.
    int setSpeed(int value);
    // The speed slider runs 0..5 from slow to fast: position p stands for 4 - p, and 5 for 0 as well.
    static int SpeedOfSliderPosition(int position);
    static int SliderPositionOfSpeed(int speed);
    // Written even when it does not change.
    int setDirection(std::uint8_t direction);
    // One colour: the colourful switch goes off and the colour is written.
    int setColor(Rgb color);
    int setColorful(bool colorful);
    // 0 red, 1 yellow, 2 green, 3 blue.
    int setColorChoice(int choice);
    // 0..3.
    int setReportRate(int index);
    // The first 35 bytes of the default block, in one write.
    int reset();

private:
    struct FieldWrite {
        int field;
        std::span<const std::uint8_t> bytes;
    };
    int write(std::span<const FieldWrite> writes);

    DeviceCommands& m_commands;
    LightingState& m_state;
};

} // namespace ombrel
