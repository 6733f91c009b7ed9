#pragma once
// The way to the keyboard through the running program: when Ombrel serves the same keyboard on the session bus,
// every device exchange of a command goes to the program, which does it on its own connection to the keyboard.
// The commands themselves run unchanged, so what they print and how they end is the same either way; and they
// never have to wait for the program to let go of the keyboard.

#include "device/LinkResult.h"
#include "device/ServiceApi.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace ombrel::cli {

class ProgramRoute {
public:
    // The program serving `target` (KeyboardTargetName) with a keyboard present; null when there is no session
    // bus, no program, a program for another keyboard, or one without a keyboard (the direct way says why).
    static std::unique_ptr<ProgramRoute> find(const std::string& target);
    ~ProgramRoute();

    // One exchange, done by the program; its result, or LINK_NO_DEVICE when the program stopped answering.
    LinkResult exchange(std::span<const std::uint8_t> request, std::uint8_t* reply, std::size_t capacity,
                        int* replyLength);

    // A service library that is never asked anything: the link's exchanges all go through the route.
    static const ServiceApi& quietApi();

private:
    ProgramRoute() = default;
    struct Bus;
    std::unique_ptr<Bus> m_bus;
};

} // namespace ombrel::cli
