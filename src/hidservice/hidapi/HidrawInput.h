#pragma once
// The reader's handle on a hidraw node: the node read directly (hidraw hands each open file every input report,
// report id first when the interface numbers its reports, as hidapi returns them), with an eventfd beside it so
// wake() ends a wait that has no time limit.

#include <memory>
#include <string>

#include "HidInput.h"

namespace ombrel::hid {

class HidrawInput final : public HidInput {
public:
    // Null with `error` set (an errno value) when the node cannot be opened.
    static std::unique_ptr<HidInput> open(const std::string& path, int& error);

    ~HidrawInput() override;
    HidrawInput(const HidrawInput&) = delete;
    HidrawInput& operator=(const HidrawInput&) = delete;

    int read(std::span<std::uint8_t> buffer) override;
    void wake() override;

private:
    HidrawInput(int fd, int wakeFd) : m_fd(fd), m_wakeFd(wakeFd) {}

    const int m_fd;
    const int m_wakeFd;
};

} // namespace ombrel::hid
