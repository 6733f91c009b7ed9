// Autostart entries from hostile bytes: whatever a file in the autostart folder holds, reading it never fails, and
// only a regular file can count as one this program wrote. The program's own entry, for any program path taken
// from the input, reads back as its own and as turned on.
#include "platform/SessionAutostart.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size); // NOLINT: bytes viewed as chars
    const ombrel::AutostartEntry fromFile = ombrel::AutostartEntryFromBytes(bytes, true);
    const ombrel::AutostartEntry fromOther = ombrel::AutostartEntryFromBytes(bytes, false);
    if (!fromFile.exists || !fromOther.exists || fromOther.ours || fromOther.enabled != fromFile.enabled) std::abort();

    const std::string programPath(bytes.substr(0, 200));
    const std::string text = ombrel::AutostartEntryText(programPath);
    if (!text.empty()) {
        const ombrel::AutostartEntry own = ombrel::AutostartEntryFromBytes(text, true);
        if (!own.ours || !own.enabled) std::abort();
    }
    return 0;
}
