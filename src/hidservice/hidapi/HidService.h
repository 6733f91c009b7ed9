#pragma once
// The service behind the C calls: the kept device table and count, the registrations with their readers, and the
// write calls. Callbacks never run under any of its locks, so the program may call back in from a callback.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "DeviceTable.h"
#include "HandleCache.h"
#include "HidBackend.h"
#include "ReaderThread.h"
#include "Registration.h"
#include "ServiceTiming.h"

namespace ombrel::hid {

class HidService {
public:
    explicit HidService(std::shared_ptr<HidBackend> backend, ServiceTiming timing = {});
    ~HidService();
    HidService(const HidService&) = delete;
    HidService& operator=(const HidService&) = delete;

    // Enumerates again. When the number of keyboards changed, the vendor-interface registrations are told, once
    // their readers have reopened (or given up), so the program's first exchange after an arrival is heard.
    // Called once at start and then for every batch of udev events, with the nodes the batch removed: a keyboard
    // whose vendor node was removed has left even when it is back by the time of the look (unplugged and plugged
    // in again within one batch), and the registrations are told the count without it first.
    void refreshDevices(const std::vector<std::string>& removedNodes = {});
    // Without hot-plug events the kept table would go stale: then every count query enumerates.
    void setRefreshOnQuery(bool on) { m_refreshOnQuery.store(on); }

    // Attached keyboards with an interface the filter matches, from the kept table.
    std::uint32_t deviceCount(const DeviceFilter& filter);

    // A registration whose reader delivers every input report of the interface (and, on the vendor interface,
    // the count changes). Returns its unit id, 0 after shutdown. Works without a keyboard: the reader opens the
    // interface when one arrives.
    std::uint32_t addReader(const DeviceFilter& filter, VevNotifyFn callback, std::uint32_t tag);
    // Writes `payload` as an output report; when all of it was written, keeps a registration without a reader
    // (the program deletes it before it writes the next status) and returns its unit id, else 0.
    std::uint32_t addStatusWrite(const DeviceFilter& filter, VevNotifyFn callback, std::uint32_t tag,
                                 std::span<const std::uint8_t> payload);
    // Ends a registration; no callback of it runs after this returns, except one that is running on this very
    // thread (a delete from inside the callback).
    bool remove(std::uint32_t unitId);
    // Ends the registration whose callback is running with this request record.
    bool removeByRecord(const void* request);

    // Output report, feature report, input-or-feature report on the interface the filter names: the device's
    // byte count, or -1 when there is no such interface or the call failed. Writing to the vendor interface claims
    // it for this program first (NodeClaim) and keeps it until the program has been silent for claimHold; while
    // another program holds it, the write waits up to claimWait for its turn, then writes nothing and returns -1.
    int write(const DeviceFilter& filter, std::span<const std::uint8_t> report);
    int sendFeatureReport(const DeviceFilter& filter, std::span<const std::uint8_t> report);
    int getReport(const DeviceFilter& filter, std::span<std::uint8_t> report);

    // Whether this service holds the claim on the node.
    bool holdsClaim(const std::string& path);

    // Stops every reader and closes every handle; later calls fail. Not to be called on a library thread.
    void shutdown();

private:
    struct Entry {
        std::shared_ptr<Registration> registration;
        std::shared_ptr<ReaderThread> reader; // null for a status write
    };

    std::uint32_t nextUnitId(); // with m_mutex held
    void finishRemoval(Entry entry);
    void reapRetired();
    template <typename Call>
    int withHandle(const DeviceFilter& filter, Call call);
    bool claimVendorNode(const std::string& path);
    void releaseClaims();
    void releaseIdleClaims(); // the releaser thread's loop

    const std::shared_ptr<HidBackend> m_backend;
    const ServiceTiming m_timing;
    DeviceTable m_table;
    HandleCache m_handles;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_refreshOnQuery{false};

    std::mutex m_refreshMutex; // serialises refreshDevices; guards m_lastCount
    std::uint32_t m_lastCount = 0;

    std::mutex m_claimMutex; // guards m_claims, m_lastClaimUse, m_releaserStopping and starting m_releaser
    std::condition_variable m_claimChanged;
    std::map<std::string, std::unique_ptr<NodeClaim>> m_claims;
    std::chrono::steady_clock::time_point m_lastClaimUse;
    bool m_releaserStopping = false;
    // Gives the claims back once this program has been silent for claimHold; started with the first claim, it sleeps
    // without waking while nothing is claimed.
    std::thread m_releaser;

    std::mutex m_mutex; // guards m_entries, m_lastUnitId and m_retired
    std::map<std::uint32_t, Entry> m_entries;
    std::uint32_t m_lastUnitId = 0;
    // Readers deleted from inside their own callback: they end by themselves and are joined later.
    std::vector<std::shared_ptr<ReaderThread>> m_retired;
};

} // namespace ombrel::hid
