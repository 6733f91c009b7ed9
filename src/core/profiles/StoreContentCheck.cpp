#include "profiles/StoreContentCheck.h"

#include "keys/FunctionLists.h"
#include "keys/KeyFunction.h"
#include "keys/KeyImage.h"
#include "keys/MediaTable.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace ombrel {

namespace {

constexpr int kLayers = 4;
constexpr int kRecordsPerLayer = 512;
constexpr KeyCode kLastKeyCode = 0x17F; // codes above fold onto others and cannot name a key
constexpr KeyFunction kLastKeyFunction = KF_FUNCTION;
// A G-key entry in a macro step reads back as 0x1FF + its 1-based number byte.
constexpr std::uint32_t kFirstStepGKeyCode = 0x1FF;
constexpr std::uint32_t kLastStepGKeyCode = 0x1FF + 0xFF;

std::string hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

// A key code the key table names: what a key may send and what a macro step may press.
bool isKeyCode(std::uint32_t code) {
    return code != 0 && code <= kLastKeyCode && !KeyRowOf(static_cast<KeyCode>(code)).textKey.empty();
}

// What a macro step may press: a named key, a G key as the keyboard's step entries name them, or nothing (code
// 0: a step on a usage this program does not know, read back from the keyboard that way).
bool isStepKey(std::uint32_t code) {
    return code == 0 || isKeyCode(code) || (code >= kFirstStepGKeyCode && code <= kLastStepGKeyCode);
}

class Checker {
public:
    Checker(const StoreFileContents& contents, std::size_t limit) : m_contents(contents), m_limit(limit) {
        for (const MacroRecord& m : contents.macros)
            if (m.macroId() >= 1 && m.macroId() <= kMaxMacros) m_macroIds[m.macroId()] = true;
    }

    std::vector<ContentProblem> run() {
        for (int layer = 0; layer < kLayers; ++layer)
            for (int key = 0; key < kRecordsPerLayer; ++key)
                checkRecord(layer, key);
        checkMacros();
        return std::move(m_problems);
    }

private:
    void add(ContentProblem p) {
        if (m_problems.size() < m_limit) m_problems.push_back(std::move(p));
    }
    void keyProblem(int layer, int key, std::string what) { add({layer, key, -1, std::move(what)}); }

    // The G-key tag a record may carry: its own key's, in any layer (keys copied between profiles keep it).
    static bool isOwnTag(int key, std::uint16_t extra) {
        return key >= kFirstGKeyIndex && key < kFirstGKeyIndex + kGKeySlots && extra == GKeyTag(key - kFirstGKeyIndex);
    }

    void checkRecord(int layer, int key) {
        const KeyRecord r = m_contents.image.record(RecordNumber(layer, static_cast<KeyIndex>(key)));
        if (r.type > kLastKeyFunction) {
            keyProblem(layer, key, "unknown kind of function " + hex(r.type, 4));
            return;
        }
        if (r.mark > 1) keyProblem(layer, key, "mark field " + std::to_string(r.mark) + " is neither 0 nor 1");
        if (r.reserved != 0) keyProblem(layer, key, "reserved field is not 0");
        const bool cycles = r.type == KF_MACRO && r.extra <= kMaxMacroCycles;
        if (r.extra != 0 && !cycles && !isOwnTag(key, r.extra))
            keyProblem(layer, key, "extra field " + hex(r.extra, 4) + " out of range");
        switch (r.type) {
        case KF_KEY:
            // Code 0 sends nothing: it is what a keyboard's mouse entry this program does not know reads back
            // as, so a backup of such a keyboard holds it and must restore.
            if (r.value != 0 && !isKeyCode(r.value))
                keyProblem(layer, key, "sends key code " + hex(r.value, 3) + ", which names no key");
            break;
        case KF_MACRO:
            if (r.value > kMaxMacros || !m_macroIds[r.value])
                keyProblem(layer, key, "plays macro id " + std::to_string(r.value) + ", which the file does not hold");
            break;
        case KF_MEDIA:
            if (r.value >= MediaTable().size())
                keyProblem(layer, key, "media function " + std::to_string(r.value) + " out of range (0..17)");
            break;
        case KF_FUNCTION:
            if (r.value >= static_cast<std::uint32_t>(kFunctionKeyCount))
                keyProblem(layer, key, "keyboard function " + std::to_string(r.value) + " out of range (0..10)");
            break;
        case KF_PROGRAM:
        case KF_TEXT:
            checkString(layer, key, r.value);
            break;
        default: // default, disabled and stop-macro use no value
            break;
        }
    }

    // A program path or text: a UTF-16 string that starts inside the string area and ends there with its zero.
    void checkString(int layer, int key, std::uint32_t offset) {
        const auto& area = m_contents.stringArea;
        const std::size_t at = offset & ~1u;
        if (at >= area.size()) {
            keyProblem(layer, key,
                       "string offset " + std::to_string(offset) + " outside the string area (" +
                           std::to_string(area.size()) + " bytes)");
            return;
        }
        for (std::size_t i = at; i + 1 < area.size(); i += 2)
            if (area[i] == 0 && area[i + 1] == 0) return;
        keyProblem(layer, key, "string at offset " + std::to_string(offset) + " runs past the end of the string area");
    }

    void checkMacros() {
        std::array<int, kMaxMacros + 1> seen{};
        for (std::size_t i = 0; i < m_contents.macros.size(); ++i) {
            const MacroRecord& m = m_contents.macros[i];
            const int at = static_cast<int>(i);
            auto problem = [&](std::string what) { add({-1, -1, at, std::move(what)}); };
            const int id = m.macroId();
            if (id < 1 || id > kMaxMacros)
                problem("id " + std::to_string(id) + " out of range (1..100)");
            else if (seen[static_cast<std::size_t>(id)]++)
                problem("id " + std::to_string(id) + " is used by an earlier macro too");
            if (m.cycles() < kMinMacroCycles) problem("plays 0 times (cycles must be 1..255)");
            for (int s = 0; s < m.stepCount(); ++s) {
                const MacroAction a = m.action(s);
                if (!isStepKey(a.keyCode))
                    problem("step " + std::to_string(s + 1) + " presses key code " + hex(a.keyCode, 3) +
                            ", which names no key");
                else if (a.state != MACRO_PRESS && a.state != MACRO_RELEASE)
                    problem("step " + std::to_string(s + 1) + " is neither a press nor a release (" +
                            std::to_string(a.state) + ")");
            }
        }
    }

    const StoreFileContents& m_contents;
    std::size_t m_limit;
    std::array<bool, kMaxMacros + 1> m_macroIds{};
    std::vector<ContentProblem> m_problems;
};

} // namespace

std::string ContentProblem::describe() const {
    if (macro >= 0) return "macro " + std::to_string(macro + 1) + ": " + what;
    if (layer >= 0) {
        // Profiles are named as the window's profile buttons number them, from 1.
        const std::string where = layer < 3 ? "profile " + std::to_string(layer + 1) : std::string("unused layer 3");
        return where + ", key " + hex(KeyCodeOf(static_cast<KeyIndex>(key)), 3) + ": " + what;
    }
    return what;
}

std::vector<ContentProblem> CheckStoreContents(const StoreFileContents& contents, std::size_t limit) {
    return Checker(contents, limit).run();
}

} // namespace ombrel
