#include "apprules/WindowProperties.h"

#include "apprules/ApplicationRulesFile.h"

#include <algorithm>
#include <cstring>

namespace ombrel::apprules {

namespace {

// At most `limit` bytes of `text`, the cut moved back to the start of a UTF-8 sequence.
std::string CutUtf8(std::string text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text;
}

std::string CleanText(std::string_view raw, std::size_t limit) {
    std::string text;
    text.reserve(std::min(raw.size(), limit + 4));
    for (const char c : raw) {
        if (c == '\0') break;
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) continue;
        text += c;
        if (text.size() > limit + 4) break; // enough to cut at a sequence start
    }
    return CutUtf8(std::move(text), limit);
}

std::string_view AsText(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace

std::optional<WindowClass> ParseWindowClass(PropertyValue value) {
    if (value.format != 8 || value.bytes.empty()) return std::nullopt;
    const std::string_view text = AsText(value.bytes);
    const std::size_t firstEnd = std::min(text.find('\0'), text.size());
    WindowClass result;
    result.instance = CleanText(text.substr(0, firstEnd), kMaxApplicationLength);
    if (firstEnd < text.size()) result.windowClass = CleanText(text.substr(firstEnd + 1), kMaxApplicationLength);
    return result;
}

std::string ParsePropertyText(PropertyValue value, std::size_t limit) {
    if (value.format != 8) return {};
    return CleanText(AsText(value.bytes), limit);
}

std::optional<std::uint32_t> ParseCardinal(PropertyValue value) {
    if (value.format != 32 || value.bytes.size() < sizeof(std::uint32_t)) return std::nullopt;
    std::uint32_t n = 0;
    std::memcpy(&n, value.bytes.data(), sizeof n);
    return n;
}

std::vector<std::uint32_t> ParseCardinals(PropertyValue value, std::size_t limit) {
    std::vector<std::uint32_t> units;
    if (value.format != 32) return units;
    const std::size_t count = std::min(value.bytes.size() / sizeof(std::uint32_t), limit);
    units.resize(count);
    if (count > 0) std::memcpy(units.data(), value.bytes.data(), count * sizeof(std::uint32_t));
    return units;
}

std::string ProcessNameFromComm(std::string_view comm) {
    return CleanText(comm.substr(0, std::min(comm.find('\n'), comm.size())), kMaxApplicationLength);
}

std::string FlatpakIdFromEnvironment(std::span<const std::uint8_t> environ) {
    constexpr std::string_view kName = "FLATPAK_ID=";
    std::string_view rest = AsText(environ.first(std::min(environ.size(), kMaxEnvironmentBytes)));
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\0'), rest.size());
        const std::string_view entry = rest.substr(0, end);
        if (entry.substr(0, kName.size()) == kName) return CleanText(entry.substr(kName.size()), kMaxApplicationLength);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return {};
}

std::string SteamGameId(const WindowClass& windowClass) {
    constexpr std::string_view kPrefix = "steam_app_";
    for (const std::string* name : {&windowClass.windowClass, &windowClass.instance}) {
        if (name->size() <= kPrefix.size() || name->compare(0, kPrefix.size(), kPrefix) != 0) continue;
        const std::string_view number = std::string_view(*name).substr(kPrefix.size());
        if (std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) return *name;
    }
    return {};
}

ApplicationIdentity IdentityOf(const WindowFacts& facts) {
    ApplicationIdentity identity;
    identity.windowClass = facts.windowClass.windowClass;
    identity.windowInstance = facts.windowClass.instance;
    identity.processName = facts.processName;
    if (!facts.gtkApplicationId.empty())
        identity.desktopId = facts.gtkApplicationId;
    else if (!facts.flatpakId.empty())
        identity.desktopId = facts.flatpakId;
    else
        identity.desktopId = SteamGameId(facts.windowClass);
    return identity;
}

} // namespace ombrel::apprules
