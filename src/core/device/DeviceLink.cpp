#include "device/DeviceLink.h"

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
    return link;
}

void DeviceLink::startPresence() {
    const int count = m_exchange.DeviceCount();
    m_presence.post(count);
    if (count == 0) m_state.autoShowDone.store(true);
}

void DeviceLink::shutdown() {
    if (m_shutDown) return;
    m_shutDown = true;
    m_hub.CancelChannels();
    m_hub.uninstall();
    m_presence.stop();
}

DeviceLink::~DeviceLink() {
    shutdown();
}

} // namespace ombrel
