#pragma once
// A backend with interface nodes the test plugs and unplugs. Like hidraw, every open handle of a node gets its
// own copy of each input report, and the handles of an unplugged node fail.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "HidBackend.h"

namespace ombrel::hid::test {

class FakeHidBackend final : public HidBackend {
public:
    FakeHidBackend();

    // Attaches a node with one or more collections (usage page, usage).
    void plug(const std::string& path, std::vector<std::pair<std::uint16_t, std::uint16_t>> collections,
              std::vector<std::uint8_t> descriptor = {});
    void unplug(const std::string& path);
    void pushInput(const std::string& path, std::vector<std::uint8_t> report);
    // The next `count` opens of the node fail with EACCES; -1 for all of them.
    void refuseOpens(const std::string& path, int count);
    void failWrites(const std::string& path, bool fail);

    int openHandles(const std::string& path) const;
    int opensSoFar(const std::string& path) const;
    // Devices opened and not yet closed, on any node, unplugged ones included.
    int devicesAlive() const;
    std::vector<std::vector<std::uint8_t>> writes(const std::string& path) const;
    // Readers' waits for input begun so far; a wait until `count` readers are inside one.
    int readsStarted() const;
    bool waitForReaderWaits(int count, std::chrono::milliseconds limit) const;

    std::vector<InterfaceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path, int& error) override;
    std::unique_ptr<HidInput> openInput(const std::string& path, int& error) override;
    std::vector<std::uint8_t> reportDescriptor(const std::string& path) override;
    // One claim per node across every service on this backend, as a lock on the node would be across programs.
    std::unique_ptr<NodeClaim> claim(const std::string& path, int& error) override;

    struct State;

private:
    std::shared_ptr<State> m_state;
};

} // namespace ombrel::hid::test
