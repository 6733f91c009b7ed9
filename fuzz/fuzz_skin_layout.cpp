// Hostile skin layout files: the text goes through the INI reader the dialogs use, and every value through the
// rectangle scanner. A value that is not four integers must leave the default rectangle.
#include "platform/IniFile.h"
#include "rules/SkinRect.h"

#include "inputs/InputFiles.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

void Check(const ombrel::SkinRect& r) {
    if (r.fields < 0 || r.fields > 4) __builtin_trap();
    if (r.fields < 4 && !(r.x == 1 && r.y == 1 && r.w == 1 && r.h == 1)) __builtin_trap();
    if (r.usable() && r.fields != 4) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(ombrel::ParseSkinRect(text));

    const std::string path = ombrel::fuzz::ScratchFolder::instance().write("layout.ini", {data, size});
    for (const char* key : {"KEY_01E", "CONTROL_OK", "FUNC_G1", "UP_ARROW_LEFT1", "A"}) {
        Check(ombrel::ReadSkinRect(path, "BUTTONINFO", key));
        Check(ombrel::ReadSkinRect(path, "BUTTONINFO2", key));
    }
    const std::string background = ombrel::ReadIniString(path, "SCREEN", "Main", "");
    if (background.size() > 2047) __builtin_trap();
    return 0;
}
