#pragma once
// A keyboard in memory (the fake service library answering from its memory areas) with the test factory block,
// 8 KiB of macro memory and profile 1 active, plus the two key stores.

#include "device/DeviceFixture.h"
#include "keys/AssignmentStore.h"
#include "keys/KeysTestData.h"

#include <algorithm>

namespace ombrel::test {

class KeyboardFixture : public DeviceFixture {
protected:
    static constexpr std::uint8_t kMacroUnits = 64;

    void SetUp() override {
        DeviceFixture::SetUp();
        fake.memory[3][10] = 1;
        fake.memory[3][11] = kMacroUnits;
        const KeymapBlock factoryBlock = TestFactoryBlock();
        const KeymapBytes& factory = factoryBlock.bytes();
        std::copy(factory.begin(), factory.end(), fake.memory[15].begin());
        for (int p = 0; p < 3; ++p)
            std::copy(factory.begin(), factory.end(), fake.memory[7].begin() + 378 * p);
        link->state().setDefaultKeymap(factory);
        link->state().macroCapacity.store(kMacroUnits * 128u);
    }

    // The command bytes of the reports sent, with runs of the same command folded into one.
    std::vector<int> commandRuns() const {
        std::vector<int> runs;
        for (const Report& r : fake.sent)
            if (runs.empty() || runs.back() != r.command()) runs.push_back(r.command());
        return runs;
    }
    KeymapBlock keyboardBlock(int profile) {
        KeymapBytes bytes{};
        std::copy_n(fake.memory[7].begin() + 378 * profile, 378, bytes.begin());
        return KeymapBlock(bytes);
    }
    // Answers every request from memory, except that requests with `command` get `status`.
    void refuse(std::uint8_t command, std::uint8_t status = 0xFF) {
        fake.onRequest = [this, command, status](const Report& request) {
            if (request.command() == command)
                fake.deliverReply(fake.replyTo(request, status));
            else
                fake.answerFromMemory(request);
        };
    }

    KeyStores stores;
};

} // namespace ombrel::test
