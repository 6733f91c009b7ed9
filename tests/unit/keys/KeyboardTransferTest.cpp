// Writing key assignments and macros to a keyboard and reading them back into a profile file.
#include "device/LinkResult.h"
#include "keys/KeyboardFixture.h"
#include "keys/KeymapCodec.h"
#include "keys/MacroImage.h"
#include "keys/MediaTable.h"
#include "profiles/StoreContentCheck.h"
#include "profiles/StoreFile.h"
#include "support/TestPaths.h"
#include "transfer/KeyboardBackup.h"
#include "transfer/KeyboardWriter.h"

#include <filesystem>

namespace ombrel::test {
namespace {

class KeyboardTransferTest : public KeyboardFixture {
protected:
    AssignmentStore& working() { return stores.workingStore; }
    int apply(int allProfiles) { return ApplyToKeyboard(stores, commands(), link->state(), screen, allProfiles); }
    StoreFileContents backup() {
        int result = 0;
        const auto file = ReadKeyboardImage(commands(), link->state(), FakeText, &result);
        EXPECT_EQ(result, LINK_OK);
        if (!file) return {};
        const ParsedStoreFile parsed = ParseStoreFile(*file, true);
        EXPECT_TRUE(parsed.check.ok()) << parsed.check.describe();
        return parsed.contents;
    }
};

TEST_F(KeyboardTransferTest, ApplyWritesMacrosThenEachProfileInOneTransaction) {
    working().macros.push_back(MakeMacro(7, u"seven", 4));
    working().image.setRecord(RecordNumber(0, kCapsLock), {KF_KEY, 0, kEscape});
    working().image.setRecord(RecordNumber(2, kEscape), {KF_MACRO, 1, 7});
    ASSERT_EQ(apply(1), LINK_OK);

    EXPECT_EQ(commandRuns(), (std::vector<int>{CMD_BEGIN, CMD_WRITE_MACROS, CMD_WRITE_KEYMAP, CMD_END}));
    std::vector<int> blockOffsets;
    for (const Report& r : fake.sent)
        if (r.command() == CMD_WRITE_KEYMAP && r.offset() % 378 == 0) blockOffsets.push_back(r.offset());
    EXPECT_EQ(blockOffsets, (std::vector<int>{0, 378, 756}));
    EXPECT_EQ(keyboardBlock(0).entry(kCapsLockSlot), (KeymapEntry{EK_KEYBOARD, kKeyboardUsage, 0x29}));
    EXPECT_EQ(keyboardBlock(2).entry(kEscapeSlot), (KeymapEntry{EK_SPECIAL, kSpecialPlayMacro, 0}));
    EXPECT_EQ(keyboardBlock(1), TestFactoryBlock());
    const auto image = BuildMacroImage(working().macros, true);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), fake.memory[9].begin()));
    EXPECT_TRUE(screen.events().empty());

    // The snapshot holds what was written.
    EXPECT_EQ(stores.outgoingStore.macros, working().macros);
    EXPECT_EQ(stores.outgoingStore.image.record(RecordNumber(0, kCapsLock)).value, kEscape);
}

TEST_F(KeyboardTransferTest, ApplyOfTheActiveProfileSendsExactlyOneBlock) {
    working().image.setRecord(RecordNumber(1, kCapsLock), {KF_DISABLED});
    ASSERT_EQ(apply(0), LINK_OK);
    int keymapReports = 0;
    for (const Report& r : fake.sent) {
        if (r.command() != CMD_WRITE_KEYMAP) continue;
        ++keymapReports;
        EXPECT_GE(r.offset(), 378);
        EXPECT_LT(r.offset(), 756);
    }
    EXPECT_EQ(keymapReports, 7);
    EXPECT_EQ(keyboardBlock(1).entry(kCapsLockSlot), KeymapEntry{});

    // No readable active profile: nothing is sent.
    fake.memory[3][10] = 7;
    link->state().cachedProfile.store(-1);
    fake.sent.clear();
    EXPECT_EQ(apply(0), 0);
    EXPECT_EQ(commandRuns(), (std::vector<int>{CMD_READ_CONFIG}));
}

TEST_F(KeyboardTransferTest, MacrosThatDoNotFitAreNotSent) {
    link->state().macroCapacity.store(128);
    working().macros.push_back(MakeMacro(1, u"long", 28)); // 16 + 2 + 4 + 112 = 134 bytes
    EXPECT_EQ(apply(1), 0);
    EXPECT_TRUE(fake.sent.empty());
    EXPECT_EQ(screen.events(), (std::vector<std::string>{"message EXTRA_MACRO_TOO_LONG"}));
}

TEST_F(KeyboardTransferTest, ATightMemoryDropsTheNamesAndTheMacrosStillPlay) {
    link->state().macroCapacity.store(256);
    working().macros.push_back(MakeMacro(1, u"first macro", 27));  // 4 + 108 bytes, 22 more with its name
    working().macros.push_back(MakeMacro(2, u"second macro", 27)); // 16 + 4 + 224 = 244 without names
    working().image.setRecord(RecordNumber(0, kCapsLock), {KF_MACRO, 1, 2});
    ASSERT_EQ(apply(1), LINK_OK);
    EXPECT_EQ(screen.events(), (std::vector<std::string>{"message EXTRA_PROFILE_SPACE_TIGHT"}));
    EXPECT_EQ(MacroImageHeader::read(fake.memory[9]).namesIncluded, 0);

    const StoreFileContents back = backup();
    ASSERT_EQ(back.macros.size(), 2u);
    EXPECT_EQ(back.macros[0].name(), u"[MACRO_NEW_PREFIX]1");
    EXPECT_EQ(back.macros[1].name(), u"[MACRO_NEW_PREFIX]2");
    for (std::size_t i = 0; i < 2; ++i) {
        ASSERT_EQ(back.macros[i].actionCount(), 27);
        for (int j = 0; j < 27; ++j)
            EXPECT_EQ(back.macros[i].action(j), working().macros[i].action(j));
    }
    EXPECT_EQ(back.image.record(RecordNumber(0, kCapsLock)), (KeyRecord{KF_MACRO, 0, 2}));
}

TEST_F(KeyboardTransferTest, AFailedWriteIsReportedAndTheTransactionStillCloses) {
    refuse(CMD_WRITE_MACROS);
    EXPECT_EQ(apply(1), LINK_STATUS_FF); // the blocks went through, the macros did not
    EXPECT_EQ(commandRuns().back(), CMD_END);
    refuse(CMD_WRITE_KEYMAP, 0xFE);
    EXPECT_EQ(apply(1), LINK_STATUS_FE);
}

TEST_F(KeyboardTransferTest, AnUnknownMacroMemorySizeIsAskedFor) {
    link->state().macroCapacity.store(0);
    working().macros.push_back(MakeMacro(1, u"m", 3));
    ASSERT_EQ(apply(1), LINK_OK);
    EXPECT_EQ(link->state().macroCapacity.load(), kMacroUnits * 128u);
    EXPECT_EQ(fake.sent.front().command(), CMD_READ_CONFIG);

    // A keyboard that does not say its size: nothing is sent and the macros are not blamed for it.
    link->state().macroCapacity.store(0);
    refuse(CMD_READ_CONFIG);
    fake.sent.clear();
    EXPECT_EQ(apply(1), LINK_STATUS_FF);
    EXPECT_EQ(commandRuns(), (std::vector<int>{CMD_READ_CONFIG}));
    EXPECT_TRUE(screen.events().empty());
}

TEST_F(KeyboardTransferTest, BackupGivesBackEveryFunctionTheKeyboardHolds) {
    for (std::uint16_t id = 1; id <= 3; ++id)
        working().macros.push_back(MakeMacro(id, u"macro " + std::u16string(1, u'0' + id), 5 * id, id));
    std::vector<KeyRecord> kept = {{KF_DISABLED},      {KF_KEY, 0, 0x149}, {KF_KEY, 0, 0x173},
                                   {KF_KEY, 0, 0x161}, {KF_KEY, 0, 0x15C}, {KF_MACRO, 0, 3},
                                   {KF_STOP_MACRO},    {KF_MEDIA, 0, 17},  {KF_FUNCTION, 0, 4}};
    // Spread the functions over the keys of the built-in table, a different key per profile (none of them sends
    // itself: that would be its factory entry).
    const KeymapBlock factory = TestFactoryBlock();
    std::vector<KeyIndex> keys;
    for (int slot = 8; slot < KeymapBlock::kSlots && keys.size() < kept.size() + 3; ++slot)
        if (const KeyCode k = KeyOfEntry(factory.entry(slot))) keys.push_back(KeyIndexOf(k));
    ASSERT_EQ(keys.size(), kept.size() + 3);
    for (int p = 0; p < 3; ++p)
        for (std::size_t i = 0; i < kept.size(); ++i)
            working().image.setRecord(RecordNumber(p, keys[i + static_cast<std::size_t>(p)]), kept[i]);
    // Program and text functions stay with the program: the keyboard gets the factory entry and an empty one.
    const KeyIndex program = keys[kept.size()], text = keys[kept.size() + 1];
    working().image.setRecord(RecordNumber(0, program), {KF_PROGRAM});
    working().strings.set(RecordNumber(0, program), u"/usr/bin/true");
    working().image.setRecord(RecordNumber(0, text), {KF_TEXT});
    working().strings.set(RecordNumber(0, text), u"hello");
    working().image.setRecord(RecordNumber(0, 257), {KF_KEY, GKeyTag(1), kKeyA});
    ASSERT_EQ(apply(1), LINK_OK);

    const StoreFileContents back = backup();
    for (int p = 0; p < 3; ++p)
        for (std::size_t i = 0; i < kept.size(); ++i)
            EXPECT_EQ(back.image.record(RecordNumber(p, keys[i + static_cast<std::size_t>(p)])), kept[i])
                << "profile " << p << " function " << i;
    EXPECT_EQ(back.image.record(RecordNumber(0, program)).type, KF_DEFAULT);
    EXPECT_EQ(back.image.record(RecordNumber(0, text)).type, KF_DISABLED);
    EXPECT_EQ(back.image.record(RecordNumber(0, 257)), (KeyRecord{KF_KEY, GKeyTag(1), kKeyA}));
    EXPECT_TRUE(back.stringArea.empty());
    ASSERT_EQ(back.macros.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const MacroRecord& m = working().macros[i];
        EXPECT_EQ(back.macros[i].name(), m.name());
        EXPECT_EQ(back.macros[i].cycles(), m.cycles());
        EXPECT_EQ(back.macros[i].macroId(), i + 1);
        ASSERT_EQ(back.macros[i].actionCount(), m.actionCount());
        for (int j = 0; j < m.stepCount(); ++j)
            EXPECT_EQ(back.macros[i].action(j), m.action(j));
    }
}

// Whatever the keyboard holds, its backup is a file this program accepts: every entry kind with every b1 and b2
// in the key-function blocks, every step kind with every b1 and b2 in a macro, every cycle count.
TEST_F(KeyboardTransferTest, EveryBackupPassesItsOwnCheck) {
    const KeymapBlock factory = TestFactoryBlock();
    for (int kind : {0, 1, 2, 3, 4, 5, 6, 7, 0x80, 0xFF})
        for (int b1 = 0; b1 < 256; ++b1) {
            for (int p = 0; p < 3; ++p) {
                KeymapBlock block = factory;
                for (int slot = 0; slot < KeymapBlock::kSlots; ++slot)
                    if (KeyOfEntry(factory.entry(slot)) != 0)
                        block.setEntry(slot, {static_cast<std::uint8_t>(kind), static_cast<std::uint8_t>(b1),
                                              static_cast<std::uint8_t>(slot + KeymapBlock::kSlots * p)});
                std::copy(block.bytes().begin(), block.bytes().end(), fake.memory[7].begin() + 378 * p);
            }
            MacroRecord macro = MakeMacro(1, u"all steps", 256, static_cast<std::uint8_t>(b1));
            std::vector<std::uint8_t> image = BuildMacroImage(std::span(&macro, 1), false);
            const std::size_t steps = kMacroImageHeaderSize + 2 + 4;
            for (std::size_t b2 = 0; b2 < 256; ++b2) {
                image[steps + 4 * b2 + 1] = static_cast<std::uint8_t>((b2 & 0x80) | ((kind & 7) << 4));
                image[steps + 4 * b2 + 2] = static_cast<std::uint8_t>(b1);
                image[steps + 4 * b2 + 3] = static_cast<std::uint8_t>(b2);
            }
            std::copy(image.begin(), image.end(), fake.memory[9].begin());

            const StoreFileContents back = backup();
            const auto problems = CheckStoreContents(back, 1);
            ASSERT_TRUE(problems.empty()) << "kind " << kind << ", b1 " << b1 << ": " << problems.front().describe();
        }
}

TEST_F(KeyboardTransferTest, BackupLeavesTheFileAloneWhenAReadFails) {
    const std::string dir = makeTempDir("backup");
    const std::string path = dir + "/b.obp";
    ASSERT_EQ(ReadKeyboardToFile(commands(), link->state(), path, FakeText), 1);
    const auto size = std::filesystem::file_size(path);
    EXPECT_EQ(size, kKeyImageSize); // factory memory: no macros

    refuse(CMD_READ_KEYMAP);
    EXPECT_EQ(ReadKeyboardToFile(commands(), link->state(), path, FakeText), 0);
    EXPECT_EQ(ReadKeyboardToFile(commands(), link->state(), dir + "/new.obp", FakeText), 0);
    EXPECT_FALSE(std::filesystem::exists(dir + "/new.obp"));
    EXPECT_EQ(std::filesystem::file_size(path), size);
    std::filesystem::remove_all(dir);
}

TEST_F(KeyboardTransferTest, MacroMemoryThisProgramDidNotWriteHoldsNoMacros) {
    const auto fill = [&](std::vector<std::uint8_t> head) {
        std::fill(fake.memory[9].begin(), fake.memory[9].end(), 0x5A);
        std::copy(head.begin(), head.end(), fake.memory[9].begin());
        return backup().macros.size();
    };
    EXPECT_EQ(fill({}), 0u);                             // no magic
    EXPECT_EQ(fill({0xAA, 0x55, 8, 0, 1, 0}), 0u);       // smaller than its own header
    EXPECT_EQ(fill({0xAA, 0x55, 0x01, 0x20, 1, 0}), 0u); // larger than the memory
    EXPECT_EQ(fill({0xAA, 0x55, 0x00, 0x20, 3, 0}), 3u); // whole memory, blocks all garbage
}

} // namespace
} // namespace ombrel::test
