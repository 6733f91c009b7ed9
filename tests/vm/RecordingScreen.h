#pragma once
// A screen that remembers what the device link asked of it, so a check can wait for "the window was told".

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "device/ScreenPort.h"

namespace ombrel::vm {

struct ScreenEvents {
    int detaches = 0;
    int profileReloads = 0;
    int bankChanges = 0;
    int lastBank = 0;
    int reloadTimers = 0;
    int activityIcons = 0; // tray mode 1
};

class RecordingScreen : public ScreenPort {
public:
    void sendDetach() override {
        record([](ScreenEvents& e) { ++e.detaches; });
    }
    void showKeyboardGone() override {}
    void sendProfileReload() override {
        record([](ScreenEvents& e) { ++e.profileReloads; });
    }
    void postOpen() override {}
    void sendBankChanged(int bank) override {
        record([bank](ScreenEvents& e) {
            ++e.bankChanges;
            e.lastBank = bank;
        });
    }
    void startReloadTimer() override {
        record([](ScreenEvents& e) { ++e.reloadTimers; });
    }
    void setTrayState(TrayState state) override {
        if (state == TrayState::Activity) record([](ScreenEvents& e) { ++e.activityIcons; });
    }
    bool windowReady() const override { return true; }
    void showMessage(std::string_view) override {}

    ScreenEvents events() const {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    // Waits until `done` holds for the events, at most `limit`; whether it does.
    bool waitFor(const std::function<bool(const ScreenEvents&)>& done, std::chrono::milliseconds limit) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, limit, [&] { return done(m_events); });
    }

private:
    void record(const std::function<void(ScreenEvents&)>& change) {
        {
            std::lock_guard lock(m_mutex);
            change(m_events);
        }
        m_changed.notify_all();
    }

    mutable std::mutex m_mutex; // guards m_events
    std::condition_variable m_changed;
    ScreenEvents m_events;
};

} // namespace ombrel::vm
