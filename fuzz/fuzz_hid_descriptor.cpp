// The report descriptor parser of the hidapi backend: any bytes a sysfs file could hold.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "../src/hidservice/hidapi/ReportDescriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const ombrel::hid::ReportDescriptorInfo whole = ombrel::hid::parseReportDescriptor(bytes);
    // A report id found in a prefix of the descriptor is found in the whole of it too.
    if (size > 0 && ombrel::hid::parseReportDescriptor(bytes.first(size / 2)).numberedReports &&
        !whole.numberedReports) {
        std::abort();
    }
    return 0;
}
