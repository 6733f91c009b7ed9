// libVevIrozEmu.so through dlopen, used the way the program uses the real service library.

#include "EmuLibrary.h"

#include "CheckValue.h"
#include "DeviceFilter.h"
#include "device/Report.h"
#include "emulator/FactoryMemory.h"
#include "emulator/StateFile.h"
#include "emulator/StateFileLock.h"
#include "support/TestPaths.h"
#include "text/FileBytes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace ombrel::test {
namespace {

Recorder g_recorder;

int32_t onNotify(void* record) {
    g_recorder.add(readRecord(record));
    return 1;
}

std::uint32_t checkOf(const DeviceFilter& filter, VevNotifyFn callback, std::uint32_t tag,
                      std::span<const std::uint8_t> payload = {}) {
    const auto bytes = filter.bytes();
    return CheckValue(bytes, reinterpret_cast<std::uintptr_t>(callback), tag, payload);
}

Report makeRequest(std::uint8_t command, std::uint8_t length, std::uint16_t offset) {
    Report r;
    r.setCommand(command);
    r.setLength(length);
    r.setOffset(offset);
    r.seal();
    return r;
}

class EmulatorLibrary : public testing::Test {
protected:
    static void SetUpTestSuite() { s_loaded = s_lib.load(s_loadError); }
    static void TearDownTestSuite() {
        // Unload while the delivery thread runs: the library must end it itself.
        if (s_loaded) s_lib.init(0);
        s_lib.unload();
    }

    void SetUp() override {
        ASSERT_TRUE(s_loaded) << s_loadError;
        ASSERT_EQ(lib().emu.configure(""), 1);
        ASSERT_EQ(lib().init(0), 1);
        lib().emu.reset();
        g_recorder.clear();
    }
    void TearDown() override {
        if (s_loaded) lib().end();
    }

    static EmuLibrary& lib() { return s_lib; }

    std::uint32_t registerRead(const DeviceFilter& filter, std::uint32_t tag, VevNotifyFn callback = onNotify) {
        std::uint32_t id = 0;
        EXPECT_EQ(lib().asyncRead(filter.bytes().data(), callback, tag, checkOf(filter, callback, tag), &id), 1);
        EXPECT_NE(id, 0u);
        return id;
    }
    std::int32_t write(const Report& r) {
        return lib().writeOne(kVendorFilter.bytes().data(), nullptr, 0, r.bytes.data(), 64,
                              checkOf(kVendorFilter, nullptr, 0, r.bytes), nullptr);
    }
    std::int32_t deviceCount() {
        return lib().getDeviceCount(kVendorFilter.bytes().data(), nullptr, 0, checkOf(kVendorFilter, nullptr, 0),
                                    nullptr);
    }
    std::uint8_t configByte(std::uint32_t offset) {
        std::uint8_t b = 0;
        EXPECT_EQ(lib().emu.readMemory(EMU_AREA_CONFIG, offset, &b, 1), 1);
        return b;
    }

    static EmuLibrary s_lib;
    static bool s_loaded;
    static std::string s_loadError;
};

EmuLibrary EmulatorLibrary::s_lib;
bool EmulatorLibrary::s_loaded = false;
std::string EmulatorLibrary::s_loadError;

TEST_F(EmulatorLibrary, RefusesEveryCallWhoseCheckValueIsWrong) {
    const auto vendor = kVendorFilter.bytes();
    EXPECT_EQ(lib().getDeviceCount(vendor.data(), nullptr, 0, checkOf(kVendorFilter, nullptr, 0) + 1, nullptr), 0);
    EXPECT_EQ(deviceCount(), 1);

    std::uint32_t id = 77;
    EXPECT_EQ(
        lib().asyncRead(vendor.data(), onNotify, VEV_TAG_CTRL, checkOf(kVendorFilter, nullptr, VEV_TAG_CTRL), &id), 0)
        << "a check value computed for another callback address";
    EXPECT_EQ(id, 77u);

    const Report r = makeRequest(3, 44, 0);
    EXPECT_EQ(
        lib().writeOne(vendor.data(), nullptr, 0, r.bytes.data(), 64, checkOf(kVendorFilter, nullptr, 0), nullptr), 0)
        << "a check value without the report bytes";
    EXPECT_EQ(lib().emu.reportCount(), 0u);

    const std::array<std::uint8_t, 2> status{0x05, 0x03};
    const auto bank = kBankStatusFilter.bytes();
    EXPECT_EQ(lib().statusWrite(bank.data(), onNotify, VEV_TAG_DEL, status.data(), 2,
                                checkOf(kBankStatusFilter, onNotify, VEV_TAG_DEL, {status.data(), 1}), &id),
              0);
    std::uint8_t seen[2]{};
    EXPECT_EQ(lib().emu.bankStatus(seen), 0) << "a refused status write was recorded";

    EXPECT_EQ(lib().statusWrite(bank.data(), onNotify, VEV_TAG_DEL, status.data(), 2,
                                checkOf(kBankStatusFilter, onNotify, VEV_TAG_DEL, status), &id),
              1);
    ASSERT_EQ(lib().emu.bankStatus(seen), 1);
    EXPECT_EQ(seen[0], 0x05);
    EXPECT_EQ(seen[1], 0x03);
}

TEST_F(EmulatorLibrary, AnswersAReadOnTheControlChannel) {
    const std::uint32_t first = registerRead(kVendorFilter, VEV_TAG_CTRL);
    const std::uint32_t second = registerRead(kConsumerFilter, VEV_TAG_CONS);
    EXPECT_NE(first, second);

    ASSERT_EQ(write(makeRequest(3, 44, 0)), 1);
    const auto got = g_recorder.waitFor(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].kind, static_cast<std::uint32_t>(VEV_NOTIFY_DATA));
    EXPECT_EQ(got[0].tag, VEV_TAG_CTRL);
    ASSERT_EQ(got[0].length, 64u);
    const Report reply = Report::fromBytes(got[0].data);
    EXPECT_EQ(reply.bytes[0], 4);
    EXPECT_EQ(reply.command(), 3);
    EXPECT_EQ(reply.length(), 44);
    EXPECT_EQ(reply.status(), 0);
    EXPECT_TRUE(reply.sumMatches());
    const auto factory = emu::FactoryMemory();
    EXPECT_TRUE(std::equal(factory.config.begin(), factory.config.end(), reply.payload().begin()));
    EXPECT_EQ(lib().emu.reportCount(), 1u);
}

struct ReplyFault {
    const char* name;
    int kind;
    int arg;
    bool sameCommand;
    std::uint8_t status;
    std::uint32_t length;
    bool written;
    bool sumFits = true; // of a whole reply
};

TEST_F(EmulatorLibrary, FaultsShapeTheReplyToOneReport) {
    const ReplyFault cases[] = {
        {"none", EMU_FAULT_NONE, 0, true, 0x00, 64, true},
        {"wrong command", EMU_FAULT_WRONG_COMMAND, 0, false, 0x00, 64, true},
        {"status FF", EMU_FAULT_STATUS_FF, 0, true, 0xFF, 64, false},
        {"status FE", EMU_FAULT_STATUS_FE, 0, true, 0xFE, 64, false},
        {"short reply", EMU_FAULT_SHORT_REPLY, 10, true, 0x00, 10, true},
        {"bad sum", EMU_FAULT_BAD_SUM, 0, true, 0x00, 64, true, false},
    };
    registerRead(kVendorFilter, VEV_TAG_CTRL);
    for (const ReplyFault& c : cases) {
        SCOPED_TRACE(c.name);
        lib().emu.reset();
        g_recorder.clear();
        ASSERT_EQ(lib().emu.injectFault(c.kind, c.arg), 1);
        Report w = makeRequest(6, 1, 0); // lighting: effect of profile 0
        w.payload()[0] = 9;
        w.seal();
        ASSERT_EQ(write(w), 1);
        ASSERT_EQ(write(makeRequest(3, 44, 0)), 1); // after the fault: answered normally
        const auto got = g_recorder.waitFor(2);
        ASSERT_EQ(got.size(), 2u);
        ASSERT_EQ(got[0].length, c.length);
        const Report reply = Report::fromBytes(got[0].data);
        if (c.length >= 8) {
            EXPECT_EQ(reply.command() == 6, c.sameCommand);
            EXPECT_EQ(reply.status(), c.status);
        }
        if (c.length == 64) {
            EXPECT_EQ(reply.sumMatches(), c.sumFits);
        }
        std::uint8_t effect = 0;
        lib().emu.readMemory(EMU_AREA_LIGHTING, 0, &effect, 1);
        EXPECT_EQ(effect, c.written ? 9 : 1);
        EXPECT_EQ(Report::fromBytes(got[1].data).command(), 3);
        EXPECT_EQ(Report::fromBytes(got[1].data).status(), 0);
    }
}

TEST_F(EmulatorLibrary, DroppedAndDelayedRepliesDoNotDisturbTheOthers) {
    registerRead(kVendorFilter, VEV_TAG_CTRL);
    ASSERT_EQ(lib().emu.injectFault(EMU_FAULT_DROP_REPLY, 0), 1);
    ASSERT_EQ(lib().emu.injectFault(EMU_FAULT_NONE, 0), 1);
    ASSERT_EQ(lib().emu.injectFault(EMU_FAULT_DELAY_REPLY, 50), 1);
    ASSERT_EQ(write(makeRequest(3, 1, 0)), 1); // dropped
    ASSERT_EQ(write(makeRequest(3, 2, 0)), 1);
    ASSERT_EQ(write(makeRequest(3, 3, 0)), 1); // late
    ASSERT_EQ(write(makeRequest(3, 4, 0)), 1);
    const auto got = g_recorder.waitFor(3);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(Report::fromBytes(got[0].data).length(), 2);
    EXPECT_EQ(Report::fromBytes(got[1].data).length(), 4);
    EXPECT_EQ(Report::fromBytes(got[2].data).length(), 3);
    EXPECT_EQ(lib().emu.reportCount(), 4u);
}

TEST_F(EmulatorLibrary, SendFailureAndUnplugFaultsRefuseTheReport) {
    registerRead(kVendorFilter, VEV_TAG_CTRL);
    ASSERT_EQ(lib().emu.injectFault(EMU_FAULT_SEND_FAIL, 0), 1);
    EXPECT_EQ(write(makeRequest(3, 44, 0)), 0);
    EXPECT_EQ(write(makeRequest(3, 44, 0)), 1);
    ASSERT_EQ(g_recorder.waitFor(1).size(), 1u);

    ASSERT_EQ(lib().emu.injectFault(EMU_FAULT_UNPLUG, 0), 1);
    EXPECT_EQ(write(makeRequest(3, 44, 0)), 0);
    const auto got = g_recorder.waitFor(2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1].kind, static_cast<std::uint32_t>(VEV_NOTIFY_DEVICE_COUNT));
    EXPECT_EQ(got[1].length, 0u);
    EXPECT_EQ(lib().emu.isPlugged(), 0);
    EXPECT_EQ(deviceCount(), 0);
    EXPECT_EQ(write(makeRequest(3, 44, 0)), 0);
}

TEST_F(EmulatorLibrary, UnplugAndPlugAreReportedOnTheControlChannel) {
    registerRead(kVendorFilter, VEV_TAG_CTRL);
    registerRead(kConsumerFilter, VEV_TAG_CONS);
    char node[32] = "x";
    EXPECT_EQ(lib().probe(node, sizeof node), 0);
    EXPECT_STREQ(node, "emulator");

    ASSERT_EQ(lib().emu.unplug(), 1);
    EXPECT_EQ(deviceCount(), 0);
    EXPECT_EQ(write(makeRequest(3, 44, 0)), 0);
    EXPECT_EQ(lib().emu.sendConsumer(1025), 0);
    EXPECT_EQ(lib().probe(node, sizeof node), -1);
    EXPECT_STREQ(node, "");
    ASSERT_EQ(lib().emu.plug(), 1);
    EXPECT_EQ(deviceCount(), 1);

    const auto got = g_recorder.waitFor(2);
    ASSERT_EQ(got.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(got[i].kind, static_cast<std::uint32_t>(VEV_NOTIFY_DEVICE_COUNT));
        EXPECT_EQ(got[i].tag, VEV_TAG_CTRL);
        EXPECT_EQ(got[i].length, i == 0 ? 0u : 1u);
    }
}

TEST_F(EmulatorLibrary, ConsumerCodesReachTheConsumerChannel) {
    registerRead(kConsumerFilter, VEV_TAG_CONS);
    registerRead(kVendorFilter, VEV_TAG_CTRL);
    ASSERT_EQ(lib().emu.pressBankKey(), 1);
    for (std::uint16_t code : {1025, 6160, 6161})
        ASSERT_EQ(lib().emu.sendConsumer(code), 1);
    ASSERT_EQ(write(makeRequest(1, 0, 0)), 1); // its reply, due last, shows the control channel got nothing else
    const auto got = g_recorder.waitFor(5);
    ASSERT_EQ(got.size(), 5u);
    const std::uint16_t codes[] = {767, 1025, 6160, 6161};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(codes[i]);
        EXPECT_EQ(got[i].kind, static_cast<std::uint32_t>(VEV_NOTIFY_DATA));
        EXPECT_EQ(got[i].tag, VEV_TAG_CONS);
        ASSERT_GE(got[i].consumer.size(), 2u);
        EXPECT_EQ(got[i].consumer[0] | (got[i].consumer[1] << 8), codes[i]);
        EXPECT_EQ(got[i].data, got[i].consumer);
    }
    EXPECT_EQ(got[4].tag, VEV_TAG_CTRL);
}

// What the program does on a bank key: inside the callback, end the old status registration and write anew.
std::atomic<std::uint32_t> g_selfId{0};
std::atomic<int> g_selfCalls{0};
EmuLibrary* g_lib = nullptr;

int32_t deleteSelfAndWriteStatus(void*) {
    ++g_selfCalls;
    g_lib->deleteRequest(g_selfId.load());
    const std::array<std::uint8_t, 2> status{0x05, 0x03};
    std::uint32_t id = 0;
    g_lib->statusWrite(kBankStatusFilter.bytes().data(), deleteSelfAndWriteStatus, VEV_TAG_DEL, status.data(), 2,
                       checkOf(kBankStatusFilter, deleteSelfAndWriteStatus, VEV_TAG_DEL, status), &id);
    return 1;
}

TEST_F(EmulatorLibrary, CallbackMayDeleteItselfAndWriteStatus) {
    g_lib = &lib();
    g_selfCalls = 0;
    g_selfId = registerRead(kConsumerFilter, VEV_TAG_CONS, deleteSelfAndWriteStatus);
    registerRead(kConsumerFilter, VEV_TAG_CONS); // delivered after the first one: marks the end of each event
    ASSERT_EQ(lib().emu.pressBankKey(), 1);
    ASSERT_EQ(lib().emu.pressBankKey(), 1);
    ASSERT_EQ(g_recorder.waitFor(2).size(), 2u);
    EXPECT_EQ(g_selfCalls.load(), 1);
    std::uint8_t status[2]{};
    ASSERT_EQ(lib().emu.bankStatus(status), 1);
    EXPECT_EQ(status[1], 0x03);
}

// A callback that holds the delivery thread until released.
std::mutex g_gateMutex;
std::condition_variable g_gateChanged;
bool g_entered = false;
bool g_released = false;
std::atomic<int> g_gateCalls{0};

int32_t gatedCallback(void*) {
    ++g_gateCalls;
    std::unique_lock lock(g_gateMutex);
    g_entered = true;
    g_gateChanged.notify_all();
    g_gateChanged.wait(lock, [] { return g_released; });
    return 1;
}

TEST_F(EmulatorLibrary, DeleteWaitsForTheRunningCallbackAndSendingGoesOn) {
    g_entered = false;
    g_released = false;
    g_gateCalls = 0;
    const std::uint32_t gated = registerRead(kConsumerFilter, VEV_TAG_CONS, gatedCallback);
    ASSERT_EQ(lib().emu.pressBankKey(), 1);
    {
        std::unique_lock lock(g_gateMutex);
        ASSERT_TRUE(g_gateChanged.wait_for(lock, std::chrono::seconds(5), [] { return g_entered; }));
    }
    EXPECT_EQ(write(makeRequest(3, 44, 0)), 1) << "sending must not wait for a running callback";

    std::atomic<bool> deleted{false};
    std::thread deleter([&] {
        lib().deleteRequest(gated);
        deleted = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(deleted.load()) << "DeleteRequestFromUnitId returned while its callback was running";
    {
        std::lock_guard lock(g_gateMutex);
        g_released = true;
    }
    g_gateChanged.notify_all();
    deleter.join();
    EXPECT_TRUE(deleted.load());

    registerRead(kConsumerFilter, VEV_TAG_CONS);
    ASSERT_EQ(lib().emu.pressBankKey(), 1);
    ASSERT_EQ(g_recorder.waitFor(1).size(), 1u);
    EXPECT_EQ(g_gateCalls.load(), 1) << "a deleted registration was called again";
}

TEST_F(EmulatorLibrary, BootRequestMakesTheKeyboardLeaveUntilPluggedAgain) {
    registerRead(kVendorFilter, VEV_TAG_CTRL);
    Report boot;
    boot.bytes[3] = 0xEE;
    boot.bytes[4] = 0xEE;
    ASSERT_EQ(write(boot), 1);
    auto got = g_recorder.waitFor(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].kind, static_cast<std::uint32_t>(VEV_NOTIFY_DEVICE_COUNT));
    EXPECT_EQ(got[0].length, 0u);
    EXPECT_EQ(lib().emu.bootRequested(), 1);
    EXPECT_EQ(deviceCount(), 0);

    ASSERT_EQ(lib().emu.plug(), 1);
    ASSERT_EQ(write(makeRequest(3, 44, 0)), 1);
    got = g_recorder.waitFor(3);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1].length, 1u);
    EXPECT_EQ(Report::fromBytes(got[2].data).command(), 3);
    lib().emu.reset();
    EXPECT_EQ(lib().emu.bootRequested(), 0);
}

class EmulatorStateFile : public EmulatorLibrary {
protected:
    void SetUp() override {
        EmulatorLibrary::SetUp();
        lib().end();
        m_dir = makeTempDir("emu-state");
        m_path = m_dir + "/keyboard.state";
    }
    void TearDown() override {
        EmulatorLibrary::TearDown();
        lib().emu.configure("");
        std::filesystem::remove_all(m_dir);
    }
    // Starts the library on the state file; returns what it printed on stderr.
    std::string startOnStateFile() {
        EXPECT_EQ(lib().emu.configure(m_path.c_str()), 1);
        testing::internal::CaptureStderr();
        EXPECT_EQ(lib().init(0), 1);
        return testing::internal::GetCapturedStderr();
    }
    std::string problem() {
        char text[512] = {};
        lib().emu.problem(text, sizeof text);
        return text;
    }
    std::string fileBytes() { return ReadFileBytes(m_path).bytes; }
    std::optional<emu::KeyboardMemory> fileContents() {
        std::ifstream in(m_path, std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return emu::DecodeState(bytes);
    }
    void writeFile(const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    std::string m_dir;
    std::string m_path;
};

TEST_F(EmulatorStateFile, KeepsMemoryAcrossRestartsAndSavesAtTheEndOfABracket) {
    EXPECT_EQ(startOnStateFile(), "");
    ASSERT_TRUE(fileContents()) << "a missing file is created at once";
    EXPECT_EQ(fileContents()->config, emu::FactoryMemory().config);

    Report config = makeRequest(4, 1, 0);
    config.payload()[0] = 0x5A;
    config.seal();
    ASSERT_EQ(write(config), 1);
    auto saved = fileContents();
    ASSERT_TRUE(saved) << "a write outside a bracket is saved at once";
    EXPECT_EQ(saved->config[0], 0x5A);

    Report lighting = makeRequest(6, 1, 42);
    lighting.payload()[0] = 7;
    lighting.seal();
    ASSERT_EQ(write(makeRequest(1, 0, 0)), 1);
    ASSERT_EQ(write(lighting), 1);
    EXPECT_EQ(fileContents()->lighting[42], emu::FactoryMemory().lighting[42]) << "saved inside the bracket";
    ASSERT_EQ(write(makeRequest(2, 0, 0)), 1);
    EXPECT_EQ(fileContents()->lighting[42], 7);

    lib().end();
    lib().emu.reset();
    EXPECT_EQ(startOnStateFile(), "");
    EXPECT_EQ(configByte(0), 0x5A);
    std::uint8_t effect = 0;
    lib().emu.readMemory(EMU_AREA_LIGHTING, 42, &effect, 1);
    EXPECT_EQ(effect, 7);
}

TEST_F(EmulatorStateFile, FilesThatAreNoStateFilesAreRefusedAndNeverWritten) {
    auto changed = emu::FactoryMemory();
    changed.config[0] = 0x99;
    const std::vector<std::uint8_t> good = emu::EncodeState(changed);
    std::vector<std::uint8_t> damaged = good;
    damaged[100] ^= 0x01;
    // Well-formed sections, but an area twice (the configuration again at the end) or one missing.
    const auto withSections = [&](std::size_t keep, bool configAgain) {
        std::vector<std::uint8_t> bytes(good.begin(), good.end() - 4);
        std::size_t end = 12;
        for (std::size_t s = 0; s < keep; ++s)
            end += 8 + (bytes[end + 4] | (bytes[end + 5] << 8) | (bytes[end + 6] << 16));
        bytes.resize(end);
        if (configAgain) bytes.insert(bytes.end(), good.begin() + 12, good.begin() + 12 + 8 + 44);
        bytes[10] = static_cast<std::uint8_t>(keep + (configAgain ? 1 : 0));
        const std::uint32_t crc = emu::StateChecksum(bytes);
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
        return bytes;
    };
    ASSERT_TRUE(emu::DecodeState(withSections(emu::kAreaCount, false))) << "the sections rebuilt as they were";
    std::vector<std::uint8_t> profileFile(32832, 0);
    profileFile[0] = 0x46;
    profileFile[1] = 0x44;
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"text", {'n', 'o', 't', ' ', 'a', ' ', 's', 't', 'a', 't', 'e'}},
        {"profile file", profileFile},
        {"truncated", std::vector<std::uint8_t>(good.begin(), good.end() - 10)},
        {"damaged", damaged},
        {"an area twice", withSections(emu::kAreaCount, true)},
        {"an area missing", withSections(emu::kAreaCount - 1, false)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(c.bytes);
        const std::string before = fileBytes();
        ASSERT_EQ(lib().emu.configure(m_path.c_str()), 1);
        EXPECT_EQ(lib().init(0), 0);
        EXPECT_NE(problem().find("is not an emulator state file"), std::string::npos) << problem();
        EXPECT_EQ(lib().emu.saveState(), 0) << "a refused file is never written";
        EXPECT_EQ(fileBytes(), before);
    }
    // An empty file holds nothing to keep: it becomes a new state file, as a missing one does.
    writeFile({});
    EXPECT_EQ(startOnStateFile(), "");
    lib().end();
    EXPECT_EQ(fileBytes().size(), good.size());

    writeFile(good);
    EXPECT_EQ(startOnStateFile(), "");
    EXPECT_EQ(problem(), "");
    EXPECT_EQ(configByte(0), 0x99);
}

TEST_F(EmulatorStateFile, RunsThatChangeNothingLeaveTheFileAsItWas) {
    startOnStateFile();
    lib().end();
    const auto before = std::filesystem::last_write_time(m_path);
    const std::string bytes = fileBytes();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    startOnStateFile();
    std::uint8_t config[44] = {};
    ASSERT_EQ(lib().emu.readMemory(EMU_AREA_CONFIG, 0, config, sizeof config), 1);
    lib().end();
    EXPECT_EQ(std::filesystem::last_write_time(m_path), before) << "reading does not rewrite the file";
    EXPECT_EQ(fileBytes(), bytes);
}

TEST_F(EmulatorStateFile, AFileInUseIsRefusedNamingItsHolder) {
    std::string why;
    // Another open of the lock file stands for another program: flock locks of two opens exclude each other.
    const auto holder = emu::StateFileLock::acquire(m_path, std::chrono::milliseconds(0), &why);
    ASSERT_TRUE(holder) << why;
    ASSERT_EQ(lib().emu.configure(m_path.c_str()), 1);
    setenv("OMBREL_STATE_LOCK_WAIT_MS", "200", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(lib().init(0), 0) << "the emulator waits, then gives up";
    const std::string waited = testing::internal::GetCapturedStderr();
    unsetenv("OMBREL_STATE_LOCK_WAIT_MS");
    EXPECT_NE(waited.find("waiting for test_emulator (process " + std::to_string(::getpid()) + ")"), std::string::npos)
        << waited;
    EXPECT_NE(problem().find("is in use by test_emulator (process"), std::string::npos) << problem();
    EXPECT_FALSE(std::filesystem::exists(m_path)) << "nothing was created for a file in use";
}

} // namespace
} // namespace ombrel::test
