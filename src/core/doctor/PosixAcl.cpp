#include "doctor/PosixAcl.h"

#include <sys/xattr.h>

#include <array>

namespace ombrel {

namespace {

// The kernel's layout: a 4-byte version (2), then 8-byte entries of tag (u16), permissions (u16) and id (u32),
// all little-endian.
constexpr std::uint32_t kAclVersion = 2;
constexpr std::uint16_t kTagUser = 0x02;
constexpr std::uint16_t kTagGroup = 0x08;

std::uint32_t little(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

} // namespace

std::vector<std::string> DescribeAclEntries(std::span<const std::uint8_t> attribute) {
    std::vector<std::string> entries;
    if (attribute.size() < 4 || (attribute.size() - 4) % 8 != 0 || little(attribute, 0, 4) != kAclVersion)
        return entries;
    for (std::size_t at = 4; at + 8 <= attribute.size(); at += 8) {
        const auto tag = static_cast<std::uint16_t>(little(attribute, at, 2));
        const auto perm = little(attribute, at + 2, 2);
        if (tag != kTagUser && tag != kTagGroup) continue;
        std::string text = tag == kTagUser ? "user:" : "group:";
        text += std::to_string(little(attribute, at + 4, 4)) + ":";
        text += perm & 4 ? 'r' : '-';
        text += perm & 2 ? 'w' : '-';
        text += perm & 1 ? 'x' : '-';
        entries.push_back(std::move(text));
    }
    return entries;
}

std::vector<std::string> ReadAclEntries(const std::string& path) {
    std::array<std::uint8_t, 4 + 8 * 64> buffer{};
    const ssize_t n = ::getxattr(path.c_str(), "system.posix_acl_access", buffer.data(), buffer.size());
    if (n <= 0) return {};
    return DescribeAclEntries(std::span(buffer.data(), static_cast<std::size_t>(n)));
}

} // namespace ombrel
