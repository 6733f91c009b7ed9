// What the keyboard check reads from sysfs and file attributes: a report descriptor's top-level collections and a
// POSIX ACL attribute. Any bytes.

#include "doctor/HidUsages.h"
#include "doctor/PosixAcl.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    // Each collection needs at least its two-byte Collection item.
    if (ombrel::TopLevelUsages(bytes).size() > size / 2) std::abort();
    // Each entry is eight bytes after the four-byte header.
    if (ombrel::DescribeAclEntries(bytes).size() > size / 8) std::abort();
    return 0;
}
