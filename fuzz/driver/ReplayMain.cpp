// Replays a fuzz target's seed corpus and a fixed set of mutations of each seed, so every build checks the
// readers against hostile input without needing libFuzzer. Deterministic: the same seeds give the same runs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void runOne(const std::vector<std::uint8_t>& input) {
    // A copy of exactly the right size, so a read past the end is seen by the sanitizers.
    std::vector<std::uint8_t> exact(input);
    LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
}

void mutateAndRun(const std::vector<std::uint8_t>& seed, std::mt19937& rng, int rounds) {
    for (int round = 0; round < rounds; ++round) {
        std::vector<std::uint8_t> m(seed);
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            switch (rng() % 5) {
            case 0: // flip a byte
                if (!m.empty()) m[rng() % m.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
                break;
            case 1: // set a byte to an extreme
                if (!m.empty()) m[rng() % m.size()] = (rng() & 1) ? 0xFF : 0x00;
                break;
            case 2: // truncate
                if (!m.empty()) m.resize(rng() % m.size());
                break;
            case 3: // insert random bytes
                m.insert(m.begin() + static_cast<long>(m.empty() ? 0 : rng() % m.size()), rng() % 16,
                         static_cast<std::uint8_t>(rng()));
                break;
            default: // duplicate a slice
                if (m.size() > 2) {
                    const std::size_t from = rng() % m.size();
                    const std::size_t len = rng() % (m.size() - from);
                    std::vector<std::uint8_t> slice(m.begin() + static_cast<long>(from),
                                                    m.begin() + static_cast<long>(from + len));
                    m.insert(m.end(), slice.begin(), slice.end());
                }
                break;
            }
        }
        runOne(m);
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::vector<std::uint8_t>> seeds{{}};
    // A fixed budget of mutations shared by the seeds, so a corpus that grows with each fuzzing campaign keeps the
    // replay quick; every seed itself always runs. Targets that do much per input ask for less (--mutations=N).
    std::size_t budget = 16000;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option(argv[i]);
        if (option.starts_with("--mutations=")) {
            budget = std::strtoul(argv[i] + option.find('=') + 1, nullptr, 10);
            continue;
        }
        const std::filesystem::path arg(argv[i]);
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else if (std::filesystem::exists(arg)) {
            files.push_back(arg);
        }
        for (const auto& f : files) {
            std::ifstream in(f, std::ios::binary);
            seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    const auto rounds = static_cast<int>(std::max<std::size_t>(1, budget / seeds.size()));
    std::mt19937 rng(20261210);
    for (const auto& seed : seeds) {
        runOne(seed);
        mutateAndRun(seed, rng, rounds);
    }
    std::printf("replayed %zu seeds with mutations\n", seeds.size());
    return 0;
}
