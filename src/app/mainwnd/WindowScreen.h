#pragma once
// The main window as the device link sees it: each call becomes the window message or action it stands for, run
// on the UI thread. Sent calls wait for their handler; once the window shuts down they return at once.

#include "device/ScreenPort.h"

#include <atomic>

namespace ombrel {

class MainWindow;
class UiDispatcher;

class WindowScreen : public ScreenPort {
public:
    WindowScreen(MainWindow& window, UiDispatcher& dispatcher) : m_window(window), m_dispatcher(dispatcher) {}

    void sendDetach() override;
    void showKeyboardGone() override;
    void sendProfileReload() override;
    void postOpen() override;
    void sendBankChanged(int bank) override;
    void startReloadTimer() override;
    void setTrayState(TrayState state) override;
    bool windowReady() const override { return m_windowReady.load(); }
    void showMessage(std::string_view textKey) override;
    void showFormattedMessage(std::string_view textKey, std::string_view argument) override;

    void setWindowReady(bool ready) { m_windowReady.store(ready); }

private:
    void sendMessage(int message, unsigned long tag, bool storeBound);

    MainWindow& m_window;
    UiDispatcher& m_dispatcher;
    std::atomic<bool> m_windowReady{false};
};

} // namespace ombrel
