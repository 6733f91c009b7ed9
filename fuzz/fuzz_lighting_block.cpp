// Lighting blocks as the keyboard returns them: decoding with its clamps, encoding back without changing a byte,
// and the panel's and preview's use of whatever effect, direction and colour a block holds.
#include "lighting/EffectCatalogue.h"
#include "lighting/LightingBlock.h"
#include "lighting/PreviewEngine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ombrel;
    PreviewEngine engine([] { return 7u; });
    for (std::size_t start = 0; start < std::max<std::size_t>(size, 1); start += kLightingFieldsSize) {
        LightingBytes block{};
        std::copy_n(data + std::min(start, size), std::min(kLightingFieldsSize, size - std::min(start, size)),
                    block.begin());
        const LightingFields f = DecodeLightingBlock(block);
        if (f.reportRate > kMaxReportRate || f.colorChoice > kMaxColorChoice) std::abort();
        if (EncodeLightingBlock(f, block) != block) std::abort();
        (void)ControlsOfEffect(f.effect);
        (void)DirectionPicturesOf(f.effect, f.direction);
        for (std::uint32_t t = 0; t < 3; ++t)
            engine.tick({f.effect, f.direction, f.colorful, f.color, static_cast<std::uint32_t>(start + t / 2)});
    }
    return 0;
}
