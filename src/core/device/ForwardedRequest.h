#pragma once
// Checks a request report that another process asks the program to send to the keyboard on its behalf
// (ombrelctl while the program holds the keyboard). Only what the command routines themselves send may go: the
// reads, the writes and the begin/end bracket, each with a length a report can carry. The boot request is
// refused: it takes the keyboard away from the program that serves it.

#include <cstdint>
#include <span>
#include <string>

namespace ombrel {

struct ForwardedRequestCheck {
    bool allowed = false;
    bool writes = false; // it changes what the keyboard holds (a write, or the end of a write sequence)
    std::string problem; // without `allowed`: why, in a sentence
};

ForwardedRequestCheck CheckForwardedRequest(std::span<const std::uint8_t> request);

} // namespace ombrel
