#pragma once
// One HID device made through the kernel's uhid: created from a report descriptor, it appears as a hidraw node
// of its own; destroying it is an unplug. Output reports the host writes come back as events.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ombrel::vm {

struct UhidIdentity {
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    std::string name;
    std::string phys;
};

class UhidDevice {
public:
    UhidDevice() = default;
    ~UhidDevice();
    UhidDevice(const UhidDevice&) = delete;
    UhidDevice& operator=(const UhidDevice&) = delete;

    // Opens /dev/uhid; false with errno set when it cannot.
    bool openControl();
    int fd() const { return m_fd; }

    bool create(const UhidIdentity& identity, std::span<const std::uint8_t> descriptor);
    bool destroy();
    bool created() const { return m_created; }

    // An input report, report id first on a numbered interface.
    bool sendInput(std::span<const std::uint8_t> report);

    // Reads one event; returns the output report it carries, if it is one. Report requests of the host are
    // answered here (not supported), so it never waits for them.
    std::optional<std::vector<std::uint8_t>> readOutput();

private:
    bool writeEvent(const void* event, std::size_t size);

    int m_fd = -1;
    bool m_created = false;
};

} // namespace ombrel::vm
