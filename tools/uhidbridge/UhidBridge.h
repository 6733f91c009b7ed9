#pragma once
// The keyboard in a test machine: its three interfaces made through uhid, the vendor interface answered by the
// emulator's keyboard model, and a control socket through which a test presses keys, unplugs and replugs the
// keyboard and makes replies go missing (ombrel-uhid-bridge --send, or BridgeClient).
//
// Control commands, one per connection, each answered with one line:
//   status              "plugged|unplugged reports=N bank=XX,YY"
//   consumer CODE       sends a consumer code on the consumer interface
//   unplug | plug       destroys or creates the three devices
//   drop N              the next N vendor reports are taken but never answered
//   unplug-at N         the N-th vendor report from now unplugs the keyboard instead of being answered
//   quit

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "KeyboardDescriptors.h"
#include "UhidDevice.h"
#include "emulator/KeyboardModel.h"

namespace ombrel::vm {

struct BridgeOptions {
    bool numbered = false;
    std::string controlSocket;
    // Like a USB interrupt endpoint: the reply to a report comes this much later.
    std::chrono::microseconds latency{1000};
};

class UhidBridge {
public:
    explicit UhidBridge(BridgeOptions options);

    // Creates the devices and serves until "quit"; the exit code.
    int run();

private:
    struct Port {
        InterfaceDescriptor descriptor;
        std::unique_ptr<UhidDevice> device;
    };

    bool plug();
    void unplug();
    void onVendorOutput(const std::vector<std::uint8_t>& bytes);
    void onBankOutput(const std::vector<std::uint8_t>& bytes, std::uint8_t reportId);
    // Runs one control line; returns the answer, empty for "quit".
    std::string command(const std::string& line);

    const BridgeOptions m_options;
    emu::KeyboardModel m_model;
    std::vector<Port> m_ports;
    bool m_plugged = false;
    std::uint32_t m_reports = 0;
    std::uint32_t m_dropLeft = 0;
    std::uint32_t m_unplugAt = 0; // 0: off
    std::vector<std::uint8_t> m_bank;
};

} // namespace ombrel::vm
