// Arbitrary bytes as the body of a profile file, checked record by record the way validate and restore check it:
// no read may leave the records, macros or string area, every problem names where it is, and the list stays
// within its limit however damaged the file is.
#include "profiles/StoreContentCheck.h"
#include "profiles/StoreFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ombrel;
    // Without the header rules, so that bodies behind any header get checked.
    const ParsedStoreFile parsed = ParseStoreFile(std::span<const std::uint8_t>(data, size), false);
    if (!parsed.check.ok()) return 0;
    constexpr std::size_t kLimit = 20;
    const std::vector<ContentProblem> problems = CheckStoreContents(parsed.contents, kLimit);
    if (problems.size() > kLimit) std::abort();
    for (const ContentProblem& p : problems) {
        if ((p.layer < 0) == (p.macro < 0) || p.what.empty()) std::abort();
        if (p.describe().empty()) std::abort();
    }
    return 0;
}
