#include "device/NotificationHub.h"

#include "CheckValue.h"
#include "DeviceFilter.h"
#include "util/Bytes.h"

#include <array>
#include <cstring>
#include <shared_mutex>
#include <utility>

namespace ombrel {

namespace {

// The hub HidNotify reaches. Callbacks hold the lock shared while they run, so uninstall() can wait for them.
std::shared_mutex g_hubMutex;
NotificationHub* g_hub = nullptr;

template <typename T>
T readAt(const void* base, std::size_t offset) {
    T value{};
    std::memcpy(&value, static_cast<const std::uint8_t*>(base) + offset, sizeof value);
    return value;
}

std::uintptr_t callbackAddress() {
    return reinterpret_cast<std::uintptr_t>(&HidNotify);
}

// Offsets of the notification records (see VevIroz.h).
constexpr std::size_t kNotifyKind = 0;
constexpr std::size_t kNotifyRequest = 8;
constexpr std::size_t kRequestTag = 0;
constexpr std::size_t kRequestLength = 4;
constexpr std::size_t kRequestData = 8;
constexpr std::size_t kRequestReport = 16;
constexpr std::size_t kHolderConsumerReport = 28;
constexpr std::size_t kHolderConsumerLength = kHolderConsumerReport + sizeof(void*);

} // namespace

NotificationHub::NotificationHub(const ServiceApi& api, ReportExchange& exchange, DeviceState& state,
                                 ScreenPort& screen, PresenceWatcher& presence)
    : m_api(api), m_exchange(exchange), m_state(state), m_screen(screen), m_presence(presence) {}

NotificationHub::~NotificationHub() {
    uninstall();
    m_iconWorker.stop();
}

void NotificationHub::install() {
    std::unique_lock lock(g_hubMutex);
    g_hub = this;
}

void NotificationHub::uninstall() {
    std::unique_lock lock(g_hubMutex);
    if (g_hub == this) g_hub = nullptr;
}

int NotificationHub::registerAsyncRead(const DeviceFilter& filter, std::uint32_t tag, std::uint32_t& unitId) {
    const auto bytes = filter.bytes();
    // The library calls are made without the lock: cancelling a registration waits for its running callback, and
    // that callback may itself want the lock (a bank switch).
    std::uint32_t previous = 0;
    {
        std::lock_guard lock(m_channelMutex);
        previous = std::exchange(unitId, 0);
    }
    m_api.DeleteRequestFromUnitId(previous);
    std::uint32_t registered = 0;
    const int result =
        m_api.RequestAsyncRead(bytes.data(), &HidNotify, tag, CheckValue(bytes, callbackAddress(), tag), &registered);
    std::lock_guard lock(m_channelMutex);
    unitId = registered;
    return result;
}

int NotificationHub::RegisterConsumerChannel() {
    return registerAsyncRead(kConsumerFilter, VEV_TAG_CONS, m_consumerUnit);
}

int NotificationHub::RegisterControlChannel() {
    return registerAsyncRead(kVendorFilter, VEV_TAG_CTRL, m_controlUnit);
}

void NotificationHub::CancelChannels() {
    std::array<std::uint32_t, 3> units{};
    {
        std::lock_guard lock(m_channelMutex);
        m_cancelled = true;
        units = {std::exchange(m_consumerUnit, 0), std::exchange(m_controlUnit, 0), std::exchange(m_bankUnit, 0)};
    }
    // Without the lock: each cancel waits for a callback of its channel that is running, and a bank switch in such
    // a callback needs the lock to finish.
    for (const std::uint32_t unit : units)
        if (unit != 0) m_api.DeleteRequestFromUnitId(unit);
}

std::int32_t NotificationHub::HandleNotify(const void* record) {
    if (!record) return 1;
    const auto kind = readAt<std::uint32_t>(record, kNotifyKind);
    const auto* request = readAt<const void*>(record, kNotifyRequest);
    if (!request) return 1;
    const auto tag = readAt<std::uint32_t>(request, kRequestTag);
    const auto length = readAt<std::uint32_t>(request, kRequestLength);

    if (kind == VEV_NOTIFY_DATA && tag == VEV_TAG_CONS) {
        const auto* holder = readAt<const void*>(request, kRequestReport);
        if (!holder) return 1;
        const auto* consumer = readAt<const std::uint8_t*>(holder, kHolderConsumerReport);
        const auto consumerLength = readAt<std::uint32_t>(holder, kHolderConsumerLength);
        if (consumer && consumerLength >= 2) HandleConsumerCode(getLe16(consumer));
    } else if (kind == VEV_NOTIFY_DATA && tag == VEV_TAG_CTRL) {
        const auto* data = readAt<const std::uint8_t*>(request, kRequestData);
        m_exchange.DeliverReply(data, data ? length : 0);
    } else if (kind == VEV_NOTIFY_DEVICE_COUNT && tag == VEV_TAG_CTRL) {
        if (length == 0) m_exchange.DeviceGone();
        m_presence.post(static_cast<int>(length));
    }
    return 1;
}

void NotificationHub::HandleConsumerCode(std::uint16_t code) {
    switch (code) {
    case kConsumerBankSwitch:
        SwitchBank();
        break;
    case kConsumerReloadLighting:
        m_screen.startReloadTimer();
        break;
    case kConsumerActivityEnd:
        m_iconWorker.post([this] { m_screen.setTrayState(TrayState::ActivityEnded); });
        break;
    case kConsumerActivityBegin:
        m_iconWorker.post([this] { m_screen.setTrayState(TrayState::Activity); });
        break;
    default: // 6145..6148 and everything else: no effect
        break;
    }
}

void NotificationHub::SwitchBank() {
    const auto status = m_state.flipBank();
    {
        // The keyboard learns the bank from a fresh registration of the status channel.
        const auto bytes = kBankStatusFilter.bytes();
        std::lock_guard lock(m_channelMutex);
        if (m_cancelled) return; // shutting down: no new registration may outlive the cancel
        m_api.DeleteRequestFromUnitId(m_bankUnit);
        m_bankUnit = 0;
        m_api.RequestStatusWrite(bytes.data(), &HidNotify, VEV_TAG_DEL, status.data(), 2,
                                 CheckValue(bytes, callbackAddress(), VEV_TAG_DEL, status), &m_bankUnit);
    }
    m_screen.sendBankChanged(status[1] & 1);
}

} // namespace ombrel

extern "C" std::int32_t HidNotify(void* record) {
    std::shared_lock lock(ombrel::g_hubMutex);
    if (ombrel::g_hub) ombrel::g_hub->HandleNotify(record);
    return 1;
}
