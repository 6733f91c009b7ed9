#pragma once
// Everything the keyboard reports reaches the program through one callback, HidNotify, on the service library's
// threads. The hub registers the channels, reads the notification records and turns each into its action:
// replies go to the waiting exchange, device counts to the presence watcher, consumer codes switch the G-key bank,
// reload the lighting or change the tray icon. Nothing here blocks the library's thread for long: icon changes
// run on a worker of their own, the bank switch only writes the status and tells the window.

#include "device/DeviceState.h"
#include "device/PresenceWatcher.h"
#include "device/ReportExchange.h"
#include "device/ScreenPort.h"
#include "device/SerialWorker.h"
#include "device/ServiceApi.h"

#include <cstdint>
#include <mutex>

namespace ombrel {

enum ConsumerCode : std::uint16_t {
    kConsumerBankSwitch = 767,      // 0x02FF
    kConsumerReloadLighting = 1025, // 0x0401
    kConsumerActivityEnd = 6160,    // 0x1810
    kConsumerActivityBegin = 6161,  // 0x1811
};

class NotificationHub {
public:
    NotificationHub(const ServiceApi& api, ReportExchange& exchange, DeviceState& state, ScreenPort& screen,
                    PresenceWatcher& presence);
    ~NotificationHub();
    NotificationHub(const NotificationHub&) = delete;
    NotificationHub& operator=(const NotificationHub&) = delete;

    // Makes this hub the one HidNotify reaches (one per process at a time) / stops that, waiting for callbacks
    // that are running.
    void install();
    void uninstall();

    // Registers the consumer and the control channel (each cancels its previous registration first). Returns the
    // library's results (> 0 = registered); a channel that failed simply delivers nothing.
    int RegisterConsumerChannel();
    int RegisterControlChannel();
    // Cancels every registration, so no callback arrives afterwards.
    void CancelChannels();

    // The body of HidNotify: reads the record and dispatches it. Always returns 1.
    std::int32_t HandleNotify(const void* record);

    // Switches the G-key bank: flips the bank bit, tells the keyboard through the status channel and the window.
    void SwitchBank();
    void HandleConsumerCode(std::uint16_t code);

    // Waits until queued icon changes have been applied (tests).
    void drainIconChanges() { m_iconWorker.drain(); }

private:
    int registerAsyncRead(const struct DeviceFilter& filter, std::uint32_t tag, std::uint32_t& unitId);

    const ServiceApi& m_api;
    ReportExchange& m_exchange;
    DeviceState& m_state;
    ScreenPort& m_screen;
    PresenceWatcher& m_presence;

    // Guards the unit ids and m_cancelled. Never held while the consumer or control channel is cancelled: the
    // library waits there for the channel's running callback, which may be a bank switch waiting for this lock.
    std::mutex m_channelMutex;
    bool m_cancelled = false; // CancelChannels ran: a bank switch registers nothing any more
    std::uint32_t m_consumerUnit = 0;
    std::uint32_t m_controlUnit = 0;
    std::uint32_t m_bankUnit = 0;

    SerialWorker m_iconWorker; // icon changes, applied one after the other
};

} // namespace ombrel

extern "C" {
// The one callback given to every registration.
std::int32_t HidNotify(void* record);
}
