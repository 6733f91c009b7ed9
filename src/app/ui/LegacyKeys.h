#pragma once
// Skin layout keys, skin picture names and text keys that the skin and language files spell in another language.
// The files keep those spellings (other skins and translations use them); the code names each one here, once, by
// what it is.

#include <array>

namespace ombrel {

namespace skinkey {
// The lighting panel.
inline constexpr char kLightSwitch[] = "CONTROL_DengStaPic";      // lights on/off picture
inline constexpr char kLightSwitchLabel[] = "CONTROL_DengStatic"; // its label: what a click on the map does
inline constexpr char kEffectList[] = "CONTROL_XGcombox";
inline constexpr char kDirectionLabel[] = "CONTROL_BLFXStatic";
inline constexpr char kDirectionForward[] = "CONTROL_BLFXLStaPic";
inline constexpr char kDirectionBackward[] = "CONTROL_BLFXRStaPic";
// Colour groups A and B: label, colour button, colourful picture, colourful label.
inline constexpr std::array<std::array<const char*, 4>, 2> kColorGroups{{
    {"CONTROL_HXysStatic", "CONTROL_HXysButton", "CONTROL_HXsjsStaPic", "CONTROL_HXsjsStatic"},
    {"CONTROL_FYYSStatic", "CONTROL_FYYSButton", "CONTROL_FYSJSStaPic", "CONTROL_FYSJSStatic"},
}};
// The four-colour pictures: red, yellow, green, blue.
inline constexpr std::array<const char*, 4> kFourColors{"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC",
                                                        "CONTROL_LANPIC"};
// The user effect group.
inline constexpr char kUserToolLabel[] = "CONTROL_USERgjStatic";
inline constexpr char kUserBrushTool[] = "CONTROL_USERgjStaPic1";
inline constexpr char kUserBaseTool[] = "CONTROL_USERgjStaPic2";
inline constexpr char kUserBrushColor[] = "CONTROL_USERysButton";
inline constexpr char kUserBaseColor[] = "CONTROL_USERjsButton";
inline constexpr char kUserPatternList[] = "CONTROL_umCombo";
// The key assignment dialog's captions.
inline constexpr char kSingleKeyCaption[] = "TISHI_SINGLE_STATIC";
inline constexpr char kMediaCaption[] = "MEDIA_SETTING_TISHI";
inline constexpr char kFunctionCaption[] = "FUNCTION_KEY_SETTING_TISHI";
inline constexpr char kMacroNameCaption[] = "MARCO_NAME_SETTING";
} // namespace skinkey

namespace skinpicture {
// Picture name stems of the four-colour pictures: red, yellow, green, blue.
inline constexpr std::array<const char*, 4> kFourColorStems{"hong", "huang", "lv", "lan"};
inline constexpr char kLightOn[] = "dengup.bmp";
inline constexpr char kLightOff[] = "dengdown.bmp";
inline constexpr char kColorfulOn[] = "sjsup.bmp";
inline constexpr char kColorfulOff[] = "sjsdown.bmp";
} // namespace skinpicture

namespace textkey {
inline constexpr char kLighting[] = "Deng";
inline constexpr char kKeySettingTitle[] = "KEY_SETTING_TISHI";
inline constexpr char kMacroEditTitle[] = "MACRO_EDIT_TISHI";
inline constexpr char kMediaEditTitle[] = "MEDIA_EDIT_TISHI";
inline constexpr char kFunctionTitle[] = "FUNCTION_TISHI";
inline constexpr char kMacroKeysHeading[] = "MACRO_KEYS_TISHI";
inline constexpr char kMacroActionHeading[] = "MACRO_ACTION_TISHI";
} // namespace textkey

} // namespace ombrel
