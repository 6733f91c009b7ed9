#pragma once
// The program's whole connection to the keyboard, put together in the order the program starts it: the service
// library initialised, the consumer channel, the exchange, the control channel, then the presence watcher with
// the current count. The window, the command-line tool and the tests all build one of these.

#include "device/DeviceCommands.h"
#include "device/DeviceState.h"
#include "device/NotificationHub.h"
#include "device/PresenceWatcher.h"
#include "device/ReportExchange.h"
#include "device/ScreenPort.h"
#include "device/ServiceApi.h"

#include <memory>
#include <string>

namespace ombrel {

class DeviceLink {
public:
    // Initialises the library behind `api` (Init(0) must return more than 0) and registers the channels.
    // Returns null and says why in `error` when the library cannot be initialised.
    static std::unique_ptr<DeviceLink> start(const ServiceApi& api, ScreenPort& screen, std::string* error,
                                             ExchangeTiming timing = {});
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Runs the first presence worker with the current count; the window is shown automatically once, when a
    // keyboard is first found (unless "/Start" switched that off).
    void startPresence();

    ReportExchange& exchange() { return m_exchange; }
    DeviceCommands& commands() { return m_commands; }
    DeviceState& state() { return m_state; }
    PresenceWatcher& presence() { return m_presence; }
    NotificationHub& notifications() { return m_hub; }

    // Stops the workers and cancels the channels, so nothing calls back into this object any more.
    void shutdown();

private:
    DeviceLink(const ServiceApi& api, ScreenPort& screen, ExchangeTiming timing);

    DeviceState m_state;
    ReportExchange m_exchange;
    DeviceCommands m_commands;
    PresenceWatcher m_presence;
    NotificationHub m_hub;
    bool m_shutDown = false;
};

} // namespace ombrel
