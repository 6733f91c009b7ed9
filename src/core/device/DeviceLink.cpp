#include "device/DeviceLink.h"

#include "device/LinkStartHook.h"

namespace ombrel {

DeviceLink::DeviceLink(const ServiceApi& api, ScreenPort& screen, ExchangeTiming timing)
    : m_exchange(api, timing), m_commands(m_exchange), m_presence(m_commands, m_state, screen),
      m_hub(api, m_exchange, m_state, screen, m_presence) {}

std::unique_ptr<DeviceLink> DeviceLink::start(const ServiceApi& api, ScreenPort& screen, std::string* error,
                                              ExchangeTiming timing) {
    if (!api.Init || api.Init(0) <= 0) {
        if (error) *error = "the HID service library could not be initialised";
        return nullptr;
    }
    std::unique_ptr<DeviceLink> link(new DeviceLink(api, screen, timing));
    link->m_hub.install();
    link->m_hub.RegisterConsumerChannel();
    link->m_hub.RegisterControlChannel();
    // Every link of this process gets what the process asked for (the write history records every write this way,
    // whichever part of the program makes it).
    if (const auto hook = CurrentLinkStartHook()) hook(link->m_commands, link->m_state);
    return link;
}

void DeviceLink::startPresence() {
    // Without a keyboard now, the automatic showing waits for its arrival: a person who started the program
    // without "/Start" wants its window, and gets it as soon as there is a keyboard to show.
    m_presence.post(m_exchange.DeviceCount());
}

void DeviceLink::shutdown() {
    if (m_shutDown) return;
    m_shutDown = true;
    // The presence worker first, while its replies can still arrive: with the control channel gone, a read it is
    // in would wait out every attempt before the worker could end.
    m_presence.stop();
    m_hub.CancelChannels();
    m_hub.uninstall();
}

DeviceLink::~DeviceLink() {
    shutdown();
}

} // namespace ombrel
