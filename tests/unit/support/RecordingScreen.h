#pragma once
// A screen that writes down what the device link asked of it, in order, as short words ("detach", "tray present").

#include "device/ScreenPort.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace ombrel::test {

class RecordingScreen : public ScreenPort {
public:
    void sendDetach() override { add("detach"); }
    void showKeyboardGone() override { add("gone"); }
    void sendProfileReload() override { add("reload-profile"); }
    void postOpen() override { add("open"); }
    void sendBankChanged(int bank) override { add("bank " + std::to_string(bank)); }
    void startReloadTimer() override { add("reload-timer"); }
    void setTrayState(TrayState state) override {
        const char* names[] = {"absent", "present", "activity", "activity-ended"};
        add(std::string("tray ") + names[static_cast<int>(state)]);
    }
    bool windowReady() const override { return ready.load(); }
    void showMessage(std::string_view textKey) override { add("message " + std::string(textKey)); }
    void showFormattedMessage(std::string_view textKey, std::string_view argument) override {
        add("message " + std::string(textKey) + " " + std::string(argument));
    }

    std::vector<std::string> events() const {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    void clear() {
        std::lock_guard lock(m_mutex);
        m_events.clear();
    }

    std::atomic<bool> ready{true};

private:
    void add(std::string e) {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(e));
    }
    mutable std::mutex m_mutex; // guards m_events
    std::vector<std::string> m_events;
};

} // namespace ombrel::test
