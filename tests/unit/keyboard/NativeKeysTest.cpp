#include "keyboard/NativeKeys.h"
#include "keys/MediaTable.h"

#include <linux/input-event-codes.h>

#include <gtest/gtest.h>

#include <set>

namespace ombrel {
namespace {

struct EvdevCase {
    std::uint32_t evdev;
    KeyCode code;
};

// X key codes seen on a live X server (Xvfb + xdotool).
TEST(NativeKeys, XKeycodesOfTheProbe) {
    struct Case {
        std::uint32_t xKeycode;
        KeyCode code;
    };
    const Case cases[] = {
        {38, 0x01E},  // a
        {133, 0x15B}, // Super_L
        {104, 0x11C}, // KP_Enter
        {107, 0x137}, // Print
        {127, 0x045}, // Pause
        {77, 0x145},  // Num_Lock
        {121, 0x120}, // XF86AudioMute
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyCodeOfXKeycode(c.xKeycode), c.code) << c.xKeycode;
}

TEST(NativeKeys, EveryMapKeyIsReachableFromAnEvdevCode) {
    std::set<KeyCode> reachable;
    for (std::uint32_t evdev = 0; evdev < KEY_CNT; ++evdev) {
        const KeyCode code = KeyCodeOfEvdev(evdev);
        if (code == 0) continue;
        reachable.insert(code);
        // Everything given out has a row, so it has a name and can be assigned.
        EXPECT_NE(KeyRowOf(code).vk, 0) << evdev;
        EXPECT_EQ(KeyCodeOfXKeycode(evdev + 8), code) << evdev;
    }
    for (const KeyButton& button : KeyButtonTable()) {
        EXPECT_TRUE(reachable.contains(button.code)) << std::hex << button.code;
    }
}

TEST(NativeKeys, KeypadAndSpecialKeysKeepTheirCodes) {
    // The keypad keys report the same evdev codes with Num Lock on or off.
    const EvdevCase cases[] = {
        {KEY_KP7, 0x047},       {KEY_KP8, 0x048},        {KEY_KP9, 0x049},       {KEY_KP4, 0x04B},
        {KEY_KP5, 0x04C},       {KEY_KP6, 0x04D},        {KEY_KP1, 0x04F},       {KEY_KP2, 0x050},
        {KEY_KP3, 0x051},       {KEY_KP0, 0x052},        {KEY_KPDOT, 0x053},     {KEY_KPENTER, 0x11C},
        {KEY_KPSLASH, 0x135},   {KEY_KPASTERISK, 0x037}, {KEY_KPMINUS, 0x04A},   {KEY_KPPLUS, 0x04E},
        {KEY_NUMLOCK, 0x145},   {KEY_PAUSE, 0x045},      {KEY_SYSRQ, 0x137},     {KEY_LEFTMETA, 0x15B},
        {KEY_RIGHTMETA, 0x15C}, {KEY_COMPOSE, 0x15D},    {KEY_RIGHTCTRL, 0x11D}, {KEY_RIGHTALT, 0x138},
        {KEY_HOME, 0x147},      {KEY_DELETE, 0x153},     {KEY_102ND, 0x056},     {KEY_F13, 0x064},
    };
    for (const EvdevCase& c : cases)
        EXPECT_EQ(KeyCodeOfEvdev(c.evdev), c.code) << c.evdev;
}

TEST(NativeKeys, MediaKeysGiveTheMediaListCodes) {
    const EvdevCase cases[] = {
        {KEY_MUTE, 0x120},      {KEY_VOLUMEDOWN, 0x12E},   {KEY_VOLUMEUP, 0x130}, {KEY_PLAYPAUSE, 0x122},
        {KEY_STOPCD, 0x124},    {KEY_PREVIOUSSONG, 0x110}, {KEY_NEXTSONG, 0x119}, {KEY_HOMEPAGE, 0x132},
        {KEY_REFRESH, 0x167},   {KEY_STOP, 0x168},         {KEY_BACK, 0x16A},     {KEY_FORWARD, 0x169},
        {KEY_BOOKMARKS, 0x166}, {KEY_SEARCH, 0x165},       {KEY_COMPUTER, 0x16B}, {KEY_FILE, 0x16B},
        {KEY_CALC, 0x121},      {KEY_MAIL, 0x16C},         {KEY_MEDIA, 0x16D},    {KEY_PLAYER, 0x16D},
        {KEY_CONFIG, 0x16D},
    };
    std::set<KeyCode> seen;
    for (const EvdevCase& c : cases) {
        EXPECT_EQ(KeyCodeOfEvdev(c.evdev), c.code) << c.evdev;
        seen.insert(c.code);
    }
    std::set<KeyCode> media;
    for (const MediaRow& key : MediaTable())
        media.insert(key.code);
    EXPECT_EQ(seen, media);
}

TEST(NativeKeys, UnknownCodesGiveZero) {
    for (std::uint32_t evdev : {0u, 84u, std::uint32_t{KEY_MACRO1}, std::uint32_t{KEY_MAX}, 0x300u, 0xFFFFFFFFu}) {
        EXPECT_EQ(KeyCodeOfEvdev(evdev), 0) << evdev;
    }
    for (std::uint32_t x : {0u, 7u, 8u, 0xFFFFFFFFu})
        EXPECT_EQ(KeyCodeOfXKeycode(x), 0) << x;
    EXPECT_EQ(KeyCodeOfXKeycode(9), 0x001); // Escape, the first real X key code
}

} // namespace
} // namespace ombrel
