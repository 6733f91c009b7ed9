// Between key records and key-function blocks: which key a factory entry names, what each record becomes, whole
// blocks in both directions.
#include "keys/KeymapCodec.h"
#include "keys/AssignmentStore.h"
#include "keys/KeysTestData.h"
#include "keys/MediaTable.h"

#include <gtest/gtest.h>

namespace ombrel::test {
namespace {

std::string hex(const KeymapEntry& e) {
    char s[16];
    std::snprintf(s, sizeof s, "%02X %02X %02X", e.kind, e.b1, e.b2);
    return s;
}

// Macros with ids 7, 9, 5 at positions 0, 1, 2.
struct MacroPositions {
    AssignmentStore store;
    MacroPositions() {
        for (std::uint16_t id : {7, 9, 5})
            store.macros.push_back(MakeMacro(id, u"m", 0));
    }
    MacroPositionLookup lookup() const {
        return [this](std::uint32_t id) { return FindMacro(store, id); };
    }
};

TEST(KeymapCodecTest, KeyOfEntryNamesTheKeyOfEachKind) {
    struct Case {
        KeymapEntry entry;
        KeyCode key;
    };
    const Case cases[] = {
        {{1, 1, 1}, 0x171},    {{1, 1, 4}, 0x173},      {{1, 5, 0xFF}, 0x162},
        {{1, 5, 1}, 0x161},    {{1, 1, 8}, 0},          {{1, 2, 1}, 0},
        {{2, 2, 0x04}, kKeyA}, {{2, 2, 0x29}, kEscape}, {{2, 1, 0x06}, kLeftShift}, // the lowest modifier bit
        {{2, 3, 0x80}, 0x15C},                                                      // any b1 but 2 is a modifier mask
        {{2, 1, 0}, 0},        {{3, 0xE2, 0}, 0x120},   {{4, 0x81, 0}, 0x15E},
        {{4, 0x84, 0}, 0},     {{6, 0xA2, 1}, 0x200},   {{6, 0xA2, 18}, 0x211},
        {{6, 0xA1, 1}, 0},     {{0, 0, 0}, 0},          {{5, 1, 0}, 0},
        {{5, 2, 2}, 0},        {{7, 2, 4}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyOfEntry(c.entry), c.key) << hex(c.entry);
}

TEST(KeymapCodecTest, EncodeEntryGivesWhatTheKeyboardPerforms) {
    const MacroPositions macros;
    const KeymapEntry factory{2, 2, 0x39};
    struct Case {
        KeyRecord record;
        const char* entry;
    };
    const Case cases[] = {
        {{KF_DEFAULT, 0, 5}, "02 02 39"},
        {{KF_PROGRAM, 0, 12}, "02 02 39"},
        {{KF_DISABLED}, "00 00 00"},
        {{KF_TEXT, 0, 4}, "00 00 00"},
        {{KF_KEY, 0, kLeftShift}, "02 01 02"},
        {{KF_KEY, 0, 0x15C}, "02 01 80"},
        {{KF_KEY, 0, 0x171}, "01 01 01"},
        {{KF_KEY, 0, 0x173}, "01 01 04"},
        {{KF_KEY, 0, 0x161}, "01 05 01"},
        {{KF_KEY, 0, 0x162}, "01 05 FF"},
        {{KF_KEY, 0, kKeyA}, "02 02 04"},
        {{KF_KEY, 0, 0x15E}, "02 02 00"}, // Power is no keyboard-page key
        {{KF_MACRO, 3, 5}, "05 01 02"},
        {{KF_MACRO, 1, 7}, "05 01 00"},
        {{KF_MACRO, 1, 8}, "02 02 39"}, // no such macro: the key keeps its factory function
        {{KF_MACRO, 1, 0}, "02 02 39"},
        {{KF_STOP_MACRO}, "05 02 00"},
        {{KF_MEDIA, 0, 0}, "03 83 01"},
        {{KF_MEDIA, 0, 7}, "03 E2 00"},
        {{KF_MEDIA, 0, 18}, "02 02 39"}, // beyond the table
        {{KF_FUNCTION, 0, 10}, "05 05 0A"},
        {{KF_FUNCTION, 0, 11}, "02 02 39"},
        {{9, 0, 1}, "02 02 39"}, // unknown type
    };
    for (const Case& c : cases)
        EXPECT_EQ(hex(EncodeEntry(c.record, factory, macros.lookup())), c.entry)
            << "type " << c.record.type << " value " << c.record.value;
}

TEST(KeymapCodecTest, BlocksOfFactoryRecordsAreTheFactoryBlockAndBack) {
    const KeymapBlock factory = TestFactoryBlock();
    KeyImage image;
    InitKeyImage(image);
    for (int layer = 0; layer < 3; ++layer)
        EXPECT_EQ(EncodeKeymapBlock(image, layer, factory, {}), factory) << layer; // G keys and specials included

    KeyImage decoded;
    DecodeKeymapBlock(factory, factory, decoded, 1);
    for (int i = 0; i < kRecordsPerLayer; ++i) {
        const KeyRecord r = decoded.record(RecordNumber(1, static_cast<KeyIndex>(i)));
        EXPECT_EQ(r.type, KF_DEFAULT) << i;
        EXPECT_EQ(r.extra, i >= 256 && i < 274 ? GKeyTag(i - 256) : 0) << i;
    }
}

TEST(KeymapCodecTest, OnlySlotsThatNameAKeyFollowTheRecords) {
    const KeymapBlock factory = TestFactoryBlock();
    KeyImage image;
    // Every record of layer 2 disabled: slots naming a key go empty, slots naming none (the placeholders and the
    // stop-macro key) keep their factory entry. Layer 0 stays untouched by it.
    for (int i = 0; i < kRecordsPerLayer; ++i)
        image.setRecord(RecordNumber(2, static_cast<KeyIndex>(i)), {KF_DISABLED});
    const KeymapBlock block = EncodeKeymapBlock(image, 2, factory, {});
    for (int slot = 0; slot < KeymapBlock::kSlots; ++slot) {
        if (KeyOfEntry(factory.entry(slot)) == 0)
            EXPECT_EQ(block.entry(slot), factory.entry(slot)) << slot;
        else
            EXPECT_EQ(block.entry(slot), KeymapEntry{}) << slot;
    }
    EXPECT_EQ(hex(block.entry(53)), "05 02 02");
    EXPECT_EQ(hex(block.entry(0)), "00 00 00"); // G1 disabled
    EXPECT_EQ(EncodeKeymapBlock(image, 0, factory, {}), factory);
}

TEST(KeymapCodecTest, MacroPositionGoesOutAndComesBackAsPositionPlusOne) {
    const MacroPositions macros;
    const KeymapBlock factory = TestFactoryBlock();
    KeyImage image;
    image.setRecord(RecordNumber(0, kCapsLock), {KF_MACRO, 2, 5});
    const KeymapBlock block = EncodeKeymapBlock(image, 0, factory, macros.lookup());
    EXPECT_EQ(hex(block.entry(kCapsLockSlot)), "05 01 02");
    KeyImage back;
    DecodeKeymapBlock(block, factory, back, 0);
    EXPECT_EQ(back.record(RecordNumber(0, kCapsLock)).type, KF_MACRO);
    EXPECT_EQ(back.record(RecordNumber(0, kCapsLock)).value, 3u);
}

TEST(KeymapCodecTest, DecodingTurnsEachKeyboardEntryIntoARecord) {
    const KeymapBlock factory = TestFactoryBlock();
    struct Case {
        KeymapEntry entry;
        std::uint16_t type;
        std::uint32_t value;
    };
    const Case cases[] = {
        {{5, 1, 4}, KF_MACRO, 5},        {{5, 2, 0x77}, KF_STOP_MACRO, 0}, {{5, 5, 3}, KF_FUNCTION, 3},
        {{5, 7, 0}, KF_DISABLED, 0},     {{3, 0xE2, 0}, KF_MEDIA, 7},      {{3, 0x99, 9}, KF_DISABLED, 0},
        {{1, 1, 2}, KF_KEY, 0x172},      {{1, 5, 0xFF}, KF_KEY, 0x162},    {{1, 9, 9}, KF_KEY, 0},
        {{2, 2, 0x29}, KF_KEY, kEscape}, {{2, 2, 0}, KF_DISABLED, 0},      {{2, 1, 0x0C}, KF_KEY, 0x038},
        {{2, 7, 0x01}, KF_DISABLED, 0},  {{0, 0, 0}, KF_DISABLED, 0},      {{4, 0x81, 0}, KF_DISABLED, 0},
        {{6, 0xA2, 3}, KF_DISABLED, 0},
    };
    for (const Case& c : cases) {
        KeymapBlock keyboard = factory;
        keyboard.setEntry(kCapsLockSlot, c.entry);
        KeyImage image;
        DecodeKeymapBlock(keyboard, factory, image, 0);
        const KeyRecord r = image.record(RecordNumber(0, kCapsLock));
        EXPECT_EQ(r.type, c.type) << hex(c.entry);
        EXPECT_EQ(r.value, c.value) << hex(c.entry);
    }

    // A G key keeps its tag; a slot whose factory entry names no key changes no record.
    KeymapBlock keyboard = factory;
    keyboard.setEntry(0, {2, 2, 0x04});
    keyboard.setEntry(53, {2, 2, 0x04});
    KeyImage image;
    DecodeKeymapBlock(keyboard, factory, image, 0);
    EXPECT_EQ(image.record(256), (KeyRecord{KF_KEY, 0x0301, kKeyA}));
    int changed = 0;
    for (int i = 0; i < kRecordsPerLayer; ++i)
        changed += image.record(i).type != KF_DEFAULT;
    EXPECT_EQ(changed, 1);
}

TEST(KeymapCodecTest, EveryFunctionTheKeyboardHoldsSurvivesARoundTrip) {
    AssignmentStore store;
    for (std::uint16_t id = 1; id <= 3; ++id)
        store.macros.push_back(MakeMacro(id, u"m", 0));
    const MacroPositionLookup lookup = [&](std::uint32_t id) { return FindMacro(store, id); };
    std::vector<KeyRecord> records = {{KF_DISABLED},      {KF_KEY, 0, kKeyA}, {KF_KEY, 0, kLeftShift},
                                      {KF_KEY, 0, 0x171}, {KF_KEY, 0, 0x162}, {KF_MACRO, 0, 3},
                                      {KF_STOP_MACRO}};
    for (std::uint32_t row = 0; row < MediaTable().size(); ++row)
        records.push_back({KF_MEDIA, 0, row});
    for (std::uint32_t row = 0; row < 11; ++row)
        records.push_back({KF_FUNCTION, 0, row});
    const KeymapBlock factory = TestFactoryBlock();
    for (const KeyRecord& r : records) {
        KeyImage image;
        image.setRecord(RecordNumber(1, kEscape), r);
        KeyImage back;
        DecodeKeymapBlock(EncodeKeymapBlock(image, 1, factory, lookup), factory, back, 1);
        EXPECT_EQ(back.record(RecordNumber(1, kEscape)), r) << "type " << r.type << " value " << r.value;
    }
}

} // namespace
} // namespace ombrel::test
