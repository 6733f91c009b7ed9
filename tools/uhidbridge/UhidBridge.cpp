#include "UhidBridge.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sstream>
#include <thread>

#include "BridgeClient.h"
#include "device/Report.h"

namespace ombrel::vm {

namespace {
constexpr std::uint16_t kVendorId = 0x0C45;
constexpr std::uint16_t kProductId = 0x5204;

std::string hexByte(std::uint8_t b) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", b);
    return text;
}
} // namespace

UhidBridge::UhidBridge(BridgeOptions options) : m_options(std::move(options)) {
    for (InterfaceDescriptor& d : KeyboardDescriptors(m_options.numbered))
        m_ports.push_back({std::move(d), std::make_unique<UhidDevice>()});
}

int UhidBridge::run() {
    for (Port& port : m_ports) {
        if (!port.device->openControl()) {
            std::fprintf(stderr, "uhid bridge: cannot open /dev/uhid: %s\n", std::strerror(errno));
            return 1;
        }
    }
    const int control = ListenOn(m_options.controlSocket);
    if (control < 0) {
        std::fprintf(stderr, "uhid bridge: cannot listen on %s: %s\n", m_options.controlSocket.c_str(),
                     std::strerror(errno));
        return 1;
    }
    if (!plug()) return 1;

    for (;;) {
        std::vector<pollfd> fds;
        for (const Port& port : m_ports)
            fds.push_back({port.device->fd(), POLLIN, 0});
        fds.push_back({control, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            std::perror("uhid bridge: poll");
            return 1;
        }
        for (std::size_t i = 0; i < m_ports.size(); ++i) {
            if (!(fds[i].revents & POLLIN)) continue;
            const auto output = m_ports[i].device->readOutput();
            if (!output) continue;
            if (m_ports[i].descriptor.which == BridgeInterface::Vendor) onVendorOutput(*output);
            if (m_ports[i].descriptor.which == BridgeInterface::BankStatus)
                onBankOutput(*output, m_ports[i].descriptor.reportId);
        }
        if (fds.back().revents & POLLIN) {
            const int connection = ::accept4(control, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection < 0) continue;
            std::string line;
            const std::string reply = ReadCommand(connection, line) ? command(line) : "error: no command";
            WriteAnswer(connection, reply.empty() ? "bye" : reply);
            ::close(connection);
            if (reply.empty()) {
                unplug();
                ::close(control);
                ::unlink(m_options.controlSocket.c_str());
                return 0;
            }
        }
    }
}

bool UhidBridge::plug() {
    if (m_plugged) return true;
    for (Port& port : m_ports) {
        const UhidIdentity identity{kVendorId, kProductId, "Ombrel test keyboard (" + port.descriptor.name + ")",
                                    "ombrel-vm/" + port.descriptor.name};
        if (!port.device->create(identity, port.descriptor.descriptor)) {
            std::fprintf(stderr, "uhid bridge: cannot create the %s interface: %s\n", port.descriptor.name.c_str(),
                         std::strerror(errno));
            return false;
        }
    }
    m_plugged = true;
    return true;
}

void UhidBridge::unplug() {
    for (Port& port : m_ports) {
        if (port.device->created()) port.device->destroy();
    }
    m_plugged = false;
}

void UhidBridge::onVendorOutput(const std::vector<std::uint8_t>& bytes) {
    ++m_reports;
    if (m_unplugAt != 0 && --m_unplugAt == 0) {
        unplug();
        return;
    }
    if (m_dropLeft != 0) {
        --m_dropLeft;
        return;
    }
    std::array<std::uint8_t, Report::kSize> request{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), request.size()), request.begin());
    const auto reply = m_model.handleReport(request);
    if (!reply) return;
    std::this_thread::sleep_for(m_options.latency);
    for (Port& port : m_ports) {
        if (port.descriptor.which == BridgeInterface::Vendor) port.device->sendInput(reply->bytes);
    }
}

void UhidBridge::onBankOutput(const std::vector<std::uint8_t>& bytes, std::uint8_t reportId) {
    // What the program wrote, report id included: the same two bytes on either descriptor.
    m_bank = bytes;
    if (reportId != 0 && !bytes.empty() && bytes[0] != reportId)
        std::fprintf(stderr, "uhid bridge: bank status written with report id %u\n", bytes[0]);
}

std::string UhidBridge::command(const std::string& line) {
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    unsigned long value = 0;
    if (verb == "quit") return {};
    if (verb == "status") {
        std::string bank;
        for (std::uint8_t b : m_bank)
            bank += (bank.empty() ? "" : ",") + hexByte(b);
        return std::string(m_plugged ? "plugged" : "unplugged") + " reports=" + std::to_string(m_reports) +
               " bank=" + (bank.empty() ? "-" : bank);
    }
    if (verb == "plug") return plug() ? "ok" : "error: cannot create the devices";
    if (verb == "unplug") {
        unplug();
        return "ok";
    }
    if (!(in >> value)) return "error: '" + verb + "' needs a number";
    if (verb == "consumer") {
        if (!m_plugged) return "error: unplugged";
        for (Port& port : m_ports) {
            if (port.descriptor.which != BridgeInterface::Consumer) continue;
            std::vector<std::uint8_t> report;
            if (port.descriptor.reportId != 0) report.push_back(port.descriptor.reportId);
            report.push_back(static_cast<std::uint8_t>(value & 0xFF));
            report.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
            return port.device->sendInput(report) ? "ok" : "error: input refused";
        }
    }
    if (verb == "drop") {
        m_dropLeft = static_cast<std::uint32_t>(value);
        return "ok";
    }
    if (verb == "unplug-at") {
        m_unplugAt = static_cast<std::uint32_t>(value);
        return "ok";
    }
    return "error: unknown command '" + verb + "'";
}

} // namespace ombrel::vm
