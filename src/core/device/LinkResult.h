#pragma once
// Result codes of every device operation. Callers test for LINK_OK and treat every other value alike; the
// names exist for messages and logs.

namespace ombrel {

enum LinkResult : int {
    LINK_OK = 1,
    LINK_NO_DEVICE = 0,      // no keyboard attached (nothing sent), or waiting for the reply failed
    LINK_SEND_FAILED = -1,   // the service library refused the send
    LINK_NO_REPLY = -2,      // three attempts without a matching reply
    LINK_SHORT_REPLY = -3,   // a reply too short to hold the data it was asked for
    LINK_BAD_ARGUMENT = -4,  // a length or address the report cannot carry; nothing sent
    LINK_STATUS_FF = -102,   // the keyboard refused (status 0xFF)
    LINK_STATUS_FE = -103,   // the keyboard refused (status 0xFE)
    LINK_NOT_KEPT = -104,    // the keyboard took the data but could not keep it (status 0xFD, the emulator's state
                             // file could not be written); it went back to what it held before
    LINK_BAD_PROFILE = -201, // profile index above 2; nothing sent
};

// "LINK_NO_REPLY" and so on, without the number (callers print it beside the name); unknown codes give
// "unknown result".
const char* LinkResultName(int result);
// A sentence for the user: what happened, in plain words.
const char* LinkResultDescription(int result);

} // namespace ombrel
