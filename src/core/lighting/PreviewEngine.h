#pragma once
// The on-screen imitation of the keyboard's lighting effects: a pure state machine that turns one 50 ms tick
// into the colour fills of the map's colour slots. It follows the effect, the direction, the colourful switch
// and the colour; it does not follow brightness or speed (the keyboard's own pace differs anyway).

#include "keyboard/LightingEffect.h"
#include "lighting/KeySlots.h"
#include "util/Rgb.h"

#include <array>
#include <cstdint>
#include <functional>

namespace ombrel {

struct PreviewFill {
    Rgb color;
    bool on = false; // off: the key shows no fill

    bool operator==(const PreviewFill&) const = default;
};
using PreviewFrame = std::array<PreviewFill, kColorSlotCount>;

struct PreviewInput {
    LightingEffect effect = LightingEffect::None;
    std::uint8_t direction = 0;
    bool colorful = false;
    Rgb color;
    // Counts the user's effect choices; a new count restarts the effects that have a start.
    std::uint32_t effectSelections = 0;
};

class PreviewEngine {
public:
    // The source of random hues; by default a generator seeded from the clock.
    using Random = std::function<std::uint32_t()>;
    explicit PreviewEngine(Random random = {});

    // One tick. Returns whether any fill changed.
    bool tick(const PreviewInput& input);
    const PreviewFrame& frame() const { return m_frame; }
    // Every fill off.
    void clear();

    static constexpr int kTickMilliseconds = 50;

private:
    static constexpr int kColumns = 23;
    struct Planes {
        std::array<std::array<std::uint8_t, kColumns>, 4> p{};
        std::uint8_t columnOr(int c) const;
        void setAll(int column, int bit);
    };
    struct Levels {
        std::array<std::uint8_t, kColorSlotCount> level{};
        std::array<std::uint8_t, kColorSlotCount> hue{};
    };
    enum class Decay { Ripple, LightShow, Soft };

    void restart();
    void set(int slot, Rgb color);
    void setGrid(const std::function<Rgb(int row, int column)>& color);
    void lightFronts(const Planes& planes, Levels& levels, bool colorful);
    static void spreadFronts(Planes& planes);
    static void fallFronts(Planes& planes);
    void render(Levels& levels, Decay decay, bool colorful, Rgb color);
    std::uint8_t randomHue() { return static_cast<std::uint8_t>(m_random() % 255); }

    void bands(const PreviewInput& in);
    void twinkle();
    void kaleidoscope();
    void ripple(const PreviewInput& in);
    void lightShow(const PreviewInput& in);
    void rain(const PreviewInput& in);
    void cornerRipples(const PreviewInput& in);
    void radiate(const PreviewInput& in);

    Random m_random;
    PreviewFrame m_frame{};
    bool m_changed = false;
    bool m_started = false;
    std::uint32_t m_selections = 0;

    std::array<int, 19> m_phase{}; // by effect number: the band effects
    Levels m_soft;                 // effects 10 and 15
    Levels m_rippleLevels;         // effect 13
    Levels m_showLevels;           // effect 14
    Levels m_cornerLevels;         // effect 16
    Planes m_ripplePlanes, m_showPlanes, m_rainPlanes, m_cornerPlanes;
    bool m_rippleSeeded = false;
    int m_twinkle = 0;
    std::array<std::uint8_t, 105> m_kaleidoHues{};
    int m_showPhase = 0;
    std::uint8_t m_showStep = 0;
    std::uint8_t m_showHue = 0;
    int m_rainColumn = 0;
};

} // namespace ombrel
