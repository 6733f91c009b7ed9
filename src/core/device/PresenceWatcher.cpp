#include "device/PresenceWatcher.h"

#include "device/LinkResult.h"
#include "keyboard/ConfigBlock.h"

#include <thread>

namespace ombrel {

void PresenceWatcher::post(int count) {
    m_worker.post([this, count] { PresenceWorker(count); });
}

void PresenceWatcher::stop() {
    m_stopping.store(true);
    m_worker.stop();
}

void PresenceWatcher::PresenceWorker(int count) {
    const int last = m_state.lastDeviceCount.load();
    if (count == last) return;

    if (count == 0) {
        ++m_state.departures;
        m_state.cachedProfile.store(-1);
        m_screen.sendDetach();
        m_screen.showKeyboardGone();
    } else {
        if (last == 0) ++m_state.arrivals;
        KeymapBytes block{};
        const int read = m_commands.ReadDefaultKeymap(block);
        // The program is ending: nothing more to read or to tell the user.
        if (m_stopping.load()) return;
        if (read == LINK_OK)
            m_state.setDefaultKeymap(block);
        else if (m_commands.exchange().DeviceCount() != 0)
            m_screen.showMessage("MAIN_DEFAULT_MATRIX_PROMPT");
        // else the keyboard was pulled out during the read: its departure follows, and a message asking the user
        // to replug it would only stand in the way (and hold this worker until answered).

        ConfigBlock config;
        if (m_commands.ReadConfig(config.bytes) == LINK_OK) m_state.macroCapacity.store(config.macroCapacity());

        m_screen.sendProfileReload();
    }

    // The tray icon and the automatic showing need a window that has finished starting.
    while (!m_screen.windowReady()) {
        if (m_stopping.load()) return;
        std::this_thread::sleep_for(windowPollInterval);
    }

    m_screen.setTrayState(count != 0 ? TrayState::KeyboardPresent : TrayState::KeyboardAbsent);
    m_state.lastDeviceCount.store(count);

    if (!m_state.autoShowDone.load()) {
        if (count != 0) m_screen.postOpen();
        m_state.autoShowDone.store(true);
    }
}

} // namespace ombrel
