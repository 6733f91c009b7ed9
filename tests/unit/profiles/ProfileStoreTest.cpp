// Saving and loading the store: the file layout, atomic replacement, and what loading and validation refuse.
#include "profiles/ProfileStore.h"
#include "keys/KeysTestData.h"
#include "profiles/BinaryFile.h"
#include "profiles/StoreFileHeader.h"
#include "support/RecordingScreen.h"
#include "support/TestPaths.h"
#include "util/Bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

class ProfileStoreTest : public ::testing::Test {
protected:
    void SetUp() override { dir = makeTempDir("profiles"); }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<std::uint8_t> readFile(const std::string& path) { return ReadBinaryFile(path, 1u << 30).bytes; }
    void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        ASSERT_TRUE(WriteBinaryFile(path, bytes));
    }
    // A store with assignments in every profile, three macros and strings, some with stale offsets.
    void fill(AssignmentStore& s) {
        CreateDefault(s, "", 0, DefaultTarget::Store);
        s.image.setRecord(RecordNumber(0, kCapsLock), {KF_KEY, 0, kEscape});
        s.image.setRecord(RecordNumber(1, kTab), {KF_MACRO, 3, 2});
        s.image.setRecord(RecordNumber(2, kKeyA), {KF_TEXT, 0, 999});
        s.strings.set(RecordNumber(2, kKeyA), u"typed text \u00fc");
        s.image.setRecord(RecordNumber(0, 0x3B), {KF_PROGRAM, 0, 7});
        s.strings.set(RecordNumber(0, 0x3B), u"/usr/bin/xterm");
        s.image.setRecord(RecordNumber(1, 0x3C), {KF_PROGRAM, 0, 3});
        s.strings.set(RecordNumber(1, 0x3C), u"");
        s.macros = {MakeMacro(2, u"two", 7, 3), MakeMacro(9, u"", 0), MakeMacro(5, u"\u4e2d\u6587", 4000, 255)};
        s.macros[1].bytes()[501] = 0x77; // reserved bytes are kept as they are
    }
    // `s` filled and exported to a file of that name in the test's folder; returns the file's path.
    std::string exportFilled(AssignmentStore& s, const std::string& name) {
        fill(s);
        const std::string path = dir + "/" + name;
        EXPECT_EQ(ExportStore(s, path, true), 1);
        return path;
    }

    std::string dir;
    RecordingScreen screen;
};

TEST_F(ProfileStoreTest, StoreFileStoreIsByteIdentical) {
    AssignmentStore original;
    const std::string path = exportFilled(original, "export.obp");
    const auto file = readFile(path);
    const std::uint64_t expectedSize = StoreFileSize(3, original.strings.stringBytes());
    ASSERT_EQ(file.size(), expectedSize);
    EXPECT_EQ(getLe32(&file[8]), expectedSize);
    EXPECT_EQ(getLe16(&file[14]), 3);
    EXPECT_EQ(ValidateFile(path, screen), VALIDATE_OK);

    AssignmentStore loaded;
    ASSERT_EQ(LoadStore(loaded, path), 1);
    EXPECT_EQ(loaded.image, original.image);
    EXPECT_EQ(loaded.macros, original.macros);
    EXPECT_EQ(loaded.strings, original.strings);
    EXPECT_EQ(loaded.strings.text(RecordNumber(2, kKeyA)), u"typed text \u00fc");

    const std::string again = dir + "/again.obp";
    ASSERT_EQ(ExportStore(loaded, again, true), 1);
    EXPECT_EQ(readFile(again), file);
}

TEST_F(ProfileStoreTest, AnEmptyStoreIsExactlyAKeyImage) {
    AssignmentStore s;
    CreateDefault(s, "", 0, DefaultTarget::Store);
    const std::string path = dir + "/empty";
    ASSERT_EQ(ExportStore(s, path, false), 1);
    const auto file = readFile(path);
    ASSERT_EQ(file.size(), kKeyImageSize);
    EXPECT_EQ(getLe32(&file[8]), kKeyImageSize);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), DefaultKeyImage().bytes().begin()));

    ASSERT_EQ(CreateDefault(s, dir + "/fresh", 1, DefaultTarget::File), 1);
    const auto fresh = readFile(dir + "/fresh");
    ASSERT_EQ(fresh.size(), kKeyImageSize);
    EXPECT_EQ(fresh[30], 1);
    EXPECT_EQ(ValidateFile(dir + "/fresh", screen), VALIDATE_OK);
}

TEST_F(ProfileStoreTest, SavingReplacesTheStoreFileOnlyWhenItExists) {
    AssignmentStore s;
    fill(s);
    const std::string path = StorePath(dir, 2);
    EXPECT_EQ(path, dir + "/keyboard-profiles.obp");
    EXPECT_EQ(SaveStore(s, path, true), 0);
    EXPECT_FALSE(fs::exists(path));

    ASSERT_EQ(CreateDefault(s, path, 0, DefaultTarget::File), 1);
    ::chmod(path.c_str(), 0600);
    ASSERT_EQ(SaveStore(s, path, true), 1);
    EXPECT_EQ(fs::file_size(path), StoreFileSize(3, s.strings.stringBytes()));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
        ++entries;
    EXPECT_EQ(entries, 1) << "no temporary file is left behind";

    // A save that cannot complete leaves the old file as it was.
    EXPECT_EQ(ExportStore(s, dir + "/missing/folder/file", true), 0);
    fs::create_directory(dir + "/blocker");
    EXPECT_EQ(ExportStore(s, dir + "/blocker", true), 0); // a folder cannot be replaced by a file
    EXPECT_TRUE(fs::is_directory(dir + "/blocker"));
}

TEST_F(ProfileStoreTest, SavingPacksTheStringsAndUpdatesTheirOffsets) {
    AssignmentStore s;
    const std::string path = exportFilled(s, "f");
    // Record order: profile 0's program (15 characters), profile 1's empty program, profile 2's text.
    EXPECT_EQ(s.image.record(RecordNumber(0, 0x3B)).value, 0u);
    EXPECT_EQ(s.image.record(RecordNumber(1, 0x3C)).value, 30u);
    EXPECT_EQ(s.image.record(RecordNumber(2, kKeyA)).value, 32u);
    const auto file = readFile(path);
    const std::size_t area = file.size() - s.strings.stringBytes();
    EXPECT_EQ(file[area], '/');
    EXPECT_EQ(file[area + 32], 't');
}

TEST_F(ProfileStoreTest, LoadingRefusesFilesThatCannotBeTrusted) {
    AssignmentStore source;
    const auto bytes = readFile(exportFilled(source, "good"));
    const std::size_t macro0 = kKeyImageSize, macro2 = kKeyImageSize + 2 * kMacroRecordSize;

    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        const char* why;
    };
    const Case cases[] = {
        {"cut short", [](auto& b) { b.resize(b.size() - 1); }, "shorter than its header says"},
        {"cut inside a macro", [](auto& b) { b.resize(kKeyImageSize + 100); }, "shorter than its header says"},
        {"shorter than an image", [](auto& b) { b.resize(kKeyImageSize - 1); }, "too short"},
        {"name without zero",
         [=](auto& b) {
             std::fill(b.begin() + static_cast<long>(macro0), b.begin() + static_cast<long>(macro0) + 500, 'x');
         },
         "macro 1 in the file has a name without its terminating zero"},
        {"4001 steps", [=](auto& b) { putLe16(&b[macro2 + 508], 4001); }, "macro 3 in the file claims more than 4000"},
        {"101 macros", [](auto& b) { putLe16(&b[14], 101); }, "more than 100 macros"},
        {"string size beyond the file", [](auto& b) { putLe32(&b[16], 0xFFFFFFF0u); }, "shorter than its header"},
    };
    for (const Case& c : cases) {
        auto damaged = bytes;
        c.damage(damaged);
        const std::string path = dir + "/damaged";
        writeFile(path, damaged);
        AssignmentStore target;
        fill(target);
        const KeyImage before = target.image;
        std::string why;
        EXPECT_EQ(LoadStore(target, path, &why), 0) << c.what;
        EXPECT_NE(why.find(c.why), std::string::npos) << c.what << ": " << why;
        EXPECT_EQ(target.image, before) << c.what;
        EXPECT_EQ(target.macros.size(), 3u) << c.what;
        screen.clear();
        EXPECT_EQ(ValidateFile(path, screen), VALIDATE_BAD) << c.what;
        const bool message = std::string(c.what) != "shorter than an image";
        EXPECT_EQ(screen.events(), message ? std::vector<std::string>{"message PROFILE_FORMAT_ERROR " + path}
                                           : std::vector<std::string>{})
            << c.what;
    }
    std::string why;
    AssignmentStore target;
    EXPECT_EQ(LoadStore(target, dir + "/nothing", &why), 0);
    EXPECT_EQ(why, "the file does not exist");
}

TEST_F(ProfileStoreTest, LoadingIgnoresExtraBytesAndBadStringOffsets) {
    AssignmentStore source;
    CreateDefault(source, "", 0, DefaultTarget::Store);
    source.image.setRecord(5, {KF_TEXT});
    source.strings.set(5, u"abc");
    const std::string path = dir + "/f";
    ASSERT_EQ(ExportStore(source, path, true), 1);
    auto bytes = readFile(path);
    bytes.insert(bytes.end(), {'j', 0, 'u', 0, 'n', 0, 'k', 0}); // longer than its total size
    putLe32(&bytes[64 + 16 * 5 + 4], 3);                         // odd: the string from offset 2
    writeFile(path, bytes);
    EXPECT_EQ(ValidateFile(path, screen), VALIDATE_OK);
    AssignmentStore loaded;
    ASSERT_EQ(LoadStore(loaded, path), 1);
    EXPECT_EQ(loaded.strings.text(5), u"bc");

    putLe32(&bytes[64 + 16 * 5 + 4], 8); // past the area (the junk after it is not part of it)
    writeFile(path, bytes);
    ASSERT_EQ(LoadStore(loaded, path), 1);
    EXPECT_EQ(loaded.strings.text(5), u"");
    EXPECT_EQ(loaded.image.record(5).type, KF_TEXT);
}

TEST_F(ProfileStoreTest, ValidationTellsMissingUnreadableAndDamagedFilesApart) {
    const std::string path = dir + "/v";
    EXPECT_EQ(ValidateFile(path, screen), VALIDATE_BAD);
    fs::create_directory(path);
    EXPECT_EQ(ValidateFile(path, screen), VALIDATE_CANNOT_OPEN);
    fs::remove(path);
    writeFile(path, std::vector<std::uint8_t>(100, 0));
    EXPECT_EQ(ValidateFile(path, screen), VALIDATE_BAD);
    EXPECT_TRUE(screen.events().empty()) << "too short: refused without the format message";

    const KeyImage image = DefaultKeyImage();
    std::vector<std::uint8_t> file(image.bytes().begin(), image.bytes().end());
    file[31] ^= 0xFF;
    writeFile(path, file);
    std::string why;
    EXPECT_EQ(ValidateFile(path, screen, &why), VALIDATE_BAD);
    EXPECT_EQ(screen.events(), (std::vector<std::string>{"message PROFILE_FORMAT_ERROR " + path}));
    EXPECT_NE(why.find("header"), std::string::npos);
}

TEST_F(ProfileStoreTest, TheLargestStoreGoesThroughAFile) {
    AssignmentStore s;
    CreateDefault(s, "", 0, DefaultTarget::Store);
    for (std::uint16_t id = 1; id <= kMaxMacros; ++id)
        s.macros.push_back(MakeMacro(id, std::u16string(kMaxMacroNameLength, static_cast<char16_t>(u'A' + id % 26)),
                                     kMaxMacroActions, static_cast<std::uint8_t>(id)));
    const std::string path = dir + "/largest";
    ASSERT_EQ(ExportStore(s, path, true), 1);
    EXPECT_EQ(fs::file_size(path), kKeyImageSize + 100 * kMacroRecordSize);
    EXPECT_EQ(ValidateFile(path, screen), VALIDATE_OK);
    AssignmentStore loaded;
    ASSERT_EQ(LoadStore(loaded, path), 1);
    EXPECT_EQ(loaded.macros, s.macros);
}

} // namespace
} // namespace ombrel::test

namespace ombrel::test {
namespace {

// Hand-damaged copies of one good file: each kind of damage a body can carry is found and located.
TEST_F(ProfileStoreTest, ValidationFindsEveryKindOfDamagedBody) {
    AssignmentStore s;
    const std::string path = exportFilled(s, "good.obp");
    std::vector<ContentProblem> problems;
    ASSERT_EQ(ValidateFile(path, screen, nullptr, &problems), VALIDATE_OK);
    ASSERT_TRUE(problems.empty()) << problems.front().describe();
    std::vector<std::uint8_t> good = readFile(path);

    const auto record = [](int layer, KeyIndex key) {
        return 64 + 16 * static_cast<std::size_t>(RecordNumber(layer, key));
    };
    // A key that sends nothing (an unknown mouse entry read back from the keyboard) is sound, not damage.
    putLe32(&good[record(0, kCapsLock) + 4], 0);
    writeFile(path, good);
    ASSERT_EQ(ValidateFile(path, screen, nullptr, &problems), VALIDATE_OK);
    EXPECT_TRUE(problems.empty()) << problems.front().describe();
    const std::size_t macro0 = kKeyImageSize, macro1 = kKeyImageSize + kMacroRecordSize;
    const struct {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        const char* found;
    } cases[] = {
        {"unknown kind", [&](auto& b) { b[record(1, kKeyA)] = 0x09; },
         "profile 2, key 0x01E: unknown kind of function 0x0009"},
        {"extra", [&](auto& b) { putLe16(&b[record(0, kKeyA) + 2], 0x4444); },
         "profile 1, key 0x01E: extra field 0x4444"},
        {"key code", [&](auto& b) { putLe32(&b[record(0, kCapsLock) + 4], 0x1FF); }, "sends key code 0x1FF"},
        {"macro id", [&](auto& b) { putLe32(&b[record(1, kTab) + 4], 7); }, "profile 2, key 0x00F: plays macro id 7"},
        {"media",
         [&](auto& b) {
             putLe16(&b[record(2, kTab)], KF_MEDIA);
             b[record(2, kTab) + 4] = 18;
         },
         "media function 18"},
        {"function",
         [&](auto& b) {
             putLe16(&b[record(2, kTab)], KF_FUNCTION);
             b[record(2, kTab) + 4] = 11;
         },
         "keyboard function 11"},
        {"string offset", [&](auto& b) { putLe32(&b[record(2, kKeyA) + 4], 100000); }, "string offset 100000 outside"},
        {"mark", [&](auto& b) { b[record(0, kKeyA) + 8] = 2; }, "mark field 2"},
        {"step key", [&](auto& b) { putLe16(&b[macro0 + 512 + 4], 0x3FF); }, "macro 1: step 1 presses key code 0x3FF"},
        {"step state", [&](auto& b) { putLe16(&b[macro0 + 512 + 8 + 6], 2); }, "macro 1: step 2 is neither a press"},
        {"duplicate id", [&](auto& b) { putLe16(&b[macro1 + 506], 2); }, "macro 2: id 2 is used by an earlier macro"},
        {"cycles", [&](auto& b) { b[macro0 + 500] = 0; }, "macro 1: plays 0 times"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> bytes = good;
        c.damage(bytes);
        writeFile(path, bytes);
        EXPECT_EQ(ValidateFile(path, screen, nullptr, &problems), VALIDATE_OK) << "the header is still sound";
        ASSERT_FALSE(problems.empty());
        EXPECT_NE(problems.front().describe().find(c.found), std::string::npos) << problems.front().describe();
    }

    // Random damage, as a bad disk or a careless tool gives it: 40 bytes of a backup's key records.
    const KeyImage image = DefaultKeyImage();
    std::vector<std::uint8_t> backup(image.bytes().begin(), image.bytes().end());
    std::uint32_t seed = 12345;
    for (int i = 0; i < 40; ++i) {
        seed = seed * 1103515245u + 12345u;
        backup[64 + (seed >> 8) % (kKeyImageSize - 64)] ^= static_cast<std::uint8_t>(1 + (seed >> 20) % 255);
    }
    writeFile(path, backup);
    EXPECT_EQ(ValidateFile(path, screen, nullptr, &problems), VALIDATE_OK);
    EXPECT_FALSE(problems.empty());
}

} // namespace
} // namespace ombrel::test
