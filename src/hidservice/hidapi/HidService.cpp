#include "HidService.h"

#include <algorithm>
#include <cerrno>

#include "DebugLog.h"

namespace ombrel::hid {

HidService::HidService(std::shared_ptr<HidBackend> backend, ServiceTiming timing)
    : m_backend(std::move(backend)), m_timing(timing), m_handles(*m_backend) {}

HidService::~HidService() {
    shutdown();
}

void HidService::refreshDevices(const std::vector<std::string>& removedNodes) {
    std::uint64_t generation = 0;
    std::vector<std::uint32_t> counts; // to tell, in order
    std::vector<Entry> told;
    {
        std::lock_guard refreshLock(m_refreshMutex);
        if (m_stopping.load()) return;
        const std::uint32_t gone = std::min(m_table.keyboardsOn(kVendorFilter, removedNodes), m_lastCount);
        // Called per udev event, every look is a new generation; called per query, only a changed list is.
        const std::optional<std::uint64_t> replaced = m_table.replace(m_backend->enumerate(), m_refreshOnQuery.load());
        if (!replaced) return;
        generation = *replaced;
        m_handles.clear(); // their nodes may have gone, or been reused by another device
        releaseClaims();   // a claim holds the node it was taken on, which may be gone; the next write claims anew
        const std::uint32_t count = m_table.keyboardCount(kVendorFilter);
        const std::uint32_t without = m_lastCount - gone;
        if (gone != 0 && count > without) counts.push_back(without); // it left, and came back before this look
        if (count != m_lastCount || !counts.empty()) counts.push_back(count);
        if (counts.empty()) return;
        debugLog(1, "keyboards attached: " + std::to_string(count));
        m_lastCount = count;
        std::lock_guard lock(m_mutex);
        for (const auto& [id, entry] : m_entries) {
            if (entry.reader && isVendorInterface(entry.registration->filter())) told.push_back(entry);
        }
    }
    // Outside the lock from here: the program may ask for the count from inside its callback.
    // A reader retries its open for at most openRetryLimit; give it two retry steps on top to get there.
    const auto bound = m_timing.openRetryLimit + 2 * m_timing.openRetryStep;
    m_table.waitUntil(
        [&] {
            return std::all_of(told.begin(), told.end(),
                               [&](const Entry& e) { return e.reader->settledFor(generation); });
        },
        bound, m_stopping);
    for (const std::uint32_t count : counts) {
        for (const Entry& entry : told)
            entry.registration->deliverCount(count);
    }
}

std::uint32_t HidService::deviceCount(const DeviceFilter& filter) {
    if (m_stopping.load()) return 0;
    if (m_refreshOnQuery.load()) refreshDevices();
    return m_table.keyboardCount(filter);
}

std::uint32_t HidService::addReader(const DeviceFilter& filter, VevNotifyFn callback, std::uint32_t tag) {
    Entry entry;
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping.load()) return 0;
        entry.registration = std::make_shared<Registration>(nextUnitId(), filter, callback, tag);
        entry.reader = std::make_shared<ReaderThread>(entry.registration, *m_backend, m_table, m_timing);
        m_entries.emplace(entry.registration->unitId(), entry);
    }
    // Registered before it starts, so a device change meanwhile reaches it; start() does nothing once shutdown
    // has stopped it.
    entry.reader->start();
    reapRetired();
    return entry.registration->unitId();
}

std::uint32_t HidService::addStatusWrite(const DeviceFilter& filter, VevNotifyFn callback, std::uint32_t tag,
                                         std::span<const std::uint8_t> payload) {
    if (payload.empty() || write(filter, payload) != static_cast<int>(payload.size())) return 0;
    std::lock_guard lock(m_mutex);
    if (m_stopping.load()) return 0;
    const std::uint32_t id = nextUnitId();
    m_entries.emplace(id, Entry{std::make_shared<Registration>(id, filter, callback, tag), nullptr});
    return id;
}

bool HidService::remove(std::uint32_t unitId) {
    Entry entry;
    {
        std::lock_guard lock(m_mutex);
        auto found = m_entries.find(unitId);
        if (found == m_entries.end()) return false;
        entry = std::move(found->second);
        m_entries.erase(found);
    }
    finishRemoval(std::move(entry));
    reapRetired();
    return true;
}

bool HidService::removeByRecord(const void* request) {
    if (!request) return false;
    std::uint32_t unitId = 0;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& [id, entry] : m_entries) {
            if (entry.registration->carries(request)) {
                unitId = id;
                break;
            }
        }
    }
    return unitId != 0 && remove(unitId);
}

int HidService::write(const DeviceFilter& filter, std::span<const std::uint8_t> report) {
    if (isVendorInterface(filter)) {
        const std::optional<std::string> path = m_table.pathFor(filter);
        if (!path || !claimVendorNode(*path)) return -1;
    }
    return withHandle(filter, [&](HidHandle& handle) { return handle.write(report); });
}

bool HidService::claimVendorNode(const std::string& path) {
    using Clock = std::chrono::steady_clock;
    std::unique_lock lock(m_claimMutex);
    const Clock::time_point deadline = Clock::now() + m_timing.claimWait;
    bool waitingSaid = false;
    while (!m_stopping.load() && !m_releaserStopping) {
        if (m_claims.count(path) != 0) {
            m_lastClaimUse = Clock::now();
            return true;
        }
        int error = 0;
        std::unique_ptr<NodeClaim> claim = m_backend->claim(path, error);
        if (claim) {
            m_claims.emplace(path, std::move(claim));
            m_lastClaimUse = Clock::now();
            if (!m_releaser.joinable()) m_releaser = std::thread([this] { releaseIdleClaims(); });
            m_claimChanged.notify_all();
            return true;
        }
        if (error != EBUSY || Clock::now() >= deadline) {
            debugLog(1, "cannot claim " + path + ": " +
                            (error == EBUSY ? std::string("another program is using the keyboard") : errorText(error)));
            return false;
        }
        if (!waitingSaid) debugLog(1, "waiting for another program to finish with " + path);
        waitingSaid = true;
        // The other program's lock gives no sign when it goes: look again shortly.
        m_claimChanged.wait_for(lock, std::chrono::milliseconds(20));
    }
    return false;
}

void HidService::releaseIdleClaims() {
    std::unique_lock lock(m_claimMutex);
    while (!m_releaserStopping) {
        if (m_claims.empty()) {
            m_claimChanged.wait(lock);
            continue;
        }
        const auto due = m_lastClaimUse + m_timing.claimHold;
        if (std::chrono::steady_clock::now() >= due) {
            m_claims.clear();
            debugLog(2, "keyboard given back after a silence");
            continue;
        }
        m_claimChanged.wait_until(lock, due);
    }
}

bool HidService::holdsClaim(const std::string& path) {
    std::lock_guard lock(m_claimMutex);
    return m_claims.count(path) != 0;
}

void HidService::releaseClaims() {
    std::lock_guard lock(m_claimMutex);
    m_claims.clear();
}

int HidService::sendFeatureReport(const DeviceFilter& filter, std::span<const std::uint8_t> report) {
    return withHandle(filter, [&](HidHandle& handle) { return handle.sendFeatureReport(report); });
}

int HidService::getReport(const DeviceFilter& filter, std::span<std::uint8_t> report) {
    return withHandle(filter, [&](HidHandle& handle) { return handle.getReport(report); });
}

template <typename Call>
int HidService::withHandle(const DeviceFilter& filter, Call call) {
    if (m_stopping.load()) return -1;
    const std::optional<std::string> path = m_table.pathFor(filter);
    if (!path) return -1;
    const std::shared_ptr<HidHandle> handle = m_handles.acquire(*path);
    if (!handle) return -1;
    const int result = call(*handle);
    // A failed call usually means the node went away; the next call opens it afresh.
    if (result < 0) m_handles.drop(*path, handle);
    return result;
}

void HidService::shutdown() {
    std::vector<Entry> entries;
    std::vector<std::shared_ptr<ReaderThread>> retired;
    {
        std::lock_guard lock(m_mutex);
        m_stopping.store(true);
        for (auto& [id, entry] : m_entries)
            entries.push_back(std::move(entry));
        m_entries.clear();
        retired.swap(m_retired);
    }
    m_table.wake();
    for (const Entry& entry : entries) {
        entry.registration->close();
        if (entry.reader) entry.reader->requestStop();
    }
    for (const Entry& entry : entries) {
        if (entry.reader) entry.reader->stop();
    }
    for (const auto& reader : retired)
        reader->stop();
    m_handles.clear();
    std::thread releaser;
    {
        std::lock_guard lock(m_claimMutex);
        m_claims.clear();
        m_releaserStopping = true;
        releaser.swap(m_releaser);
    }
    m_claimChanged.notify_all();
    if (releaser.joinable()) releaser.join();
}

std::uint32_t HidService::nextUnitId() {
    do {
        ++m_lastUnitId;
    } while (m_lastUnitId == 0 || m_entries.count(m_lastUnitId) != 0);
    return m_lastUnitId;
}

void HidService::finishRemoval(Entry entry) {
    entry.registration->close();
    if (!entry.reader) return;
    if (entry.reader->runsOnThisThread()) {
        // Deleted from inside its own callback: the reader ends when the callback returns; join it later.
        entry.reader->requestStop();
        std::lock_guard lock(m_mutex);
        m_retired.push_back(std::move(entry.reader));
        return;
    }
    entry.reader->stop();
}

void HidService::reapRetired() {
    std::vector<std::shared_ptr<ReaderThread>> done;
    {
        std::lock_guard lock(m_mutex);
        auto ended = std::stable_partition(m_retired.begin(), m_retired.end(), [](const auto& reader) {
            return !reader->finished() || reader->runsOnThisThread();
        });
        done.assign(std::make_move_iterator(ended), std::make_move_iterator(m_retired.end()));
        m_retired.erase(ended, m_retired.end());
    }
    for (const auto& reader : done)
        reader->stop();
}

} // namespace ombrel::hid
