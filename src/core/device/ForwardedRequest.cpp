#include "device/ForwardedRequest.h"

#include "device/DeviceCommands.h"
#include "device/Report.h"

namespace ombrel {

namespace {

constexpr std::size_t kCommandAt = 3;
constexpr std::size_t kLengthAt = 4;

} // namespace

ForwardedRequestCheck CheckForwardedRequest(std::span<const std::uint8_t> request) {
    ForwardedRequestCheck check;
    if (request.size() <= kLengthAt || request.size() > Report::kSize) {
        check.problem = "a request report holds 5 to 64 bytes, this one " + std::to_string(request.size());
        return check;
    }
    const std::uint8_t command = request[kCommandAt];
    switch (command) {
    case CMD_BEGIN:
    case CMD_READ_CONFIG:
    case CMD_READ_LIGHTING:
    case CMD_READ_KEYMAP:
    case CMD_READ_MACROS:
    case CMD_READ_DEFAULT_KEYMAP:
        break;
    case CMD_END:
    case CMD_WRITE_CONFIG:
    case CMD_WRITE_LIGHTING:
    case CMD_WRITE_KEYMAP:
    case CMD_WRITE_MACROS:
    case CMD_WRITE_KEYCOLORS:
        check.writes = true;
        break;
    default:
        check.problem = "command " + std::to_string(command) + " is not passed on to the keyboard";
        return check;
    }
    if (request[kLengthAt] > kChunkSize) {
        check.problem = "a request carries at most 56 bytes, this one says " + std::to_string(request[kLengthAt]);
        check.writes = false;
        return check;
    }
    check.allowed = true;
    return check;
}

} // namespace ombrel
