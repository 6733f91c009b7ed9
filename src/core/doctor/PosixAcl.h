#pragma once
// A file's access ACL (the system.posix_acl_access attribute) in getfacl's words, e.g. "user:1000:rw-": how the
// checks see the access that udev's uaccess tag gives the user at the seat.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ombrel {

// The named user and group entries of an ACL attribute's bytes; empty for anything that is not one.
std::vector<std::string> DescribeAclEntries(std::span<const std::uint8_t> attribute);

// The named entries of `path`'s access ACL; empty when it has none or the system does not say.
std::vector<std::string> ReadAclEntries(const std::string& path);

} // namespace ombrel
