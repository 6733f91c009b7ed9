#pragma once
// One program's claim on a keyboard's vendor interface. Every program that opens a hidraw node sees every reply
// the keyboard sends, so a second program writing requests at the same time would take the first one's replies
// for its own (and the first one the second's). The claim keeps the conversation to one program at a time; it is
// released when the object goes (or the program ends).

namespace ombrel::hid {

class NodeClaim {
public:
    virtual ~NodeClaim() = default;
};

} // namespace ombrel::hid
