#include "lighting/LightingWriter.h"

#include "device/LinkResult.h"
#include "lighting/EffectCatalogue.h"

#include <algorithm>
#include <array>

namespace ombrel {

int LightingWriter::write(std::span<const FieldWrite> writes) {
    const int result = m_commands.Bracketed([&] {
        for (const FieldWrite& w : writes) {
            const int r =
                m_commands.WriteLighting(w.bytes, static_cast<int>(w.bytes.size()), m_state.offsetOf(w.field));
            if (r != LINK_OK) return r;
        }
        return static_cast<int>(LINK_OK);
    });
    LightingBytes& block = m_state.blocks[static_cast<std::size_t>(m_state.profile)];
    if (result == LINK_OK) {
        for (const FieldWrite& w : writes)
            std::copy(w.bytes.begin(), w.bytes.end(), block.begin() + w.field);
        m_state.decode();
        return result;
    }
    // What the keyboard holds now is unknown (part of the bracket may have been taken): ask it. When it does not
    // answer either, the state keeps the values from before the change.
    std::array<std::uint8_t, kChunkSize> window{};
    const int readBack =
        m_commands.Bracketed([&] { return m_commands.ReadLighting(window, kChunkSize, m_state.offsetOf(0)); });
    if (readBack == LINK_OK) {
        std::copy_n(window.begin(), kLightingBlockSize, block.begin());
        m_state.decode();
    }
    return result;
}

int LightingWriter::selectEffect(LightingEffect effect) {
    ++m_state.effectSelections;
    const std::uint8_t colorful = m_state.fields.colorful ? 1 : 0;
    const std::array<std::uint8_t, 1> effectByte{static_cast<std::uint8_t>(effect)};
    const std::array<std::uint8_t, 1> colorfulByte{colorful};
    if (ControlsOfEffect(effect).writesColorful) {
        const std::array<FieldWrite, 2> writes{{{kFieldEffect, effectByte}, {kFieldColorful, colorfulByte}}};
        return write(writes);
    }
    const std::array<FieldWrite, 1> writes{{{kFieldEffect, effectByte}}};
    return write(writes);
}

int LightingWriter::setBrightness(int level) {
    if (level < 0 || level > kMaxBrightness) return LINK_BAD_ARGUMENT;
    if (level == m_state.fields.brightness) return LINK_OK;
    const std::array<std::uint8_t, 1> byte{static_cast<std::uint8_t>(level)};
    const std::array<FieldWrite, 1> writes{{{kFieldBrightness, byte}}};
    return write(writes);
}

int LightingWriter::setSpeed(int value) {
    if (value < 0 || value > kMaxSpeed) return LINK_BAD_ARGUMENT;
    if (value == m_state.fields.speed) return LINK_OK;
    const std::array<std::uint8_t, 1> byte{static_cast<std::uint8_t>(value)};
    const std::array<FieldWrite, 1> writes{{{kFieldSpeed, byte}}};
    return write(writes);
}

int LightingWriter::SpeedOfSliderPosition(int position) {
    return std::clamp(kMaxSpeed - position, 0, kMaxSpeed);
}

int LightingWriter::SliderPositionOfSpeed(int speed) {
    return std::clamp(kMaxSpeed - speed, 0, kMaxSpeed + 1);
}

int LightingWriter::setDirection(std::uint8_t direction) {
    const std::array<std::uint8_t, 1> byte{direction};
    const std::array<FieldWrite, 1> writes{{{kFieldDirection, byte}}};
    return write(writes);
}

int LightingWriter::setColor(Rgb color) {
    const std::array<std::uint8_t, 1> off{0};
    const std::array<std::uint8_t, 3> rgb{color.r, color.g, color.b};
    const std::array<FieldWrite, 2> writes{{{kFieldColorful, off}, {kFieldColor, rgb}}};
    return write(writes);
}

int LightingWriter::setColorful(bool colorful) {
    const std::array<std::uint8_t, 1> byte{static_cast<std::uint8_t>(colorful ? 1 : 0)};
    const std::array<FieldWrite, 1> writes{{{kFieldColorful, byte}}};
    return write(writes);
}

int LightingWriter::setColorChoice(int choice) {
    if (choice < 0 || choice > kMaxColorChoice) return LINK_BAD_ARGUMENT;
    const std::array<std::uint8_t, 1> byte{static_cast<std::uint8_t>(choice)};
    const std::array<FieldWrite, 1> writes{{{kFieldColorChoice, byte}}};
    return write(writes);
}

int LightingWriter::setReportRate(int index) {
    if (index < 0 || index > kMaxReportRate) return LINK_BAD_ARGUMENT;
    const std::array<std::uint8_t, 1> byte{static_cast<std::uint8_t>(index)};
    const std::array<FieldWrite, 1> writes{{{kFieldReportRate, byte}}};
    return write(writes);
}

int LightingWriter::reset() {
    ++m_state.effectSelections;
    const std::array<FieldWrite, 1> writes{{{kFieldEffect, DefaultLightingBytes()}}};
    return write(writes);
}

} // namespace ombrel
