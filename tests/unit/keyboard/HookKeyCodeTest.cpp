#include "keyboard/HookKeyCode.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

// lParam of a key-down with repeat count 1; extended keys set bit 24.
constexpr std::uint32_t Down(KeyCode scan) {
    return 1u | ((scan & 0xFFu) << 16) | ((scan & 0x100u) ? 1u << 24 : 0u);
}

TEST(HookKeyCode, DerivesTheKeyFromScanCodeAndVirtualKey) {
    struct Case {
        std::uint32_t vk;
        std::uint32_t lParam;
        KeyCode code;
        const char* what;
    };
    const Case cases[] = {
        {0x41, Down(0x01E), 0x01E, "A"},
        {0x10, Down(0x036), 0x036, "Right Shift reported as side-less Shift"},
        {0x10, Down(0x02A), 0x02A, "Left Shift"},
        {0x11, Down(0x11D), 0x11D, "Right Ctrl through the side-less Ctrl"},
        {0x0D, Down(0x11C), 0x11C, "keypad Enter"},
        {0x24, Down(0x047), 0x047, "keypad 7 with Num Lock off"},
        {0x67, Down(0x047), 0x047, "keypad 7 with Num Lock on"},
        {0x24, Down(0x147), 0x147, "Home"},
        {0x2C, Down(0x137), 0x137, "Print Screen"},
        {0x2C, Down(0x054), 0x054, "Sys Req (Alt + Print Screen)"},
        {0x13, Down(0x045), 0x045, "Pause"},
        {0x90, Down(0x145), 0x145, "Num Lock"},
        {0xAF, Down(0x130), 0x130, "volume up"},
        {0xFF, Down(0x070), 0x070, "key without a virtual key"},
        {0xAD, Down(0x000), 0x120, "no scan code: the virtual key decides"},
        {0x41, Down(0x030), 0x01E, "scan code of another key: the virtual key decides"},
        {0x05, Down(0x030), 0, "a virtual key with no key"},
        {0x141, Down(0x01E), 0, "not a virtual-key code"},
        {0x41, Down(0x01E) | 0xC0000000u, 0x01E, "release bits do not disturb"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyCodeOfHookEvent(c.vk, c.lParam), c.code) << c.what;
}

} // namespace
} // namespace ombrel
