#include "lighting/PreviewEngine.h"

#include "lighting/EffectCatalogue.h"
#include "lighting/PreviewTables.h"

#include <algorithm>
#include <ctime>
#include <memory>
#include <random>

namespace ombrel {

namespace {

using namespace preview;

constexpr int kNoSlot = -1;
constexpr std::uint8_t kFull = 255;
constexpr std::uint8_t kBelowGrid = 6; // the plane bit of the first row below the grid

struct SlotTables {
    std::array<std::array<int, kGridColumns>, kGridRows> grid{}; // slot of each cell, kNoSlot when empty
    std::array<std::array<bool, kGridColumns>, kGridRows> gridInChain{};
    std::array<int, kChainLength> chain{};
    std::array<std::array<int, kRingSize>, kRingCount> rings{};
};

const SlotTables& Slots() {
    static const SlotTables kTables = [] {
        SlotTables t;
        const auto& chain = PreviewChain();
        for (std::size_t n = 0; n < chain.size(); ++n)
            t.chain[n] = SlotOfControl(chain[n]);
        for (int r = 0; r < kGridRows; ++r)
            for (int c = 0; c < kGridColumns; ++c) {
                const std::uint16_t key = PreviewGrid()[r][c];
                t.grid[r][c] = key == kNoKey ? kNoSlot : SlotOfControl(key);
                t.gridInChain[r][c] = key != kNoKey && std::find(chain.begin(), chain.end(), key) != chain.end();
            }
        for (int k = 0; k < kRingCount; ++k)
            for (int i = 0; i < kRingSize; ++i) {
                const std::uint16_t key = PreviewRings()[k][i];
                t.rings[k][i] = key == kNoKey ? kNoSlot : SlotOfControl(key);
            }
        return t;
    }();
    return kTables;
}

int advance(std::uint8_t direction, int phase, int step, int period) {
    return direction != 0 ? (phase + step) % period : ((phase - step) % period + period) % period;
}

std::uint8_t decayed(std::uint8_t level, const std::array<std::uint8_t, 5>& loss) {
    if (level >= 128) return static_cast<std::uint8_t>(level - loss[0]);
    if (level >= 64) return static_cast<std::uint8_t>(level - loss[1]);
    if (level >= 32) return static_cast<std::uint8_t>(level - loss[2]);
    if (level > 16) return static_cast<std::uint8_t>(level - loss[3]);
    if (level >= 1) return static_cast<std::uint8_t>(level - loss[4]);
    return 0;
}

PreviewEngine::Random clockRandom() {
    auto generator = std::make_shared<std::minstd_rand>(static_cast<std::uint32_t>(std::time(nullptr)));
    return [generator] { return static_cast<std::uint32_t>((*generator)()); };
}

} // namespace

std::uint8_t PreviewEngine::Planes::columnOr(int c) const {
    return static_cast<std::uint8_t>(p[0][c] | p[1][c] | p[2][c] | p[3][c]);
}

void PreviewEngine::Planes::setAll(int column, int bit) {
    for (auto& plane : p)
        plane[column] = static_cast<std::uint8_t>(plane[column] | (1u << bit));
}

PreviewEngine::PreviewEngine(Random random) : m_random(random ? std::move(random) : clockRandom()) {
    for (std::size_t n = 0; n < m_kaleidoHues.size(); ++n)
        m_kaleidoHues[n] = static_cast<std::uint8_t>(33 * (n + 1) % kWheelSteps);
}

void PreviewEngine::clear() {
    for (PreviewFill& f : m_frame) {
        if (f == PreviewFill{}) continue;
        f = {};
        m_changed = true;
    }
}

void PreviewEngine::set(int slot, Rgb color) {
    if (slot == kNoSlot) return;
    PreviewFill& f = m_frame[static_cast<std::size_t>(slot)];
    const PreviewFill next{color, true};
    if (f == next) return;
    f = next;
    m_changed = true;
}

void PreviewEngine::setGrid(const std::function<Rgb(int row, int column)>& color) {
    const SlotTables& t = Slots();
    for (int r = 0; r < kGridRows; ++r)
        for (int c = 0; c < kGridColumns; ++c)
            if (t.grid[r][c] != kNoSlot) set(t.grid[r][c], color(r, c));
}

void PreviewEngine::restart() {
    m_showPhase = 0;
    m_showStep = 0;
    m_showHue = 0;
    m_rainColumn = 0;
    m_phase[18] = 0;
    m_soft = {};
    m_rainPlanes = {};
    m_rainPlanes.setAll(9, kBelowGrid);
    m_cornerLevels = {};
    m_cornerPlanes = {};
    m_cornerPlanes.setAll(1, 0);
    clear();
}

bool PreviewEngine::tick(const PreviewInput& in) {
    m_changed = false;
    if (!m_started || in.effectSelections != m_selections) {
        m_started = true;
        m_selections = in.effectSelections;
        restart();
    }
    switch (in.effect) {
    case LightingEffect::Wave:
    case LightingEffect::Sweep:
    case LightingEffect::Snake:
    case LightingEffect::ColorCycle:
    case LightingEffect::Breathing:
    case LightingEffect::VerticalWave:
        bands(in);
        break;
    case LightingEffect::Static: {
        if (!in.colorful) {
            setGrid([&](int, int) { return in.color; });
            break;
        }
        const SlotTables& t = Slots();
        for (int k = 0; k < kRingCount; ++k)
            for (int slot : t.rings[k])
                set(slot, HueWheel()[static_cast<std::size_t>(5 * (k + 1))]);
        break;
    }
    case LightingEffect::Twinkle:
        twinkle();
        break;
    case LightingEffect::Kaleidoscope:
        kaleidoscope();
        break;
    case LightingEffect::Ripple:
        ripple(in);
        break;
    case LightingEffect::LightShow:
        lightShow(in);
        break;
    case LightingEffect::Raindrops:
        rain(in);
        break;
    case LightingEffect::CornerRipples:
        cornerRipples(in);
        break;
    case LightingEffect::Radiate:
        radiate(in);
        break;
    case LightingEffect::User:
        break; // the map shows the user's own colours
    default:
        clear();
        break;
    }
    return m_changed;
}

void PreviewEngine::bands(const PreviewInput& in) {
    const auto& wheel = HueWheel();
    int& phase = m_phase[EffectNumber(in.effect)];
    auto hue = [&](int index) { return wheel[static_cast<std::size_t>(index % kWheelSteps)]; };
    switch (in.effect) {
    case LightingEffect::Wave:
        if (in.colorful) {
            phase = advance(in.direction, phase, 9, kWheelSteps);
            setGrid([&](int, int c) { return hue(phase + 9 * c); });
        } else {
            phase = advance(in.direction, phase, 7, 96);
            setGrid([&](int, int c) {
                return in.color.scaled(PulseCurve()[static_cast<std::size_t>((phase + 7 * c) % 96)]);
            });
        }
        break;
    case LightingEffect::Sweep:
        if (in.colorful) {
            phase = advance(in.direction, phase, 4, kWheelSteps);
            setGrid([&](int, int c) { return hue(phase + 5 * c); });
        } else {
            phase = (phase + 4) % 128;
            setGrid([&](int, int c) {
                int index = phase;
                for (int step = 0; step <= c; ++step) {
                    index += in.direction != 0 ? 5 : -5;
                    if (index > 128) index -= 128;
                    if (index < 0) index += 128;
                }
                return in.color.scaled(FlashCurve()[static_cast<std::size_t>(index)]);
            });
        }
        break;
    case LightingEffect::Snake: {
        const int period = in.colorful ? kWheelSteps : 96;
        phase = advance(in.direction, phase, 4, period);
        const auto& chain = Slots().chain;
        for (int n = 0; n < kChainLength; ++n) {
            const int index = (phase + 5 * n) % period;
            set(chain[static_cast<std::size_t>(n)],
                in.colorful ? hue(index) : in.color.scaled(PulseCurve()[static_cast<std::size_t>(index)]));
        }
        break;
    }
    case LightingEffect::ColorCycle:
        phase = advance(in.direction, phase, 2, kWheelSteps);
        setGrid([&](int, int) { return hue(phase); });
        break;
    case LightingEffect::Breathing: {
        phase = (phase + 2) % 128;
        const std::uint8_t level = BreathCurve()[static_cast<std::size_t>(phase)];
        setGrid([&](int, int c) { return (in.colorful ? hue(7 * c) : in.color).scaled(level); });
        break;
    }
    case LightingEffect::VerticalWave:
        phase = advance(in.direction, phase, 3, kWheelSteps);
        setGrid([&](int r, int) { return hue(phase + 32 * r); });
        break;
    default:
        break;
    }
}

void PreviewEngine::lightFronts(const Planes& planes, Levels& levels, bool colorful) {
    const SlotTables& t = Slots();
    for (int c = 0; c < kGridColumns; ++c) {
        const std::uint8_t bits = planes.columnOr(c);
        for (int r = 0; r < kGridRows; ++r) {
            if (!(bits & (1u << r)) || !t.gridInChain[r][c]) continue;
            const auto slot = static_cast<std::size_t>(t.grid[r][c]);
            levels.level[slot] = kFull;
            if (colorful) levels.hue[slot] = randomHue();
        }
    }
}

void PreviewEngine::spreadFronts(Planes& planes) {
    const Planes old = planes;
    for (int c = 0; c < kColumns; ++c) {
        const bool left = c > 0, right = c + 1 < kColumns;
        planes.p[0][c] = static_cast<std::uint8_t>((old.p[0][c] << 1) | (right ? old.p[0][c + 1] : 0));
        planes.p[1][c] = static_cast<std::uint8_t>((old.p[1][c] << 1) | (left ? old.p[1][c - 1] : 0));
        planes.p[2][c] = static_cast<std::uint8_t>((old.p[2][c] >> 1) | (left ? old.p[2][c - 1] : 0));
        planes.p[3][c] = static_cast<std::uint8_t>((old.p[3][c] >> 1) | (right ? old.p[3][c + 1] : 0));
    }
}

void PreviewEngine::fallFronts(Planes& planes) {
    for (int c = 0; c < kColumns; ++c) {
        planes.p[0][c] = static_cast<std::uint8_t>(planes.p[0][c] << 1);
        planes.p[1][c] = static_cast<std::uint8_t>(planes.p[1][c] << 1);
        planes.p[2][c] = static_cast<std::uint8_t>(planes.p[2][c] >> 1);
        planes.p[3][c] = static_cast<std::uint8_t>(planes.p[3][c] >> 1);
    }
}

void PreviewEngine::render(Levels& levels, Decay decay, bool colorful, Rgb color) {
    static constexpr std::array<std::uint8_t, 5> kRippleLoss{80, 50, 20, 5, 1};
    static constexpr std::array<std::uint8_t, 5> kShowLoss{30, 20, 10, 5, 1};
    static constexpr std::array<std::uint8_t, 5> kSoftLoss{20, 16, 10, 5, 1};
    const auto& loss = decay == Decay::Ripple ? kRippleLoss : decay == Decay::LightShow ? kShowLoss : kSoftLoss;
    for (int slot : Slots().chain) {
        const auto s = static_cast<std::size_t>(slot);
        levels.level[s] = decayed(levels.level[s], loss);
        set(slot, (colorful ? HueWheel()[levels.hue[s]] : color).scaled(levels.level[s]));
    }
}

void PreviewEngine::twinkle() {
    const auto& chain = Slots().chain;
    for (int i = 0; i < 3; ++i) {
        m_twinkle = m_twinkle >= kChainLength - 1 ? 0 : m_twinkle + 1;
        const auto slot = static_cast<std::size_t>(chain[TwinkleOrder()[static_cast<std::size_t>(m_twinkle)]]);
        m_soft.level[slot] = kFull;
        m_soft.hue[slot] = randomHue();
    }
    render(m_soft, Decay::Soft, true, kBlack);
}

void PreviewEngine::kaleidoscope() {
    const auto& chain = Slots().chain;
    for (std::size_t n = 0; n < m_kaleidoHues.size(); ++n) {
        m_kaleidoHues[n] = static_cast<std::uint8_t>((m_kaleidoHues[n] + 3) % kWheelSteps);
        set(chain[n], HueWheel()[m_kaleidoHues[n]]);
    }
}

void PreviewEngine::ripple(const PreviewInput& in) {
    constexpr int kColumn = 9;
    if (!m_rippleSeeded) {
        m_rippleSeeded = true;
        m_ripplePlanes.setAll(kColumn, kBelowGrid);
    }
    // A ring that reached the top row starts the next one there, and one that reached below the grid starts the
    // next one from below.
    const std::uint8_t bits = m_ripplePlanes.columnOr(kColumn);
    if (bits == 0x01)
        m_ripplePlanes.setAll(kColumn, 0);
    else if (bits == 0x40)
        m_ripplePlanes.setAll(kColumn, kBelowGrid);
    lightFronts(m_ripplePlanes, m_rippleLevels, in.colorful);
    spreadFronts(m_ripplePlanes);
    render(m_rippleLevels, Decay::Ripple, in.colorful, in.color);
}

void PreviewEngine::lightShow(const PreviewInput& in) {
    constexpr std::uint16_t kWaitKey = 1066, kSeedKey = 1053, kEndKey = 1083;
    Levels& levels = m_showLevels;
    auto level = [&](std::uint16_t key) { return levels.level[static_cast<std::size_t>(SlotOfControl(key))]; };
    auto light = [&](std::uint16_t key, int hueStep) {
        if (key == kNoKey) return;
        const auto slot = static_cast<std::size_t>(SlotOfControl(key));
        levels.level[slot] = kFull;
        if (in.colorful) {
            m_showHue = static_cast<std::uint8_t>(m_showHue + hueStep);
            levels.hue[slot] = m_showHue;
        }
    };
    m_showHue = static_cast<std::uint8_t>(m_showHue + 1);
    switch (m_showPhase) {
    case 0:
        for (std::uint16_t key : RippleScript()[m_showStep % kRippleSteps])
            light(key, 11);
        if (++m_showStep >= kRippleSteps) {
            m_showStep = 0;
            m_showPhase = 1;
        }
        break;
    case 1:
        if (m_showStep < 31) {
            for (std::uint16_t key : RipplePairs()[m_showStep % kRipplePairCount])
                light(key, 1);
            ++m_showStep;
        } else if (level(kWaitKey) == 0) {
            m_showStep = 0;
            m_showPhase = 2;
        }
        break;
    case 2: {
        bool placed = false;
        for (int c = 0; c < kGridColumns && !placed; ++c)
            for (int r = 0; r < kGridRows && !placed; ++r)
                if (PreviewGrid()[r][c] == kSeedKey) {
                    m_showPlanes.setAll(c, r);
                    placed = true;
                }
        m_showPhase = 3;
        break;
    }
    case 3:
        lightFronts(m_showPlanes, levels, in.colorful);
        spreadFronts(m_showPlanes);
        if (level(kEndKey) != 0) m_showPhase = 4;
        break;
    default:
        if (level(kEndKey) == 0) {
            m_showPhase = 0;
            m_showStep = 0;
        }
        break;
    }
    render(levels, Decay::LightShow, in.colorful, in.color);
}

void PreviewEngine::rain(const PreviewInput& in) {
    m_rainColumn = (m_rainColumn + 7) % kColumns;
    for (int i = 0; i < 3; ++i) {
        m_rainColumn = (m_rainColumn + 3) % kColumns;
        m_rainPlanes.setAll(m_rainColumn, 0);
    }
    lightFronts(m_rainPlanes, m_soft, in.colorful);
    fallFronts(m_rainPlanes);
    render(m_soft, Decay::Soft, in.colorful, in.color);
}

void PreviewEngine::cornerRipples(const PreviewInput& in) {
    constexpr int kStart = 1, kFar = kColumns - 1;
    if (m_cornerPlanes.columnOr(kStart) == 0x01) m_cornerPlanes.setAll(kStart, 0);
    if (m_cornerPlanes.columnOr(kFar) == 0x40) m_cornerPlanes.setAll(kFar, kBelowGrid);
    lightFronts(m_cornerPlanes, m_cornerLevels, in.colorful);
    spreadFronts(m_cornerPlanes);
    render(m_cornerLevels, Decay::Soft, in.colorful, in.color);
}

void PreviewEngine::radiate(const PreviewInput& in) {
    int& phase = m_phase[18];
    if (in.direction != 0) {
        phase = phase + 2 > 190 ? 0 : phase + 2;
    } else {
        phase = phase - 2 < 0 ? kWheelSteps : phase - 2;
    }
    const SlotTables& t = Slots();
    for (int k = 0; k < kRingCount; ++k)
        for (int slot : t.rings[k])
            set(slot, HueWheel()[static_cast<std::size_t>((phase + 21 * (k + 1)) % kWheelSteps)]);
}

} // namespace ombrel
