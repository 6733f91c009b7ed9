#include "UdevMonitor.h"

#include <cerrno>
#include <cstdint>
#include <string_view>

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "DebugLog.h"
#include "LibraryThread.h"

namespace ombrel::hid {

UdevMonitor::~UdevMonitor() {
    stop();
}

bool UdevMonitor::start(ChangeHandler onChange, Handler onLost) {
    if (m_thread.joinable()) return true;
    m_onChange = std::move(onChange);
    m_onLost = std::move(onLost);
    m_udev = udev_new();
    if (m_udev) {
        // Events from the udev daemon come after its rules have run, so the node's permissions are set. Where
        // no daemon runs (a container), the kernel's own events are all there is.
        const char* source = access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
        m_monitor = udev_monitor_new_from_netlink(m_udev, source);
    }
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (!m_monitor || m_wakeFd < 0 ||
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        debugLog(1, "no udev monitor: keyboards are counted on every query");
        release();
        return false;
    }
    m_thread = std::thread([this] { run(); });
    return true;
}

void UdevMonitor::stop() {
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        while (::write(m_wakeFd, &one, sizeof one) < 0 && errno == EINTR) {
        }
        m_thread.join();
    }
    release();
}

void UdevMonitor::run() {
    t_libraryThread = true;
    pollfd fds[2] = {{udev_monitor_get_fd(m_monitor), POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    for (;;) {
        fds[0].revents = 0;
        fds[1].revents = 0;
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            debugLog(1, "udev monitor: poll failed: " + errorText(errno));
            m_onLost();
            return;
        }
        if (fds[1].revents != 0) return;
        if (fds[0].revents & (POLLERR | POLLNVAL)) {
            debugLog(1, "udev monitor: socket failed");
            m_onLost();
            return;
        }
        // Drain the batch (one unplug removes several nodes), then look once. A receive error (a lost event
        // after an overflow) is no reason to skip the look either. The removed nodes go along: an unplug and a
        // replug in one batch look like no change at all to the look.
        std::vector<std::string> removed;
        while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
            const char* action = udev_device_get_action(device);
            const char* node = udev_device_get_devnode(device);
            if (action && node && std::string_view(action) == "remove") removed.emplace_back(node);
            udev_device_unref(device);
        }
        m_onChange(removed);
    }
}

void UdevMonitor::release() {
    if (m_monitor) udev_monitor_unref(m_monitor);
    if (m_udev) udev_unref(m_udev);
    if (m_wakeFd >= 0) ::close(m_wakeFd);
    m_monitor = nullptr;
    m_udev = nullptr;
    m_wakeFd = -1;
}

} // namespace ombrel::hid
