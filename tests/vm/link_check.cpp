// vm_link_check: the program's device link (the same core the window and ombrelctl use) against the real
// service library in the test machine, with the uhid bridge as the keyboard. Each scenario prints one line per
// check, "ok: ..." or "FAIL: ...", and exits 1 when any check failed.
//
//   vm_link_check LIBRARY BRIDGE_SOCKET SCENARIO [ARG]
//   scenarios: notify, replug, no-reply, vanish-read, vanish-write, hold SECONDS, bench ROUNDS

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "BridgeClient.h"
#include "RecordingScreen.h"
#include "device/DeviceLink.h"
#include "device/LinkResult.h"
#include "device/ServiceLibrary.h"

using namespace ombrel;
using ombrel::vm::RecordingScreen;
using ombrel::vm::ScreenEvents;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

int g_failures = 0;

void check(bool good, const std::string& what) {
    std::printf("%s: %s\n", good ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!good) ++g_failures;
}

long msSince(Clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

struct Session {
    RecordingScreen screen;
    std::unique_ptr<DeviceLink> link;
};

bool startLink(const ServiceLibrary& library, Session& s) {
    std::string error;
    s.link = DeviceLink::start(library.api(), s.screen, &error);
    if (!s.link) {
        check(false, "the device link starts: " + error);
        return false;
    }
    s.link->startPresence();
    // The first presence worker reads the factory block and the configuration, then tells the window.
    const bool found = s.screen.waitFor([](const ScreenEvents& e) { return e.profileReloads >= 1; }, 10s);
    check(found, "the keyboard is found at start");
    return found;
}

int readConfig(Session& s) {
    std::array<std::uint8_t, kConfigSize> config{};
    return s.link->commands().ReadConfig(config);
}

void scenarioNotify(Session& s, const vm::BridgeClient& bridge) {
    check(bridge.send("consumer 767") == "ok", "the bridge sends the bank key");
    check(s.screen.waitFor([](const ScreenEvents& e) { return e.bankChanges == 1 && e.lastBank == 1; }, 3s),
          "the bank key switches the program to bank B");
    // The program tells the keyboard through the bank-status interface; give the write a moment to land.
    std::string status;
    for (int i = 0; i < 50 && status.find("bank=05,03") == std::string::npos; ++i) {
        status = bridge.send("status");
        std::this_thread::sleep_for(20ms);
    }
    check(status.find("bank=05,03") != std::string::npos, "the keyboard learns bank B (" + status + ")");
    check(bridge.send("consumer 1025") == "ok" &&
              s.screen.waitFor([](const ScreenEvents& e) { return e.reloadTimers == 1; }, 3s),
          "consumer code 1025 starts the lighting reload");
    check(bridge.send("consumer 6161") == "ok" &&
              s.screen.waitFor([](const ScreenEvents& e) { return e.activityIcons == 1; }, 3s),
          "consumer code 6161 shows the activity icon");
    check(readConfig(s) == LINK_OK, "reports still go through after the notifications");
}

void scenarioReplug(Session& s, const vm::BridgeClient& bridge) {
    // The program asks nothing meanwhile: only the library's udev monitor can notice.
    const auto unplugged = Clock::now();
    check(bridge.send("unplug") == "ok", "the bridge unplugs the keyboard");
    check(s.screen.waitFor([](const ScreenEvents& e) { return e.detaches == 1; }, 5s),
          "the removal reaches the program without a query (" + std::to_string(msSince(unplugged)) + " ms)");
    check(readConfig(s) != LINK_OK, "an exchange without the keyboard fails");
    const int reloads = s.screen.events().profileReloads;
    const auto plugged = Clock::now();
    check(bridge.send("plug") == "ok", "the bridge plugs the keyboard back in");
    check(s.screen.waitFor([reloads](const ScreenEvents& e) { return e.profileReloads > reloads; }, 10s),
          "the arrival reaches the program, which reads the keyboard again (" + std::to_string(msSince(plugged)) +
              " ms)");
    check(readConfig(s) == LINK_OK, "the replugged keyboard answers");
}

void scenarioNoReply(Session& s, const vm::BridgeClient& bridge) {
    check(bridge.send("drop 1") == "ok" && readConfig(s) == LINK_OK, "one lost reply is made up by a retry");
    const auto start = Clock::now();
    check(bridge.send("drop 3") == "ok", "the bridge drops the next three reports' replies");
    const int result = readConfig(s);
    check(result == LINK_NO_REPLY, std::string("a reply that never comes gives ") + LinkResultName(result) + " after " +
                                       std::to_string(msSince(start)) + " ms");
    check(readConfig(s) == LINK_OK, "the next exchange works again");
}

// The keyboard goes away while a transfer is under way; `write` chooses a key-function write over a read.
void scenarioVanish(Session& s, const vm::BridgeClient& bridge, bool write) {
    std::array<std::uint8_t, kKeymapSize> block{};
    check(s.link->commands().ReadKeymap(block, 1) == LINK_OK, "profile 1's key functions read");
    check(bridge.send("unplug-at 3") == "ok", "the bridge unplugs at the third report from now");
    const auto start = Clock::now();
    const int result = write ? s.link->commands().WriteKeymap(block, 1) : s.link->commands().ReadKeymap(block, 1);
    const long took = msSince(start);
    // LINK_NO_DEVICE: the removal ended the wait for the lost reply; a time-out would have tried again and failed
    // to send (LINK_SEND_FAILED) a second later.
    check(result == LINK_NO_DEVICE, std::string(write ? "the write" : "the read") + " ends with " +
                                        LinkResultName(result) + " when the keyboard goes, after " +
                                        std::to_string(took) + " ms");
    std::printf("time: vanish-%s %ld\n", write ? "write" : "read", took);
    check(bridge.send("plug") == "ok", "the bridge plugs the keyboard back in");
    bool back = false;
    for (int i = 0; i < 50 && !back; ++i) {
        back = readConfig(s) == LINK_OK;
        if (!back) std::this_thread::sleep_for(100ms);
    }
    check(back, "the keyboard answers again after the replug");
}

void scenarioHold(Session& s, int seconds) {
    check(readConfig(s) == LINK_OK, "the first program talks to the keyboard");
    std::printf("holding\n");
    std::fflush(stdout);
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    int rounds = 0;
    bool allGood = true;
    std::array<std::uint8_t, kKeymapSize> first{};
    allGood = s.link->commands().ReadKeymap(first, 0) == LINK_OK;
    while (Clock::now() < until && allGood) {
        std::array<std::uint8_t, kKeymapSize> again{};
        allGood = s.link->commands().ReadKeymap(again, 0) == LINK_OK && again == first;
        ++rounds;
    }
    check(allGood, "the first program keeps reading the same key functions while another starts (" +
                       std::to_string(rounds) + " reads)");
}

void scenarioBench(Session& s, int rounds) {
    std::array<std::uint8_t, kKeymapSize> block{};
    const auto start = Clock::now();
    int exchanges = 0;
    bool good = true;
    for (int r = 0; r < rounds && good; ++r) {
        for (int p = 0; p < 3 && good; ++p) {
            good = s.link->commands().ReadKeymap(block, p) == LINK_OK;
            exchanges += 7;
        }
    }
    const long took = msSince(start);
    check(good, "key functions of all profiles read " + std::to_string(rounds) + " times");
    std::printf("bench: exchanges=%d ms=%ld\n", exchanges, took);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: vm_link_check LIBRARY BRIDGE_SOCKET SCENARIO [ARG]\n");
        return 2;
    }
    const std::string scenario = argv[3];
    const int arg = argc > 4 ? std::atoi(argv[4]) : 0;
    const vm::BridgeClient bridge(argv[2]);
    std::string error;
    const std::optional<ServiceLibrary> library = ServiceLibrary::load(argv[1], &error);
    if (!library) {
        check(false, "the service library loads: " + error);
        return 1;
    }
    Session session;
    if (!startLink(*library, session)) return 1;
    if (scenario == "notify") {
        scenarioNotify(session, bridge);
    } else if (scenario == "replug") {
        scenarioReplug(session, bridge);
    } else if (scenario == "no-reply") {
        scenarioNoReply(session, bridge);
    } else if (scenario == "vanish-read" || scenario == "vanish-write") {
        scenarioVanish(session, bridge, scenario == "vanish-write");
    } else if (scenario == "hold") {
        scenarioHold(session, arg > 0 ? arg : 3);
    } else if (scenario == "bench") {
        scenarioBench(session, arg > 0 ? arg : 1);
    } else {
        check(false, "known scenario " + scenario);
    }
    session.link->shutdown();
    library->api().End();
    return g_failures == 0 ? 0 : 1;
}
