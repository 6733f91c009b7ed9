// Every path that writes to the keyboard, against the emulated keyboard with one reply lost, late or damaged at a
// time, at each report of the path in turn. A run may fail, but it must say so: when it reports success, the
// keyboard (read back from the emulator's memory) holds exactly what a fault-free run leaves there. And the link
// is not left broken: the same write made again right after succeeds.
//
// `make test` aims the faults at a few reports of each path; OMBREL_FAULT_SWEEP=all aims them at every one (the
// CTest entry test_link_fault_sweep, label soak).
#include "BackupWork.h"
#include "CliSetupNames.h"
#include "KeyboardFileWork.h"
#include "device/ActiveProfile.h"
#include "device/DeviceLink.h"
#include "device/LinkResult.h"
#include "keyboardfile/KeyboardSetupIo.h"
#include "keys/KeysTestData.h"
#include "keys/MacroImage.h"
#include "lighting/LightingState.h"
#include "lighting/LightingWriter.h"
#include "lighting/UserPatterns.h"
#include "profiles/ProfileStore.h"
#include "support/EmulatorLibrary.h"
#include "support/RecordingScreen.h"
#include "support/TestPaths.h"
#include "transfer/KeyboardBackup.h"
#include "transfer/KeyboardWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <thread>

namespace ombrel::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

bool fullSweep() {
    const char* sweep = std::getenv("OMBREL_FAULT_SWEEP");
    return sweep && std::string(sweep) == "all";
}

// Long enough that a loaded machine or a sanitizer build does not miss a reply three times in a row (the write after
// each fault must succeed); the long run, which goes on while other work loads the machine, waits longer.
const std::chrono::milliseconds kReplyTimeout = fullSweep() ? 250ms : 100ms;
const int kTimeoutMs = static_cast<int>(kReplyTimeout.count());

struct Fault {
    const char* name;
    int kind;
    int arg;
    int times; // on this many reports in a row: the report and its retries
};

// One fault is a retried report; three in a row use up every attempt.
const Fault kFaults[] = {
    {"reply lost", EMU_FAULT_DROP_REPLY, 0, 1},
    {"reply lost 3x", EMU_FAULT_DROP_REPLY, 0, 3},
    {"reply late past the time-out", EMU_FAULT_DELAY_REPLY, kTimeoutMs + kTimeoutMs / 2, 1},
    {"reply late within the time-out", EMU_FAULT_DELAY_REPLY, kTimeoutMs / 3, 1},
    {"reply to another command", EMU_FAULT_WRONG_COMMAND, 0, 1},
    {"reply to another command 3x", EMU_FAULT_WRONG_COMMAND, 0, 3},
    {"status 0xFF", EMU_FAULT_STATUS_FF, 0, 1},
    {"status 0xFF 3x", EMU_FAULT_STATUS_FF, 0, 3},
    {"status 0xFE 3x", EMU_FAULT_STATUS_FE, 0, 3},
    {"reply of 5 bytes 3x", EMU_FAULT_SHORT_REPLY, 5, 3},
    {"reply of 20 bytes", EMU_FAULT_SHORT_REPLY, 20, 1},
    {"reply with a bad sum", EMU_FAULT_BAD_SUM, 0, 1},
    {"reply with a bad sum 3x", EMU_FAULT_BAD_SUM, 0, 3},
    {"send refused", EMU_FAULT_SEND_FAIL, 0, 1},
    {"unplugged", EMU_FAULT_UNPLUG, 0, 1},
};

// Every memory area of the emulated keyboard, one after the other.
Bytes keyboardMemory() {
    static constexpr std::pair<int, std::uint32_t> kAreas[] = {
        {EMU_AREA_CONFIG, 44},         {EMU_AREA_LIGHTING, 3 * 42},    {EMU_AREA_KEYMAP, 3 * 378},
        {EMU_AREA_MACROS, 255 * 128u}, {EMU_AREA_DEFAULT_KEYMAP, 378}, {EMU_AREA_KEYCOLORS, 3 * 512}};
    Bytes all;
    for (const auto& [area, size] : kAreas) {
        Bytes part(size);
        EXPECT_EQ(Emulator().readMemory(area, 0, part.data(), size), 1);
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Where two states first differ, for the message of a failure.
std::string firstDifference(const Bytes& have, const Bytes& want) {
    if (have.size() != want.size())
        return "sizes " + std::to_string(have.size()) + " and " + std::to_string(want.size());
    for (std::size_t i = 0; i < have.size(); ++i)
        if (have[i] != want[i])
            return "byte " + std::to_string(i) + ": " + std::to_string(have[i]) + " instead of " +
                   std::to_string(want[i]);
    return "none";
}

Bytes fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Assignments on every profile and macros that fill most of the 8 KiB macro memory: Apply's longest write.
void fillStore(AssignmentStore& store) {
    for (std::uint16_t id = 1; id <= 3; ++id)
        store.macros.push_back(MakeMacro(id, u"macro " + std::u16string(1, u'0' + id), 670, 2));
    for (int p = 0; p < 3; ++p) {
        store.image.setRecord(RecordNumber(p, kCapsLock), {KF_KEY, 0, kEscape});
        store.image.setRecord(RecordNumber(p, kTab), {KF_MACRO, 0, static_cast<std::uint16_t>(p + 1)});
        store.image.setRecord(RecordNumber(p, kKeyA), {KF_DISABLED});
    }
}

// One way of writing to the keyboard. `prepare` sets up the keyboard and the program's side before each run (it
// may talk to the keyboard; faults are aimed after it); `write` returns LINK_OK or the failure it reports;
// `result` is what must match a fault-free run after a success; `mismatch` names anything the program now
// believes that the keyboard or its files contradict ("" when nothing).
struct WritePath {
    std::function<void()> prepare;
    std::function<int()> write;
    std::function<Bytes()> result = keyboardMemory;
    std::function<std::string(int writeResult)> mismatch = [](int) { return std::string(); };
    // Reports counted back from the last (0 = the last) that `make test` aims at besides its usual few.
    std::vector<unsigned> alsoFromEnd;
};

struct Tally {
    unsigned reports = 0;
    unsigned runs = 0;
    unsigned failures = 0; // runs that reported a failure (each correct: a fault may well cost the write)
};

// Which reports the faults are aimed at: all of them for the long sweep, else the first two, one in the middle and
// the last two (where the bracket is closed).
std::set<unsigned> aimedReports(unsigned reports) {
    std::set<unsigned> ks;
    if (fullSweep()) {
        for (unsigned k = 1; k <= reports; ++k)
            ks.insert(k);
        return ks;
    }
#if defined(__SANITIZE_THREAD__)
    // ThreadSanitizer looks for races, which the first and the last report show as well as any: the faults
    // themselves are the optimised build's to sweep.
    for (unsigned k : {1u, reports})
#else
    for (unsigned k : {1u, 2u, reports / 2, reports - 1, reports})
#endif
        if (k >= 1 && k <= reports) ks.insert(k);
    return ks;
}

class WritePathFaults : public ::testing::Test {
protected:
    void SetUp() override {
        emu.configure(nullptr);
        std::string error;
        link = DeviceLink::start(EmulatorLibrary().api(), screen, &error, ExchangeTiming{kReplyTimeout, 1ms});
        ASSERT_TRUE(link) << error;
        emu.reset();
        // As the keyboard's arrival leaves it (an unplug fault brings that about in the middle of the sweep).
        KeymapBytes factory{};
        ASSERT_EQ(emu.readMemory(EMU_AREA_DEFAULT_KEYMAP, 0, factory.data(), kKeymapSize), 1);
        state().setDefaultKeymap(factory);
        dir = makeTempDir("ombrel-write-faults");
    }
    void TearDown() override {
        link->shutdown();
        emu.reset();
        std::filesystem::remove_all(dir);
    }

    DeviceCommands& commands() { return link->commands(); }
    DeviceState& state() { return link->state(); }

    void startRun(const WritePath& path) {
        emu.reset();
        // A quick keyboard keeps the long paths short; late replies are made late on purpose.
        emu.setLatencyMicros(50);
        path.prepare();
    }

    Tally sweep(const char* name, const WritePath& path) {
        Tally tally;
        startRun(path);
        const std::uint32_t before = emu.reportCount();
        EXPECT_EQ(path.write(), LINK_OK) << name << ": the fault-free write";
        tally.reports = emu.reportCount() - before;
        const Bytes intended = path.result();
        EXPECT_EQ(path.mismatch(LINK_OK), "") << name << ": the fault-free write";

        std::set<unsigned> ks = aimedReports(tally.reports);
        for (unsigned back : path.alsoFromEnd)
            if (back < tally.reports) ks.insert(tally.reports - back);
        for (unsigned k : ks) {
            for (const Fault& fault : kFaults) {
                SCOPED_TRACE(std::string(name) + ", " + fault.name + " at report " + std::to_string(k) + " of " +
                             std::to_string(tally.reports));
                startRun(path);
                for (unsigned i = 1; i < k; ++i)
                    emu.injectFault(EMU_FAULT_NONE, 0);
                for (int i = 0; i < fault.times; ++i)
                    emu.injectFault(fault.kind, fault.arg);
                const int result = path.write();
                emu.clearFaults();
                ++tally.runs;
                if (const Bytes now = path.result(); result == LINK_OK)
                    EXPECT_TRUE(now == intended)
                        << "a success, but the keyboard differs at " << firstDifference(now, intended);
                else
                    ++tally.failures;
                EXPECT_EQ(path.mismatch(result), "");

                // The link keeps working: the same write again succeeds and leaves the intended state. A keyboard
                // that left is plugged in again first; the news that it left may still be on its way to the link
                // and end the first exchange after the return, as it would for a user's next click.
                int again = LINK_OK;
                if (!emu.isPlugged()) {
                    std::this_thread::sleep_for(20ms);
                    emu.plug();
                    for (int i = 0; i < 5 && (again = path.write()) == LINK_NO_DEVICE; ++i)
                        std::this_thread::sleep_for(20ms);
                } else {
                    again = path.write();
                }
                EXPECT_EQ(again, LINK_OK) << "the write after the fault";
                const Bytes after = path.result();
                EXPECT_TRUE(after == intended)
                    << "the write after the fault differs at " << firstDifference(after, intended);
                EXPECT_EQ(path.mismatch(LINK_OK), "") << "the write after the fault";
                if (HasFatalFailure()) return tally;
            }
        }
        std::printf("[ sweep    ] %-16s reports %4u, faults injected %5u, failures reported %5u\n", name, tally.reports,
                    tally.runs, tally.failures);
        return tally;
    }

    const EmulatorControl& emu = Emulator();
    RecordingScreen screen;
    std::unique_ptr<DeviceLink> link;
    std::string dir;
};

TEST_F(WritePathFaults, Apply) {
    std::unique_ptr<KeyStores> stores;
    WritePath path;
    path.prepare = [&] {
        state().macroCapacity.store(0); // asked of the keyboard first, as after an arrival
        stores = std::make_unique<KeyStores>();
        fillStore(stores->workingStore);
    };
    path.write = [&] { return ApplyToKeyboard(*stores, commands(), state(), screen, 1); };
    const Tally tally = sweep("apply", path);
    EXPECT_GT(tally.reports, 160u); // three blocks and nearly 8 KiB of macros
}

TEST_F(WritePathFaults, Restore) {
    // The backup to restore: what a keyboard with the store of fillStore() gives back.
    const std::string backupPath = dir + "/backup.obp";
    {
        KeyStores stores;
        fillStore(stores.workingStore);
        ASSERT_EQ(ApplyToKeyboard(stores, commands(), state(), screen, 1), LINK_OK);
        ASSERT_EQ(ReadKeyboardToFile(commands(), state(), backupPath, FakeText), 1);
    }
    const std::string storePath = dir + "/store.obp";
    std::unique_ptr<KeyStores> stores;
    WritePath path;
    path.prepare = [&] {
        std::filesystem::remove(storePath);
        stores = std::make_unique<KeyStores>();
        ASSERT_EQ(LoadStore(stores->workingStore, backupPath), 1);
    };
    path.write = [&] {
        std::lock_guard guard(stores->workingStore.lock);
        const int all[] = {0, 1, 2};
        const cli::StoreWriteOutcome out = cli::WriteStoreThrough(*stores, commands(), state(), screen, all, storePath);
        return out.stage == cli::StoreWriteOutcome::Stage::Done ? LINK_OK : out.result != LINK_OK ? out.result : -1;
    };
    // The profile store file never holds what the keyboard did not take.
    path.mismatch = [&](int result) {
        const bool saved = std::filesystem::exists(storePath);
        if (result == LINK_OK && !saved) return std::string("written, but the store file was not saved");
        if (result != LINK_OK && saved) return std::string("failed, but the store file was saved");
        return std::string();
    };
    sweep("restore", path);
}

TEST_F(WritePathFaults, KeyboardFile) {
    // The file to apply: ombrelctl export of a keyboard with the store of fillStore(), another lighting and other
    // per-key colours; it is applied to a factory keyboard.
    const cli::CliTexts texts = cli::LoadCliTexts();
    const cli::CliSetupNames names(texts);
    const std::string colorPrefix = dir + "/UserDengColor_";
    SetupPlaces places{commands(), state(), screen, texts.text, "", colorPrefix};
    std::string text;
    {
        KeyStores stores;
        fillStore(stores.workingStore);
        ASSERT_EQ(ApplyToKeyboard(stores, commands(), state(), screen, 1), LINK_OK);
        LightingState lighting;
        ASSERT_EQ(LoadLighting(commands(), lighting), LINK_OK);
        ASSERT_EQ(LightingWriter(commands(), lighting).setColor({200, 100, 50}), LINK_OK);
        UserPatterns patterns(commands(), colorPrefix);
        patterns.open(0);
        ASSERT_TRUE(patterns.setBrushColor({1, 2, 3}));
        ASSERT_EQ(patterns.paintSlot(64), LINK_OK);
        KeyboardSetup setup;
        ASSERT_EQ(ReadKeyboardSetup(places, setup), LINK_OK);
        text = cli::ExportKeyboardText(setup, std::nullopt, names);
    }
    WritePath path;
    path.prepare = [&] {
        for (int p = 0; p < kProfileCount; ++p)
            std::filesystem::remove(colorPrefix + std::to_string(p) + ".userd");
    };
    path.write = [&] {
        const cli::ApplyOutcome out = cli::ApplyKeyboardSetup(places, ReadKeyboardFile(text, names), names, false);
        if (out.stage == cli::ApplyOutcome::Stage::Done) return static_cast<int>(LINK_OK);
        EXPECT_NE(out.stage, cli::ApplyOutcome::Stage::Refused) << cli::DescribeProblems(out.problems);
        return out.result != LINK_OK ? out.result : -1;
    };
    // A colour write the keyboard refuses, in the bracket that ends the change (begin, eight colour writes, end).
    path.alsoFromEnd = {5};
    sweep("keyboard file", path);
}

TEST_F(WritePathFaults, Lighting) {
    LightingState lighting;
    WritePath path;
    path.prepare = [&] {
        lighting = LightingState();
        ASSERT_EQ(LoadLighting(commands(), lighting), LINK_OK);
    };
    path.write = [&] { return LightingWriter(commands(), lighting).setColor({12, 34, 56}); };
    // The panel shows what the keyboard holds, whether the change was taken or not (a keyboard that left is read
    // again when it comes back).
    path.mismatch = [&](int) {
        if (!emu.isPlugged()) return std::string();
        Bytes block(kLightingBlockSize);
        emu.readMemory(EMU_AREA_LIGHTING, static_cast<std::uint32_t>(lighting.profile * 42), block.data(), 42);
        const auto& shown = lighting.blocks[static_cast<std::size_t>(lighting.profile)];
        return std::equal(block.begin(), block.end(), shown.begin()) ? std::string()
                                                                     : std::string("the panel shows another block");
    };
    sweep("lighting", path);
}

TEST_F(WritePathFaults, KeyColours) {
    std::unique_ptr<UserPatterns> patterns;
    WritePath path;
    path.prepare = [&] {
        // Colours the pattern does not have, so that every write changes the keyboard.
        const Bytes grey(3 * 512, 0x5A);
        emu.writeMemory(EMU_AREA_KEYCOLORS, 0, grey.data(), static_cast<std::uint32_t>(grey.size()));
        patterns = std::make_unique<UserPatterns>(commands(), dir + "/UserDengColor_");
    };
    path.write = [&] { return patterns->loadCurrent(1); };
    sweep("key colours", path);
}

TEST_F(WritePathFaults, ProfileSwitch) {
    WritePath path;
    path.prepare = [&] { state().cachedProfile.store(-1); };
    path.write = [&] { return SetActiveProfile(commands(), state(), 2); };
    // The profile the program believes active is the keyboard's, or unknown.
    path.mismatch = [&](int) {
        std::uint8_t config[44] = {};
        emu.readMemory(EMU_AREA_CONFIG, 0, config, sizeof config);
        const int cached = state().cachedProfile.load();
        return cached == -1 || cached == config[10] ? std::string()
                                                    : "the program believes profile " + std::to_string(cached) +
                                                          " is active, the keyboard has " + std::to_string(config[10]);
    };
    sweep("profile switch", path);
}

TEST_F(WritePathFaults, Backup) {
    // A keyboard with macros and changed blocks, and an older backup in the file.
    Bytes setup;
    {
        KeyStores stores;
        fillStore(stores.workingStore);
        ASSERT_EQ(ApplyToKeyboard(stores, commands(), state(), screen, 1), LINK_OK);
        setup = keyboardMemory();
    }
    const std::string path = dir + "/backup.obp";
    const Bytes older = {'o', 'l', 'd'};
    WritePath backup;
    backup.prepare = [&] {
        emu.writeMemory(EMU_AREA_KEYMAP, 0, setup.data() + 44 + 126, 3 * 378);
        emu.writeMemory(EMU_AREA_MACROS, 0, setup.data() + 44 + 126 + 3 * 378, 255 * 128);
        writeFile(path, older);
    };
    backup.write = [&] {
        std::string why;
        return ReadKeyboardToFile(commands(), state(), path, FakeText, &why) == 1 ? LINK_OK : LINK_NO_REPLY;
    };
    backup.result = [&] { return fileBytes(path); };
    backup.mismatch = [&](int result) {
        return result != LINK_OK && fileBytes(path) != older ? std::string("failed, but the file was replaced")
                                                             : std::string();
    };
    sweep("backup", backup);
}

} // namespace
} // namespace ombrel::test
