#pragma once
// A device link whose reports are answered by the keyboard model of the emulator, in process, so that tests see
// both every report sent and the keyboard's memory afterwards.

#include "device/DeviceFixture.h"
#include "emulator/KeyboardModel.h"

#include <string>
#include <vector>

namespace ombrel::test {

// One report as the tests compare it: command, offset and the bytes it carried.
struct SentReport {
    int command;
    int offset;
    std::vector<std::uint8_t> bytes;
    bool operator==(const SentReport&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const SentReport& r) {
    os << "{cmd " << r.command << " @" << r.offset << ":";
    for (std::uint8_t b : r.bytes)
        os << ' ' << std::hex << int(b) << std::dec;
    return os << "}";
}

class LightingFixture : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        fake.onRequest = [this](const Report& request) {
            auto deliver = [this](const emu::Frame& reply) {
                fake.deliverReply(std::vector<std::uint8_t>(reply.bytes.begin(), reply.bytes.end()));
            };
            if (refusedCommand == request.command()) {
                emu::Frame reply =
                    emu::Frame::replyTo(emu::Frame::received(request.bytes), emu::KeyboardModel::kStatusRefused);
                reply.stampChecksum();
                deliver(reply);
                return;
            }
            if (const auto reply = model.handleReport(request.bytes)) deliver(*reply);
        };
    }

    // The reports sent since the last call, begin (1) and end (2) included.
    std::vector<SentReport> takeSent() {
        std::vector<SentReport> out;
        for (std::size_t i = m_taken; i < fake.sent.size(); ++i) {
            const Report& r = fake.sent[i];
            const bool write = r.command() % 2 == 0 || r.command() == 17;
            std::vector<std::uint8_t> bytes;
            if (write && r.command() != 2) bytes.assign(r.payload().begin(), r.payload().begin() + r.length());
            out.push_back({r.command(), r.offset(), bytes});
        }
        m_taken = fake.sent.size();
        return out;
    }

    std::uint8_t lightingByte(int offset) const { return model.memory().lighting[static_cast<std::size_t>(offset)]; }

    emu::KeyboardModel model;
    int refusedCommand = -1; // requests with this command are refused (status 0xFF), nothing done

private:
    std::size_t m_taken = 0;
};

// One bracket around the given writes.
inline std::vector<SentReport> Bracket(std::vector<SentReport> writes) {
    writes.insert(writes.begin(), SentReport{1, 0, {}});
    writes.push_back({2, 0, {}});
    return writes;
}

} // namespace ombrel::test
