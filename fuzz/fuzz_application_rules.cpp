// The rules file from hostile bytes: every problem has a place in the file, and a file that reads writes back to
// text that reads as the same rules.
#include "apprules/ApplicationRulesFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ombrel::apprules;
    const std::string_view text(reinterpret_cast<const char*>(data), size); // NOLINT: bytes viewed as chars
    const RulesRead read = ParseApplicationRules(text);
    if (read.rules.has_value() == !read.problems.empty()) std::abort();
    for (const RulesProblem& p : read.problems)
        if (p.line < 1 || p.column < 1 || p.message.empty()) std::abort();
    if (!read.rules) return 0;
    if (read.rules->defaultProfile < kFirstProfile || read.rules->defaultProfile > kLastProfile) std::abort();
    for (const ApplicationRule& rule : read.rules->rules)
        if (!ApplicationProblem(rule.application).empty() || rule.profile < kFirstProfile ||
            rule.profile > kLastProfile)
            std::abort();
    const RulesRead again = ParseApplicationRules(FormatApplicationRules(*read.rules));
    if (!again.rules || !(*again.rules == *read.rules)) std::abort();
    return 0;
}
