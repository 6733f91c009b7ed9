#include "UhidDevice.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace ombrel::vm {

namespace {
constexpr std::uint16_t kBusUsb = 0x03;
} // namespace

UhidDevice::~UhidDevice() {
    if (m_created) destroy();
    if (m_fd >= 0) ::close(m_fd);
}

bool UhidDevice::openControl() {
    m_fd = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
    return m_fd >= 0;
}

bool UhidDevice::create(const UhidIdentity& identity, std::span<const std::uint8_t> descriptor) {
    uhid_event event{};
    event.type = UHID_CREATE2;
    auto& req = event.u.create2;
    std::strncpy(reinterpret_cast<char*>(req.name), identity.name.c_str(), sizeof req.name - 1);
    std::strncpy(reinterpret_cast<char*>(req.phys), identity.phys.c_str(), sizeof req.phys - 1);
    if (descriptor.size() > sizeof req.rd_data) return false;
    req.rd_size = static_cast<std::uint16_t>(descriptor.size());
    std::copy(descriptor.begin(), descriptor.end(), req.rd_data);
    req.bus = kBusUsb;
    req.vendor = identity.vendor;
    req.product = identity.product;
    req.version = 0x0110;
    m_created = writeEvent(&event, sizeof event);
    return m_created;
}

bool UhidDevice::destroy() {
    uhid_event event{};
    event.type = UHID_DESTROY;
    const bool done = writeEvent(&event, sizeof event);
    m_created = false;
    return done;
}

bool UhidDevice::sendInput(std::span<const std::uint8_t> report) {
    uhid_event event{};
    event.type = UHID_INPUT2;
    if (report.size() > sizeof event.u.input2.data) return false;
    event.u.input2.size = static_cast<std::uint16_t>(report.size());
    std::copy(report.begin(), report.end(), event.u.input2.data);
    return writeEvent(&event, sizeof event);
}

std::optional<std::vector<std::uint8_t>> UhidDevice::readOutput() {
    uhid_event event{};
    const ssize_t got = ::read(m_fd, &event, sizeof event);
    if (got <= 0) return std::nullopt;
    switch (event.type) {
    case UHID_OUTPUT: {
        const std::size_t size = std::min<std::size_t>(event.u.output.size, sizeof event.u.output.data);
        return std::vector<std::uint8_t>(event.u.output.data, event.u.output.data + size);
    }
    case UHID_GET_REPORT: {
        uhid_event reply{};
        reply.type = UHID_GET_REPORT_REPLY;
        reply.u.get_report_reply.id = event.u.get_report.id;
        reply.u.get_report_reply.err = EIO;
        writeEvent(&reply, sizeof reply);
        return std::nullopt;
    }
    case UHID_SET_REPORT: {
        uhid_event reply{};
        reply.type = UHID_SET_REPORT_REPLY;
        reply.u.set_report_reply.id = event.u.set_report.id;
        reply.u.set_report_reply.err = EIO;
        writeEvent(&reply, sizeof reply);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

bool UhidDevice::writeEvent(const void* event, std::size_t size) {
    for (;;) {
        const ssize_t put = ::write(m_fd, event, size);
        if (put == static_cast<ssize_t>(size)) return true;
        if (put < 0 && errno == EINTR) continue;
        return false;
    }
}

} // namespace ombrel::vm
