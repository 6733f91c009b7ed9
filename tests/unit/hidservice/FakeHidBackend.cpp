#include "FakeHidBackend.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <deque>

namespace ombrel::hid::test {

namespace {

struct OpenFile {
    std::deque<std::vector<std::uint8_t>> queue;
    bool dead = false;
    bool woken = false; // a reader's wait was cut short
};

struct Node {
    std::vector<std::pair<std::uint16_t, std::uint16_t>> collections;
    std::vector<std::uint8_t> descriptor;
    int refuse = 0;
    int opens = 0;
    bool failWrites = false;
    std::vector<std::vector<std::uint8_t>> writes;
    std::vector<std::shared_ptr<OpenFile>> files;
    // Like a lock on the node's inode: a replugged node is a new one, unclaimed whatever the old one was.
    std::shared_ptr<bool> claimed = std::make_shared<bool>(false);
};

} // namespace

// Shared with the devices, which may outlive the backend.
struct FakeHidBackend::State {
    std::mutex mutex; // guards everything here
    std::condition_variable input;
    std::map<std::string, Node> nodes;
    int devicesAlive = 0;
    int readerWaits = 0;  // readers inside their wait for input
    int readsStarted = 0; // waits for input begun so far
};

namespace {

class FakeClaim final : public NodeClaim {
public:
    FakeClaim(std::shared_ptr<FakeHidBackend::State> state, std::shared_ptr<bool> claimed)
        : m_state(std::move(state)), m_claimed(std::move(claimed)) {}
    ~FakeClaim() override {
        std::lock_guard lock(m_state->mutex);
        *m_claimed = false;
    }

private:
    std::shared_ptr<FakeHidBackend::State> m_state;
    std::shared_ptr<bool> m_claimed;
};

class FakeDevice final : public HidDevice {
public:
    FakeDevice(std::shared_ptr<FakeHidBackend::State> state, std::string path, std::shared_ptr<OpenFile> file)
        : m_state(std::move(state)), m_path(std::move(path)), m_file(std::move(file)) {}

    ~FakeDevice() override {
        std::lock_guard lock(m_state->mutex);
        --m_state->devicesAlive;
        auto node = m_state->nodes.find(m_path);
        if (node == m_state->nodes.end()) return;
        auto& files = node->second.files;
        files.erase(std::remove(files.begin(), files.end(), m_file), files.end());
    }

    int read(std::span<std::uint8_t> buffer, int timeoutMs) override {
        std::unique_lock lock(m_state->mutex);
        m_state->input.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [&] { return m_file->dead || !m_file->queue.empty(); });
        return takeReport(buffer);
    }

    // The reader's wait: no time-out; a wake() ends it.
    int readUntilWoken(std::span<std::uint8_t> buffer) {
        std::unique_lock lock(m_state->mutex);
        ++m_state->readerWaits;
        ++m_state->readsStarted;
        m_state->input.notify_all();
        m_state->input.wait(lock, [&] { return m_file->dead || m_file->woken || !m_file->queue.empty(); });
        --m_state->readerWaits;
        if (m_file->woken && !m_file->dead) {
            m_file->woken = false;
            return 0;
        }
        return takeReport(buffer);
    }

    void wake() {
        std::lock_guard lock(m_state->mutex);
        m_file->woken = true;
        m_state->input.notify_all();
    }

    int write(std::span<const std::uint8_t> report) override {
        std::lock_guard lock(m_state->mutex);
        auto node = m_state->nodes.find(m_path);
        if (m_file->dead || node == m_state->nodes.end() || node->second.failWrites) return -1;
        node->second.writes.emplace_back(report.begin(), report.end());
        return static_cast<int>(report.size());
    }

    int sendFeatureReport(std::span<const std::uint8_t> report) override { return write(report); }
    int getInputReport(std::span<std::uint8_t>) override { return -1; }
    int getFeatureReport(std::span<std::uint8_t> report) override { return static_cast<int>(report.size()); }

private:
    // With the state's lock held: the next report, -1 on a dead node, 0 when none is queued.
    int takeReport(std::span<std::uint8_t> buffer) {
        if (m_file->dead) return -1;
        if (m_file->queue.empty()) return 0;
        const std::vector<std::uint8_t> report = std::move(m_file->queue.front());
        m_file->queue.pop_front();
        const std::size_t n = std::min(report.size(), buffer.size());
        std::copy_n(report.begin(), n, buffer.begin());
        return static_cast<int>(n);
    }

    std::shared_ptr<FakeHidBackend::State> m_state;
    std::string m_path;
    std::shared_ptr<OpenFile> m_file;
};

class FakeInput final : public HidInput {
public:
    explicit FakeInput(std::unique_ptr<FakeDevice> device) : m_device(std::move(device)) {}
    int read(std::span<std::uint8_t> buffer) override { return m_device->readUntilWoken(buffer); }
    void wake() override { m_device->wake(); }

private:
    std::unique_ptr<FakeDevice> m_device;
};

} // namespace

FakeHidBackend::FakeHidBackend() : m_state(std::make_shared<State>()) {}

void FakeHidBackend::plug(const std::string& path, std::vector<std::pair<std::uint16_t, std::uint16_t>> collections,
                          std::vector<std::uint8_t> descriptor) {
    std::lock_guard lock(m_state->mutex);
    Node& node = m_state->nodes[path];
    node.collections = std::move(collections);
    node.descriptor = std::move(descriptor);
}

void FakeHidBackend::unplug(const std::string& path) {
    std::lock_guard lock(m_state->mutex);
    auto node = m_state->nodes.find(path);
    if (node == m_state->nodes.end()) return;
    for (auto& file : node->second.files)
        file->dead = true;
    m_state->nodes.erase(node);
    m_state->input.notify_all();
}

void FakeHidBackend::pushInput(const std::string& path, std::vector<std::uint8_t> report) {
    std::lock_guard lock(m_state->mutex);
    auto node = m_state->nodes.find(path);
    if (node == m_state->nodes.end()) return;
    for (auto& file : node->second.files)
        file->queue.push_back(report);
    m_state->input.notify_all();
}

void FakeHidBackend::refuseOpens(const std::string& path, int count) {
    std::lock_guard lock(m_state->mutex);
    m_state->nodes[path].refuse = count;
}

void FakeHidBackend::failWrites(const std::string& path, bool fail) {
    std::lock_guard lock(m_state->mutex);
    m_state->nodes[path].failWrites = fail;
}

int FakeHidBackend::openHandles(const std::string& path) const {
    std::lock_guard lock(m_state->mutex);
    auto node = m_state->nodes.find(path);
    return node == m_state->nodes.end() ? 0 : static_cast<int>(node->second.files.size());
}

int FakeHidBackend::opensSoFar(const std::string& path) const {
    std::lock_guard lock(m_state->mutex);
    auto node = m_state->nodes.find(path);
    return node == m_state->nodes.end() ? 0 : node->second.opens;
}

int FakeHidBackend::devicesAlive() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->devicesAlive;
}

std::vector<std::vector<std::uint8_t>> FakeHidBackend::writes(const std::string& path) const {
    std::lock_guard lock(m_state->mutex);
    auto node = m_state->nodes.find(path);
    return node == m_state->nodes.end() ? std::vector<std::vector<std::uint8_t>>{} : node->second.writes;
}

std::vector<InterfaceInfo> FakeHidBackend::enumerate() {
    std::lock_guard lock(m_state->mutex);
    std::vector<InterfaceInfo> found;
    for (const auto& [path, node] : m_state->nodes) {
        for (const auto& [page, usage] : node.collections)
            found.push_back({path, 0x0C45, 0x5204, page, usage});
    }
    return found;
}

std::unique_ptr<HidDevice> FakeHidBackend::open(const std::string& path, int& error) {
    std::lock_guard lock(m_state->mutex);
    auto node = m_state->nodes.find(path);
    if (node == m_state->nodes.end()) {
        error = ENOENT;
        return nullptr;
    }
    if (node->second.refuse != 0) {
        if (node->second.refuse > 0) --node->second.refuse;
        error = EACCES;
        return nullptr;
    }
    ++node->second.opens;
    ++m_state->devicesAlive;
    auto file = std::make_shared<OpenFile>();
    node->second.files.push_back(file);
    error = 0;
    return std::make_unique<FakeDevice>(m_state, path, std::move(file));
}

std::unique_ptr<HidInput> FakeHidBackend::openInput(const std::string& path, int& error) {
    std::unique_ptr<HidDevice> device = open(path, error);
    if (!device) return nullptr;
    return std::make_unique<FakeInput>(std::unique_ptr<FakeDevice>(static_cast<FakeDevice*>(device.release())));
}

int FakeHidBackend::readsStarted() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->readsStarted;
}

bool FakeHidBackend::waitForReaderWaits(int count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(m_state->mutex);
    return m_state->input.wait_for(lock, limit, [&] { return m_state->readerWaits == count; });
}

std::unique_ptr<NodeClaim> FakeHidBackend::claim(const std::string& path, int& error) {
    std::lock_guard lock(m_state->mutex);
    auto node = m_state->nodes.find(path);
    if (node == m_state->nodes.end() || *node->second.claimed) {
        error = node == m_state->nodes.end() ? ENOENT : EBUSY;
        return nullptr;
    }
    *node->second.claimed = true;
    error = 0;
    return std::make_unique<FakeClaim>(m_state, node->second.claimed);
}

std::vector<std::uint8_t> FakeHidBackend::reportDescriptor(const std::string& path) {
    std::lock_guard lock(m_state->mutex);
    auto node = m_state->nodes.find(path);
    return node == m_state->nodes.end() ? std::vector<std::uint8_t>{} : node->second.descriptor;
}

} // namespace ombrel::hid::test
