// The report descriptor as the hidapi backend reads it from sysfs: any bytes the file could hold, through the file
// reader (which keeps at most the kernel's descriptor limit) and the parser; the same bytes as a device's uevent
// text through its reader.
#include "HidUevent.h"
#include "HidapiBackend.h"
#include "ReportDescriptor.h"

#include "inputs/InputFiles.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const ombrel::hid::ReportDescriptorInfo whole = ombrel::hid::parseReportDescriptor(bytes);
    // A report id found in a prefix of the descriptor is found in the whole of it too.
    if (size > 0 && ombrel::hid::parseReportDescriptor(bytes.first(size / 2)).numberedReports &&
        !whole.numberedReports) {
        std::abort();
    }

    // Top-level collections never outnumber the Collection items, each at least one byte.
    if (whole.collections.size() > size) std::abort();
    (void)ombrel::hid::parseHidUevent(std::string_view(reinterpret_cast<const char*>(data), size));

    // The file reader hands over the file's bytes, cut at the limit, and nothing else.
    const ombrel::fuzz::MemoryFile file(bytes);
    if (!file.ok()) return 0;
    const auto read = ombrel::hid::readReportDescriptorFile(file.path());
    const std::size_t expected = std::min<std::size_t>(size, 4096);
    if (read.size() != expected || !std::equal(read.begin(), read.end(), data)) std::abort();
    (void)ombrel::hid::parseReportDescriptor(read);
    return 0;
}
