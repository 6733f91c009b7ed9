// The properties of other programs' X windows, as the application follower reads them: the first byte chooses
// the format the server would report, the rest is the value.
#include "apprules/ApplicationRulesFile.h"
#include "apprules/ProfileFollower.h"
#include "apprules/WindowProperties.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

using namespace ombrel::apprules;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    constexpr std::uint8_t kFormats[] = {0, 8, 16, 32};
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    const PropertyValue value{kFormats[data[0] & 3], bytes};

    WindowFacts facts;
    if (const auto parsed = ParseWindowClass(value)) {
        if (parsed->instance.size() > kMaxApplicationLength || parsed->windowClass.size() > kMaxApplicationLength)
            std::abort();
        facts.windowClass = *parsed;
    }
    const std::string title = ParsePropertyText(value, kMaxTitleLength);
    if (title.size() > kMaxTitleLength || title.find('\0') != std::string::npos) std::abort();
    facts.gtkApplicationId = ParsePropertyText(value, kMaxApplicationLength);
    if (const auto pid = ParseCardinal(value); pid && value.format != 32) std::abort();
    if (ParseCardinals(value, kMaxListedWindows).size() > bytes.size() / 4) std::abort();
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    facts.processName = ProcessNameFromComm(text);
    facts.flatpakId = FlatpakIdFromEnvironment(bytes);
    const ApplicationIdentity identity = IdentityOf(facts);
    (void)RuleMatches(facts.processName, identity);
    std::string problem;
    (void)IdentityFromDesktopId(text, &problem);
    return 0;
}
