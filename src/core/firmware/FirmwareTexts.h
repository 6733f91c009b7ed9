#pragma once
// The firmware dialog's texts: looked up in the language file, with the dialog's own fixed captions and messages
// as the defaults for a language file that lacks them.

#include "keys/TextSources.h"
#include "profiles/ProfileNames.h"

namespace ombrel {

struct FixedText {
    const char* key;
    const char* fallback;
};

inline constexpr FixedText kUpdateCaption{"UPDATE_CAPTION", "Firmware update"};
inline constexpr FixedText kUpdateProgramLabel{"UPDATE_PROGRAM_LABEL", "更新程序"};
inline constexpr FixedText kUpdateOpen{"UPDATE_OPEN", "Open"};
inline constexpr FixedText kUpdateStart{"UPDATE_START", "更新"};
inline constexpr FixedText kUpdateCancel{"UPDATE_CANCEL", "取消更新"};
inline constexpr FixedText kUpdateBackup{"UPDATE_BACKUP", "备份"};
inline constexpr FixedText kUpdateNoFile{"UPDATE_ERR_FILE", "请选择正确的更新文件! "};
inline constexpr FixedText kUpdateBootRefused{"UPDATE_ERR_BOOT", "无法进入Boot模式! "};
inline constexpr FixedText kUpdateCannotRun{"UPDATE_ERR_RUN", "无法执行更新文件! "};
inline constexpr FixedText kUpdateBackupDone{"UPDATE_BACKUP_OK", "备份成功!"};
inline constexpr FixedText kUpdateBackupFailed{"UPDATE_BACKUP_FAIL", "备份失败,请重新备份!"};
inline constexpr FixedText kUpdateNeedsWine{
    "UPDATE_NEED_WINE", "This updater is a Windows program and needs wine, which is not installed. Install wine "
                        "(sudo apt install wine) or choose an updater made for Linux."};
inline constexpr FixedText kUpdateConfirm{
    "UPDATE_CONFIRM", "The keyboard will leave normal operation and wait for the updater until the update is "
                      "finished. Your key assignments and macros are backed up first. Start the update?"};
inline constexpr FixedText kUpdateAutoBackupFailed{
    "UPDATE_AUTO_BACKUP_FAIL", "The backup of your key assignments could not be written to %s, so the update was "
                               "not started and the keyboard was left as it is."};
inline constexpr FixedText kUpdateAutoBackupWhere{
    "UPDATE_AUTO_BACKUP_WHERE", "Your key assignments and macros were backed up to %s before the update."};

inline std::string FixedTextOf(const TextLookup& text, const FixedText& fixed) {
    return TextOr(text, fixed.key, fixed.fallback);
}

} // namespace ombrel
