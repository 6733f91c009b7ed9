#include "device/LinkResult.h"

namespace ombrel {

const char* LinkResultName(int result) {
    switch (result) {
    case LINK_OK:
        return "LINK_OK";
    case LINK_NO_DEVICE:
        return "LINK_NO_DEVICE";
    case LINK_SEND_FAILED:
        return "LINK_SEND_FAILED";
    case LINK_NO_REPLY:
        return "LINK_NO_REPLY";
    case LINK_SHORT_REPLY:
        return "LINK_SHORT_REPLY";
    case LINK_BAD_ARGUMENT:
        return "LINK_BAD_ARGUMENT";
    case LINK_STATUS_FF:
        return "LINK_STATUS_FF";
    case LINK_STATUS_FE:
        return "LINK_STATUS_FE";
    case LINK_NOT_KEPT:
        return "LINK_NOT_KEPT";
    case LINK_BAD_PROFILE:
        return "LINK_BAD_PROFILE";
    default:
        return "unknown result";
    }
}

const char* LinkResultDescription(int result) {
    switch (result) {
    case LINK_OK:
        return "done";
    case LINK_NO_DEVICE:
        return "no keyboard is attached";
    case LINK_SEND_FAILED:
        return "the report could not be sent to the keyboard";
    case LINK_NO_REPLY:
        return "the keyboard did not answer";
    case LINK_SHORT_REPLY:
        return "the keyboard's answer was cut short";
    case LINK_BAD_ARGUMENT:
        return "the request does not fit in a report";
    case LINK_STATUS_FF:
    case LINK_STATUS_FE:
        return "the keyboard refused the request";
    case LINK_NOT_KEPT:
        return "the keyboard could not keep the change and still holds what it held before";
    case LINK_BAD_PROFILE:
        return "there is no such profile (profiles are 0, 1 and 2)";
    default:
        return "unexpected result";
    }
}

} // namespace ombrel
