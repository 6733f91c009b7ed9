#pragma once
// The main window's messages, timer intervals and the numbers of its map buttons and menu items. Messages travel as
// AppMessageEvent with the message number as the event type and the four-letter tag as tag; a handler ignores a
// message whose tag is wrong, so a stray event of the same number cannot trigger it. They are used only where a
// request comes from another thread (the device link's workers) or another process (a later start).

#include "AppMessageEvent.h"

#include <array>
#include <cstdint>

namespace ombrel {

inline constexpr int UM_OPEN = 21328;
inline constexpr int UM_KILL = 19787;
inline constexpr int UM_PROF = 21586;
inline constexpr int UM_DEL = 20549;
inline constexpr int UM_DETACH = 18259;

inline constexpr std::uintptr_t kTagOpen = 0x4F50454E; // "OPEN"
inline constexpr std::uintptr_t kTagKill = 0x4C4C494B; // "KILL"
// UM_KILL with this tag ends without asking about unapplied edits ("/Kill --force").
inline constexpr std::uintptr_t kTagKillForced = 0x4C4B4652;
inline constexpr std::uintptr_t kTagProf = 0x50524F46; // "PROF"
inline constexpr std::uintptr_t kTagDel = 0x004C4544;  // "DEL"
inline constexpr std::uintptr_t kTagDetach = 0;

inline constexpr int kApplyAnimIntervalMs = 50;
inline constexpr int kPreviewFirstIntervalMs = 100;
inline constexpr int kPreviewIntervalMs = 50;

// The map buttons' numbers (the skin's key tables name the keys by them) and the menu items' data.
enum MainControl : int {
    kIdEnterKey = 1070,
    kIdBackslashKey = 1055,
    kIdF5 = 1014,
    kIdLockCaps = 1125,
    kIdLockNum = 1126,
    kIdLockScroll = 1127,
    kIdLockBank = 1128,
    kIdLayoutLabel = 1129,
    kIdLayoutToggle = 1130,
    kIdLayoutToggleAlt = 1131,
    kIdLeftArrow = 1132,
    kIdRightArrow = 1133,
    kIdSwitch = 1144,
    kIdFn = 1174,
    // Menu commands.
    kCmdTrayOpen = 32771,
    kCmdTrayAbout = 32773,
    kCmdTrayExit = 32774,
    kCmdRestore = 32776,
    kCmdBackup = 32777,
    kCmdFirmware = 32780,
    kCmdSessionStart = 32781,
    kCmdDiscard = 32782,
    kCmdHistory = 32783,
    kCmdApplicationRules = 32784,
    kCmdLanguageFirst = 32790, // one item a language, in the order of the language table
};

inline constexpr int kReportRateIds[4] = {1147, 1168, 1169, 1170};
// F1..F4, usable in the first layout, and D1..D6, usable in the second.
inline constexpr std::array<int, 4> kLayoutFKeyIds{1010, 1011, 1012, 1013};
inline constexpr std::array<int, 6> kLayoutDKeyIds{1016, 1017, 1018, 1019, 1020, 1021};

} // namespace ombrel
