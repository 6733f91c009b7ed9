#include "keys/MacroRecord.h"

#include "util/Bytes.h"

#include <algorithm>

namespace ombrel {

namespace {

constexpr bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

} // namespace

std::u16string MacroRecord::name() const {
    std::u16string s;
    for (int i = 0; i < kMacroNameUnits; ++i) {
        const char16_t unit = static_cast<char16_t>(getLe16(&m_bytes[2 * static_cast<std::size_t>(i)]));
        if (unit == 0) break;
        s.push_back(unit);
    }
    return s;
}

bool MacroRecord::nameTerminated() const {
    for (int i = 0; i < kMacroNameUnits; ++i)
        if (getLe16(&m_bytes[2 * static_cast<std::size_t>(i)]) == 0) return true;
    return false;
}

std::u16string_view StoredMacroName(std::u16string_view name) {
    std::size_t length = std::min({name.find(u'\0'), name.size(), std::size_t{kMaxMacroNameLength}});
    // A name cut at the field's end must not keep the first half of a surrogate pair: that unit alone is no
    // character and would show as a replacement mark wherever the name is displayed.
    if (length == std::size_t{kMaxMacroNameLength} && length < name.size() && IsHighSurrogate(name[length - 1]))
        --length;
    return name.substr(0, length);
}

void MacroRecord::setName(std::u16string_view name) {
    name = StoredMacroName(name);
    const std::size_t length = name.size();
    std::fill(m_bytes.begin(), m_bytes.begin() + 2 * kMacroNameUnits, std::uint8_t{0});
    for (std::size_t i = 0; i < length; ++i)
        putLe16(&m_bytes[2 * i], name[i]);
}

bool MacroRecord::isNew() const {
    return getLe16(&m_bytes[kIsNewOffset]) == 1;
}

void MacroRecord::setIsNew(bool isNew) {
    putLe16(&m_bytes[kIsNewOffset], isNew ? 1 : 0);
}

std::uint16_t MacroRecord::macroId() const {
    return getLe16(&m_bytes[kIdOffset]);
}

void MacroRecord::setMacroId(std::uint16_t id) {
    putLe16(&m_bytes[kIdOffset], id);
}

std::uint16_t MacroRecord::actionCount() const {
    return getLe16(&m_bytes[kCountOffset]);
}

void MacroRecord::setActionCount(std::uint16_t count) {
    putLe16(&m_bytes[kCountOffset], count);
}

int MacroRecord::stepCount() const {
    return std::min<int>(actionCount(), kMaxMacroActions);
}

MacroAction MacroRecord::action(int i) const {
    if (i < 0 || i >= kMaxMacroActions) return {};
    const std::uint8_t* p = &m_bytes[kActionsOffset + MacroAction::kSize * static_cast<std::size_t>(i)];
    return {getLe32(p), getLe16(p + 4), getLe16(p + 6)};
}

void MacroRecord::setAction(int i, const MacroAction& action) {
    if (i < 0 || i >= kMaxMacroActions) return;
    std::uint8_t* p = &m_bytes[kActionsOffset + MacroAction::kSize * static_cast<std::size_t>(i)];
    putLe32(p, action.delayMs);
    putLe16(p + 4, action.keyCode);
    putLe16(p + 6, action.state);
}

} // namespace ombrel
