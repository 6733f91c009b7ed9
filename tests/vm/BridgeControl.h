#pragma once
// The test side of the uhid bridge's control channel: one command line out, one answer line back.

#include <string>

namespace ombrel::vm {

class BridgeControl {
public:
    BridgeControl(std::string controlFifo, std::string answerFifo)
        : m_control(std::move(controlFifo)), m_answer(std::move(answerFifo)) {}

    // The bridge's answer, or "error: ..." when the channel failed.
    std::string send(const std::string& command) const;

private:
    std::string m_control;
    std::string m_answer;
};

} // namespace ombrel::vm
