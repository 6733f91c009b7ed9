#include "KeyboardDescriptors.h"

namespace ombrel::vm {

namespace {

constexpr std::uint8_t kVendorReportId = 4;
constexpr std::uint8_t kConsumerReportId = 3;
constexpr std::uint8_t kBankReportId = 5;

// Collection (Application) with an optional Report ID item right after it.
std::vector<std::uint8_t> openCollection(std::uint8_t reportId) {
    if (reportId == 0) return {0xA1, 0x01};
    return {0xA1, 0x01, 0x85, reportId};
}

std::vector<std::uint8_t> join(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Usage page 0xFF1C, usage 0x92: 64 bytes each way, the report id counting as the first byte when there is one.
std::vector<std::uint8_t> vendor(std::uint8_t reportId) {
    const std::uint8_t count = reportId != 0 ? 63 : 64;
    return join({{0x06, 0x1C, 0xFF, 0x09, 0x92},
                 openCollection(reportId),
                 {0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, count, 0x09, 0x01, 0x81, 0x02, 0x09, 0x02, 0x91, 0x02,
                  0xC0}});
}

// Consumer page, usage 0x01: one 16-bit consumer code per report.
std::vector<std::uint8_t> consumer(std::uint8_t reportId) {
    return join(
        {{0x05, 0x0C, 0x09, 0x01},
         openCollection(reportId),
         {0x15, 0x00, 0x26, 0xFF, 0x1F, 0x19, 0x00, 0x2A, 0xFF, 0x1F, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0}});
}

// Page 0x08, usage 0x89: the two status bytes the program writes at a bank switch (one after the report id).
std::vector<std::uint8_t> bankStatus(std::uint8_t reportId) {
    const std::uint8_t count = reportId != 0 ? 1 : 2;
    return join({{0x05, 0x08, 0x09, 0x89},
                 openCollection(reportId),
                 {0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, count, 0x09, 0x4B, 0x91, 0x02, 0xC0}});
}

} // namespace

std::vector<InterfaceDescriptor> KeyboardDescriptors(bool numbered) {
    const auto id = [numbered](std::uint8_t n) { return numbered ? n : std::uint8_t{0}; };
    return {
        {BridgeInterface::Vendor, "vendor", vendor(id(kVendorReportId)), id(kVendorReportId)},
        {BridgeInterface::Consumer, "consumer", consumer(id(kConsumerReportId)), id(kConsumerReportId)},
        {BridgeInterface::BankStatus, "bank status", bankStatus(id(kBankReportId)), id(kBankReportId)},
    };
}

} // namespace ombrel::vm
